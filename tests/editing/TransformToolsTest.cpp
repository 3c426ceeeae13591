// The move and rotate tools driven by canvas events, their previews and the restyling of the
// selection.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "basic/Numbers.h"
#include "document/RecordTransforms.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "editing/SelectionPreviews.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;

class TransformToolsTest : public CanvasTest {
protected:
    TransformToolsTest() {
        app.store.LayerCount = 2;
        app.store.DimensionKeep(2);
        for (int layer : {1, 2}) app.store.LayerOnFlag[layer] = -1;
        app.store.CurrentLayer = 1;
        app.tool.SnapOn = 0;
    }
    void Select(std::vector<std::pair<int, int>> records) {
        auto& list = app.selection.SelectionList;
        list.assign(records.size() + 2, SelectedRecord{});
        list[0].Layer = static_cast<std::int32_t>(records.size()) + 1;
        for (std::size_t k = 0; k < records.size(); ++k) list[k + 1] = {records[k].first, records[k].second};
    }
    void Arm(std::uint8_t mode) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
    }
    // Every record of layers 1 and 2, slots 0..9.
    std::vector<MapRecord> State() {
        std::vector<MapRecord> all;
        for (int layer : {1, 2})
            for (int slot = 0; slot < 10; ++slot) all.push_back(app.store.Get(layer, slot));
        return all;
    }
    // The store as the journal starts from: nothing to take back yet.
    void Ready() { RestartUndo(app); }
    // Whether the records equal a state taken before; the first difference is named.
    // Coordinates may differ by `tolerance` (a rotation and its inverse round), all else exactly.
    ::testing::AssertionResult Same(const std::vector<MapRecord>& want, double tolerance = 0) {
        const std::vector<MapRecord> got = State();
        for (std::size_t k = 0; k < want.size(); ++k) {
            MapRecord g = got[k];
            const MapRecord& w = want[k];
            double* gc[] = {&g.RecordX1, &g.RecordY1, &g.RecordX2, &g.RecordY2,
                            &g.RecordX3, &g.RecordY3, &g.RecordX4, &g.RecordY4};
            const double wc[] = {w.RecordX1, w.RecordY1, w.RecordX2, w.RecordY2,
                                 w.RecordX3, w.RecordY3, w.RecordX4, w.RecordY4};
            for (int c = 0; c < 8; ++c)
                if (std::fabs(*gc[c] - wc[c]) <= tolerance) *gc[c] = wc[c];
            if (g == w) continue;
            g = got[k];
            return ::testing::AssertionFailure()
                   << "layer " << 1 + k / 10 << " slot " << k % 10 << " differs: type " << int(g.RecordType) << " P1 ("
                   << g.RecordX1 << ", " << g.RecordY1 << ") P2 (" << g.RecordX2 << ", " << g.RecordY2 << ") Z2 "
                   << g.RecordZ2 << "; wanted type " << int(want[k].RecordType) << " P1 (" << want[k].RecordX1 << ", "
                   << want[k].RecordY1 << ") P2 (" << want[k].RecordX2 << ", " << want[k].RecordY2 << ") Z2 "
                   << want[k].RecordZ2;
        }
        return ::testing::AssertionSuccess();
    }
    // The toolbar's undo and redo: the journal's step, the selection emptied, the map redrawn.
    void ToolbarClick(const char* key) { toolbar.UserClickButton(toolbar.Buttons(key).Index()); }
    int LinesDrawn() { return static_cast<int>(Surface().PrimitivesOf(Kind::Line).size()); }
};

TEST_F(TransformToolsTest, AMoveOfTwoRecordsIsJournalledAndUndoneInTwoSteps) {
    Put(1, 0, {10, 20, 30, 40}).RecordColor = 255;
    Put(2, 3, {100, 100, 110, 90, 120, 100}, 3).RecordPen = 9;
    Put(1, 5, {211, 320}, 1);  // a vertex beside the second click, which snapping finds
    Select({{1, 0}, {2, 3}});
    Ready();
    const std::vector<MapRecord> before = State();
    Arm(ModeMoveSelection);
    Click(500, 500);  // anywhere: the offset is taken from the first record's P1
    EXPECT_EQ(app.tool.ClickCount, 1);
    EXPECT_EQ(app.tool.CommandMode, ModeMoveSelection);
    app.tool.SnapOn = -1;
    Hover(210.125, 319.0625);
    Click(210.125, 319.0625);
    EXPECT_EQ(app.tool.ReleasePoint.x, 211) << "the release was snapped";
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.tool.ClickCount, 0);
    const MapRecord& a = app.store.Get(1, 0);
    const MapRecord& b = app.store.Get(2, 3);
    EXPECT_EQ(a.RecordX1, 210.125);
    EXPECT_EQ(a.RecordY1, 319.0625);
    EXPECT_DOUBLE_EQ(a.RecordX2, 230.125);
    EXPECT_DOUBLE_EQ(b.RecordX3, 320.125);
    EXPECT_DOUBLE_EQ(b.RecordY3, 399.0625);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Two steps of kind 205, the first record's and the other's, with the old P1 and the target.
    const UndoJournal& j = app.undo;
    ASSERT_GE(j.UndoCurrentStep, 2);
    const int first = j.UndoCurrentStep - 1, second = j.UndoCurrentStep;
    EXPECT_EQ(j.UndoStepKind[first], UndoKindMove);
    EXPECT_EQ(j.UndoStepKind[second], UndoKindMove);
    EXPECT_EQ(j.UndoStepLayer[first], 1);
    EXPECT_EQ(j.UndoStepSlot[second], 3);
    const UndoViewRecord& v = j.UndoViewRecords.at(j.UndoStepView[second]);
    EXPECT_EQ(v.RecordX3, 10);
    EXPECT_EQ(v.RecordY3, 20);
    EXPECT_EQ(v.RecordZ3, 210.125);
    EXPECT_EQ(v.RecordZ4, 319.0625);

    const std::vector<MapRecord> after = State();
    ToolbarClick("撤消");
    EXPECT_TRUE(app.store.Get(1, 0) == after[0]) << "the first undo takes back the others only";
    EXPECT_TRUE(app.store.Get(2, 3) == before[13]);
    ToolbarClick("撤消");
    EXPECT_TRUE(Same(before));
    ToolbarClick("反撤");
    ToolbarClick("反撤");
    EXPECT_TRUE(Same(after));
}

TEST_F(TransformToolsTest, APastedCopyIsMovedThenUndoTakesBackTheMoveBeforeThePaste) {
    Put(1, 0, {10, 20, 30, 40});
    Put(1, 1, {50, 50, 60, 60, 70, 50}, 3);
    Select({{1, 0}, {1, 1}});
    Ready();
    const std::vector<MapRecord> before = State();
    Key('C', CtrlMask);
    Key('V', CtrlMask);
    ASSERT_EQ(app.tool.CommandMode, ModeMoveSelection);
    ASSERT_EQ(app.store.Count(1), 4);
    const std::vector<MapRecord> pasted = State();
    app.tool.ClickCount = 0;
    Click(10, 20);
    Click(300, 400);
    EXPECT_EQ(app.store.Get(1, 2).RecordX1, 300);
    EXPECT_EQ(app.store.Get(1, 3).RecordX1, 340);
    ToolbarClick("撤消");
    ToolbarClick("撤消");
    EXPECT_TRUE(Same(pasted));
    ToolbarClick("撤消");
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_TRUE(Same(before));
}

TEST_F(TransformToolsTest, TheRotationTurnsAboutTheFirstVertexFromTheSnappedPressToTheRawRelease) {
    // A square with its P1 at (100, 100); a click north of it and a release east turn it a
    // quarter clockwise.
    Put(1, 0, {100, 100, 100, 110, 110, 110, 110, 100}, 6);
    Put(2, 0, {100, 250}, 1);  // a point due north of the pivot
    Select({{1, 0}});
    Ready();
    const std::vector<MapRecord> before = State();
    Arm(ModeRotateSelection);
    Click(100, 300);
    EXPECT_EQ(app.tool.StepParamA, 100);
    EXPECT_EQ(app.tool.StepParamB, 300);
    Click(400, 100);
    const MapRecord& r = app.store.Get(1, 0);
    const double want[8] = {100, 100, 110, 100, 110, 90, 100, 90};
    const double got[8] = {r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4};
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << k;
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);

    ToolbarClick("撤消");
    EXPECT_TRUE(Same(before, 1e-9));

    // The first direction point is the snapped press: a press beside a vertex takes the vertex.
    Select({{1, 0}});
    Arm(ModeRotateSelection);
    app.tool.SnapOn = -1;
    Hover(101, 251);
    Press(101, 251);
    Release(101, 251);
    EXPECT_EQ(app.tool.StepParamA, 100);
    EXPECT_EQ(app.tool.StepParamB, 250);
    app.tool.SnapOn = 0;
    Click(400, 100);
    EXPECT_NEAR(app.store.Get(1, 0).RecordX2, 110, 1e-9);
    EXPECT_NEAR(app.store.Get(1, 0).RecordY2, 100, 1e-9);
}

TEST_F(TransformToolsTest, ALoneTextPointsAtTheReleaseAndUndoBringsBackItsAngleAndType) {
    MapRecord& text = Put(1, 0, {50, 50}, 65);
    text.RecordZ2 = 12;
    text.RecordText = "路";
    Put(1, 1, {60, 50, 70, 55}, 2);
    Select({{1, 0}});
    Ready();
    const std::vector<MapRecord> before = State();
    Arm(ModeRotateSelection);
    Click(50, 80);
    Click(80, 20);  // azimuth from P1 about 153.4°
    const MapRecord& r = app.store.Get(1, 0);
    const double azimuth = std::atan2(30.0, -30.0) * 180 / std::numbers::pi;
    EXPECT_EQ(r.RecordZ2, static_cast<float>(90 - std::floor(azimuth)));
    EXPECT_EQ(r.RecordType, 66);
    EXPECT_EQ(r.RecordX1, 50);
    ToolbarClick("撤消");
    EXPECT_TRUE(Same(before));

    // Two clicks on one direction turn nothing.
    Select({{1, 1}});
    const std::vector<MapRecord> still = State();
    Arm(ModeRotateSelection);
    Click(60, 90);
    Click(60, 150);
    EXPECT_TRUE(Same(still));
}

TEST_F(TransformToolsTest, NothingSelectedRefusesAndAPausedFirstClickLeavesNothingToTakeBack) {
    for (std::uint8_t mode : {ModeMoveSelection, ModeRotateSelection}) {
        app.selection.SelectionList.assign(1, SelectedRecord{});
        Arm(mode);
        form.Text2.SetText("");
        Click(10, 10);
        EXPECT_EQ(form.Text2.Text(), "目标尚未选择") << int(mode);
        EXPECT_EQ(app.tool.CommandMode, ModeIdle);
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
    EXPECT_TRUE(t.platform.promptScript.questions.empty()) << "the tools refuse before the journal would ask";

    for (std::uint8_t mode : {ModeMoveSelection, ModeRotateSelection}) {
        Put(1, 0, {10, 20, 30, 40});
        Put(1, 1, {5, 5, 8, 9, 1, 1}, 3);
        Select({{1, 0}, {1, 1}});
        Ready();
        const std::vector<MapRecord> before = State();
        Arm(mode);
        Click(300, 300);
        Click(0, 0, RightButton);  // the tool pauses after one click
        EXPECT_EQ(app.tool.CommandMode, ModeIdle);
        EXPECT_EQ(app.tool.PreviousMode, mode);
        ToolbarClick("撤消");
        EXPECT_TRUE(Same(before)) << int(mode);
    }
}

TEST_F(TransformToolsTest, EveryFifthMoveErasesThePreviewAndDrawsTheNext) {
    Put(1, 0, {10, 20, 30, 40}).RecordColor = 255;
    Put(1, 1, {50, 50, 60, 60, 70, 50}, 3);
    Select({{1, 0}, {1, 1}});
    for (std::uint8_t mode : {ModeMoveSelection, ModeRotateSelection}) {
        Arm(mode);
        Click(10, 20);
        ASSERT_EQ(app.tool.ClickCount, 1);
        Surface().ClearRecords();
        for (int move = 1; move <= 4; ++move) Hover(100 + move, 100);
        EXPECT_EQ(Surface().primitives.size(), 0u) << int(mode);
        EXPECT_EQ(app.tool.RubberShown, -1);
        Hover(200, 300);
        // The first pass draws the selection for the press point, which takes it off the canvas
        // where it lies; then the selection at the cursor.
        const std::vector<SurfacePrimitive> lines = Surface().PrimitivesOf(Kind::Line);
        ASSERT_EQ(lines.size(), 6u) << int(mode);
        EXPECT_EQ(lines[0].x1, 10);
        EXPECT_EQ(lines[0].y1, 20);
        for (const SurfacePrimitive& p : lines) EXPECT_EQ(p.drawMode, DrawModeNotXorPen);
        EXPECT_EQ(app.tool.RubberPoint.x, 200);
        EXPECT_EQ(app.tool.PreviewCounter, 0);
        if (mode == ModeMoveSelection) {
            EXPECT_EQ(lines[3].x1, 200);  // P1 of the first record under the cursor
            EXPECT_EQ(lines[3].y1, 300);
        }
        // The next fifth move erases that picture at the cursor where it was drawn.
        Surface().ClearRecords();
        for (int move = 1; move <= 5; ++move) Hover(250, 250);
        const std::vector<SurfacePrimitive> next = Surface().PrimitivesOf(Kind::Line);
        ASSERT_EQ(next.size(), 6u);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(next[k].x1, lines[3 + k].x1);
            EXPECT_EQ(next[k].y2, lines[3 + k].y2);
        }
        Click(0, 0, RightButton);
    }
}

TEST_F(TransformToolsTest, TheRotationPreviewShowsOneTextAtTheAngleTheRotationStores) {
    MapRecord& text = Put(1, 0, {50, 50}, 64);
    text.RecordText = "河";
    text.RecordX2 = 40;
    text.RecordColor = 255;
    Select({{1, 0}});
    const std::vector<MapRecord> before = State();
    // Due east: 90 - 90 = 0 with the exact conversion; 57 per radian would give 0.6° off.
    for (const CanvasXY cursor : {CanvasXY{90, 50}, CanvasXY{80, 20}, CanvasXY{20, 90}}) {
        Surface().ClearRecords();
        PreviewRotation(app, 50, 90, cursor.x, cursor.y, 1);
        EXPECT_TRUE(Same(before));
        const std::vector<SurfacePrimitive> shown = Surface().PrimitivesOf(Kind::TextOut);
        const int shownAngle = app.display.TextFont.TextLogFont.escapement;
        // The rotation itself, whose highlight draws the turned text where it now stands.
        Surface().ClearRecords();
        旋转后(app, 50, 90, cursor.x, cursor.y, 1);
        const std::vector<SurfacePrimitive> stored = Surface().PrimitivesOf(Kind::TextOut);
        ASSERT_EQ(shown.size(), 1u);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(shown[0].color, 255);
        EXPECT_EQ(shown[0].pixelX, stored[0].pixelX);
        EXPECT_EQ(shown[0].pixelY, stored[0].pixelY);
        EXPECT_EQ(shownAngle, app.display.TextFont.TextLogFont.escapement) << cursor.x;
        EXPECT_EQ(shownAngle, static_cast<int>(app.store.Get(1, 0).RecordZ2 * 10)) << cursor.x;
        app.store.At(1, 0) = before[0];
    }
    // Several records: texts level at their turned anchors, in the background for flag 0.
    Put(1, 1, {50, 60}, 2);
    Select({{1, 1}, {1, 0}});
    app.view.BackgroundColor = MakeRgb(1, 2, 3);
    Surface().ClearRecords();
    PreviewRotation(app, 50, 70, 60, 60, 0);  // a quarter clockwise about (50, 60)
    const std::vector<SurfacePrimitive> texts = Surface().PrimitivesOf(Kind::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(app.display.TextFont.TextLogFont.escapement, 0);
    EXPECT_EQ(texts[0].color, MakeRgb(1, 2, 3));
    EXPECT_NEAR(texts[0].pixelX, Surface().ToPixelX(40), 2);
    EXPECT_NEAR(Surface().ToPixelY(60), texts[0].pixelY, 20);
}

TEST_F(TransformToolsTest, TheRestylingTakesTextsOnlyAndLeavesTheImageHolder) {
    app.current.CurrentColor = MakeRgb(10, 20, 30);
    struct Case {
        std::string font;
        int code;
        int type, height, pen;
        std::string face;
    };
    for (const Case& c : {Case{"", 64, 64, 5, 9, "宋体"}, Case{"", 63, 63, 5, 9, "宋体"}, Case{"", 12, 66, 12, 12, "宋体"},
                          Case{"黑体", 0, 66, 5, 9, "黑体"}, Case{"", 300, 66, 300, 44, "宋体"}}) {
        for (int type = 60; type <= 70; ++type) {
            MapRecord& r = Put(1, type - 60, {1, 2}, type);
            r.RecordX2 = 5;
            r.RecordPen = 9;
            r.RecordFont = "宋体";
        }
        std::vector<std::pair<int, int>> all;
        for (int slot = 0; slot <= 10; ++slot) all.push_back({1, slot});
        Select(all);
        app.current.DashOff = 3;
        ApplyTextStyle(app, c.font, c.code);
        EXPECT_EQ(app.current.DashOff, 0);
        for (int type = 60; type <= 70; ++type) {
            const MapRecord& r = app.store.Get(1, type - 60);
            const bool text = type >= 63 && type <= 68;
            const std::string what = std::to_string(c.code) + " type " + std::to_string(type);
            EXPECT_EQ(r.RecordType, text && (c.code == 63 || c.code == 64) ? c.code : type) << what;
            EXPECT_EQ(r.RecordX2, text ? c.height : 5) << what;
            EXPECT_EQ(r.RecordPen, text ? c.pen : 9) << what;
            EXPECT_EQ(std::string(r.RecordFont), text ? c.face : "宋体") << what;
        }
    }

    // The colour: every record but the image, whose colour field holds its picture holder.
    Put(2, 0, {1, 1}, 70).RecordColor = 7;
    Put(2, 1, {1, 1, 2, 2}, 2).RecordColor = 255;
    Select({{2, 0}, {2, 1}});
    app.current.DashOff = 3;
    app.current.ModifiedFlag = 0;
    ApplyColor(app);
    EXPECT_EQ(app.store.Get(2, 0).RecordColor, 7);
    EXPECT_EQ(app.store.Get(2, 1).RecordColor, MakeRgb(10, 20, 30));
    EXPECT_EQ(app.current.DashOff, 0);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Nothing selected: nothing drawn, the gap still reset.
    app.selection.SelectionList.assign(1, SelectedRecord{});
    Surface().ClearRecords();
    for (int call = 0; call < 3; ++call) {
        app.current.DashOff = 3;
        if (call == 0) ApplyColor(app);
        if (call == 1) ApplyTextStyle(app, "黑体", 12);
        if (call == 2) PreviewMove(app, 1, 1, 0, 0, 1);
        EXPECT_EQ(app.current.DashOff, 0) << call;
    }
    app.current.DashOff = 3;
    PreviewRotation(app, 0, 1, 1, 0, 1);
    EXPECT_TRUE(Surface().primitives.empty());
    EXPECT_EQ(app.current.DashOff, 3) << "the rotation preview keeps the gap";
}

TEST_F(TransformToolsTest, TheColourSelectorRecoloursTheSelectionWhileTheSelectionToolIsArmed) {
    Put(1, 0, {1, 1}, 70).RecordColor = 3;
    Put(1, 1, {1, 1, 2, 2}, 2).RecordColor = 0;
    Select({{1, 0}, {1, 1}});
    app.tool.CommandMode = ModeSelect;
    form.ImageCombo2.SetText(app.tables.ColorNames[1]);
    form.ImageCombo2_Click();
    EXPECT_EQ(app.store.Get(1, 1).RecordColor, app.tables.ColorPalette[1]);
    EXPECT_EQ(app.store.Get(1, 0).RecordColor, 3);
}

TEST_F(TransformToolsTest, AMirroredHatchFilledAreaReturnsToItsStartOnUndo) {
    // A solid-fill head with its box corners and a closed boundary of four vertices.
    Put(1, 0, {10, 40, 30, 40, 30, 10, 10, 10}, 11).RecordZ4 = 1;
    Put(1, 1, {10, 10, 30, 10, 30, 40, 10, 40}, 6);
    Put(1, 2, {12, 12}, 1);
    Ready();
    for (std::uint8_t mode : {ModeFlipUpDown, ModeFlipLeftRight}) {
        Select({{1, 2}, {1, 0}, {1, 1}});
        const std::vector<MapRecord> before = State();
        // The method panel's flip: the mirror about the first record's P1, then the journal.
        app.tool.CommandMode = mode;
        if (mode == ModeFlipUpDown) Y镜像(app, 0, 0, 0);
        else X镜像(app, 0, 0, 0);
        UndoStepSelection(app, 0, 0, 0);
        UndoStepSelection(app, 1, 0, 0);
        EXPECT_EQ(app.store.Get(1, 2).RecordX1, 12);
        EXPECT_EQ(app.store.Get(1, 2).RecordY1, 12);
        EXPECT_FALSE(Same(before));
        ToolbarClick("撤消");
        ToolbarClick("撤消");
        EXPECT_TRUE(Same(before)) << int(mode);
    }
}

}  // namespace
}  // namespace movra
