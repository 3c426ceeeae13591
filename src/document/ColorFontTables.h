#pragma once
#include <array>
#include <string>

#include "platform/Color.h"

namespace movra {

// Colour index to RGB and to its display name, font index to face name. Entries 0..254 are filled
// at start-up; entry 255 stays 0 and empty.
struct ColorFontTables {
    std::array<Rgb, 256> ColorPalette{};
    std::array<std::string, 256> ColorNames;
    std::array<std::string, 256> FontNames;
};

}  // namespace movra
