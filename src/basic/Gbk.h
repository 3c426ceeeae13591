#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace movra {

// Code page 936 at every file, clipboard and serial boundary, through a table. Every two-byte code
// is a character: the pairs without a character of their own (the user-defined areas and the
// unassigned pairs) read as the private-use characters of the two-byte mapping of GB18030 and are
// written back as the same two bytes. The single byte 0x80 is the euro sign.

// UTF-8 to GBK bytes. A character GBK cannot hold becomes "?".
std::string ToGbk(std::string_view utf8);
// GBK bytes to UTF-8. An invalid byte (or a lone lead byte at the end) becomes U+FFFD and the rest
// is still read.
std::string FromGbk(std::string_view gbk);
// GBK bytes of `utf8` cut to at most `width` bytes on a character boundary (never half a character).
std::string ToGbkField(std::string_view utf8, size_t width);
// Byte count of the GBK form.
size_t GbkLength(std::string_view utf8);

// The most UTF-8 bytes `n` GBK bytes decode to.
constexpr size_t GbkDecodedBound(size_t n) { return n * 3; }
// Decodes GBK bytes into `out`, which holds at least GbkDecodedBound(size) bytes, and returns the
// number written. With `dropCutLeads`, a lead byte that no trail byte follows (half a character cut
// by a fixed-width field) is left out instead of read as U+FFFD.
size_t DecodeGbk(const char* in, size_t size, char* out, bool dropCutLeads);
// Encodes UTF-8 into `out` as GBK, at most `width` bytes and never half a character, and returns
// the number written; `out` holds at least min(width, utf8.size()) bytes (GBK is never longer).
size_t EncodeGbk(std::string_view utf8, char* out, size_t width);
// True when no byte has its high bit set: such a text is the same in UTF-8 and in GBK.
bool IsAsciiText(std::string_view text);

// The private-use character of a pair that has no other character (0 for any other pair), and the
// pair of such a character (0 for any other character).
char32_t GbkPrivateUseOf(unsigned lead, unsigned trail);
std::uint16_t GbkPairOfPrivateUse(char32_t codePoint);

}  // namespace movra
