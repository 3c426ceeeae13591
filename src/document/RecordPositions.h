#pragma once
// Which vertices of a record are positions on the map (the others hold sizes, directions or
// counts), by record type. Moving, reducing and measuring a map visit these and no others.

#include <functional>

#include "document/MapRecord.h"

namespace movra {

enum class Positions { First, FirstTwo, FirstThree, All, FirstAndFourth, Ticks };

// A deleted record (type + 100) answers as the record it was, so that an undo brings back a
// record moved as a whole.
Positions PositionsOf(int type);

// Calls `visit` with each position vertex of the record, in vertex order. Tick records list
// their further ticks up to the first that starts exactly at (0, 0).
void ForEachPosition(MapRecord& record, const std::function<void(double& x, double& y)>& visit);
void ForEachPosition(const MapRecord& record, const std::function<void(double x, double y)>& visit);

}  // namespace movra
