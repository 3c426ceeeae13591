#include "basic/Gbk.h"

#include <cerrno>
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

}  // namespace

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
        // A character GBK cannot hold, or a broken UTF-8 byte: one "?" for it, then go on.
        char32_t cp;
        size_t skip = DecodeUtf8At(utf8, in - utf8.data(), cp);
        if (skip == 0 || skip > inLeft) skip = inLeft;
        in += skip;
        inLeft -= skip;
        if (outLeft == 0) {
            size_t used = outPtr - out.data();
            out.resize(out.size() + 16);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        *outPtr++ = '?';
        --outLeft;
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
            AppendReplacement(out);
            // A well-formed pair that has no character is dropped whole; a lead byte followed by a
            // byte that cannot trail it is dropped alone, so the next character survives. A lone
            // lead byte at the end is replaced too.
            auto b0 = static_cast<unsigned char>(in[0]);
            size_t skip = 1;
            if (inLeft >= 2 && IsLeadByte(b0) && IsTrailByte(static_cast<unsigned char>(in[1]))) skip = 2;
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
