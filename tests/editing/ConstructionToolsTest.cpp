#include <algorithm>
#include <cmath>

#include "CanvasFixture.h"
#include "document/Geometry.h"
#include "editing/ConstructionTools.h"
#include "document/UndoRedo.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

class ConstructionToolsTest : public CanvasTest {
protected:
    ConstructionToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 3;
        app.tool.SnapOn = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }

    void Arm(std::uint8_t mode, const std::string& argument = "0") {
        app.tool.CommandMode = mode;
        app.tool.CommandArgument = argument;
        app.tool.ClickCount = 0;
    }
    const MapRecord& R(int k) const { return app.store.Get(layer, start + k); }
    int Added() const { return app.store.Count(layer) - start; }
    std::vector<MapRecord> Layer() const {
        std::vector<MapRecord> records;
        for (int k = 0; k <= app.store.Count(layer); ++k) records.push_back(app.store.Get(layer, k));
        return records;
    }

    int layer = 0;
    std::int32_t start = 0;
};

TEST_F(ConstructionToolsTest, ATypedLengthLineRunsFromTheFirstPointTowardsTheSecond) {
    struct Case {
        const char* typed;
        double x3, y3;   // the third click
        double qx, qy;   // the end stored
    };
    for (const Case& c : {Case{"25", 3, 7, 25, 0}, Case{"25", -40, 2, 25, 0}, Case{"", 3, 4, 5, 0},
                          Case{"-25", 1, 1, 25, 0}, Case{" 12.5m", 0, 0, 12.5, 0}, Case{"abc", 0, 6, 6, 0}}) {
        SCOPED_TRACE(c.typed);
        Arm(ModeTypedLengthLine);
        const int before = Added();
        Click(0, 0);
        Click(10, 0);
        // Emptied for the distance and brought in front of every other control.
        EXPECT_EQ(form.Text5.Text(), "");
        for (const Control* other : form.Controls())
            if (other != &form.Text5) EXPECT_GT(form.Text5.StackOrder(), other->StackOrder());
        form.Text5.SetText(c.typed);
        Click(c.x3, c.y3);
        ASSERT_EQ(Added(), before + 1);
        const MapRecord& r = R(before);
        EXPECT_EQ(r.RecordType, 2);
        EXPECT_EQ(r.RecordX1, 0);
        EXPECT_EQ(r.RecordY1, 0);
        EXPECT_NEAR(r.RecordX2, c.qx, 1e-12);
        EXPECT_NEAR(r.RecordY2, c.qy, 1e-12);
        EXPECT_EQ(std::string(r.RecordText), "0");
        EXPECT_EQ(app.tool.ClickCount, 0);
        EXPECT_EQ(app.tool.SnapOn, -1);
        EXPECT_EQ(form.Text5.Text(), "");
        for (const Control* other : form.Controls())
            if (other != &form.Text5) EXPECT_LT(form.Text5.StackOrder(), other->StackOrder());
    }
}

TEST_F(ConstructionToolsTest, ATypedLengthLineTakesTheRecordTypeOfItsCode) {
    app.current.DashWidth = 0.5F;
    app.current.DashOn = 4;
    app.current.DashOff = 2;
    struct Case {
        const char* code;
        int type;
        bool dashes;
    };
    for (const Case& c : {Case{"0", 2, false}, Case{"1090", 92, false}, Case{"1092", 92, true}, Case{"1093", 92, false},
                          Case{"400", 42, false}}) {
        SCOPED_TRACE(c.code);
        Arm(ModeTypedLengthLine, c.code);
        const int before = Added();
        Click(100, 500);
        Click(100, 600);
        form.Text5.SetText("30");
        Click(0, 0);
        ASSERT_EQ(Added(), before + 1);
        const MapRecord& r = R(before);
        EXPECT_EQ(r.RecordType, c.type);
        EXPECT_EQ(std::string(r.RecordText), c.code);
        EXPECT_EQ(r.RecordY2, 530);
        EXPECT_EQ(r.RecordZ2, c.dashes ? 0.5F : 0);
        EXPECT_EQ(r.RecordZ3, c.dashes ? 4 : 0);
        EXPECT_EQ(r.RecordZ4, c.dashes ? 2 : 0);
    }
}

// The direction of segment a→b.
double Dx(CanvasXY a, CanvasXY b) { return b.x - a.x; }
double Dy(CanvasXY a, CanvasXY b) { return b.y - a.y; }

TEST_F(ConstructionToolsTest, PerpendicularsMakeAChainOfRightAngles) {
    Arm(ModePerpendiculars, "0");
    Click(100, 500);
    Click(200, 500);
    ASSERT_EQ(Added(), 1);  // the base, stored at once without snapping
    Click(230, 560);        // N1 = (200, 560)
    Click(150, 540);        // N2 = (150, 560)
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(R(0).RecordType, 4);
    const std::vector<double> four = {R(0).RecordX1, R(0).RecordY1, R(0).RecordX2, R(0).RecordY2,
                                      R(0).RecordX3, R(0).RecordY3, R(0).RecordX4, R(0).RecordY4};
    const std::vector<double> expected = {100, 500, 200, 500, 200, 560, 150, 560};
    for (size_t k = 0; k < 8; ++k) EXPECT_NEAR(four[k], expected[k], 1e-9) << k;

    // The next click fills the record: type 5, and the chain goes on at N3.
    Click(140, 700);  // N3 = (150, 700)
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(R(0).RecordType, 5);
    EXPECT_EQ(R(1).RecordType, 1);
    EXPECT_NEAR(R(1).RecordX1, 150, 1e-9);
    EXPECT_NEAR(R(1).RecordY1, 700, 1e-9);
    // A typed distance goes to the side of the click, whatever the click's distance.
    form.Text5.SetText("30");
    Click(100, 650);  // N4 = (120, 700)
    form.Text5.SetText("");
    Click(50, 640);   // N5 near (120, 640)
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(R(1).RecordType, 3);
    EXPECT_NEAR(R(1).RecordX2, 120, 1e-9);
    EXPECT_NEAR(R(1).RecordY2, 700, 1e-9);
    // Every new segment stands at right angles to the one before.
    const std::vector<CanvasXY> chain = {{R(0).RecordX1, R(0).RecordY1}, {R(0).RecordX2, R(0).RecordY2},
                                         {R(0).RecordX3, R(0).RecordY3}, {R(0).RecordX4, R(0).RecordY4},
                                         {R(1).RecordX1, R(1).RecordY1}, {R(1).RecordX2, R(1).RecordY2},
                                         {R(1).RecordX3, R(1).RecordY3}};
    for (size_t k = 0; k + 2 < chain.size(); ++k) {
        const double dot = Dx(chain[k], chain[k + 1]) * Dx(chain[k + 1], chain[k + 2]) +
                           Dy(chain[k], chain[k + 1]) * Dy(chain[k + 1], chain[k + 2]);
        EXPECT_NEAR(dot, 0, 1e-9) << k;
    }
    // A right click pauses the tool without adding a slot behind the chain.
    Click(0, 0, RightButton);
    EXPECT_EQ(Added(), 2);
}

TEST_F(ConstructionToolsTest, PerpendicularsOnASnappedBaseStartAtItsEnd) {
    Arm(ModePerpendiculars, "0");
    app.tool.SnapOn = -1;
    Click(100, 500);
    Click(200, 500);
    // Nothing stored for a base that lies on existing work; a slot is kept for the chain.
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(R(0).RecordType, 0);
    EXPECT_EQ(app.tool.SnapOn, 0);
    Click(260, 430);  // N1 = (200, 430)
    Click(230, 400);  // N2 = (230, 430)
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(R(0).RecordType, 3);
    EXPECT_EQ(std::string(R(0).RecordText), "");
    EXPECT_NEAR(R(0).RecordX1, 200, 1e-9);
    EXPECT_NEAR(R(0).RecordY2, 430, 1e-9);
    EXPECT_NEAR(R(0).RecordX3, 230, 1e-9);
    EXPECT_NEAR(R(0).RecordY3, 430, 1e-9);
}

TEST_F(ConstructionToolsTest, TheFootOfAPerpendicularIsStoredAsAPoint) {
    for (const char* typed : {"", "2"}) {
        SCOPED_TRACE(typed);
        Arm(ModePerpendicularFoot);
        const int before = Added();
        Surface().ClearRecords();
        Click(0, 0);
        Click(10, 0);
        form.Text5.SetText(typed);
        Click(4, 3);
        ASSERT_EQ(Added(), before + 1);
        EXPECT_EQ(R(before).RecordType, 46);
        EXPECT_NEAR(R(before).RecordX1, 4, 1e-12);
        EXPECT_NEAR(R(before).RecordY1, 0, 1e-12);
        EXPECT_EQ(std::string(R(before).RecordText), "");
        EXPECT_EQ(app.tool.ClickCount, 0);
        // The perpendicular drawn: up to the click, or as long as typed.
        const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
        ASSERT_FALSE(lines.empty());
        EXPECT_NEAR(lines.back().y2, *typed ? 2 : 3, 1e-12);
    }
    // The third press dragged shows the perpendicular turning after the cursor; the foot stored
    // is that of the press.
    Arm(ModePerpendicularFoot);
    Click(0, 0);
    Click(10, 0);
    Hover(6, 2);
    Press(7, 5);
    Drag(8, 6);
    Drag(9, 4);
    Release(9, 4);
    EXPECT_EQ(app.tool.DragLineShown, 0);
    EXPECT_NEAR(app.store.Get(layer, app.store.Count(layer) - 1).RecordX1, 7, 1e-12);
}

TEST_F(ConstructionToolsTest, AThreePointArcPassesThroughTheSecondClickInEitherOrder) {
    for (bool clockwise : {true, false}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        Arm(ModeArc3P);
        const int before = Added();
        const double ends[2] = {clockwise ? -1.0 : 1.0, clockwise ? 1.0 : -1.0};
        Click(ends[0], 0);
        Click(0, 1);
        Surface().ClearRecords();
        Hover(ends[1], 0.5);
        Hover(ends[1], 0.2);
        Click(ends[1], 0);
        ASSERT_EQ(Added(), before + 1);
        const MapRecord& r = R(before);
        // Each preview, drawn in the inverting pen with its radii, is drawn again to take it off;
        // the arc placed is drawn once in the copy pen as its record is, without radii.
        std::vector<SurfacePrimitive> inverted, copied;
        for (const SurfacePrimitive& c : Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle))
            (c.drawMode == DrawModeNotXorPen ? inverted : copied).push_back(c);
        EXPECT_EQ(inverted.size(), 4u);
        for (const SurfacePrimitive& c : inverted) {
            EXPECT_LT(c.start, 0);
            EXPECT_EQ(std::count_if(inverted.begin(), inverted.end(),
                                    [&](const SurfacePrimitive& o) { return o.x1 == c.x1 && o.y1 == c.y1 && o.start == c.start && o.end == c.end; }) % 2,
                      0);
        }
        ASSERT_EQ(copied.size(), 1u);
        EXPECT_FLOAT_EQ(copied[0].start, static_cast<float>(r.RecordX3));
        EXPECT_FLOAT_EQ(copied[0].end, static_cast<float>(r.RecordY3));
        EXPECT_GE(copied[0].start, 0);
        EXPECT_GE(copied[0].end, 0);
        EXPECT_EQ(r.RecordType, 8);
        EXPECT_NEAR(r.RecordX1, 0, 1e-12);
        EXPECT_NEAR(r.RecordY1, 0, 1e-12);
        EXPECT_NEAR(r.RecordX2, 1, 1e-12);
        EXPECT_EQ(r.RecordY2, 1.0);
        EXPECT_EQ(r.RecordColor, Green);
        // Counter-clockwise from X3 to Y3 passes π/2, the direction of (0, 1): the upper half.
        const double sweep = std::fmod(r.RecordY3 - r.RecordX3 + TwoPi, TwoPi);
        const double toTop = std::fmod(HalfPi - r.RecordX3 + TwoPi, TwoPi);
        EXPECT_NEAR(sweep, Pi, 1e-9);
        EXPECT_LT(toTop, sweep);
    }
}

TEST_F(ConstructionToolsTest, AThreePointCircleIsStoredAndThreePointsInALineAreRefused) {
    Arm(ModeCircle3P);
    Click(3, 0);
    Click(0, 3);
    Click(-3, 0);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(R(0).RecordType, 7);
    EXPECT_NEAR(R(0).RecordX2, 3, 1e-12);
    EXPECT_EQ(R(0).RecordX3, 0);
    EXPECT_EQ(R(0).RecordY3, 0);
    for (std::uint8_t mode : {ModeCircle3P, ModeArc3P}) {
        Arm(mode);
        form.Text2.SetText("");
        Click(0, 0);
        Click(1, 1);
        Click(5, 5);
        EXPECT_EQ(Added(), 1);
        EXPECT_EQ(form.Text2.Text(), "请正确操作！");
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
}

TEST_F(ConstructionToolsTest, AnEllipseTakesItsCrossAxisFromTheLastMove) {
    Arm(ModeEllipse);
    Click(-5, 0);
    Click(5, 0);
    Hover(1, 3);
    Hover(0, 2);
    Click(0, 2);
    ASSERT_EQ(Added(), 1);
    const MapRecord& r = R(0);
    EXPECT_EQ(r.RecordType, 9);
    EXPECT_EQ(r.RecordX1, 0);
    EXPECT_EQ(r.RecordY1, 0);
    EXPECT_EQ(r.RecordX2, 5);
    EXPECT_EQ(r.RecordY2, 2);
    EXPECT_NEAR(r.RecordX3, 3 * Pi / 2, 1e-12);
    EXPECT_EQ(r.RecordY3, 0);
    EXPECT_EQ(r.RecordX4, 0);
    EXPECT_EQ(r.RecordY4, 0);
    EXPECT_EQ(std::string(r.RecordText), "");
}

// The points of the smoothed curve through the clicks, by the quadratic Bernstein weights at
// t = j/6, computed here apart from the tool.
std::vector<CanvasXY> SmoothedByHand(const std::vector<CanvasXY>& p) {
    std::vector<CanvasXY> curve = {p.front()};
    for (size_t i = 1; i + 1 < p.size(); ++i) {
        const CanvasXY a = p[i - 1], v = p[i], b = p[i + 1];
        const CanvasXY q1{v.x + (a.x - v.x) / 4, v.y + (a.y - v.y) / 4};
        const CanvasXY q2{v.x + (b.x - v.x) / 4, v.y + (b.y - v.y) / 4};
        for (int j = 1; j <= 6; ++j) {
            const double t = j / 6.0;
            const double w0 = (1 - t) * (1 - t), w1 = 2 * t * (1 - t), w2 = t * t;
            curve.push_back({w0 * q1.x + w1 * v.x + w2 * q2.x + v.x / 2 - (q1.x + q2.x) / 4,
                             w0 * q1.y + w1 * v.y + w2 * q2.y + v.y / 2 - (q1.y + q2.y) / 4});
        }
    }
    curve.push_back(p.back());
    return curve;
}

std::vector<CanvasXY> ChainPoints(const App& app, int layer, int from, int to) {
    std::vector<CanvasXY> points;
    for (int k = from; k < to; ++k) {
        const MapRecord& r = app.store.Get(layer, k);
        const CanvasXY v[4] = {{r.RecordX1, r.RecordY1}, {r.RecordX2, r.RecordY2}, {r.RecordX3, r.RecordY3},
                               {r.RecordX4, r.RecordY4}};
        const int held = r.RecordType == 5 ? 4 : r.RecordType;
        for (int i = 0; i < held; ++i) points.push_back(v[i]);
    }
    return points;
}

TEST_F(ConstructionToolsTest, ASmoothedCurvePassesThroughEveryClickAndIsRewrittenByEachClick) {
    Arm(ModeSmoothCurve, "0");
    const std::vector<CanvasXY> clicks = {{100, 500}, {200, 600}, {300, 500}, {420, 560}};
    Click(clicks[0].x, clicks[0].y);
    Click(clicks[1].x, clicks[1].y);
    Hover(250, 550);
    Hover(300, 500);
    Click(clicks[2].x, clicks[2].y);
    // Three clicks: the first point, six around the middle one, the last: two records.
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(R(0).RecordType, 5);
    EXPECT_EQ(R(1).RecordType, 4);
    EXPECT_EQ(std::string(R(0).RecordText), "0");
    std::vector<CanvasXY> got = ChainPoints(app, layer, start, start + 2);
    ASSERT_EQ(got.size(), 8U);
    // The middle of the span lies exactly on the middle click.
    EXPECT_EQ(got[3].x, 200);
    EXPECT_EQ(got[3].y, 600);
    std::vector<CanvasXY> expected = SmoothedByHand({clicks[0], clicks[1], clicks[2]});
    for (size_t k = 0; k < 8; ++k) {
        EXPECT_NEAR(got[k].x, expected[k].x, 1e-9) << k;
        EXPECT_NEAR(got[k].y, expected[k].y, 1e-9) << k;
    }

    // A fourth click rewrites the whole curve from where it began: 14 points in four records.
    Hover(400, 540);
    Click(clicks[3].x, clicks[3].y);
    ASSERT_EQ(Added(), 4);
    EXPECT_EQ(R(2).RecordType, 5);
    EXPECT_EQ(R(3).RecordType, 2);
    got = ChainPoints(app, layer, start, start + 4);
    expected = SmoothedByHand(clicks);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t k = 0; k < got.size(); ++k) {
        EXPECT_NEAR(got[k].x, expected[k].x, 1e-9) << k;
        EXPECT_NEAR(got[k].y, expected[k].y, 1e-9) << k;
    }
    EXPECT_EQ(app.tool.CurveStartSlot, start);

    // A dashed line with width keeps its dash values on every record of the curve.
    app.current.DashWidth = 0.5F;
    app.current.DashOn = 4;
    app.current.DashOff = 2;
    Arm(ModeSmoothCurve, "1092");
    for (const CanvasXY& p : clicks) Click(p.x, p.y);
    ASSERT_EQ(Added(), 8);
    for (int k = 4; k < 8; ++k) {
        EXPECT_EQ(std::string(R(k).RecordText), "1092");
        EXPECT_EQ(R(k).RecordZ2, 0.5F);
        EXPECT_EQ(R(k).RecordZ3, 4);
        EXPECT_EQ(R(k).RecordZ4, 2);
    }
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

// A click that rewrites records already made is taken back whole: undo never leaves a chain
// record leading on to a slot that is gone.
TEST_F(ConstructionToolsTest, UndoTakesBackTheClickThatRewroteTheChain) {
    struct Case {
        std::uint8_t mode;
        std::vector<CanvasXY> before, last;
    };
    for (const Case& c : {Case{ModePerpendiculars, {{100, 500}, {200, 500}, {230, 560}, {150, 540}}, {{140, 700}}},
                          Case{ModeSmoothCurve, {{100, 500}, {200, 600}, {300, 500}}, {{420, 560}}},
                          Case{ModeSmoothCurve, {{100, 500}, {200, 600}, {300, 500}, {420, 560}}, {{500, 500}}}}) {
        SCOPED_TRACE(int(c.mode));
        Arm(c.mode, "0");
        for (CanvasXY p : c.before) Click(p.x, p.y);
        const std::vector<MapRecord> kept = Layer();
        for (CanvasXY p : c.last) Click(p.x, p.y);
        EXPECT_NE(Layer(), kept);
        // The snapshots before and after the click are one step.
        Undo(app);
        EXPECT_EQ(Layer(), kept);
        start = app.store.Count(layer);
    }
}

}  // namespace
}  // namespace movra
