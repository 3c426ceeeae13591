#pragma once
#include <array>
#include <cstdint>

#include "document/MapRecord.h"

namespace movra {

struct App;

// The records of the pen-line chain that traces an ellipse record (type 9): 37 vertices around it,
// four to a record, nine records of type 5 going on to one of type 1 that closes the ring on the
// first vertex. They take the ellipse's colour, pen and merged-file tag and trace the ellipse as
// the renderer draws it.
constexpr int EllipseChainRecords = 10;
std::array<MapRecord, EllipseChainRecords> EllipseChain(const MapRecord& ellipse);

// Appends to the end of the layer the pen-line chain that traces the ellipse (type 9) in the slot:
// 37 vertices around it, four to a record, nine records of type 5 going on to one of type 1 that
// closes the ring on the first vertex. The chain takes the ellipse's colour, pen and merged-file
// tag and traces the ellipse as the renderer draws it; the ellipse itself stays. Returns whether
// the chain was written: not for another type, nor when only splitting the current layer could
// make room. Ends silently on any error.
bool EllipseToPolyline(App& app, std::uint8_t layer, std::int16_t slot);

}  // namespace movra
