#pragma once
// How a save that failed is told: one message box naming the file that was not written and why.
// Every writer that replaces a file (map, work buffer, block, canvas picture, self-made symbol,
// sheet index) tells it the same way; the old file is still there when this is shown.
#include <exception>
#include <string>

namespace movra {

struct App;

// The message box of a failed save: this, the file's path and, on the next line, the reason.
inline constexpr const char* MapSaveFailedMessage = "文件未能保存：";
inline constexpr const char* MapSaveFailedTitle = "保存失败";

// The reason as the user reads it: the description of a file error, or the exception's text.
std::string SaveFailureReason(const std::exception& error);
void TellSaveFailed(App& app, const std::string& path, const std::string& reason);

}  // namespace movra
