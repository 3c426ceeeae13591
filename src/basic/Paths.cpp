#include "basic/Paths.h"

#include <cstdlib>
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include "basic/Files.h"
#include "platform/Folders.h"

namespace movra {

std::string ExecutableFolder() {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(length));
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string DefaultWorkFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // The base directory rules ask for an absolute path; anything else is ignored.
    if (dataHome && dataHome[0] == '/') return JoinPath(dataHome, "movra");
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    } else {
        home = "/tmp";
    }
    return JoinPath(home, ".local/share/movra");
}

ProgramPaths DefaultProgramPaths() {
    ProgramPaths paths{ExecutableFolder(), DefaultWorkFolder()};
    CreateFolders(paths.workFolder);
    return paths;
}

ProgramPaths PathsFromFolders(const Folders& folders) {
    return ProgramPaths{folders.ProgramFolder(), folders.WorkFolder()};
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string base(folder);
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string rest;
    for (char c : name) {
        char s = c == '\\' ? '/' : c;
        if (s == '/' && (rest.empty() || rest.back() == '/')) continue;  // leading and doubled
        rest += s;
    }
    if (rest.empty()) return base;
    if (base.empty()) return rest;
    if (base == "/") return base + rest;
    return base + "/" + rest;
}

std::string ResolveWritable(const ProgramPaths& paths, std::string_view name) {
    std::string path = JoinPath(paths.workFolder, name);
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) CreateFolders(path.substr(0, slash));
    return path;
}

std::string ResolveReadable(const ProgramPaths& paths, std::string_view name) {
    std::string inWork = JoinPath(paths.workFolder, name);
    if (FileExists(inWork) || FolderExists(inWork)) return inWork;
    return JoinPath(paths.programFolder, name);
}

std::string FileNameOf(std::string_view storedPath) {
    size_t cut = storedPath.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? storedPath : storedPath.substr(cut + 1));
}

std::string WithDefaultExtension(const std::string& path, std::string_view ext) {
    const size_t sep = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) return path;
    return path + std::string(ext);
}

}  // namespace movra
