#include "geomops/TrimStubs.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "document/Geometry.h"
#include "document/RecordVertices.h"
#include "document/UndoJournal.h"
#include "geomops/CrossingJudge.h"

namespace movra {

namespace {

constexpr std::size_t TrimScratch = 14;
constexpr double BoxMargin = 5;

using Point = VertexXY;

bool Coincide(double x, double y, Point v) {
    const double tolerance = 1e-10 * std::max({10.0, std::fabs(v.x), std::fabs(v.y)});
    return std::fabs(x - v.x) <= tolerance && std::fabs(y - v.y) <= tolerance;
}

// The family member of a line record: 1..5 for b+1..b+5 of the four families, 2 for type 12;
// 0 for anything else (fill heads, points, texts, deleted records).
int Member(std::uint8_t type) {
    if (type == 12) return 2;
    for (int base : {0, 40, 70, 90}) {
        const int k = type - base;
        if (k >= 1 && k <= 5) return k;
    }
    return 0;
}

// Only a line that goes on into the next slot makes that record its continuation.
bool GoesOn(std::uint8_t type) { return type == 5 || type == 45 || type == 75 || type == 95; }

// One segment judged: a vertex to move (1..4) for each result, and the segment's ends.
struct Judged {
    Point from, to;
    int vertexForB1, vertexForB2;
};

class TrimPass {
public:
    TrimPass(App& app, std::uint8_t mode) : app_(app), mode_(mode) {
        const std::vector<double>& s = app.geometry.ScratchXY;
        left_ = std::min(s[2], s[4]) - BoxMargin;
        right_ = std::max(s[2], s[4]) + BoxMargin;
        bottom_ = std::min(s[3], s[5]) - BoxMargin;
        top_ = std::max(s[3], s[5]) + BoxMargin;
    }

    void Run() {
        auto& store = app_.store;
        for (int layer = 0; layer <= store.LayerCount; ++layer) {
            if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1) continue;
            const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
            for (int slot = 0; slot < count; ++slot)
                if (Record(layer, slot)) return;
        }
    }

private:
    bool InBox(const MapRecord& r, int n) const {
        bool x1 = false, x2 = false, y1 = false, y2 = false;
        for (int k = 1; k <= n; ++k) {
            const Point p = VertexPoint(r, k);
            x1 |= p.x >= left_;
            x2 |= p.x <= right_;
            y1 |= p.y >= bottom_;
            y2 |= p.y <= top_;
        }
        return x1 && x2 && y1 && y2;
    }

    // True when the record was trimmed: the pass ends.
    bool Record(int layer, int slot) {
        const MapRecord& r = app_.store.Get(layer, slot);
        const int member = Member(r.RecordType);
        if (member == 0) return false;
        const bool continued = slot > 0 && GoesOn(app_.store.Get(layer, slot - 1).RecordType);
        std::vector<Judged> segments;
        const Point p1 = VertexPoint(r, 1), p2 = VertexPoint(r, 2);
        if (member == 1) {
            if (!continued) return false;
            segments.push_back({VertexPoint(app_.store.Get(layer, slot - 1), 4), p1, 1, 1});
        } else if (member == 2) {
            segments.push_back({p1, p2, 1, 2});
        } else {
            if (!InBox(r, std::min(member, 4))) return false;
            if (member == 3) segments.push_back({p2, VertexPoint(r, 3), 3, 3});
            if (member == 4) segments.push_back({VertexPoint(r, 3), VertexPoint(r, 4), 4, 4});
            if (!continued) segments.push_back({p1, p2, 1, 1});
        }
        std::vector<double>& s = app_.geometry.ScratchXY;
        for (const Judged& j : segments) {
            s[6] = j.from.x;
            s[7] = j.from.y;
            s[8] = j.to.x;
            s[9] = j.to.y;
            const std::uint8_t result = 交叉点(app_, mode_);
            if (result != CrossingTowardB1 && result != CrossingTowardB2) continue;
            const double ix = s[0], iy = s[1];
            // An end already on the line (trimmed before) has nothing left to trim, and tells
            // no side: the pass goes on to the next stub.
            if (Coincide(ix, iy, j.from) || Coincide(ix, iy, j.to)) continue;
            const int vertex = result == CrossingTowardB1 ? j.vertexForB1 : j.vertexForB2;
            UndoStepCut(app_, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot),
                        static_cast<std::uint8_t>(vertex), ix, iy);
            MapRecord& trimmed = app_.store.At(layer, slot);
            SetVertexPoint(trimmed, vertex, {ix, iy});
            if (trimmed.RecordType == 12) trimmed.RecordType = 42;
            app_.current.ModifiedFlag = -1;
            return true;
        }
        return false;
    }

    App& app_;
    std::uint8_t mode_;
    double left_ = 0, right_ = 0, bottom_ = 0, top_ = 0;
};

}  // namespace

void CutLines(App& app, double x1, double y1, double x2, double y2, std::uint8_t mode) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        if (app.view.ProjectParams[0] > 0) app.view.ScaleFactor = app.view.ProjectParams[0] / 1000;
        if (app.view.DisplayZoom <= 0) app.view.DisplayZoom = 1;
        std::vector<double>& s = app.geometry.ScratchXY;
        if (s.size() < TrimScratch) s.resize(TrimScratch, 0.0);
        s[2] = x1;
        s[3] = y1;
        s[4] = x2;
        s[5] = y2;
        s[10] = Dist(x1, y1, x2, y2);
        s[11] = Azimuth(x1, y1, x2, y2);
        s[12] = Azimuth(x2, y2, x1, y1);
        TrimPass(app, mode).Run();
    });
}

}  // namespace movra
