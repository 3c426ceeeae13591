#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QWidget>

#include <cmath>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "ShownMainWindow.h"
#include "display/Redraw.h"

namespace movra {
namespace {

// Ink poured from the method panel's button and two real clicks on the shown canvas, into a
// concave parcel and into a box with a gap in its side.
struct InkFillQtTest : ::testing::Test, ShownMainWindow {
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A closed ring of two-vertex lines in yellow on layer 1.
    void Ring(std::vector<std::pair<double, double>> v, bool closed = true) {
        const std::size_t n = v.size();
        for (std::size_t k = 0; k + 1 < n + (closed ? 1 : 0); ++k) {
            MapRecord& r = app.store.At(1, app.store.Count(1)++);
            r = MapRecord{};
            r.RecordType = 2;
            r.RecordColor = MakeRgb(255, 255, 0);
            r.RecordX1 = v[k].first;
            r.RecordY1 = v[k].second;
            r.RecordX2 = v[(k + 1) % n].first;
            r.RecordY2 = v[(k + 1) % n].second;
        }
    }
    std::vector<MapRecord> InkRecords() {
        std::vector<MapRecord> out;
        for (int k = 0; k < app.store.Count(1); ++k)
            if (app.store.Get(1, k).RecordType == 81) out.push_back(app.store.Get(1, k));
        return out;
    }
};

TEST_F(InkFillQtTest, PouredIntoAConcaveParcelAndAtAGapAsDrawnAndRedrawn) {
    ASSERT_NE(canvas, nullptr);
    app.view.ScaleFactor = 1;
    const double ppu = std::floor(std::min(canvas->width() / 100.0, canvas->height() / 40.0));
    ASSERT_GE(ppu, 4);
    form1.Picture1.SetScale(0, canvas->height() / ppu, canvas->width() / ppu, -canvas->height() / ppu);
    const Surface& surface = form1.Picture1.surface();
    form1.Text4_Click();
    app.tool.SnapOn = 0;
    app.store.CurrentLayer = 1;
    app.store.Count(1) = 0;
    app.store.LayerOnFlag[1] = -1;
    // A U-shaped parcel, and a box whose right side has a gap from y 18 to 24.
    Ring({{5, 5}, {45, 5}, {45, 35}, {33, 35}, {33, 15}, {17, 15}, {17, 35}, {5, 35}});
    Ring({{95, 18}, {95, 5}, {55, 5}, {55, 35}, {95, 35}, {95, 24}}, false);
    刷新(app);
    QApplication::processEvents();
    const QImage blank = Canvas();

    auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command8(36)));
    ASSERT_NE(button, nullptr);
    button->click();
    QApplication::processEvents();
    ASSERT_EQ(app.tool.CommandMode, ModeInkFill);
    EXPECT_EQ(form1.Text2.Text(), "倒墨水");

    // The left arm and the band below it, in blue.
    app.current.CurrentColor = MakeRgb(0, 0, 255);
    ClickOn(canvas, PixelOf(surface, 8, 28));
    ClickOn(canvas, PixelOf(surface, 10, 25));
    const std::vector<MapRecord> parcel = InkRecords();
    ASSERT_FALSE(parcel.empty());
    double lowest = 100, highest = 0, widest = 0;
    for (const MapRecord& r : parcel) {
        const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        const float zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
        for (int k = 0; k < 4 && zs[k] > 0; ++k) {
            lowest = std::min(lowest, ys[k]);
            highest = std::max(highest, ys[k]);
            widest = std::max(widest, static_cast<double>(zs[k]));
        }
    }
    EXPECT_LT(lowest, 6.5);
    EXPECT_GT(highest, 33.5);
    EXPECT_NEAR(widest, 40, 1e-3);  // the band below the notch
    EXPECT_EQ(app.store.Get(1, app.store.Count(1)).RecordType, 0);

    // The box: the lines through the gap find no right side and draw nothing.
    app.current.CurrentColor = MakeRgb(0, 160, 0);
    ClickOn(canvas, PixelOf(surface, 70, 22));
    ClickOn(canvas, PixelOf(surface, 75, 21));
    std::vector<MapRecord> box;
    for (const MapRecord& r : InkRecords())
        if (r.RecordColor == MakeRgb(0, 160, 0)) box.push_back(r);
    ASSERT_FALSE(box.empty());
    for (const MapRecord& r : box) {
        for (double y : {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4})
            EXPECT_FALSE(y > 18 && y < 24) << y;
    }

    QApplication::processEvents();
    const QImage drawn = Canvas();
    SaveTestPicture(drawn, "ink-fill-drawn.png");
    EXPECT_GT(DifferentPixels(blank, drawn), 5000);
    刷新(app);
    QApplication::processEvents();
    const QImage redrawn = Canvas();
    SaveTestPicture(redrawn, "ink-fill-redrawn.png");
    const int rest = DifferentPixels(drawn, redrawn);
    EXPECT_LT(rest, drawn.width() * drawn.height() / 100) << rest << " pixels differ";
}

}  // namespace
}  // namespace movra
