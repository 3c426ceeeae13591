#pragma once
#include <optional>
#include <string>

#include "platform/Color.h"

namespace movra {

// What an open or save dialog is asked. The filter is "description|pattern|description|pattern"
// with patterns separated by ";" ("图形文件|*.jdx;*.wtw").
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;      // 1-based
    std::string fileName;     // initial name
    std::string initialDir;
    bool overwritePrompt = false;
    bool fileMustExist = false;
};

struct FileDialogResult {
    bool cancelled = true;
    std::string fileName;     // full path
    int filterIndex = 1;      // the filter chosen, 1-based
};

// The error number a dialog reports when the user cancels and the caller asked for it.
constexpr int CancelErrorNumber = 32755;

class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    virtual FileDialogResult ShowOpen(const FileDialogRequest& request) = 0;
    virtual FileDialogResult ShowSave(const FileDialogRequest& request) = 0;
    // The chosen colour, or empty when cancelled.
    virtual std::optional<Rgb> ShowColor(Rgb initial) = 0;
    // The system's printer set-up dialog; what the user chose there stays with the system.
    virtual void ShowPrinter() = 0;
};

}  // namespace movra
