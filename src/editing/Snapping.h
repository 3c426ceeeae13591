#pragma once

namespace movra {

struct App;

// The vertex search of hovering: the first vertex, by layer, slot and vertex number, that lies
// within GroundPerScreenMm of (x, y) in x and in y becomes SnapCandidate and SnapVertex. Nothing
// hit leaves both as they were. Searches the layers that are on and unlocked and hold a record,
// the live records of slots 0..count - 1; layer 0 only while a self-made symbol is being drawn.
// A failure is written into Text2.
void FindSnapVertex(App& app, double x, double y);

// The hover step with snapping on: erases the marker box of the last candidate, searches, draws
// the box at the candidate and shows the candidate in Text1 as any pointer position is shown
// there (CursorText).
void HoverSnap(App& app, double x, double y);

// Draws the marker box around SnapCandidate in the inverting pen: a second drawing erases it.
void DrawSnapMarker(App& app);

// Takes the marker box off the canvas when it is shown (SnapBoxDrawn -1).
void EraseSnapMarker(App& app);

// A press within 2 x GroundPerScreenMm of the candidate (strictly, in x and in y) takes it.
bool PressTakesCandidate(const App& app, double x, double y);
// A release within ScaleFactor + 1 of the candidate (strictly, in x and in y) takes it.
bool ReleaseTakesCandidate(const App& app, double x, double y);

}  // namespace movra
