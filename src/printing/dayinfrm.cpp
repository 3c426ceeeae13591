#include "printing/dayinfrm.h"

#include <cmath>
#include <memory>
#include <string>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "platform/PictureBox.h"
#include "printing/PaperTable.h"
#include "printing/PrintJob.h"

namespace movra {

namespace {

// The paper size of a printer in millimetres as the dialog shows it: the twips are whole, and a
// tenth of a millimetre is as fine as a paper's figures go (A4, 595 by 842 points on the device,
// shows as 209.9 and 297, not as 209.876543209877 and 297.001763668430).
std::string PaperMillimetres(int twips) {
    return PlainNumberText(std::nearbyint(static_cast<double>(twips) / TwipsPerPaperMm * 10) / 10);
}

// The margins' boxes read as 0 with these placeholders, which selects the default margins.
constexpr const char* MarginPlaceholderC = "裁边c";  // the 17.795 mm margin
constexpr const char* MarginPlaceholderD = "裁边d";  // the 5.795 mm margin

}  // namespace

dayinfrm::dayinfrm(App& application)
    : FormModel(application.platform, "dayinfrm"),
      app(application),
      Label1(*this, "Label1"),
      List1(*this, "List1"),
      Text1(*this, "Text1"),
      Frame1(*this, "Frame1"),
      Option1(*this, "Option1", &Frame1),
      Option2(*this, "Option2", &Frame1),
      Text2(*this, "Text2", &Frame1),
      List2(*this, "List2", &Frame1),
      Label2(*this, "Label2", &Frame1),
      Text3(*this, "Text3", &Frame1),
      Label4(*this, "Label4", &Frame1),
      Text6(*this, "Text6", &Frame1),
      Label3(*this, "Label3", &Frame1),
      Text4(*this, "Text4", &Frame1),
      Label5(*this, "Label5", &Frame1),
      Text7(*this, "Text7", &Frame1),
      Frame2(*this, "Frame2"),
      Option3(*this, "Option3", &Frame2),
      Option4(*this, "Option4", &Frame2),
      Option5(*this, "Option5", &Frame2),
      Text5(*this, "Text5", &Frame2),
      Frame3(*this, "Frame3"),
      Option6(*this, "Option6", &Frame3),
      Option7(*this, "Option7", &Frame3),
      Option8(*this, "Option8", &Frame3),
      Frame4(*this, "Frame4"),
      Option9(*this, "Option9", &Frame4),
      Option10(*this, "Option10", &Frame4),
      Frame5(*this, "Frame5"),
      Option11(*this, "Option11", &Frame5),
      Option12(*this, "Option12", &Frame5),
      Frame7(*this, "Frame7"),
      Option13(*this, "Option13", &Frame7),
      Option14(*this, "Option14", &Frame7),
      Option15(*this, "Option15", &Frame7),
      Check1(*this, "Check1"),
      Command1(*this, "Command1"),
      Command2(*this, "Command2"),
      Command3(*this, "Command3"),
      Command4(*this, "Command4"),
      Command5(*this, "Command5"),
      Command6(*this, "Command6") {
    SetCaption("打印选项");

    // The design: captions, texts and the options marked when the dialog opens. The handlers are
    // attached afterwards, so that marking the design's options runs none of them.
    Label1.SetCaption("打印机选择");
    List1.SetToolTipText("双击选择打印机");
    Frame1.SetCaption("纸张选择");
    Option1.SetCaption("规格纸");
    Option1.SetValue(true);
    Option2.SetCaption("自定义");
    Text2.SetText("A4");
    Text2.SetToolTipText("送纸器纸型请自行设置与此一致。");
    for (const std::string& name : PaperListNames()) List2.AddItem(name);
    Label2.SetCaption("宽度(毫米)");
    Text3.SetText("600");
    Label4.SetCaption("-");
    Text6.SetText("0");
    Label3.SetCaption("长度(毫米)");
    Text4.SetText("600");
    Label5.SetCaption("-");
    Text7.SetText("0");
    Frame2.SetCaption("打印比例尺");
    Option3.SetCaption("本比例尺");
    Option4.SetCaption("当前比例尺");
    Option4.SetValue(true);
    Option5.SetCaption("   输入   比例尺分母");
    Text5.SetText("1000");
    Text5.SetToolTipText("比例尺分母");
    Frame3.SetCaption("打印范围");
    Option6.SetCaption("全部");
    Option7.SetCaption("屏幕");
    Option7.SetValue(true);
    Option8.SetCaption("自选范围");
    Frame4.SetCaption("打印颜色");
    Option9.SetCaption("黑白");
    Option10.SetCaption("彩色");
    Frame5.SetCaption("打印纸方向");
    Option11.SetCaption("纵向");
    Option11.SetValue(true);
    Option12.SetCaption("横向");
    Frame7.SetCaption("打印质量");
    Option13.SetCaption("低");
    Option14.SetCaption("中");
    Option14.SetValue(true);
    Option15.SetCaption("高");
    Check1.SetCaption("附绘纸真长宽框");
    Check1.SetValue(Checked);
    Command1.SetCaption("高级");
    Command1.SetToolTipText("一般不用此键");
    Command2.SetCaption("退出");
    Command3.SetCaption("开始打印");
    Command4.SetCaption("立即终止打印");
    Command5.SetCaption("打印预览");
    Command6.SetCaption("换页");
    Layout();

    List1.onDblClick = [this] { List1_DblClick(); };
    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    List2.onClick = [this] { List2_Click(); };
    Option11.onClick = [this] { Option11_Click(); };
    Option12.onClick = [this] { Option12_Click(); };
    Option9.onClick = [this] { Option9_Click(); };
    Option10.onClick = [this] { Option10_Click(); };
    Option3.onClick = [this] { Option3_Click(); };
    Option4.onClick = [this] { Option4_Click(); };
    Option5.onClick = [this] { Option5_Click(); };
    Text5.onChange = [this] { Text5_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
}

dayinfrm::~dayinfrm() = default;

void dayinfrm::Layout() {
    Move(0, 0, 9700, 6300);
    Label1.Move(120, 120, 2400, 300);
    List1.Move(120, 420, 2400, 1500);
    Text1.Move(120, 1980, 2400, 300);

    Frame1.Move(2640, 120, 4200, 3900);
    Option1.Move(120, 300, 1300, 300);
    Option2.Move(1560, 300, 1300, 300);
    Text2.Move(120, 660, 3960, 300);
    List2.Move(120, 1020, 3960, 1800);
    Label2.Move(120, 2940, 1100, 300);
    Text3.Move(1260, 2940, 1200, 300);
    Label4.Move(2520, 2940, 240, 300);
    Text6.Move(2820, 2940, 1260, 300);
    Label3.Move(120, 3360, 1100, 300);
    Text4.Move(1260, 3360, 1200, 300);
    Label5.Move(2520, 3360, 240, 300);
    Text7.Move(2820, 3360, 1260, 300);

    Frame2.Move(6960, 120, 2560, 1740);
    Option3.Move(120, 300, 2300, 300);
    Option4.Move(120, 620, 2300, 300);
    Option5.Move(120, 940, 2300, 300);
    Text5.Move(120, 1300, 2300, 300);

    Frame3.Move(6960, 1980, 2560, 1320);
    Option6.Move(120, 300, 2300, 300);
    Option7.Move(120, 620, 2300, 300);
    Option8.Move(120, 940, 2300, 300);

    Frame4.Move(120, 2400, 2400, 780);
    Option9.Move(120, 320, 1000, 300);
    Option10.Move(1200, 320, 1000, 300);
    Frame5.Move(120, 3240, 2400, 780);
    Option11.Move(120, 320, 1000, 300);
    Option12.Move(1200, 320, 1000, 300);
    Frame7.Move(6960, 3420, 2560, 780);
    Option13.Move(120, 320, 700, 300);
    Option14.Move(900, 320, 700, 300);
    Option15.Move(1680, 320, 700, 300);

    Check1.Move(2640, 4140, 3000, 300);
    Command3.Move(120, 4680, 1440, 420);
    Command5.Move(1680, 4680, 1440, 420);
    Command4.Move(3240, 4680, 1800, 420);
    Command6.Move(5160, 4680, 1200, 420);
    Command1.Move(6480, 4680, 1200, 420);
    Command2.Move(7800, 4680, 1200, 420);
}

void dayinfrm::Form_Load() {
    Printer& printer = app.platform.printer();
    PrintOptions& options = app.printOptions;
    bool filled = GuardSilently([&] {
        printer.SetTrackDefault(true);
        if (!options.PaperName.empty()) {
            Text2.SetText(options.PaperName);
            printer.SetPaperSize(ToInt16(PaperCodeForName(options.PaperName)));
        } else {
            Text2.SetText("A4");
            printer.SetPaperSize(ToInt16(PaperCodeForName("A4")));
        }
        Text1.SetText(printer.DeviceName());
        Text3.SetText(PaperMillimetres(printer.Width()));
        Text4.SetText(PaperMillimetres(printer.Height()));
        const Screen& screen = platform().screen();
        Move((screen.WidthTwips() - Width()) / 2, (screen.HeightTwips() - Height()) / 2, Width(), Height());
        // The dialog is loaded again each time it is shown after "退出": the list starts afresh.
        List1.Clear();
        for (const std::string& name : printer.PrinterNames()) List1.AddItem(name);
        if (Option1.Value()) {
            Text3.SetText(PaperMillimetres(printer.Width()));
            Text4.SetText(PaperMillimetres(printer.Height()));
            Text6.SetText(MarginPlaceholderD);
            Text7.SetText(MarginPlaceholderC);
        } else if (Option2.Value()) {
            Text3.SetText(PaperMillimetres(printer.Width()));
            Text4.SetText(PaperMillimetres(printer.Height()));
            Text6.SetText(MarginPlaceholderC);
            Text7.SetText(MarginPlaceholderD);
        }
        // Marked as the user would mark it, so that its rule runs also when it was marked.
        if (Option9.Value()) Option9_Click();
        else Option9.SetValue(true);
        if (Option3.Value()) Option3_Click();
        else if (Option4.Value()) Option4_Click();
        else if (Option5.Value()) Option5_Click();
        SetWindowState(WindowMaximized);
    });
    if (!filled) platform().prompt().MsgBox("打印机是否装好?");
}

void dayinfrm::List1_DblClick() {
    GuardSilently([&] {
        Printer& printer = app.platform.printer();
        if (printer.PrinterNames().empty()) {
            platform().prompt().MsgBox("系统没有安装打印机！");
            return;
        }
        const std::string item = List1.Text();
        if (printer.DeviceName() != item) {
            SetCaption("请在windows中设此" + item + "打印机为默认打印机！");
            app.printState.DefaultPrinterChosen = 0;
            Text1.SetText(item);
        } else {
            Text1.SetText(printer.DeviceName());
            app.printState.DefaultPrinterChosen = -1;
            SetCaption("此打印机为windows默认打印机！");
        }
    });
}

void dayinfrm::Option1_Click() {
    Printer& printer = app.platform.printer();
    PrintDialogState& state = app.printState;
    try {
        printer.SetTrackDefault(false);
        printer.SetPaperSize(ToInt16(PaperCodeForName(Text2.Text())));
        state.PaperMismatchFlag = 0;
        if (Option11.Value()) {
            printer.SetOrientation(OrientationPortrait);
            Text3.SetText(PaperMillimetres(printer.Width()));
            Text6.SetText(MarginPlaceholderD);
            Text4.SetText(PaperMillimetres(printer.Height()));
            Text7.SetText(MarginPlaceholderC);
        } else if (Option12.Value()) {
            printer.SetOrientation(OrientationLandscape);
            Text3.SetText(PaperMillimetres(printer.Width()));
            Text6.SetText(MarginPlaceholderC);
            Text4.SetText(PaperMillimetres(printer.Height()));
            Text7.SetText(MarginPlaceholderD);
        }
        state.PaperMismatchFlag = 0;
        printer.SetTrackDefault(true);
    } catch (...) {
        ShowRuntimeError(platform().prompt(), CurrentRuntimeError());
        // A user-defined paper is the printer's to know: refusing it is no mismatch.
        state.PaperMismatchFlag = Text2.Text() == "纸规格_USER" ? 0 : -1;
        Option2.SetValue(true);
        GuardSilently([&] { printer.SetTrackDefault(true); });
    }
}

void dayinfrm::List2_Click() {
    GuardToMessageBox(platform().prompt(), [&] {
        Text2.SetText(List2.Text());
        Option1_Click();
    });
}

void dayinfrm::Option11_Click() {
    GuardSilently([&] {
        if (!Option11.Value()) return;
        app.platform.printer().SetOrientation(OrientationPortrait);
        Option1_Click();
    });
}

void dayinfrm::Option12_Click() {
    GuardToMessageBox(platform().prompt(), [&] {
        if (!Option12.Value()) return;
        Option1_Click();
    });
}

void dayinfrm::Option9_Click() {
    GuardSilently([&] {
        app.platform.printer().SetColorMode(ColorModeMonochrome);
        Frame4.SetForeColor(app.tables.ColorPalette[5]);
    });
}

void dayinfrm::Option10_Click() {
    GuardSilently([&] {
        app.platform.printer().SetColorMode(ColorModeColor);
        Frame4.SetForeColor(MakeRgb(255, 0, 255));
    });
}

void dayinfrm::Option3_Click() {
    GuardToMessageBox(platform().prompt(), [&] {
        Text5.SetText(PlainNumberText(app.view.ProjectParams[0]));
        Text5.SetLocked(true);
    });
}

void dayinfrm::Option4_Click() {
    GuardToMessageBox(platform().prompt(), [&] {
        Text5.SetText(ScaleDenominatorText(app.view.DisplayScaleDenominator));
        Text5.SetLocked(true);
    });
}

void dayinfrm::Option5_Click() {
    GuardToMessageBox(platform().prompt(), [&] {
        Text5.SetText("1000");
        Text5.SetLocked(false);
    });
}

void dayinfrm::Text5_Change() {
    GuardToMessageBox(platform().prompt(), [&] {
        if (Val(Text5.Text()) < 1) Text5.SetText("1");
        if (Val(Text5.Text()) > 9000000) Text5.SetText(PlainNumberText(app.view.ProjectParams[0]));
    });
}

void dayinfrm::Command1_Click() {
    GuardToMessageBox(platform().prompt(), [&] { platform().dialogs().ShowPrinter(); });
}

void dayinfrm::Command2_Click() { Unload(); }

void dayinfrm::Command3_Click() { StartPrinting(app); }

void dayinfrm::Command4_Click() {
    GuardSilently([&] { app.platform.printer().KillDoc(); });
}

void dayinfrm::Command5_Click() { PreviewPrinting(app); }

void dayinfrm::Command6_Click() {
    GuardSilently([&] {
        // Between jobs no document is open: a new page then would start one and, on the PDF
        // printer, replace the file just written with a blank page.
        Printer& printer = app.platform.printer();
        if (!printer.DocumentOpen()) return;
        printer.NewPage();
        printer.EndDoc();
    });
}

dayinfrm& PrintDialog(App& app) {
    if (!app.printDialog) app.printDialog = std::make_shared<dayinfrm>(app);
    return *app.printDialog;
}

void ShowPrintDialog(App& app) {
    dayinfrm& dialog = PrintDialog(app);
    dialog.Show(false);
    dialog.SetWindowState(WindowNormal);
}

}  // namespace movra
