#include "platform/fake/ScriptedDialogs.h"

#include "basic/Errors.h"

namespace movra {

FileDialogResult ScriptedDialogs::NextFile(const FileDialogRequest& request) {
    if (failWith != 0) Raise(failWith);
    if (files.empty()) {
        FileDialogResult cancelled;
        cancelled.filterIndex = request.filterIndex;
        return cancelled;
    }
    FileDialogResult result = files.front();
    files.pop_front();
    return result;
}

FileDialogResult ScriptedDialogs::ShowOpen(const FileDialogRequest& request) {
    requests.push_back({Request::Kind::Open, request, 0});
    return NextFile(request);
}

FileDialogResult ScriptedDialogs::ShowSave(const FileDialogRequest& request) {
    requests.push_back({Request::Kind::Save, request, 0});
    return NextFile(request);
}

std::optional<Rgb> ScriptedDialogs::ShowColor(Rgb initial) {
    requests.push_back({Request::Kind::Color, {}, initial});
    if (colors.empty()) return std::nullopt;
    auto color = colors.front();
    colors.pop_front();
    return color;
}

}  // namespace movra
