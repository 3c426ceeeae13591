// The frame of the sheet-line cut: preparation, the pass over the layers, the dispatch by record
// type and the test of one segment.
#include "sheets/SheetLineCut.h"

#include <algorithm>

#include "App.h"
#include "basic/Guards.h"
#include "document/Geometry.h"
#include "document/SlotEditing.h"
#include "document/StoreRecord.h"
#include "sheets/SheetLineCutPass.h"

namespace movra {

using namespace sheet_cut_detail;

namespace {

constexpr std::size_t ScratchElements = 13;

std::array<Cutter, 256> BuildCutters() {
    std::array<Cutter, 256> t{};
    for (int base : {0, 40, 70})
        for (int held = 2; held <= 5; ++held) t[base + held] = CutLineRecord;
    t[6] = CutLineRecord;
    t[99] = CutLineRecord;
    t[7] = CutCircle;
    t[8] = CutArc;
    t[9] = CutEllipse;
    t[12] = CutLineTypeSegment;
    t[201] = CutSegmentRecord;
    t[211] = CutSegmentRecord;
    t[52] = CutCross;
    t[80] = CutTicks;
    t[85] = CutTicks;
    t[87] = CutTicks;
    return t;
}

const std::array<Cutter, 256>& Cutters() {
    static const std::array<Cutter, 256> table = BuildCutters();
    return table;
}

bool StrictlyBetween(double v, double a, double b) { return std::min(a, b) < v && v < std::max(a, b); }

}  // namespace

namespace sheet_cut_detail {

bool CutPass::MadeHere(double x, double y) const {
    const int n = std::min(madeCount_, static_cast<int>(made_.size()));
    for (int k = 0; k < n; ++k)
        if (made_[k].x == x && made_[k].y == y) return true;
    return false;
}

bool CutPass::Crossing(double xa, double ya, double xb, double yb, bool boxTest) {
    if (madeCount_ > 0 && (MadeHere(xa, ya) || MadeHere(xb, yb))) return false;
    if (!SegmentCrossing(app, box, xa, ya, xb, yb, boxTest)) return false;
    made_[madeCount_ % made_.size()] = {Ix(), Iy(), 0};
    ++madeCount_;
    return true;
}

bool CutPass::Open(int slot, int n) {
    if (InsertSlotsInPlace(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot),
                           static_cast<std::int16_t>(n)))
        return true;
    outOfRoom = true;
    return false;
}

}  // namespace sheet_cut_detail

CutLineBox MakeCutLineBox(double x1, double y1, double x2, double y2) {
    CutLineBox box;
    box.maxX = static_cast<float>(std::max(x1, x2));
    box.minX = static_cast<float>(std::min(x1, x2));
    box.maxY = static_cast<float>(std::max(y1, y2));
    box.minY = static_cast<float>(std::min(y1, y2));
    return box;
}

bool SegmentCrossing(App& app, const CutLineBox& box, double xa, double ya, double xb, double yb, bool boxTest) {
    if (boxTest && !((xa > box.minX || xb > box.minX) && (xa < box.maxX || xb < box.maxX) &&
                     (ya > box.minY || yb > box.minY) && (ya < box.maxY || yb < box.maxY)))
        return false;
    std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < ScratchElements) s.resize(ScratchElements);
    s[6] = xa;
    s[7] = ya;
    s[8] = xb;
    s[9] = yb;
    if (!LineIntersect(app)) return false;
    return StrictlyBetween(s[0], xa, xb) || StrictlyBetween(s[1], ya, yb);
}

void CutFeaturesAlongLine(App& app, double x1, double y1, double x2, double y2) {
    GuardSilently([&] {
        std::vector<double>& s = app.geometry.ScratchXY;
        s.assign(ScratchElements, 0.0);
        s[2] = x1;
        s[3] = y1;
        s[4] = x2;
        s[5] = y2;
        s[10] = Dist(x1, y1, x2, y2);
        s[11] = Azimuth(x1, y1, x2, y2);
        s[12] = s[11] - Pi;
        if (s[12] < 0) s[12] += TwoPi;

        CutPass pass(app, MakeCutLineBox(x1, y1, x2, y2));
        bool roomMissed = false;
        const int layers = app.store.LayerCount;
        for (int layer = 1; layer <= layers; ++layer) {
            if (app.store.LayerOnFlag[layer] == 0 || app.store.Count(layer) < 1) continue;
            pass.layer = layer;
            pass.outOfRoom = false;
            // The bound follows the layer as it grows, so pieces pushed up and the chains of
            // ellipses are cut too.
            for (int slot = 0; slot <= app.store.Count(layer);) {
                const Cutter cut = Cutters()[app.store.Get(layer, slot).RecordType];
                int next = slot + 1;
                if (cut) GuardSilently([&] { next = cut(pass, slot); });
                if (pass.outOfRoom) break;  // the rest of the layer stays whole
                slot = next;
            }
            roomMissed = roomMissed || pass.outOfRoom;
        }
        if (roomMissed) app.platform.prompt().MsgBox(LayerFullWarning, MsgOkOnly);
    });
}

}  // namespace movra
