#include "document/EllipseToPolyline.h"

#include <array>
#include <cmath>

#include "App.h"
#include "basic/Guards.h"
#include "document/Geometry.h"
#include "document/SlotEditing.h"

namespace movra {

namespace {

constexpr int EllipseType = 9;
constexpr int ChainType = 5;
constexpr int ChainEndType = 1;
constexpr int RingSteps = 36;
static_assert(EllipseChainRecords == RingSteps / 4 + 1, "the closing vertex gets a record of its own");

struct Vertex {
    double x = 0, y = 0;
};

void SetVertex(MapRecord& r, int v, const Vertex& p) {
    switch (v) {
        case 0: r.RecordX1 = p.x; r.RecordY1 = p.y; break;
        case 1: r.RecordX2 = p.x; r.RecordY2 = p.y; break;
        case 2: r.RecordX3 = p.x; r.RecordY3 = p.y; break;
        default: r.RecordX4 = p.x; r.RecordY4 = p.y; break;
    }
}

}  // namespace

std::array<MapRecord, EllipseChainRecords> EllipseChain(const MapRecord& ellipse) {
    // The same ring the renderer draws: the first axis turned clockwise from north by the rotation
    // and a quarter turn.
    const double turn = HalfPi + ellipse.RecordX3;
    const double c = std::cos(turn), s = std::sin(turn);
    std::array<Vertex, RingSteps + 1> ring;
    for (int k = 0; k < RingSteps; ++k) {
        const double t = k * TwoPi / RingSteps;
        const double ex = ellipse.RecordX2 * std::cos(t);
        const double ey = ellipse.RecordY2 * std::sin(t);
        ring[k] = {ellipse.RecordX1 + ex * c + ey * s, ellipse.RecordY1 - ex * s + ey * c};
    }
    ring[RingSteps] = ring[0];  // the ring closes exactly

    std::array<MapRecord, EllipseChainRecords> chain{};
    for (int n = 0; n < EllipseChainRecords; ++n) {
        MapRecord& r = chain[static_cast<std::size_t>(n)];
        r.RecordType = n + 1 < EllipseChainRecords ? ChainType : ChainEndType;
        r.RecordColor = ellipse.RecordColor;
        r.RecordPen = ellipse.RecordPen;
        r.RecordSource = ellipse.RecordSource;
        for (int v = 0; v < 4 && 4 * n + v <= RingSteps; ++v) SetVertex(r, v, ring[4 * n + v]);
    }
    return chain;
}

bool EllipseToPolyline(App& app, std::uint8_t layer, std::int16_t slot) {
    bool written = false;
    GuardSilently([&] {
        const MapRecord ellipse = app.store.Get(layer, slot);
        if (ellipse.RecordType != EllipseType) return;
        std::array<MapRecord, EllipseChainRecords> chain = EllipseChain(ellipse);
        const int first = app.store.Count(layer);
        if (!InsertSlotsInPlace(app, layer, static_cast<std::int16_t>(first), EllipseChainRecords)) return;
        for (int n = 0; n < EllipseChainRecords; ++n) app.store.At(layer, first + n) = std::move(chain[static_cast<std::size_t>(n)]);
        written = true;
    });
    return written;
}

}  // namespace movra
