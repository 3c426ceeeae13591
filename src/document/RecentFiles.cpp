#include "document/RecentFiles.h"

#include "App.h"
#include "basic/Text.h"
#include "platform/Toolbar.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr int FirstRecentMenu = 8;

// The "打开" button's menu, when the main window has its tool bar.
ToolbarButton* OpenButton(App& app) {
    if (!app.form1) return nullptr;
    auto* toolbar = dynamic_cast<Toolbar*>(app.form1->FindControl("Toolbar1"));
    if (!toolbar || toolbar->ButtonCount() < 1) return nullptr;
    ToolbarButton& button = toolbar->Buttons(1);
    if (button.MenuCount() < FirstRecentMenu + 3) return nullptr;
    return &button;
}

}  // namespace

std::string PathTail(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    if (last == std::string::npos) return path;
    const size_t before = last == 0 ? std::string::npos : path.find_last_of("\\/", last - 1);
    return before == std::string::npos ? path : path.substr(before + 1);
}

void NoteRecentFile(App& app, const std::string& path) {
    auto& recent = app.mapFile.RecentFiles;
    if (EqualsIgnoreCase(recent[0], path)) return;
    for (size_t k = recent.size() - 1; k > 0; --k) recent[k] = recent[k - 1];
    recent[0] = path;
    if (ToolbarButton* button = OpenButton(app)) {
        for (int m = FirstRecentMenu + 3; m > FirstRecentMenu; --m)
            button->ButtonMenus(m).SetText(button->ButtonMenus(m - 1).Text());
        button->ButtonMenus(FirstRecentMenu).SetText(PathTail(path));
    }
}

void ShowRecentFilesInMenu(App& app) {
    if (ToolbarButton* button = OpenButton(app)) {
        for (int k = 0; k < 4; ++k)
            button->ButtonMenus(FirstRecentMenu + k).SetText(PathTail(app.mapFile.RecentFiles[static_cast<size_t>(k)]));
    }
}

}  // namespace movra
