#include "basic/Gbk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "basic/Utf8.h"

namespace movra {

namespace {

#include "basic/GbkTable.inc"

constexpr unsigned TrailsPerLead = 0xFE - 0x40 + 1;
constexpr char32_t Euro = 0x20AC;
// The private-use characters the pairs without a character of their own read as.
constexpr char32_t FirstPrivateUse = 0xE000;
constexpr char32_t LastPrivateUse = 0xE864;

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// The character of a lead and trail byte; 0 when the pair is none.
char32_t PairCharacter(unsigned char lead, unsigned char trail) {
    return GbkPairTable[(lead - 0x81u) * TrailsPerLead + (trail - 0x40u)];
}

// The two-byte code of every character of the basic plane that code page 936 holds (0 when none),
// made once from the decoding table so that both directions agree.
const std::array<std::uint16_t, 0x10000>& CodeOfCharacter() {
    static const auto table = [] {
        auto codes = std::make_unique<std::array<std::uint16_t, 0x10000>>();
        codes->fill(0);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                const std::uint16_t entry = GbkPairTable[(lead - 0x81) * TrailsPerLead + (trail - 0x40)];
                if (entry != 0) (*codes)[entry] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
        (*codes)[Euro] = 0x80;  // the single byte of the code page
        return codes;
    }();
    return *table;
}

// The GBK code of a character: one byte (below 0x100) or two; 0 when it has none.
unsigned CodeOf(char32_t c) {
    if (c < 0x80) return c;
    return c <= 0xFFFF ? CodeOfCharacter()[c] : 0;
}

char* PutUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Bytes from `pos` on that are plain ASCII, eight at a time where it can.
size_t AsciiRun(const char* in, size_t pos, size_t size) {
    while (pos + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, in + pos, 8);
        if (word & 0x8080808080808080ull) break;
        pos += 8;
    }
    while (pos < size && static_cast<unsigned char>(in[pos]) < 0x80) ++pos;
    return pos;
}

}  // namespace

bool IsAsciiText(std::string_view text) { return AsciiRun(text.data(), 0, text.size()) == text.size(); }

size_t DecodeGbk(const char* in, size_t size, char* out, bool dropCutLeads) {
    char* const start = out;
    size_t pos = 0;
    while (pos < size) {
        const size_t ascii = AsciiRun(in, pos, size);
        if (ascii > pos) {
            std::memcpy(out, in + pos, ascii - pos);
            out += ascii - pos;
            pos = ascii;
            if (pos == size) break;
        }
        const auto b0 = static_cast<unsigned char>(in[pos]);
        if (b0 == 0x80) {
            out = PutUtf8(out, Euro);
            ++pos;
            continue;
        }
        if (IsLeadByte(b0) && pos + 1 < size && IsTrailByte(static_cast<unsigned char>(in[pos + 1]))) {
            const char32_t c = PairCharacter(b0, static_cast<unsigned char>(in[pos + 1]));
            // A well-formed pair without a character is one replacement, read past whole.
            out = PutUtf8(out, c != 0 ? c : 0xFFFD);
            pos += 2;
            continue;
        }
        // A lead byte that nothing can trail (the next character survives), or a byte that is no
        // character at all.
        if (!(dropCutLeads && IsLeadByte(b0))) out = PutUtf8(out, 0xFFFD);
        ++pos;
    }
    return static_cast<size_t>(out - start);
}

size_t EncodeGbk(std::string_view utf8, char* out, size_t width) {
    const char* in = utf8.data();
    const size_t size = utf8.size();
    size_t pos = 0;
    size_t written = 0;
    while (pos < size && written < width) {
        const size_t ascii = AsciiRun(in, pos, std::min(size, pos + (width - written)));
        if (ascii > pos) {
            std::memcpy(out + written, in + pos, ascii - pos);
            written += ascii - pos;
            pos = ascii;
            continue;
        }
        char32_t c;
        size_t length = DecodeUtf8At(utf8, pos, c);
        if (length == 0) break;
        // A broken UTF-8 byte is a character GBK cannot hold.
        const unsigned code = CodeOf(c);
        if (code == 0) {
            out[written++] = '?';
        } else if (code < 0x100) {
            out[written++] = static_cast<char>(code);
        } else {
            if (written + 2 > width) break;
            out[written++] = static_cast<char>(code >> 8);
            out[written++] = static_cast<char>(code & 0xFF);
        }
        pos += length;
    }
    return written;
}

std::string ToGbk(std::string_view utf8) {
    std::string out(utf8.size(), '\0');
    out.resize(EncodeGbk(utf8, out.data(), out.size()));
    return out;
}

std::string FromGbk(std::string_view gbk) {
    if (IsAsciiText(gbk)) return std::string(gbk);
    std::string out(GbkDecodedBound(gbk.size()), '\0');
    out.resize(DecodeGbk(gbk.data(), gbk.size(), out.data(), false));
    return out;
}

std::string ToGbkField(std::string_view utf8, size_t width) {
    std::string out(std::min(width, utf8.size()), '\0');
    out.resize(EncodeGbk(utf8, out.data(), out.size()));
    return out;
}

size_t GbkLength(std::string_view utf8) {
    if (IsAsciiText(utf8)) return utf8.size();
    return ToGbk(utf8).size();
}

char32_t GbkPrivateUseOf(unsigned lead, unsigned trail) {
    if (lead > 0xFF || trail > 0xFF || !IsLeadByte(static_cast<unsigned char>(lead)) ||
        !IsTrailByte(static_cast<unsigned char>(trail)))
        return 0;
    const char32_t c = PairCharacter(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
    return c >= FirstPrivateUse && c <= LastPrivateUse ? c : 0;
}

std::uint16_t GbkPairOfPrivateUse(char32_t codePoint) {
    if (codePoint < FirstPrivateUse || codePoint > LastPrivateUse) return 0;
    return static_cast<std::uint16_t>(CodeOf(codePoint));
}

}  // namespace movra
