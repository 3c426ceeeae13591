#pragma once
// What the tests of the program's dialogs share: the real widget bound to a control, and a
// picture of a window kept for a look when MOVRA_TEST_PICTURES names a folder.
#include <QImage>
#include <QString>
#include <cstdlib>

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

}  // namespace movra
