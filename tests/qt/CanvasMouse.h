#pragma once
// Mouse events sent to a shown widget as the window system sends them, and the pixel of a map point
// on a canvas, for the Qt tests that draw with the real mouse handlers.
#include <QApplication>
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

// A hand's click: the pointer arrives from beside the point (so that hover handlers see it move
// onto it), then the button goes down and up there.
inline void ClickOn(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseMove, at - QPoint(6, 4), Qt::NoButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    SendMouse(w, QEvent::MouseButtonPress, at, b, b);
    SendMouse(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
    QApplication::processEvents();
}

// The left button pressed at `from`, moved in `steps` even steps with the button held, and let go
// at `to`.
inline void DragOn(QWidget* w, QPoint from, QPoint to, int steps = 2) {
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int k = 1; k <= steps; ++k)
        SendMouse(w, QEvent::MouseMove, (from * (steps - k) + to * k) / steps, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

inline QPoint PixelOf(const Surface& canvas, double x, double y) {
    return {static_cast<int>(std::lround(canvas.ToPixelX(x))), static_cast<int>(std::lround(canvas.ToPixelY(y)))};
}

}  // namespace movra
