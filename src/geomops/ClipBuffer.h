#pragma once
#include <cstdint>
#include <vector>

#include "document/MapRecord.h"

namespace movra {

// The work buffer: items with the fields of a map record at indexes 1..ClipBufferCount (index 0
// exists and is never filled), and the culling rectangle in map units.
struct ClipBuffer {
    std::vector<MapRecord> Items = std::vector<MapRecord>(1);
    std::int32_t ClipBufferCount = 0;

    std::int32_t ClipXMin = 0;
    std::int32_t ClipXMax = 0;
    std::int32_t ClipYMax = 0;  // top
    std::int32_t ClipYMin = 0;  // bottom

    // The result of the last segment clip: 0 nothing inside, 12 both ends inside, 13 / 23 only
    // the first / second end inside, 34 crossing with both ends outside.
    std::uint8_t ClipState = 0;
};

}  // namespace movra
