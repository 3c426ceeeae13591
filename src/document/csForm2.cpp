#include "document/csForm2.h"

#include <algorithm>

#include "App.h"
#include "basic/Numbers.h"
#include "document/Layers.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr Rgb Black = 0;
constexpr Rgb Red = 0xFF;
constexpr Rgb White = 0xFFFFFF;

std::string Num(int value) { return PlainNumberText(static_cast<std::int32_t>(value)); }

// A palette index from a box's text: the number it begins with, kept inside the palette.
int PaletteIndexOf(const std::string& text) {
    const double v = Val(text);
    if (!(v >= 0)) return 0;
    return static_cast<int>(std::min<double>(ToInt32(std::min(v, 255.0)), 255));
}

}  // namespace

csForm2::csForm2(App& application)
    : FormModel(application.platform, "csForm2"),
      app(application),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2"),
      Combo1(*this, "Combo1"),
      Label3(*this, "Label3"),
      Command1(*this, "Command1"),
      Frame1(*this, "Frame1"),
      Command3(*this, "Command3", &Frame1),
      Label4(*this, "Label4", &Frame1),
      Label5(*this, "Label5", &Frame1),
      Label6(*this, "Label6", &Frame1),
      Text2(*this, "Text2"),
      Text3(*this, "Text3"),
      Command4(*this, "Command4"),
      Command2(*this, "Command2") {
    SetCaption("图层操作");
    Move(0, 0, 7800, 6600);
    Label1.Move(120, 120, 600, 300);
    Text1.Move(720, 120, 1500, 300);
    Label2.Move(2400, 120, 600, 300);
    Combo1.Move(3000, 120, 1500, 300);
    Label3.Move(120, 540, 2400, 300);
    Command1.Move(4700, 100, 2000, 360);
    Frame1.Move(120, 960, 7400, 4200);
    for (int v = 0; v <= 9; ++v) Combo1.AddItem(Num(v));
    for (int v = 10; v <= 250; v += 10) Combo1.AddItem(Num(v));
    for (int v = 251; v <= 253; ++v) Combo1.AddItem(Num(v));
    Command3.LoadRange(0, 66);
    Command3.Wire([this](CommandButton& button, int index) {
        button.onClick = [this, index] { Command3_Click(index); };
    });
    for (int i = 0; i <= 66; ++i) {
        const int column = i % 11, row = i / 11;
        Command3(i).Move(120 + column * 660, 300 + row * 480, i == 66 ? 1260 : 600, 420);
    }
    Label4.Move(120, 3720, 1200, 300);
    Label5.Move(1500, 3720, 1200, 300);
    Label6.Move(2880, 3720, 1200, 300);
    Text2.Move(120, 5400, 2000, 300);
    Text3.Move(2300, 5400, 1200, 300);
    Command4.Move(3700, 5360, 2000, 360);
    Command2.Move(5900, 5360, 1400, 360);

    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Label4.onClick = [this] { Label4_Click(); };
    Label5.onClick = [this] { Label5_Click(); };
    Label6.onClick = [this] { Label6_Click(); };
    Combo1.onChange = [this] { Combo1_Change(); };
    Combo1.onClick = [this] { Combo1_Click(); };
    Text2.onChange = [this] { Text2_Change(); };
    Text3.onChange = [this] { Text3_Change(); };
    SetDesignState();
}

csForm2::~csForm2() = default;

// The texts and states the dialog is designed with; every load starts from them.
void csForm2::SetDesignState() {
    designing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{designing_};
    Label1.SetCaption("层名");
    Text1.SetText("层2");
    Text1.SetToolTipText("待增加的层名");
    Text1.SetForeColor(Black);
    Label2.SetCaption("颜色");
    Combo1.SetText("颜色");
    Combo1.SetBackColor(SystemColor);
    Combo1.SetToolTipText("待增加的层颜色");
    Label3.SetCaption("第N层");
    Command1.SetCaption("确定加层属性");
    Frame1.SetCaption("层状态");
    for (int i = 0; i <= 66; ++i) {
        CommandButton& button = Command3(i);
        button.SetCaption(i == 66 ? "66-255" : Num(i));
        button.SetEnabled(i == 0 || i == 66);
        button.SetBackColor(SystemColor);
    }
    Label4.SetCaption("全层开");
    Label5.SetCaption("全层关");
    Label6.SetCaption("刷  新");
    Text2.SetText("层名称");
    Text3.SetText("层颜色");
    Text3.SetBackColor(SystemColor);
    Command4.SetCaption("修改层名层色");
    Command4.SetEnabled(true);
    Command2.SetCaption("退出");
}

CommandButton& csForm2::LayerButton(int layer) { return Command3(std::clamp(layer, 0, 66)); }

Rgb csForm2::OnColor(int layer) const {
    const int shown = std::clamp(layer, 0, 66);
    return app.tables.ColorPalette[app.store.LayerColorIndex[static_cast<size_t>(shown)]];
}

int csForm2::SelectorLayers() const {
    const int n = app.form1 ? app.form1->ImageCombo1.ItemCount() : app.store.LayerCount;
    return std::clamp(n, 0, 255);
}

void csForm2::Form_Load() {
    SetDesignState();
    auto& store = app.store;
    store.NextLayerIndex = static_cast<std::uint8_t>(std::min(store.LayerCount + 1, 255));
    Label3.SetCaption("第" + Num(store.NextLayerIndex) + "层待设置");
    Text1.SetText("层" + Num(store.NextLayerIndex));
    Combo1.SetForeColor(Black);
    Command4.SetEnabled(false);
    // A fresh panel shows the layers that are off as off.
    for (int i = 0; i <= std::min<int>(store.LayerCount, 66); ++i)
        if (!store.LayerOnFlag[static_cast<size_t>(i)]) LayerButton(i).SetBackColor(LayerOffGrey);
    Label6_Click();
}

void csForm2::Label6_Click() {
    const int n = SelectorLayers();
    for (int i = 0; i <= n; ++i)
        if (app.store.LayerOnFlag[static_cast<size_t>(i)]) LayerButton(i).SetBackColor(OnColor(i));
    app.store.NextLayerIndex = static_cast<std::uint8_t>(std::min(n + 1, 255));
}

void csForm2::Label4_Click() {
    const int n = SelectorLayers();
    for (int i = 1; i <= n; ++i) {
        CommandButton& button = LayerButton(i);
        button.SetBackColor(OnColor(i));
        button.SetEnabled(true);
        SetLayerOn(i, true);
        app.store.LayerLockFlag[static_cast<size_t>(i)] = 0;
    }
    app.store.NextLayerIndex = static_cast<std::uint8_t>(std::min(n + 1, 255));
}

void csForm2::Label5_Click() {
    const int n = SelectorLayers();
    for (int i = 0; i <= n; ++i) {
        LayerButton(i).SetBackColor(LayerOffGrey);
        SetLayerOn(i, false);
    }
    app.store.NextLayerIndex = static_cast<std::uint8_t>(std::min(n + 1, 255));
}

void csForm2::MarkLayerChanged(int layer) {
    // The layer table of the drawing layers goes into the map files: changing it changes the map.
    if (layer >= 1 && layer <= app.store.LayerCount) app.current.ModifiedFlag = True;
}

void csForm2::SetLayerOn(int layer, bool on) {
    auto& flag = app.store.LayerOnFlag[static_cast<size_t>(std::clamp(layer, 0, 255))];
    const std::int16_t value = on ? True : False;
    if (flag == value) return;
    flag = value;
    MarkLayerChanged(layer);
}

void csForm2::Command3_Click(int k) {
    auto& store = app.store;
    if (k < 0 || k > 66 || k > store.LayerCount) return;
    CommandButton& button = Command3(k);
    const bool turnOn = button.BackColor() == LayerOffGrey;
    button.SetBackColor(turnOn ? OnColor(k) : LayerOffGrey);
    const int last = k == 66 ? store.LayerCount : k;
    for (int i = k; i <= last; ++i) SetLayerOn(i, turnOn);

    ShownLayer = static_cast<std::int16_t>(k);
    const auto shown = static_cast<size_t>(k);
    Text2.SetText(store.LayerNames[shown]);
    Text3.SetText(Num(store.LayerColorIndex[shown]));
    Text3.SetBackColor(app.tables.ColorPalette[store.LayerColorIndex[shown]]);
    Command4.SetCaption("修改第" + Num(k) + "层");
    Command4.SetEnabled(false);
}

void csForm2::Command1_Click() {
    auto& store = app.store;
    int next = store.NextLayerIndex;
    // A definition never falls on layer 0 or on a layer the map already has.
    if (!Text1.Text().empty() && next >= 1 && next > store.LayerCount) {
        store.LayerNames[static_cast<size_t>(next)] = Text1.Text();
        store.LayerColorIndex[static_cast<size_t>(next)] = static_cast<std::uint8_t>(PaletteIndexOf(Combo1.Text()));
        next = (next + 1) & 0xFF;
    }
    if (next <= store.LayerCount) next = std::min(store.LayerCount + 1, 255);
    store.NextLayerIndex = static_cast<std::uint8_t>(next);
    Text1.SetForeColor(Red);
    Label3.SetCaption("第" + Num(next) + "层待设置");
    Text1.SetText("层" + Num(next));
}

void csForm2::Command2_Click() { Unload(); }

void csForm2::Command4_Click() {
    auto& store = app.store;
    const int layer = std::clamp<int>(ShownLayer, 0, 255);
    const auto l = static_cast<size_t>(layer);
    const std::string oldName = store.LayerNames[l];
    const std::uint8_t oldColor = store.LayerColorIndex[l];
    if (!Text2.Text().empty()) store.LayerNames[l] = Text2.Text();
    const double v = Val(Text3.Text());
    if (v > 0 && v <= 255) store.LayerColorIndex[l] = ToByte(v);
    if (store.LayerNames[l] != oldName || store.LayerColorIndex[l] != oldColor) MarkLayerChanged(layer);
    Command4.SetCaption("第" + Num(layer) + "层已修改");
    // Only a drawing layer the store holds becomes the current layer.
    const bool drawingLayer = layer >= 1 && layer <= store.LayerCount;
    if (drawingLayer) store.CurrentLayer = static_cast<std::uint8_t>(layer);
    if (stForm1* form = app.form1) {
        ImageCombo& combo = form->ImageCombo1;
        if (!combo.ImageListRef()) combo.SetImageList(&form->ImageList2);
        combo.ClearItems();
        combo.SetBackColor(White);
        for (int i = 1; i <= store.LayerCount; ++i) {
            const auto k = static_cast<size_t>(i);
            combo.AddItem(i, "k" + Num(i), store.LayerNames[k], store.LayerColorIndex[k], 0);
        }
        combo.SetText(store.LayerNames[store.CurrentLayer]);
    }
}

void csForm2::Combo1_Change() {
    if (designing_) return;
    const double v = Val(Combo1.Text());
    if (v > 255 || v < 0) Combo1.SetText("0");
    Combo1.SetBackColor(app.tables.ColorPalette[static_cast<size_t>(PaletteIndexOf(Combo1.Text()))]);
}

void csForm2::Combo1_Click() {
    Combo1.SetBackColor(app.tables.ColorPalette[static_cast<size_t>(PaletteIndexOf(Combo1.Text()))]);
}

void csForm2::Text2_Change() {
    if (!designing_) Command4.SetEnabled(true);
}

void csForm2::Text3_Change() {
    // Setting the box back runs this again; the second run must not set it once more.
    if (text3Checking_ || designing_) return;
    text3Checking_ = true;
    const double v = Val(Text3.Text());
    if (v > 255 || v <= 0) {
        Text3.SetText(Num(app.store.LayerColorIndex[static_cast<size_t>(std::clamp<int>(ShownLayer, 0, 255))]));
    } else {
        Text3.SetBackColor(app.tables.ColorPalette[static_cast<size_t>(PaletteIndexOf(Text3.Text()))]);
        Command4.SetEnabled(true);
    }
    text3Checking_ = false;
}

void OpenLayerManager(App& app) {
    if (app.store.NextLayerIndex > 254) {
        if (app.form2 && app.form2->Loaded()) app.form2->Unload();
        app.platform.prompt().MsgBox(LayersFullMessage, MsgOkOnly);
        return;
    }
    if (!app.form2) app.form2 = std::make_shared<csForm2>(app);
    app.form2->Show(false);
}

}  // namespace movra
