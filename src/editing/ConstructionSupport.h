#pragma once
// What the measuring, vertex and construction tools share: the snapping switch they turn as
// their steps go, the entry box for typed distances, and the working point list.
#include <cstddef>

namespace movra {

struct App;

// Snapping on or off as these tools turn it: the flag, and Label3 reading "捕捉" on palette
// entry 7 or "不捕捉" on entry 8.
void SwitchSnapping(App& app, bool on);

// The distance typed into Text5: the number at the start of the trimmed text, 0 when it is empty
// or no number (the distance is then measured with the mouse).
double TypedDistance(const App& app);

// Empties Text5, the box a distance is typed into once the base of a construction stands, and
// brings it in front of the controls that share its place (or sends it behind them).
void ClearTypedDistance(App& app, bool front);

// ScratchXY with `size` elements, all 0 (a tool's first click starts a fresh list).
void FreshScratch(App& app, std::size_t size);

}  // namespace movra
