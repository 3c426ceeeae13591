#pragma once
// Mouse events sent to a shown widget as the window system sends them, and the pixel of a map point
// on a canvas, for the Qt tests that draw with the real mouse handlers.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

#include <cmath>

#include "platform/Surface.h"

namespace movra {

inline void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

inline QPoint PixelOf(const Surface& canvas, double x, double y) {
    return {static_cast<int>(std::lround(canvas.ToPixelX(x))), static_cast<int>(std::lround(canvas.ToPixelY(y)))};
}

}  // namespace movra
