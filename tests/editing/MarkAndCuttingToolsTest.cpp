#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "basic/Errors.h"
#include "document/UndoRedo.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

class MarkToolsTest : public CanvasTest {
protected:
    MarkToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 9;
        layer = app.store.CurrentLayer;
        // A map opened with a line in it.
        Put(layer, app.store.Count(layer), {0, 0, 10, 10});
        UndoCheckpoint(app, 0);
        start = app.store.Count(layer);
    }
    // As the method panel arms a mark: the mode, its prompt and, for circles, the diameter.
    void Arm(std::uint8_t mode, const std::string& prompt, const std::string& diameter = "") {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
        form.Text2.SetText(prompt);
        if (!diameter.empty()) form.Text8.SetText(diameter);
    }
    std::int32_t Added() { return app.store.Count(layer) - start; }
    MapRecord& Last() { return app.store.At(layer, app.store.Count(layer) - 1); }

    int layer = 0;
    std::int32_t start = 0;
};

// A typed size whose circle no view could hold is refused as the command line refuses a far
// point: the message line says why and nothing is stored.
TEST_F(MarkToolsTest, ASizeBeyondTheStorableRangeIsRefused) {
    app.view.ScaleFactor = 0.5;
    for (const char* typed : {"1e40", "-1e40", "5e9"}) {
        SCOPED_TRACE(typed);
        Arm(ModeSmallCircle, "加1.0mm圆", typed);
        Click(100, 900);
        Click(120, 880);
        EXPECT_EQ(Added(), 0);
        EXPECT_EQ(form.Text2.Text(), MessageLineText(RuntimeError(ErrOverflow)));
    }
    // The largest storable size is taken.
    Arm(ModeSmallCircle, "加1.0mm圆", "2e9");
    Click(100, 900);
    Click(120, 880);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(Last().RecordX2, 5e8);
}

TEST_F(MarkToolsTest, ACircleIsPlacedAtTheRawReleasePointOfEverySecondClick) {
    app.view.ScaleFactor = 0.5;
    Arm(ModeSmallCircle, "加1.0mm圆", "1.0");
    Click(100, 900);
    EXPECT_EQ(Added(), 0);
    EXPECT_EQ(app.tool.ClickCount, 1);
    Hover(150, 850);
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle).empty());
    // Snapping takes the press to the vertex beside it; the mark goes to the release point.
    app.tool.SnapOn = -1;
    app.tool.SnapCandidate = {160, 860};
    Press(160.5, 860.25);
    EXPECT_DOUBLE_EQ(app.tool.PressPoint.x, 160);
    Release(160.5, 860.25);
    ASSERT_EQ(Added(), 1);
    MapRecord expected;
    expected.RecordType = 7;
    expected.RecordColor = Green;
    expected.RecordPen = 9;
    expected.RecordX1 = 160.5;
    expected.RecordY1 = 860.25;
    expected.RecordX2 = 0.25;
    expected.RecordY2 = 1.0;
    EXPECT_EQ(Last(), expected);
    EXPECT_EQ(app.tool.ClickCount, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeSmallCircle);
    // One undo step for the mark.
    Undo(app);
    EXPECT_EQ(Added(), 0);

    // The typed diameter counts, and a text that is no number gives radius 0.
    form.Text8.SetText("2");
    Click(100, 900);
    Click(200, 800);
    EXPECT_DOUBLE_EQ(Last().RecordX2, 0.5);
    form.Text8.SetText("abc");
    Click(100, 900);
    Click(300, 700);
    EXPECT_DOUBLE_EQ(Last().RecordX2, 0);
}

TEST_F(MarkToolsTest, ThePromptChoosesTheMark) {
    const struct {
        const char* prompt;
        int type;
    } rows[] = {{"加注水田符号", 16}, {"加注水生作物符号", 17}, {"加注旱地符号", 18}, {"加注草地符号", 19}, {"加1.6mm圆", 7}, {"别的", 7}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.prompt);
        Arm(ModeLandUseMark, row.prompt, "1.6");
        Click(100, 900);
        Surface().ClearRecords();
        Hover(400, 500);
        Hover(420, 520);
        // The preview is drawn at each cursor point and taken away again.
        EXPECT_FALSE(Surface().primitives.empty());
        Click(420, 520);
        EXPECT_EQ(Last().RecordType, row.type);
        EXPECT_DOUBLE_EQ(Last().RecordX1, 420);
        EXPECT_EQ(Last().RecordText, "");
    }
}

TEST_F(MarkToolsTest, InkIsPouredThroughTheFillWhichOwnsTheCount) {
    struct Call {
        std::int32_t pn, kn;
        int fangs;
        MapRecord seed;
    };
    std::vector<Call> calls;
    int spans = 2;
    app.geomopsSeams.墨水填充 = [&](App& a, std::int32_t pn, std::int32_t kn, std::uint8_t fangs) {
        const int l = a.store.CurrentLayer;
        calls.push_back({pn, kn, fangs, a.store.At(l, a.store.Count(l))});
        for (int k = 0; k < spans; ++k) {
            MapRecord& r = a.store.At(l, a.store.Count(l));
            r = MapRecord{};
            r.RecordType = 81;
            r.RecordPen = 8;
            ++a.store.Count(l);
        }
    };
    Arm(ModeInkFill, "倒墨水", "7");
    Click(100, 900);
    Click(100.5, 901.5);
    ASSERT_EQ(calls.size(), 1u);
    // The point rounded to whole units, halves to even; the seed in the open slot.
    EXPECT_EQ(calls[0].pn, 100);
    EXPECT_EQ(calls[0].kn, 902);
    EXPECT_EQ(calls[0].fangs, 1);
    EXPECT_EQ(calls[0].seed.RecordType, 86);
    EXPECT_EQ(calls[0].seed.RecordColor, Green);
    EXPECT_DOUBLE_EQ(calls[0].seed.RecordX1, 100.5);
    // The count ends right after the last fill record.
    EXPECT_EQ(Added(), 2);
    EXPECT_EQ(Last().RecordType, 81);
    EXPECT_EQ(app.store.At(layer, app.store.Count(layer)).RecordType, 0);

    // A fill that finds nothing leaves no seed behind.
    spans = 0;
    Click(500, 500);
    Click(500, 500);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(Added(), 2);
    EXPECT_EQ(app.store.At(layer, app.store.Count(layer)).RecordType, 0);

    // Without the fill the tool says so and writes nothing.
    app.geomopsSeams.墨水填充 = nullptr;
    Click(500, 500);
    Click(500, 500);
    EXPECT_EQ(form.Text2.Text(), "墨水填充尚未提供，本命令未执行");
    EXPECT_EQ(Added(), 2);
    EXPECT_EQ(app.store.At(layer, app.store.Count(layer)).RecordType, 0);
}

// ---- Cutting tools, with recording doubles of the operations.

class CuttingToolsTest : public CanvasTest {
protected:
    CuttingToolsTest() {
        layer = app.store.CurrentLayer;
        slot = app.store.Count(layer);
        Put(layer, slot, {100, 800, 400, 800});
        UndoCheckpoint(app, 0);
        app.geomopsSeams.CutLinesAndAreas = [this](App& a, double x1, double y1, double x2, double y2, std::uint8_t mode) {
            Log("cut", a, x1, y1, x2, y2, mode);
            // A real cut rewrites the layer: the first record loses its second half.
            if (mode != 0) a.store.At(layer, slot).RecordX2 = 250;
        };
        app.geomopsSeams.CutLines = [this](App& a, double x1, double y1, double x2, double y2, std::uint8_t mode) {
            Log("trim", a, x1, y1, x2, y2, mode);
        };
        app.geomopsSeams.AddInsidePieces = [this](App& a) {
            const std::vector<double>& s = a.geometry.ScratchXY;
            log.push_back("inside " + std::to_string(int(s[2])) + "," + std::to_string(int(s[3])) + " " +
                          std::to_string(int(s[4])) + "," + std::to_string(int(s[5])));
        };
    }
    void Log(const std::string& name, App& a, double x1, double y1, double x2, double y2, int mode) {
        log.push_back(name + " " + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + " " +
                      std::to_string(int(x2)) + "," + std::to_string(int(y2)) + " mode " + std::to_string(mode) +
                      " steps " + std::to_string(a.undo.UndoCurrentStep));
    }
    void Arm(std::uint8_t mode) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
    }
    ScriptedPrompt& Prompter() { return t.platform.promptScript; }

    int layer = 0;
    int slot = 0;
    std::vector<std::string> log;
};

TEST_F(CuttingToolsTest, CuttingAsksAndJournalsTwoSnapshotsAroundTheCut) {
    const struct {
        int answer;
        int mode;  // -1: no cut
    } rows[] = {{AnswerYes, 2}, {AnswerNo, 1}, {AnswerCancel, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        log.clear();
        app.store.At(layer, slot).RecordX2 = 400;
        const MapRecord before = app.store.At(layer, slot);
        const std::int32_t steps = app.undo.UndoCurrentStep;
        Arm(ModeCutLinesAndAreas);
        Prompter().QueueAnswer(row.answer);
        Click(250, 900);
        EXPECT_EQ(app.tool.ClickCount, 1);
        Click(250, 700);
        EXPECT_EQ(Prompter().LastText(), "要割掉虚线部分吗？，y/割掉，n/割裂，esc/无");
        EXPECT_EQ(Prompter().questions.back().style, MsgYesNoCancel);
        EXPECT_EQ(Prompter().questions.back().title, "裁割线、面");
        std::vector<std::string> expected = {"cut 250,900 250,700 mode 0 steps " + std::to_string(steps)};
        if (row.mode >= 0) {
            // The snapshot before is taken when the cut runs, the one after follows it.
            expected.push_back("cut 250,900 250,700 mode " + std::to_string(row.mode) + " steps " +
                               std::to_string(steps + 1));
            EXPECT_EQ(app.undo.UndoCurrentStep, steps + 2);
            EXPECT_EQ(app.undo.UndoStepKind[steps + 1], UndoKindSnapshot);
            EXPECT_EQ(app.undo.UndoStepKind[steps + 2], UndoKindSnapshot);
            EXPECT_DOUBLE_EQ(app.store.At(layer, slot).RecordX2, 250);
            // The two snapshots are one step: one undo takes the cut back, one redo repeats it.
            Undo(app);
            EXPECT_EQ(app.store.At(layer, slot), before);
            Redo(app);
            EXPECT_DOUBLE_EQ(app.store.At(layer, slot).RecordX2, 250);
        } else {
            EXPECT_EQ(app.undo.UndoCurrentStep, steps);
            EXPECT_EQ(app.store.At(layer, slot), before);
        }
        EXPECT_EQ(log, expected);
        // The tool is disarmed so that no checkpoint follows.
        EXPECT_EQ(app.tool.CommandMode, ModeJournalHold);
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
}

TEST_F(CuttingToolsTest, TrimmingAsksYesOrNoAndStaysArmed) {
    Arm(ModeTrimStubs);
    Prompter().QueueAnswer(AnswerYes);
    Click(380, 850);
    Click(380, 750);
    EXPECT_EQ(Prompter().LastText(), "要割掉虚线部分吗？，y/割掉，n/取消");
    EXPECT_EQ(Prompter().questions.back().style, MsgYesNo);
    EXPECT_EQ(Prompter().questions.back().title, "裁割线");
    Prompter().QueueAnswer(AnswerNo);
    Click(380, 850);
    Click(380, 750);
    const std::string s = " steps " + std::to_string(app.undo.UndoCurrentStep);
    EXPECT_EQ(log, (std::vector<std::string>{"trim 380,850 380,750 mode 0" + s, "trim 380,850 380,750 mode 2" + s,
                                             "trim 380,850 380,750 mode 0" + s}));
    EXPECT_EQ(app.tool.CommandMode, ModeTrimStubs);
    EXPECT_EQ(app.tool.ClickCount, 0);
}

TEST_F(CuttingToolsTest, KeepingInsideOffsetsTheLineByTheTypedOrTheClickedDistance) {
    Arm(ModeKeepInside);
    form.Text5.SetText("9");
    Click(100, 900);
    EXPECT_EQ(form.Text5.Text(), "");
    Click(300, 900);
    // The parallel through the cursor follows it.
    Surface().ClearRecords();
    Hover(200, 880);
    const auto preview = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    ASSERT_FALSE(preview.empty());
    EXPECT_DOUBLE_EQ(preview.back().y1, 880);
    EXPECT_DOUBLE_EQ(preview.back().y2, 880);
    // The click's distance: the line through it, turned round.
    Click(200, 880);
    form.Text5.SetText("5");
    Click(150, 800);
    EXPECT_EQ(log, (std::vector<std::string>{"inside 100,900 300,900", "inside 300,880 100,880",
                                             "inside 100,875 300,875"}));
    EXPECT_EQ(app.tool.ClickCount, 4);
    EXPECT_EQ(app.tool.CommandMode, ModeKeepInside);
}

TEST_F(CuttingToolsTest, AMissingOperationIsSaidAndChangesNothing) {
    app.geomopsSeams = GeomopsSeams{};
    const struct {
        std::uint8_t mode;
        const char* name;
    } rows[] = {{ModeCutLinesAndAreas, "裁割线、面"}, {ModeTrimStubs, "裁割线"}, {ModeKeepInside, "割线截留"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const MapRecord before = app.store.At(layer, slot);
        const std::int32_t count = app.store.Count(layer);
        Arm(row.mode);
        Click(250, 900);
        Click(250, 700);
        EXPECT_EQ(form.Text2.Text(), std::string(row.name) + "尚未提供，本命令未执行");
        EXPECT_TRUE(Prompter().questions.empty());
        EXPECT_EQ(app.store.Count(layer), count);
        EXPECT_EQ(app.store.At(layer, slot), before);
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
}

}  // namespace
}  // namespace movra
