#include "geomops/InkFill.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "display/AreaFills.h"
#include "display/Shapes.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "geomops/CutAlongLine.h"
#include "geomops/InkFillBoundary.h"
#include "geomops/InkFillSpans.h"
#include "platform/Surface.h"

namespace movra {

namespace {

constexpr InkStopThresholds PlainStops{0.1, 0.1, 0.5};

// A level segment within a step of the line that reaches the seed x from both sides: the region
// ends here.
bool IsLevelWall(const InkSegment& g, double y, double x0, double step) {
    return g.ya == g.yb && std::fabs(y - g.ya) < step && std::max(g.xa, g.xb) >= x0 && std::min(g.xa, g.xb) <= x0;
}

// One pass from the seed line up or down. False when the layer has no room for more spans.
bool ScanPass(App& app, const InkFillSetup& s, const std::vector<InkSegment>& segments, InkPass pass,
              InkStopLines& stops, InkSpanWriter& writer, Surface* canvas) {
    const double step = s.step;
    std::size_t previousLeft = NoSegment, previousRight = NoSegment;
    double x0 = s.x0;
    std::int32_t k = 0;
    do {
        const double y = pass == InkPass::Up ? s.y0 + k * step : s.y0 - k * step;
        ++k;
        PutScanLine(app, x0, y);
        double left = x0 - 1000, right = x0 + 1000;
        std::size_t leftSegment = NoSegment, rightSegment = NoSegment;
        for (std::size_t n = 0; n < segments.size(); ++n) {
            const InkSegment& g = segments[n];
            if (IsLevelWall(g, y, x0, step)) return true;
            double x = 0;
            if (!InkCrossing(app, g, x)) continue;
            // The sides of the line before stay the sides, even where they have crossed over.
            if (x < x0) {
                if (n == previousRight) {
                    right = x;
                    rightSegment = n;
                } else if (x > left) {
                    left = x;
                    leftSegment = n;
                }
            } else if (x > x0) {
                if (n == previousLeft) {
                    left = x;
                    leftSegment = n;
                } else if (x < right) {
                    right = x;
                    rightSegment = n;
                }
            }
        }
        if (leftSegment == NoSegment || rightSegment == NoSegment) continue;
        if (rightSegment == previousLeft || leftSegment == previousRight || left > right) return true;
        if (canvas) canvas->Line(left, y, right, y, s.color);
        x0 = (left + right) / 2;
        previousLeft = leftSegment;
        previousRight = rightSegment;
        const double span = right - left;
        if (!writer.Add(left, y, span)) return false;
        UpdateInkStopLines(segments[leftSegment], segments[rightSegment], span, pass, PlainStops, stops);
        if (span < step) return true;
        if (pass == InkPass::Up ? (stops.upper - y) - step < step : (y - step) - stops.lower < step) return true;
    } while (k < s.lineBudget);
    return true;
}

// The seed lies in a shape: a closed box is added filled, a filled box or fill head recoloured.
void ActOnShape(App& app, const InkShapeHit& hit) {
    RecordStore& store = app.store;
    const MapRecord r = store.Get(hit.layer, hit.slot);
    if (hit.type == 6) {
        const int layer = store.CurrentLayer;
        if (!RoomForPieces(app, layer, 1)) return;
        const std::int32_t slot = store.Count(layer);
        StoreRecord(app, StoreFull, TypeFilledBand, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordX3,
                    r.RecordY3, r.RecordX4, r.RecordY4, "");
        if (!AppendedRecord(app, slot)) return;
        RenderRecord(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot));
        return;
    }
    store.At(hit.layer, hit.slot).RecordColor = app.current.CurrentColor;
    app.current.ModifiedFlag = -1;
    const auto layer = static_cast<std::uint8_t>(hit.layer);
    const auto slot = static_cast<std::int16_t>(hit.slot);
    if (hit.type == 10) RenderRecord(app, layer, slot);
    else if (hit.type == 11) DrawHatchFill(app, layer, slot);
    else DrawSymbolFill(app, layer, slot);
}

}  // namespace

void 墨水填充(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs) {
    GuardSilently([&] {
        InkFillScope scope(app);
        InkFillSetup setup;
        if (!BeginInkFill(app, pn, kn, fangs, setup)) return;
        InkShapeHit hit;
        const std::vector<InkSegment> segments = GatherInkBoundary(app, setup, InkBoundaryKinds::LinesAndBoxes, &hit);
        if (hit.type != 0) {
            ActOnShape(app, hit);
            return;
        }
        InkSpanWriter writer(app, setup.color);
        InkStopLines stops;
        if (!ScanPass(app, setup, segments, InkPass::Up, stops, writer, scope.Canvas())) return;
        ScanPass(app, setup, segments, InkPass::Down, stops, writer, scope.Canvas());
    });
}

}  // namespace movra
