#include <cstdint>

#include "DisplayFixture.h"
#include "basic/Colors.h"
#include "display/ClipBufferItemRenderer.h"

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

TEST_F(ClipBufferItemTest, TerrainNameOnBackgroundColourTakesContrastEveryTime) {
    for (int k = 0; k < 2; ++k) {
        MapRecord& r = Item(61, 5, 5);
        r.RecordColor = 0;  // the background
        r.RecordText = "A";
        r.RecordX2 = 3;
    }
    for (std::int32_t i = 1; i <= 2; ++i) DrawClipBufferItem(app, i);
    const auto prints = canvas.PrimitivesOf(SurfacePrimitive::Kind::Print);
    ASSERT_EQ(prints.size(), 2u);
    for (const auto& p : prints) EXPECT_EQ(p.color, ContrastColor(0));
}

}  // namespace
}  // namespace movra
