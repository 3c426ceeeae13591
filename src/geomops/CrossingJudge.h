#pragma once
// The crossing judge of the cutting operations: whether a drawn cutting line really crosses one
// segment or one circle of a record, which end lies beyond the cut, and the preview of the piece
// that cutting would remove.
#include <cstdint>

namespace movra {

struct App;

// The results of 交叉点.
enum CrossingResult : std::uint8_t {
    CrossingOutside = 0,  // the crossing lies off the cutting line or off the segment, or a preview
    CrossingTowardB1 = 1,  // the piece from the crossing to B1 lies beyond the cut; a cut circle
    CrossingTowardB2 = 2,  // the piece from the crossing to B2 does
    CrossingNone = 8,      // parallel lines, or a circle the line does not reach
};

// Judges the cutting line A1 (ScratchXY 2, 3) -> A2 (4, 5), of length element 10 and azimuths
// element 11 (A1 -> A2) and 12 (A2 -> A1), against the segment B1 (6, 7) - B2 (8, 9), or, when
// element 9 is exactly -1, the circle about (6, 7) of radius element 8.
//
// Segment: the crossing of the two lines goes into elements 0, 1; it counts when it lies on both
// within 0.1 (the two distance sums to its ends exceed the lengths by at most 0.1). A counted
// crossing is marked red on the canvas and the piece beyond the cut, the one on the right of
// A1 -> A2, is drawn from it in palette colour 7: the result tells which end that piece reaches.
//
// Circle: the canvas angles (counter-clockwise from +x) of the two points where the infinite
// cutting line meets the circle go into elements 0 and 1, element 0 the one towards A2; the arc
// from element 0 counter-clockwise to element 1, the part of the circle left of A1 -> A2, is drawn
// in palette colour 7, and the result is 1. A line within 0.1 of missing the circle gives 8.
//
// `flag` is the caller's cut mode: 0 previews, so every result but 8 becomes 0. Never fails: a
// ScratchXY shorter than 13 elements gives 8 and draws nothing.
std::uint8_t 交叉点(App& app, std::uint8_t flag);

}  // namespace movra
