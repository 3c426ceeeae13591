#pragma once
// Linked raster images (type 70): each image record names a picture file and the holder its
// picture is kept in, so that a redraw does not read the file again.
#include <array>
#include <cstdint>
#include <set>
#include <string>

#include "document/MapRecord.h"
#include "platform/Picture.h"

namespace movra {

struct App;

constexpr int ImageHolderCount = 33;      // holders 0..32
constexpr int ImageLoadCounterIndex = 33; // ImageSlotNames(33): loads asked for since the redraw
constexpr int MaxImageLoadsPerRedraw = 31;

// The picture cache of the main window. The holder last handed out (LastImageSlot) is kept with
// the map file state, which a map read resets.
struct RecordImageState {
    // The pictures of image records by holder number.
    std::array<Picture, ImageHolderCount> Image1{};
    // Elements 0..32: the path of the picture each holder holds, empty when none. Element 33:
    // the number of loads asked for since the last full redraw, as text (empty counts as 0).
    std::array<std::string, ImageHolderCount + 1> ImageSlotNames{};
    // The folder of the picture file the user last located by hand.
    std::string ImageSearchFolder;
    // The stored paths (in lower case) the user was already asked to locate in this map: a
    // missing picture is asked for once, not at every redraw.
    std::set<std::string> LocateAsked;
};

// Makes sure the picture of the image record at (layer, slot) is in its holder: loads the file
// (at most 31 loads between two full redraws), looks for a missing file in the folder last
// located by hand and then asks the user to locate it, once per map; the file found becomes the
// record's path. A file that is no picture empties the holder, so no other picture stands in
// its place. Ends silently on a failure.
void LoadRecordImage(App& app, std::uint8_t layer, std::int16_t slot);

// Whether the holder of the image record holds that record's own picture (and not the picture of
// another record, or of the map before, that shares its holder number).
const Picture* OwnPictureOf(const App& app, const MapRecord& record);

// The end of a full redraw: the load counter starts again at "0".
void ResetImageLoadCounter(App& app);


}  // namespace movra
