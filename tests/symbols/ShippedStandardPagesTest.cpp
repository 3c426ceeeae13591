// The shipped standards against the symbol pages: every button finds the item its caption names,
// the pattern fills hold their symbol and spacings, and the smaller scales differ where their
// standards do.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "shell/MethodPanel.h"
#include "symbols/SymbolCode.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

const char* const Standards[] = {"电子图式", "1比2千图式", "1比1万图式"};

SymbolStandard Load(const std::string& name) {
    const std::string bytes = ReadWholeFile((fs::path(MOVRA_TEST_PROGRAM_DIR) / (name + ".tus")).string());
    SymbolStandard st;
    DimensionSymbolTables(st);
    DimensionLineTypeTables(st);
    TusItemReader points(bytes);
    ReadSymbolDefinitions(st, points);
    TusItemReader lines(bytes);
    ReadLineTypes(st, lines);
    return st;
}

// The name a button's item carries: its caption; for an "未定" button the undetermined boundary
// of the button before it ("*未定国界"); for a caption an earlier button already shows, the
// caption and "之二" ("*在建1之二"), so that no two items share a name.
std::string NameOfButton(int code) {
    const std::string caption = Trim(SymbolButtonCaption(code));
    if (caption == "未定") return "*未定" + Trim(SymbolButtonCaption(code - 1));
    for (int earlier = 351; earlier < code; ++earlier)
        if (Trim(SymbolButtonCaption(earlier)) == caption) return "*" + caption + "之二";
    return "*" + caption;
}

bool DrawsSomething(const SymbolStandard& st, int symbol) { return st.SymbolElementCount.At(symbol) >= 0; }

TEST(ShippedStandardPages, EveryButtonFindsItsItem) {
    for (const char* name : Standards) {
        SCOPED_TRACE(name);
        const SymbolStandard st = Load(name);
        ASSERT_EQ(st.SymbolStandardLoaded, True);
        for (int code = 0; code <= 349; ++code) {
            SCOPED_TRACE(code);
            EXPECT_TRUE(DrawsSomething(st, code));
            EXPECT_GT(st.SymbolNames.At(code).size(), 1u);
        }
        for (int code = 350; code <= 608; ++code) {
            SCOPED_TRACE(code);
            const int t = LineTypeOfCode(code) ? LineTypeOfCode(code) : code - LineTypeCodeBase;
            EXPECT_EQ(st.LineTypeWidth.At(t, 0), 1);
            if (!SymbolButtonCaption(code).empty()) {
                EXPECT_EQ(st.LineTypeNames.At(t), NameOfButton(code));
            }
            if (ClassifySymbolCode(code) == SymbolCodeKind::LineType) {
                EXPECT_GE(st.LineTypePattern.At(t, 0, 0), 1);
                // The symbols a line type places are there to be drawn.
                for (int i = 1; i <= st.LineTypePattern.At(t, 0, 0); ++i)
                    if (st.LineTypePattern.At(t, i, 0) == LineSymbol) {
                        EXPECT_TRUE(DrawsSomething(st, static_cast<int>(st.LineTypePattern.At(t, i, 1))));
                    }
            }
        }
        // No two line types or patterns share a name: the name tells which one is armed.
        std::set<std::string> names;
        for (int code = 350; code <= 608; ++code) {
            const int t = LineTypeOfCode(code) ? LineTypeOfCode(code) : code - LineTypeCodeBase;
            const std::string lineName = st.LineTypeNames.At(t);
            if (lineName.size() > 1) {
                EXPECT_TRUE(names.insert(lineName).second) << code << " " << lineName;
            }
        }
        // The line types keep their named meaning: 351 a bank, 413 the railway, 506 the contour.
        EXPECT_EQ(st.LineTypeNames.At(2), "*陡坎");
        EXPECT_EQ(st.LineTypeNames.At(LineTypeOfCode(413)), "*铁路");
        EXPECT_EQ(st.LineTypeNames.At(LineTypeOfCode(365)), "*未定国界");
        EXPECT_EQ(st.LineTypeNames.At(LineTypeOfCode(535)), "*0.8");
        EXPECT_EQ(st.LineTypeWidth.At(LineTypeOfCode(535), 1), 8);
    }
}

TEST(ShippedStandardPages, PatternFillsHoldTheirSymbolAndSpacings) {
    struct Case {
        int code;
        const char* symbol;  // what the rows lay
    };
    const Case cases[] = {
        {554, "*淤泥"}, {565, "*沙粒"}, {576, "*有林地"}, {580, "*竹林"}, {581, "*灌木林"},
        {582, "*芦苇地"}, {584, "*天然草地"}, {588, "*果园"}, {591, "*稻田"}, {592, "*旱地"}, {593, "*菜地"},
    };
    for (const char* name : Standards) {
        SCOPED_TRACE(name);
        const SymbolStandard st = Load(name);
        for (int code = 554; code <= 597; ++code) {
            SCOPED_TRACE(code);
            // The row the fill reads is the pattern's code less 349, as the fill tool stores it.
            const int row = code - LineTypeCodeBase;
            const float symbol = st.LineTypePattern.At(row, 5, 1);
            ASSERT_GE(symbol, 0);
            ASSERT_LE(symbol, MaxSymbolIndex);
            EXPECT_TRUE(DrawsSomething(st, static_cast<int>(symbol)));
            EXPECT_GT(st.LineTypePattern.At(row, 2, 1), 0);
            EXPECT_GT(st.LineTypePattern.At(row, 4, 1), 0);
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(c.code);
            const int symbol = static_cast<int>(st.LineTypePattern.At(c.code - LineTypeCodeBase, 5, 1));
            EXPECT_EQ(st.SymbolNames.At(symbol), c.symbol);
        }
        // Fill 4 lays symbol 216 with the spacings of row 216, the sandy beach: sand grains, close.
        EXPECT_EQ(st.SymbolNames.At(216), "*沙粒");
        EXPECT_EQ(st.LineTypePattern.At(216, 5, 1), 216);
        EXPECT_LE(st.LineTypePattern.At(216, 2, 1), 3);
    }
}

// The same item in two standards, element by element.
bool SameSymbol(const SymbolStandard& a, const SymbolStandard& b, int n) {
    if (a.SymbolElementCount.At(n) != b.SymbolElementCount.At(n)) return false;
    for (int e = 0; e <= a.SymbolElementCount.At(n); ++e)
        for (int v = 0; v <= MaxSymbolVertexIndex; ++v)
            if (a.SymbolX.At(n, e, v) != b.SymbolX.At(n, e, v) || a.SymbolY.At(n, e, v) != b.SymbolY.At(n, e, v))
                return false;
    return true;
}

TEST(ShippedStandardPages, SmallerScalesDifferWhereTheirStandardsDo) {
    const SymbolStandard large = Load("电子图式");
    const SymbolStandard s2000 = Load("1比2千图式");
    const SymbolStandard s10000 = Load("1比1万图式");
    constexpr int Triangulation = 100, PowerManhole = 8, Poplar = 121;
    // Sizes in paper millimetres that the scales share stay as they are: no uniform factor.
    for (int n : {Triangulation, Poplar}) {
        EXPECT_TRUE(SameSymbol(large, s2000, n));
        EXPECT_TRUE(SameSymbol(large, s10000, n));
    }
    // A manhole: 2 mm at the large scales, 1.6 mm at 1:2000, only a small ring at 1:10000.
    EXPECT_EQ(large.SymbolX.At(PowerManhole, 0, 2), 1.0);
    EXPECT_NEAR(s2000.SymbolX.At(PowerManhole, 0, 2), 0.8, 1e-9);
    EXPECT_NEAR(s10000.SymbolX.At(PowerManhole, 0, 2), 0.25, 1e-9);
    EXPECT_EQ(s10000.SymbolElementCount.At(PowerManhole), 1);

    // Contours thinner at 1:10000, the same at 1:2000.
    const int contour = LineTypeOfCode(506), index = LineTypeOfCode(507);
    EXPECT_EQ(s2000.LineTypeWidth.At(contour, 1), large.LineTypeWidth.At(contour, 1));
    EXPECT_LT(s10000.LineTypeWidth.At(contour, 1), large.LineTypeWidth.At(contour, 1));
    EXPECT_LT(s10000.LineTypeWidth.At(index, 1), large.LineTypeWidth.At(index, 1));
    // Power lines at 1:10000 show no poles: the line with poles draws as the one with arrows.
    const int poles = LineTypeOfCode(441), arrows = LineTypeOfCode(440);
    EXPECT_EQ(large.LineTypePattern.At(poles, 2, 1), 0);  // symbol 0, the pole
    EXPECT_EQ(s10000.LineTypePattern.At(poles, 2, 1), s10000.LineTypePattern.At(arrows, 2, 1));
    // Vegetation fills sparser at the smaller scales.
    const int forest = 576 - LineTypeCodeBase;
    EXPECT_GT(s2000.LineTypePattern.At(forest, 2, 1), large.LineTypePattern.At(forest, 2, 1));
    EXPECT_GT(s10000.LineTypePattern.At(forest, 2, 1), s2000.LineTypePattern.At(forest, 2, 1));
}

}  // namespace
}  // namespace movra
