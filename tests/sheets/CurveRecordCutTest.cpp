// Cutting circles and arcs into arcs at a sheet line, and ellipses into line chains.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "document/Geometry.h"
#include "sheets/SheetCutFixture.h"

namespace movra {
namespace {

struct ArcCase {
    const char* what;
    double start, end;
    bool vertical;  // the line x = at, else y = at
    double at;
    std::vector<double> angles;  // the pieces' ends in order along the arc; empty: unchanged
};

double Angle(double x, double y) {
    double a = std::atan2(y, x);
    return a < 0 ? a + TwoPi : a;
}

class CurveCut : public SheetCutFixture {
protected:
    MapRecord& Circle(double cx = 0, double cy = 0, double r = 10) {
        MapRecord& m = Put(7, {{cx, cy}, {r, 1}});
        m.RecordColor = 255;
        return m;
    }
    MapRecord& Arc(double start, double end) {
        MapRecord& m = Put(8, {{0, 0}, {10, 1}, {start, end}});
        m.RecordColor = 255;
        return m;
    }
    // Each arc's point (X4, Y4) is its middle, on the circle of its radius.
    void ExpectMidPoints(int from, int to) {
        for (int slot = from; slot < to; ++slot) {
            const MapRecord& a = R(slot);
            EXPECT_NEAR(std::hypot(a.RecordX4 - a.RecordX1, a.RecordY4 - a.RecordY1), a.RecordX2, 1e-9);
            double span = a.RecordY3 - a.RecordX3;
            if (span < 0) span += TwoPi;
            double mid = a.RecordX3 + span / 2;
            if (mid >= TwoPi) mid -= TwoPi;
            const double got = Angle(a.RecordX4 - a.RecordX1, a.RecordY4 - a.RecordY1);
            EXPECT_NEAR(std::remainder(got - mid, TwoPi), 0, 1e-9) << "slot " << slot;
        }
    }
};

TEST_F(CurveCut, SplitsACircleIntoTwoArcsEndingOnTheLine) {
    Circle();
    Put(2, {{100, 100}, {101, 101}});
    CutVertical(3);
    ASSERT_EQ(Count(), 3);
    const MapRecord& first = R(0);
    const MapRecord& second = R(1);
    EXPECT_EQ(first.RecordType, 8);
    EXPECT_EQ(second.RecordType, 8);
    EXPECT_EQ(second.RecordX3, first.RecordY3);
    EXPECT_EQ(second.RecordY3, first.RecordX3);
    for (double angle : {first.RecordX3, first.RecordY3}) EXPECT_NEAR(10 * std::cos(angle), 3, 1e-9);
    ExpectMidPoints(0, 2);
    // One middle west of the line, one east.
    std::vector<std::pair<double, double>> mids{{first.RecordX4, first.RecordY4}, {second.RecordX4, second.RecordY4}};
    std::sort(mids.begin(), mids.end());
    EXPECT_NEAR(mids[0].first, -10, 1e-9);
    EXPECT_NEAR(mids[0].second, 0, 1e-9);
    EXPECT_NEAR(mids[1].first, 10, 1e-9);
    EXPECT_NEAR(mids[1].second, 0, 1e-9);
    for (int slot = 0; slot < 2; ++slot) {
        ExpectSameAttributes(R(slot), R(0));
        EXPECT_EQ(R(slot).RecordColor, 255);
        EXPECT_EQ(R(slot).RecordX2, 10);
    }
    EXPECT_EQ(R(2).RecordType, 2);
}

TEST_F(CurveCut, CutsACircleOnlyWhereTheLinePassesWellInsideItsRim) {
    struct Case {
        double x;
        bool cut;
    };
    for (Case c : {Case{0, true}, Case{-3, true}, Case{9.85, true}, Case{9.95, false}, Case{10, false},
                   Case{-10, false}, Case{12, false}}) {
        ClearLayer();
        Circle();
        CutVertical(c.x);
        EXPECT_EQ(Count(), c.cut ? 2 : 1) << c.x;
        EXPECT_EQ(R(0).RecordType, c.cut ? 8 : 7) << c.x;
    }
    // A horizontal line through the centre, and a line running north whose upper end lies level
    // with the centre, west of it.
    for (auto [x1, y1, x2, y2] : {std::array<double, 4>{-50, 0, 50, 0}, std::array<double, 4>{-3, -100, -3, 0}}) {
        ClearLayer();
        Circle();
        CutFeaturesAlongLine(app, x1, y1, x2, y2);
        ASSERT_EQ(Count(), 2);
        for (double angle : {R(0).RecordX3, R(0).RecordY3}) {
            const double px = 10 * std::cos(angle), py = 10 * std::sin(angle);
            EXPECT_NEAR((x2 - x1) * (py - y1) - (y2 - y1) * (px - x1), 0, 1e-6);
        }
    }
}

TEST_F(CurveCut, CutsArcsIntoPiecesThatTraceThemInOrder) {
    const double a30 = Pi / 6, a60 = Pi / 3;
    const ArcCase cases[] = {
        {"both inside", 0.2, 3.0, false, 5, {0.2, a30, Pi - a30, 3.0}},
        {"one inside", 1.0, 3.0, false, 5, {1.0, Pi - a30, 3.0}},
        {"first inside", 0.2, 2.0, false, 5, {0.2, a30, 2.0}},
        {"neither inside", 1.0, 2.0, false, 5, {}},
        {"start equals end", 1.0, 1.0, false, 5, {}},
        {"through 0, one each side", 5.0, 1.5, true, 5, {5.0, TwoPi - a60, a60, 1.5}},
        {"through 0, one inside", 5.5, 1.5, true, 5, {5.5, a60, 1.5}},
        {"through 0, neither inside", 5.5, 0.5, true, 5, {}},
        {"through 0, both above the start", 3.0, 0.5, false, -5, {3.0, Pi + a30, TwoPi - a30, 0.5}},
        {"through 0, both below the end", 5.0, 3.0, false, 5, {5.0, a30, Pi - a30, 3.0}},
        {"box only reaches the line", 1.0, 5.0, true, 10, {}},
    };
    for (const ArcCase& c : cases) {
        ClearLayer();
        Arc(c.start, c.end);
        const MapRecord before = R(0);
        if (c.vertical) CutVertical(c.at);
        else CutHorizontal(c.at);
        if (c.angles.empty()) {
            EXPECT_EQ(Count(), 1) << c.what;
            EXPECT_EQ(R(0), before) << c.what;
            continue;
        }
        const int pieces = static_cast<int>(c.angles.size()) - 1;
        ASSERT_EQ(Count(), pieces) << c.what;
        for (int k = 0; k < pieces; ++k) {
            EXPECT_EQ(R(k).RecordType, 8) << c.what;
            EXPECT_NEAR(R(k).RecordX3, c.angles[static_cast<std::size_t>(k)], 1e-9) << c.what << " piece " << k;
            EXPECT_NEAR(R(k).RecordY3, c.angles[static_cast<std::size_t>(k) + 1], 1e-9) << c.what << " piece " << k;
            EXPECT_EQ(R(k).RecordColor, 255) << c.what;  // every piece keeps the arc's colour
            ExpectSameAttributes(R(k), before);
        }
        ExpectMidPoints(0, pieces);
    }
}

TEST_F(CurveCut, LeavesAnArcEndingAtACrossingUncut) {
    // Learn the crossing angles of the line x = 4 from a circle, then make arcs that start or end
    // exactly at one of them and take the other inside.
    Circle();
    CutVertical(4);
    const double c0 = R(0).RecordX3, c1 = R(0).RecordY3;  // c0 < c1 for this line
    ASSERT_LT(c0, c1);
    ClearLayer();
    Arc(c0, c1 + 0.1);
    CutVertical(4);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(R(0).RecordY3, c1 + 0.1);
}

TEST_F(CurveCut, TurnsAnEllipseReachingTheLineIntoAChainCutInTheSameCall) {
    MapRecord& e = Put(9, {{0, 0}, {10, 5}, {0.3, 0}});
    e.RecordColor = 0x00ff00;
    e.RecordPen = 8;
    Put(2, {{200, 0}, {201, 0}});
    CutVertical(2);
    // The record after the ellipse moved into its slot; the chain follows, cut twice.
    EXPECT_EQ(R(0).RecordType, 2);
    EXPECT_EQ(R(0).RecordX1, 200);
    std::vector<CutVertex> ring;
    int ends = 0;
    for (int slot = 1; slot < Count(); ++slot) {
        const MapRecord& r = R(slot);
        EXPECT_EQ(r.RecordColor, 0x00ff00);
        EXPECT_EQ(r.RecordPen, 8);
        EXPECT_EQ(r.RecordSource, 3);
        EXPECT_TRUE(r.RecordText.empty());
        ends += r.RecordType == 1;
    }
    EXPECT_GE(Count(), 1 + 10 + 2);  // two crossings, each adding one or two pieces
    EXPECT_EQ(ends, 1);
    // Every chain vertex lies on the ellipse as the renderer turns it.
    const double turn = HalfPi + 0.3;
    auto onEllipse = [&](double x, double y) {
        const double u = x * std::cos(turn) - y * std::sin(turn);
        const double v = x * std::sin(turn) + y * std::cos(turn);
        return u * u / 100 + v * v / 25;
    };
    for (int slot = 1; slot < Count(); ++slot) {
        const MapRecord& r = R(slot);
        const int held = r.RecordType == 1 ? 1 : r.RecordType == 5 ? 4 : r.RecordType;
        const double xs[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        const double ys[] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        for (int k = 0; k < held; ++k) {
            if (xs[k] == 2) continue;  // a crossing lies on the chord, inside the ellipse
            EXPECT_NEAR(onEllipse(xs[k], ys[k]), 1, 1e-9) << slot;
        }
    }
    // No segment of the chain crosses the line.
    for (int slot = 1; slot + 1 < Count(); ++slot) {
        const MapRecord& r = R(slot);
        const MapRecord& n = R(slot + 1);
        const int held = r.RecordType == 5 ? 4 : r.RecordType % 40;
        std::vector<double> xs{r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        xs.resize(static_cast<std::size_t>(held));
        if (r.RecordType == 5) xs.push_back(n.RecordX1);
        for (std::size_t k = 1; k < xs.size(); ++k)
            EXPECT_FALSE(std::min(xs[k - 1], xs[k]) < 2 && 2 < std::max(xs[k - 1], xs[k])) << slot;
    }
}

TEST_F(CurveCut, ClosesTheEllipseChainOnItsFirstVertex) {
    Put(9, {{100, 50}, {8, 3}, {-HalfPi, 0}});  // lying east-west, y from 47 to 53
    CutVertical(500);  // the box does not reach: stays an ellipse
    EXPECT_EQ(R(0).RecordType, 9);
    CutHorizontal(55);  // within the box but not the ellipse: converted all the same
    ASSERT_EQ(Count(), 10);
    for (int slot = 0; slot < 9; ++slot) EXPECT_EQ(R(slot).RecordType, 5);
    EXPECT_EQ(R(9).RecordType, 1);
    EXPECT_NEAR(R(9).RecordX1, R(0).RecordX1, 1e-6);
    EXPECT_NEAR(R(9).RecordY1, R(0).RecordY1, 1e-6);
}

}  // namespace
}  // namespace movra
