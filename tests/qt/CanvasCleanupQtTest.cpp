// What a tool leaves on the canvas: a placed figure looks as the next redraw shows it, and a tool
// that pauses or ends takes its previews with it. Each case drives the real canvas widget and
// compares its picture with a fresh redraw of the same map.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <functional>
#include <string>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "display/Redraw.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct CanvasCleanupQtTest : ::testing::Test {
    CanvasCleanupQtTest() {
        setenv("XDG_DATA_HOME", dataHome.Str().c_str(), 1);
        UseChineseUiFont();
        binder.Bind(form1);
        form1.Show();
        QApplication::processEvents();
        canvas = binder.WidgetOf(form1.Picture1);
        app.tool.SnapOn = 0;
        app.current.CurrentColor = MakeRgb(255, 255, 0);
    }
    ~CanvasCleanupQtTest() override { unsetenv("XDG_DATA_HOME"); }

    QImage Picture() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint At(double x, double y) { return PixelOf(form1.Picture1.surface(), x, y); }
    void MoveTo(QPoint at) {
        SendMouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QApplication::processEvents();
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &press);
        QApplication::processEvents();
    }
    // The canvas as it stands against the same map drawn afresh.
    void ExpectSameAsRedraw(const char* name) {
        const QImage left = Picture();
        刷新(app);
        QApplication::processEvents();
        const QImage fresh = Picture();
        const int differing = DifferentPixels(left, fresh);
        EXPECT_EQ(differing, 0) << name;
        if (differing != 0) {
            SaveTestPicture(left, (std::string(name) + "-left.png").c_str());
            SaveTestPicture(fresh, (std::string(name) + "-fresh.png").c_str());
        }
    }

    TempFolder dataHome{"xdg"}, program{"program"}, work{"work"};
    QtPlatform platform{program.Str(), work.Str()};
    App app{platform};
    stForm1 form1{app};
    Binder binder{platform};
    QWidget* canvas = nullptr;
};

// A text placed with the material-text tool is drawn as the redraw draws its record, not at
// another size over the preview.
TEST_F(CanvasCleanupQtTest, APlacedTextLooksAsTheNextRedrawShowsIt) {
    ASSERT_NE(canvas, nullptr);
    app.store.CurrentLayer = 1;
    app.current.TextSize = 4;
    form1.Text8.SetText("zj:砖房");
    app.current.PendingText = "砖房";
    ASSERT_EQ(app.tool.CommandMode, ModeMaterialText);
    const QPoint first = At(0, 0), place = first + QPoint(120, 60);
    ClickOn(canvas, first);
    for (int k = 1; k <= 4; ++k) MoveTo(first + QPoint(30 * k, 15 * k));
    ClickOn(canvas, place);
    ASSERT_EQ(app.store.Count(1), 1);
    ExpectSameAsRedraw("placed-text");
}

}  // namespace
}  // namespace movra
