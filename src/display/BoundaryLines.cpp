#include "display/BoundaryLines.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "platform/Surface.h"

namespace movra {

namespace {

struct TickRule {
    double spacingMm;
    double tickMm;
};

TickRule RuleOf(TickLineKind kind) {
    switch (kind) {
        case TickLineKind::Wall: return {10, 1};
        case TickLineKind::Bank: return {2, 1};
        case TickLineKind::FixedBank: return {4, 2};
    }
    return {2, 1};
}

// The tick counter of these lines has always been 16 bits: a segment of this many spacings or
// more ends after its first tick instead of drawing tens of thousands of ticks.
constexpr double TickCountLimit = 32770;

float ToSingle(double value) {
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) Raise(ErrOverflow);
    return static_cast<float>(value);
}

}  // namespace

void DrawTickLine(LineSink& sink, TickLineKind kind, double x1, double y1, double x2, double y2,
                  Rgb color, double sizeFactor) {
    Surface& canvas = sink.Canvas();
    if (kind == TickLineKind::Wall) {
        canvas.SetDrawWidth(3);
    } else {
        canvas.SetDrawWidth(1);
        canvas.SetDrawStyle(DrawStyleSolid);
    }
    sink.Line(x1, y1, x2, y2, color);
    if (kind == TickLineKind::Wall) canvas.SetDrawWidth(4);

    const TickRule rule = RuleOf(kind);
    const double spacing = rule.spacingMm * sizeFactor;
    const double length = std::hypot(x2 - x1, y2 - y1);
    // Without a length or a spacing there is no direction to put ticks on, and no end to reach.
    if (!(length > 0) || !(spacing > 0) || !std::isfinite(length) || !std::isfinite(spacing)) return;

    const double sx = (x2 - x1) * spacing / length;
    const double sy = (y2 - y1) * spacing / length;
    const double tickScale = rule.tickMm / rule.spacingMm;
    const double tx = sy * tickScale;
    const double ty = -sx * tickScale;

    if (kind == TickLineKind::Wall && length < spacing) {
        const double mx = (x1 + x2) / 2;
        const double my = (y1 + y2) / 2;
        sink.Line(mx, my, mx + (y2 - y1) / length * sizeFactor,
                  my - (x2 - x1) / length * sizeFactor, color);
        return;
    }

    const double count = Int(length / spacing);
    const bool dots = kind == TickLineKind::FixedBank;
    double px = x1 + sx / 2;
    double py = y1 + sy / 2;
    double dotX = x1 + sy / 4;
    double dotY = y1 - sx / 4;
    auto tick = [&] {
        sink.Line(px, py, px + tx, py + ty, color);
        if (dots) sink.Dot(dotX, dotY, color);
    };
    auto advance = [&] {
        px += sx;
        py += sy;
        dotX += sx;
        dotY += sy;
    };

    tick();
    if (count >= TickCountLimit) return;
    for (double k = 1; k <= count - 1; ++k) {
        advance();
        tick();
    }
    advance();
    if (std::fabs(px - x1) <= std::fabs(x2 - x1) && std::fabs(py - y1) <= std::fabs(y2 - y1)) tick();
}

void DrawDashedWidthLine(LineSink& sink, DashState& state, double x1, double y1, double x2,
                         double y2, float width, float dash, float gap, Rgb color,
                         double sizeFactor) {
    Surface& canvas = sink.Canvas();
    // Tenths of a millimetre, the fraction dropped; a width under 0.1 mm still draws a line.
    const double tenths = Int(static_cast<double>(width) * 10);
    if (!(tenths <= 32767)) Raise(ErrOverflow);
    canvas.SetDrawWidth(tenths < 1 ? 1 : static_cast<int>(tenths));
    canvas.SetDrawStyle(DrawStyleDash);

    const double length = std::hypot(x2 - x1, y2 - y1);
    if (length == 0) return;

    const float dashLength = ToSingle(dash * sizeFactor);
    const float gapLength = ToSingle(gap * sizeFactor);
    const float period = dashLength + gapLength;
    const float ux = static_cast<float>((x2 - x1) / length);
    const float uy = static_cast<float>((y2 - y1) / length);

    const bool continues = x1 == state.DashLastX && y1 == state.DashLastY && state.DashCarry > 0;
    state.DashLastX = x2;
    state.DashLastY = y2;

    double px = x1;
    double py = y1;
    if (!continues) {
        state.DashCarry = 0;
    } else {
        // What is left of the current period: a rest of gap, or a rest of dash and the whole gap.
        const double carry = state.DashCarry;
        if (carry <= gapLength) {
            if (!(length > carry)) {
                state.DashCarry = carry - length;
                return;
            }
        } else {
            const double restOfDash = carry - gapLength;
            if (length < restOfDash) {
                sink.Line(x1, y1, x2, y2, color);
                state.DashCarry = carry - length;
                return;
            }
            sink.Line(x1, y1, x1 + restOfDash * ux, y1 + restOfDash * uy, color);
            if (restOfDash < length && length <= carry) {
                state.DashCarry = carry - length;
                return;
            }
        }
        px = x1 + carry * ux;
        py = y1 + carry * uy;
    }

    const double carry = state.DashCarry;
    const double periods = (length - carry) / period;
    // The count of whole periods has always been 16 bits; a period of 0 cannot be counted.
    if (!(Int(periods) <= 32767)) Raise(ErrOverflow);
    const int whole = static_cast<int>(Int(periods));
    for (int i = 0; i < whole; ++i) {
        sink.Line(px, py, px + dashLength * ux, py + dashLength * uy, color);
        px += period * ux;
        py += period * uy;
    }
    if (std::fabs(x2 - px) <= std::fabs(dashLength * ux) && std::fabs(y2 - py) <= std::fabs(dashLength * uy)) {
        sink.Line(px, py, x2, y2, color);
    } else {
        sink.Line(px, py, px + dashLength * ux, py + dashLength * uy, color);
    }
    state.DashCarry = (Int(periods) + 1 - periods) * period;
}

void DrawLandUseMark(LineSink& sink, int mark, double x, double y, Rgb color, double unit) {
    const double s = unit;
    // In double precision: at survey coordinates single-precision ends step by a quarter metre,
    // which bends a mark of a few millimetres out of shape.
    auto line = [&](double ax, double ay, double bx, double by) { sink.Line(ax, ay, bx, by, color); };
    switch (mark) {
        case 1:
            line(x, y, x, y + 3 * s);
            line(x, y, x - 0.5 * s, y + s);
            line(x, y, x + 0.5 * s, y + s);
            break;
        case 2:
            line(x, y, x - 1.5 * s, y + 1.4 * s);
            line(x, y, x + 1.5 * s, y + 1.4 * s);
            break;
        case 3:
            line(x - s, y, x + s, y);
            line(x - 0.5 * s, y, x - 0.5 * s, y + s);
            line(x + 0.5 * s, y, x + 0.5 * s, y + s);
            break;
        case 4:
            line(x - 0.5 * s, y, x - 0.5 * s, y + 2 * s);
            line(x + 0.5 * s, y, x + 0.5 * s, y + 2 * s);
            break;
        default: break;
    }
}

// ---- Screen

namespace {

void DrawScreenTickLine(App& app, TickLineKind kind, double x1, double y1, double x2, double y2,
                        Rgb color) {
    try {
        ScreenSink sink(app);
        DrawTickLine(sink, kind, x1, y1, x2, y2, color, app.view.ScaleFactor);
    } catch (const RuntimeError&) {
    }
}

enum class EdgeForm { Solid, Dotted, Dashed };

void DrawScreenHandledSegment(App& app, EdgeForm form, double x1, double y1, double x2, double y2,
                              Rgb color) {
    try {
        ScreenSink sink(app);
        Surface& canvas = sink.Canvas();
        switch (form) {
            case EdgeForm::Solid: canvas.SetDrawWidth(2); break;
            case EdgeForm::Dotted: canvas.SetDrawWidth(1); canvas.SetDrawStyle(DrawStyleDot); break;
            case EdgeForm::Dashed: canvas.SetDrawWidth(1); canvas.SetDrawStyle(DrawStyleDash); break;
        }
        sink.Line(x1, y1, x2, y2, color);
        canvas.SetFillStyle(app.view.BoundaryPointsTransparent);
        canvas.SetFillColor(canvas.BackColor());
        if (form == EdgeForm::Solid) {
            canvas.SetDrawWidth(1);
            canvas.SetDrawStyle(DrawStyleSolid);
        }
        const float radius = static_cast<float>(app.view.PointMarkRadius);
        for (auto [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
            canvas.Circle(x, y, radius, color);
            sink.Dot(x, y, color);
        }
    } catch (const RuntimeError&) {
    }
}

void DrawScreenMark(App& app, int mark, float x, float y) {
    ScreenSink sink(app);
    sink.Canvas().SetDrawWidth(1);
    DrawLandUseMark(sink, mark, x, y, app.current.CurrentColor, app.view.ScaleFactor);
}

}  // namespace

void DrawSpecialPattern(App& app, double x1, double y1, double x2, double y2, Rgb color,
                        const std::string& code, double width, double dash, double gap) {
    try {
        ScreenSink sink(app);
        const double scale = app.view.ScaleFactor;
        if (code == FixedBankLineCode) {
            DrawTickLine(sink, TickLineKind::FixedBank, x1, y1, x2, y2, color, scale);
        } else if (code == BankLineCode) {
            DrawTickLine(sink, TickLineKind::Bank, x1, y1, x2, y2, color, scale);
        } else if (code == DashedWidthLineCode) {
            DrawDashedWidthLine(sink, app.display.Dash, x1, y1, x2, y2, ToSingle(width),
                                ToSingle(dash), ToSingle(gap), color, scale);
        } else if (code == WallLineCode) {
            DrawTickLine(sink, TickLineKind::Wall, x1, y1, x2, y2, color, scale);
        }
    } catch (const RuntimeError& error) {
        ReportOnMessageLine(app, error);
    }
}

void DrawWallLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    DrawScreenTickLine(app, TickLineKind::Wall, x1, y1, x2, y2, color);
}

void DrawBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    DrawScreenTickLine(app, TickLineKind::Bank, x1, y1, x2, y2, color);
}

void DrawFixedBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    DrawScreenTickLine(app, TickLineKind::FixedBank, x1, y1, x2, y2, color);
}

void DrawDashedWidthLine(App& app, double x1, double y1, double x2, double y2, float width,
                         float dash, float gap, Rgb color) {
    try {
        ScreenSink sink(app);
        DrawDashedWidthLine(sink, app.display.Dash, x1, y1, x2, y2, width, dash, gap, color,
                            app.view.ScaleFactor);
    } catch (const RuntimeError&) {
    }
}

void DrawLandUseMark1(App& app, float x, float y) { DrawScreenMark(app, 1, x, y); }
void DrawLandUseMark2(App& app, float x, float y) { DrawScreenMark(app, 2, x, y); }
void DrawLandUseMark3(App& app, float x, float y) { DrawScreenMark(app, 3, x, y); }
void DrawLandUseMark4(App& app, float x, float y) { DrawScreenMark(app, 4, x, y); }

void DrawHandledSegment(App& app, double x1, double y1, double, double x2, double y2, double,
                        Rgb color) {
    DrawScreenHandledSegment(app, EdgeForm::Solid, x1, y1, x2, y2, color);
}

void DrawHandledSegmentDotted(App& app, double x1, double y1, double, double x2, double y2,
                              double, Rgb color) {
    DrawScreenHandledSegment(app, EdgeForm::Dotted, x1, y1, x2, y2, color);
}

void DrawHandledSegmentDashed(App& app, double x1, double y1, double, double x2, double y2,
                              double, Rgb color) {
    DrawScreenHandledSegment(app, EdgeForm::Dashed, x1, y1, x2, y2, color);
}

}  // namespace movra
