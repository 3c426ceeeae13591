// Splitting the records made of straight segments that are not line chains: line-type segments,
// the two-vertex records 201 and 211, crosses, tick records and symbol rows.
#include <cmath>

#include "App.h"
#include "sheets/SheetLineCut.h"
#include "sheets/SheetLineCutPass.h"

namespace movra {

namespace {

constexpr int CrossPieceType = 2;
constexpr int FallingTicksType = 85;

double& X(MapRecord& r, int k) { return k == 1 ? r.RecordX1 : k == 2 ? r.RecordX2 : k == 3 ? r.RecordX3 : r.RecordX4; }
double& Y(MapRecord& r, int k) { return k == 1 ? r.RecordY1 : k == 2 ? r.RecordY2 : k == 3 ? r.RecordY3 : r.RecordY4; }
float& Z(MapRecord& r, int k) { return k == 1 ? r.RecordZ1 : k == 2 ? r.RecordZ2 : k == 3 ? r.RecordZ3 : r.RecordZ4; }

// The piece starts at the crossing (height 0).
void StartAt(MapRecord& piece, double ix, double iy) {
    piece.RecordX1 = ix;
    piece.RecordY1 = iy;
    piece.RecordZ1 = 0;
}

// The stored run of a line-type segment: its length and unit direction in X3, Y3, X4 (Y4 0).
void SetRun(App& app, MapRecord& r) {
    LineDirectionUnit(app, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
    const auto& u = app.sheetCut.UnitDirection;
    r.RecordX3 = u[0];
    r.RecordY3 = u[1];
    r.RecordX4 = u[2];
    r.RecordY4 = u[3];
}

}  // namespace

void LineDirectionUnit(App& app, double x1, double y1, double x2, double y2) {
    auto& u = app.sheetCut.UnitDirection;
    u = {};
    // A map without a scale keeps the scale it is shown at.
    const double denominator = app.view.ProjectParams[0];
    if (denominator > 0) app.view.ScaleFactor = denominator / 1000;
    const double length = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    u[0] = length;
    if (!(length > 0) || !std::isfinite(length)) return;
    u[1] = (x2 - x1) / length;
    u[2] = (y2 - y1) / length;
}

namespace sheet_cut_detail {

void CutLineTypeSegment(CutPass& pass) {
    const MapRecord record = pass.Current();
    if (!pass.Crossing(record.RecordX1, record.RecordY1, record.RecordX2, record.RecordY2)) return;
    const double ix = pass.Ix(), iy = pass.Iy();
    if (!pass.Open(1)) return;
    MapRecord piece = PieceOf(record);
    StartAt(piece, ix, iy);
    SetRun(pass.app, piece);
    pass.Piece(1) = std::move(piece);
    MapRecord& cut = pass.Current();
    cut.RecordX2 = ix;
    cut.RecordY2 = iy;
    SetRun(pass.app, cut);
}

void CutSegmentRecord(CutPass& pass) {
    const MapRecord record = pass.Current();
    if (!pass.Crossing(record.RecordX1, record.RecordY1, record.RecordX2, record.RecordY2)) return;
    const double ix = pass.Ix(), iy = pass.Iy();
    if (!pass.Open(1)) return;
    MapRecord piece = PieceOf(record);
    StartAt(piece, ix, iy);
    pass.Piece(1) = std::move(piece);
    MapRecord& cut = pass.Current();
    cut.RecordX2 = ix;
    cut.RecordY2 = iy;
}

// Both segments, P1-P2 then P3-P4; each cut segment ends at the crossing and its far part becomes a
// pen line in the slot after the record, so the piece of the later cut comes first.
void CutCross(CutPass& pass) {
    for (int k : {1, 3}) {
        const MapRecord record = pass.Current();
        MapRecord r = record;
        if (!pass.Crossing(X(r, k), Y(r, k), X(r, k + 1), Y(r, k + 1), false)) continue;
        const double ix = pass.Ix(), iy = pass.Iy();
        if (!pass.Open(1)) return;
        MapRecord piece = PieceOf(record);
        piece.RecordType = CrossPieceType;
        StartAt(piece, ix, iy);
        piece.RecordX2 = X(r, k + 1);
        piece.RecordY2 = Y(r, k + 1);
        piece.RecordZ2 = Z(r, k + 1);
        piece.RecordX3 = piece.RecordY3 = piece.RecordX4 = piece.RecordY4 = 0;
        piece.RecordZ3 = piece.RecordZ4 = 0;
        pass.Piece(1) = std::move(piece);
        MapRecord& cut = pass.Current();
        X(cut, k + 1) = ix;
        Y(cut, k + 1) = iy;
    }
}

// Tick k runs from (Xk, Yk) by Zk in x and by Zk (falling ticks: -Zk) in y. A cut tick ends at the
// crossing and its far part becomes a one-tick record in the slot after the record.
void CutTicks(CutPass& pass) {
    for (int k = 1; k <= 4; ++k) {
        const MapRecord record = pass.Current();
        MapRecord r = record;
        const double x = X(r, k), y = Y(r, k), z = Z(r, k);
        if (k >= 2 && x == 0 && y == 0) break;  // the end of the tick list
        const double dy = record.RecordType == FallingTicksType ? -z : z;
        if (!pass.Crossing(x, y, x + z, y + dy, false)) continue;
        const double ix = pass.Ix(), iy = pass.Iy();
        if (!pass.Open(1)) return;
        // The part of the tick before the crossing, signed as the tick runs.
        const double before = ix - x;
        MapRecord piece = PieceOf(record);
        piece.RecordX2 = piece.RecordY2 = piece.RecordX3 = piece.RecordY3 = piece.RecordX4 = piece.RecordY4 = 0;
        piece.RecordZ2 = piece.RecordZ3 = piece.RecordZ4 = 0;
        piece.RecordX1 = ix;
        piece.RecordY1 = iy;
        piece.RecordZ1 = static_cast<float>(z - before);
        pass.Piece(1) = std::move(piece);
        Z(pass.Current(), k) = static_cast<float>(before);
    }
}

}  // namespace sheet_cut_detail

}  // namespace movra
