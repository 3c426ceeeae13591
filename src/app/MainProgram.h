#pragma once
#include <QWidget>
#include <string>

#include "App.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"

namespace movra {

// One run of the program over Qt: the platform, the state, the main window and the binder that
// shows it (and every window shown from code). The program's entry point and the tests make it
// the same way.
// Qt's own texts (message-box buttons, file dialogs) in Simplified Chinese.
void UseChineseQtTexts();

struct MainProgram {
    MainProgram(const std::string& programFolder, const std::string& workFolder);
    ~MainProgram();

    QtPlatform platform;
    App app;
    stForm1 form1;
    Binder binder;
    // The main window's widget, once started.
    QWidget* window = nullptr;

    // Binds the main window and shows it: its load runs the whole start-up. A map named (from the
    // command line) is then opened as the open command opens it.
    QWidget* Start(const std::string& mapPath = {});
};

}  // namespace movra
