#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "document/TextPlacement.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

class AnnotationToolsTest : public CanvasTest {
protected:
    AnnotationToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 9;
        app.current.CurrentFont = "黑体";
        app.tool.SnapOn = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }
    void Arm(std::uint8_t mode, const std::string& text8 = "") {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
        app.tool.RubberShown = 0;
        if (!text8.empty()) form.Text8.SetText(text8);
    }
    std::int32_t Added() { return app.store.Count(layer) - start; }
    MapRecord& Rec(int k) { return app.store.At(layer, start + k); }
    std::vector<std::string> Printed() {
        std::vector<std::string> texts;
        for (const SurfacePrimitive& p : Surface().PrimitivesOf(SurfacePrimitive::Kind::Print)) texts.push_back(p.text);
        return texts;
    }

    int layer = 0;
    std::int32_t start = 0;
};

// A text record as the text tools store it: the point, size, width factor and display width.
MapRecord TextRecord(std::uint8_t type, double x, double y, double size, const std::string& text) {
    MapRecord r;
    r.RecordType = type;
    r.RecordColor = Green;
    r.RecordPen = static_cast<std::uint8_t>(std::min(std::nearbyint(size), 255.0));
    r.RecordX1 = x;
    r.RecordY1 = y;
    r.RecordX2 = size;
    r.RecordY2 = 0.68;
    r.RecordY3 = DisplayWidth(text);
    r.RecordText = text;
    r.RecordFont = "黑体";
    return r;
}

TEST_F(AnnotationToolsTest, TheMaterialTextTakesItsTypeFromAngleLeanAndSize) {
    struct Case {
        double angle;
        const char* lean;
        double size;
        std::uint8_t type;
    };
    const Case cases[] = {
        {0.5, "0.68", 12, 65}, {-90, "0.68", 12, 63}, {30, "右斜", 12, 64}, {30, "左斜", 12, 63},
        {30, "0.68", 12, 65},  {0.5, "0.68", 300, 67}, {-90, "0.68", 300, 63},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.angle) + " " + c.lean + " " + std::to_string(c.size));
        start = app.store.Count(layer);
        form.Text7.SetText(c.lean);
        app.settings.TextAngle = c.angle;
        app.settings.TextWidthFactor = 0.68;
        app.current.TextSize = c.size;
        Arm(ModeMaterialText);
        app.current.PendingText = "砖3";
        Click(100, 900);
        EXPECT_EQ(Added(), 0);
        Hover(120, 880);
        Click(200, 800);
        ASSERT_EQ(Added(), 1);
        MapRecord expected = TextRecord(c.type, 200, 800, c.size, "砖3");
        // Upright texts keep no angle; turned ones keep it in Z2.
        if (c.angle < 0 || c.angle > 1) expected.RecordZ2 = static_cast<float>(c.angle);
        EXPECT_EQ(Rec(0), expected);
        EXPECT_EQ(app.tool.ClickCount, 0);
        EXPECT_EQ(app.tool.CommandMode, ModeMaterialText);
    }
}

TEST_F(AnnotationToolsTest, AnUprightMaterialTextOnLayer0IsShownButNotStored) {
    app.store.CurrentLayer = layer = 0;
    start = app.store.Count(0);
    app.settings.TextAngle = 0.5;
    Arm(ModeMaterialText);
    app.current.PendingText = "木";
    Click(100, 900);
    Surface().ClearRecords();
    Click(300, 700);
    EXPECT_EQ(Added(), 0);
    const auto prints = Surface().PrimitivesOf(SurfacePrimitive::Kind::Print);
    ASSERT_FALSE(prints.empty());
    EXPECT_EQ(prints.back().text, "木");
    EXPECT_DOUBLE_EQ(prints.back().x1, 300);
    EXPECT_DOUBLE_EQ(prints.back().y1, 700);
    EXPECT_EQ(prints.back().color, Green);
}

TEST_F(AnnotationToolsTest, TheArticleTextPlacesItsParagraphAndDisarms) {
    app.textPlacement.PendingTextLines = {"第一段", "第二段"};
    Arm(ModeArticleText);
    Click(100, 900);
    Hover(150, 850);
    EXPECT_FALSE(Printed().empty());
    Click(200, 800);
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(Rec(0).RecordType, 65);
    EXPECT_EQ(std::string(Rec(0).RecordText), "    第一段");
    EXPECT_DOUBLE_EQ(Rec(0).RecordX1, 200);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(AnnotationToolsTest, ANorthUpSymbolIsStoredAtTheSecondClick) {
    app.current.SymbolAnyDirection = 0;
    app.tool.CommandArgument = "228";
    Arm(ModeMapSymbol);
    Click(100, 900);
    Hover(110, 890);
    Click(400, 600);
    ASSERT_EQ(Added(), 1);
    MapRecord expected;
    expected.RecordType = 15;
    expected.RecordColor = Green;
    expected.RecordPen = 9;
    expected.RecordX1 = 400;
    expected.RecordY1 = 600;
    expected.RecordY2 = 1;
    expected.RecordText = "228";
    expected.RecordFont = "黑体";
    EXPECT_EQ(Rec(0), expected);
    EXPECT_EQ(app.tool.ClickCount, 0);
}

TEST_F(AnnotationToolsTest, AnyDirectionTurnsTheSymbolTowardsTheThirdClick) {
    app.current.SymbolAnyDirection = -1;
    app.tool.CommandArgument = "228";
    struct Case {
        double x, y, ux, uy;
    };
    for (const Case& c : {Case{430, 640, 0.6, 0.8}, Case{400, 600, 0, 1}, Case{300, 600, -1, 0}}) {
        start = app.store.Count(layer);
        Arm(ModeMapSymbol);
        Click(100, 900);
        Click(400, 600);
        ASSERT_EQ(Added(), 1);
        EXPECT_EQ(app.tool.ClickCount, 2);
        EXPECT_DOUBLE_EQ(Rec(0).RecordY2, 1);
        // The direction preview with its guide line at right angles, 100 ground units long.
        Surface().ClearRecords();
        Hover(400, 700);
        const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
        ASSERT_FALSE(lines.empty());
        EXPECT_DOUBLE_EQ(lines.back().x2, 500);
        EXPECT_DOUBLE_EQ(lines.back().y2, 600);
        Click(c.x, c.y);
        EXPECT_EQ(Added(), 1);
        EXPECT_NEAR(Rec(0).RecordX2, c.ux, 1e-12);
        EXPECT_NEAR(Rec(0).RecordY2, c.uy, 1e-12);
        EXPECT_DOUBLE_EQ(Rec(0).RecordX1, 400);
        EXPECT_EQ(app.tool.ClickCount, 0);
        EXPECT_EQ(app.tool.SnapOn, 0);
    }
}

class ElevationToolTest : public AnnotationToolsTest {
protected:
    ElevationToolTest() {
        app.selection.SelectTolerance = 1;
        // A chained line: four vertices here, the fifth in the next slot; a special line after.
        line = start;
        Put(layer, line, {0, 500, 100, 500, 200, 500, 300, 500}, 5);
        Put(layer, line + 1, {400, 500, 0, 0}, 2);
        special = line + 2;
        Put(layer, special, {0, 100, 300, 100}, 92);
        start = app.store.Count(layer);
    }
    void Arm(const std::string& value) {
        AnnotationToolsTest::Arm(ModeElevationPoint);
        app.current.PendingText = value;
    }
    std::int32_t line = 0, special = 0;
};

TEST_F(ElevationToolTest, TheQueryShowsTheHeightsOfALineAndChangesNothing) {
    MapRecord& r = app.store.At(layer, line);
    r.RecordZ1 = 1.5f, r.RecordZ2 = 2.5f, r.RecordZ3 = 3.5f, r.RecordZ4 = 4.5f;
    app.store.At(layer, line + 1).RecordZ1 = 5.5f;
    const MapRecord before = r;
    Arm("999");
    Click(120, 500);
    EXPECT_EQ(Printed(), (std::vector<std::string>{"1.5", "2.5", "3.5", "4.5", "5.5"}));
    Click(120, 500);
    EXPECT_EQ(app.store.At(layer, line), before);
    EXPECT_EQ(Added(), 0);
    EXPECT_EQ(app.tool.ClickCount, 0);
}

TEST_F(ElevationToolTest, APickedLineTakesTheHeightInEveryVertexASpecialLineOnlyInItsFirst) {
    MapRecord& s = app.store.At(layer, special);
    s.RecordZ2 = 7, s.RecordZ3 = 8, s.RecordZ4 = 9;
    Arm("36.25");
    Click(120, 500);
    Click(120, 500);
    const MapRecord& r = app.store.At(layer, line);
    for (float z : {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4}) EXPECT_FLOAT_EQ(z, 36.25f);
    EXPECT_FLOAT_EQ(app.store.At(layer, line + 1).RecordZ1, 36.25f);

    Click(0.1, 100);
    Click(0.1, 100);
    EXPECT_FLOAT_EQ(s.RecordZ1, 36.25f);
    EXPECT_FLOAT_EQ(s.RecordZ2, 7);
    EXPECT_FLOAT_EQ(s.RecordZ4, 9);
    EXPECT_EQ(Added(), 0);
}

TEST_F(ElevationToolTest, AClickOnNothingAddsAHeightTextByAngle) {
    struct Case {
        double angle;
        double size;  // a size below 1 is taken as 1
        std::uint8_t type;
        bool keepsPoint;
        float z1, z2;
    };
    double x = 400;
    for (const Case& c : {Case{0.5, 0.25, 61, true, 12.5f, 0}, Case{45, 0.25, 62, true, 12.5f, 45},
                          Case{-30, 0.25, 64, false, 0, -30}, Case{0.5, 300, 61, true, 12.5f, 0}}) {
        SCOPED_TRACE(c.angle);
        x += 100;
        start = app.store.Count(layer);
        app.settings.TextAngle = c.angle;
        app.current.TextSize = c.size;
        Arm("12.5");
        Click(x, 900);
        Click(x, 900);
        ASSERT_EQ(Added(), 1);
        MapRecord expected = TextRecord(c.type, x, 900, std::max(c.size, 1.0), "12.5");
        if (c.keepsPoint) expected.RecordX4 = x, expected.RecordY4 = 900;
        expected.RecordZ1 = expected.RecordZ4 = c.z1;
        expected.RecordZ2 = c.z2;
        EXPECT_EQ(Rec(0), expected);
        EXPECT_EQ(app.tool.CommandMode, ModeElevationPoint);
    }
}

class FillToolsTest : public AnnotationToolsTest {
protected:
    void ClickAll(const std::vector<std::pair<double, double>>& points) {
        for (auto [x, y] : points) Click(x, y);
    }
};

TEST_F(FillToolsTest, TheFirstClickFloodsFromItsPixelWithTheCurrentColourAsBorder) {
    Arm(ModeFill, "0");
    Click(500, 625);
    const auto floods = Surface().PrimitivesOf(SurfacePrimitive::Kind::FloodFill);
    ASSERT_EQ(floods.size(), 1u);
    EXPECT_EQ(floods[0].pixelX, std::lround(Surface().ToPixelX(500)));
    EXPECT_EQ(floods[0].pixelY, std::lround(Surface().ToPixelY(625)));
    EXPECT_EQ(floods[0].color, Green);
    // A first click off the canvas floods nothing.
    Surface().ClearRecords();
    Arm(ModeFill, "0");
    Click(-5000, 625);
    EXPECT_TRUE(Surface().PrimitivesOf(SurfacePrimitive::Kind::FloodFill).empty());
}

TEST_F(FillToolsTest, ASquareClosedWithPattern0GivesTwoFanStrips) {
    app.view.ScaleFactor = 0.5;
    Arm(ModeFill, "0");
    ClickAll({{100, 100}, {200, 100}, {200, 200}, {100, 200}});
    // Exactly one paper millimetre from the first point does not close the ring.
    Click(100.5, 100);
    EXPECT_EQ(Added(), 0);
    EXPECT_EQ(app.tool.ClickCount, 5);
    Arm(ModeFill, "0");
    ClickAll({{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100.25, 100.25}});
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(app.tool.ClickCount, 0);
    // The centroid of the four corners; the closing point is left out of it.
    const double radius = std::hypot(50, 50);
    for (int k : {0, 1}) {
        const MapRecord& r = Rec(k);
        EXPECT_EQ(r.RecordType, 59);
        EXPECT_EQ(r.RecordPen, 4);
        EXPECT_EQ(std::string(r.RecordFont), "1");
        EXPECT_EQ(r.RecordColor, Green);
        EXPECT_DOUBLE_EQ(r.RecordX4, 150);
        EXPECT_DOUBLE_EQ(r.RecordY4, 150);
        EXPECT_EQ(std::string(r.RecordText), "");
    }
    EXPECT_DOUBLE_EQ(Rec(0).RecordX1, 100);
    EXPECT_DOUBLE_EQ(Rec(0).RecordX3, 200);
    EXPECT_DOUBLE_EQ(Rec(0).RecordY3, 200);
    EXPECT_FLOAT_EQ(Rec(0).RecordZ4, static_cast<float>(std::floor(radius)));
    EXPECT_DOUBLE_EQ(Rec(1).RecordX1, 200);
    EXPECT_DOUBLE_EQ(Rec(1).RecordY1, 200);
    EXPECT_DOUBLE_EQ(Rec(1).RecordX3, 100.25);
    EXPECT_DOUBLE_EQ(Rec(1).RecordY3, 100.25);
    // The largest distance from the centroid: to the closing point, a little less than a corner's.
    EXPECT_FLOAT_EQ(Rec(1).RecordZ4, static_cast<float>(std::floor(radius)));
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());
}

TEST_F(FillToolsTest, OtherPatternsStoreAFillHeadAndItsBoundaryChain) {
    app.view.ScaleFactor = 0.5;
    Arm(ModeFill, "5");
    ClickAll({{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100.2}});
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(Rec(0).RecordType, 11);
    EXPECT_EQ(std::string(Rec(0).RecordText), "5");
    EXPECT_EQ(Rec(1).RecordType, 29);
    EXPECT_DOUBLE_EQ(Rec(1).RecordX4, 100);
    EXPECT_DOUBLE_EQ(Rec(1).RecordY4, 200);
}

TEST_F(FillToolsTest, ARingLongerThanTheClickCounterStillClosesWithoutLosingItsStart) {
    app.view.ScaleFactor = 0.5;
    Arm(ModeFill, "5");
    Click(500, 500);
    for (int i = 1; i < 300; ++i) Click(500 + 200 * std::sin(i * 0.02), 500 + 200 * (1 - std::cos(i * 0.02)));
    EXPECT_EQ(app.tool.ClickCount, 255);
    EXPECT_EQ(Added(), 0);
    Click(500.1, 500);
    ASSERT_GE(Added(), 2);
    EXPECT_EQ(Rec(0).RecordType, 11);
    // The chain begins at the ring's first point.
    EXPECT_DOUBLE_EQ(Rec(1).RecordX1, 500);
    EXPECT_DOUBLE_EQ(Rec(1).RecordY1, 500);
    EXPECT_EQ(app.tool.ClickCount, 0);
}

TEST_F(FillToolsTest, TheFourPointBlockCountsStripsOnItsShorterSide) {
    Arm(ModeFourPointBlock, "0");
    ClickAll({{0, 0}, {0, 10}, {7.5, 10}, {20, 0}});
    EXPECT_EQ(form.Text8.Text(), "1");
    ASSERT_EQ(Added(), 1);
    MapRecord expected;
    expected.RecordType = 58;
    expected.RecordColor = Green;
    expected.RecordPen = 9;
    expected.RecordX2 = 0, expected.RecordY2 = 10;
    expected.RecordX3 = 7.5, expected.RecordY3 = 10;
    expected.RecordX4 = 20;
    expected.RecordZ4 = 7;
    expected.RecordFont = "黑体";
    EXPECT_EQ(Rec(0), expected);
    EXPECT_EQ(app.tool.ClickCount, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeFourPointBlock);
}

TEST_F(AnnotationToolsTest, TheColourMarkerStepsThroughThePaletteAndStoresNothing) {
    app.tool.ToolStep = 255;
    Arm(ModeColorMarker);
    Click(100, 900);
    Click(200, 900);
    const auto boxes = Surface().PrimitivesOf(SurfacePrimitive::Kind::Box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].color, app.tables.ColorPalette[255]);
    EXPECT_EQ(boxes[0].fillStyle, FillStyleDownwardDiagonal);
    EXPECT_DOUBLE_EQ(boxes[0].x2, 108);
    EXPECT_DOUBLE_EQ(boxes[0].y2, 892);
    EXPECT_EQ(boxes[1].color, app.tables.ColorPalette[0]);
    EXPECT_EQ(Added(), 0);
}

}  // namespace
}  // namespace movra
