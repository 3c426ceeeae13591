#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <cmath>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "App.h"
#include "DialogTestHelpers.h"
#include "editing/Snapping.h"
#include "editing/ViewTimers.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

// The main window over the Qt platform, shown, with the canvas's events coming from real mouse
// events on its widget.
struct CanvasToolsQtTest : ::testing::Test, ShownMainWindow {
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    // A left-button drag through the given pixels.
    void DragThrough(std::initializer_list<QPoint> points) {
        auto p = points.begin();
        Send(QEvent::MouseButtonPress, *p, Qt::LeftButton, Qt::LeftButton);
        QPoint last = *p;
        for (++p; p != points.end(); ++p) {
            Send(QEvent::MouseMove, *p, Qt::NoButton, Qt::LeftButton);
            last = *p;
        }
        Send(QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
};

TEST_F(CanvasToolsQtTest, ARealDragZoomsTheView) {
    ASSERT_NE(canvas, nullptr);
    app.tool.CommandMode = ModeZoomIn;  // as start-up arms it
    app.tool.SnapOn = 0;
    const Surface& s = form1.Picture1.surface();
    const double left = s.FromPixelX(40), top = s.FromPixelY(30);
    const double width = s.FromPixelX(240) - left;
    DragThrough({QPoint(40, 30), QPoint(120, 90), QPoint(240, 180)});
    EXPECT_NEAR(form1.Picture1.ScaleLeft(), left, 1e-3 * width);
    EXPECT_NEAR(form1.Picture1.ScaleTop(), top, 1e-3 * width);
    EXPECT_NEAR(form1.Picture1.ScaleWidth(), width, 1e-3 * width);

    // Dragging sideways zooms in about the centre.
    app.tool.CommandMode = ModeZoomDrag;
    app.tool.ClickCount = 0;
    const double before = form1.Picture1.ScaleWidth();
    DragThrough({QPoint(100, 100), QPoint(110, 100), QPoint(120, 100), QPoint(130, 100)});
    EXPECT_NEAR(form1.Picture1.ScaleWidth(), 0.7 * before, 1e-3 * before);
}

TEST_F(CanvasToolsQtTest, TheHoverMarkerDrawnTwiceLeavesTheCanvasAsItWas) {
    app.tool.CommandMode = ModeIdle;
    app.tool.SnapOn = -1;
    app.tool.SnapBoxDrawn = 0;
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    const Surface& s = form1.Picture1.surface();
    MapRecord& r = app.store.At(1, 0);
    r.RecordType = 1;
    r.RecordX1 = s.FromPixelX(200);
    r.RecordY1 = s.FromPixelY(150);
    app.store.Count(1) = 1;
    const QImage blank = Canvas();

    Send(QEvent::MouseMove, QPoint(201, 151), Qt::NoButton, Qt::NoButton);
    QApplication::processEvents();
    const QImage marked = Canvas();
    EXPECT_GT(DifferentPixels(blank, marked), 4);
    EXPECT_NE(marked.pixel(200, 150), blank.pixel(200, 150));
    // Hovering on at the same vertex erases and draws again: the same picture.
    Send(QEvent::MouseMove, QPoint(200, 150), Qt::NoButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_EQ(DifferentPixels(marked, Canvas()), 0);
    DrawSnapMarker(app);
    form1.Picture1.surface().Refresh();
    QApplication::processEvents();
    EXPECT_EQ(DifferentPixels(blank, Canvas()), 0);
}

TEST_F(CanvasToolsQtTest, TheRoamingViewRunsOnARealTimer) {
    app.extents = {-1e6, -1e6, 1e6, 1e6};
    app.settings.FollowPan = -1;
    app.tool.CommandMode = ModePan;
    app.tool.SnapOn = 0;
    const Surface& s = form1.Picture1.surface();
    const double step = s.FromPixelX(100) - s.FromPixelX(90);
    DragThrough({QPoint(100, 100), QPoint(90, 100)});  // 10 pixels west: the window goes east
    const double left = form1.Picture1.ScaleLeft();
    ASSERT_TRUE(form1.Timer2.Running());
    // Two ticks of the timer at least, however long a busy machine takes for them.
    ASSERT_TRUE(WaitFor([&] { return form1.Picture1.ScaleLeft() - left >= 2 * step - 1e-6; }));
    const double moved = form1.Picture1.ScaleLeft() - left;
    EXPECT_NEAR(std::remainder(moved, step), 0, 0.05 * step);  // whole steps, in single precision
    // A press stops it.
    Send(QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(form1.Timer2.Running());
}

TEST_F(CanvasToolsQtTest, TheDemonstrationMarkerBouncesOverTheCanvas) {
    app.symbolStandard.SymbolStandardLoaded = 0;
    // A marker a little larger than the start-up size, so that the picture shows it.
    StartDemoMarker(app);
    DrawAnimatedMarker(app, app.display.MarkerX, app.display.MarkerY);
    app.tool.DemoMarker.OuterRadius = static_cast<float>(8 * app.view.GroundPerScreenMm);
    app.tool.DemoMarker.InnerRadius = 0.6f * app.tool.DemoMarker.OuterRadius;
    DrawAnimatedMarker(app, app.display.MarkerX, app.display.MarkerY);
    form1.DemoRandom = [] { return 0.5; };
    EXPECT_TRUE(WaitFor([&] {
        return app.display.MarkerX > form1.Picture1.ScaleLeft() + 0.45 * form1.Picture1.ScaleWidth();
    }));
    form1.Timer3.SetEnabled(false);
    form1.Picture1.surface().Refresh();
    QApplication::processEvents();
    const QImage image = Canvas();
    image.save(LookAt("movra_demo_marker.png"));
    const Surface& s = form1.Picture1.surface();
    const int px = static_cast<int>(s.ToPixelX(app.display.MarkerX));
    const int py = static_cast<int>(s.ToPixelY(app.display.MarkerY));
    // Only the marker of the last tick is left: its inner circle at its centre, nothing far off.
    EXPECT_NE(image.pixel(px, py), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(px - 60, py), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace movra
