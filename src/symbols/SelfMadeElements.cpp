#include "symbols/SelfMadeElements.h"

#include "document/RecordTypes.h"
#include "document/RecordVertices.h"
#include "platform/Surface.h"

namespace movra {

namespace {

// The vertices an element of this type uses: 1 for a chain end and for the centre of circles and
// arcs, else its own number of vertices.
int VertexCount(int type) {
    if (type == TypePenLineEnd || type == TypeCircle || type == TypeArc) return 1;
    return type >= 4 ? 4 : type;
}

}  // namespace

bool IsSymbolElementType(int type) { return type >= TypePenLineEnd && type <= TypeArc; }

void ClearSymbolSlot(MapRecord& m) {
    m.RecordType = 0;
    m.RecordColor = 0;
    m.RecordX1 = m.RecordY1 = m.RecordX2 = m.RecordY2 = 0;
    m.RecordX3 = m.RecordY3 = m.RecordX4 = m.RecordY4 = 0;
    m.RecordZ1 = m.RecordZ2 = m.RecordZ3 = m.RecordZ4 = 0;
    m.RecordPen = 0;
    m.RecordText = "";
}

void PlaceSymbolElement(const MapRecord& element, MapRecord& target, const ElementPlacement& p) {
    const int type = element.RecordType;
    target.RecordType = element.RecordType;
    for (int k = 1; k <= VertexCount(type); ++k) {
        const VertexXY v = VertexPoint(element, k);
        SetVertexPoint(target, k,
                  {p.originX + (v.x - p.shiftX) * p.multiplier / p.divisor,
                   p.originY + (v.y - p.shiftY) * p.multiplier / p.divisor});
    }
    if (type == TypeCircle || type == TypeArc) {
        target.RecordX2 = element.RecordX2 * p.multiplier / p.divisor;
        target.RecordY2 = element.RecordY2;
    }
    if (type == TypeArc) {
        target.RecordX3 = element.RecordX3;
        target.RecordY3 = element.RecordY3;
    }
}

void DrawSymbolElement(Surface& surface, const MapRecord& element, const ElementPlacement& placement, Rgb color) {
    const int type = element.RecordType;
    if (!IsSymbolElementType(type) || type == TypePenLineEnd) return;
    MapRecord placed;
    PlaceSymbolElement(element, placed, placement);
    if (type == TypeCircle || type == TypeArc) {
        surface.Circle(placed.RecordX1, placed.RecordY1, placed.RecordX2, color, type == TypeArc, placed.RecordX3,
                       placed.RecordY3, placed.RecordY2);
        return;
    }
    const int last = VertexCount(type);
    for (int k = 1; k < last; ++k) {
        const VertexXY a = VertexPoint(placed, k), b = VertexPoint(placed, k + 1);
        surface.Line(a.x, a.y, b.x, b.y, color);
    }
    if (type == TypePenLineChain || type == TypeQuad) {
        const VertexXY a = VertexPoint(placed, last), b = VertexPoint(placed, 1);
        surface.Line(a.x, a.y, b.x, b.y, color);
    }
}

}  // namespace movra
