#pragma once
#include <string>
#include <string_view>

namespace movra {

// Code page 936 at every file, clipboard and serial boundary.

// UTF-8 to GBK bytes. A character GBK cannot hold becomes "?".
std::string ToGbk(std::string_view utf8);
// GBK bytes to UTF-8. An invalid byte (or a lone lead byte at the end) becomes U+FFFD and the rest
// is still read.
std::string FromGbk(std::string_view gbk);
// GBK bytes of `utf8` cut to at most `width` bytes on a character boundary (never half a character).
std::string ToGbkField(std::string_view utf8, size_t width);
// Byte count of the GBK form.
size_t GbkLength(std::string_view utf8);

}  // namespace movra
