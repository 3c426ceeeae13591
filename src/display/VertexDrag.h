#pragma once
#include <cstdint>

namespace movra {

struct App;

// The rubber preview of the vertex-move tool: vertex n (1..4) of the record at (layer, slot) is
// put at (x, y) for the length of the call, and the slot before it and the three from it are
// drawn in their own colours (white shown as magenta). Pass 0 erases, any other value draws.
// The four slots are checked against the store first (RuntimeError 9 when they do not fit), and
// the vertex is put back whatever happens while drawing, so the store ends as it began.
void DrawVertexDrag(App& app, float x, float y, std::uint8_t layer, std::int16_t slot, std::int32_t n,
                    std::int32_t pass);

}  // namespace movra
