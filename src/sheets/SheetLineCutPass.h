#pragma once
// Shared by the sources of the sheet-line cut only: the pass over one layer and the cutters that
// its dispatch calls by record type.
#include <array>
#include <vector>

#include "App.h"
#include "sheets/SheetLineCut.h"

namespace movra::sheet_cut_detail {

// The cut of the layers along the line that ScratchXY holds, one layer at a time.
//
// The pass visits the records of a layer in order, each piece a split makes right after the record
// it came from and before the records that followed it, so that a piece crossed again is cut
// again. Opening slots in the store for every split would move the rest of the layer each time;
// instead, from the first record that changes on, the pass lays the layer out anew and puts it back
// into the store once, at the end of the layer. Only the records it changes or makes are laid out in
// a list of its own; the store's records that stay as they are (nearly all of them, a line crossing
// few records of a layer) are only noted, and move once, inside the store, when the layer goes back.
class CutPass {
public:
    CutPass(App& app, const CutLineBox& box) : app(app), box(box) {}

    App& app;
    const CutLineBox box;

    // Cuts every record of the layer. False when a split found no room that the layer could make
    // without being split itself; the records from there on stay whole.
    bool CutLayer(int layer);

    // What a cutter works on: the record being visited, to be changed in place.
    MapRecord& Current() { return current_; }
    // The record that follows the visited one in the layer as it now stands, or null at the end.
    const MapRecord* Next() const;

    // SegmentCrossing, besides refusing a segment that ends at a crossing this cut made: a piece
    // starts or ends there, and the crossing recomputed for its segment can fall a rounding step
    // inside it. Refusing it keeps the pass from cutting a piece again where it was made, so the
    // pass ends. On success the crossing is in Ix(), Iy().
    bool Crossing(double xa, double ya, double xb, double yb, bool boxTest = true);
    double Ix() const { return app.geometry.ScratchXY[0]; }
    double Iy() const { return app.geometry.ScratchXY[1]; }

    // Opens n fresh slots right after the visited record, in front of any opened before; Piece(1)
    // to Piece(n) are then those slots in order. False when the layer has no room.
    bool Open(int n);
    MapRecord& Piece(int k) { return opened_[static_cast<std::size_t>(k - 1)]; }
    // Takes the visited record out of the layer; the records after it close up.
    void Remove();
    // Puts records behind the last record of the layer, where this pass reaches them too. False
    // when the layer has no room.
    template <std::size_t N>
    bool Append(std::array<MapRecord, N>& records) {
        if (!Room(static_cast<int>(N))) {
            outOfRoom_ = true;
            return false;
        }
        count_ += static_cast<int>(N);
        changed_ = true;
        for (MapRecord& r : records) tail_.push_back(std::move(r));
        return true;
    }

private:
    // Whether the layer holds n more records, growing the capacity as far as it can without
    // splitting the layer.
    bool Room(int n);
    bool MadeHere(double x, double y) const;
    // Whether the cutter of the store's record at source_ could change it: false only where every
    // test it makes would fail at the line's box, so that the record may go past the cutter as a
    // record no line cuts does, without being taken out of the store.
    bool MayCut(const MapRecord& record) const;
    // Takes the next record to visit into current_; false at the end of the layer.
    bool TakeNext();
    // Ends the visit of current_: it goes to the new layout unless it was removed, and the slots
    // opened after it come up next.
    void Settle();
    // The slot the next record laid out takes.
    std::int32_t LaidOut() const {
        return rebuiltFrom_ + static_cast<std::int32_t>(layout_.size()) + keptCount_;
    }
    // Lays out the store's record at source_ - 1 as it stands: it stays in the store until the
    // layer goes back.
    void Keep() {
        kept_.push_back(true);
        ++keptCount_;
    }
    // Notes where the store's records end in the new layout, once.
    void EndOfSource();
    // Puts the new layout, and whatever the pass did not reach behind it, into the store.
    void PutBack();

    int layer_ = 0;
    int oldCount_ = 0;
    int count_ = 0;              // the layer's record count as the splits so far make it
    int source_ = 0;             // the next record of the store's layer to visit
    int rebuiltFrom_ = -1;       // the first slot laid out anew, -1 while nothing changed
    MapRecord current_{};
    int currentSource_ = -1;     // the store slot current_ came from, or -1 for a piece
    bool changed_ = false;       // the visit opened slots or removed the record
    bool removed_ = false;
    bool outOfRoom_ = false;     // a split found no room; the pass stops
    bool sourceEnded_ = false;
    std::vector<MapRecord> opened_;   // the slots opened in this visit, in order
    std::vector<MapRecord> ahead_;    // pieces still to visit, the next one last
    std::vector<MapRecord> tail_;     // records appended behind the layer
    std::size_t tailNext_ = 0;
    std::vector<MapRecord> layout_;   // the records laid out from rebuiltFrom_ on, but the kept ones
    std::vector<std::int32_t> newStart_;  // where each store record from rebuiltFrom_ on begins
    std::vector<bool> kept_;          // whether each store record from rebuiltFrom_ on stays as it is
    std::int32_t keptCount_ = 0;

    // The latest crossings made, enough for every piece a visit can leave in the slots after it.
    std::array<CutVertex, 16> made_{};
    int madeCount_ = 0;
};

// A cutter cuts the visited record, through the pass.
using Cutter = void (*)(CutPass& pass);

void CutLineRecord(CutPass& pass);        // 2-5, 42-45, 72-75, 99, 6
void CutCircle(CutPass& pass);            // 7
void CutArc(CutPass& pass);               // 8
void CutEllipse(CutPass& pass);           // 9
void CutLineTypeSegment(CutPass& pass);   // 12
void CutSegmentRecord(CutPass& pass);     // 201, 211
void CutCross(CutPass& pass);             // 52
void CutTicks(CutPass& pass);             // 80, 85, 87

// A circle's or an arc's box: the radius X2 in both directions.
bool CircleReachesLine(const CutLineBox& box, const MapRecord& r);
// An ellipse's box: the longer semi-axis in both directions, so that it holds the ellipse however
// it is turned.
bool EllipseReachesLine(const CutLineBox& box, const MapRecord& r);

// A new piece made from a record: every field of it, to be given its own type and vertices.
inline MapRecord PieceOf(const MapRecord& record) { return record; }

}  // namespace movra::sheet_cut_detail
