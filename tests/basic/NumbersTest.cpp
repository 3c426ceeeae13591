#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "basic/Errors.h"
#include "basic/Numbers.h"

namespace movra {
namespace {

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

TEST(Numbers, IntIsFloor) {
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-2.1), -3);
    EXPECT_EQ(Int(-3), -3);
}

TEST(Numbers, ConversionsRoundHalfToEven) {
    struct Case {
        double x;
        int expected;
    };
    for (Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                   {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {32767.4, 32767}, {-32768.5, -32768}}) {
        EXPECT_EQ(ToInt16(c.x), c.expected) << c.x;
        EXPECT_EQ(ToInt32(c.x), c.expected) << c.x;
    }
    EXPECT_EQ(ToByte(255.4), 255);
    EXPECT_EQ(ToByte(-0.4), 0);
    EXPECT_EQ(ToByte(254.5), 254);
    EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.0), -2147483647 - 1);
}

TEST(Numbers, ConversionsOutOfRangeOverflow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {32767.5, 32768.0, -32768.6, nan, inf}) {
        EXPECT_EQ(ErrorNumberOf([&] { ToInt16(x); }), ErrOverflow) << x;
    }
    for (double x : {-0.6, 255.5, 256.0, nan}) {
        EXPECT_EQ(ErrorNumberOf([&] { ToByte(x); }), ErrOverflow) << x;
    }
    for (double x : {2147483647.5, -2147483648.6, -inf, 1e300}) {
        EXPECT_EQ(ErrorNumberOf([&] { ToInt32(x); }), ErrOverflow) << x;
    }
    try {
        ToInt16(40000);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.description, "溢出");
    }
}

TEST(Numbers, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    for (Case c : {Case{" 12.5abc", 12.5}, {"abc", 0}, {"", 0}, {"1,5", 1}, {" - 3", -3}, {"+4", 4},
                   {"1 2 3", 123}, {"\t7\n8", 78}, {".5", 0.5}, {"-.25x", -0.25}, {"1.2.3", 1.2},
                   {"-", 0}, {".", 0}, {"1e3", 1000}, {"1D2", 100}, {"2.5E-1", 0.25}, {"1e", 1},
                   {"1e+x", 1}, {"3 e 2", 300}, {"&H10", 16}, {"&h1f", 31}, {"&HFFFF", -1}, {"&HFFFF&", 65535},
                   {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},
                   {"&H", 0}, {"&", 0}, {"&HG", 0}, {"1e-400", 0}, {"12宋体", 12}}) {
        EXPECT_EQ(Val(c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(ErrorNumberOf([] { Val("&H100000000"); }), ErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Val("1e400"); }), ErrOverflow);
}

TEST(Numbers, PrintAndPlainFormsOfDoubles) {
    struct Case {
        double value;
        const char* print;
        const char* plain;
    };
    for (Case c : {Case{0, " 0 ", "0"},
                   {-0.0, " 0 ", "0"},
                   {-3.25, "-3.25 ", "-3.25"},
                   {12, " 12 ", "12"},
                   {1e-5, " 1E-05 ", "1E-05"},
                   {-1.5e-7, "-1.5E-07 ", "-1.5E-07"},
                   {0.0001, " 0.0001 ", "0.0001"},
                   {0.5, " 0.5 ", "0.5"},
                   {1e16, " 1E+16 ", "1E+16"},
                   {1e15, " 1E+15 ", "1E+15"},
                   {123456789012345, " 123456789012345 ", "123456789012345"},
                   {123456789012345678.0, " 1.23456789012346E+17 ", "1.23456789012346E+17"},
                   {1.0 / 3, " 0.333333333333333 ", "0.333333333333333"},
                   {-2.0 / 3, "-0.666666666666667 ", "-0.666666666666667"},
                   {0.1 + 0.2, " 0.3 ", "0.3"},
                   {1e300, " 1E+300 ", "1E+300"},
                   {3412345.75, " 3412345.75 ", "3412345.75"}}) {
        EXPECT_EQ(PrintNumberText(c.value), c.print) << c.value;
        EXPECT_EQ(PlainNumberText(c.value), c.plain) << c.value;
    }
    EXPECT_EQ(StrNumber(12.0), " 12");
    EXPECT_EQ(StrNumber(-3.5), "-3.5");
}

TEST(Numbers, DecimalFormNeverUsesTheExponent) {
    for (auto [value, decimals, text] : std::vector<std::tuple<double, int, const char*>>{
             {4e-5, 9, "0.00004"},
             {-4e-5, 9, "-0.00004"},
             {90.3, 9, "90.3"},
             {359.5959, 9, "359.5959"},
             {0.0005 + 1e-17, 9, "0.0005"},
             {1e-12, 9, "0"},
             {-1e-12, 9, "0"},
             {12, 9, "12"},
             {123456789012.25, 2, "123456789012.25"},
             {1e16, 9, "1E+16"}})
        EXPECT_EQ(DecimalNumberText(value, decimals), text) << value;
}

TEST(Numbers, PrintAndPlainFormsOfSinglesBytesAndIntegers) {
    struct Case {
        float value;
        const char* print;
        const char* plain;
    };
    for (Case c : {Case{0.7f, " 0.7 ", "0.7"},
                   {3412345.75f, " 3412346 ", "3412346"},
                   {12345678.0f, " 1.234568E+07 ", "1.234568E+07"},
                   {9999999.0f, " 9999999 ", "9999999"},
                   {-2.5f, "-2.5 ", "-2.5"},
                   {1e-5f, " 1E-05 ", "1E-05"},
                   {0.1f, " 0.1 ", "0.1"},
                   {365.1f, " 365.1 ", "365.1"}}) {
        EXPECT_EQ(PrintNumberText(c.value), c.print) << c.value;
        EXPECT_EQ(PlainNumberText(c.value), c.plain) << c.value;
    }
    EXPECT_EQ(PrintNumberText(std::int32_t{-2147483647 - 1}), "-2147483648 ");
    EXPECT_EQ(PrintNumberText(std::int32_t{7}), " 7 ");
    EXPECT_EQ(PlainNumberText(std::int32_t{-7}), "-7");
    EXPECT_EQ(PrintNumberText(std::uint8_t{255}), " 255 ");
    EXPECT_EQ(PlainNumberText(std::uint8_t{0}), "0");
    EXPECT_EQ(StrNumber(std::int32_t{5}), " 5");
}

TEST(Numbers, PlainFormReadsBackThroughVal) {
    for (double v : {1.0 / 7, -123.456, 6.02e23, 2.5e-9, 4096.0}) {
        double back = Val(PlainNumberText(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
}

// The plain numeric prefix never fails: what Val raises on reads as the nearest double, and only
// the number's own characters count ("1 2" is 1, where Val reads 12).
TEST(Numbers, NumericPrefixNeverFails) {
    const double most = std::numeric_limits<double>::max();
    const std::vector<std::pair<std::string, double>> cases = {
        {"12.5abc", 12.5},   {" 365 ", 365},     {"\t-3e2x", -300}, {"+7", 7},        {"1 2", 1},
        {"1,5", 1},          {".5", 0.5},        {"5.", 5},         {"-.25e1", -2.5}, {"2e", 2},
        {"2e+", 2},          {"abc", 0},         {"", 0},           {".", 0},         {"-", 0},
        {"e5", 0},           {"&H10", 0},        {"1e400", most},   {"-1e400", -most}, {"1e-400", 0},
        {"0.0000e999", 0},   {std::string(400, '9'), most},         {"0." + std::string(400, '0') + "1", 0},
        {"1e99999999999999999999", most},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(NumericPrefix(text), expected) << text;
    EXPECT_THROW(Val("1e400"), RuntimeError);
}

// A field is a whole number only when nothing but blanks surrounds the number: the prefix of "12abc"
// is 12, but the field is no number; a number too large for a double still is one.
TEST(Numbers, WholeNumbersAreNumbersFromEndToEnd) {
    for (const char* text : {"12", " 365\t", "-3000000.125", "+7", ".5", "5.", "-.25e1", "1E+05", "1e400"})
        EXPECT_TRUE(IsWholeNumber(text)) << text;
    for (const char* text : {"", " ", ".", "-", "+.", "12abc", "1 2", "1,5", "2e", "2e+", "e5", "1e5.5", "--1",
                             "&H10", "nan", "inf", "3000000m"})
        EXPECT_FALSE(IsWholeNumber(text)) << text;
}

}  // namespace
}  // namespace movra
