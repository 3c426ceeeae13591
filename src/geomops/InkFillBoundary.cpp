#include "geomops/InkFillBoundary.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "document/RecordTypes.h"
#include "document/RecordVertices.h"

namespace movra {

namespace {

constexpr int ScanScratch = 10;
constexpr double ScanReach = 1000;  // ground units each way from the seed x

// How a record type bounds a fill: the vertices of its open line, whether it goes on to the next
// slot, whether it is a box of four sides, and whether it is a shape the seed can lie in.
struct BoundaryShape {
    int vertices = 0;
    bool link = false;
    bool box = false;
    bool seedShape = false;
};

BoundaryShape ShapeOf(std::uint8_t type, InkBoundaryKinds kinds) {
    // A line-type segment bounds as a two-vertex line.
    if (type == TypeLineTypeSegment) return {2};
    const int base = ChainFamilyOf(type);
    // A chain's end record is reached from the record before; wide lines do not bound a fill.
    if (base >= 0 && type != base + 1 && base != WideLineBase)
        return {ChainVertexCount(type), ContinuesToNextSlot(type)};
    if (kinds == InkBoundaryKinds::LinesOnly) return {};
    if (type == 6 || type == 10) return {4, false, true, true};
    if (type == 11 || type == 13) return {0, false, false, true};
    return {};
}

bool StrictlyBetween(double low, double v, double high) { return low < v && v < high; }

// The box spanned by a diagonal a -> c holds the seed, unless a lies below right of c.
bool DiagonalBoxHolds(VertexXY a, VertexXY c, double x0, double y0) {
    if (a.x > c.x && a.y < c.y) return false;
    return StrictlyBetween(std::min(a.x, c.x), x0, std::max(a.x, c.x)) &&
           StrictlyBetween(std::min(a.y, c.y), y0, std::max(a.y, c.y));
}

bool HoldsSeed(const MapRecord& r, double x0, double y0) {
    if (r.RecordType == 10)
        return DiagonalBoxHolds(VertexPoint(r, 1), VertexPoint(r, 3), x0, y0) ||
               DiagonalBoxHolds(VertexPoint(r, 2), VertexPoint(r, 4), x0, y0);
    // Boxes and fill heads stored from their upper left corner clockwise.
    return StrictlyBetween(r.RecordX1, x0, r.RecordX2) && StrictlyBetween(r.RecordY4, y0, r.RecordY1);
}

bool InWindow(const MapRecord& r, const InkFillSetup& s) {
    for (int k = 1; k <= 4; ++k) {
        const VertexXY v = VertexPoint(r, k);
        if (StrictlyBetween(s.xMin, v.x, s.xMax) && StrictlyBetween(s.yMin, v.y, s.yMax)) return true;
    }
    return false;
}

}  // namespace

bool BeginInkFill(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs, InkFillSetup& setup) {
    const double scale = app.view.ScaleFactor;
    // A scale of 0 or below has no step to scan by.
    if (!(scale > 0) || !std::isfinite(scale)) return false;
    if (fangs == 1) {
        setup.x0 = pn;
        setup.y0 = kn;
        setup.color = app.current.CurrentColor;
    } else {
        const MapRecord& r = app.store.Get(pn, kn);
        setup.x0 = r.RecordX1;
        setup.y0 = r.RecordY1;
        setup.color = r.RecordColor;
    }
    setup.halfWindow = Int(scale * 100);
    setup.step = static_cast<float>(scale * InkFillStepMm);
    if (!(setup.step > 0)) return false;
    setup.lineBudget = ToInt32(2 * setup.halfWindow / static_cast<double>(setup.step));
    // Whole units, halves to the even one.
    setup.xMin = std::nearbyint(setup.x0 - setup.halfWindow);
    setup.xMax = std::nearbyint(setup.x0 + setup.halfWindow);
    setup.yMin = std::nearbyint(setup.y0 - setup.halfWindow);
    setup.yMax = std::nearbyint(setup.y0 + setup.halfWindow);
    return true;
}

std::vector<InkSegment> GatherInkBoundary(App& app, const InkFillSetup& setup, InkBoundaryKinds kinds,
                                          InkShapeHit* hit) {
    std::vector<InkSegment> segments;
    const RecordStore& store = app.store;
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= lastLayer; ++layer) {
        if (store.LayerOnFlag[static_cast<std::size_t>(layer)] == 0) continue;
        const std::int32_t count = store.Count(layer);
        // A layer that holds any record bounds the ink, a layer of one record too.
        if (count < 1) continue;
        const int lastSlot = std::min<std::int32_t>(count, store.LayerCapacity);
        for (int slot = 0; slot <= lastSlot; ++slot) {
            if (segments.size() >= InkBoundaryCap) return segments;
            const MapRecord& r = store.Get(layer, slot);
            const BoundaryShape shape = ShapeOf(r.RecordType, kinds);
            if ((shape.vertices == 0 && !shape.seedShape) || !InWindow(r, setup)) continue;
            if (shape.seedShape && HoldsSeed(r, setup.x0, setup.y0)) {
                if (hit) *hit = {r.RecordType, layer, slot};
                return segments;
            }
            for (int k = 1; k < shape.vertices; ++k) {
                const VertexXY a = VertexPoint(r, k), b = VertexPoint(r, k + 1);
                segments.push_back({a.x, a.y, b.x, b.y});
            }
            const VertexXY last = VertexPoint(r, 4);
            if (shape.box) {
                const VertexXY first = VertexPoint(r, 1);
                segments.push_back({last.x, last.y, first.x, first.y});
            }
            // The layer's open slot holds no line to go on to.
            if (shape.link && slot + 1 < count) {
                const VertexXY next = VertexPoint(store.Get(layer, slot + 1), 1);
                segments.push_back({last.x, last.y, next.x, next.y});
            }
        }
    }
    return segments;
}

void PutScanLine(App& app, double seedX, double y) {
    std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < ScanScratch) s.resize(ScanScratch, 0.0);
    s[2] = seedX - ScanReach;
    s[3] = y;
    s[4] = seedX + ScanReach;
    s[5] = y;
}

bool InkCrossing(App& app, const InkSegment& g, double& x) {
    const double y = app.geometry.ScratchXY[3];
    if ((g.ya > y && g.yb > y) || (g.ya < y && g.yb < y) || g.ya == g.yb) return false;
    std::vector<double>& s = app.geometry.ScratchXY;
    s[6] = g.xa;
    s[7] = g.ya;
    s[8] = g.xb;
    s[9] = g.yb;
    if (!SegmentXAtY(app)) return false;
    x = s[0];
    return true;
}

void UpdateInkStopLines(const InkSegment& left, const InkSegment& right, double span, InkPass pass,
                        const InkStopThresholds& t, InkStopLines& stops) {
    if (left.ya != left.yb) {
        stops.leftLow = std::min(left.ya, left.yb);
        stops.leftHigh = std::max(left.ya, left.yb);
    }
    if (right.ya != right.yb) {
        stops.rightLow = std::min(right.ya, right.yb);
        stops.rightHigh = std::max(right.ya, right.yb);
    }
    if (std::fabs(stops.rightHigh - stops.leftHigh) < t.upperEnds)
        stops.upper = static_cast<float>(stops.leftHigh);
    else if (std::fabs(stops.rightLow - stops.leftLow) < t.lowerEnds)
        stops.lower = static_cast<float>(stops.leftLow);
    else if (span < t.shortSpan) {
        if (pass == InkPass::Up)
            stops.upper = static_cast<float>(std::min(stops.leftHigh, stops.rightHigh));
        else
            stops.lower = static_cast<float>(std::max(stops.leftLow, stops.rightLow));
    }
}

}  // namespace movra
