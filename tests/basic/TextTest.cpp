#include <gtest/gtest.h>

#include "basic/Errors.h"
#include "basic/Text.h"

namespace movra {
namespace {

TEST(Text, CountsAndCutsCharactersNotBytes) {
    const std::string t = "层1宋体ab";
    EXPECT_EQ(Len(t), 6);
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Mid(t, 2, 2), "1宋");
    EXPECT_EQ(Mid(t, 3), "宋体ab");
    EXPECT_EQ(Mid(t, 6, 10), "b");
    EXPECT_EQ(Mid(t, 7, 1), "");
    EXPECT_EQ(Mid(t, 2, 0), "");
    EXPECT_EQ(Left(t, 3), "层1宋");
    EXPECT_EQ(Left(t, 99), t);
    EXPECT_EQ(Right(t, 3), "体ab");
    EXPECT_EQ(Right(t, 0), "");
    EXPECT_EQ(Right(t, 99), t);
}

TEST(Text, InStrCountsCharacters) {
    EXPECT_EQ(InStr("层1宋体宋", "宋"), 3);
    EXPECT_EQ(InStr("层1宋体宋", "宋", 4), 5);
    EXPECT_EQ(InStr("层1宋体宋", "宋", 6), 0);
    EXPECT_EQ(InStr("abc", "x"), 0);
    EXPECT_EQ(InStr("abc", "", 2), 2);
    EXPECT_EQ(InStr("", "a"), 0);
    EXPECT_EQ(InStr("abc", "abcd"), 0);
}

TEST(Text, BadPositionsRaiseInvalidCall) {
    for (auto action : {+[] { Mid("abc", 0, 1); }, +[] { Left("abc", -1); }, +[] { Right("abc", -1); },
                        +[] { InStr("abc", "a", 0); }}) {
        try {
            action();
            ADD_FAILURE();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, ErrInvalidCall);
        }
    }
}

TEST(Text, BrokenUtf8IsWalkedByteByByte) {
    // A lone lead byte, a cut-off sequence and a stray continuation byte: each byte is one character.
    const std::string t = std::string("a\xE5") + "b" + "\xE5\xAE" + "c" + "\x80" + "宋";
    EXPECT_EQ(Len(t), 8);
    EXPECT_EQ(Right(t, 1), "宋");
    EXPECT_EQ(Mid(t, 2, 1), "\xE5");
    EXPECT_EQ(InStr(t, "宋"), 8);
    EXPECT_EQ(UCase(t), std::string("A\xE5") + "B" + "\xE5\xAE" + "C" + "\x80" + "宋");
    EXPECT_EQ(DisplayColumns(t), 1 + 2 + 1 + 2 + 2 + 1 + 2 + 2);
    EXPECT_EQ(FirstCodePoint("\xE5"), U'\xFFFD');
    EXPECT_EQ(Len("\xF0\x9F\x98"), 3);  // a four-byte sequence cut short never reads past the end
}

TEST(Text, TrimRemovesSpacesOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("　宋　"), "　宋　");  // full-width spaces are not blanks
}

TEST(Text, CaseMappingAndComparison) {
    EXPECT_EQ(UCase("abc宋ｚ"), "ABC宋Ｚ");
    EXPECT_EQ(LCase("ABC宋Ａ"), "abc宋ａ");
    EXPECT_TRUE(EqualsIgnoreCase("Line", "LINE"));
    EXPECT_TRUE(EqualsIgnoreCase("宋体ａ", "宋体Ａ"));
    EXPECT_FALSE(EqualsIgnoreCase("line", "lines"));
    EXPECT_FALSE(EqualsIgnoreCase("宋体", "黑体"));
}

TEST(Text, DisplayColumnsAndCharacters) {
    EXPECT_EQ(DisplayColumns("a 1~"), 4);
    EXPECT_EQ(DisplayColumns("宋体x"), 5);
    EXPECT_EQ(DisplayColumns("\t"), 2);
    EXPECT_EQ(Chr(0x5B8B), "宋");
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Chr(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(FirstCodePoint("宋体"), U'宋');
    EXPECT_EQ(FirstCodePoint(""), 0u);
}

}  // namespace
}  // namespace movra
