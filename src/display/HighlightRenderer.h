#pragma once
#include <cstdint>

#include "platform/Color.h"

namespace movra {

struct App;

// Draws the record at (pn, kn) once in the colour ys0 (0 is black for most types), without
// culling and without the pen cache, whatever its layer's state. PenColor keeps ys0, or the
// record's own colour when ys0 is 0, also for a record that draws nothing. Failures end the
// call silently.
void 刷图元(App& app, std::uint8_t pn, std::int16_t kn, Rgb ys0);

// The types the highlight and the vertex-drag preview leave undrawn although the full renderer
// draws them (fill heads, rule shapes, font texts).
bool HighlightSkipsType(int type);

}  // namespace movra
