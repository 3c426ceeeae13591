#pragma once
// The inside of filled areas. A fill head (type 11 or 13) is followed in the next slots of its
// layer by the boundary records (types 26 to 30) that hold its outline; a family of parallel scan
// lines is cut with the outline and drawn between the crossings taken in pairs (even-odd rule).
// Type 11 is hatched densely with horizontal lines; type 13 with diagonal lines, crossed lines
// or rows of point symbols chosen by the number in its text.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/Color.h"

namespace movra {

struct App;
class LineSink;
class RecordStore;
struct SymbolStandard;

// ---- Shared by the screen and the printed page.

// The outline of a fill group: the points of its boundary records in slot order, closed by a
// copy of the first point, and whether a probed point lay in the visible rectangle.
struct FillOutline {
    std::vector<double> x;
    std::vector<double> y;
    bool visible = false;

    // Edges are point m to m + 1.
    size_t EdgeCount() const { return x.size() < 2 ? 0 : x.size() - 1; }
    // Fewer than three points or a coordinate that is no number enclose nothing to fill.
    bool Degenerate() const;
};

// Which boundary points decide whether a fill is seen at all.
enum class OutlineProbe {
    HatchVertex,    // one per record: P2 of types 27, 28, 30 and P3 of 29
    PatternVertex,  // one per record: P1 of 27, P2 of 28, 30 and P3 of 29
    EveryPoint,     // every boundary point
};

// Gathers the outline of the head at (layer, slot): the records slot + 1 .. slot + Int(Z4) of
// the head add P1 (26), P1..P2 (27), P1..P3 (28), P1..P4 (29, 30); other types add nothing.
// Slots beyond the layer add nothing. `inside` tells whether a probed point is visible.
FillOutline GatherFillOutline(const RecordStore& store, int layer, int slot, OutlineProbe probe,
                              const std::function<bool(double, double)>& inside);

// Sorts the crossings of one scan line by x (y goes with its x) with passes of neighbour swaps.
// While their count is odd, a crossing closer than dropX in x and dropY in y to the one before
// it is dropped: the last crossing takes its place. Returns the count kept.
size_t SortCrossings(std::vector<double>& x, std::vector<double>& y, double dropX, double dropY);

// Horizontal scan lines from bottom + step (the offset summed in single precision) while not
// above top; each one drawn between its crossings with the outline, pair by pair. An edge with
// an end exactly at the scan height is passed over. Scan lines outside [windowLow, windowHigh]
// are not cut (nothing of them would show). A step of 0 or one that no longer advances the offset
// ends the fill. Uses ScratchXY elements 0..9 as SegmentXAtY takes them.
struct HatchScan {
    double bottom = 0;
    double top = 0;
    double guideX = 0;  // x of the middle of the head's box, for the scan line's guide points
    float step = 0;
    double dropX = 0.1;
    double windowLow = -std::numeric_limits<double>::infinity();
    double windowHigh = std::numeric_limits<double>::infinity();
};
void ScanHatchLines(App& app, const FillOutline& outline, const HatchScan& scan, LineSink& sink,
                    Rgb color);

// A pattern of a type-13 head: the sweep kind (1 lines from upper left to lower right, 2 lines
// from lower left to upper right, 3 both, 4 rows of point symbols along the kind-2 lines), the
// spacing a (and b, the symbol step in y), the symbol code and whether the centre is snapped to
// the (a, b) grid once more.
struct FillPattern {
    int state = 1;
    float a = 0;
    float b = 0;
    std::string code;
    bool snapToSteps = false;
};

// The pattern of pattern number j: 1, 2, 3 hatching; 4 rows of symbol 216 with the steps of
// line-type row 216; 6..348 rows of the symbol that line-type row j names with its steps; any
// other number as 1. Hatch lines lie 1.13137 x sizeFactor apart in x and y. A zero step of a
// symbol row becomes 10 x sizeFactor for both steps (for pattern 4 only when zeroStepsForRow216).
// Raises error 9 when the line-type row is not loaded.
FillPattern ChooseFillPattern(const SymbolStandard& standard, int j, double sizeFactor,
                              bool zeroStepsForRow216);

// Whether pattern number j is a row of the symbol standard (4 and 6..348), not a hatching.
bool FillPatternFromStandard(int j);

// Lays the row of upright symbols of a symbol pattern between two crossings (x1, y1), (x2, y2).
using SymbolRowLayer = std::function<void(double x1, double y1, double x2, double y2, Rgb color,
                                          const std::string& code, float stepX, float stepY)>;

// Sweeps the pattern over the outline from the centre (snapped to the hatch grid and, when the
// pattern says so, to its steps) outwards in both directions, each direction ending at the first
// line with fewer than two crossings; kind 3 then sweeps kind 2. Pairs are drawn as lines through
// the sink, symbol rows by `symbolRow` (without one, by LaySymbolsAlongSegment on the sink).
// Nothing when a spacing is 0 or no number. Uses ScratchXY elements 0..9 as LineIntersect takes
// them.
void SweepPatternFill(App& app, const FillOutline& outline, double centreX, double centreY,
                      const FillPattern& pattern, LineSink& sink, Rgb color, double sizeFactor,
                      const SymbolRowLayer& symbolRow = {});

// ---- The screen: the main window's canvas at ScaleFactor, culled by ClipRect.

// The solid fill of the type-11 head at (layer, slot): scan lines 0.4 screen millimetres apart,
// two pixels wide, in the head's colour. Leaves draw width 2. Ends silently on a failure.
void DrawHatchFill(App& app, const std::uint8_t& layer, const std::int16_t& slot);

// The pattern of the type-13 head at (layer, slot) chosen by the number in its text. Leaves draw
// width 1 and style solid. Ends silently on a failure.
void DrawSymbolFill(App& app, const std::uint8_t& layer, const std::int16_t& slot);

}  // namespace movra
