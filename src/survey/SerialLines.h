#pragma once
// Records of a serial line, as an instrument sends them: bytes that come as they come (one a
// millisecond at 9600 baud, in chunks of any size) gathered into lines ended by CR, LF, CR LF or
// ETX (0x03, the end some output formats give a record). An instrument that ends its records with
// nothing has each one ended by the pause before the next: its owner calls EndPending once the
// line has been quiet.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

// A line is taken only once its line end has arrived, so a record that comes in pieces is joined
// and two that come together are taken apart. Lines are split on the raw bytes, before any code
// page conversion, so a character cut between two reads is joined too (no GBK byte is CR, LF or ETX).
// A line longer than `longestLine` is no record: it is dropped whole, up to its line end, so that
// noise neither fills the memory nor passes off the tail of a cut line as a record.
class SerialLineCollector {
public:
    explicit SerialLineCollector(std::size_t longestLine = 512) : longest_(longestLine) {}

    // Adds received bytes; returns the lines they complete, oldest first, without their line ends.
    // Empty lines (the LF of a CR LF among them) are skipped.
    std::vector<std::string> Add(std::string_view bytes);
    // Ends the line in progress as if its end had come (the line went quiet after it); returns it,
    // or nothing when there is none or it was too long to be a record.
    std::string EndPending();
    // Forgets the line in progress (a port closed or opened anew).
    void Clear();
    // The start of a line whose end has not arrived yet.
    const std::string& Pending() const { return pending_; }
    // Whether a line has begun and not ended (an overlong one being dropped among them).
    bool InProgress() const { return dropping_ || !pending_.empty(); }

private:
    std::size_t longest_;
    std::string pending_;
    bool dropping_ = false;
};

}  // namespace movra
