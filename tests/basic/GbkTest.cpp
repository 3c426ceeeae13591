#include <gtest/gtest.h>

#include <iconv.h>

#include <vector>

#include "basic/Gbk.h"
#include "basic/Utf8.h"
#include "basic/Text.h"

namespace movra {
namespace {

TEST(Gbk, RoundTrip) {
    const std::string text = "层1宋体";
    const std::string gbk = ToGbk(text);
    EXPECT_EQ(gbk, "\xB2\xE3" "1" "\xCB\xCE\xCC\xE5");
    EXPECT_EQ(FromGbk(gbk), text);
    EXPECT_EQ(GbkLength(text), 7u);
    EXPECT_EQ(FromGbk(ToGbk("plain ascii")), "plain ascii");
    EXPECT_EQ(FromGbk(ToGbk("中文，标点。")), "中文，标点。");
}

TEST(Gbk, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(ToGbk("a😀b"), "a?b");
    EXPECT_EQ(ToGbk("a\xE5" "b宋"), "a?b\xCB\xCE");  // a broken UTF-8 byte too
}

TEST(Gbk, FieldIsCutOnACharacterBoundary) {
    std::string seventeen;
    for (int i = 0; i < 17; ++i) seventeen += "宋";
    const std::string field = ToGbkField(seventeen, 32);
    EXPECT_EQ(field.size(), 32u);
    EXPECT_EQ(Len(FromGbk(field)), 16);
    EXPECT_EQ(FromGbk(field).find("\xEF\xBF\xBD"), std::string::npos);

    // An odd width never keeps half a character.
    EXPECT_EQ(ToGbkField("a宋体", 4), "a\xCB\xCE");
    EXPECT_EQ(ToGbkField("a宋体", 2), "a");
    EXPECT_EQ(ToGbkField("abc", 0), "");
    EXPECT_EQ(ToGbkField("ab", 10), "ab");
}

TEST(Gbk, InvalidBytesReadAsReplacementKeepingWhatFollows) {
    const std::string r = "\xEF\xBF\xBD";
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    for (const Case& c : {Case{"\xFF" "ab", r + "ab"},
                          Case{"\xCB" "0\xCB\xCE", r + "0宋"},         // a lead byte that nothing can trail
                          Case{"\xCB\xCE\xCB", "宋" + r},              // lone lead byte at the end
                          Case{"\xCB", r},
                          Case{"x\xD7\xFAy\xCB\xCE", "x\uE810y宋"}}) {  // a user-defined pair
        EXPECT_EQ(FromGbk(c.gbk), c.utf8);
    }
}

// The pairs the system's converter cannot decode are the user-defined areas: they read as the
// private-use characters GB18030 gives them and are written back to the same pair. The check
// against GB18030 is independent of the table: wherever the system's GB18030 converter gives a
// private-use character for a pair, ours must be the same one.
TEST(Gbk, UserDefinedAreasReadAsPrivateUseCharactersBothWays) {
    iconv_t gb18030 = iconv_open("UTF-32LE", "GB18030");
    ASSERT_NE(gb18030, reinterpret_cast<iconv_t>(-1));
    const std::string r = "\xEF\xBF\xBD";
    int valid = 0, privateUse = 0, checkedAgainstGb18030 = 0;
    std::vector<bool> seen(0x865, false);
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            ++valid;
            const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = FromGbk(pair);
            ASSERT_NE(text, r) << std::hex << lead << trail;
            EXPECT_EQ(ToGbk(text), pair) << std::hex << lead << trail;
            char32_t cp = 0;
            DecodeUtf8At(text, 0, cp);
            if (cp < 0xE000 || cp > 0xF8FF) continue;
            ++privateUse;
            ASSERT_LE(cp, 0xE864u);
            EXPECT_FALSE(seen[cp - 0xE000]);
            seen[cp - 0xE000] = true;
            char in[2] = {pair[0], pair[1]};
            char* inPtr = in;
            size_t inLeft = 2;
            char32_t out = 0;
            char* outPtr = reinterpret_cast<char*>(&out);
            size_t outLeft = sizeof out;
            iconv(gb18030, nullptr, nullptr, nullptr, nullptr);
            if (iconv(gb18030, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && out >= 0xE000 &&
                out <= 0xF8FF) {
                EXPECT_EQ(out, cp) << std::hex << lead << trail;
                ++checkedAgainstGb18030;
            }
        }
    }
    iconv_close(gb18030);
    EXPECT_EQ(valid, 23940);
    EXPECT_EQ(privateUse, 2149);
    EXPECT_GT(checkedAgainstGb18030, 2000);

    // In a text: a name made of a rare character survives a file field, and the areas' ends.
    const std::string name = "张" + FromGbk("\xAA\xA1") + FromGbk("\xFE\xA0") + "1";
    EXPECT_EQ(name, "张\uE000\uE864" "1");
    EXPECT_EQ(ToGbk(name), "\xD5\xC5\xAA\xA1\xFE\xA0" "1");
    EXPECT_EQ(FromGbk(ToGbkField(name, 5)), "张\uE000");
    EXPECT_EQ(FromGbk("\xA1\x40\xA7\xA0\xD7\xFA"), "\uE4C6\uE765\uE810");
    // Private-use characters outside the areas have no pair.
    EXPECT_EQ(ToGbk("\uE865\uF8FF"), "??");
}

}  // namespace
}  // namespace movra
