#pragma once
// The record renderer: one record of the store drawn on the canvas by its type.
//
// Structure. The renderers of the program (this full renderer, the highlight renderer, the
// vertex-drag preview, the work-buffer item renderer and the printed page) are forms of one
// switch over the record type. Here the switch is a table from type code to a row: a small
// drawer per figure family (pen lines, circles, shapes, fills, line types, symbols, texts,
// points, ticks, special lines, images), the culling test and the pen rule. Every family drawer
// takes a RecordDrawCall: the record's fields, where it stands (layer, slot, for the drawers that
// read the next slot), the surface, the row's pen rule and the RecordDrawOptions (the colour that
// replaces the record's own, whether the culling rectangle applies, whether PenColor is set).
// Another renderer copies the full table and replaces the rows where it draws otherwise.
#include <array>
#include <cstdint>

#include "document/MapRecord.h"
#include "platform/Color.h"

namespace movra {

struct App;
class Surface;

// What differs between the renderers that share the family drawers, beyond their tables.
struct RecordDrawOptions {
    Rgb colorOverride = -1;     // -1: the record's own colour; else every figure in this colour
    Rgb textOverride = -1;      // -1: texts as the figures; else printed texts in this colour
    bool cull = true;           // test the record against ClipRect before drawing
    bool storePenColor = true;  // hand the record's colour to the drawers through PenColor
    bool plainLineTypes = false;  // line-type lines as plain segments, as without a symbol standard
};

// How a row sets the canvas pen from the record's pen byte.
enum class PenRule : std::uint8_t {
    AsLeft,       // the draw width and style the canvas has
    Cached,       // the pen rule through PenCache: set only when the code changes
    Direct,       // the pen rule every time, PenCache untouched; from code 7 the style stays
    DirectSolid,  // the pen rule every time, PenCache untouched; from code 7 a solid line
    TickWidth,    // the pen byte is the width itself, 0 meaning 1
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
    // The pen rule of the row being drawn.
    PenRule pen = PenRule::AsLeft;

    // The colour the figure is drawn in.
    Rgb Color() const { return options.colorOverride >= 0 ? options.colorOverride : record.RecordColor; }
    // The colour printed texts take.
    Rgb TextColor() const { return options.textOverride >= 0 ? options.textOverride : Color(); }
};

using RecordFamilyDrawer = void (*)(RecordDrawCall& call);

// The culling test of a row against ClipRect (inclusive edges). Box4Next is the box of P1..P4 and
// of P1 of the next slot, for a record that draws on to the next slot.
enum class Cull : std::uint8_t { None, Box2, Box3, Box4, Box4Next, P1, Image };

// One row of a renderer's table; a row without drawer draws nothing.
struct RecordRow {
    RecordFamilyDrawer drawer = nullptr;
    Cull cull = Cull::None;
    PenRule pen = PenRule::AsLeft;
    bool keepsPenColor = false;  // the drawer reads PenColor as the previous record left it
};
using RecordTable = std::array<RecordRow, 256>;

// The full renderer's table, the one the other renderers start from.
const RecordTable& FullRecordTable();
// The drawer of a record type in the full table, nullptr for the types that draw nothing.
RecordFamilyDrawer RecordFamilyDrawerFor(int type);

// The culling tests against ClipRect (inclusive edges): the box of P1..P`pointCount` (and of P1
// of `next` when given) meets it; the point lies in it.
bool BoxOfPointsVisible(const App& app, const MapRecord& r, int pointCount, const MapRecord* next = nullptr);
bool PointVisible(const App& app, double x, double y);

// Draws the record at (layer, slot) at full detail. For a fill head (types 11 and 13) the slot
// is set to the last slot of its group, so the caller's next slot is the first after it. Any
// failure ends the call silently; what was drawn stays.
void DrawRecord(App& app, std::uint8_t& layer, std::int16_t& slot);
// The full table with other options.
void DrawRecordWith(App& app, std::uint8_t& layer, std::int16_t& slot, const RecordDrawOptions& options);
// One row for a call: the call takes the row's pen rule and the row's drawer draws. Failures
// propagate to the caller.
void DrawRow(const RecordRow& row, RecordDrawCall& call);

// ---- Pieces the renderers share.

// Vertex k (1..4) of a record.
double VertexX(const MapRecord& r, int k);
double VertexY(const MapRecord& r, int k);
float VertexZ(const MapRecord& r, int k);
// The record a chain of the call goes on to: the call's `next`, else slot + 1 of the same layer
// in the store (RuntimeError 9 beyond it).
const MapRecord& NextRecordOf(const RecordDrawCall& c);
// A line on the canvas, which takes its coordinates in single precision (-1: the fore colour).
void CanvasLine(Surface& s, double x1, double y1, double x2, double y2, Rgb color = -1);
// The pen of the call's row.
void ApplyRecordPen(RecordDrawCall& c);
// The 1 mm box mark from P1 in the figure colour.
void SymbolBox(RecordDrawCall& c);
// The size of a canvas text: Int(zoom x height) + 1 points, held to 1..32767 (a stored height may
// be anything a file brought).
int CanvasPoints(const App& app, double height);
// The record's Y3 as the text drawers' unused 16-bit argument (0 beyond that range).
std::int16_t TextUnused(const MapRecord& r);
// The canvas face and size were changed behind the canvas-text cache: the next canvas text
// sets both.
void ForgetCanvasFont(App& app);

// Drawers of the lighter renderers (highlight, drag preview, work buffer), which draw these
// types alike and otherwise than the full renderer.
// A named point (50) whose label takes its size from the pen byte, in the figure colour.
void DrawNamedPointPenLabel(RecordDrawCall& c);
// An image (70) painted from the picture its holder has now; nothing is loaded.
void DrawHeldPicture(RecordDrawCall& c);

}  // namespace movra
