#pragma once
// Symbol standards made in memory for the drawing tests, so that a test states only the symbols
// and line types it draws with.
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "symbols/SymbolStandard.h"

namespace movra {

// Tables dimensioned as a loaded standard holding nothing: every symbol without elements, every
// line type undefined.
inline void DimensionEmptyStandard(SymbolStandard& s) {
    s.SymbolX.Dimension(349, 9, 5);
    s.SymbolY.Dimension(349, 9, 5);
    s.SymbolElementCount.Dimension(349);
    for (int n = 0; n <= 349; ++n) s.SymbolElementCount.At(n) = -1;
    s.LineTypeWidth.Dimension(318, 1);
    s.LineTypePattern.Dimension(318, 17, 1);
    s.SymbolStandardLoaded = -1;
}

// Element e of symbol n: kind and its points (x, y) in paper millimetres. The symbol's last
// element index grows to e.
inline void SetSymbolElement(SymbolStandard& s, int n, int e, int kind,
                             std::initializer_list<std::pair<double, double>> points) {
    s.SymbolX.At(n, e, 0) = kind;
    s.SymbolY.At(n, e, 0) = static_cast<double>(points.size());
    int v = 1;
    for (auto [x, y] : points) {
        s.SymbolX.At(n, e, v) = x;
        s.SymbolY.At(n, e, v) = y;
        ++v;
    }
    if (s.SymbolElementCount.At(n) < e) s.SymbolElementCount.At(n) = static_cast<float>(e);
}

// Line type t with its elements (kind, value); the period is the sum of dashes and gaps, the
// 50 and 100 markers not counted.
inline void SetLineTypeElements(SymbolStandard& s, int t, int width,
                                std::initializer_list<std::pair<int, float>> elements) {
    s.LineTypeWidth.At(t, 0) = 1;
    s.LineTypeWidth.At(t, 1) = static_cast<std::uint8_t>(width);
    int i = 1;
    float period = 0;
    for (auto [kind, value] : elements) {
        s.LineTypePattern.At(t, i, 0) = static_cast<float>(kind);
        s.LineTypePattern.At(t, i, 1) = value;
        if ((kind == 6 || kind == 7) && value != 50 && value != 100) period += value;
        ++i;
    }
    s.LineTypePattern.At(t, 0, 0) = static_cast<float>(elements.size());
    s.LineTypePattern.At(t, 0, 1) = period;
}

}  // namespace movra
