#pragma once
#include "platform/Color.h"

namespace movra {

// Colours derived by arithmetic always stay valid RGB values (0 to &HFFFFFF): each channel is
// worked on alone and held within 0..255, never carried into its neighbour.

// Every channel moved by `add` (negative darkens), held within 0..255.
Rgb ShadeColor(Rgb color, int add);

// The colour value plus `add`, taken on the packed value (red in the low byte, green in the next,
// blue in the third), as the highlights and the demonstration marker derive their second colour:
// black + 500 is red 244, green 1. A sum beyond white wraps round within the 24 bits, so the
// result stays a valid colour and still differs from a colour near white.
Rgb PackedColorSum(Rgb color, int add);

// A colour that stands out against `color`: its inverse, or black or white when the inverse would
// be too close to the colour itself (mid greys).
Rgb ContrastColor(Rgb color);

// Text that reads on `background`: black on a light colour, white on a dark one.
Rgb ReadableTextColor(Rgb background);

}  // namespace movra
