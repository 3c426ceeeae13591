#pragma once
#include <QStringList>
#include <functional>
#include <string>

#include "platform/CommonDialog.h"

namespace movra {

// The filter "desc|*.a;*.b|desc2|*.c" as Qt's name filters {"desc (*.a *.b)", "desc2 (*.c)"}.
QStringList ToQtNameFilters(const std::string& filter);

// Open, save, colour and printer set-up dialogs of Qt.
class QtCommonDialog : public CommonDialog {
public:
    FileDialogResult ShowOpen(const FileDialogRequest& request) override;
    FileDialogResult ShowSave(const FileDialogRequest& request) override;
    std::optional<Rgb> ShowColor(Rgb initial) override;
    void ShowPrinter() override;

    // Where a file dialog opens when its request names no folder: the program tells it (the
    // open map's folder, else the work folder); the folder of the file last chosen comes first.
    std::function<std::string()> defaultFolder;

private:
    std::string lastFolder_;
    FileDialogResult Show(const FileDialogRequest& request, bool save);
};

}  // namespace movra
