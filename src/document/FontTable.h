#pragma once
#include <cstdint>
#include <string>

namespace movra {

// Number of faces in the font table; indexes from here up give "宋体".
constexpr int FontFaceCount = 154;

// The face name of a font index. A vertical-writing face is its base face with "@" in front.
std::string FontIndexToName(std::uint8_t index);

}  // namespace movra
