#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "App.h"
#include "display/Redraw.h"
#include "document/StoreRecord.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

// The point marks and the offset constructions driven by real mouse events on the shown main
// window's canvas, the tools armed as the method panel arms them.
struct MarkAndOffsetToolsQtTest : ::testing::Test, ShownMainWindow {
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    void Arm(std::uint8_t mode, const std::string& prompt, const std::string& entry) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
        form1.Text2.SetText(prompt);
        form1.Text8.SetText(entry);
    }
    // Hovers to each pixel from beside it and clicks there, as a hand does.
    void ClickThrough(std::initializer_list<QPoint> points) {
        for (QPoint p : points) {
            Send(QEvent::MouseMove, p - QPoint(6, 4), Qt::NoButton, Qt::NoButton);
            Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
            Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        }
        QApplication::processEvents();
    }
    // A right click pauses the tool, a second one leaves none paused.
    void RightClickTwice() {
        for (int i = 0; i < 2; ++i) {
            Send(QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
            Send(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton, Qt::NoButton);
        }
        QApplication::processEvents();
    }
    int Count() { return app.store.Count(app.store.CurrentLayer); }
    const MapRecord& Record(int slot) { return app.store.At(app.store.CurrentLayer, slot); }
};

TEST_F(MarkAndOffsetToolsQtTest, MarksRingsParallelsAndPipeStripsAsDrawnAndRedrawn) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_GE(canvas->width(), 500);
    ASSERT_GE(canvas->height(), 300);
    // 1:2000, fifteen pixels to the metre.
    app.view.ScaleFactor = 2;
    form1.Picture1.SetScale(0, canvas->height() / 15.0, canvas->width() / 15.0, -canvas->height() / 15.0);
    form1.Text4_Click();
    刷新(app);
    QApplication::processEvents();
    app.tool.SnapOn = 0;
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    const int before = Count();
    const QImage blank = Canvas();

    // The four land-use marks and circles of the three sizes, each placed by a second click.
    int x = 40;
    for (const char* mark : {"加注水田符号", "加注水生作物符号", "加注旱地符号", "加注草地符号"}) {
        Arm(ModeLandUseMark, mark, "");
        ClickThrough({QPoint(x - 20, 340), QPoint(x, 350)});
        x += 60;
    }
    for (auto [prompt, size] : {std::pair{"加1.0mm圆", "1.0"}, std::pair{"加1.6mm圆", "1.6"}, std::pair{"加0.5mm圆", "0.5"}}) {
        Arm(ModeSmallCircle, prompt, size);
        ClickThrough({QPoint(x - 20, 340), QPoint(x, 350)});
        x += 40;
    }
    EXPECT_EQ(Count() - before, 7);
    EXPECT_EQ(Record(before).RecordType, 16);
    EXPECT_EQ(Record(before + 3).RecordType, 19);
    EXPECT_DOUBLE_EQ(Record(before + 4).RecordX2, 1.0);
    EXPECT_DOUBLE_EQ(Record(before + 5).RecordX2, 1.6);

    // A ring clicked round and closed, then two rings more, 0.5, 1 and 1.5 mm outside.
    app.current.CurrentColor = MakeRgb(0, 255, 255);
    Arm(ModeRingOffset, "闭合环平行缩放，输入缩放线间距", "0.5");
    ClickThrough({QPoint(80, 250), QPoint(200, 250), QPoint(220, 150), QPoint(120, 120), QPoint(80, 250)});
    EXPECT_EQ(app.tool.ClickCount, 255);
    ClickThrough({QPoint(300, 300), QPoint(300, 300)});
    EXPECT_EQ(form1.Text8.Text(), "1.5");
    RightClickTwice();

    // A polyline with its parallel twin 1 mm to the right.
    app.current.CurrentColor = MakeRgb(0, 255, 0);
    Arm(ModeParallel, "平行线，输入线间距", "1");
    ClickThrough({QPoint(280, 260), QPoint(360, 200), QPoint(420, 250), QPoint(480, 150)});
    RightClickTwice();

    // Pipe strips: one filled (kind 0), one shaded (kind 5).
    app.current.CurrentColor = MakeRgb(255, 128, 0);
    Arm(ModePipeRect, "矩形填充.0规则其他管线", "0");
    form1.Text5.SetText("1.2,3.5,2.0");
    ClickThrough({QPoint(280, 60), QPoint(460, 80), QPoint(400, 40)});
    form1.Text8.SetText("5");
    ClickThrough({QPoint(280, 120), QPoint(460, 120), QPoint(400, 100)});
    EXPECT_EQ(Record(Count() - 2).RecordType, 10);
    EXPECT_EQ(Record(Count() - 1).RecordType, 14);

    const QImage drawn = Canvas();
    drawn.save(LookAt("movra_marks_offsets_drawn.png"));
    EXPECT_GT(DifferentPixels(blank, drawn), 2000);
    刷新(app);
    QApplication::processEvents();
    const QImage redrawn = Canvas();
    redrawn.save(LookAt("movra_marks_offsets_redrawn.png"));
    // The tools drew what the store holds and left no preview behind.
    const int rest = DifferentPixels(drawn, redrawn);
    EXPECT_LT(rest, drawn.width() * drawn.height() / 100) << rest << " pixels differ";
}

// Keeping inside pieces and pouring ink through stand-ins for the operations, which the tools
// reach through their seams: the clicks, the parallel lines and the seed as a user makes them.
TEST_F(MarkAndOffsetToolsQtTest, KeepInsideAndInkReachTheirOperationsFromRealClicks) {
    ASSERT_NE(canvas, nullptr);
    app.view.ScaleFactor = 1;
    form1.Picture1.SetScale(0, canvas->height() / 10.0, canvas->width() / 10.0, -canvas->height() / 10.0);
    form1.Text4_Click();
    app.tool.SnapOn = 0;
    std::vector<std::vector<double>> lines;
    app.geomopsSeams.AddInsidePieces = [&](App& a) {
        const auto& s = a.geometry.ScratchXY;
        lines.push_back({s[2], s[3], s[4], s[5]});
        StoreRecord(a, StoreFull, 2, s[2], s[3], s[4], s[5], 0, 0, 0, 0, "0");
    };
    std::vector<std::pair<int, int>> seeds;
    app.geomopsSeams.墨水填充 = [&](App& a, std::int32_t pn, std::int32_t kn, std::uint8_t) {
        seeds.emplace_back(pn, kn);
        MapRecord& r = a.store.At(a.store.CurrentLayer, a.store.Count(a.store.CurrentLayer));
        r.RecordType = 81;
        r.RecordX1 = pn - 2;
        r.RecordY1 = kn;
        r.RecordZ1 = 4;
        ++a.store.Count(a.store.CurrentLayer);
    };
    const int before = Count();
    app.current.CurrentColor = MakeRgb(255, 0, 255);
    Arm(ModeKeepInside, "割线截留", "0");
    ClickThrough({QPoint(100, 200), QPoint(400, 200), QPoint(250, 230), QPoint(250, 260)});
    ASSERT_EQ(lines.size(), 3u);
    // Each parallel 3 m (30 pixels) below the last, turned round.
    EXPECT_NEAR(lines[1][1], lines[0][1] - 3, 0.2);
    EXPECT_NEAR(lines[2][1], lines[0][1] - 6, 0.2);
    EXPECT_NEAR(lines[1][0], lines[0][2], 0.2);
    RightClickTwice();
    Arm(ModeInkFill, "倒墨水", "7");
    ClickThrough({QPoint(200, 100), QPoint(250, 120)});
    ASSERT_EQ(seeds.size(), 1u);
    EXPECT_EQ(Count() - before, 4);
    EXPECT_EQ(Record(Count() - 1).RecordType, 81);
    EXPECT_EQ(Record(Count()).RecordType, 0);
    刷新(app);
    QApplication::processEvents();
    Canvas().save(LookAt("movra_keep_inside_ink.png"));
}

}  // namespace
}  // namespace movra
