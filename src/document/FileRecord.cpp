#include "document/FileRecord.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdio.h>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Gbk.h"
#include "basic/Text.h"

namespace movra {

static_assert(std::endian::native == std::endian::little,
              "the file records are copied field by field in little-endian order");

namespace {

bool IsAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

void EncodeHead(const FileRecord& r, char* out) {
    PutFieldAt<std::uint8_t>(out, 0, r.layer);
    PutFieldAt<std::int16_t>(out, 1, r.slot);
    PutFieldAt<std::int16_t>(out, 3, r.reserved);
    PutFieldAt<std::uint8_t>(out, 5, r.type);
    PutFieldAt<std::int32_t>(out, 6, r.color);
    PutFieldAt<double>(out, 10, r.x1);
    PutFieldAt<double>(out, 18, r.y1);
    PutFieldAt<float>(out, 26, r.z1);
    PutFieldAt<double>(out, 30, r.x2);
    PutFieldAt<double>(out, 38, r.y2);
    PutFieldAt<float>(out, 46, r.z2);
    PutFieldAt<double>(out, 50, r.x3);
    PutFieldAt<double>(out, 58, r.y3);
    PutFieldAt<float>(out, 66, r.z3);
    PutFieldAt<double>(out, 70, r.x4);
    PutFieldAt<double>(out, 78, r.y4);
    PutFieldAt<float>(out, 86, r.z4);
    PutFieldAt<std::int16_t>(out, 90, r.pen);
}

void DecodeHead(const char* in, FileRecord& r) {
    r.layer = FieldAt<std::uint8_t>(in, 0);
    r.slot = FieldAt<std::int16_t>(in, 1);
    r.reserved = FieldAt<std::int16_t>(in, 3);
    r.type = FieldAt<std::uint8_t>(in, 5);
    r.color = FieldAt<std::int32_t>(in, 6);
    r.x1 = FieldAt<double>(in, 10);
    r.y1 = FieldAt<double>(in, 18);
    r.z1 = FieldAt<float>(in, 26);
    r.x2 = FieldAt<double>(in, 30);
    r.y2 = FieldAt<double>(in, 38);
    r.z2 = FieldAt<float>(in, 46);
    r.x3 = FieldAt<double>(in, 50);
    r.y3 = FieldAt<double>(in, 58);
    r.z3 = FieldAt<float>(in, 66);
    r.x4 = FieldAt<double>(in, 70);
    r.y4 = FieldAt<double>(in, 78);
    r.z4 = FieldAt<float>(in, 86);
    r.pen = FieldAt<std::int16_t>(in, 90);
}

void PutPaddedField(char* out, std::string_view utf8, std::size_t width) {
    const std::string bytes = TextToFileField(utf8, width);
    std::memcpy(out, bytes.data(), bytes.size());
    std::memset(out + bytes.size(), ' ', width - bytes.size());
}

void AppendCountedString(std::string& out, std::string_view utf8) {
    const std::string bytes = TextToFileField(utf8, MaxVariableStringBytes);
    const auto count = static_cast<std::uint16_t>(bytes.size());
    out.push_back(static_cast<char>(count & 0xFF));
    out.push_back(static_cast<char>(count >> 8));
    out += bytes;
}

// Reads a counted string at `pos`; false when the data ends inside it.
bool ReadCountedString(std::string_view data, std::size_t& pos, std::string& text) {
    if (data.size() - pos < 2) return false;
    const std::size_t count = FieldAt<std::uint16_t>(data.data(), pos);
    if (data.size() - pos - 2 < count) return false;
    text = TextFromFileField(data.substr(pos + 2, count));
    pos += 2 + count;
    return true;
}

}  // namespace

std::string TextToFileField(std::string_view utf8, std::size_t width) {
    if (IsAscii(utf8)) return std::string(utf8.substr(0, width));
    return ToGbkField(utf8, width);
}

std::string TextFromFileField(std::string_view gbkBytes) {
    if (IsAscii(gbkBytes)) return std::string(TrimmedView(gbkBytes));
    std::string kept;
    kept.reserve(gbkBytes.size());
    for (std::size_t i = 0; i < gbkBytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(gbkBytes[i]);
        if (IsLeadByte(c)) {
            if (i + 1 < gbkBytes.size() && IsTrailByte(static_cast<unsigned char>(gbkBytes[i + 1]))) {
                kept.push_back(gbkBytes[i]);
                kept.push_back(gbkBytes[i + 1]);
                ++i;
            }
            // A lead byte standing alone is half of a character cut by a field: drop it.
            continue;
        }
        kept.push_back(gbkBytes[i]);
    }
    return FromGbk(TrimmedView(kept));
}

void EncodeFixedRecord(const FileRecord& record, char* out) {
    EncodeHead(record, out);
    PutPaddedField(out + RecordHeadSize, record.text, FixedTextWidth);
    PutPaddedField(out + RecordHeadSize + FixedTextWidth, record.font, FixedFontWidth);
}

void AppendFixedRecord(std::string& out, const FileRecord& record) {
    const std::size_t at = out.size();
    out.resize(at + FixedRecordSize);
    EncodeFixedRecord(record, out.data() + at);
}

FileRecord DecodeFixedRecord(std::string_view bytes) {
    FileRecord record;
    if (bytes.size() < FixedRecordSize) return record;
    DecodeHead(bytes.data(), record);
    record.text = TextFromFileField(bytes.substr(RecordHeadSize, FixedTextWidth));
    record.font = TextFromFileField(bytes.substr(RecordHeadSize + FixedTextWidth, FixedFontWidth));
    return record;
}

void AppendVariableRecord(std::string& out, const FileRecord& record) {
    const std::size_t at = out.size();
    out.resize(at + RecordHeadSize);
    EncodeHead(record, out.data() + at);
    AppendCountedString(out, record.text);
    AppendCountedString(out, record.font);
}

bool DecodeVariableRecord(std::string_view data, std::size_t& pos, FileRecord& record) {
    if (pos > data.size() || data.size() - pos < MinVariableRecordSize) return false;
    std::size_t at = pos + RecordHeadSize;
    FileRecord read;
    DecodeHead(data.data() + pos, read);
    if (!ReadCountedString(data, at, read.text)) return false;
    if (!ReadCountedString(data, at, read.font)) return false;
    record = std::move(read);
    pos = at;
    return true;
}

std::size_t VariableRecordSize(std::string_view data) {
    if (data.size() < MinVariableRecordSize) return 0;
    std::size_t at = RecordHeadSize;
    at += 2 + FieldAt<std::uint16_t>(data.data(), at);
    if (at + 2 > data.size()) return 0;
    at += 2 + FieldAt<std::uint16_t>(data.data(), at);
    return at <= data.size() ? at : 0;
}

namespace {
// Bytes read from the file at a time.
constexpr std::size_t WindowChunk = 1 << 20;
}  // namespace

FileWindow::FileWindow(const std::string& path) {
    RequireRegularFile(path);
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) RaiseFileError(errno);
}

FileWindow::~FileWindow() {
    if (file_) std::fclose(file_);
}

bool FileWindow::Ensure(std::size_t count) {
    while (end_ - begin_ < count) {
        // Keep the unread bytes at the front and fill the rest from the file.
        if (begin_ > 0) {
            std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        const std::size_t want = std::max(count - end_, WindowChunk);
        if (end_ + want > capacity_) {
            auto grown = std::make_unique_for_overwrite<char[]>(end_ + want);
            if (end_ > 0) std::memcpy(grown.get(), buffer_.get(), end_);
            buffer_ = std::move(grown);
            capacity_ = end_ + want;
        }
        const std::size_t got = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
        end_ += got;
        fileRead_ += got;
        if (got == 0) {
            if (std::ferror(file_)) RaiseFileError(errno ? errno : EIO);
            return false;
        }
    }
    return true;
}

bool FileWindow::AtEnd() { return !Ensure(1); }

void FileWindow::Rewind() {
    std::rewind(file_);
    begin_ = end_ = 0;
    fileRead_ = 0;
}

int FileWindow::Descriptor() const { return ::fileno(file_); }

std::size_t EnsureVariableRecord(FileWindow& window, bool* cut) {
    if (cut) *cut = false;
    std::size_t need = MinVariableRecordSize;
    for (;;) {
        if (!window.Ensure(need)) {
            if (cut) *cut = !window.Available().empty();
            return 0;
        }
        const std::string_view view = window.Available();
        const std::size_t size = VariableRecordSize(view);
        if (size > 0) return size;
        // The counts say how much the record needs; ask for that much.
        std::size_t at = RecordHeadSize;
        at += 2 + FieldAt<std::uint16_t>(view.data(), at);
        need = at + 2 <= view.size() ? at + 2 + FieldAt<std::uint16_t>(view.data(), at) : at + 2;
    }
}

bool ReadVariableRecord(FileWindow& window, FileRecord& record, bool* cut) {
    const std::size_t size = EnsureVariableRecord(window, cut);
    if (size == 0) return false;
    std::size_t pos = 0;
    DecodeVariableRecord(window.Available(), pos, record);
    window.Consume(size);
    return true;
}

}  // namespace movra
