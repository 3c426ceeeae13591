#pragma once
#include <deque>
#include <optional>
#include <vector>

#include "platform/CommonDialog.h"

namespace movra {

// Common dialogs answered from queues; every request is recorded. With an empty queue a file
// dialog is cancelled and a colour dialog too.
class ScriptedDialogs : public CommonDialog {
public:
    FileDialogResult ShowOpen(const FileDialogRequest& request) override;
    FileDialogResult ShowSave(const FileDialogRequest& request) override;
    std::optional<Rgb> ShowColor(Rgb initial) override;
    void ShowPrinter() override { ++printerDialogs; }

    // A chosen file (not cancelled) with the filter index chosen.
    void QueueFile(const std::string& path, int filterIndex = 1) { files.push_back({false, path, filterIndex}); }
    void QueueCancel() { files.push_back(FileDialogResult{}); }
    void QueueColor(std::optional<Rgb> color) { colors.push_back(color); }

    std::deque<FileDialogResult> files;
    // When not 0, every file dialog fails with this run-time error number, as a dialog that
    // cannot reach its folder does.
    int failWith = 0;
    std::deque<std::optional<Rgb>> colors;

    struct Request {
        enum class Kind { Open, Save, Color };
        Kind kind = Kind::Open;
        FileDialogRequest file;
        Rgb initialColor = 0;
    };
    std::vector<Request> requests;
    int printerDialogs = 0;

private:
    FileDialogResult NextFile(const FileDialogRequest& request);
};

}  // namespace movra
