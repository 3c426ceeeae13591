#pragma once
// The pen byte of a record and how it becomes the canvas pen.
#include <cstdint>

namespace movra {

class Surface;

// Width in pixels and line style (DrawStyleCode) that a pen code selects: below 7 a style at
// width 1, from 7 up a solid line of width code - 6.
struct PenSetting {
    int width = 1;
    int style = 0;
    bool operator==(const PenSetting&) const = default;
};
PenSetting PenCodeSetting(std::uint8_t pen);

// The pen rule of the renderers that keep a pen cache: nothing changes when `pen` is the code
// last applied; otherwise the draw width and then the draw style are set, and the cache keeps
// `pen`. Setting the width first matters: a broken style only shows at width 1.
void ApplyPenRule(Surface& canvas, std::uint8_t pen, std::uint8_t& penCache);

// A redraw starts from pen code 0 (width 1, solid), set on the canvas and in the cache, whatever
// pen a tool or the previous redraw left: the same map then looks the same at every redraw.
void StartFromDefinedPen(Surface& canvas, std::uint8_t& penCache);

// Type 85 reads its pen byte as the draw width itself, 0 meaning 1.
constexpr int TickRecordWidth(std::uint8_t pen) { return pen == 0 ? 1 : pen; }

// Wide lines (types 72 to 75) ignore their pen byte.
constexpr int WideLineWidth = 3;

}  // namespace movra
