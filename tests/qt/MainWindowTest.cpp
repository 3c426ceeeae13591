#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "App.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// The main window over the Qt platform, bound and shown as the program shows it.
struct MainWindowTest : ::testing::Test {
    MainWindowTest() {
        // Showing the window starts the program, whose first start registers the map types
        // below the user's data folder: a temporary one here.
        setenv("XDG_DATA_HOME", dataHome.Str().c_str(), 1);
        UseChineseUiFont();
        window = binder.Bind(form1);
        form1.Show();
        QApplication::processEvents();
    }
    QImage Canvas() { return binder.WidgetOf(form1.Picture1)->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ~MainWindowTest() override { unsetenv("XDG_DATA_HOME"); }
    TempFolder dataHome{"xdg"}, program{"program"}, work{"work"};
    QtPlatform platform{program.Str(), work.Str()};
    App app{platform};
    stForm1 form1{app};
    Binder binder{platform};
    QWidget* window = nullptr;
};

TEST_F(MainWindowTest, ShowsMaximisedAroundABlackCanvas) {
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->windowTitle(), "movra_newfilse");
    QWidget* canvas = binder.WidgetOf(form1.Picture1);
    ASSERT_NE(canvas, nullptr);
    // The canvas stands right of the selector column and below the message band, and its
    // surface has the widget's size.
    EXPECT_EQ(canvas->geometry().left(), 1920 / platform.screen().TwipsPerPixelX());
    EXPECT_EQ(canvas->width(), form1.Picture1.surface().PixelWidth());
    EXPECT_EQ(canvas->height(), form1.Picture1.surface().PixelHeight());
    QImage image = Canvas();
    EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2), qRgb(0, 0, 0));
    auto* lamp = qobject_cast<QLabel*>(binder.WidgetOf(form1.Label6));
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->grab().toImage().pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_NE(qobject_cast<QLineEdit*>(binder.WidgetOf(form1.Text2)), nullptr);
}

TEST_F(MainWindowTest, LinesOnPicture1ReachTheScreenAndTheInvertingPenRestores) {
    Surface& surface = form1.Picture1.surface();
    QImage blank = Canvas();
    surface.SetDrawMode(DrawModeCopyPen);
    const double left = surface.ScaleLeft(), top = surface.ScaleTop();
    const double width = surface.ScaleWidth(), height = surface.ScaleHeight();
    surface.Line(left + 0.1 * width, top + 0.1 * height, left + 0.9 * width, top + 0.9 * height,
                 MakeRgb(255, 255, 0));
    surface.Refresh();
    QImage drawn = Canvas();
    EXPECT_GT(DifferentPixels(blank, drawn), 100);

    surface.SetDrawMode(DrawModeNotXorPen);
    surface.Line(left, top + height, left + width, top, MakeRgb(0, 0, 0));  // shows white on black
    surface.Refresh();
    EXPECT_GT(DifferentPixels(drawn, Canvas()), 100);
    surface.Line(left, top + height, left + width, top, MakeRgb(0, 0, 0));
    surface.Refresh();
    EXPECT_EQ(DifferentPixels(drawn, Canvas()), 0);
}

TEST_F(MainWindowTest, ResizingTheWindowLaysTheCanvasOutAgain) {
    form1.SetWindowState(WindowNormal);
    window->resize(640, 480);
    QApplication::processEvents();
    QWidget* canvas = binder.WidgetOf(form1.Picture1);
    // The canvas fills the window from where start-up put it, its vertical bar beside it.
    const double twipsPerPixel = platform.screen().TwipsPerPixelX();
    QWidget* client = canvas->parentWidget();
    QWidget* bar = binder.WidgetOf(form1.VScroll1);
    EXPECT_EQ(bar->geometry().left(), canvas->geometry().right() + 1);
    EXPECT_LE(bar->geometry().right(), client->width() - 1);
    EXPECT_GE(bar->geometry().right(), client->width() - 10);
    EXPECT_LE(canvas->geometry().bottom(), client->height() - 1);
    EXPECT_GE(canvas->geometry().bottom(), client->height() - 10);
    EXPECT_EQ(form1.Picture1.surface().PixelWidth(), canvas->width());
    EXPECT_EQ(canvas->geometry().left(), 1920 / twipsPerPixel);
    QWidget* message = binder.WidgetOf(form1.Text2);
    EXPECT_LE(message->geometry().bottom(), canvas->geometry().top());
}

}  // namespace
}  // namespace movra
