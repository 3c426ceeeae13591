#pragma once
// The one record shape of every native file (map files, block files, layer snapshots, sheet files,
// the self-made symbol library): a fixed form of 132 bytes for files addressed by record number,
// and a variable form whose two strings carry their own 16-bit byte count for files read one
// record after the other. Numbers are little-endian; texts travel in code page 936.

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "basic/Numbers.h"

namespace movra {

// A number among a record's bytes at `offset`, little-endian as the files hold it, and its writing.
template <typename T>
T FieldAt(const char* bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof(T));
    return value;
}
template <typename T>
void PutFieldAt(char* bytes, std::size_t offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof(T));
}

// One record as the program holds it: texts in UTF-8, numbers at their file widths.
struct FileRecord {
    std::uint8_t layer = 0;
    std::int16_t slot = 0;
    std::int16_t reserved = 0;
    std::uint8_t type = 0;
    std::int32_t color = 0;
    double x1 = 0, y1 = 0;
    float z1 = 0;
    double x2 = 0, y2 = 0;
    float z2 = 0;
    double x3 = 0, y3 = 0;
    float z3 = 0;
    double x4 = 0, y4 = 0;
    float z4 = 0;
    std::int16_t pen = 0;
    std::string text;
    std::string font;
};

// Widths of the fixed form.
constexpr std::size_t FixedRecordSize = 132;
constexpr std::size_t FixedTextWidth = 32;
constexpr std::size_t FixedFontWidth = 8;
// Bytes 0..91 are common to both forms.
constexpr std::size_t RecordHeadSize = 92;
// The least a variable record can take: the head and two empty strings.
constexpr std::size_t MinVariableRecordSize = RecordHeadSize + 4;
// The longest string the variable form carries: the count is unsigned, but staying within 15 bits
// keeps files readable by readers that take the count as signed.
constexpr std::size_t MaxVariableStringBytes = 0x7FFF;

// Fixed form. Text and font are cut to their fields on a character boundary and padded with blanks.
// `out` must hold FixedRecordSize bytes.
void EncodeFixedRecord(const FileRecord& record, char* out);
void AppendFixedRecord(std::string& out, const FileRecord& record);
// `bytes` must hold at least FixedRecordSize bytes. Texts come back trimmed of blanks.
FileRecord DecodeFixedRecord(std::string_view bytes);

// Variable form. A string longer than the 16-bit count can say is cut on a character boundary.
void AppendVariableRecord(std::string& out, const FileRecord& record);
// Decodes the record starting at `pos` and moves `pos` past it. False, with `pos` unchanged, when
// the data ends before the record does. Texts come back trimmed of blanks.
bool DecodeVariableRecord(std::string_view data, std::size_t& pos, FileRecord& record);

// A text field of a file back to UTF-8: a lead byte without its second byte (a character cut in
// two by a fixed-width field) is dropped, blanks at both ends are removed.
std::string TextFromFileField(std::string_view gbkBytes);
// A text in code page 936, cut on a character boundary to at most `width` bytes.
std::string TextToFileField(std::string_view utf8, std::size_t width);

// The size of the variable record at the start of `data`; 0 when the data ends inside it.
std::size_t VariableRecordSize(std::string_view data);

// Reads a file front to back through a window of bytes, so that a large file is never held in
// memory whole. Opening raises RuntimeError 53 for a missing file and 75 for a folder.
class FileWindow {
public:
    explicit FileWindow(const std::string& path);
    ~FileWindow();
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;

    // Makes at least `count` bytes available from the current position; false when fewer are left.
    bool Ensure(std::size_t count);
    // The bytes read and not yet consumed.
    std::string_view Available() const { return std::string_view(buffer_.get() + begin_, end_ - begin_); }
    void Consume(std::size_t count) { begin_ += std::min(count, end_ - begin_); }
    // True when every byte of the file has been consumed.
    bool AtEnd();
    // Where in the file the first available byte lies.
    std::uint64_t Offset() const { return fileRead_ - (end_ - begin_); }
    // The open file, for reading at given offsets (which leaves the window's position alone).
    int Descriptor() const;
    // Back to the first byte.
    void Rewind();

private:
    std::FILE* file_ = nullptr;
    // Bytes begin_..end_ of the buffer are read and not consumed; it is never filled with zeros.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t fileRead_ = 0;  // bytes read from the file so far
};

// Makes the next variable record of a window wholly available and returns its size; 0 at the end
// of the file or when the file ends inside the record (`cut` then tells which).
std::size_t EnsureVariableRecord(FileWindow& window, bool* cut = nullptr);
// The next variable record of a window; false at the end of the file or when the file ends inside
// the record (`cut` then tells which).
bool ReadVariableRecord(FileWindow& window, FileRecord& record, bool* cut = nullptr);

// Reads the variable records of a file's bytes one after the other.
class VariableRecordReader {
public:
    explicit VariableRecordReader(std::string_view data) : data_(data) {}
    // False at the end of the data or when the rest is shorter than its record says.
    bool Next(FileRecord& record) { return DecodeVariableRecord(data_, pos_, record); }
    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Position() const { return pos_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace movra
