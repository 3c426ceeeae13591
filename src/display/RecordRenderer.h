#pragma once
// The record renderer: one record of the store drawn on the canvas by its type.
//
// Structure. The renderers of the program (this full renderer, the highlight renderer, the
// vertex-drag preview, the work-buffer item renderer and the printed page) are forms of one
// switch over the record type. Here the switch is a table from type code to a small drawer per
// figure family (pen lines, circles, shapes, fills, line types, symbols, texts, points, ticks,
// special lines, images). Every family drawer takes a RecordDrawCall: the record's fields, where
// it stands (layer, slot, for the drawers that read the next slot), the surface, and the
// RecordDrawOptions that hold what differs between renderers as data: a colour that replaces
// the record's own, whether the culling rectangle applies, whether the pen rule and PenColor are
// applied, and whether texts and images are drawn. Another renderer builds its own options (and
// may reuse RecordFamilyDrawer) instead of copying a branch.
#include <cstdint>

#include "document/MapRecord.h"
#include "platform/Color.h"

namespace movra {

struct App;
class Surface;

// What differs between the renderers that share the family drawers.
struct RecordDrawOptions {
    Rgb colorOverride = -1;     // -1: the record's own colour; else every figure in this colour
    bool cull = true;           // test the record against ClipRect before drawing
    bool applyPenRule = true;   // pen codes through the pen cache (false: the pen as left)
    bool storePenColor = true;  // hand the record's colour to the drawers through PenColor
    bool drawTexts = true;      // texts, labels and terrain-point names
    bool drawImages = true;     // linked pictures
};

// One call of a family drawer.
struct RecordDrawCall {
    App& app;
    Surface& canvas;
    const MapRecord& record;
    std::uint8_t& layer;
    std::int16_t& slot;  // a fill head writes its last boundary slot back
    const RecordDrawOptions& options;
    // The record a chain goes on to; nullptr: slot + 1 of the same layer in the store.
    const MapRecord* next = nullptr;

    // The colour the figure is drawn in.
    Rgb Color() const { return options.colorOverride >= 0 ? options.colorOverride : record.RecordColor; }
};

using RecordFamilyDrawer = void (*)(RecordDrawCall& call);
// The drawer of a record type, nullptr for the types that draw nothing.
RecordFamilyDrawer RecordFamilyDrawerFor(int type);

// The culling tests against ClipRect (inclusive edges).
bool BoxOfPointsVisible(const App& app, const MapRecord& r, int pointCount);
bool PointVisible(const App& app, double x, double y);

// Draws the record at (layer, slot) at full detail. For a fill head (types 11 and 13) the slot
// is set to the last slot of its group, so the caller's next slot is the first after it. Any
// failure ends the call silently; what was drawn stays.
void DrawRecord(App& app, std::uint8_t& layer, std::int16_t& slot);
// The same switch with other options (the other renderers' entry).
void DrawRecordWith(App& app, std::uint8_t& layer, std::int16_t& slot, const RecordDrawOptions& options);
// The same switch over a record that is not in the store (a work-buffer item): `next` is what a
// chain goes on to (nullptr: the chain's last link is left out). No culling, PenColor untouched;
// failures propagate to the caller.
void DrawRecordValue(App& app, const MapRecord& record, const MapRecord* next, const RecordDrawOptions& options);

}  // namespace movra
