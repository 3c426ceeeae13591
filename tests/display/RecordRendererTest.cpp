#include <cstdint>

#include "DisplayFixture.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"

namespace movra {
namespace {

class RecordRendererTest : public DisplayTest {
protected:
    RecordRendererTest() {
        app.clip.ClipXMin = 0;
        app.clip.ClipXMax = 1000;
        app.clip.ClipYMin = 0;
        app.clip.ClipYMax = 1000;
        app.store.Count(1) = 40;
        canvas.SetBackColor(0);
        canvas.ClearRecords();
    }

    MapRecord& Put(int slot, int type, std::initializer_list<double> xy = {}) {
        MapRecord& r = app.store.At(1, slot);
        r = MapRecord{};
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = MakeRgb(200, 10, 10);
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i++] = v;
        return r;
    }

    std::int16_t Draw(int slot) {
        std::uint8_t layer = 1;
        auto s = static_cast<std::int16_t>(slot);
        DrawRecord(app, layer, s);
        return s;
    }
};

TEST_F(RecordRendererTest, CullingFollowsEachTypesOwnTest) {
    struct Case {
        const char* what;
        int type;
        std::initializer_list<double> xy;
        bool drawn;
        std::initializer_list<double> next = {-2000, -2000};  // P1 of the next slot
    };
    const Case cases[] = {
        {"pen line wholly left", 2, {-50, 10, -20, 500}, false},
        {"pen line crossing the view", 2, {-50, 10, 2000, 500}, true},
        {"circle centre outside", 7, {-5, 500, 100, 1}, false},
        {"circle centre on the edge", 7, {0, 500, 100, 1}, true},
        // Line-type lines go by the box of their segments: a segment crossing a zoomed-in view
        // has both ends off the screen.
        {"line-type segment crossing", 42, {-900, 500, 3000, 500}, true},
        {"line-type segment above the view", 42, {-900, 1500, 3000, 1600}, false},
        {"line-type line with P2 inside", 43, {-900, 5, 500, 500, 3000, 5}, true},
        {"line-type line with P2 outside, crossing", 43, {-900, 500, -10, 500, 3000, 500}, true},
        {"line-type line wholly below", 44, {-900, -5, -10, -50, 3000, -5, 3000, -90}, false},
        {"line-type line, last segment crossing", 44, {-900, -5, -10, -50, -20, 1500, 3000, 1500}, true},
        {"line-type chain, third segment crossing", 45, {-900, 1500, -10, 1500, -10, -500, 3000, -500}, true},
        {"line-type chain left of the view", 45, {-900, 1500, -10, 1500, -10, -500, -30, -500}, false},
        {"line-type chain linked across to its next slot", 45, {-900, 1500, -10, 1500, -10, 1200, -30, 500}, true,
         {3000, 500}},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        app.symbolStandard.SymbolStandardLoaded = 0;
        Put(6, 2, c.next);
        Put(5, c.type, c.xy);
        Draw(5);
        const bool drew = !Lines().empty() || !Of(Kind::Circle).empty();
        EXPECT_EQ(drew, c.drawn) << c.what;
    }
}

TEST_F(RecordRendererTest, FillHeadMovesTheCallerPastItsBoundary) {
    struct Case {
        float z4;
        std::int16_t after;  // the slot DrawRecord leaves; the caller continues at after + 1
    };
    const Case cases[] = {{4, 23}, {0, 20}, {-3, 20}, {1000, 40}};
    for (const Case& c : cases) {
        Put(20, TypeSolidFillHead).RecordZ4 = c.z4;
        EXPECT_EQ(Draw(20), c.after) << "Z4 " << c.z4;
    }
}

TEST_F(RecordRendererTest, SymbolWithoutStandardIsAMillimetreBoxAndNamedPointGetsItsLabel) {
    app.symbolStandard.SymbolStandardLoaded = 0;
    app.view.ScaleFactor = 2;
    MapRecord& r = Put(3, TypeNamedSymbolPoint, {100, 200, 3, 0});
    r.RecordText = "K12";
    r.RecordFont = "宋体";
    Draw(3);
    const auto boxes = Of(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(SameSegment(boxes[0], {100, 200, 102, 202}));
    const auto prints = Of(Kind::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "K12");
    EXPECT_DOUBLE_EQ(prints[0].x1, 110);
    EXPECT_EQ(prints[0].fontSize, 4);  // Int(zoom 1 x height 3) + 1
}

TEST_F(RecordRendererTest, TextInTheBackgroundColourTakesAColourThatShows) {
    app.tables.ColorPalette[5] = MakeRgb(0, 0, 255);
    struct Case {
        int type;
        Rgb background;
        Rgb expected;
    };
    const Case cases[] = {
        {TypeText65, 0, MakeRgb(0, 0, 255)},
        {TypeText67, MakeRgb(10, 20, 30), MakeRgb(110, 20, 30)},
        {TypeText67, MakeRgb(255, 255, 255), -2},  // any valid colour other than white
    };
    for (const Case& c : cases) {
        canvas.SetBackColor(c.background);
        canvas.ClearRecords();
        MapRecord& r = Put(2, c.type, {10, 10, 2.5});
        r.RecordColor = c.background;
        r.RecordText = "路";
        r.RecordFont = "黑体";
        Draw(2);
        const auto prints = Of(Kind::Print);
        ASSERT_EQ(prints.size(), 1u);
        if (c.expected >= 0) {
            EXPECT_EQ(prints[0].color, c.expected) << c.type;
        } else {
            EXPECT_GE(prints[0].color, 0);
            EXPECT_LE(prints[0].color, 0xFFFFFF);
            EXPECT_NE(prints[0].color, c.background);
        }
    }
}

TEST_F(RecordRendererTest, CanvasFontIsSetOnlyWhenFaceOrSizeChanges) {
    for (double height : {2.5, 0.68}) {
        app.display.TextFont.CanvasFontName.clear();
        canvas.ClearRecords();
        for (int s : {4, 5}) {
            MapRecord& r = Put(s, TypeText65, {10, 10, height});
            r.RecordFont = "宋体";
            r.RecordText = "x";
        }
        Draw(4);
        const size_t first = canvas.CallsNamed("Font").size();
        Draw(5);
        const size_t second = canvas.CallsNamed("Font").size() - first;
        EXPECT_EQ(first, 2u) << height;
        EXPECT_EQ(second, height == 2.5 ? 0u : 1u) << height;
    }
}

TEST_F(RecordRendererTest, PointFamiliesStopWhereTheRecordSays) {
    // Ticks end at the first vertex at (0, 0), even with P3 set.
    MapRecord& ticks = Put(1, TypeTicksRising, {10, 10, 0, 0, 50, 50});
    ticks.RecordZ1 = 5;
    Draw(1);
    ExpectLines({{10, 10, 15, 15}});

    // Height points stop at the first point outside.
    canvas.ClearRecords();
    Put(2, 48, {10, 10, -500, 10, 20, 20}).RecordZ1 = 12.5f;
    Draw(2);
    EXPECT_EQ(Of(Kind::Point).size(), 1u);
    EXPECT_EQ(Of(Kind::Print).size(), 1u);

    // Boundary points draw every circle once P1 is inside.
    canvas.ClearRecords();
    Put(3, 33, {10, 10, -500, 10, 20, 5000});
    Draw(3);
    EXPECT_EQ(Of(Kind::Circle).size(), 3u);
    EXPECT_EQ(canvas.FillStyle(), FillStyleTransparent);
}

TEST_F(RecordRendererTest, TerrainPointsWaitWhileSuppressed) {
    MapRecord& r = Put(6, TypeTerrainPoint, {10, 10, 2, 0, 0, 0, 11, 11});
    r.RecordText = "123.4";
    r.RecordFont = "宋体";
    app.display.Redraw.SuppressTerrainPoints = -1;
    Draw(6);
    EXPECT_TRUE(canvas.primitives.empty());
    app.display.Redraw.SuppressTerrainPoints = 0;
    Draw(6);
    EXPECT_EQ(Of(Kind::Print).size(), 1u);
    EXPECT_EQ(Of(Kind::Point).size(), 1u);
}

TEST_F(RecordRendererTest, ChainInTheLastSlotDrawsItsOwnSegmentsAndTypesWithoutFigureNothing) {
    const int last = app.store.LayerCapacity;
    app.store.Count(1) = last;
    Put(last, TypePenLineChain, {1, 1, 2, 2, 3, 3, 4, 4});
    Draw(last);
    EXPECT_EQ(Lines().size(), 3u);

    canvas.ClearRecords();
    for (int type : {86, 53, 57, 69, 26, 105}) {
        Put(7, type, {10, 10, 20, 20});
        Draw(7);
    }
    EXPECT_TRUE(canvas.primitives.empty());
}

TEST_F(RecordRendererTest, OptionsReplaceTheColourForOtherRenderers) {
    Put(8, TypePenLine3, {1, 1, 2, 2, 3, 3});
    RecordDrawOptions options;
    options.colorOverride = MakeRgb(1, 2, 3);
    std::uint8_t layer = 1;
    std::int16_t slot = 8;
    DrawRecordWith(app, layer, slot, options);
    ASSERT_EQ(Lines().size(), 2u);
    for (const auto& l : Lines()) EXPECT_EQ(l.color, MakeRgb(1, 2, 3));
}

TEST_F(RecordRendererTest, ImagesHangFromTheirCornerAndAreCulledByTheirExtentOfEitherSign) {
    // The holder has the picture already: nothing is read.
    RecordImageState& images = app.display.Images;
    images.ImageSlotNames[4] = "held.bmp";
    images.Image1[4].width = 1;
    images.Image1[4].height = 1;
    images.Image1[4].pixels = {0xFF000000u};
    struct Case {
        double y1, y2;
        bool drawn;
    };
    const Case cases[] = {
        {500, -30, true},   // the usual record: P1 the upper left corner
        {-10, 30, true},    // reaching up into the view from below it
        {1010, -30, true},  // hanging into the view from above it
        {-5, -30, false},
        {1001, 30, false},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        MapRecord& r = Put(9, TypeImage, {100, c.y1, 40, c.y2});
        r.RecordColor = 4;
        r.RecordText = "held.bmp";
        Draw(9);
        const auto pictures = Of(Kind::Picture);
        ASSERT_EQ(pictures.size(), c.drawn ? 1u : 0u) << c.y1 << " " << c.y2;
        if (c.drawn) EXPECT_TRUE(SameSegment(pictures[0], {100, c.y1, 40, c.y2}));
    }
}

}  // namespace
}  // namespace movra
