#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "App.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "shell/MethodPanel.h"
#include "support/TestApp.h"
#include "symbols/LoadSymbolStandard.h"
#include "LookAt.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

// The method panel, the symbol pages and the combos as a user meets them in the shown main window.
struct MethodPanelQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};

    void SetUp() override {
        const fs::path shipped(MOVRA_TEST_PROGRAM_DIR);
        fs::copy_file(shipped / "电子图式.tus", program.Path() / "电子图式.tus");
        fs::create_directories(program.Path() / "mytemp" / "bkbmp");
        for (const char* name : {"sunsystem.bmp", "sunsystemB.bmp"})
            fs::copy_file(shipped / "mytemp" / "bkbmp" / name, program.Path() / "mytemp" / "bkbmp" / name);
    }
    static void Save(QWidget* widget, const std::string& name) {
        widget->grab().save(LookAt("movra-" + name));
    }
    static void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    static void Press(QWidget* widget, Qt::MouseButton button) {
        const QPoint at(widget->width() / 2, widget->height() / 2);
        Mouse(widget, QEvent::MouseButtonPress, at, button, button);
        Mouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
        QApplication::processEvents();
    }
    // The widget the user sees at the middle of `widget`'s place: the one on top of the stack.
    static bool OnTop(QWidget* window, QWidget* widget) {
        const QPoint middle = widget->mapTo(window, QPoint(widget->width() / 2, widget->height() / 2));
        for (QWidget* hit = window->childAt(middle); hit; hit = hit->parentWidget())
            if (hit == widget) return true;
        return false;
    }
};

TEST_F(MethodPanelQtTest, ANewUserDrawsSelectsFlipsUndoesAndArmsASymbol) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start();
    stForm1& form = run.form1;
    App& app = run.app;
    form.SetWindowState(WindowNormal);
    window->resize(1500, 1000);
    QApplication::processEvents();
    QWidget* panel = run.binder.WidgetOf(form.Frame2);
    ASSERT_NE(qobject_cast<QGroupBox*>(panel), nullptr);
    EXPECT_EQ(qobject_cast<QGroupBox*>(panel)->title(), "方法");
    EXPECT_TRUE(OnTop(window, panel));
    auto button8 = [&](int i) { return qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command8(i))); };
    ASSERT_NE(button8(17), nullptr);
    EXPECT_FALSE(button8(17)->icon().isNull());
    EXPECT_EQ(button8(17)->iconSize(), QSize(24, 24));
    // The whole panel fits on the window beside the canvas.
    EXPECT_LE(panel->mapTo(window, QPoint(0, panel->height())).y(), window->height());
    Save(panel, "method-panel.png");
    Save(window, "main-window-method-panel.png");

    // A line from button 17: two clicks and a right click on the canvas.
    QWidget* canvas = run.binder.WidgetOf(form.Picture1);
    app.tool.SnapOn = 0;
    button8(17)->click();
    QApplication::processEvents();
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    EXPECT_EQ(form.Label6.BackColor(), MakeRgb(255, 255, 0));
    const int layer = app.store.CurrentLayer;
    const int before = app.store.Count(layer);
    for (QPoint p : {QPoint(300, 300), QPoint(420, 260)}) {
        Mouse(canvas, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        Mouse(canvas, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Mouse(canvas, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    Mouse(canvas, QEvent::MouseButtonPress, QPoint(300, 300), Qt::RightButton, Qt::RightButton);
    Mouse(canvas, QEvent::MouseButtonRelease, QPoint(300, 300), Qt::RightButton, Qt::NoButton);
    QApplication::processEvents();
    ASSERT_EQ(app.store.Count(layer), before + 1);
    const int slot = before;
    const MapRecord drawn = app.store.Get(layer, slot);

    // X arms the window selection; a drag around the line selects it.
    canvas->setFocus();
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(canvas, &x);
    EXPECT_EQ(app.tool.CommandMode, ModeSelect);
    Mouse(canvas, QEvent::MouseButtonPress, QPoint(280, 240), Qt::LeftButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, QPoint(360, 280), Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, QPoint(440, 320), Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseButtonRelease, QPoint(440, 320), Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 2);
    EXPECT_EQ(app.selection.SelectionList[1].Slot, slot);

    // Button 1 arms the move of the selection.
    button8(1)->click();
    EXPECT_EQ(app.tool.CommandMode, ModeMoveSelection);
    EXPECT_EQ(form.Text2.Text(), "移动已选目标");

    // Button 8 mirrors it left to right about its first point; the toolbar's undo takes it back.
    button8(8)->click();
    QApplication::processEvents();
    const MapRecord& flipped = app.store.Get(layer, slot);
    EXPECT_DOUBLE_EQ(flipped.RecordX1, drawn.RecordX1);
    EXPECT_NEAR(flipped.RecordX2, 2 * drawn.RecordX1 - drawn.RecordX2, 1e-9);
    Save(window, "main-window-flipped.png");
    QToolButton* undo = nullptr;
    for (auto* tool : run.binder.WidgetOf(form.Toolbar1)->findChildren<QToolButton*>())
        if (tool->text() == "撤消") undo = tool;
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(undo->isEnabled());
    undo->click();
    QApplication::processEvents();
    EXPECT_NEAR(app.store.Get(layer, slot).RecordX2, drawn.RecordX2, 1e-9);

    // The symbol standard loaded: the point-symbol buttons show their symbols. "常用" shows page 2,
    // and symbol button 228 arms the symbol tool.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && !box->buttons().empty())
            box->buttons().first()->click();
    });
    answer.start(10);
    LoadSymbolStandard(app);
    answer.stop();
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, -1);
    QWidget* common = run.binder.WidgetOf(form.Command1);
    static_cast<QPushButton*>(common)->click();
    QApplication::processEvents();
    QWidget* page2 = run.binder.WidgetOf(form.Frame1(2));
    EXPECT_TRUE(OnTop(window, page2));
    EXPECT_FALSE(panel->isEnabled());
    // Every point-symbol button shows its symbol's picture.
    for (int i = 0; i <= 349; ++i)
        EXPECT_FALSE(qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command5(i)))->icon().isNull()) << i;
    auto* symbol = qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command5(228)));
    ASSERT_NE(symbol, nullptr);
    symbol->click();
    EXPECT_EQ(app.tool.CommandMode, ModeMapSymbol);
    EXPECT_EQ(form.Text8.Text(), "*228");
    EXPECT_EQ(form.Text2.Text(), app.symbolStandard.SymbolNames.At(228));
    Save(window, "main-window-symbol-page.png");

    // "图式" pages with the left and the right mouse button; every page is saved as a picture.
    QWidget* pages = run.binder.WidgetOf(form.Command7);
    for (int page : {1, 2, 3, 4, 5, 6, 0}) {
        Press(pages, Qt::LeftButton);
        QWidget* shown = run.binder.WidgetOf(form.Frame1(page));
        EXPECT_TRUE(OnTop(window, shown)) << page;
        Save(shown, "symbol-page-" + std::to_string(page) + ".png");
    }
    Press(pages, Qt::RightButton);
    EXPECT_TRUE(OnTop(window, run.binder.WidgetOf(form.Frame1(6))));
    // "主菜单" brings the method panel back, usable.
    Press(run.binder.WidgetOf(form.Command6), Qt::LeftButton);
    EXPECT_TRUE(OnTop(window, panel));
    EXPECT_TRUE(panel->isEnabled());

    // The pen combo: the dashed line with width.
    auto* pen = qobject_cast<QComboBox*>(run.binder.WidgetOf(form.Combo1));
    ASSERT_NE(pen, nullptr);
    ASSERT_EQ(pen->count(), 16);
    Q_EMIT pen->activated(12);
    EXPECT_EQ(app.tool.CommandArgument, "1092");
    EXPECT_FLOAT_EQ(app.current.DashWidth, 0.3f);
}

TEST_F(MethodPanelQtTest, TheDemonstrationShowsItsPictureUnderTheMap) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start();
    stForm1& form = run.form1;
    form.SetWindowState(WindowNormal);
    window->resize(1500, 1000);
    QApplication::processEvents();
    auto* demo = qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command8(9)));
    ASSERT_NE(demo, nullptr);
    demo->click();
    QApplication::processEvents();
    QWidget* canvas = run.binder.WidgetOf(form.Picture1);
    const QImage picture(QString::fromStdString(program.Str() + "/mytemp/bkbmp/sunsystem.bmp"));
    ASSERT_FALSE(picture.isNull());
    const QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Its own pixels from the upper-left corner of the canvas; black map background beyond it.
    EXPECT_EQ(shown.pixel(40, 100), picture.pixel(40, 100));
    EXPECT_EQ(shown.pixel(picture.width() + 20, picture.height() + 20), qRgb(0, 0, 0));
    Save(canvas, "demonstration-picture.png");

    demo->click();
    EXPECT_TRUE(form.Timer3.Running());
    demo->click();
    QApplication::processEvents();
    EXPECT_FALSE(form.Timer3.Running());
    EXPECT_EQ(canvas->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(40, 100), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace movra
