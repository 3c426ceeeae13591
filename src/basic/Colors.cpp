#include "basic/Colors.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace movra {

namespace {
int Clamp(long v) { return static_cast<int>(std::clamp<long>(v, 0, 255)); }
}  // namespace

Rgb ShadeColor(Rgb color, int add) {
    return MakeRgb(Clamp(static_cast<long>(RedOf(color)) + add), Clamp(static_cast<long>(GreenOf(color)) + add),
                   Clamp(static_cast<long>(BlueOf(color)) + add));
}

Rgb PackedColorSum(Rgb color, int add) {
    const std::int64_t sum = static_cast<std::int64_t>(color & 0xFFFFFF) + add;
    return static_cast<Rgb>(((sum % 0x1000000) + 0x1000000) % 0x1000000);
}

Rgb ReadableTextColor(Rgb background) {
    // Perceived brightness: green counts most, blue least.
    const int brightness = (RedOf(background) * 299 + GreenOf(background) * 587 + BlueOf(background) * 114) / 1000;
    return brightness >= 128 ? MakeRgb(0, 0, 0) : MakeRgb(255, 255, 255);
}

Rgb ContrastColor(Rgb color) {
    int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    // The inverse of a mid grey is another mid grey; then choose by brightness instead.
    if (std::abs(r - 128) < 48 && std::abs(g - 128) < 48 && std::abs(b - 128) < 48) return ReadableTextColor(color);
    return MakeRgb(255 - r, 255 - g, 255 - b);
}

}  // namespace movra
