#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>

#include "app/MainProgram.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"
#include "TemporaryDataHome.h"

namespace movra {
namespace {

// Pictures of the windows for a person to look at: MOVRA_TEST_PICTURES=folder keeps them.
void KeepPicture(QWidget* widget, const char* name) {
    const char* folder = std::getenv("MOVRA_TEST_PICTURES");
    if (!folder || !*folder) return;
    widget->grab().save(QString::fromLocal8Bit(folder) + "/" + name);
}

struct StartUpQtTest : ::testing::Test {
    // The desktop registration at start-up writes below the user's data folder: a temporary one.
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
};

TEST_F(StartUpQtTest, TheMainWindowStartsAsMainStartsIt) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start();
    QApplication::processEvents();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "movra_newfilse");
    KeepPicture(window, "main-window.png");

    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    ASSERT_NE(canvas, nullptr);
    const int twipsPerPixel = run.platform.screen().TwipsPerPixelX();
    EXPECT_EQ(canvas->geometry().left(), 1920 / twipsPerPixel);
    EXPECT_EQ(canvas->geometry().top(), stForm1::CanvasTop / twipsPerPixel);

    auto* layers = qobject_cast<QComboBox*>(run.binder.WidgetOf(run.form1.ImageCombo1));
    auto* colors = qobject_cast<QComboBox*>(run.binder.WidgetOf(run.form1.ImageCombo2));
    ASSERT_NE(layers, nullptr);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(layers->count(), 1);
    EXPECT_EQ(colors->count(), 254);
    // The selectors stand beside the canvas, one under the other.
    EXPECT_LE(layers->geometry().right(), canvas->geometry().left());
    EXPECT_LE(colors->geometry().right(), canvas->geometry().left());
    EXPECT_GE(colors->geometry().top(), layers->geometry().bottom());
    auto* scale = qobject_cast<QLineEdit*>(run.binder.WidgetOf(run.form1.Text4));
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->text().toStdString(), "比例尺Ⅰ：500");
    // The registration wrote the desktop's files below the data folder, once.
    EXPECT_EQ(run.app.settings.FileTypesRegistered, "已注册wtw_jdx");
}

TEST_F(StartUpQtTest, TheSettingsWindowOpensFromCodeAndItsOkRunsTheCloseRule) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();

    szForm3& settings = run.form1.SettingsWindow();
    settings.Show();
    QApplication::processEvents();
    QWidget* window = run.binder.WindowOf(settings);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "范围设定");
    KeepPicture(window, "settings-window.png");

    settings.Option18.Click();  // 1/5000
    auto* ok = qobject_cast<QPushButton*>(run.binder.WidgetOf(settings.Command1));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text().toStdString(), "确定");
    ok->click();
    QApplication::processEvents();
    EXPECT_FALSE(settings.Loaded());
    EXPECT_DOUBLE_EQ(run.app.view.ScaleFactor, 5);
    EXPECT_EQ(run.app.reduction.ReductionUnit, 1000000);
}

}  // namespace
}  // namespace movra
