// The windows of the program on a desktop with a window manager: the windows the main window
// opens stay above it when the user goes back to the canvas, and none covers the toolbar, the
// message line or runs off the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "qt/TemporaryDataHome.h"
#include "App.h"
#include "app/MainProgram.h"
#include "document/ColorTable.h"
#include "printing/dayinfrm.h"
#include "sheets/gzfenfufrm.h"
#include "shell/hlep_frm.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"
#include "survey/GPSdaohang.h"
#include "survey/sbclF3.h"

namespace movra {
namespace {

// Lets the window manager and Qt talk until the condition holds. The bound is generous: waiting
// ends as soon as the condition holds, and a machine busy with other tests may take its time.
bool WaitUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 30000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A click of the real pointer, through the X server: the window manager sees it as a user's.
void ClickAt(QPoint global) {
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(global.x()),
                                    QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// The real pointer moves to a point of the screen.
void MoveTo(QPoint global) {
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

// The real pointer passes over a widget: it arrives from beside its centre and stops on it.
void HoverOver(QWidget* widget) {
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    for (QPoint at : {centre - QPoint(3, 2), centre}) MoveTo(at);
}

// The managed windows from the bottom of the stack to the top, as the window manager has them.
std::vector<WId> Stacking() {
    const QString out = Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    std::vector<WId> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(out); it.hasNext();) ids.push_back(it.next().captured(0).toULongLong(nullptr, 16));
    return ids;
}

WId ActiveWindow() {
    const QString out = Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    const auto match = hex.match(out);
    return match.hasMatch() ? match.captured(0).toULongLong(nullptr, 16) : 0;
}

int StackPlace(WId id) {
    const std::vector<WId> ids = Stacking();
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

QRect GlobalRect(QWidget* widget) { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

struct WindowManagerTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
};

TEST_F(WindowManagerTest, OpenedWindowsStayAboveTheMainWindowClearOfTheMessageLineAndOnTheScreen) {
    MainProgram run(program.Str(), work.Str());
    QWidget* main = run.Start();
    // Framed by the manager: its client area lies under the title bar.
    ASSERT_TRUE(WaitUntil([&] {
        return main->isVisible() && main->isMaximized() && StackPlace(main->winId()) >= 0 &&
               main->geometry().top() > main->frameGeometry().top();
    }));
    const QRect screen = main->screen()->availableGeometry();
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    QWidget* messageLine = run.binder.WidgetOf(run.form1.Text2);
    QWidget* toolbar = run.binder.WidgetOf(run.form1.Toolbar1);
    ASSERT_TRUE(canvas && messageLine && toolbar);

    // The GPS window from its button, the settings as the toolbar opens them, the total-station
    // panel from its button.
    auto* gpsButton = qobject_cast<QPushButton*>(run.binder.WidgetOf(run.form1.Command2));
    ASSERT_NE(gpsButton, nullptr);
    ClickAt(gpsButton->mapToGlobal(gpsButton->rect().center()));
    ASSERT_TRUE(WaitUntil([&] { return run.app.gpsWindow && run.binder.WindowOf(*run.app.gpsWindow); }));
    QWidget* gps = run.binder.WindowOf(*run.app.gpsWindow);
    run.form1.SettingsWindow().Show(false);
    QWidget* settings = run.binder.WindowOf(run.form1.SettingsWindow());
    auto* surveyButton = qobject_cast<QPushButton*>(run.binder.WidgetOf(run.form1.Command9));
    ASSERT_NE(surveyButton, nullptr);
    ClickAt(surveyButton->mapToGlobal(surveyButton->rect().center()));
    ASSERT_TRUE(WaitUntil([&] { return run.app.captureWindow && run.binder.WindowOf(*run.app.captureWindow); }));
    QWidget* panel = run.binder.WindowOf(*run.app.captureWindow);
    const std::vector<QWidget*> opened{gps, settings, panel};
    ASSERT_TRUE(WaitUntil([&] {
        for (QWidget* w : opened)
            if (!w->isVisible() || StackPlace(w->winId()) < 0 || w->geometry().top() <= w->frameGeometry().top())
                return false;
        return true;
    }));

    for (QWidget* w : opened) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        const QRect frame = w->frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width()
                                            << "x" << frame.height();
        EXPECT_FALSE(frame.intersects(GlobalRect(messageLine)));
        EXPECT_FALSE(frame.intersects(GlobalRect(toolbar)));
    }

    // Windows that do not place themselves open over the canvas; the panel stands against the
    // right edge of the screen.
    const QRect canvasRect = GlobalRect(canvas);
    EXPECT_TRUE(canvasRect.contains(gps->frameGeometry().center()));
    EXPECT_TRUE(canvasRect.contains(settings->frameGeometry().center()));
    EXPECT_EQ(panel->frameGeometry().right(), screen.right());

    // The user goes back to the canvas, on a spot that no window covers.
    QPoint spot = canvasRect.bottomLeft() + QPoint(12, -12);
    for (QWidget* w : opened) ASSERT_FALSE(w->frameGeometry().contains(spot));
    ClickAt(spot);
    ASSERT_TRUE(WaitUntil([&] { return ActiveWindow() == main->winId(); }));
    const int mainPlace = StackPlace(main->winId());
    for (QWidget* w : opened) {
        SCOPED_TRACE(w->windowTitle().toStdString());
        EXPECT_TRUE(w->isVisible());
        EXPECT_GT(StackPlace(w->winId()), mainPlace);
    }
}

// The print dialog opened from the toolbar, left by "退出" and opened again stands where it stood,
// as large as it was, however often that is done.
TEST_F(WindowManagerTest, ThePrintDialogOpensAgainWhereItWas) {
    MainProgram run(program.Str(), work.Str());
    QWidget* main = run.Start();
    ASSERT_TRUE(WaitUntil([&] { return main->isVisible() && main->geometry().top() > main->frameGeometry().top(); }));
    QToolButton* print = nullptr;
    for (auto* button : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (button->text() == QStringLiteral("打印")) print = button;
    ASSERT_NE(print, nullptr);
    std::vector<QRect> frames;
    for (int time = 1; time <= 3; ++time) {
        SCOPED_TRACE(time);
        // On the button's face, clear of the arrow of its menu.
        ClickAt(print->mapToGlobal(QPoint(print->width() / 4, print->height() / 2)));
        QWidget* dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            dialog = run.app.printDialog ? run.binder.WindowOf(*run.app.printDialog) : nullptr;
            return dialog && dialog->isVisible() && !dialog->isMaximized() && ActiveWindow() == dialog->winId() &&
                   dialog->geometry().top() > dialog->frameGeometry().top();
        }));
        frames.push_back(dialog->frameGeometry());
        auto* leave = qobject_cast<QPushButton*>(run.binder.WidgetOf(run.app.printDialog->Command2));
        ASSERT_NE(leave, nullptr);
        ClickAt(leave->mapToGlobal(leave->rect().center()));
        ASSERT_TRUE(WaitUntil([&] { return !run.binder.WindowOf(*run.app.printDialog); }));
    }
    for (const QRect& frame : frames)
        EXPECT_EQ(frame, frames[0]) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height()
                                    << " after " << frames[0].x() << "," << frames[0].y() << " " << frames[0].width()
                                    << "x" << frames[0].height();
}

// Labels that answer the pointer passing over them hear it without a button held: the help
// topics light up, the sheet window's folder label gets its border.
TEST_F(WindowManagerTest, ThePointerPassingOverLabelsReachesTheirHandlers) {
    MainProgram run(program.Str(), work.Str());
    QWidget* main = run.Start();
    ASSERT_TRUE(WaitUntil([&] { return main->isVisible() && main->geometry().top() > main->frameGeometry().top(); }));

    ShowHelpViewer(run.app);
    ASSERT_TRUE(run.app.helpViewer);
    hlep_frm& help = *run.app.helpViewer;
    ASSERT_TRUE(WaitUntil([&] {
        QWidget* w = run.binder.WindowOf(help);
        return w && w->isVisible() && w->geometry().top() > w->frameGeometry().top();
    }));
    auto* topic = qobject_cast<QLabel*>(run.binder.WidgetOf(help.Label1(3)));
    ASSERT_NE(topic, nullptr);
    HoverOver(topic);
    EXPECT_TRUE(WaitUntil([&] { return help.Label1(3).FontBold(); }));
    EXPECT_TRUE(help.Label1(3).FontItalic());
    EXPECT_EQ(help.Label1(3).ForeColor(), ColorIndexToRgb(1));  // red
    EXPECT_TRUE(topic->font().bold());
    help.Unload();

    ShowStandardDivisionWindow(run.app);
    ASSERT_TRUE(run.app.sheetDivisionWindow);
    gzfenfufrm& sheets = *run.app.sheetDivisionWindow;
    ASSERT_TRUE(WaitUntil([&] {
        QWidget* w = run.binder.WindowOf(sheets);
        return w && w->isVisible() && w->geometry().top() > w->frameGeometry().top();
    }));
    auto* folder = qobject_cast<QLabel*>(run.binder.WidgetOf(sheets.Label3));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->frameShape(), QFrame::NoFrame);
    HoverOver(folder);
    EXPECT_TRUE(WaitUntil([&] { return sheets.Label3.BorderStyle() == 1; }));
    EXPECT_EQ(folder->frameShape(), QFrame::Box);
}

// The attribute viewer (method button 59) under the real pointer: passing over a class-0 record
// shows its popup.
TEST_F(WindowManagerTest, TheAttributeViewerShowsAPopupUnderTheRealPointer) {
    MainProgram run(program.Str(), work.Str());
    QWidget* main = run.Start();
    ASSERT_TRUE(WaitUntil([&] { return main->isVisible() && main->geometry().top() > main->frameGeometry().top(); }));
    App& app = run.app;
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    const QPoint point(300, 200);
    auto* nameTool = qobject_cast<QPushButton*>(run.binder.WidgetOf(run.form1.Command8(55)));
    ASSERT_NE(nameTool, nullptr);
    ClickAt(nameTool->mapToGlobal(nameTool->rect().center()));
    ASSERT_TRUE(WaitUntil([&] { return run.form1.Text2.Text() == "加姓名(00属性)"; }));
    run.form1.Text8.SetText("张三");
    ClickAt(canvas->mapToGlobal(point));
    ClickAt(canvas->mapToGlobal(point));
    ASSERT_TRUE(WaitUntil([&] { return app.store.Count(app.store.CurrentLayer) == 1; }));
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    auto lit = [&] {
        const QImage image = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = point.y() - 10; y < point.y() + 90; ++y)
            for (int x = point.x() - 10; x < point.x() + 110; ++x) {
                const QRgb p = image.pixel(x, y);
                count += std::max({qRed(p), qGreen(p), qBlue(p)}) > 80;
            }
        return count;
    };
    auto* viewer = qobject_cast<QPushButton*>(run.binder.WidgetOf(run.form1.Command8(59)));
    ASSERT_NE(viewer, nullptr);
    ClickAt(viewer->mapToGlobal(viewer->rect().center()));
    ASSERT_TRUE(WaitUntil([&] { return app.tool.CommandMode == ModeViewAttributes; }));
    const int before = lit();
    for (QPoint at : {point + QPoint(60, 60), point + QPoint(20, 20), point + QPoint(2, 1)}) MoveTo(canvas->mapToGlobal(at));
    EXPECT_TRUE(WaitUntil([&] { return lit() > before + 100; })) << before << " " << lit();
}

}  // namespace
}  // namespace movra
