#include "display/LineTypes.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "document/Geometry.h"
#include "platform/Surface.h"
#include "symbols/SymbolStandard.h"

namespace movra {

namespace {

// Along one axis, whether a point at `offset` from A lies inside a segment whose extent is
// `extent`: strictly short of B, or on the axis itself when the segment has no extent along it.
bool InsideOnAxis(double offset, double extent) {
    return offset < extent || (extent == 0 && offset == 0);
}

}  // namespace

bool LayLineType(LineSink& sink, const SymbolStandard& standard, int type, double ax, double ay,
                 double bx, double by, double ux, double uy, double length, double sizeFactor,
                 Rgb color, const LineTypeRunOptions& options) {
    if (standard.LineTypeWidth.At(type, 0) == 0) return false;
    const int width = standard.LineTypeWidth.At(type, 1);
    Surface& canvas = sink.Canvas();
    canvas.SetDrawWidth(width == 0 ? 1 : width);
    if (options.solidStyleAtWidthZero && width == 0) canvas.SetDrawStyle(DrawStyleSolid);

    const auto& pattern = standard.LineTypePattern;
    const float elementCount = pattern.At(type, 0, 0);
    if (elementCount < 1) return true;
    const int elements = ToInt32(elementCount);
    const double period = pattern.At(type, 0, 1);

    const double extentX = std::fabs(bx - ax);
    const double extentY = std::fabs(by - ay);
    auto beyondB = [&](double qx, double qy) {
        return std::fabs(qx - ax) > extentX || std::fabs(qy - ay) > extentY;
    };
    // Symbols stand with their top to the left of the run.
    auto symbol = [&](double x, double y, float code) {
        sink.Symbol(x, y, PlainNumberText(code), -uy, ux, color);
    };
    auto symbolOfElement = [&](double x, double y, int element) {
        symbol(x, y, pattern.At(type, element, 1));
    };

    double px = ax, py = ay;
    double gapX = ax, gapY = ay;    // start of the last gap
    double pastX = ax, pastY = ay;  // 70 % into the last gap
    bool leftDrawn = false, rightDrawn = false;
    double laid = 0;  // paper millimetres of the finished passes
    // A run reaching beyond what the sink shows (a vertex far off the canvas) passes over the
    // periods before the part seen and stops after it, so its work is what can be seen. The
    // margin keeps the symbols and side lines of periods just outside.
    double stopAt = INFINITY;  // ground length along the run after which nothing is seen
    const double periodLength = period * sizeFactor;
    if (const std::optional<LineSink::Area> area = sink.Visible(); area && periodLength > 0 && length > 0) {
        const double margin = 2 * std::max(period, 20.0) * std::fabs(sizeFactor);
        double t0 = 0, t1 = 1;
        if (!SegmentPartInside(*area, margin, ax, ay, bx, by, t0, t1)) return true;
        if (t0 > 0 || t1 < 1) {
            const double skipped = std::floor(t0 * length / periodLength);
            laid = skipped * period;
            px = gapX = pastX = ax + laid * ux;
            py = gapY = pastY = ay + laid * uy;
            if (t1 < 1) stopAt = t1 * length + periodLength;
        }
    }
    for (;;) {
        for (int i = 1; i <= elements; ++i) {
            const float kind = pattern.At(type, i, 0);
            const float value = pattern.At(type, i, 1);
            if (kind == LineDash) {
                if (value == 100) {
                    sink.Line(px + ux, py + uy, bx - ux, by - uy, color);
                    symbolOfElement(bx, by, i + 1);
                    return true;
                }
                // A gap may have carried the run past B already; nothing of it is drawn back.
                if (options.symbolIntoLastGap && beyondB(px, py)) return true;
                const double qx = px + value * ux;
                const double qy = py + value * uy;
                if (beyondB(qx, qy)) {
                    sink.Line(px, py, bx, by, color);
                    return true;
                }
                sink.Line(px, py, qx, qy, color);
                px = qx;
                py = qy;
            } else if (kind == LineGap) {
                if (value == 50) {
                    symbolOfElement((ax + bx) / 2, (ay + by) / 2, i + 1);
                    symbolOfElement(bx, by, i + 3);
                    return true;
                }
                if (value == 100) {
                    symbolOfElement(bx, by, i + 1);
                    return true;
                }
                const double qx = px + value * ux;
                const double qy = py + value * uy;
                if (options.symbolIntoLastGap) {
                    gapX = px;
                    gapY = py;
                    pastX = px + 0.7 * value * ux;
                    pastY = py + 0.7 * value * uy;
                } else if (beyondB(qx, qy)) {
                    return true;
                }
                px = qx;
                py = qy;
            } else if (kind == LineSymbol) {
                if (options.symbolIntoLastGap && beyondB(px, py)) {
                    sink.Line(gapX, gapY, bx, by, color);
                    if (InsideOnAxis(std::fabs(pastX - ax), extentX) &&
                        InsideOnAxis(std::fabs(pastY - ay), extentY)) {
                        symbol(pastX, pastY, value);
                    }
                    return true;
                }
                symbol(px, py, value);
                if (width > 0) canvas.SetDrawWidth(width);
            } else if (kind == LineLeftSide) {
                if (!leftDrawn) {
                    sink.Line(ax - value * uy, ay + value * ux, bx - value * uy, by + value * ux, color);
                    leftDrawn = true;
                }
            } else if (kind == LineRightSide) {
                if (!rightDrawn) {
                    sink.Line(ax + value * uy, ay - value * ux, bx + value * uy, by - value * ux, color);
                    rightDrawn = true;
                }
            }
        }
        const double next = laid + period;
        // A period that adds no length (only symbols and side lines, or no scale) is laid once.
        if (!(next * sizeFactor > laid * sizeFactor)) return true;
        laid = next;
        if (!(laid * sizeFactor < length) || laid * sizeFactor > stopAt) return true;
    }
}

void DrawLineTypeSegment(App& app, double x1, double y1, double x2, double y2,
                         const std::string& code) {
    auto& unit = app.display.UnitDirection;
    unit = {0, 0, 0, 0};
    // A map without a scale keeps the factor it has: 0 would leave nothing to lay the pattern by.
    const double fromScale = app.view.ProjectParams[0] / 1000;
    if (fromScale > 0) app.view.ScaleFactor = fromScale;
    try {
        const double scale = app.view.ScaleFactor;
        const double length = Dist(x1, y1, x2, y2);
        double ux = 0, uy = 1;
        if (length != 0) {
            ux = (x2 - x1) * scale / length;
            uy = (y2 - y1) * scale / length;
        }
        const int type = ToInt32(Val(code) - 349);
        if (type < 0) return;
        const SymbolStandard& standard = app.symbolStandard;
        if (standard.LineTypeWidth.At(type, 0) == 0) return;
        if (scale != 0) {
            unit = {length, ux / scale, uy / scale, 0};
        } else {
            unit = {length, length != 0 ? (x2 - x1) / length : 0, length != 0 ? (y2 - y1) / length : 1, 0};
        }
        ScreenSink sink(app);
        LayLineType(sink, standard, type, x1, y1, x2, y2, ux, uy, length, scale,
                    app.current.CurrentColor);
    } catch (const RuntimeError& error) {
        ReportOnMessageLine(app, error);
    }
}

void DrawRecordSegmentLineType(App& app, std::uint8_t layer, std::int16_t slot,
                               std::uint8_t selector) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        double ax = 0, ay = 0, bx = 0, by = 0;
        std::string code = record.RecordText;
        Rgb color = app.display.PenColor != 0 ? app.display.PenColor : record.RecordColor;
        switch (selector) {
            case 1:
                ax = app.display.MarkerX;
                ay = app.display.MarkerY;
                bx = ax + 20;
                by = ay;
                code = PlainNumberText(static_cast<std::int32_t>(app.display.MarkerCode));
                color = app.display.PenColor != 0 ? app.display.PenColor : app.current.CurrentColor;
                break;
            case 2: ax = record.RecordX1; ay = record.RecordY1; bx = record.RecordX2; by = record.RecordY2; break;
            case 3: ax = record.RecordX2; ay = record.RecordY2; bx = record.RecordX3; by = record.RecordY3; break;
            case 4: ax = record.RecordX3; ay = record.RecordY3; bx = record.RecordX4; by = record.RecordY4; break;
            case 5: {
                const MapRecord& next = app.store.Get(layer, slot + 1);
                ax = record.RecordX4;
                ay = record.RecordY4;
                bx = next.RecordX1;
                by = next.RecordY1;
                break;
            }
            default: return;
        }
        if ((ax == 0 && ay == 0) || (bx == 0 && by == 0)) return;
        const double length = Dist(ax, ay, bx, by);
        if (length == 0) return;
        ScreenSink sink(app);
        const int type = ToInt32(Val(code) - 349);
        if (type <= 0) {
            sink.Line(ax, ay, bx, by, color);
            return;
        }
        const double scale = app.view.ScaleFactor;
        LayLineType(sink, app.symbolStandard, type, ax, ay, bx, by, (bx - ax) * scale / length,
                    (by - ay) * scale / length, length, scale, color, {.symbolIntoLastGap = true});
    } catch (const RuntimeError& error) {
        ReportOnMessageLine(app, error);
    }
}

void DrawRecordChainLineType(App& app, std::int16_t layer, std::int32_t slot) {
    if (app.symbolStandard.SymbolStandardLoaded == 0) return;
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        const int code = ToInt32(Val(record.RecordText));
        const int type = code >= 350 ? code - 349 : code;
        const double scale = app.view.ScaleFactor;
        ScreenSink sink(app);
        LayLineType(sink, app.symbolStandard, type, record.RecordX1, record.RecordY1,
                    record.RecordX2, record.RecordY2, scale * record.RecordY3,
                    scale * record.RecordX4, record.RecordX3, scale, record.RecordColor,
                    {.solidStyleAtWidthZero = true});
    } catch (const RuntimeError& error) {
        ReportOnMessageLine(app, error);
    }
}

}  // namespace movra
