#pragma once
#include <cstdint>

namespace movra {

// The attribute records' state of the run: the class the entry dialog last confirmed and the
// record whose popup the canvas shows.
struct AttributeState {
    // 53 + the class confirmed last in the attribute dialog: the type the placing tool stores.
    std::uint8_t AttributeRecordType = 0;
    // The attribute record whose popup was shown last; (0, 0) when the hover found none.
    std::uint8_t PickedLayer = 0;
    std::int16_t PickedSlot = 0;
};

}  // namespace movra
