#include <cstdint>

#include "DisplayFixture.h"
#include "basic/Colors.h"
#include "display/ClipBufferItemRenderer.h"
#include "platform/Surface.h"

namespace movra {
namespace {

class ClipBufferItemTest : public DisplayTest {
protected:
    ClipBufferItemTest() { canvas.SetBackColor(0); canvas.ClearRecords(); }
    MapRecord& Item(int type, double x1, double y1) {
        ClipBuffer& b = app.clip;
        ++b.ClipBufferCount;
        b.Items.resize(static_cast<size_t>(b.ClipBufferCount) + 1);
        MapRecord& r = b.Items.back();
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = MakeRgb(200, 10, 10);
        r.RecordX1 = x1; r.RecordY1 = y1; r.RecordX2 = x1 + 1; r.RecordY2 = y1;
        r.RecordX3 = x1 + 2; r.RecordY3 = y1; r.RecordX4 = x1 + 3; r.RecordY4 = y1;
        return r;
    }
};

TEST_F(ClipBufferItemTest, ChainRunsAndLinks) {
    Item(5, 0, 0);
    Item(1, 50, 50);  // link item
    std::int32_t i = 1;
    DrawClipBufferItem(app, i);
    ASSERT_EQ(Lines().size(), 4u);
    EXPECT_EQ(Lines()[3].x2, 50);
    EXPECT_EQ(i, 1);

    canvas.ClearRecords();
    app.clip = ClipBuffer{};
    Item(5, 0, 0);
    Item(5, 10, 10);
    Item(1, 50, 50);
    i = 1;
    DrawClipBufferItem(app, i);
    EXPECT_EQ(Lines().size(), 8u);
    EXPECT_EQ(i, 2);
}

TEST_F(ClipBufferItemTest, LastChainedItemDoesNotReadPastTheBuffer) {
    Item(75, 0, 0);
    app.clip.Items.resize(10);  // stale room beyond the count is never read
    app.clip.Items[2].RecordX1 = 999;
    std::int32_t i = 1;
    DrawClipBufferItem(app, i);
    EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(ClipBufferItemTest, LineTypesHiddenWithStandardAndPlainWithout) {
    for (int type : {12, 42, 45}) {
        app.clip = ClipBuffer{};
        canvas.ClearRecords();
        Item(type, 0, 0);
        Item(41, 9, 9);
        std::int32_t i = 1;
        app.symbolStandard.SymbolStandardLoaded = -1;
        DrawClipBufferItem(app, i);
        EXPECT_TRUE(Lines().empty()) << type;
        app.symbolStandard.SymbolStandardLoaded = 0;
        DrawClipBufferItem(app, i);
        EXPECT_FALSE(Lines().empty()) << type;
    }
}

TEST_F(ClipBufferItemTest, TerrainNameOnBackgroundColourShowsDarkRedEveryTime) {
    for (int k = 0; k < 2; ++k) {
        MapRecord& r = Item(61, 5, 5);
        r.RecordColor = 0;  // the background
        r.RecordText = "A";
        r.RecordX2 = 3;
        r.RecordFont = "宋体";
    }
    for (std::int32_t i = 1; i <= 2; ++i) DrawClipBufferItem(app, i);
    const auto prints = canvas.PrimitivesOf(SurfacePrimitive::Kind::Print);
    ASSERT_EQ(prints.size(), 2u);
    for (const auto& p : prints) {
        EXPECT_EQ(p.color, 100);
        EXPECT_DOUBLE_EQ(p.fontSize, 3);  // the stored height taken as points
    }
    const auto points = Of(Kind::Point);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].drawWidth, 2);
}

TEST_F(ClipBufferItemTest, TurnedTextsTakeTheFillsHeightWidthAndAngleInDeviceFonts) {
    MapRecord& t66 = Item(66, 10, 10);
    t66.RecordText = "六六";
    t66.RecordFont = "黑体";
    t66.RecordX2 = 2.5; t66.RecordY2 = 0.8; t66.RecordZ2 = 15;  // the record's own: not used
    t66.RecordX4 = 12; t66.RecordY4 = 5; t66.RecordZ4 = 300;
    MapRecord& t68 = Item(68, 20, 10);
    t68.RecordText = "六八";
    t68.RecordFont = "黑体";
    t68.RecordX4 = 20; t68.RecordY4 = 9; t68.RecordZ4 = -450;
    MapRecord& t62 = Item(62, 30, 10);
    t62.RecordText = "六二";
    t62.RecordFont = "宋体";
    t62.RecordX2 = 9; t62.RecordX4 = 33; t62.RecordY4 = 8;
    for (std::int32_t i = 1; i <= 3; ++i) DrawClipBufferItem(app, i);
    const auto texts = Of(Kind::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    struct Expected { int height, width, escapement; };
    const Expected expected[] = {{12, 5, 300}, {20, 9, -450}, {9, 9, 0}};
    for (size_t k = 0; k < 3; ++k) {
        const LogicalFont& font = canvas.createdFonts.at(texts[k].deviceFont);
        EXPECT_EQ(font.height, expected[k].height) << k;
        EXPECT_EQ(font.width, expected[k].width) << k;
        EXPECT_EQ(font.escapement, expected[k].escapement) << k;
    }
    const auto points = Of(Kind::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_DOUBLE_EQ(points[0].x1, 33);
    EXPECT_EQ(points[0].drawWidth, 2);
}

TEST_F(ClipBufferItemTest, CanvasTextsTakeTheFillsSizeAndTheLeaningFaceIsItalic) {
    struct Case { int type; const char* face; double x4; const char* shownFace; bool italic; };
    const Case cases[] = {
        {65, "右斜宋", 14, "华文细黑", true},
        {67, "宋体", 9, "宋体", false},  // another face: upright again
        {25, "宋体", 11, "宋体", false},
    };
    for (const Case& c : cases) {
        MapRecord& r = Item(c.type, 5, 5);
        r.RecordFont = c.face;
        r.RecordText = "字";
        r.RecordX2 = 3;  // the record's own height: not used
        r.RecordX4 = c.x4;
    }
    for (std::int32_t i = 1; i <= 3; ++i) DrawClipBufferItem(app, i);
    const auto prints = Of(Kind::Print);
    ASSERT_EQ(prints.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(prints[k].fontName, cases[k].shownFace) << k;
        EXPECT_DOUBLE_EQ(prints[k].fontSize, cases[k].x4) << k;
        EXPECT_EQ(prints[k].italic, cases[k].italic) << k;
        EXPECT_EQ(prints[k].color, MakeRgb(200, 10, 10)) << k;
    }
}

TEST_F(ClipBufferItemTest, TicksTakeADirectPenAndLeaveThePenCache) {
    app.display.PenCache = 9;
    canvas.SetDrawStyle(2);
    for (int type : {80, 81, 85}) {
        MapRecord& r = Item(type, 1, 1);
        r.RecordPen = 9;
        r.RecordZ1 = 2;
        r.RecordX2 = 0; r.RecordY2 = 0;  // ends the ticks
    }
    for (std::int32_t i = 1; i <= 3; ++i) DrawClipBufferItem(app, i);
    ExpectLines({{1, 1, 3, 3}, {1, 1, 3, 1}, {1, 1, 3, -1}});
    for (const auto& l : Lines()) {
        EXPECT_EQ(l.drawWidth, 3);
        EXPECT_EQ(l.drawStyle, DrawStyleSolid);
    }
    EXPECT_EQ(app.display.PenCache, 9);
}

TEST_F(ClipBufferItemTest, ImagesArePaintedOnlyFromWhatIsHeldAndBandsFromTheItem) {
    MapRecord& image = Item(70, 5, 9);
    image.RecordX2 = 4; image.RecordY2 = -3;
    image.RecordColor = 6;
    image.RecordText = "/nowhere/picture.bmp";
    std::int32_t i = 1;
    DrawClipBufferItem(app, i);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    app.display.Images.Image1[6].width = 1;
    app.display.Images.Image1[6].height = 1;
    app.display.Images.Image1[6].pixels = {0xFF102030u};
    DrawClipBufferItem(app, i);
    ASSERT_EQ(Of(Kind::Picture).size(), 1u);
    EXPECT_TRUE(SameSegment(Of(Kind::Picture)[0], {5, 9, 4, -3}));

    // A filled band reads its corners from the buffer item.
    app.view.DisplayZoom = 2;
    MapRecord& band = Item(10, 100, 100);
    band.RecordX1 = 100; band.RecordY1 = 110; band.RecordX2 = 110; band.RecordY2 = 110;
    band.RecordX3 = 110; band.RecordY3 = 100; band.RecordX4 = 100; band.RecordY4 = 100;
    canvas.ClearRecords();
    i = 2;
    DrawClipBufferItem(app, i);
    ASSERT_FALSE(Lines().empty());
    for (const auto& l : Lines()) EXPECT_GE(l.x1, 99);
    EXPECT_EQ(app.display.PenCache, 8);
}

}  // namespace
}  // namespace movra
