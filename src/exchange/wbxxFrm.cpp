#include "exchange/wbxxFrm.h"

#include <cmath>

#include "App.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "exchange/PointGroupImport.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr const char* StandardLineFormat = "2,3,4,5,6";
constexpr int DefaultPollInterval = 1000;
// The background of the custom format box while another format is chosen: a near-black red.
constexpr Rgb LockedBoxColor = 10;
constexpr Rgb OpenBoxColor = MakeRgb(255, 255, 255);

// Records to copy in the demonstration: the layout first, then two points, each ended by the
// record separator. No line break after the last, so that a copy of the whole text ends with the
// separator and is taken.
constexpr const char* LinkDemoText = "gs:idxyz'\r\n6,2355.22,3232.31,5.23'\r\n11,2315.22,3202.31,5.88'";

}  // namespace

const char* const LinkSyntaxLines[7] = {
    "多行以“'”结束", "如“gs:idxyz'", "6,2355.22,3232.31,5.23'", "11,2315.22,3202.31,5.88'",
    "vb中“'”=chr(39)", "复制即：", "Clipboard.SetText Object.Text",
};

std::string PointGroupFormat(const App& app) {
    return std::string(app.store.Get(0, Layer0Slots::FieldOrder).RecordText);
}

void SetPointGroupFormat(App& app, const std::string& format) {
    app.store.At(0, Layer0Slots::FieldOrder).RecordText = format;
}

wbxxFrm::wbxxFrm(App& application)
    : FormModel(application.platform, "wbxxFrm"),
      app(application),
      Label4(*this, "Label4"),
      List1(*this, "List1"),
      Label5(*this, "Label5"),
      List2(*this, "List2"),
      Command2(*this, "Command2"),
      Command3(*this, "Command3"),
      Option1(*this, "Option1"),
      Label3(*this, "Label3"),
      Option2(*this, "Option2"),
      Text1(*this, "Text1"),
      Option3(*this, "Option3"),
      Label2(*this, "Label2"),
      Label1(*this, "Label1"),
      Label6(*this, "Label6"),
      Command1(*this, "Command1"),
      Command4(*this, "Command4") {
    SetCaption("点群每一行格式");
    Move(0, 0, 7200, 5400);
    // The two lists side by side with the link's buttons to their right; the three line formats
    // under them, the legends, and the OK and cancel buttons at the foot.
    Label4.Move(120, 120, 1600, 300);
    List1.Move(120, 420, 1600, 1560);
    Label5.Move(1860, 120, 2000, 300);
    List2.Move(1860, 420, 2000, 1560);
    Command2.Move(4080, 420, 1800, 420);
    Command3.Move(4080, 960, 1800, 420);
    Option1.Move(120, 2160, 2400, 330);
    Label3.Move(2580, 2190, 2400, 300);
    Option2.Move(120, 2580, 2400, 330);
    Text1.Move(2580, 2560, 2400, 330);
    Option3.Move(120, 3000, 2400, 330);
    Label2.Move(2580, 3030, 3600, 300);
    Label1.Move(120, 3480, 6900, 300);
    Label6.Move(120, 3840, 6900, 300);
    Command1.Move(1500, 4380, 1600, 450);
    Command4.Move(3420, 4380, 2400, 450);

    Label4.SetCaption("链刷新间隔");
    for (const char* item : {"1000", "1", "10", "100", "3000", "6000", "30000", "60000", "1000=1秒"})
        List1.AddItem(item);
    Label5.SetCaption("超级链格式");
    for (const char* item : {"1,3,4,5", "1,4,3,5", "2,3,4,5", "2,4,3,5", "1,2,3,4,5,6,7", "1,2,4,3,5,6,7", "3,4,5",
                             "4,3,5", "1,3,4,5,7", "1,4,3,5,7", "idyxz", "idxyz"})
        List2.AddItem(item);
    Option1.SetCaption("标准每一行格式：");
    Label3.SetCaption(StandardLineFormat);
    Option2.SetCaption("自定义每一行格式：");
    Text1.SetText("2,3,4,5");
    Option3.SetCaption("文章");
    Label2.SetCaption("每一行<50汉字（无坐标）");
    Label1.SetCaption("[1-编号],2-点名,3-纵坐标,4-横坐标,5-高程,[6-等级代码],[7-备注]");
    Label6.SetCaption("对等：1-id,2-m,3-y,4-x,5-z,6-j,7-b");
    Command1.SetCaption("确定");
    Command2.SetCaption("超级链语法");
    Command3.SetCaption("超级链示范");
    Command4.SetCaption("取消(关闭超级链)");

    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    List1.onClick = [this] { List1_Click(); };
    List2.onClick = [this] { List2_Click(); };
    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    Option3.onClick = [this] { Option3_Click(); };
    Text1.onChange = [this] { Text1_Change(); };
}

void wbxxFrm::Form_Load() {
    GuardSilently([this] {
        Option1_Click();
        if (app.settings.ClipboardLinkIdle == -1) {
            SetCaption("启动超级链");
            if (app.form1) {
                TimerControl& timer = app.form1->Timer1;
                if (timer.Interval() == 0) timer.SetInterval(DefaultPollInterval);
                timer.SetEnabled(true);
            }
        } else {
            Command2.SetEnabled(false);
            Command3.SetEnabled(false);
            Command4.SetCaption("取消");
            Label4.SetEnabled(false);
            List1.SetEnabled(false);
        }
    });
}

// However the dialog is left, the next point-group menu finds it in format mode.
void wbxxFrm::Form_Unload(int&) { app.settings.ClipboardLinkIdle = 0; }

void wbxxFrm::Command1_Click() {
    GuardSilently([this] {
        if (app.settings.ClipboardLinkIdle == -1) {
            const double v = Val(List1.Text());
            if (app.form1) {
                TimerControl& timer = app.form1->Timer1;
                timer.SetInterval(v > 0 ? static_cast<int>(std::lround(v)) : DefaultPollInterval);
                timer.SetEnabled(true);
                app.form1->link.ClipboardLinkFormat = Trim(List2.Text());
            }
            app.settings.ClipboardLinkIdle = 0;
        }
        if (Option3.Value()) {
            app.textPlacement.ParagraphWrapColumns = DefaultParagraphWrapColumns;
            LockCustomFormat(true);
            SetLineFormat(ArticleLineFormat);
        }
    });
    Unload();
}

void wbxxFrm::Command2_Click() {
    std::string text;
    for (const char* line : LinkSyntaxLines) text += (text.empty() ? "" : app.settings.LineBreak) + line;
    app.platform.prompt().MsgBox(text, MsgOkOnly);
}

void wbxxFrm::Command3_Click() {
    if (DemoTaskId > 0) {
        Command3.SetCaption("已打开");
        return;
    }
    const bool started = GuardSilently([this] {
        const double v = Val(List1.Text());
        if (app.form1) {
            if (v > 0) app.form1->Timer1.SetInterval(static_cast<int>(std::lround(v)));
            app.form1->Timer1.SetEnabled(true);
        }
        // The sample is for the desktop's own editor, so it is written as the desktop reads text.
        const std::string path = JoinPath(app.platform.folders().WorkFolder(), LinkDemoFileName);
        WriteWholeFile(path, LinkDemoText);
        DemoTaskId = app.platform.programs().StartTextEditor(path);
    });
    if (!started || DemoTaskId < 0) DemoTaskId = 0;
}

void wbxxFrm::Command4_Click() {
    if (app.form1) app.form1->Timer1.SetEnabled(false);
    DemoTaskId = 0;
    Unload();
}

void wbxxFrm::List1_Click() {
    GuardSilently([this] {
        const double v = Val(List1.Text());
        if (v > 0 && app.form1) app.form1->Timer1.SetInterval(static_cast<int>(std::lround(v)));
    });
}

void wbxxFrm::List2_Click() {
    if (app.form1) app.form1->link.ClipboardLinkFormat = Trim(List2.Text());
}

void wbxxFrm::Option1_Click() {
    Option1.SetValue(true);
    LockCustomFormat(true);
    SetLineFormat(Trim(Label3.Caption()));
}

void wbxxFrm::Option2_Click() {
    if (!Option2.Value()) return;
    LockCustomFormat(false);
    SetLineFormat(Trim(Text1.Text()));
}

void wbxxFrm::Option3_Click() {
    if (!Option3.Value()) return;
    LockCustomFormat(true);
    SetLineFormat(ArticleLineFormat);
}

void wbxxFrm::Text1_Change() { SetLineFormat(Trim(Text1.Text())); }

void wbxxFrm::SetLineFormat(const std::string& format) {
    GuardSilently([&] { SetPointGroupFormat(app, format); });
    if (app.form1) app.form1->link.ClipboardLinkFormat = format;
}

void wbxxFrm::LockCustomFormat(bool locked) {
    Text1.SetEnabled(!locked);
    Text1.SetBackColor(locked ? LockedBoxColor : OpenBoxColor);
}

void ShowLinkDialog(App& app) {
    if (!app.linkDialog || !app.linkDialog->Loaded()) app.linkDialog = std::make_shared<wbxxFrm>(app);
    app.linkDialog->Show(true);
}

}  // namespace movra
