#pragma once
#include <string>
#include <string_view>

namespace movra {

class Folders;

// The two folders every name resolves against: the program folder (shipped, read-only data beside
// the executable) and the work folder (per-user, writable). Paths without a trailing "/".
struct ProgramPaths {
    std::string programFolder;
    std::string workFolder;
};

// The folder of the running executable.
std::string ExecutableFolder();
// $XDG_DATA_HOME/movra, or ~/.local/share/movra when that is not set (not created here).
std::string DefaultWorkFolder();
// Both defaults; the work folder is created.
ProgramPaths DefaultProgramPaths();
// The folders a platform gives (tests point both at temporary folders).
ProgramPaths PathsFromFolders(const Folders& folders);

// A name written with "\" separators ("\mytemp\NTKuai") joined below a folder with "/".
std::string JoinPath(std::string_view folder, std::string_view name);
// Where the program writes `name`: in the work folder, its folders created on the way.
std::string ResolveWritable(const ProgramPaths& paths, std::string_view name);
// Where the program reads `name`: the work folder when the file is there, else the program folder.
std::string ResolveReadable(const ProgramPaths& paths, std::string_view name);
// The file name of a stored path, after its last "\" or "/" ("C:\图\a.jdx" -> "a.jdx").
std::string FileNameOf(std::string_view storedPath);
// The path with `ext` added when its file name has no extension, as a save dialog adds its default
// extension to a name typed without one ("plan" -> "plan.wtw"; "plan.jdx" stays).
std::string WithDefaultExtension(const std::string& path, std::string_view ext);

}  // namespace movra
