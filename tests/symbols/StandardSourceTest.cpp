// Compiling the readable source of a symbol standard: codes written out, the page codes checked,
// the items as the readers take them, and a standard written against another one.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "symbols/StandardSource.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

namespace movra {
namespace {

// A complete small source: every code of the pages with a plain item, some replaced.
std::string Source(const std::map<int, std::string>& replaced, int left = -1) {
    std::string s = "// 试验\n";
    for (int code = 0; code < FirstCodeBeyondPages; ++code) {
        if (code == left) continue;
        if (code == 350) s += "*LL\n";
        if (auto it = replaced.find(code); it != replaced.end()) {
            s += it->second;
            continue;
        }
        s += "@" + std::to_string(code) + " *项" + std::to_string(code) + "\n";
        if (code < 350)
            s += "3 0,0 1\n";
        else if (code >= 550 && code <= 553)
            ;
        else if (code >= 554 && code <= 597)
            s += "1 0 4 0 4 7\n";
        else
            s += "+4 -1 W0.2\n";
    }
    return s + "*$\n";
}

StandardSourceResult Compile(const std::string& source, const std::map<std::string, std::string>& bases = {}) {
    return CompileStandardSource(source, [&](const std::string& name) -> std::optional<std::string> {
        auto it = bases.find(name);
        if (it == bases.end()) return std::nullopt;
        return it->second;
    });
}

TEST(StandardSource, SoundSourceLoadsWithItsCodes) {
    // Items out of code order are laid out in code order.
    std::map<int, std::string> replaced{{5, ""}, {400, "@400 *线四百\n+2 G5 W0.3\n@5 *符号五\n1 0,0 1,1\n"}};
    const StandardSourceResult r = Compile(Source(replaced));
    ASSERT_TRUE(r.errors.empty()) << r.errors.front();
    const std::string bytes = EncodeTusSource(r.itemLines);
    SymbolStandard st;
    DimensionSymbolTables(st);
    DimensionLineTypeTables(st);
    TusItemReader points(bytes), lines(bytes);
    EXPECT_EQ(ReadSymbolDefinitions(st, points), TusReadEnd::EndMarker);
    EXPECT_EQ(ReadLineTypes(st, lines), TusReadEnd::EndMarker);
    EXPECT_EQ(st.SymbolNames.At(5), "*符号五");
    EXPECT_EQ(st.SymbolX.At(5, 0, 0), SymbolSegment);
    EXPECT_EQ(st.LineTypeNames.At(400 - 349), "*线四百");
    EXPECT_EQ(st.LineTypePattern.At(400 - 349, 2, 1), 5);
    EXPECT_EQ(st.LineTypePattern.At(576 - 349, 5, 1), 7);
    EXPECT_EQ(st.LineTypeNames.At(609 - 349), "*$");
    EXPECT_EQ(r.itemLines.find("//"), std::string::npos);  // comments stay in the source
}

TEST(StandardSource, FaultsFailTheBuildWithTheirLine) {
    struct Case {
        const char* what;
        std::map<int, std::string> replaced;
        int left;
        const char* message;
    };
    std::string eleven = "@9 *多\n";
    for (int i = 0; i < 11; ++i) eleven += "5 0,0\n";
    const Case cases[] = {
        {"a page code left out", {}, 351, "code 351 of the symbol pages is missing"},
        {"a code twice", {{7, "@7 *七\n3 0,0 1\n@7 *又七\n3 0,0 1\n"}}, -1, "code 7 is written twice"},
        {"no name", {{7, "@7\n3 0,0 1\n"}}, -1, "needs a name"},
        {"beyond the tables", {{7, "@700 *远\n+1 W1\n"}}, -1, "code 0.."},
        {"a line before any item", {{0, "3 0,0 1\n@0 *零\n3 0,0 1\n"}}, -1, "outside any item"},
        {"symbol with nothing", {{9, "@9 *空\n"}}, -1, "symbol 9 draws nothing"},
        {"eleven elements", {{9, eleven}}, -1, "more than 10 elements"},
        {"six-point polyline", {{9, "@9 *长\n2 0,0 1,0 1,1 0,1 0,2 1,2\n"}}, -1, "not take whole"},
        {"a segment without commas", {{9, "@9 *坏\n1 0 1\n"}}, -1, "not take whole"},
        {"an arc centred below", {{9, "@9 *弧\n4 0,-1 1,-1 -1,-1\n"}}, -1, "arc centred below"},
        {"line type placing a missing symbol", {{360, "@360 *线\n+2 G350 W0.2\n"}}, -1, "places symbol 350"},
        {"line type with no dash or gap", {{360, "@360 *线\nz0.5 y0.5 W0.2\n"}}, -1, "no dash or gap"},
        {"line type with a stray token", {{360, "@360 *线\n+2 Q3 W0.2\n"}}, -1, "token the reader skips"},
        {"line type without a pattern", {{360, "@360 *线\n"}}, -1, "has no pattern"},
        {"pattern with no spacing", {{560, "@560 *图\n1 0 0 0 4 7\n"}}, -1, "both spacings above 0"},
        {"pattern laying a missing symbol", {{560, "@560 *图\n1 0 4 0 4 351\n"}}, -1, "lays symbol 351"},
        {"preset with lines", {{551, "@551 *斜\n+1 W1\n"}}, -1, "holds no lines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const StandardSourceResult r = Compile(Source(c.replaced, c.left));
        ASSERT_FALSE(r.errors.empty());
        EXPECT_NE(r.errors.front().find(c.message), std::string::npos) << r.errors.front();
        EXPECT_TRUE(r.itemLines.empty());
    }
}

TEST(StandardSource, AStandardWrittenAgainstItsBase) {
    const std::string base = Source({});
    const StandardSourceResult r =
        Compile("// 小比例尺\n@基于 底图\n@3 *项3\n5 0,0\n@506 *项506\n+10 W0.1\n", {{"底图", base}});
    ASSERT_TRUE(r.errors.empty()) << r.errors.front();
    const StandardSourceResult plain = Compile(base);
    // Only the items it lists differ from the base.
    EXPECT_NE(r.itemLines.find("*项3\n5 0,0\n"), std::string::npos);
    EXPECT_NE(r.itemLines.find("*项506\n+10 W0.1\n"), std::string::npos);
    EXPECT_EQ(r.itemLines.size(), plain.itemLines.size() - std::string("3 0,0 1+4 -1 W0.2").size() +
                                      std::string("5 0,0+10 W0.1").size());

    EXPECT_FALSE(Compile("@基于 没有\n").errors.empty());
    EXPECT_FALSE(Compile("@0 *零\n3 0,0 1\n@基于 底图\n", {{"底图", base}}).errors.empty());
    // A base that names itself ends instead of reading for ever.
    EXPECT_FALSE(Compile("@基于 自己\n", {{"自己", "@基于 自己\n"}}).errors.empty());
}

}  // namespace
}  // namespace movra
