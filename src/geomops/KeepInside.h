#pragma once
// Keeping the pieces of a drawn line that lie inside the line work: between its first and second
// crossing with the lines of the layers that are on, its third and fourth, and so on.
namespace movra {

struct App;

// Stores, for the segment A (ScratchXY 2, 3) -> B (4, 5), one two-vertex line in CurrentLayer
// for each pair of crossings in order of x (then y): CurrentColor, CurrentPen, text
// CommandArgument, second text "0". A point where several segments of the line work meet is one
// crossing where the line passes through it and none where it only touches. Fill heads give no
// crossings. The layer grows for the pieces; where it cannot, they stop with the layer-full
// message. Overwrites ScratchXY 0, 1 and 6..9; other failures end it silently.
void AddInsidePieces(App& app);

}  // namespace movra
