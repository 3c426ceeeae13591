// Splitting circles and arcs into arcs at the sheet line, and turning ellipses into line chains.
#include <algorithm>
#include <cmath>
#include <vector>

#include "App.h"
#include "document/EllipseToPolyline.h"
#include "document/Geometry.h"
#include "sheets/SheetLineCut.h"
#include "sheets/SheetLineCutPass.h"

namespace movra {

namespace {

constexpr int ArcType = 8;

// The square of the given half-width about the centre reaches strictly past the line's box.
bool ReachesLine(const CutLineBox& box, const MapRecord& r, double half) {
    return r.RecordX1 + half > box.minX && r.RecordX1 - half < box.maxX && r.RecordY1 + half > box.minY &&
           r.RecordY1 - half < box.maxY;
}

// The direction angles at which the line crosses the circle of the record, from TangentAngles.
bool CrossingAngles(App& app, const MapRecord& r, double& c0, double& c1) {
    std::vector<double>& s = app.geometry.ScratchXY;
    // A tool may have cut the list down to its own working length.
    if (s.size() < 13) s.resize(13, 0.0);
    s[6] = r.RecordX1;
    s[7] = r.RecordY1;
    s[8] = r.RecordX2;
    s[9] = r.RecordY2;
    if (!TangentAngles(app)) return false;
    c0 = s[0];
    c1 = s[1];
    return true;
}

// The record as the arc from start to end, with its middle as the point that places it.
void MakeArc(MapRecord& r, double start, double end) {
    r.RecordType = ArcType;
    r.RecordX3 = start;
    r.RecordY3 = end;
    const ArcPoint mid = ArcMidPoint(r.RecordX1, r.RecordY1, r.RecordX2, start, end);
    r.RecordX4 = mid.x;
    r.RecordY4 = mid.y;
}

}  // namespace

ArcPoint ArcMidPoint(double cx, double cy, double radius, double start, double end) {
    // The azimuth of the arc's middle direction.
    double theta = TwoPi - (start + end) / 2 + HalfPi;
    if (theta >= TwoPi) theta -= TwoPi;
    if (start > end) theta -= Pi;
    return {cx + radius * std::sin(theta), cy + radius * std::cos(theta)};
}

namespace sheet_cut_detail {

bool CircleReachesLine(const CutLineBox& box, const MapRecord& r) { return ReachesLine(box, r, r.RecordX2); }

bool EllipseReachesLine(const CutLineBox& box, const MapRecord& r) {
    return ReachesLine(box, r, std::max(std::fabs(r.RecordX2), std::fabs(r.RecordY2)));
}

void CutCircle(CutPass& pass) {
    const MapRecord circle = pass.Current();
    double c0 = 0, c1 = 0;
    if (!CircleReachesLine(pass.box, circle) || !CrossingAngles(pass.app, circle, c0, c1)) return;
    if (!pass.Open(1)) return;
    // Two arcs that together trace the circle, both ending on the line.
    MapRecord second = PieceOf(circle);
    MakeArc(second, c1, c0);
    pass.Piece(1) = std::move(second);
    MakeArc(pass.Current(), c0, c1);
}

void CutArc(CutPass& pass) {
    const MapRecord arc = pass.Current();
    double c0 = 0, c1 = 0;
    if (!CircleReachesLine(pass.box, arc) || !CrossingAngles(pass.app, arc, c0, c1)) return;
    const double a = arc.RecordX3, b = arc.RecordY3;
    if (a == b) return;
    if (std::fabs(c0) > TwoPi) c0 = 0;
    if (std::fabs(c1) > TwoPi) c1 = 0;
    // An arc that already ends at a crossing of this line was cut here before.
    if (a < b && (c0 == a || c0 == b)) return;
    const auto inside = [&](double c) { return a < b ? a < c && c < b : c > a || c < b; };
    // How far along the arc, counter-clockwise from its start.
    const auto along = [&](double c) { return c > a ? c - a : c + TwoPi - a; };
    std::vector<double> cuts;
    if (inside(c0)) cuts.push_back(c0);
    if (inside(c1) && c1 != c0) cuts.push_back(c1);
    if (cuts.empty()) return;
    // In order along the arc, so that the pieces trace it once, also through angle 0.
    std::sort(cuts.begin(), cuts.end(), [&](double x, double y) { return along(x) < along(y); });
    if (!pass.Open(static_cast<int>(cuts.size()))) return;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        MapRecord piece = PieceOf(arc);
        MakeArc(piece, cuts[k], k + 1 < cuts.size() ? cuts[k + 1] : b);
        pass.Piece(static_cast<int>(k) + 1) = std::move(piece);
    }
    MakeArc(pass.Current(), a, cuts[0]);
}

void CutEllipse(CutPass& pass) {
    if (!EllipseReachesLine(pass.box, pass.Current())) return;
    // The chain goes behind the last record of the layer, where this pass reaches and cuts it.
    std::array<MapRecord, EllipseChainRecords> chain = EllipseChain(pass.Current());
    if (pass.Append(chain)) pass.Remove();
}

}  // namespace sheet_cut_detail

}  // namespace movra
