#pragma once
// Trimming the overshoot of a line beyond another: the line end that a short cutting line
// crosses moves back to the crossing.
#include <cstdint>

namespace movra {

struct App;

// Along P1 (x1, y1) -> P2 (x2, y2), over the layers 0..LayerCount that are on: a two-vertex
// line is trimmed at the end on the right of the line; the free ends of longer lines and chains
// (the last segment first, then the first at a chain's start) move to the crossing. Mode 0 marks
// every crossing and changes nothing; any other mode trims the first end found (lowest layer,
// then slot), journaled by UndoStepCut, and stops. Only a line that goes on (5, 45, 75, 95)
// makes the next record its continuation. Failures end it with a message box.
void CutLines(App& app, double x1, double y1, double x2, double y2, std::uint8_t mode);

}  // namespace movra
