#pragma once
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The settings window "范围设定": scale and range, unit mode, display switches, contour interval,
// background colour, datum and monitor size, with the symbol-library switches. Its load rule sets
// the datum and the scale defaults; its close rule, the same as OK, derives the sizes that follow
// from the scale.
class szForm3 : public FormModel {
public:
    explicit szForm3(App& app);
    ~szForm3() override;

    App& app;

    Frame Frame1;
    Label Label1;
    OptionButton Option1, Option4, Option2, Option3, Option5;
    Frame Frame2;
    Label Label2;
    OptionButton Option6, Option7, Option8, Option9, Option10, Option18, Option11, Option12, Option13,
        Option17, Option14, Option15, Option16, Option19;
    TextBox Text7, Text8;
    Frame Frame3;
    Label Label3, Label4, Label5, Label6;
    TextBox Text1, Text2, Text6, Text5, Text3, Text4;
    CheckBox Check1, Check2, Check4, Check5;
    Label Label14;
    ListBox List1;
    Label Label15;
    ListBox List2;
    Frame Frame4;
    ControlArray<OptionButton> Option20;
    TextBox Text9;
    Frame Frame5;
    OptionButton Option21, Option22, Option23;
    CommandButton Command1, Command4;
    Label Label18, Label19;
    Label Label7, Label8, Label9, Label10, Label12, Label11, Label13;
    // The symbol-library controls.
    CommandButton Command2, Command3;
    ComboBox Combo1, Combo2;
    CheckBox Check3;
    Label Label16;
    ListBox List3;

    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int& unloadMode) override;
    // The OK rule, then the window unloads.
    void Command1_Click();
    void ApplyOkRule();
    void ShowScaleInSettings();

    void Frame2_MouseUp();
    void Text7_Change();
    void Text8_Change();
    void Option20_Click(int index);
    void Text9_Change();
    void Check1_Click();
    void Check2_Click();
    void Check4_Click();
    void Check5_Click();
    void List1_Click();
    void List2_Click();
    void Command4_Click();
    void Command2_Click();
    void Command3_Click();
    void Combo1_Change();
    void Check3_Click();
    // "缩放(全体)字体": scales the height of every annotation text by the factor chosen in List3.
    void Label16_DblClick();
    // "进行标准分幅" and "进行不规则分幅": the sheet division window, for a map drawn with the
    // symbol standard and the grid shown.
    void Label18_Click();
    void Label19_Click();
    // Reads the factor again, scales every annotation record of the drawn layers by it, reports and
    // closes; a factor outside 0.5 to 2 (none chosen reads 0) changes nothing.
    void ScaleAllAnnotations();
    // The scaling factor, read from List3 when the scaling runs.
    float ScalingFactor = 1;

private:
    void SetScale(double denominator);
    void Layout();
    // The symbol standard loaded, the self-made library not, and the grid shown.
    bool DivisionAllowed() const;
    bool loadingMeasuredWidth_ = false;
};

// The settings window of the run, made when first asked for.
szForm3& SettingsWindow(App& app);
// The attribute window's field design "属性字段名": the attribute window shown modally with
// editable field names, the settings window hidden meanwhile.
void OpenAttributeFieldDesign(App& app);

}  // namespace movra
