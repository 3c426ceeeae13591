#pragma once
// Draws in one pen for the length of a scope and gives the canvas back in the pen it had, also
// when the drawing throws.
#include "platform/Surface.h"

namespace movra {

class DrawModeScope {
public:
    DrawModeScope(Surface& canvas, int mode) : canvas_(canvas), previous_(canvas.DrawMode()) {
        canvas_.SetDrawMode(mode);
    }
    ~DrawModeScope() { canvas_.SetDrawMode(previous_); }
    DrawModeScope(const DrawModeScope&) = delete;
    DrawModeScope& operator=(const DrawModeScope&) = delete;

private:
    Surface& canvas_;
    int previous_;
};

}  // namespace movra
