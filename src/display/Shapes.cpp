#include "display/Shapes.h"

#include <cmath>
#include <cstdint>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "document/Geometry.h"
#include "document/MapRecord.h"
#include "platform/Surface.h"

namespace movra {

namespace {

double Sgn(double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

struct BandSteps {
    std::int32_t n = 0;
    float stepX = 0;  // along P2-P3
    float stepY = 0;
};

BandSteps StepsOf(const ShapeCorners& p, float spacing) {
    BandSteps s;
    const double dx = p.X3 - p.X2;
    const double dy = p.Y3 - p.Y2;
    if (std::fabs(dx) > std::fabs(dy)) {
        s.stepX = static_cast<float>(Sgn(dx) * spacing);
        s.n = ToInt32(Int(dx / s.stepX));
        s.stepY = static_cast<float>(dy / s.n);
    } else {
        s.stepY = static_cast<float>(Sgn(dy) * spacing);
        s.n = ToInt32(Int(dy / s.stepY));
        s.stepX = static_cast<float>(dx / s.n);
    }
    return s;
}

float FiniteSingle(double v) {
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) Raise(ErrOverflow);
    return f;
}

const MapRecord& ShapeRecord(const App& app, int layer, int slot) {
    if (layer == 0) {
        if (slot < 0 || static_cast<size_t>(slot) >= app.clip.Items.size()) {
            Raise(ErrSubscriptOutOfRange);
        }
        return app.clip.Items[static_cast<size_t>(slot)];
    }
    return app.store.Get(layer, slot);
}

}  // namespace

ShapeCorners CornersOf(const MapRecord& r) {
    return {r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2,
            r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4};
}

void DrawRotatedEllipse(LineSink& sink, double cx, double cy, float a, float b, float rotation,
                        Rgb color) {
    // Turning clockwise by a quarter turn and the rotation lays the a axis along the azimuth.
    const double turn = HalfPi + rotation;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    double lastX = 0, lastY = 0;
    for (int k = 0; k <= 36; ++k) {
        const double t = k * TwoPi / 36;
        const double ex = a * std::cos(t);
        const double ey = b * std::sin(t);
        const double x = cx + ex * c + ey * s;
        const double y = cy - ex * s + ey * c;
        if (k > 0) sink.Line(lastX, lastY, x, y, color);
        lastX = x;
        lastY = y;
    }
}

std::int32_t BandStepCount(const ShapeCorners& p, float spacing) { return StepsOf(p, spacing).n; }

BandResult LayBandLines(LineSink& sink, const ShapeCorners& p, float spacing, Rgb color,
                        std::int32_t colorStep) {
    const BandSteps steps = StepsOf(p, spacing);
    BandResult result;
    result.steps = steps.n;
    result.colorAfter = color;
    if (steps.n <= 0) return result;
    result.drawn = true;
    const float ex = static_cast<float>((p.X4 - p.X1) / steps.n);
    const float ey = static_cast<float>((p.Y4 - p.Y1) / steps.n);
    const double extentX = std::fabs(p.X4 - p.X1);
    const double extentY = std::fabs(p.Y4 - p.Y1);
    double ax = p.X1 + ex, ay = p.Y1 + ey;
    double bx = p.X2 + steps.stepX, by = p.Y2 + steps.stepY;
    std::int64_t c = color;
    // The side P1-P4 is crossed in n steps; a side of no length would never be passed.
    for (std::int32_t line = 0; line < steps.n; ++line) {
        if (std::fabs(ax - p.X1) > extentX || std::fabs(ay - p.Y1) > extentY) break;
        sink.Line(ax, ay, bx, by, static_cast<Rgb>(c));
        ax += ex;
        ay += ey;
        bx += steps.stepX;
        by += steps.stepY;
        c += colorStep;
        if (c > INT32_MAX || c < INT32_MIN) Raise(ErrOverflow);
        result.colorAfter = static_cast<Rgb>(c);
    }
    return result;
}

void LayGridLines(LineSink& sink, const ShapeCorners& p, float spacing, Rgb color) {
    if (!(spacing > 0) || !std::isfinite(spacing)) return;
    Surface& canvas = sink.Canvas();
    auto line = [&](int k, double x1, double y1, double x2, double y2) {
        const bool tenth = k % 10 == 0;
        if (tenth) canvas.SetDrawWidth(2);
        sink.Line(x1, y1, x2, y2, color);
        if (tenth) canvas.SetDrawWidth(1);
    };
    for (int k = 1; p.Y1 - k * static_cast<double>(spacing) > p.Y4; ++k) {
        const double d = k * static_cast<double>(spacing);
        line(k, p.X1, p.Y1 - d, p.X2, p.Y2 - d);
    }
    for (int k = 1; p.X1 + k * static_cast<double>(spacing) < p.X2; ++k) {
        const double d = k * static_cast<double>(spacing);
        line(k, p.X1 + d, p.Y1, p.X4 + d, p.Y4);
    }
}

void LayFanStrip(LineSink& sink, const ShapeCorners& p, float n, Rgb color) {
    const float s1x = FiniteSingle((p.X4 - p.X1) / n), s1y = FiniteSingle((p.Y4 - p.Y1) / n);
    const float s2x = FiniteSingle((p.X4 - p.X2) / n), s2y = FiniteSingle((p.Y4 - p.Y2) / n);
    const float s3x = FiniteSingle((p.X4 - p.X3) / n), s3y = FiniteSingle((p.Y4 - p.Y3) / n);
    Surface& canvas = sink.Canvas();
    canvas.SetDrawWidth(2);
    double q1x = p.X1 + s1x / 2, q1y = p.Y1 + s1y / 2;
    double q2x = p.X2 + s2x / 2, q2y = p.Y2 + s2y / 2;
    double q3x = p.X3 + s3x / 2, q3y = p.Y3 + s3y / 2;
    std::int64_t c = color;
    sink.Line(q1x, q1y, q2x, q2y, color);
    sink.Line(q2x, q2y, q3x, q3y, color);
    canvas.SetDrawWidth(5);
    const int repeats = ToInt16(n - 2) + 1;
    for (int j = 0; j < repeats; ++j) {
        q1x += s1x; q1y += s1y;
        q2x += s2x; q2y += s2y;
        q3x += s3x; q3y += s3y;
        if (++c > INT32_MAX) Raise(ErrOverflow);
        sink.Line(q1x, q1y, q2x, q2y, static_cast<Rgb>(c));
        sink.Line(q2x, q2y, q3x, q3y, static_cast<Rgb>(c));
    }
}

void LayLadderRungs(LineSink& sink, const ShapeCorners& p, float n, Rgb color) {
    const float s1x = FiniteSingle((p.X4 - p.X1) / n), s1y = FiniteSingle((p.Y4 - p.Y1) / n);
    const float s2x = FiniteSingle((p.X3 - p.X2) / n), s2y = FiniteSingle((p.Y3 - p.Y2) / n);
    double ax = p.X1 + s1x / 2, ay = p.Y1 + s1y / 2;
    double bx = p.X2 + s2x / 2, by = p.Y2 + s2y / 2;
    sink.Line(ax, ay, bx, by, color);
    // The repeat count has always been 16 bits: a count beyond it ends after the first rung.
    const int repeats = ToInt16(n - 2) + 1;
    for (int j = 0; j < repeats; ++j) {
        ax += s1x; ay += s1y;
        bx += s2x; by += s2y;
        sink.Line(ax, ay, bx, by, color);
    }
}

// ---- Screen

void DrawRotatedEllipse(App& app, double cx, double cy, float a, float b, float rotation,
                        Rgb color) {
    try {
        ScreenSink sink(app);
        DrawRotatedEllipse(sink, cx, cy, a, b, rotation, color);
    } catch (const RuntimeError&) {
    }
}

namespace {

// 0.26 mm on the screen: close enough for the lines to read as a solid area at every zoom.
float ScreenBandSpacing(const App& app) {
    return static_cast<float>(0.26 * app.view.ScaleFactor / app.view.DisplayZoom);
}

}  // namespace

void RenderRecord(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& record = ShapeRecord(app, layer, slot);
        ScreenSink sink(app);
        sink.Canvas().SetDrawWidth(2);
        LayBandLines(sink, CornersOf(record), ScreenBandSpacing(app), record.RecordColor, 0);
        sink.Canvas().SetDrawWidth(1);
    } catch (const RuntimeError&) {
    }
}

void RenderRecord2(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& record = ShapeRecord(app, layer, slot);
        ScreenSink sink(app);
        sink.Canvas().SetDrawWidth(1);
        LayGridLines(sink, CornersOf(record), static_cast<float>(app.view.ScaleFactor),
                     record.RecordColor);
    } catch (const RuntimeError&) {
    }
}

void RenderRecord3(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& record = ShapeRecord(app, layer, slot);
        const ShapeCorners p = CornersOf(record);
        ScreenSink sink(app);
        Surface& canvas = sink.Canvas();
        canvas.SetDrawWidth(2);
        const float spacing = ScreenBandSpacing(app);
        const std::int32_t steps = BandStepCount(p, spacing);
        if (steps == 0) return;  // no lines, and no colour step to shade the caps by
        const Rgb c0 = record.RecordColor;
        const std::int32_t colorStep = ToInt32(Int(100.0 / steps + 1));
        const BandResult band = LayBandLines(sink, p, spacing, c0, colorStep);

        const float g = static_cast<float>(std::fabs(p.X4 - p.X1));
        const float h = static_cast<float>(std::fabs(p.Y4 - p.Y1));
        double aspect = 0.9;
        if (g == 0) aspect = 1.3;
        else if (h == 0) aspect = 0.6;
        else if (h / g < 0.3f) aspect = 0.6;
        else if (h / g > 3) aspect = 1.3;

        canvas.SetDrawWidth(1);
        canvas.SetFillStyle(FillStyleSolid);
        canvas.SetFillColor(c0 + 100);
        canvas.Circle((p.X2 + p.X3) / 2, (p.Y2 + p.Y3) / 2, static_cast<float>(Dist(p.X2, p.Y2, p.X3, p.Y3) / 2), c0,
                      false, 0, 0, aspect);
        canvas.SetFillStyle(FillStyleSolid);
        canvas.SetFillColor(band.colorAfter);
        canvas.SetDrawWidth(1);
        canvas.Circle(static_cast<float>((p.X1 + p.X4) / 2), static_cast<float>((p.Y1 + p.Y4) / 2),
                      static_cast<float>(Dist(p.X1, p.Y1, p.X4, p.Y4) / 2), c0, false, 0, 0, aspect);
        canvas.SetFillStyle(FillStyleTransparent);
        canvas.SetDrawWidth(1);
    } catch (const RuntimeError&) {
    }
}

void DrawStripShape(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        float n = 3;
        if (record.RecordZ4 > 0) {
            const float v = static_cast<float>(record.RecordZ4 * app.view.DisplayZoom /
                                               app.view.ScaleFactor);
            n = v > 32000 ? 32000 : v;
        }
        if (!(n > 0)) return;
        ScreenSink sink(app);
        LayFanStrip(sink, CornersOf(record), n, record.RecordColor);
    } catch (const RuntimeError&) {
    }
}

void DrawStripShape2(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        float n = 10;
        if (record.RecordZ4 > 0) {
            n = static_cast<float>(record.RecordZ4 / (app.view.DisplayZoom * app.view.ScaleFactor));
        }
        ScreenSink sink(app);
        Surface& canvas = sink.Canvas();
        canvas.SetDrawWidth(1);
        if (record.RecordPen == 0) canvas.SetDrawStyle(DrawStyleSolid);
        if (!(n > 0)) return;
        LayLadderRungs(sink, CornersOf(record), n, record.RecordColor);
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
