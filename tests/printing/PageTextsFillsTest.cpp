// The printer's texts in fonts of their own, and its hatched and patterned areas, on the
// recording printer: an A4 page at 600 dots per inch showing ground 0..105 by 148.5..0 at 1:500.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "PrintFixture.h"
#include "printing/PageFills.h"
#include "printing/PageRecords.h"
#include "printing/PageTexts.h"
#include "support/PictureTestHelpers.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;
using Style = PrintedTextStyle;

class PageTextsFillsTest : public PrintTest {
protected:
    PageTextsFillsTest() {
        PrintDialogState& s = app.printState;
        page().SetScale(0, 148.5, 105, -148.5);
        s.PageWindowLeft = 0, s.PageWindowTop = 148.5;
        s.CellLeft = 5, s.CellRight = 95, s.CellBottom = 10, s.CellTop = 140;
        s.MetresPerPaperMm = 0.5;
        s.MapToPrintRatio = 1;
        s.PrintToMapRatio = 1;
        s.PageCount = 1;
        app.view.ScaleFactor = 0.5;
        app.tables.ColorPalette[0] = 0;
        app.tables.ColorPalette[7] = 0xFFFFFF;
        app.store.LayerCount = 1;
        page().ClearRecords();
    }
    RecordingSurface& page() { return printer.page; }

    // A fill head of the type over the points, its boundary in one record per four points.
    void Fill(int type, std::vector<std::pair<double, double>> points, const std::string& code = "5",
              Rgb color = 0x00AA00) {
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (auto [x, y] : points) minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        MapRecord& head = Add(type, minX, maxY, maxX, maxY);
        head.RecordX3 = maxX, head.RecordY3 = minY, head.RecordX4 = minX, head.RecordY4 = minY;
        head.RecordText = code;
        head.RecordColor = color;
        const size_t records = (points.size() + 3) / 4;
        head.RecordZ4 = static_cast<float>(records);
        for (size_t r = 0; r < records; ++r) {
            const size_t n = std::min<size_t>(4, points.size() - 4 * r);
            MapRecord& b = Add(static_cast<int>(25 + n), 0, 0);  // 26 to 29: one to four points
            double* f[] = {&b.RecordX1, &b.RecordY1, &b.RecordX2, &b.RecordY2, &b.RecordX3, &b.RecordY3, &b.RecordX4, &b.RecordY4};
            for (size_t k = 0; k < n; ++k) *f[2 * k] = points[4 * r + k].first, *f[2 * k + 1] = points[4 * r + k].second;
        }
        Add(0, 0, 0);
    }
    // The lines drawn, by the height of their first end.
    std::map<double, std::vector<SurfacePrimitive>> Rows() {
        std::map<double, std::vector<SurfacePrimitive>> rows;
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) rows[std::round(p.y1 * 1e6) / 1e6].push_back(p);
        return rows;
    }
};

TEST_F(PageTextsFillsTest, FontRecordsOfTheFourTexts) {
    const struct {
        Style style;
        double h, w, a;
        int height, width, escapement, orientation, weight;
        bool italic;
    } cases[] = {
        {Style::Angled, 10, 1, 0, 30, 30, 0, 0, 400, false},
        {Style::Out, 10, 1, 0.1, 30, 30, 1, 1, 200, false},
        {Style::Italic, 10, 0.5, 0, 30, 15, 0, 0, 200, true},
        {Style::Out, 10, 0, 7.46, 30, 20, 74, 74, 200, false},
        {Style::Gdi, 10, 0, 7.46, 30, 15, 75, 195, 200, false},
        {Style::Gdi, 10, 3, 0, 30, 15, 0, 120, 200, false},
        {Style::Gdi, 10, 1, -5, 30, 15, 2700, 0, 200, false},
        {Style::Angled, 10, 1, -5, 30, 30, -50, -50, 400, false},
    };
    for (const auto& c : cases) {
        LogicalFont f;
        ASSERT_TRUE(PrintedTextFont(c.style, c.h, c.w, c.a, "宋体", 1, f)) << static_cast<int>(c.style);
        EXPECT_EQ(f.height, c.height);
        EXPECT_EQ(f.width, c.width) << static_cast<int>(c.style) << " " << c.w;
        EXPECT_EQ(f.escapement, c.escapement) << static_cast<int>(c.style) << " " << c.a;
        EXPECT_EQ(f.orientation, c.orientation) << static_cast<int>(c.style) << " " << c.a;
        EXPECT_EQ(f.weight, c.weight);
        EXPECT_EQ(f.italic, c.italic);
        EXPECT_EQ(f.faceName, "宋体");
    }
    LogicalFont f;
    EXPECT_FALSE(PrintedTextFont(Style::Out, 0.16, 1, 0, "宋体", 1, f));  // Int(0.98) = 0
    EXPECT_TRUE(PrintedTextFont(Style::Out, 0.17, 1, 0, "宋体", 1, f));

    // Too small to print: no font is made.
    for (auto print : {PrintTextAngled, PrintTextOut, PrintTextItalic, PrintTextGdi}) {
        page().ClearRecords();
        print(app, 50, 50, "字", 0.1, 1, 0, 0, "宋体", 0);
        EXPECT_TRUE(page().createdFonts.empty());
        EXPECT_TRUE(page().primitives.empty());
    }
}

TEST_F(PageTextsFillsTest, TextsStandAtTheirGroundPointAndReleaseTheirFont) {
    app.tables.ColorPalette[3] = MakeRgb(0, 0, 200);
    int index = 0;
    for (auto print : {PrintTextAngled, PrintTextOut, PrintTextItalic, PrintTextGdi}) {
        page().ClearRecords();
        print(app, 60, 100, "地形", 10, 1, 0, 0, "黑体", 3);
        const auto texts = page().PrimitivesOf(Kind::TextOut);
        ASSERT_FALSE(texts.empty()) << index;
        // The page's own mapping: 47.25 pixels to the metre from the window's corner.
        EXPECT_NEAR(texts[0].pixelX, page().ToPixelX(60), 1) << index;
        EXPECT_NEAR(texts[0].pixelY, page().ToPixelY(100), 1) << index;
        // 30 units of 4.2 twips at 600 dots per inch: 52.5 pixels.
        EXPECT_NEAR(std::abs(texts[0].logicalFont.height), 52.5, 1) << index;
        EXPECT_EQ(texts[0].logicalFont.faceName, "黑体");
        // A colour below 255 is a palette index on every call.
        EXPECT_EQ(texts[0].color, MakeRgb(0, 0, 200)) << index;
        // The font made is deleted again and the one before selected back.
        EXPECT_EQ(page().createdFonts.size(), page().deletedFonts.size()) << index;
        EXPECT_EQ(page().SelectedFont(), 0) << index;
        ++index;
    }
}

TEST_F(PageTextsFillsTest, TextRecordsPickTheirProcedure) {
    const struct {
        int type;
        float angle;
        bool dot;
        int weight;
        bool italic;
    } cases[] = {{62, 0, true, 400, false}, {62, 30, true, 200, false}, {66, 0, false, 400, false},
                 {68, 30, false, 200, false}, {63, 0, false, 200, false}, {64, 0, false, 200, true}};
    for (const auto& c : cases) {
        app.store.Count(1) = 0;
        page().ClearRecords();
        MapRecord& r = Add(c.type, 50, 50, 4, 1);
        r.RecordZ2 = c.angle;
        r.RecordY3 = 1e9;  // the spare value is not read
        r.RecordX4 = 52, r.RecordY4 = 48;
        r.RecordText = "注记";
        r.RecordFont = "宋体";
        r.RecordColor = 0xFFFFFF;
        Add(0, 0, 0);
        PrintPageRecords(app);
        const auto texts = page().PrimitivesOf(Kind::TextOut);
        ASSERT_FALSE(texts.empty()) << c.type;
        EXPECT_EQ(texts[0].logicalFont.weight, c.weight) << c.type;
        EXPECT_EQ(texts[0].logicalFont.italic, c.italic) << c.type;
        EXPECT_EQ(texts[0].color, 0) << "white prints black";
        const auto dots = page().PrimitivesOf(Kind::Point);
        ASSERT_EQ(dots.size(), c.dot ? 1u : 0u) << c.type;
        if (c.dot) {
            EXPECT_EQ(dots[0].x1, 52);
            EXPECT_EQ(dots[0].drawWidth, 2);
        }
    }
}

TEST_F(PageTextsFillsTest, HatchLinesAFifthOfAMillimetreApart) {
    // A box 10 m high at 1:500 printed at 1:500: lines 0.1 m apart, 99 of them.
    Fill(11, {{20, 20}, {30, 20}, {30, 30}, {20, 30}});
    PrintPageRecords(app);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 99u);
    EXPECT_NEAR(rows.begin()->first, 20.1, 1e-5);
    for (const auto& [y, lines] : rows) {
        ASSERT_EQ(lines.size(), 1u) << y;
        EXPECT_NEAR(std::min(lines[0].x1, lines[0].x2), 20, 1e-9);
        EXPECT_NEAR(std::max(lines[0].x1, lines[0].x2), 30, 1e-9);
        EXPECT_EQ(lines[0].drawWidth, 3);
        EXPECT_EQ(lines[0].color, 0x00AA00u);  // in the line colour
    }

    // A diamond with a vertex on a scan line: that line fills its chord.
    app.store.Count(1) = 0;
    page().ClearRecords();
    Fill(11, {{40, 20}, {42, 21}, {40, 22}, {38, 21}});  // the scan line 21 = 20 + 10 steps
    PrintPageRecords(app);
    const auto diamond = Rows();
    ASSERT_TRUE(diamond.count(21.0)) << diamond.size();
    EXPECT_NEAR(std::fabs(diamond.at(21.0)[0].x2 - diamond.at(21.0)[0].x1), 4, 1e-5);

    // An area larger than the page, none of its points in the cell, fills the page.
    app.store.Count(1) = 0;
    page().ClearRecords();
    Fill(11, {{-100, -100}, {300, -100}, {300, 300}, {-100, 300}});
    PrintPageRecords(app);
    const auto whole = Rows();
    EXPECT_NEAR(static_cast<double>(whole.size()), 1300, 2);  // 10..140 in steps of about 0.1
    for (const auto& [y, lines] : whole) {
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(std::min(lines[0].x1, lines[0].x2), 5);
        EXPECT_EQ(std::max(lines[0].x1, lines[0].x2), 95);
    }
    // An area beside the cell prints nothing.
    app.store.Count(1) = 0;
    page().ClearRecords();
    Fill(11, {{100, 20}, {110, 20}, {110, 30}, {100, 30}});
    PrintPageRecords(app);
    EXPECT_TRUE(page().PrimitivesOf(Kind::Line).empty());
}

TEST_F(PageTextsFillsTest, PatternedFills) {
    auto slopes = [&] {
        std::vector<int> s;
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line))
            s.push_back((p.x2 - p.x1) * (p.y2 - p.y1) > 0 ? 1 : -1);
        return s;
    };
    // Code 3: every line of slope -1 before the first of slope +1.
    Fill(13, {{20, 20}, {40, 20}, {40, 35}, {20, 35}}, "3");
    PrintPageRecords(app);
    std::vector<int> s = slopes();
    ASSERT_GT(s.size(), 10u);
    const auto firstUp = std::find(s.begin(), s.end(), 1);
    ASSERT_NE(firstUp, s.end());
    EXPECT_EQ(std::count(firstUp, s.end(), -1), 0);
    EXPECT_GT(std::count(s.begin(), firstUp, -1), 5);

    // Codes 0, 5 and 400 as 1.
    app.store.At(1, 1).RecordText = "1";
    page().ClearRecords();
    PrintPageRecords(app);
    const auto reference = page().PrimitivesOf(Kind::Line);
    for (const char* code : {"0", "5", "400"}) {
        app.store.At(1, 1).RecordText = code;
        page().ClearRecords();
        PrintPageRecords(app);
        const auto lines = page().PrimitivesOf(Kind::Line);
        ASSERT_EQ(lines.size(), reference.size()) << code;
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].x1, reference[i].x1) << code;
    }

    // A U-shaped area: both arms.
    app.store.Count(1) = 0;
    page().ClearRecords();
    Fill(13, {{20, 20}, {60, 20}, {60, 60}, {56, 60}, {56, 24}, {24, 24}, {24, 60}, {20, 60}}, "1");
    PrintPageRecords(app);
    bool left = false, right = false;
    for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) {
        left = left || (p.x1 < 24 && p.y1 > 40);
        right = right || (p.x1 > 56 && p.y1 > 40);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST_F(PageTextsFillsTest, PatternedSymbolRows) {
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 120, 0, 5, {{0, 0}});  // a point
    app.symbolStandard.LineTypePattern.At(200, 2, 1) = 0;  // no steps: 10 map millimetres
    app.symbolStandard.LineTypePattern.At(200, 4, 1) = 0;
    app.symbolStandard.LineTypePattern.At(200, 5, 1) = 120;
    // Across the cell's left side: symbols only strictly inside the cell, in the head's colour.
    Fill(13, {{-40, 20}, {60, 20}, {60, 120}, {-40, 120}}, "200", 0x00AA00);
    PrintPageRecords(app);
    const auto points = page().PrimitivesOf(Kind::Point);
    ASSERT_GT(points.size(), 10u);
    for (const SurfacePrimitive& p : points) {
        EXPECT_GT(p.x1, 5);
        EXPECT_EQ(p.color, 0x00AA00u);
    }
    // Along a row the symbols step 10 mm at the map's scale (5 m) both ways.
    bool stepped = false;
    for (size_t i = 1; i < points.size(); ++i)
        if (std::fabs((points[i].y1 - points[i].x1) - (points[i - 1].y1 - points[i - 1].x1)) < 1e-6) {
            EXPECT_NEAR(points[i].x1 - points[i - 1].x1, 5, 1e-4);
            stepped = true;
        }
    EXPECT_TRUE(stepped);

    // Code 4 with row 216 empty has no spacing: nothing, and the loop goes on.
    app.store.At(1, 1).RecordText = "4";
    page().ClearRecords();
    PrintPageRecords(app);
    EXPECT_TRUE(page().primitives.empty());
}

}  // namespace
}  // namespace movra
