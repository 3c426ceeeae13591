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

// The box test of a segment: it reaches strictly past the line's box on both sides, in x and in y.
bool ReachesAcross(const CutLineBox& box, double xa, double ya, double xb, double yb) {
    return (xa > box.minX || xb > box.minX) && (xa < box.maxX || xb < box.maxX) && (ya > box.minY || yb > box.minY) &&
           (ya < box.maxY || yb < box.maxY);
}

// Whether some vertex lies past each side of the line's box: a segment between two of them that
// the box test lets through has one end past the box's low and one past its high side in x, and
// so in y. Where this fails, no segment among them is cut.
class VertexReach {
public:
    explicit VertexReach(const CutLineBox& box) : box_(box) {}
    void Add(double x, double y) {
        pastMinX_ = pastMinX_ || x > box_.minX;
        belowMaxX_ = belowMaxX_ || x < box_.maxX;
        pastMinY_ = pastMinY_ || y > box_.minY;
        belowMaxY_ = belowMaxY_ || y < box_.maxY;
    }
    // Adds vertices 1..n of the record.
    void AddVertices(const MapRecord& r, int n) {
        Add(r.RecordX1, r.RecordY1);
        Add(r.RecordX2, r.RecordY2);
        if (n >= 3) Add(r.RecordX3, r.RecordY3);
        if (n >= 4) Add(r.RecordX4, r.RecordY4);
    }
    bool Reaches() const { return pastMinX_ && belowMaxX_ && pastMinY_ && belowMaxY_; }

private:
    const CutLineBox& box_;
    bool pastMinX_ = false, belowMaxX_ = false, pastMinY_ = false, belowMaxY_ = false;
};

}  // namespace

namespace sheet_cut_detail {

bool CutPass::MayCut(const MapRecord& record) const {
    const int type = record.RecordType;
    if (!Cutters()[static_cast<std::size_t>(type)]) return false;
    VertexReach reach(box);
    switch (type) {
        case 2: case 3: case 4: case 42: case 43: case 44: case 72: case 73: case 74:
            reach.AddVertices(record, type % 10);
            return reach.Reaches();
        case 6:
            reach.AddVertices(record, 4);
            return reach.Reaches();
        case 99: case 12: case 201: case 211:
            reach.AddVertices(record, 2);
            return reach.Reaches();
        case 5: case 45: case 75:
            // The chain's last segment runs to the first vertex of the record after it; at the end
            // of the store's layer that may be a record the pass appended, so the cutter decides.
            if (source_ + 1 >= oldCount_) return true;
            reach.AddVertices(record, 4);
            {
                const MapRecord& next = app.store.Get(layer_, source_ + 1);
                reach.Add(next.RecordX1, next.RecordY1);
            }
            return reach.Reaches();
        case 7: case 8:
            return CircleReachesLine(box, record);
        case 9:
            return EllipseReachesLine(box, record);
        default:
            // Crosses and ticks are tested against the whole line, not its box.
            return true;
    }
}

bool CutPass::MadeHere(double x, double y) const {
    const int n = std::min(madeCount_, static_cast<int>(made_.size()));
    for (int k = 0; k < n; ++k)
        if (made_[k].x == x && made_[k].y == y) return true;
    return false;
}

bool CutPass::Crossing(double xa, double ya, double xb, double yb, bool boxTest) {
    // Most segments of a layer lie off the line: the four comparisons come first.
    if (boxTest && !ReachesAcross(box, xa, ya, xb, yb)) return false;
    if (madeCount_ > 0 && (MadeHere(xa, ya) || MadeHere(xb, yb))) return false;
    if (!SegmentCrossing(app, box, xa, ya, xb, yb, false)) return false;
    made_[madeCount_ % made_.size()] = {Ix(), Iy(), 0};
    ++madeCount_;
    return true;
}

const MapRecord* CutPass::Next() const {
    if (!opened_.empty()) return &opened_.front();
    if (!ahead_.empty()) return &ahead_.back();
    if (source_ < oldCount_) return &app.store.Get(layer_, source_);
    if (tailNext_ < tail_.size()) return &tail_[tailNext_];
    return nullptr;
}

bool CutPass::Room(int n) {
    // As the store opens slots for a pass that walks a layer: the capacity grows, but never by the
    // step that would split the layer under the pass.
    auto& store = app.store;
    while (count_ + n > store.LayerCapacity) {
        const int before = store.LayerCapacity;
        if (before >= LayerSplittingCapacity) return false;
        GrowLayerCapacity(app);
        if (store.LayerCapacity <= before) return false;
    }
    return true;
}

bool CutPass::Open(int n) {
    if (n <= 0) return false;
    if (!Room(n)) {
        outOfRoom_ = true;
        return false;
    }
    MapRecord fresh;
    fresh.RecordColor = OpenedSlotColor;
    opened_.insert(opened_.begin(), static_cast<std::size_t>(n), fresh);
    count_ += n;
    changed_ = true;
    return true;
}

void CutPass::Remove() {
    removed_ = true;
    changed_ = true;
    --count_;
}

bool CutPass::TakeNext() {
    if (!ahead_.empty()) {
        current_ = std::move(ahead_.back());
        ahead_.pop_back();
        currentSource_ = -1;
        return true;
    }
    if (source_ < oldCount_) {
        if (rebuiltFrom_ >= 0) newStart_.push_back(LaidOut());
        currentSource_ = source_;
        current_ = app.store.Get(layer_, source_++);
        return true;
    }
    EndOfSource();
    if (tailNext_ < tail_.size()) {
        current_ = std::move(tail_[tailNext_++]);
        currentSource_ = -1;
        return true;
    }
    return false;
}

void CutPass::EndOfSource() {
    if (rebuiltFrom_ < 0 || sourceEnded_) return;
    newStart_.push_back(LaidOut());
    sourceEnded_ = true;
}

void CutPass::Settle() {
    if (changed_ && rebuiltFrom_ < 0) {
        // Only a record of the store can be the first to change: pieces and appended records
        // come after it.
        rebuiltFrom_ = currentSource_;
        // One entry for every store record from here on.
        const std::size_t rest = static_cast<std::size_t>(oldCount_ - rebuiltFrom_);
        newStart_.reserve(rest + 1);
        kept_.reserve(rest);
        newStart_.push_back(rebuiltFrom_);
    }
    if (rebuiltFrom_ < 0) return;
    if (currentSource_ >= 0 && !changed_) {
        Keep();  // the store still holds it as it is
    } else {
        if (currentSource_ >= 0) kept_.push_back(false);
        if (!removed_) layout_.push_back(std::move(current_));
    }
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it) ahead_.push_back(std::move(*it));
    opened_.clear();
}

void CutPass::PutBack() {
    if (rebuiltFrom_ < 0) return;
    // Whatever the pass did not reach keeps its order behind what it laid out.
    while (!ahead_.empty()) {
        layout_.push_back(std::move(ahead_.back()));
        ahead_.pop_back();
    }
    for (; source_ < oldCount_; ++source_) {
        newStart_.push_back(LaidOut());
        Keep();
    }
    EndOfSource();
    for (; tailNext_ < tail_.size(); ++tailNext_) layout_.push_back(std::move(tail_[tailNext_]));
    RearrangeLayerFrom(app, static_cast<std::uint8_t>(layer_), rebuiltFrom_, layout_, newStart_, kept_);
}

bool CutPass::CutLayer(int layer) {
    layer_ = layer;
    oldCount_ = count_ = app.store.Count(layer);
    source_ = 0;
    rebuiltFrom_ = -1;
    sourceEnded_ = false;
    outOfRoom_ = false;
    ahead_.clear();
    tail_.clear();
    tailNext_ = 0;
    layout_.clear();
    newStart_.clear();
    kept_.clear();
    keptCount_ = 0;
    const std::array<Cutter, 256>& cutters = Cutters();
    // Whatever happens inside, what was laid out goes back into the store.
    GuardSilently([&] {
        for (;;) {
            // Records this line cannot cut go through as they are.
            if (ahead_.empty() && source_ < oldCount_ && !MayCut(app.store.Get(layer_, source_))) {
                if (rebuiltFrom_ >= 0) {
                    newStart_.push_back(LaidOut());
                    Keep();
                }
                ++source_;
                continue;
            }
            if (!TakeNext()) break;
            changed_ = removed_ = false;
            opened_.clear();
            if (const Cutter cut = cutters[current_.RecordType]) GuardSilently([&] { cut(*this); });
            Settle();
            if (outOfRoom_) break;  // the rest of the layer stays whole
        }
    });
    PutBack();
    return !outOfRoom_;
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
    if (boxTest && !ReachesAcross(box, xa, ya, xb, yb)) return false;
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
            // The pass follows the layer as it grows, so pieces pushed up and the chains of
            // ellipses are cut too.
            if (!pass.CutLayer(layer)) roomMissed = true;
        }
        if (roomMissed) app.platform.prompt().MsgBox(LayerFullWarning, MsgOkOnly);
    });
}

}  // namespace movra
