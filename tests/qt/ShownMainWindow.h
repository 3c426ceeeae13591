#pragma once
// The main window over the Qt platform, bound and shown, with folders and a data home of its own
// and its canvas widget at hand: the common ground of the tests that drive the canvas with real
// mouse events.
#include <QApplication>
#include <QWidget>

#include "App.h"
#include "TemporaryDataHome.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {

struct ShownMainWindow {
    ShownMainWindow() {
        UseChineseUiFont();
        binder.Bind(form1);
        form1.Show();
        QApplication::processEvents();
        canvas = binder.WidgetOf(form1.Picture1);
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    QtPlatform platform{program.Str(), work.Str()};
    App app{platform};
    stForm1 form1{app};
    Binder binder{platform};
    QWidget* canvas = nullptr;
};

}  // namespace movra
