#pragma once
#include "document/MapRecord.h"
#include "platform/Color.h"

namespace movra {

class Surface;

// The elements a self-made symbol is made of, the record types 1 to 8: 1 the last vertex of a
// chain, 2 to 4 lines of 2 to 4 vertices, 5 four vertices continued by the next record, 6 a
// closed quadrilateral, 7 a circle, 8 an arc. Authoring reduces them to millimetres about the box
// centre, insertion and its preview place them on the map.

bool IsSymbolElementType(int type);

// Empties a layer-0 slot of the symbol areas: type, colour, the twelve coordinates, pen and text.
// The font, the attribute string and the merged-file tag are the caller's.
void ClearSymbolSlot(MapRecord& slot);

// Where an element goes: every vertex v becomes origin + (v - shift) * multiplier / divisor, and a
// radius r becomes r * multiplier / divisor (the shift taken first and the divisor last, so that
// the box centre's millimetres come out exact).
struct ElementPlacement {
    double originX = 0, originY = 0;
    double shiftX = 0, shiftY = 0;
    double multiplier = 1;
    double divisor = 1;
};

// Writes the type and the placed geometry of `element` into `target`: the vertices the type
// uses, and for circles and arcs the centre, the radius, the aspect and (arcs) the angles.
// Nothing else of `target` is written.
void PlaceSymbolElement(const MapRecord& element, MapRecord& target, const ElementPlacement& placement);

// Draws `element` placed as above in the surface's current pen and draw mode: the lines of its
// vertices (closed for types 5 and 6), its circle or its arc. Type 1 draws nothing.
void DrawSymbolElement(Surface& surface, const MapRecord& element, const ElementPlacement& placement, Rgb color);

}  // namespace movra
