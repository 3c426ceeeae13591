#pragma once
#include <array>
#include <cstdint>

namespace movra {

// The image record the image tools picked last, and the photo corners pricked on it. The pick
// outlives the tool that made it: the crop and the photo orientation work on it.
struct LinkedImageState {
    // (0, 0): no image record picked.
    std::uint8_t ImageRecordLayer = 0;
    std::int16_t ImageRecordSlot = 0;
    // The corner (0..3) the pricking tool fills next, set by the photo orientation window.
    std::uint8_t PhotoCornerIndex = 0;
    // Three numbers per corner: the pricked x and y, and a third the photo orientation keeps.
    std::array<double, 12> PhotoCornerPicks{};
};

}  // namespace movra
