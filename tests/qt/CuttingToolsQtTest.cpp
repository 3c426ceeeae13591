#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "App.h"
#include "display/Redraw.h"
#include "document/UndoJournal.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

// The cutting tool armed from the main tool bar's menu and driven by real mouse events, its
// question answered in the real message box, undone with the tool bar's button.
struct CuttingToolsQtTest : ::testing::Test, ShownMainWindow {
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    // Ground units to canvas pixels, y up.
    QPoint Pixel(double x, double y) {
        return QPoint(static_cast<int>(std::lround(x * ppu)), static_cast<int>(std::lround(canvas->height() - y * ppu)));
    }
    void PressPanelButton(int index) {
        auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command8(index)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
    }
    // Answers the next question with the button of that text while `clicks` run.
    template <class F>
    void Answering(const QString& answer, F clicks) {
        bool answered = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || answered) return;
            for (QAbstractButton* button : box->buttons())
                if (button->text() == answer) {
                    answered = true;
                    button->click();
                }
        });
        timer.start(10);
        clicks();
        timer.stop();
        EXPECT_TRUE(answered);
    }
    void ClickAt(double x, double y) {
        const QPoint p = Pixel(x, y);
        Send(QEvent::MouseMove, p - QPoint(6, 4), Qt::NoButton, Qt::NoButton);
        Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
    QToolButton* ToolButton(const QString& text) {
        for (auto* tool : binder.WidgetOf(form1.Toolbar1)->findChildren<QToolButton*>())
            if (tool->text() == text) return tool;
        return nullptr;
    }
    // The menu item 裁剪 under 注记, as the user picks it.
    void ArmCutting() {
        QToolButton* notes = ToolButton("注记");
        ASSERT_NE(notes, nullptr);
        ASSERT_NE(notes->menu(), nullptr);
        QAction* cut = nullptr;
        for (QAction* action : notes->menu()->actions())
            if (action->text() == "裁剪") cut = action;
        ASSERT_NE(cut, nullptr);
        cut->trigger();
        QApplication::processEvents();
    }
    // Draws the cutting line; when the question shows, the canvas is saved as `preview` and the
    // button `answer` pressed.
    void CutWith(const QString& answer, const std::string& preview = "") {
        bool answered = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || answered) return;
            if (!preview.empty()) canvas->grab().save(QString::fromStdString(preview));
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == answer) {
                    answered = true;
                    button->click();
                    return;
                }
            }
        });
        timer.start(10);
        ClickAt(1, 10);
        ClickAt(49, 10);
        timer.stop();
        EXPECT_TRUE(answered);
    }
    std::vector<MapRecord> Layer() {
        std::vector<MapRecord> out;
        for (int k = 0; k < app.store.Count(1); ++k) out.push_back(app.store.Get(1, k));
        return out;
    }
    void Put(std::uint8_t type, std::vector<double> v) {
        MapRecord& r = app.store.At(1, app.store.Count(1)++);
        r.RecordType = type;
        r.RecordColor = MakeRgb(255, 255, 0);
        double* f[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                        &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        for (std::size_t k = 0; k < v.size(); ++k) *f[k] = v[k];
    }

    double ppu = 10;  // pixels a ground unit
};

TEST_F(CuttingToolsQtTest, CutAwaySplitAndUndoFromTheMenuAndRealClicks) {
    ASSERT_NE(canvas, nullptr);
    app.view.ScaleFactor = 1;
    ppu = std::floor(std::min(canvas->width() / 50.0, canvas->height() / 20.0));
    ASSERT_GE(ppu, 4);
    form1.Picture1.SetScale(0, canvas->height() / ppu, canvas->width() / ppu, -canvas->height() / ppu);
    app.tool.SnapOn = 0;
    app.store.CurrentLayer = 1;
    app.store.Count(1) = 0;
    // A quadrilateral, a chain of four vertices, a circle and an arc through angle 0, all crossed
    // by the horizontal line y = 10.
    Put(6, {5, 5, 15, 5, 15, 15, 5, 15});
    Put(4, {18, 5, 22, 15, 26, 5, 30, 15});
    Put(7, {36, 10, 4, 1});
    Put(8, {44, 10, 4, 1, 5.5, 1.0});
    UndoCheckpoint(app, 0);
    刷新(app);
    QApplication::processEvents();
    canvas->grab().save(LookAt("movra_cut_before.png"));
    const std::vector<MapRecord> before = Layer();

    // Cancel: the preview only, nothing changed, the tool disarmed.
    ArmCutting();
    EXPECT_EQ(app.tool.CommandMode, ModeCutLinesAndAreas);
    EXPECT_EQ(form1.Text2.Text(), "割去(其余层锁定)");
    CutWith("取消", LookAtPath("movra_cut_preview.png"));
    EXPECT_EQ(Layer(), before);
    EXPECT_EQ(app.tool.CommandMode, ModeJournalHold);

    // Yes cuts away: each record at its first crossing.
    app.current.ModifiedFlag = 0;
    ArmCutting();
    CutWith("是(&Y)");
    const std::vector<MapRecord> cut = Layer();
    ASSERT_EQ(cut.size(), 6u);
    EXPECT_EQ(cut[0].RecordType, 2);  // the quadrilateral opened at its right side
    EXPECT_EQ(cut[1].RecordType, 1);  // the chain's first vertex, beyond the line's kept side
    EXPECT_EQ(cut[2].RecordType, 8);  // the circle now an arc
    EXPECT_EQ(cut[4].RecordType, 4);
    EXPECT_EQ(cut[5].RecordType, 4);
    EXPECT_NEAR(std::sin(cut[3].RecordY3), 0, 1e-9);  // the arc ends where the line crosses it
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    刷新(app);
    QApplication::processEvents();
    canvas->grab().save(LookAt("movra_cut_away.png"));

    // One press of 撤消 puts the layer back, one of 反撤 cuts again.
    QToolButton* undo = ToolButton("撤消");
    QToolButton* redo = ToolButton("反撤");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    undo->click();
    QApplication::processEvents();
    EXPECT_EQ(Layer(), before);
    ASSERT_TRUE(redo->isEnabled());
    redo->click();
    QApplication::processEvents();
    EXPECT_EQ(Layer(), cut);
    undo->click();
    QApplication::processEvents();
    EXPECT_EQ(Layer(), before);

    // No splits: nothing is lost, every crossed record in two (the arc's one crossing too).
    ArmCutting();
    CutWith("否(&N)");
    const std::vector<MapRecord> split = Layer();
    EXPECT_EQ(split.size(), 8u);
    刷新(app);
    QApplication::processEvents();
    canvas->grab().save(LookAt("movra_cut_split.png"));
    undo->click();
    QApplication::processEvents();
    EXPECT_EQ(Layer(), before);
}

TEST_F(CuttingToolsQtTest, TrimAStubAndKeepRowsInsideAParcelFromThePanel) {
    ASSERT_NE(canvas, nullptr);
    app.view.ScaleFactor = 1;
    ppu = std::floor(std::min(canvas->width() / 50.0, canvas->height() / 20.0));
    ASSERT_GE(ppu, 4);
    form1.Picture1.SetScale(0, canvas->height() / ppu, canvas->width() / ppu, -canvas->height() / ppu);
    app.tool.SnapOn = 0;
    app.store.CurrentLayer = 1;
    app.store.Count(1) = 0;
    app.store.LayerOnFlag[1] = -1;
    // A parcel and a line running on 4 units past its corner.
    Put(6, {5, 3, 30, 3, 30, 17, 5, 17});
    Put(2, {20, 3, 34, 3});
    UndoCheckpoint(app, 0);
    const std::vector<MapRecord> before = Layer();

    // Button 21 arms the trim; a short line across the stub, Yes.
    PressPanelButton(21);
    EXPECT_EQ(app.tool.CommandMode, ModeTrimStubs);
    Answering("是(&Y)", [&] {
        ClickAt(32, 1);
        ClickAt(32, 5);
    });
    EXPECT_EQ(app.store.Get(1, 1).RecordX2, 32);
    EXPECT_EQ(app.tool.CommandMode, ModeTrimStubs);
    QToolButton* undo = ToolButton("撤消");
    ASSERT_NE(undo, nullptr);
    undo->click();
    QApplication::processEvents();
    EXPECT_EQ(Layer(), before);
    // Trimmed at the corner this time.
    Answering("是(&Y)", [&] {
        ClickAt(30, 1);
        ClickAt(30, 5);
    });
    EXPECT_EQ(app.store.Get(1, 1).RecordX2, 30);

    // Button 30 arms keeping inside: a line across the parcel, then two parallels below it.
    PressPanelButton(30);
    EXPECT_EQ(app.tool.CommandMode, ModeKeepInside);
    app.current.CurrentColor = MakeRgb(255, 0, 255);
    const int start = app.store.Count(1);
    ClickAt(1, 14);
    ClickAt(45, 14);
    ClickAt(20, 10);
    ClickAt(20, 6);
    ASSERT_EQ(app.store.Count(1) - start, 3);
    for (int k = start; k < start + 3; ++k) {
        const MapRecord& r = app.store.Get(1, k);
        EXPECT_EQ(r.RecordType, 2);
        EXPECT_NEAR(std::min(r.RecordX1, r.RecordX2), 5, 1e-6);
        EXPECT_NEAR(std::max(r.RecordX1, r.RecordX2), 30, 1e-6);
        EXPECT_EQ(std::string(r.RecordText), app.tool.CommandArgument);
    }
    EXPECT_NEAR(app.store.Get(1, start + 2).RecordY1, 6, 0.2);
    刷新(app);
    QApplication::processEvents();
    canvas->grab().save(LookAt("movra_keep_inside_rows.png"));
}

}  // namespace
}  // namespace movra
