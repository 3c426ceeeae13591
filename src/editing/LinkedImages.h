#pragma once
// Linked raster images: records of type 70 that name a picture file and the ground rectangle it
// covers, never its pixels. The picture is kept in one of the holders Image1(0..32), handed out
// in turn; the image tools (ImageTools.cpp) place, move, stretch and crop them and prick photo
// corners on them.
#include <cstdint>
#include <string>

#include "document/RecordTypes.h"
#include "editing/LinkedImageState.h"

namespace movra {

struct App;

// The picture's size in ground units: its pixels times the screen's twips per pixel over this.
constexpr double TwipsPerImageUnit = 5670;

// The layer-0 slot where the picture going to `holder` waits to be placed.
int ImageStagingSlot(int holder);

// The image record under (x, y) of the layers that are on, borders excluded. A record other than
// the one picked last wins, so that pressing again where pictures lie stacked picks the next one;
// only the last pick under the point keeps it. Sets ImageRecordLayer and ImageRecordSlot (both 0
// on a miss) and gives -1 on a hit, else 0. A failure writes its description and number into
// Text2.
int HitTestLinkedImage(App& app, float x, float y);

// The rectangle (left, top, width, height) of the image record at (layer, slot), into ImageRect.
void TakeImageRect(App& app, int layer, int slot);

// Asks for a picture file, loads it into the next holder and stages it at PressPoint for the
// placement tool. Cancel or any failure arms ModeIdle. Does nothing while a self-made symbol is
// being drawn, whose authoring slots the staging slots share.
void InsertLinkedImage(App& app);

// The Delete key and the 删除 button: while a picture waits to be placed its holder is emptied
// and its staging record released; otherwise the selection, when there is one, is deleted with
// an undo step and the map redrawn. The delete, cut and copy buttons are disabled either way.
void DeleteSelectionOrStagedImage(App& app);

// Cuts the image record picked last down to the crop range (PressPoint to ReleasePoint): its
// holder and the clipboard get the cut picture, which is saved as a BMP beside the picture, named
// as the picture with "c.bmp" for its extension. Nothing changes unless the range lies inside the
// picture, is drawn from upper left to lower right, the path has an extension and the file was
// written (an existing file of that name only after the user agreed to replace it).
void CropLinkedImage(App& app);

// Asks for a bitmap and lays it under the canvas from its upper-left corner; it is no record and
// never saved. Ends silently on Cancel or a failure.
void LoadBackgroundBitmap(App& app);
// The canvas without its background bitmap, redrawn.
void UnloadBackgroundBitmap(App& app);

}  // namespace movra
