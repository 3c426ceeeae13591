// The floating view bar in the shown main window: its buttons run their view commands, and a drag
// that starts on the bar arms the canvas's dragging of the bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {
namespace {

TEST(ViewBarQtTest, TheButtonsRunTheirCommandsAndTheBarIsDraggedOverTheCanvas) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    auto* bar = qobject_cast<QToolBar*>(run.binder.WidgetOf(run.form1.Toolbar2));
    ASSERT_NE(bar, nullptr);
    std::vector<QToolButton*> buttons;
    for (auto* button : bar->findChildren<QToolButton*>())
        if (button->objectName() != "qt_toolbar_ext_button") buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 5u);

    // 缩放2 (the fourth) with the station pick armed: the zoom returns to it afterwards.
    app.tool.CommandMode = ModePickStation;
    app.selection.SelectionList = {{2, 0}, {1, 0}};
    buttons[3]->click();
    QApplication::processEvents();
    EXPECT_EQ(app.tool.CommandMode, ModeZoomDrag);
    EXPECT_EQ(app.tool.PreviousMode, ModePickStation);
    EXPECT_EQ(app.selection.SelectionList[1].Layer, 0);
    // 刷新2 (the second) leaves nothing armed and the lamp red.
    buttons[1]->click();
    QApplication::processEvents();
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(run.form1.Label6.BackColor(), MakeRgb(255, 0, 0));

    // A move over the bar with the left button held arms the bar's dragging; the canvas then
    // carries the bar with the cursor.
    const QPoint onBar(bar->width() - 3, bar->height() / 2);
    SendMouse(bar, QEvent::MouseButtonPress, onBar, Qt::LeftButton, Qt::LeftButton);
    SendMouse(bar, QEvent::MouseMove, onBar, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(app.tool.CommandMode, ModeDragMenu);

    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    const QPoint to(canvas->width() / 2, canvas->height() / 2);
    SendMouse(canvas, QEvent::MouseButtonPress, to, Qt::LeftButton, Qt::LeftButton);
    SendMouse(canvas, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_NEAR(bar->x(), to.x(), 3);
    EXPECT_NEAR(bar->y(), to.y(), 3);
}

}  // namespace
}  // namespace movra
