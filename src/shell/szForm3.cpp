#include "shell/szForm3.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "document/FontTable.h"
#include "sheets/gzfenfufrm.h"
#include "shell/stForm1.h"
#include "survey/GaussKruger.h"
#include "symbols/AnnotationScaling.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/shuxfrm.h"

namespace movra {

namespace {

// Numbers are read the lenient way: the leading number of the text, 0 when there is none or when
// it does not fit.
double LenientNumber(const std::string& text) {
    try {
        return Val(text);
    } catch (...) {
        return 0;
    }
}

// Marks an option as the user would, running its rule also when it was marked already.
void Mark(OptionButton& option) {
    const bool was = option.Value();
    option.SetValue(true);
    if (was && option.onClick) option.onClick();
}

constexpr double MonitorInches[4] = {14, 17, 19, 21};

bool MapHoldsRecords(const App& app) {
    for (int layer = 1; layer <= app.store.LayerDimension(); ++layer)
        if (app.store.Count(layer) > 0) return true;
    return false;
}

}  // namespace

szForm3::szForm3(App& application)
    : FormModel(application.platform, "szForm3"),
      app(application),
      Frame1(*this, "Frame1"),
      Label1(*this, "Label1", &Frame1),
      Option1(*this, "Option1", &Frame1),
      Option4(*this, "Option4", &Frame1),
      Option2(*this, "Option2", &Frame1),
      Option3(*this, "Option3", &Frame1),
      Option5(*this, "Option5", &Frame1),
      Frame2(*this, "Frame2"),
      Label2(*this, "Label2", &Frame2),
      Option6(*this, "Option6", &Frame2),
      Option7(*this, "Option7", &Frame2),
      Option8(*this, "Option8", &Frame2),
      Option9(*this, "Option9", &Frame2),
      Option10(*this, "Option10", &Frame2),
      Option18(*this, "Option18", &Frame2),
      Option11(*this, "Option11", &Frame2),
      Option12(*this, "Option12", &Frame2),
      Option13(*this, "Option13", &Frame2),
      Option17(*this, "Option17", &Frame2),
      Option14(*this, "Option14", &Frame2),
      Option15(*this, "Option15", &Frame2),
      Option16(*this, "Option16", &Frame2),
      Option19(*this, "Option19", &Frame2),
      Text7(*this, "Text7", &Frame2),
      Text8(*this, "Text8", &Frame2),
      Frame3(*this, "Frame3"),
      Label3(*this, "Label3", &Frame3),
      Label4(*this, "Label4", &Frame3),
      Label5(*this, "Label5", &Frame3),
      Label6(*this, "Label6", &Frame3),
      Text1(*this, "Text1", &Frame3),
      Text2(*this, "Text2", &Frame3),
      Text6(*this, "Text6", &Frame3),
      Text5(*this, "Text5", &Frame3),
      Text3(*this, "Text3", &Frame3),
      Text4(*this, "Text4", &Frame3),
      Check1(*this, "Check1"),
      Check2(*this, "Check2"),
      Check4(*this, "Check4"),
      Check5(*this, "Check5"),
      Label14(*this, "Label14"),
      List1(*this, "List1"),
      Label15(*this, "Label15"),
      List2(*this, "List2"),
      Frame4(*this, "Frame4"),
      Option20(*this, "Option20", &Frame4),
      Text9(*this, "Text9", &Frame4),
      Frame5(*this, "Frame5"),
      Option21(*this, "Option21", &Frame5),
      Option22(*this, "Option22", &Frame5),
      Option23(*this, "Option23", &Frame5),
      Command1(*this, "Command1"),
      Command4(*this, "Command4"),
      Label18(*this, "Label18"),
      Label19(*this, "Label19"),
      Label7(*this, "Label7"),
      Label8(*this, "Label8"),
      Label9(*this, "Label9"),
      Label10(*this, "Label10"),
      Label12(*this, "Label12"),
      Label11(*this, "Label11"),
      Label13(*this, "Label13"),
      Command2(*this, "Command2"),
      Command3(*this, "Command3"),
      Combo1(*this, "Combo1"),
      Combo2(*this, "Combo2"),
      Check3(*this, "Check3"),
      Label16(*this, "Label16"),
      List3(*this, "List3") {
    SetCaption("范围设定");

    Frame1.SetCaption("单位");
    Label1.SetCaption("长度单位选择：");
    Option1.SetCaption("米");
    Option1.SetToolTipText("对应‘强置比例尺’");
    Option1.SetValue(true);
    Option4.SetCaption("强置比例尺");
    Option4.SetToolTipText("对应击“米”");
    Option2.SetCaption("象素3");
    Option3.SetCaption("缇(twip)1");
    Option5.SetCaption("点2");
    for (OptionButton* disabled : {&Option2, &Option3, &Option5}) disabled->SetEnabled(false);
    Option1.onClick = [this] { app.settings.ForceScaleFlag = 0; };
    Option4.onClick = [this] { app.settings.ForceScaleFlag = -1; };

    Frame2.SetCaption("比例");
    Label2.SetCaption("你工程的比例尺是：");
    const std::vector<std::pair<OptionButton*, std::pair<const char*, double>>> scales = {
        {&Option6, {"1/100", 100}},       {&Option7, {"1/200", 200}},     {&Option8, {"1/500", 500}},
        {&Option9, {"1/1000", 1000}},     {&Option10, {"1/2000", 2000}},  {&Option18, {"1/5000", 5000}},
        {&Option11, {"1/1万", 10000}},    {&Option12, {"1/5万", 50000}},  {&Option13, {"1/10万", 100000}},
        {&Option17, {"1/25万", 250000}},  {&Option14, {"1/50万", 500000}}, {&Option15, {"1/100万", 1000000}},
        {&Option16, {"1/1", 1}}};
    Option8.SetValue(true);
    for (const auto& [option, captionAndScale] : scales) {
        option->SetCaption(captionAndScale.first);
        const double denominator = captionAndScale.second;
        option->onClick = [this, denominator] { SetScale(denominator); };
    }
    Option19.SetCaption("自定义");
    Option19.onClick = [this] { Text7.SetLocked(false); };
    Frame2.onMouseUp = [this](int, int, double, double) { Frame2_MouseUp(); };
    Text7.SetText("1000");
    Text7.SetToolTipText("比例尺");
    Text7.onChange = [this] { Text7_Change(); };
    Text8.SetText("120.0000");
    Text8.SetToolTipText("中央子午线");
    Text8.onChange = [this] { Text8_Change(); };

    Frame3.SetCaption("范围（单位：米）");
    Label3.SetCaption("x=");
    Label4.SetCaption("y=");
    Label5.SetCaption("x=");
    Label6.SetCaption("y=");
    Text1.SetText("minX");
    Text2.SetText("minY");
    Text6.SetText("maxX");
    Text5.SetText("maxY");
    Text3.SetText("64800");
    Text4.SetText("48600");

    Check1.SetCaption("显示格网");
    Check1.onClick = [this] { Check1_Click(); };
    Check2.SetCaption("伴动漫游");
    Check2.onClick = [this] { Check2_Click(); };
    Check4.SetCaption("界址点透明");
    Check4.onClick = [this] { Check4_Click(); };
    Check5.SetCaption("显示可用字体");
    Check5.onClick = [this] { Check5_Click(); };
    Label14.SetCaption("等高距");
    for (const char* item : {"1", "2", "5", "10", "50", "100", "0.5", "0.1"}) List1.AddItem(item);
    List1.onClick = [this] { List1_Click(); };
    Label15.SetCaption("背景颜色");
    for (const char* item : {"当前颜色", "0",   "7",   "6",   "5",   "4",   "2",   "1",   "255", "254",
                             "253",      "252", "251", "250", "240", "230", "220", "210", "200", "180",
                             "160",      "140", "120", "110", "100", "80",  "60",  "40",  "30",  "20"})
        List2.AddItem(item);
    List2.onClick = [this] { List2_Click(); };

    Frame4.SetCaption("最佳视觉");
    const char* monitors[5] = {"14英寸", "17英寸", "19英寸", "21英寸", "实测宽(mm)"};
    for (int i = 0; i < 5; ++i) Option20.Load(i).SetCaption(monitors[i]);
    Option20(1).SetValue(true);
    Option20.Wire([this](OptionButton& option, int index) { option.onClick = [this, index] { Option20_Click(index); }; });
    Text9.SetText("365");
    Text9.onChange = [this] { Text9_Change(); };

    Frame5.SetCaption("卫星导航相关");
    Option21.SetCaption("80坐标系");
    Option21.SetValue(true);
    Option22.SetCaption("54坐标系");
    Option23.SetCaption("WGS84坐标系");
    Option21.onClick = [this] { SetCurrentDatum(app.settings, Xian80Ellipsoid); };
    Option22.onClick = [this] { SetCurrentDatum(app.settings, Beijing54Ellipsoid); };
    Option23.onClick = [this] { SetCurrentDatum(app.settings, Wgs84Ellipsoid); };

    Command1.SetCaption("确定");
    Command1.onClick = [this] { Command1_Click(); };
    Command4.SetCaption("属性字段名");
    Command4.onClick = [this] { Command4_Click(); };
    Label18.SetCaption("进行标准分幅");
    Label18.SetEnabled(false);
    Label19.SetCaption("进行不规则分幅");
    Label19.SetEnabled(false);
    Label18.onClick = [this] { Label18_Click(); };
    Label19.onClick = [this] { Label19_Click(); };
    Label7.SetCaption("北-纵坐标-Y");
    Label8.SetCaption("东-横坐标-X");
    Label9.SetCaption("(x,y)表示为：");
    Label10.SetCaption("(横坐标x，纵坐标y)");
    Label12.SetCaption("方位角：");
    Label11.SetCaption("α");
    Label13.SetCaption("重 要 说 明");

    Command2.SetCaption("图式_加/卸载");
    Command2.onClick = [this] { Command2_Click(); };
    Command3.SetCaption("符号_加/卸载");
    Command3.onClick = [this] { Command3_Click(); };
    for (int i = 1; i <= 9; ++i) Combo1.AddItem("符号库" + std::to_string(i));
    Combo1.SetText("符号库1");
    Combo1.onChange = [this] { Combo1_Change(); };
    Combo1.onClick = [this] { Combo1_Change(); };
    for (const char* item : {"电子图式", "1比2千图式", "1比1万图式"}) Combo2.AddItem(item);
    Combo2.SetText("电子图式");
    Check3.SetCaption("图式有编号");
    Check3.onClick = [this] { Check3_Click(); };
    Label16.SetCaption("缩放(全体)字体");
    for (const char* item : {"1", "0.5", "0.55", "0.6", "0.65", "0.7", "0.75", "0.8", "0.85", "0.9", "0.95",
                             "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0"})
        List3.AddItem(item);
    Label16.onDblClick = [this] { Label16_DblClick(); };
    Layout();
}

szForm3::~szForm3() = default;

void szForm3::Layout() {
    Move(0, 0, 11400, 8200);
    Frame2.Move(120, 120, 4200, 3300);
    // The labels stand below their frames' captions.
    Label2.Move(120, 360, 2400, 300);
    OptionButton* scaleOptions[] = {&Option6,  &Option7,  &Option8,  &Option9,  &Option10, &Option18, &Option11,
                                    &Option12, &Option13, &Option17, &Option14, &Option15, &Option16, &Option19};
    for (int i = 0; i < 14; ++i) scaleOptions[i]->Move(120 + (i % 3) * 1350, 680 + (i / 3) * 360, 1300, 300);
    Text7.Move(120, 2880, 1900, 300);
    Text8.Move(2160, 2880, 1900, 300);

    Frame1.Move(120, 3540, 4200, 1500);
    Label1.Move(120, 360, 2000, 300);
    Option1.Move(120, 680, 1300, 300);
    Option4.Move(1470, 680, 1600, 300);
    Option2.Move(120, 1060, 1300, 300);
    Option3.Move(1470, 1060, 1400, 300);
    Option5.Move(2900, 1060, 1100, 300);

    Frame3.Move(4440, 120, 3600, 1900);
    Label3.Move(120, 300, 400, 300);
    Text1.Move(500, 300, 1400, 300);
    Label4.Move(120, 700, 400, 300);
    Text2.Move(500, 700, 1400, 300);
    Label5.Move(1950, 300, 300, 300);
    Text6.Move(2200, 300, 1300, 300);
    Label6.Move(1950, 700, 300, 300);
    Text5.Move(2200, 700, 1300, 300);
    Text3.Move(500, 1150, 1400, 300);
    Text4.Move(2200, 1150, 1300, 300);

    Frame4.Move(4440, 2100, 3600, 1700);
    for (int i = 0; i < 5; ++i) Option20(i).Move(120 + (i % 2) * 1700, 300 + (i / 2) * 360, 1600, 300);
    Text9.Move(1820, 1020, 1300, 300);

    Frame5.Move(4440, 3900, 3600, 1150);
    Option21.Move(120, 300, 1600, 300);
    Option22.Move(1800, 300, 1600, 300);
    Option23.Move(120, 680, 2200, 300);

    Check1.Move(8200, 180, 1500, 300);
    Check2.Move(9750, 180, 1500, 300);
    Check4.Move(8200, 560, 1500, 300);
    Check5.Move(9750, 560, 1600, 300);
    Label14.Move(8200, 960, 1300, 300);
    List1.Move(8200, 1280, 1300, 1700);
    Label15.Move(9750, 960, 1300, 300);
    List2.Move(9750, 1280, 1300, 1700);
    Label18.Move(8200, 3100, 1500, 300);
    Label19.Move(9750, 3100, 1600, 300);

    Command2.Move(120, 5200, 1800, 400);
    Command3.Move(2040, 5200, 1800, 400);
    Combo1.Move(3960, 5200, 1500, 400);
    Combo2.Move(5580, 5200, 1700, 400);
    Check3.Move(7400, 5200, 1600, 400);
    Label16.Move(120, 5760, 1800, 300);
    List3.Move(2040, 5700, 1500, 900);

    Label7.Move(4440, 5760, 1800, 300);
    Label8.Move(6300, 5760, 1800, 300);
    Label9.Move(4440, 6100, 1800, 300);
    Label10.Move(6300, 6100, 2400, 300);
    Label12.Move(4440, 6440, 1000, 300);
    Label11.Move(5500, 6440, 400, 300);
    Label13.Move(8800, 5760, 1500, 300);

    Command4.Move(8200, 7000, 1500, 450);
    Command1.Move(9800, 7000, 1300, 450);
}

void szForm3::SetScale(double denominator) {
    app.view.ProjectParams[0] = denominator;
    ShowScaleInSettings();
}

void szForm3::ShowScaleInSettings() {
    Text7.SetText(PlainNumberText(app.view.ProjectParams[0]));
    Option1.SetCaption("米");
    Frame3.SetCaption("范围(单位:米)");
}

void szForm3::Form_Load() {
    auto& view = app.view;
    auto& s = app.settings;
    try {
        SetCurrentDatum(app.settings, Xian80Ellipsoid);
        Mark(Option21);
        Text1.SetText(PlainNumberText(app.reduction.ReductionOffsetX));
        Text2.SetText(PlainNumberText(app.reduction.ReductionOffsetY));
        // The extents are only shown: to the millimetre, without the noise of the arithmetic that
        // moved a vertex (430, not 430.000000193). Seven significant digits would not do: at survey
        // coordinates they drop the centimetres (3456789.57 would read 3456789.5).
        Text5.SetText(DecimalNumberText(app.extents.ExtentMaxY, 3));
        Text6.SetText(DecimalNumberText(app.extents.ExtentMaxX, 3));
        Check4.SetValue(view.BoundaryPointsTransparent ? Checked : Unchecked);
        Text7.SetText(PlainNumberText(view.ProjectParams[0]));
        if (view.ProjectParams[5] > 0)
            Text8.SetText(PlainNumberText(view.ProjectParams[5]));
        else
            Text8.SetText("120.000");
        if (s.ContourInterval == 0) s.ContourInterval = 1;
        Check1.SetValue(s.ShowGrid == 1 ? Checked : Unchecked);
        // Dividing needs a map to divide.
        const bool mapHoldsRecords = MapHoldsRecords(app);
        Label18.SetEnabled(mapHoldsRecords);
        Label19.SetEnabled(mapHoldsRecords);
        Check2.SetValue(s.FollowPan == -1 ? Checked : Unchecked);
        Mark(s.ForceScaleFlag == -1 ? Option4 : Option1);
        for (int i = 0; i < List1.ListCount(); ++i) {
            if (static_cast<float>(LenientNumber(List1.List(i))) == s.ContourInterval) {
                List1.SetListIndex(i);
                break;
            }
        }

        // A denominator of 99 or less (unset, or the 1:1 drawing option) is no map scale: a
        // loading starts again from 1:500.
        const double scale = view.ProjectParams[0];
        if (scale <= 99) {
            view.ProjectParams[0] = 500;
        } else {
            const std::pair<OptionButton*, double> marks[] = {
                {&Option6, 100},     {&Option7, 200},     {&Option8, 500},        {&Option9, 1000},
                {&Option10, 2000},   {&Option18, 5000},   {&Option11, 10000},     {&Option12, 50000},
                {&Option13, 100000}, {&Option17, 250000}, {&Option14, 500000},    {&Option15, 1000000}};
            for (const auto& [option, denominator] : marks) {
                if (scale == denominator) {
                    Mark(*option);
                    Text3.SetText("65280");
                    Text4.SetText("48960");
                    break;
                }
            }
        }
        view.PointMarkRadius = view.ProjectParams[0] / 1000 * 0.4;

        const std::int32_t twips = app.work.ScreenTwipsPerMetre;
        int monitor = 4;
        if (twips >= 50001) monitor = 0;
        else if (twips == 50000) monitor = 1;
        else if (twips == 44736) monitor = 2;
        else if (twips == 40476) monitor = 3;
        if (monitor < 4) {
            Mark(Option20(monitor));
        } else {
            // A measured width is kept as it was stored, not replaced by the default.
            loadingMeasuredWidth_ = true;
            Option20(4).SetValue(true);
            loadingMeasuredWidth_ = false;
        }
    } catch (...) {
        loadingMeasuredWidth_ = false;
    }
}

void szForm3::ApplyOkRule() {
    auto& view = app.view;
    view.ProjectParams[1] = LenientNumber(Text1.Text());
    view.ProjectParams[2] = LenientNumber(Text2.Text());
    const double s = view.ProjectParams[0];
    if (s <= 2000)
        app.reduction.ReductionUnit = 100000;
    else if (s < 10000)
        app.reduction.ReductionUnit = 1000000;
    else
        app.reduction.ReductionUnit = 100000000;
    view.ScaleFactor = s / 1000;
    view.PointMarkRadius = static_cast<float>(view.ScaleFactor * 0.4);
    view.GroundPerScreenMm = view.DisplayZoomInverse * view.ScaleFactor;
}

void szForm3::Command1_Click() {
    // The close rule is the OK rule: unloading runs it once through Form_QueryUnload.
    Unload();
}

void szForm3::Form_QueryUnload(int& /*cancel*/, int& /*unloadMode*/) { ApplyOkRule(); }

void szForm3::Frame2_MouseUp() {
    Text7.SetText(PlainNumberText(app.view.ProjectParams[0]));
    Text7.SetLocked(true);
}

void szForm3::Text7_Change() {
    const double n = LenientNumber(Text7.Text());
    if (n != 0) app.view.ProjectParams[0] = n;
}

void szForm3::Text8_Change() { app.view.ProjectParams[5] = LenientNumber(Text8.Text()); }

void szForm3::Option20_Click(int index) {
    auto& view = app.view;
    const double screenWidth = app.platform.screen().WidthTwips();
    if (index >= 0 && index < 4) {
        const double n = MonitorInches[index];
        app.work.ScreenTwipsPerMetre = static_cast<std::int32_t>(Int(850000 / n));
        const double aspect = view.ScreenAspect;
        const float widthMm = static_cast<float>(n / 12 * 305 / std::sqrt(aspect * aspect + 1));
        Text9.SetText(PlainNumberText(widthMm));
        Text9.SetEnabled(false);
    } else if (index == 4) {
        Text9.SetEnabled(true);
        if (loadingMeasuredWidth_) {
            Text9.SetText(PlainNumberText(app.work.ScreenWidthMm));
            return;
        }
        Text9.SetText("365.1");
        const double width = LenientNumber(Text9.Text());
        if (width != 0) app.work.ScreenTwipsPerMetre = static_cast<std::int32_t>(Int(screenWidth * 1000 / width));
    }
}

void szForm3::Text9_Change() {
    if (loadingMeasuredWidth_ || !Option20.Exists(4) || !Option20(4).Value()) return;
    const double width = LenientNumber(Text9.Text());
    if (width < 100) return;
    app.work.ScreenWidthMm = static_cast<float>(width);
    app.work.ScreenTwipsPerMetre =
        static_cast<std::int32_t>(Int(app.platform.screen().WidthTwips() * 1000.0 / app.work.ScreenWidthMm));
}

void szForm3::Check1_Click() { app.settings.ShowGrid = Check1.Value() == Checked ? 1 : 0; }

void szForm3::Check2_Click() {
    if (Check2.Value() == Checked) {
        if (app.form1) app.form1->SetRoamingInterval(50);
        app.settings.FollowPan = -1;
    } else {
        app.settings.FollowPan = 0;
    }
}

void szForm3::Check4_Click() { app.view.BoundaryPointsTransparent = static_cast<std::int16_t>(Check4.Value()); }

void szForm3::Check5_Click() {
    if (!app.form1) return;
    ComboBox& fonts = app.form1->Combo3;
    try {
        fonts.Clear();
        auto& names = app.tables.FontNames;
        if (Check5.Value() == Checked) {
            const std::vector<std::string> installed = app.platform.screen().FontFamilies();
            const size_t count = std::min<size_t>(installed.size(), names.size());
            for (size_t i = 0; i < count; ++i) {
                fonts.AddItem(installed[i]);
                names[i] = installed[i];
            }
        } else {
            for (int i = 0; i <= 153; ++i) {
                names[static_cast<size_t>(i)] = FontIndexToName(static_cast<std::uint8_t>(i));
                fonts.AddItem(names[static_cast<size_t>(i)]);
            }
        }
    } catch (...) {
    }
}

void szForm3::List1_Click() {
    if (List1.ListIndex() < 0) return;
    app.settings.ContourInterval = static_cast<float>(LenientNumber(List1.Text()));
}

void szForm3::List2_Click() {
    if (List2.ListIndex() < 0) return;
    const std::string item = List2.Text();
    Rgb color;
    if (item == "当前颜色") {
        color = app.current.CurrentColor;
    } else {
        const double index = LenientNumber(item);
        if (index < 0 || index > 255) return;
        color = app.tables.ColorPalette[static_cast<size_t>(index)];
    }
    app.view.BackgroundColor = color;
    if (app.form1) {
        app.form1->Picture1.SetBackColor(color);
        app.form1->Text4.SetBackColor(color);
    }
}

void szForm3::Command4_Click() { OpenAttributeFieldDesign(app); }

void szForm3::Command2_Click() { SymbolStandardSwitch(app); }

void szForm3::Command3_Click() { SelfMadeSymbolSwitch(app); }

void szForm3::Label16_DblClick() {
    if (LenientNumber(List3.Text()) == 1) {
        Label16.SetCaption("系数为1不动！");
        return;
    }
    if (app.platform.prompt().MsgBox("要进行(全体)字体缩放吗？", MsgYesNo, "字体缩放") != AnswerYes) return;
    ScaleAllAnnotations();
}

void szForm3::ScaleAllAnnotations() {
    ScalingFactor = static_cast<float>(LenientNumber(List3.Text()));
    if (!(ScalingFactor >= 0.5f && ScalingFactor <= 2.0f)) {
        ScalingFactor = 1;
        Label16.SetCaption("先选系数！");
        return;
    }
    // Every layer that is drawn (on or locked) and holds a record; the records lie below the count.
    RecordStore& store = app.store;
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= lastLayer; ++layer) {
        const auto l = static_cast<std::size_t>(layer);
        if (store.LayerOnFlag[l] == 0 && store.LayerLockFlag[l] == 0) continue;
        const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
        for (int slot = 0; slot < count; ++slot)
            ScaleAnnotationRecord(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), ScalingFactor);
    }
    app.platform.prompt().MsgBox("(全体)字体缩放完毕,请刷新！", MsgOkOnly);
    Unload();
}

bool szForm3::DivisionAllowed() const {
    // A division under way yields to the windows; starting another would unload the window whose
    // division is still running.
    return app.tool.LongCommandRunning != -1 && app.selfMade.SelfMadeSymbolsLoaded == 0 && app.symbolStandard.SymbolStandardLoaded == -1 &&
           Check1.Value() == Checked;
}

void szForm3::Label18_Click() {
    if (!DivisionAllowed()) return;
    if (app.platform.prompt().MsgBox("要进行图幅标准分幅吗？,确已掌握分幅方法了吗", MsgYesNo, "标准分幅") !=
        AnswerYes)
        return;
    ShowStandardDivisionWindow(app);
    Unload();
}

void szForm3::Label19_Click() {
    if (!DivisionAllowed()) return;
    if (app.platform.prompt().MsgBox("要进行图幅不规则分幅吗？,确已掌握分幅方法了吗", MsgYesNo, "不规则分幅") !=
        AnswerYes)
        return;
    ShowIrregularDivisionWindow(app);
    Unload();
}

void szForm3::Combo1_Change() { ChooseSelfMadeLibrary(app, Combo1.Text()); }

void szForm3::Check3_Click() { NumberSymbolButtons(app, Check3.Value()); }

szForm3& SettingsWindow(App& app) {
    return app.form1->SettingsWindow();
}

void OpenAttributeFieldDesign(App& app) {
    // The settings window steps aside while the names are designed; it comes back when opened again.
    ShowAttributeFieldDesign(app, [&app] {
        if (app.form1) app.form1->SettingsWindow().Hide();
    });
}

}  // namespace movra
