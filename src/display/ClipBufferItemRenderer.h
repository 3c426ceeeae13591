#pragma once
#include <cstdint>

namespace movra {

struct App;

// Draws work-buffer item i by its type: the full renderer's drawers, with the work buffer's own
// rows for the texts (the sizes and angles the fill computed, device-unit fonts), the pictures
// (painted as held, never loaded) and the ticks (a direct pen). A run of type-5 items is drawn
// in one call and i is left on the last item of the run. Failures end the item silently.
void DrawClipBufferItem(App& app, std::int32_t& i);

}  // namespace movra
