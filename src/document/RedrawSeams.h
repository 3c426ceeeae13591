#pragma once
#include "platform/Color.h"

namespace movra {

struct App;

// The journal's and the transforms' way to the highlight renderer of the main window: draws the
// record at (layer, slot) once in the colour. Does nothing until the renderer is there.
void HighlightRecordSeam(App& app, int layer, int slot, Rgb color);

}  // namespace movra
