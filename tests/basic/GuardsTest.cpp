#include <gtest/gtest.h>

#include <vector>

#include "basic/Colors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "platform/fake/ScriptedPrompt.h"

namespace movra {
namespace {

TEST(Guards, MessageLineGetsDescriptionAndNumber) {
    struct Case {
        std::function<void()> action;
        const char* line;
    };
    const std::vector<Case> cases = {
        {[] { ToInt16(40000); }, "溢出6"},
        {[] { std::vector<int>().at(3); }, "下标越界9"},
        {[] { throw std::bad_alloc(); }, "内存不足7"},
        {[] { throw 42; }, "内部错误51"},
    };
    for (const Case& c : cases) {
        std::string text2 = "unchanged";
        EXPECT_FALSE(GuardToMessageLine([&](const std::string& t) { text2 = t; }, c.action));
        EXPECT_EQ(text2, c.line);
    }
    std::string text2 = "unchanged";
    EXPECT_TRUE(GuardToMessageLine([&](const std::string& t) { text2 = t; }, [] {}));
    EXPECT_EQ(text2, "unchanged");
}

TEST(Guards, MessageBoxAndSilentGuards) {
    ScriptedPrompt prompt;
    EXPECT_FALSE(GuardToMessageBox(prompt, [] { Raise(ErrFileNotFound); }));
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].text, "文件未找到");
    EXPECT_EQ(prompt.questions[0].title, "53");
    EXPECT_TRUE(GuardToMessageBox(prompt, [] {}));
    EXPECT_EQ(prompt.questions.size(), 1u);

    int reached = 0;
    EXPECT_FALSE(GuardSilently([&] {
        ++reached;
        Raise(ErrDivisionByZero);
        ++reached;
    }));
    EXPECT_EQ(reached, 1);
    EXPECT_FALSE(GuardSilently([] { throw std::out_of_range("x"); }));
    EXPECT_TRUE(GuardSilently([] {}));
}

TEST(Colors, DerivedColoursStayValid) {
    EXPECT_EQ(ShadeColor(MakeRgb(250, 10, 128), 20), MakeRgb(255, 30, 148));
    EXPECT_EQ(ShadeColor(MakeRgb(250, 10, 128), -20), MakeRgb(230, 0, 108));
    EXPECT_EQ(ShadeColor(MakeRgb(255, 255, 255), 1000000), MakeRgb(255, 255, 255));
    EXPECT_EQ(ShadeColor(0xFFFFFF, 1), 0xFFFFFF);  // no carry into a fourth byte
    EXPECT_EQ(ContrastColor(MakeRgb(0, 0, 0)), MakeRgb(255, 255, 255));
    EXPECT_EQ(ContrastColor(MakeRgb(255, 0, 0)), MakeRgb(0, 255, 255));
    EXPECT_EQ(ContrastColor(MakeRgb(128, 128, 128)), MakeRgb(0, 0, 0));
    // Readable text: white on black and on dark blue, black on white and on yellow.
    EXPECT_EQ(ReadableTextColor(MakeRgb(0, 0, 0)), MakeRgb(255, 255, 255));
    EXPECT_EQ(ReadableTextColor(MakeRgb(0, 0, 160)), MakeRgb(255, 255, 255));
    EXPECT_EQ(ReadableTextColor(MakeRgb(255, 255, 255)), MakeRgb(0, 0, 0));
    EXPECT_EQ(ReadableTextColor(MakeRgb(255, 255, 0)), MakeRgb(0, 0, 0));
    EXPECT_EQ(ContrastColor(MakeRgb(100, 100, 100)), MakeRgb(255, 255, 255));
    for (Rgb c : {Rgb{-1}, Rgb{0x7FFFFFFF}, MakeRgb(1, 2, 3)}) {
        EXPECT_GE(ContrastColor(c), 0);
        EXPECT_LE(ContrastColor(c), 0xFFFFFF);
        EXPECT_LE(ShadeColor(c, 300), 0xFFFFFF);
    }
}

}  // namespace
}  // namespace movra
