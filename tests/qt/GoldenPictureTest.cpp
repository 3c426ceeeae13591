// A fixture map holding one record of every drawable type, redrawn on the real canvas at three
// zooms (full detail, full detail culled, straight lines) and compared with the pictures kept in
// tests/fixtures/golden. Set MOVRA_UPDATE_GOLDEN=1 to write the pictures anew after a deliberate
// change of the drawing; look at them before keeping them.
#include <QImage>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "display/Redraw.h"
#include "display/TextRendering.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "GoldenPicture.h"
#include "QtCanvasPlatform.h"

namespace movra {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kRed = MakeRgb(220, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 200);
constexpr Rgb kGreen = MakeRgb(0, 140, 0);
constexpr Rgb kBrown = MakeRgb(150, 90, 20);

class GoldenPicture : public ::testing::Test {
protected:
    GoldenPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        canvas.Resize(720, 520);
        canvas.SetBackColor(kWhite);
        canvas.SetForeColor(kBlack);
        app.view.ScaleFactor = 1;
        app.view.PointMarkRadius = 0.6f;
        app.current.CurrentColor = kGreen;
        app.tables.ColorPalette[5] = kBlue;
        app.tables.ColorPalette[6] = MakeRgb(200, 0, 200);
        MakeStandard();
        MakeMap();
    }

    void MakeStandard() {
        SymbolStandard& s = app.symbolStandard;
        DimensionEmptyStandard(s);
        // Symbol 1: an arrow with a ring at its foot; symbol 2: a small post.
        SetSymbolElement(s, 1, 0, 1, {{0, 0}, {0, 3}});
        SetSymbolElement(s, 1, 1, 2, {{-0.8, 2.2}, {0, 3}, {0.8, 2.2}});
        SetSymbolElement(s, 1, 2, 3, {{0, 0}, {0.5, 0}});
        SetSymbolElement(s, 2, 0, 1, {{0, 0}, {0, 1.5}});
        // Line type 2: dashes; 3: dash, gap, post.
        SetLineTypeElements(s, 2, 2, {{6, 2}, {7, 1}});
        SetLineTypeElements(s, 3, 1, {{6, 1.5}, {7, 0.6}, {8, 351}, {7, 0.6}});
    }

    // The next record of layer 1, its vertices relative to the lower left of cell `cell` (8 cells
    // of 17 x 12 units to a row, from the top left of the map).
    MapRecord& Add(int cell, int type, std::initializer_list<double> xy, Rgb color = kBlack) {
        const double x0 = 2 + 17.5 * (cell % 8);
        const double y0 = 86 - 12.5 * (cell / 8);
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 7;
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i] = v + (i % 2 == 0 ? x0 : y0), ++i;
        return r;
    }
    // A record whose fields are not all positions: set them by hand after Add.
    static void Raw(MapRecord& r, double x2, double y2) {
        r.RecordX2 = x2;
        r.RecordY2 = y2;
    }

    void MakeMap() {
        app.store.LayerOnFlag[1] = -1;
        app.store.Count(1) = 0;
        int c = 0;
        Add(c++, 2, {1, 1, 15, 9}, kRed).RecordPen = 0;
        Add(c++, 3, {1, 1, 8, 9, 15, 1}, kBlue).RecordPen = 8;
        Add(c++, 4, {1, 9, 5, 1, 10, 9, 15, 1}, kGreen).RecordPen = 2;
        Add(c++, 5, {1, 1, 5, 9, 9, 1, 12, 9});
        Add(c - 1, 1, {15, 1});
        Add(c++, 6, {2, 2, 14, 3, 13, 10, 3, 9}, kBrown);
        Raw(Add(c++, 7, {8, 5}, kRed), 4, 0.6);
        { MapRecord& r = Add(c++, 8, {8, 4}, kBlue); Raw(r, 5, 1); r.RecordX3 = 0.3; r.RecordY3 = 2.8; }
        { MapRecord& r = Add(c++, 9, {8, 5}, kGreen); Raw(r, 6, 3); r.RecordX3 = 0.5; }
        Add(c++, 10, {2, 10, 14, 10, 14, 2, 2, 2}, MakeRgb(40, 120, 200));
        { MapRecord& r = Add(c++, 11, {2, 10, 15, 10, 15, 2, 2, 2}, MakeRgb(120, 180, 255)); r.RecordZ4 = 2; }
        Add(c - 1, 29, {2, 2, 15, 3, 12, 10, 3, 9});
        {
            MapRecord& r = Add(c++, 12, {1, 5, 15, 5}, kBlue);
            r.RecordText = "351";
            r.RecordX3 = 14; r.RecordY3 = 1; r.RecordX4 = 0;
        }
        { MapRecord& r = Add(c++, 13, {2, 10, 15, 10, 15, 2, 2, 2}, kGreen); r.RecordZ4 = 2; r.RecordText = "3"; }
        Add(c - 1, 29, {2, 2, 15, 2, 15, 10, 2, 10});
        Add(c++, 14, {2, 10, 14, 10, 14, 2, 2, 2}, MakeRgb(200, 60, 60));
        { MapRecord& r = Add(c++, 15, {8, 3}, kRed); r.RecordText = "1"; Raw(r, 1, 1); }
        for (int t = 16; t <= 19; ++t) Add(c++, t, {5, 4});
        for (int t = 21; t <= 23; ++t) Add(c++, t, {2, 2, 14, 9}, kBrown);
        { MapRecord& r = Add(c++, 25, {1, 9}); Raw(r, 3, 0); r.RecordText = "图根25"; r.RecordFont = "宋体"; }
        Add(c++, 31, {8, 6}, kRed);
        Add(c++, 34, {3, 3, 13, 3, 13, 9, 3, 9}, kRed);
        Add(c++, 36, {2, 10, 14, 10, 14, 2, 2, 2}, kGreen);
        { MapRecord& r = Add(c++, 42, {1, 5, 15, 5}, kBlue); r.RecordText = "352"; }
        { MapRecord& r = Add(c++, 43, {1, 2, 8, 9, 15, 2}, kBlue); r.RecordText = "351"; }
        { MapRecord& r = Add(c++, 45, {1, 2, 5, 9, 9, 2, 12, 9}, kBlue); r.RecordText = "352"; }
        { MapRecord& n = Add(c - 1, 41, {15, 2}, kBlue); n.RecordText = "352"; }
        { MapRecord& r = Add(c++, 47, {3, 3, 11, 8}); r.RecordZ1 = 12.5f; r.RecordZ2 = 13.25f; }
        { MapRecord& r = Add(c++, 50, {3, 4}, kRed); Raw(r, 2.5, 0); r.RecordZ4 = 2; r.RecordText = "K7"; r.RecordFont = "黑体"; }
        { MapRecord& r = Add(c++, 51, {8, 4}, kBlue); Raw(r, 0, 1); r.RecordZ4 = 1; }
        Add(c++, 52, {2, 2, 14, 10, 2, 10, 14, 2}, kRed);
        { MapRecord& r = Add(c++, 58, {2, 10, 14, 10, 14, 2, 2, 2}, kBrown); r.RecordZ4 = 1.5f; }
        { MapRecord& r = Add(c++, 59, {2, 2, 8, 10, 14, 2, 8, 5}, kBrown); r.RecordZ4 = 2; }
        {
            MapRecord& r = Add(c++, 61, {2, 6, 0, 0, 0, 0, 2, 5}, kRed);
            Raw(r, 2, 0);
            r.RecordText = "45.20"; r.RecordFont = "宋体";
        }
        {
            MapRecord& r = Add(c++, 62, {2, 3, 0, 0, 0, 0, 2, 2}, kBlue);
            Raw(r, 2.5, 1);
            r.RecordZ2 = 30; r.RecordText = "转62"; r.RecordFont = "黑体";
        }
        for (int t : {63, 64, 66, 68}) {
            MapRecord& r = Add(c++, t, {1, 4}, t == 66 ? kWhite : kBrown);
            Raw(r, 3, 0.6); r.RecordZ2 = t == 68 ? -20 : 10;
            r.RecordText = "字" + std::to_string(t); r.RecordFont = "宋体";
        }
        { MapRecord& r = Add(c++, 65, {1, 9}, kWhite); Raw(r, 3, 0); r.RecordText = "背景65"; r.RecordFont = "宋体"; }
        { MapRecord& r = Add(c++, 67, {1, 9}, kWhite); Raw(r, 3, 0); r.RecordText = "斜67"; r.RecordFont = "右斜宋"; }
        {
            // P1 is the picture's upper left corner; it hangs 8 units below it.
            MapRecord& r = Add(c++, 70, {2, 10}, 0);
            Raw(r, 13, -8);
            r.RecordText = TilePath();
        }
        for (int t = 72; t <= 74; ++t) Add(c++, t, {1, 2, 5, 10, 10, 2, 15, 10}, kGreen);
        Add(c++, 80, {2, 2, 6, 2, 10, 2}, kBlack).RecordZ1 = 2;
        { MapRecord& r = app.store.At(1, app.store.Count(1) - 1); r.RecordZ2 = 3; r.RecordZ3 = 4; }
        { MapRecord& r = Add(c++, 85, {2, 9, 7, 9, 12, 9}, kRed); r.RecordZ1 = r.RecordZ2 = r.RecordZ3 = 3; r.RecordPen = 2; }
        { MapRecord& r = Add(c++, 87, {2, 2}, kGreen); r.RecordZ1 = 12; r.RecordText = "2"; r.RecordExtra = "2"; }
        const char* codes[] = {"1093", "1091", "1090", "1092"};
        for (int i = 0; i < 4; ++i) {
            MapRecord& r = Add(c++, 92 + (i == 3 ? 1 : 0), {1, 3, 14, 3, 14, 10}, i == 2 ? kRed : kBlack);
            r.RecordText = codes[i];
            r.RecordZ2 = 0.5f; r.RecordZ3 = 2; r.RecordZ4 = 0.6f;
        }
        Add(c++, 2, {1, 5, 15, 5}, kBlack).RecordPen = 12;
        Add(c - 1, 99, {1, 2, 15, 8});  // cuts the thick line

        Picture tile;
        tile.width = 26;
        tile.height = 16;
        for (int y = 0; y < tile.height; ++y)
            for (int x = 0; x < tile.width; ++x)
                // A red band along the top and a green one down the left: a picture shown upside
                // down or mirrored is told at once.
                tile.pixels.push_back(y < 4 ? 0xFFD03030u : x < 5 ? 0xFF30A030u
                                                 : ((x / 4 + y / 4) % 2) ? 0xFF3060C0u : 0xFFF0D040u);
        // The file must exist for the image record to find it; its pixels come from the fake.
        QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(TilePath()));
        platform.pictures.files[TilePath()] = tile;
    }

    std::string TilePath() const { return work.Str() + "/tile.bmp"; }

    // Renders a view and compares it with (or writes) the kept picture.
    void CheckView(const std::string& name, double left, double top, double width, double zoom) {
        canvas.SetScale(left, top, width, -width * 520 / 720);
        app.view.DisplayZoom = zoom;
        ForgetCanvasFontSize(app);  // as a zoom does: the texts take the new zoom's sizes
        刷新(app);
        // Font rasterising differs a little between machines: a few pixels may differ.
        ExpectMatchesGolden(canvas.Image(), name, 48, 0.01);
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(GoldenPicture, EveryRecordTypeAtThreeZooms) {
    // 720 pixels over 144 units: 5 pixels to the unit, full detail.
    CheckView("record-types-full", 0, 100, 144, 3.75);
    // Twice as far out, still full detail but culled on the first vertex.
    CheckView("record-types-middle", -36, 126, 216, 1.25);
    // Straight lines only.
    CheckView("record-types-lines", -10, 104, 164, 0.15);
}

}  // namespace
}  // namespace movra
