#include "document/WorkSettings.h"

#include <vector>

#include "App.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"

namespace movra {

std::string WorkIniPath(App& app) {
    return ResolveReadable(PathsFromFolders(app.platform.folders()), WorkIniName);
}

namespace {

// Val that reads an unreadable number (one too large for a double) as 0, as every other
// error of this reader is ignored.
double SafeVal(const std::string& text) {
    try {
        return Val(text);
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

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
    app.work.ScreenWidthMm = static_cast<float>(SafeVal(numberLine));
    if (has(5)) numberLine = lines[5];
    try {
        app.work.ScreenTwipsPerMetre = ToInt32(SafeVal(numberLine));
    } catch (const std::exception&) {
        app.work.ScreenTwipsPerMetre = 0;
    }
    if (has(6)) app.settings.FileTypesRegistered = lines[6];
}

}  // namespace movra
