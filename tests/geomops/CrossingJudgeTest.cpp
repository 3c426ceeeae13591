#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "geomops/CrossingJudge.h"
#include "platform/fake/RecordingSurface.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct P {
    double x, y;
};

class CrossingJudgeTest : public ::testing::Test {
protected:
    CrossingJudgeTest() {
        t.form1.Load();
        Surface().ClearRecords();
    }

    RecordingSurface& Surface() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }

    // The cutting line a1 -> a2 with its length and azimuths, as the cutting operations set it.
    void CuttingLine(P a1, P a2) {
        std::vector<double>& s = app.geometry.ScratchXY;
        s.assign(14, 0.0);
        s[2] = a1.x; s[3] = a1.y; s[4] = a2.x; s[5] = a2.y;
        s[10] = Dist(a1.x, a1.y, a2.x, a2.y);
        s[11] = Azimuth(a1.x, a1.y, a2.x, a2.y);
        s[12] = Azimuth(a2.x, a2.y, a1.x, a1.y);
    }
    std::uint8_t Segment(P b1, P b2, std::uint8_t flag) {
        std::vector<double>& s = app.geometry.ScratchXY;
        s[6] = b1.x; s[7] = b1.y; s[8] = b2.x; s[9] = b2.y;
        return 交叉点(app, flag);
    }
    std::uint8_t Circle(P c, double r, std::uint8_t flag) {
        std::vector<double>& s = app.geometry.ScratchXY;
        s[6] = c.x; s[7] = c.y; s[8] = r; s[9] = -1;
        return 交叉点(app, flag);
    }

    TestApp t;
    App& app = t.app;
};

TEST_F(CrossingJudgeTest, SegmentsAreJudgedByTheirCrossingAndTheSideOfB2) {
    struct Case {
        const char* name;
        P a1, a2, b1, b2;
        int cut, preview;  // results for flag 2 and flag 0
        bool marked;       // a counted crossing, marked and drawn
    };
    const Case cases[] = {
        {"B1 right of the line", {0, 0}, {10, 0}, {5, -5}, {5, 5}, 1, 0, true},
        {"segment reversed", {0, 0}, {10, 0}, {5, 5}, {5, -5}, 2, 0, true},
        {"line reversed", {10, 0}, {0, 0}, {5, -5}, {5, 5}, 2, 0, true},
        {"stops 0.02 short", {0, 0}, {10, 0}, {5, -5}, {5, -0.02}, 2, 0, true},
        {"stops 0.2 short", {0, 0}, {10, 0}, {5, -5}, {5, -0.2}, 0, 0, false},
        {"beyond the cutting line", {0, 0}, {10, 0}, {10.5, -5}, {10.5, 5}, 0, 0, false},
        {"parallel", {0, 0}, {10, 0}, {0, 3}, {10, 3}, 8, 8, false},
        {"collinear", {0, 0}, {10, 0}, {2, 0}, {8, 0}, 8, 8, false},
        // A cutting line heading a little west of north: the azimuths wrap through 0.
        {"near north, B2 right", {0, 0}, {-0.1, 10}, {-3, 5}, {3, 5}, 2, 0, true},
        {"near north, B2 left", {0, 0}, {-0.1, 10}, {3, 5}, {-3, 5}, 1, 0, true},
        {"near north east, B2 left", {0, 0}, {0.1, 10}, {3, 5}, {-3, 5}, 1, 0, true},
        // Survey coordinates keep the tolerance.
        {"at 3,500,000", {3500000, 400000}, {3500010, 400000}, {3500005, 399995}, {3500005, 399999.98}, 2, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CuttingLine(c.a1, c.a2);
        Surface().ClearRecords();
        EXPECT_EQ(Segment(c.b1, c.b2, 0), c.preview);
        EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Point).size(), c.marked ? 1u : 0u);
        Surface().ClearRecords();
        EXPECT_EQ(Segment(c.b1, c.b2, 2), c.cut);
        EXPECT_EQ(Segment(c.b1, c.b2, 1), c.cut);
        if (!c.marked) continue;
        const auto points = Surface().PrimitivesOf(SurfacePrimitive::Kind::Point);
        ASSERT_FALSE(points.empty());
        EXPECT_EQ(points.back().color, MakeRgb(255, 0, 0));
        const double ix = app.geometry.ScratchXY[0], iy = app.geometry.ScratchXY[1];
        EXPECT_DOUBLE_EQ(points.back().x1, ix);
        // The piece drawn is the one beyond the cut: from the crossing to the end of the result.
        const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
        ASSERT_FALSE(lines.empty());
        const P end = c.cut == 1 ? c.b1 : c.b2;
        EXPECT_DOUBLE_EQ(lines.back().x2, end.x);
        EXPECT_DOUBLE_EQ(lines.back().y2, end.y);
        EXPECT_EQ(lines.back().color, app.tables.ColorPalette[7]);
        // That end lies right of the cutting direction (or on it, where the segment stops there).
        const double cross = (c.a2.x - c.a1.x) * (end.y - c.a1.y) - (c.a2.y - c.a1.y) * (end.x - c.a1.x);
        EXPECT_LE(cross, 0);
    }
    CuttingLine({0, 0}, {10, 0});
    Segment({5, -5}, {5, 5}, 2);
    EXPECT_DOUBLE_EQ(app.geometry.ScratchXY[0], 5);
    EXPECT_DOUBLE_EQ(app.geometry.ScratchXY[1], 0);
}

TEST_F(CrossingJudgeTest, CirclesGiveTheAnglesOfTheTwoCrossings) {
    const double degree = Pi / 180;
    CuttingLine({0, 0}, {10, 0});
    EXPECT_EQ(Circle({5, 3}, 5, 0), 0);
    EXPECT_EQ(Circle({5, 3}, 5, 2), 1);
    // (9, 0) and (1, 0) seen from the centre.
    EXPECT_NEAR(app.geometry.ScratchXY[0], 323.130102354156 * degree, 1e-9);
    EXPECT_NEAR(app.geometry.ScratchXY[1], 216.869897645844 * degree, 1e-9);
    const auto arcs = Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle);
    ASSERT_FALSE(arcs.empty());
    EXPECT_TRUE(arcs.back().hasArc);
    EXPECT_DOUBLE_EQ(arcs.back().start, app.geometry.ScratchXY[0]);
    EXPECT_DOUBLE_EQ(arcs.back().end, app.geometry.ScratchXY[1]);
    EXPECT_DOUBLE_EQ(arcs.back().radius, 5);

    // Out of reach, or within 0.1 of missing it: 8, also for a preview.
    EXPECT_EQ(Circle({5, 20}, 5, 2), 8);
    EXPECT_EQ(Circle({5, 4.95}, 5, 0), 8);

    // Lines in every direction, those near north included, with centres on either side: both
    // angles point at the cutting line, the first towards A2.
    struct Case {
        P a1, a2, c;
        double r;
    };
    const Case cases[] = {
        {{0, 0}, {1, 100}, {5, 50}, 10},   {{0, 0}, {-1, 100}, {5, 50}, 10}, {{0, 0}, {-1, 100}, {-5, 50}, 10},
        {{0, 0}, {1, 100}, {-5, 50}, 10},  {{0, 100}, {1, 0}, {5, 50}, 10},  {{0, 0}, {100, -30}, {40, -20}, 15},
        {{50, 0}, {0, 0}, {20, 4}, 6},     {{0, 3}, {10, -1}, {5, 4}, 6},     {{0, 0}, {0, 100}, {3, 50}, 10},  {{0, 0}, {0, -100}, {3, -50}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line to (" << c.a2.x << "," << c.a2.y << ") centre (" << c.c.x << ","
                                        << c.c.y << ")");
        CuttingLine(c.a1, c.a2);
        ASSERT_EQ(Circle(c.c, c.r, 2), 1);
        const double s0 = app.geometry.ScratchXY[0], s1 = app.geometry.ScratchXY[1];
        P hit[2];
        int k = 0;
        for (double angle : {s0, s1}) {
            EXPECT_GE(angle, 0);
            EXPECT_LE(angle, TwoPi);
            hit[k] = {c.c.x + c.r * std::cos(angle), c.c.y + c.r * std::sin(angle)};
            const double dx = c.a2.x - c.a1.x, dy = c.a2.y - c.a1.y;
            const double off = (dx * (hit[k].y - c.a1.y) - dy * (hit[k].x - c.a1.x)) / std::hypot(dx, dy);
            EXPECT_NEAR(off, 0, 1e-9);
            ++k;
        }
        // The first crossing lies further along the direction A1 -> A2.
        const double along0 = (hit[0].x - c.a1.x) * (c.a2.x - c.a1.x) + (hit[0].y - c.a1.y) * (c.a2.y - c.a1.y);
        const double along1 = (hit[1].x - c.a1.x) * (c.a2.x - c.a1.x) + (hit[1].y - c.a1.y) * (c.a2.y - c.a1.y);
        EXPECT_GT(along0, along1);
    }
}

TEST_F(CrossingJudgeTest, AShortScratchListIsNoCrossing) {
    app.geometry.ScratchXY.assign(10, 0.0);
    EXPECT_EQ(交叉点(app, 2), 8);
    EXPECT_TRUE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());
}

}  // namespace
}  // namespace movra
