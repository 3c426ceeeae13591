#include "shell/FileTypeRegistration.h"

#include "App.h"
#include "basic/Paths.h"

namespace movra {

void RegisterFileTypes(App& app) {
    const std::string program = app.platform.folders().ProgramFolder();
    const std::string executable = JoinPath(program, "movra");
    // The icons are scalable pictures shipped in the program folder; the desktop draws them at
    // every size.
    const FileTypeRegistration types[] = {
        {".wtw", "wtwfile", "wtw图文二进制文件", JoinPath(program, "\\tubiao.svg"), executable},
        {".jdx", "jdxfile", "jdx矢量图文件", JoinPath(program, "\\jdxtubiao.svg"), executable},
    };
    bool ok = true;
    try {
        for (const FileTypeRegistration& type : types) ok = app.platform.fileTypes().Register(type) && ok;
    } catch (...) {
        ok = false;
    }
    // A registration that did not take is tried again at the next start.
    app.settings.FileTypesRegistered = ok ? FileTypesRegisteredMark : FileTypesNotRegisteredMark;
}

}  // namespace movra
