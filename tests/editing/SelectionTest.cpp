#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "basic/Colors.h"
#include "editing/SelectionTools.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

class SelectionTest : public CanvasTest {
protected:
    SelectionTest() {
        app.view.ScaleFactor = 0.5;  // margin of the extended window: 50
        app.store.LayerCount = 2;
        app.store.DimensionKeep(2);
        app.store.LayerOnFlag[1] = app.store.LayerOnFlag[2] = -1;
    }
    ScriptedPrompt& Prompts() { return t.platform.promptScript; }
    std::int32_t CountElement() const { return app.selection.SelectionList[0].Layer; }
    std::vector<int> Slots() const {
        std::vector<int> out;
        for (int k = 1; k < CountElement(); ++k) out.push_back(app.selection.SelectionList[k].Slot);
        return out;
    }
    // A square ring of a filled area's boundary: a type-30 record and its type-26 end.
    void Ring(int slot, double lo, double hi) {
        Put(1, slot, {lo, lo, hi, lo, hi, hi, lo, hi}, 30);
        Put(1, slot + 1, {lo, lo}, 26);
    }
};

TEST_F(SelectionTest, TheInsidePassTakesRecordsWithAVertexStrictlyInside) {
    Put(1, 0, {10, 10, 300, 300});             // one vertex inside
    Put(1, 1, {0, 50, 300, 300});              // on the edge only
    Put(1, 2, {20, 20}, 102);                  // deleted
    Put(2, 0, {5, 5}, 0).RecordText = "p";     // point, unused vertices at (0, 0)
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(CountElement(), 3);
    EXPECT_EQ(Slots(), (std::vector<int>{0, 0}));
    EXPECT_EQ(app.selection.SelectionList[2].Layer, 2);
    EXPECT_EQ(form.Text8.Text(), "");

    // Reversed, the window holds nothing and its extended window is empty too.
    SelectInWindow(app, 100, 0, 0, 100);
    EXPECT_EQ(CountElement(), 1);

    // A window round the origin takes nothing: only the vertices a type uses are positions, and
    // these records keep sizes or zeros in the others.
    Put(2, 1, {500, 400, 3, 0}, 65).RecordText = "字";       // a text of height 3
    Put(2, 2, {600, 400, 0, 1}, 15).RecordText = "128";     // a symbol pointing north
    Put(2, 3, {700, 400, 0, 0, 0, 0, 700, 401}, 61);         // a terrain point: P1 and P4
    Key('X');
    Press(-1, 1);
    Drag(0, 0);
    Release(1, -1);
    EXPECT_EQ(CountElement(), 1);
    SelectInWindow(app, 699, 402, 701, 400.5);  // the terrain point by its P4
    EXPECT_EQ(Slots(), (std::vector<int>{3}));
    SelectInWindow(app, 4, 6, 6, 4);
    EXPECT_EQ(Slots(), (std::vector<int>{0}));
    EXPECT_EQ(form.Text8.Text(), "xg：p");
    for (int k : {8, 10, 11}) EXPECT_TRUE(toolbar.Buttons(k).Enabled());
}

TEST_F(SelectionTest, TheCrossingPassSelectsOneCrossedLineUnlessAPointIsMetFirst) {
    Put(1, 0, {500, 500, 600, 600});  // looked at (unused vertices at the origin), not crossed
    Put(1, 1, {-20, 40, 120, 40});  // crossed by the fence from (-50, 150) to (150, -50)
    Put(1, 2, {-20, 60, 120, 60});
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(Slots(), (std::vector<int>{1}));
    EXPECT_EQ(form.Label6.BackColor(), app.tables.ColorPalette[7]);

    // A point record in the extended window, earlier in scan order, ends the pass.
    Put(1, 0, {-10, -10}, 0);
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(CountElement(), 1);

    // A closed ring tests its own closing edge, not a segment to the next slot.
    app.store.Count(1) = 0;
    Put(1, 0, {-20, -20, -40, -20, 400, -250, 120, 120}, 6);  // only its closing edge crosses
    Put(1, 1, {300, 300}, 0);
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(Slots(), (std::vector<int>{0}));
}

TEST_F(SelectionTest, TheCircleAndAreaPassesFollowAnEmptyWindow) {
    Put(1, 0, {-40, 50, 90, 0}, 7);  // circle through the centre (50, 50)
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(Slots(), (std::vector<int>{0}));

    app.store.Count(1) = 0;
    Ring(0, -200, 300);
    form.Text8.SetText("keep");
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(CountElement(), 0);  // inside an area: ends at once, nothing selected
    EXPECT_EQ(form.Text8.Text(), "keep");
    EXPECT_EQ(form.Picture1.MousePointer(), PointerCross);

    app.store.Count(1) = 0;
    Ring(0, 400, 600);
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(CountElement(), 1);
    EXPECT_EQ(form.Text8.Text(), "");
}

TEST_F(SelectionTest, TheHighlightsStayValidColours) {
    Put(1, 0, {50, 50});
    for (Rgb current : {Rgb(0), MakeRgb(255, 255, 255), MakeRgb(250, 255, 255)}) {
        app.current.CurrentColor = current;
        SelectInWindow(app, 0, 100, 100, 0);
        EXPECT_EQ(CountElement(), 2);
        EXPECT_EQ(app.current.CurrentColor, current);
        const Rgb h = PackedColorSum(current, 5000);
        EXPECT_TRUE(h >= 0 && h <= 0xFFFFFF);
    }
    EXPECT_EQ(PackedColorSum(0, 5000), MakeRgb(136, 19, 0));
    EXPECT_EQ(PackedColorSum(0, 500), MakeRgb(244, 1, 0));
}

TEST_F(SelectionTest, MoreThanTheLimitLeavesTheListEmpty) {
    app.store.LayerCapacity = 20000;
    for (int layer : {1, 2}) {
        for (int slot = 0; slot < 16000; ++slot) {
            MapRecord& r = app.store.At(layer, slot);
            r.RecordX1 = r.RecordY1 = r.RecordX2 = r.RecordY2 = r.RecordX3 = r.RecordY3 = r.RecordX4 =
                r.RecordY4 = 50;
        }
        app.store.Count(layer) = 16000;
    }
    form.Text8.SetText("keep");
    SelectInWindow(app, 0, 100, 100, 0);
    EXPECT_EQ(CountElement(), 0);
    EXPECT_EQ(form.Text8.Text(), "keep");
}

TEST_F(SelectionTest, ThePointPickTakesAVertexASegmentOrAShape) {
    Put(1, 0, {100, 100}, 0).RecordText = "pt";
    Put(1, 1, {60, 200, 140, 200}).RecordText = "ln";
    // Pass 1: within one paper millimetre (0.5) of a vertex.
    PickAtPoint(app, 100.4, 99.6);
    EXPECT_EQ(Slots(), (std::vector<int>{0}));
    EXPECT_EQ(form.Text8.Text(), "xg：pt");
    PickAtPoint(app, 100.6, 100);
    EXPECT_EQ(CountElement(), 1);  // the point record is passed over by pass 2

    // Pass 2: nothing hits before the method panel set the tolerance.
    PickAtPoint(app, 100, 200.1);
    EXPECT_EQ(CountElement(), 1);
    app.selection.SelectTolerance = 0.25f;
    PickAtPoint(app, 100, 200.1);
    EXPECT_EQ(Slots(), (std::vector<int>{1}));
    EXPECT_EQ(form.Text8.Text(), "xg：ln");

    // The elevation-point tool picks without touching Text8.
    app.tool.CommandMode = ModeElevationPoint;
    form.Text8.SetText("keep");
    PickAtPoint(app, 100, 100);
    EXPECT_EQ(form.Text8.Text(), "keep");
}

TEST_F(SelectionTest, AClickInAFillHeadsBoxTakesTheHeadAndItsChain) {
    Put(1, 0, {300, 300}, 0);
    MapRecord& head = Put(1, 1, {0, 100, 100, 0, 0, 0, 0, 0}, 11);
    head.RecordZ4 = 2.7f;
    Put(1, 2, {-500, -500}, 30);
    Put(1, 3, {-500, -500}, 26);
    Put(1, 4, {-500, -500}, 26);
    PickAtPoint(app, 50, 50);
    EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(app.tool.SelectionMade, -1);

    // A head whose count runs past the layer's records takes what the layer holds.
    head.RecordZ4 = 40;
    PickAtPoint(app, 50, 50);
    EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(SelectionTest, TheCanvasSelectsByWindowOrClickAndTheClipToolAsksToSave) {
    Put(1, 0, {200, 800}).RecordText = "a";
    Put(1, 1, {600, 600});
    const std::int32_t steps = app.undo.UndoCurrentStep;
    Key('X');
    Press(100, 900);
    Drag(150, 850);
    Release(300, 700);
    EXPECT_EQ(CountElement(), 2);
    EXPECT_EQ(app.tool.SelectionMade, -1);
    EXPECT_EQ(app.undo.UndoCurrentStep, steps);  // a selection is no step to undo
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Box).empty());
    Press(200.5, 800.2);
    Release(200.3, 800);  // moved 1 unit or less: a click
    EXPECT_EQ(CountElement(), 2);

    // Disarmed, a release selects nothing new.
    app.tool.SelectionArmed = 0;
    app.selection.SelectionList.assign(2, SelectedRecord{});
    Click(200, 800);
    EXPECT_EQ(CountElement(), 0);

    app.tool.CommandMode = ModeClipSave;
    app.tool.SelectionArmed = -1;
    Prompts().QueueAnswer(AnswerNo);
    Press(100, 900);
    Release(300, 700);
    ASSERT_EQ(Prompts().questions.size(), 1u);
    EXPECT_EQ(Prompts().questions[0].text, "要保存复照图吗？，y/保存，n/重来，esc/无");
    EXPECT_EQ(Prompts().questions[0].title, "复照图元");
    EXPECT_GT(app.clip.ClipBufferCount, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeClipSave);
    Click(200, 800);  // a click picks and asks nothing
    EXPECT_EQ(Prompts().questions.size(), 1u);
    EXPECT_EQ(CountElement(), 2);
    Prompts().QueueAnswer(AnswerCancel);
    Press(100, 900);
    Release(300, 700);
    EXPECT_EQ(app.tool.SelectionArmed, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(SelectionTest, PointInWorkingPolygonTable) {
    struct Case {
        const char* name;
        std::vector<double> ring;
        double x, y;
        std::int16_t inside;
    };
    const std::vector<double> square = {0, 0, 10, 0, 10, 10, 0, 10};
    const std::vector<double> u = {0, 0, 30, 0, 30, 30, 20, 30, 20, 10, 10, 10, 10, 30, 0, 30};
    const std::vector<double> triangle = {0, 0, 10, 5, 0, 10};            // scan line through a vertex
    const std::vector<double> notch = {0, 0, 20, 0, 20, 10, 10, 5, 0, 10};  // touched at (10, 5)
    const std::vector<double> diamond = {0, -10, 10, 0, 0, 10, -10, 0};   // scan line through two vertices
    const std::vector<double> step = {0, 0, 10, 0, 10, 5, 20, 5, 20, 10, 0, 10};  // an edge along the line
    for (const Case& c : {Case{"square in", square, 5, 5, -1}, Case{"square out", square, 15, 5, 0},
                          Case{"U arm", u, 5, 20, -1}, Case{"U notch", u, 15, 20, 0}, Case{"U base", u, 15, 5, -1},
                          Case{"shared vertex", triangle, 5, 5, -1}, Case{"touch left", notch, 5, 5, -1},
                          Case{"touch right", notch, 15, 5, -1}, Case{"touch outside", notch, 25, 5, 0},
                          Case{"diamond centre", diamond, 0, 0, -1}, Case{"diamond right", diamond, 5, 0, -1},
                          Case{"beside the diamond", diamond, 12, 0, 0}, Case{"step in", step, 5, 5, -1},
                          Case{"beside the step", step, 25, 5, 0}, Case{"step above", step, 15, 7, -1}}) {
        std::vector<double>& s = app.geometry.ScratchXY;
        s = c.ring;
        s.push_back(0), s.push_back(0);
        std::int16_t inside = 7;
        PointInWorkingPolygon(app, c.x, c.y, inside);
        EXPECT_EQ(inside, c.inside) << c.name;
    }
}

}  // namespace
}  // namespace movra
