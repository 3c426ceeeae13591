#pragma once
// The save commands of the main window: each asks for a file name through the common file dialog,
// gives the name the extension of the chosen file type, asks before overwriting and writes.
#include <string>

namespace movra {

struct App;

inline constexpr const char* OverwriteQuestion = "已有文件名，要覆盖吗？";
inline constexpr const char* SaveQuestion = "要保存文件吗？";
inline constexpr const char* NotSavedMessage = "未保存！";
// The data exchange writes and reads DXF and coordinate text files; until it is part of the
// program the commands that need it stop with this message.
inline constexpr const char* ExchangeMissingMessage = "DXF与文本交换功能尚未提供，本命令未执行";

void SaveAsJdxDialog(App& app);
void SaveAsWtwDialog(App& app);
// Full or compact map file by the filter chosen (the tool bar and closing the main window).
void SaveFileDialog(App& app);
void SaveAsDxfDialog(App& app);
// The work buffer as a one-layer full map file.
void SaveClipDialog(App& app);

// The path with the extension `ext` (".jdx"): kept when it already ends so (letter case ignored),
// a real extension of the file name replaced, otherwise appended.
std::string ForceExtension(const std::string& path, const std::string& ext);

// Before the open map is written as a compact (.jdx) file: the compact file keeps no attribute
// texts, attribute field names or linked images. When the map holds any of them the user is told
// which will be lost (the full .wtw file keeps them) and may go back. True when the save may go on.
bool ConfirmCompactSave(App& app);
inline constexpr const char* CompactSaveTitle = "保存jdx";

// Before the open map is replaced: when it has unsaved changes, asks SaveQuestion (Yes, No,
// Cancel). Yes saves it to its own path by that path's extension, or through SaveFileDialog when
// the path is no map file. True when the command may go on: No, or a save that succeeded.
bool SaveBeforeReplacing(App& app);

}  // namespace movra
