// The three symbol standards the program ships, their readable sources, and loading a standard
// from the program's folders.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "basic/Files.h"
#include "basic/Numbers.h"
#include "support/TestApp.h"
#include "symbols/StandardSource.h"
#include "symbols/SymbolCode.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

// The readable sources in the repository, and the .tus files the build made from them.
fs::path Sources() { return fs::path(MOVRA_TEST_SOURCE_DIR) / "resources" / "symbols-src"; }
fs::path Built() { return fs::path(MOVRA_TEST_PROGRAM_DIR); }

const char* const Standards[] = {"电子图式", "1比2千图式", "1比1万图式"};

struct Counts {
    int symbols = 0;
    int lineTypes = 0;  // before the end marker
};

Counts Count(const SymbolStandard& st) {
    Counts c;
    while (c.symbols <= MaxSymbolIndex && !st.SymbolNames.At(c.symbols).empty()) ++c.symbols;
    while (c.lineTypes + 1 <= MaxLineTypeIndex && st.LineTypeNames.At(c.lineTypes + 1) != "*$" &&
           !st.LineTypeNames.At(c.lineTypes + 1).empty())
        ++c.lineTypes;
    return c;
}

// The fill rows share the line-type numbers but hold no pattern to lay along a line.
bool IsFillRow(int lineType) {
    const SymbolCodeKind kind = ClassifySymbolCode(LineTypeCode(lineType));
    return kind == SymbolCodeKind::FillPreset || kind == SymbolCodeKind::FillPattern;
}

int SymbolNamed(const SymbolStandard& st, const std::string& name) {
    for (int n = 0; n <= MaxSymbolIndex; ++n)
        if (st.SymbolNames.At(n) == name) return n;
    return -1;
}

int LineTypeNamed(const SymbolStandard& st, const std::string& name) {
    for (int t = 1; t <= MaxLineTypeIndex; ++t)
        if (st.LineTypeNames.At(t) == name) return t;
    return -1;
}

void LoadStandard(TestApp& t) {
    DimensionSymbolTables(t.app.symbolStandard);
    LoadSymbolDefinitions(t.app);
    DimensionLineTypeTables(t.app.symbolStandard);
    LoadLineTypes(t.app);
}

TEST(ShippedStandards, BuiltFromTheirSourcesAndRoundTrip) {
    auto readSource = [](const std::string& name) -> std::optional<std::string> {
        return ReadWholeFile((Sources() / (name + ".txt")).string());
    };
    for (const char* name : Standards) {
        SCOPED_TRACE(name);
        const StandardSourceResult compiled = CompileStandardSource(*readSource(name), readSource);
        EXPECT_TRUE(compiled.errors.empty()) << compiled.errors.front();
        const std::string built = ReadWholeFile((Built() / (std::string(name) + ".tus")).string());
        // The build's tool and the compiler with the encoder agree byte for byte.
        EXPECT_TRUE(EncodeTusSource(compiled.itemLines) == built);
        // Every item read back and written again gives the same bytes, to the end of the file.
        TusItemReader reader(built);
        std::string again;
        while (std::optional<std::string> item = reader.Next()) again += EncodeTusItem(*item);
        EXPECT_FALSE(reader.Truncated());
        EXPECT_TRUE(again == built);
    }
}

TEST(ShippedStandards, LoadCompletely) {
    Counts first;
    for (const char* name : Standards) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadWholeFile((Built() / (std::string(name) + ".tus")).string());
        SymbolStandard st;
        DimensionSymbolTables(st);
        DimensionLineTypeTables(st);
        TusItemReader points(bytes);
        EXPECT_EQ(ReadSymbolDefinitions(st, points), TusReadEnd::EndMarker);
        TusItemReader lines(bytes);
        EXPECT_EQ(ReadLineTypes(st, lines), TusReadEnd::EndMarker);
        EXPECT_EQ(st.SymbolStandardLoaded, True);

        const Counts c = Count(st);
        EXPECT_EQ(c.symbols, MaxSymbolIndex + 1);
        EXPECT_EQ(c.lineTypes, LineTypeOfCode(608));
        if (first.symbols == 0) first = c;
        // One numbering for all three, so a map keeps its symbols when the standard changes.
        EXPECT_EQ(c.symbols, first.symbols);
        EXPECT_EQ(c.lineTypes, first.lineTypes);

        std::set<std::string> names;
        for (int n = 0; n < c.symbols; ++n) {
            SCOPED_TRACE(st.SymbolNames.At(n));
            EXPECT_TRUE(names.insert(st.SymbolNames.At(n)).second);
            EXPECT_GE(st.SymbolElementCount.At(n), 0);
            for (int e = 0; e <= st.SymbolElementCount.At(n); ++e) {
                const double kind = st.SymbolX.At(n, e, 0);
                EXPECT_TRUE(kind >= SymbolSegment && kind <= SymbolPoint);
                if (kind == SymbolPolyline) {
                    EXPECT_GE(st.SymbolY.At(n, e, 0), 2);
                    EXPECT_LE(st.SymbolY.At(n, e, 0), 5);
                }
            }
        }
        for (int t = 1; t <= c.lineTypes; ++t) {
            SCOPED_TRACE(st.LineTypeNames.At(t));
            if (IsFillRow(t)) {
                EXPECT_EQ(st.LineTypePattern.At(t, 0, 0), 0);  // nothing to lay along a line
                continue;
            }
            const int count = static_cast<int>(st.LineTypePattern.At(t, 0, 0));
            EXPECT_GE(count, 1);
            EXPECT_GT(st.LineTypePattern.At(t, 0, 1), 0);  // a period, so a run ends
            EXPECT_GT(st.LineTypeWidth.At(t, 1), 0);
            for (int i = 1; i <= count; ++i) {
                const float kind = st.LineTypePattern.At(t, i, 0);
                EXPECT_TRUE(kind >= LineDash && kind <= LineRightSide);
                if (kind == LineSymbol) {
                    const float code = st.LineTypePattern.At(t, i, 1);
                    EXPECT_GE(code, 0);
                    EXPECT_LT(code, c.symbols);
                }
                // A dash of 100 draws the symbol of the next element at the line's end.
                if (kind == LineDash && st.LineTypePattern.At(t, i, 1) == 100) {
                    EXPECT_EQ(st.LineTypePattern.At(t, i + 1, 0), LineSymbol);
                }
            }
        }
    }
}

TEST(ShippedStandards, SomeShapes) {
    TestApp t;
    for (const char* name : {"电子图式.tus"}) fs::copy_file(Built() / name, t.programFolder.Path() / name);
    LoadStandard(t);
    const SymbolStandard& st = t.app.symbolStandard;

    // Triangulation point: a closed equilateral triangle of 3 mm about the insertion point, the
    // first of the control points.
    const int triangle = SymbolNamed(st, "*三角点");
    ASSERT_EQ(triangle, 100);
    EXPECT_EQ(st.SymbolX.At(triangle, 0, 0), SymbolPolyline);
    ASSERT_EQ(st.SymbolY.At(triangle, 0, 0), 4);
    EXPECT_EQ(st.SymbolX.At(triangle, 0, 1), st.SymbolX.At(triangle, 0, 4));
    EXPECT_EQ(st.SymbolY.At(triangle, 0, 1), st.SymbolY.At(triangle, 0, 4));
    const double side = std::hypot(st.SymbolX.At(triangle, 0, 3) - st.SymbolX.At(triangle, 0, 2),
                                   st.SymbolY.At(triangle, 0, 3) - st.SymbolY.At(triangle, 0, 2));
    EXPECT_NEAR(side, 3.0, 0.01);

    // Levelling point: a circle of 2 mm with its cross.
    const int level = SymbolNamed(st, "*水准点");
    ASSERT_GE(level, 0);
    EXPECT_EQ(st.SymbolX.At(level, 0, 0), SymbolCircle);
    EXPECT_EQ(st.SymbolX.At(level, 0, 2), 1.0);

    // Contours: intermediate thin and solid, index thicker.
    const int contour = LineTypeNamed(st, "*首曲X");
    const int index = LineTypeNamed(st, "*计曲X");
    ASSERT_GT(contour, 0);
    ASSERT_GT(index, 0);
    EXPECT_EQ(st.LineTypePattern.At(contour, 1, 0), LineDash);
    EXPECT_GT(st.LineTypeWidth.At(index, 1), st.LineTypeWidth.At(contour, 1));

    // Land-use boundary: dots, each the symbol made for it.
    const int boundary = LineTypeNamed(st, "*地类J");
    ASSERT_GT(boundary, 0);
    EXPECT_EQ(st.LineTypePattern.At(boundary, 1, 0), LineGap);
    EXPECT_EQ(st.LineTypePattern.At(boundary, 2, 0), LineSymbol);
    EXPECT_EQ(st.LineTypePattern.At(boundary, 2, 1), SymbolNamed(st, "*地类界点"));
    // Its code selects it as a line type.
    EXPECT_EQ(LineTypeOfCode(LineTypeCode(boundary)), boundary);
}

TEST(LoadingTheStandard, FromTheProgramFolderOrTheWorkFolder) {
    TestApp t;
    fs::copy_file(Built() / "电子图式.tus", t.programFolder.Path() / "电子图式.tus");
    LoadStandard(t);
    EXPECT_EQ(t.app.symbolStandard.SymbolStandardLoaded, True);
    EXPECT_EQ(t.app.symbolStandard.SymbolStandardFile, t.programFolder.Str() + "/电子图式.tus");
    EXPECT_EQ(t.app.symbolStandard.SymbolNames.At(0), "*电杆");

    // A user's own copy in the work folder is read instead.
    std::ofstream(t.workFolder.Path() / "电子图式.tus", std::ios::binary)
        << EncodeTusSource("*自己的\n5 0,0\n*LL\n*线\n+1 W1\n*$\n");
    LoadStandard(t);
    EXPECT_EQ(t.app.symbolStandard.SymbolNames.At(0), "*自己的");
    EXPECT_EQ(t.app.symbolStandard.SymbolNames.At(1), "");
    EXPECT_EQ(t.app.symbolStandard.SymbolStandardFile, t.workFolder.Str() + "/电子图式.tus");
}

TEST(LoadingTheStandard, MissingFileLeavesItUnloaded) {
    TestApp t;
    LoadStandard(t);
    EXPECT_EQ(t.app.symbolStandard.SymbolStandardLoaded, False);
    EXPECT_EQ(t.app.symbolStandard.SymbolNames.At(0), "");
    EXPECT_FALSE(fs::exists(t.programFolder.Path() / "电子图式.tus"));
}

TEST(SymbolCodes, Ranges) {
    struct Case {
        int code;
        SymbolCodeKind kind;
        int lineType;
    };
    const Case cases[] = {
        {0, SymbolCodeKind::PointSymbol, 0},      {349, SymbolCodeKind::PointSymbol, 0},
        {350, SymbolCodeKind::LineType, 1},       {549, SymbolCodeKind::LineType, 200},
        {550, SymbolCodeKind::FillPreset, 0},     {553, SymbolCodeKind::FillPreset, 0},
        {554, SymbolCodeKind::FillPattern, 0},    {597, SymbolCodeKind::FillPattern, 0},
        {598, SymbolCodeKind::LineType, 249},     {608, SymbolCodeKind::LineType, 259},
        {609, SymbolCodeKind::None, 0},           {-1, SymbolCodeKind::None, 0},
        {1090, SymbolCodeKind::SpecialLine, 0},   {1093, SymbolCodeKind::SpecialLine, 0},
        {1094, SymbolCodeKind::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ClassifySymbolCode(c.code), c.kind);
        EXPECT_EQ(LineTypeOfCode(c.code), c.lineType);
    }
    EXPECT_TRUE(IsSelfMadeSymbolName("#门牌"));
    EXPECT_FALSE(IsSelfMadeSymbolName("12"));
}

}  // namespace
}  // namespace movra
