// The save-as-DXF command through the form model: the scripted save dialog chooses the form by its
// filter, the name gets its extension, an existing file is only replaced when the user agrees and
// the export is complete; a failing export keeps the old file and says why in the message line.
#include <gtest/gtest.h>

#include <functional>
#include <sys/resource.h>

#include "ExchangeTestMaps.h"
#include "document/SaveDialogs.h"
#include "platform/PictureBox.h"
#include "shell/InstallSeams.h"

namespace movra {
namespace {

using namespace exchange_test;

struct DialogApp : TestApp {
    DialogApp() {
        InstallHeaderTemplate(*this);
        SampleMap(app);
    }
    std::string Path(const std::string& name) const { return workFolder.Str() + "/" + name; }
    // Files in the work folder, the export's temporary files included.
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(workFolder.Path()),
                                                 std::filesystem::directory_iterator()));
    }
};

TEST(SaveAsDxfDialogTest, EachFilterWritesItsForm) {
    struct Case {
        int filter;
        const char* chosen;
        const char* written;
        size_t line;  // a line that only this form has
        const char* text;
    };
    const Case cases[] = {{1, "plan", "plan.dxf", 7, "AC1009"},
                          {2, "plan.txt", "plan.dxf", 7, "AC1015"},
                          {3, "plan.dxf", "plan.txt", 0, "jvqa"}};
    for (const Case& c : cases) {
        DialogApp t;
        t.platform.dialogScript.QueueFile(t.Path(c.chosen), c.filter);
        SaveAsDxfDialog(t.app);
        const auto& request = t.platform.dialogScript.requests.at(0).file;
        EXPECT_EQ(request.title, "保存为*.dxf");
        EXPECT_EQ(request.filter, "dxf_低版本|*.dxf|dxf_wtw格式|*.dxf|text_文本格式|*.txt");
        EXPECT_EQ(request.filterIndex, 1);
        ASSERT_TRUE(FileExists(t.Path(c.written))) << c.written;
        const auto lines = CrLfLines(ReadBytes(t.Path(c.written)));
        ASSERT_GT(lines.size(), c.line);
        EXPECT_EQ(lines[c.line], c.text) << c.filter;
        EXPECT_EQ(t.app.current.DialogFilePath, t.Path(c.written));
        EXPECT_EQ(t.FileCount(), 1u);
        EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
        EXPECT_TRUE(t.platform.promptScript.questions.empty());
        EXPECT_EQ(t.form1.Text2.Text(), "");
    }
}

TEST(SaveAsDxfDialogTest, TheExportRunsUnderTheBusyPointerAndOnlyWhenTheUserAgrees) {
    DialogApp t;
    int pointerDuringExport = -1;
    int exports = 0;
    t.app.exportSeams.dxfR12 = [&](App& app, const std::string&) {
        pointerDuringExport = app.form1->Picture1.MousePointer();
        ++exports;
        return true;
    };
    WriteWholeFile(t.Path("old.dxf"), "old");
    // No: the dialog comes back; cancelled there, nothing is written.
    t.platform.dialogScript.QueueFile(t.Path("old.dxf"), 1);
    t.platform.promptScript.QueueAnswer(AnswerNo);
    SaveAsDxfDialog(t.app);
    EXPECT_EQ(exports, 0);
    EXPECT_EQ(t.platform.dialogScript.requests.size(), 2u);
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.questions[0].text, "已有文件名，要覆盖吗？");
    EXPECT_EQ(t.platform.promptScript.questions[0].title, "保存dxf");

    t.platform.dialogScript.QueueFile(t.Path("old.dxf"), 1);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SaveAsDxfDialog(t.app);
    EXPECT_EQ(exports, 1);
    EXPECT_EQ(pointerDuringExport, PointerHourglass);
    EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);

    // The real exporter replaces the old file once it is complete.
    InstallExportSeams(t.app);
    t.platform.dialogScript.QueueFile(t.Path("old.dxf"), 1);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SaveAsDxfDialog(t.app);
    EXPECT_EQ(CrLfLines(ReadBytes(t.Path("old.dxf"))).back(), "EOF");
}

TEST(SaveAsDxfDialogTest, TheMainWindowHandsTheExportersToTheCommand) {
    TestApp t;
    EXPECT_TRUE(t.app.exportSeams.dxfR12);
    EXPECT_TRUE(t.app.exportSeams.dxfOwnDialect);
    EXPECT_TRUE(t.app.exportSeams.coordinateText);
}

// A failed export leaves no half-written file: the old file stays as it was, and the message line
// gives the description and the number.
TEST(SaveAsDxfDialogTest, AFailingExportKeepsTheOldFileAndSaysWhy) {
    struct Case {
        const char* what;
        int filter;
        const char* name;
        std::function<void(DialogApp&)> breakIt;
        std::string message;
    };
    // The disk takes no more than a few bytes: every write beyond them fails (as on a full disk or a
    // folder that refuses the file; a read-only folder does not stop a test run as root).
    auto smallDisk = [](DialogApp&) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    const Case cases[] = {
        {"release 12 on a full disk", 1, "map.dxf", smallDisk, "磁盘已满61"},
        {"own dialect on a full disk", 2, "map.dxf", smallDisk, "磁盘已满61"},
        {"coordinate text on a full disk", 3, "map.txt", smallDisk, "磁盘已满61"},
        {"own dialect without its header template", 2, "map.dxf",
         [](DialogApp& t) { std::filesystem::remove(t.programFolder.Str() + "/dxf头文档.txt"); }, "文件未找到53"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogApp t;
        WriteWholeFile(t.Path(c.name), "old");
        t.platform.dialogScript.QueueFile(t.Path(c.name), c.filter);
        t.platform.promptScript.QueueAnswer(AnswerYes);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        c.breakIt(t);
        SaveAsDxfDialog(t.app);
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(ReadBytes(t.Path(c.name)), "old");
        EXPECT_EQ(t.FileCount(), 1u);
        EXPECT_EQ(t.form1.Text2.Text(), c.message);
        EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
    }
}

}  // namespace
}  // namespace movra
