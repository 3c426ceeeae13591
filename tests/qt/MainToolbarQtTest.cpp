#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <fstream>

#include "App.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "document/csForm2.h"
#include "shell/hlep_frm.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct MainToolbarQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};

    static QToolButton* ButtonWithText(QWidget* bar, const QString& text) {
        for (auto* button : bar->findChildren<QToolButton*>())
            if (button->text() == text) return button;
        return nullptr;
    }
    static void SavePicture(QWidget* widget, const char* name) {
        if (const char* folder = std::getenv("MOVRA_TEST_PICTURES"); folder && *folder)
            widget->grab().save(QString::fromLocal8Bit(folder) + "/" + name);
    }
};

TEST_F(MainToolbarQtTest, ARealButtonAndADropDownItemRunTheirRows) {
    // The shipped help file, as the program folder holds it.
    {
        std::ifstream in(std::string(MOVRA_TEST_SOURCE_DIR) + "/resources/帮助文件.txt", std::ios::binary);
        std::ofstream out(program.Str() + "/帮助文件.txt", std::ios::binary);
        out << in.rdbuf();
    }
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QWidget* bar = run.binder.WidgetOf(run.form1.Toolbar1);
    ASSERT_NE(qobject_cast<QToolBar*>(bar), nullptr);
    SavePicture(window, "main-toolbar.png");

    // The button itself: 设层 shows the layer manager, modeless.
    QToolButton* layers = ButtonWithText(bar, "设层");
    ASSERT_NE(layers, nullptr);
    ASSERT_TRUE(layers->isEnabled());
    layers->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.form2);
    EXPECT_TRUE(run.binder.WindowOf(*app.form2)->isVisible());
    EXPECT_EQ(run.form1.Label6.BackColor(), MakeRgb(255, 255, 0));  // a tool is still armed

    // A drop-down item: 帮助 under 问？ shows the help viewer; a click on a topic shows its text.
    QToolButton* ask = ButtonWithText(bar, "问？");
    ASSERT_NE(ask, nullptr);
    ASSERT_NE(ask->menu(), nullptr);
    QAction* help = nullptr;
    for (QAction* action : ask->menu()->actions())
        if (action->text() == "帮助") help = action;
    ASSERT_NE(help, nullptr);
    help->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(app.helpViewer);
    QWidget* helpWindow = run.binder.WindowOf(*app.helpViewer);
    ASSERT_NE(helpWindow, nullptr);
    EXPECT_TRUE(helpWindow->isVisible());
    EXPECT_EQ(helpWindow->windowTitle().toStdString(), "帮助？");

    QWidget* topic = run.binder.WidgetOf(app.helpViewer->Label1(3));
    ASSERT_NE(topic, nullptr);
    const QPointF inside(4, 4);
    QMouseEvent press(QEvent::MouseButtonPress, inside, topic->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, topic->mapToGlobal(inside), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(topic, &press);
    QApplication::sendEvent(topic, &release);
    QApplication::processEvents();
    const std::string shown = app.helpViewer->Text1.Text();
    EXPECT_EQ(shown.rfind("S4.打开文件\r\n \r\n工具栏“打开”按钮", 0), 0u) << shown;
    SavePicture(helpWindow, "help-viewer.png");
}

}  // namespace
}  // namespace movra
