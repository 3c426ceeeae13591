#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "App.h"
#include "CanvasMouse.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/LoadSymbolStandard.h"
#include "LookAt.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

// The text, symbol, elevation and fill tools armed from the real method panel and command line of
// the shown main window, and used with real clicks on its canvas.
struct AnnotationFillToolsQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    std::unique_ptr<MainProgram> run;
    QWidget* canvas = nullptr;
    QLineEdit* line = nullptr;

    void SetUp() override {
        fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
        run = std::make_unique<MainProgram>(program.Str(), work.Str());
        QWidget* window = run->Start();
        run->form1.SetWindowState(WindowNormal);
        window->resize(1500, 1000);
        QApplication::processEvents();
        canvas = run->binder.WidgetOf(run->form1.Picture1);
        line = qobject_cast<QLineEdit*>(run->binder.WidgetOf(run->form1.Text8));
    }
    App& app() { return run->app; }
    stForm1& form() { return run->form1; }

    void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        SendMouse(widget, type, at, button, held);
    }
    // Hovers to each pixel from beside it and clicks there, as a hand does.
    void ClickThrough(std::initializer_list<QPoint> points) {
        for (QPoint p : points) ClickOn(canvas, p);
    }
    void Hover(QPoint p) {
        Mouse(canvas, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        QApplication::processEvents();
    }
    void PressMethod(int i) {
        auto* button = qobject_cast<QPushButton*>(run->binder.WidgetOf(form().Command8(i)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
    }
    // Types at the end of the command line (after what a method button wrote), or over it.
    void Type(const QString& text, bool replace = false) {
        line->setFocus();
        if (replace) line->selectAll();
        else line->end(false);
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(line, &press);
        }
        QApplication::processEvents();
    }
    // A click into the command line runs the command it holds.
    void ClickLine() {
        Mouse(line, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
        Mouse(line, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    int Count() { return app().store.Count(app().store.CurrentLayer); }
    const MapRecord& Record(int slot) { return app().store.At(app().store.CurrentLayer, slot); }
};

TEST_F(AnnotationFillToolsQtTest, TextsSymbolsHeightsFillsAndBlocksFromRealClicks) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_NE(line, nullptr);
    ASSERT_GE(canvas->width(), 640);
    ASSERT_GE(canvas->height(), 540);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && !box->buttons().empty())
            box->buttons().first()->click();
    });
    answer.start(10);
    LoadSymbolStandard(app());
    answer.stop();
    ASSERT_EQ(app().symbolStandard.SymbolStandardLoaded, -1);
    // 1:1000, four pixels to the metre.
    app().view.ScaleFactor = 1;
    app().view.ProjectParams[0] = 1000;
    const double w = canvas->width() / 4.0, h = canvas->height() / 4.0;
    form().Picture1.SetScale(0, h, w, -h);
    form().Text4_Click();
    app().current.TextSize = 8;
    刷新(app());
    QApplication::processEvents();
    app().tool.SnapOn = 0;
    const Rgb red = MakeRgb(220, 0, 0);
    app().current.CurrentColor = red;
    const int start = Count();

    // Material texts from button 47 and the typed text: upright, at 30° and at -90°.
    PressMethod(47);
    Type("水泥");
    EXPECT_EQ(app().tool.CommandMode, ModeMaterialText);
    EXPECT_EQ(app().current.PendingText, "水泥");
    int y = 80;
    for (const char* angle : {"0", "30", "-90"}) {
        form().Text6.SetText(angle);
        ClickThrough({QPoint(40, y), QPoint(60, y)});
        y += 90;
    }
    ASSERT_EQ(Count() - start, 3);
    EXPECT_EQ(Record(start).RecordType, 65);
    EXPECT_EQ(Record(start + 1).RecordType, 65);
    EXPECT_FLOAT_EQ(Record(start + 1).RecordZ2, 30);
    EXPECT_EQ(Record(start + 2).RecordType, 63);
    EXPECT_EQ(std::string(Record(start + 2).RecordText), "水泥");
    form().Text6.SetText("0");

    // A symbol turned towards the third click, from button 42 and a code typed over its "*228".
    app().current.SymbolAnyDirection = -1;
    PressMethod(42);
    EXPECT_EQ(form().Text8.Text(), "*228");
    Type("*20", true);
    ClickLine();
    EXPECT_EQ(app().tool.CommandArgument, "20");
    ClickThrough({QPoint(280, 100), QPoint(300, 100)});
    Hover(QPoint(370, 40));
    const QImage turning = Canvas();
    turning.save(LookAt("movra_symbol_turning.png"));
    ClickThrough({QPoint(380, 40)});
    const MapRecord& symbol = Record(Count() - 1);
    EXPECT_EQ(symbol.RecordType, 15);
    EXPECT_GT(symbol.RecordX2, 0.5);
    EXPECT_GT(symbol.RecordY2, 0.5);

    // Elevation points from button 44 and a height typed over its "ZXY:999".
    PressMethod(44);
    Type("ZXY:123.5", true);
    ClickLine();
    EXPECT_EQ(app().tool.CommandMode, ModeElevationPoint);
    ClickThrough({QPoint(280, 220), QPoint(290, 220), QPoint(280, 260), QPoint(290, 260)});
    EXPECT_EQ(Record(Count() - 1).RecordType, 61);
    EXPECT_FLOAT_EQ(Record(Count() - 1).RecordZ1, 123.5f);

    // The fill from button 45 with pattern "0": the first click floods the outline it lies in
    // (with a fill brush on the canvas), then the ring closes into fan strips.
    const QPoint a(380, 140), b(620, 330);
    auto& surface = form().Picture1.surface();
    surface.SetDrawMode(DrawModeCopyPen);
    surface.Line(surface.FromPixelX(a.x()), surface.FromPixelY(a.y()), surface.FromPixelX(b.x()),
                 surface.FromPixelY(b.y()), red, LineShape::Box);
    surface.SetFillStyle(FillStyleSolid);
    surface.SetFillColor(MakeRgb(255, 230, 150));
    QApplication::processEvents();
    PressMethod(45);
    Type("0", true);
    const int beforeFan = Count();
    const QImage beforeFlood = Canvas();
    ClickThrough({QPoint(400, 160)});
    const QImage flooded = Canvas();
    int changedInside = 0, changedOutside = 0;
    for (int py = 0; py < flooded.height(); ++py)
        for (int px = 0; px < flooded.width(); ++px) {
            if (flooded.pixel(px, py) == beforeFlood.pixel(px, py)) continue;
            const bool inside = px > a.x() && px < b.x() && py > a.y() && py < b.y();
            (inside ? changedInside : changedOutside)++;
        }
    EXPECT_GT(changedInside, 150 * 150);
    // The cursor's own rubber line may touch pixels near the click; nothing far outside changes.
    EXPECT_EQ(changedOutside, 0);
    surface.SetFillStyle(FillStyleTransparent);
    ClickThrough({QPoint(600, 165), QPoint(590, 310), QPoint(410, 300), QPoint(400, 160)});
    ASSERT_EQ(Count() - beforeFan, 2);
    EXPECT_EQ(Record(beforeFan).RecordType, 59);
    EXPECT_EQ(Record(beforeFan + 1).RecordType, 59);

    // A four-point block from button 46 at 1.5 m.
    PressMethod(46);
    Type("1.5", true);
    ClickThrough({QPoint(40, 400), QPoint(40, 480), QPoint(340, 480), QPoint(340, 400)});
    EXPECT_EQ(Record(Count() - 1).RecordType, 58);
    EXPECT_FLOAT_EQ(Record(Count() - 1).RecordZ4, 50);

    Canvas().save(LookAt("movra_annotation_fill_drawn.png"));
    Canvas().copy(0, 40, 360, 260).scaled(1080, 780).save(LookAt("movra_annotation_texts_drawn.png"));
    刷新(app());
    QApplication::processEvents();
    Canvas().save(LookAt("movra_annotation_fill_redrawn.png"));
    Canvas().copy(0, 40, 360, 260).scaled(1080, 780).save(LookAt("movra_annotation_texts_redrawn.png"));
}

}  // namespace
}  // namespace movra
