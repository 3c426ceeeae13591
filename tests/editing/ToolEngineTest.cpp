#include <set>

#include "CanvasFixture.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"

namespace movra {
namespace {

using ToolEngineTest = CanvasTest;

TEST_F(ToolEngineTest, EveryModeBelongsToOneFamilyAndUnclaimedModesRunTheFrameOnly) {
    std::set<int> seen;
    for (const ToolFamily* family : AllToolFamilies())
        for (const ToolModeHooks& hooks : family->modes) {
            EXPECT_TRUE(seen.insert(hooks.mode).second) << "mode " << int(hooks.mode) << " claimed twice";
            EXPECT_EQ(HooksFor(hooks.mode), &hooks);
            EXPECT_EQ(FamilyFor(hooks.mode), family);
        }
    EXPECT_EQ(HooksFor(ModeModelLine), nullptr);

    // A mode without a branch: the common tail and the end steps.
    app.tool.CommandMode = ModeModelLine;
    app.reduction.ReductionOffsetX = 3000;
    app.reduction.ReductionOffsetY = 200;
    Click(10, 900);
    EXPECT_EQ(form.Text1.Text(), "3000;200");
    EXPECT_EQ(Lamp(), Yellow);
    EXPECT_EQ(Surface().DrawMode(), DrawModeNotXorPen);
}

TEST_F(ToolEngineTest, TheLampShowsWhatTheLastEventLeft) {
    struct Case {
        std::uint8_t mode;
        Rgb lamp;
    };
    // The view tools, the selection and the zoom end their release early: the lamp stays red.
    for (const Case& c : {Case{ModeRestored, Yellow}, Case{ModeIdle, Blue}, Case{ModeSelect, Red},
                          Case{ModePan, Red}, Case{ModeZoomDrag, Red}}) {
        app.tool.CommandMode = c.mode;
        form.Label6.SetBackColor(0);
        Press(10, 900);
        EXPECT_EQ(Lamp(), Red);
        Release(10, 900);
        EXPECT_EQ(Lamp(), c.lamp) << int(c.mode);
    }
    app.tool.CommandMode = ModeZoomIn;
    Press(100, 900);
    Release(200, 800);
    EXPECT_EQ(Lamp(), Red);

    int key = 'C';
    form.Picture1.KeyDown(key, CtrlMask);
    EXPECT_EQ(Lamp(), Red);
    Key('Q');
    EXPECT_EQ(Lamp(), Blue);
}

TEST_F(ToolEngineTest, ReleasesJournalWhatWasAppendedExceptInTheSelection) {
    const std::int32_t steps = app.undo.UndoCurrentStep;
    Put(1, 0, {10, 10});
    app.tool.CommandMode = ModeSelect;
    Click(10, 900);
    EXPECT_EQ(app.undo.UndoCurrentStep, steps);

    app.tool.CommandMode = ModeRestored;
    Click(10, 900);
    ASSERT_EQ(app.undo.UndoCurrentStep, steps + 1);
    EXPECT_EQ(app.undo.UndoStepKind.back(), UndoKindAppend);
    EXPECT_EQ(app.undo.UndoStepLayer.back(), 1);
}

TEST_F(ToolEngineTest, APressReadsTheCapacityAndGrowsAFullLayerFirst) {
    app.store.LayerCapacity = 31000;
    app.store.Count(1) = 15500;
    Press(10, 900);
    EXPECT_EQ(form.Text1.Text(), "容量已使用50%");

    app.store.LayerCapacity = 5000;
    app.store.Count(1) = 4995;  // 4995 + 5 is not above the capacity
    Press(10, 900);
    EXPECT_EQ(app.store.LayerCapacity, 5000);
    app.store.Count(1) = 4996;
    Press(10, 900);
    EXPECT_GT(app.store.LayerCapacity, 5000);
    EXPECT_EQ(form.Text1.Text(), "容量已使用16%");
}

TEST_F(ToolEngineTest, APressSetsThePenOfTheCurrentStyle) {
    for (auto [pen, width, style] : {std::tuple{0, 1, 0}, std::tuple{3, 1, 3}, std::tuple{9, 3, 0}}) {
        app.current.CurrentPen = static_cast<std::int16_t>(pen);
        Press(10, 900);
        EXPECT_EQ(Surface().DrawWidth(), width);
        EXPECT_EQ(Surface().DrawStyle(), style);
    }
}

TEST_F(ToolEngineTest, ARightClickPausesTheToolAndASecondResumesItAfresh) {
    app.tool.CommandMode = ModeLine;
    app.tool.ClickCount = 2;  // two segments drawn
    Click(10, 900, RightButton);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.tool.PreviousMode, ModeLine);
    EXPECT_EQ(Lamp(), Blue);
    Press(10, 900, RightButton);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    EXPECT_EQ(app.tool.ClickCount, 0);
    Release(10, 900, RightButton);
    EXPECT_EQ(Lamp(), Yellow);

    // Never paused: the right press while idle arms the pan.
    TestApp fresh;
    fresh.form1.Load();
    fresh.app.tool.CommandMode = ModeIdle;
    fresh.form1.Picture1.MouseDown(RightButton, 0, 10, 10);
    EXPECT_EQ(fresh.app.tool.CommandMode, ModePan);
}

TEST_F(ToolEngineTest, ARightReleaseStopsRoamingAndEmptiesTheEntryBox) {
    form.Timer2.SetEnabled(true);
    form.Text5.SetText("12.5");
    app.tool.ClickCount = 3;
    Click(10, 900, RightButton);
    EXPECT_FALSE(form.Timer2.Enabled());
    EXPECT_EQ(form.Text5.Text(), "");
    EXPECT_EQ(app.tool.ClickCount, 0);
}

TEST_F(ToolEngineTest, KeysSwitchSnappingArmTheSelectionAndScrollTheView) {
    const bool before = app.tool.SnapOn == -1;
    Key('B');
    EXPECT_EQ(app.tool.SnapOn == -1, !before);
    Key('B');
    EXPECT_EQ(app.tool.SnapOn == -1, before);
    EXPECT_EQ(form.Label3.Caption(), before ? "捕捉(B)" : "不捕(B)");
    EXPECT_EQ(form.Label3.BackColor(), app.tables.ColorPalette[before ? 7 : 8]);

    Key('X');
    EXPECT_EQ(app.tool.CommandMode, ModeSelect);
    EXPECT_EQ(app.tool.SelectionArmed, -1);
    EXPECT_EQ(app.tool.SelectionCount, 1);
    EXPECT_EQ(form.Label4.Caption(), "选择(X)");

    struct Scroll {
        int key;
        double left, top;
    };
    // The window (0, 1000) 1000 wide, 750 high: a quarter of it each way; up goes north.
    for (const Scroll& s : {Scroll{KeyLeft, -250, 1000}, Scroll{KeyUp, 0, 1187.5}, Scroll{KeyRight, 250, 1000},
                            Scroll{KeyDown, 0, 812.5}}) {
        ShowWindow(0, 1000, 1000, -750);
        const int clears = Clears();
        Key(s.key);
        EXPECT_EQ(form.Picture1.ScaleLeft(), s.left);
        EXPECT_EQ(form.Picture1.ScaleTop(), s.top);
        EXPECT_EQ(Clears(), clears + 1) << "redrawn";
        EXPECT_EQ(Lamp(), Blue);
    }
}

TEST_F(ToolEngineTest, DeleteTakesTheSelectionAwayAndDisablesItsButtons) {
    Put(1, 0, {10, 10, 20, 20});
    app.selection.SelectionList = {{2, 0}, {1, 0}};
    app.tool.SelectionMade = -1;
    app.display.Redraw.SuppressTerrainPoints = -1;
    for (int k : {8, 10, 11}) toolbar.Buttons(k).SetEnabled(true);
    Key(KeyDelete);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 102);
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, 0);
    for (int k : {8, 10, 11}) EXPECT_FALSE(toolbar.Buttons(k).Enabled());
    EXPECT_TRUE(toolbar.Buttons(12).Enabled());
}

TEST_F(ToolEngineTest, TheStatusBoxFollowsHoverPressAndRelease) {
    app.tool.SnapOn = 0;
    app.tool.CommandMode = ModeIdle;
    Hover(12.5, 900.25);
    EXPECT_EQ(form.Text1.Text(), "12.5;900.25");
    EXPECT_EQ(app.tool.SnapCandidate.x, 0);
    // A map reduced from survey coordinates shows where the pointer truly is, to the millimetre.
    app.reduction.ReductionOffsetX = 512000;
    app.reduction.ReductionOffsetY = 3456000;
    Hover(106.125, 789.5);
    EXPECT_EQ(form.Text1.Text(), "512106.125;3456789.5");
    // Snapped to a vertex there, the box shows the same point.
    app.store.LayerOnFlag[1] = -1;
    Put(1, 0, {106.125, 789.5});
    SetSnapping(app, true);
    Hover(106.2, 789.4);
    ASSERT_EQ(app.tool.SnapVertex, (SnapVertexRef{1, 0, 1}));
    EXPECT_EQ(form.Text1.Text(), "512106.125;3456789.5");
    SetSnapping(app, false);
    app.reduction.ReductionOffsetX = app.reduction.ReductionOffsetY = 0;
    app.tool.CommandMode = ModePan;  // the pan leaves the box to the drag
    form.Text1.SetText("");
    Hover(13, 900);
    EXPECT_EQ(form.Text1.Text(), "");
}

TEST_F(ToolEngineTest, TheIdleClickResumesAPausedStationPick) {
    app.tool.CommandMode = ModeIdle;
    app.tool.PreviousMode = ModePickStation;
    Click(10, 900);
    EXPECT_EQ(app.tool.CommandMode, ModePickStation);
    EXPECT_EQ(Lamp(), Yellow);
}

}  // namespace
}  // namespace movra
