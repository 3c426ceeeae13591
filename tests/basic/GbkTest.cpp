#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string_view>
#include <vector>

#include "basic/Gbk.h"
#include "basic/Text.h"
#include "basic/Utf8.h"

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
                          Case{"x\xD7\xFAy\xCB\xCE", "x\uE810y宋"},  // a user-defined pair
                          Case{"\xCB" "9\x81" "0", r + "9" + r + "0"},  // no four-byte codes
                          Case{"\x80", "€"}}) {
        EXPECT_EQ(FromGbk(c.gbk), c.utf8);
    }
}

// The platform's own converter, as the reference the table decoder is held to.
class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) ADD_FAILURE() << "no iconv for " << from << " -> " << to;
    }
    ~Iconv() { iconv_close(handle_); }
    // The whole input converted; false when the converter stops on it, with `stop` the offset.
    bool Convert(std::string_view in, std::string& out, std::size_t* stop = nullptr) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[64];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
        out.assign(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (stop) *stop = in.size() - inLeft;
        return done != static_cast<std::size_t>(-1) && inLeft == 0;
    }

private:
    iconv_t handle_;
};

std::string Utf8Of(char32_t c) {
    std::string s;
    AppendUtf8(s, c);
    return s;
}

// Every two-byte code of code page 936 reads as the platform's converter reads it; the pairs it has
// no character for read as private-use characters, each its own, the ones GB18030 gives wherever it
// gives one; and every character is written back as its pair.
TEST(Gbk, EveryTwoByteCodeAgreesWithTheConvertersBothWays) {
    Iconv cp936("UTF-8", "CP936");
    Iconv gb18030("UTF-8", "GB18030");
    int codes = 0, privateUse = 0, sameAsGb18030 = 0;
    std::vector<std::string> gb18030Elsewhere;
    std::vector<bool> seen(0x1900, false);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            ++codes;
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string read = FromGbk(pair);
            ASSERT_EQ(ToGbk(read), pair) << std::hex << lead << trail;
            std::string expected;
            if (cp936.Convert(pair, expected)) {
                ASSERT_EQ(read, expected) << std::hex << lead << trail;
                ASSERT_TRUE(gb18030.Convert(pair, expected));
                ASSERT_EQ(read, expected) << std::hex << lead << trail;  // the same in both
                continue;
            }
            char32_t c = 0;
            ASSERT_EQ(DecodeUtf8At(read, 0, c), read.size());
            ASSERT_TRUE(c >= 0xE000 && c < 0xE000 + seen.size()) << std::hex << lead << trail;
            ASSERT_FALSE(seen[c - 0xE000]) << std::hex << lead << trail;
            seen[c - 0xE000] = true;
            ++privateUse;
            ASSERT_TRUE(gb18030.Convert(pair, expected));
            if (expected == read) {
                ++sameAsGb18030;
            } else {
                // Where GB18030 differs, it gives a standard character, not another private one.
                ASSERT_EQ(DecodeUtf8At(expected, 0, c), expected.size());
                ASSERT_FALSE(c >= 0xE000 && c <= 0xF8FF) << std::hex << lead << trail;
                gb18030Elsewhere.push_back(pair);
            }
        }
    }
    EXPECT_EQ(codes, 23940);
    EXPECT_EQ(privateUse, 2149);
    // The pairs a later GB18030 gave standard characters keep the private-use characters the maps
    // were written with.
    EXPECT_LT(gb18030Elsewhere.size(), 150u);
    EXPECT_EQ(sameAsGb18030 + static_cast<int>(gb18030Elsewhere.size()), privateUse);
    EXPECT_EQ(FromGbk("\xAA\xA1\xF8\xA1\xA1\x40\xA7\xA0\xD7\xFA\xFE\xA0"),
              "\uE000\uE234\uE4C6\uE765\uE810\uE864");  // the areas' ends
}

// Every character outside the private-use area is written as the platform's converter writes it,
// and as "?" where it cannot.
TEST(Gbk, EveryCharacterIsWrittenAsTheConverterWritesIt) {
    Iconv encode("CP936", "UTF-8");
    for (char32_t c = 0x80; c < 0x30000; ++c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || (c >= 0xE000 && c <= 0xF8FF)) continue;
        const std::string utf8 = Utf8Of(c);
        std::string expected;
        if (!encode.Convert(utf8, expected)) expected = "?";
        ASSERT_EQ(ToGbk(utf8), expected) << std::hex << static_cast<unsigned>(c);
    }
}

// Where the converter stops on a byte, the decoder reads one U+FFFD for it and goes on with the
// rest, from the same place the converter stopped at.
TEST(Gbk, InvalidBytesAreWhereTheConverterStopsAndTheRestIsRead) {
    Iconv decode("UTF-8", "CP936");
    const std::string r = "\xEF\xBF\xBD";
    std::vector<std::string> damaged = {"\xFF", "\xFE", "ab\x81"};
    for (int lead : {0x81, 0xB0, 0xFE}) {
        for (int next = 0; next <= 0x7F; ++next) {
            // A lead byte before a byte that cannot trail it.
            if (next >= 0x40 && next <= 0xFE && next != 0x7F) continue;
            damaged.push_back(std::string{static_cast<char>(lead), static_cast<char>(next)} + "z");
        }
    }
    for (const std::string& bytes : damaged) {
        std::string before;
        std::size_t stop = 0;
        ASSERT_FALSE(decode.Convert(bytes, before, &stop)) << bytes;
        std::string after;
        const std::string rest = bytes.substr(stop + 1);
        if (!rest.empty()) ASSERT_TRUE(decode.Convert(rest, after)) << bytes;
        EXPECT_EQ(FromGbk(bytes), before + r + after) << bytes;
    }
}

// The field decoder used by the map files drops half a character cut by a fixed field instead.
TEST(Gbk, FieldDecoderDropsACutLeadByte) {
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    for (const Case& c : {Case{"ab\xCB", "ab"}, Case{"\xCB ab", " ab"}, Case{"\xCB\xCE\xFF", "宋\xEF\xBF\xBD"},
                          Case{"plain", "plain"}, Case{"", ""}}) {
        char out[64];
        const std::size_t n = DecodeGbk(c.gbk.data(), c.gbk.size(), out, true);
        EXPECT_EQ(std::string(out, n), c.utf8) << c.gbk;
    }
    char field[4];
    EXPECT_EQ(EncodeGbk("a宋体", field, 4), 3u);  // never half a character
    EXPECT_EQ(std::string(field, 3), "a\xCB\xCE");
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
    // The pair and its character one by one.
    EXPECT_EQ(GbkPrivateUseOf(0xD7, 0xFA), U'\uE810');
    EXPECT_EQ(GbkPairOfPrivateUse(U'\uE810'), 0xD7FA);
    EXPECT_EQ(GbkPrivateUseOf(0xCB, 0xCE), 0u);  // 宋 has a character of its own
    EXPECT_EQ(GbkPairOfPrivateUse(U'\uE865'), 0);
}

}  // namespace
}  // namespace movra
