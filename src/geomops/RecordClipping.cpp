// How each record type enters the clip buffer, held as a table of rules over one set of steps.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "geomops/WindowClip.h"

namespace movra {

namespace {

enum class Treatment : std::uint8_t {
    None,             // never carried
    Point,            // copied whole when the first vertex lies in the closed window
    Segments,         // each segment clipped into a piece
    WholeOrSegments,  // copied whole when every tested vertex lies strictly inside, else pieces
    Ticks,            // one short segment per vertex, the list ending at a vertex (0, 0)
    Image,            // copied whole when its extent overlaps the window
};

// Vertices by number: 1 to 4 the record's own, 5 the first vertex of the record in the next slot
// (where a chain goes on).
constexpr std::uint8_t NextVertex = 5;

struct ClipRule {
    Treatment treatment = Treatment::None;
    bool box = false;  // Segments: rejected unless the tested vertices reach all four sides
    std::uint8_t testedCount = 0;
    std::array<std::uint8_t, 5> tested{};
    std::uint8_t segmentCount = 0;
    std::array<std::pair<std::uint8_t, std::uint8_t>, 4> segments{};
    std::uint8_t kind = 0;      // the type of a piece
    std::uint8_t spanned = 0;   // highest own vertex a segment uses
    bool usesNext = false;      // a segment runs on to the next slot's first vertex
};

using Pairs = std::initializer_list<std::pair<std::uint8_t, std::uint8_t>>;
using Vertices = std::initializer_list<std::uint8_t>;

ClipRule LineRule(Treatment treatment, bool box, Vertices tested, Pairs segments, int kind) {
    ClipRule rule;
    rule.treatment = treatment;
    rule.box = box;
    for (std::uint8_t v : tested) rule.tested[rule.testedCount++] = v;
    for (const auto& s : segments) {
        rule.segments[rule.segmentCount++] = s;
        for (std::uint8_t v : {s.first, s.second}) {
            if (v == NextVertex) rule.usesNext = true;
            else rule.spanned = std::max(rule.spanned, v);
        }
    }
    rule.kind = static_cast<std::uint8_t>(kind);
    return rule;
}

ClipRule Simple(Treatment treatment) {
    ClipRule rule;
    rule.treatment = treatment;
    return rule;
}

std::array<ClipRule, 256> BuildRules() {
    std::array<ClipRule, 256> t{};
    const Pairs two = {{1, 2}}, three = {{1, 2}, {2, 3}}, four = {{1, 2}, {2, 3}, {3, 4}};
    const Pairs chain = {{1, 2}, {2, 3}, {3, 4}, {4, NextVertex}};
    // The four line families share their shapes; each cuts into pieces of its own plain kind.
    for (const int base : {0, 40, 70, 90}) {
        const int kind = base + 2;
        t[base + 2] = LineRule(Treatment::Segments, false, {}, two, kind);
        t[base + 3] = LineRule(Treatment::WholeOrSegments, false, {1, 2, 3}, three, kind);
        t[base + 4] = LineRule(Treatment::WholeOrSegments, false, {1, 2, 3, 4}, four, kind);
        t[base + 5] = LineRule(Treatment::WholeOrSegments, false, {1, 2, 3, 4, NextVertex}, chain, kind);
    }
    t[6] = LineRule(Treatment::WholeOrSegments, false, {1, 2, 3, 4}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}, 2);
    t[12] = LineRule(Treatment::Segments, true, {1, 2}, two, 42);
    for (const int type : {21, 22, 23}) t[type] = LineRule(Treatment::Segments, true, {1, 2}, two, type);
    t[52] = LineRule(Treatment::WholeOrSegments, false, {1, 2, 3, 4}, {{1, 2}, {3, 4}}, 2);
    for (const int type : {7, 8, 9, 10, 15, 16, 17, 18, 19, 25, 46, 47, 48, 49, 50, 51, 58, 59, 61, 62, 64, 65,
                           66, 67, 68})
        t[type] = Simple(Treatment::Point);
    t[70] = Simple(Treatment::Image);
    t[80] = Simple(Treatment::Ticks);
    t[85] = Simple(Treatment::Ticks);
    // Single points (31 to 34), symbol rows (87), lines in the background colour (99), fills
    // and their boundary chains, attribute records, the store's own chain ends, ink fills and
    // deleted records stay out.
    return t;
}

const ClipRule& RuleFor(std::uint8_t type) {
    static const std::array<ClipRule, 256> rules = BuildRules();
    return rules[type];
}

struct Point2 {
    double x = 0, y = 0;
};

// The record with the first vertex of the next slot, where the rule needs it. A next slot that
// cannot be read leaves hasNext false.
struct RecordView {
    const MapRecord& record;
    bool hasNext = false;
    Point2 next;

    Point2 Vertex(std::uint8_t v) const {
        switch (v) {
            case 1: return {record.RecordX1, record.RecordY1};
            case 2: return {record.RecordX2, record.RecordY2};
            case 3: return {record.RecordX3, record.RecordY3};
            case 4: return {record.RecordX4, record.RecordY4};
            default: return next;
        }
    }
    bool Has(std::uint8_t v) const { return v != NextVertex || hasNext; }
};

RecordView ViewOf(const App& app, const MapRecord& r, const ClipRule& rule, std::uint8_t layer, std::int16_t slot) {
    RecordView view{r, false, {}};
    if (!rule.usesNext) return view;
    try {
        const MapRecord& n = app.store.Get(layer, slot + 1);
        view.next = {n.RecordX1, n.RecordY1};
        view.hasNext = true;
    } catch (const RuntimeError&) {
    }
    return view;
}

// Reaches the window on all four sides: something at or left of its right edge, at or right of
// its left edge, at or below its top and at or above its bottom.
bool ReachesWindow(const ClipBuffer& c, const RecordView& view, const ClipRule& rule) {
    bool left = false, right = false, below = false, above = false;
    for (int i = 0; i < rule.testedCount; ++i) {
        if (!view.Has(rule.tested[i])) continue;
        const Point2 p = view.Vertex(rule.tested[i]);
        left = left || p.x <= c.ClipXMax;
        right = right || p.x >= c.ClipXMin;
        below = below || p.y <= c.ClipYMax;
        above = above || p.y >= c.ClipYMin;
    }
    return left && right && below && above;
}

bool StrictlyInside(const ClipBuffer& c, const RecordView& view, const ClipRule& rule) {
    for (int i = 0; i < rule.testedCount; ++i) {
        if (!view.Has(rule.tested[i])) return false;
        const Point2 p = view.Vertex(rule.tested[i]);
        if (!(c.ClipXMin < p.x && p.x < c.ClipXMax && c.ClipYMin < p.y && p.y < c.ClipYMax)) return false;
    }
    return true;
}

// One segment step; a failure passes over this piece only.
void ClipPiece(App& app, std::uint8_t layer, std::int16_t slot, Point2 a, Point2 b, std::uint8_t kind) {
    try {
        std::uint8_t& state = app.clip.ClipState;
        ClipSegmentToWindow(app, a.x, a.y, b.x, b.y, state);
        if (state != 0) ClipBufferAppendPiece(app, layer, slot, state, kind);
    } catch (const RuntimeError&) {
    }
}

void CopyWhole(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        ClipBufferCopyRecord(app, layer, slot);
    } catch (const RuntimeError&) {
    }
}

void ClipTicks(App& app, std::uint8_t layer, std::int16_t slot, const MapRecord& r) {
    const double xs[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
    const double ys[] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
    const float zs[] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
    const double up = r.RecordType == 85 ? -1 : 1;
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && xs[i] == 0 && ys[i] == 0) break;
        ClipPiece(app, layer, slot, {xs[i], ys[i]}, {xs[i] + zs[i], ys[i] + up * zs[i]}, 2);
    }
}

}  // namespace

void ClipRecord(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        const MapRecord& r = app.store.Get(layer, slot);
        const ClipRule& rule = RuleFor(r.RecordType);
        const ClipBuffer& c = app.clip;
        switch (rule.treatment) {
            case Treatment::None: return;
            case Treatment::Point:
                if (c.ClipXMin <= r.RecordX1 && r.RecordX1 <= c.ClipXMax && c.ClipYMin <= r.RecordY1 &&
                    r.RecordY1 <= c.ClipYMax)
                    CopyWhole(app, layer, slot);
                return;
            case Treatment::Image:
                if (r.RecordX1 < c.ClipXMax && r.RecordX1 + r.RecordX2 > c.ClipXMin &&
                    r.RecordY1 + r.RecordY2 < c.ClipYMax && r.RecordY1 > c.ClipYMin)
                    CopyWhole(app, layer, slot);
                return;
            case Treatment::Ticks: ClipTicks(app, layer, slot, r); return;
            case Treatment::Segments:
            case Treatment::WholeOrSegments: break;
        }
        const RecordView view = ViewOf(app, r, rule, layer, slot);
        const bool whole = rule.treatment == Treatment::WholeOrSegments;
        if ((rule.box || whole) && !ReachesWindow(c, view, rule)) return;
        if (whole && StrictlyInside(c, view, rule)) {
            CopyWhole(app, layer, slot);
            return;
        }
        for (int i = 0; i < rule.segmentCount; ++i) {
            const auto [a, b] = rule.segments[i];
            // A chain whose next slot cannot be read ends at its own last vertex.
            if (!view.Has(a) || !view.Has(b)) continue;
            ClipPiece(app, layer, slot, view.Vertex(a), view.Vertex(b), rule.kind);
        }
    } catch (const RuntimeError&) {
    }
}

bool ClipRecordIsCandidate(const App& app, std::uint8_t layer, std::int16_t slot, const ClipCandidateBounds& w) {
    const MapRecord& r = app.store.Get(layer, slot);
    const ClipRule& rule = RuleFor(r.RecordType);
    double minX = r.RecordX1, maxX = r.RecordX1, minY = r.RecordY1, maxY = r.RecordY1;
    auto extend = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    switch (rule.treatment) {
        case Treatment::None: return false;
        case Treatment::Point: break;
        case Treatment::Image: extend(r.RecordX1 + r.RecordX2, r.RecordY1 + r.RecordY2); break;
        case Treatment::Ticks: {
            const double xs[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
            const double ys[] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
            const float zs[] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
            const double up = r.RecordType == 85 ? -1 : 1;
            for (int i = 0; i < 4; ++i) {
                if (i > 0 && xs[i] == 0 && ys[i] == 0) break;
                extend(xs[i], ys[i]);
                extend(xs[i] + zs[i], ys[i] + up * zs[i]);
            }
            break;
        }
        case Treatment::Segments:
        case Treatment::WholeOrSegments: {
            const RecordView view = ViewOf(app, r, rule, layer, slot);
            for (std::uint8_t v = 2; v <= rule.spanned; ++v) extend(view.Vertex(v).x, view.Vertex(v).y);
            if (view.hasNext) extend(view.next.x, view.next.y);
            break;
        }
    }
    return minX <= w.right && maxX >= w.left && minY <= w.top && maxY >= w.bottom;
}

}  // namespace movra
