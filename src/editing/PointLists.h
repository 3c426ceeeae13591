#pragma once
// Point k of a list of x, y pairs (ScratchXY, WorkPolygon) as the clicking tools keep them.
#include <cstddef>
#include <vector>

#include "editing/ToolState.h"

namespace movra {

// Writes point k, growing the list to hold it.
inline void SetListPoint(std::vector<double>& list, int k, const CanvasXY& p) {
    const auto i = static_cast<std::size_t>(2 * k);
    if (list.size() < i + 2) list.resize(i + 2, 0.0);
    list[i] = p.x;
    list[i + 1] = p.y;
}

// Point k, or (0, 0) when the list does not hold it.
inline CanvasXY ListPoint(const std::vector<double>& list, int k) {
    const auto i = static_cast<std::size_t>(2 * k);
    return k >= 0 && i + 1 < list.size() ? CanvasXY{list[i], list[i + 1]} : CanvasXY{};
}

}  // namespace movra
