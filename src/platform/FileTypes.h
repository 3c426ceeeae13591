#pragma once
#include <string>

namespace movra {

// One file type to be opened by Movra from the desktop.
struct FileTypeRegistration {
    std::string extension;    // ".jdx"
    std::string typeName;     // "jdxfile"
    std::string description;  // "jdx矢量图文件"
    std::string iconPath;     // full path of the icon file
    std::string programPath;  // the program that opens it
};

// Registration of the map file types with the desktop.
class FileTypes {
public:
    virtual ~FileTypes() = default;
    // False when it could not be written.
    virtual bool Register(const FileTypeRegistration& registration) = 0;
};

}  // namespace movra
