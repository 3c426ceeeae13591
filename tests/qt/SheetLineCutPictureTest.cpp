// A fixture map cut along a 3 x 3 grid of sheet lines and redrawn with each piece in its own colour,
// saved as movra-sheet-cut.png (LookAt.h) to be looked at: every piece must stop at the grey lines.
#include <QImage>
#include <array>

#include <gtest/gtest.h>

#include "display/Redraw.h"
#include "platform/qt/QtSurface.h"
#include "sheets/SheetLineCut.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kGrey = MakeRgb(170, 170, 170);

class SheetLineCutPicture : public ::testing::Test {
protected:
    SheetLineCutPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        canvas.Resize(800, 800);
        canvas.SetBackColor(kWhite);
        app.view.ScaleFactor = 1;
        DimensionEmptyStandard(app.symbolStandard);
        app.store.LayerOnFlag[1] = -1;
    }

    MapRecord& Add(int type, std::initializer_list<double> xy, int pen = 8) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordPen = static_cast<std::uint8_t>(pen);
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i++] = v;
        return r;
    }

    void MakeMap() {
        // A long pen-line chain winding over all nine sheets.
        Add(5, {5, 5, 85, 10, 80, 25, 10, 20});
        Add(5, {8, 40, 88, 45, 85, 60, 12, 55});
        Add(4, {10, 75, 50, 88, 70, 70, 88, 86});
        Add(6, {20, 35, 45, 28, 52, 50, 25, 52});            // a quadrilateral
        Add(7, {60, 60, 16, 1});                             // a circle over four sheets
        Add(8, {30, 60, 12, 1, 5.5, 2.0});                   // an arc through angle 0
        Add(9, {45, 15, 20, 6, 0.4, 0});                     // an ellipse
        Add(52, {54, 32, 68, 38, 54, 38, 68, 32});           // a cross
        MapRecord& ticks = Add(80, {3, 40, 3, 46, 3, 52});   // ticks
        ticks.RecordZ1 = ticks.RecordZ2 = ticks.RecordZ3 = 36;
        Add(99, {55, 3, 88, 22});
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(SheetLineCutPicture, EveryPieceStopsAtTheSheetLines) {
    MakeMap();
    const int before = app.store.Count(1);
    for (double x : {30.0, 60.0}) CutFeaturesAlongLine(app, x, -10, x, 100);
    for (double y : {30.0, 60.0}) CutFeaturesAlongLine(app, -10, y, 100, y);
    ASSERT_GT(app.store.Count(1), before + 20);

    const std::array<Rgb, 8> colours{MakeRgb(220, 0, 0),   MakeRgb(0, 140, 0),  MakeRgb(0, 0, 220),
                                     MakeRgb(200, 120, 0), MakeRgb(160, 0, 160), MakeRgb(0, 150, 150),
                                     MakeRgb(120, 70, 20), MakeRgb(0, 0, 0)};
    for (int slot = 0; slot < app.store.Count(1); ++slot)
        app.store.At(1, slot).RecordColor = colours[static_cast<std::size_t>(slot) % colours.size()];

    canvas.SetScale(-5, 95, 100, -100);
    app.view.DisplayZoom = 4;
    刷新(app);
    canvas.SetDrawWidth(1);
    for (double c : {30.0, 60.0}) {
        canvas.Line(c, -5, c, 95, kGrey);
        canvas.Line(-5, c, 95, c, kGrey);
    }
    const QImage image = canvas.Image();
    ASSERT_TRUE(image.save(LookAt("movra-sheet-cut.png")));
}

}  // namespace
}  // namespace movra
