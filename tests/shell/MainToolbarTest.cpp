#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "App.h"
#include "basic/Files.h"
#include "document/BlockFile.h"
#include "document/OpenDialogs.h"
#include "document/SaveFailure.h"
#include "document/JdxFile.h"
#include "document/UndoJournal.h"
#include "document/WtwFile.h"
#include "document/csForm2.h"
#include "printing/dayinfrm.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"
#include "survey/Tyhdfrm.h"
#include "symbols/chaxunfrm.h"

namespace movra {
namespace {

constexpr Rgb Red = MakeRgb(255, 0, 0);
constexpr Rgb Blue = MakeRgb(0, 0, 255);
constexpr Rgb Yellow = MakeRgb(255, 255, 0);

class MainToolbar : public ::testing::Test {
protected:
    MainToolbar() {
        t.form1.Load();
        t.platform.silentSound.beeps.clear();  // the start-up chime
    }

    void Click(const std::string& key) {
        Toolbar& bar = t.form1.Toolbar1;
        bar.UserClickButton(bar.Buttons(key).Index());
    }
    void Choose(const std::string& buttonKey, const std::string& menuKey) {
        Toolbar& bar = t.form1.Toolbar1;
        ToolbarButton& button = bar.Buttons(buttonKey);
        bar.UserClickMenu(button.Index(), button.ButtonMenus(menuKey).Index());
    }
    // Draws one two-vertex line in layer 1 and marks the map changed.
    void DrawSomething(double x = 100) {
        MapRecord& r = t.app.store.At(1, t.app.store.Count(1));
        r.RecordType = 2;
        r.RecordX1 = x;
        r.RecordY1 = 50;
        r.RecordX2 = x + 10;
        r.RecordY2 = 60;
        ++t.app.store.Count(1);
        t.app.current.ModifiedFlag = -1;
    }
    std::string Path(const std::string& name) const { return t.workFolder.Str() + "/" + name; }
    size_t Beeps() const { return t.platform.silentSound.beeps.size(); }
    std::string Text2() const { return t.form1.Text2.Text(); }
    void Select(std::vector<std::pair<int, int>> records) {
        auto& list = t.app.selection.SelectionList;
        list.assign(records.size() + 2, SelectedRecord{});
        list[0].Layer = static_cast<std::int32_t>(records.size()) + 1;
        for (std::size_t k = 0; k < records.size(); ++k) list[k + 1] = {records[k].first, records[k].second};
        t.app.tool.SelectionMade = -1;
        for (int button : {8, 10, 11}) t.form1.Toolbar1.Buttons(button).SetEnabled(true);
    }
    ScriptedPrompt& prompt() { return t.platform.promptScript; }

    TestApp t;
};

TEST_F(MainToolbar, HoldsTheCommandBarAndTheViewBarWithTheirMenus) {
    Toolbar& bar = t.form1.Toolbar1;
    ASSERT_EQ(bar.ButtonCount(), 21);
    for (int separator : {5, 9, 13, 16, 21}) EXPECT_EQ(bar.Buttons(separator).Style(), ButtonSeparator);
    EXPECT_EQ(bar.Buttons(2).Key(), "存盘");
    EXPECT_EQ(bar.Buttons(20).Key(), "查询A");
    ToolbarButton& open = bar.Buttons(1);
    ASSERT_EQ(open.MenuCount(), 12);
    EXPECT_EQ(open.ButtonMenus(8).Key(), "最近文件1");
    EXPECT_FALSE(open.ButtonMenus("打开VEQA数据库").Enabled());
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE(bar.Buttons("建模").ButtonMenus(i).Enabled());
    ASSERT_EQ(t.form1.Toolbar2.ButtonCount(), 5);
    EXPECT_EQ(t.form1.Toolbar2.Buttons(5).Key(), "移动2");
    // Every button that is no separator shows an icon of its own.
    for (int i = 1; i <= bar.ButtonCount(); ++i)
        if (bar.Buttons(i).Style() != ButtonSeparator) EXPECT_NE(bar.imageList->Image(bar.Buttons(i).Image()), nullptr);

    // Start-up leaves nothing to undo, delete, cut or copy; paste stays usable.
    for (int i : {6, 7, 8, 10, 11}) EXPECT_FALSE(bar.Buttons(i).Enabled()) << i;
    EXPECT_TRUE(bar.Buttons(12).Enabled());
    UndoCheckpoint(t.app, 0);
    DrawSomething();
    UndoCheckpoint(t.app, 1);
    EXPECT_TRUE(bar.Buttons(6).Enabled());
}

TEST_F(MainToolbar, AKeyEndsBlueOrYellowWithOneBeep) {
    Choose("存盘", "另存为bmp");  // cancelled dialog: no tool armed afterwards
    EXPECT_EQ(t.app.display.Redraw.LargeBitmapExport, 0);
    t.app.tool.CommandMode = ModeIdle;
    Choose("存盘", "另存为大图片bmp");
    EXPECT_EQ(t.app.display.Redraw.LargeBitmapExport, -1);
    EXPECT_EQ(t.form1.Label6.BackColor(), Blue);
    EXPECT_EQ(Beeps(), 2u);
    EXPECT_EQ(t.platform.silentSound.beeps.back(), (SilentSound::Tone{11, 11}));

    prompt().QueueAnswer(AnswerNo);
    Choose("打印", "选打印范围");
    EXPECT_EQ(t.app.tool.CommandMode, ModePrintRange);
    EXPECT_EQ(t.form1.Label6.BackColor(), Yellow);
    EXPECT_EQ(Beeps(), 3u);
}

TEST_F(MainToolbar, PrintShowsThePrintDialogBesideTheMainWindow) {
    Click("打印");
    ASSERT_TRUE(t.app.printDialog);
    EXPECT_TRUE(t.app.printDialog->Visible());
    EXPECT_FALSE(t.app.printDialog->Modal());
    EXPECT_EQ(t.app.printDialog->WindowState(), WindowNormal);
    EXPECT_EQ(t.app.printDialog->Text1.Text(), "LJ");  // its load ran
}

TEST_F(MainToolbar, AFullLayerTableIsRefusedWithTheLampRedAndNoBeep) {
    t.app.store.NextLayerIndex = 255;
    Click("设层");
    EXPECT_EQ(prompt().LastText(), "层已满");
    EXPECT_TRUE(!t.app.form2 || !t.app.form2->Loaded());
    EXPECT_EQ(t.form1.Label6.BackColor(), Red);
    EXPECT_EQ(Beeps(), 0u);
}

TEST_F(MainToolbar, AFailureInARowIsReportedInTheMessageLineByBothHandlers) {
    t.platform.dialogScript.failWith = 75;
    Click("打开");
    EXPECT_EQ(Text2(), "路径/文件访问错误75");
    EXPECT_EQ(t.form1.Label6.BackColor(), Red);
    t.form1.Text2.SetText("");
    Choose("存盘", "另存为");
    EXPECT_EQ(Text2(), "路径/文件访问错误75");
    EXPECT_EQ(t.form1.Label6.BackColor(), Red);
    EXPECT_EQ(Beeps(), 0u);
}

TEST_F(MainToolbar, SaveWritesByTheEndingOfTheCurrentPath) {
    for (std::string path : {std::string(), Path("a.dxf")}) {
        t.app.current.CurrentFilePath = path;
        prompt().questions.clear();
        Click("存盘");
        EXPECT_EQ(prompt().LastText(), "未保存！") << path;
    }
    EXPECT_TRUE(std::filesystem::is_empty(t.workFolder.Path()) ||
                !std::filesystem::exists(Path("a.dxf")));

    DrawSomething(300);
    for (std::string name : {"a.JDX", "b.wtw"}) {
        t.app.current.CurrentFilePath = Path(name);
        Click("存盘");
        ASSERT_TRUE(std::filesystem::exists(Path(name))) << name;
        TestApp reader;
        if (name == "a.JDX")
            ReadJdxFile(reader.app, Path(name));
        else
            ReadWtwFile(reader.app, Path(name));
        EXPECT_EQ(reader.app.store.Get(1, 0).RecordX1, 300) << name;
    }
}

TEST_F(MainToolbar, TheSaveQuestionBeforeOpeningOrANewMapKeepsTheMapUnlessAnswered) {
    DrawSomething();
    const int count = t.app.store.Count(1);

    prompt().QueueAnswer(AnswerCancel);
    Click("打开");
    EXPECT_EQ(prompt().questions.back().title, "打开前先保存文件！");
    EXPECT_TRUE(t.platform.dialogScript.requests.empty());
    EXPECT_EQ(t.form1.Label6.BackColor(), Red);

    // Yes, then the save dialog is cancelled: the command stops and the map stays.
    prompt().QueueAnswer(AnswerYes);
    Choose("打开", "新建");
    EXPECT_EQ(prompt().questions.back().title, "新建");
    EXPECT_EQ(t.app.store.Count(1), count);
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);

    // No: the copy buffer is flushed and the open dialog comes.
    prompt().QueueAnswer(AnswerNo);
    Choose("打开", "打开jdx");
    EXPECT_EQ(prompt().questions.back().title, "打开jdx前先保存文件！");
    ASSERT_FALSE(t.platform.dialogScript.requests.empty());
    EXPECT_EQ(t.platform.dialogScript.requests.back().kind, ScriptedDialogs::Request::Kind::Open);
}

// A map just opened, by any of the open commands, is as its file holds it: after "No" to the
// save question and the open, neither 新建 nor leaving asks to save it.
TEST_F(MainToolbar, AJustOpenedMapIsUnmodified) {
    const std::string other = Path("other.wtw");
    DrawSomething(700);
    WriteWtwFile(t.app, other);
    struct Case {
        const char* name;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"open wtw", [&] { t.platform.dialogScript.QueueFile(other, 2); Choose("打开", "打开wtw"); }},
        {"open dialog", [&] { t.platform.dialogScript.QueueFile(other, 3); Click("打开"); }},
        {"recent file", [&] { t.app.mapFile.RecentFiles[1] = other; Choose("打开", "最近文件2"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawSomething();
        prompt().QueueAnswer(AnswerNo);
        c.open();
        ASSERT_EQ(t.app.current.CurrentFilePath, other);
        EXPECT_EQ(t.app.current.ModifiedFlag, 0);
        const size_t asked = prompt().questions.size();
        Choose("打开", "新建");
        EXPECT_EQ(prompt().questions.size(), asked);
        EXPECT_EQ(t.app.current.ModifiedFlag, 0);  // the new map starts unmodified
    }
}

TEST_F(MainToolbar, ANewMapHasNoFileSoSavingItWritesNothing) {
    const std::string opened = Path("old.jdx");
    DrawSomething();
    WriteJdxFile(t.app, opened);
    const auto before = std::filesystem::file_size(opened);
    t.app.reduction.ReductionOffsetX = 5000;
    Choose("打开", "新建");
    EXPECT_EQ(t.app.reduction.ReductionOffsetX, 0);
    EXPECT_TRUE(t.app.current.CurrentFilePath.empty());
    DrawSomething(500);
    Click("存盘");
    EXPECT_EQ(prompt().LastText(), "未保存！");
    EXPECT_EQ(std::filesystem::file_size(opened), before);
}

// A new map forgets the extents of the map before it: drawn near the origin or at survey
// coordinates, saved and opened again, it opens showing its drawing at a drawing's scale, not the
// last map's whole range nor the stretch from the origin to it.
TEST_F(MainToolbar, ANewMapSavedAndReopenedShowsItsDrawing) {
    const std::string survey = Path("survey.jdx");
    DrawSomething(500000);
    t.app.store.At(1, 0).RecordY1 = 3000000;
    DrawSomething(10);
    WriteJdxFile(t.app, survey);
    for (const auto [x, y] : {std::pair{10.0, 10.0}, {512345.25, 3456789.5}}) {
        SCOPED_TRACE(x);
        TestApp before;
        before.form1.Load();
        OpenNamedMap(before.app, survey);
        ASSERT_GT(before.app.extents.ExtentMaxY, 2000000);

        before.platform.promptScript.defaultAnswer = AnswerNo;
        Toolbar& bar = before.form1.Toolbar1;
        ToolbarButton& open = bar.Buttons("打开");
        bar.UserClickMenu(open.Index(), open.ButtonMenus("新建").Index());
        EXPECT_EQ(before.app.extents.ExtentMaxX, 0);
        EXPECT_EQ(before.app.extents.ExtentMaxY, 0);
        // A line up and to the right, and one to the left of and below where it starts.
        for (const auto [dx, dy] : {std::pair{0.0, 0.0}, {-8.0, -6.0}}) {
            MapRecord& line = before.app.store.At(1, before.app.store.Count(1));
            line.RecordType = 2;
            line.RecordX1 = x + dx, line.RecordY1 = y + dy, line.RecordX2 = x + 10, line.RecordY2 = y + 10;
            ++before.app.store.Count(1);
        }
        before.app.current.ModifiedFlag = -1;
        const std::string small = Path(x < 1000 ? "small.jdx" : "far.jdx");
        before.platform.dialogScript.QueueFile(small, 1);
        ToolbarButton& saveAs = bar.Buttons("存盘");
        bar.UserClickMenu(saveAs.Index(), saveAs.ButtonMenus("另存为jdx").Index());
        ASSERT_TRUE(std::filesystem::exists(small));

        TestApp after;
        after.form1.Load();
        OpenNamedMap(after.app, small);
        const PictureBox& canvas = after.form1.Picture1;
        // Every vertex of the drawing is in view, at a drawing's scale.
        for (const auto [vx, vy] : {std::pair{x, y}, {x - 8, y - 6}, {x + 10, y + 10}}) {
            EXPECT_LE(canvas.ScaleLeft(), vx);
            EXPECT_GE(canvas.ScaleLeft() + canvas.ScaleWidth(), vx);
            EXPECT_GE(canvas.ScaleTop(), vy);
            EXPECT_LE(canvas.ScaleTop() + canvas.ScaleHeight(), vy);
        }
        EXPECT_LE(canvas.ScaleWidth(), 100);
        EXPECT_LT(after.app.view.DisplayScaleDenominator, 10000);
    }
}

// The file manager starts the program with a map's name: it is opened as the open command opens
// it; a file that is no map leaves the empty map and says so on the message line.
TEST_F(MainToolbar, AMapNamedOnTheCommandLineIsOpened) {
    const std::string map = Path("命令行.jdx");
    DrawSomething(321);
    WriteJdxFile(t.app, map);
    const std::string bad = Path("bad.jdx");
    { std::ofstream(bad) << "no map here"; }

    TestApp started;
    started.form1.Load();
    OpenNamedMap(started.app, map);
    ASSERT_EQ(started.app.store.Count(1), 1);
    EXPECT_EQ(started.app.store.At(1, 0).RecordX1, 321);
    EXPECT_EQ(started.form1.Caption(), "Movra_jdx_命令行.jdx");
    EXPECT_EQ(started.app.current.DialogFilePath, map);
    EXPECT_TRUE(started.platform.promptScript.questions.empty());

    // Named relative to the folder the program starts in, the map enters the recent files by its
    // absolute path, so that a later run started elsewhere still finds it.
    const std::filesystem::path startedIn = std::filesystem::current_path();
    std::filesystem::current_path(t.workFolder.Path());
    TestApp relative;
    relative.form1.Load();
    OpenNamedMap(relative.app, "./sub/../命令行.jdx");
    std::filesystem::current_path(startedIn);
    EXPECT_EQ(relative.app.store.Count(1), 1);
    EXPECT_EQ(relative.app.mapFile.RecentFiles[0], map);
    EXPECT_EQ(relative.app.current.DialogFilePath, map);

    for (const std::string& wrong : {bad, Path("missing.jdx")}) {
        SCOPED_TRACE(wrong);
        TestApp other;
        other.form1.Load();
        OpenNamedMap(other.app, wrong);
        EXPECT_EQ(other.app.store.Count(1), 0);
        EXPECT_EQ(other.form1.Text2.Text().rfind(MapFileNotReadMessage, 0), 0u) << other.form1.Text2.Text();
    }
}

TEST_F(MainToolbar, AddingALayerAsksAndReportsTheCount) {
    ASSERT_EQ(t.app.store.LayerCount, 1);
    prompt().QueueAnswer(AnswerYes);
    t.app.store.NextLayerIndex = 3;
    Choose("设层", "加层");
    EXPECT_EQ(prompt().questions.at(0).text, "一但加层，将无法删除！");
    EXPECT_EQ(prompt().LastText(), "层已加,已有2层");

    prompt().QueueAnswer(AnswerYes);
    t.app.store.LayerCount = 1;
    t.app.store.NextLayerIndex = 1;
    Choose("设层", "加层");
    EXPECT_EQ(prompt().LastText(), "层未加，原有1层");
}

TEST_F(MainToolbar, UndoAndRedoEmptyTheSelectionAndShowTerrainPointsAgain) {
    t.app.tool.CommandMode = 17;  // a drawing tool
    DrawSomething(100);
    ResetUndo(t.app);
    UndoCheckpoint(t.app, 0);  // the map as opened
    DrawSomething(200);
    UndoCheckpoint(t.app, 1);
    t.app.selection.SelectionList.assign(3, SelectedRecord{1, 0});
    t.app.display.Redraw.SuppressTerrainPoints = -1;
    Click("撤消");
    EXPECT_EQ(t.app.store.Count(1), 1);
    EXPECT_EQ(t.app.selection.SelectionList.size(), 1u);
    EXPECT_EQ(t.app.display.Redraw.SuppressTerrainPoints, 0);
    t.app.selection.SelectionList.assign(3, SelectedRecord{1, 0});
    Click("反撤");
    EXPECT_EQ(t.app.store.Count(1), 2);
    EXPECT_EQ(t.app.selection.SelectionList.size(), 1u);
}

// On a new map the first drawing is undone through the button, which is then disabled.
TEST_F(MainToolbar, TheFirstDrawingOnANewMapIsUndoneByTheButton) {
    Choose("打开", "新建");
    t.app.tool.CommandMode = 17;  // a drawing tool
    DrawSomething(100);
    UndoCheckpoint(t.app, 1);
    ASSERT_TRUE(t.form1.Toolbar1.Buttons("撤消").Enabled());
    Click("撤消");
    EXPECT_EQ(t.app.store.Count(1), 0);
    EXPECT_FALSE(t.form1.Toolbar1.Buttons("撤消").Enabled());
    Click("反撤");
    EXPECT_EQ(t.app.store.Count(1), 1);
}

TEST_F(MainToolbar, ThePrintRangeQuestionKeepsOrRestartsTheRanges) {
    MapRecord& counter = t.app.store.At(0, Layer0Slots::PrintRangeFirst);
    struct Case {
        int answer;
        float count;
        std::uint8_t mode;
        std::string text2;
    };
    for (const Case& c : {Case{AnswerYes, 0, ModePrintRange, "按下（左键）移出矩形范围"},
                          Case{AnswerNo, 3, ModePrintRange, "按下（左键）移出矩形范围"},
                          Case{AnswerCancel, 3, ModeIdle, ""}}) {
        counter.RecordZ3 = 3;
        prompt().QueueAnswer(c.answer);
        Choose("打印", "选打印范围");
        EXPECT_EQ(prompt().questions.back().title, "选打印范围");
        EXPECT_EQ(counter.RecordZ3, c.count) << c.answer;
        EXPECT_EQ(t.app.tool.CommandMode, c.mode) << c.answer;
        EXPECT_EQ(Text2(), c.text2) << c.answer;
    }
}

TEST_F(MainToolbar, ARecentFileOpensWithoutAQuestion) {
    DrawSomething(700);
    const std::string path = Path("recent.jdx");
    WriteJdxFile(t.app, path);
    TestApp other;
    other.form1.Load();
    other.app.mapFile.RecentFiles[0] = path;
    Toolbar& bar = other.form1.Toolbar1;
    bar.UserClickMenu(1, bar.Buttons(1).ButtonMenus("最近文件1").Index());
    EXPECT_TRUE(other.platform.promptScript.questions.empty());
    EXPECT_EQ(other.app.current.CurrentFilePath, path);
    EXPECT_EQ(other.app.store.Get(1, 0).RecordX1, 700);
}

TEST_F(MainToolbar, TheProjectionWindowOpensBesideTheMap) {
    Choose("设置", "投影换带");
    ASSERT_TRUE(t.app.projectionDialog);
    EXPECT_TRUE(t.app.projectionDialog->Visible());
    EXPECT_FALSE(t.app.projectionDialog->Modal());
}

// Another map opened empties the message line: what it said was said of the map before. A
// message of the new file's own still shows.
TEST_F(MainToolbar, OpeningAnotherMapEmptiesTheMessageLine) {
    DrawSomething(700);
    const std::string other = Path("other.wtw");
    WriteWtwFile(t.app, other);
    struct Case {
        const char* name;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"open wtw", [&] { t.platform.dialogScript.QueueFile(other, 2); Choose("打开", "打开wtw"); }},
        {"open dialog", [&] { t.platform.dialogScript.QueueFile(other, 3); Click("打开"); }},
        {"recent file", [&] { t.app.mapFile.RecentFiles[1] = other; Choose("打开", "最近文件2"); }},
        {"named", [&] { OpenNamedMap(t.app, other); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.app.current.ModifiedFlag = 0;
        t.form1.Text2.SetText(std::string("before.jdx：2") + NonFiniteRecordsMessage);
        c.open();
        ASSERT_EQ(t.app.current.CurrentFilePath, other);
        EXPECT_EQ(Text2(), "");
    }
    // A file that is not read keeps the open map, and says why.
    const std::string broken = Path("broken.wtw");
    WriteWholeFile(broken, "not a map");
    t.platform.dialogScript.QueueFile(broken, 2);
    Choose("打开", "打开wtw");
    EXPECT_EQ(t.app.current.CurrentFilePath, other);
    EXPECT_NE(Text2(), "");
}

// Every paste that adds records marks the map modified, so that 新建 straight after it asks first
// (粘贴 and Ctrl+V of a copy take no undo step that would mark it); Cancel keeps the records.
TEST_F(MainToolbar, APasteMarksTheMapModifiedSoANewMapAsksFirst) {
    DrawSomething(100);
    DrawSomething(200);
    struct Case {
        const char* name;
        std::function<void()> paste;
    };
    const Case cases[] = {
        {"粘贴", [&] { Click("粘贴"); }},
        {"Ctrl+V", [&] {
             int key = 'V', ctrl = 2;
             t.form1.Picture1.KeyDown(key, ctrl);
         }},
        {"原位粘贴", [&] { Choose("粘贴", "原位粘贴"); }},
        {"至当前层", [&] { Choose("粘贴", "至当前层"); }},
        {"the temporary block", [&] {
             FlushCopyBuffer(t.app);
             ASSERT_EQ(t.app.copyBuffer.CopyBufferFlag, 0);
             Click("粘贴");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.app.current.ModifiedFlag = 0;
        t.app.tool.CommandMode = ModeIdle;
        Select({{1, 0}, {1, 1}});
        Click("拷贝");
        EXPECT_EQ(t.app.current.ModifiedFlag, 0);
        const int count = t.app.store.Count(1);
        c.paste();
        ASSERT_EQ(t.app.store.Count(1), count + 2);
        EXPECT_EQ(t.app.current.ModifiedFlag, -1);
        prompt().QueueAnswer(AnswerCancel);
        Choose("打开", "新建");
        EXPECT_EQ(prompt().questions.back().title, "新建");
        EXPECT_EQ(t.app.store.Count(1), count + 2);
    }
}

// A copy that the temporary block file cannot take (a full disk) is told as every failed save is
// and stays in memory: the paste after 新建 inserts that copy, never the older one the block file
// still holds. The disk is made full by a file size limit in a child process.
TEST_F(MainToolbar, ACopyTheDiskCannotKeepIsToldAndStillPasted) {
    for (double x : {100, 200, 300}) DrawSomething(x);
    Select({{1, 0}});
    Click("拷贝");
    FlushCopyBuffer(t.app);
    const std::string block = TempBlockFilePath(t.app);
    const std::string older = ReadWholeFile(block);
    Select({{1, 1}, {1, 2}});
    Click("拷贝");
    t.app.current.ModifiedFlag = -1;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int fault = 0;
        prompt().QueueAnswer(AnswerNo);  // 文件未保存，要保存吗？
        Choose("打开", "新建");
        if (t.app.store.Count(1) != 0) fault |= 1;
        bool told = false;
        for (const auto& q : prompt().questions)
            if (q.text.rfind(MapSaveFailedMessage + block + "\n", 0) == 0 && q.title == MapSaveFailedTitle) told = true;
        if (!told) fault |= 2;
        Click("粘贴");
        const RecordStore& store = t.app.store;
        if (store.Count(1) != 2 || store.Get(1, 0).RecordX1 != 200 || store.Get(1, 1).RecordX1 != 300) fault |= 4;
        ::_exit(fault);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1 no new map, 2 not told, 4 not the last copy pasted";
    EXPECT_EQ(ReadWholeFile(block), older);
}

// Opening the query window or the attribute dialog puts "未设置" in for fields not named; that is
// no name: a compact save does not warn of field names, and a new map starts without them.
TEST_F(MainToolbar, FieldsShownAsNotNamedAreNoFieldNames) {
    DrawSomething();
    Click("查询A");
    ASSERT_TRUE(t.app.queryDialog);
    for (int c = 1; c <= 4; ++c) t.app.queryDialog->List1.SetListIndex(c);
    t.app.queryDialog->Command2.Click();
    ASSERT_EQ(t.app.mapFile.AttributeFieldNames[3], std::vector<std::string>{"未设置"});

    t.platform.dialogScript.QueueFile(Path("plan.jdx"), 2);
    Choose("存盘", "另存为jdx");
    EXPECT_TRUE(prompt().questions.empty());
    EXPECT_TRUE(std::filesystem::exists(Path("plan.jdx")));

    // A name given among them stays for the new map; the stand-ins go.
    t.app.mapFile.AttributeFieldNames[2] = {"未设置", "用途"};

    Choose("打开", "新建");
    const auto& names = t.app.mapFile.AttributeFieldNames;
    for (int c : {1, 3, 4}) EXPECT_EQ(names[c], std::vector<std::string>{""}) << c;
    EXPECT_EQ(names[2], (std::vector<std::string>{"", "用途"}));
}

}  // namespace
}  // namespace movra
