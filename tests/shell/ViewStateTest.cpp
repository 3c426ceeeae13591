#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "display/RecordRenderer.h"
#include "platform/fake/RecordingSurface.h"
#include "shell/ViewStateFormulas.h"
#include "support/TestApp.h"

namespace movra {
namespace {

TEST(ViewStateTest, ZoomingInHalvesTheDisplayScale) {
    TestApp t;
    t.form1.Load();
    PictureBox& canvas = t.form1.Picture1;
    canvas.SetScaleWidth(canvas.ScaleWidth() / 2);
    Text4_Click(t.app);
    EXPECT_EQ(t.form1.Text4.Text(), "比例尺Ⅰ：250");
    EXPECT_DOUBLE_EQ(t.app.view.DisplayZoom, 2);
    EXPECT_DOUBLE_EQ(t.app.view.DisplayZoomInverse, 0.5);
    EXPECT_DOUBLE_EQ(t.app.view.GroundPerScreenMm, 0.25);

    // A canvas of no width stops the computation and keeps what was there.
    canvas.SetWidth(0);
    Text4_Click(t.app);
    EXPECT_DOUBLE_EQ(t.app.view.DisplayZoom, 2);
}

// The scale box shows the shortest form of the scale's single value; the view keeps every digit.
TEST(ViewStateTest, TheScaleBoxShowsTheScaleWithoutTheArithmeticsTail) {
    TestApp t;
    t.form1.Load();
    PictureBox& canvas = t.form1.Picture1;
    canvas.SetScaleWidth(canvas.ScaleWidth() * 2 * (1 - 4.6e-11));
    Text4_Click(t.app);
    EXPECT_NE(t.app.view.DisplayScaleDenominator, 1000);
    EXPECT_NEAR(t.app.view.DisplayScaleDenominator, 1000, 1e-6);
    EXPECT_EQ(t.form1.Text4.Text(), "比例尺Ⅰ：1000");
}

TEST(ViewStateTest, AfterAZoomTextsTakeTheSizeOfTheNewZoom) {
    TestApp t;
    t.form1.Load();
    PictureBox& canvas = t.form1.Picture1;
    Text4_Click(t.app);
    const double zoom = t.app.view.DisplayZoom;
    auto& surface = static_cast<RecordingSurface&>(canvas.surface());
    MapRecord& r = t.app.store.At(1, 1);
    r.RecordType = 25;
    r.RecordX1 = canvas.ScaleLeft() + canvas.ScaleWidth() / 2;
    r.RecordY1 = canvas.ScaleTop() + canvas.ScaleHeight() / 2;
    r.RecordX2 = 3;
    r.RecordText = "字";
    r.RecordFont = "宋体";
    t.app.clip.ClipXMin = -1000000; t.app.clip.ClipXMax = 1000000;
    t.app.clip.ClipYMin = -1000000; t.app.clip.ClipYMax = 1000000;
    auto drawnSize = [&] {
        surface.ClearRecords();
        std::uint8_t layer = 1;
        std::int16_t slot = 1;
        DrawRecord(t.app, layer, slot);
        return surface.PrimitivesOf(SurfacePrimitive::Kind::Print).at(0).fontSize;
    };
    EXPECT_DOUBLE_EQ(drawnSize(), std::floor(zoom * 3) + 1);
    canvas.SetScaleWidth(canvas.ScaleWidth() / 4);
    Text4_Click(t.app);
    EXPECT_DOUBLE_EQ(t.app.view.DisplayZoom, 4 * zoom);
    EXPECT_DOUBLE_EQ(drawnSize(), std::floor(4 * zoom * 3) + 1);
}

TEST(ViewStateTest, ScrollStepsFollowTheZoom) {
    struct Case {
        double inverse;
        int large, small;
    };
    for (const Case& c : {Case{12, 3, 1}, Case{0.5, 15, 5}, Case{0.25, 8, 2}}) {
        ScrollSteps steps = HorizontalScrollSteps(c.inverse);
        EXPECT_EQ(steps.large, c.large) << c.inverse;
        EXPECT_EQ(steps.small, c.small) << c.inverse;
    }
}

TEST(ViewStateTest, HorizontalScrollMovesTheWindowByTheChange) {
    TestApp t;
    t.form1.Load();
    PictureBox& canvas = t.form1.Picture1;
    ScrollBar& bar = t.form1.HScroll1;
    const double left = canvas.ScaleLeft();
    bar.SetValue(5);
    EXPECT_DOUBLE_EQ(canvas.ScaleLeft(), left + 5);
    bar.SetValue(-5);
    EXPECT_DOUBLE_EQ(canvas.ScaleLeft(), left - 5);
    bar.SetValue(0);  // recentring moves nothing
    EXPECT_DOUBLE_EQ(canvas.ScaleLeft(), left - 5);
    bar.SetValue(5);
    EXPECT_DOUBLE_EQ(canvas.ScaleLeft(), left + 5);
}

}  // namespace
}  // namespace movra
