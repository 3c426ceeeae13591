#include "basic/Text.h"

#include "basic/Errors.h"
#include "basic/Utf8.h"

namespace movra {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Byte offset of character `index` (0-based); text.size() when the text is shorter.
size_t ByteOffsetOfChar(std::string_view text, long index) {
    size_t pos = 0;
    char32_t cp;
    while (index > 0 && pos < text.size()) {
        pos += DecodeUtf8At(text, pos, cp);
        --index;
    }
    return pos;
}

char32_t LowerOf(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 32;  // full-width Latin capitals
    return cp;
}

char32_t UpperOf(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp >= 0xFF41 && cp <= 0xFF5A) return cp - 32;
    return cp;
}

template <class Map>
std::string MapCase(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp;
        size_t length = DecodeUtf8At(text, pos, cp);
        char32_t mapped = map(cp);
        if (mapped == cp) out.append(text.substr(pos, length));  // keeps invalid bytes as they were
        else AppendUtf8(out, mapped);
        pos += length;
    }
    return out;
}

}  // namespace

long Len(std::string_view text) {
    long count = 0;
    size_t pos = 0;
    char32_t cp;
    while (pos < text.size()) {
        pos += DecodeUtf8At(text, pos, cp);
        ++count;
    }
    return count;
}

std::string Mid(std::string_view text, long start, long length) {
    if (start < 1) Raise(ErrInvalidCall);
    size_t from = ByteOffsetOfChar(text, start - 1);
    if (length < 0) return std::string(text.substr(from));
    size_t to = from + ByteOffsetOfChar(text.substr(from), length);
    return std::string(text.substr(from, to - from));
}

std::string Left(std::string_view text, long length) {
    if (length < 0) Raise(ErrInvalidCall);
    return std::string(text.substr(0, ByteOffsetOfChar(text, length)));
}

std::string Right(std::string_view text, long length) {
    if (length < 0) Raise(ErrInvalidCall);
    long total = Len(text);
    if (length >= total) return std::string(text);
    return std::string(text.substr(ByteOffsetOfChar(text, total - length)));
}

long InStr(std::string_view text, std::string_view find, long start) {
    if (start < 1) Raise(ErrInvalidCall);
    long index = start - 1;  // 0-based character index of `pos`
    size_t pos = ByteOffsetOfChar(text, index);
    if (pos >= text.size()) return 0;
    if (find.empty()) return start;
    while (pos < text.size()) {
        size_t hit = text.find(find, pos);
        if (hit == std::string_view::npos) return 0;
        // Walk to the hit; a hit that falls inside a character (possible only in broken text) is
        // skipped.
        char32_t cp;
        while (pos < hit) {
            pos += DecodeUtf8At(text, pos, cp);
            ++index;
        }
        if (pos == hit) return index + 1;
    }
    return 0;
}

std::string LTrim(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string_view TrimmedView(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string Trim(std::string_view text) { return std::string(TrimmedView(text)); }

std::string LCase(std::string_view text) { return MapCase(text, LowerOf); }
std::string UCase(std::string_view text) { return MapCase(text, UpperOf); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (LowerOf(static_cast<unsigned char>(a[i])) != LowerOf(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }
    return LCase(a) == LCase(b);
}

int DisplayColumns(std::string_view text) {
    int columns = 0;
    size_t pos = 0;
    char32_t cp;
    while (pos < text.size()) {
        pos += DecodeUtf8At(text, pos, cp);
        columns += (cp >= 32 && cp <= 127) ? 1 : 2;
    }
    return columns;
}

std::string Chr(char32_t codePoint) {
    std::string out;
    AppendUtf8(out, codePoint);
    return out;
}

char32_t FirstCodePoint(std::string_view text) {
    char32_t cp = 0;
    DecodeUtf8At(text, 0, cp);
    return cp;
}

}  // namespace movra
