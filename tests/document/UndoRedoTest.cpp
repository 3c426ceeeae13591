// Undo and redo through the journal's recorders, as the commands drive them.
#include <cmath>
#include <random>

#include "document/SlotEditing.h"
#include "document/UndoRedo.h"
#include "document/UndoTestFixture.h"
#include "document/RecordTransforms.h"

namespace movra {
namespace {

using UndoRedoTest = UndoFixture;

TEST_F(UndoRedoTest, UndoRightAfterOpeningChangesNothingAndDisablesTheButton) {
    Add(1, 2, 0, 0, 10, 10);
    Add(3, 2, 5, 5, 6, 6);
    Open();
    EXPECT_EQ(app.undo.UndoCurrentStep, 2);  // one base step per layer with records, one group
    EXPECT_EQ(app.undo.UndoStepView[1], 1);
    EXPECT_EQ(app.undo.UndoStepView[2], 1);
    const auto before = State();
    Undo(app);
    EXPECT_EQ(State(), before);
    EXPECT_FALSE(Button(6));
    EXPECT_EQ(app.undo.UndoLastStep, 2);
}

// A map opened empty, or a new one, has no base group: the first drawing on it is a group like
// any other, taken back by undo (which then has nothing left) and brought back by redo.
TEST_F(UndoRedoTest, TheFirstDrawingOnAnEmptyOrNewMapIsUndone) {
    for (const bool opened : {true, false}) {
        SCOPED_TRACE(opened ? "opened empty" : "new map");
        if (opened) Open();
        else ResetUndo(app);
        Draw(1, 2, 0, 0, 1, 1);
        EXPECT_TRUE(Button(6));
        Undo(app);
        EXPECT_EQ(app.store.Count(1), 0);
        EXPECT_FALSE(Button(6));
        EXPECT_TRUE(Button(7));
        Undo(app);  // nothing left to take back
        EXPECT_EQ(app.store.Count(1), 0);
        Redo(app);
        EXPECT_EQ(app.store.Count(1), 1);
        EXPECT_EQ(R(1, 0).RecordX2, 1);
        EXPECT_TRUE(Button(6));
        EXPECT_FALSE(Button(7));
        app.store.ClearFrom(1, 0);
        app.store.Count(1) = 0;
    }
}

TEST_F(UndoRedoTest, CheckpointRecordsEveryGrownLayerInOneGroupAndMarksTheMapModified) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    Add(3, 2, 0, 0, 1, 1);
    Add(1, 2, 0, 0, 1, 1);
    app.view.DisplayZoom = 3;
    UndoCheckpoint(app, 1);
    const auto& j = app.undo;
    ASSERT_EQ(j.UndoCurrentStep, 3);
    EXPECT_EQ(j.UndoStepLayer[2], 1);
    EXPECT_EQ(j.UndoStepLayer[3], 3);
    EXPECT_EQ(j.UndoStepView[2], 2);
    EXPECT_EQ(j.UndoStepView[3], 2);
    EXPECT_EQ(j.UndoStepKind[2], UndoKindAppend);
    EXPECT_EQ(j.UndoStepSlot[2], 1);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_TRUE(Button(6));
    ASSERT_NE(FindUndoViewRecord(app, 2), nullptr);
    EXPECT_EQ(FindUndoViewRecord(app, 2)->RecordZ2, 3);
    EXPECT_EQ(FindUndoViewRecord(app, 1)->RecordZ2, 0.5);
    // Nothing appended: no step, but the button is enabled all the same.
    toolbar.Buttons(6).SetEnabled(false);
    UndoCheckpoint(app, 1);
    EXPECT_EQ(j.UndoCurrentStep, 3);
    EXPECT_TRUE(Button(6));
}

TEST_F(UndoRedoTest, UndoEndsEachLayerAtItsOwnPreviousEndAndRedoBringsTheRecordsBack) {
    Add(1, 2, 0, 0, 1, 1);
    Add(3, 2, 0, 0, 1, 1);
    Open();
    Draw(1, 2, 2, 2, 3, 3);
    app.view.DisplayZoom = 7;
    t.form1.Picture1.SetScale(10, 20, 30, -40);
    const int line = Draw(2, 42, 4, 4, 5, 5);  // the group before concerns layer 1 only
    const auto drawn = State();
    Undo(app);
    EXPECT_EQ(app.store.Count(2), 0);
    EXPECT_EQ(R(2, line), MapRecord{});  // taken back, not left behind in the slot
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(app.undo.UndoLayerMark[2], -1);
    EXPECT_TRUE(Button(7));
    // The view recorded with the group before.
    EXPECT_EQ(t.form1.Picture1.ScaleLeft(), 0);
    EXPECT_EQ(app.view.DisplayZoom, 2);
    Undo(app);
    EXPECT_EQ(app.store.Count(1), 1);
    EXPECT_EQ(app.view.DisplayZoom, 0.5);  // the opening view
    EXPECT_FALSE(Button(6));
    Redo(app);
    Redo(app);
    EXPECT_EQ(State(), drawn);
    EXPECT_FALSE(Button(7));
    EXPECT_TRUE(Button(6));
    Redo(app);  // nothing left: only button 7 is switched
    EXPECT_EQ(State(), drawn);
    EXPECT_FALSE(Button(7));
}

TEST_F(UndoRedoTest, ARecordDrawnAfterAnUndoDropsTheUndoneGroups) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    Draw(1, 2, 2, 2, 3, 3);
    Draw(1, 2, 4, 4, 5, 5);
    Undo(app);
    Undo(app);
    const int slot = Draw(1, 4, 9, 9, 8, 8);
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(app.undo.UndoCurrentStep, 2);
    EXPECT_EQ(R(1, 1).RecordType, 4);
    Redo(app);
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(R(1, 1).RecordType, 4);
    Undo(app);
    EXPECT_EQ(app.store.Count(1), 1);
}

TEST_F(UndoRedoTest, RedoDoesNotOverwriteRecordsAppendedOutsideTheJournal) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    Draw(1, 2, 2, 2, 3, 3);
    Undo(app);
    app.tool.CommandMode = ModeJournalHold;  // a paste while the journal holds records nothing
    Add(1, 15, 7, 7);
    UndoCheckpoint(app, 1);
    Redo(app);
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(R(1, 1).RecordType, 15);
    EXPECT_FALSE(Button(7));
}

TEST_F(UndoRedoTest, DeletingThreeRecordsOfWhichOneIsDeletedIsOneGroupThatOneUndoRestores) {
    for (int k = 0; k < 4; ++k) Add(1, 2, k, k, k + 1, k + 1);
    Open();
    app.store.At(1, 2).RecordType = 102;
    Select({{1, 1}, {1, 2}, {1, 3}});
    DeleteSelectionWithUndo(app);
    const auto& j = app.undo;
    ASSERT_EQ(j.UndoCurrentStep, 3);
    EXPECT_EQ(j.UndoStepKind[2], UndoKindDelete);
    EXPECT_EQ(j.UndoStepKind[3], UndoKindDelete);
    EXPECT_EQ(j.UndoStepView[2], j.UndoStepView[3]);
    EXPECT_EQ(j.UndoViewRecords.size(), 2u);  // the base and the deletion
    EXPECT_EQ(app.selection.SelectionList.size(), 1u);
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 0);
    EXPECT_EQ(R(1, 1).RecordType, 102);
    EXPECT_EQ(R(1, 3).RecordType, 102);
    EXPECT_TRUE(Button(6));
    Undo(app);
    EXPECT_EQ(R(1, 1).RecordType, 2);
    EXPECT_EQ(R(1, 2).RecordType, 102);  // was deleted before: stays as it was
    EXPECT_EQ(R(1, 3).RecordType, 2);
    EXPECT_EQ(j.UndoLastStep, 1);
    Redo(app);
    EXPECT_EQ(R(1, 1).RecordType, 102);
    EXPECT_EQ(R(1, 3).RecordType, 102);
    EXPECT_EQ(R(1, 0).RecordType, 2);
}

TEST_F(UndoRedoTest, DeletingWithNothingSelectedRecordsNothing) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    Select({});
    DeleteSelectionWithUndo(app);
    EXPECT_EQ(t.form1.Text2.Text(), "目标尚未选择");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.undo.UndoCurrentStep, 1);
}

// The move tool: phase 0 at the first click, the move and phase 1 at the second.
void MoveSelection(App& app, double fromX, double fromY, double toX, double toY) {
    app.tool.CommandMode = ModeMoveSelection;
    UndoStepSelection(app, 0, fromX, fromY);
    平移后(app, toX, toY, 0, 0, 0);
    UndoStepSelection(app, 1, toX, toY);
    app.tool.CommandMode = ModeIdle;
}

// The rotation tool: the first click is the first direction, the second click the second.
void RotateSelection(App& app, double ax, double ay, double bx, double by) {
    app.tool.CommandMode = ModeRotateSelection;
    app.tool.StepParamA = ax;
    app.tool.StepParamB = ay;
    UndoStepSelection(app, 0, ax, ay);
    UndoStepSelection(app, 1, bx, by);
    旋转后(app, ax, ay, bx, by, 1);
    app.tool.CommandMode = ModeIdle;
}

TEST_F(UndoRedoTest, AMoveOfTwoRecordsIsUndoneAndRedoneRecordByRecordWithItsView) {
    Add(1, 2, 0, 0, 10, 0);
    Add(1, 15, 20, 5);
    Open();
    Select({{1, 0}, {1, 1}});
    app.view.DisplayZoom = 4;
    t.form1.Picture1.SetScale(-5, 50, 100, -60);
    MoveSelection(app, 1, 1, 100, 200);
    EXPECT_EQ(R(1, 0).RecordX1, 100);
    EXPECT_EQ(R(1, 0).RecordY1, 200);
    EXPECT_EQ(R(1, 1).RecordX1, 120);
    const auto& j = app.undo;
    ASSERT_EQ(j.UndoCurrentStep, 3);
    EXPECT_NE(j.UndoStepView[2], j.UndoStepView[3]);  // two groups
    EXPECT_EQ(FindUndoViewRecord(app, j.UndoStepView[2])->RecordZ3, 100);  // both carry the whole set
    EXPECT_EQ(FindUndoViewRecord(app, j.UndoStepView[3])->RecordX3, 0);

    app.view.DisplayZoom = 9;
    t.form1.Picture1.SetScale(0, 0, 1, 1);
    Undo(app);  // the second record first
    EXPECT_EQ(R(1, 1).RecordX1, 20);
    EXPECT_EQ(R(1, 0).RecordX1, 100);
    EXPECT_EQ(app.view.DisplayZoom, 4);
    EXPECT_EQ(t.form1.Picture1.ScaleLeft(), -5);
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 2);
    Undo(app);
    EXPECT_EQ(R(1, 0).RecordX1, 0);
    EXPECT_EQ(R(1, 0).RecordX2, 10);
    EXPECT_FALSE(Button(6));
    Redo(app);  // the first record first
    EXPECT_EQ(R(1, 0).RecordX1, 100);
    EXPECT_EQ(R(1, 1).RecordX1, 20);
    Redo(app);
    EXPECT_EQ(R(1, 1).RecordX1, 120);
    EXPECT_EQ(R(1, 1).RecordY1, 205);
}

TEST_F(UndoRedoTest, ASquareTurnedAboutItsFirstVertexComesBackWithTwoUndos) {
    Add(1, 6, 10, 10, 20, 10, 20, 20, 10, 20);
    Add(1, 2, 30, 10, 40, 10);
    Open();
    const auto before = State();
    Select({{1, 0}, {1, 1}});
    RotateSelection(app, 20, 10, 10, 0);  // east to south: a quarter turn clockwise
    EXPECT_NEAR(R(1, 0).RecordX3, 20, 1e-9);
    EXPECT_NEAR(R(1, 0).RecordY3, 0, 1e-9);
    const auto turned = State();
    Undo(app);
    Undo(app);
    const auto after = State();
    for (int k = 0; k < 2; ++k) {
        const MapRecord& a = after[0][static_cast<size_t>(k)];
        const MapRecord& b = before[0][static_cast<size_t>(k)];
        EXPECT_NEAR(a.RecordX1, b.RecordX1, 1e-9);
        EXPECT_NEAR(a.RecordY2, b.RecordY2, 1e-9);
        EXPECT_NEAR(a.RecordX3, b.RecordX3, 1e-9);
        EXPECT_NEAR(a.RecordY4, b.RecordY4, 1e-9);
    }
    Redo(app);
    Redo(app);
    EXPECT_NEAR(R(1, 0).RecordX3, turned[0][0].RecordX3, 1e-9);
    EXPECT_NEAR(R(1, 1).RecordY2, turned[0][1].RecordY2, 1e-9);
}

TEST_F(UndoRedoTest, ALoneTextTurnedGetsItsFormerAngleAndKindBack) {
    Add(1, 64, 0, 0, 0, 0);
    app.store.At(1, 0).RecordZ2 = 33;
    Add(1, 2, 5, 5, 6, 6);
    Open();
    Select({{1, 0}});
    RotateSelection(app, 0, 10, 10, 10);  // towards an azimuth of 45°
    EXPECT_EQ(R(1, 0).RecordType, 66);
    EXPECT_EQ(R(1, 0).RecordZ2, 45);
    Undo(app);
    Undo(app);
    EXPECT_EQ(R(1, 0).RecordType, 64);
    EXPECT_EQ(R(1, 0).RecordZ2, 33);
    Redo(app);
    Redo(app);
    EXPECT_EQ(R(1, 0).RecordType, 66);
    EXPECT_EQ(R(1, 0).RecordZ2, 45);

    // Turned with another record, a text keeps its angle, in the replay too.
    Select({{1, 0}, {1, 1}});
    RotateSelection(app, 0, 10, 10, 0);
    EXPECT_EQ(R(1, 0).RecordZ2, 45);
    Undo(app);
    Undo(app);
    Redo(app);
    Redo(app);
    EXPECT_EQ(R(1, 0).RecordZ2, 45);
    EXPECT_EQ(R(1, 0).RecordType, 66);
}

TEST_F(UndoRedoTest, AMirrorIsTakenBackByMirroringAgain) {
    Add(1, 2, 1, 1, 5, 3);
    Add(1, 2, 7, 2, 9, 9);
    Open();
    const auto before = State();
    Select({{1, 0}, {1, 1}});
    app.tool.CommandMode = ModeFlipLeftRight;
    X镜像(app, 0, 0, 0);
    UndoStepSelection(app, 0, 0, 0);
    UndoStepSelection(app, 1, 0, 0);
    EXPECT_EQ(R(1, 1).RecordX1, -5);
    EXPECT_EQ(app.undo.UndoStepKind[2], UndoKindFlipLeftRight);
    Undo(app);
    Undo(app);
    EXPECT_EQ(State(), before);
}

TEST_F(UndoRedoTest, TransformsWithNothingSelectedAreRefused) {
    Open();
    Select({});
    app.tool.CommandMode = ModeMoveSelection;
    UndoStepSelection(app, 0, 1, 1);
    EXPECT_EQ(t.platform.promptScript.LastText(), "目标尚未选择");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.undo.UndoCurrentStep, 0);
}

TEST_F(UndoRedoTest, AVertexDragAndACutAreTakenBackVertexByVertex) {
    Add(1, 4, 0, 0, 1, 1);
    app.store.At(1, 0).RecordX3 = 2;
    app.store.At(1, 0).RecordY3 = 2;
    Open();
    app.tool.CommandMode = ModeMoveVertex;
    app.geometry.ScratchXY[0] = 2;
    app.geometry.ScratchXY[1] = 2;
    app.store.At(1, 0).RecordX3 = 8;
    app.store.At(1, 0).RecordY3 = 9;
    UndoStepTool(app, 8, 9, 1, 0, 3);
    Undo(app);
    EXPECT_EQ(R(1, 0).RecordX3, 2);
    EXPECT_EQ(R(1, 0).RecordY3, 2);
    Redo(app);
    EXPECT_EQ(R(1, 0).RecordX3, 8);

    // A cut that moved three vertices: three groups, the last vertex moved comes back first.
    for (int v : {1, 2, 4}) {
        UndoStepCut(app, 1, 0, static_cast<std::uint8_t>(v), 50 + v, 60 + v);
        if (v == 1) app.store.At(1, 0).RecordX1 = 51;
        if (v == 2) app.store.At(1, 0).RecordX2 = 52;
        if (v == 4) app.store.At(1, 0).RecordX4 = 54;
    }
    Undo(app);
    EXPECT_EQ(R(1, 0).RecordX4, 0);
    EXPECT_EQ(R(1, 0).RecordX2, 52);
    Undo(app);
    Undo(app);
    EXPECT_EQ(R(1, 0).RecordX1, 0);
    EXPECT_EQ(R(1, 0).RecordX2, 1);
    Redo(app);
    EXPECT_EQ(R(1, 0).RecordX1, 51);
    EXPECT_EQ(R(1, 0).RecordY1, 61);
}

// The vertex insertion tool: snapshots before and after, then the journal holds.
void InsertVertexCommand(App& app, double x, double y, int layer, int slot, int v) {
    UndoStepSnapshot(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), -1);
    InsertVertex(app, x, y, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot),
                 static_cast<std::uint8_t>(v));
    UndoStepSnapshot(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), 0);
    app.tool.CommandMode = ModeJournalHold;
}

TEST_F(UndoRedoTest, TwelveSnapshotGroupsStillUndoAndRedoCorrectly) {
    Add(1, 44, 0, 0, 1, 0, 2, 0, 3, 0);
    Add(1, 15, 9, 9);
    Open();
    std::vector<std::vector<std::vector<MapRecord>>> states{State()};
    for (int k = 0; k < 12; ++k) {
        InsertVertexCommand(app, 10 + k, k, 1, 0, 1 + k % 4);
        states.push_back(State());
    }
    EXPECT_EQ(app.undo.UndoCurrentStep, 1 + 24);
    EXPECT_EQ(FindUndoViewRecord(app, app.undo.UndoStepView[20])->RecordText, "9t");
    EXPECT_EQ(FindUndoViewRecord(app, app.undo.UndoStepView[22])->RecordText, "0t");
    EXPECT_EQ(app.undo.SnapshotCounter, 2);
    // One undo takes a command back and one redo repeats it: its two snapshots are one step.
    for (int k = 12; k >= 1; --k) {
        Undo(app);
        EXPECT_EQ(State(), states[static_cast<size_t>(k - 1)]);
        EXPECT_EQ(app.tool.CommandMode, ModeJournalHold);
    }
    for (int k = 1; k <= 12; ++k) {
        Redo(app);
        EXPECT_EQ(State(), states[static_cast<size_t>(k)]);
    }
}

TEST_F(UndoRedoTest, RecordsAppendedAfterASnapshotCommandAreUndoneOnTheirOwn) {
    Add(1, 44, 0, 0, 1, 0, 2, 0, 3, 0);
    Open();
    InsertVertexCommand(app, 5, 5, 1, 0, 2);  // splits: the layer grows by one
    const auto inserted = State();
    app.tool.CommandMode = 17;
    Draw(1, 2, 7, 7, 8, 8);
    Undo(app);
    EXPECT_EQ(State(), inserted);
}

TEST_F(UndoRedoTest, TheStepCapTrimsTheOldestGroups) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    app.undo.UndoStepCap = 20;
    for (int k = 0; k < 30; ++k) Draw(1, 2, k, k, k, k);
    const auto& j = app.undo;
    EXPECT_LE(j.UndoCurrentStep, 20);
    EXPECT_LE(static_cast<int>(j.UndoViewRecords.size()), 22);
    const int kept = j.UndoCurrentStep;
    for (int k = 0; k < kept + 3; ++k) Undo(app);
    EXPECT_EQ(app.store.Count(1), 31 - kept);
    EXPECT_FALSE(Button(6));
    for (int k = 0; k < kept; ++k) Redo(app);
    EXPECT_EQ(app.store.Count(1), 31);
    EXPECT_EQ(R(1, 30).RecordX1, 29);
}

TEST_F(UndoRedoTest, DeleteBySourceTagRemovesRunsAndKeepsTheJournalOnItsRecords) {
    for (int k = 0; k < 20; ++k) {
        Add(1, 2, k, 0, k, 1);
        app.store.At(1, k).RecordSource = (k >= 5 && k <= 9) || k == 0 ? 3 : 1;
    }
    Open();
    Select({{1, 15}});
    DeleteSelectionWithUndo(app);
    DeleteBySourceTag(app, 7);  // nobody's tag
    EXPECT_EQ(app.store.Count(1), 20);
    DeleteBySourceTag(app, 3);
    EXPECT_EQ(app.store.Count(1), 14);  // slot 0 too
    EXPECT_EQ(R(1, 0).RecordX1, 1);
    EXPECT_EQ(R(1, 4).RecordX1, 10);
    EXPECT_EQ(R(1, 9).RecordType, 102);  // the deleted record, now in slot 9
    EXPECT_EQ(R(1, 14), MapRecord{});
    Undo(app);
    EXPECT_EQ(R(1, 9).RecordType, 2);
    EXPECT_EQ(R(1, 9).RecordX1, 15);

    // A step whose record was removed: the journal starts anew instead of naming another record.
    Redo(app);
    app.store.At(1, 9).RecordSource = 4;
    DeleteBySourceTag(app, 4);
    EXPECT_EQ(app.undo.UndoCurrentStep, 0);
    const auto now = State();
    Undo(app);
    EXPECT_EQ(State(), now);
    Draw(1, 2, 1, 1, 2, 2);  // what follows is undone as usual
    Undo(app);
    EXPECT_EQ(State(), now);
}

TEST_F(UndoRedoTest, OpenedSlotsShiftTheStepsAboveThemUnlessASnapshotHoldsTheOldLayout) {
    for (int k = 0; k < 8; ++k) Add(1, 2, k, 0, k, 1);
    Open();
    Select({{1, 6}});
    DeleteSelectionWithUndo(app);
    Draw(1, 2, 50, 0, 50, 1);  // slot 8
    InsertSlots(app, 1, 2, 3);
    EXPECT_EQ(app.undo.UndoStepSlot[2], 9);
    Undo(app);  // the drawn line, now in slot 11
    EXPECT_EQ(app.store.Count(1), 11);
    Undo(app);
    EXPECT_EQ(R(1, 9).RecordType, 2);
    EXPECT_EQ(R(1, 9).RecordX1, 6);

    // A snapshot of the layer from an earlier command: the journal starts anew.
    Redo(app);
    Redo(app);
    UndoStepSnapshot(app, 1, 0, -1);
    UndoStepSnapshot(app, 1, 0, 0);
    InsertSlots(app, 1, 0, 1);
    EXPECT_EQ(app.undo.UndoCurrentStep, 0);
    EXPECT_EQ(app.store.Count(1), 13);
    Undo(app);
    EXPECT_EQ(app.store.Count(1), 13);
}

// A pass that lays a layer out anew in one go must leave the journal as the slot-by-slot inserts
// and deletes that make the same layout would: random layouts, both ways, the journals compared.
TEST_F(UndoRedoTest, ALayerLaidOutAnewMovesTheJournalAsItsInsertsAndDeletesWould) {
    std::mt19937 rng(64);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int followed = 0, restarted = 0;
    for (int round = 0; round < 40; ++round) {
        ResetUndo(app);
        for (int layer = 1; layer <= 3; ++layer) {
            app.store.ClearFrom(layer, 0);
            app.store.Count(layer) = 0;
        }
        for (int k = 0; k < 10; ++k) Add(1, 2, k, 0, k, 1);
        Open();
        Draw(1, 2, 20, 0, 20, 1);
        Select({{1, pick(0, 10)}, {1, pick(0, 10)}});
        DeleteSelectionWithUndo(app);
        Draw(1, 2, 21, 0, 21, 1);
        Draw(2, 2, 0, 0, 1, 1);
        const UndoJournal journal = app.undo;
        const int oldCount = app.store.Count(1);

        // Slot by slot: after each record of the store from `from` on, nothing, an opened slot or
        // two, or the record taken out and three records put behind the layer.
        const int from = pick(0, 4);
        std::vector<std::int32_t> newStart;
        int at = from;
        for (int v = from; v < oldCount; ++v) {
            newStart.push_back(at);
            const int choice = pick(0, 5);
            if (choice <= 1) {
                const int n = pick(1, 2);
                InsertSlots(app, 1, static_cast<std::int16_t>(at + 1), static_cast<std::int16_t>(n));
                at += n + 1;
            } else if (choice == 2) {
                DeleteSlots(app, 1, static_cast<std::int16_t>(at), 1);
                InsertSlots(app, 1, static_cast<std::int16_t>(app.store.Count(1)), 3);
            } else {
                ++at;
            }
        }
        newStart.push_back(at);
        const UndoJournal stepByStep = app.undo;
        const int newCount = app.store.Count(1);
        std::vector<MapRecord> layout;
        for (int slot = from; slot < newCount; ++slot) layout.push_back(R(1, slot));

        app.undo = journal;
        app.store.Count(1) = oldCount;
        ReplaceLayerFrom(app, 1, from, layout, newStart);
        ASSERT_EQ(app.store.Count(1), newCount);
        EXPECT_EQ(app.undo.UndoCurrentStep, stepByStep.UndoCurrentStep) << "round " << round;
        if (stepByStep.UndoCurrentStep == 0) {
            ++restarted;
            continue;
        }
        ++followed;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(stepByStep.UndoCurrentStep); ++k) {
            EXPECT_EQ(app.undo.UndoStepSlot[k], stepByStep.UndoStepSlot[k]) << "round " << round << " step " << k;
            EXPECT_EQ(app.undo.UndoStepExtra[k].PreviousEnd, stepByStep.UndoStepExtra[k].PreviousEnd)
                << "round " << round << " step " << k;
        }
        EXPECT_EQ(app.undo.UndoLayerMark, stepByStep.UndoLayerMark) << "round " << round;
    }
    EXPECT_GT(followed, 5);
    EXPECT_GT(restarted, 2);
}

TEST_F(UndoRedoTest, NothingHappensWhileASelfMadeSymbolIsDrawn) {
    Add(1, 2, 0, 0, 1, 1);
    Open();
    Draw(1, 2, 1, 1, 2, 2);
    app.tool.SymbolMakingMode = -1;
    Undo(app);
    EXPECT_EQ(app.store.Count(1), 2);
}

}  // namespace
}  // namespace movra
