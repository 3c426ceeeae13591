#pragma once
// The fill tools: a ring clicked point by point becomes fan strips or a patterned fill, and four
// clicked corners become a block of strips.

namespace movra {

struct App;

// Turns the closed point list in WorkPolygon (its last point the closing click) into fan-strip
// records (type 59) of CurrentLayer, one per pair of boundary edges, and draws each.
void AddCentroidPoints(App& app);

}  // namespace movra
