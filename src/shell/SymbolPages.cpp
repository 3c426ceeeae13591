#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/PointSymbols.h"
#include "editing/ToolEngine.h"
#include "shell/MethodPanel.h"
#include "shell/stForm1.h"
#include "symbols/SymbolStandard.h"

namespace movra {

namespace {

constexpr int SymbolPageCount = 7;
constexpr int SymbolButtonsPerPage = 100;
constexpr int SymbolButtonCount = SymbolPageCount * SymbolButtonsPerPage;
// Buttons 0..349 show the point symbols; 351..599 name their line types and patterns.
constexpr int PointSymbolButtons = 350;
constexpr int FirstNamedButton = 351;
constexpr int LastNamedButton = 599;

const char* const PageCaptions[SymbolPageCount] = {
    "电力通讯流向植被", "控制点树等植被", "植被等常用符号", "窑峒、包等居民地",
    "电线、铁路、堤等", "多边形填充", "图式7",
};

const char* const NamedButtonCaptions[LastNamedButton - FirstNamedButton + 1] = {
    "陡坎", "固坎", "小路", "内路", "乡村", "双村", "大车", "单墙", "墙", "栏杆", "篱笆", "活篱", "铁网", "国界", "未定 ", "省界",
    "未定", "市界", "未定", "县界", "未定", "镇界", "未定", "保护", "特界", "村界", "街坊", "界标", "公路9", "公路4", "公路3",
    "公路2", "在建1", "在建3", "在建9", "规划G", "设计G", "规划1", "在建1", "规划2", "在建2", "在建4", "城基", "窑洞", "斜线",
    "架屋", "门墩", "门", "院门", "支柱", "掘坎", "掘坡", "乱掘k", "乱掘p", "天吊", "传带z", "滑槽y", "滑槽z", "池坎", "池坡",
    "堆窑", "烽火", "铁路", "电铁", "窄轨", "轻轨", "缆车", "索道z", "电车", "建铁", "站台d", "道栏", "旱桥", "涵洞", "隧道k",
    "隧道r", "隧道G", "路堑G", "水隧", "路堑w", "路堤G", "路堤W", "明峒", "挡土q", "test", "高速L", "桥墩", "船闸", "单桥",
    "高压L", "高压W", "低压L", "低压W", "线架", "变压Q", "通讯L", "通讯W", "地高X", "地低X", "地信", "管道", "管中s", "管道X",
    "管堤", "城墙", "破城Q", "土城Q", "单X河", "高S界", "消S河", "时令", "单X沟", "溢洪z", "溢洪Y", "沟堑", "地X渠", "干沟Z",
    "干沟Y", "单g沟", "跌水", "土岸", "石岸", "防洪Q", "H墙坎", "栏墙K", "栅坎P", "栅坎G", "坡堤", "坎堤", "垄堤", "水槽Z",
    "人行Q", "级M桥", "跳礅", "涉场", "滚水X", "滚水k", "拦水b", "F波堤", "W波堤", "固堤", "W陡堤", "垄堤", "G河缆", "盐田",
    "台田", "海a线", "水首X", "水计X", "干出X", "岩滩", "水产C", "井渠X", "渠堤", "地X河", "首曲X", "计曲X", "间曲X", "石垄",
    "土D坡", "石崩", "石陡Y", "冲沟", "漫G河", "干河", "陡S山", "路灌L", "渠灌L", "行竹", "地类J ", "行树", "梯田K", "围墙",
    "报栏", "0.12", "0.15", "0.18", "0.20", "0.25", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9",
    "1.0", "1.2", "1.5", "1.8", "2.0", "3.0", "4.0", "5.0", "空线", "点线", "点划X", "虚线1", "虚线2", "满填",
    "斜45", "交叉", "沙点", "淤泥", "贝类", "红树", "明礁", "崩崖", "桑园", "茶园", "橡胶", "牧草", "沼泽T", "沼泽", "沙滩",
    "砂砾", "沙泥", "戈壁", "坟地", "粮仓", "肥池", "粪池", "盐碱", "草丘", "龟裂", "林地", "林带", "苗圃", "疏林", "竹林", "灌木",
    "芦苇", "花圃", "草地", "改草", "半荒", "稀少", "果园", "经济L", "水生", "水稻", "旱地", "菜地", "迹地", "幼林", "岸滩",
    "陡崖", "%", "#",
};

const char* const PenChoices[] = {
    "0.1────0", "0.1─ ─ ─1", "0.1┈┈┈┈2", "0.1─·─·─3", "0.1─··─··4", "0.1　　       5",
    "0.1────6", "0.1━━━━7", "0.2━━━━8", "0.3━━━━9", "0.4━━━━10", "w━━━━实线",
    "w,s,x━ ━ ━虚线", "┬┬┬┬┬坎", "┬.┬.┬.┬.固坎", "┻━┻墙",
};

// The panels lie in the column left of the canvas, under the selectors; sizes in twips.
constexpr double PanelCaptionHeight = 240;
constexpr double PanelMargin = 45;
constexpr int MethodColumns = 4;
constexpr int SymbolColumns = 4;
constexpr double MethodButtonSize = 420;
constexpr double SymbolButtonWidth = 420;
constexpr double SymbolButtonHeight = 330;
// The pictures of the buttons, in pixels.
constexpr int MethodIconPixels = 24;
constexpr int SymbolPictureWidth = 24;
constexpr int SymbolPictureHeight = 18;
// The most pixels one paper millimetre of a symbol takes on its button.
constexpr double MostPixelsPerMm = 4;

constexpr Rgb PanelColor = MakeRgb(236, 236, 236);
constexpr Rgb White = MakeRgb(255, 255, 255);

// Where the elements of a point symbol reach, in paper millimetres about its insertion point.
struct Extent {
    double left = 0, right = 0, bottom = 0, top = 0;
    bool any = false;
    void Add(double x, double y) {
        if (!any) {
            left = right = x;
            bottom = top = y;
            any = true;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
};

Extent SymbolExtent(const SymbolStandard& st, int symbol) {
    Extent e;
    const float count = st.SymbolElementCount.At(symbol);
    for (int k = 0; k <= static_cast<int>(count); ++k) {
        const double kind = st.SymbolX.At(symbol, k, 0);
        auto vertex = [&](int v) { return std::pair{st.SymbolX.At(symbol, k, v), st.SymbolY.At(symbol, k, v)}; };
        if (kind == SymbolSegment) {
            for (int v : {1, 2}) e.Add(vertex(v).first, vertex(v).second);
        } else if (kind == SymbolPolyline) {
            const int points = std::clamp(static_cast<int>(st.SymbolY.At(symbol, k, 0)), 0, MaxSymbolVertexIndex);
            for (int v = 1; v <= points; ++v) e.Add(vertex(v).first, vertex(v).second);
        } else if (kind == SymbolCircle) {
            const auto [x, y] = vertex(1);
            const double r = std::fabs(st.SymbolX.At(symbol, k, 2));
            e.Add(x - r, y - r);
            e.Add(x + r, y + r);
        } else if (kind == SymbolArc) {
            const auto [x, y] = vertex(1);
            const auto [sx, sy] = vertex(2);
            const double r = std::hypot(sx - x, sy - y);
            e.Add(x - r, y - r);
            e.Add(x + r, y + r);
        } else if (kind == SymbolPoint) {
            e.Add(vertex(1).first, vertex(1).second);
        }
    }
    return e;
}

// The picture of point symbol `symbol` as its button shows it: black on white, scaled to fit.
Picture SymbolPicture(Surface& canvas, const SymbolStandard& st, int symbol) {
    if (st.SymbolElementCount.At(symbol) < 0) return {};
    const Extent e = SymbolExtent(st, symbol);
    if (!e.any) return {};
    const double spanX = std::max(e.right - e.left, 0.1), spanY = std::max(e.top - e.bottom, 0.1);
    const double pixelsPerMm =
        std::min({MostPixelsPerMm, (SymbolPictureWidth - 4) / spanX, (SymbolPictureHeight - 4) / spanY});
    const double width = SymbolPictureWidth / pixelsPerMm, height = SymbolPictureHeight / pixelsPerMm;
    const double cx = (e.left + e.right) / 2, cy = (e.bottom + e.top) / 2;
    canvas.SetScale(cx - width / 2, cy + height / 2, width, -height);
    canvas.Cls();
    DrawSymbolElements(canvas, st, symbol, 0, 0, 0, 1, MakeRgb(0, 0, 0), 1, 1);
    return canvas.Snapshot();
}

}  // namespace

std::string SymbolButtonCaption(int index) {
    if (index < FirstNamedButton || index > LastNamedButton) return {};
    return NamedButtonCaptions[index - FirstNamedButton];
}

void stForm1::BuildPanels() {
    Combo1.SetComboStyle(ComboBox::DropdownList);
    for (const char* pen : PenChoices) Combo1.AddItem(pen);
    Combo1.onClick = [this] { Combo1_Click(); };
    for (int size : TextSizeChoices) Combo2.AddItem(std::to_string(size));
    Combo2.onClick = [this] { Combo2_Click(); };
    Combo3.onClick = [this] { Combo3_Click(); };

    Frame2.SetCaption("方法");
    Frame2.SetBackColor(PanelColor);
    Command8.Wire([this](CommandButton& button, int index) { button.onClick = [this, index] { Command8_Click(index); }; });
    for (int i = 0; i < MethodPanelButtonCount; ++i) Command8.Load(i).SetPicture(MethodPanelIcon(i, MethodIconPixels));

    for (int page = 0; page < SymbolPageCount; ++page) {
        Frame& frame = Frame1.Load(page);
        frame.SetCaption(PageCaptions[page]);
        frame.SetBackColor(PanelColor);
    }
    Command5.Wire([this](CommandButton& button, int index) { button.onClick = [this, index] { Command5_Click(index); }; });
    for (int i = 0; i < SymbolButtonCount; ++i) {
        CommandButton& button = Command5.Exists(i) ? Command5(i) : Command5.Load(i, &Frame1(i / SymbolButtonsPerPage));
        button.SetFontSize(7);
        button.SetCaption(SymbolButtonCaption(i));
        if (i <= PointSymbolButtons) button.SetBackColor(White);
    }

    Command1.SetCaption("常用");
    Command6.SetCaption("主菜单");
    Command2.SetCaption("GPS(&G)");
    Command2.SetToolTipText("卫星导航");
    Command7.onMouseDown = [this](int button, int shift, double x, double y) { Command7_MouseDown(button, shift, x, y); };
    Command6.onMouseDown = [this](int button, int shift, double x, double y) { Command6_MouseDown(button, shift, x, y); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    // The method panel lies in front at the start.
    Frame2.ZOrder(0);
}

void stForm1::ArrangePanels(double left, double top) {
    const double methodRows = std::ceil(MethodPanelButtonCount / static_cast<double>(MethodColumns));
    const double symbolRows = std::ceil(SymbolButtonsPerPage / static_cast<double>(SymbolColumns));
    // The rows get lower on a low window, so that the panels end above its bottom edge.
    const double room = ScaleHeight() - top - PanelMargin;
    auto rowHeight = [&](double rows, double most, double least) {
        if (ScaleHeight() <= 0) return most;
        return std::clamp((room - PanelCaptionHeight - PanelMargin) / rows, least, most);
    };
    const double methodRow = rowHeight(methodRows, MethodButtonSize, 300);
    const double symbolRow = rowHeight(symbolRows, SymbolButtonHeight, 180);
    const double methodHeight = PanelCaptionHeight + methodRows * methodRow + PanelMargin;
    const double pageHeight = PanelCaptionHeight + symbolRows * symbolRow + PanelMargin;
    const double height = std::max(methodHeight, pageHeight);
    const double width = MethodColumns * MethodButtonSize + 2 * PanelMargin;
    Frame2.Move(left, top, width, height);
    Command8.ForEach([&](CommandButton& button, int i) {
        button.Move(PanelMargin + (i % MethodColumns) * MethodButtonSize, PanelCaptionHeight + (i / MethodColumns) * methodRow,
                    MethodButtonSize, methodRow);
    });
    Frame1.ForEach([&](Frame& frame, int) { frame.Move(left, top, width, height); });
    Command5.ForEach([&](CommandButton& button, int i) {
        const int k = i % SymbolButtonsPerPage;
        button.Move(PanelMargin + (k % SymbolColumns) * SymbolButtonWidth,
                    PanelCaptionHeight + (k / SymbolColumns) * symbolRow, SymbolButtonWidth, symbolRow);
    });
}

void stForm1::RefreshSymbolPictures() {
    const SymbolStandard& st = app.symbolStandard;
    const bool loaded = st.SymbolStandardLoaded == -1;
    std::unique_ptr<Surface> canvas;
    if (loaded) {
        canvas = platform().CreateSurface(SymbolPictureWidth, SymbolPictureHeight);
        canvas->SetBackColor(White);
        canvas->SetDrawWidth(1);
        canvas->SetDrawStyle(DrawStyleSolid);
        canvas->SetDrawMode(DrawModeCopyPen);
    }
    for (int i = 0; i < PointSymbolButtons && Command5.Exists(i); ++i) {
        Picture picture;
        // A symbol the tables cannot draw keeps a plain button.
        if (loaded) GuardSilently([&] { picture = SymbolPicture(*canvas, st, i); });
        Command5(i).SetPicture(std::move(picture));
    }
}

const Frame& stForm1::FrontPanel() const {
    const Frame* front = &Frame2;
    Frame1.ForEach([&](const Frame& frame, int) {
        if (frame.StackOrder() > front->StackOrder()) front = &frame;
    });
    return *front;
}

void stForm1::Command5_Click(int index) {
    if (app.tool.LongCommandRunning == -1) return;
    ToolState& tool = app.tool;
    GuardSilently([&] {
        // The tool that had the canvas takes its preview with it.
        EraseToolPreviews(app);
        const SymbolStandard& st = app.symbolStandard;
        if (st.SymbolStandardLoaded == 0) {
            Picture1.SetMousePointer(PointerCross);
            tool.CommandMode = ModeIdle;
            tool.RubberShown = 0;
            app.current.ModifiedFlag = -1;
            return;
        }
        const std::string code = PlainNumberText(static_cast<std::int32_t>(index));
        // The columns are written in the order mode, argument, prompt, command line.
        auto arm = [&](std::uint8_t mode, const std::string& prompt, bool restart) {
            tool.CommandMode = mode;
            tool.CommandArgument = code;
            Text2.SetText(prompt);
            Text8.SetText("*" + code);
            if (restart) tool.ClickCount = 0;
        };
        auto preset = [&](const char* pattern) {
            tool.CommandMode = ModeFill;
            Text8.SetText(pattern);
            tool.ClickCount = 0;
        };
        if (index >= 0 && index <= 349)
            arm(ModeMapSymbol, st.SymbolNames.At(index), false);
        else if (index >= 350 && index <= 549)
            arm(ModeLine, st.LineTypeNames.At(index - 349), true);
        else if (index == 550)
            preset("5");
        else if (index == 551)
            preset("1");
        else if (index == 552)
            preset("3");
        else if (index == 553)
            preset("4");
        else if (index >= 554 && index <= 597)
            arm(ModeFill, code, true);
        else if (index >= 598 && index <= 608)
            arm(ModeLine, st.LineTypeNames.At(index - 349), true);
        tool.RubberShown = 0;
        app.current.ModifiedFlag = -1;
    });
}

void stForm1::Command7_MouseDown(int button, int, double, double) {
    Frame2.ZOrder(1);
    Frame2.SetEnabled(false);
    if (button == LeftButton)
        SymbolPageIndex = static_cast<std::int16_t>(SymbolPageIndex + 1 > SymbolPageCount - 1 ? 0 : SymbolPageIndex + 1);
    else if (button == RightButton)
        SymbolPageIndex = static_cast<std::int16_t>(SymbolPageIndex - 1 < 0 ? SymbolPageCount - 1 : SymbolPageIndex - 1);
    else
        return;
    Frame1(SymbolPageIndex).ZOrder(0);
}

void stForm1::Command1_Click() {
    Frame2.ZOrder(1);
    Frame2.SetEnabled(false);
    Frame1(2).ZOrder(0);
}

void stForm1::Command6_MouseDown(int button, int, double, double) {
    if (button == LeftButton) {
        Frame2.SetEnabled(true);
        Frame1(0).ZOrder(0);
        Frame2.ZOrder(0);
    } else if (button == RightButton) {
        Frame2.ZOrder(1);
        Frame1(0).ZOrder(0);
    }
}

void stForm1::Command2_Click() {
    if (otherParts.ShowGpsWindow)
        otherParts.ShowGpsWindow();
    else
        Text2.SetText("卫星导航窗口尚未提供，本命令未执行");
}

// ---- The pen, text size and font combos.

void stForm1::Combo1_Click() {
    GuardSilently([this] {
        const int i = Combo1.ListIndex();
        ToolState& tool = app.tool;
        CurrentAttributes& current = app.current;
        if (i >= 0 && i <= 10) {
            current.CurrentPen = static_cast<std::int16_t>(i);
            tool.CommandArgument = "0";
            return;
        }
        // The special lines do not border a fill.
        if (i >= 11 && i <= 15 && tool.CommandMode == ModeFill) return;
        switch (i) {
            case 11:
                Text2.SetText("实线，单位（毫米）。请输入‘线粗’");
                Text8.SetText("sx:0.15,");
                current.CurrentPen = 7;
                tool.CommandArgument = "0.15";
                break;
            case 12:
                Text2.SetText("虚线，单位（毫米）。请输入‘线粗，实部长，虚部长’");
                current.CurrentPen = 2;
                // Set before the command line shows them, so that the line drawn has the width
                // the box shows.
                current.DashWidth = 0.3f;
                current.DashOn = 4;
                current.DashOff = 1;
                Text8.SetText("xx:0.3,4,1");
                tool.CommandArgument = "1092";
                break;
            case 13:
                Text2.SetText("坎");
                Text8.SetText("'xx:0.1,1,0");
                current.CurrentPen = 7;
                tool.CommandArgument = "1091";
                break;
            case 14:
                Text2.SetText("固坎");
                Text8.SetText("'xx:");
                current.CurrentPen = 7;
                tool.CommandArgument = "1090";
                break;
            case 15:
                Text2.SetText("墙，");
                Text8.SetText("'xx:");
                current.CurrentPen = 7;
                tool.CommandArgument = "1093";
                break;
            default: break;
        }
    });
}

namespace {
void RestyleSelectedTexts(stForm1& form, const std::string& font, int code) {
    if (form.otherParts.ApplyTextStyle)
        form.otherParts.ApplyTextStyle(font, code);
    else
        form.Text2.SetText("注记改样式尚未提供，本命令未执行");
}
}  // namespace

void stForm1::Combo2_Click() {
    GuardSilently([this] {
        app.current.TextSize = Val(Combo2.Text());
        if (app.tool.CommandMode == ModeSelect) RestyleSelectedTexts(*this, "", ToInt32(app.current.TextSize));
    });
}

void stForm1::Combo3_Click() {
    GuardSilently([this] {
        const int i = Combo3.ListIndex();
        CurrentAttributes& current = app.current;
        current.CurrentFont = Combo3.Text();
        const bool selecting = app.tool.CommandMode == ModeSelect;
        if (i == 5) {
            Picture1.SetFontItalic(true);
            Text7.SetText("右斜");
            current.CurrentFont = "宋体";
            if (selecting) RestyleSelectedTexts(*this, current.CurrentFont, 64);
        } else if (i == 4) {
            Text7.SetText("左斜");
            current.CurrentFont = "宋体";
            Picture1.SetFontItalic(false);
            if (selecting) RestyleSelectedTexts(*this, current.CurrentFont, 63);
        } else {
            Picture1.SetFontItalic(false);
            if (selecting) RestyleSelectedTexts(*this, current.CurrentFont, 0);
        }
    });
}

}  // namespace movra
