#include "survey/SerialLines.h"

namespace movra {

namespace {

// What ends a record: the line ends and the end-of-text control.
constexpr std::string_view RecordEnds("\r\n\x03", 3);

}  // namespace

std::vector<std::string> SerialLineCollector::Add(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t end = bytes.find_first_of(RecordEnds, at);
        const std::string_view piece = bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (!dropping_) {
            if (pending_.size() + piece.size() > longest_) {
                pending_.clear();
                dropping_ = true;
            } else {
                pending_.append(piece);
            }
        }
        if (end == std::string_view::npos) break;
        if (!dropping_ && !pending_.empty()) lines.push_back(std::move(pending_));
        pending_.clear();
        dropping_ = false;
        at = end + 1;
    }
    return lines;
}

std::string SerialLineCollector::EndPending() {
    std::string line;
    if (!dropping_) line.swap(pending_);
    Clear();
    return line;
}

void SerialLineCollector::Clear() {
    pending_.clear();
    dropping_ = false;
}

}  // namespace movra
