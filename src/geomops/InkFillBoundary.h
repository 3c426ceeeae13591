#pragma once
// What the three ink fills share before they scan: the seed and its colour, the window around
// the seed, and the line work inside it gathered as plain segments.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Color.h"

namespace movra {

struct App;

// The step between the scan lines of an ink fill, paper millimetres at the map's scale: its spans
// lie this far apart, and whoever draws them draws them this wide to show the fill solid.
constexpr double InkFillStepMm = 0.4;

// One fill's fixed values. The window is 100 paper millimetres each way from the seed, the step
// between scan lines InkFillStepMm.
struct InkFillSetup {
    double x0 = 0, y0 = 0;  // the seed
    Rgb color = 0;
    double halfWindow = 0;  // W, whole ground units
    float step = 0;
    std::int32_t lineBudget = 0;  // lines per pass
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// The seed and colour by `fangs` (1: the point (pn, kn) in CurrentColor; else vertex 1 and colour
// of the record in layer pn, slot kn) and the window and step by ScaleFactor. False, with nothing
// to do, when ScaleFactor is not above 0. Raises RuntimeError 9 for a record outside the store.
bool BeginInkFill(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs, InkFillSetup& setup);

struct InkSegment {
    double xa = 0, ya = 0, xb = 0, yb = 0;
};

// The index of no segment: a side not found on a scan line.
constexpr std::size_t NoSegment = static_cast<std::size_t>(-1);

// Which records bound a fill: the line families always, and for the plain fill also the sides of
// closed and filled quadrilaterals, whose insides it recognises as well.
enum class InkBoundaryKinds { LinesAndBoxes, LinesOnly };

// The first box, filled box or fill head found around the seed while gathering (LinesAndBoxes
// only); type 0 when none.
struct InkShapeHit {
    std::uint8_t type = 0;
    int layer = 0, slot = 0;
};

// Gathering stops before the first record read once this many segments are held.
constexpr std::size_t InkBoundaryCap = 2500;

// The segments of the records of the layers that are on and hold records, in layer and slot
// order, taking a record only when one of its vertices lies strictly inside the window. A chain
// record links to the next slot's first vertex where the layer holds one. Stops at a shape
// holding the seed (which it reports in `hit`) and at the cap.
std::vector<InkSegment> GatherInkBoundary(App& app, const InkFillSetup& setup, InkBoundaryKinds kinds,
                                          InkShapeHit* hit);

// Puts the scan line at height y through the seed x into ScratchXY (2..5), grown to 0..9 first.
void PutScanLine(App& app, double seedX, double y);

// Where the segment crosses the scan line in ScratchXY: false when it lies wholly above or below
// it, or is level (a level segment on the line gives no crossing either).
bool InkCrossing(App& app, const InkSegment& segment, double& x);

enum class InkPass { Up, Down };

// Where the passes stop: lines that the boundary's corners and narrow ends set, never reset
// during a fill, held in single precision; and the lower and upper ends of the last sides
// compared (a level side leaves them as they were).
struct InkStopLines {
    float upper = 10000000.0f, lower = -10000000.0f;
    double leftLow = 0, leftHigh = 0, rightLow = 0, rightHigh = 0;
};

// Ground units, not scaled: sides whose upper (lower) ends lie this close meet there; a span
// shorter than `shortSpan` is a narrow end.
struct InkStopThresholds {
    double upperEnds, lowerEnds, shortSpan;
};

// Sides meeting at their upper ends set the upper stop line at the left side's upper end;
// otherwise sides meeting at their lower ends set the lower one; otherwise a short span sets the
// stop line of the pass at the nearer end.
void UpdateInkStopLines(const InkSegment& left, const InkSegment& right, double span, InkPass pass,
                        const InkStopThresholds& thresholds, InkStopLines& stops);

}  // namespace movra
