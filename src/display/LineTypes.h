#pragma once
// Line types of the symbol standard: a pattern of dashes, gaps, point symbols and side lines in
// paper millimetres, laid along a straight segment.
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;
class LineSink;
struct SymbolStandard;

// How a pattern run differs between its callers.
struct LineTypeRunOptions {
    // Segments of line-type line records: a gap does not end the run; a symbol that would stand
    // beyond B is replaced by a line closing the last gap, with the symbol moved 70 % into it.
    bool symbolIntoLastGap = false;
    // Type-12 records: a type of width 0 also sets the solid draw style.
    bool solidStyleAtWidthZero = false;
};

// ---- Shared by the screen and the printed page.

// Lays line type `type` from A to B. (ux, uy) is one paper millimetre along A->B in ground units,
// `length` the run's length in ground units, `sizeFactor` ground units per paper millimetre (the
// repeat test compares passes of the period with the length). Sets the draw width of the type
// (1 when its width is 0). A type not defined (LineTypeWidth(t, 0) = 0) draws nothing and gives
// false. A pattern whose period is 0 is laid once. Raises RuntimeError 9 for a type or element
// beyond the tables.
bool LayLineType(LineSink& sink, const SymbolStandard& standard, int type, double ax, double ay,
                 double bx, double by, double ux, double uy, double length, double sizeFactor,
                 Rgb color, const LineTypeRunOptions& options = {});

// ---- The screen: the main window's canvas.

// Between two points in CurrentColor, line type = value of the code - 349 (below 0: nothing).
// Takes ScaleFactor from the map's scale denominator (ProjectParams(0) / 1000) when one is set,
// and leaves (length, unit x, unit y, 0) in UnitDirection when it lays a pattern, for the type-12
// record a tool stores. A failure is written into Text2.
void DrawLineTypeSegment(App& app, double x1, double y1, double x2, double y2,
                         const std::string& code);

// One segment of the line-type line record at (layer, slot): selector 2, 3, 4 = P1-P2, P2-P3,
// P3-P4; 5 = P4 to P1 of the next slot; 1 = the marker sample (20 ground units east from the
// marker). In PenColor, or the record's colour when PenColor is 0. A type of 0 or below draws a
// plain line. A failure is written into Text2.
void DrawRecordSegmentLineType(App& app, std::uint8_t layer, std::int16_t slot,
                               std::uint8_t selector);

// A record of type 12 from P1 to P2 with its stored length X3 and unit direction (Y3, X4), in its
// own colour. Nothing while no symbol standard is loaded. A failure is written into Text2.
void DrawRecordChainLineType(App& app, std::int16_t layer, std::int32_t slot);

}  // namespace movra
