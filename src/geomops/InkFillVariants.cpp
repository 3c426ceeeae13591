// The two other ink fills of the main window: one that follows the sides it found instead of
// searching every line, and one that traces the region's outline into a hatch-filled area.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/RecordVertices.h"
#include "document/StoreRecord.h"
#include "geomops/CutAlongLine.h"
#include "geomops/InkFill.h"
#include "geomops/InkFillBoundary.h"
#include "geomops/InkFillSpans.h"
#include "platform/Prompt.h"
#include "platform/Surface.h"

namespace movra {

namespace {

constexpr InkStopThresholds CoarseStops{0.2, 0.2, 1.0};
constexpr double JoinTolerance = 0.2;  // ground units: segment ends this close meet
constexpr int TracingSweeps = 8;
constexpr const char* OutlineFillCode = "5";

// The crossings of the scan line in ScratchXY nearest to x0 on each side, taken only where nearer
// than the bounds given; a side keeps its bound and NoSegment when no crossing is nearer.
struct ScanSides {
    double left = 0, right = 0;
    std::size_t leftSegment = NoSegment, rightSegment = NoSegment;
};

ScanSides NearestCrossings(App& app, const std::vector<InkSegment>& segments, double x0, double left, double right) {
    ScanSides sides{left, right};
    for (std::size_t n = 0; n < segments.size(); ++n) {
        double x = 0;
        if (!InkCrossing(app, segments[n], x)) continue;
        if (x < x0 && x > sides.left) {
            sides.left = x;
            sides.leftSegment = n;
        } else if (x > x0 && x < sides.right) {
            sides.right = x;
            sides.rightSegment = n;
        }
    }
    return sides;
}

// The sides followed from line to line, carried from the upward pass into the downward one.
struct TrackedSides {
    std::size_t left = NoSegment, right = NoSegment;
};

bool TrackingPass(App& app, const InkFillSetup& s, const std::vector<InkSegment>& segments, InkPass pass,
                  InkStopLines& stops, TrackedSides& tracked, InkSpanWriter& writer, Surface* canvas) {
    const double step = s.step;
    double x0 = s.x0;
    std::int32_t k = 0;
    do {
        const double y = pass == InkPass::Up ? s.y0 + k * step : s.y0 - k * step;
        ++k;
        PutScanLine(app, x0, y);
        double left = x0 - 1000, right = x0 + 1000, trackedLeft = 0, trackedRight = 0;
        bool leftFound = false, rightFound = false;
        const bool leftReaches = tracked.left != NoSegment && InkCrossing(app, segments[tracked.left], trackedLeft);
        const bool rightReaches = tracked.right != NoSegment && InkCrossing(app, segments[tracked.right], trackedRight);
        if (leftReaches && rightReaches) {
            left = trackedLeft;
            right = trackedRight;
            leftFound = rightFound = true;
        } else {
            if (leftReaches) {
                left = trackedLeft;
                leftFound = true;
            }
            const ScanSides sides = NearestCrossings(app, segments, x0, left, right);
            if (sides.leftSegment != NoSegment) {
                left = sides.left;
                tracked.left = sides.leftSegment;
                leftFound = true;
            }
            if (sides.rightSegment != NoSegment) {
                right = sides.right;
                tracked.right = sides.rightSegment;
                rightFound = true;
            }
        }
        if (!leftFound || !rightFound) continue;
        if (canvas) canvas->Line(left, y, right, y, s.color);
        const double span = right - left;
        // Followed sides that have crossed over give the span from its right end.
        if (!writer.Add(std::min(left, right), y, std::fabs(span))) return false;
        x0 = (left + right) / 2;
        const double stopLine = pass == InkPass::Up ? stops.upper : stops.lower;
        if (span < step || std::fabs(y - stopLine) < step) return true;
        UpdateInkStopLines(segments[tracked.left], segments[tracked.right], span, pass, CoarseStops, stops);
    } while (k < s.lineBudget);
    return true;
}

bool Meets(VertexXY a, VertexXY b) { return std::fabs(a.x - b.x) < JoinTolerance && std::fabs(a.y - b.y) < JoinTolerance; }

// Going on to a point at the vertex before the last would step back along the outline.
bool StepsBack(VertexXY next, VertexXY beforeLast) {
    return std::fabs(next.x - beforeLast.x) <= JoinTolerance && std::fabs(next.y - beforeLast.y) <= JoinTolerance;
}

// The outline from the segment left of the seed round to its start, or empty when it does not
// close within the sweeps.
std::vector<VertexXY> TraceOutline(App& app, const std::vector<InkSegment>& segments, std::size_t start,
                                 Rgb color, Surface* canvas) {
    const InkSegment& first = segments[start];
    std::vector<VertexXY> outline{{first.xa, first.ya}};
    auto edgeTo = [&](VertexXY next) {
        const VertexXY last = outline.back();
        outline.push_back(next);
        if (canvas) canvas->Line(last.x, last.y, next.x, next.y, color);
        app.platform.events().DoEvents();
    };
    edgeTo({first.xb, first.yb});
    std::size_t n = 1;
    int wraps = 0;
    for (;;) {
        if (n >= segments.size()) {
            n = 0;
            ++wraps;
        }
        const InkSegment& g = segments[n];
        const VertexXY a{g.xa, g.ya}, b{g.xb, g.yb};
        const VertexXY last = outline.back(), beforeLast = outline[outline.size() - 2];
        bool appended = false;
        if (Meets(a, last)) {
            if (!StepsBack(b, beforeLast)) edgeTo(b), appended = true;
        } else if (Meets(b, last)) {
            if (!StepsBack(a, beforeLast)) edgeTo(a), appended = true;
        }
        if (appended && outline.size() >= 4 && Meets(outline.back(), outline.front())) return outline;
        if (wraps == TracingSweeps) return {};
        ++n;
    }
}

}  // namespace

void 墨水填充A(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs) {
    GuardSilently([&] {
        InkFillScope scope(app);
        InkFillSetup setup;
        if (!BeginInkFill(app, pn, kn, fangs, setup)) return;
        const std::vector<InkSegment> segments = GatherInkBoundary(app, setup, InkBoundaryKinds::LinesOnly, nullptr);
        InkSpanWriter writer(app, setup.color);
        InkStopLines stops;
        TrackedSides tracked;
        if (!TrackingPass(app, setup, segments, InkPass::Up, stops, tracked, writer, scope.Canvas())) return;
        TrackingPass(app, setup, segments, InkPass::Down, stops, tracked, writer, scope.Canvas());
    });
}

void 墨水tc(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs) {
    GuardSilently([&] {
        InkFillScope scope(app);
        InkFillSetup setup;
        if (!BeginInkFill(app, pn, kn, fangs, setup)) return;
        const std::vector<InkSegment> segments = GatherInkBoundary(app, setup, InkBoundaryKinds::LinesOnly, nullptr);
        PutScanLine(app, setup.x0, setup.y0);
        const ScanSides sides = NearestCrossings(app, segments, setup.x0, setup.x0 - 1000, setup.x0 + 1000);
        if (sides.leftSegment == NoSegment || sides.rightSegment == NoSegment) {
            app.platform.prompt().MsgBox(PlainNumberText(setup.halfWindow) + "距离超过两倍", MsgOkOnly);
            return;
        }
        if (Surface* canvas = scope.Canvas()) canvas->Line(sides.left, setup.y0, sides.right, setup.y0, setup.color);
        const std::vector<VertexXY> outline = TraceOutline(app, segments, sides.leftSegment, setup.color, scope.Canvas());
        if (outline.empty()) return;
        std::vector<double>& list = app.selection.WorkPolygon;
        list.clear();
        for (const VertexXY& v : outline) {
            list.push_back(v.x);
            list.push_back(v.y);
        }
        // The head and one chain record for every four points; the closing point is not stored.
        const int points = static_cast<int>(outline.size()) - 1;
        RecordStore& store = app.store;
        const int layer = store.CurrentLayer;
        if (!RoomForPieces(app, layer, 1 + std::max(1, (points + 3) / 4))) return;
        const std::int32_t before = store.Count(layer);
        StorePolylineFromList(app, OutlineFillCode);
        if (store.Count(layer) != before) app.current.ModifiedFlag = -1;
    });
}

}  // namespace movra
