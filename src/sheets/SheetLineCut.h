#pragma once
// Splitting every record along one straight sheet line, so that each piece lies on one side of it:
// a sheet file takes a record by where its vertices lie.
#include <array>
#include <vector>

namespace movra {

struct App;

// The bounds of the cutting line in 32-bit floats. Records are compared with them as they are,
// 64-bit, so a record coordinate is never rounded for the test.
struct CutLineBox {
    float maxX = 0, minX = 0, maxY = 0, minY = 0;
};
CutLineBox MakeCutLineBox(double x1, double y1, double x2, double y2);

// Splits every record of every layer that is on (locked or not) and holds a record where the
// infinite line through (x1, y1) and (x2, y2) crosses it, each piece in the slots right after the
// record it came from, so the order of the layer and its line chains stay whole. Pieces keep the
// record's colour, pen, texts, font and merged-file tag. Circles become two arcs, arcs two or
// three, an ellipse whose box reaches the line becomes a pen-line chain at the end of the layer,
// which the same pass then cuts. Angled texts stay whole. The pass follows the layer as it grows.
// Where a layer could only make room by being split into a new layer, its remaining records stay
// uncut and "警告！！！本层已满，请换（加）层" is shown once. Leaves ScratchXY with elements 0..12; no
// redraw, no undo step, no modified mark.
void CutFeaturesAlongLine(App& app, double x1, double y1, double x2, double y2);

// Whether the line through ScratchXY P1 (2, 3) and P2 (4, 5) crosses the segment A-B strictly
// inside it; the crossing is then in ScratchXY (0, 1). With boxTest the segment must first reach
// strictly past the box on both sides in x and in y.
bool SegmentCrossing(App& app, const CutLineBox& box, double xa, double ya, double xb, double yb,
                     bool boxTest = true);

// The middle of the arc running counter-clockwise from `start` to `end` (direction angles, through
// angle 0 when start > end) on the circle about (cx, cy) with the radius.
struct ArcPoint {
    double x = 0, y = 0;
};
ArcPoint ArcMidPoint(double cx, double cy, double radius, double start, double end);

// Fills app.sheetCut.UnitDirection for the line (x1, y1)-(x2, y2): its length, its unit direction
// and 0; a line of no or of unmeasurable length gets a zero direction. Sets ScaleFactor from the
// map's scale denominator when the map has one.
void LineDirectionUnit(App& app, double x1, double y1, double x2, double y2);

// One vertex of a line record: X, Y and Z.
struct CutVertex {
    double x = 0, y = 0;
    float z = 0;
    bool operator==(const CutVertex&) const = default;
};

// One record a split of a line record yields: its type and its four vertices (unused ones zero).
struct CutRow {
    int type = 0;
    std::array<CutVertex, 4> v{};
    bool operator==(const CutRow&) const = default;
};

// The records that a line record of type 2-5, 42-45, 72-75, 99 or 6 becomes when its segment
// `segment` (1 for P1-P2, ..., 4 for P4-N of a chaining record or P4-P1 of a quadrilateral) is cut
// at (ix, iy): first the record itself, then the pieces for the slots after it. `next` is the
// first vertex of the record that a chaining record goes on to. Empty for another type or a
// segment the record does not have.
std::vector<CutRow> SplitLineRows(int type, const std::array<CutVertex, 4>& vertices, const CutVertex& next,
                                  int segment, double ix, double iy);

}  // namespace movra
