#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <functional>

#include "App.h"
#include "DialogTestHelpers.h"
#include "basic/Files.h"
#include "basic/Gbk.h"
#include "GoldenPicture.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Numbers.h"
#include "exchange/wbxxFrm.h"
#include "support/TestApp.h"

namespace movra {
namespace {

TEST(ClipboardLinkQt, ATextPutOnTheClipboardBecomesAPointOnTheCanvas) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QGuiApplication::clipboard()->clear();

    QAction* start = MenuAction(run, "插入", "启动超级链");
    ASSERT_NE(start, nullptr);
    bool chosen = false;
    ModalWatchdog watchdog([&] {
        if (app.linkDialog && app.linkDialog->Loaded()) app.linkDialog->Unload();
    });
    ModalDriver driver([&](QWidget* window) {
        if (chosen || !app.linkDialog || window != run.binder.WindowOf(*app.linkDialog)) return;
        chosen = true;
        wbxxFrm& d = *app.linkDialog;
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle().toStdString(), "启动超级链");
        // Polling already, every second until an interval is chosen.
        EXPECT_TRUE(run.form1.Timer1.Running());
        auto* intervals = BoundWidget<QListWidget>(run, d.List1);
        auto* layouts = BoundWidget<QListWidget>(run, d.List2);
        ASSERT_TRUE(intervals && layouts);
        intervals->setCurrentRow(2);  // "10"
        layouts->setCurrentRow(11);   // "idxyz"
        SaveTestPicture(window->grab().toImage(), "clipboard-link-dialog.png");
        PressLater(BoundWidget<QPushButton>(run, d.Command1));
    });
    start->trigger();  // returns when the dialog is closed
    ASSERT_TRUE(chosen);
    EXPECT_FALSE(app.linkDialog->Loaded());
    EXPECT_EQ(run.form1.Timer1.Interval(), 10);
    EXPECT_EQ(run.form1.link.ClipboardLinkFormat, "idxyz");

    // A point left of the view: the view follows it.
    PictureBox& canvas = run.form1.Picture1;
    const double width = canvas.ScaleWidth();
    const double x = canvas.ScaleLeft() - width, y = canvas.ScaleTop() + canvas.ScaleHeight() / 2;
    const std::string text = "6," + PlainNumberText(x) + "," + PlainNumberText(y) + ",5.23'";
    QWidget* picture = run.binder.WidgetOf(canvas);
    ASSERT_NE(picture, nullptr);
    const QImage blank = picture->grab().toImage();
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    ASSERT_TRUE(WaitFor([&] { return app.store.Count(1) == 1; }));
    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordType, 46);
    EXPECT_DOUBLE_EQ(r.RecordX1, x);
    EXPECT_DOUBLE_EQ(r.RecordY1, y);
    EXPECT_NEAR(canvas.ScaleLeft(), x - width / 4, 1e-6);
    // Further polls of the same text add nothing: three more are counted as they come.
    int polls = 0;
    const auto poll = run.form1.Timer1.onTimer;
    run.form1.Timer1.onTimer = [&polls, poll] {
        poll();
        ++polls;
    };
    ASSERT_TRUE(WaitFor([&] { return polls >= 3; }));
    run.form1.Timer1.onTimer = poll;
    EXPECT_EQ(app.store.Count(1), 1);

    SaveTestPicture(picture->grab().toImage(), "clipboard-link-point.png");
    // The point (a dot of a pixel) is drawn where it lies, a quarter of the width inside the left
    // edge: a pixel around it changes.
    const QImage shot = picture->grab().toImage();
    const int px = static_cast<int>(canvas.surface().ToPixelX(x));
    const int py = static_cast<int>(canvas.surface().ToPixelY(y));
    const QRect around(px - 6, py - 6, 13, 13);
    EXPECT_GT(DifferentPixels(blank.copy(around), shot.copy(around)), 0) << px << "," << py;
    run.form1.Timer1.SetEnabled(false);
}

TEST(ClipboardLinkQt, AControlPointGroupFromTheMenuComesOnTheCanvas) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    // Three control points around the middle of the view, north before east, as surveyors write
    // them: separated by commas, by commas and blanks, and by blanks with a comma in the name;
    // blank lines between them.
    PictureBox& canvas = run.form1.Picture1;
    const double cx = canvas.ScaleLeft() + canvas.ScaleWidth() / 2;
    const double cy = canvas.ScaleTop() + canvas.ScaleHeight() / 2;
    const double d = canvas.ScaleWidth() / 6;
    std::string content;
    const char* names[3] = {"K1", "K2", "K3,1"};
    const char* separators[3] = {",", ", ", " "};
    for (int k = 0; k < 3; ++k) {
        const std::string sep = separators[k];
        content += std::string(names[k]) + sep + PlainNumberText(cy + (k - 1) * d / 2) + sep +
                   PlainNumberText(cx + (k - 1) * d) + sep + "12.5" + sep + "5\r\n\r\n";
    }
    const std::string path = work.Str() + "/控制点.txt";
    WriteWholeFile(path, ToGbk(content + "EOF\r\n"));

    QAction* menu = MenuAction(run, "插入", "控制点群");
    ASSERT_NE(menu, nullptr);
    bool formatShown = false, fileChosen = false;
    std::string summary;
    ModalWatchdog watchdog(CloseActiveModal);
    // The format dialog first: the link's own controls are locked; OK keeps the standard format.
    // Then the open-file dialog, given the file.
    ModalDriver driver([&](QWidget* window) {
        if (auto* files = qobject_cast<QFileDialog*>(window)) {
            if (fileChosen) return;
            fileChosen = true;
            EXPECT_EQ(files->windowTitle().toStdString(), "打开文本*.txt");
            files->selectFile(QString::fromStdString(path));
            // The dialog leaves its name box alone while the box has the focus, as it may have
            // once the dialog is active: then the name is typed in, as a user would.
            if (auto* name = files->findChild<QLineEdit*>("fileNameEdit"); name && name->text().isEmpty())
                name->setText(QString::fromStdString(path));
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            // After the file, the import says what it stored; nothing else may ask.
            if (fileChosen && summary.empty())
                summary = box->text().toStdString();
            else
                ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
            QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
            return;
        }
        if (formatShown || !app.linkDialog || window != run.binder.WindowOf(*app.linkDialog)) return;
        formatShown = true;
        wbxxFrm& dialog = *app.linkDialog;
        EXPECT_TRUE(window->isVisible());
        EXPECT_NE(window->windowTitle().toStdString(), "启动超级链");
        EXPECT_FALSE(run.binder.WidgetOf(dialog.Command2)->isEnabled());
        EXPECT_FALSE(run.binder.WidgetOf(dialog.List1)->isEnabled());
        EXPECT_EQ(BoundWidget<QPushButton>(run, dialog.Command4)->text().toStdString(), "取消");
        SaveTestPicture(window->grab().toImage(), "point-group-format-dialog.png");
        PressLater(BoundWidget<QPushButton>(run, dialog.Command1));
    });
    QWidget* picture = run.binder.WidgetOf(canvas);
    ASSERT_NE(picture, nullptr);
    const QImage blank = picture->grab().toImage();
    menu->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(formatShown);
    ASSERT_TRUE(fileChosen);
    EXPECT_EQ(summary, "控制点.txt：读入3个点。");
    ASSERT_EQ(app.store.Count(1), 3);
    const MapRecord& k2 = app.store.Get(1, 1);
    EXPECT_EQ(k2.RecordType, 50);
    EXPECT_EQ(std::string(k2.RecordText), "K2");
    EXPECT_NEAR(k2.RecordX1, cx, 1e-6);
    EXPECT_NEAR(k2.RecordY1, cy, 1e-6);
    EXPECT_FLOAT_EQ(k2.RecordZ4, 5);
    const MapRecord& k3 = app.store.Get(1, 2);
    EXPECT_EQ(std::string(k3.RecordText), "K3,1");
    EXPECT_NEAR(k3.RecordX1, cx + d, 1e-6);
    EXPECT_NEAR(k3.RecordY1, cy + d / 2, 1e-6);

    SaveTestPicture(picture->grab().toImage(), "point-group-points.png");
    // K2 is drawn at the middle of the view: the pixels around it change.
    const QImage shot = picture->grab().toImage();
    const int px = static_cast<int>(canvas.surface().ToPixelX(cx));
    const int py = static_cast<int>(canvas.surface().ToPixelY(cy));
    const QRect around(px - 10, py - 10, 21, 21);
    EXPECT_GT(DifferentPixels(blank.copy(around), shot.copy(around)), 3);
}

}  // namespace
}  // namespace movra
