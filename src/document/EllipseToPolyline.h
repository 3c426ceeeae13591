#pragma once
#include <cstdint>

namespace movra {

struct App;

// Appends to the end of the layer the pen-line chain that traces the ellipse (type 9) in the slot:
// 37 vertices around it, four to a record, nine records of type 5 going on to one of type 1 that
// closes the ring on the first vertex. The chain takes the ellipse's colour, pen and merged-file
// tag and traces the ellipse as the renderer draws it; the ellipse itself stays. Returns whether
// the chain was written: not for another type, nor when only splitting the current layer could
// make room. Ends silently on any error.
bool EllipseToPolyline(App& app, std::uint8_t layer, std::int16_t slot);

}  // namespace movra
