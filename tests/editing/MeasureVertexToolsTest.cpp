#include <cmath>

#include "CanvasFixture.h"
#include "document/Geometry.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "editing/ConstructionSupport.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

class MeasureVertexToolsTest : public CanvasTest {
protected:
    MeasureVertexToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 3;
        app.tool.SnapOn = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }

    void Arm(std::uint8_t mode) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
    }
    // As a hand does: hover to the point, then click there.
    void HoverClick(double x, double y) {
        Hover(x, y);
        Click(x, y);
    }
    std::vector<MapRecord> Layer() const {
        const RecordStore& s = app.store;
        std::vector<MapRecord> records;
        for (int k = 0; k <= s.Count(layer); ++k) records.push_back(s.Get(layer, k));
        return records;
    }

    int layer = 0;
    std::int32_t start = 0;
};

TEST_F(MeasureVertexToolsTest, TheCrossingOfTwoLinesIsStoredAsAPointAndParallelLinesGiveNone) {
    Arm(ModeIntersection);
    for (auto [x, y] : {std::pair{100.0, 500.0}, {300.0, 500.0}, {230.5, 400.0}, {230.5, 700.0}}) Click(x, y);
    ASSERT_EQ(app.store.Count(layer), start + 1);
    const MapRecord& r = app.store.Get(layer, start);
    EXPECT_EQ(r.RecordType, 46);
    EXPECT_EQ(r.RecordX1, 230.5);
    EXPECT_EQ(r.RecordY1, 500);
    for (double v : {r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4}) EXPECT_EQ(v, 0);
    EXPECT_EQ(std::string(r.RecordText), "");
    EXPECT_EQ(r.RecordColor, Green);
    EXPECT_EQ(app.tool.ClickCount, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeIntersection);

    // The tool starts again: two parallel lines store nothing, a third run crosses again.
    for (auto [x, y] : {std::pair{100.0, 500.0}, {300.0, 600.0}, {100.0, 700.0}, {300.0, 800.0}}) Click(x, y);
    EXPECT_EQ(app.store.Count(layer), start + 1);
    for (auto [x, y] : {std::pair{0.0, 0.0}, {10.0, 10.0}, {0.0, 10.0}, {10.0, 0.0}}) Click(x, y);
    ASSERT_EQ(app.store.Count(layer), start + 2);
    EXPECT_EQ(app.store.Get(layer, start + 1).RecordX1, 5);
    EXPECT_EQ(app.store.Get(layer, start + 1).RecordY1, 5);
}

TEST_F(MeasureVertexToolsTest, DistancesAddUpInTheMessageLineAndStackInTheCommandLine) {
    Arm(ModeDistance);
    form.Text2.SetText("两点距离");
    form.Text8.SetText("=距离");
    // Away from the origin: with snapping off the candidate rests there, and a release that near
    // it would take it.
    Click(100, 100);
    Click(103, 104);
    EXPECT_EQ(form.Text2.Text(), "5");
    EXPECT_EQ(form.Text8.Text(), "5+=距离");
    // The distance is printed at the end of the measured line.
    const auto printed = Surface().PrimitivesOf(SurfacePrimitive::Kind::Print);
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.back().text, "5");
    EXPECT_EQ(printed.back().x1, 103);
    EXPECT_EQ(printed.back().y1, 104);
    EXPECT_EQ(printed.back().fontSize, 8);
    EXPECT_EQ(printed.back().color, Green);

    Click(100, 100);
    Click(101, 101);
    EXPECT_EQ(form.Text2.Text(), "6.4142");
    EXPECT_EQ(form.Text8.Text(), "1.4142+5+=距离");
    EXPECT_EQ(app.store.Count(layer), start);  // measuring stores nothing
    EXPECT_EQ(app.tool.CommandMode, ModeDistance);
}

TEST_F(MeasureVertexToolsTest, TheAngleIsTheClockwiseTurnFromTheFirstLegToTheSecond) {
    struct Case {
        double bx, by;
        const char* expected;
    };
    for (const Case& c : {Case{1, 0, "90=90-0=α"}, Case{0, 2, "0=0-0=α"}, Case{-1, 1, "315=315-0=α"},
                          Case{1, -1, "135=135-0=α"}}) {
        SCOPED_TRACE(c.expected);
        Arm(ModeAngle);
        form.Text8.SetText("=α");
        Surface().ClearRecords();
        Click(0, 1);
        Click(0, 0);
        Click(c.bx, c.by);
        EXPECT_EQ(form.Text8.Text(), c.expected);
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
    // The arc about O, 2 mm on paper, counter-clockwise from the leg OB (here 7π/4 from +x) to
    // the leg OA (π/2).
    const auto arcs = Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle);
    ASSERT_EQ(arcs.size(), 1U);
    EXPECT_TRUE(arcs[0].hasArc);
    EXPECT_DOUBLE_EQ(arcs[0].radius, 2 * app.view.ScaleFactor);
    EXPECT_NEAR(arcs[0].start, 7 * Pi / 4, 1e-12);
    EXPECT_NEAR(arcs[0].end, Pi / 2, 1e-12);
}

// A closed quadrilateral, a full chained record going on to the next slot, and a four-vertex end.
struct InsertCase {
    int type;
    int vertex;
    double x1, y1, x2, y2;  // the segment that receives the vertex
};

TEST_F(MeasureVertexToolsTest, AVertexIsInsertedIntoTheSegmentThatLeavesTheClickedVertex) {
    for (const InsertCase& c : {InsertCase{6, 4, 100, 600, 100, 500}, InsertCase{5, 4, 100, 600, 400, 700},
                                InsertCase{4, 4, 200, 600, 100, 600}, InsertCase{4, 2, 200, 500, 200, 600}}) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " vertex " << c.vertex);
        app.store.Count(layer) = start;
        Put(layer, start, {100, 500, 200, 500, 200, 600, 100, 600}, c.type);
        Put(layer, start + 1, {400, 700, 450, 750}, 2);
        // The map as opened: the journal starts from these records.
        ResetUndo(app);
        UndoCheckpoint(app, 0);
        const std::vector<MapRecord> before = Layer();
        const std::int32_t steps = app.undo.UndoCurrentStep;
        Arm(ModeInsertVertex);
        SwitchSnapping(app, true);
        const double vx = c.vertex == 4 ? 100 : 200, vy = c.vertex == 4 ? 600 : 500;
        HoverClick(vx + 0.1, vy - 0.1);
        ASSERT_EQ(app.tool.ClickCount, 1);
        EXPECT_EQ(app.tool.SnapOn, 0);
        EXPECT_EQ(form.Label3.Caption(), "不捕捉");
        const std::vector<double>& s = app.geometry.ScratchXY;
        EXPECT_EQ(std::vector<double>(s.begin(), s.begin() + 4), (std::vector<double>{c.x1, c.y1, c.x2, c.y2}));
        // The press added no slot.
        EXPECT_EQ(app.store.Count(layer), start + 2);

        Hover(130, 640);
        Click(130, 640);
        EXPECT_EQ(app.tool.CommandMode, ModeJournalHold);
        EXPECT_NE(Layer(), before);
        // Two snapshot steps of the layer, and nothing else.
        ASSERT_EQ(app.undo.UndoCurrentStep, steps + 2);
        for (int k : {steps + 1, steps + 2}) {
            EXPECT_EQ(app.undo.UndoStepKind[k], UndoKindSnapshot);
            EXPECT_EQ(app.undo.UndoStepLayer[k], layer);
        }
        // The newer snapshot takes the layer to where the insertion left it, the older one back
        // to where it began.
        Undo(app);
        Undo(app);
        EXPECT_EQ(Layer(), before);
    }
}

TEST_F(MeasureVertexToolsTest, AMovedVertexTakesTheReleasePointAndUndoPutsItBack) {
    MapRecord& r = Put(layer, start, {100, 500, 200, 500, 200, 600}, 3);
    r.RecordZ2 = 7.5F;
    const MapRecord original = r;
    Arm(ModeMoveVertex);
    SwitchSnapping(app, true);
    HoverClick(200.2, 500.1);
    ASSERT_EQ(app.tool.ClickCount, 1);
    EXPECT_EQ(app.tool.DragVertex, (SnapVertexRef{static_cast<std::int16_t>(layer), static_cast<std::int16_t>(start), 2}));
    // The preview draws the record with the vertex at the cursor.
    Surface().ClearRecords();
    Hover(250, 450);
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());
    Click(250, 450);
    const MapRecord& moved = app.store.Get(layer, start);
    EXPECT_EQ(moved.RecordX2, 250);
    EXPECT_EQ(moved.RecordY2, 450);
    EXPECT_EQ(moved.RecordZ2, 7.5F);
    EXPECT_EQ(moved.RecordX1, 100);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.undo.UndoStepKind[app.undo.UndoCurrentStep], UndoKindVertexMove);
    // Further clicks do nothing until the tool is armed again.
    Click(100, 500);
    Click(300, 300);
    EXPECT_EQ(app.store.Get(layer, start).RecordX1, 100);
    Undo(app);
    EXPECT_EQ(app.store.Get(layer, start), original);
}

TEST_F(MeasureVertexToolsTest, AFirstClickAwayFromTheSnappedVertexEditsNothing) {
    Put(layer, start, {100, 500, 200, 500, 200, 600}, 3);
    const std::vector<MapRecord> before = Layer();
    for (std::uint8_t mode : {ModeMoveVertex, ModeInsertVertex}) {
        SCOPED_TRACE(int(mode));
        Arm(mode);
        SwitchSnapping(app, true);
        // The hover found vertex 2; the click comes far from it, in empty space.
        Hover(200, 500);
        ASSERT_EQ(app.tool.SnapVertex.Vertex, 2);
        Click(800, 900);
        EXPECT_EQ(app.tool.ClickCount, 0);
        Click(820, 880);
        Click(840, 860);
        EXPECT_EQ(Layer(), before);
        EXPECT_EQ(app.tool.CommandMode, mode);
    }
}

}  // namespace
}  // namespace movra
