// The figure drawers on the real canvas: a sample sheet of every special line, mark, shape,
// symbol and line type, saved as movra-figures.png (LookAt.h) to be looked at, and the inverting pen
// drawn twice over them.
#include <QImage>
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "display/LineTypes.h"
#include "display/PointSymbols.h"
#include "display/Shapes.h"
#include "display/BoundaryLines.h"
#include "platform/qt/QtSurface.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kRed = MakeRgb(220, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 200);
constexpr Rgb kGreen = MakeRgb(0, 140, 0);

class DisplayPicture : public ::testing::Test {
protected:
    DisplayPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        canvas.Resize(1400, 1000);
        canvas.SetScale(0, 200, 280, -200);  // 5 pixels to the ground unit
        canvas.SetBackColor(kWhite);
        app.view.ScaleFactor = 1;            // 1:1000, a paper millimetre is a ground unit
        app.view.DisplayZoom = 1.3;          // band lines 0.2 units apart
        app.view.PointMarkRadius = 0.6;
        app.current.CurrentColor = kGreen;
        MakeStandard();
    }

    void MakeStandard() {
        SymbolStandard& s = app.symbolStandard;
        DimensionEmptyStandard(s);
        // Symbol 1: an arrow pointing to its top with a ring at its foot.
        SetSymbolElement(s, 1, 0, 1, {{0, 0}, {0, 3}});
        SetSymbolElement(s, 1, 1, 2, {{-0.8, 2.2}, {0, 3}, {0.8, 2.2}});
        SetSymbolElement(s, 1, 2, 3, {{0, 0}, {0.5, 0}});
        // Symbol 2: a half circle above the insertion point, open to the south, with a dot.
        SetSymbolElement(s, 2, 0, 4, {{0, 0}, {1.5, 0}, {-1.5, 0}});
        SetSymbolElement(s, 2, 1, 5, {{0, 0.7}});
        SetSymbolElement(s, 2, 2, 1, {{-1.5, 0}, {1.5, 0}});
        // Symbol 3: a small post.
        SetSymbolElement(s, 3, 0, 1, {{0, 0}, {0, 1.5}});
        // Line types: 2 dashes; 3 dash, gap, post; 4 double-sided road; 5 arrow at the end; 6 gap 50.
        SetLineTypeElements(s, 2, 2, {{6, 4}, {7, 1.5}});
        SetLineTypeElements(s, 3, 1, {{6, 3}, {7, 1}, {8, 352}, {7, 1}});
        SetLineTypeElements(s, 4, 1, {{9, 1.5}, {10, 1.5}, {6, 2}, {7, 2}});
        SetLineTypeElements(s, 5, 1, {{6, 100}, {8, 350}});
        SetLineTypeElements(s, 6, 1, {{7, 50}, {8, 351}, {6, 1}, {8, 350}});
    }

    MapRecord& Record(int slot, int type, ShapeCorners p, Rgb color) {
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordX1 = p.X1; r.RecordY1 = p.Y1; r.RecordX2 = p.X2; r.RecordY2 = p.Y2;
        r.RecordX3 = p.X3; r.RecordY3 = p.Y3; r.RecordX4 = p.X4; r.RecordY4 = p.Y4;
        return r;
    }

    void Label(double x, double y, const char* text) {
        canvas.SetForeColor(kBlack);
        canvas.SetFont("宋体", 8);
        canvas.SetCurrentX(x);
        canvas.SetCurrentY(y);
        canvas.Print(text);
    }

    // Every figure once, in rows from the top of the sheet.
    void DrawSheet() {
        // Row 1: the special lines, each as a polyline with a corner.
        Label(5, 198, "1093 wall");
        DrawSpecialPattern(app, 5, 180, 45, 180, kBlack, "1093", 0, 0, 0);
        DrawSpecialPattern(app, 45, 180, 60, 165, kBlack, "1093", 0, 0, 0);
        Label(75, 198, "1091 bank");
        DrawSpecialPattern(app, 75, 180, 115, 180, kBlue, "1091", 0, 0, 0);
        DrawSpecialPattern(app, 115, 180, 130, 165, kBlue, "1091", 0, 0, 0);
        Label(145, 198, "1090 fixed bank");
        DrawSpecialPattern(app, 145, 180, 185, 180, kRed, "1090", 0, 0, 0);
        DrawSpecialPattern(app, 185, 180, 200, 165, kRed, "1090", 0, 0, 0);
        Label(215, 198, "1092 dashed 0.5/4/1");
        DrawSpecialPattern(app, 215, 180, 248, 180, kGreen, "1092", 0.5, 4, 1);
        DrawSpecialPattern(app, 248, 180, 248, 165, kGreen, "1092", 0.5, 4, 1);
        DrawSpecialPattern(app, 248, 165, 270, 165, kGreen, "1092", 0.5, 4, 1);

        // Row 2: point symbols turned to eight directions, and the land-use marks.
        Label(5, 158, "symbols 1, 2 turned (N, NE, E, SE, S, SW, W, NW)");
        const double dirs[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};
        for (int i = 0; i < 8; ++i) {
            DrawPointSymbol(app, 10 + 10 * i, 140, "1", dirs[i][0], dirs[i][1], kBlue);
            DrawPointSymbol(app, 10 + 10 * i, 125, "2", dirs[i][0], dirs[i][1], kRed);
        }
        DrawPointSymbol(app, 95, 130, "700", 0, 1, kBlack);  // the failure square
        Label(110, 158, "land-use marks 1-4");
        DrawLandUseMark1(app, 115, 135);
        DrawLandUseMark2(app, 125, 135);
        DrawLandUseMark3(app, 135, 135);
        DrawLandUseMark4(app, 145, 135);
        Label(160, 158, "parcel edges 21/22/23");
        DrawHandledSegment(app, 160, 145, 0, 200, 150, 0, kBlack);
        DrawHandledSegmentDotted(app, 160, 135, 0, 200, 140, 0, kBlue);
        app.view.BoundaryPointsTransparent = 1;
        DrawHandledSegmentDashed(app, 160, 125, 0, 200, 130, 0, kRed);
        app.view.BoundaryPointsTransparent = 0;
        Label(215, 158, "symbol row 87");
        MapRecord& row = Record(20, 87, {215, 120, 0, 0, 0, 0, 0, 0}, kBlue);
        row.RecordZ1 = 30;
        row.RecordText = "3";
        row.RecordExtra = "5";
        DrawSymbolRow(app, 1, 20, 1);

        // Row 3: line types along a zigzag, each on record segments and on a plain segment.
        const char* codes[] = {"351", "352", "353", "354", "355"};
        for (int k = 0; k < 5; ++k) {
            const double x = 5 + 55 * k;
            Label(x, 108, codes[k]);
            MapRecord& line = Record(30 + k, 44, {x, 85, x + 20, 100, x + 40, 85, 0, 0}, kBlack);
            line.RecordText = codes[k];
            DrawRecordSegmentLineType(app, 1, static_cast<std::int16_t>(30 + k), 2);
            DrawRecordSegmentLineType(app, 1, static_cast<std::int16_t>(30 + k), 3);
            app.current.CurrentColor = kBlue;
            DrawLineTypeSegment(app, x, 75, x + 45, 75, codes[k]);
            app.current.CurrentColor = kGreen;
        }

        // Row 4: the shapes.
        Label(5, 65, "ellipse 9 (az 30)");
        canvas.SetDrawWidth(1);
        DrawRotatedEllipse(app, 25, 40, 18, 8, static_cast<float>(M_PI / 6), kBlack);
        Label(50, 65, "band 10");
        Record(40, 10, {50, 55, 60, 25, 85, 25, 90, 55}, kBlue);
        RenderRecord(app, 1, 40);
        Label(100, 65, "tube 14");
        Record(41, 14, {100, 50, 100, 30, 140, 30, 140, 50}, MakeRgb(30, 60, 200));
        RenderRecord3(app, 1, 41);
        Label(150, 65, "grid paper 36");
        Record(42, 36, {150, 55, 175, 55, 175, 20, 150, 20}, kRed);
        canvas.SetDrawWidth(1);
        canvas.Line(150, 55, 175, 20, kRed, LineShape::Box);
        RenderRecord2(app, 1, 42);
        Label(185, 65, "fan 59");
        Record(43, 59, {185, 25, 200, 55, 215, 25, 200, 35}, MakeRgb(0, 100, 0)).RecordZ4 = 0;
        DrawStripShape(app, 1, 43);
        Label(225, 65, "ladder 58");
        Record(44, 58, {225, 25, 225, 55, 270, 55, 270, 25}, kBlack).RecordZ4 = 0;
        DrawStripShape2(app, 1, 44);
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

int Differences(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++count;
    return count;
}

TEST_F(DisplayPicture, SampleSheetOfEveryFigure) {
    DrawSheet();
    const QImage image = canvas.Image().copy();
    ASSERT_TRUE(image.save(LookAt("movra-figures.png")));
    // Something of every colour used reached the picture.
    int blue = 0, red = 0, green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            blue += qBlue(p) == 200 && qRed(p) == 0;
            red += qRed(p) == 220 && qGreen(p) == 0;
            green += qGreen(p) == 140 && qRed(p) == 0;
        }
    }
    EXPECT_GT(blue, 500);
    EXPECT_GT(red, 500);
    EXPECT_GT(green, 200);
}

TEST_F(DisplayPicture, InvertingPenDrawnTwiceLeavesThePicture) {
    canvas.Line(0, 0, 280, 200, kBlue, LineShape::FilledBox);
    canvas.Circle(140, 100, 60, kRed);
    const QImage before = canvas.Image().copy();
    for (int pass = 0; pass < 2; ++pass) {
        canvas.SetDrawMode(DrawModeNotXorPen);
        DrawLineTypeSegment(app, 10, 10, 250, 170, "352");
        DrawWallLine(app, 20, 150, 200, 60, kGreen);
        DrawFixedBankLine(app, 30, 30, 230, 40, kBlack);
        DrawRotatedEllipse(app, 140, 100, 50, 20, 1.0f, kWhite);
        DrawPointSymbol(app, 100, 100, "2", 1, 1, kRed);
        if (pass == 0) {
            EXPECT_GT(Differences(before, canvas.Image()), 1000);
        }
    }
    EXPECT_EQ(Differences(before, canvas.Image()), 0);
}

}  // namespace
}  // namespace movra
