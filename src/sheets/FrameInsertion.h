#pragma once
// One decorated sheet frame in the drawing: the template placed at the sheet that holds a point,
// always in slots 0 to 66 of layer 1. A drawing holds at most one such frame; a frame for another
// sheet takes its place.
#include <cstdint>

namespace movra {

struct App;

// What stands at the head of a layer: 0 the frame of the sheet with corner (x, y); 1 the frame of
// another sheet; -1 no frame. A frame is recognised by its shape, not only by its types: slots
// 0 to 2 closed quadrilaterals, slot 0 a square of one sheet side at a grid corner, slot 1 the
// outer frame 12 mm outside it, and the layer long enough to hold the whole frame.
std::int16_t FrameExistsAt(const App& app, int layer, double x, double y);

// Puts the frame of the sheet that holds (x, y) at the head of layer 1, from the template built
// just before. Without a frame there, slots are opened for it in front of the layer's records;
// another sheet's frame is overwritten; this sheet's frame asks whether to overwrite it (Yes), to
// leave it (No) or to remove it (Cancel). Nothing is redrawn. Does nothing when the scale is not
// set or no template is built (the builder has said why).
void AddSheetFrame(App& app, double x, double y);

}  // namespace movra
