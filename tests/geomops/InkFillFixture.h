#pragma once
// The ink fills' test frame: line work on layer 2, the fill going to layer 3, 1:1000, spans read
// back from the records and from what the canvas drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "geomops/InkFill.h"
#include "platform/fake/RecordingSurface.h"
#include "support/TestApp.h"

namespace movra {

struct P {
    double x, y;
};

struct Span {
    double left, y, length;
};

constexpr Rgb Red = 0x0000FF;
constexpr Rgb Blue = 0xFF0000;
constexpr int Walls = 2;  // the line work
constexpr int Ink = 3;    // where the fill goes

class InkFillTest : public ::testing::Test {
public:
    InkFillTest() {
        t.form1.Load();
        auto& store = app.store;
        store.LayerCount = std::max<std::uint8_t>(store.LayerCount, 3);
        store.DimensionKeep(store.LayerCount);
        for (int l = 1; l <= 3; ++l) {
            store.LayerOnFlag[static_cast<std::size_t>(l)] = -1;
            store.Count(l) = 0;
            store.ClearFrom(l, 0);
        }
        store.CurrentLayer = Ink;
        app.view.ScaleFactor = 1;
        app.current.CurrentColor = Red;
        app.current.CurrentPen = 3;
        app.current.ModifiedFlag = 0;
        t.form1.Picture1.SetScale(-20, 120, 200, -200);
        t.form1.Text4_Click();
        Surface().ClearRecords();
    }

    RecordingSurface& Surface() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }

    MapRecord& Line(int layer, std::uint8_t type, std::vector<P> v) {
        MapRecord& r = app.store.At(layer, app.store.Count(layer)++);
        r = MapRecord{};
        r.RecordType = type;
        double* xs[4] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
        double* ys[4] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
        for (std::size_t k = 0; k < v.size(); ++k) *xs[k] = v[k].x, *ys[k] = v[k].y;
        return r;
    }
    // A rectangle of four two-vertex lines: bottom, right, top, left.
    void Rectangle(int layer, double x0, double y0, double x1, double y1) {
        Line(layer, 2, {{x0, y0}, {x1, y0}});
        Line(layer, 2, {{x1, y0}, {x1, y1}});
        Line(layer, 2, {{x1, y1}, {x0, y1}});
        Line(layer, 2, {{x0, y1}, {x0, y0}});
    }
    // The seed the ink tool leaves in the open slot.
    void Seed(P at) {
        MapRecord& r = app.store.At(Ink, app.store.Count(Ink));
        r = MapRecord{};
        r.RecordType = 86;
        r.RecordX1 = at.x;
        r.RecordY1 = at.y;
    }

    // Pours ink at the point (through the tool's seed) and reads the spans stored, checking that
    // each record is a sound ink-fill record and that the count ends right after the last one.
    std::vector<Span> Pour(P at, void (*fill)(App&, std::int32_t, std::int32_t, std::uint8_t) = 墨水填充) {
        const int before = app.store.Count(Ink);
        Seed(at);
        fill(app, static_cast<std::int32_t>(at.x), static_cast<std::int32_t>(at.y), 1);
        std::vector<Span> spans;
        for (int slot = before; slot < app.store.Count(Ink); ++slot) {
            const MapRecord& r = app.store.Get(Ink, slot);
            EXPECT_EQ(r.RecordType, 81);
            EXPECT_EQ(r.RecordPen, 8);
            EXPECT_EQ(r.RecordColor, Red);
            EXPECT_EQ(std::string(r.RecordText), "");
            const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
            const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
            const float zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
            int held = 0;
            for (int k = 0; k < 4; ++k) {
                if (k > 0 && xs[k] == 0 && ys[k] == 0) {
                    EXPECT_EQ(zs[k], 0);
                    continue;
                }
                EXPECT_EQ(held, k) << "a gap inside record " << slot;
                ++held;
                spans.push_back({xs[k], ys[k], zs[k]});
            }
            EXPECT_GE(held, 1);
        }
        const MapRecord& open = app.store.Get(Ink, app.store.Count(Ink));
        EXPECT_EQ(open.RecordType, 0) << "the open slot holds a record";
        EXPECT_EQ(Surface().DrawWidth(), 1);
        return spans;
    }
    std::vector<Span> DrawnSpans(Rgb color) {
        std::vector<Span> out;
        for (const auto& p : Surface().PrimitivesOf(SurfacePrimitive::Kind::Line))
            if (p.color == color && p.y1 == p.y2) out.push_back({std::min(p.x1, p.x2), p.y1, std::fabs(p.x2 - p.x1)});
        return out;
    }

    TestApp t;
    App& app = t.app;
};

inline bool SameSpans(std::vector<Span> a, std::vector<Span> b) {
    auto key = [](const Span& s) { return std::tuple(s.y, s.left, s.length); };
    auto less = [&](const Span& p, const Span& q) { return key(p) < key(q); };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::fabs(a[k].left - b[k].left) > 1e-4 || std::fabs(a[k].y - b[k].y) > 1e-4 ||
            std::fabs(a[k].length - b[k].length) > 1e-4)
            return false;
    return true;
}

}  // namespace movra
