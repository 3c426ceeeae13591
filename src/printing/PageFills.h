#pragma once
// Hatched (type 11) and patterned (type 13) areas on the printed page, on the shared scan-line
// drawers: lines through PrintClippedSegment in LineColor, symbols in the head's own colour where
// they can reach into the cell.
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;

// The area whose head stands at (layer, slot), its boundary in the Int(RecordZ4) slots after it.
// An area prints on a page whose cell its boundary's box meets, also where none of its points
// lies in the cell. Each ends silently on a failure; what it printed stays.
//
// Horizontal lines 0.2 mm apart at the map's scale (a step that keeps its ground size at other
// print scales), from one step above the head's bottom up to its top, at width 3.
void PrintHatchFill(App& app, std::uint8_t layer, std::int16_t slot);
// Diagonal lines or rows of point symbols chosen by the number in the head's text, at the map's
// own sizes (ScaleFactor), at width 1. A pattern whose spacing is 0 prints nothing. Each row of
// symbols between two crossings is laid by the screen's own LaySymbolsAlongSegment on the page.
void PrintSymbolFill(App& app, std::uint8_t layer, std::int16_t slot);

}  // namespace movra
