// The Qt entry point: the program over Qt, its main window started and shown maximised.
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MainProgram.h"

namespace {

// The per-user writable folder: $XDG_DATA_HOME/movra, or ~/.local/share/movra.
std::string WorkFolderPath() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    QString base = dataHome && *dataHome ? QString::fromLocal8Bit(dataHome)
                                         : QDir::homePath() + QStringLiteral("/.local/share");
    QString path = base + QStringLiteral("/movra");
    QDir().mkpath(path);
    return path.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    movra::MainProgram program(QCoreApplication::applicationDirPath().toStdString(), WorkFolderPath());
    // The file manager starts the program with the map to open ("movra %f"); Qt has taken its
    // own options out of the arguments already.
    std::string mapPath;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('-'))) continue;
        mapPath = arguments[i].toStdString();
        break;
    }
    QWidget* window = program.Start(mapPath);
    QObject::connect(window, &QObject::destroyed, &application, &QCoreApplication::quit);

    // For looking at the window without a display: MOVRA_SCREENSHOT=file.png saves the window
    // once it has been shown, then the program ends.
    if (const char* shot = std::getenv("MOVRA_SCREENSHOT"); shot && *shot) {
        QString file = QString::fromLocal8Bit(shot);
        QTimer::singleShot(800, window, [window, file] {
            window->grab().save(file);
            // Leave without the exit questions: nothing was changed.
            QCoreApplication::exit(0);
        });
    }
    const int result = application.exec();
    // Everything is saved and closed once the window has gone (a print document still open is
    // sent first): the process ends at once instead of freeing the map and the windows piece by
    // piece.
    program.platform.FinishPrinting();
    std::fflush(nullptr);
    std::_Exit(result);
}
