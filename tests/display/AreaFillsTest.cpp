#include "display/AreaFills.h"

#include <algorithm>
#include <map>
#include <set>

#include "display/DisplayFixture.h"

namespace movra {
namespace {

using Outline = std::vector<std::pair<double, double>>;

class AreaFills : public DisplayTest {
protected:
    AreaFills() {
        canvas.Resize(800, 600);
        canvas.SetScale(-100, 100, 200, -200);
        app.clip.ClipXMin = -100;
        app.clip.ClipXMax = 100;
        app.clip.ClipYMin = -100;
        app.clip.ClipYMax = 100;
        canvas.ClearRecords();
    }

    // A fill group as the store writes it: the head with the outline's box (P1 upper left,
    // P2 upper right, P3 lower right, P4 lower left), the boundary chain of four points per
    // record (30 going on, 25 + n closing), and Z4 counting one slot beyond the chain.
    void StoreFill(int slot, int type, const Outline& points, const std::string& text = "",
                   Rgb color = 0x0000FF) {
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (auto [x, y] : points) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        MapRecord& head = app.store.At(1, slot);
        head.RecordType = static_cast<std::uint8_t>(type);
        head.RecordColor = color;
        head.RecordX1 = minX, head.RecordY1 = maxY;
        head.RecordX2 = maxX, head.RecordY2 = maxY;
        head.RecordX3 = maxX, head.RecordY3 = minY;
        head.RecordX4 = minX, head.RecordY4 = minY;
        head.RecordText = text;
        int s = slot;
        for (size_t k = 0; k < points.size(); k += 4) {
            MapRecord& r = app.store.At(1, ++s);
            const size_t n = std::min<size_t>(4, points.size() - k);
            r.RecordType = static_cast<std::uint8_t>(k + 4 < points.size() ? 30 : 25 + n);
            double* xs[] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
            double* ys[] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
            for (size_t i = 0; i < n; ++i) {
                *xs[i] = points[k + i].first;
                *ys[i] = points[k + i].second;
            }
        }
        // Writing a slot may move the layer's records: the head is looked up again.
        app.store.At(1, slot).RecordZ4 = static_cast<float>(s - slot + 1);
    }

    void Hatch(int slot) {
        const std::uint8_t layer = 1;
        const std::int16_t s = static_cast<std::int16_t>(slot);
        DrawHatchFill(app, layer, s);
    }
    void Pattern(int slot) {
        const std::uint8_t layer = 1;
        const std::int16_t s = static_cast<std::int16_t>(slot);
        DrawSymbolFill(app, layer, s);
    }

    // The lines drawn, by height.
    std::map<double, std::vector<SurfacePrimitive>> LinesByHeight() const {
        std::map<double, std::vector<SurfacePrimitive>> rows;
        for (const auto& p : Lines()) rows[p.y1].push_back(p);
        return rows;
    }

    const Outline square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
};

TEST_F(AreaFills, SquareScanLinesAreFourTenthsApartAcrossTheWholeWidth) {
    StoreFill(10, 11, square);
    Hatch(10);
    const auto lines = Lines();
    // 0.4, 0.8, ... summed in single precision: the 25th sum is 9.999999, still below the top.
    ASSERT_EQ(lines.size(), 25u);
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_NEAR(lines[k].y1, 0.4 * (k + 1), 1e-5);
        EXPECT_NEAR(lines[k].y2, lines[k].y1, 1e-9);
        EXPECT_NEAR(std::min(lines[k].x1, lines[k].x2), 0, 1e-5);
        EXPECT_NEAR(std::max(lines[k].x1, lines[k].x2), 10, 1e-5);
        EXPECT_EQ(lines[k].color, 0x0000FF);
        EXPECT_EQ(lines[k].drawWidth, 2);
    }
    EXPECT_EQ(canvas.DrawWidth(), 2);
    // The spacing is 0.4 screen millimetres: twice the zoom, half the spacing.
    canvas.ClearRecords();
    app.view.DisplayZoom = 2;
    Hatch(10);
    EXPECT_EQ(Lines().size(), 50u);
}

TEST_F(AreaFills, UShapedAreaIsHatchedInBothArmsWithoutLettingEventsRun) {
    // Arms x 0..10 and 20..30 above y = 10, joined below it.
    StoreFill(20, 11, {{0, 0}, {30, 0}, {30, 20}, {20, 20}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
    app.view.ScaleFactor = 2.5;  // one ground unit between scan lines
    Hatch(20);
    const auto rows = LinesByHeight();
    // 1..19: from 10 up the arms (their inner edges start there), at 20 none does.
    ASSERT_EQ(rows.size(), 19u);
    for (const auto& [y, spans] : rows) {
        if (y < 10) {
            ASSERT_EQ(spans.size(), 1u) << y;
            EXPECT_TRUE(Near(std::min(spans[0].x1, spans[0].x2), 0) &&
                        Near(std::max(spans[0].x1, spans[0].x2), 30)) << y;
        } else {
            ASSERT_EQ(spans.size(), 2u) << y;
            EXPECT_TRUE(SameSegment(spans[0], {0, y, 10, y})) << y;
            EXPECT_TRUE(SameSegment(spans[1], {20, y, 30, y})) << y;
        }
    }
    EXPECT_EQ(t.platform.scriptedEvents.calls, 0);
}

TEST_F(AreaFills, AScanLineThroughAVertexFillsItsChord) {
    StoreFill(10, 11, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {-2, 5}});
    app.view.ScaleFactor = 1.25;  // 0.5 apart
    Hatch(10);
    const auto rows = LinesByHeight();
    ASSERT_EQ(rows.count(5.0), 1u);
    ASSERT_EQ(rows.at(5.0).size(), 1u);
    EXPECT_TRUE(SameSegment(rows.at(5.0)[0], {10, 5, -2, 5}));  // in edge order
    EXPECT_EQ(rows.count(4.5), 1u);
    EXPECT_EQ(rows.count(5.5), 1u);
}

TEST_F(AreaFills, VisibilityIsDecidedByOneProbedVertexPerBoundaryRecord) {
    // One closing record of four points: the hatch probes P3, the pattern P3 too.
    StoreFill(10, 11, {{-500, -500}, {500, -500}, {500, 500}, {-500, 500}});
    Hatch(10);
    EXPECT_TRUE(Lines().empty()) << "the area covers the view but no probed vertex lies in it";

    // Two records: 30 (probes P2) and 26 (probes nothing); P2 of the first strictly inside.
    StoreFill(30, 11, {{-500, -500}, {50, 50}, {500, 500}, {-500, 500}, {-600, 0}});
    Hatch(30);
    EXPECT_FALSE(Lines().empty());

    // A probed vertex on the rectangle's edge is not inside.
    canvas.ClearRecords();
    StoreFill(50, 11, {{-500, -500}, {100, 50}, {500, 500}, {-500, 500}, {-600, 0}});
    Hatch(50);
    EXPECT_TRUE(Lines().empty());
}

// An outline reaching 1e7 m below the canvas is hatched where it is seen, 0.4 apart as ever, and
// the lines below the canvas are not walked one by one.
TEST_F(AreaFills, AnOutlineReachingFarBelowTheCanvasIsHatchedWhereItIsSeen) {
    StoreFill(10, 11, {{0, 0}, {40, -1e7}, {40, 40}, {0, 40}});
    Hatch(10);
    const auto rows = LinesByHeight();
    ASSERT_GT(rows.size(), 100u);
    EXPECT_LT(rows.size(), 1000u);
    double last = 0;
    bool first = true;
    for (const auto& [y, lines] : rows) {
        EXPECT_GE(y, -101);  // the canvas, and a step of the window's margin
        EXPECT_LE(y, 101);
        if (!first) EXPECT_NEAR(y - last, 0.4, 1e-3);
        last = y;
        first = false;
    }
}

TEST_F(AreaFills, DegenerateInputDrawsNothingAndEnds) {
    StoreFill(10, 11, square);
    StoreFill(20, 13, square, "3");
    StoreFill(30, 11, {{1, 1}, {5, 5}});  // two points enclose nothing
    struct Case {
        const char* what;
        double scaleFactor, zoom;
        int slot;
    } cases[] = {
        {"hatch at ScaleFactor 0", 0, 1, 10},
        {"hatch at zoom 0", 1, 0, 10},
        {"pattern at ScaleFactor 0", 0, 1, 20},
        {"two-point outline", 1, 1, 30},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        app.view.ScaleFactor = c.scaleFactor;
        app.view.DisplayZoom = c.zoom;
        if (app.store.Get(1, c.slot).RecordType == 11) Hatch(c.slot); else Pattern(c.slot);
        EXPECT_TRUE(Lines().empty()) << c.what;
    }
    // A count reaching beyond the layer's last slot reads what is there.
    app.view.ScaleFactor = 1;
    app.view.DisplayZoom = 1;
    StoreFill(app.store.LayerCapacity - 2, 11, square);
    app.store.At(1, app.store.LayerCapacity - 2).RecordZ4 = 1000;
    canvas.ClearRecords();
    Hatch(app.store.LayerCapacity - 2);
    EXPECT_EQ(Lines().size(), 25u);
    // The scratch list keeps its usual length for the procedures after the fill.
    EXPECT_EQ(app.geometry.ScratchXY.size(), 13u);
}

// The pattern fills: the sum x + y is constant along a line from upper left to lower right, the
// difference y - x along a line from lower left to upper right.
class PatternFills : public AreaFills {
protected:
    struct Family {
        std::vector<double> downward;  // x + y of each line of slope -1, in drawing order
        std::vector<double> upward;    // y - x of each line of slope +1
    };
    Family Families() const {
        Family f;
        for (const auto& p : Lines()) {
            const double dx = p.x2 - p.x1, dy = p.y2 - p.y1;
            if (Near(dx, -dy)) f.downward.push_back(p.x1 + p.y1);
            else if (Near(dx, dy)) f.upward.push_back(p.y1 - p.x1);
            else ADD_FAILURE() << "a line of another direction";
        }
        return f;
    }
};

TEST_F(PatternFills, SingleHatchGrowsOutwardsFromTheSnappedCentre) {
    const Outline box{{0.3, 0.3}, {10.3, 0.3}, {10.3, 10.3}, {0.3, 10.3}};
    StoreFill(10, 13, box, "1");
    Pattern(10);
    const double s = static_cast<float>(1.13137);
    const double centre = 4 * s;  // Int(5.3 / s) x s
    const Family f = Families();
    EXPECT_TRUE(f.upward.empty());
    // Offsets 0, s, 2s, ... then -s, -2s, ... while the line meets the box (0.6 < x + y < 20.6).
    std::vector<double> expected;
    for (int k = 0; 2 * (centre + k * s) < 20.6; ++k) expected.push_back(2 * (centre + k * s));
    for (int k = -1; 2 * (centre + k * s) > 0.6; --k) expected.push_back(2 * (centre + k * s));
    ASSERT_EQ(f.downward.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(f.downward[i], expected[i], 1e-4) << i;
    EXPECT_EQ(canvas.DrawWidth(), 1);
    EXPECT_EQ(canvas.DrawStyle(), 0);

    // Pattern numbers without a pattern of their own hatch as 1.
    const auto reference = f.downward;
    for (const char* text : {"0", "5", "349", "-3", "x"}) {
        canvas.ClearRecords();
        app.store.At(1, 10).RecordText = text;
        Pattern(10);
        EXPECT_EQ(Families().downward, reference) << text;
    }
}

TEST_F(PatternFills, CrossHatchDrawsTheDownwardFamilyThenTheUpwardOne) {
    // No line of either family runs exactly through a corner.
    StoreFill(10, 13, {{0.3, 0.3}, {12.3, 0.3}, {12.3, 10.3}, {0.3, 10.3}}, "3");
    Pattern(10);
    const auto lines = Lines();
    const Family f = Families();
    ASSERT_EQ(f.downward.size(), 10u);
    ASSERT_EQ(f.upward.size(), 9u);
    for (size_t i = 0; i < f.downward.size(); ++i) {
        const auto& p = lines[i];
        EXPECT_TRUE(Near(p.x2 - p.x1, -(p.y2 - p.y1))) << "line " << i << " is not of the first family";
    }
    // Pattern 2 alone is the second family.
    canvas.ClearRecords();
    app.store.At(1, 10).RecordText = "2";
    Pattern(10);
    EXPECT_EQ(Families().upward, f.upward);
}

TEST_F(PatternFills, AUShapedAreaIsPatternedInBothArms) {
    // Arms x 0..4 and 16..20 up to y = 20 on a base 0..4 high: the box's centre (10, 10) lies in
    // the gap, where the diagonals through it cross the arms but the ones beside it may not.
    StoreFill(10, 13, {{0, 0}, {20, 0}, {20, 20}, {16, 20}, {16, 4}, {4, 4}, {4, 20}, {0, 20}}, "2");
    Pattern(10);
    bool left = false, right = false, base = false;
    for (const auto& p : Lines()) {
        const double mx = (p.x1 + p.x2) / 2, my = (p.y1 + p.y2) / 2;
        left = left || (mx < 4 && my > 12);
        right = right || (mx > 16 && my > 12);
        base = base || my < 4;
        // Every piece lies inside the area.
        EXPECT_FALSE(mx > 4.01 && mx < 15.99 && my > 4.01) << mx << "," << my;
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
    EXPECT_TRUE(base);
}

TEST_F(PatternFills, SymbolLatticeOfALineTypeRow) {
    SetElement(120, 0, 5, {{0, 0}});  // symbol 120: one point at the insertion point
    app.symbolStandard.LineTypePattern.At(201, 2, 1) = 4;
    app.symbolStandard.LineTypePattern.At(201, 4, 1) = 4;
    app.symbolStandard.LineTypePattern.At(201, 5, 1) = 120;
    StoreFill(10, 13, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}, "201", 0x00FF00);
    Pattern(10);
    const auto points = Of(Kind::Point);
    ASSERT_GT(points.size(), 20u);
    const double step = static_cast<float>(4 * 0.70710678);
    std::set<long> rows;
    for (const auto& p : points) {
        EXPECT_EQ(p.color, 0x00FF00);
        EXPECT_GT(p.x1, 0);
        EXPECT_LT(p.x1, 40);
        // Rows along (1, 1): y - x is a multiple of 2 x step from the row through the centre,
        // which puts them 4 millimetres apart.
        const double k = (p.y1 - p.x1) / (2 * step);
        EXPECT_NEAR(k, std::round(k), 1e-3);
        rows.insert(std::lround(k));
    }
    EXPECT_GE(rows.size(), 10u);
    // Along a row the symbols step (step, step).
    for (size_t i = 1; i < points.size(); ++i) {
        if (Near(points[i].y1 - points[i].x1, points[i - 1].y1 - points[i - 1].x1)) {
            EXPECT_NEAR(points[i].x1 - points[i - 1].x1, step, 1e-4);
            EXPECT_NEAR(points[i].y1 - points[i - 1].y1, step, 1e-4);
        }
    }
}

// An outline with one vertex far off the canvas: only the lines and symbols that cross the canvas
// are laid, and the canvas part of the area is still patterned.
TEST_F(PatternFills, AnOutlineReachingFarOffTheCanvasIsSweptOnlyWhereItIsSeen) {
    SetElement(120, 0, 5, {{0, 0}});
    app.symbolStandard.LineTypePattern.At(201, 2, 1) = 4;
    app.symbolStandard.LineTypePattern.At(201, 4, 1) = 4;
    app.symbolStandard.LineTypePattern.At(201, 5, 1) = 120;
    const Outline far{{0, 0}, {1e7, 0}, {40, 40}, {0, 40}};  // the vertex probed for visibility is seen
    StoreFill(10, 13, far, "1");
    Pattern(10);
    const auto lines = Lines();
    EXPECT_GT(lines.size(), 20u);
    EXPECT_LT(lines.size(), 1000u);
    StoreFill(10, 13, far, "201");
    canvas.ClearRecords();
    Pattern(10);
    const auto points = Of(Kind::Point);
    EXPECT_GT(points.size(), 20u);
    EXPECT_LT(points.size(), 5000u);
    for (const auto& p : points) EXPECT_LT(p.x1, 1000) << "a symbol laid far off the canvas";
}

TEST_F(PatternFills, ARowWithAZeroStepTakesTenMillimetresBothWays) {
    SetElement(7, 0, 5, {{0, 0}});
    app.symbolStandard.LineTypePattern.At(202, 2, 1) = 4;
    app.symbolStandard.LineTypePattern.At(202, 4, 1) = 0;
    app.symbolStandard.LineTypePattern.At(202, 5, 1) = 7;
    StoreFill(10, 13, {{0, 0}, {60, 0}, {60, 60}, {0, 60}}, "202");
    Pattern(10);
    const auto points = Of(Kind::Point);
    ASSERT_FALSE(points.empty());
    for (size_t i = 1; i < points.size(); ++i) {
        if (Near(points[i].y1 - points[i].x1, points[i - 1].y1 - points[i - 1].x1)) {
            EXPECT_NEAR(points[i].x1 - points[i - 1].x1, 10, 1e-4);
            EXPECT_NEAR(points[i].y1 - points[i - 1].y1, 10, 1e-4);
        }
    }
}

TEST_F(PatternFills, PatternsThatCannotReadTheirRowDrawNothing) {
    StoreFill(10, 13, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}, "330");  // beyond the line types
    Pattern(10);
    EXPECT_TRUE(canvas.primitives.empty());
    app.symbolStandard = SymbolStandard{};  // not loaded
    app.store.At(1, 10).RecordText = "4";
    Pattern(10);
    EXPECT_TRUE(canvas.primitives.empty());
}

}  // namespace
}  // namespace movra
