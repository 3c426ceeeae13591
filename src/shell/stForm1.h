#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/ImageCombo.h"
#include "platform/ImageList.h"
#include "platform/PictureBox.h"
#include "platform/TimerControl.h"
#include "platform/Toolbar.h"
#include "shell/ClipboardLinkState.h"

namespace movra {

struct App;
class szForm3;
class frmSplash;

// The main window: the map canvas with its scroll bars, the message line, the status lamp, the
// scale box, the layer and colour selectors and the style combos. Form_Load starts the program,
// Form_QueryUnload ends it.
class stForm1 : public FormModel {
public:
    explicit stForm1(App& app);

    // Where the canvas's upper-left corner stands, in twips: below the command bar, the message
    // line and the command line, right of the selector column.
    static constexpr double CanvasLeft = 1920;
    static constexpr double CanvasTop = 1620;
    ~stForm1() override;

    App& app;

    // The main command bar along the top and the floating view bar over the canvas, with their
    // icons.
    ImageList ImageList1;
    ImageList ImageList3;
    Toolbar Toolbar1;
    // The map canvas: black, ground coordinates with y pointing up.
    PictureBox Picture1;
    ScrollBar VScroll1;
    ScrollBar HScroll1;
    // The message line: prompts of the armed tool, results and failures.
    TextBox Text2;
    // The status lamp: red while a command runs, blue when idle, yellow with a tool armed.
    Label Label6;
    // The scale box.
    TextBox Text4;
    // The swatches of the palette colours, shown by the layer and colour selectors.
    ImageList ImageList2;
    // The layer selector and the colour selector.
    ImageCombo ImageCombo1;
    ImageCombo ImageCombo2;
    // Text size and font of new annotations.
    ComboBox Combo2;
    ComboBox Combo3;
    // The symbol direction toggle.
    Label Label5;
    // "图式": pages through the symbol pages; disabled while the symbol standard is unloaded.
    CommandButton Command7;
    // The symbol buttons, numbered by symbol code (0..699), 100 on each symbol page.
    ControlArray<CommandButton> Command5;
    // The pen of new lines: line styles, widths and the special lines.
    ComboBox Combo1;
    // The panel stack, all in one place: the method panel "方法" with its sixty picture buttons,
    // and the seven symbol pages.
    Frame Frame2;
    ControlArray<CommandButton> Command8;
    ControlArray<Frame> Frame1;
    // "常用" (the page of common symbols), "主菜单" (back to the method panel), and "GPS(&G)".
    CommandButton Command1;
    CommandButton Command6;
    CommandButton Command2;
    // The symbol page "图式" brought forward last.
    std::int16_t SymbolPageIndex = 0;

    // Procedures of other parts of the program that the panels and the combos call. Each one
    // says in the message line that it is not there yet, until its part sets it.
    struct OtherParts {
        // Enters or leaves the drawing of a self-made symbol.
        std::function<void()> ToggleSymbolMakingMode;
        // Shows the attribute dialog (modeless); it reads the attribute class from Text8.
        std::function<void()> ShowAttributeDialog;
        // Shows the satellite navigation window (modeless).
        std::function<void()> ShowGpsWindow;
        // Shows the photo orientation window once a photo's corners were pricked.
        std::function<void()> ShowPhotoOrientation;
        // Restyles the selected texts: a font (empty: kept) and a code (63/64 slant, else height).
        std::function<void(const std::string& font, int code)> ApplyTextStyle;
    } otherParts;
    // The status box: coordinates while hovering, the layer's capacity at a press, the reduction
    // offset after a release.
    TextBox Text1;
    // The entry box of typed distances and heights, and the command line.
    TextBox Text5;
    TextBox Text8;
    // The annotation angle ("竖负" until one is typed) and width factor or slant.
    TextBox Text6;
    TextBox Text7;
    // The snapping toggle and the window-selection toggle.
    Label Label3;
    Label Label4;
    // "Survy(&F)": the total-station capture window (F1 on the button does the same).
    CommandButton Command9;
    // The clipboard link's poll: off until the link dialog starts it, interval 0 until then.
    TimerControl Timer1;
    ClipboardLinkState link;
    // The roaming view (50 ms) and the symbol demonstration (30 ms).
    TimerControl Timer2;
    TimerControl Timer3;
    // Made last, so that it floats above the canvas.
    Toolbar Toolbar2;

    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int& unloadMode) override;
    void Form_Resize() override;
    // The layer chosen in ImageCombo1 becomes current, on and unlocked, and gives its colour.
    void ImageCombo1_Click();
    void Toolbar1_ButtonClick(ToolbarButton& button);
    void Toolbar1_ButtonMenuClick(ButtonMenu& menu);
    // The floating view bar: a button runs its view command; a move with the left button held
    // arms the dragging of the bar, which the canvas then carries out.
    void Toolbar2_ButtonClick(ToolbarButton& button);
    void Toolbar2_MouseMove(int button, int shift, double x, double y);
    // A click in the scale box recomputes the view state; a double click switches the canvas
    // colour.
    void Text4_Click();
    void Text4_DblClick();

    // The command line: parsed at every change and click; a double click places typed coordinates.
    void Text8_Change();
    void Text8_Click();
    void Text8_DblClick();
    void Text2_DblClick();
    // The entry boxes: typed distance and heights, annotation angle, annotation width factor.
    void Text5_Change();
    void Text6_Change();
    void Text6_Click();
    void Text7_Change();
    void Text7_Click();

    // The layer name typed into the layer selector; the colour chosen in the colour selector.
    void ImageCombo1_Change();
    void ImageCombo2_Click();
    // The toggles: snapping, window selection, symbol direction; the partner line-type swap.
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Label6_Click();
    void Command9_Click();
    void Command9_KeyUp(int& keyCode, int shift);
    // The canvas at its share of a window of this size, the scroll bars along it.
    void LayoutCanvasAndScrollBars(double windowWidth, double windowHeight);

    // The settings window: the loaded one, or a new one with its design values when it is not
    // loaded (references to an unloaded window do not stay valid).
    szForm3& SettingsWindow();
    // The roaming timer's interval.
    void SetRoamingInterval(int milliseconds) { Timer2.SetInterval(milliseconds); }

    // The canvas's events: the tool engine interprets them by the armed tool.
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);
    void Picture1_KeyDown(int& keyCode, int shift);
    // One poll of the clipboard link; the roaming view's tick; the symbol demonstration's tick.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    // Where the demonstration's random sizes and speeds come from: uniform in [0, 1).
    std::function<double()> DemoRandom;

    // Places the boxes around the canvas: message line and scale box above it, the selectors in
    // the column to its left.
    void ArrangeControls();

    // The method panel: a press of button `index` (0..59) arms its tool or acts at once.
    void Command8_Click(int index);
    // A symbol button: arms the tool of that symbol code.
    void Command5_Click(int index);
    // The pen, text size and font combos, when an item is chosen from the list.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    // The panel buttons: "图式" pages forward (left button) or back (right button), "主菜单"
    // shows the method panel, "常用" the page of common symbols, "GPS(&G)" the navigation window.
    void Command7_MouseDown(int button, int shift, double x, double y);
    void Command6_MouseDown(int button, int shift, double x, double y);
    void Command1_Click();
    void Command2_Click();
    // The pictures of the point-symbol buttons, drawn from the loaded symbol standard; plain
    // buttons while none is loaded.
    void RefreshSymbolPictures();
    // The panel that lies in front in the panel stack: Frame2 or an element of Frame1.
    const Frame& FrontPanel() const;

private:
    // The "ZXY:" entry confirmed: an elevation to place, or a point to jump to.
    void ParseXyzQuery();
    // Places the surveyed point typed after "xyz:" or "ZXY:" and moves the view to it.
    void JumpToCoordinates();
    void RepaintLamp();
    // Makes the panels, their buttons and the combos' lists (called once by the constructor).
    void BuildPanels();
    void ArrangePanels(double left, double top);

    std::unique_ptr<szForm3> settings_;
};

}  // namespace movra
