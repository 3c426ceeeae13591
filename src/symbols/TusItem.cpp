#include "symbols/TusItem.h"

#include "basic/Errors.h"
#include "basic/Gbk.h"

namespace movra {

namespace {
constexpr size_t SkippedBytes = 4;
constexpr size_t CountBytes = 2;
}  // namespace

std::optional<std::string> TusItemReader::Next() {
    if (truncated_ || damaged_ || pos_ >= bytes_.size()) return std::nullopt;
    const size_t left = bytes_.size() - pos_;
    if (left < SkippedBytes + CountBytes) {
        truncated_ = true;
        return std::nullopt;
    }
    const auto lo = static_cast<unsigned char>(bytes_[pos_ + SkippedBytes]);
    const auto hi = static_cast<unsigned char>(bytes_[pos_ + SkippedBytes + 1]);
    const size_t count = static_cast<size_t>(lo) | (static_cast<size_t>(hi) << 8);
    if (left - SkippedBytes - CountBytes < count) {
        truncated_ = true;
        return std::nullopt;
    }
    const size_t start = pos_ + SkippedBytes + CountBytes;
    const std::string_view text = bytes_.substr(start, count);
    pos_ = start + count;
    ++items_;
    if (text.find('\0') != std::string_view::npos) {
        damaged_ = true;
        return std::nullopt;
    }
    return FromGbk(text);
}

std::string EncodeTusItem(std::string_view utf8) {
    const std::string gbk = ToGbk(utf8);
    if (gbk.size() > 0xFFFF) Raise(ErrOverflow);
    std::string item(SkippedBytes, '\0');
    item.push_back(static_cast<char>(gbk.size() & 0xFF));
    item.push_back(static_cast<char>((gbk.size() >> 8) & 0xFF));
    item += gbk;
    return item;
}

std::string EncodeTusSource(std::string_view utf8Lines) {
    std::string bytes;
    size_t start = 0;
    while (start < utf8Lines.size()) {
        size_t end = utf8Lines.find('\n', start);
        if (end == std::string_view::npos) end = utf8Lines.size();
        std::string_view line = utf8Lines.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        bytes += EncodeTusItem(line);
        start = end + 1;
    }
    return bytes;
}

}  // namespace movra
