#pragma once
#include <string>

namespace movra {

// The two folders of the program: the program folder (shipped, read-only data beside the
// executable) and the work folder (per-user, writable). Paths without a trailing "/".
class Folders {
public:
    virtual ~Folders() = default;
    virtual std::string ProgramFolder() const = 0;
    virtual std::string WorkFolder() const = 0;
    // The user's desktop, where the sheet division offers to write its sheets.
    virtual std::string DesktopFolder() const = 0;
};

}  // namespace movra
