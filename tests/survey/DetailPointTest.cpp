#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "document/Geometry.h"
#include "support/TestApp.h"
#include "survey/SurveyCapture.h"

namespace movra {
namespace {

// Station E 1000, N 2000, H 50; zero direction due north at E 1000, N 2100; zero reading 0.
struct DetailPoint_ : ::testing::Test {
    DetailPoint_() {
        StationSetup& s = t.app.station;
        s.StationX = {1000, 1000, 1100, 0};
        s.StationY = {2000, 2100, 2000, 1.5};
        s.StationH = {50, 0, 0, 0};
        s.StationAngles[0] = 0;
        s.StationAngles[1] = Azimuth(1000, 2000, 1000, 2100);
    }
    DetailPoint Compute(double slope, double direction, double vertical, double i = 1.5, double v = 1.5) {
        return ComputeDetailPoint(t.app, {slope, direction, vertical, i, v});
    }
    TestApp t;
};

TEST_F(DetailPoint_, PolarMethodFromTheZeroDirection) {
    struct Case {
        double slope, direction, vertical, e, n, h;
    };
    const double cos30 = std::cos(30 * Pi / 180);
    for (const Case& c : std::vector<Case>{
             {100, 90.0000, 0, 1100, 2000, 50},     // a quarter turn clockwise: east
             {100, 0, 0, 1000, 2100, 50},           // on the zero direction
             {100, 180.0000, 0, 1000, 1900, 50},
             {100, 270.0000, 0, 900, 2000, 50},
             {100, 360.0000, 0, 1000, 2100, 50},
             {100, 0, 30.0000, 1000, 2000 + 100 * cos30, 100},  // 50 + 100 sin 30°
             {100, 0, -30.0000, 1000, 2000 + 100 * cos30, 0},   // below the horizon, mirrored
         }) {
        const DetailPoint p = Compute(c.slope, c.direction, c.vertical);
        EXPECT_NEAR(p.E, c.e, 1e-6) << c.direction << " " << c.vertical;
        EXPECT_NEAR(p.N, c.n, 1e-6) << c.direction << " " << c.vertical;
        EXPECT_NEAR(p.H, c.h, 1e-9) << c.direction << " " << c.vertical;
    }
}

TEST_F(DetailPoint_, AZeroReadingTurnsTheCircleAndHeightsCount) {
    // The circle read 90° on the zero direction: a reading of 90 points along it.
    t.app.station.StationAngles[0] = DmsToRad(90);
    DetailPoint p = Compute(50, 90, 0, 1.6, 2.0);
    EXPECT_NEAR(p.E, 1000, 1e-6);
    EXPECT_NEAR(p.N, 2050, 1e-6);
    EXPECT_NEAR(p.H, 49.6, 1e-9);
}

TEST_F(DetailPoint_, ElevationsRoundToCentimetresHalvesUp) {
    for (auto [stationH, expected] : std::vector<std::pair<double, double>>{
             {-0.0125, -0.01}, {0.125, 0.13}, {-0.125, -0.12}, {0.124, 0.12}, {-0.126, -0.13}}) {
        t.app.station.StationH[0] = stationH;
        EXPECT_DOUBLE_EQ(Compute(0, 0, 0, 0, 0).H, expected) << stationH;
    }
}

TEST_F(DetailPoint_, AngleBelowTheHorizonIsTheMirrorOfTheOneAbove) {
    // −2°30'15" must lower the point exactly as much as +2°30'15" raises it, at the same distance.
    const DetailPoint up = Compute(200, 45.1234, 2.3015, 0, 0);
    const DetailPoint down = Compute(200, 45.1234, -2.3015, 0, 0);
    EXPECT_NEAR(up.E, down.E, 1e-9);
    EXPECT_NEAR(up.N, down.N, 1e-9);
    EXPECT_NEAR(up.H - 50, 50 - down.H, 0.011);
}

TEST_F(DetailPoint_, GarbledReadingsThatLeaveTheEarthAreRefused) {
    for (double slope : {1e300, double(INFINITY), double(NAN), 1e12}) {
        try {
            Compute(slope, 10, 0);
            ADD_FAILURE() << slope;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number, ErrOverflow);
        }
    }
}

TEST(SurveyCode, KindsByCode) {
    using K = SurveyPointKind;
    for (auto [code, kind] : std::vector<std::pair<std::string, K>>{
             {"1", K::Symbol}, {"36", K::Symbol}, {"350", K::Symbol}, {"351", K::LineVertex},
             {"400", K::LineVertex}, {"700", K::LineVertex}, {"0", K::Elevation}, {"999", K::Elevation},
             {"1000", K::Elevation}, {"998", K::Terrain}, {"350.5", K::Elevation}, {"-5", K::Elevation}}) {
        EXPECT_EQ(KindOfCode(code, SurveyCodeNumber(code)), kind) << code;
    }
    for (std::string bad : {"", "  ", "abc", "12a", "0x10", "1,5", "inf", "nan"}) {
        try {
            SurveyCodeNumber(bad);
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number, ErrTypeMismatch) << bad;
        }
    }
    EXPECT_EQ(SurveyPointCode(" 351 ", false), "351");
    EXPECT_EQ(SurveyPointCode("351", true), "998");
}

TEST_F(DetailPoint_, OrientationPredictsAndChecksTheCheckDirection) {
    // Check direction due east: 90° clockwise from the zero direction.
    const std::string lb = "\r\n";
    EXPECT_EQ(OrientOnZeroDirection(t.app, 0.3000, lb), "检查方向读数预测(ddd.mmss)为:" + lb + "90.3");
    EXPECT_NEAR(t.app.station.StationAngles[0], DmsToRad(0.3), 1e-15);
    EXPECT_EQ(CheckDirectionError(t.app, 90.3005, lb), "检查方向读数误差(ddd.mmss)为:" + lb + "0.0005");
    EXPECT_EQ(CheckDirectionError(t.app, 90.2955, lb), "检查方向读数误差(ddd.mmss)为:" + lb + "-0.0005");
    EXPECT_EQ(CheckDirectionError(t.app, 90.3, lb), "检查方向读数误差(ddd.mmss)为:" + lb + "0");
    EXPECT_EQ(CheckDirectionError(t.app, 90.30004, lb), "检查方向读数误差(ddd.mmss)为:" + lb + "0.00004");
    // A zero reading far from zero is advised against, with the prediction beyond a full turn kept.
    EXPECT_EQ(OrientOnZeroDirection(t.app, 300, lb),
              "零方向读数宜在0~9度之间" + lb + "检查方向读数预测为:" + lb + "390" + lb);
    // The circle reads 30° on the check direction, a whole turn short of 390: 0 error, not −360.
    EXPECT_EQ(CheckDirectionError(t.app, 30.0001, lb), "检查方向读数误差(ddd.mmss)为:" + lb + "0.0001");
}

}  // namespace
}  // namespace movra
