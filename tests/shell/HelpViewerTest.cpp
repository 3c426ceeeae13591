#include <gtest/gtest.h>

#include <fstream>

#include "basic/Files.h"
#include "basic/Gbk.h"
#include "document/ColorTable.h"
#include "shell/hlep_frm.h"
#include "support/TestApp.h"

namespace movra {
namespace {

class HelpViewer : public ::testing::Test {
protected:
    HelpViewer() : form(t.app) { form.Load(); }

    // The help file in the program folder, written as the program ships it (code page 936, CR LF).
    void WriteHelpFile(const std::vector<std::string>& lines) {
        std::ofstream out(t.programFolder.Str() + "/帮助文件.txt", std::ios::binary);
        for (const std::string& line : lines) out << ToGbk(line) << "\r\n";
    }
    std::vector<std::string> ShownLines() const {
        std::vector<std::string> lines;
        std::string text = form.Text1.Text();
        size_t start = 0;
        for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
            lines.push_back(text.substr(start, at - start));
        lines.push_back(text.substr(start));
        return lines;
    }

    TestApp t;
    hlep_frm form;
};

TEST_F(HelpViewer, ATopicShowsItsSectionLineByLine) {
    WriteHelpFile({"前言", "S4.打开文件", "A", "B", "S5.保存文件", "C"});
    form.Label1_Click(3);
    EXPECT_EQ(ShownLines(), (std::vector<std::string>{"S4.打开文件", " ", "A", " ", "        B", " ", "        ",
                                                     "S5.保存文件"}));
    EXPECT_EQ(form.Label1(3).ForeColor(), ColorIndexToRgb(30));
}

TEST_F(HelpViewer, HeadingsMustMatchExactlyAndTheLastTopicEndsAtTheExit) {
    // A heading with a trailing blank is no heading: topic 3 finds nothing, topic 4 runs to the end.
    WriteHelpFile({"S4.打开文件 ", "A", "S5.保存文件", "B"});
    form.Label1_Click(3);
    EXPECT_EQ(ShownLines(), (std::vector<std::string>{"S4.打开文件", " ", ""}));
    form.Label1_Click(4);
    EXPECT_EQ(ShownLines(), (std::vector<std::string>{"S5.保存文件", " ", "B", " ", "        "}));

    // "S26.数据库" and "S28.数据库" find their own sections; the last one ends at "退 出".
    WriteHelpFile({"S26.数据库", "x", "S27.文件交换", "S28.数据库", "y", "退 出", "z"});
    form.Label1_Click(27);
    EXPECT_EQ(ShownLines(), (std::vector<std::string>{"S28.数据库", " ", "y", " ", "        ", "退 出"}));
    form.Label1_Click(25);
    EXPECT_EQ(ShownLines().at(2), "x");
}

TEST_F(HelpViewer, AMissingFileShowsTheHeadingAlone) {
    form.Label1_Click(0);
    EXPECT_EQ(form.Text1.Text(), "S1.安装\r\n \r\n");
}

TEST_F(HelpViewer, HoverHighlightsAndVisitedTopicsKeepTheirColour) {
    form.Label1_MouseMove(0, 0, 0, 0, 0);
    EXPECT_FALSE(form.Label1(0).FontBold());  // label 0 counts as hovered at start
    form.Label1_Click(2);
    form.Label1_MouseMove(2, 0, 0, 0, 0);
    EXPECT_TRUE(form.Label1(2).FontBold());
    EXPECT_TRUE(form.Label1(2).FontItalic());
    EXPECT_EQ(form.Label1(2).ForeColor(), ColorIndexToRgb(30));
    form.Label1_MouseMove(5, 0, 0, 0, 0);
    EXPECT_EQ(form.Label1(5).ForeColor(), ColorIndexToRgb(1));
    EXPECT_FALSE(form.Label1(2).FontBold());
    EXPECT_EQ(form.Label1(2).ForeColor(), ColorIndexToRgb(30));
    form.Label1_MouseMove(6, 0, 0, 0, 0);
    EXPECT_EQ(form.Label1(5).ForeColor(), ColorIndexToRgb(0));
}

TEST_F(HelpViewer, TheExitLabelCloses) {
    form.Label1_Click(28);
    EXPECT_FALSE(form.Loaded());
}

TEST(ShippedHelpFile, HoldsEveryHeadingOnceWithTextUnderEach) {
    const std::vector<std::string> lines =
        ReadTextLines(std::string(MOVRA_TEST_SOURCE_DIR) + "/resources/帮助文件.txt");
    for (int i = 0; i <= 28; ++i) {
        const std::string heading = i == 28 ? "退 出" : HelpTopicCaptions[i];
        int found = 0;
        size_t at = 0;
        for (size_t k = 0; k < lines.size(); ++k)
            if (lines[k] == heading) ++found, at = k;
        EXPECT_EQ(found, 1) << heading;
        if (i < 28) {
            ASSERT_LT(at + 1, lines.size());
            const std::string next = HelpTopicCaptions[i + 1];
            EXPECT_NE(lines[at + 1], i == 27 ? "退 出" : next) << heading << " has no text";
        }
    }
}

}  // namespace
}  // namespace movra
