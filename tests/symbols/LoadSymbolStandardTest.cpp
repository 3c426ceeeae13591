#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "basic/Files.h"
#include "shell/szForm3.h"
#include "symbols/TusItem.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/ZfhFile.h"
#include "support/TestApp.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

struct LoadSymbolStandardTest : ::testing::Test {
    TestApp t;
    void SetUp() override { t.form1.Load(); }
    void Ship(const char* name) {
        fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / name, t.programFolder.Path() / name);
    }
    szForm3& Window() { return t.form1.SettingsWindow(); }
};

TEST_F(LoadSymbolStandardTest, SwitchLoadsAndUnloadsTheChosenStandard) {
    Ship("电子图式.tus");
    EXPECT_TRUE(t.form1.Command7.Enabled());
    Window().Load();
    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.promptScript.QueueAnswer(AnswerOk);
    Window().Command2.Click();
    const auto& questions = t.platform.promptScript.questions;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text, "要加载图式吗？");
    EXPECT_EQ(questions[0].title, "加载图式");
    EXPECT_EQ(questions[1].text, "已加载图式。");
    const SymbolStandard& st = t.app.symbolStandard;
    EXPECT_EQ(st.SymbolStandardLoaded, -1);
    EXPECT_EQ(st.SymbolStandardFile, t.programFolder.Str() + "/电子图式.tus");
    EXPECT_FALSE(st.SymbolNames.At(0).empty());
    EXPECT_FALSE(st.LineTypeNames.At(1).empty());
    EXPECT_TRUE(t.form1.Command7.Enabled());
    const std::string firstName = st.SymbolNames.At(0);

    t.platform.promptScript.QueueAnswer(AnswerYes);
    Window().Command2.Click();
    EXPECT_EQ(questions.back().title, "卸载图式");
    EXPECT_EQ(st.SymbolStandardLoaded, 0);
    EXPECT_FALSE(t.form1.Command7.Enabled());
    EXPECT_EQ(t.app.tool.CommandArgument, "0");
    EXPECT_EQ(t.form1.Text2.Text(), "已卸载图式。");
    EXPECT_FALSE(st.SymbolNames.Contains(1));
    EXPECT_THROW(st.LineTypePattern.At(1, 0, 0), RuntimeError);

    // Loading again gives the same tables.
    t.platform.promptScript.QueueAnswer(AnswerYes);
    Window().Command2.Click();
    EXPECT_EQ(st.SymbolNames.At(0), firstName);
}

TEST_F(LoadSymbolStandardTest, AFailedLoadSaysSo) {
    // No standard in either folder.
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SymbolStandardSwitch(t.app);
    EXPECT_EQ(t.platform.promptScript.questions.back().text, "电子图式.tus：图式未能加载。");
    EXPECT_EQ(t.app.symbolStandard.SymbolStandardLoaded, 0);
    // The button keeps the state it had.
    EXPECT_TRUE(t.form1.Command7.Enabled());
}

// One bad element line stops the point symbols; the load says where, and how many were read,
// instead of "已加载图式。".
TEST_F(LoadSymbolStandardTest, AStandardHalfReadSaysWhereItStoppedAndHowManySymbolsCameIn) {
    std::string source;
    for (int k = 0; k < 12; ++k) source += "*符号" + std::to_string(k) + "\n5 0,0\n";
    source += "*坏符号\n3 abc\n*LL\n*线1\n+1 -1\n*$\n";
    WriteWholeFile(t.programFolder.Str() + "/电子图式.tus", EncodeTusSource(source));
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SymbolStandardSwitch(t.app);
    EXPECT_EQ(t.platform.promptScript.questions.back().text,
              "电子图式.tus：读到第26行时停止（9 下标越界）。只读入了12个点符号。");
}

// A damaged byte count inside the line types: the item takes in the items after it, and the
// reader would go on from a later place as if nothing were wrong. Each case damages the count of
// the pattern line of line type 4 (source line 36) of a standard of forty line types.
TEST_F(LoadSymbolStandardTest, ADamagedItemAmongTheLineTypesSaysWhereAndHowManyCameIn) {
    std::string source;
    for (int k = 0; k < 12; ++k) source += "*符号" + std::to_string(k) + "\n5 0,0\n";
    source += "*LL\n";
    for (int k = 1; k <= 40; ++k) source += "*线" + std::to_string(k) + "\n+1 -1\n1 2 3\n";
    source += "*$\n";
    const std::string whole = EncodeTusSource(source);
    // The offsets of the items, by source line from 1.
    std::vector<size_t> at;
    for (size_t pos = 0; pos < whole.size();) {
        at.push_back(pos);
        pos += 6 + (static_cast<unsigned char>(whole[pos + 4]) | static_cast<unsigned char>(whole[pos + 5]) << 8);
    }
    const size_t damaged = 36 - 1, endMarker = at.size() - 1;
    auto countOf = [&](size_t item) { return at[item + 1] - at[item] - 6; };
    struct Case {
        const char* what;
        size_t count;  // the damaged byte count of line 36
    };
    const Case cases[] = {
        // It takes in every item up to the end marker, which is then read as if whole.
        {"running on to the end marker", at[endMarker] - at[damaged] - 6},
        {"running into the next item's header", countOf(damaged) + 3},
        {"in its high byte", countOf(damaged) + 256},
    };
    const std::string path = t.programFolder.Str() + "/电子图式.tus";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = whole;
        bytes[at[damaged] + 4] = static_cast<char>(c.count & 0xFF);
        bytes[at[damaged] + 5] = static_cast<char>(c.count >> 8 & 0xFF);
        WriteWholeFile(path, bytes);
        t.platform.promptScript.QueueAnswer(AnswerYes);
        SymbolStandardSwitch(t.app);
        EXPECT_EQ(t.platform.promptScript.questions.back().text,
                  "电子图式.tus：读到第36行时停止（59 记录长度错误）。只读入了3个线型。");
        EXPECT_EQ(t.app.symbolStandard.SymbolStandardLoaded, 0);
    }
    // Whole, the same file loads, and a cut one says so as well.
    WriteWholeFile(path, whole);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SymbolStandardSwitch(t.app);
    EXPECT_EQ(t.platform.promptScript.questions.back().text, "已加载图式。");
    t.app.symbolStandard.SymbolStandardLoaded = 0;
    WriteWholeFile(path, whole.substr(0, at[damaged] + 3));
    t.platform.promptScript.QueueAnswer(AnswerYes);
    SymbolStandardSwitch(t.app);
    EXPECT_EQ(t.platform.promptScript.questions.back().text,
              "电子图式.tus：读到第35行时停止（62 输入超出文件尾）。只读入了4个线型。");
}

TEST_F(LoadSymbolStandardTest, SelfMadeSwitchChooserAndNumbering) {
    t.platform.promptScript.defaultAnswer = AnswerYes;
    for (int k = 0; k < 2; ++k) {
        MapRecord& m = t.app.store.At(0, 900 + k);
        m.RecordType = 2;
        m.RecordX2 = 3;
    }
    Window().Load();
    Window().Combo1.SetText("符号库3");
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolFile, t.programFolder.Str() + "/符号库/符号库3.Zfh");
    SaveSymbolToLibrary(t.app, "点");
    Window().Command3.Click();  // load
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, -1);
    EXPECT_EQ(t.app.store.Get(0, 1001).RecordText, "#点");
    Window().Command3.Click();  // unload
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, 0);
    EXPECT_EQ(t.app.store.Get(0, 1001).RecordType, 0);
    EXPECT_TRUE(t.app.store.Get(0, 1001).RecordText.empty());
    EXPECT_EQ(t.app.store.Count(0), 1002);  // the count stays where the load put it

    Window().Check3.SetValue(Checked);
    EXPECT_EQ(t.form1.Command5(350).Caption(), "350");
    EXPECT_EQ(t.form1.Command5(0).Caption(), "0");
    Window().Check3.SetValue(Unchecked);
    EXPECT_EQ(t.form1.Command5(350).Caption(), "");
    // The line-type buttons keep their names.
    EXPECT_EQ(t.form1.Command5(351).Caption(), "陡坎");
}

}  // namespace
}  // namespace movra
