#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <QElapsedTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

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

// The desktop's cache tools can take seconds: a first start shows its window without waiting for
// them. Stand-ins for the two tools note that they run and stay until they are let go.
TEST_F(StartUpQtTest, AFirstStartShowsTheWindowWhileTheDesktopCachesAreRebuilt) {
    TempFolder tools{"tools"};
    const std::string marks = tools.Str() + "/ran-";
    for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
        const std::string path = tools.Str() + "/" + tool;
        std::FILE* script = std::fopen(path.c_str(), "w");
        ASSERT_NE(script, nullptr);
        std::fprintf(script,
                     "#!/bin/sh\necho $$ > %s%s\n"
                     "for i in $(seq 1 100); do [ -e %sgo ] && exit 0; sleep 0.05; done\n",
                     marks.c_str(), tool, marks.c_str());
        std::fclose(script);
        chmod(path.c_str(), 0755);
    }
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (tools.Str() + ":" + oldPath).c_str(), 1);

    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(run.app.settings.FileTypesRegistered, "已注册wtw_jdx");
    // Both tools run, and are still running, once the window is up.
    auto pidOf = [&](const char* tool) {
        std::FILE* mark = std::fopen((marks + tool).c_str(), "r");
        int pid = 0;
        if (mark) {
            if (std::fscanf(mark, "%d", &pid) != 1) pid = 0;
            std::fclose(mark);
        }
        return pid;
    };
    QElapsedTimer clock;
    clock.start();
    while ((pidOf("update-mime-database") == 0 || pidOf("update-desktop-database") == 0) && clock.elapsed() < 4000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    setenv("PATH", oldPath.c_str(), 1);
    for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
        SCOPED_TRACE(tool);
        const int pid = pidOf(tool);
        ASSERT_GT(pid, 0);
        EXPECT_EQ(kill(pid, 0), 0);
    }
    std::fclose(std::fopen((marks + "go").c_str(), "w"));
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
