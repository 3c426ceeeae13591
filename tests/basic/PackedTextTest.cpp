#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "basic/FaceName.h"
#include "basic/PackedText.h"

namespace movra {
namespace {

using Text15 = PackedText<15>;
using Text8 = PackedText<8>;

// Takes the text the way the code that held std::string members takes it.
std::size_t TakesString(const std::string& s) { return s.size(); }
std::size_t TakesView(std::string_view s) { return s.size(); }

// The uses of a record's text that code written against std::string makes, on texts that fit
// inline, just fill it, and need a block, in both widths.
TEST(PackedText, BehavesLikeTheStringItHolds) {
    for (const std::string& s : {std::string(), std::string("a"), std::string("1024.5"), std::string(7, 'x'),
                                 std::string(8, 'y'), std::string(14, 'z'), std::string(15, 'w'),
                                 std::string("居民地注记12345"), std::string(300, 'q')}) {
        Text15 t;
        t = s;
        Text8 e;
        e = s.c_str();
        EXPECT_EQ(t, s);
        EXPECT_EQ(e, s);
        EXPECT_EQ(s, std::string(t));
        EXPECT_TRUE(t == std::string_view(s));
        EXPECT_TRUE(t == e);
        EXPECT_FALSE(t != s.c_str());
        EXPECT_EQ(t.empty(), s.empty());
        EXPECT_EQ(t.size(), s.size());
        EXPECT_EQ(TakesString(t), s.size());
        EXPECT_EQ(TakesView(e), s.size());
        const std::string copied = t;
        EXPECT_EQ(copied, s);
        EXPECT_EQ(t + "!" + e, s + "!" + s);
        EXPECT_EQ("<" + t, "<" + s);
        std::string appended = "-";
        appended += t;
        EXPECT_EQ(appended, "-" + s);
        EXPECT_EQ(t.find('!'), s.find('!'));
        if (!s.empty()) EXPECT_EQ(t.substr(1), s.substr(1));
        EXPECT_EQ(t.IsInline(), !s.empty() && s.size() <= Text15::InlineCapacity);
    }
}

// Copies and moves are values of their own: changing or ending the original leaves them whole,
// and a text assigned from a part of itself comes out right.
TEST(PackedText, CopiesAndMovesAreIndependentValues) {
    const std::string longText(40, 'L');
    Text15 original;
    original = longText;
    Text15 copy = original;
    Text15 assigned;
    assigned = original;
    original = "short";
    EXPECT_EQ(copy, longText);
    EXPECT_EQ(assigned, longText);

    Text15 moved = std::move(copy);
    EXPECT_EQ(moved, longText);
    assigned = std::move(moved);
    EXPECT_EQ(assigned, longText);

    assigned = std::string_view(assigned).substr(10);  // from its own bytes
    EXPECT_EQ(assigned, std::string(30, 'L'));
    assigned = assigned;  // NOLINT: self-assignment keeps the text
    EXPECT_EQ(assigned, std::string(30, 'L'));
    assigned.clear();
    EXPECT_TRUE(assigned.empty());
    EXPECT_EQ(assigned, Text15{});
}

// A text pointing into its holder's buffer is copied out into a block of the copy's own: the
// copy keeps its text when the buffer is written over.
TEST(PackedText, ACopyOfATextInItsHoldersBufferOwnsItsText) {
    alignas(8) char buffer[64];
    const std::string text = "a text kept in a shared buffer";
    const auto length = static_cast<std::uint32_t>(text.size());
    std::memcpy(buffer, &length, 4);
    std::memcpy(buffer + 4, text.data(), text.size());

    Text15 held;
    held.PointIntoHolderBuffer(buffer);
    EXPECT_TRUE(held.IsShared());
    EXPECT_EQ(held, text);
    Text15 copy = held;
    Text15 moved = std::move(held);
    Text15 assigned;
    assigned = std::move(held);
    std::memset(buffer, 'X', sizeof buffer);
    for (const Text15* t : {&copy, &moved, &assigned}) {
        EXPECT_FALSE(t->IsShared());
        EXPECT_EQ(*t, text);
    }
}

TEST(FaceName, OneEntryPerNameReadLikeAString) {
    FaceName song;
    song = "宋体";
    FaceName again(std::string("宋体"));
    FaceName hei;
    hei = std::string_view("黑体");
    EXPECT_EQ(song.Index(), again.Index());
    EXPECT_NE(song.Index(), hei.Index());
    EXPECT_EQ(song, again);
    EXPECT_EQ(song, "宋体");
    EXPECT_FALSE(song == hei);
    const std::string& name = song;
    EXPECT_EQ(name, "宋体");
    EXPECT_EQ(TakesString(hei), 6u);
    EXPECT_EQ(TakesView(hei), 6u);
    const std::string chosen = true ? std::string("楷体") : hei;
    EXPECT_EQ(chosen, "楷体");
    EXPECT_TRUE(FaceName().empty());
    hei.clear();
    EXPECT_EQ(hei, "");
    EXPECT_EQ(hei, FaceName());
    EXPECT_EQ(FaceName::AtIndex(song.Index()), "宋体");
}

}  // namespace
}  // namespace movra
