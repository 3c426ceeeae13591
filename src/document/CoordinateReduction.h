#pragma once
// Survey coordinates are millions of metres east and north, while the drawing surface works best
// with small numbers: the reduction moves the map to a round false origin near its coordinates.

namespace movra {

struct App;

// The false origin in force. Stored coordinates plus it are the map's true coordinates: what every
// file that leaves the program and every label of survey coordinates carries.
struct FalseOrigin {
    double x = 0;
    double y = 0;
    double TrueX(double stored) const { return stored + x; }
    double TrueY(double stored) const { return stored + y; }
};
FalseOrigin FalseOriginOf(const App& app);

// Moves every record whose first vertex lies in the large range (100,000 or more on either axis)
// to a false origin, a multiple of ReductionUnit: the minimum of the open layers' first vertices
// rounded down to the unit where that reaches the unit, the maximum rounded down otherwise.
// A map already reduced keeps its origin: new records that lie at or beyond it are moved by it,
// so that the whole map shares one origin. Only the position vertices of each record move (its
// sizes and directions do not); a deleted record moves as the record it was. Writes the drawing
// extent of the open layers (reduced), ReductionWorkX/Y and ReductionOffsetX/Y, and resets the
// undo journal when records moved, since its steps hold the coordinates of before: the reduced
// map becomes the journal's base, as an opened map does. A move marks the map modified.
// Layer 0 is never touched. A run-time error is shown in a message box (description as text,
// number as title); records already moved stay moved and the offsets keep their values.
void ReduceCoordinates(App& app);

}  // namespace movra
