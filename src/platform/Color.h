#pragma once
#include <cstdint>

namespace movra {

// Colours travel as the 32-bit value 0x00BBGGRR, the form the map files store.
using Rgb = std::int32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
    return static_cast<Rgb>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Rgb c) { return c & 0xFF; }
constexpr int GreenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Rgb c) { return (c >> 16) & 0xFF; }

}  // namespace movra
