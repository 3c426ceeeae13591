#pragma once
#include <QString>

#include "platform/FileTypes.h"

namespace movra {

// Registers a map file type with the desktop the freedesktop way, under the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share): a shared-mime-info package with the glob and the
// description, the program's desktop entry listing the type, and the icon in the hicolor theme.
// The desktop's caches are refreshed when their tools are installed, in the background: they can
// take seconds, and the main window does not wait for them.
class QtFileTypes : public FileTypes {
public:
    bool Register(const FileTypeRegistration& registration) override;

    // The MIME type name of an extension (".jdx" -> "application/x-movra-jdx").
    static QString MimeTypeOf(const std::string& extension);
    // The user's data folder the files go under.
    static QString DataRoot();
};

}  // namespace movra
