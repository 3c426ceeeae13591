#include "document/RedrawSeams.h"

#include "display/HighlightRenderer.h"

namespace movra {

void HighlightRecordSeam(App& app, int layer, int slot, Rgb color) {
    if (layer < 0 || layer > 255 || slot < -32768 || slot > 32767) return;
    刷图元(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), color);
}

}  // namespace movra
