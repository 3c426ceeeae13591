#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "basic/Files.h"
#include "document/InsertDrawingFile.h"
#include "document/JdxFile.h"
#include "document/OpenDialogs.h"
#include "document/RecentFiles.h"
#include "document/SaveDialogs.h"
#include "document/StoreRecord.h"
#include "document/WorkSettings.h"
#include "document/csForm2.h"
#include "document/RecordTypes.h"
#include "shell/StartUp.h"
#include "support/TestApp.h"

namespace movra {
namespace {

void DrawLine(App& app, int layer, double x) {
    app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
    StoreRecord(app, StoreFull, 2, x, 0, x + 10, 5, 0, 0, 0, 0, "");
}

TEST(OpenSaveTest, SaveNamesGetTheMapExtension) {
    for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"/d/plan.txt", "/d/plan.jdx"}, {"/d/ab", "/d/ab.jdx"}, {"/d/A.JDX", "/d/A.JDX"},
             {"/d.x/plan", "/d.x/plan.jdx"}, {"/d/my.map.wtw", "/d/my.map.jdx"}})
        EXPECT_EQ(ForceExtension(in, ".jdx"), out) << in;
}

TEST(OpenSaveTest, SaveOpenRoundTripThroughTheDialogs) {
    TestApp t;
    App& app = t.app;
    DrawLine(app, 1, 100);
    DrawLine(app, 1, 200);
    app.current.ModifiedFlag = -1;
    const std::string chosen = t.workFolder.Str() + "/plan.txt";
    t.platform.dialogScript.QueueFile(chosen, 2);
    SaveAsJdxDialog(app);
    const std::string saved = t.workFolder.Str() + "/plan.jdx";
    ASSERT_TRUE(FileExists(saved));
    EXPECT_EQ(t.platform.dialogScript.requests.at(0).file.title, "保存为*.jdx（简短型）");
    EXPECT_EQ(t.platform.dialogScript.requests.at(0).file.filter, "所有文件|*.*|Movra_jdx_文件|*.jdx");
    EXPECT_EQ(t.form1.Caption(), "MOVRA_" + saved);
    EXPECT_EQ(app.mapFile.RecentFiles[0], saved);
    EXPECT_EQ(app.current.ModifiedFlag, 0);

    // Existing file: "No" brings the dialog back, "Yes" writes.
    t.platform.dialogScript.QueueFile(saved, 2);
    t.platform.dialogScript.QueueFile(saved, 2);
    t.platform.promptScript.QueueAnswer(AnswerNo);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SaveAsJdxDialog(app);
    ASSERT_EQ(t.platform.promptScript.questions.size(), 2u);
    EXPECT_EQ(t.platform.promptScript.questions[0].text, "已有文件名，要覆盖吗？");
    EXPECT_EQ(t.platform.promptScript.questions[0].title, "保存jdx");
    EXPECT_EQ(t.platform.dialogScript.requests.size(), 3u);

    TestApp fresh;
    fresh.platform.dialogScript.QueueFile(saved, 2);
    OpenJdxFile(fresh.app);
    EXPECT_EQ(fresh.form1.Caption(), "Movra_jdx_plan.jdx");
    ASSERT_GE(fresh.app.store.Count(1), 2);  // the map files keep the open slot too
    EXPECT_EQ(fresh.app.store.Get(1, 1).RecordX1, 200);
    EXPECT_EQ(fresh.app.store.Get(1, 1).RecordType, 2);
    EXPECT_EQ(fresh.app.mapFile.MergedFileNames.at(1), "plan.jdx");
    EXPECT_EQ(fresh.app.current.CurrentFilePath, saved);
}

TEST(OpenSaveTest, SaveFileDialogFilterChoosesTheFileTypeAndCancelKeepsTheMap) {
    TestApp t;
    DrawLine(t.app, 1, 1);
    t.platform.dialogScript.QueueFile(t.workFolder.Str() + "/a.wtw", 1);
    SaveFileDialog(t.app);
    EXPECT_TRUE(FileExists(t.workFolder.Str() + "/a.jdx"));
    EXPECT_FALSE(FileExists(t.workFolder.Str() + "/a.wtw"));

    // A "yes, save" whose dialog is cancelled does not replace the map.
    t.app.current.ModifiedFlag = -1;
    t.app.current.CurrentFilePath = "newfilse_x";
    t.platform.promptScript.QueueAnswer(AnswerYes);
    EXPECT_FALSE(SaveBeforeReplacing(t.app));
    EXPECT_EQ(t.platform.promptScript.questions.at(0).text, "要保存文件吗？");
    t.platform.promptScript.QueueAnswer(AnswerCancel);
    EXPECT_FALSE(SaveBeforeReplacing(t.app));
    t.platform.promptScript.QueueAnswer(AnswerNo);
    EXPECT_TRUE(SaveBeforeReplacing(t.app));
}

// Saving the work buffer writes only the buffer: the open map stays unsaved, so leaving still asks
// to save it. A name typed without an extension gets ".wtw".
TEST(OpenSaveTest, AClipSaveLeavesTheMapUnsaved) {
    TestApp t;
    App& app = t.app;
    DrawLine(app, 1, 100);
    app.current.ModifiedFlag = -1;
    app.current.CurrentFilePath = t.workFolder.Str() + "/map.wtw";
    app.clip.Items.assign(2, MapRecord{});
    app.clip.Items[1] = app.store.Get(1, 0);
    app.clip.ClipBufferCount = 1;
    t.platform.dialogScript.QueueFile(t.workFolder.Str() + "/clip", 1);
    SaveClipDialog(app);
    EXPECT_TRUE(FileExists(t.workFolder.Str() + "/clip.wtw"));
    EXPECT_FALSE(FileExists(t.workFolder.Str() + "/clip"));
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_EQ(app.current.CurrentFilePath, t.workFolder.Str() + "/map.wtw");

    t.platform.promptScript.QueueAnswer(AnswerYes);     // 要退出吗？
    t.platform.promptScript.QueueAnswer(AnswerCancel);  // 要保存文件吗？
    int cancel = 0, unloadMode = 0;
    RunShutdown(app, cancel, unloadMode);
    EXPECT_EQ(t.platform.promptScript.LastText(), "要保存文件吗？");
    EXPECT_EQ(cancel, 1);
}

// The compact file keeps no attribute texts, field names or linked images: before such a map is
// saved as .jdx the user is told what will be lost and may go back; a map without them is saved
// without a question.
TEST(OpenSaveTest, ACompactSaveSaysWhatItWouldDrop) {
    struct Case {
        const char* name;
        std::function<void(App&)> add;
        const char* lost;  // nullptr: no question
    };
    const Case cases[] = {
        {"plain map", [](App&) {}, nullptr},
        {"attribute text", [](App& app) { app.store.At(1, 0).RecordExtra = "门牌12"; }, "属性文本"},
        {"field names", [](App& app) { app.mapFile.AttributeFieldNames[3] = {"", "地类"}; }, "属性字段名"},
        {"linked image", [](App& app) { app.store.At(1, 1).RecordType = TypeImage; }, "链接图像"},
        {"fields only shown as not named",
         [](App& app) {
             app.mapFile.AttributeFieldNames[1] = {"未设置"};
             app.mapFile.AttributeFieldNames[2] = {"未设置", "", "未设置"};
         },
         nullptr},
        {"one named field among them",
         [](App& app) { app.mapFile.AttributeFieldNames[4] = {"未设置", "用途"}; }, "属性字段名"},
        {"all three",
         [](App& app) {
             app.store.At(1, 0).RecordExtra = "x";
             app.mapFile.AttributeFieldNames[1] = {"名称"};
             app.store.At(1, 1).RecordType = TypeImage;
         },
         "属性文本、属性字段名、链接图像"},
        {"a deleted record's attribute", [](App& app) {
             app.store.At(1, 0).RecordExtra = "x";
             app.store.At(1, 0).RecordType = 102;
         }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        App& app = t.app;
        DrawLine(app, 1, 100);
        DrawLine(app, 1, 200);
        c.add(app);
        app.current.ModifiedFlag = -1;
        const std::string path = t.workFolder.Str() + "/plan.jdx";
        auto& questions = t.platform.promptScript.questions;

        // Through the dialog: going back shows the dialog again, and nothing is written.
        t.platform.dialogScript.QueueFile(path, 2);
        t.platform.dialogScript.QueueCancel();
        t.platform.promptScript.QueueAnswer(AnswerNo);
        SaveAsJdxDialog(app);
        if (!c.lost) {
            EXPECT_TRUE(questions.empty());
            EXPECT_TRUE(FileExists(path));
            continue;
        }
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_NE(questions[0].text.find(std::string("本图的") + c.lost + "，"), std::string::npos) << questions[0].text;
        EXPECT_NE(questions[0].text.find("wtw"), std::string::npos);
        EXPECT_EQ(questions[0].title, CompactSaveTitle);
        EXPECT_EQ(t.platform.dialogScript.requests.size(), 2u);
        EXPECT_FALSE(FileExists(path));
        EXPECT_EQ(app.current.ModifiedFlag, -1);

        // Saving to the map's own .jdx before it is replaced: going back keeps it open.
        app.current.CurrentFilePath = path;
        t.platform.promptScript.QueueAnswer(AnswerYes);  // 要保存文件吗？
        t.platform.promptScript.QueueAnswer(AnswerNo);   // what would be lost
        EXPECT_FALSE(SaveBeforeReplacing(app));
        EXPECT_FALSE(FileExists(path));

        // Going on saves it.
        t.platform.dialogScript.QueueFile(path, 2);
        t.platform.promptScript.QueueAnswer(AnswerYes);
        SaveAsJdxDialog(app);
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(app.current.ModifiedFlag, 0);
    }
}

TEST(OpenSaveTest, RecentFilesShiftAndReadBack) {
    TestApp t;
    App& app = t.app;
    app.mapFile.RecentFiles = {"C:\\m\\a.jdx", "b", "c", "d"};
    NoteRecentFile(app, "D:\\maps\\e.jdx");
    EXPECT_EQ(app.mapFile.RecentFiles, (std::array<std::string, 4>{"D:\\maps\\e.jdx", "C:\\m\\a.jdx", "b", "c"}));
    NoteRecentFile(app, "d:\\MAPS\\E.JDX");
    EXPECT_EQ(app.mapFile.RecentFiles[1], "C:\\m\\a.jdx");
    EXPECT_EQ(PathTail("D:\\maps\\plan.jdx"), "maps\\plan.jdx");
    EXPECT_EQ(PathTail("D:\\plan.jdx"), "D:\\plan.jdx");
    EXPECT_EQ(PathTail("plan.jdx"), "plan.jdx");
    EXPECT_EQ(PathTail("/home/u/plan.jdx"), "u/plan.jdx");

    // Opening a recent "1." placeholder only sets the dialog path.
    app.mapFile.RecentFiles[2] = "1.";
    OpenRecentFile(app, 2);
    EXPECT_EQ(app.current.DialogFilePath, "1.");
    EXPECT_EQ(app.mapFile.RecentFiles[0], "D:\\maps\\e.jdx");

    WriteTextLines(t.workFolder.Str() + "/yourwork.ini", {"p1", "p2", "p3", "p4", " 365.5", " 50000"});
    ReadWorkIni(app);
    EXPECT_EQ(app.mapFile.RecentFiles[3], "p4");
    EXPECT_FLOAT_EQ(app.work.ScreenWidthMm, 365.5f);
    EXPECT_EQ(app.work.ScreenTwipsPerMetre, 50000);
    EXPECT_EQ(app.settings.FileTypesRegistered, "");
}

TEST(OpenSaveTest, OpeningARecentFileAsksFirstAndTakesItsScale) {
    TestApp t;
    DrawLine(t.app, 1, 5);
    t.app.view.ProjectParams[0] = 2000;
    const std::string path = t.workFolder.Str() + "/r.jdx";
    WriteJdxFile(t.app, path);
    TestApp other;
    other.app.mapFile.RecentFiles[1] = path;
    other.app.current.ModifiedFlag = -1;
    other.platform.promptScript.QueueAnswer(AnswerCancel);
    OpenRecentFile(other.app, 1);
    EXPECT_EQ(other.app.store.Count(1), 0);
    other.platform.promptScript.QueueAnswer(AnswerNo);
    OpenRecentFile(other.app, 1);
    EXPECT_GE(other.app.store.Count(1), 1);
    EXPECT_EQ(other.app.store.Get(1, 0).RecordX1, 5);
    EXPECT_DOUBLE_EQ(other.app.view.ScaleFactor, 2);
    EXPECT_EQ(other.form1.Caption(), path);
    EXPECT_EQ(other.app.mapFile.RecentFiles[0], path);
    EXPECT_EQ(other.app.mapFile.RecentFiles[2], path);
}

// The work settings file holds its numbers in the print form, a blank before a positive number,
// and reads back whatever a number line holds without failing.
TEST(OpenSaveTest, WorkSettingsWriteThePrintFormAndReadAnyNumber) {
    TestApp t;
    App& app = t.app;
    app.mapFile.RecentFiles = {"a", "b", "c", "d"};
    app.work.ScreenWidthMm = 365.5f;
    app.work.ScreenTwipsPerMetre = 50000;
    app.settings.FileTypesRegistered = "已注册wtw_jdx";
    WriteWorkIni(app);
    const std::vector<std::string> lines = ReadTextLines(t.workFolder.Str() + "/yourwork.ini");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4], " 365.5 ");
    EXPECT_EQ(lines[5], " 50000 ");
    app.work = {};
    ReadWorkIni(app);
    EXPECT_FLOAT_EQ(app.work.ScreenWidthMm, 365.5f);
    EXPECT_EQ(app.work.ScreenTwipsPerMetre, 50000);

    WriteTextLines(t.workFolder.Str() + "/yourwork.ini", {"p1", "p2", "p3", "p4", "1e400", "-1e400x", "m"});
    ReadWorkIni(app);
    EXPECT_EQ(app.work.ScreenWidthMm, 0);
    EXPECT_EQ(app.work.ScreenTwipsPerMetre, 0);
    EXPECT_EQ(app.settings.FileTypesRegistered, "m");
}

}  // namespace
}  // namespace movra
