#include <gtest/gtest.h>

#include "basic/Gbk.h"
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
                          Case{"x\xD7\xFAy\xCB\xCE", "x" + r + "y宋"}}) {  // an unassigned pair
        EXPECT_EQ(FromGbk(c.gbk), c.utf8);
    }
}

}  // namespace
}  // namespace movra
