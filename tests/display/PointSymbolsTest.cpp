#include "display/PointSymbols.h"

#include "display/DisplayFixture.h"

namespace movra {
namespace {

class PointSymbols : public DisplayTest {};

TEST_F(PointSymbols, TurnsClockwiseByTheDirectionAndScales) {
    app.view.ScaleFactor = 2;
    SetElement(0, 0, 1, {{0, 0}, {0, 1}});  // a stroke pointing to the symbol's top
    struct Case {
        double dx, dy;
        Segment expected;
    } cases[] = {
        {0, 1, {10, 20, 10, 22}},
        {1, 0, {10, 20, 12, 20}},    // a quarter turn: the top points east
        {0, -1, {10, 20, 10, 18}},
        {0, 0, {10, 20, 10, 18}},    // a null direction counts as a half turn
        {-3, 3, {10, 20, 10 - std::sqrt(2.0), 20 + std::sqrt(2.0)}},
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        DrawPointSymbol(app, 10, 20, "349", c.dx, c.dy, 7);
        ASSERT_EQ(Lines().size(), 1u);
        EXPECT_TRUE(SameSegment(Lines()[0], c.expected)) << c.dx << "," << c.dy;
        EXPECT_EQ(Lines()[0].color, 7);
    }
    EXPECT_EQ(canvas.DrawWidth(), 1);
    EXPECT_EQ(canvas.DrawStyle(), 0);
}

TEST_F(PointSymbols, AFailedSymbolLeavesTheSquareAndTheMessage) {
    t.form1.Text2.SetText("");
    DrawPointSymbol(app, 5, 5, "700", 0, 1, 255);  // symbol 351 does not exist
    const auto boxes = Of(Kind::FilledBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(SameSegment(boxes[0], {5, 5, 6, 4}));
    EXPECT_EQ(boxes[0].color, 255);
    EXPECT_EQ(t.form1.Text2.Text(), "下标越界9");

    // Without a loaded standard the tables do not exist: the same square.
    app.symbolStandard = SymbolStandard{};
    canvas.ClearRecords();
    DrawPointSymbol(app, 0, 0, "3", 0, 1, 0);
    EXPECT_EQ(Of(Kind::FilledBox).size(), 1u);
}

TEST_F(PointSymbols, ElementKinds) {
    SetElement(1, 0, 2, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}});  // polyline of 5 points
    SetElement(1, 1, 2, {{3, 3}});                                  // polyline of 1 point
    SetElement(1, 2, 3, {{0, 2}, {0.5, 0}});                        // circle, radius 0.5
    SetElement(1, 3, 5, {{-1, 0}});                                 // point
    SetElement(1, 4, 9, {{0, 0}, {1, 1}});                          // unknown kind
    DrawPointSymbol(app, 100, 100, "1", 0, 1, 3);
    EXPECT_EQ(Lines().size(), 4u);
    const auto circles = Of(Kind::Circle);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_TRUE(Near(circles[0].x1, 100) && Near(circles[0].y1, 102) && Near(circles[0].radius, 0.5));
    const auto points = Of(Kind::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_TRUE(Near(points[0].x1, 99) && Near(points[0].y1, 100));

    // A symbol without elements draws nothing and reports nothing.
    t.form1.Text2.SetText("");
    canvas.ClearRecords();
    DrawPointSymbol(app, 0, 0, "2", 0, 1, 0);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_EQ(t.form1.Text2.Text(), "");
}

TEST_F(PointSymbols, ArcsTurnWithTheSymbol) {
    // A quarter arc about a centre 1 mm below the insertion point, from east to north of it.
    SetElement(4, 0, 4, {{0, -1}, {1, -1}, {0, 0}});
    DrawPointSymbol(app, 0, 0, "4", 0, 1, 0);
    auto arcs = Of(Kind::Circle);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(Near(arcs[0].x1, 0) && Near(arcs[0].y1, -1) && Near(arcs[0].radius, 1));
    EXPECT_TRUE(arcs[0].hasArc);
    EXPECT_TRUE(Near(arcs[0].start, 0) && Near(arcs[0].end, M_PI / 2));

    // Turned a quarter clockwise, the centre moves west and the arc runs from south to east.
    canvas.ClearRecords();
    DrawPointSymbol(app, 0, 0, "4", 1, 0, 0);
    arcs = Of(Kind::Circle);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(Near(arcs[0].x1, -1) && Near(arcs[0].y1, 0));
    EXPECT_TRUE(Near(arcs[0].start, 3 * M_PI / 2) && Near(arcs[0].end, 0));
}

TEST_F(PointSymbols, SymbolRowsOfType87) {
    SetElement(5, 0, 5, {{0, 0}});
    MapRecord& r = app.store.At(1, 10);
    r.RecordType = 87;
    r.RecordText = "5";
    r.RecordExtra = "2";
    r.RecordX2 = 100;
    r.RecordY2 = 50;
    struct Case {
        float length;
        size_t symbols;
    } cases[] = {{10, 5}, {8.4f, 4}, {0.5f, 0}};
    for (const Case& c : cases) {
        r.RecordZ2 = c.length;
        canvas.ClearRecords();
        DrawSymbolRow(app, 1, 10, 2);
        const auto points = Of(Kind::Point);
        ASSERT_EQ(points.size(), c.symbols) << c.length;
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_TRUE(Near(points[i].x1, 100 + 2.0 * i) && Near(points[i].y1, 50 + 2.0 * i));
        }
    }
    // A spacing that never advances draws one symbol and ends.
    for (const char* spacing : {"0", "-3", ""}) {
        r.RecordExtra = spacing;
        r.RecordZ2 = 10;
        canvas.ClearRecords();
        DrawSymbolRow(app, 1, 10, 2);
        EXPECT_EQ(Of(Kind::Point).size(), 1u) << spacing;
    }
}

TEST_F(PointSymbols, RepeatAlongSegmentStartsAMillimetreInFromTheLeftEnd) {
    SetElement(5, 0, 5, {{0, 0}});
    app.view.ScaleFactor = 0.5;
    RepeatSymbolAlongSegment(app, 10, 7, 0, 3, 0, "5", 2, 0.5f);  // the second point is the left end
    auto points = Of(Kind::Point);
    ASSERT_EQ(points.size(), 5u);  // x = 0.5, 2.5, ... 8.5, all below 9.5
    EXPECT_TRUE(Near(points[0].x1, 0.5) && Near(points[0].y1, 3.5));
    EXPECT_TRUE(Near(points[4].x1, 8.5) && Near(points[4].y1, 5.5));

    canvas.ClearRecords();
    RepeatSymbolAlongSegment(app, 0, 0, 0.9, 0, 0, "5", 0.1f, 0);  // shorter than two millimetres
    EXPECT_TRUE(Of(Kind::Point).empty());

    canvas.ClearRecords();
    RepeatSymbolAlongSegment(app, 0, 0, 10, 0, 0, "5", 0, 0);
    EXPECT_EQ(Of(Kind::Point).size(), 1u);
}

}  // namespace
}  // namespace movra
