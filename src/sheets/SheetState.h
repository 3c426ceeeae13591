#pragma once
// What the sheet division keeps between its commands.
#include <cstdint>

namespace movra {

struct SheetState {
    // Items of the sheet frame template held in layer 0 (slots 700..766); 0 when there is none.
    // A new map, and every map read, starts without one.
    std::int16_t FrameItemCount = 0;
};

}  // namespace movra
