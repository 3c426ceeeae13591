#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "App.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// The main window over the Qt platform, shown, its command line typed into with real keys.
struct CommandLineQtTest : ::testing::Test {
    CommandLineQtTest() {
        setenv("XDG_DATA_HOME", dataHome.Str().c_str(), 1);
        FillColorAndFontTables(app);
        NewDocument(app);
        binder.Bind(form1);
        form1.Show();
        QApplication::processEvents();
        line = qobject_cast<QLineEdit*>(binder.WidgetOf(form1.Text8));
        app.tool.CommandMode = ModeIdle;
    }
    ~CommandLineQtTest() override { unsetenv("XDG_DATA_HOME"); }

    void Type(const QString& text) {
        line->setFocus();
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(line, &press);
        }
        QApplication::processEvents();
    }
    void Clear() {
        line->selectAll();
        QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QCoreApplication::sendEvent(line, &erase);
        QApplication::processEvents();
    }
    void Click() {
        const QPoint at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, line->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, line->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(line, &press);
        QCoreApplication::sendEvent(line, &release);
        QApplication::processEvents();
    }

    TempFolder dataHome{"xdg"}, program{"program"}, work{"work"};
    QtPlatform platform{program.Str(), work.Str()};
    App app{platform};
    stForm1 form1{app};
    Binder binder{platform};
    QLineEdit* line = nullptr;
};

TEST_F(CommandLineQtTest, TypingIntoTheRealCommandLineArmsAsTheModelDoes) {
    ASSERT_NE(line, nullptr);
    SymbolStandard& standard = app.symbolStandard;
    standard.SymbolNames.Dimension(350);
    standard.SymbolNames.At(228) = "路灯";
    standard.LineTypeNames.Dimension(260);
    standard.SymbolStandardLoaded = -1;
    std::vector<std::string> arguments;
    form1.Text8.onChange = [&] {
        form1.Text8_Change();
        arguments.push_back(app.tool.CommandArgument);
    };

    Type("*228");
    EXPECT_EQ(arguments, (std::vector<std::string>{"0", "2", "22", "228"}));
    EXPECT_EQ(app.tool.CommandMode, ModeMapSymbol);
    EXPECT_EQ(form1.Text2.Text(), "路灯");

    Clear();
    Type("zj:z");
    EXPECT_EQ(line->text(), QString::fromUtf8("zj:砖"));
    EXPECT_EQ(form1.Text8.Text(), "zj:砖");
    EXPECT_EQ(line->cursorPosition(), 4);
    EXPECT_EQ(app.tool.CommandMode, ModeMaterialText);
    EXPECT_EQ(app.current.PendingText, "砖");

    Clear();
    app.tool.CommandMode = ModeLine;
    const int before = app.store.Count(app.store.CurrentLayer);
    Type("ZXY:12.5,100,200");
    EXPECT_EQ(form1.Text2.Text(), "单击确认高程或z,x,y");
    EXPECT_EQ(app.store.Count(app.store.CurrentLayer), before);
    Click();
    EXPECT_EQ(app.store.Count(app.store.CurrentLayer), before + 1);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form1.Label6.BackColor(), MakeRgb(0, 0, 255));
    Click();
    EXPECT_EQ(app.store.Count(app.store.CurrentLayer), before + 1);
}

}  // namespace
}  // namespace movra
