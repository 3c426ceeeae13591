#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "App.h"
#include "display/Redraw.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

// The drawing tools driven by real mouse events on the shown main window's canvas.
struct DrawingToolsQtTest : ::testing::Test, ShownMainWindow {
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    void Arm(std::uint8_t mode, const std::string& argument, std::int16_t pen = 0) {
        app.tool.CommandMode = mode;
        app.tool.CommandArgument = argument;
        app.tool.ClickCount = 0;
        app.current.CurrentPen = pen;
    }
    // Clicks through the pixels, hovering to each from the one before, as a hand does.
    void ClickThrough(std::initializer_list<QPoint> points) {
        for (QPoint p : points) {
            Send(QEvent::MouseMove, p - QPoint(7, 5), Qt::NoButton, Qt::NoButton);
            Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
            Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        }
        // A right click ends the line; a second one leaves no tool paused.
        Send(QEvent::MouseButtonPress, points.begin()[0], Qt::RightButton, Qt::RightButton);
        Send(QEvent::MouseButtonRelease, points.begin()[0], Qt::RightButton, Qt::NoButton);
        QApplication::processEvents();
    }
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

TEST_F(DrawingToolsQtTest, DrawnFiguresLeaveNoRubberBehind) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_GE(canvas->width(), 400);
    ASSERT_GE(canvas->height(), 300);
    app.tool.SnapOn = 0;
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    const std::int32_t before = app.store.Count(app.store.CurrentLayer);
    const QImage blank = Canvas();

    // A polyline in each kind of pen: styles, then widths.
    Arm(ModeLine, "", 0);
    ClickThrough({QPoint(20, 60), QPoint(80, 60), QPoint(80, 80), QPoint(140, 80), QPoint(140, 60), QPoint(180, 70)});
    Arm(ModeLine, "", 2);
    ClickThrough({QPoint(20, 100), QPoint(120, 100), QPoint(180, 120)});
    Arm(ModeLine, "", 9);
    ClickThrough({QPoint(20, 140), QPoint(120, 140), QPoint(180, 160)});
    // The special lines and a line type.
    app.current.DashWidth = 0.5F;
    app.current.DashOn = 4;
    app.current.DashOff = 2;
    int y = 190;
    for (const char* code : {"1090", "1091", "1092", "1093", "400"}) {
        Arm(ModeLine, code);
        ClickThrough({QPoint(20, y), QPoint(100, y), QPoint(160, y + 15)});
        y += 30;
    }
    // A rectangle with its size figures, a circle reshaped to an ellipse.
    form1.Text8.SetText("0");
    Arm(ModeRectangle, "");
    DragThrough({QPoint(240, 60), QPoint(280, 90), QPoint(320, 120)});
    Arm(ModeCircle, "");
    DragThrough({QPoint(300, 260), QPoint(330, 260), QPoint(350, 260)});
    EXPECT_EQ(app.tool.CommandMode, ModeCircleAspect);
    DragThrough({QPoint(300, 260), QPoint(300, 250), QPoint(300, 235)});
    EXPECT_EQ(app.tool.CommandMode, ModeCircle);

    // 6 + 3 + 3 clicks of plain pens: 2 + 1 + 1 records; four special lines: 1 each; the line
    // type: 2; the rectangle and the circle: 1 each.
    EXPECT_EQ(app.store.Count(app.store.CurrentLayer) - before, 12);
    const QImage drawn = Canvas();
    drawn.save(LookAt("movra_drawing_tools_drawn.png"));
    EXPECT_GT(DifferentPixels(blank, drawn), 500);

    刷新(app);
    QApplication::processEvents();
    const QImage redrawn = Canvas();
    redrawn.save(LookAt("movra_drawing_tools_redrawn.png"));
    EXPECT_GT(DifferentPixels(blank, redrawn), 500);
    // The tools drew what the store holds: little more than the size figures and the line
    // joints differ from a fresh redraw.
    const int rest = DifferentPixels(drawn, redrawn);
    EXPECT_LT(rest, drawn.width() * drawn.height() / 50) << rest << " pixels differ";
    刷新(app);
    QApplication::processEvents();
    EXPECT_EQ(DifferentPixels(redrawn, Canvas()), 0);
}

}  // namespace
}  // namespace movra
