#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "App.h"
#include "document/Geometry.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

class GeometryCircles : public ::testing::Test {
protected:
    void Points(std::initializer_list<double> values) {
        s.assign(13, 77.0);
        std::size_t i = 0;
        for (double v : values) s[i++] = v;
    }

    FakePlatform fake;
    App app{fake};
    std::vector<double>& s = app.geometry.ScratchXY;
};

TEST_F(GeometryCircles, CircleThroughThreePointsWorkedValues) {
    struct Case {
        const char* what;
        double x0, y0, x1, y1, x2, y2;
        double cx, cy, radius;
    };
    for (Case c : {Case{"unit circle", 1, 0, 0, 1, -1, 0, 0, 0, 1},
                   {"the centre lies beyond the chord", 0, 0, 0.1, 1, -0.1, 1, 0, 0.505, 0.505},
                   {"the same points in another order", 0.1, 1, 0, 0, -0.1, 1, 0, 0.505, 0.505},
                   {"right angle at P1", 0, 0, 0, 4, 3, 4, 1.5, 2, 2.5},
                   {"far from the origin", 3500000, 500000, 3500010, 500000, 3500000, 500010,
                    3500005, 500005, std::sqrt(50.0)}}) {
        Points({c.x0, c.y0, c.x1, c.y1, c.x2, c.y2});
        CircleThrough3Points(app);
        EXPECT_NEAR(s[6], c.cx, 1e-9) << c.what;
        EXPECT_NEAR(s[7], c.cy, 1e-9) << c.what;
        EXPECT_NEAR(s[8], c.radius, 1e-9) << c.what;
    }
    // The negated direction angles from the centre to the first and to the third point.
    Points({1, 0, 0, 1, -1, 0});
    CircleThrough3Points(app);
    EXPECT_NEAR(s[9], 0, 1e-12);
    EXPECT_NEAR(s[10], -Pi, 1e-12);
    Points({0, 0, 0.1, 1, -0.1, 1});
    CircleThrough3Points(app);
    EXPECT_NEAR(s[9], -3 * Pi / 2, 1e-12);
}

TEST_F(GeometryCircles, CollinearPointsWriteNothingAndNearlyCollinearOnesAreCapped) {
    Points({0, 0, 1, 1, 3, 3});
    CircleThrough3Points(app);
    for (std::size_t i = 6; i <= 10; ++i) EXPECT_EQ(s[i], 77) << i;
    Points({0, 0, 1, 0, 1, 0});  // two points the same
    CircleThrough3Points(app);
    EXPECT_EQ(s[6], 77);

    // (0,0), (1,0), (2, 1e-9): the true centre lies about 1e9 above; the capped one keeps its
    // side and stays equidistant from P0 and P1.
    Points({0, 0, 1, 0, 2, 1e-9});
    CircleThrough3Points(app);
    EXPECT_EQ(s[8], 1000000);
    EXPECT_NEAR(s[6], 0.5, 1e-9);
    EXPECT_GT(s[7], 0);
    EXPECT_NEAR(Dist(s[6], s[7], 0, 0), 1000000, 1e-6);
    EXPECT_NEAR(Dist(s[6], s[7], 1, 0), 1000000, 1e-6);
    Points({0, 0, 1, 0, 2, -1e-9});
    CircleThrough3Points(app);
    EXPECT_LT(s[7], 0);
}

TEST_F(GeometryCircles, RandomCentresAreEquidistantFromTheirThreePoints) {
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
    int checked = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x0 = coordinate(random), y0 = coordinate(random);
        const double x1 = coordinate(random), y1 = coordinate(random);
        const double x2 = coordinate(random), y2 = coordinate(random);
        Points({x0, y0, x1, y1, x2, y2});
        CircleThrough3Points(app);
        const double r = s[8];
        if (r >= 1000000) continue;  // capped: not the circumcircle
        ++checked;
        const double d0 = Dist(s[6], s[7], x0, y0);
        const double d1 = Dist(s[6], s[7], x1, y1);
        const double d2 = Dist(s[6], s[7], x2, y2);
        ASSERT_NEAR(d0, r, 1e-9 * r) << i;
        ASSERT_NEAR(d1, r, 1e-9 * r) << i;
        ASSERT_NEAR(d2, r, 1e-9 * r) << i;
    }
    EXPECT_GT(checked, 9900);
}

// The direction angle of (x, y) seen from the origin, in [0, 2π).
double DirectionOf(double x, double y) {
    double a = std::atan2(y, x);
    return a < 0 ? a + 2 * M_PI : a;
}

double AngleGap(double a, double b) {
    double gap = std::fmod(std::fabs(a - b), 2 * M_PI);
    return std::min(gap, 2 * M_PI - gap);
}

TEST_F(GeometryCircles, TangentAnglesMatchTheCrossingsOverASweepOfDirections) {
    const double mx = 100, my = 200, r = 10;
    std::vector<double> azimuths = {0, HalfPi, Pi, ThreeHalfPi, Pi / 2, 0.03, TwoPi - 0.03,
                                    2 * Pi / 180, 358 * Pi / 180};
    for (int degrees = 0; degrees < 360; degrees += 7) azimuths.push_back(degrees * Pi / 180);

    int cases = 0;
    for (double u : azimuths) {
        // The line direction as a unit vector, exact along the axes.
        double ex = std::sin(u), ey = std::cos(u);
        if (u == 0) ex = 0, ey = 1;
        if (u == HalfPi || u == Pi / 2) ex = 1, ey = 0;
        if (u == Pi) ex = 0, ey = -1;
        if (u == ThreeHalfPi) ex = -1, ey = 0;
        for (double offset : {-7.5, -3.0, 0.0, 4.0, 9.5}) {
            // The foot of the perpendicular from the centre; positive offsets lie to the right of
            // the line's direction, so the centre lies on its left.
            const double fx = mx + offset * ey, fy = my - offset * ex;
            // Both ends ahead of the centre, around it, and both behind it.
            for (std::pair<double, double> ends : {std::pair{-50.0, 50.0}, {-100.0, -20.0}, {20.0, 100.0}}) {
                Points({77, 77, fx + ends.first * ex, fy + ends.first * ey, fx + ends.second * ex,
                        fy + ends.second * ey, mx, my, r, 1, 77});
                const double azimuth = Azimuth(s[2], s[3], s[4], s[5]);
                s[11] = u == HalfPi ? HalfPi : azimuth;  // as callers pass it
                s[12] = s[11] < Pi ? s[11] + Pi : s[11] - Pi;
                ASSERT_TRUE(TangentAngles(app)) << u << " " << offset;

                // The crossings, independently: the foot ± half the chord along the line.
                const double half = std::sqrt(r * r - offset * offset);
                const double ahead = DirectionOf(fx + half * ex - mx, fy + half * ey - my);
                const double behind = DirectionOf(fx - half * ex - mx, fy - half * ey - my);
                // Element 0 is the crossing ahead when the centre lies left of the line, the one
                // behind when it lies right.
                // Through the centre both orders are right.
                const double first = offset >= 0 ? ahead : behind;
                const double second = offset >= 0 ? behind : ahead;
                const bool swapped = offset == 0 && AngleGap(s[0], second) < 1e-6;
                EXPECT_LT(AngleGap(s[0], swapped ? second : first), 1e-6) << "u " << u << " offset " << offset;
                EXPECT_LT(AngleGap(s[1], swapped ? first : second), 1e-6) << "u " << u << " offset " << offset;
                EXPECT_GE(s[0], 0);
                EXPECT_LE(s[0], TwoPi);
                EXPECT_GE(s[1], 0);
                EXPECT_LE(s[1], TwoPi);
                ++cases;
            }
        }
    }
    EXPECT_GT(cases, 700);
}

TEST_F(GeometryCircles, TangentAnglesRefuseLinesThatMissOrGrazeTheRim) {
    // A north line at x = offset from the centre (0, 0), radius 10.
    for (double offset : {9.95, 10.0, 12.0, -9.95}) {
        Points({77, 77, offset, -20, offset, 20, 0, 0, 10, 1, 77, 0, Pi});
        EXPECT_FALSE(TangentAngles(app)) << offset;
        EXPECT_EQ(s[0], 77);
        EXPECT_EQ(s[1], 77);
    }
    // A flattened ellipse (aspect 0.5) is crossed only within its smaller radius.
    Points({77, 77, 6, -20, 6, 20, 0, 0, 10, 0.5, 77, 0, Pi});
    EXPECT_FALSE(TangentAngles(app));
    Points({77, 77, 4, -20, 4, 20, 0, 0, 10, 0.5, 77, 0, Pi});
    EXPECT_TRUE(TangentAngles(app));
    Points({77, 77, 0, -20, 0, 20, 0, 0, 10, 0, 77, 0, Pi});  // aspect 0: nothing to cross
    EXPECT_FALSE(TangentAngles(app));
    EXPECT_EQ(s[0], 77);
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

}  // namespace
}  // namespace movra
