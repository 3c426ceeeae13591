#include "document/DrawingRecordDecoder.h"

#include <cmath>
#include <cstring>

#include "basic/Gbk.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/FileRecord.h"
#include "document/RecordPositions.h"
#include "document/RecordStore.h"
#include "document/RecordTypes.h"

namespace movra {

bool IsClearedHead(const char* head) {
    if (head[5] != 0 || FieldAt<std::int32_t>(head, 6) != 0 || FieldAt<std::int16_t>(head, 90) != 0) return false;
    for (std::size_t at : {10, 18, 30, 38, 50, 58, 70, 78}) {
        if (FieldAt<double>(head, at) != 0) return false;
    }
    for (std::size_t at : {26, 46, 66, 86}) {
        if (FieldAt<float>(head, at) != 0) return false;
    }
    return true;
}

bool HasStorableCoordinates(const char* head) {
    return HasStorablePositions(FieldAt<std::uint8_t>(head, 5), FieldAt<double>(head, 10), FieldAt<double>(head, 18),
                                FieldAt<double>(head, 30), FieldAt<double>(head, 38), FieldAt<double>(head, 50),
                                FieldAt<double>(head, 58), FieldAt<double>(head, 70), FieldAt<double>(head, 78));
}

bool DrawingRecordDecoder::IsHeldBack(const char* head, std::string_view textBytes, std::string_view fontBytes) {
    return IsClearedHead(head) && Text(textBytes).empty() && Text(fontBytes).empty();
}

std::string_view DrawingRecordDecoder::Decode(std::string_view bytes, std::string& buffer) {
    // The blanks that pad a fixed field, eight at a time.
    std::size_t size = bytes.size();
    for (std::uint64_t word; size >= 8; size -= 8) {
        std::memcpy(&word, bytes.data() + size - 8, 8);
        if (word != 0x2020202020202020ull) break;
    }
    const std::string_view kept = bytes.substr(0, size);
    if (IsAsciiText(kept)) return TrimmedView(kept);
    if (buffer.size() < GbkDecodedBound(bytes.size())) buffer.resize(GbkDecodedBound(bytes.size()));
    // Half a character cut by a fixed field is left out; blanks go after decoding, so that the
    // blanks before a dropped half go too.
    const std::size_t n = DecodeGbk(bytes.data(), bytes.size(), buffer.data(), true);
    return TrimmedView(std::string_view(buffer.data(), n));
}

FaceName DrawingRecordDecoder::Font(std::string_view bytes) {
    if (bytes.size() > 8) return FaceName(Decode(bytes, fontBuffer_));
    std::uint64_t key = 0;
    // An empty field may have no bytes behind it at all (a null data pointer).
    if (!bytes.empty()) std::memcpy(&key, bytes.data(), bytes.size());
    const auto size = static_cast<std::uint8_t>(bytes.size());
    if (lastFont_.size == size && lastFont_.bytes == key) return lastFont_.font;
    for (std::size_t probe = 0, at = (key * 0x9E3779B97F4A7C15ull) >> 58; probe < fonts_.size();
         ++probe, at = (at + 1) % fonts_.size()) {
        CachedFont& cached = fonts_[at];
        if (cached.size == 0xFF) {
            cached.font = FaceName(Decode(bytes, fontBuffer_));
            cached.bytes = key;
            cached.size = size;
        }
        if (cached.size == size && cached.bytes == key) {
            lastFont_ = cached;
            return cached.font;
        }
    }
    return FaceName(Decode(bytes, fontBuffer_));  // more fonts than the cache holds
}

void DrawingRecordDecoder::Fill(const char* head, std::string_view textBytes, std::string_view fontBytes,
                                bool splitExtra, std::uint8_t source, MapRecord& m, RecordStore& store, int writer) {
    m.RecordSource = source;
    m.RecordType = FieldAt<std::uint8_t>(head, 5);
    m.RecordColor = FieldAt<std::int32_t>(head, 6);
    m.RecordX1 = FieldAt<double>(head, 10);
    m.RecordY1 = FieldAt<double>(head, 18);
    m.RecordZ1 = FieldAt<float>(head, 26);
    m.RecordX2 = FieldAt<double>(head, 30);
    m.RecordY2 = FieldAt<double>(head, 38);
    m.RecordZ2 = FieldAt<float>(head, 46);
    m.RecordX3 = FieldAt<double>(head, 50);
    m.RecordY3 = FieldAt<double>(head, 58);
    m.RecordZ3 = FieldAt<float>(head, 66);
    m.RecordX4 = FieldAt<double>(head, 70);
    m.RecordY4 = FieldAt<double>(head, 78);
    m.RecordZ4 = FieldAt<float>(head, 86);
    m.RecordPen = static_cast<std::uint8_t>(FieldAt<std::int16_t>(head, 90) & 0xFF);
    if (!HasStorableCoordinates(head)) {
        // A record no view can show (a coordinate that is not a number or lies beyond the storable
        // range) comes in deleted, its coordinates cleared so that nothing meets them: the rest of
        // the map opens as it was, keeps its slot numbers, and the read says how many were left out.
        if (!IsDeletedType(m.RecordType)) m.RecordType = static_cast<std::uint8_t>(m.RecordType + DeletedTypeOffset);
        m.RecordX1 = m.RecordY1 = m.RecordX2 = m.RecordY2 = m.RecordX3 = m.RecordY3 = m.RecordX4 = m.RecordY4 = 0;
        ++unusable_;
    }
    m.RecordFont = Font(fontBytes);
    const std::string_view text = Decode(textBytes, textBuffer_);
    const std::size_t bang = splitExtra ? text.find('!') : std::string_view::npos;
    if (bang == std::string_view::npos) {
        store.PutText(writer, m.RecordText, text);
    } else {
        const std::string_view rest = text.substr(bang + 1);
        store.PutText(writer, m.RecordExtra, TrimmedView(rest.substr(0, rest.find('!'))));
        store.PutText(writer, m.RecordText, text.substr(0, bang));
    }
}

}  // namespace movra
