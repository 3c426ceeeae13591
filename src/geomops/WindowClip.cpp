#include "geomops/WindowClip.h"

#include <algorithm>
#include <array>
#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/WorkBuffer.h"
#include "document/Geometry.h"

namespace movra {

namespace {

// Records are looked at within this distance of the window.
constexpr float CandidateMargin = 50;

bool InClosedWindow(const ClipBuffer& c, double x, double y) {
    return c.ClipXMin <= x && x <= c.ClipXMax && c.ClipYMin <= y && y <= c.ClipYMax;
}

bool StrictlyBetween(double v, double a, double b) { return (a < v && v < b) || (b < v && v < a); }

// A refused append leaves the count at the limit: a chain-end item past it is dropped too.
bool RoomForOneMore(ClipBuffer& buffer) {
    if (buffer.ClipBufferCount + 1 > ClipBufferPlainLimit) {
        buffer.ClipBufferCount = ClipBufferPlainLimit;
        return false;
    }
    return true;
}

// The item that ends a copied chain where the store's chain went on. The width-3 chain (75) gets
// one too, so that its last segment does not run on into whatever item follows it.
std::uint8_t ChainEndTypeOf(std::uint8_t type) {
    switch (type) {
        case 5: case 45: case 75: case 95: return static_cast<std::uint8_t>(type - 4);
        default: return 0;
    }
}

}  // namespace

void ClipSegmentToWindow(App& app, double x1, double y1, double x2, double y2, std::uint8_t& state) {
    try {
        state = 0;
        const ClipBuffer& c = app.clip;
        const double xMin = c.ClipXMin, xMax = c.ClipXMax, yMax = c.ClipYMax, yMin = c.ClipYMin;
        // Both ends on the outer side of one border line (the border itself counting as outside).
        if ((x1 <= xMin && x2 <= xMin) || (x1 >= xMax && x2 >= xMax) || (y1 >= yMax && y2 >= yMax) ||
            (y1 <= yMin && y2 <= yMin))
            return;

        std::array<double, 4> found{};  // up to two points (x, y)
        int n = 0;
        auto add = [&](double x, double y) {
            found[static_cast<size_t>(2 * n)] = x;
            found[static_cast<size_t>(2 * n + 1)] = y;
            ++n;
        };
        int insideEnd = 0;
        if (InClosedWindow(c, x1, y1)) { add(x1, y1); insideEnd = 1; }
        if (InClosedWindow(c, x2, y2)) { add(x2, y2); insideEnd = 2; }

        std::vector<double>& s = app.geometry.ScratchXY;
        std::uint8_t result = 12;
        if (n < 2) {
            result = n == 0 ? 34 : static_cast<std::uint8_t>(insideEnd * 10 + 3);
            s.assign(10, 0.0);
            s[2] = x1; s[3] = y1; s[4] = x2; s[5] = y2;
            // The edges as directed lines: top, right, bottom, left.
            const std::array<std::array<double, 4>, 4> edges = {{{xMin, yMax, xMax, yMax},
                                                                 {xMax, yMax, xMax, yMin},
                                                                 {xMax, yMin, xMin, yMin},
                                                                 {xMin, yMin, xMin, yMax}}};
            for (const auto& e : edges) {
                s[6] = e[0]; s[7] = e[1]; s[8] = e[2]; s[9] = e[3];
                if (!LineIntersect(app)) continue;
                const double ix = s[0], iy = s[1];
                if (InClosedWindow(c, ix, iy) && (StrictlyBetween(ix, x1, x2) || StrictlyBetween(iy, y1, y2))) {
                    add(ix, iy);
                    if (n == 2) break;
                }
            }
            if (n < 2) {
                s[0] = 0;
                return;
            }
        }
        if (s.size() < 10) s.resize(10, 0.0);
        state = result;
        s[0] = result;
        s[6] = found[0]; s[7] = found[1]; s[8] = found[2]; s[9] = found[3];
    } catch (const RuntimeError&) {
    }
}

void ClipBufferAppendPiece(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t state, std::uint8_t kind) {
    if (state < 11 || state > 34) return;
    ClipBuffer& buffer = app.clip;
    if (!RoomForOneMore(buffer)) return;
    const std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < 10) return;
    const MapRecord& r = app.store.Get(layer, slot);
    MapRecord& item = ClipBufferAppendItem(buffer);
    item.RecordType = kind;
    item.RecordSource = r.RecordSource;
    item.RecordColor = r.RecordColor;
    item.RecordPen = r.RecordPen;
    item.RecordX1 = s[6];
    item.RecordY1 = s[7];
    item.RecordZ1 = r.RecordZ1;
    item.RecordX2 = s[8];
    item.RecordY2 = s[9];
    item.RecordZ2 = r.RecordZ2;
    item.RecordText = r.RecordText;
    item.RecordExtra = r.RecordExtra;
    item.RecordFont = r.RecordFont;
}

void ClipBufferCopyRecord(App& app, std::uint8_t layer, std::int16_t slot) {
    ClipBuffer& buffer = app.clip;
    if (!RoomForOneMore(buffer)) return;
    const MapRecord& r = app.store.Get(layer, slot);
    const std::uint8_t chainEnd = ChainEndTypeOf(r.RecordType);
    // Where the chain goes on; a chain in the last slot of the layer ends at its own vertex 4.
    std::optional<MapRecord> next;
    if (chainEnd != 0) {
        try {
            next = app.store.Get(layer, slot + 1);
        } catch (const RuntimeError&) {
            next = MapRecord{};
            next->RecordX1 = r.RecordX4;
            next->RecordY1 = r.RecordY4;
            next->RecordZ1 = r.RecordZ4;
            next->RecordSource = r.RecordSource;
        }
    }
    MapRecord& item = ClipBufferAppendItem(buffer);
    item = r;
    if (item.RecordType == 66 || item.RecordType == 68) {
        // What the device-font text routine takes: height, character width, escapement.
        const double zoom = app.view.DisplayZoom;
        item.RecordZ4 = static_cast<float>(10.0 * r.RecordZ2);
        item.RecordY4 = Int(zoom * r.RecordY2 * r.RecordX2);
        item.RecordX4 = Int(zoom * r.RecordX2) + 1;
    }
    if (!next) return;
    MapRecord& end = ClipBufferAppendItem(buffer);  // the chain end is never refused
    end.RecordType = chainEnd;
    end.RecordSource = next->RecordSource;
    end.RecordX1 = next->RecordX1;
    end.RecordY1 = next->RecordY1;
    end.RecordZ1 = next->RecordZ1;
}

void ClipWindow(App& app, float left, float top, float right, float bottom) {
    try {
        // Whatever corner the drag started from, the window is the same rectangle.
        const float l = std::min(left, right), r = std::max(left, right);
        const float b = std::min(top, bottom), t = std::max(top, bottom);
        const ClipCandidateBounds nearWindow{l - CandidateMargin, r + CandidateMargin, b - CandidateMargin,
                                       t + CandidateMargin};
        const std::int32_t xMin = ToInt32(l), xMax = ToInt32(r), yMax = ToInt32(t), yMin = ToInt32(b);
        ClipBuffer& clip = app.clip;
        clip.ClipXMin = xMin;
        clip.ClipXMax = xMax;
        clip.ClipYMax = yMax;
        clip.ClipYMin = yMin;
        clip.ClipBufferCount = 0;

        RecordStore& store = app.store;
        for (int layer = 1; layer <= std::min<int>(store.LayerCount, store.LayerDimension()); ++layer) {
            if (store.LayerOnFlag[layer] != True && store.LayerLockFlag[layer] != True) continue;
            const int count = std::min<int>(store.Count(layer), store.LayerCapacity);
            // A layer that holds any record is clipped, a layer of one record too.
            if (count < 1) continue;
            const auto l8 = static_cast<std::uint8_t>(layer);
            for (int slot = 0; slot <= count; ++slot) {
                const auto s16 = static_cast<std::int16_t>(slot);
                if (ClipRecordIsCandidate(app, l8, s16, nearWindow)) ClipRecord(app, l8, s16);
            }
        }
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
