#pragma once
#include <memory>

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/ImageCombo.h"
#include "platform/ImageList.h"
#include "platform/PictureBox.h"

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
    ~stForm1() override;

    App& app;

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
    // "图式": cycles the symbol pages; usable while a symbol standard is loaded.
    CommandButton Command7;
    // The symbol buttons, numbered by symbol code (0..350), shown by the symbol pages.
    ControlArray<CommandButton> Command5;

    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int& unloadMode) override;
    void Form_Resize() override;
    // The layer chosen in ImageCombo1 becomes current, on and unlocked, and gives its colour.
    void ImageCombo1_Click();
    // A click in the scale box recomputes the view state.
    void Text4_Click();
    // The canvas at its share of a window of this size, the scroll bars along it.
    void LayoutCanvasAndScrollBars(double windowWidth, double windowHeight);

    // The settings window: the loaded one, or a new one with its design values when it is not
    // loaded (references to an unloaded window do not stay valid).
    szForm3& SettingsWindow();
    // The roaming timer's interval; the timer itself belongs to the roaming view.
    void SetRoamingInterval(int) {}

    // Places the boxes around the canvas: message line and scale box above it, the selectors in
    // the column to its left.
    void ArrangeControls();

private:
    std::unique_ptr<szForm3> settings_;
};

}  // namespace movra
