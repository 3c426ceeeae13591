#include "display/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

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

namespace {

using Area = LineSink::Area;

bool Inside(const Area& a, double x, double y) { return x >= a.minX && x <= a.maxX && y >= a.minY && y <= a.maxY; }

// The part of the segment inside the area; false when none is.
bool ClipToArea(const Area& a, double& x1, double& y1, double& x2, double& y2) {
    double t0 = 0, t1 = 1;
    if (!SegmentPartInside(a, 0, x1, y1, x2, y2, t0, t1)) return false;
    const double dx = x2 - x1, dy = y2 - y1;
    const double sx = x1, sy = y1;
    x1 = sx + t0 * dx, y1 = sy + t0 * dy;
    x2 = sx + t1 * dx, y2 = sy + t1 * dy;
    return true;
}

double DistanceToSegment(double px, double py, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

// The band lines of a figure that reaches beyond what the sink shows. Line k runs from
// P1 + k·e to P2 + k·step; a stretch of lines whose four end points lie off one side of the
// visible area is passed over whole, and where two lines lie within one spacing of each other
// inside the area, the lines between them would only cover what they cover already. So the work
// follows what is visible, not the figure's size: a vertex 1e7 m away costs no more than the
// lines on the screen.
class VisibleBand {
public:
    VisibleBand(LineSink& sink, const ShapeCorners& p, const Area& area, double n, double spacing, Rgb color,
                std::int32_t colorStep)
        : sink_(sink), p_(p), area_(area), n_(n), spacing_(spacing), color_(color), colorStep_(colorStep) {
        // As the whole band steps: one spacing along the longer axis of P2-P3 a line.
        ex_ = (p.X4 - p.X1) / n;
        ey_ = (p.Y4 - p.Y1) / n;
        const double dx = p.X3 - p.X2, dy = p.Y3 - p.Y2;
        if (std::fabs(dx) > std::fabs(dy)) {
            sx_ = Sgn(dx) * spacing;
            sy_ = dy / n;
        } else {
            sy_ = Sgn(dy) * spacing;
            sx_ = dx / n;
        }
    }

    // Lines first..last (0 based), both drawn when visible.
    void Lay(double first, double last) {
        Span(first, last);
        DrawLine(last);
    }

private:
    double Ax(double k) const { return p_.X1 + (k + 1) * ex_; }
    double Ay(double k) const { return p_.Y1 + (k + 1) * ey_; }
    double Bx(double k) const { return p_.X2 + (k + 1) * sx_; }
    double By(double k) const { return p_.Y2 + (k + 1) * sy_; }

    // Draws lines first..last - 1.
    void Span(double first, double last) {
        if (last <= first) return;
        const double xs[4] = {Ax(first), Bx(first), Ax(last), Bx(last)};
        const double ys[4] = {Ay(first), By(first), Ay(last), By(last)};
        // The lines between lie in the hull of the two lines' end points.
        if (*std::max_element(xs, xs + 4) < area_.minX || *std::min_element(xs, xs + 4) > area_.maxX ||
            *std::max_element(ys, ys + 4) < area_.minY || *std::min_element(ys, ys + 4) > area_.maxY)
            return;
        if (last - first <= 1 || CloseInside(first, last)) {
            DrawLine(first);
            return;
        }
        const double middle = std::floor((first + last) / 2);
        Span(first, middle);
        Span(middle, last);
    }

    // Whether lines first and last lie within one spacing of each other wherever either is seen.
    bool CloseInside(double first, double last) const {
        double a[4] = {Ax(first), Ay(first), Bx(first), By(first)};
        double b[4] = {Ax(last), Ay(last), Bx(last), By(last)};
        const double ua[4] = {a[0], a[1], a[2], a[3]};
        const double ub[4] = {b[0], b[1], b[2], b[3]};
        const bool seenA = ClipToArea(area_, a[0], a[1], a[2], a[3]);
        const bool seenB = ClipToArea(area_, b[0], b[1], b[2], b[3]);
        if (!seenA || !seenB) return false;
        for (int end = 0; end < 4; end += 2) {
            if (DistanceToSegment(a[end], a[end + 1], ub[0], ub[1], ub[2], ub[3]) > spacing_) return false;
            if (DistanceToSegment(b[end], b[end + 1], ua[0], ua[1], ua[2], ua[3]) > spacing_) return false;
        }
        return true;
    }

    void DrawLine(double k) {
        if (k < 0 || k >= n_) return;
        double x1 = Ax(k), y1 = Ay(k), x2 = Bx(k), y2 = By(k);
        if (!ClipToArea(area_, x1, y1, x2, y2)) return;
        const double c = static_cast<double>(color_) + k * colorStep_;
        sink_.Line(x1, y1, x2, y2, static_cast<Rgb>(c));
    }

    LineSink& sink_;
    const ShapeCorners& p_;
    Area area_;
    double n_, spacing_;
    Rgb color_;
    std::int32_t colorStep_;
    double ex_ = 0, ey_ = 0, sx_ = 0, sy_ = 0;
};

// Whether the whole figure lies within the area: then every line is seen and laid as it always was.
bool FigureInside(const ShapeCorners& p, const Area& a) {
    return Inside(a, p.X1, p.Y1) && Inside(a, p.X2, p.Y2) && Inside(a, p.X3, p.Y3) && Inside(a, p.X4, p.Y4);
}

}  // namespace

BandResult LayBandLines(LineSink& sink, const ShapeCorners& p, float spacing, Rgb color,
                        std::int32_t colorStep) {
    const std::optional<Area> visible = sink.Visible();
    if (visible && !FigureInside(p, *visible)) {
        // A figure reaching beyond the area: the lines seen, however many the whole band holds.
        BandResult result;
        result.colorAfter = color;
        const double along = std::max(std::fabs(p.X3 - p.X2), std::fabs(p.Y3 - p.Y2));
        const double n = spacing > 0 ? std::floor(along / spacing) : 0;
        if (!(n >= 1) || !std::isfinite(n)) return result;
        const double after = static_cast<double>(color) + n * colorStep;
        if (after > INT32_MAX || after < INT32_MIN) Raise(ErrOverflow);
        result.drawn = true;
        result.steps = n > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(n);
        result.colorAfter = static_cast<Rgb>(after);
        VisibleBand(sink, p, *visible, n, spacing, color, colorStep).Lay(0, n - 1);
        return result;
    }
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
    Surface& canvas = sink.Canvas();
    ForEachGridLine(p, spacing, sink.Visible(), [&](int k, double x1, double y1, double x2, double y2) {
        const bool tenth = k % 10 == 0;
        if (tenth) canvas.SetDrawWidth(2);
        sink.Line(x1, y1, x2, y2, color);
        if (tenth) canvas.SetDrawWidth(1);
    });
}

void ForEachGridLine(const ShapeCorners& p, float spacing, const std::optional<LineSink::Area>& visible,
                     const std::function<void(int k, double x1, double y1, double x2, double y2)>& line) {
    if (!(spacing > 0) || !std::isfinite(spacing)) return;
    // The lines of each family that can be seen: a shift d moves a line across the area only
    // within [low, high]; a sheet reaching far off the canvas costs what the canvas shows.
    const double step = spacing;
    double firstRow = 1, lastRow = std::floor((p.Y1 - p.Y4) / step);
    double firstColumn = 1, lastColumn = std::floor((p.X2 - p.X1) / step);
    if (const std::optional<LineSink::Area>& a = visible) {
        if (std::max(p.X1, p.X2) < a->minX || std::min(p.X1, p.X2) > a->maxX) lastRow = 0;
        firstRow = std::max(firstRow, std::ceil((std::min(p.Y1, p.Y2) - a->maxY) / step));
        lastRow = std::min(lastRow, std::floor((std::max(p.Y1, p.Y2) - a->minY) / step));
        if (std::max(p.Y1, p.Y4) < a->minY || std::min(p.Y1, p.Y4) > a->maxY) lastColumn = 0;
        firstColumn = std::max(firstColumn, std::ceil((a->minX - std::max(p.X1, p.X4)) / step));
        lastColumn = std::min(lastColumn, std::floor((a->maxX - std::min(p.X1, p.X4)) / step));
    }
    for (double k = firstRow; k <= lastRow; ++k) {
        const double d = k * step;
        if (!(p.Y1 - d > p.Y4)) break;
        line(static_cast<int>(std::fmod(k, 10)), p.X1, p.Y1 - d, p.X2, p.Y2 - d);
    }
    for (double k = firstColumn; k <= lastColumn; ++k) {
        const double d = k * step;
        if (!(p.X1 + d < p.X2)) break;
        line(static_cast<int>(std::fmod(k, 10)), p.X1 + d, p.Y1, p.X4 + d, p.Y4);
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
