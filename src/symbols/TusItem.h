#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace movra {

// The item stream of the symbol-standard files and of the DXF proxy table: each item is 4 bytes
// nobody reads, a 16-bit little-endian byte count n, then n bytes of text in code page 936.
// There is no header and nothing between items.
class TusItemReader {
public:
    // Reads from bytes the caller keeps alive while the reader is used.
    explicit TusItemReader(std::string_view bytes) : bytes_(bytes) {}

    // The next item as UTF-8 text; empty optional at the end of the bytes, and also when the
    // item's header or its text runs past the end (then Truncated() tells it apart), or when its
    // byte count does not fit its text (then Damaged() does). Either ends the stream.
    std::optional<std::string> Next();
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    bool Truncated() const { return truncated_; }
    // An item's text held a zero byte: no line does, but the header of a following item does,
    // so its byte count was damaged and the items after it would be read from the wrong places.
    bool Damaged() const { return damaged_; }
    // The number of the last item read, from 1 (the line of the source it was built from); a
    // damaged item counts.
    size_t ItemNumber() const { return items_; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
    size_t items_ = 0;
    bool truncated_ = false;
    bool damaged_ = false;
};

// One item in the file form: 4 zero bytes, the byte count, the text converted to code page 936.
// A text longer than 65535 bytes in that code page raises error 6.
std::string EncodeTusItem(std::string_view utf8);

// A readable source, one item per line (CR LF or LF; a last line without an end counts), as the
// item stream of a file. The shipped standards are built from their sources this way.
std::string EncodeTusSource(std::string_view utf8Lines);

}  // namespace movra
