#pragma once
#include <cstdint>

namespace movra {

struct App;

// Draws work-buffer item i by its type with the shared record drawers. A run of type-5 items is
// drawn in one call and i is left on the last item of the run. Failures end the item silently.
void DrawClipBufferItem(App& app, std::int32_t& i);

}  // namespace movra
