#include <gtest/gtest.h>

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
