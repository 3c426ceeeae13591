#include <gtest/gtest.h>

#include "document/DrawingExtents.h"
#include "editing/ViewExtents.h"
#include "shell/ViewStateFormulas.h"
#include "support/TestApp.h"

namespace movra {
namespace {

class ViewExtentsTest : public ::testing::Test {
protected:
    ViewExtentsTest() {
        // A canvas twice as wide as high, on a screen of another shape.
        canvas.Move(canvas.Left(), canvas.Top(), 400 * 15, 200 * 15);
        app.view.ScreenAspect = 0.6;
        app.store.LayerCount = 2;
        app.store.DimensionKeep(2);
        app.store.LayerOnFlag[1] = -1;
        app.store.LayerOnFlag[2] = 0;
    }
    void Put(int layer, int slot, double x, double y) {
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = 1;
        r.RecordX1 = x;
        r.RecordY1 = y;
        if (app.store.Count(layer) <= slot) app.store.Count(layer) = slot + 1;
    }
    TestApp t;
    App& app = t.app;
    PictureBox& canvas = t.form1.Picture1;
};

TEST_F(ViewExtentsTest, ExtentsGrowByTheFirstVerticesOfLayersThatAreOnAndTheCanvasFitsThem) {
    app.extents = {1000, 0, 1000, 2000};  // as a file header left them
    Put(1, 0, 1100, 2100);
    Put(1, 1, 0, 9999);     // a vertex on an axis is no position: skipped
    Put(1, 2, 900, 1900);
    Put(1, 3, 100, 1950);   // far west of the map: does not stretch the view
    Put(2, 0, 5000, 5000);  // layer off
    Put(2, 1, 5000, 5000);
    ComputeDrawingExtents(app);
    EXPECT_EQ(app.extents.ExtentMinX, 900);
    EXPECT_EQ(app.extents.ExtentMaxX, 1100);
    EXPECT_EQ(app.extents.ExtentMaxY, 2100);
    EXPECT_EQ(app.extents.ExtentMinY, 2100 - 200 * 0.5);  // follows from the X range and the canvas
    EXPECT_EQ(canvas.ScaleLeft(), 900);
    EXPECT_EQ(canvas.ScaleTop(), 2100);
    EXPECT_EQ(canvas.ScaleWidth(), 200);
    EXPECT_EQ(canvas.ScaleHeight(), -100);
}

TEST_F(ViewExtentsTest, RestoreZoomStepsByTheScaleShownNow) {
    app.extents = {1000, 1500, 1400, 2000};
    app.view.ProjectParams[0] = 1000;
    canvas.SetScale(1200, 1800, 50, -25);

    app.view.DisplayScaleDenominator = 500;  // closer than the map's scale: out to the map's scale
    ZoomToExtents(app);
    EXPECT_EQ(canvas.ScaleLeft(), 1200);
    EXPECT_EQ(canvas.ScaleTop(), 1800);
    EXPECT_EQ(canvas.ScaleWidth(), 100);
    EXPECT_EQ(canvas.ScaleHeight(), -50);

    app.view.DisplayScaleDenominator = 1020;  // at the map's scale: the whole drawing
    ZoomToExtents(app);
    EXPECT_EQ(canvas.ScaleLeft(), 950);
    EXPECT_EQ(canvas.ScaleTop(), 2050);
    EXPECT_EQ(canvas.ScaleHeight(), -(2000 + 100 - 1500));
    EXPECT_EQ(canvas.ScaleWidth(), 1200);

    app.view.DisplayScaleDenominator = 70000;  // no stage of its own: the window stays
    ZoomToExtents(app);
    EXPECT_EQ(canvas.ScaleLeft(), 950);
    EXPECT_EQ(canvas.ScaleWidth(), 1200);
    EXPECT_EQ(t.form1.Text4.ForeColor(), 78888);

    app.extents = {1000, 1500, 1000.5, 2000};  // a drawing under a unit wide: nothing at all
    app.view.DisplayScaleDenominator = 500;
    ZoomToExtents(app);
    EXPECT_EQ(canvas.ScaleWidth(), 1200);
}

TEST_F(ViewExtentsTest, VerticalScrollBarMovesTheViewNorthByItsChange) {
    canvas.SetScale(0, 1000, 500, -300);
    ScrollBar& bar = t.form1.VScroll1;
    bar.SetValue(20);
    EXPECT_EQ(canvas.ScaleTop(), 1020);
    bar.SetValue(5);
    EXPECT_EQ(canvas.ScaleTop(), 1005);
    bar.SetValue(0);  // the layouts recentre the bar: nothing moves, nothing is remembered
    EXPECT_EQ(canvas.ScaleTop(), 1005);
    bar.SetValue(10);
    EXPECT_EQ(canvas.ScaleTop(), 1010);
}

}  // namespace
}  // namespace movra
