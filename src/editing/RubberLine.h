#pragma once
// The rubber line: the straight preview from the press point to the cursor that the line tools and
// several editing tools show while they wait for their next click.

namespace movra {

struct App;

// Hover with a click taken: erases the line shown last (drawn again in the inverting mode) and
// draws the line from PressPoint to (x, y) in CurrentColor; the cursor becomes RubberPoint.
// Fits the rubber hook of a tool family.
void DrawRubberLine(App& app, double x, double y);

// Takes the rubber line shown last off the canvas (drawn again in the inverting mode).
void EraseRubberLine(App& app);

// For the tools whose rubber lines stay as the edges clicked so far (rings, blocks): the map is
// drawn again, without them.
void EraseRubberEdges(App& app);

}  // namespace movra
