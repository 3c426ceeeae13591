#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "geomops/KeepInside.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct P {
    double x, y;
};

// A parcel of line work on layer 2; the pieces go to layer 3.
class KeepInsideTest : public ::testing::Test {
protected:
    KeepInsideTest() {
        t.form1.Load();
        auto& store = app.store;
        store.LayerCount = std::max<std::uint8_t>(store.LayerCount, 3);
        store.DimensionKeep(store.LayerCount);
        for (int l = 1; l <= 3; ++l) {
            store.LayerOnFlag[static_cast<std::size_t>(l)] = -1;
            store.Count(l) = 0;
            store.ClearFrom(l, 0);
        }
        // The pieces go to layer 3, which is off: they do not cross the next lines.
        store.LayerOnFlag[3] = 0;
        store.CurrentLayer = 3;
        app.current.CurrentColor = 0x00FF00;
        app.current.CurrentPen = 4;
        app.tool.CommandArgument = "W12";
    }
    void Line(int layer, std::uint8_t type, std::vector<P> v) {
        MapRecord& r = app.store.At(layer, app.store.Count(layer)++);
        r.RecordType = type;
        double* xs[4] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
        double* ys[4] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
        for (std::size_t k = 0; k < v.size(); ++k) *xs[k] = v[k].x, *ys[k] = v[k].y;
    }
    // A rectangle of four two-vertex lines from (x0, y0) to (x1, y1).
    void Rectangle(double x0, double y0, double x1, double y1) {
        Line(2, 2, {{x0, y0}, {x1, y0}});
        Line(2, 2, {{x1, y0}, {x1, y1}});
        Line(2, 2, {{x1, y1}, {x0, y1}});
        Line(2, 2, {{x0, y1}, {x0, y0}});
    }
    // The pieces stored for the drawn segment a -> b, as "x1,y1-x2,y2".
    std::vector<std::string> Keep(P a, P b) {
        const int before = app.store.Count(3);
        auto& s = app.geometry.ScratchXY;
        s.assign(14, 0.0);
        s[2] = a.x, s[3] = a.y, s[4] = b.x, s[5] = b.y;
        AddInsidePieces(app);
        std::vector<std::string> out;
        for (int k = before; k < app.store.Count(3); ++k) {
            const MapRecord& r = app.store.Get(3, k);
            char text[128];
            std::snprintf(text, sizeof text, "%g,%g-%g,%g", r.RecordX1 - origin.x, r.RecordY1 - origin.y,
                          r.RecordX2 - origin.x, r.RecordY2 - origin.y);
            out.push_back(text);
            EXPECT_EQ(r.RecordType, 2);
            EXPECT_EQ(r.RecordColor, 0x00FF00);
            EXPECT_EQ(r.RecordPen, 4);
            EXPECT_EQ(std::string(r.RecordText), "W12");
            EXPECT_EQ(std::string(r.RecordExtra), "0");
        }
        return out;
    }
    P At(double x, double y) const { return {origin.x + x, origin.y + y}; }

    TestApp t;
    App& app = t.app;
    P origin{0, 0};
};

using Pieces = std::vector<std::string>;

TEST_F(KeepInsideTest, ALineAcrossARectangleKeepsWhatLiesInside) {
    // Near 0 and at survey coordinates the crossings pair alike.
    for (P o : {P{0, 0}, P{3500000, 400000}}) {
        SCOPED_TRACE(o.x);
        origin = o;
        app.store.Count(2) = 0;
        app.store.ClearFrom(2, 0);
        Rectangle(o.x, o.y, o.x + 10, o.y + 6);
        EXPECT_EQ(Keep(At(-5, 3), At(15, 3)), (Pieces{"0,3-10,3"}));
        EXPECT_EQ(Keep(At(15, 2), At(-5, 2)), (Pieces{"0,2-10,2"}));
        // No crossing, one crossing: nothing.
        EXPECT_EQ(Keep(At(-5, 8), At(15, 8)), Pieces{});
        EXPECT_EQ(Keep(At(5, 3), At(15, 3)), Pieces{});
        // Vertical: paired by y.
        EXPECT_EQ(Keep(At(4, 10), At(4, -4)), (Pieces{"4,0-4,6"}));
        // The diagonal through two corners: each corner is one crossing.
        EXPECT_EQ(Keep(At(-10, -6), At(20, 12)), (Pieces{"0,0-10,6"}));
    }
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST_F(KeepInsideTest, ThreeCrossingsKeepTheFirstPairAndAnApexTouchedGivesNone) {
    Rectangle(0, 0, 10, 6);
    Line(1, 2, {{20, -5}, {20, 10}});
    EXPECT_EQ(Keep({-5, 3}, {25, 3}), (Pieces{"0,3-10,3"}));
    // A triangle touched at its apex from outside; passed through at a vertex, one crossing.
    app.store.Count(1) = 0;
    app.store.Count(2) = 0;
    Line(2, 4, {{30, 0}, {40, 10}, {50, 0}, {30, 0}});
    EXPECT_EQ(Keep({30, 10}, {50, 10}), Pieces{});
    EXPECT_EQ(Keep({40, 15}, {40, -5}), (Pieces{"40,0-40,10"}));
    // A fill head gives no crossing; a layer turned off neither.
    app.store.Count(2) = 0;
    Line(2, 13, {{0, 0}, {10, 6}, {0, 6}});
    Line(1, 2, {{2, -5}, {2, 10}});
    Line(1, 2, {{8, -5}, {8, 10}});
    app.store.LayerOnFlag[1] = 0;
    EXPECT_EQ(Keep({-5, 3}, {15, 3}), Pieces{});
    app.store.LayerOnFlag[1] = -1;
    EXPECT_EQ(Keep({-5, 3}, {15, 3}), (Pieces{"2,3-8,3"}));
}

}  // namespace
}  // namespace movra
