#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "App.h"
#include "document/Geometry.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr double Tight = 1e-12;

TEST(GeometryAngles, AzimuthAndDirectionAngleByQuadrant) {
    struct Case {
        double x2, y2, azimuth, direction;
    };
    // From the origin to (x2, y2).
    for (Case c : {Case{1, 1, Pi / 4, Pi / 4}, {1, -1, 3 * Pi / 4, 7 * Pi / 4},
                   {-1, -1, 5 * Pi / 4, 5 * Pi / 4}, {-1, 1, 7 * Pi / 4, 3 * Pi / 4},
                   {0, 0, 0, 0}, {0, -5, Pi, 3 * Pi / 2}, {0, 2, 0, Pi / 2},
                   {3, 0, Pi / 2, 0}, {-3, 0, 3 * Pi / 2, Pi},
                   {1, std::sqrt(3.0), Pi / 6, Pi / 3}}) {
        EXPECT_NEAR(Azimuth(0, 0, c.x2, c.y2), c.azimuth, Tight) << c.x2 << "," << c.y2;
        EXPECT_NEAR(DirectionAngle(0, 0, c.x2, c.y2), c.direction, Tight) << c.x2 << "," << c.y2;
    }
    // The axis directions are the constants exactly, as callers compare with them.
    EXPECT_EQ(Azimuth(5, 5, 5, -1), Pi);
    EXPECT_EQ(Azimuth(0, 0, 1, 0), Pi / 2);
    EXPECT_EQ(Azimuth(0, 0, -1, 0), Pi / 2 + Pi);
    // A non-finite difference gives 0 rather than an undefined angle.
    EXPECT_EQ(Azimuth(0, 0, std::numeric_limits<double>::quiet_NaN(), 1), 0);
}

TEST(GeometryAngles, AngleBetweenIsClockwiseFromFirstToSecond) {
    EXPECT_NEAR(AngleBetween(0, 0, 0, 1, 1, 0), Pi / 2, Tight);      // north to east
    EXPECT_NEAR(AngleBetween(0, 0, 1, 0, 0, 1), 3 * Pi / 2, Tight);  // east to north
    EXPECT_NEAR(AngleBetween(10, 10, 10, 20, 10, 20), 0, Tight);
    EXPECT_NEAR(AngleBetween(0, 0, -1, 1, 1, 1), Pi / 2, Tight);     // across north
}

TEST(GeometryAngles, DistIsEuclidean) {
    EXPECT_EQ(Dist(0, 0, 3, 4), 5);
    EXPECT_EQ(Dist(-1, -1, -1, -1), 0);
    EXPECT_NEAR(Dist(3500000, 500000, 3500003, 500004), 5, 1e-9);
}

TEST(GeometryAngles, PackedAnglesUnpackWithoutLosingAMinute) {
    auto degrees = [](double d, double m, double s) { return (d + m / 60 + s / 3600) * Pi / 180; };
    struct Case {
        double packed, radians;
    };
    for (Case c : {Case{1.13, degrees(1, 13, 0)}, {30.3, degrees(30, 30, 0)},
                   {1.1330, degrees(1, 13, 30)}, {0.0001, degrees(0, 0, 1)},
                   {359.5959, degrees(359, 59, 59)}, {90, degrees(90, 0, 0)},
                   {45.0730, degrees(45, 7, 30)}, {12.345678, degrees(12, 34, 56.78)},
                   {-1.13, -degrees(1, 13, 0)}, {0, 0}}) {
        EXPECT_NEAR(DmsToRad(c.packed), c.radians, Tight) << c.packed;
    }
    EXPECT_NEAR(RadToDms(degrees(30, 30, 0)), 30.3, Tight);
    EXPECT_NEAR(RadToDms(-degrees(1, 13, 0)), -1.13, Tight);
    EXPECT_NEAR(RadToDms(degrees(12, 34, 56.78)), 12.345678, 1e-10);  // fractions of seconds kept
    EXPECT_EQ(DmsToRad(std::numeric_limits<double>::infinity()), Pi);
    EXPECT_EQ(RadToDms(std::numeric_limits<double>::quiet_NaN()), 90);
}

TEST(GeometryAngles, EveryWholeSecondRoundTrips) {
    int failures = 0;
    for (int d = 0; d < 360; ++d) {
        for (int m = 0; m < 60; ++m) {
            for (int s = 0; s < 60; ++s) {
                // The double a user gets by typing d.mmss.
                const double packed = (d * 10000.0 + m * 100.0 + s) / 10000.0;
                if (RadToDms(DmsToRad(packed)) != packed && ++failures <= 5) {
                    ADD_FAILURE() << d << "°" << m << "'" << s << "\" came back as "
                                  << RadToDms(DmsToRad(packed));
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(GeometryAngles, PolarOffsetTurnsClockwiseAndScales) {
    FakePlatform fake;
    App app(fake);
    app.view.ScaleFactor = 2.5;
    const GeometryScratch& g = app.geometry;

    PolarOffset(app, 1, 0, 0, 1);  // the direction north leaves the element unturned
    EXPECT_NEAR(g.PolarDx, 2.5, Tight);
    EXPECT_NEAR(g.PolarDy, 0, Tight);
    EXPECT_EQ(g.PolarAngle, 0);

    PolarOffset(app, 0, 1, 1, 0);  // east: a quarter turn clockwise
    EXPECT_NEAR(g.PolarDx, 2.5, Tight);
    EXPECT_NEAR(g.PolarDy, 0, Tight);
    EXPECT_NEAR(g.PolarAngle, Pi / 2, Tight);

    PolarOffset(app, 2, 2, -1, -1);  // south-west: turned by 5π/4
    EXPECT_NEAR(g.PolarDx, -2.5 * 2 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(g.PolarDy, 0, 1e-9);

    PolarOffset(app, 1e308, 1e308, 0, 1);  // no finite offset: the neutral turn
    EXPECT_EQ(g.PolarDx, 0);
    EXPECT_EQ(g.PolarDy, 1);
    EXPECT_EQ(g.PolarAngle, 0);
}

}  // namespace
}  // namespace movra
