#pragma once
// The work settings file "yourwork.ini" in the work folder: the four recent files, the physical
// screen width, the screen twips per metre and the file-type registration marker (kept with the
// shell settings), one per line.
#include <cstdint>
#include <string>

namespace movra {

struct App;

struct WorkSettings {
    float ScreenWidthMm = 0;                // millimetres; start-up turns values below 100 into 365
    std::int32_t ScreenTwipsPerMetre = 0;   // base of the display scale
};

inline constexpr const char* WorkIniName = "\\yourwork.ini";

// Reads the seven lines into RecentFiles, ScreenWidthMm, ScreenTwipsPerMetre and
// FileTypesRegistered. Every failure is ignored: a missing file or line leaves an empty entry or 0.
void ReadWorkIni(App& app);

// Replaces the work settings file in the work folder with its seven lines, the numbers in their
// print form (" 365 "); raises the file error when it cannot be written.
void WriteWorkIni(App& app);

// Where the work settings file is read from: the work folder, else the program folder.
std::string WorkIniPath(App& app);

}  // namespace movra
