// Pastes, saves and opens in the shown window, as a user reaches them: a paste made with the keys
// is asked for before 新建 replaces the map; the query window's stand-ins for unnamed fields raise
// no warning when the map is saved as .jdx; and a map opened again starts with an empty message line.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "document/StoreRecord.h"
#include "support/TestApp.h"
#include "symbols/chaxunfrm.h"

namespace movra {
namespace {

class MapCommandsQt : public ::testing::Test {
protected:
    MapCommandsQt() {
        run.Start();
        QApplication::processEvents();
        canvas = run.binder.WidgetOf(run.form1.Picture1);
        // Two lines across the middle of the canvas.
        const Surface& s = run.form1.Picture1.surface();
        app.store.CurrentLayer = 1;
        for (int k = 0; k < 2; ++k) {
            a[k] = QPoint(120, 120 + 60 * k);
            b[k] = QPoint(260, 120 + 60 * k);
            StoreRecord(app, StoreFull, 2, s.FromPixelX(a[k].x()), s.FromPixelY(a[k].y()), s.FromPixelX(b[k].x()),
                        s.FromPixelY(b[k].y()), 0, 0, 0, 0, "");
        }
        app.current.ModifiedFlag = 0;
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(canvas, &press);
        QApplication::processEvents();
    }
    QToolButton* Button(const QString& text) {
        for (auto* button : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
            if (button->text() == text) return button;
        return nullptr;
    }
    // Notes every message box that comes up and answers it with the button whose text starts
    // with `answer`.
    void AnswerBoxes(const QString& answer) {
        driver = std::make_unique<ModalDriver>([this, answer](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || !box->isVisible() || box == answered) return;
            answered = box;
            boxes.push_back(box->text().toStdString());
            for (QAbstractButton* button : box->buttons())
                if (button->text().startsWith(answer)) PressLater(button);
        });
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    App& app = run.app;
    QWidget* canvas = nullptr;
    QPoint a[2], b[2];
    std::vector<std::string> boxes;
    QMessageBox* answered = nullptr;
    std::unique_ptr<ModalDriver> driver;
    ModalWatchdog watchdog{CloseActiveModal};
};

// The lines selected with key X and a window, copied with Ctrl+C and pasted with Ctrl+V: the map
// now holds records of its own, and 新建 asks before it replaces them; Cancel keeps them.
TEST_F(MapCommandsQt, APasteIsAskedForBeforeANewMap) {
    Key(Qt::Key_X);
    DragOn(canvas, a[0] - QPoint(20, 20), b[1] + QPoint(20, 20), 4);
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 3);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    QAction* newMap = MenuAction(run, "打开", "新建");
    ASSERT_NE(newMap, nullptr);
    AnswerBoxes("取消");
    newMap->trigger();
    QApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "文件未保存，要保存吗？是_保存，否_不保存，取消_不新建");
    EXPECT_EQ(app.store.Count(1), 4);
}

// Choosing the attribute classes in the query window shows "未设置" for their unnamed fields; the
// map's .jdx is then saved by 存盘 without a word about field names. Opened again from the recent
// files, the map shows no message the map before left.
TEST_F(MapCommandsQt, TheQueryWindowsStandInsRaiseNoWarningAndAnOpenedMapNoOldMessage) {
    const std::string path = work.Str() + "/plan.jdx";
    app.current.CurrentFilePath = path;
    app.current.ModifiedFlag = -1;
    QToolButton* ask = Button("问？");
    ASSERT_NE(ask, nullptr);
    ask->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.queryDialog);
    auto* classes = BoundWidget<QListWidget>(run, app.queryDialog->List1);
    auto* fields = BoundWidget<QListWidget>(run, app.queryDialog->List2);
    ASSERT_TRUE(classes && fields);
    for (int c = 1; c <= 4; ++c) {
        classes->setCurrentRow(c);
        ASSERT_GE(fields->count(), 1);
        EXPECT_EQ(fields->item(0)->text().toStdString(), "未设置");
    }
    BoundWidget<QPushButton>(run, app.queryDialog->Command2)->click();
    QApplication::processEvents();

    AnswerBoxes("否");
    QToolButton* save = Button("保存");
    ASSERT_NE(save, nullptr);
    save->click();
    QApplication::processEvents();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(app.current.ModifiedFlag, 0);

    run.form1.Text2.SetText("旧图的消息");
    QAction* recent = nullptr;
    for (auto* tool : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (tool->text() == "打开" && tool->menu())
            for (QAction* action : tool->menu()->actions())
                if (!recent && action->text().endsWith("plan.jdx")) recent = action;
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    QApplication::processEvents();
    EXPECT_EQ(app.current.CurrentFilePath, path);
    EXPECT_EQ(app.store.Get(1, 1).RecordType, 2);
    EXPECT_EQ(run.form1.Text2.Text(), "");
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace movra
