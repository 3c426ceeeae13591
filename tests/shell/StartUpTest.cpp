#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "basic/Files.h"
#include "basic/Gbk.h"
#include "document/WorkSettings.h"
#include "shell/StartUp.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"

namespace movra {
namespace {

std::string WorkIni(const TestApp& t) { return (t.workFolder.Path() / "yourwork.ini").string(); }

void WriteIni(const TestApp& t, const std::vector<std::string>& lines) { WriteTextLines(WorkIni(t), lines); }

bool Exit(TestApp& t) { return t.form1.Unload(UnloadFromControlMenu); }

TEST(StartUpTest, FirstStartRegistersChimesAndExitWritesTheSettingsFile) {
    TestApp t;
    t.form1.Load();
    EXPECT_EQ(t.platform.fileTypeLog.registrations.size(), 2u);  // ".wtw" and ".jdx", once
    EXPECT_EQ(t.platform.fileTypeLog.registrations[1].extension, ".jdx");
    const std::vector<SilentSound::Tone> chime = {{131, 100}, {147, 100}, {165, 100}, {176, 100},
                                                  {196, 100}, {220, 100}, {247, 100}};
    EXPECT_EQ(t.platform.silentSound.beeps, chime);

    t.platform.promptScript.QueueAnswer(AnswerYes);
    EXPECT_TRUE(Exit(t));
    EXPECT_EQ(t.platform.promptScript.questions.at(0).text, "要退出吗？");
    const std::string bytes = ReadWholeFile(WorkIni(t));
    // Numbers in their print form: a blank before (and after) a positive number.
    EXPECT_EQ(bytes, "1.\r\n2.\r\n3.\r\n4.\r\n 365 \r\n 50000 \r\n" + ToGbk("已注册wtw_jdx") + "\r\n");

    // The marker in any letter case keeps the next start from registering again.
    TestApp again;
    WriteIni(again, {"a", "b", "c", "d", "381", "50000", "已注册WTW_JDX"});
    again.form1.Load();
    EXPECT_TRUE(again.platform.fileTypeLog.registrations.empty());
}

TEST(StartUpTest, SettingsFileValuesAreClampedThenTheMonitorChoiceApplies) {
    struct Case {
        std::vector<std::string> lines;
        float widthMm;
        std::int32_t clamped;  // after the clamps of the work settings
        std::int32_t twips;    // after the settings window's monitor choice
        int monitor;
    };
    const Case cases[] = {
        {{"1", "2", "3", "4", "381", "70000", "x"}, 381, 60000, 60714, 0},
        {{"1", "2", "3", "4", "381", "0", "x"}, 381, 50000, 50000, 1},
        {{"1", "2", "3", "4", "381", "abc", "x"}, 381, 50000, 50000, 1},
        {{"1", "2", "3", "4", "99.9", "44736", "x"}, 365, 44736, 44736, 2},
        {{"1", "2", "3", "4", "381", "42070", "x"}, 381, 42070, 42070, 4},
        {{"1", "2", "3", "4", "-5", "-7", "x"}, 365, -7, -7, 4},
        // A file that ends after line 5 gives line 5's number to line 6 as well.
        {{"1", "2", "3", "4", "40000"}, 40000, 40000, 40000, 4},
    };
    for (const Case& c : cases) {
        TestApp t;
        WriteIni(t, c.lines);
        ReadWorkIni(t.app);
        ApplyWorkSettingDefaults(t.app);
        SCOPED_TRACE(c.lines.back());
        EXPECT_EQ(t.app.work.ScreenWidthMm, c.widthMm);
        EXPECT_EQ(t.app.work.ScreenTwipsPerMetre, c.clamped);

        TestApp started;
        WriteIni(started, c.lines);
        started.form1.Load();
        EXPECT_EQ(started.app.work.ScreenTwipsPerMetre, c.twips);
        started.form1.SettingsWindow().Load();
        EXPECT_TRUE(started.form1.SettingsWindow().Option20(c.monitor).Value());
    }
}

TEST(StartUpTest, ScaleBoxAndViewStateAfterStart) {
    TestApp t;
    t.form1.Load();
    EXPECT_EQ(t.form1.Text4.Text(), "比例尺Ⅰ：500");
    EXPECT_DOUBLE_EQ(t.app.view.GroundPerScreenMm, 0.5);
    EXPECT_DOUBLE_EQ(t.app.view.DisplayZoom, 2.0);  // start-up's own value after the computation
    EXPECT_DOUBLE_EQ(t.app.view.ScaleFactor, 0.5);
    EXPECT_FLOAT_EQ(t.app.view.PointMarkRadius, 0.2f);
    EXPECT_EQ(t.app.reduction.ReductionUnit, 100000);
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], 500);
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[5], 120);
    EXPECT_DOUBLE_EQ(t.app.settings.EllipsoidA, 6378140);
    EXPECT_FALSE(t.app.form1->SettingsWindow().Loaded());

    TestApp nineteen;
    WriteIni(nineteen, {"1", "2", "3", "4", "381", "44736", "已注册wtw_jdx"});
    nineteen.form1.Load();
    EXPECT_EQ(nineteen.form1.Text4.Text(), "比例尺Ⅰ：447.36");
}

TEST(StartUpTest, LayersSelectorsAndDefaults) {
    TestApp t;
    t.form1.Load();
    const App& app = t.app;
    const stForm1& form = t.form1;
    EXPECT_EQ(app.store.NextLayerIndex, 2);
    EXPECT_EQ(app.store.LayerCount, 1);
    EXPECT_EQ(app.store.Count(0), 1000);
    EXPECT_EQ(app.store.LayerNames[0], "层0");
    EXPECT_EQ(app.store.LayerColorIndex[1], 5);
    EXPECT_EQ(form.ImageCombo1.ItemCount(), 1);
    EXPECT_EQ(t.form1.ImageCombo1.Item(1).Key(), "k1");
    EXPECT_EQ(form.ImageCombo1.Text(), "层1");
    EXPECT_EQ(form.ImageCombo2.ItemCount(), 254);
    EXPECT_EQ(t.form1.ImageCombo2.Item(254).Key(), "k254");
    EXPECT_EQ(form.ImageCombo2.Text(), app.tables.ColorNames[5]);
    EXPECT_EQ(app.current.CurrentColor, app.tables.ColorPalette[5]);
    EXPECT_EQ(form.Combo3.ListCount(), 154);
    EXPECT_EQ(form.Combo3.Text(), "细黑");
    // Seven symbol pages of 100 buttons; the picture buttons white with an empty caption, the
    // line types and patterns named.
    EXPECT_EQ(form.Command5.Count(), 700);
    EXPECT_EQ(form.Command5(350).Caption(), "");
    EXPECT_EQ(form.Command5(350).BackColor(), MakeRgb(255, 255, 255));
    EXPECT_EQ(form.Command5(351).Caption(), "陡坎");
    EXPECT_EQ(form.Command5(599).Caption(), "#");
    EXPECT_EQ(form.Command5(600).Caption(), "");
    EXPECT_EQ(form.Combo2.ListCount(), 58);
    EXPECT_EQ(form.Combo2.Text(), "10");
    EXPECT_EQ(form.Combo1.ListCount(), 16);
    EXPECT_TRUE(form.Command7.Enabled());
    EXPECT_TRUE(app.tables.ColorNames[255].empty());
    EXPECT_EQ(app.tool.CommandMode, ModeZoomIn);
    EXPECT_EQ(app.mapFile.RecentFiles[2], "3.");
    EXPECT_EQ(app.selfMade.SelfMadeSymbolFile, t.programFolder.Str() + "/符号库/符号库1.Zfh");
    EXPECT_DOUBLE_EQ(app.settings.SmoothCoefficients[1][0], 25.0 / 36);
    EXPECT_DOUBLE_EQ(app.settings.SmoothCoefficients[6][2], 1);
    EXPECT_EQ(form.Picture1.Left(), 1920);
    EXPECT_EQ(form.Picture1.Top(), stForm1::CanvasTop);
    EXPECT_EQ(form.Label5.ToolTipText(), "符号方向选择");
    // The symbol direction shows its state from the start, as a click would show it.
    EXPECT_EQ(form.Label5.Caption(), "正北符号");
    EXPECT_EQ(form.Label5.BackColor(), app.tables.ColorPalette[8]);
}

TEST(StartUpTest, ShutdownQuestions) {
    struct Case {
        const char* name;
        bool modified;
        std::vector<int> answers;
        bool exits;
        bool fileWritten;
    };
    const Case cases[] = {
        {"No keeps running", false, {AnswerNo}, false, false},
        {"unmodified map leaves", false, {AnswerYes}, true, true},
        {"modified, No leaves", true, {AnswerYes, AnswerNo}, true, true},
        {"modified, Cancel stays", true, {AnswerYes, AnswerCancel}, false, true},
        // The save dialog was not taken through: the map stays open.
        {"modified, save not done stays", true, {AnswerYes, AnswerYes}, false, true},
    };
    for (const Case& c : cases) {
        TestApp t;
        t.form1.Load();
        t.app.current.ModifiedFlag = c.modified ? -1 : 0;
        for (int answer : c.answers) t.platform.promptScript.QueueAnswer(answer);
        EXPECT_EQ(Exit(t), c.exits) << c.name;
        EXPECT_EQ(FileExists(WorkIni(t)), c.fileWritten) << c.name;
        EXPECT_EQ(t.platform.promptScript.questions.size(), c.answers.size()) << c.name;
    }
}

TEST(StartUpTest, SavingOnExitWritesTheMapAndLeaves) {
    TestApp t;
    t.form1.Load();
    t.app.current.ModifiedFlag = -1;
    const std::string map = (t.workFolder.Path() / "exit.jdx").string();
    t.platform.dialogScript.QueueFile(map);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    EXPECT_TRUE(Exit(t));
    EXPECT_TRUE(FileExists(map));
    EXPECT_EQ(t.app.current.ModifiedFlag, 0);
}

TEST(StartUpTest, UnwritableSettingsFileIsReportedAndTheProgramStillExits) {
    TestApp t;
    t.form1.Load();
    std::filesystem::create_directory(WorkIni(t));  // a folder where the file should go
    t.platform.promptScript.QueueAnswer(AnswerYes);
    EXPECT_TRUE(Exit(t));
    ASSERT_EQ(t.platform.promptScript.questions.size(), 2u);
    EXPECT_NE(t.platform.promptScript.questions[1].text.find("工作设置文件未能保存"), std::string::npos);
}

}  // namespace
}  // namespace movra
