#include "display/LineSink.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "display/PointSymbols.h"
#include "shell/stForm1.h"

namespace movra {

Surface& MainCanvas(App& app) {
    if (app.display.Redraw.CanvasRedirect != nullptr) return *app.display.Redraw.CanvasRedirect;
    return app.form1->Picture1.surface();
}

void ClearMainCanvas(App& app, Surface& canvas) {
    canvas.Refresh();
    canvas.Cls();
    app.tool.SnapBoxDrawn = 0;
}

void ReportOnMessageLine(App& app, const RuntimeError& error) {
    app.form1->Text2.SetText(MessageLineText(error));
}

bool SegmentPartInside(const LineSink::Area& a, double margin, double x1, double y1, double x2, double y2,
                       double& t0, double& t1) {
    // Liang-Barsky: each side of the area cuts the segment's parameter range.
    t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - (a.minX - margin), (a.maxX + margin) - x1, y1 - (a.minY - margin),
                         (a.maxY + margin) - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

ScreenSink::ScreenSink(App& app) : app_(app), canvas_(MainCanvas(app)) {}

// The canvas takes its coordinates in single precision, as it always has.
void ScreenSink::Line(double x1, double y1, double x2, double y2, Rgb color) {
    canvas_.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                 static_cast<float>(y2), color);
}

std::optional<LineSink::Area> ScreenSink::Visible() const {
    const double x1 = canvas_.ScaleLeft(), x2 = x1 + canvas_.ScaleWidth();
    const double y1 = canvas_.ScaleTop(), y2 = y1 + canvas_.ScaleHeight();
    if (!(x1 != x2 && y1 != y2) || !std::isfinite(x2) || !std::isfinite(y2)) return std::nullopt;
    return Area{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void ScreenSink::Dot(double x, double y, Rgb color) {
    canvas_.PSet(static_cast<float>(x), static_cast<float>(y), color);
}

void ScreenSink::Symbol(double x, double y, const std::string& code, double dx, double dy,
                        Rgb color) {
    DrawPointSymbol(app_, x, y, code, dx, dy, color);
}

}  // namespace movra
