#pragma once
#include <array>

namespace movra {

// What the sheet-line cut leaves behind for its callers.
struct SheetCutState {
    // The last line measured by LineDirectionUnit: length, unit direction (x, y), 0.
    std::array<double, 4> UnitDirection{};
};

}  // namespace movra
