#include "document/ColorTable.h"

#include <array>

#include "App.h"
#include "basic/Numbers.h"
#include "document/FontTable.h"

namespace movra {

Rgb ColorIndexToRgb(std::uint8_t index) {
    const int i = index;
    int r = 0, g = 0, b = 0;
    switch (i) {
        case 0: break;
        case 1: r = 255; break;
        case 2: r = 255; g = 255; break;
        case 3: g = 255; break;
        case 4: g = 255; b = 255; break;
        case 5: b = 255; break;
        case 6: r = 255; b = 255; break;
        case 7: r = 255; g = 255; b = 255; break;
        case 8: r = g = b = 128; break;
        case 9: r = g = b = 192; break;
        default:
            if (i <= 39) {
                r = 9 - i; g = 4 * (i + 54); b = i - 10;
            } else if (i <= 69) {
                r = 79 - 2 * i; g = 2 * i + 117; b = 3 * i - 120;
            } else if (i <= 99) {
                r = 88 - 6 * i; g = 69 - i; b = 255 - 2 * i;
            } else if (i <= 139) {
                r = 140 - i; g = i + 115; b = 3 * i + 56;
            } else if (i <= 199) {
                r = i + 116; g = 144 - 2 * i; b = 32 - 4 * i;
            } else if (i <= 249) {
                r = i + 6; g = 235 - 3 * i; b = 143 - 2 * i;
            } else {
                r = g = b = 250 - 50 * (i - 250);
            }
    }
    // The components are computed in 8 bits and wrap; MakeRgb keeps the low byte of each.
    return MakeRgb(r, g, b);
}

std::string ColorIndexName(std::uint8_t index) {
    static const std::array<const char*, 10> names = {
        "", "赤1", "黄2", "绿3", "青4", "蓝5", "紫6", "白7", "灰8", "灰9"};
    if (index >= 1 && index <= 9) return names[index];
    return PlainNumberText(index);
}

void FillColorAndFontTables(App& app) {
    for (int i = 0; i <= 254; ++i) {
        app.platform.events().DoEvents();
        const auto index = static_cast<std::uint8_t>(i);
        app.tables.ColorPalette[index] = ColorIndexToRgb(index);
        app.tables.ColorNames[index] = ColorIndexName(index);
        app.tables.FontNames[index] = FontIndexToName(index);
    }
}

}  // namespace movra
