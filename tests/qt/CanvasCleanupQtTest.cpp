// What a tool leaves on the canvas: a placed figure looks as the next redraw shows it, and a tool
// that pauses or ends takes its previews with it. Each case drives the real canvas widget and
// compares its picture with a fresh redraw of the same map.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "display/Redraw.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/shuxfrm.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

struct CanvasCleanupQtTest : ::testing::Test, ShownMainWindow {
    CanvasCleanupQtTest() {
        app.tool.SnapOn = 0;
        app.current.CurrentColor = MakeRgb(255, 255, 0);
    }

    void Panel(int index) {
        auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command8(index)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
    }
    QImage Picture() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint At(double x, double y) { return PixelOf(form1.Picture1.surface(), x, y); }
    void MoveTo(QPoint at) {
        SendMouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QApplication::processEvents();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(canvas, &press);
        QApplication::processEvents();
    }
    // Answers the next message box with its cancelling button, as Esc does.
    static void CancelNextMessageBox() {
        QTimer::singleShot(10, [] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    for (QAbstractButton* b : box->buttons())
                        if (box->buttonRole(b) == QMessageBox::RejectRole) b->click();
                    return;
                }
            CancelNextMessageBox();
        });
    }
    // The canvas as it stands against the same map drawn afresh: all of it, or the part within.
    void ExpectSameAsRedraw(const char* name, QRect within = {}) {
        const QImage left = within.isNull() ? Picture() : Picture().copy(within);
        刷新(app);
        QApplication::processEvents();
        const QImage fresh = within.isNull() ? Picture() : Picture().copy(within);
        const int differing = DifferentPixels(left, fresh);
        QPoint first(-1, -1);
        for (int y = 0; y < left.height() && first.x() < 0; ++y)
            for (int x = 0; x < left.width() && first.x() < 0; ++x)
                if (left.size() == fresh.size() && left.pixel(x, y) != fresh.pixel(x, y)) first = QPoint(x, y);
        EXPECT_EQ(differing, 0) << name << ", first at " << first.x() << "," << first.y();
        if (differing != 0) {
            SaveTestPicture(left, (std::string(name) + "-left.png").c_str());
            SaveTestPicture(fresh, (std::string(name) + "-fresh.png").c_str());
        }
    }
};

// A text placed with the material-text tool is drawn as the redraw draws its record, not at
// another size over the preview.
TEST_F(CanvasCleanupQtTest, APlacedTextLooksAsTheNextRedrawShowsIt) {
    ASSERT_NE(canvas, nullptr);
    app.store.CurrentLayer = 1;
    app.current.TextSize = 4;
    form1.Text8.SetText("zj:砖房");
    app.current.PendingText = "砖房";
    ASSERT_EQ(app.tool.CommandMode, ModeMaterialText);
    const QPoint first = At(0, 0), place = first + QPoint(120, 60);
    ClickOn(canvas, first);
    for (int k = 1; k <= 4; ++k) MoveTo(first + QPoint(30 * k, 15 * k));
    ClickOn(canvas, place);
    ASSERT_EQ(app.store.Count(1), 1);
    ExpectSameAsRedraw("placed-text");
}

// Tools that show a preview while they wait: after the tool pauses (a right click) or finishes,
// nothing of the preview is left.
TEST_F(CanvasCleanupQtTest, APausedOrFinishedToolLeavesNoPreview) {
    ASSERT_NE(canvas, nullptr);
    app.store.CurrentLayer = 1;
    auto panel = [&](int index) {
        auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command8(index)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
    };
    auto rightClick = [&](QPoint at) { ClickOn(canvas, at, Qt::RightButton); };
    const QPoint a(120, 100), b(260, 180), c(330, 120);
    const QPoint d(360, 300), e(480, 380);
    struct Case {
        const char* name;
        std::function<void()> run;
        QRect within{};  // where a command left what a redraw does not draw: the rest is compared
    };
    const Case cases[] = {
        {"line-paused",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             ClickOn(canvas, b);
             for (int k = 1; k <= 3; ++k) MoveTo(b + (c - b) * k / 3);
             rightClick(c);
         }},
        {"rectangle",
         [&] {
             panel(25);
             DragOn(canvas, a, b, 4);
         }},
        {"material-text-paused",
         [&] {
             // Over the line drawn before: each move prints the text away in the back colour,
             // taking the line's pixels with it.
             form1.Text8.SetText("zj:砖房");
             app.current.PendingText = "砖房";
             ClickOn(canvas, a);
             for (int k = 1; k <= 6; ++k) MoveTo(a + (b - a) * k / 6);
             rightClick(b);
         }},
        {"vertex-move-missed",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             ClickOn(canvas, b);
             rightClick(b);
             rightClick(b);
             panel(18);
             ClickOn(canvas, c);
             for (int k = 1; k <= 3; ++k) MoveTo(c + QPoint(10 * k, 20 * k));
             rightClick(c + QPoint(30, 60));
         }},
        {"block-paused",
         [&] {
             panel(46);
             for (QPoint at : {d, QPoint(e.x(), d.y()), e}) {
                 ClickOn(canvas, at);
                 MoveTo(at + QPoint(15, 25));
             }
             rightClick(e + QPoint(15, 25));
         }},
        {"line-left-for-the-toolbar",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             for (int k = 1; k <= 3; ++k) MoveTo(a + (c - a) * k / 3);
             QToolButton* annotation = nullptr;
             for (auto* button : binder.WidgetOf(form1.Toolbar1)->findChildren<QToolButton*>())
                 if (button->text() == "注记") annotation = button;
             ASSERT_NE(annotation, nullptr);
             annotation->click();
             QApplication::processEvents();
         }},
        {"line-left-for-the-selection-key",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             for (int k = 1; k <= 3; ++k) MoveTo(a + (c - a) * k / 3);
             Key(Qt::Key_X);
         }},
        {"line-left-for-a-symbol-button",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             for (int k = 1; k <= 3; ++k) MoveTo(a + (c - a) * k / 3);
             auto* symbol = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command5(0)));
             ASSERT_NE(symbol, nullptr);
             symbol->click();
             QApplication::processEvents();
         }},
        {"line-left-for-the-selection-label",
         [&] {
             panel(17);
             ClickOn(canvas, a);
             for (int k = 1; k <= 3; ++k) MoveTo(a + (c - a) * k / 3);
             QWidget* label = binder.WidgetOf(form1.Label4);
             ASSERT_NE(label, nullptr);
             ClickOn(label, label->rect().center());
         }},
        {"line-left-for-a-paste",
         [&] {
             Key(Qt::Key_X);
             DragOn(canvas, a - QPoint(20, 20), b + QPoint(20, 20), 4);
             Key(Qt::Key_C, Qt::ControlModifier);
             panel(17);
             ClickOn(canvas, d);
             for (int k = 1; k <= 3; ++k) MoveTo(d + (e - d) * k / 3);
             Key(Qt::Key_V, Qt::ControlModifier);
         },
         // The pasted copies stay highlighted over the line: the rubber went elsewhere.
         QRect(d, e).adjusted(-4, -4, 4, 4)},
        {"snapping-switched-off",
         [&] {
             panel(19);
             MoveTo(b);
             Key(Qt::Key_B);
             MoveTo(c);
         }},
        {"snap-marker-over-a-scroll",
         [&] {
             panel(19);
             const Surface& surface = form1.Picture1.surface();
             const double bx = surface.FromPixelX(b.x()), by = surface.FromPixelY(b.y());
             MoveTo(a + QPoint(2, 2));
             Key(Qt::Key_Left);
             MoveTo(At(bx, by) + QPoint(2, 2));
             rightClick(At(bx, by));
         }},
        {"clip-window-given-up",
         [&] {
             panel(6);
             CancelNextMessageBox();
             DragOn(canvas, a - QPoint(20, 20), b + QPoint(20, 20), 4);
         }},
        {"selection-window",
         [&] {
             // Over no record, so that nothing stays highlighted; then a press and release that
             // picks at a point after a short drag.
             Key(Qt::Key_X);
             DragOn(canvas, QPoint(40, 300), QPoint(100, 360), 4);
             Key(Qt::Key_X);
             DragOn(canvas, QPoint(60, 320), QPoint(61, 321), 1);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        test.run();
        ExpectSameAsRedraw(test.name, test.within);
    }
}

// Every tool with a preview that follows the pointer: armed from its method-panel row, clicked
// as far as its preview shows, hovered, then paused by a right click or left for another row.
// Whatever it drew on the way goes with it.
TEST_F(CanvasCleanupQtTest, EveryToolWithAPreviewLeavesNoneBehind) {
    ASSERT_NE(canvas, nullptr);
    namespace fs = std::filesystem;
    fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
    std::string loaded;
    AnswerNextMessageBox(loaded);
    LoadSymbolStandard(app);
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, -1) << loaded;
    app.store.CurrentLayer = 1;
    app.textPlacement.PendingTextLines = {"房高6.0"};
    const QPoint a(120, 100), b(260, 180), c(330, 120), d(200, 260);
    // A line to select for the move and rotate tools.
    Panel(17);
    ClickOn(canvas, a);
    ClickOn(canvas, b);
    ClickOn(canvas, b, Qt::RightButton);
    Key(Qt::Key_X);
    DragOn(canvas, a - QPoint(20, 20), b + QPoint(20, 20), 4);
    ASSERT_GE(app.selection.SelectionList[0].Layer, 2);
    刷新(app);

    // A tool that places its figure at the last click leaves it as the redraw draws it.
    enum class Leave { RightClick, OtherRow, Place };
    struct Case {
        const char* name;
        int row;
        std::vector<QPoint> clicks;
        Leave leave = Leave::RightClick;
        std::function<void()> armed{};  // what the user does once the row is armed
    };
    // The values of an attribute record, six lines, confirmed in the dialog the row shows.
    auto confirmSixValues = [&] {
        ASSERT_TRUE(app.attributeDialog);
        app.attributeDialog->Text2.SetText("甲\r\n乙\r\n丙\r\n丁\r\n戊\r\n己");
        app.attributeDialog->Command1.Click();
        QApplication::processEvents();
        ASSERT_EQ(app.textPlacement.PendingTextLines.size(), 6u);
    };
    const Case cases[] = {
        {"circle-3-points", 28, {a, b}},
        {"arc-3-points", 29, {a, b}, Leave::OtherRow},
        {"ellipse", 31, {a, b}},
        {"smooth-curve", 32, {a, b, c}},
        {"typed-length", 19, {a, b}},
        {"perpendiculars", 20, {a, b}},
        {"perpendicular-foot", 22, {a, b}},
        {"offset-copies", 23, {a, b}},
        {"offset-strips", 26, {a, b}, Leave::OtherRow},
        {"pipe-strip", 33, {a, b}},
        {"parallel", 24, {a, b}},
        {"ring-offset", 27, {a, b, c}},
        {"trim-stubs", 21, {a}},
        {"keep-inside", 30, {a}, Leave::OtherRow},
        {"small-circle", 37, {a}},
        {"land-use-mark", 38, {a}, Leave::OtherRow},
        {"ink-seed", 36, {a}},
        {"map-symbol", 42, {a}},
        {"height-attribute", 52, {a}},
        {"area-register", 49, {a, b}},
        {"move-selection", 1, {a}},
        {"rotate-selection", 2, {a}, Leave::OtherRow},
        {"circle-3-points-placed", 28, {a, b}, Leave::Place},
        {"arc-3-points-placed", 29, {a, b}, Leave::Place},
        {"attribute-class-placed", 48, {a}, Leave::Place, confirmSixValues},
        {"height-attribute-placed", 52, {a}, Leave::Place},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::int32_t before = app.store.Count(1);
        Panel(test.row);
        if (test.armed) test.armed();
        for (QPoint at : test.clicks) ClickOn(canvas, at);
        // Enough moves for the tools that draw every fifth.
        for (int k = 1; k <= 10; ++k) MoveTo(test.clicks.back() + (d - test.clicks.back()) * k / 10);
        if (test.leave == Leave::RightClick) {
            ClickOn(canvas, d, Qt::RightButton);
        } else if (test.leave == Leave::OtherRow) {
            Panel(17);
        } else {
            ClickOn(canvas, d);
            EXPECT_EQ(app.store.Count(1), before + 1);
            SaveTestPicture(Picture(), (std::string(test.name) + ".png").c_str());
        }
        ExpectSameAsRedraw(test.name);
    }
}

}  // namespace
}  // namespace movra
