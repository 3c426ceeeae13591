#include <gtest/gtest.h>

#include <cmath>

#include <sys/stat.h>
#include <random>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Files.h"
#include "basic/Gbk.h"
#include "editing/ToolState.h"
#include "exchange/PointGroupImport.h"
#include "exchange/wbxxFrm.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"

namespace movra {
namespace {

class PointGroupImport : public ::testing::Test {
protected:
    PointGroupImport() {
        t.form1.Load();
        t.app.current.CurrentColor = MakeRgb(0, 255, 0);
    }

    // Writes the lines (GBK, CR LF) and queues the file for the open dialog.
    std::string File(const std::string& content, const std::string& name = "points.txt") {
        const std::string path = t.workFolder.Str() + "/" + name;
        WriteWholeFile(path, ToGbk(content));
        t.platform.dialogScript.QueueFile(path, 2);
        return path;
    }
    void Import(const std::string& format, const std::string& content) {
        SetPointGroupFormat(t.app, format);
        File(content);
        ImportPointGroupText(t.app, "50");
    }
    int Points() const { return t.app.store.Count(1); }
    const MapRecord& Point(int slot) const { return t.app.store.Get(1, slot); }

    TestApp t;
};

TEST_F(PointGroupImport, ALineBecomesANamedPoint) {
    Import("2,3,4,5,6", "P1；3000.5:2000.25;12.3，5\r\n");
    ASSERT_EQ(Points(), 1);
    const MapRecord& r = Point(0);
    EXPECT_EQ(r.RecordType, 50);
    EXPECT_DOUBLE_EQ(r.RecordX1, 2000.25);
    EXPECT_DOUBLE_EQ(r.RecordY1, 3000.5);
    EXPECT_FLOAT_EQ(r.RecordZ1, 12.3f);
    EXPECT_FLOAT_EQ(r.RecordZ2, 12.3f);
    EXPECT_FLOAT_EQ(r.RecordZ4, 5);
    EXPECT_DOUBLE_EQ(r.RecordX2, 8);
    EXPECT_DOUBLE_EQ(r.RecordY2, 0);
    EXPECT_EQ(r.RecordPen, 8);
    EXPECT_EQ(r.RecordColor, MakeRgb(0, 255, 0));
    EXPECT_EQ(std::string(r.RecordFont), "宋体");
    EXPECT_EQ(std::string(r.RecordText), "P1");
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
}

// A line under a format, and what the point becomes: X1, Y1, Z1, Z4 and the name.
struct LineCase {
    const char* format;
    const char* line;
    bool stored;
    double x, y, z, grade;
    const char* name;
};

TEST_F(PointGroupImport, FieldsAreReadByTheFormat) {
    const LineCase cases[] = {
        {"2,3,4,5,6", "P1 3000.5 2000.25 12.3 5", true, 2000.25, 3000.5, 12.3, 5, "P1"},
        {"2,3,4,5,6", "P1 3000.5 2000.25 12.3", true, 2000.25, 3000.5, 12.3, 7, "P1"},
        {"2,3,4,5,6", "P1:3000.5;2000.25，12.3；5", true, 2000.25, 3000.5, 12.3, 5, "P1"},
        // A comma-separated line, and a format typed with blanks after its commas.
        {"2,3,4,5,6", "P1,3000.5, 2000.25,12.3,5", true, 2000.25, 3000.5, 12.3, 5, "P1"},
        {"2, 3, 4, 5, 6", "P1 3000.5 2000.25 12.3 5", true, 2000.25, 3000.5, 12.3, 5, "P1"},
        // A comma with blanks beside it is one separator; a bare comma separates in a line whose
        // blanks all stand beside commas, and stays in its field in a blank-separated line.
        {"2,3,4,5,6", "K1,3456800.125,512400.5,12.5,7", true, 512400.5, 3456800.125, 12.5, 7, "K1"},
        {"2,3,4,5,6", "K2, 3456810.25, 512410.75, 13.5, 6", true, 512410.75, 3456810.25, 13.5, 6, "K2"},
        {"2,3,4,5,6", "K3 ,3456810.25 , 512410.75,13.5 ,  6", true, 512410.75, 3456810.25, 13.5, 6, "K3"},
        {"2,3,4,5,6", "P4,5 3521950 512450 47.5 6", true, 512450, 3521950, 47.5, 6, "P4,5"},
        {"2,3,4,5,6", "P4,5 3521950, 512450 47.5 6", true, 512450, 3521950, 47.5, 6, "P4,5"},
        {"2,3,4,5,6", "P4,5:3521950;512450 47.5 6", true, 512450, 3521950, 47.5, 6, "P4,5"},
        // Two commas in a row enclose an empty field, as two blanks do.
        {"2,3,4,5,6", "K1,,3456800.125,512400.5,12.5", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "K1, ,3456800.125,512400.5,12.5", false, 0, 0, 0, 0, ""},
        // An elevation that is no number reads its numeric start, or 0.
        {"2,3,4,5,6", "K9 12 34 7.5e1m", true, 34, 12, 75, 7, "K9"},
        // Coordinates that are no numbers (two blanks enclose an empty field), or lie beyond the
        // farthest storable coordinate: the line gives no point.
        {"2,3,4,5,6", "P1  3000.5 2000.25 12.3", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "K9 12abc x 7.5e1", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "P1 1e308 2 3", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "P1 5 -2e9 3", false, 0, 0, 0, 0, ""},
        // A field the format does not name takes its default: no grade from the name column.
        {"2,3,4,5", "G7 10 20 30 4", true, 20, 10, 30, 7, "G7"},
        {"6,2,3,4,5", "3 G7 10 20 30", true, 20, 10, 30, 3, "G7"},
        {"1,2,4,3,5,6,7", "1 A 20 10 5 2 note", true, 20, 10, 5, 2, "A"},
        {"4,3", "20 10", true, 20, 10, 0, 7, ""},
        // Too few fields for what the format reads, or no coordinates at all: nothing.
        {"2,3,4,5,6", "P1 3000.5 2000.25", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "", false, 0, 0, 0, 0, ""},
        {"2,5", "P1 12", false, 0, 0, 0, 0, ""},
        {"", "1 2 3 4 5", false, 0, 0, 0, 0, ""},
        {"2,3,4,5,6", "P1 1 2 1e60 5", false, 0, 0, 0, 0, ""},
    };
    for (const LineCase& c : cases) {
        TestApp run;
        run.form1.Load();
        SetPointGroupFormat(run.app, c.format);
        const std::string path = run.workFolder.Str() + "/one.txt";
        WriteWholeFile(path, ToGbk(c.line));
        run.platform.dialogScript.QueueFile(path, 2);
        ImportPointGroupText(run.app, "50");
        ASSERT_EQ(run.app.store.Count(1), c.stored ? 1 : 0) << c.format << " | " << c.line;
        if (!c.stored) continue;
        const MapRecord& r = run.app.store.Get(1, 0);
        EXPECT_DOUBLE_EQ(r.RecordX1, c.x) << c.line;
        EXPECT_DOUBLE_EQ(r.RecordY1, c.y) << c.line;
        EXPECT_FLOAT_EQ(r.RecordZ1, static_cast<float>(c.z)) << c.line;
        EXPECT_FLOAT_EQ(r.RecordZ4, static_cast<float>(c.grade)) << c.line;
        EXPECT_EQ(std::string(r.RecordText), c.name) << c.line;
    }
}

TEST_F(PointGroupImport, TheListEndsAtEofOrEndOrTheEndOfTheFile) {
    Import("2,3,4,5,6", "A 1 2 3\r\nB 4 5 6\r\nC 7 8 9");
    EXPECT_EQ(Points(), 3);
    EXPECT_EQ(std::string(Point(2).RecordText), "C");
    for (const char* end : {"EOF", "eof", " End ", "END"}) {
        TestApp run;
        run.form1.Load();
        SetPointGroupFormat(run.app, "2,3,4,5,6");
        const std::string path = run.workFolder.Str() + "/end.txt";
        WriteWholeFile(path, std::string("A 1 2 3\r\n") + end + "\r\nB 4 5 6\r\n");
        run.platform.dialogScript.QueueFile(path, 2);
        ImportPointGroupText(run.app, "50");
        EXPECT_EQ(run.app.store.Count(1), 1) << end;
        EXPECT_EQ(run.app.textPlacement.PendingTextLines, std::vector<std::string>{"A 1 2 3"}) << end;
    }
    // Nothing at all, and a list that ends before its first line.
    const int before = Points();
    Import("2,3,4,5,6", "");
    Import("2,3,4,5,6", "END\r\nA 1 2 3\r\n");
    EXPECT_EQ(Points(), before);
}

TEST_F(PointGroupImport, PointsFollowEachOtherAndTheNextRecordGoesAfterThem) {
    MapRecord& first = t.app.store.At(1, 0);
    first.RecordType = 2;
    t.app.store.Count(1) = 1;
    Import("2,3,4,5,6", "A 1 2 3\r\nB 4 5 6\r\n");
    ASSERT_EQ(Points(), 3);
    EXPECT_EQ(std::string(Point(1).RecordText), "A");
    EXPECT_EQ(std::string(Point(2).RecordText), "B");
}

TEST_F(PointGroupImport, ArticleLinesWaitForTheParagraphTool) {
    Import("999", "  第一行文章  \r\n第二行\r\nEOF\r\n不读");
    EXPECT_EQ(Points(), 0);
    EXPECT_EQ(t.app.textPlacement.PendingTextLines, (std::vector<std::string>{"第一行文章", "第二行"}));
    EXPECT_EQ(t.app.tool.CommandMode, ModeArticleText);
    EXPECT_EQ(t.form1.Text2.Text(), "文章张贴");
    EXPECT_TRUE(t.form1.Text8.Locked());
}

TEST_F(PointGroupImport, ALayerThatFillsUpGrows) {
    ASSERT_EQ(t.app.store.LayerCapacity, 5000);
    std::string content;
    for (int k = 0; k < 6000; ++k) content += "P" + std::to_string(k) + " " + std::to_string(k) + " 1 2 3\r\n";
    Import("2,3,4,5,6", content);
    ASSERT_EQ(Points(), 6000);
    EXPECT_GE(t.app.store.LayerCapacity, 6001);
    EXPECT_EQ(std::string(Point(5999).RecordText), "P5999");
    EXPECT_DOUBLE_EQ(Point(5999).RecordY1, 5999);
    EXPECT_EQ(t.app.store.CurrentLayer, 1);
}

TEST_F(PointGroupImport, EveryImportSaysHowManyPointsWereStoredAndWhyLinesWereSkipped) {
    Import("2,3,4,5,6", "A 1 2 3\r\nB x y 3\r\nC 1e308 2 3\r\nD 4 5 6\r\nE 7\r\n");
    EXPECT_EQ(Points(), 2);
    EXPECT_EQ(t.platform.promptScript.LastText(), "points.txt：读入2个点，跳过3行（第2行：坐标不是数字）。");
    Import("2,3,4,5,6", "A 1 2 3\r\n");
    EXPECT_EQ(t.platform.promptScript.LastText(), "points.txt：读入1个点。");
    Import("2,5", "A 1 2 3\r\n");
    EXPECT_EQ(t.platform.promptScript.LastText(), PointFormatWithoutCoordinatesMessage);
}

// Blank lines between the points are passed over without a word; a skipped line is still named
// by its line in the file.
TEST_F(PointGroupImport, BlankLinesAreNoSkippedLines) {
    Import("2,3,4,5,6",
           "\r\nP4,5 3521950 512450 47.5 6\r\n\r\n  \r\nK2, 3456810.25, 512410.75, 13.5, 6\r\n\r\n"
           "K1,3456800.125,512400.5,12.5,7\r\n\r\n");
    ASSERT_EQ(Points(), 3);
    EXPECT_EQ(t.platform.promptScript.LastText(), "points.txt：读入3个点。");
    EXPECT_EQ(std::string(Point(0).RecordText), "P4,5");
    EXPECT_DOUBLE_EQ(Point(0).RecordX1, 512450);
    EXPECT_DOUBLE_EQ(Point(0).RecordY1, 3521950);
    EXPECT_DOUBLE_EQ(Point(2).RecordX1, 512400.5);
    Import("2,3,4,5,6", "A 1 2 3\r\n\r\nB x y 3\r\n\r\n");
    EXPECT_EQ(t.platform.promptScript.LastText(), "points.txt：读入1个点，跳过1行（第3行：坐标不是数字）。");
}

// A long list lets the message loop run now and then, not after every line.
TEST_F(PointGroupImport, ALongListLetsTheMessageLoopRunNowAndThen) {
    constexpr int lines = 20000;
    std::string content;
    for (int k = 0; k < lines; ++k) content += "P" + std::to_string(k) + " " + std::to_string(k % 1000) + " 1 2 3\r\n";
    const int before = t.platform.scriptedEvents.calls;
    Import("2,3,4,5,6", content);
    EXPECT_EQ(t.platform.promptScript.LastText(), "points.txt：读入" + std::to_string(lines) + "个点。");
    EXPECT_LT(t.platform.scriptedEvents.calls - before, lines / 20);
}

TEST_F(PointGroupImport, CancelChangesNothingAndAFileThatCannotBeReadIsNamed) {
    SetPointGroupFormat(t.app, "2,3,4,5,6");
    t.app.textPlacement.PendingTextLines = {"kept"};
    t.platform.dialogScript.QueueCancel();
    ImportPointGroupText(t.app, "50");
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    // A missing file, and a pipe, which would block the program if it were opened for reading.
    const std::string pipe = t.workFolder.Str() + "/pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& [name, why] : {std::pair{"none.txt", "文件未找到"}, std::pair{"pipe.txt", NotRegularFileText}}) {
        t.platform.dialogScript.QueueFile(t.workFolder.Str() + "/" + name, 2);
        ImportPointGroupText(t.app, "50");
        const std::string said = t.platform.promptScript.LastText();
        EXPECT_NE(said.find(name), std::string::npos) << said;
        EXPECT_NE(said.find(why), std::string::npos) << said;
    }
    EXPECT_EQ(Points(), 0);
    EXPECT_EQ(t.app.textPlacement.PendingTextLines, std::vector<std::string>{"kept"});
}

TEST_F(PointGroupImport, BinaryFilesAndVeryLongLinesStoreNothingWrong) {
    std::mt19937 random(109);
    std::string binary(200000, '\0');
    for (char& c : binary) c = static_cast<char>(random() % 256);
    const std::string longLine = "L " + std::string(3000000, '9') + " 2 3 4";
    const std::string separators(500000, ';');
    for (const std::string& content : {binary, longLine, separators}) {
        SetPointGroupFormat(t.app, "2,3,4,5,6");
        t.platform.dialogScript.QueueFile(t.workFolder.Str() + "/bad.txt", 2);
        WriteWholeFile(t.workFolder.Str() + "/bad.txt", content);
        ImportPointGroupText(t.app, "50");
    }
    for (int s = 0; s < Points(); ++s) {
        const MapRecord& r = Point(s);
        EXPECT_EQ(r.RecordType, 50);
        EXPECT_TRUE(std::isfinite(r.RecordX1) && std::isfinite(r.RecordY1) && std::isfinite(r.RecordZ1) &&
                    std::isfinite(r.RecordZ4));
    }
}

TEST_F(PointGroupImport, TheMenuImportsAsOneStepOfTheJournal) {
    MapRecord& kept = t.app.store.At(1, 0);
    kept.RecordType = 2;
    t.app.store.Count(1) = 1;
    UndoCheckpoint(t.app, 1);
    File("A 1 2 3\r\nB 4 5 6\r\n");
    RunToolbarKey(t.app, "控制点群");
    EXPECT_EQ(Points(), 3);
    EXPECT_FALSE(t.app.linkDialog->Loaded());
    RunToolbarKey(t.app, "撤消");
    EXPECT_EQ(Points(), 1);
    RunToolbarKey(t.app, "反撤");
    EXPECT_EQ(Points(), 3);
}

}  // namespace
}  // namespace movra
