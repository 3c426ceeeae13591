#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace movra {

// Reads the character at byte `pos` of `text`: stores its code point and returns its length in
// bytes (at least 1 when pos < size). A byte that does not start a well-formed UTF-8 sequence is
// one character of its own, read as U+FFFD, so every text can be walked without overrunning it.
size_t DecodeUtf8At(std::string_view text, size_t pos, char32_t& codePoint);

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace movra
