// Splitting the line records: the pen, line-type and wide-line families, the erasing line and the
// closed quadrilateral.
#include <vector>

#include "App.h"
#include "sheets/SheetLineCut.h"
#include "sheets/SheetLineCutPass.h"

namespace movra {

namespace {

constexpr int QuadType = 6;
constexpr int ErasingLineType = 99;

enum class Continuation { None, NextRecord, Closed };

struct CutShape {
    int base = 0;
    int held = 0;           // vertices in the record
    int keptType = 0;       // a type every row keeps, or 0
    Continuation continuation = Continuation::None;
};

bool ShapeOf(int type, CutShape& shape) {
    if (type == QuadType) {
        shape = {0, 4, 0, Continuation::Closed};
        return true;
    }
    if (type == ErasingLineType) {
        shape = {0, 2, ErasingLineType, Continuation::None};
        return true;
    }
    for (int base : {0, 40, 70}) {
        const int n = type - base;
        if (n >= 2 && n <= 4) {
            shape = {base, n, 0, Continuation::None};
            return true;
        }
        if (n == 5) {
            shape = {base, 4, 0, Continuation::NextRecord};
            return true;
        }
    }
    return false;
}

CutVertex WithoutZ(CutVertex v) {
    v.z = 0;
    return v;
}

CutRow Row(int type, std::initializer_list<CutVertex> vertices) {
    CutRow row;
    row.type = type;
    int k = 0;
    for (const CutVertex& v : vertices) row.v[k++] = v;
    return row;
}

std::array<CutVertex, 4> VerticesOf(const MapRecord& r) {
    return {CutVertex{r.RecordX1, r.RecordY1, r.RecordZ1}, CutVertex{r.RecordX2, r.RecordY2, r.RecordZ2},
            CutVertex{r.RecordX3, r.RecordY3, r.RecordZ3}, CutVertex{r.RecordX4, r.RecordY4, r.RecordZ4}};
}

void SetVertices(MapRecord& r, const std::array<CutVertex, 4>& v) {
    r.RecordX1 = v[0].x; r.RecordY1 = v[0].y; r.RecordZ1 = v[0].z;
    r.RecordX2 = v[1].x; r.RecordY2 = v[1].y; r.RecordZ2 = v[1].z;
    r.RecordX3 = v[2].x; r.RecordY3 = v[2].y; r.RecordZ3 = v[2].z;
    r.RecordX4 = v[3].x; r.RecordY4 = v[3].y; r.RecordZ4 = v[3].z;
}

}  // namespace

std::vector<CutRow> SplitLineRows(int type, const std::array<CutVertex, 4>& p, const CutVertex& next,
                                  int segment, double ix, double iy) {
    CutShape shape;
    if (!ShapeOf(type, shape)) return {};
    const int segments = shape.continuation == Continuation::None ? shape.held - 1 : shape.held;
    if (segment < 1 || segment > segments) return {};
    const auto typeOf = [&](int vertices) { return shape.keptType ? shape.keptType : shape.base + vertices; };
    const CutVertex crossing{ix, iy, 0};
    // The vertex the line reaches after the record's own vertices.
    const CutVertex tail = shape.continuation == Continuation::Closed ? p[0] : next;

    std::vector<CutRow> rows;
    if (segment == shape.held) {
        // The segment out of the record: the record keeps its four vertices and the segment becomes
        // two lines of their own, meeting at the crossing.
        const bool closed = shape.continuation == Continuation::Closed;
        rows.push_back(Row(typeOf(4), {p[0], p[1], p[2], p[3]}));
        rows.push_back(Row(typeOf(2), {WithoutZ(p[3]), CutVertex{ix, iy, closed ? p[3].z : 0.0f}}));
        rows.push_back(Row(typeOf(2), {crossing, closed ? WithoutZ(tail) : tail}));
        return rows;
    }

    // The record ends at the crossing, which takes the place of the segment's far vertex (that
    // vertex's height stays).
    CutRow head;
    head.type = typeOf(segment + 1);
    for (int k = 0; k < segment; ++k) head.v[k] = p[k];
    head.v[segment] = {ix, iy, p[segment].z};
    rows.push_back(head);

    // The rest of the line from the crossing on.
    std::vector<CutVertex> rest{crossing};
    // A three-vertex line cut on its second segment hands its middle height to the piece.
    if (shape.held == 3 && shape.continuation == Continuation::None && segment == 2) rest[0].z = p[1].z;
    for (int k = segment; k < shape.held; ++k) rest.push_back(p[k]);
    if (shape.continuation != Continuation::None) rest.push_back(tail);
    if (rest.size() <= 4) {
        CutRow piece;
        piece.type = typeOf(static_cast<int>(rest.size()));
        for (std::size_t k = 0; k < rest.size(); ++k) piece.v[k] = rest[k];
        rows.push_back(piece);
        return rows;
    }
    // Five vertices: four that go on to the fifth in the next slot, which is the record that
    // continued the chain, or for a quadrilateral a one-vertex end back at its first vertex.
    rows.push_back(Row(shape.base + 5, {rest[0], rest[1], rest[2], rest[3]}));
    if (shape.continuation == Continuation::Closed) rows.push_back(Row(shape.base + 1, {WithoutZ(rest[4])}));
    return rows;
}

namespace sheet_cut_detail {

void CutLineRecord(CutPass& pass) {
    const MapRecord record = pass.Current();
    CutShape shape;
    if (!ShapeOf(record.RecordType, shape)) return;
    const std::array<CutVertex, 4> p = VerticesOf(record);
    // A chain whose next record is missing has no last segment to cut.
    const MapRecord* following = shape.continuation == Continuation::NextRecord ? pass.Next() : nullptr;
    const bool goesOn = following != nullptr;
    const CutVertex next = goesOn ? VerticesOf(*following)[0] : CutVertex{};
    int segments = shape.held - 1;
    if (shape.continuation == Continuation::Closed || goesOn) ++segments;

    for (int k = 1; k <= segments; ++k) {
        const CutVertex& a = p[k - 1];
        const CutVertex& b = k < shape.held ? p[k] : shape.continuation == Continuation::Closed ? p[0] : next;
        if (!pass.Crossing(a.x, a.y, b.x, b.y)) continue;
        const std::vector<CutRow> rows = SplitLineRows(record.RecordType, p, next, k, pass.Ix(), pass.Iy());
        if (rows.size() < 2 || !pass.Open(static_cast<int>(rows.size()) - 1)) return;
        MapRecord& cut = pass.Current();
        cut.RecordType = static_cast<std::uint8_t>(rows[0].type);
        SetVertices(cut, rows[0].v);
        for (std::size_t n = 1; n < rows.size(); ++n) {
            MapRecord piece = PieceOf(record);
            piece.RecordType = static_cast<std::uint8_t>(rows[n].type);
            SetVertices(piece, rows[n].v);
            pass.Piece(static_cast<int>(n)) = std::move(piece);
        }
        return;
    }
}

}  // namespace sheet_cut_detail

}  // namespace movra
