#pragma once
#include <functional>

#include "platform/Color.h"

namespace movra {

struct App;

// The map's own code sits below the display and the view tools, yet a read, an insertion, an undo
// or a transform ends by showing its result. These are its ways up, set by the shell when the main
// window is made; each does nothing until then.
struct RedrawSeams {
    // Redraws the canvas from the store.
    std::function<void(App&)> Redraw;
    // Moves the view one stage of the restore zoom on.
    std::function<void(App&)> ZoomToExtents;
    // Draws the record at (layer, slot) once in the colour.
    std::function<void(App&, int layer, int slot, Rgb color)> HighlightRecord;
};

void RedrawSeam(App& app);
void ZoomToExtentsSeam(App& app);
void HighlightRecordSeam(App& app, int layer, int slot, Rgb color);

}  // namespace movra
