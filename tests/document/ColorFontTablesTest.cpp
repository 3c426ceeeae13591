#include <gtest/gtest.h>

#include "App.h"
#include "document/ColorTable.h"
#include "document/FontTable.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

TEST(ColorFontTables, PaletteSpotValuesOfEveryRange) {
    struct Case {
        int index, r, g, b;
    };
    for (Case c : {Case{0, 0, 0, 0}, {1, 255, 0, 0}, {2, 255, 255, 0}, {3, 0, 255, 0}, {4, 0, 255, 255},
                   {5, 0, 0, 255}, {6, 255, 0, 255}, {7, 255, 255, 255}, {8, 128, 128, 128},
                   {9, 192, 192, 192},
                   {10, 255, 0, 0}, {11, 254, 4, 1}, {39, 226, 116, 29},
                   {40, 255, 197, 0}, {69, 197, 255, 87},
                   {70, 180, 255, 115}, {99, 6, 226, 57},
                   {100, 40, 215, 100}, {139, 1, 254, 217},
                   {140, 0, 120, 240}, {199, 59, 2, 4},
                   {200, 206, 147, 255}, {249, 255, 0, 157},
                   {250, 250, 250, 250}, {251, 200, 200, 200}, {254, 50, 50, 50}, {255, 0, 0, 0}}) {
        EXPECT_EQ(ColorIndexToRgb(static_cast<std::uint8_t>(c.index)), MakeRgb(c.r, c.g, c.b)) << c.index;
    }
    // Red is the low byte.
    EXPECT_EQ(ColorIndexToRgb(1), 0x0000FF);
    EXPECT_EQ(ColorIndexToRgb(5), 0xFF0000);
}

TEST(ColorFontTables, ColorNames) {
    const char* named[] = {"赤1", "黄2", "绿3", "青4", "蓝5", "紫6", "白7", "灰8", "灰9"};
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(ColorIndexName(static_cast<std::uint8_t>(i)), named[i - 1]);
    EXPECT_EQ(ColorIndexName(0), "0");
    EXPECT_EQ(ColorIndexName(10), "10");
    EXPECT_EQ(ColorIndexName(200), "200");
    EXPECT_EQ(ColorIndexName(255), "255");
}

TEST(ColorFontTables, FontFaces) {
    struct Case {
        int index;
        const char* face;
    };
    for (Case c : {Case{0, "华文细黑"}, {1, "黑体"}, {2, "宋体"}, {5, "右斜宋"}, {19, "楷体_GB2312"},
                   {23, "创艺简细圆"}, {24, "@宋体"}, {42, "@黑体"}, {43, "System"}, {44, "@System"},
                   {48, "@Fixedsys"}, {61, "Courier"}, {83, "Times New Roman Baltic"},
                   {105, "Microsoft Sans Serif"}, {107, "@MS Mincho"}, {135, "@PMingLiU"},
                   {141, "@Arial Unicode MS"}, {150, "Wingdings 2"}, {153, "MT Extra"},
                   {154, "宋体"}, {255, "宋体"}}) {
        EXPECT_EQ(FontIndexToName(static_cast<std::uint8_t>(c.index)), c.face) << c.index;
    }
}

TEST(ColorFontTables, FillingLeavesEntry255Empty) {
    FakePlatform fake;
    App app(fake);
    FillColorAndFontTables(app);
    EXPECT_EQ(app.tables.ColorPalette[5], MakeRgb(0, 0, 255));
    EXPECT_EQ(app.tables.ColorPalette[254], MakeRgb(50, 50, 50));
    EXPECT_EQ(app.tables.ColorNames[9], "灰9");
    EXPECT_EQ(app.tables.FontNames[153], "MT Extra");
    EXPECT_EQ(app.tables.FontNames[254], "宋体");
    EXPECT_EQ(app.tables.ColorPalette[255], 0);
    EXPECT_EQ(app.tables.ColorNames[255], "");
    EXPECT_EQ(app.tables.FontNames[255], "");
}

}  // namespace
}  // namespace movra
