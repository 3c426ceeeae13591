#include "document/RecordTransforms.h"

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "document/RedrawSeams.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr VertexSet P1{0b0001, false};
constexpr VertexSet P1P2{0b0011, false};
constexpr VertexSet P1P3{0b0111, false};
constexpr VertexSet P1P4{0b1111, false};
constexpr VertexSet P1AndP4{0b1001, false};
constexpr VertexSet WhileSet{0b1111, true};

// The vertex sets by record type; a type not listed moves its P1 only.
constexpr std::array<VertexSet, 256> BuildVertexTable() {
    std::array<VertexSet, 256> table{};
    for (auto& entry : table) entry = P1;
    for (int t : {2, 12, 22, 27, 42, 52, 72, 92}) table[t] = P1P2;
    for (int t : {3, 23, 28, 43, 73, 93}) table[t] = P1P3;
    for (int t : {4, 5, 6, 10, 11, 13, 14, 24, 25, 29, 30, 36, 44, 45, 74, 75, 94, 95}) table[t] = P1P4;
    for (int t = 31; t <= 34; ++t) table[t] = VertexSet{static_cast<std::uint8_t>((1 << (t - 30)) - 1), false};
    for (int t = 46; t <= 49; ++t) table[t] = VertexSet{static_cast<std::uint8_t>((1 << (t - 45)) - 1), false};
    for (int t : {61, 62}) table[t] = P1AndP4;
    for (int t : {80, 81, 85, 87}) table[t] = WhileSet;
    return table;
}
constexpr std::array<VertexSet, 256> VertexTable = BuildVertexTable();

double& X(MapRecord& r, int v) {
    switch (v) {
        case 1: return r.RecordX1;
        case 2: return r.RecordX2;
        case 3: return r.RecordX3;
        default: return r.RecordX4;
    }
}
double& Y(MapRecord& r, int v) {
    switch (v) {
        case 1: return r.RecordY1;
        case 2: return r.RecordY2;
        case 3: return r.RecordY3;
        default: return r.RecordY4;
    }
}

// Calls move(x, y) for every vertex of the record that the transforms move; returns the number of
// the last vertex moved.
int ForEachVertex(MapRecord& r, const std::function<void(double&, double&)>& move) {
    const VertexSet set = TransformVertices(r.RecordType);
    int last = 0;
    for (int v = 1; v <= 4; ++v) {
        if (!(set.Mask & (1 << (v - 1)))) continue;
        if (set.WhileSet && v >= 2 && X(r, v) == 0 && Y(r, v) == 0) break;
        move(X(r, v), Y(r, v));
        last = v;
    }
    return last;
}

int SelectedCount(const App& app) {
    const auto& list = app.selection.SelectionList;
    return list.empty() ? 0 : list[0].Layer - 1;
}

const SelectedRecord& Entry(const App& app, int k) {
    const auto& list = app.selection.SelectionList;
    if (k < 1 || static_cast<std::size_t>(k) >= list.size()) Raise(ErrSubscriptOutOfRange);
    return list[static_cast<std::size_t>(k)];
}

MapRecord& Selected(App& app, int k) {
    const SelectedRecord& e = Entry(app, k);
    return app.store.At(e.Layer, e.Slot);
}

std::function<void(const std::string&)> MessageLine(App& app) {
    return [&app](const std::string& text) {
        if (app.form1) app.form1->Text2.SetText(text);
    };
}

void InvertRubber(App& app) { app.tool.RubberShown = app.tool.RubberShown == -1 ? 0 : -1; }

bool IsFillHead(int type) { return type == 11 || type == 13; }

// Which records the rotation does not highlight: those its highlight would draw incompletely.
bool SkipsHighlight(const MapRecord& r, int lastVertex) {
    const int t = r.RecordType;
    if ((t >= 31 && t <= 33) || (t >= 46 && t <= 48) || (t >= 71 && t <= 73)) return true;
    if (t == 80 || t == 81 || t == 85 || t == 87) return lastVertex < 4;
    return false;
}

void Mirror(App& app, double xjx, double yjx, std::uint8_t xyjx, bool acrossVertical) {
    const int count = SelectedCount(app);
    if (count < 1) return;
    double axis = 0;
    if (xyjx == 0) {
        const MapRecord& first = Selected(app, 1);
        axis = acrossVertical ? first.RecordX1 : first.RecordY1;
    } else if (xyjx == 1) {
        axis = acrossVertical ? xjx : yjx;
    }
    for (int k = 1; k <= count; ++k) {
        MapRecord& r = Selected(app, k);
        ForEachVertex(r, [axis, acrossVertical](double& x, double& y) {
            if (acrossVertical) x = 2 * axis - x;
            else y = 2 * axis - y;
        });
        // A fill head keeps its box corners in their order (upper left, upper right, lower right,
        // lower left), which its fill relies on; the swap undoes itself like the mirror.
        if (IsFillHead(r.RecordType)) {
            if (acrossVertical) {
                std::swap(r.RecordX1, r.RecordX2); std::swap(r.RecordY1, r.RecordY2);
                std::swap(r.RecordX3, r.RecordX4); std::swap(r.RecordY3, r.RecordY4);
            } else {
                std::swap(r.RecordX1, r.RecordX4); std::swap(r.RecordY1, r.RecordY4);
                std::swap(r.RecordX2, r.RecordX3); std::swap(r.RecordY2, r.RecordY3);
            }
        }
    }
    InvertRubber(app);
}

}  // namespace

VertexSet TransformVertices(int recordType) {
    if (recordType < 0 || recordType > 255) return P1;
    return VertexTable[static_cast<std::size_t>(recordType)];
}

void MirrorAxisPoint(int recordType, double x[4], double y[4], bool acrossVertical, double& ax, double& ay) {
    int v = 0;
    if (IsFillHead(recordType)) v = acrossVertical ? 1 : 3;
    ax = x[v];
    ay = y[v];
}

float LoneTextAngle(double px, double py, double x22, double y22) {
    double degrees = 180.0 / std::numbers::pi * Azimuth(px, py, x22, y22);
    // The azimuth constants carry the program's π: due east must give 90, not 89.
    if (std::fabs(degrees - std::round(degrees)) < 1e-9) degrees = std::round(degrees);
    return static_cast<float>(90.0 - Int(degrees));
}

void 旋转后(App& app, double x11, double y11, double x22, double y22, std::uint8_t xcc) {
    GuardToMessageLine(MessageLine(app), [&] {
        const int count = SelectedCount(app);
        if (count < 1) return;
        double px = app.tool.AnchorX;
        double py = app.tool.AnchorY;
        if (xcc != 255) {
            const MapRecord& first = Selected(app, 1);
            px = first.RecordX1;
            py = first.RecordY1;
        }
        const double rot = AngleBetween(px, py, x11, y11, x22, y22);
        const Rgb red = app.tables.ColorPalette[1];
        for (int k = 1; k <= count; ++k) {
            MapRecord& r = Selected(app, k);
            const int last = ForEachVertex(r, [px, py, rot](double& x, double& y) {
                const double d = Dist(px, py, x, y);
                if (d == 0) return;
                const double a = Azimuth(px, py, x, y) + rot;
                x = px + d * std::sin(a);
                y = py + d * std::cos(a);
            });
            if (count == 1 && r.RecordType >= 64 && r.RecordType <= 68) {
                r.RecordZ2 = LoneTextAngle(px, py, x22, y22);
                r.RecordType = 66;
            }
            if (!SkipsHighlight(r, last)) {
                const SelectedRecord& e = Entry(app, k);
                HighlightRecordSeam(app, e.Layer, e.Slot, red);
            }
        }
    });
}

void 平移后(App& app, double x1, double y1, double /*x2*/, double /*y2*/, std::uint8_t xcc) {
    GuardToMessageLine(MessageLine(app), [&] {
        const int count = SelectedCount(app);
        if (count < 1) return;
        double dx = -x1;
        double dy = -y1;
        if (xcc != 255) {
            const MapRecord& first = Selected(app, 1);
            dx = x1 - first.RecordX1;
            dy = y1 - first.RecordY1;
        }
        for (int k = 1; k <= count; ++k) {
            ForEachVertex(Selected(app, k), [dx, dy](double& x, double& y) {
                x += dx;
                y += dy;
            });
        }
        InvertRubber(app);
    });
}

void X镜像(App& app, double xjx, double yjx, std::uint8_t xyjx) {
    GuardToMessageLine(MessageLine(app), [&] { Mirror(app, xjx, yjx, xyjx, true); });
}

void Y镜像(App& app, double xjx, double yjx, std::uint8_t xyjx) { Mirror(app, xjx, yjx, xyjx, false); }

}  // namespace movra
