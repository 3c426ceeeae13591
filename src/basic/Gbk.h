#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace movra {

// Code page 936 at every file, clipboard and serial boundary.

// The user-defined areas of code page 936 (AAA1-AFFE, F8A1-FEFE, A140-A7A0, and the other
// unassigned pairs) read as the private-use characters U+E000..U+E864 and are written back to their
// pairs, as GB18030's two-byte mapping has them.

// UTF-8 to GBK bytes. A character GBK cannot hold becomes "?".
std::string ToGbk(std::string_view utf8);
// GBK bytes to UTF-8. An invalid byte (or a lone lead byte at the end) becomes U+FFFD and the rest
// is still read.
std::string FromGbk(std::string_view gbk);
// GBK bytes of `utf8` cut to at most `width` bytes on a character boundary (never half a character).
std::string ToGbkField(std::string_view utf8, size_t width);
// Byte count of the GBK form.
size_t GbkLength(std::string_view utf8);

// The private-use character of a pair that has no other character (0 for any other pair), and the
// pair of such a character (0 for any other character).
char32_t GbkPrivateUseOf(unsigned lead, unsigned trail);
std::uint16_t GbkPairOfPrivateUse(char32_t codePoint);

}  // namespace movra
