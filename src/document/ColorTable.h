#pragma once
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;

// The colour of a colour index: the eight basic colours, two greys, five ramps and six greys.
Rgb ColorIndexToRgb(std::uint8_t index);
// The name the colour selector shows: "赤1".."灰9" for 1..9, the decimal index otherwise.
std::string ColorIndexName(std::uint8_t index);

// Fills entries 0..254 of the palette, colour-name and font-name tables, one index at a time,
// letting pending window events run before each; entry 255 stays 0 and empty.
void FillColorAndFontTables(App& app);

}  // namespace movra
