#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "PrintFixture.h"
#include "printing/PageLines.h"
#include "printing/PagePointSymbols.h"
#include "printing/PageRecords.h"
#include "support/PictureTestHelpers.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;

struct Seg {
    double x1, y1, x2, y2;
    bool operator==(const Seg&) const = default;
};
void PrintTo(const Seg& s, std::ostream* os) { *os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ")"; }

// A page whose cell is ground 0..100 both ways, at 1:1000 (one metre per paper millimetre).
class PageRecordsTest : public PrintTest {
protected:
    PageRecordsTest() {
        PrintDialogState& s = app.printState;
        s.CellLeft = 0;
        s.CellRight = 100;
        s.CellBottom = 0;
        s.CellTop = 100;
        s.MetresPerPaperMm = 1;
        s.MapToPrintRatio = 2;
        s.PageCount = 1;
        app.view.ScaleFactor = 1;
        app.view.PointMarkRadius = 0.4;
        app.tables.ColorPalette[0] = 0;
        app.tables.ColorPalette[7] = 0xFFFFFF;
        app.store.LayerCount = 1;
        page().ClearRecords();
    }
    RecordingSurface& page() { return printer.page; }
    std::vector<Seg> Lines() {
        std::vector<Seg> out;
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) out.push_back({p.x1, p.y1, p.x2, p.y2});
        return out;
    }
    // A record of the type with P1..P4 inside the cell.
    MapRecord& Full(int type) {
        MapRecord& r = Add(type, 10, 10, 20, 20);
        r.RecordX3 = 30, r.RecordY3 = 30, r.RecordX4 = 40, r.RecordY4 = 40;
        r.RecordZ1 = r.RecordZ2 = r.RecordZ3 = r.RecordZ4 = 1;
        r.RecordText = "1";
        return r;
    }
    void Reset() {
        app.store.Count(1) = 0;
        for (int i = 0; i < 10; ++i) app.store.At(1, i) = MapRecord{};
        page().ClearRecords();
    }
};

TEST_F(PageRecordsTest, ClipKeepsTheVisiblePartInTheSegmentsDirection) {
    const struct {
        const char* name;
        Seg in;
        bool visible;
        Seg out;
    } cases[] = {
        {"on the top side", {-10, 100, 110, 100}, true, {0, 100, 100, 100}},
        {"on the left side, ends on corners", {0, 0, 0, 100}, true, {0, 0, 0, 100}},
        {"touching a corner only", {90, 110, 110, 90}, false, {}},
        {"beside a corner", {95, 120, 120, 95}, false, {}},
        {"through the top-right corner", {110, 110, 50, 50}, true, {100, 100, 50, 50}},
        {"through the top-right corner and out", {110, 110, -10, -10}, true, {100, 100, 0, 0}},
        {"entering, end inside", {-50, 50, 50, 50}, true, {0, 50, 50, 50}},
        {"entering and leaving", {50, 150, 50, -50}, true, {50, 100, 50, 0}},
        {"both ends inside", {10, 20, 30, 40}, true, {10, 20, 30, 40}},
        {"zero length inside", {5, 5, 5, 5}, true, {5, 5, 5, 5}},
        {"zero length outside", {-5, 5, -5, 5}, false, {}},
        {"end on a side, the other beyond it", {100, 50, 120, 50}, false, {}},
    };
    for (const auto& c : cases) {
        const VisiblePart v = ClipToCell(0, 100, 100, 0, c.in.x1, c.in.y1, c.in.x2, c.in.y2);
        EXPECT_EQ(v.visible, c.visible) << c.name;
        if (v.visible && c.visible) { EXPECT_EQ((Seg{v.x1, v.y1, v.x2, v.y2}), c.out) << c.name; }
    }
}

TEST_F(PageRecordsTest, TypesWithoutFigureLeaveOnlyThePenSetting) {
    std::vector<int> silent = {0, 1, 14, 35, 60, 69, 71, 86, 100, 102, 150, 255};
    for (int t = 20; t <= 30; ++t) silent.push_back(t);
    for (int t : {37, 38, 39, 40, 41, 46, 47, 48, 49, 53, 54, 55, 56, 57, 76, 77, 78, 79, 82, 83, 84,
                  88, 89, 90, 91, 96, 97, 98})
        silent.push_back(t);
    for (int t : silent) {
        Reset();
        Full(t);
        Full(0);
        PrintPageRecords(app);
        EXPECT_TRUE(page().primitives.empty()) << t;
        for (const SurfaceStateCall& call : page().stateCalls)
            EXPECT_TRUE(call.name == "DrawWidth" || call.name == "DrawStyle") << t << " " << call.name;
    }
}

TEST_F(PageRecordsTest, FillHeadResumesAfterItsBoundary) {
    for (float z4 : {6.0f, 0.0f}) {
        Reset();
        Full(11).RecordZ4 = z4;
        for (int k = 0; k < 6; ++k) Add(2, 10 + k, 10, 20 + k, 20);  // slots 2..7
        PrintPageRecords(app);
        // With 6 the loop goes on at slot 7; with 0 the head advances one slot only.
        EXPECT_EQ(Lines().size(), z4 == 6 ? 1u : 6u) << z4;
        if (z4 == 6) EXPECT_EQ(Lines()[0], (Seg{15, 10, 25, 20}));
    }
}

TEST_F(PageRecordsTest, ColoursPenAndLayers) {
    MapRecord& line = Add(2, 10, 10, 20, 20);
    line.RecordColor = 0xFFFFFF;
    line.RecordPen = 9;
    Add(51, 50, 50).RecordColor = 0xFFFFFF;  // no standard: the 1 mm square, white stays white
    Add(0, 0, 0);
    PrintPageRecords(app);
    const auto lines = page().PrimitivesOf(Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].color, 0);
    EXPECT_EQ(lines[0].drawWidth, 3);
    const auto boxes = page().PrimitivesOf(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].color, 0xFFFFFF);
    EXPECT_EQ((Seg{boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2}), (Seg{50, 50, 51, 51}));

    // A layer that is off prints nothing, locked or not; an empty one neither, while a layer of
    // one record prints it.
    page().ClearRecords();
    app.store.LayerOnFlag[1] = 0;
    PrintPageRecords(app);
    EXPECT_TRUE(page().primitives.empty());
    app.store.LayerOnFlag[1] = -1;
    app.store.Count(1) = 0;
    PrintPageRecords(app);
    EXPECT_TRUE(page().primitives.empty());
    app.store.Count(1) = 1;
    PrintPageRecords(app);
    EXPECT_EQ(page().PrimitivesOf(Kind::Line).size(), 1u);
}

TEST_F(PageRecordsTest, InlineRecords) {
    // Type 5 goes on to P1 of the next slot, whatever stands there.
    Full(5);
    Add(125, 60, 70);
    PrintPageRecords(app);
    EXPECT_EQ(Lines(), (std::vector<Seg>{{10, 10, 20, 20}, {20, 20, 30, 30}, {30, 30, 40, 40}, {40, 40, 60, 70}}));

    // Ticks end at the first zero vertex.
    Reset();
    MapRecord& ticks = Full(80);
    ticks.RecordX2 = 0, ticks.RecordY2 = 0;
    ticks.RecordZ1 = 2;
    Add(0, 0, 0);
    PrintPageRecords(app);
    EXPECT_EQ(Lines(), (std::vector<Seg>{{10, 10, 12, 12}}));

    // Point marks skip the points outside the cell.
    Reset();
    MapRecord& marks = Full(33);
    marks.RecordX2 = 150;
    Add(0, 0, 0);
    PrintPageRecords(app);
    const auto circles = page().PrimitivesOf(Kind::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].x1, 10);
    EXPECT_EQ(circles[1].x1, 30);
    EXPECT_DOUBLE_EQ(circles[1].radius, 0.4);
    EXPECT_EQ(circles[1].fillColor, 0xFFFFFF);

    // A text below height 1 prints at height 1 and keeps it.
    Reset();
    MapRecord& text = Add(65, 50, 50, 0.5);
    text.RecordText = "注记";
    Add(0, 0, 0);
    PrintPageRecords(app);
    const auto prints = page().PrimitivesOf(Kind::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].fontSize, 2);
    EXPECT_EQ(app.store.At(1, 1).RecordX2, 1);

    // Without the standard a named point shows the square and its name 5 mm east.
    Reset();
    MapRecord& named = Add(50, 50, 50, 3);
    named.RecordText = "J1";
    Add(0, 0, 0);
    PrintPageRecords(app);
    ASSERT_EQ(page().PrimitivesOf(Kind::Box).size(), 1u);
    const auto names = page().PrimitivesOf(Kind::Print);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "J1");
    EXPECT_DOUBLE_EQ(names[0].x1, 55);
    EXPECT_EQ(names[0].fontSize, 7);

    // A linked picture prints only from a holder that holds its own picture, not the one another
    // record (or the map before) left under its holder number.
    for (const char* held : {"a.jpg", "b.jpg"}) {
        Reset();
        app.display.Images.Image1[3] = Picture{1, 1, {0xFF102030u}};
        app.display.Images.ImageSlotNames[3] = held;
        MapRecord& image = Add(70, 50, 50, 10, -10);
        image.RecordColor = 3;
        image.RecordText = "A.JPG";
        Add(0, 0, 0);
        PrintPageRecords(app);
        EXPECT_EQ(page().PrimitivesOf(Kind::Picture).size(), std::string(held) == "a.jpg" ? 1u : 0u) << held;
    }
}

// Everything prints clipped to the cell, and a figure drawn about a point prints on every page
// its extent touches: the part of a circle, a text or a symbol across the seam is on each page.
TEST_F(PageRecordsTest, FiguresAcrossTheCellEdgePrintOnEveryPageTheyTouch) {
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 1, 0, 1, {{0, 0}, {0, 3}});  // a post 3 mm high
    app.symbolStandard.SymbolStandardLoaded = -1;
    struct Case {
        const char* name;
        int type;
        double x, y, x2;
        Kind kind;
        bool prints;
    };
    const Case cases[] = {
        {"circle reaching in", 7, -20, 50, 30, Kind::Circle, true},
        {"circle short of the cell", 7, -40, 50, 30, Kind::Circle, false},
        {"arc reaching in from above", 8, 50, 120, 30, Kind::Circle, true},
        {"ellipse reaching in", 9, 105, 50, 8, Kind::Line, true},
        {"text running into the cell", 65, -10, 50, 5, Kind::Print, true},
        {"text far away", 65, -900, 50, 5, Kind::Print, false},
        {"symbol whose post stands into the cell", 15, 50, -2, 0, Kind::Line, true},
        {"symbol below it", 15, 50, -4, 0, Kind::Line, false},
        {"land-use mark by the edge", 16, 50, -1, 0, Kind::Line, true},
    };
    for (const Case& c : cases) {
        Reset();
        MapRecord& r = Add(c.type, c.x, c.y, c.x2, 1);
        r.RecordText = c.type == 65 ? "测试注记" : "1";
        Add(0, 0, 0);
        app.printState.ScaledMetresPerPaperMm = 1;
        PrintPageRecords(app);
        const auto drawn = page().PrimitivesOf(c.kind);
        EXPECT_EQ(!drawn.empty(), c.prints) << c.name;
        for (const SurfacePrimitive& p : drawn) {
            EXPECT_TRUE(p.clipped) << c.name;
            EXPECT_EQ((std::vector<double>{p.clipLeft, p.clipTop, p.clipRight, p.clipBottom}),
                      (std::vector<double>{0, 100, 100, 0}))
                << c.name;
        }
    }
    // The clip ends with the records: the footnote below the cell prints.
    EXPECT_FALSE(page().Clipped());
}

// Ink fills print their spans as lines as wide as the fill's step (so the fill is solid, as on
// the screen), clipped to the cell like every line; symbol rows are laid only where a row can
// reach the cell.
TEST_F(PageRecordsTest, InkFillSpansAndSymbolRowsNearTheCell) {
    page().SetScale(-5, 105, 110, -110);
    MapRecord& ink = Add(81, -10, 50);
    ink.RecordZ1 = 30;
    ink.RecordX2 = 90, ink.RecordY2 = 51, ink.RecordZ2 = 20;
    ink.RecordX3 = 0, ink.RecordY3 = 0, ink.RecordZ3 = 5;  // the spans end here
    ink.RecordX4 = 30, ink.RecordY4 = 52, ink.RecordZ4 = 5;
    Add(0, 0, 0);
    PrintPageRecords(app);
    EXPECT_EQ(Lines(), (std::vector<Seg>{{0, 50, 20, 50}, {90, 51, 100, 51}}));
    const double metresPerDot = page().ScaleWidth() / page().PixelWidth();
    for (const SurfacePrimitive& span : page().PrimitivesOf(Kind::Line)) {
        EXPECT_GE(span.drawWidth * metresPerDot, 0.4 * app.view.ScaleFactor);
        EXPECT_LT(span.drawWidth * metresPerDot, 0.4 * app.view.ScaleFactor + 2 * metresPerDot);
    }

    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 1, 0, 1, {{0, 0}, {0, 2}});
    app.symbolStandard.SymbolStandardLoaded = -1;
    for (const auto& [x, prints] : {std::pair{-1000.0, false}, {-45.0, true}, {150.0, false}}) {
        Reset();
        MapRecord& row = Add(87, x, 40);
        row.RecordZ1 = 50;
        row.RecordText = "1";
        row.RecordExtra = "5";
        Add(0, 0, 0);
        PrintPageRecords(app);
        EXPECT_EQ(!Lines().empty(), prints) << x;
    }
}

// A band with one vertex 1e7 m off the page is laid only where the cell shows it: the page costs
// what it prints, not what the figure spans, and what it prints stays in the cell.
TEST_F(PageRecordsTest, ABandReachingFarOffThePageLaysOnlyTheCell) {
    MapRecord& band = Add(10, 10, 60, 10, 40);
    band.RecordX3 = 1e7, band.RecordY3 = 50;
    band.RecordX4 = 90, band.RecordY4 = 60;
    Add(0, 0, 0);
    PrintPageRecords(app);
    const std::vector<Seg> lines = Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_LT(lines.size(), 20000u);
    for (const Seg& l : lines)
        for (double v : {l.x1, l.y1, l.x2, l.y2}) EXPECT_TRUE(v >= -1e-9 && v <= 100 + 1e-9) << v;
}

// A line type running a thousand kilometres past a page at survey coordinates lays only the
// periods near the cell, and still from the segment's start, so its dashes join the next page's.
TEST_F(PageRecordsTest, ALineTypeFarBeyondThePageLaysOnlyWhatTheCellShows) {
    constexpr int Dash = 6, Gap = 7;
    DimensionEmptyStandard(app.symbolStandard);
    SetLineTypeElements(app.symbolStandard, 1, 0, {{Dash, 3}, {Gap, 1}});
    PrintDialogState& s = app.printState;
    s.CellLeft = 500000, s.CellRight = 500100, s.CellBottom = 3000000, s.CellTop = 3000100;
    // Dashes from x = 500002 - 4k: one stands over the cell's west edge.
    MapRecord& dashed = Add(12, 500002 - 1e6, 3000060, 500000 + 1e6, 3000060);
    dashed.RecordText = "350";
    Add(0, 0, 0);
    PrintPageRecords(app);
    const std::vector<Seg> lines = Lines();
    EXPECT_LT(lines.size(), 200u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), Seg{499998, 3000060, 500001, 3000060}), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), Seg{500098, 3000060, 500101, 3000060}), lines.end());
    for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) EXPECT_TRUE(p.clipped);
}

TEST_F(PageRecordsTest, LineTypesAndSymbolsThroughTheSharedDrawers) {
    constexpr int Dash = 6, Gap = 7, Left = 9;
    DimensionEmptyStandard(app.symbolStandard);
    SetLineTypeElements(app.symbolStandard, 1, 0, {{Dash, 3}, {Gap, 1}});
    SetLineTypeElements(app.symbolStandard, 2, 0, {{Left, 1}, {Dash, 100}});
    SetSymbolElement(app.symbolStandard, 16, 0, 1, {{0, 0}, {0, 1}});  // a stroke to the top

    PrintLineTypeAlongSegment(app, 0, 50, 10, 50, "350");
    EXPECT_EQ(Lines(), (std::vector<Seg>{{0, 50, 3, 50}, {4, 50, 7, 50}, {8, 50, 10, 50}}));

    // A chain gets its side line once per segment; it enters the cell from the west. The pattern
    // is laid from the segment's start and the page clips it, so the page west of this one lays
    // the same dashes and the two join at the seam.
    page().ClearRecords();
    MapRecord& chain = Add(43, -10, 20, 10, 20);
    chain.RecordX3 = 10, chain.RecordY3 = 40;
    chain.RecordText = "351";
    Add(0, 0, 0);
    PrintPageRecords(app);
    std::vector<Seg> lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), Seg{-10, 21, 10, 21}), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), Seg{9, 20, 9, 40}), lines.end());
    for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) EXPECT_TRUE(p.clipped);
    Reset();
    MapRecord& dashed = Add(12, -10, 60, 10, 60);
    dashed.RecordText = "350";
    Add(0, 0, 0);
    PrintPageRecords(app);
    lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), Seg{-2, 60, 1, 60}), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), Seg{0, 60, 3, 60}), lines.end());

    // An undefined code prints nothing.
    page().ClearRecords();
    PrintLineTypeAlongSegment(app, 0, 50, 10, 50, "348");
    EXPECT_TRUE(Lines().empty());

    // Symbols turn clockwise to their direction; codes round halves to even; from 350 nothing.
    const struct {
        const char* code;
        double dx, dy;
        std::vector<Seg> lines;
    } symbols[] = {
        {"16", 1, 0, {{50, 50, 51, 50}}},
        {"16", 0, 0, {{50, 50, 50, 49}}},
        {"15.5", 0, 1, {{50, 50, 50, 51}}},
        {"14.5", 0, 1, {}},
        {"366", 0, 1, {}},
    };
    for (const auto& s : symbols) {
        page().ClearRecords();
        Reset();
        MapRecord& r = Add(15, 50, 50, s.dx, s.dy);
        r.RecordText = s.code;
        r.RecordColor = 0xFFFFFF;
        Add(0, 0, 0);
        PrintPageRecords(app);
        std::vector<Seg> got = Lines();
        for (Seg& g : got)
            for (double* v : {&g.x1, &g.y1, &g.x2, &g.y2}) *v = std::round(*v * 1e9) / 1e9 + 0.0;
        EXPECT_EQ(got, s.lines) << s.code << " " << s.dx << "," << s.dy;
        for (const SurfacePrimitive& p : page().PrimitivesOf(Kind::Line)) EXPECT_EQ(p.color, 0xFFFFFF);
    }
}


// One record of every type, each alone before an empty record, printed on the recording page:
// the calls each type makes are kept in tests/fixtures/golden/print-dispatch.log (written anew
// with MOVRA_UPDATE_GOLDEN=1, then read through before it is committed).
TEST_F(PageRecordsTest, DispatchOfEveryTypeMatchesTheGoldenLog) {
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 1, 0, 1, {{0, 0}, {0, 2}});
    SetLineTypeElements(app.symbolStandard, 1, 2, {{6, 3}, {7, 1}});
    app.current.CurrentColor = 0x00AA00;
    app.printState.ScaledMetresPerPaperMm = 1;
    app.printState.PrintToMapRatio = 0.5;
    auto number = [](double v) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.6g", std::fabs(v) < 1e-9 ? 0.0 : v);
        return std::string(buffer);
    };
    std::ostringstream log;
    for (int type = 0; type <= 255; ++type) {
        Reset();
        MapRecord& r = Add(type, 10, 20, 30, 25);
        r.RecordX3 = 35, r.RecordY3 = 40, r.RecordX4 = 20, r.RecordY4 = 45;
        r.RecordZ1 = 2, r.RecordZ2 = 0.3f, r.RecordZ3 = 3, r.RecordZ4 = 1;
        r.RecordPen = 8;
        r.RecordColor = 0x0000C0;
        r.RecordFont = "宋体";
        r.RecordText = type == 12 || (type >= 42 && type <= 45) ? "350"
                       : type >= 92 && type <= 95             ? "1091"
                       : type == 15 || type == 87             ? "1"
                                                              : "字";
        r.RecordExtra = "4";
        Add(0, 60, 70);
        PrintPageRecords(app);
        log << "type " << type << "\n";
        for (const SurfaceStateCall& c : page().stateCalls)
            if (c.name != "DrawWidth" && c.name != "DrawStyle") log << "  set " << c.name << " " << number(c.value) << "\n";
        for (const SurfacePrimitive& p : page().primitives) {
            log << "  " << static_cast<int>(p.kind) << " (" << number(p.x1) << " " << number(p.y1) << ") (" << number(p.x2)
                << " " << number(p.y2) << ") r" << number(p.radius) << " w" << p.drawWidth << " s" << p.drawStyle << " c"
                << p.color;
            if (!p.text.empty()) log << " '" << p.text << "' " << p.fontName << " " << number(p.fontSize);
            if (p.kind == Kind::TextOut) {
                const LogicalFont& f = p.logicalFont;
                log << " at " << p.pixelX << "," << p.pixelY << " font " << f.height << "x" << f.width << " e" << f.escapement
                    << " o" << f.orientation << " w" << f.weight << (f.italic ? " italic" : "");
            }
            log << "\n";
        }
    }
    const std::string path = std::string(MOVRA_TEST_SOURCE_DIR) + "/tests/fixtures/golden/print-dispatch.log";
    if (std::getenv("MOVRA_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << log.str();
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " is missing: run with MOVRA_UPDATE_GOLDEN=1 once";
    const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream want(golden), got(log.str());
    std::string a, b;
    for (int line = 1;; ++line) {
        a.clear(), b.clear();
        const bool wanted = static_cast<bool>(std::getline(want, a));
        const bool printed = static_cast<bool>(std::getline(got, b));
        if (!wanted && !printed) break;
        ASSERT_EQ(b, a) << "line " << line;
    }
}


TEST_F(PageRecordsTest, TheStandardIsLoadedAtAJobsStartWhenTheMapNeedsItAndAFailureToldOncePerJob) {
    // A hatched fill is drawn without the standard: a job loads nothing for it.
    Add(13, 10, 10).RecordText = "2";
    StartPrintedSymbols(app, true);
    EXPECT_TRUE(Messages().empty());

    for (int k = 0; k < 3; ++k) Add(15, 10 + 10 * k, 50, 0, 1).RecordText = "-3";
    Add(0, 0, 0);
    // A preview prints nothing and loads nothing.
    StartPrintedSymbols(app, false);
    EXPECT_TRUE(Messages().empty());
    // No standard in the program folder: one load as the job starts, which says it failed; the
    // pages draw no symbol and try no load of their own.
    StartPrintedSymbols(app, true);
    for (int pageNumber : {1, 2}) {
        app.printState.PageCount = static_cast<std::int16_t>(pageNumber);
        PrintPageRecords(app);
    }
    EXPECT_EQ(Messages(), std::vector<std::string>{"电子图式.tus：图式未能加载。"});
    EXPECT_TRUE(Lines().empty());

    // With a standard, symbols that fail say so once in the job; the next job once again.
    t.platform.promptScript.questions.clear();
    DimensionEmptyStandard(app.symbolStandard);
    for (int job = 1; job <= 2; ++job) {
        StartPrintedSymbols(app, true);
        for (int pageNumber : {1, 2}) {
            app.printState.PageCount = static_cast<std::int16_t>(pageNumber);
            PrintPageRecords(app);
        }
    }
    const auto& told = t.platform.promptScript.questions;
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].title, "9");
}

}  // namespace
}  // namespace movra
