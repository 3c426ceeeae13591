#include <deque>

#include "CanvasFixture.h"
#include "basic/Colors.h"
#include "editing/ViewTimers.h"
#include "support/PictureTestHelpers.h"

namespace movra {
namespace {

using ViewTimersTest = CanvasTest;

// Ticks of the roaming view: the window's left edge after each.
std::vector<double> RoamingLefts(stForm1& form, int ticks) {
    std::vector<double> lefts;
    for (int k = 0; k < ticks; ++k) {
        form.Timer2_Timer();
        lefts.push_back(form.Picture1.ScaleLeft());
    }
    return lefts;
}

TEST_F(ViewTimersTest, ThePanDriftsOnAndTurnsBack20MetresBeyondTheDrawing) {
    app.extents = {0, 0, 1100, 1000};
    app.settings.FollowPan = -1;
    app.tool.CommandMode = ModePan;
    app.tool.SnapOn = 0;
    Press(500, 500);
    Drag(490, 500);  // the window goes 10 m east
    Release(490, 500);
    ASSERT_EQ(form.Picture1.ScaleLeft(), 10);
    ASSERT_TRUE(form.Timer2.Enabled());
    EXPECT_EQ(form.Timer2.Interval(), 50);
    // The platform's timer drives the tick.
    EXPECT_GE(t.platform.manualTimers.FireAll(), 1);
    EXPECT_EQ(form.Picture1.ScaleLeft(), 20);

    // East until the right edge is beyond 1120, then west until the left edge is before -20.
    const std::vector<double> lefts = RoamingLefts(form, 30);
    std::vector<double> expected;
    double left = 20, step = 10;
    for (int k = 0; k < 30; ++k) {
        if ((left + 1000 > 1120 && step > 0) || (left < -20 && step < 0)) step = -step;
        left += step;
        expected.push_back(left);
    }
    EXPECT_EQ(lefts, expected);
    EXPECT_EQ(*std::max_element(lefts.begin(), lefts.end()), 130);
    EXPECT_EQ(form.Picture1.ScaleTop(), 1000);  // no drift north or south

    // A pan press stops it.
    Press(500, 500);
    EXPECT_FALSE(form.Timer2.Enabled());
}

TEST_F(ViewTimersTest, AWindowThatStartsOutsideTheBandDriftsBackInsteadOfTrembling) {
    app.extents = {0, 0, 1000, 1000};
    ShowWindow(2000, 3000, 1000, -750);
    app.tool.PanGrab = {500, 250};
    app.tool.RubberPoint = {490, 240};  // 10 m east and 10 m north a tick
    const std::vector<double> lefts = RoamingLefts(form, 5);
    EXPECT_EQ(lefts, (std::vector<double>{1990, 1980, 1970, 1960, 1950}));
    EXPECT_EQ(form.Picture1.ScaleTop(), 3000 - 50);
}

// A window wider than the drawing plus its margins: the drawing sweeps across the window and
// back, the view never turning on two ticks running and the band never leaving the window.
TEST_F(ViewTimersTest, AWindowWiderThanTheBandSweepsInsteadOfTrembling) {
    app.extents = {0, 0, 100, 1000};
    ShowWindow(-450, 1000, 1000, -750);
    app.tool.PanGrab = {500, 250};
    app.tool.RubberPoint = {490, 250};  // 10 m east a tick
    const std::vector<double> lefts = RoamingLefts(form, 200);
    int turns = 0;
    double previous = -450, step = 10;
    for (double left : lefts) {
        const double now = left - previous;
        if (now != step) {
            ++turns;
            EXPECT_EQ(now, -step);
            step = now;
        }
        EXPECT_LE(left, -20);
        EXPECT_GE(left + 1000, 120);
        previous = left;
    }
    EXPECT_GE(turns, 2);
    EXPECT_LE(turns, 4);
}

TEST_F(ViewTimersTest, SetRoamingIntervalSetsTheTimer) {
    form.SetRoamingInterval(80);
    EXPECT_EQ(form.Timer2.Interval(), 80);
}

class DemoMarkerTest : public CanvasTest {
protected:
    DemoMarkerTest() {
        app.symbolStandard.SymbolStandardLoaded = 0;
        form.DemoRandom = [this] {
            const double r = randoms.empty() ? 0.5 : randoms.front();
            if (!randoms.empty()) randoms.pop_front();
            return r;
        };
        StartDemoMarker(app);
        Surface().ClearRecords();
    }
    float X() const { return app.display.MarkerX; }
    float Y() const { return app.display.MarkerY; }
    std::deque<double> randoms;
};

TEST_F(DemoMarkerTest, TheMarkerStartsNearTheTopAndMovesHalfAMetreRightAndDown) {
    EXPECT_TRUE(form.Timer3.Enabled());
    EXPECT_EQ(form.Timer3.Interval(), 30);
    EXPECT_FLOAT_EQ(X(), 450);
    EXPECT_FLOAT_EQ(Y(), 1000 - 0.07f * 750);
    form.Timer3_Timer();
    EXPECT_FLOAT_EQ(X(), 450.5f);
    EXPECT_FLOAT_EQ(Y(), 947.5f - 0.5f);

    // Erased where it was, drawn where it is: two filled circles each time, the inner one in the
    // marker's colour + 500.
    const auto circles = Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle);
    ASSERT_EQ(circles.size(), 4u);
    const Rgb colour = app.tables.ColorPalette[151];
    const float outer = static_cast<float>(0.5 * app.view.GroundPerScreenMm);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(circles[k].drawMode, DrawModeNotXorPen);
        EXPECT_EQ(circles[k].fillStyle, FillStyleSolid);
        EXPECT_EQ(circles[k].color, colour);
        EXPECT_EQ(circles[k].fillColor, k % 2 ? PackedColorSum(colour, 500) : colour);
        EXPECT_FLOAT_EQ(static_cast<float>(circles[k].radius), k % 2 ? 0.75f * outer : outer);
    }
    EXPECT_DOUBLE_EQ(circles[0].x1, 450);
    EXPECT_DOUBLE_EQ(circles[2].x1, 450.5);
    EXPECT_EQ(Surface().FillStyle(), FillStyleTransparent);
}

TEST_F(DemoMarkerTest, ABounceTurnsFasterWithANewSizeAndTheNextCode) {
    app.display.MarkerX = 1000.2f;  // beyond the right edge
    app.display.MarkerCode = 550;
    randoms = {0.4};
    form.Timer3_Timer();
    EXPECT_NEAR(X(), 1000.2 - 0.55, 1e-3);
    EXPECT_EQ(app.display.MarkerCode, 0);
    EXPECT_EQ(form.Text2.Text(), "0");
    EXPECT_FLOAT_EQ(app.tool.DemoMarker.OuterRadius, static_cast<float>(0.4 * 5 * app.view.GroundPerScreenMm));
    EXPECT_FLOAT_EQ(app.tool.DemoMarker.InnerRadius, 0.7f * app.tool.DemoMarker.OuterRadius);
    form.Timer3_Timer();
    EXPECT_NEAR(X(), 1000.2 - 1.1, 1e-3);
    EXPECT_EQ(app.display.MarkerCode, 0);  // no bounce, no new code

    // Too fast after a bounce: random speeds, from near the top again.
    app.tool.DemoMarker.SpeedX1 = 4.0f;
    app.tool.DemoMarker.SpeedX2 = 4.6f;
    app.display.MarkerX = -1;
    randoms = {0.5, 0.1, 0.3, 0.6, 0.2};
    form.Timer3_Timer();
    EXPECT_NEAR(X(), 420.2, 1e-3);
    EXPECT_NEAR(Y(), 947.5 - 0.4, 1e-3);
    EXPECT_EQ(app.display.MarkerCode, 1);
}

TEST_F(DemoMarkerTest, WithAStandardTheMarkerShowsTheSymbolOrLineTypeOfItsCode) {
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 7, 0, 1, {{0, 0}, {1, 1}});
    SetLineTypeElements(app.symbolStandard, 51, 1, {{6, 4}, {7, 1}});

    app.display.MarkerCode = 7;
    float x = X(), y = Y();
    DrawAnimatedMarker(app, x, y);
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());
    EXPECT_TRUE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle).empty());

    Surface().ClearRecords();
    app.display.MarkerCode = 350;
    DrawAnimatedMarker(app, x, y);
    EXPECT_TRUE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());

    // Code 400 is line type 51: dashes along the 20 m east of this very marker.
    app.display.MarkerCode = 400;
    DrawAnimatedMarker(app, x, y);
    const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    ASSERT_GT(lines.size(), 1u);
    for (const SurfacePrimitive& line : lines) {
        EXPECT_EQ(line.drawMode, DrawModeNotXorPen);
        EXPECT_NEAR(line.y1, y, 1e-3);
        EXPECT_GE(line.x1, x - 1e-3);
        EXPECT_LE(line.x2, x + 20 + 1e-3);
    }
    EXPECT_EQ(Surface().DrawMode(), DrawModeNotXorPen);
}

TEST(PackedColorSumTest, AddsOnThePackedValueAndStaysAColour) {
    EXPECT_EQ(PackedColorSum(0, 500), MakeRgb(244, 1, 0));
    EXPECT_EQ(PackedColorSum(0, 5000), MakeRgb(136, 19, 0));
    EXPECT_EQ(PackedColorSum(MakeRgb(255, 0, 0), 1), MakeRgb(0, 1, 0));  // carries into green
    EXPECT_EQ(PackedColorSum(0xFFFFFF, 500), 499);  // beyond white: round again, still a colour
    EXPECT_EQ(PackedColorSum(0, -1), 0xFFFFFF);
}

}  // namespace
}  // namespace movra
