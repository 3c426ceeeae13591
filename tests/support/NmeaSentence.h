#pragma once
// A receiver's sentence as it comes down the line: "$", the body, "*" and the two hex digits of
// the exclusive-or of the body's bytes, then CR LF.
#include <cstdio>
#include <string>

namespace movra {

inline std::string Sentence(const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

}  // namespace movra
