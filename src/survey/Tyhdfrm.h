#pragma once
// "高斯投影与换带计算": the Gauss-Krüger calculator. Forward projection (latitude, longitude to
// north, east), inverse projection and zone change on the chosen reference ellipsoid, with angles
// in degrees-minutes-seconds, decimal degrees or degrees and decimal minutes. The ellipsoid chosen
// here becomes the current datum shared with the settings window. Modeless.
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The units of latitude and longitude (`Option3`): packed ddd.mmss, decimal degrees, packed
// ddd.mm with decimal minutes.
enum AngleUnit : int { AngleDms = 0, AngleDegrees = 1, AngleDegreesMinutes = 2 };

// An angle typed in the unit, as decimal degrees; and decimal degrees written in the unit, rounded
// to about a tenth of a millimetre on the ground (below what the series may differ from the exact
// projection) and without trailing zeros: 115°30′ reads 115.3, not 115.2959999997.
double AngleFromUnit(double value, int unit);
std::string AngleText(double degrees, int unit);

class Tyhdfrm : public FormModel {
public:
    explicit Tyhdfrm(App& app);

    App& app;

    Frame Frame1;                         // "计算类型"
    ControlArray<OptionButton> Option1;   // forward, inverse, zone change
    Frame Frame2;                         // "参考椭球"
    ControlArray<OptionButton> Option2;   // 1980 Xi'an, 1954 Beijing, WGS-84
    Frame Frame3;                         // "经纬度单位"
    ControlArray<OptionButton> Option3;   // AngleUnit
    Label Label1;                         // "中央子午线"
    ControlArray<TextBox> Text1;          // 0 source meridian, 1 target meridian of a zone change
    Label Label2;                         // "输入值"
    // 0 north x, 1 east y (inverse, zone change); 2 longitude, 3 latitude (forward).
    ControlArray<TextBox> Text2;
    // Above each input box, what it holds in the chosen computation; a box the computation does
    // not read is disabled.
    ControlArray<Label> Label4;
    Label Label3;                         // "计算结果"
    // Forward and zone change: 0 north x, 1 east y; inverse: 0 longitude, 1 latitude.
    ControlArray<TextBox> Text3;
    CommandButton Command1;               // "计算"

    void Form_Load() override;
    void Option1_Click(int index);
    void Option2_Click(int index);
    void Command1_Click();

private:
    int Chosen(const ControlArray<OptionButton>& options) const;
};

// The menu command "投影换带": shows the calculator without blocking, made on first use.
void ShowProjectionDialog(App& app);

}  // namespace movra
