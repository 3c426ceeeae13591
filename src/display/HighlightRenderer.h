#pragma once
#include <cstdint>

#include "display/RecordRenderer.h"
#include "platform/Color.h"

namespace movra {

struct App;

// Draws the record at (pn, kn) once in the colour ys0 (0 is black for most types), without
// culling and without the pen cache, whatever its layer's state. PenColor keeps ys0, or the
// record's own colour when ys0 is 0, also for a record that draws nothing. Failures end the
// call silently.
void 刷图元(App& app, std::uint8_t pn, std::int16_t kn, Rgb ys0);

// The drawers the highlight (preview false) and the vertex-drag preview (preview true) use in
// place of the shared table's, for the types only they draw: the fill-boundary chain 26..30
// (handled segments here, plain lines in the preview) and the attribute marks 53..57.
// nullptr: the shared drawer.
RecordFamilyDrawer HighlightOverrideFor(int type, bool preview);

// The types the highlight and the vertex-drag preview leave undrawn although the full renderer
// draws them (fill heads, rule shapes, font texts).
bool HighlightSkipsType(int type);

}  // namespace movra
