#include "basic/Gbk.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>
#include <iconv.h>

#include "basic/Errors.h"
#include "basic/Utf8.h"

namespace movra {

namespace {

// One conversion descriptor per direction and thread: opening one costs far more than converting
// a short text, and the conversion runs once per record of a map.
class Converter {
public:
    Converter(const char* to, const char* from) {
        handle_ = iconv_open(to, from);
        if (handle_ == reinterpret_cast<iconv_t>(-1)) Raise(ErrInternal);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns (size_t)-1 with errno set like iconv on a stop.
    size_t Run(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        return iconv(handle_, const_cast<char**>(&in), &inLeft, &out, &outLeft);
    }
    void Reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t handle_;
};

Converter& ToGbkConverter() {
    thread_local Converter converter("CP936", "UTF-8");
    return converter;
}

Converter& FromGbkConverter() {
    thread_local Converter converter("UTF-8", "CP936");
    return converter;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

void AppendReplacement(std::string& out) { out += "\xEF\xBF\xBD"; }

// --- The user-defined areas ---
//
// Code page 936 as Windows has it gives every pair it has no character for a private-use
// character, the two-byte mapping of GB18030: the user-defined areas AAA1-AFFE, F8A1-FEFE and
// A140-A7A0 take U+E000 on, in that order, and the remaining unassigned pairs (A2AB-A2B0, ...,
// D7FA-D7FE, FE50-FEA0) take U+E766 on, in code order. The system's converter leaves them all
// undecoded; the table below maps them both ways, so that a character made for a name survives
// an open and a save.

constexpr char32_t FirstPrivateUse = 0xE000;
constexpr char32_t FirstRemaining = 0xE766;

struct UserDefinedAreas {
    // Pair (lead << 8 | trail) of private-use character FirstPrivateUse + i.
    std::vector<std::uint16_t> pairOf;
    // The remaining unassigned pairs in code order (their characters follow FirstRemaining).
    std::vector<std::uint16_t> remaining;
};

// The pairs of the three areas in their order, then the unassigned pairs found by asking the
// system's converter (any pair outside the areas that it cannot decode).
UserDefinedAreas BuildUserDefinedAreas() {
    UserDefinedAreas areas;
    auto addArea = [&areas](int firstLead, int lastLead, int firstTrail, int lastTrail) {
        for (int lead = firstLead; lead <= lastLead; ++lead)
            for (int trail = firstTrail; trail <= lastTrail; ++trail)
                if (trail != 0x7F) areas.pairOf.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
    };
    addArea(0xAA, 0xAF, 0xA1, 0xFE);
    addArea(0xF8, 0xFE, 0xA1, 0xFE);
    addArea(0xA1, 0xA7, 0x40, 0xA0);
    auto inAreas = [](int lead, int trail) {
        return (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) || (lead >= 0xF8 && trail >= 0xA1) ||
               (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0);
    };
    Converter converter("UTF-8", "CP936");
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F || inAreas(lead, trail)) continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const char* in = pair;
            size_t inLeft = 2;
            char buffer[8];
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            converter.Reset();
            if (converter.Run(in, inLeft, out, outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
                areas.remaining.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
            }
        }
    }
    areas.pairOf.insert(areas.pairOf.end(), areas.remaining.begin(), areas.remaining.end());
    return areas;
}

const UserDefinedAreas& Areas() {
    static const UserDefinedAreas areas = BuildUserDefinedAreas();
    return areas;
}

// The private-use character of a pair the converter could not decode; 0 when it has none.
char32_t PrivateUseOfPair(unsigned lead, unsigned trail) {
    if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1 && trail <= 0xFE)
        return FirstPrivateUse + (lead - 0xAA) * 94 + (trail - 0xA1);
    if (lead >= 0xF8 && lead <= 0xFE && trail >= 0xA1 && trail <= 0xFE)
        return FirstPrivateUse + 6 * 94 + (lead - 0xF8) * 94 + (trail - 0xA1);
    if (lead >= 0xA1 && lead <= 0xA7 && trail >= 0x40 && trail <= 0xA0 && trail != 0x7F)
        return FirstPrivateUse + 13 * 94 + (lead - 0xA1) * 96 + (trail - 0x40) - (trail > 0x7F ? 1 : 0);
    const auto& remaining = Areas().remaining;
    const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
    const auto it = std::lower_bound(remaining.begin(), remaining.end(), code);
    if (it == remaining.end() || *it != code) return 0;
    return FirstRemaining + static_cast<char32_t>(it - remaining.begin());
}

// The pair of a private-use character; 0 when it stands for none.
std::uint16_t PairOfPrivateUse(char32_t cp) {
    if (cp < FirstPrivateUse) return 0;
    const auto& pairs = Areas().pairOf;
    const std::size_t i = cp - FirstPrivateUse;
    return i < pairs.size() ? pairs[i] : 0;
}

}  // namespace

char32_t GbkPrivateUseOf(unsigned lead, unsigned trail) { return PrivateUseOfPair(lead, trail); }

std::uint16_t GbkPairOfPrivateUse(char32_t cp) { return PairOfPrivateUse(cp); }

std::string ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    // Every character takes at most as many GBK bytes as UTF-8 bytes.
    std::string out(utf8.size() + 4, '\0');
    Converter& converter = ToGbkConverter();
    converter.Reset();
    const char* in = utf8.data();
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (converter.Run(in, inLeft, outPtr, outLeft) != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {  // cannot happen by the bound above; grow anyway rather than lose text
            size_t used = outPtr - out.data();
            out.resize(out.size() * 2 + 16);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // A character of a user-defined area goes back to its pair; any other character GBK
        // cannot hold, or a broken UTF-8 byte, becomes one "?", then the conversion goes on.
        char32_t cp = 0;
        size_t skip = DecodeUtf8At(utf8, in - utf8.data(), cp);
        if (skip == 0 || skip > inLeft) skip = inLeft;
        in += skip;
        inLeft -= skip;
        if (outLeft < 2) {
            size_t used = outPtr - out.data();
            out.resize(out.size() + 16);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        if (const std::uint16_t pair = PairOfPrivateUse(cp)) {
            *outPtr++ = static_cast<char>(pair >> 8);
            *outPtr++ = static_cast<char>(pair & 0xFF);
            outLeft -= 2;
        } else {
            *outPtr++ = '?';
            --outLeft;
        }
        converter.Reset();
    }
    out.resize(outPtr - out.data());
    return out;
}

std::string FromGbk(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    // A byte becomes at most three UTF-8 bytes (a replacement character).
    std::string out(gbk.size() * 3 + 4, '\0');
    Converter& converter = FromGbkConverter();
    converter.Reset();
    const char* in = gbk.data();
    size_t inLeft = gbk.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (converter.Run(in, inLeft, outPtr, outLeft) != static_cast<size_t>(-1)) break;
        size_t used = outPtr - out.data();
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
        } else {
            out.resize(used);
            // A well-formed pair of a user-defined area reads as its private-use character; any
            // other well-formed pair that has no character is replaced whole; a lead byte followed
            // by a byte that cannot trail it is replaced alone, so the next character survives. A
            // lone lead byte at the end is replaced too.
            auto b0 = static_cast<unsigned char>(in[0]);
            size_t skip = 1;
            if (inLeft >= 2 && IsLeadByte(b0) && IsTrailByte(static_cast<unsigned char>(in[1]))) skip = 2;
            const char32_t privateUse = skip == 2 ? PrivateUseOfPair(b0, static_cast<unsigned char>(in[1])) : 0;
            if (privateUse != 0)
                AppendUtf8(out, privateUse);
            else
                AppendReplacement(out);
            in += skip;
            inLeft -= skip;
            used = out.size();
            out.resize(used + inLeft * 3 + 4);
            converter.Reset();
        }
        outPtr = out.data() + used;
        outLeft = out.size() - used;
    }
    out.resize(outPtr - out.data());
    return out;
}

std::string ToGbkField(std::string_view utf8, size_t width) {
    std::string gbk = ToGbk(utf8);
    if (gbk.size() <= width) return gbk;
    // What ToGbk made holds only whole characters: single bytes below 0x80 (or "?") and pairs
    // starting with a lead byte.
    size_t pos = 0;
    while (pos < gbk.size()) {
        size_t step = IsLeadByte(static_cast<unsigned char>(gbk[pos])) ? 2 : 1;
        if (pos + step > width) break;
        pos += step;
    }
    gbk.resize(pos);
    return gbk;
}

size_t GbkLength(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    return ToGbk(utf8).size();
}

}  // namespace movra
