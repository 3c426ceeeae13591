#include "CanvasFixture.h"
#include "document/DrawingExtents.h"
#include "editing/ViewExtents.h"

namespace movra {
namespace {

using ViewToolsTest = CanvasTest;

TEST_F(ViewToolsTest, AZoomBoxKeepsItsCornerAndWidthAndTakesItsHeightFromTheCanvas) {
    ShapeCanvas(800, 600);
    app.tool.CommandMode = ModeZoomIn;
    app.tool.SnapOn = 0;
    Press(100, 200);
    Drag(120, 180);
    Drag(140, 150);
    // Each move draws the new box and the previous one again, in blue with the inverting pen.
    const auto boxes = Surface().PrimitivesOf(SurfacePrimitive::Kind::Box);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].x2, 120);
    EXPECT_EQ(boxes[2].color, MakeRgb(0, 0, 255));
    EXPECT_EQ(boxes[2].drawMode, DrawModeNotXorPen);
    const std::int32_t steps = app.undo.UndoCurrentStep;
    Release(140, 150);
    EXPECT_EQ(form.Picture1.ScaleLeft(), 100);
    EXPECT_EQ(form.Picture1.ScaleTop(), 200);
    EXPECT_EQ(form.Picture1.ScaleWidth(), 40);
    EXPECT_EQ(form.Picture1.ScaleHeight(), -30);
    EXPECT_EQ(app.tool.CommandMode, ModeZoomIn);  // stays armed for the next box
    EXPECT_EQ(app.undo.UndoCurrentStep, steps);
}

TEST_F(ViewToolsTest, AZoomBoxTooSmallOrDraggedTheWrongWayDoesNotZoom) {
    app.tool.CommandMode = ModeZoomIn;
    app.tool.SnapOn = 0;
    Put(1, 0, {10, 10});  // appended: an undo step would show it
    const std::int32_t steps = app.undo.UndoCurrentStep;
    const int clears = Clears();

    form.Text1.SetText("");
    Press(100, 200);
    Release(100.05f, 150);  // 0.05 wide: the release ends at once
    EXPECT_EQ(form.Picture1.ScaleLeft(), 0);
    EXPECT_EQ(Lamp(), Red);
    EXPECT_EQ(Clears(), clears);
    EXPECT_EQ(form.Text1.Text(), "100.05;150");
    EXPECT_EQ(app.undo.UndoCurrentStep, steps);

    app.tool.PreviousMode = ModePickStation;
    Press(140, 150);
    Release(100, 200);  // lower right to upper left: no zoom, the station pick comes back
    EXPECT_EQ(form.Picture1.ScaleLeft(), 0);
    EXPECT_EQ(app.tool.CommandMode, ModePickStation);
}

TEST_F(ViewToolsTest, APanKeepsTheGrabbedPointUnderTheCursorAndRedrawsSparingly) {
    app.tool.CommandMode = ModePan;
    app.tool.ViewRedrawCounter = 0;
    form.Timer2.SetEnabled(true);
    app.settings.FollowPan = 0;
    ShowWindow(0, 1000, 1000, -750);
    app.view.DisplayZoom = 1;
    Press(500, 500);
    EXPECT_FALSE(form.Timer2.Enabled());
    // Ten moves of 10 m west each, given in the window as it stands at each move.
    std::vector<int> redrawnAt;
    for (int move = 1; move <= 10; ++move) {
        const int clears = Clears();
        Drag(form.Picture1.ScaleLeft() + 500 - 10, form.Picture1.ScaleTop() - 500);
        if (Clears() > clears) redrawnAt.push_back(move);
    }
    EXPECT_EQ(redrawnAt, (std::vector<int>{5, 10}));
    EXPECT_EQ(form.Picture1.ScaleLeft(), 10);  // the map moved 10 m east under the cursor
    EXPECT_EQ(form.Picture1.ScaleTop(), 1000);

    // Zoomed in, every move draws the work buffer.
    app.view.DisplayZoom = 3;
    Press(500, 500);
    const int clears = Clears();
    for (int move = 1; move <= 10; ++move) Drag(form.Picture1.ScaleLeft() + 490, form.Picture1.ScaleTop() - 500);
    EXPECT_EQ(Clears(), clears + 10);

    app.settings.FollowPan = -1;
    Release(500, 500);
    EXPECT_TRUE(form.Timer2.Enabled());
    EXPECT_EQ(Lamp(), Red);
}

TEST_F(ViewToolsTest, ATiltClickRaisesTheTiltAndARightClickLowersIt) {
    app.tool.CommandMode = ModeTiltView;
    struct Step {
        double from, to;
    };
    for (const Step& s : {Step{10, 13}, Step{177, 180}, Step{180, 3}}) {
        app.view.TiltAngle = s.from;
        Click(500, 500);
        EXPECT_EQ(app.view.TiltAngle, s.to);
    }
    EXPECT_EQ(form.Text2.Text(), "视角加大到_3");
    app.view.TiltAngle = 10;
    Click(500, 500);
    EXPECT_EQ(form.Text2.Text(), "视角加大到_13");

    app.view.TiltAngle = -180;
    const int clears = Clears();
    Click(500, 500, RightButton);
    EXPECT_EQ(app.view.TiltAngle, 3);
    EXPECT_EQ(form.Text2.Text(), "视角减小到_3");
    EXPECT_EQ(app.tool.CommandMode, ModeTiltView);
    EXPECT_EQ(Clears(), clears);  // the lowered tilt shows at the next pan

    // A drag keeps the tilt.
    app.view.TiltAngle = 20;
    Press(500, 500);
    Drag(form.Picture1.ScaleLeft() + 480, form.Picture1.ScaleTop() - 500);
    Release(form.Picture1.ScaleLeft() + 480, form.Picture1.ScaleTop() - 500);
    EXPECT_EQ(app.view.TiltAngle, 20);
    EXPECT_EQ(form.Text2.Text(), "点击制图屏调整视角");
}

TEST_F(ViewToolsTest, DraggingSidewaysZoomsEverySecondMoveAboutTheCentre) {
    app.tool.CommandMode = ModeZoomDrag;
    app.tool.ClickCount = 0;
    Press(500, 600);
    std::vector<int> zoomedAt;
    for (int move = 1; move <= 8; ++move) {
        const double width = form.Picture1.ScaleWidth();
        Drag(500 + move, 600);
        if (form.Picture1.ScaleWidth() < width) zoomedAt.push_back(move);
    }
    EXPECT_EQ(zoomedAt, (std::vector<int>{3, 5, 7}));
    EXPECT_NEAR(form.Picture1.ScaleWidth(), 1000 * 0.7 * 0.7 * 0.7, 1e-3);
    EXPECT_NEAR(form.Picture1.ScaleLeft() + form.Picture1.ScaleWidth() / 2, 500, 1e-3);
    EXPECT_NEAR(form.Picture1.ScaleTop() + form.Picture1.ScaleHeight() / 2, 625, 1e-3);

    // Zoomed out to the backdrop: moving left does nothing more.
    app.display.Redraw.BackdropDrawn = -1;
    const double width = form.Picture1.ScaleWidth();
    for (int move = 1; move <= 4; ++move) Drag(400 - move, 600);
    EXPECT_EQ(form.Picture1.ScaleWidth(), width);
}

TEST_F(ViewToolsTest, TheFloatingViewBarFollowsTheCursorInsideTheCanvas) {
    Toolbar& toolbar2 = form.Toolbar2;
    toolbar2.Move(0, 0, 1500, 400);
    app.tool.CommandMode = ModeDragMenu;
    Press(100, 900);
    Drag(250, 625);  // a quarter across, half down
    EXPECT_DOUBLE_EQ(toolbar2.Left(), 0.25 * form.Picture1.Width());
    EXPECT_DOUBLE_EQ(toolbar2.Top(), 0.5 * form.Picture1.Height());
    Drag(2000, 400);  // beyond the right edge: only the top follows
    EXPECT_DOUBLE_EQ(toolbar2.Left(), 0.25 * form.Picture1.Width());
    EXPECT_DOUBLE_EQ(toolbar2.Top(), 0.8 * form.Picture1.Height());
    Drag(500, 250);  // on the lower edge: only the left follows
    EXPECT_DOUBLE_EQ(toolbar2.Left(), 0.5 * form.Picture1.Width());
    EXPECT_DOUBLE_EQ(toolbar2.Top(), 0.8 * form.Picture1.Height());
}

TEST_F(ViewToolsTest, ALayerOfOneRecordWidensTheExtents) {
    ShapeCanvas(800, 600);
    app.extents = {1000, 0, 1400, 5000};
    Put(1, 0, {1300, 5200});
    app.store.Count(1) = 1;
    ComputeDrawingExtents(app);
    EXPECT_EQ(app.extents.ExtentMaxY, 5200);
    EXPECT_EQ(app.extents.ExtentMinY, 5200 - 400 * 0.75);

    app.extents = {1000, 0, 1400, 5000};
    app.store.Count(1) = 0;
    ComputeDrawingExtents(app);
    EXPECT_EQ(app.extents.ExtentMinY, 4700);
}

TEST_F(ViewToolsTest, TheRestoreZoomGoesOutToTheMapScaleThenToTheWholeDrawing) {
    ShapeCanvas(800, 600);
    app.view.ProjectParams[0] = 500;
    app.extents = {1000, 4700, 1400, 5000};
    // A window shown at 1:250.
    const double width = 250 * form.Picture1.Width() / app.work.ScreenTwipsPerMetre;
    ShowWindow(1100, 4900, width, -0.75 * width);
    ASSERT_NEAR(app.view.DisplayScaleDenominator, 250, 1e-6);
    ZoomToExtents(app);
    EXPECT_NEAR(form.Picture1.ScaleWidth(), 2 * width, 1e-3);
    EXPECT_EQ(form.Picture1.ScaleLeft(), 1100);
    EXPECT_EQ(form.Picture1.ScaleTop(), 4900);
    ZoomToExtents(app);
    EXPECT_EQ(form.Picture1.ScaleLeft(), 950);
    EXPECT_EQ(form.Picture1.ScaleTop(), 5050);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleHeight(), -400);
}

TEST_F(ViewToolsTest, TheRestoredViewJournalsItsRelease) {
    app.tool.CommandMode = ModeRestored;
    Put(1, 0, {10, 10});
    const std::int32_t steps = app.undo.UndoCurrentStep;
    Click(500, 500);
    EXPECT_EQ(app.undo.UndoCurrentStep, steps + 1);
    EXPECT_EQ(Lamp(), Yellow);
}

}  // namespace
}  // namespace movra
