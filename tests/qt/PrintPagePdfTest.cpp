// Printed pages through Qt's PDF printer, rendered back to pictures with pdftoppm: a sample map
// over four pages beside its screen picture, with a line measured against its ground position,
// and a sheet of the special lines, shapes, symbol rows and marks at two print scales.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "App.h"
#include "PdfTools.h"
#include "display/Redraw.h"
#include "document/ColorTable.h"
#include "document/FontTable.h"
#include "platform/qt/QtSurface.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr int Dash = 6, Gap = 7, LeftSide = 9;
// The paper less the printer's default margins is the page window, centred on the paper; the
// first page's cell starts 5 % of the window in from its top-left corner.
constexpr double MarginAcrossMm = 5.795, MarginDownMm = 17.795;

struct PrintPagePdfTest : ::testing::Test {
    PrintPagePdfTest() {
        for (int i = 0; i < 255; ++i) app.tables.ColorPalette[i] = ColorIndexToRgb(static_cast<std::uint8_t>(i));
        app.view.ProjectParams[0] = 500;
        app.work.ScreenTwipsPerMetre = 56700;
        app.store.LayerCount = 1;
        app.store.LayerOnFlag[1] = -1;
        SymbolStandard& s = app.symbolStandard;
        DimensionEmptyStandard(s);
        // Symbol 1: a post with a ring on top.
        SetSymbolElement(s, 1, 0, 1, {{0, 0}, {0, 3}});
        SetSymbolElement(s, 1, 1, 3, {{0, 3.8}, {0.8, 0}});
        // Line type 350: dash 3, gap 1; 351: a side line 1 mm to the left of a solid line.
        SetLineTypeElements(s, 1, 0, {{Dash, 3}, {Gap, 1}});
        SetLineTypeElements(s, 2, 3, {{LeftSide, 1}, {Dash, 4}});
    }

    MapRecord& Add(int type, std::vector<double> xy, Rgb color = 0, int pen = 0) {
        int& count = app.store.Count(1);
        if (count < 1) count = 1;
        MapRecord& r = app.store.At(1, count++);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = static_cast<std::uint8_t>(pen);
        double* fields[] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                            &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        for (size_t i = 0; i < xy.size() && i < 8; ++i) *fields[i] = xy[i];
        return r;
    }
    void End() { Add(0, {}); }

    // Prints the whole drawing in colour at 1:`scale` with the cell frame; gives the page count.
    int PrintAt(int scale) {
        dayinfrm& d = PrintDialog(app);
        d.Load();
        d.List1.SetListIndex(0);
        d.List1.DblClick();
        d.Option6.Click();
        d.Option10.Click();
        d.Option5.Click();
        d.Text5.UserTyped(std::to_string(scale), 0);
        platform.dialogScript.QueueFile(pdfPath);  // the PDF printer asks where to write
        d.Command3.Click();
        const std::string told = platform.promptScript.LastText();
        return std::atoi(told.c_str());
    }

    // Page `n` of the job at 254 dots per inch (ten pixels to the millimetre), also kept as
    // <name>.png in the pictures folder (LookAt.h) for a look.
    QImage Page(int n, const std::string& name) {
        const std::string prefix = work.Str() + "/" + name;
        Shell("pdftoppm -r 254 -aaVector no -png -f " + std::to_string(n) + " -l " + std::to_string(n) + " '" +
              pdfPath + "' '" + prefix + "'");
        QImage image(QString::fromStdString(prefix + "-" + std::to_string(n) + ".png"));
        if (image.isNull()) image.load(QString::fromStdString(prefix + "-0" + std::to_string(n) + ".png"));
        image.save(LookAt(name + ".png"));
        return image;
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    std::string pdfPath = work.Str() + "/job.pdf";
    PdfPlatform platform{program.Str(), work.Str(), pdfPath};
    App app{platform};
    stForm1 form1{app};
};

bool Blue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90; }
bool Green(QRgb p) { return qGreen(p) > 100 && qRed(p) < 90 && qBlue(p) < 90; }

// The centres, in pixels, of the runs of pixels that pass `test` along a row or a column.
template <class Test>
std::vector<double> RunCentres(const QImage& image, int at, bool alongRow, Test test) {
    std::vector<double> centres;
    const int length = alongRow ? image.width() : image.height();
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        const bool in = i < length && test(alongRow ? image.pixel(i, at) : image.pixel(at, i));
        if (in && start < 0) start = i;
        if (!in && start >= 0) {
            centres.push_back((start + i) / 2.0);
            start = -1;
        }
    }
    return centres;
}

TEST_F(PrintPagePdfTest, ASampleMapAt1To500OverFourPagesStandsWhereItsGroundIs) {
    RequireTool("pdftoppm");
    RequireTool("pdfinfo");
    const Rgb black = 0, blue = MakeRgb(0, 0, 255), green = MakeRgb(0, 150, 0), brown = MakeRgb(150, 80, 0);
    // The drawing spans 150 m by 200 m: two pages across and two down at 1:500 on A4.
    Add(6, {0, 0, 150, 0, 150, 200, 0, 200}, black, 8);
    // The lines measured on paper.
    Add(2, {40, 20, 40, 180}, blue);
    Add(2, {10, 150, 140, 150}, blue);
    // A chain over two records, across the page border.
    Add(5, {20, 30, 60, 40, 80, 20, 100, 50}, green, 9);
    Add(3, {110, 60, 130, 40, 140, 70}, green, 9);
    // Line types: dashes across the border, and a side line.
    MapRecord& dashed = Add(43, {60, 100, 120, 110, 130, 130}, brown);
    dashed.RecordText = "350";
    Add(12, {20, 60, 70, 80}, brown).RecordText = "351";
    // Point symbols, one on each page, one turned east; a named point.
    for (auto [x, y] : {std::pair{30.0, 190.0}, {120.0, 185.0}, {30.0, 10.0}, {130.0, 15.0}})
        Add(15, {x, y, 0, 1}, MakeRgb(200, 0, 0)).RecordText = "1";
    Add(15, {60, 190, 1, 0}, MakeRgb(200, 0, 0)).RecordText = "1";
    MapRecord& named = Add(50, {70, 170, 8, 0}, MakeRgb(0, 0, 150));
    named.RecordZ4 = 1;
    named.RecordText = "J1";
    named.RecordFont = "宋体";
    // Texts in the printer's own text output.
    MapRecord& t65 = Add(65, {15, 135, 14}, black);
    t65.RecordText = "注记测试";
    t65.RecordFont = "宋体";
    MapRecord& t67 = Add(67, {100, 140, 18}, brown);
    t67.RecordText = "地形图";
    t67.RecordFont = "黑体";
    // A circle, point marks and an image from the canvas's picture slot 0.
    Add(7, {120, 80, 12, 1}, green);
    Add(33, {20, 100, 25, 95, 30, 100}, black);
    Picture picture;
    picture.width = 64, picture.height = 48;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(x * 4) << 16 |
                                     static_cast<std::uint32_t>(y * 5) << 8 | 0x80);
    app.display.Images.Image1[0] = picture;
    app.display.Images.ImageSlotNames[0] = "picture.png";  // loaded for the record, as the screen does
    Add(70, {100, 195, 30, -20}, 0).RecordText = "picture.png";
    End();

    // The same map on the screen.
    form1.Picture1.Move(0, 0, 9000, 12000);
    form1.Picture1.SetScale(-10, 210, 170, -220);
    app.view.ScaleFactor = 0.5;
    app.view.PointMarkRadius = 0.2;
    app.view.DisplayZoom = 600 * 0.75 / 170;
    刷新(app);
    dynamic_cast<QtSurface&>(form1.Picture1.surface()).Image().save(LookAt("movra-print-sample-screen.png"));

    ASSERT_EQ(PrintAt(500), 4);
    ASSERT_TRUE(std::filesystem::exists(pdfPath));
    std::filesystem::copy_file(pdfPath, LookAtPath("movra-print-sample.pdf"), std::filesystem::copy_options::overwrite_existing);
    for (int n = 2; n <= 4; ++n) Page(n, "movra-print-sample-" + std::to_string(n));
    const QImage first = Page(1, "movra-print-sample-1");
    ASSERT_FALSE(first.isNull());

    // On page 1 the cell's top-left corner is the drawing's (0, 200); a ground metre is 2 mm.
    Printer& printer = platform.pdf();
    const double windowWidth = printer.Width() / 56.7 - MarginAcrossMm;
    const double windowHeight = printer.Height() / 56.7 - MarginDownMm;
    const double cellLeft = MarginAcrossMm / 2 + 0.05 * windowWidth;
    const double cellTop = MarginDownMm / 2 + 0.05 * windowHeight;
    const double lineX = cellLeft + 40 * 2, lineY = cellTop + (200 - 150) * 2;
    // Across the row 10 mm below the horizontal line: the vertical line only.
    const std::vector<double> across = RunCentres(first, static_cast<int>((lineY + 10) * 10), true, Blue);
    ASSERT_EQ(across.size(), 1u);
    EXPECT_NEAR(across[0] / 10, lineX, 0.2);
    const std::vector<double> down = RunCentres(first, static_cast<int>((lineX + 10) * 10), false, Blue);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_NEAR(down[0] / 10, lineY, 0.2);
}

TEST_F(PrintPagePdfTest, SpecialLinesShapesRowsAndMarksAtTwoScales) {
    RequireTool("pdftoppm");
    const Rgb black = 0, red = MakeRgb(200, 0, 0), blue = MakeRgb(0, 0, 200), brown = MakeRgb(150, 80, 0);
    // A sheet 80 m by 110 m: one page at 1:500 and at 1:1000.
    Add(6, {0, 0, 80, 0, 80, 110, 0, 110}, black);
    MapRecord& fixedBank = Add(93, {5, 102, 20, 104, 35, 100}, brown);
    fixedBank.RecordText = "1090";
    Add(91, {});
    Add(92, {45, 100, 75, 104}, brown).RecordText = "1091";
    MapRecord& dashed = Add(94, {5, 85, 15, 88, 25, 85, 35, 88}, blue);
    dashed.RecordText = "1092";
    dashed.RecordZ2 = 0.5f, dashed.RecordZ3 = 4, dashed.RecordZ4 = 1;
    Add(91, {});
    MapRecord& wall = Add(93, {45, 85, 60, 85, 75, 80}, black);
    wall.RecordText = "1093";
    Add(91, {});
    Add(9, {15, 68, 8, 4, 0.5}, red);
    Add(10, {30, 74, 45, 74, 45, 62, 30, 62}, blue);
    Add(36, {50, 75, 75, 75, 75, 60, 50, 60}, MakeRgb(0, 120, 200));
    Add(58, {5, 55, 5, 45, 35, 45, 35, 55}, brown).RecordZ4 = 3;
    Add(59, {45, 45, 60, 55, 75, 45, 60, 38}, red);
    MapRecord& row = Add(87, {5, 20, 5, 30}, red);
    row.RecordZ1 = 30, row.RecordZ2 = 15;
    row.RecordText = "1";
    row.RecordExtra = "5";
    app.current.CurrentColor = MakeRgb(0, 160, 0);
    for (int k = 0; k < 4; ++k) Add(16 + k, {45.0 + 10 * k, 15}, red);
    End();

    // The upright of mark 16 is 3 mm high at the map's scale, 6 mm at twice its denominator.
    for (const auto& [scale, heightMm] : {std::pair{500, 3.0}, {1000, 6.0}}) {
        ASSERT_EQ(PrintAt(scale), 1) << scale;
        const QImage image = Page(1, "movra-print-sheet-1to" + std::to_string(scale));
        ASSERT_FALSE(image.isNull());
        Printer& printer = platform.pdf();
        const double windowWidth = printer.Width() / 56.7 - MarginAcrossMm;
        const double windowHeight = printer.Height() / 56.7 - MarginDownMm;
        const double mmPerMetre = 1000.0 / scale;
        const double cellLeft = MarginAcrossMm / 2 + 0.05 * windowWidth;
        const double cellTop = MarginDownMm / 2 + 0.05 * windowHeight;
        const int column = static_cast<int>((cellLeft + 45 * mmPerMetre) * 10);
        const int foot = static_cast<int>((cellTop + (110 - 15) * mmPerMetre) * 10);
        int top = foot;
        for (int y = foot - 5; y > foot - 150; --y) {
            bool any = false;
            for (int dx = -3; dx <= 3; ++dx) any = any || Green(image.pixel(column + dx, y));
            if (any) top = y;
        }
        EXPECT_NEAR((foot - top) / 10.0, heightMm, 0.4) << scale;
    }
}


TEST_F(PrintPagePdfTest, TextsInTheirOwnFontsBesideHatchedAndPatternedAreas) {
    RequireTool("pdftoppm");
    RequireTool("pdftotext");
    const Rgb black = 0, blue = MakeRgb(0, 0, 200), green = MakeRgb(0, 140, 0);
    // A sheet 80 m by 110 m: one page at 1:500.
    Add(6, {0, 0, 80, 0, 80, 110, 0, 110}, black);
    struct Placed {
        std::string text;
        double x, y;
    };
    std::vector<Placed> upright;
    const int types[] = {62, 63, 64, 66, 68};
    const double angles[] = {0, 30, -5};
    const char* names[] = {"甲", "乙", "丙", "丁", "戊"};
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            const double x = 3 + 25 * column, y = 105 - 12 * row;
            MapRecord& r = Add(types[row], {x, y, 12, row % 2 ? 0.7 : 1}, row % 2 ? blue : black);
            r.RecordZ2 = static_cast<float>(angles[column]);
            r.RecordX4 = x, r.RecordY4 = y - 5;
            r.RecordText = std::string(names[row]) + "地形" + std::to_string(types[row]) + "号" + std::to_string(column);
            r.RecordFont = row % 2 ? "黑体" : "宋体";
            if (column == 0 && types[row] != 63 && types[row] != 64) upright.push_back({r.RecordText, x, y});
        }
    }
    // Near the far corner of the cell.
    MapRecord& corner = Add(66, {68, 6, 12, 1}, black);
    corner.RecordText = "角点注记";
    corner.RecordFont = "宋体";
    upright.push_back({corner.RecordText, 68, 6});
    // A hatched and a patterned (crossed) area.
    MapRecord& hatch = Add(11, {5, 45, 35, 45, 35, 20, 5, 20}, green);
    hatch.RecordZ4 = 2;
    hatch.RecordText = "5";
    Add(29, {5, 20, 35, 20, 35, 45, 20, 30}, green);
    Add(27, {12, 45, 5, 45}, green);
    MapRecord& pattern = Add(13, {45, 45, 75, 45, 75, 20, 45, 20}, blue);
    pattern.RecordZ4 = 2;
    pattern.RecordText = "3";
    Add(29, {45, 20, 75, 20, 75, 45, 60, 30}, blue);
    Add(27, {52, 45, 45, 45}, blue);
    End();

    ASSERT_EQ(PrintAt(500), 1);
    std::filesystem::copy_file(pdfPath, LookAtPath("movra-print-texts.pdf"), std::filesystem::copy_options::overwrite_existing);
    ASSERT_FALSE(Page(1, "movra-print-texts").isNull());

    // Each unrotated text's upper left corner within 1 mm of its point.
    Printer& printer = platform.pdf();
    const double windowWidth = printer.Width() / 56.7 - MarginAcrossMm;
    const double windowHeight = printer.Height() / 56.7 - MarginDownMm;
    const double cellLeft = MarginAcrossMm / 2 + 0.05 * windowWidth;
    const double cellTop = MarginDownMm / 2 + 0.05 * windowHeight;
    const std::string boxes = Shell("pdftotext -bbox '" + pdfPath + "' -");
    const double mmPerPoint = 25.4 / 72;
    for (const Placed& p : upright) {
        const size_t at = boxes.find(">" + p.text + "</word>");
        ASSERT_NE(at, std::string::npos) << p.text << "\n" << boxes;
        const size_t open = boxes.rfind("<word", at);
        double xMin = 0, yMin = 0;
        ASSERT_EQ(std::sscanf(boxes.c_str() + open, "<word xMin=\"%lf\" yMin=\"%lf\"", &xMin, &yMin), 2);
        EXPECT_NEAR(xMin * mmPerPoint, cellLeft + p.x * 2, 1) << p.text;
        EXPECT_NEAR(yMin * mmPerPoint, cellTop + (110 - p.y) * 2, 1) << p.text;
    }
}

// The pixels of two pictures of one size that differ.
int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST_F(PrintPagePdfTest, AMapAtSurveyCoordinatesPrintsAsTheSameMapNearTheOrigin) {
    RequireTool("pdftoppm");
    const Rgb black = 0, red = MakeRgb(200, 0, 0), blue = MakeRgb(0, 0, 200);
    SetSymbolElement(app.symbolStandard, 1, 0, 1, {{0, 0}, {0, 3}});
    SetSymbolElement(app.symbolStandard, 1, 1, 3, {{0, 3.8}, {0.8, 0}});
    auto map = [&](double ox, double oy) {
        app.store.Count(1) = 0;
        Add(6, {ox, oy, ox + 80, oy, ox + 80, oy + 110, ox, oy + 110}, black);
        Add(2, {ox + 10.123, oy + 20.456, ox + 70.789, oy + 90.321}, blue);
        Add(4, {ox + 5.5, oy + 60.25, ox + 6.25, oy + 61.75, ox + 7, oy + 60.25, ox + 7.75, oy + 61.75}, blue, 8);
        for (int k = 0; k < 5; ++k) Add(15, {ox + 20 + 1.7 * k, oy + 40.3, 0.3, 1}, red).RecordText = "1";
        Add(7, {ox + 50.3, oy + 30.7, 1.2, 1}, black);
        Add(16, {ox + 60.1, oy + 50.2}, red);
        Add(33, {ox + 30.1, oy + 80.1, ox + 31.3, oy + 80.4, ox + 32.2, oy + 79.9}, black);
        MapRecord& text = Add(65, {ox + 40.2, oy + 100.3, 10}, black);
        text.RecordText = "坐标测试";
        text.RecordFont = "宋体";
        End();
    };
    map(0, 0);
    ASSERT_EQ(PrintAt(500), 1);
    const QImage nearOrigin = Page(1, "movra-print-near-origin");
    map(500000, 3500000);
    ASSERT_EQ(PrintAt(500), 1);
    const QImage survey = Page(1, "movra-print-survey-coordinates");
    ASSERT_FALSE(nearOrigin.isNull());
    // Single-precision ends at 3,500,000 m would move by up to 0.125 m, 0.25 mm on paper: a few
    // pixels at ten to the millimetre, along every line and symbol.
    EXPECT_EQ(DifferingPixels(nearOrigin, survey), 0);
}

TEST_F(PrintPagePdfTest, ACircleTextAndInkFillAcrossASeamShowOnBothPages) {
    RequireTool("pdftoppm");
    const Rgb black = 0, green = MakeRgb(0, 150, 0), blue = MakeRgb(0, 0, 200), red = MakeRgb(200, 0, 0);
    // 150 m across at 1:500: two pages, the seam where the second page's cell starts.
    Add(2, {0, 0, 150, 0}, black);
    Add(2, {0, 100, 150, 100}, black);
    Printer& printer = platform.pdf();
    const double windowWidth = printer.Width() / 56.7 - MarginAcrossMm;
    const double windowHeight = printer.Height() / 56.7 - MarginDownMm;
    const double seam = 0.9 * windowWidth / 2;  // ground metres: 2 mm to the metre
    Add(7, {seam, 70, 8, 1}, green);
    MapRecord& text = Add(65, {seam - 3, 50, 14}, blue);
    text.RecordText = "跨页注记测试";
    text.RecordFont = "宋体";
    for (int k = 0; k < 20; ++k) {
        MapRecord& ink = Add(81, {seam - 6, 20 + 0.4 * k, seam - 6, 20.1 + 0.4 * k, seam - 6, 20.2 + 0.4 * k,
                                  seam - 6, 20.3 + 0.4 * k},
                             red, 8);
        ink.RecordZ1 = ink.RecordZ2 = ink.RecordZ3 = ink.RecordZ4 = 12;
    }
    End();
    ASSERT_EQ(PrintAt(500), 2);
    const QImage first = Page(1, "movra-print-seam-1"), second = Page(2, "movra-print-seam-2");
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());

    // Ten millimetres either side of the seam: the figures' parts on both pages, and nothing of
    // them beyond the cell's edge into the page's margin band.
    const double cellLeft = MarginAcrossMm / 2 + 0.05 * windowWidth;
    const int seamOnFirst = static_cast<int>((cellLeft + 0.9 * windowWidth) * 10);
    const int seamOnSecond = static_cast<int>(cellLeft * 10);
    auto count = [](const QImage& image, int x0, int x1, auto test) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x) n += test(image.pixel(x, y));
        return n;
    };
    auto isGreen = [](QRgb p) { return qGreen(p) > 100 && qRed(p) < 90 && qBlue(p) < 90; };
    auto isBlue = [](QRgb p) { return qBlue(p) > 150 && qRed(p) < 90 && qGreen(p) < 90; };
    auto isRed = [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90 && qBlue(p) < 90; };
    for (const auto& [name, test] : std::vector<std::pair<std::string, std::function<bool(QRgb)>>>{
             {"circle", isGreen}, {"text", isBlue}, {"ink fill", isRed}}) {
        EXPECT_GT(count(first, seamOnFirst - 100, seamOnFirst - 3, test), 50) << name << " on page 1";
        EXPECT_GT(count(second, seamOnSecond + 3, seamOnSecond + 100, test), 50) << name << " on page 2";
        EXPECT_EQ(count(first, seamOnFirst + 3, seamOnFirst + 100, test), 0) << name << " beyond page 1";
        EXPECT_EQ(count(second, seamOnSecond - 100, seamOnSecond - 3, test), 0) << name << " before page 2";
    }
}

TEST_F(PrintPagePdfTest, FiguresOnTheDrawingsWestAndNorthEdgesPrintWhole) {
    RequireTool("pdftoppm");
    const Rgb green = MakeRgb(0, 150, 0), blue = MakeRgb(0, 0, 200);
    // One page at 1:500 whose cell starts at the drawing's west and north edges: a circle on
    // that corner and a wide line along each of the two edges.
    Add(7, {0, 100, 5, 1}, green);
    Add(2, {0, 10, 0, 80}, blue, 66);  // 60 printer dots: 2.5 mm
    Add(2, {20, 100, 80, 100}, blue, 66);
    Add(2, {0, 0, 80, 0}, 0);
    End();
    ASSERT_EQ(PrintAt(500), 1);
    const QImage image = Page(1, "movra-print-outer-edges");
    ASSERT_FALSE(image.isNull());

    Printer& printer = platform.pdf();
    const double windowWidth = printer.Width() / 56.7 - MarginAcrossMm;
    const double windowHeight = printer.Height() / 56.7 - MarginDownMm;
    const int cellLeft = static_cast<int>((MarginAcrossMm / 2 + 0.05 * windowWidth) * 10);
    const int cellTop = static_cast<int>((MarginDownMm / 2 + 0.05 * windowHeight) * 10);
    auto count = [&](int x0, int y0, int x1, int y1, auto test) {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y)
            for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x) n += test(image.pixel(x, y));
        return n;
    };
    auto isGreen = [](QRgb p) { return qGreen(p) > 100 && qRed(p) < 90 && qBlue(p) < 90; };
    auto isBlue = [](QRgb p) { return qBlue(p) > 150 && qRed(p) < 90 && qGreen(p) < 90; };
    // The circle (10 mm across, 100 pixels) shows as much west of the cell and north of it as
    // within it.
    const int r = 100;
    const int west = count(cellLeft - r - 10, cellTop - r - 10, cellLeft - 3, cellTop + r + 10, isGreen);
    const int east = count(cellLeft + 3, cellTop - r - 10, cellLeft + r + 10, cellTop + r + 10, isGreen);
    const int north = count(cellLeft - r - 10, cellTop - r - 10, cellLeft + r + 10, cellTop - 3, isGreen);
    const int south = count(cellLeft - r - 10, cellTop + 3, cellLeft + r + 10, cellTop + r + 10, isGreen);
    EXPECT_GT(east, 100);
    EXPECT_GT(west, east / 2);
    EXPECT_GT(north, south / 2);
    // The wide lines spread out of the cell on their outer side as well.
    const int lineWest = count(cellLeft - 20, cellTop + 400, cellLeft - 1, cellTop + 1200, isBlue);
    const int lineEast = count(cellLeft + 1, cellTop + 400, cellLeft + 20, cellTop + 1200, isBlue);
    EXPECT_GT(lineEast, 100);
    EXPECT_GT(lineWest, lineEast / 2);
    const int lineNorth = count(cellLeft + 500, cellTop - 20, cellLeft + 1400, cellTop - 1, isBlue);
    const int lineSouth = count(cellLeft + 500, cellTop + 1, cellLeft + 1400, cellTop + 20, isBlue);
    EXPECT_GT(lineSouth, 100);
    EXPECT_GT(lineNorth, lineSouth / 2);
}

TEST_F(PrintPagePdfTest, EveryFaceGivesItsChineseTextBackFromThePdf) {
    RequireTool("pdftotext");
    // Every face the program offers, in its own text output, and the faces of the font texts.
    const std::string common = "日大黑一人口山水田土长江路打印比例";
    std::vector<std::string> expected;
    for (int i = 0; i < FontFaceCount; ++i) {
        MapRecord& r = Add(65, {2 + 45.0 * (i % 2), 108 - 1.4 * (i / 2), 4}, 0);
        r.RecordFont = FontIndexToName(static_cast<std::uint8_t>(i));
        r.RecordText = common + std::to_string(i);
        expected.push_back(std::string(r.RecordText));
    }
    const char* fontFaces[] = {"黑体", "微软雅黑", "宋体", "楷体_GB2312", "Arial", "Times New Roman"};
    for (int i = 0; i < 6; ++i) {
        MapRecord& r = Add(62, {2 + 45.0 * (i % 2), -2 - 4.0 * (i / 2), 4, 1}, 0);
        r.RecordFont = fontFaces[i];
        r.RecordText = common + "字" + std::to_string(i);
        expected.push_back(std::string(r.RecordText));
    }
    End();
    ASSERT_GE(PrintAt(500), 1);
    const std::string text = Shell("pdftotext '" + pdfPath + "' -");
    for (const std::string& e : expected) EXPECT_NE(text.find(e), std::string::npos) << e;
    EXPECT_NE(text.find("打印比例1/500日期："), std::string::npos);
}

}  // namespace
}  // namespace movra
