#include "basic/DxfLines.h"

#include <cstdlib>
#include <string_view>

#include "basic/Gbk.h"
#include "basic/Text.h"
#include "basic/Utf8.h"

namespace movra {

namespace {

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        pos += DecodeUtf8At(text, pos, c);
        AppendUtf8(out, c);
    }
    return out;
}

// Files of AC1021 and later are written in UTF-8; the version stands near the top of the header.
bool WrittenInUtf8(TextLineReader lines) {
    std::string line;
    for (int n = 0; n < 200 && lines.ReadLine(line); ++n) {
        if (Trim(line) != "$ACADVER") continue;
        if (!lines.ReadLine(line) || !lines.ReadLine(line)) return false;
        const std::string version = Trim(line);
        return version.size() >= 6 && (version.compare(0, 2, "AC") == 0) &&
               std::atoi(version.c_str() + 2) >= 1021;
    }
    return false;
}

}  // namespace

DxfLineReader::DxfLineReader(std::string bytes)
    : lines_(std::string()), utf8_(WrittenInUtf8(TextLineReader(bytes.substr(0, 65536)))) {
    lines_ = TextLineReader(std::move(bytes));
}

DxfLineReader DxfLineReader::FromFile(const std::string& path) { return DxfLineReader(ReadWholeFile(path)); }

std::string DxfLineReader::Raw() {
    std::string line = lines_.LineInput();
    ++lineNumber_;
    return utf8_ ? ValidUtf8(line) : FromGbk(line);
}

std::string DxfLineReader::Line() { return Trim(Raw()); }

int DxfGroupCode(const std::string& line) {
    const std::string t = Trim(line);
    if (t.empty() || t.size() > 4) return -1;
    int code = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return -1;
        code = code * 10 + (c - '0');
    }
    return code;
}

}  // namespace movra
