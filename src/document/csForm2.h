#pragma once
// "图层操作", the layer manager: defines the next layer to be added, switches layers on and off
// through a panel of buttons in the layers' colours (grey when off), and renames and recolours a
// layer. It keeps no copy of the layer tables: every handler works on the shared ones.
#include <cstdint>

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

inline constexpr Rgb LayerOffGrey = MakeRgb(128, 128, 128);

class csForm2 : public FormModel {
public:
    explicit csForm2(App& app);
    ~csForm2() override;

    App& app;

    Label Label1;
    TextBox Text1;
    Label Label2;
    ComboBox Combo1;
    Label Label3;
    CommandButton Command1;
    Frame Frame1;
    ControlArray<CommandButton> Command3;
    Label Label4;
    Label Label5;
    Label Label6;
    TextBox Text2;
    TextBox Text3;
    CommandButton Command4;
    CommandButton Command2;

    // The layer Text2 and Text3 show and Command4 changes; kept between openings.
    std::int16_t ShownLayer = 0;

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click(int k);
    void Command4_Click();
    void Label4_Click();
    void Label5_Click();
    void Label6_Click();
    void Combo1_Change();
    void Combo1_Click();
    void Text2_Change();
    void Text3_Change();

private:
    void SetDesignState();
    CommandButton& LayerButton(int layer);
    Rgb OnColor(int layer) const;
    int SelectorLayers() const;
    // Switches a layer on or off; a change to a drawing layer marks the map modified.
    void SetLayerOn(int layer, bool on);
    void MarkLayerChanged(int layer);
    bool text3Checking_ = false;
    // True while the design texts are put in place: they are the dialog's own, not a user's
    // change, so the change handlers leave them (and the boxes' colours) alone.
    bool designing_ = false;
};

// The tool bar's "设层": opens the layer manager modeless, or tells "层已满" (and closes it) when no
// further layer can be defined.
void OpenLayerManager(App& app);

}  // namespace movra
