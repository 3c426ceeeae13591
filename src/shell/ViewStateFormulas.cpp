#include "shell/ViewStateFormulas.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/Redraw.h"
#include "display/TextRendering.h"
#include "platform/Platform.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr const char* ScaleBoxPrefix = "比例尺Ⅰ：";
// The canvas ends this far from the inner area's right and bottom edges.
constexpr double CanvasMargin = 60;

int RoundHalfEven(double x) {
    double r = std::nearbyint(x);  // the default rounding mode rounds halves to even
    if (!(std::abs(r) < 2147483647.0)) Raise(ErrOverflow);
    return static_cast<int>(r);
}
}  // namespace

void Text4_Click(App& app) {
    stForm1* form = app.form1;
    if (!form) return;
    try {
        PictureBox& canvas = form->Picture1;
        auto& view = app.view;
        if (canvas.Width() == 0) Raise(ErrDivisionByZero);
        const double d = app.work.ScreenTwipsPerMetre * canvas.ScaleWidth() / canvas.Width();
        view.DisplayScaleDenominator = d;
        form->Text4.SetText(ScaleBoxPrefix + ScaleDenominatorText(d));
        if (d == 0) Raise(ErrDivisionByZero);
        const double z = view.ProjectParams[0] / d;
        view.DisplayZoom = z;
        if (z == 0) Raise(ErrDivisionByZero);
        view.DisplayZoomInverse = 1 / z;
        view.GroundPerScreenMm = view.ScaleFactor * view.DisplayZoomInverse;
        // A text height now needs another canvas font size: the next text sets it again.
        ForgetCanvasFontSize(app);
        form->Text4.SetText(ScaleBoxPrefix + ScaleDenominatorText(d));
    } catch (...) {
    }
}

ScrollSteps HorizontalScrollSteps(double displayZoomInverse) {
    if (displayZoomInverse > 10) return {3, 1};
    return {RoundHalfEven(displayZoomInverse * 30), RoundHalfEven(displayZoomInverse * 10)};
}

ScrollSteps VerticalScrollSteps(double displayZoom, double displayZoomInverse) {
    if (displayZoomInverse > 10) return {5, 1};
    return {RoundHalfEven(displayZoom * 20), RoundHalfEven(displayZoom * 5)};
}

void VScroll1_Change(App& app) {
    stForm1* form = app.form1;
    if (!form) return;
    try {
        ScrollBar& bar = form->VScroll1;
        if (bar.Value() == 0) return;
        // The upper end stands for 250: moving the thumb up moves the view north.
        bar.SetMax(-250);
        bar.SetMin(250);
        ScrollSteps steps = VerticalScrollSteps(app.view.DisplayZoom, app.view.DisplayZoomInverse);
        bar.SetLargeChange(std::max(1, steps.large));
        bar.SetSmallChange(std::max(1, steps.small));
        const int v = bar.Value();
        PictureBox& canvas = form->Picture1;
        canvas.SetScaleTop(canvas.ScaleTop() + v - app.settings.ScrollLastValue);
        app.settings.ScrollLastValue = static_cast<std::int16_t>(v);
        刷新(app);
    } catch (...) {
    }
}

void HScroll1_Change(App& app) {
    stForm1* form = app.form1;
    if (!form) return;
    try {
        ScrollBar& bar = form->HScroll1;
        if (bar.Value() == 0) return;
        // The value decreases towards the right end.
        bar.SetMax(-250);
        bar.SetMin(250);
        ScrollSteps steps = HorizontalScrollSteps(app.view.DisplayZoomInverse);
        // A step of 0 would make the bar's arrows dead; one unit is the least that moves.
        bar.SetLargeChange(std::max(1, steps.large));
        bar.SetSmallChange(std::max(1, steps.small));
        const int v = bar.Value();
        PictureBox& canvas = form->Picture1;
        canvas.SetScaleLeft(canvas.ScaleLeft() + v - app.settings.ScrollPrevious);
        app.settings.ScrollPrevious = static_cast<std::int16_t>(v);
        刷新(app);
    } catch (...) {
    }
}

void LayoutCanvasAndScrollBars(App& app, double clientWidth, double clientHeight) {
    stForm1* form = app.form1;
    if (!form) return;
    PictureBox& canvas = form->Picture1;
    ScrollBar& vbar = form->VScroll1;
    ScrollBar& hbar = form->HScroll1;
    // Each step on its own: a minimised window gives sizes that fail, and the rest still runs.
    // The canvas fills the inner area right of and below its fixed corner, leaving room for the
    // vertical bar, so that nothing runs past the window's edge at any size.
    // Whole pixels, so that the scale shown follows the canvas's pixels exactly.
    try {
        const double twipsX = std::max(1, app.platform.screen().TwipsPerPixelX());
        const double twipsY = std::max(1, app.platform.screen().TwipsPerPixelY());
        const double width = std::max(0.0, clientWidth - canvas.Left() - vbar.Width() - CanvasMargin);
        const double height = std::max(0.0, clientHeight - canvas.Top() - CanvasMargin);
        canvas.Move(canvas.Left(), canvas.Top(), std::floor(width / twipsX) * twipsX, std::floor(height / twipsY) * twipsY);
    } catch (...) {
    }
    try {
        vbar.Move(canvas.Left() + canvas.Width(), canvas.Top(), vbar.Width(),
                  std::max(0.0, canvas.Height() - hbar.Height()));
        vbar.SetValue(0);
    } catch (...) {
    }
    try {
        hbar.Move(canvas.Left(), vbar.Top() + vbar.Height(), canvas.Width(), hbar.Height());
        hbar.SetValue(0);
    } catch (...) {
    }
}

void KeepCanvasScale(App& app, int oldPixelWidth, int newPixelWidth, int newPixelHeight) {
    stForm1* form = app.form1;
    if (!form || oldPixelWidth <= 0 || newPixelWidth <= 0 || newPixelHeight <= 0) return;
    PictureBox& canvas = form->Picture1;
    const double width = canvas.ScaleWidth(), height = canvas.ScaleHeight();
    if (!(width != 0) || !(height != 0) || !std::isfinite(width) || !std::isfinite(height)) return;
    // The ground length of one pixel stays what it was across; down it becomes the same, so a
    // metre is as many pixels across as down. The window grows or shrinks about its centre.
    const double perPixel = std::abs(width) / oldPixelWidth;
    const double centreX = canvas.ScaleLeft() + width / 2;
    const double centreY = canvas.ScaleTop() + height / 2;
    const double newWidth = std::copysign(perPixel * newPixelWidth, width);
    const double newHeight = std::copysign(perPixel * newPixelHeight, height);
    canvas.SetScale(centreX - newWidth / 2, centreY - newHeight / 2, newWidth, newHeight);
}

void CanvasResized(App& app, int& lastPixelWidth, int& lastPixelHeight) {
    stForm1* form = app.form1;
    if (!form) return;
    const Surface& surface = form->Picture1.surface();
    const int width = surface.PixelWidth(), height = surface.PixelHeight();
    if (width == lastPixelWidth && height == lastPixelHeight) return;
    GuardSilently([&] { KeepCanvasScale(app, lastPixelWidth, width, height); });
    lastPixelWidth = width;
    lastPixelHeight = height;
    // Before start-up there is no map to draw; start-up computes the view itself.
    if (!form->Loaded()) return;
    GuardSilently([&] {
        Text4_Click(app);
        刷新(app);
    });
}

}  // namespace movra
