#pragma once
#include <string>

namespace movra {

// The clipboard link's state, kept by the main window for the whole run: it survives stopping
// and starting the link.
struct ClipboardLinkState {
    // The column layout of point records: set by the link dialog and by "GS:" records.
    std::string ClipboardLinkFormat;
    // The last clipboard text taken into the buffer.
    std::string LastLinkText;
    // Texts taken and waiting for the clipboard to stay unchanged for one poll, joined by the
    // record separator.
    std::string LinkBuffer;
};

}  // namespace movra
