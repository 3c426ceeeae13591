#pragma once
// A rubber line from a fixed point the tool knows (the last vertex clicked) to the cursor, which
// the tool can take away again at its next click before it draws what the click made: the shared
// rubber line starts at the press point, which the next press moves.

namespace movra {

struct App;

// Hover: erases the rubber shown last (drawn again in the inverting mode) and draws the one from
// (fromX, fromY) to (x, y) in CurrentColor. PreviewPoint and PreviewShown of the tool state keep
// where it is.
void DrawAnchoredRubber(App& app, double fromX, double fromY, double x, double y);

// Release: takes the rubber from (fromX, fromY) away, in the inverting mode whatever the canvas's
// mode is, when one is shown.
void EraseAnchoredRubber(App& app, double fromX, double fromY);

}  // namespace movra
