#include "display/Pens.h"

#include "platform/Surface.h"

namespace movra {

PenSetting PenCodeSetting(std::uint8_t pen) {
    if (pen < 7) return {1, pen};
    return {pen - 6, DrawStyleSolid};
}

void ApplyPenRule(Surface& canvas, std::uint8_t pen, std::uint8_t& penCache) {
    if (pen == penCache) return;
    const PenSetting setting = PenCodeSetting(pen);
    canvas.SetDrawWidth(setting.width);
    canvas.SetDrawStyle(setting.style);
    penCache = pen;
}

void StartFromDefinedPen(Surface& canvas, std::uint8_t& penCache) {
    const PenSetting setting = PenCodeSetting(0);
    canvas.SetDrawWidth(setting.width);
    canvas.SetDrawStyle(setting.style);
    penCache = 0;
}

}  // namespace movra
