#include "geomops/KeepInside.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "document/Geometry.h"
#include "document/RecordVertices.h"
#include "geomops/CutAlongLine.h"

namespace movra {

namespace {

constexpr std::size_t InsideScratch = 14;
constexpr double BoxMargin = 20;
constexpr double Tolerance = 0.1;

using Point = VertexXY;

// A crossing found on a segment; at one of its vertices, with the segment's other end.
struct Hit {
    Point at;
    bool atVertex = false;
    Point otherEnd;
};

bool Same(Point a, Point b) {
    const double tolerance = 1e-10 * std::max({10.0, std::fabs(a.x), std::fabs(a.y)});
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

// The vertices of a record's line work and whether it goes on to the next slot or closes. Fill
// heads (11, 13) hold an area's box, not line work.
bool LineWorkOf(std::uint8_t type, int& own, bool& link, bool& closed) {
    link = closed = false;
    if (type == 6) {
        own = 4;
        closed = true;
        return true;
    }
    if (type == 12) {
        own = 2;
        return true;
    }
    for (int base : {0, 40, 70, 90}) {
        const int k = type - base;
        if (k >= 2 && k <= 5) {
            own = std::min(k, 4);
            link = k == 5;
            return true;
        }
    }
    return false;
}

class Collector {
public:
    explicit Collector(App& app) : app_(app), s_(app.geometry.ScratchXY) {
        const double ax = s_[2], ay = s_[3], bx = s_[4], by = s_[5];
        left_ = static_cast<float>(std::min(ax, bx) - BoxMargin);
        right_ = static_cast<float>(std::max(ax, bx) + BoxMargin);
        bottom_ = static_cast<float>(std::min(ay, by) - BoxMargin);
        top_ = static_cast<float>(std::max(ay, by) + BoxMargin);
        a_ = {ax, ay};
        b_ = {bx, by};
    }

    std::vector<Hit> Collect() {
        auto& store = app_.store;
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1) continue;
            const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
            for (int slot = 0; slot < count; ++slot) Record(layer, slot, count);
        }
        return hits_;
    }

private:
    void Record(int layer, int slot, int count) {
        const MapRecord& r = app_.store.Get(layer, slot);
        int own = 0;
        bool link = false, closed = false;
        if (!LineWorkOf(r.RecordType, own, link, closed)) return;
        std::vector<Point> path;
        for (int k = 1; k <= own; ++k) path.push_back(VertexPoint(r, k));
        if (link && slot + 1 < count) path.push_back(VertexPoint(app_.store.Get(layer, slot + 1), 1));
        if (closed) path.push_back(path.front());
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            // The box test of a segment takes the record's own vertices up to its end; a record
            // whose first vertices lie outside is passed over.
            if (!InBox(path, std::min<std::size_t>(k + 2, static_cast<std::size_t>(own)))) return;
            Segment(path[k], path[k + 1]);
        }
    }

    bool InBox(const std::vector<Point>& path, std::size_t n) const {
        bool x1 = false, x2 = false, y1 = false, y2 = false;
        for (std::size_t k = 0; k < n; ++k) {
            x1 |= path[k].x >= left_;
            x2 |= path[k].x <= right_;
            y1 |= path[k].y >= bottom_;
            y2 |= path[k].y <= top_;
        }
        return x1 && x2 && y1 && y2;
    }

    void Segment(Point p, Point q) {
        s_[6] = p.x;
        s_[7] = p.y;
        s_[8] = q.x;
        s_[9] = q.y;
        if (!LineIntersect(app_)) return;
        const Point k{s_[0], s_[1]};
        const bool betweenX = (k.x >= std::min(p.x, q.x) && k.x <= std::max(p.x, q.x));
        const bool betweenY = (k.y >= std::min(p.y, q.y) && k.y <= std::max(p.y, q.y));
        if (!betweenX && !betweenY) return;
        if (Dist(k.x, k.y, p.x, p.y) + Dist(k.x, k.y, q.x, q.y) > Dist(p.x, p.y, q.x, q.y) + Tolerance) return;
        if (Dist(k.x, k.y, a_.x, a_.y) + Dist(k.x, k.y, b_.x, b_.y) > Dist(a_.x, a_.y, b_.x, b_.y) + Tolerance) return;
        if (Same(k, p)) hits_.push_back({p, true, q});
        else if (Same(k, q)) hits_.push_back({q, true, p});
        else hits_.push_back({k, false, {}});
    }

    App& app_;
    std::vector<double>& s_;
    float left_ = 0, right_ = 0, bottom_ = 0, top_ = 0;
    Point a_, b_;
    std::vector<Hit> hits_;
};

// Side of the point from the line A -> B: 1 left, -1 right, 0 on it.
int SideOf(Point a, Point b, Point p) {
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    return cross > 0 ? 1 : cross < 0 ? -1 : 0;
}

// The crossings in the line work: a point where segments meet counts once where the line work
// lies on both sides of the drawn line there, and not at all where it only touches.
std::vector<Point> Crossings(const std::vector<Hit>& hits, Point a, Point b) {
    std::vector<Point> out;
    std::vector<bool> done(hits.size(), false);
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (done[i]) continue;
        if (!hits[i].atVertex) {
            out.push_back(hits[i].at);
            continue;
        }
        bool left = false, right = false;
        for (std::size_t j = i; j < hits.size(); ++j) {
            if (done[j] || !hits[j].atVertex || !Same(hits[j].at, hits[i].at)) continue;
            done[j] = true;
            const int side = SideOf(a, b, hits[j].otherEnd);
            left |= side > 0;
            right |= side < 0;
        }
        if (left && right) out.push_back(hits[i].at);
    }
    return out;
}

}  // namespace

void AddInsidePieces(App& app) {
    GuardSilently([&] {
        std::vector<double>& s = app.geometry.ScratchXY;
        if (s.size() < InsideScratch) s.resize(InsideScratch, 0.0);
        const Point a{s[2], s[3]}, b{s[4], s[5]};
        std::vector<Point> crossings = Crossings(Collector(app).Collect(), a, b);
        // By x, and by y where x is equal (a vertical drawn line).
        std::stable_sort(crossings.begin(), crossings.end(),
                         [](Point p, Point q) { return p.x < q.x || (p.x == q.x && p.y < q.y); });
        auto& store = app.store;
        const int layer = store.CurrentLayer;
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            if (!RoomForPieces(app, layer, 1)) return;
            MapRecord r;
            r.RecordType = 2;
            r.RecordColor = app.current.CurrentColor;
            r.RecordPen = app.current.CurrentPen;
            r.RecordX1 = crossings[k].x;
            r.RecordY1 = crossings[k].y;
            r.RecordX2 = crossings[k + 1].x;
            r.RecordY2 = crossings[k + 1].y;
            std::int32_t& count = store.Count(layer);
            MapRecord& slot = store.At(layer, count);
            slot = r;
            store.PutText(slot.RecordText, app.tool.CommandArgument);
            store.PutText(slot.RecordExtra, "0");
            ++count;
            app.current.ModifiedFlag = -1;
        }
    });
}

}  // namespace movra
