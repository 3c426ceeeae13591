#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cstdlib>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/QueryKinds.h"
#include "symbols/chaxunfrm.h"

namespace movra {
namespace {

struct QueryDialogQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
};

TEST_F(QueryDialogQtTest, FindShowAndReplaceThroughTheRealDialog) {
    MainProgram run(program.Str(), work.Str());
    QWidget* main = run.Start();
    QApplication::processEvents();
    App& app = run.app;
    app.current.CurrentColor = MakeRgb(255, 255, 0);

    // Three parcels' number texts and a line with the same text, about the middle of the canvas.
    const Surface& s = run.form1.Picture1.surface();
    const double x0 = s.FromPixelX(150), y0 = s.FromPixelY(150);
    const double step = s.FromPixelX(60) - s.FromPixelX(0);
    for (int k = 0; k < 3; ++k) {
        MapRecord& r = app.store.At(1, k);
        r.RecordType = 25;
        r.RecordText = k == 2 ? "宗地2" : "宗地";
        r.RecordX1 = x0 + k * step, r.RecordY1 = y0;
        r.RecordX2 = 4, r.RecordY2 = 0.7;
        r.RecordColor = MakeRgb(0, 255, 0);
        r.RecordFont = "宋体";
    }
    MapRecord& line = app.store.At(1, 3);
    line.RecordType = 2;
    line.RecordText = "宗地";
    line.RecordX1 = x0, line.RecordY1 = y0 - step;
    line.RecordX2 = x0 + 2 * step, line.RecordY2 = y0 - step;
    line.RecordColor = MakeRgb(0, 255, 0);
    app.store.Count(1) = 4;
    app.store.LayerOnFlag[1] = -1;

    // The toolbar button 问？ runs its own key, 查询A.
    QToolButton* ask = nullptr;
    for (auto* b : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (b->text() == "问？") ask = b;
    ASSERT_NE(ask, nullptr);
    ask->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.queryDialog);
    chaxunfrm& dialog = *app.queryDialog;
    QWidget* window = run.binder.WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), "chaxunfrm");

    // Options and lists clicked on their widgets.
    auto* phone = BoundWidget<QRadioButton>(run, dialog.Option13);
    auto* annotation = BoundWidget<QRadioButton>(run, dialog.Option1);
    auto* classes = BoundWidget<QListWidget>(run, dialog.List1);
    auto* fields = BoundWidget<QListWidget>(run, dialog.List2);
    ASSERT_TRUE(phone && annotation && classes && fields);
    EXPECT_TRUE(annotation->isChecked());
    phone->click();
    EXPECT_EQ(dialog.QueryKind, QueryClass0);
    classes->setCurrentRow(0);
    EXPECT_EQ(fields->count(), 6);
    fields->setCurrentRow(5);
    EXPECT_EQ(dialog.QueryFieldIndex, 5);
    annotation->click();
    EXPECT_EQ(dialog.QueryKind, QueryAnnotation);

    auto* search = BoundWidget<QLineEdit>(run, dialog.Text1);
    ASSERT_NE(search, nullptr);
    search->insert("宗地");
    EXPECT_EQ(dialog.Text1.Text(), "宗地");
    auto* find = BoundWidget<QPushButton>(run, dialog.Command1);
    ASSERT_NE(find, nullptr);
    find->click();
    QApplication::processEvents();
    EXPECT_EQ(find->text().toStdString(), "查询到3 个");
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 4);
    auto* replace = BoundWidget<QPushButton>(run, dialog.Command4);
    ASSERT_NE(replace, nullptr);
    EXPECT_TRUE(replace->isEnabled());

    // Show the first hit: the real timer flashes it and the beeps go to the speaker layer.
    auto* next = BoundWidget<QPushButton>(run, dialog.Command3);
    ASSERT_NE(next, nullptr);
    next->click();
    EXPECT_EQ(next->text().toStdString(), "下一个");
    EXPECT_EQ(dialog.CurrentHitSlot, 0);
    EXPECT_TRUE(WaitFor([&] { return dialog.FlashBeepCount >= 1; }));
    SaveTestPicture(main->grab().toImage(), "query-main-window.png");
    SaveTestPicture(window->grab().toImage(), "query-dialog.png");

    // Replace in the hit shown, then in the rest.
    auto* replacement = BoundWidget<QLineEdit>(run, dialog.Text3);
    ASSERT_NE(replacement, nullptr);
    replacement->selectAll();
    replacement->insert("宗地9");
    replace->click();
    EXPECT_EQ(app.store.Get(1, 0).RecordText, "宗地9");
    EXPECT_EQ(app.store.Get(1, 1).RecordText, "宗地");
    BoundWidget<QPushButton>(run, dialog.Command5)->click();
    EXPECT_EQ(app.store.Get(1, 1).RecordText, "宗地9");
    EXPECT_EQ(app.store.Get(1, 3).RecordText, "宗地9");
    EXPECT_EQ(app.store.Get(1, 2).RecordText, "宗地2");
    EXPECT_EQ(replace->text().toStdString(), "替换毕");
    EXPECT_FALSE(dialog.Timer1.Running());
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Going over to the main window stops the flash; coming back keeps the search, although the
    // hits in the selection hold other texts.
    next->click();
    EXPECT_TRUE(dialog.Timer1.Running());
    main->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return main->isActiveWindow(); }));
    EXPECT_TRUE(WaitFor([&] { return !dialog.Timer1.Running(); }));
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }));
    QApplication::processEvents();
    EXPECT_EQ(search->text().toStdString(), "宗地");

    // A record picked on the canvas (key X, a click on it) gives the search on coming back.
    main->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return main->isActiveWindow(); }));
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    ASSERT_NE(canvas, nullptr);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &x);
    ClickOn(canvas, PixelOf(s, x0 + 2 * step, y0));
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 2);
    ASSERT_EQ(app.selection.SelectionList[1].Slot, 2);
    window->activateWindow();
    EXPECT_TRUE(WaitFor([&] { return search->text().toStdString() == "宗地2"; }));

    BoundWidget<QPushButton>(run, dialog.Command2)->click();
    QApplication::processEvents();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(app.selection.SelectionList.size(), 1u);
}

}  // namespace
}  // namespace movra
