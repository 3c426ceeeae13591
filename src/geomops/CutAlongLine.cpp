#include "geomops/CutAlongLine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "document/Geometry.h"
#include "document/RecordVertices.h"
#include "document/StoreRecord.h"
#include "geomops/CrossingJudge.h"

namespace movra {

namespace {

constexpr std::size_t CutScratch = 14;
// How far around the cutting line records are looked at, and how much further an arc's centre
// may lie (its crossings reach well beyond it).
constexpr double BoxMargin = 5;
constexpr double ArcCentreMargin = 50;
constexpr std::uint8_t CircleType = 7;
constexpr std::uint8_t ArcType = 8;
constexpr std::uint8_t QuadrilateralType = 6;

struct Box {
    double left, right, bottom, top;
    bool HoldsPoint(double x, double y, double margin) const {
        return x >= left - margin && x <= right + margin && y >= bottom - margin && y <= top + margin;
    }
};

// How a record handled as line work is built: its family base, the vertices it holds, and
// whether its line goes on to vertex 1 of the next slot (the chain link) or back to its own
// vertex 1 (the quadrilateral).
struct LineShape {
    int base = 0;
    int own = 0;
    bool link = false;
    bool closed = false;
};

// The line records cut here. Fill heads (11, 13) are not: their vertices are an area's box and
// their boundary chain follows them, so cutting one would orphan the boundary.
bool ShapeOf(std::uint8_t type, LineShape& shape) {
    if (type == QuadrilateralType) {
        shape = {0, 4, false, true};
        return true;
    }
    // A two-vertex line of the second family in all but its code: cut, it becomes one.
    if (type == 12) {
        shape = {40, 2, false, false};
        return true;
    }
    for (int base : {0, 40, 70, 90}) {
        const int k = type - base;
        if (k >= 2 && k <= 5) {
            shape = {base, std::min(k, 4), k == 5, false};
            return true;
        }
    }
    return false;
}

struct Vertex {
    double x = 0, y = 0;
    float z = 0;
    bool crossing = false;  // the crossing I, which takes its height from where it lands
};
using Chain = std::vector<Vertex>;

// The crossing found where a vertex lies: the same point but for the rounding of the crossing.
bool Coincide(double x, double y, const Vertex& v) {
    const double tolerance = 1e-10 * std::max({10.0, std::fabs(v.x), std::fabs(v.y)});
    return std::fabs(x - v.x) <= tolerance && std::fabs(y - v.y) <= tolerance;
}

// Vertex k (1 to 4) with its height.
Vertex VertexOf(const MapRecord& r, int k) {
    const VertexXY p = VertexPoint(r, k);
    return {p.x, p.y, VertexZ(r, k)};
}

// Writes the chain into the record's vertices 1..4 and empties the ones it does not use. The
// crossing keeps the height of the vertex it replaces in the crossed record (`keepZ`) and is at
// height 0 in a new one.
void WriteChain(MapRecord& r, const Chain& chain, bool keepZ) {
    double* xs[4] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
    double* ys[4] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
    float* zs[4] = {&r.RecordZ1, &r.RecordZ2, &r.RecordZ3, &r.RecordZ4};
    for (std::size_t k = 0; k < 4; ++k) {
        if (k < chain.size()) {
            *xs[k] = chain[k].x;
            *ys[k] = chain[k].y;
            if (!chain[k].crossing) *zs[k] = chain[k].z;
            else if (!keepZ) *zs[k] = 0;
        } else {
            *xs[k] = *ys[k] = 0;
            *zs[k] = 0;
        }
    }
}

// A new record carries the crossed record's colour, pen, text and source; nothing else of it.
MapRecord NewPiece(const MapRecord& crossed, std::uint8_t type) {
    MapRecord r;
    r.RecordType = type;
    r.RecordColor = crossed.RecordColor;
    r.RecordPen = crossed.RecordPen;
    r.RecordSource = crossed.RecordSource;
    r.RecordText = crossed.RecordText;
    return r;
}

class CutPass {
public:
    CutPass(App& app, std::uint8_t mode) : app_(app), mode_(mode) {}

    // False when the layer could not take the new pieces: the pass ends there.
    bool Run() {
        auto& store = app_.store;
        const std::vector<double>& s = app_.geometry.ScratchXY;
        box_ = {std::min(s[2], s[4]) - BoxMargin, std::max(s[2], s[4]) + BoxMargin,
                std::min(s[3], s[5]) - BoxMargin, std::max(s[3], s[5]) + BoxMargin};
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1) continue;
            // Only the records there when the layer's turn comes: the pieces appended below are
            // not cut again in the same pass.
            const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
            for (int slot = 0; slot < count; ++slot) {
                const std::uint8_t type = store.Get(layer, slot).RecordType;
                LineShape shape;
                bool ok = true;
                if (ShapeOf(type, shape)) ok = CutLine(layer, slot, count, shape);
                else if (type == CircleType || type == ArcType) ok = CutRound(layer, slot);
                if (!ok) return false;
            }
        }
        return true;
    }

private:
    bool Preview() const { return mode_ == CutPreview; }
    bool Split() const { return mode_ == CutSplit; }

    bool Room(int layer, int needed) { return RoomForPieces(app_, layer, needed); }

    void Append(int layer, const MapRecord& r) {
        auto& store = app_.store;
        std::int32_t& count = store.Count(layer);
        store.At(layer, count) = r;
        ++count;
    }

    bool CutLine(int layer, int slot, int count, const LineShape& shape) {
        auto& store = app_.store;
        const MapRecord r = store.Get(layer, slot);
        bool inX1 = false, inX2 = false, inY1 = false, inY2 = false;
        Chain path;
        for (int k = 1; k <= shape.own; ++k) {
            const Vertex v = VertexOf(r, k);
            inX1 |= v.x >= box_.left;
            inX2 |= v.x <= box_.right;
            inY1 |= v.y >= box_.bottom;
            inY2 |= v.y <= box_.top;
            path.push_back(v);
        }
        if (!(inX1 && inX2 && inY1 && inY2)) return true;
        // A chain record goes on to the next record's first vertex, where there is one.
        if (shape.link && slot + 1 < count) path.push_back(VertexOf(store.Get(layer, slot + 1), 1));
        if (shape.closed) path.push_back(path.front());
        std::vector<double>& s = app_.geometry.ScratchXY;
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            s[6] = path[k].x;
            s[7] = path[k].y;
            s[8] = path[k + 1].x;
            s[9] = path[k + 1].y;
            const std::uint8_t result = 交叉点(app_, mode_);
            if (result != CrossingTowardB1 && result != CrossingTowardB2) continue;
            // A crossing at an end of the record's line leaves nothing to cut there (a record
            // cut before ends on the line); one at the segment's far vertex is that of the next
            // segment, which knows on which side the line goes on.
            const bool atStart = Coincide(s[0], s[1], path[k]), atEnd = Coincide(s[0], s[1], path[k + 1]);
            if ((k == 0 && atStart) || atEnd) continue;
            if (Preview()) return true;
            return Cut(layer, slot, r, shape, path, static_cast<int>(k), result, atStart);
        }
        return true;
    }

    // The record crossed on segment k of its path: what stays in its slot and what is appended.
    bool Cut(int layer, int slot, const MapRecord& r, const LineShape& shape, const Chain& path, int k,
             std::uint8_t result, bool atVertex) {
        const std::vector<double>& s = app_.geometry.ScratchXY;
        Vertex cross{s[0], s[1], 0, true};
        Chain first, rest;
        const bool towardFirst = result == CrossingTowardB1;
        if (k == shape.own - 1 && (shape.link || shape.closed)) {
            // The link or closing side: the record keeps its four vertices.
            first.assign(path.begin(), path.begin() + shape.own);
            const Vertex& from = path[static_cast<std::size_t>(k)];
            const Vertex& to = path[static_cast<std::size_t>(k) + 1];
            if (Split()) rest = {from, cross, to};
            else if (towardFirst) rest = {cross, to};
            else rest = {from, cross};
        } else {
            first.assign(path.begin(), path.begin() + k + 1);
            rest.assign(path.begin() + k + 1, path.end());
            // At the segment's first vertex the record ends there, not a second time at I.
            if ((Split() || !towardFirst) && !atVertex) first.push_back(cross);
            if (Split() || towardFirst) rest.insert(rest.begin(), cross);
            // Cutting away the last segment's far end leaves nothing to append.
            if (rest.size() < 2) rest.clear();
        }
        // A piece of five vertices is a chain record followed by the one that ends it.
        std::vector<MapRecord> pieces;
        if (rest.size() == 5) {
            MapRecord chain = NewPiece(r, static_cast<std::uint8_t>(shape.base + 5));
            WriteChain(chain, Chain(rest.begin(), rest.begin() + 4), false);
            MapRecord end = NewPiece(r, static_cast<std::uint8_t>(shape.base + 1));
            WriteChain(end, Chain(rest.begin() + 4, rest.end()), false);
            pieces = {chain, end};
        } else if (!rest.empty()) {
            MapRecord piece = NewPiece(r, static_cast<std::uint8_t>(shape.base + static_cast<int>(rest.size())));
            WriteChain(piece, rest, false);
            pieces = {piece};
        }
        if (!Room(layer, static_cast<int>(pieces.size()))) return false;
        MapRecord& kept = app_.store.At(layer, slot);
        kept.RecordType = static_cast<std::uint8_t>(shape.base + static_cast<int>(first.size()));
        WriteChain(kept, first, true);
        for (const MapRecord& piece : pieces) Append(layer, piece);
        app_.current.ModifiedFlag = -1;
        return true;
    }

    MapRecord NewArc(const MapRecord& r, double start, double end) {
        MapRecord a;
        a.RecordType = ArcType;
        a.RecordColor = r.RecordColor;
        a.RecordPen = r.RecordPen;
        a.RecordSource = r.RecordSource;
        a.RecordX1 = r.RecordX1;
        a.RecordY1 = r.RecordY1;
        a.RecordX2 = r.RecordX2;
        a.RecordY2 = r.RecordY2;
        a.RecordX3 = start;
        a.RecordY3 = end;
        return a;
    }

    bool CutRound(int layer, int slot) {
        const MapRecord r = app_.store.Get(layer, slot);
        const bool circle = r.RecordType == CircleType;
        if (!box_.HoldsPoint(r.RecordX1, r.RecordY1, circle ? 0 : ArcCentreMargin)) return true;
        std::vector<double>& s = app_.geometry.ScratchXY;
        s[6] = r.RecordX1;
        s[7] = r.RecordY1;
        s[8] = r.RecordX2;
        s[9] = -1;
        s[13] = r.RecordY2;
        if (交叉点(app_, mode_) != CrossingTowardB1 || Preview()) return true;
        const double s0 = s[0], s1 = s[1];
        if (circle) {
            if (!Room(layer, Split() ? 1 : 0)) return false;
            MapRecord& kept = app_.store.At(layer, slot);
            if (kept.RecordY2 == 0) kept.RecordY2 = 1;
            kept.RecordType = ArcType;
            kept.RecordX3 = s1;
            kept.RecordY3 = s0;
            if (Split()) Append(layer, NewArc(kept, s0, s1));
            app_.current.ModifiedFlag = -1;
            return true;
        }
        ArcPiece pieces[3];
        const int n = CutArc(r.RecordX3, r.RecordY3, s0, s1, Split(), pieces);
        if (n == 1 && pieces[0].start == r.RecordX3 && pieces[0].end == r.RecordY3) return true;
        if (!Room(layer, n - 1)) return false;
        MapRecord& kept = app_.store.At(layer, slot);
        kept.RecordX3 = pieces[0].start;
        kept.RecordY3 = pieces[0].end;
        const MapRecord copy = kept;
        for (int k = 1; k < n; ++k) Append(layer, NewArc(copy, pieces[k].start, pieces[k].end));
        app_.current.ModifiedFlag = -1;
        return true;
    }

    App& app_;
    std::uint8_t mode_;
    Box box_{};
};

// An angle as its offset counter-clockwise from `from`, in 0..2π.
double OffsetFrom(double angle, double from) {
    double o = std::fmod(angle - from, 2 * M_PI);
    if (o < 0) o += 2 * M_PI;
    return o;
}

}  // namespace

bool RoomForPieces(App& app, int layer, int needed) {
    auto& store = app.store;
    while (store.Count(layer) + needed > store.LayerCapacity) {
        const int before = store.LayerCapacity;
        if (before >= LayerSplittingCapacity) break;
        GrowLayerCapacity(app);
        if (store.LayerCapacity == before) break;
    }
    if (store.Count(layer) + needed <= store.LayerCapacity) return true;
    app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
    return false;
}

int CutArc(double start, double end, double c0, double c1, bool split, ArcPiece out[3]) {
    out[0] = {start, end};
    const double length = OffsetFrom(end, start);
    const double o0 = OffsetFrom(c0, start), o1 = OffsetFrom(c1, start);
    const bool in0 = o0 > 0 && o0 < length, in1 = o1 > 0 && o1 < length;
    if (!(length > 0) || o0 == o1 || (!in0 && !in1)) return 1;
    if (split) {
        // Divided at the crossing angles inside it, in their order along the arc.
        std::vector<std::pair<double, double>> cuts;  // offset, angle
        if (in0) cuts.emplace_back(o0, c0);
        if (in1) cuts.emplace_back(o1, c1);
        std::sort(cuts.begin(), cuts.end());
        int n = 0;
        double from = start;
        for (const auto& cut : cuts) {
            out[n++] = {from, cut.second};
            from = cut.second;
        }
        out[n++] = {from, end};
        return n;
    }
    if (in0 && !in1) {
        out[0] = {start, c0};
        return 1;
    }
    if (!in0 && in1) {
        out[0] = {c1, end};
        return 1;
    }
    if (o0 < o1) {
        // The piece removed lies inside the arc: the arc before it and the arc after it.
        out[0] = {start, c0};
        out[1] = {c1, end};
        return 2;
    }
    // The piece removed holds both ends of the arc: what stays lies between its crossings.
    out[0] = {c1, c0};
    return 1;
}

void CutLinesAndAreas(App& app, double x1, double y1, double x2, double y2, std::uint8_t mode) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        // The line types of the pieces drawn follow the map's scale, where it has one.
        if (app.view.ProjectParams[0] > 0) app.view.ScaleFactor = app.view.ProjectParams[0] / 1000;
        if (app.view.DisplayZoom <= 0) app.view.DisplayZoom = 1;
        std::vector<double>& s = app.geometry.ScratchXY;
        if (s.size() < CutScratch) s.resize(CutScratch, 0.0);
        s[2] = x1;
        s[3] = y1;
        s[4] = x2;
        s[5] = y2;
        s[10] = Dist(x1, y1, x2, y2);
        s[11] = Azimuth(x1, y1, x2, y2);
        s[12] = Azimuth(x2, y2, x1, y1);
        CutPass(app, mode).Run();
    });
}

}  // namespace movra
