#pragma once
#include <string>

namespace movra {

struct App;

// Enters a path as the most recent of the four recent files and moves the tool-bar menu entries
// 8..11 of the "打开" button along with them. The newest path again changes nothing.
void NoteRecentFile(App& app, const std::string& path);

// The last two components of a path ("D:\maps\plan.jdx" -> "maps\plan.jdx"); a path of one
// component unchanged. Both separators are accepted.
std::string PathTail(const std::string& path);

// Shows the four recent files in the menu entries 8..11 of the tool bar's first button.
void ShowRecentFilesInMenu(App& app);

}  // namespace movra
