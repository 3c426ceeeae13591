#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

struct XY {
    double x, y;
};

class OffsetToolsTest : public CanvasTest {
protected:
    OffsetToolsTest() {
        ShowWindow(-50, 50, 100, -100);
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 3;
        app.view.ScaleFactor = 1;
        app.tool.SnapOn = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }
    void Arm(std::uint8_t mode) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
    }
    std::int32_t Added() { return app.store.Count(layer) - start; }
    MapRecord& Slot(int k) { return app.store.At(layer, start + k); }
    static std::vector<XY> Points(const MapRecord& r) {
        return {{r.RecordX1, r.RecordY1}, {r.RecordX2, r.RecordY2}, {r.RecordX3, r.RecordY3}, {r.RecordX4, r.RecordY4}};
    }
    static std::string Show(const std::vector<XY>& points) {
        std::ostringstream out;
        for (const XY& p : points) out << "(" << p.x << "," << p.y << ") ";
        return out.str();
    }
    void ExpectPoints(const MapRecord& r, std::vector<XY> expected) {
        const std::vector<XY> got = Points(r);
        for (size_t k = 0; k < expected.size(); ++k) {
            EXPECT_NEAR(got[k].x, expected[k].x, 1e-9) << Show(got);
            EXPECT_NEAR(got[k].y, expected[k].y, 1e-9) << Show(got);
        }
    }
    // The vertices of the chain of records from slot `first` on (types 2..5, then 1..5 going on).
    std::vector<XY> Chain(int first, int* records = nullptr) {
        std::vector<XY> points;
        int slot = first;
        for (;;) {
            const MapRecord& r = app.store.At(layer, slot);
            const int type = r.RecordType;
            const std::vector<XY> p = Points(r);
            const int n = type == 5 ? 4 : type;
            for (int k = 0; k < n; ++k) points.push_back(p[k]);
            ++slot;
            if (type != 5) break;
        }
        if (records) *records = slot - first;
        return points;
    }

    int layer = 0;
    std::int32_t start = 0;
};

TEST_F(OffsetToolsTest, AParallelPolylineFollowsItsTwinAndMeetsItAtTheJoints) {
    Arm(ModeParallel);
    form.Text8.SetText("0.5");
    Click(0, 0);
    Click(10, 0);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(Slot(0).RecordType, 52);
    EXPECT_EQ(Slot(0).RecordColor, Green);
    EXPECT_EQ(Slot(0).RecordPen, 3);
    ExpectPoints(Slot(0), {{0, 0}, {10, 0}, {0, -0.5}, {10, -0.5}});
    Click(10, 10);
    ASSERT_EQ(Added(), 2);
    ExpectPoints(Slot(1), {{10, 0}, {10, 10}, {10.5, -0.5}, {10.5, 10}});
    ExpectPoints(Slot(0), {{0, 0}, {10, 0}, {0, -0.5}, {10.5, -0.5}});
    // A click on the last vertex stores nothing.
    Click(10, 10);
    EXPECT_EQ(Added(), 2);
    EXPECT_EQ(app.tool.ClickCount, 4);

    // No number: 1 mm to the left, at the scale.
    app.tool.ClickCount = 0;
    app.view.ScaleFactor = 2;
    form.Text8.SetText("");
    Click(0, 0);
    Click(0, -10);
    ASSERT_EQ(Added(), 3);
    ExpectPoints(Slot(2), {{0, 0}, {0, -10}, {2, 0}, {2, -10}});
}

TEST_F(OffsetToolsTest, RingsGrowByTheStepHeldInTheMessageLine) {
    Arm(ModeRingOffset);
    form.Text8.SetText("0.5");
    for (XY p : std::vector<XY>{{0, 0}, {10, 0}, {10.2, 0.3}, {10, 10}, {0, 10}}) Click(p.x, p.y);
    // The slip beside (10, 0) was dropped.
    EXPECT_EQ(app.tool.ClickCount, 4);
    EXPECT_EQ(Added(), 0);
    Click(0.4, -0.3);  // within ScaleFactor of the first corner: the ring closes
    EXPECT_EQ(app.tool.ClickCount, 255);
    EXPECT_EQ(form.Text2.Text(), "0.5");
    int records = 0;
    std::vector<XY> ring = Chain(0, &records);
    EXPECT_EQ(records, Added());
    ASSERT_EQ(ring.size(), 5u);
    EXPECT_NEAR(ring[0].x, -0.5, 1e-9);
    EXPECT_NEAR(ring[0].y, -0.5, 1e-9);
    EXPECT_NEAR(ring[2].x, 10.5, 1e-9);
    EXPECT_NEAR(ring[2].y, 10.5, 1e-9);
    EXPECT_NEAR(ring[4].x, ring[0].x, 1e-12);
    // Each further click adds a ring one step further out.
    for (const char* expected : {"1", "1.5"}) {
        const std::int32_t first = Added();
        Click(30, 30);
        EXPECT_EQ(form.Text8.Text(), expected);
        ring = Chain(first);
        ASSERT_EQ(ring.size(), 5u);
        EXPECT_NEAR(ring[1].x, 10 + Val(expected), 1e-9);
        EXPECT_NEAR(ring[1].y, -Val(expected), 1e-9);
    }
    EXPECT_EQ(app.store.At(layer, app.store.Count(layer)).RecordType, 0);
}

TEST_F(OffsetToolsTest, ARingWithoutANumberStartsOnTheLeftAtOneMillimetre) {
    Arm(ModeRingOffset);
    form.Text8.SetText("");
    for (XY p : std::vector<XY>{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}) Click(p.x, p.y);
    EXPECT_EQ(form.Text2.Text(), "0.5");
    std::vector<XY> ring = Chain(0);
    ASSERT_EQ(ring.size(), 5u);
    EXPECT_NEAR(ring[0].x, 1, 1e-9);
    EXPECT_NEAR(ring[0].y, 1, 1e-9);
    const std::int32_t first = Added();
    Click(30, 30);
    EXPECT_EQ(form.Text8.Text(), "0.5");
    ring = Chain(first);
    EXPECT_NEAR(ring[0].x, -0.5, 1e-9);
    EXPECT_NEAR(ring[0].y, -0.5, 1e-9);
}

TEST_F(OffsetToolsTest, ARingThatCannotBeOffsetIsWithdrawnAndTheLastCornerMustCloseIt) {
    Arm(ModeRingOffset);
    form.Text8.SetText("0.5");
    // Three corners in one line: the offsets at (10, 0) do not meet.
    for (XY p : std::vector<XY>{{0, 0}, {10, 0}, {20, 0}, {10, 10}, {0, 0}}) Click(p.x, p.y);
    EXPECT_EQ(form.Text2.Text(), "请正确操作！");
    EXPECT_EQ(Added(), 0);
    EXPECT_EQ(app.store.At(layer, start).RecordType, 0);
    EXPECT_EQ(app.tool.ClickCount, 0);

    // 255 corners on a circle: the last one must close the ring, and the click that does so
    // takes its place.
    const int n = 256;
    auto corner = [](int i) { return XY{40 * std::cos(TwoPi * i / n), 40 * std::sin(TwoPi * i / n)}; };
    for (int i = 0; i < 255; ++i) Click(corner(i).x, corner(i).y);
    EXPECT_EQ(app.tool.ClickCount, 254);
    EXPECT_EQ(form.Text2.Text(), "请正确操作！");
    EXPECT_EQ(Added(), 0);
    Click(corner(0).x, corner(0).y);
    EXPECT_EQ(app.tool.ClickCount, 255);
    const std::vector<XY> ring = Chain(0);
    EXPECT_EQ(ring.size(), 255u);  // 254 corners and the closing one
    EXPECT_NEAR(std::hypot(ring[100].x, ring[100].y), 40 + 0.5 / std::cos(Pi / n), 1e-5);  // the clicks are singles
}

TEST_F(OffsetToolsTest, RandomConvexRingsLieAtTheDistanceOnTheSideOfTheSignRule) {
    std::mt19937 random(30);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int round = 0; round < 40; ++round) {
        const int corners = 3 + static_cast<int>(unit(random) * 10);
        const double radius = 10 + 30 * unit(random);
        const XY centre{-5 + 10 * unit(random), -5 + 10 * unit(random)};
        const bool clockwise = unit(random) < 0.5;
        const double scale = std::vector<double>{0.5, 1, 2}[static_cast<size_t>(unit(random) * 3)];
        const double typed = std::round((unit(random) * 6 - 3) * 100) / 100;
        SCOPED_TRACE(testing::Message() << "round " << round << " corners " << corners << " typed " << typed
                                        << " scale " << scale << (clockwise ? " clockwise" : ""));
        std::vector<XY> ring;
        for (int i = 0; i < corners; ++i) {
            const double a = TwoPi * (i + 0.3 * unit(random)) / corners * (clockwise ? -1 : 1);
            // The canvas events carry single-precision points.
            ring.push_back({static_cast<float>(centre.x + radius * std::cos(a)),
                            static_cast<float>(centre.y + radius * std::sin(a))});
        }
        app.view.ScaleFactor = scale;
        start = app.store.Count(layer);
        Arm(ModeRingOffset);
        form.Text8.SetText(PlainNumberText(typed));
        for (const XY& p : ring) Click(p.x, p.y);
        Click(ring[0].x, ring[0].y);
        ASSERT_EQ(app.tool.ClickCount, 255);
        const std::vector<XY> offset = Chain(start);
        ASSERT_EQ(offset.size(), ring.size() + 1);
        // Positive typed values lie right of the clicked direction; 0 is 1 mm to the left.
        const double signedDistance = (typed == 0 ? 1 : -typed) * scale;
        for (int i = 0; i < corners; ++i) {
            const XY a = ring[i], b = ring[(i + 1) % corners];
            const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
            for (const XY& p : {offset[i], offset[i + 1]}) {
                const double left = (dx * (p.y - a.y) - dy * (p.x - a.x)) / length;
                EXPECT_NEAR(left, signedDistance, 1e-9);
            }
        }
    }
}

TEST_F(OffsetToolsTest, SegmentCopiesGoThroughTheClickOrAtTheTypedDistance) {
    Arm(ModeOffsetSegment);
    form.Text5.SetText("3");
    Click(-20, 0);
    Click(20, 0);
    EXPECT_EQ(form.Text5.Text(), "");
    EXPECT_EQ(Added(), 0);
    // The preview: the reference moved through the cursor, lengthened beyond its ends.
    Surface().ClearRecords();
    Hover(5, 7);
    Hover(5, 9);
    const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_DOUBLE_EQ(lines[lines.size() - 3].y1, 7);  // the one shown, drawn again to erase it
    EXPECT_DOUBLE_EQ(lines.back().y1, 9);
    EXPECT_DOUBLE_EQ(lines.back().x1, -100);
    EXPECT_DOUBLE_EQ(lines.back().x2, 100);
    Click(5, 7);
    form.Text5.SetText("2");
    Click(5, 7);
    Click(5, -7);
    ASSERT_EQ(Added(), 3);
    const std::vector<std::vector<XY>> expected = {{{-20, 7}, {20, 7}}, {{-20, 2}, {20, 2}}, {{-20, -2}, {20, -2}}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Slot(k).RecordType, 2);
        EXPECT_EQ(Slot(k).RecordText, "");
        ExpectPoints(Slot(k), expected[k]);
    }
    EXPECT_EQ(app.tool.ClickCount, 5);
}

TEST_F(OffsetToolsTest, StripsCloseOnTheStoredReference) {
    Arm(ModeOffsetSegment2);
    Click(-20, 0);
    Click(20, 0);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(Slot(0).RecordType, 2);
    EXPECT_EQ(Slot(0).RecordText, "0");
    ExpectPoints(Slot(0), {{-20, 0}, {20, 0}});
    Surface().ClearRecords();
    Click(0, -6);
    Click(0, 4);
    ASSERT_EQ(Added(), 3);
    EXPECT_EQ(Slot(1).RecordType, 4);
    EXPECT_EQ(Slot(1).RecordText, "0");
    ExpectPoints(Slot(1), {{20, 0}, {20, -6}, {-20, -6}, {-20, 0}});
    ExpectPoints(Slot(2), {{20, 0}, {20, 4}, {-20, 4}, {-20, 0}});
    EXPECT_EQ(app.tool.ClickCount, 2);
    // The edges in red, yellow and green.
    const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    std::vector<Rgb> colours;
    for (const auto& line : lines) colours.push_back(line.color);
    const auto& palette = app.tables.ColorPalette;
    EXPECT_EQ(std::vector<Rgb>(colours.end() - 3, colours.end()), (std::vector<Rgb>{palette[1], palette[2], palette[3]}));
}

TEST_F(OffsetToolsTest, PipeStripsTakeTheirKindFromText8AndTheirHeightsFromText5) {
    Arm(ModePipeRect);
    form.Text8.SetText("0");
    form.Text5.SetText("1.2,3.5,2.0");
    Click(-20, 0);
    Click(20, 0);
    EXPECT_EQ(form.Text5.Text(), "1.2,3.5,2.0");
    Click(0, 6);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(Slot(0).RecordType, 10);
    EXPECT_EQ(Slot(0).RecordText, "0");
    ExpectPoints(Slot(0), {{-20, 0}, {20, 0}, {20, 1.2}, {-20, 1.2}});
    EXPECT_FLOAT_EQ(Slot(0).RecordZ1, 3.5F);
    EXPECT_FLOAT_EQ(Slot(0).RecordZ2, 3.5F);
    EXPECT_FLOAT_EQ(Slot(0).RecordZ3, 2.0F);
    EXPECT_FLOAT_EQ(Slot(0).RecordZ4, 2.0F);
    EXPECT_EQ(app.tool.ClickCount, 0);

    form.Text8.SetText("5");
    Click(-20, 0);
    Click(20, 0);
    Click(0, -6);
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(Slot(1).RecordType, 14);
    EXPECT_EQ(Slot(1).RecordText, "5");
    ExpectPoints(Slot(1), {{-20, 0}, {20, 0}, {20, -1.2}, {-20, -1.2}});
    EXPECT_FLOAT_EQ(Slot(1).RecordZ1, 0);

    // No number: the error is reported and nothing stored.
    form.Text8.SetText("abc");
    Click(-20, 0);
    Click(20, 0);
    Click(0, -6);
    EXPECT_EQ(form.Text2.Text(), "类型不匹配13");
    EXPECT_EQ(Added(), 2);
}

}  // namespace
}  // namespace movra
