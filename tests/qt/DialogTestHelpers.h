#pragma once
// What the tests of the program's dialogs share: the real widget bound to a control, a picture
// of a window kept for a look when MOVRA_TEST_PICTURES names a folder, and waiting for the event
// loop to bring something about.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <functional>

#include "EventLoopRetry.h"
#include "app/MainProgram.h"

namespace movra {

template <typename W>
W* BoundWidget(MainProgram& run, const Control& control) {
    return qobject_cast<W*>(run.binder.WidgetOf(control));
}

inline void SaveTestPicture(const QImage& image, const char* name) {
    if (const char* folder = std::getenv("MOVRA_TEST_PICTURES"); folder && *folder)
        image.save(QString::fromLocal8Bit(folder) + "/" + name);
}

// Runs the event loop until done() holds or the time is up; whether it holds.
inline bool WaitFor(const std::function<bool()>& done, int ms = 4000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace movra
