#pragma once
// What the type byte and the pen byte of a map record mean: the one table of type codes the
// renderers, the tools and the file readers name records by.
#include <cstdint>
#include <initializer_list>

namespace movra {

// The record type byte. Codes the table does not name are never drawn.
enum RecordTypeCode : std::uint8_t {
    TypeEmpty = 0,
    TypePenLineEnd = 1,       // closing vertex of a pen-line chain (reached from the record before)
    TypePenLine2 = 2,         // pen line of 2, 3, 4 vertices; 5 goes on to the next slot
    TypePenLine3 = 3,
    TypePenLine4 = 4,
    TypePenLineChain = 5,
    TypeQuad = 6,             // closed quadrilateral P1-P2-P3-P4-P1
    TypeCircle = 7,           // centre P1, radius X2, aspect Y2
    TypeArc = 8,              // as 7, start angle X3, end angle Y3
    TypeRotatedEllipse = 9,   // centre P1, semi-axes X2 and Y2, azimuth X3
    TypeFilledBand = 10,      // RenderRecord
    TypeSolidFillHead = 11,   // Z4 = slots of the boundary chain after the head
    TypeLineTypeSegment = 12, // P1-P2 with the stored run: X3 length, (Y3, X4) unit direction
    TypePatternFillHead = 13,
    TypeShadedTube = 14,      // RenderRecord3
    TypePointSymbol = 15,     // P1, symbol code in RecordText, direction (X2, Y2)
    TypeLandUse1 = 16,        // paddy field .. grassland: 16 to 19
    TypeLandUse2 = 17,
    TypeLandUse3 = 18,
    TypeLandUse4 = 19,
    TypeParcelEdgeSolid = 21,
    TypeParcelEdgeDotted = 22,
    TypeParcelEdgeDashed = 23,
    TypeText = 25,
    TypeFillBoundaryEnd = 26,  // 26 to 30: boundary chain of a fill head, drawn by the fill
    TypeFillBoundaryChain = 30,
    TypeParcelPoints1 = 31,    // 31 to 34: one to four parcel boundary points
    TypeParcelPoints4 = 34,
    TypeGridPaper = 36,        // RenderRecord2
    TypeLineTypeLineEnd = 41,
    TypeLineTypeLine2 = 42,    // 42 to 45: line-type lines, 45 goes on to the next slot
    TypeLineTypeLineChain = 45,
    TypeHeightPoints1 = 46,    // 46 to 49: one to four height points
    TypeHeightPoints4 = 49,
    TypeNamedSymbolPoint = 50,
    TypeSymbolPoint = 51,
    TypeCross = 52,            // P1-P2 and P3-P4
    TypeAttribute0 = 53,       // 53 to 57: attribute classes 0 to 4, not drawn
    TypeAttribute4 = 57,
    TypeLadderStrip = 58,      // DrawStripShape2
    TypeFanStrip = 59,         // DrawStripShape
    TypeTerrainPoint = 61,
    TypeTurnedTextWithPoint = 62,
    TypePixelText = 63,
    TypeItalicText = 64,
    TypeText65 = 65,
    TypeTurnedText = 66,
    TypeText67 = 67,
    TypeTurnedText68 = 68,
    TypeFramePlaceholder = 69,
    TypeImage = 70,            // RecordColor holds the image holder number, not a colour
    TypeWideLineEnd = 71,
    TypeWideLine2 = 72,        // 72 to 75: wide lines, 75 goes on to the next slot
    TypeWideLineChain = 75,
    TypeTicksRising = 80,      // Pk to (Xk + Zk, Yk + Zk)
    TypeTicksLevel = 81,       // Pk to (Xk + Zk, Yk)
    TypeTicksFalling = 85,     // Pk to (Xk + Zk, Yk - Zk), pen byte as the width
    TypeInkFill = 86,
    TypeSymbolRows = 87,       // DrawSymbolRow from each vertex
    TypeSpecialLineEnd = 91,
    TypeSpecialLine2 = 92,     // 92 to 95: special boundary lines, 95 goes on to the next slot
    TypeSpecialLineChain = 95,
    TypeErasingLine = 99,
};

// A record is deleted by adding this to its type; every code from it up is outside the drawn codes,
// so no renderer needs to test the mark on its own.
constexpr int DeletedTypeOffset = 100;
constexpr bool IsDeletedType(int type) { return type >= DeletedTypeOffset; }

// The families of line records: up to four vertices per record, base + vertex count as the type,
// base + 5 a full record whose line goes on from its P4 to P1 of the next slot of the layer.
enum ChainFamilyBase : int {
    PenLineBase = 0,
    FillBoundaryBase = 25,
    LineTypeLineBase = 40,
    WideLineBase = 70,
    SpecialLineBase = 90,
};

// The family base of a chained line type code, or -1 when the code belongs to no family.
constexpr int ChainFamilyOf(int type) {
    for (int base : {PenLineBase, FillBoundaryBase, LineTypeLineBase, WideLineBase, SpecialLineBase}) {
        if (type >= base + 1 && type <= base + 5) return base;
    }
    return -1;
}
// Vertices held by a record of a family (1 to 4; the chaining record holds 4).
constexpr int ChainVertexCount(int type) {
    const int base = ChainFamilyOf(type);
    if (base < 0) return 0;
    return type - base == 5 ? 4 : type - base;
}
// Whether the record's line goes on from its P4 to P1 of the next slot.
constexpr bool ContinuesToNextSlot(int type) {
    const int base = ChainFamilyOf(type);
    return base >= 0 && type == base + 5;
}

// Ticks of types 80, 81 and 85: a vertex P2..P4 that is exactly (0, 0) ends the record.
constexpr bool EndsTickRecord(int vertex, double x, double y) {
    return vertex >= 2 && x == 0 && y == 0;
}

}  // namespace movra
