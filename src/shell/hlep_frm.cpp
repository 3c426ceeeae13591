#include "shell/hlep_frm.h"

#include <fstream>

#include "App.h"
#include "basic/Files.h"
#include "basic/Gbk.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/ColorTable.h"
#include "platform/Folders.h"

namespace movra {

const char* const HelpTopicCaptions[29] = {
    "S1.安装",         "S2.快速入门",   "S3.主要功能介绍", "S4.打开文件",      "S5.保存文件",
    "S6.打印文件",     "S7.层设置",     "S8.一般设置",     "S9.线型与图式",    "S10.自制符号注记",
    "S11.文字注记",    "S12.坐标点输入", "S13.复制与粘贴",  "S14.编辑矢量图",   "S15.图片与填充",
    "S16.漫游",        "S17.野外测量",  "S18.Tin与等高线", "S19.分幅",         "S20.裁剪",
    "S21.属性",        "S22.查询",      "S23.立面移与三维", "S24.命令框",       "S25.自定义属性",
    "S26.数据库",      "S27.文件交换",  "S28.数据库",      " 退 出",
};

namespace {
constexpr int ExitLabel = 28;
constexpr std::uint8_t VisitedColor = 30;
constexpr std::uint8_t HoverColor = 1;
constexpr std::uint8_t NormalColor = 0;
const char* const CrLf = "\r\n";
const char* const BodyIndent = "        ";
}  // namespace

hlep_frm::hlep_frm(App& application)
    : FormModel(application.platform, "hlep_frm"),
      app(application),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2"),
      Text2(*this, "Text2"),
      Text3(*this, "Text3") {
    SetCaption("帮助？");
    Move(0, 0, 9600, 7200);
    for (int i = 0; i <= ExitLabel; ++i) {
        Label& label = Label1.Load(i);
        label.SetCaption(HelpTopicCaptions[i]);
        label.SetForeColor(ColorIndexToRgb(NormalColor));
        label.Move(120, 120 + i * 225, 2400, 225);
    }
    Label1.Wire([this](Label& label, int index) {
        label.onClick = [this, index] { Label1_Click(index); };
        label.onMouseMove = [this, index](int button, int shift, double x, double y) {
            Label1_MouseMove(index, button, shift, x, y);
        };
    });
    Text1.SetMultiLine(true);
    Text1.SetText(std::string("请点击目录") + CrLf);
    Text1.Move(2640, 120, 6720, 5520);
    Label2.SetCaption("联系我们");
    Label2.Move(2640, 5760, 1200, 300);
    Text2.SetText("问题与建议：support@movra.example");
    Text2.Move(3900, 5760, 5460, 300);
    Text3.SetText("用户论坛：https://forum.movra.example");
    Text3.Move(3900, 6120, 5460, 300);
}

void hlep_frm::Form_Load() { Text1.SetText(""); }

void hlep_frm::Label1_Click(int index) {
    try {
        if (index < 0 || index > ExitLabel) return;
        if (index == ExitLabel) {
            Text1.SetText("");
            Unload();
            return;
        }
        Label1(index).SetForeColor(ColorIndexToRgb(VisitedColor));
        StartHeading = Trim(Label1(index).Caption());
        EndHeading = Trim(Label1(index + 1).Caption());
        ShowHelpSection();
    } catch (...) {
    }
}

void hlep_frm::Label1_MouseMove(int index, int, int, double, double) {
    try {
        if (index < 0 || index >= ExitLabel || index == LastHoveredLabel) return;
        const Rgb visited = ColorIndexToRgb(VisitedColor);
        Label& last = Label1(LastHoveredLabel);
        last.SetFontBold(false);
        last.SetFontItalic(false);
        if (last.ForeColor() != visited) last.SetForeColor(ColorIndexToRgb(NormalColor));
        Label& hovered = Label1(index);
        hovered.SetFontBold(true);
        hovered.SetFontItalic(true);
        if (hovered.ForeColor() != visited) hovered.SetForeColor(ColorIndexToRgb(HoverColor));
        LastHoveredLabel = static_cast<std::uint8_t>(index);
    } catch (...) {
    }
}

void hlep_frm::ShowHelpSection() {
    std::string text = StartHeading + CrLf + " " + CrLf;
    // A missing or unreadable file is not reported: the heading alone shows.
    const std::string path = ResolveReadable(PathsFromFolders(app.platform.folders()), HelpFileName);
    // Only a regular file is opened: a pipe under the help file's name would keep it waiting.
    std::ifstream file;
    if (FileExists(path)) file.open(path, std::ios::binary);
    std::string raw;
    bool inSection = false;
    while (file && std::getline(file, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = FromGbk(raw);
        if (!inSection) {
            inSection = line == StartHeading;
            continue;
        }
        if (line == EndHeading) {
            Text1.SetText(text + CrLf + EndHeading);
            return;
        }
        text += line + CrLf + " " + CrLf + BodyIndent;
    }
    Text1.SetText(text);
}

void ShowHelpViewer(App& app) {
    if (!app.helpViewer || !app.helpViewer->Loaded()) app.helpViewer = std::make_shared<hlep_frm>(app);
    app.helpViewer->Show();
}

}  // namespace movra
