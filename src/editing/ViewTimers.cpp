#include "editing/ViewTimers.h"

#include <cmath>
#include <string>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/LineTypes.h"
#include "display/PointSymbols.h"
#include "display/Redraw.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The roaming view turns back this far beyond the drawing's extents.
constexpr double RoamingMargin = 20;

constexpr int DemoInterval = 30;
constexpr int LastDemoCode = 550;
constexpr int FirstLineTypeCode = 351;
constexpr int NoSymbolCode = 350;
constexpr float BounceFactor = -1.1f;
constexpr float FastestSpeed = 5;
constexpr int MarkerPaletteIndex = 151;
// The inner circle's colour: the marker's colour plus this, on the packed value.
constexpr int InnerColourOffset = 500;

}  // namespace

void RoamingTick(App& app) {
    if (!app.form1) return;
    app.platform.events().DoEvents();
    GuardSilently([&] {
        PictureBox& canvas = app.form1->Picture1;
        ToolState& tool = app.tool;
        const DrawingExtents& e = app.extents;
        const double left = canvas.ScaleLeft(), top = canvas.ScaleTop(), width = canvas.ScaleWidth();
        // An axis turns only while it drifts outwards: a window that starts beyond the band comes
        // back instead of turning at every tick. A window wider than the band has both edges
        // beyond it: it turns when its trailing edge reaches the band, so the drawing sweeps from
        // one side of the window to the other instead of the view trembling on the spot.
        const double driftX = tool.PanGrab.x - tool.RubberPoint.x;
        const bool rightBeyond = left + width > e.ExtentMaxX + RoamingMargin;
        const bool leftBeyond = left < e.ExtentMinX - RoamingMargin;
        if ((rightBeyond && !leftBeyond && driftX > 0) || (leftBeyond && !rightBeyond && driftX < 0)) {
            tool.RubberPoint.x = -tool.RubberPoint.x;
            tool.PanGrab.x = -tool.PanGrab.x;
        }
        const double driftY = tool.PanGrab.y - tool.RubberPoint.y;
        if ((top > e.ExtentMaxY + RoamingMargin && driftY > 0) ||
            (top - RoamingMargin < e.ExtentMinY && driftY < 0)) {
            tool.RubberPoint.y = -tool.RubberPoint.y;
            tool.PanGrab.y = -tool.PanGrab.y;
        }
        canvas.SetScale(static_cast<float>(left + tool.PanGrab.x - tool.RubberPoint.x),
                        static_cast<float>(top + tool.PanGrab.y - tool.RubberPoint.y), canvas.ScaleWidth(),
                        canvas.ScaleHeight());
        刷新(app);
    });
}

void StartDemoMarker(App& app) {
    if (!app.form1) return;
    DemoMarkerState& m = app.tool.DemoMarker;
    const PictureBox& canvas = app.form1->Picture1;
    m.SpeedX1 = 1.0f;
    m.SpeedX2 = 1.5f;
    m.SpeedY1 = -1.0f;
    m.SpeedY2 = -1.5f;
    m.OuterRadius = static_cast<float>(0.5 * app.view.GroundPerScreenMm);
    m.InnerRadius = 0.75f * m.OuterRadius;
    m.Colour = app.tables.ColorPalette[MarkerPaletteIndex];
    app.display.MarkerX = static_cast<float>(canvas.ScaleLeft() + 0.45 * canvas.ScaleWidth());
    app.display.MarkerY = static_cast<float>(canvas.ScaleTop() + 0.07 * canvas.ScaleHeight());
    // The first tick erases the marker where it starts: it must be there.
    DrawAnimatedMarker(app, app.display.MarkerX, app.display.MarkerY);
    app.form1->Timer3.SetInterval(DemoInterval);
    app.form1->Timer3.SetEnabled(true);
}

void DrawAnimatedMarker(App& app, float& x, float& y) {
    if (!app.form1) return;
    Surface& s = app.form1->Picture1.surface();
    const int mode = s.DrawMode();
    GuardSilently([&] {
        s.SetDrawMode(DrawModeNotXorPen);
        const DemoMarkerState& m = app.tool.DemoMarker;
        const int code = app.display.MarkerCode;
        if (app.symbolStandard.SymbolStandardLoaded == -1) {
            if (code >= 0 && code < NoSymbolCode)
                DrawPointSymbol(app, x, y, PlainNumberText(static_cast<std::int32_t>(code)), 0, 1,
                                app.current.CurrentColor);
            else if (code >= FirstLineTypeCode)
                // The line-type drawer's marker sample: 20 m of the code's line type east of the
                // marker, which is this marker.
                DrawRecordSegmentLineType(app, 0, 0, 1);
        } else {
            s.SetFillStyle(FillStyleSolid);
            s.SetFillColor(m.Colour);
            s.Circle(x, y, m.OuterRadius, m.Colour);
            s.SetFillColor(PackedColorSum(m.Colour, InnerColourOffset));
            s.Circle(x, y, m.InnerRadius, m.Colour);
            s.SetFillStyle(FillStyleTransparent);
        }
    });
    s.SetDrawMode(mode);
}

void DemoMarkerTick(App& app, const RandomSource& random) {
    if (!app.form1) return;
    app.platform.events().DoEvents();
    const bool finished = GuardSilently([&] {
        DemoMarkerState& m = app.tool.DemoMarker;
        float& x = app.display.MarkerX;
        float& y = app.display.MarkerY;
        std::int16_t& code = app.display.MarkerCode;
        const PictureBox& canvas = app.form1->Picture1;
        const double left = canvas.ScaleLeft(), top = canvas.ScaleTop();
        const double width = canvas.ScaleWidth(), height = canvas.ScaleHeight();
        auto draw = [] (double v) { return static_cast<float>(v); };
        auto nextSymbol = [&] {
            m.OuterRadius = draw(random() * 5 * app.view.GroundPerScreenMm);
            m.InnerRadius = 0.7f * m.OuterRadius;
            code = static_cast<std::int16_t>(code + 1 > LastDemoCode ? 0 : code + 1);
            app.form1->Text2.SetText(PlainNumberText(static_cast<std::int32_t>(code)));
        };
        // Too fast after many bounces: start afresh with random speeds from near the top.
        auto restartWhenTooFast = [&](double acrossWidth, double downHeight) {
            if (std::fabs(m.SpeedY2) <= FastestSpeed && std::fabs(m.SpeedX2) <= FastestSpeed) return;
            m.SpeedX1 = draw(random());
            m.SpeedX2 = draw(random());
            m.SpeedY1 = draw(random());
            m.SpeedY2 = draw(random());
            y = draw(top + downHeight * height);
            x = draw(left + acrossWidth * width);
        };

        DrawAnimatedMarker(app, x, y);
        if (x > left + width || x < left) {
            m.SpeedX1 *= BounceFactor;
            m.SpeedX2 *= BounceFactor;
            nextSymbol();
            restartWhenTooFast(0.42, 0.07);
        }
        if (y > top || y < top + height) {
            m.SpeedY1 *= BounceFactor;
            m.SpeedY2 *= BounceFactor;
            nextSymbol();
            restartWhenTooFast(0.46, 0.06);
        }
        y = y + m.SpeedY2 - m.SpeedY1;
        x = x + m.SpeedX2 - m.SpeedX1;
        DrawAnimatedMarker(app, x, y);
    });
    if (!finished) app.display.MarkerCode = 0;
}

}  // namespace movra
