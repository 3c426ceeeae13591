// Drawing a self-made symbol through the real window: method button 3 magnifies the canvas onto
// the 10 mm grid, the ordinary tools draw into it, and leaving saves it under a name; then the
// symbol is inserted beside a standard symbol at two map scales. Pictures go to the folder
// MOVRA_TEST_PICTURES names, when set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "platform/qt/QtSurface.h"
#include "support/RecordVertices.h"
#include "support/TestApp.h"
#include "symbols/SelfMadeSymbols.h"
#include "symbols/TusFile.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

struct SelfMadeSymbolsQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    App& app = run.app;
    stForm1& form = run.form1;
    QWidget* canvas = nullptr;

    void SetUp() override {
        QWidget* window = run.Start();
        form.SetWindowState(WindowNormal);
        window->resize(1500, 1000);
        QApplication::processEvents();
        canvas = run.binder.WidgetOf(form.Picture1);
        app.tool.SnapOn = 0;
    }
    Surface& Canvas() { return form.Picture1.surface(); }
    QPoint Pixel(double x, double y) { return PixelOf(Canvas(), x, y); }
    void Panel(int index) {
        auto* button = qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command8(index)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
    }
    // Whether a pixel of the colour lies within two pixels of `at` (lines are one pixel wide).
    bool InkNear(QPoint at, QColor color) {
        return CountPixels(canvas->grab().toImage(), QRect(at - QPoint(2, 2), QSize(5, 5)),
                           [&](QRgb p) { return QColor(p) == color; }) > 0;
    }
};

TEST_F(SelfMadeSymbolsQtTest, ASymbolDrawnInTheMagnifiedBoxIsSavedUnderItsName) {
    app.current.CurrentColor = MakeRgb(0, 200, 0);
    Panel(3);
    ASSERT_EQ(app.tool.SymbolMakingMode, -1);
    EXPECT_FALSE(run.binder.WidgetOf(form.ImageCombo1)->isEnabled());
    const double cx = app.selfMade.SymbolBoxCentreX, cy = app.selfMade.SymbolBoxCentreY;

    // A circle of 3 mm about the centre and a cross line, with the panel's own tools.
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    Panel(34);
    DragOn(canvas, Pixel(cx, cy), Pixel(cx + 30, cy), 4);
    ClickOn(canvas, Pixel(cx, cy), Qt::RightButton);
    Panel(17);
    ClickOn(canvas, Pixel(cx - 40, cy - 40));
    ClickOn(canvas, Pixel(cx + 40, cy + 40));
    ClickOn(canvas, Pixel(cx + 40, cy + 40), Qt::RightButton);
    SaveTestPicture(canvas->grab().toImage(), "self-made-symbol-grid.png");

    ASSERT_EQ(app.store.Get(0, 900).RecordType, 7);
    EXPECT_NEAR(app.store.Get(0, 900).RecordX2, 3, 0.2);
    ASSERT_EQ(app.store.Get(0, 901).RecordType, 2);
    EXPECT_NEAR(app.store.Get(0, 901).RecordX1, -4, 0.2);
    // The preview sits in the small box: its circle passes through (cx + 58, cy - 55).
    EXPECT_TRUE(InkNear(Pixel(cx + 58, cy - 55), QColor(255, 255, 0)));
    EXPECT_FALSE(InkNear(Pixel(cx + 56.5, cy - 55), QColor(255, 255, 0)));

    // Leaving: yes, the name "hd", and the message naming the library.
    bool answered = false, named = false, told = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QAbstractButton* b : box->buttons()) {
                if (!answered && box->buttonRole(b) == QMessageBox::YesRole) {
                    answered = true;
                    b->click();
                    return;
                }
                if (answered && named && box->text().startsWith("当前符号库为")) {
                    told = true;
                    b->click();
                    return;
                }
            }
        } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            named = true;
            input->setTextValue("hd");
            input->accept();
        }
    });
    timer.start(10);
    Panel(3);
    timer.stop();
    EXPECT_TRUE(answered && named && told);
    EXPECT_EQ(app.tool.SymbolMakingMode, 0);
    EXPECT_TRUE(run.binder.WidgetOf(form.ImageCombo1)->isEnabled());
    EXPECT_EQ(app.selfMade.SelfMadeSymbolsLoaded, -1);
    EXPECT_EQ(app.store.Get(0, 1000).RecordText, "#hd");
    EXPECT_EQ(app.store.Get(0, 1001).RecordText, "#hd");
    EXPECT_TRUE(fs::exists(work.Path() / "符号库" / "符号库1.Zfh"));
}

// The preview drawn twice at one point with the inverting pen leaves the canvas as it was.
TEST_F(SelfMadeSymbolsQtTest, PreviewDrawnTwiceLeavesThePictureAsItWas) {
    MapRecord& r = app.store.At(0, 1000);
    r = MapRecord{.RecordType = 6, .RecordX1 = -2, .RecordY1 = -2, .RecordX2 = 2, .RecordY2 = -2,
                  .RecordX3 = 2, .RecordY3 = 2, .RecordX4 = -2, .RecordY4 = 2};
    r.RecordText = "#q";
    MapRecord& c = app.store.At(0, 1001);
    c = MapRecord{.RecordType = 7, .RecordX2 = 1.5, .RecordY2 = 1};
    c.RecordText = "#q";
    app.selfMade.Layer0SavedCount = 1002;
    app.selfMade.SelfMadeSymbolsLoaded = -1;
    app.current.TextSize = 25;
    Surface& surface = Canvas();
    const double x = surface.ScaleLeft() + surface.ScaleWidth() / 2;
    const double y = surface.ScaleTop() + surface.ScaleHeight() / 2;
    surface.SetDrawMode(DrawModeNotXorPen);
    const Picture before = surface.Snapshot();
    PreviewSelfMadeSymbol(app, x, y, "#q");
    EXPECT_NE(surface.Snapshot().pixels, before.pixels) << "the preview shows";
    PreviewSelfMadeSymbol(app, x, y, "#q");
    EXPECT_EQ(surface.Snapshot().pixels, before.pixels);
}

// A 10 mm self-made square beside the standard's triangulation point (symbol 0), both at the
// same map scale: each keeps its size on paper at 1:500 and at 1:1000.
TEST_F(SelfMadeSymbolsQtTest, InsertedSymbolKeepsItsPaperSizeBesideAStandardSymbol) {
    fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
    DimensionSymbolTables(app.symbolStandard);
    LoadSymbolDefinitions(app);
    app.symbolStandard.SymbolStandardLoaded = -1;
    const std::vector<std::pair<int, std::vector<double>>> square = {
        {6, {-5, -5, 5, -5, 5, 5, -5, 5}}, {7, {0, 0, 2, 1}}, {2, {-5, 0, 5, 0}}};
    int s = 1000;
    for (const auto& [type, xy] : square) {
        MapRecord& m = app.store.At(0, s++);
        m.RecordType = static_cast<std::uint8_t>(type);
        SetVertices(m, xy);
        m.RecordText = "#sq";
    }
    app.selfMade.Layer0SavedCount = s;
    app.selfMade.SelfMadeSymbolsLoaded = -1;
    app.current.CurrentColor = MakeRgb(255, 255, 0);

    for (double scaleFactor : {0.5, 1.0}) {
        const int layer = app.store.CurrentLayer;
        app.store.Count(layer) = 0;
        app.view.ScaleFactor = scaleFactor;
        // 40 mm of paper across the canvas, the same in height per pixel.
        const double height = 40.0 * Canvas().PixelHeight() / Canvas().PixelWidth();
        form.Picture1.SetScale(0, (15 + height / 2) * scaleFactor, 40 * scaleFactor, -height * scaleFactor);
        form.Text4_Click();
        MapRecord& standard = app.store.At(layer, app.store.Count(layer)++);
        standard = MapRecord{.RecordType = 15, .RecordColor = MakeRgb(255, 255, 255), .RecordX1 = 10 * scaleFactor,
                             .RecordY1 = 15 * scaleFactor, .RecordX2 = 0, .RecordY2 = 1};
        standard.RecordText = "0";
        InsertSelfMadeSymbol(app, 28 * scaleFactor, 15 * scaleFactor, "#sq");
        刷新(app);
        QApplication::processEvents();
        SaveTestPicture(canvas->grab().toImage(),
                        ("self-made-inserted-1-" + std::to_string(static_cast<int>(scaleFactor * 1000)) + ".png").c_str());
        // The square's left and right sides lie 10 mm of paper apart.
        const QColor yellow(255, 255, 0);
        EXPECT_TRUE(InkNear(Pixel(23 * scaleFactor, 18 * scaleFactor), yellow));
        EXPECT_TRUE(InkNear(Pixel(33 * scaleFactor, 18 * scaleFactor), yellow));
        EXPECT_FALSE(InkNear(Pixel(21 * scaleFactor, 18 * scaleFactor), yellow)) << "no larger than 10 mm";
        // The standard symbol beside it keeps its own paper size too: a dot in a ring of 1 mm
        // across, at its point.
        const QColor white(255, 255, 255);
        EXPECT_TRUE(InkNear(Pixel(10 * scaleFactor, 15 * scaleFactor), white)) << "the dot";
        EXPECT_TRUE(InkNear(Pixel(10.5 * scaleFactor, 15 * scaleFactor), white)) << "the ring";
        EXPECT_TRUE(InkNear(Pixel(10 * scaleFactor, 15.5 * scaleFactor), white)) << "the ring";
        EXPECT_FALSE(InkNear(Pixel(10.25 * scaleFactor, 15 * scaleFactor), white)) << "inside the ring";
        EXPECT_FALSE(InkNear(Pixel(11 * scaleFactor, 15 * scaleFactor), white)) << "no larger than 1 mm";
    }
}

}  // namespace
}  // namespace movra
