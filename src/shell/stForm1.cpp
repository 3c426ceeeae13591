#include "shell/stForm1.h"

#include <algorithm>
#include <memory>
#include <random>
#include <utility>

#include "App.h"
#include "document/LayerSelector.h"
#include "editing/SelectionPreviews.h"
#include "editing/ToolEngine.h"
#include "editing/ViewTimers.h"
#include "shell/ClipboardLink.h"
#include "shell/InstallSeams.h"
#include "shell/MainToolbar.h"
#include "shell/StartUp.h"
#include "shell/ViewStateFormulas.h"
#include "shell/szForm3.h"
#include "survey/GPSdaohang.h"
#include "survey/sbclF3.h"
#include "survey/xpdxFrm.h"
#include "symbols/SymbolMaking.h"
#include "symbols/shuxfrm.h"

namespace movra {

namespace {
// Height of one line of boxes, in twips.
constexpr double LineHeight = 375;
constexpr double LampWidth = 375;
constexpr double ScaleBoxWidth = 3000;
constexpr double ScrollBarThickness = 255;
// The column left of the canvas holds the selectors; the band above it the message line.
constexpr double ColumnLeft = 60;
constexpr double ColumnWidth = 1800;
constexpr double BandTop = 780;
// From one box of the selector column to the next.
constexpr double ColumnStep = 400;
// The colour of the scale box's text (red 40, green 52, blue 1).
constexpr Rgb ScaleBoxTextColor = 78888;
}  // namespace

stForm1::stForm1(App& application)
    : FormModel(application.platform, "stForm1"),
      app(application),
      Toolbar1(*this, "Toolbar1"),
      Picture1(*this, "Picture1"),
      VScroll1(*this, "VScroll1", true),
      HScroll1(*this, "HScroll1", false),
      Text2(*this, "Text2"),
      Label6(*this, "Label6"),
      Text4(*this, "Text4"),
      ImageCombo1(*this, "ImageCombo1"),
      ImageCombo2(*this, "ImageCombo2"),
      Combo2(*this, "Combo2"),
      Combo3(*this, "Combo3"),
      Label5(*this, "Label5"),
      Command7(*this, "Command7"),
      Command5(*this, "Command5"),
      Combo1(*this, "Combo1"),
      Frame2(*this, "Frame2"),
      Command8(*this, "Command8", &Frame2),
      Frame1(*this, "Frame1"),
      Command1(*this, "Command1"),
      Command6(*this, "Command6"),
      Command2(*this, "Command2"),
      Text1(*this, "Text1"),
      Text5(*this, "Text5"),
      Text8(*this, "Text8"),
      Text6(*this, "Text6"),
      Text7(*this, "Text7"),
      Label3(*this, "Label3"),
      Label4(*this, "Label4"),
      Command9(*this, "Command9"),
      Timer1(*this, "Timer1"),
      Timer2(*this, "Timer2"),
      Timer3(*this, "Timer3"),
      Toolbar2(*this, "Toolbar2", &Picture1) {
    app.form1 = this;
    InstallRedrawSeams(app);
    InstallExportSeams(app);
    otherParts.ShowAttributeDialog = [this] { movra::ShowAttributeDialog(app); };
    otherParts.ToggleSymbolMakingMode = [this] { movra::ToggleSymbolMakingMode(app); };
    otherParts.ShowGpsWindow = [this] { movra::ShowGpsWindow(app); };
    otherParts.ShowPhotoOrientation = [this] { ShowPhotoOrientationWindow(app); };
    BuildMainToolbars(*this);
    Toolbar1.onButtonClick = [this](ToolbarButton& button) { Toolbar1_ButtonClick(button); };
    Toolbar1.onButtonMenuClick = [this](ButtonMenu& menu) { Toolbar1_ButtonMenuClick(menu); };
    Toolbar2.onButtonClick = [this](ToolbarButton& button) { Toolbar2_ButtonClick(button); };
    Toolbar2.onMouseMove = [this](int button, int shift, double x, double y) { Toolbar2_MouseMove(button, shift, x, y); };
    Picture1.onMouseDown = [this](int button, int shift, double x, double y) { Picture1_MouseDown(button, shift, x, y); };
    Picture1.onMouseMove = [this](int button, int shift, double x, double y) { Picture1_MouseMove(button, shift, x, y); };
    Picture1.onMouseUp = [this](int button, int shift, double x, double y) { Picture1_MouseUp(button, shift, x, y); };
    Picture1.onKeyDown = [this](int& keyCode, int shift) { Picture1_KeyDown(keyCode, shift); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer1.SetEnabled(false);
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Timer3.onTimer = [this] { Timer3_Timer(); };
    // Both timers wait for their commands: a pan release, the demonstration button.
    Timer2.SetEnabled(false);
    Timer2.SetInterval(50);
    Timer3.SetEnabled(false);
    Timer3.SetInterval(30);
    DemoRandom = [engine = std::make_shared<std::mt19937>(std::random_device{}())] {
        return std::uniform_real_distribution<double>(0.0, 1.0)(*engine);
    };
    Label3.SetCaption("不捕捉");
    Label4.SetCaption("不选择");
    // The program's own start values, set before the handlers could see them.
    Text6.SetText("竖负");
    Text7.SetText("1");
    ImageCombo1.onClick = [this] { ImageCombo1_Click(); };
    Text4.onClick = [this] { Text4_Click(); };
    Text4.onDblClick = [this] { Text4_DblClick(); };
    Text8.onChange = [this] { Text8_Change(); };
    Text8.onClick = [this] { Text8_Click(); };
    Text8.onDblClick = [this] { Text8_DblClick(); };
    Text2.onDblClick = [this] { Text2_DblClick(); };
    Text5.onChange = [this] { Text5_Change(); };
    Text6.onChange = [this] { Text6_Change(); };
    Text6.onClick = [this] { Text6_Click(); };
    Text7.onChange = [this] { Text7_Change(); };
    Text7.onClick = [this] { Text7_Click(); };
    ImageCombo1.onChange = [this] { ImageCombo1_Change(); };
    ImageCombo2.onClick = [this] { ImageCombo2_Click(); };
    otherParts.ApplyTextStyle = [this](const std::string& font, int code) { ApplyTextStyle(app, font, code); };
    Label3.onClick = [this] { Label3_Click(); };
    Label4.onClick = [this] { Label4_Click(); };
    Label5.onClick = [this] { Label5_Click(); };
    Label6.onClick = [this] { Label6_Click(); };
    Command9.SetCaption("Survy(&F)");
    Command9.onClick = [this] { Command9_Click(); };
    Command9.onKeyUp = [this](int& keyCode, int shift) { Command9_KeyUp(keyCode, shift); };
    // The horizontal bar's range from the start, around the value 0: the value decreases towards
    // its right end.
    HScroll1.SetMax(-250);
    HScroll1.SetMin(250);
    HScroll1.onChange = [this] { HScroll1_Change(app); };
    VScroll1.SetMax(-250);
    VScroll1.SetMin(250);
    VScroll1.onChange = [this] { VScroll1_Change(app); };
    SetCaption("movra_newfilse");

    Screen& screen = platform().screen();
    Move(0, 0, screen.WidthTwips(), screen.HeightTwips());

    Picture1.SetBackColor(MakeRgb(0, 0, 0));
    Label6.SetBackColor(MakeRgb(0, 0, 255));
    Label6.SetToolTipText("状态");
    Text4.SetBackColor(Picture1.BackColor());
    Text4.SetForeColor(ScaleBoxTextColor);
    Command7.SetCaption("图式");
    BuildPanels();
    VScroll1.Move(0, 0, ScrollBarThickness, 0);
    HScroll1.Move(0, 0, 0, ScrollBarThickness);
    Picture1.Move(CanvasLeft, CanvasTop, 0.856 * screen.WidthTwips(), 0.856 * screen.HeightTwips());
    LayoutCanvasAndScrollBars(screen.WidthTwips(), screen.HeightTwips());
    ArrangeControls();
    // Until start-up computes the view, one ground unit is 100 twips of canvas, y up.
    Picture1.SetScale(0, Picture1.Height() / 100, Picture1.Width() / 100, -Picture1.Height() / 100);
    // A resized canvas keeps the map's scale and centre and draws it again.
    Picture1.onResize = [this, last = std::make_shared<std::pair<int, int>>(Picture1.surface().PixelWidth(),
                                                                            Picture1.surface().PixelHeight())] {
        CanvasResized(app, last->first, last->second);
    };
}

stForm1::~stForm1() {
    if (app.form1 == this) app.form1 = nullptr;
}

void stForm1::Form_Load() { RunStartUp(app); }

void stForm1::Form_QueryUnload(int& cancel, int& unloadMode) { RunShutdown(app, cancel, unloadMode); }

void stForm1::Form_Resize() {
    try {
        LayoutCanvasAndScrollBars(ScaleWidth() > 0 ? ScaleWidth() : Width(), ScaleHeight() > 0 ? ScaleHeight() : Height());
        ArrangeControls();
    } catch (...) {
    }
}

void stForm1::Text4_Click() { movra::Text4_Click(app); }

void stForm1::Picture1_MouseDown(int button, int shift, double x, double y) {
    CanvasMouseDown(app, button, shift, static_cast<float>(x), static_cast<float>(y));
}

void stForm1::Picture1_MouseMove(int button, int shift, double x, double y) {
    CanvasMouseMove(app, button, shift, static_cast<float>(x), static_cast<float>(y));
}

void stForm1::Picture1_MouseUp(int button, int shift, double x, double y) {
    CanvasMouseUp(app, button, shift, static_cast<float>(x), static_cast<float>(y));
}

void stForm1::Picture1_KeyDown(int& keyCode, int shift) { CanvasKeyDown(app, keyCode, shift); }

void stForm1::Timer1_Timer() { movra::Timer1_Timer(app); }

void stForm1::Timer2_Timer() { RoamingTick(app); }

void stForm1::Command9_Click() {
    Command9.SetCaption("survy(& )");
    OpenCaptureWindow(app, true);
}

void stForm1::Command9_KeyUp(int& keyCode, int) {
    if (keyCode == KeyF1) OpenCaptureWindow(app, false);
}

void stForm1::Timer3_Timer() { DemoMarkerTick(app, DemoRandom); }

void stForm1::Toolbar1_ButtonClick(ToolbarButton& button) { movra::Toolbar1_ButtonClick(app, button); }

void stForm1::Toolbar1_ButtonMenuClick(ButtonMenu& menu) { movra::Toolbar1_ButtonMenuClick(app, menu); }

void stForm1::LayoutCanvasAndScrollBars(double windowWidth, double windowHeight) {
    movra::LayoutCanvasAndScrollBars(app, windowWidth, windowHeight);
}

szForm3& stForm1::SettingsWindow() {
    // An unloaded window comes back as designed, as a window loaded afresh does.
    if (!settings_ || !settings_->Loaded()) settings_ = std::make_unique<szForm3>(app);
    return *settings_;
}

void stForm1::ArrangeControls() {
    const double canvasLeft = Picture1.Left();
    const double canvasWidth = std::max(0.0, Picture1.Width());
    // The lamp starts the band above the canvas, the message line follows it, the scale box
    // ends it at the canvas's right edge.
    Label6.Move(canvasLeft, BandTop, LampWidth, LineHeight);
    const double scaleBoxWidth = std::min(ScaleBoxWidth, std::max(0.0, canvasWidth - LampWidth - 120));
    const double messageLeft = canvasLeft + LampWidth + 60;
    const double messageWidth = std::max(0.0, canvasWidth - LampWidth - 60 - scaleBoxWidth - 60);
    Text2.Move(messageLeft, BandTop, messageWidth, LineHeight);
    Text4.Move(canvasLeft + canvasWidth - scaleBoxWidth, BandTop, scaleBoxWidth, LineHeight);
    // The selector column starts level with the band, so that the method panel under it fits
    // the smallest window.
    const double top = BandTop;
    const double half = ColumnWidth / 2;
    ImageCombo1.Move(ColumnLeft, top, ColumnWidth, LineHeight);
    ImageCombo2.Move(ColumnLeft, top + ColumnStep, ColumnWidth, LineHeight);
    Combo1.Move(ColumnLeft, top + 2 * ColumnStep, ColumnWidth, LineHeight);
    Combo2.Move(ColumnLeft, top + 3 * ColumnStep, 800, LineHeight);
    Combo3.Move(ColumnLeft + 860, top + 3 * ColumnStep, ColumnWidth - 860, LineHeight);
    Label5.Move(ColumnLeft, top + 4 * ColumnStep, half - 30, 300);
    Command9.Move(ColumnLeft + half, top + 4 * ColumnStep - 20, half, 340);
    Label3.Move(ColumnLeft, top + 4 * ColumnStep + 340, half - 30, 300);
    Label4.Move(ColumnLeft + half, top + 4 * ColumnStep + 340, half, 300);
    // The panel buttons, and under them the panel stack.
    const double buttonsTop = top + 4 * ColumnStep + 680;
    Command7.Move(ColumnLeft, buttonsTop, half - 30, 380);
    Command1.Move(ColumnLeft + half, buttonsTop, half, 380);
    Command6.Move(ColumnLeft, buttonsTop + 420, half - 30, 380);
    Command2.Move(ColumnLeft + half, buttonsTop + 420, half, 380);
    ArrangePanels(ColumnLeft, buttonsTop + 840);
    // The row under the message line: the command line, the entry box and the status box.
    const double rowTop = BandTop + LineHeight + 30;
    const double commandWidth = 0.4 * canvasWidth;
    const double entryWidth = 0.2 * canvasWidth;
    Text8.Move(canvasLeft, rowTop, commandWidth, LineHeight);
    Text5.Move(canvasLeft + commandWidth + 60, rowTop, entryWidth, LineHeight);
    const double smallWidth = 0.06 * canvasWidth;
    Text6.Move(canvasLeft + commandWidth + entryWidth + 120, rowTop, smallWidth, LineHeight);
    Text7.Move(canvasLeft + commandWidth + entryWidth + smallWidth + 180, rowTop, smallWidth, LineHeight);
    const double statusLeft = commandWidth + entryWidth + 2 * smallWidth + 240;
    Text1.Move(canvasLeft + statusLeft, rowTop, std::max(0.0, canvasWidth - statusLeft), LineHeight);
    // The view bar lies on the canvas, at its upper-left corner until it is dragged elsewhere.
    if (!Toolbar2.HasGeometry()) Toolbar2.Move(60, 60, 2900, 480);
}

}  // namespace movra
