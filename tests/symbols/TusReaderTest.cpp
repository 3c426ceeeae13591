// The readers of the symbol-standard file: point symbols, line types, their bounds and ends.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic/Numbers.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

namespace movra {
namespace {

std::string Items(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += EncodeTusItem(line);
    return bytes;
}

struct Loaded {
    SymbolStandard st;
    TusReadEnd pointEnd{};
    TusReadEnd lineEnd{};
};

// Both readers over the same bytes, tables dimensioned first, as the load sequence runs them.
Loaded Load(const std::string& bytes) {
    Loaded r;
    DimensionSymbolTables(r.st);
    DimensionLineTypeTables(r.st);
    TusItemReader points(bytes);
    r.pointEnd = ReadSymbolDefinitions(r.st, points);
    TusItemReader lines(bytes);
    r.lineEnd = ReadLineTypes(r.st, lines);
    return r;
}

Loaded LoadLines(const std::vector<std::string>& lines) { return Load(Items(lines)); }

// A point-symbol section followed by an empty, complete line-type section.
Loaded LoadPoints(std::vector<std::string> lines) {
    lines.push_back("*LL");
    lines.push_back("*$");
    return LoadLines(lines);
}

TEST(TusPointSymbols, ElementsOfEveryKind) {
    Loaded r = LoadPoints({"*三角点", "2 0,1.5 -1.3,-0.75 1.3,-0.75 0,1.5", "3 0,0 0.2",
                           "  *水井  ", "1 -1,0 1,0", "4 0,0 1,0 -1,0", "5 0.5,-0.5",
                           "这一行不是元素", "*空符号"});
    ASSERT_EQ(r.pointEnd, TusReadEnd::EndMarker);
    SymbolStandard& st = r.st;
    EXPECT_EQ(st.SymbolNames.At(0), "*三角点");
    EXPECT_EQ(st.SymbolElementCount.At(0), 1);
    EXPECT_EQ(st.SymbolX.At(0, 0, 0), SymbolPolyline);
    EXPECT_EQ(st.SymbolY.At(0, 0, 0), 4);
    EXPECT_DOUBLE_EQ(st.SymbolX.At(0, 0, 2), -1.3);
    EXPECT_DOUBLE_EQ(st.SymbolY.At(0, 0, 4), 1.5);
    EXPECT_EQ(st.SymbolX.At(0, 1, 0), SymbolCircle);
    EXPECT_DOUBLE_EQ(st.SymbolX.At(0, 1, 2), 0.2);  // the radius

    // Blanks around the name go; the "*" stays.
    EXPECT_EQ(st.SymbolNames.At(1), "*水井");
    EXPECT_EQ(st.SymbolElementCount.At(1), 2);
    EXPECT_EQ(st.SymbolX.At(1, 0, 0), SymbolSegment);
    EXPECT_EQ(st.SymbolY.At(1, 0, 0), 1);
    EXPECT_DOUBLE_EQ(st.SymbolX.At(1, 0, 2), 1);
    EXPECT_EQ(st.SymbolX.At(1, 1, 0), SymbolArc);
    EXPECT_DOUBLE_EQ(st.SymbolX.At(1, 1, 3), -1);
    EXPECT_EQ(st.SymbolX.At(1, 2, 0), SymbolPoint);
    EXPECT_DOUBLE_EQ(st.SymbolY.At(1, 2, 1), -0.5);

    EXPECT_EQ(st.SymbolNames.At(2), "*空符号");
    EXPECT_EQ(st.SymbolElementCount.At(2), -1);
}

TEST(TusPointSymbols, ReaderCases) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        float elementCount;   // of symbol 0
        double firstKind;     // kind of element 0
    };
    const std::vector<Case> cases = {
        {"segment without a comma is ignored", {"*a", "1 2 3", "5 1,1"}, 0, SymbolPoint},
        {"polyline with a trailing blank gives its place to the next element",
         {"*a", "2 0,0 1,1 ", "1 2,2 3,3"}, 0, SymbolSegment},
        {"polyline without a comma is ignored", {"*a", "2 0 1", "3 0,0 1"}, 0, SymbolCircle},
        {"coordinates are read leniently", {"*a", "1 x,2b 3,4"}, 0, SymbolSegment},
        {"a later name line starts afresh", {"*a", "5 0,0", "*b"}, 0, SymbolPoint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded r = LoadPoints(c.lines);
        EXPECT_EQ(r.pointEnd, TusReadEnd::EndMarker);
        EXPECT_EQ(r.st.SymbolElementCount.At(0), c.elementCount);
        EXPECT_EQ(r.st.SymbolX.At(0, 0, 0), c.firstKind);
    }
    Loaded lenient = LoadPoints({"*a", "1 x,2b 3,4"});
    EXPECT_EQ(lenient.st.SymbolX.At(0, 0, 1), 0);
    EXPECT_EQ(lenient.st.SymbolY.At(0, 0, 1), 2);
    // The trailing blank left one vertex less on the element that was then overwritten.
    Loaded trailing = LoadPoints({"*a", "2 0,0 1,1 2,2 "});
    EXPECT_EQ(trailing.st.SymbolElementCount.At(0), -1);
    EXPECT_EQ(trailing.st.SymbolY.At(0, 0, 0), 3);
}

TEST(TusPointSymbols, EndOfSection) {
    // "*ll" in any case ends the section; nothing after it is a point symbol.
    Loaded r = LoadLines({"*a", "5 0,0", "*ll", "*b", "5 1,1", "*$"});
    EXPECT_EQ(r.pointEnd, TusReadEnd::EndMarker);
    EXPECT_EQ(r.st.SymbolNames.At(1), "");
    // The line-type reader found the same end and read "*b" as line type 1.
    EXPECT_EQ(r.st.LineTypeNames.At(1), "*b");

    // With blanks around it the point reader takes it for a name, the line-type reader does not.
    Loaded blanks = LoadLines({"*a", " *LL ", "*线", "+1 W1", "*$"});
    EXPECT_EQ(blanks.pointEnd, TusReadEnd::EndOfFile);
    EXPECT_EQ(blanks.st.SymbolNames.At(1), "*LL");
    EXPECT_EQ(blanks.lineEnd, TusReadEnd::EndMarker);
    EXPECT_EQ(blanks.st.LineTypeNames.At(1), "*线");
}

TEST(TusLineTypes, PatternAndValueLines) {
    Loaded r = LoadLines({"*LL", "*虚线", "+3 -1 W2", "*短虚线", "+3 -1", "*两行", "+3 -1 W2",
                          "G5 -2 W1", "*数值", "+3 -1 W2", "1 5 7", "*大小写", "g5 Z1 y2 w1.5",
                          "*无空格", "+10", "*$"});
    ASSERT_EQ(r.lineEnd, TusReadEnd::EndMarker);
    EXPECT_EQ(r.st.SymbolStandardLoaded, True);
    CheckedTable<float>& p = r.st.LineTypePattern;

    EXPECT_EQ(r.st.LineTypeNames.At(1), "*虚线");
    EXPECT_EQ(r.st.LineTypeWidth.At(1, 0), 1);
    EXPECT_EQ(r.st.LineTypeWidth.At(1, 1), 20);
    EXPECT_EQ(p.At(1, 0, 0), 2);  // element count
    EXPECT_EQ(p.At(1, 0, 1), 4);  // period
    EXPECT_EQ(p.At(1, 1, 0), LineDash);
    EXPECT_EQ(p.At(1, 1, 1), 3);
    EXPECT_EQ(p.At(1, 2, 0), LineGap);
    EXPECT_EQ(p.At(1, 2, 1), 1);

    EXPECT_EQ(p.At(2, 0, 0), 1);  // only the dash is drawn
    EXPECT_EQ(r.st.LineTypeWidth.At(2, 1), 0);

    // Elements run on over the second pattern line; the count is the second line's.
    EXPECT_EQ(p.At(3, 0, 0), 2);
    EXPECT_EQ(p.At(3, 0, 1), 6);
    EXPECT_EQ(p.At(3, 3, 0), LineSymbol);
    EXPECT_EQ(p.At(3, 3, 1), 5);
    EXPECT_EQ(p.At(3, 4, 0), LineGap);
    EXPECT_EQ(r.st.LineTypeWidth.At(3, 1), 10);

    // A value line writes the value cells from element 0: the period becomes 1.
    EXPECT_EQ(p.At(4, 0, 1), 1);
    EXPECT_EQ(p.At(4, 1, 1), 5);
    EXPECT_EQ(p.At(4, 2, 1), 7);
    EXPECT_EQ(p.At(4, 1, 0), LineDash);

    EXPECT_EQ(p.At(5, 1, 0), LineSymbol);
    EXPECT_EQ(p.At(5, 2, 0), LineLeftSide);
    EXPECT_EQ(p.At(5, 2, 1), 1);
    EXPECT_EQ(p.At(5, 3, 0), LineRightSide);
    EXPECT_EQ(p.At(5, 3, 1), 2);
    EXPECT_EQ(r.st.LineTypeWidth.At(5, 1), 15);

    // A pattern line without a blank is ignored; the type still counts as defined.
    EXPECT_EQ(p.At(6, 0, 0), 0);
    EXPECT_EQ(r.st.LineTypeWidth.At(6, 0), 1);
    // The end marker takes the next type number.
    EXPECT_EQ(r.st.LineTypeNames.At(7), "*$");
}

TEST(TusLineTypes, SeventeenthPatternElementIsDropped) {
    std::string pattern;
    for (int k = 1; k <= 18; ++k) pattern += "+1 ";
    pattern += "W1";
    Loaded r = LoadLines({"*LL", "*长", pattern, "*$"});
    EXPECT_EQ(r.lineEnd, TusReadEnd::EndMarker);
    EXPECT_EQ(r.st.LineTypePattern.At(1, 16, 0), LineDash);
    EXPECT_EQ(r.st.LineTypePattern.At(1, 17, 0), 0);
    EXPECT_EQ(r.st.LineTypePattern.At(1, 0, 1), 16);
    EXPECT_EQ(r.st.LineTypeWidth.At(1, 1), 0);  // the width token came after the 16th
}

std::vector<std::string> Repeat(std::vector<std::string> lines, const std::string& line, int times) {
    for (int k = 0; k < times; ++k) lines.push_back(line);
    return lines;
}

TEST(TusBounds, BeyondTheTablesStopsTheReader) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        bool pointFails;
    };
    std::vector<std::string> manySymbols;
    for (int k = 0; k < 351; ++k) manySymbols.push_back("*s" + std::to_string(k));
    manySymbols.push_back("*LL");
    std::vector<std::string> manyTypes = {"*LL"};
    for (int k = 0; k < 318; ++k) manyTypes.push_back("*t" + std::to_string(k));
    manyTypes.push_back("*$");
    const std::vector<Case> cases = {
        {"351 point symbols", manySymbols, true},
        {"11 elements", Repeat({"*a"}, "5 0,0", 11), true},
        {"6 polyline vertices", {"*a", "2 0,0 1,1 2,2 3,3 4,4 5,5"}, true},
        {"segment with one vertex", {"*a", "1 0,0"}, true},
        {"vertex without y", {"*a", "1 0 1,1"}, true},
        {"circle without radius", {"*a", "3 0,0"}, true},
        {"circle centre without y", {"*a", "3 0 1"}, true},
        {"kind that is not a number", {"*a", "1x 0,0 1,1"}, true},
        {"318 line types and the marker", manyTypes, false},
        {"value line of 19 tokens", {"*LL", "*t", "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "*$"}, false},
        {"width code above 255", {"*LL", "*t", "+1 W30", "*$"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = c.lines;
        if (c.pointFails) {
            lines.insert(lines.end(), {"*LL", "*t", "+1 W1", "*$"});
            Loaded r = LoadLines(lines);
            EXPECT_EQ(r.pointEnd, TusReadEnd::Failure);
        } else {
            Loaded r = LoadLines(lines);
            EXPECT_EQ(r.lineEnd, TusReadEnd::Failure);
            EXPECT_EQ(r.st.SymbolStandardLoaded, False);
        }
    }
    // What came before the failure stays.
    Loaded r = LoadPoints({"*a", "5 1,2", "*b", "1x 0,0 1,1"});
    EXPECT_EQ(r.pointEnd, TusReadEnd::Failure);
    EXPECT_EQ(r.st.SymbolNames.At(1), "*b");
    EXPECT_EQ(r.st.SymbolY.At(0, 0, 1), 2);

    // 317 line types and the marker fill the table exactly.
    std::vector<std::string> full = {"*LL"};
    for (int k = 0; k < 317; ++k) full.push_back("*t" + std::to_string(k));
    full.push_back("*$");
    EXPECT_EQ(LoadLines(full).st.SymbolStandardLoaded, True);
}

TEST(TusBounds, TablesNotDimensioned) {
    const std::string bytes = Items({"*a", "5 0,0", "*LL", "*t", "+1 W1", "*$"});
    SymbolStandard st;
    TusItemReader points(bytes);
    EXPECT_EQ(ReadSymbolDefinitions(st, points), TusReadEnd::Failure);
    TusItemReader lines(bytes);
    EXPECT_EQ(ReadLineTypes(st, lines), TusReadEnd::Failure);
    EXPECT_EQ(st.SymbolStandardLoaded, False);
}

TEST(TusBounds, FilesThatEndEarly) {
    // No "*LL": both readers stop at the end of the items.
    Loaded noSection = LoadLines({"*a", "5 0,0"});
    EXPECT_EQ(noSection.pointEnd, TusReadEnd::EndOfFile);
    EXPECT_EQ(noSection.lineEnd, TusReadEnd::EndOfFile);
    EXPECT_EQ(noSection.st.SymbolStandardLoaded, False);
    // No "*$".
    Loaded noEnd = LoadLines({"*LL", "*t", "+1 W1"});
    EXPECT_EQ(noEnd.lineEnd, TusReadEnd::EndOfFile);
    EXPECT_EQ(noEnd.st.LineTypeNames.At(1), "*t");
    EXPECT_EQ(noEnd.st.SymbolStandardLoaded, False);
    // An item whose byte count runs past the end: the marker behind it is never reached.
    std::string cut = Items({"*LL", "*t"}) + EncodeTusItem("*$");
    cut.resize(cut.size() - 1);
    Loaded truncated = Load(cut);
    EXPECT_EQ(truncated.lineEnd, TusReadEnd::EndOfFile);
    EXPECT_EQ(truncated.st.SymbolStandardLoaded, False);
}

TEST(TusItems, ReaderCases) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> items;
        bool truncated;
        bool damaged = false;
    };
    const std::string three = std::string("\x01\x02\x03\x04\x04\x00", 6) + "\xc8\xfd\xbd\xc7";  // 三角 in GBK
    const std::vector<Case> cases = {
        {"no bytes", "", {}, false},
        {"empty item", std::string(6, '\0'), {""}, false},
        {"text in code page 936, first four bytes unread", three, {"三角"}, false},
        {"two items", three + std::string(6, '\0'), {"三角", ""}, false},
        {"header cut short", three + std::string(5, '\0'), {"三角"}, true},
        {"count runs past the end", std::string("\0\0\0\0\x05\x00" "abcd", 10), {}, true},
        {"count of 65535 with nothing behind", std::string("\0\0\0\0\xff\xff", 6), {}, true},
        // A count too large takes in the next item's header; what follows is not read.
        {"count taking in the next header", three + std::string("\0\0\0\0\x07\x00" "ab", 8) + std::string(6, '\0') + "c",
         {"三角"}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TusItemReader reader(c.bytes);
        std::vector<std::string> got;
        while (std::optional<std::string> item = reader.Next()) got.push_back(*item);
        EXPECT_EQ(got, c.items);
        EXPECT_EQ(reader.Truncated(), c.truncated);
        EXPECT_EQ(reader.Damaged(), c.damaged);
        EXPECT_FALSE(reader.Next().has_value());
    }
}

TEST(TusItems, SourceLinesBecomeItems) {
    const std::string bytes = EncodeTusSource("*三角点\r\n2 0,1 1,0\n\n*LL");
    TusItemReader reader(bytes);
    std::vector<std::string> got;
    while (std::optional<std::string> item = reader.Next()) got.push_back(*item);
    EXPECT_EQ(got, (std::vector<std::string>{"*三角点", "2 0,1 1,0", "", "*LL"}));
    EXPECT_EQ(bytes.substr(0, 9), std::string("\0\0\0\0\x07\x00*\xc8\xfd", 9));
}

}  // namespace
}  // namespace movra
