#include <gtest/gtest.h>

#include <string>

#include "App.h"
#include "basic/Files.h"
#include "document/TextPlacementState.h"
#include "exchange/wbxxFrm.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"

namespace movra {
namespace {

class LinkDialog : public ::testing::Test {
protected:
    LinkDialog() { t.form1.Load(); }

    wbxxFrm& Open(const std::string& menu) {
        RunToolbarKey(t.app, menu);
        // The point-group menus close it again once the import has run.
        EXPECT_TRUE(t.app.linkDialog && t.app.linkDialog->Loaded() == (menu == "启动超级链"));
        return *t.app.linkDialog;
    }
    TimerControl& timer() { return t.form1.Timer1; }
    std::string LinkFormat() const { return t.form1.link.ClipboardLinkFormat; }

    TestApp t;
};

TEST_F(LinkDialog, StartModeStartsThePollAndOkSetsIntervalAndLayout) {
    EXPECT_EQ(timer().Interval(), 0);
    EXPECT_FALSE(timer().Running());
    wbxxFrm& d = Open("启动超级链");
    EXPECT_EQ(d.Caption(), "启动超级链");
    EXPECT_EQ(timer().Interval(), 1000);
    EXPECT_TRUE(timer().Running());
    EXPECT_TRUE(d.Command2.Enabled() && d.Command3.Enabled() && d.List1.Enabled());
    EXPECT_EQ(d.Command4.Caption(), "取消(关闭超级链)");
    EXPECT_EQ(LinkFormat(), "2,3,4,5,6");
    EXPECT_EQ(PointGroupFormat(t.app), "2,3,4,5,6");

    d.List1.SetListIndex(8);  // "1000=1秒"
    EXPECT_EQ(timer().Interval(), 1000);
    d.List1.SetListIndex(3);  // "100": at once
    EXPECT_EQ(timer().Interval(), 100);
    d.List2.SetListIndex(4);
    EXPECT_EQ(LinkFormat(), "1,2,3,4,5,6,7");
    d.Command1.Click();
    EXPECT_FALSE(d.Loaded());
    EXPECT_EQ(timer().Interval(), 100);
    EXPECT_TRUE(timer().Running());
    EXPECT_EQ(LinkFormat(), "1,2,3,4,5,6,7");
    EXPECT_EQ(t.app.settings.ClipboardLinkIdle, 0);

    // The point-group menu while the link runs: the standard format, the link goes on.
    wbxxFrm& again = Open("启动超级链");
    again.Command1.Click();
    t.platform.dialogScript.QueueCancel();
    Open("控制点群");
    EXPECT_EQ(LinkFormat(), "2,3,4,5,6");
    EXPECT_TRUE(timer().Running());
}

TEST_F(LinkDialog, FormatModeLocksTheLinkControls) {
    t.platform.dialogScript.QueueCancel();
    t.platform.dialogScript.QueueCancel();
    wbxxFrm& d = Open("碎部点群");
    // The import asked for its file and closed the dialog; loaded again to look at it.
    EXPECT_FALSE(d.Loaded());
    ASSERT_EQ(t.platform.dialogScript.requests.size(), 1u);
    const FileDialogRequest& asked = t.platform.dialogScript.requests[0].file;
    EXPECT_EQ(asked.title, "打开文本*.txt");
    EXPECT_EQ(asked.filter, "所有文件|*.*|文本*.txt|*.txt");
    EXPECT_EQ(asked.filterIndex, 2);

    d.Load();
    EXPECT_NE(d.Caption(), "启动超级链");
    EXPECT_FALSE(d.Command2.Enabled());
    EXPECT_FALSE(d.Command3.Enabled());
    EXPECT_FALSE(d.List1.Enabled());
    EXPECT_FALSE(d.Label4.Enabled());
    EXPECT_EQ(d.Command4.Caption(), "取消");
    EXPECT_FALSE(timer().Running());
    EXPECT_EQ(timer().Interval(), 0);
}

TEST_F(LinkDialog, TheLineFormatOptions) {
    t.platform.dialogScript.QueueCancel();
    wbxxFrm& d = Open("控制点群");
    d.Load();
    EXPECT_TRUE(d.Option1.Value());
    EXPECT_FALSE(d.Text1.Enabled());
    EXPECT_EQ(d.Text1.BackColor(), 10);

    d.Option2.Click();
    EXPECT_TRUE(d.Text1.Enabled());
    EXPECT_EQ(d.Text1.BackColor(), MakeRgb(255, 255, 255));
    EXPECT_EQ(PointGroupFormat(t.app), "2,3,4,5");
    d.Text1.SetText(" 2,4,3,5 ");
    EXPECT_EQ(PointGroupFormat(t.app), "2,4,3,5");
    EXPECT_EQ(LinkFormat(), "2,4,3,5");

    d.Option3.Click();
    EXPECT_FALSE(d.Text1.Enabled());
    EXPECT_EQ(PointGroupFormat(t.app), "999");
    EXPECT_EQ(t.app.textPlacement.ParagraphWrapColumns, 0);
    d.Command1.Click();
    EXPECT_EQ(t.app.textPlacement.ParagraphWrapColumns, 32);
    EXPECT_EQ(PointGroupFormat(t.app), "999");
    EXPECT_EQ(LinkFormat(), "999");
    EXPECT_FALSE(d.Loaded());
}

TEST_F(LinkDialog, TheSyntaxHelpShowsItsSevenLines) {
    wbxxFrm& d = Open("启动超级链");
    d.Command2.Click();
    EXPECT_EQ(t.platform.promptScript.LastText(),
              "多行以“'”结束\r\n如“gs:idxyz'\r\n6,2355.22,3232.31,5.23'\r\n11,2315.22,3202.31,5.88'\r\n"
              "vb中“'”=chr(39)\r\n复制即：\r\nClipboard.SetText Object.Text");
}

TEST_F(LinkDialog, TheDemonstrationOpensItsSampleInTheTextEditorOnce) {
    wbxxFrm& d = Open("启动超级链");
    d.List1.SetListIndex(2);  // "10"
    timer().SetEnabled(false);
    d.Command3.Click();
    EXPECT_TRUE(timer().Running());
    EXPECT_EQ(timer().Interval(), 10);
    ASSERT_EQ(t.platform.programLog.editedFiles.size(), 1u);
    const std::string path = t.platform.programLog.editedFiles[0];
    EXPECT_EQ(path, t.workFolder.Str() + "/" + LinkDemoFileName);
    EXPECT_EQ(d.DemoTaskId, 4100);
    // The sample, copied whole, is what the link takes.
    const std::string sample = ReadWholeFile(path);
    EXPECT_EQ(sample.back(), '\'');
    EXPECT_EQ(sample.substr(0, 9), "gs:idxyz'");

    d.Command3.Click();
    EXPECT_EQ(d.Command3.Caption(), "已打开");
    EXPECT_EQ(t.platform.programLog.editedFiles.size(), 1u);

    // The stop button ends the link and forgets the editor.
    d.Command4.Click();
    EXPECT_FALSE(timer().Running());
    EXPECT_EQ(d.DemoTaskId, 0);
    EXPECT_FALSE(d.Loaded());
    EXPECT_EQ(t.app.settings.ClipboardLinkIdle, 0);

    t.platform.programLog.succeed = false;
    wbxxFrm& other = Open("启动超级链");
    other.Command3.Click();
    EXPECT_EQ(other.DemoTaskId, 0);
    EXPECT_NE(other.Command3.Caption(), "已打开");
}

TEST_F(LinkDialog, LeavingTheStartDialogWithoutOkLeavesTheLinkRunningAndTheMenusInFormatMode) {
    wbxxFrm& d = Open("启动超级链");
    EXPECT_EQ(t.app.settings.ClipboardLinkIdle, -1);
    d.Unload(UnloadFromControlMenu);
    EXPECT_EQ(t.app.settings.ClipboardLinkIdle, 0);
    EXPECT_TRUE(timer().Running());
}

}  // namespace
}  // namespace movra
