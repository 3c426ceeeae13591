#include "display/Shapes.h"

#include "display/DisplayFixture.h"

#include <algorithm>
#include <cmath>

namespace movra {
namespace {

class Shapes : public DisplayTest {
protected:
    MapRecord& ShapeAt(int slot, int type, ShapeCorners p, Rgb color = 100) {
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordX1 = p.X1; r.RecordY1 = p.Y1; r.RecordX2 = p.X2; r.RecordY2 = p.Y2;
        r.RecordX3 = p.X3; r.RecordY3 = p.Y3; r.RecordX4 = p.X4; r.RecordY4 = p.Y4;
        return r;
    }
    // The extremes reached by the lines drawn.
    void ExpectReach(double minX, double maxX, double minY, double maxY) {
        double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
        for (const auto& l : Lines()) {
            for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
                lo[0] = std::min(lo[0], x); hi[0] = std::max(hi[0], x);
                lo[1] = std::min(lo[1], y); hi[1] = std::max(hi[1], y);
            }
        }
        EXPECT_NEAR(lo[0], minX, 1e-4); EXPECT_NEAR(hi[0], maxX, 1e-4);
        EXPECT_NEAR(lo[1], minY, 1e-4); EXPECT_NEAR(hi[1], maxY, 1e-4);
    }
};

TEST_F(Shapes, RotatedEllipse) {
    DrawRotatedEllipse(app, 0, 0, 10, 5, 0, 3);
    ASSERT_EQ(Lines().size(), 36u);
    EXPECT_TRUE(Near(Lines()[0].x1, Lines()[35].x2) && Near(Lines()[0].y1, Lines()[35].y2));
    ExpectReach(-5, 5, -10, 10);  // a rotation of 0 puts the a axis north-south

    canvas.ClearRecords();
    DrawRotatedEllipse(app, 100, 100, 10, 5, static_cast<float>(M_PI / 2), 3);
    ExpectReach(90, 110, 95, 105);
}

TEST_F(Shapes, FilledBandSpacingAndGuards) {
    // P2-P3 10 long at 0.26 mm on the screen: 38 steps; the lines join the two sides step by
    // step until the side P1-P4 is passed (the single-precision steps may pass it at the last).
    const ShapeCorners band{0, 5, 0, 0, 10, 0, 10, 5};
    EXPECT_EQ(BandStepCount(band, 0.26f), 38);
    ShapeAt(1, 10, band);
    RenderRecord(app, 1, 1);
    ASSERT_GE(Lines().size(), 37u);
    ASSERT_LE(Lines().size(), 38u);
    const size_t bandLines = Lines().size();
    EXPECT_TRUE(SameSegment(Lines()[0], {10 / 38.0, 5, 0.26, 0}));
    EXPECT_EQ(Lines()[0].drawWidth, 2);
    EXPECT_EQ(canvas.DrawWidth(), 1);

    // P2 = P3: no step count can be formed; the band ends after setting width 2.
    ShapeAt(2, 10, {0, 5, 3, 3, 3, 3, 10, 5});
    canvas.ClearRecords();
    RenderRecord(app, 1, 2);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(canvas.DrawWidth(), 2);

    // P1 = P4 never passes P4: the band stops after its steps instead of drawing for ever.
    ShapeAt(3, 10, {0, 5, 0, 0, 10, 0, 0, 5});
    canvas.ClearRecords();
    RenderRecord(app, 1, 3);
    EXPECT_EQ(Lines().size(), 38u);

    // Layer 0 reads the work buffer.
    app.clip.Items.resize(3);
    app.clip.Items[2] = app.store.Get(1, 1);
    canvas.ClearRecords();
    RenderRecord(app, 0, 2);
    EXPECT_EQ(Lines().size(), bandLines);
    canvas.ClearRecords();
    RenderRecord(app, 0, 7);  // beyond the buffer: nothing
    EXPECT_TRUE(Lines().empty());
}

// A band with one vertex far off the canvas: only what is seen is laid, and what is seen is still
// covered, so the redraw costs what the canvas shows, not what the figure spans.
TEST_F(Shapes, ABandReachingFarOffTheCanvasLaysOnlyWhatIsSeen) {
    canvas.SetScale(-20, 20, 40, -40);  // (-20, -20) to (20, 20), y up
    const float spacing = 0.26f;
    struct Case {
        const char* name;
        ShapeCorners p;
    };
    const Case cases[] = {
        {"one vertex 1e7 m away", {-10, 5, -10, -5, 1e7, 3, 10, 5}},
        {"the short side on the canvas, fanning out", {-1, 1, -1, -1, 1e7, -1e6, 1, 1}},
        {"crossing the canvas", {-1e6, 1, -1e6, -1, 1e6, -1, 1e6, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        canvas.ClearRecords();
        ShapeAt(1, 10, c.p);
        RenderRecord(app, 1, 1);
        const auto lines = Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_LT(lines.size(), 20000u);
        // Every point of the figure on the canvas lies within a spacing of a line laid.
        const auto inside = [&c](double x, double y) {
            const double xs[4] = {c.p.X1, c.p.X2, c.p.X3, c.p.X4}, ys[4] = {c.p.Y1, c.p.Y2, c.p.Y3, c.p.Y4};
            bool in = false;
            for (int i = 0, j = 3; i < 4; j = i++)
                if ((ys[i] > y) != (ys[j] > y) && x < (xs[j] - xs[i]) * (y - ys[i]) / (ys[j] - ys[i]) + xs[i]) in = !in;
            return in;
        };
        for (double x = -19.5; x < 20; x += 1.5) {
            for (double y = -19.5; y < 20; y += 1.5) {
                if (!inside(x, y)) continue;
                double nearest = 1e300;
                for (const auto& l : lines) {
                    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1, len2 = dx * dx + dy * dy;
                    const double t = len2 > 0 ? std::clamp(((x - l.x1) * dx + (y - l.y1) * dy) / len2, 0.0, 1.0) : 0;
                    nearest = std::min(nearest, std::hypot(x - l.x1 - t * dx, y - l.y1 - t * dy));
                }
                EXPECT_LE(nearest, 2.0 * spacing) << "(" << x << ", " << y << ")";
            }
        }
    }

    // Grid paper 2e7 m across at a spacing of 1 m: the 41 rows and 41 columns on the canvas.
    canvas.ClearRecords();
    ShapeAt(2, 10, {-1e7, 1e7, 1e7, 1e7, 1e7, -1e7, -1e7, -1e7});
    RenderRecord2(app, 1, 2);
    EXPECT_EQ(Lines().size(), 2u * 41u);
}

TEST_F(Shapes, ShadedTubeRampsItsColourAndCapsBothEnds) {
    app.view.DisplayZoom = 0.26;  // 1 unit per line: 50 steps along P2-P3
    ShapeAt(1, 14, {0, 10, 0, 0, 50, 0, 50, 10}, 1000);
    RenderRecord3(app, 1, 1);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0].color, 1000);
    EXPECT_EQ(lines[1].color, 1003);
    const auto caps = Of(Kind::Circle);
    ASSERT_EQ(caps.size(), 2u);
    EXPECT_EQ(caps[0].fillColor, 1100);
    EXPECT_EQ(caps[0].color, 1000);
    EXPECT_EQ(caps[0].fillStyle, 0);
    EXPECT_TRUE(Near(caps[0].x1, 25) && Near(caps[0].radius, 25) && Near(caps[0].aspect, 0.6));
    EXPECT_EQ(caps[1].fillColor, 1000 + 50 * 3);
    EXPECT_EQ(canvas.FillStyle(), 1);
}

TEST_F(Shapes, GridPaperEveryTenthLineWide) {
    ShapeAt(1, 36, {0, 25, 25, 25, 25, 0, 0, 0});
    RenderRecord2(app, 1, 1);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 48u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int k = static_cast<int>(i % 24) + 1;
        EXPECT_EQ(lines[i].drawWidth, k % 10 == 0 ? 2 : 1) << i;
    }
    EXPECT_TRUE(SameSegment(lines[0], {0, 24, 25, 24}));
    EXPECT_TRUE(SameSegment(lines[24], {1, 25, 1, 0}));
    EXPECT_EQ(canvas.DrawWidth(), 1);

    app.view.ScaleFactor = 0;  // no spacing: nothing, and no endless loop
    canvas.ClearRecords();
    RenderRecord2(app, 1, 1);
    EXPECT_TRUE(Lines().empty());
}

TEST_F(Shapes, FanStripShrinksTowardsP4) {
    ShapeAt(1, 59, {0, 0, 6, 6, 12, 0, 6, -6}, 40);
    DrawStripShape(app, 1, 1);  // Z4 = 0: three paths at 1/6, 1/2 and 5/6
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(SameSegment(lines[0], {1, -1, 6, 4}));
    EXPECT_TRUE(SameSegment(lines[2], {3, -3, 6, 0}));
    EXPECT_TRUE(SameSegment(lines[5], {6, -4, 7, -5}));
    EXPECT_EQ(lines[0].drawWidth, 2);
    EXPECT_EQ(lines[2].drawWidth, 5);
    EXPECT_EQ(lines[0].color, 40);
    EXPECT_EQ(lines[5].color, 42);
}

TEST_F(Shapes, LadderStripRungs) {
    MapRecord& r = ShapeAt(1, 58, {0, 0, 0, 10, 100, 10, 100, 0});
    DrawStripShape2(app, 1, 1);  // Z4 = 0: ten rungs at 5 %, 15 %, ... 95 %
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_TRUE(SameSegment(lines[0], {5, 0, 5, 10}));
    EXPECT_TRUE(SameSegment(lines[9], {95, 0, 95, 10}));

    // No scale makes the count endless: one rung, and the strip ends.
    r.RecordZ4 = 4;
    app.view.ScaleFactor = 0;
    canvas.ClearRecords();
    DrawStripShape2(app, 1, 1);
    EXPECT_EQ(Lines().size(), 1u);
}

}  // namespace
}  // namespace movra
