#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "App.h"
#include "document/Geometry.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

class GeometryLines : public ::testing::Test {
protected:
    // Fills ScratchXY from element 0; the rest of its 13 elements is set to 77, a value no
    // procedure here computes, so that an untouched element shows.
    void Points(std::initializer_list<double> values) {
        s.assign(13, 77.0);
        std::size_t i = 0;
        for (double v : values) s[i++] = v;
    }
    void ExpectPoint(std::size_t index, double x, double y, double tolerance = 1e-12) {
        EXPECT_NEAR(s[index], x, tolerance) << "x of element " << index;
        EXPECT_NEAR(s[index + 1], y, tolerance) << "y of element " << index + 1;
    }

    FakePlatform fake;
    App app{fake};
    std::vector<double>& s = app.geometry.ScratchXY;
};

TEST_F(GeometryLines, LineIntersectCoversEveryOrientation) {
    struct Case {
        const char* what;
        double x1, y1, x2, y2, x3, y3, x4, y4;
        bool meets;
        double x0, y0;
    };
    for (Case c : {
             Case{"A horizontal, B vertical", 0, 0.3, 5, 0.3, 0.7, -1, 0.7, 9, true, 0.7, 0.3},
             {"A vertical, B horizontal", 0.1, -4, 0.1, 4, -2, 0.9, 3, 0.9, true, 0.1, 0.9},
             {"B horizontal", 0, 0, 2, 4, -9, 2, 9, 2, true, 1, 2},
             {"A horizontal", -9, 2, 9, 2, 0, 0, 2, 4, true, 1, 2},
             {"A vertical", 1, -9, 1, 9, 0, 0, 2, 4, true, 1, 2},
             {"B vertical", 0, 0, 2, 4, 1, -9, 1, 9, true, 1, 2},
             {"oblique", 0, 0, 2, 2, 0, 2, 2, 0, true, 1, 1},
             {"beyond both segments", 0, 0, 1, 1, 10, 0, 11, -1, true, 5, 5},
             {"both vertical", 1, 0, 1, 5, 2, 0, 2, 5, false, 77, 77},
             {"both horizontal", 0, 1, 5, 1, 0, 2, 5, 2, false, 77, 77},
             {"parallel oblique", 0, 0, 1, 2, 5, 0, 6, 2, false, 77, 77},
             {"same line", 0, 0, 1, 2, 2, 4, 3, 6, false, 77, 77},
         }) {
        Points({77, 77, c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4});
        EXPECT_EQ(LineIntersect(app), c.meets) << c.what;
        ExpectPoint(0, c.x0, c.y0, 1e-12);
    }
    // Coordinates fixed by an axis-parallel line are copied, not computed.
    Points({77, 77, 0, 0.3, 5, 0.3, 0.7, -1, 0.7, 9});
    LineIntersect(app);
    EXPECT_EQ(s[0], 0.7);
    EXPECT_EQ(s[1], 0.3);
}

TEST_F(GeometryLines, SegmentXAtYFollowsTheLineOfTheSegment) {
    Points({77, 77, 0, 5, 0, 0, 3, 0, 3, 10});  // vertical segment
    EXPECT_TRUE(SegmentXAtY(app));
    ExpectPoint(0, 3, 5);
    Points({77, 77, 0, 5, 0, 0, 0, 0, 10, 20});  // oblique, at y 5
    EXPECT_TRUE(SegmentXAtY(app));
    ExpectPoint(0, 2.5, 5);
    Points({77, 77, 0, 30, 0, 0, 0, 0, 10, 20});  // beyond the segment's end: the line counts
    SegmentXAtY(app);
    ExpectPoint(0, 15, 30);
}

TEST_F(GeometryLines, PointLineDistanceFromLinesCirclesAndPoints) {
    struct Case {
        const char* what;
        double px, py, ax, ay, bx, by, distance;
    };
    for (Case c : {Case{"above a horizontal line", 3, 4, 0, 0, 10, 0, 4},
                   {"beyond the end: the infinite line", 30, -4, 0, 0, 10, 0, 4},
                   {"oblique line", 0, 2, 0, 0, 1, 1, std::sqrt(2.0)},
                   {"circle of radius 2, point 5 from the centre", 3, 4, 0, 0, 2, -1, 3},
                   {"inside the circle", 1, 0, 0, 0, 2, -1, -1},
                   {"zero-length line: distance to the point", 3, 4, 0, 0, 0, 0, 5},
                   {"point on the line", 5, 5, 0, 0, 10, 10, 0},
                   {"survey coordinates", 3500000.3, 500000.5, 3500000, 499000, 3500000, 501000, 0.3}}) {
        EXPECT_NEAR(PointLineDist(c.px, c.py, c.ax, c.ay, c.bx, c.by), c.distance, 1e-9) << c.what;
    }
}

TEST_F(GeometryLines, PolygonAreaIsSignedByOrientation) {
    Points({0, 0, 1, 0, 1, 1, 0, 1});
    EXPECT_DOUBLE_EQ(PolygonArea(app, 3), 1);
    Points({0, 0, 0, 1, 1, 1, 1, 0});
    EXPECT_DOUBLE_EQ(PolygonArea(app, 3), -1);
    Points({0, 0, 4, 0, 0, 3});
    EXPECT_DOUBLE_EQ(PolygonArea(app, 2), 6);
    EXPECT_EQ(PolygonArea(app, -1), 0);
    EXPECT_EQ(PolygonArea(app, 0), 0);  // one point: no area, and nothing read before element 0
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

TEST_F(GeometryLines, AShortPointListIsReportedAndGivesTheNeutralResult) {
    s.assign(6, 0.0);
    EXPECT_EQ(PolygonArea(app, 3), 0);  // needs elements 0..7
    EXPECT_FALSE(LineIntersect(app));
    EXPECT_FALSE(OffsetSegmentBySide(app, 1));
    OffsetSegment(app, 1, 0);
    EXPECT_EQ(s, std::vector<double>(6, 0.0));
    ASSERT_EQ(fake.promptScript.questions.size(), 4u);
    for (const PromptQuestion& q : fake.promptScript.questions) {
        EXPECT_EQ(q.text, "下标越界");
        EXPECT_EQ(q.title, "9");
        EXPECT_EQ(q.style, MsgOkOnly);
    }
}

TEST_F(GeometryLines, OffsetSegmentBySideTakesTheSideOfTheSidePoint) {
    // P0 side point, P1–P2 the segment (0,0)–(10,0); the right-hand candidate lies below.
    Points({5, 2, 0, 0, 10, 0});
    EXPECT_TRUE(OffsetSegmentBySide(app, 2));
    ExpectPoint(6, 10, 2);
    ExpectPoint(8, 0, 2);
    Points({5, -2, 0, 0, 10, 0});
    EXPECT_TRUE(OffsetSegmentBySide(app, -2));  // the sign of the distance does not matter
    ExpectPoint(6, 10, -2);
    ExpectPoint(8, 0, -2);
    // A copy whose end lies at y = -1 is a line, not a circle of radius x.
    Points({5, -1, 0, 1, 10, 1});
    EXPECT_TRUE(OffsetSegmentBySide(app, 2));
    ExpectPoint(6, 10, -1);
    ExpectPoint(8, 0, -1);
    // A segment of no length has no parallel: nothing is written.
    Points({5, 2, 3, 3, 3, 3});
    EXPECT_FALSE(OffsetSegmentBySide(app, 2));
    ExpectPoint(6, 77, 77);
    ExpectPoint(8, 77, 77);
}

TEST_F(GeometryLines, OffsetSegmentChoosesItsSideByMode) {
    struct Case {
        const char* what;
        double distance;
        int mode;
        double qx, qy;
        double x2, y2, x3, y3;  // copy of P1, copy of P0
    };
    // The base P0 (0,0) – P1 (1,0); the right-hand candidate lies at y = -2.
    for (Case c : {Case{"measured, on the candidate", 2, 0, 0.5, -2, 1, -2, 0, -2},
                   {"measured, other side", 2, 0, 0.5, 3, 1, 2, 0, 2},
                   {"typed, nearer the candidate", 2, -1, 0.5, -1.5, 1, -2, 0, -2},
                   {"typed, nearer the base", 2, -1, 0.5, -0.5, 1, 2, 0, 2},
                   {"typed, left of the base", 2, -1, 0.5, 1, 1, 2, 0, 2},
                   {"other modes keep the candidate", 2, 1, 0.5, 3, 1, -2, 0, -2},
                   {"negative: five times as long", -2, 0, 0.5, -2, 3, -2, -2, -2}}) {
        Points({0, 0, 1, 0, 77, 77, 77, 77, c.qx, c.qy});
        OffsetSegment(app, c.distance, c.mode);
        ExpectPoint(4, c.x2, c.y2);
        ExpectPoint(6, c.x3, c.y3);
        ExpectPoint(8, c.qx, c.qy);  // the side point stays
    }
    Points({4, 4, 4, 4, 1, 1, 2, 2, 9, 9});  // no base line: the previous copy stays
    OffsetSegment(app, 2, 0);
    ExpectPoint(4, 1, 1);
    ExpectPoint(6, 2, 2);
}

TEST_F(GeometryLines, PointAlongSegmentMeasuresFromTheStart) {
    Points({0, 0, 3, 4});
    PointAlongSegment(app, 10);  // beyond the end
    ExpectPoint(6, 6, 8);
    PointAlongSegment(app, -2.5);
    ExpectPoint(6, 1.5, 2);
    Points({1, 1, 1, 1});
    PointAlongSegment(app, 2);
    ExpectPoint(6, 77, 77);
}

TEST_F(GeometryLines, PerpendicularFootAndThePointAtADistance) {
    struct Case {
        const char* what;
        double px, py, distance;
        double footX, footY, x2, y2;
    };
    // Base (0,0)–(10,0).
    for (Case c : {Case{"foot inside", 4, 3, 0, 4, 0, 4, 3},
                   {"foot below the line", 4, -3, 0, 4, 0, 4, -3},
                   {"point moved to 1 from the foot", 4, 3, 1, 4, 0, 4, 1},
                   {"negative distance: other side", 4, 3, -1, 4, 0, 4, -1},
                   {"foot beyond the end", 15, 3, 0, 15, 0, 15, 3},
                   {"foot before the start, below", -6, -2, 0, -6, 0, -6, -2},
                   {"point on the line stays", 7, 0, 2, 7, 0, 7, 0}}) {
        Points({0, 0, 10, 0, c.px, c.py});
        PerpendicularFoot(app, c.distance);
        ExpectPoint(6, c.footX, c.footY, 1e-12);
        ExpectPoint(4, c.x2, c.y2, 1e-12);
    }
    Points({0, 0, 4, 4, 0, 4});  // oblique base
    PerpendicularFoot(app, 0);
    ExpectPoint(6, 2, 2);
    Points({2, 2, 2, 2, 5, 6});  // a base of no length is its point
    PerpendicularFoot(app, 10);
    ExpectPoint(6, 2, 2);
    ExpectPoint(4, 8, 10);
}

}  // namespace
}  // namespace movra
