// The printer's special lines, shapes, symbol rows and land-use marks on the recording printer,
// measured in paper millimetres from the segment's start.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "PrintFixture.h"
#include "printing/PageRecords.h"
#include "printing/PageShapes.h"
#include "support/PictureTestHelpers.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;

struct Seg {
    double x1, y1, x2, y2;
    int width = 0;
    Rgb color = 0;
};
void PrintTo(const Seg& s, std::ostream* os) {
    *os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ") w" << s.width;
}

// Steps of the shapes are single precision.
bool Near(double a, double b) { return std::fabs(a - b) < 1e-4; }
bool Same(const Seg& a, const Seg& b) {
    return Near(a.x1, b.x1) && Near(a.y1, b.y1) && Near(a.x2, b.x2) && Near(a.y2, b.y2);
}

// A page whose cell is ground 0..100 both ways at the map's own scale, one metre to the paper
// millimetre, so ground metres along a segment are paper millimetres.
class PageShapesTest : public PrintTest {
protected:
    PageShapesTest() {
        PrintDialogState& s = app.printState;
        s.CellLeft = 0, s.CellRight = 100, s.CellBottom = 0, s.CellTop = 100;
        AtScale(1);
        s.PageCount = 1;
        app.view.ScaleFactor = 1;
        app.tables.ColorPalette[0] = 0;
        app.tables.ColorPalette[7] = 0xFFFFFF;
        app.store.LayerCount = 1;
        page().ClearRecords();
    }
    // Printed at `times` the map's scale denominator.
    void AtScale(double times) {
        PrintDialogState& s = app.printState;
        s.MetresPerPaperMm = times;
        s.PrintToMapRatio = times;
        s.MapToPrintRatio = 1 / times;
        s.ScaledMetresPerPaperMm = times * times;
    }
    RecordingSurface& page() { return printer.page; }
    std::vector<Seg> Lines() {
        std::vector<Seg> out;
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line))
            out.push_back({p.x1, p.y1, p.x2, p.y2, p.drawWidth, p.color});
        return out;
    }
    // The lines after the first (the base line), as the x of their foot.
    std::vector<double> TickFeet() {
        std::vector<double> feet;
        const std::vector<Seg> lines = Lines();
        for (size_t i = 1; i < lines.size(); ++i) feet.push_back(lines[i].x1 - 10);
        return feet;
    }
};

TEST_F(PageShapesTest, TickRowsOfWallBankAndFixedBank) {
    const struct {
        const char* code;
        double length;       // paper millimetres, eastwards from (10, 50)
        std::vector<double> feet;  // millimetres from P1
        double tick;         // tick length, on the right (south)
        std::vector<double> dots;
    } cases[] = {
        {"1093", 24, {5, 15}, 1, {}},
        {"1093", 26, {5, 15, 25}, 1, {}},
        {"1093", 8, {4}, 1, {}},
        {"1091", 0.5, {1}, 1, {}},
        {"1091", 5, {1, 3, 5}, 1, {}},
        {"1090", 9, {2, 6}, 2, {0, 4}},
        {"1090", 11, {2, 6, 10}, 2, {0, 4, 8}},
    };
    for (const auto& c : cases) {
        page().ClearRecords();
        PrintSpecialPattern(app, 10, 50, 10 + c.length, 50, 0x00FF00, c.code, 0, 0, 0);
        const std::vector<Seg> lines = Lines();
        ASSERT_FALSE(lines.empty()) << c.code << " " << c.length;
        EXPECT_TRUE(Same(lines[0], {10, 50, 10 + c.length, 50})) << c.code;
        EXPECT_EQ(lines[0].width, std::string(c.code) == "1093" ? 3 : 1) << c.code;
        ASSERT_EQ(TickFeet().size(), c.feet.size()) << c.code << " " << c.length;
        for (size_t i = 0; i < c.feet.size(); ++i) {
            EXPECT_TRUE(Same(lines[i + 1], {10 + c.feet[i], 50, 10 + c.feet[i], 50 - c.tick}))
                << c.code << " " << c.length << " tick " << i;
            EXPECT_EQ(lines[i + 1].width, std::string(c.code) == "1093" ? 4 : 1);
            EXPECT_EQ(lines[i + 1].color, 0) << "lines print in LineColor";
        }
        const auto dots = page().PrimitivesOf(Kind::Point);
        ASSERT_EQ(dots.size(), c.dots.size()) << c.code << " " << c.length;
        for (size_t i = 0; i < dots.size(); ++i) {
            EXPECT_NEAR(dots[i].x1, 10 + c.dots[i], 1e-6);
            EXPECT_NEAR(dots[i].y1, 49, 1e-6);
            EXPECT_EQ(dots[i].color, 0x00FF00) << "dots print in the record's own colour";
        }
    }

    // The fixed bank's dots are set whole beyond the cell; its ticks are clipped.
    page().ClearRecords();
    PrintSpecialPattern(app, 95, 0.5, 105, 0.5, 0x00FF00, "1090", 0, 0, 0);
    ASSERT_EQ(page().PrimitivesOf(Kind::Point).size(), 3u);
    EXPECT_NEAR(page().PrimitivesOf(Kind::Point)[1].y1, -0.5, 1e-6);
    for (const Seg& s : Lines()) EXPECT_TRUE(s.x1 <= 100 && s.x2 <= 100 && s.y2 >= 0) << ::testing::PrintToString(s);

    // Other codes print nothing; zero-length segments their base line only, the dashed nothing.
    for (const char* code : {"1094", "", "1090 "}) {
        page().ClearRecords();
        PrintSpecialPattern(app, 10, 50, 30, 50, 0, code, 1, 1, 1);
        EXPECT_TRUE(page().primitives.empty()) << code;
    }
    for (const char* code : {"1090", "1091", "1093"}) {
        page().ClearRecords();
        PrintSpecialPattern(app, 10, 50, 10, 50, 0, code, 0, 0, 0);
        EXPECT_EQ(Lines().size(), 1u) << code;
        EXPECT_TRUE(page().PrimitivesOf(Kind::Point).empty()) << code;
    }
}

TEST_F(PageShapesTest, DashedLineCarriesItsRhythmAcrossSegments) {
    auto dashes = [&] {
        std::vector<Seg> out;
        for (const Seg& s : Lines())
            if (std::hypot(s.x2 - s.x1, s.y2 - s.y1) > 1e-9) out.push_back(s);
        return out;
    };
    // Two collinear segments of 3 and 7 mm, dash 4, gap 1: 0-4 crosses the joint, then 5-9.
    PrintSpecialPattern(app, 10, 50, 13, 50, 0, "1092", 0.2, 4, 1);
    PrintSpecialPattern(app, 13, 50, 20, 50, 0, "1092", 0.2, 4, 1);
    std::vector<Seg> got = dashes();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(Same(got[0], {10, 50, 13, 50}));
    EXPECT_TRUE(Same(got[1], {13, 50, 14, 50}));
    EXPECT_TRUE(Same(got[2], {15, 50, 19, 50}));
    EXPECT_EQ(got[0].width, 2);

    // A segment away from the stored end starts with a whole dash at its own start.
    page().ClearRecords();
    PrintSpecialPattern(app, 50, 60, 60, 60, 0, "1092", 0.2, 4, 1);
    ASSERT_FALSE(dashes().empty());
    EXPECT_TRUE(Same(dashes()[0], {50, 60, 54, 60}));

    // A zero-length segment draws nothing and keeps the state; dash and gap 0 draw no dashes.
    page().ClearRecords();
    const double carry = app.printState.DashCarry;
    PrintSpecialPattern(app, 60, 60, 60, 60, 0, "1092", 0.2, 4, 1);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(app.printState.DashCarry, carry);
    EXPECT_EQ(app.printState.DashChainEndX, 60);
    PrintSpecialPattern(app, 0, 10, 50, 10, 0, "1092", 0.2, 0, 0);
    EXPECT_TRUE(Lines().empty());

    // Widths are tenths of a single-precision millimetre, cut: 0.7 gives 6.
    for (const auto& [width, dots] : {std::pair{0.2f, 2}, {0.7f, 6}}) {
        page().ClearRecords();
        PrintSpecialPattern(app, 0, 20, 50, 20, 0, "1092", width, 4, 1);
        ASSERT_FALSE(Lines().empty());
        EXPECT_EQ(Lines()[0].width, dots) << width;
    }
}

TEST_F(PageShapesTest, DashedChainStartsAfreshOnTheNextPage) {
    // A chain of two segments, printed on two pages: both pages get the same dashes.
    MapRecord& r = Add(93, 10, 50, 13, 50);
    r.RecordX3 = 20, r.RecordY3 = 50;
    r.RecordText = "1092";
    r.RecordZ2 = 0.3f, r.RecordZ3 = 4, r.RecordZ4 = 1;
    Add(91, 0, 0);
    PrintPageRecords(app);
    const std::vector<Seg> first = Lines();
    page().ClearRecords();
    PrintPageRecords(app);
    const std::vector<Seg> second = Lines();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(Same(first[i], second[i])) << i;
    EXPECT_TRUE(Same(first[0], {10, 50, 13, 50}));
}

TEST_F(PageShapesTest, SpecialChainsAndSingleSegmentsOnTheCellsSides) {
    // On the left side: printed (the frame of a drawing whose first cell starts at its extents).
    // Just beyond it: a single segment not; a bank line, whose ticks stand to its right, prints
    // what of them reaches in, and not once it is farther off than a tick is long. In the record's
    // colour as handed on; a white record's lines in black.
    const double tick = app.printState.MetresPerPaperMm;  // a bank line's ticks are 1 mm long
    const struct {
        int type;
        double x;
        bool printed;
    } cases[] = {{92, 0, true},    {99, 0, true},    {92, -0.001, true},      {99, -0.001, false},
                 {92, 0.5, true},  {99, 0.5, true},  {92, -1.01 * tick, false}};
    for (const auto& c : cases) {
        for (int type : {c.type}) {
            app.store.Count(1) = 0;
            page().ClearRecords();
            MapRecord& r = Add(type, c.x, 10, c.x, 60);
            r.RecordText = "1091";
            r.RecordColor = 0xFFFFFF;
            Add(0, 0, 0);
            PrintPageRecords(app);
            EXPECT_EQ(!Lines().empty(), c.printed) << type << " at " << c.x;
            for (const Seg& s : Lines()) EXPECT_EQ(s.color, 0u);
        }
    }
    EXPECT_EQ(app.display.PenColor, 0xFFFFFFu);
}

TEST_F(PageShapesTest, EllipseIsA36GonFromTheSideOfAzimuthWPlusPi) {
    const struct {
        float w;
        double firstX, firstY;
    } cases[] = {{0, 50, 40}, {static_cast<float>(M_PI / 2), 40, 50}};
    for (const auto& c : cases) {
        page().ClearRecords();
        PrintRotatedEllipse(app, 50, 50, 10, 10, c.w, 0x123456);
        const std::vector<Seg> lines = Lines();
        ASSERT_EQ(lines.size(), 36u);
        EXPECT_NEAR(lines[0].x1, c.firstX, 1e-4);
        EXPECT_NEAR(lines[0].y1, c.firstY, 1e-4);
        for (const Seg& s : lines) EXPECT_NEAR(std::hypot(s.x1 - 50, s.y1 - 50), 10, 1e-4);
        EXPECT_NEAR(lines[35].x2, c.firstX, 1e-4);
    }
    // w = 0: the a axis runs north-south.
    page().ClearRecords();
    PrintRotatedEllipse(app, 50, 50, 20, 5, 0, 0);
    double maxY = 0, maxX = 0;
    for (const Seg& s : Lines()) maxY = std::max(maxY, s.y1 - 50), maxX = std::max(maxX, s.x1 - 50);
    EXPECT_NEAR(maxY, 20, 1e-4);
    EXPECT_NEAR(maxX, 5, 1e-4);
    // Whole, even beyond the cell, through the record loop from a centre on its edge.
    page().ClearRecords();
    MapRecord& e = Add(9, 100, 50, 10, 10);
    e.RecordX3 = 0;
    Add(0, 0, 0);
    PrintPageRecords(app);
    ASSERT_EQ(Lines().size(), 36u);
    EXPECT_NEAR(Lines()[8].x2, 110, 1e-4);  // the ninth chord ends due east
}

TEST_F(PageShapesTest, BandLinesStandAFifthOfAMillimetreApartAtTheMapsScale) {
    for (double times : {1.0, 2.0}) {
        AtScale(times);
        app.store.Count(1) = 0;
        page().ClearRecords();
        // P1-P4 the west side 0..2 m up, P2-P3 the east side: lines join them across.
        const double h = 4 * times;
        MapRecord& r = Add(10, 10, 10, 30, 10);
        r.RecordX3 = 30, r.RecordY3 = 10 + h, r.RecordX4 = 10, r.RecordY4 = 10 + h;
        Add(0, 0, 0);
        PrintPageRecords(app);
        const std::vector<Seg> lines = Lines();
        ASSERT_GE(lines.size(), 8u) << times;
        const double gapMm = (lines[1].y2 - lines[0].y2) / times;
        EXPECT_NEAR(gapMm, 0.2 * times, 1e-5) << times;
        EXPECT_EQ(lines[0].width, 3);
        EXPECT_EQ(page().DrawWidth(), 1);
    }
}

TEST_F(PageShapesTest, GridPaperEveryTenthLineWide) {
    // 30 mm wide, 25.5 mm high, with pen 9 (width 3).
    MapRecord& r = Add(36, 10, 90, 40, 90);
    r.RecordX3 = 40, r.RecordY3 = 64.5, r.RecordX4 = 10, r.RecordY4 = 64.5;
    r.RecordPen = 9;
    Add(0, 0, 0);
    PrintPageRecords(app);
    std::vector<Seg> across;
    for (const Seg& s : Lines())
        if (s.y1 == s.y2 && s.y1 < 90 && s.y1 > 64.5) across.push_back(s);
    ASSERT_EQ(across.size(), 25u);
    for (int k = 1; k <= 25; ++k) {
        const int width = k % 10 == 0 ? 2 : k < 10 ? 3 : 1;
        EXPECT_EQ(across[k - 1].width, width) << k;
        EXPECT_NEAR(across[k - 1].y1, 90 - k, 1e-4) << k;
    }
}

TEST_F(PageShapesTest, RungsAndChevrons) {
    auto strip = [&](int type, float z4, int pen) {
        app.store.Count(1) = 0;
        page().ClearRecords();
        MapRecord& r = Add(type, 0, 0, 0, 10);
        r.RecordX3 = 100, r.RecordY3 = 10, r.RecordX4 = 100, r.RecordY4 = 0;
        r.RecordZ4 = z4;
        r.RecordPen = static_cast<std::uint8_t>(pen);
        Add(0, 0, 0);
        PrintPageRecords(app);
        return Lines();
    };
    std::vector<Seg> rungs = strip(58, 0, 0);
    ASSERT_EQ(rungs.size(), 1u);
    EXPECT_TRUE(Same(rungs[0], {50, 0, 50, 10}));
    EXPECT_EQ(rungs[0].width, 2);
    rungs = strip(58, 10, 3);  // N = 10 at one metre per millimetre
    ASSERT_EQ(rungs.size(), 10u);
    for (int k = 0; k < 10; ++k) EXPECT_TRUE(Same(rungs[k], {5.0 + 10 * k, 0, 5.0 + 10 * k, 10})) << k;
    EXPECT_EQ(rungs[0].width, 3);

    // Chevrons: P1-P2-P3 moved 1/6, 3/6 and 5/6 of the way to P4.
    std::vector<Seg> chevrons = strip(59, 0, 0);
    ASSERT_EQ(chevrons.size(), 6u);
    const double f[] = {1.0 / 6, 3.0 / 6, 5.0 / 6};
    for (int j = 0; j < 3; ++j) {
        EXPECT_TRUE(Same(chevrons[2 * j], {100 * f[j], 0, 100 * f[j], 10 - 10 * f[j]})) << j;
        EXPECT_EQ(chevrons[2 * j].width, j == 0 ? 2 : 5);
        EXPECT_EQ(chevrons[2 * j].color, 0);  // the chevrons keep the line colour
    }

    // A huge count ends promptly, at most 32,000 steps.
    for (int type : {58, 59}) {
        const size_t n = strip(type, 1e9f, 0).size();
        EXPECT_GT(n, 0u) << type;
        EXPECT_LE(n, 64000u) << type;
    }
}

TEST_F(PageShapesTest, SymbolRowsAndLandUseMarks) {
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 16, 0, 1, {{0, 0}, {0, 1}});  // a stroke to the top
    const struct {
        float extent;
        int symbols;
    } rows[] = {{4, 1}, {8, 2}, {1, 0}, {0.5f, 0}};
    for (const auto& c : rows) {
        app.store.Count(1) = 0;
        page().ClearRecords();
        MapRecord& r = Add(87, 20, 20, 0, 0);
        r.RecordZ1 = c.extent;
        r.RecordText = "16";
        r.RecordExtra = "4";
        r.RecordColor = 0xFFFFFF;
        Add(0, 0, 0);
        PrintPageRecords(app);
        const std::vector<Seg> lines = Lines();
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.symbols)) << c.extent;
        for (int j = 0; j < c.symbols; ++j) EXPECT_TRUE(Same(lines[j], {20.0 + 4 * j, 20.0 + 4 * j, 20.0 + 4 * j, 21.0 + 4 * j}));
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) EXPECT_EQ(p.color, 0xFFFFFFu);
    }
    // Rows from each further vertex up to the first zero vertex.
    app.store.Count(1) = 0;
    page().ClearRecords();
    MapRecord& r = Add(87, 20, 20, 40, 40);
    r.RecordX4 = 60, r.RecordY4 = 60;  // after the zero vertex P3: not a row
    r.RecordZ1 = r.RecordZ2 = r.RecordZ4 = 4;
    r.RecordText = "16";
    r.RecordExtra = "4";
    Add(0, 0, 0);
    PrintPageRecords(app);
    EXPECT_EQ(Lines().size(), 2u);

    // Mark 16 is 3 mm high at the map's scale, 6 mm at twice its denominator, drawn whole in
    // CurrentColor from a point on the cell's top edge.
    app.current.CurrentColor = 0x00AA00;
    for (double times : {1.0, 2.0}) {
        AtScale(times);
        app.store.Count(1) = 0;
        page().ClearRecords();
        MapRecord& m = Add(16, 50, 100);
        m.RecordColor = 0x0000FF;
        Add(0, 0, 0);
        PrintPageRecords(app);
        const std::vector<Seg> lines = Lines();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_NEAR((lines[0].y2 - lines[0].y1) / times, 3 * times, 1e-4);
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) EXPECT_EQ(p.color, 0x00AA00u);
    }
}

}  // namespace
}  // namespace movra
