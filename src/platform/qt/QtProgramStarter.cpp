#include "platform/qt/QtProgramStarter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace movra {

namespace {

// Graphical plain-text editors of the common desktops, the lighter ones first; xdg-open hands the
// file to whatever the desktop opens text with when none of them is installed.
const char* const EditorPrograms[] = {"gnome-text-editor", "gedit", "mousepad", "pluma", "xed",
                                      "kwrite", "kate", "featherpad", "leafpad", "xdg-open"};

}  // namespace

std::int64_t QtProgramStarter::StartTextEditor(const std::string& filePath) {
    const QString file = QString::fromStdString(filePath);
    for (const char* name : EditorPrograms) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (program.isEmpty()) continue;
        qint64 pid = 0;
        if (QProcess::startDetached(program, QStringList{file}, QString(), &pid) && pid > 0) return pid;
    }
    return 0;
}

}  // namespace movra
