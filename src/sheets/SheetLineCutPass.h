#pragma once
// Shared by the sources of the sheet-line cut only: the pass over one layer and the cutters that
// its dispatch calls by record type.
#include <array>

#include "App.h"
#include "sheets/SheetLineCut.h"

namespace movra::sheet_cut_detail {

// The cut of one layer along the line that ScratchXY holds.
class CutPass {
public:
    CutPass(App& app, const CutLineBox& box) : app(app), box(box) {}

    App& app;
    const CutLineBox box;
    int layer = 0;
    // Set when a split found no room that the layer could make without being split itself.
    bool outOfRoom = false;

    MapRecord& At(int slot) { return app.store.At(layer, slot); }
    int Count() const { return app.store.Count(layer); }

    // SegmentCrossing, besides refusing a segment that ends at a crossing this cut made: a piece
    // starts or ends there, and the crossing recomputed for its segment can fall a rounding step
    // inside it. Refusing it keeps the pass from cutting a piece again where it was made, so the
    // pass ends. On success the crossing is in Ix(), Iy().
    bool Crossing(double xa, double ya, double xb, double yb, bool boxTest = true);
    double Ix() const { return app.geometry.ScratchXY[0]; }
    double Iy() const { return app.geometry.ScratchXY[1]; }

    // Opens n slots at `slot` (records from there on move up); false, and outOfRoom, when the
    // layer has no room.
    bool Open(int slot, int n);

private:
    bool MadeHere(double x, double y) const;
    // The latest crossings made, enough for every piece a visit can leave in the slots after it.
    std::array<CutVertex, 16> made_{};
    int madeCount_ = 0;
};

// A cutter cuts the record in `slot` and returns the slot that the pass visits next: the one after
// it (the first piece, when it was cut), or its own slot when the record after it moved into it.
using Cutter = int (*)(CutPass& pass, int slot);

int CutLineRecord(CutPass& pass, int slot);        // 2-5, 42-45, 72-75, 99, 6
int CutCircle(CutPass& pass, int slot);            // 7
int CutArc(CutPass& pass, int slot);               // 8
int CutEllipse(CutPass& pass, int slot);           // 9
int CutLineTypeSegment(CutPass& pass, int slot);   // 12
int CutSegmentRecord(CutPass& pass, int slot);     // 201, 211
int CutCross(CutPass& pass, int slot);             // 52
int CutTicks(CutPass& pass, int slot);             // 80, 85, 87

// A new piece made from a record: every field of it, to be given its own type and vertices.
inline MapRecord PieceOf(const MapRecord& record) { return record; }

}  // namespace movra::sheet_cut_detail
