#include "document/WorkSettings.h"

#include <cmath>
#include <limits>
#include <vector>

#include "App.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"

namespace movra {

std::string WorkIniPath(App& app) {
    return ResolveReadable(PathsFromFolders(app.platform.folders()), WorkIniName);
}

void WriteWorkIni(App& app) {
    const auto& recent = app.mapFile.RecentFiles;
    const std::string path = ResolveWritable(PathsFromFolders(app.platform.folders()), WorkIniName);
    WriteTextLines(path, {recent[0], recent[1], recent[2], recent[3], PrintNumberText(app.work.ScreenWidthMm),
                          PrintNumberText(app.work.ScreenTwipsPerMetre), app.settings.FileTypesRegistered});
}

void ReadWorkIni(App& app) {
    std::vector<std::string> lines;
    try {
        lines = ReadTextLines(WorkIniPath(app));
    } catch (const std::exception&) {
    }
    // A line the file does not have leaves what it would have filled as it was.
    auto has = [&lines](size_t i) { return i < lines.size(); };
    for (size_t k = 0; k < 4; ++k)
        if (has(k)) app.mapFile.RecentFiles[k] = lines[k];
    // The two numbers are read through one buffer: a file that ends after line 5 gives line 5's
    // number to both, and a missing file gives 0 to both.
    std::string numberLine;
    if (has(4)) numberLine = lines[4];
    // A width beyond a single's range is no width at all: start-up then takes its default.
    const double width = NumericPrefix(numberLine);
    app.work.ScreenWidthMm = std::fabs(width) <= std::numeric_limits<float>::max() ? static_cast<float>(width) : 0.0f;
    if (has(5)) numberLine = lines[5];
    try {
        app.work.ScreenTwipsPerMetre = ToInt32(NumericPrefix(numberLine));
    } catch (const std::exception&) {
        app.work.ScreenTwipsPerMetre = 0;
    }
    if (has(6)) app.settings.FileTypesRegistered = lines[6];
}

}  // namespace movra
