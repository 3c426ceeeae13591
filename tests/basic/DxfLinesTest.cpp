#include <gtest/gtest.h>

#include <string>

#include "basic/DxfLines.h"
#include "basic/Errors.h"

namespace movra {
namespace {

// A group code line is a code only when it holds one to four digits: a huge number (which would
// overflow an int), a sign, a text or nothing is no code at all.
TEST(DxfLinesTest, AGroupCodeIsReadOnlyWhenItIsOne) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},        {" 10", 10},      {"  8 ", 8},     {"1001", 1001}, {"9999", 9999},
        {"81478700000", -1}, {"10000", -1}, {"-1", -1},     {"+5", -1},       {"1e3", -1},
        {"10.0", -1},    {"AcDbLine", -1}, {"", -1},        {"   ", -1},
    };
    for (const auto& [line, code] : cases) EXPECT_EQ(DxfGroupCode(line), code) << '"' << line << '"';
}

TEST(DxfLinesTest, ReadingPastTheLastLineRaisesAndTheLineNumberSaysWhere) {
    DxfLineReader lines("  0\r\nSECTION\nEOF");
    EXPECT_EQ(lines.Line(), "0");
    EXPECT_EQ(lines.Raw(), "SECTION");
    EXPECT_EQ(lines.Line(), "EOF");
    EXPECT_EQ(lines.LineNumber(), 3);
    try {
        lines.Line();
        FAIL() << "no error past the last line";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, ErrInputPastEnd);
    }
}

}  // namespace
}  // namespace movra
