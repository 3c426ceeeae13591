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

void ReadWorkIni(App& app) {
    std::vector<std::string> lines;
    try {
        lines = ReadTextLines(WorkIniPath(app));
    } catch (const std::exception&) {
    }
    auto line = [&lines](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    for (size_t k = 0; k < 4; ++k) app.mapFile.RecentFiles[k] = line(k);
    app.work.ScreenWidthMm = static_cast<float>(Val(line(4)));
    try {
        app.work.ScreenTwipsPerMetre = ToInt32(Val(line(5)));
    } catch (const std::exception&) {
        app.work.ScreenTwipsPerMetre = 0;
    }
    app.settings.FileTypesRegistered = line(6);
}

}  // namespace movra
