#include "survey/Tyhdfrm.h"

#include <cmath>
#include <cstdio>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "survey/GaussKruger.h"

namespace movra {

namespace {

struct DatumChoice {
    const char* caption;
    Ellipsoid ellipsoid;
};
constexpr DatumChoice Datums[3] = {
    {"1980西安坐标系", Xian80Ellipsoid},
    {"1954北京坐标系", Beijing54Ellipsoid},
    {"WGS-84坐标系", Wgs84Ellipsoid},
};

enum Computation : int { ComputeForward = 0, ComputeInverse = 1, ComputeZoneChange = 2 };

// What the four input boxes hold.
constexpr const char* InputCaptions[4] = {"x(北)", "y(东)", "经度L", "纬度B"};

// Metres to a hundredth of a millimetre, so that the rounding stays far below what the series
// itself may differ from the exact projection.
std::string MetresText(double metres) {
    if (!std::isfinite(metres)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", metres);
    return text;
}

// Whole degrees, then two-digit groups of minutes (and seconds), then the decimals, from a count
// of the smallest unit already rounded: no 60 ever shows. The zeros that end it are left out, and
// a tiny negative angle rounded to nothing reads "0", not "-0".
std::string AngleGroupsText(double degrees, int groups, int decimals) {
    const double perDegree = groups == 2 ? 3600 : 60;
    const double scale = std::pow(10.0, decimals);
    const double total = std::round(std::fabs(degrees) * perDegree * scale);  // in units of 1/scale
    const double whole = Int(total / (perDegree * scale));
    double rest = total - whole * perDegree * scale;  // the minutes (and seconds) in units of 1/scale
    if (groups == 2) {
        const double minutes = Int(rest / (60 * scale));
        rest += minutes * (100 - 60) * scale;  // the minutes as the two digits before the seconds
    }
    // The groups are the decimal digits of one number, counted exactly as a whole number of its
    // last place, so that written with as many decimals it shows them as they are.
    const int places = 2 * groups + decimals;
    const double lastPlaces = std::pow(10.0, places);
    const double value = (whole * lastPlaces + rest) / lastPlaces;
    return DecimalNumberText(degrees < 0 ? -value : value, places);
}

}  // namespace

double AngleFromUnit(double value, int unit) {
    switch (unit) {
        case AngleDegrees: return value;
        case AngleDegreesMinutes: {
            const double magnitude = std::fabs(value);
            const double degrees = Int(magnitude);
            const double result = degrees + (magnitude - degrees) * 100 / 60;
            return value < 0 ? -result : result;
        }
        default: return DmsToRad(value) * 180 / Pi;
    }
}

std::string AngleText(double degrees, int unit) {
    if (!std::isfinite(degrees)) return "";
    switch (unit) {
        // A nanodegree, a ten-millionth of a minute, a hundred-thousandth of a second: on the
        // ground 0.1, 0.2 and 0.3 mm, each far below what a survey position holds.
        case AngleDegrees: return DecimalNumberText(degrees, 9);
        case AngleDegreesMinutes: return AngleGroupsText(degrees, 1, 7);
        default: return AngleGroupsText(degrees, 2, 5);
    }
}

Tyhdfrm::Tyhdfrm(App& application)
    : FormModel(application.platform, "Tyhdfrm"),
      app(application),
      Frame1(*this, "Frame1"), Option1(*this, "Option1", &Frame1),
      Frame2(*this, "Frame2"), Option2(*this, "Option2", &Frame2),
      Frame3(*this, "Frame3"), Option3(*this, "Option3", &Frame3),
      Label1(*this, "Label1"), Text1(*this, "Text1"),
      Label2(*this, "Label2"), Text2(*this, "Text2"), Label4(*this, "Label4"),
      Label3(*this, "Label3"), Text3(*this, "Text3"),
      Command1(*this, "Command1") {
    SetCaption("高斯投影与换带计算");
    Move(0, 0, 7700, 4700);
    Frame1.Move(120, 100, 2200, 1450);
    Frame2.Move(2440, 100, 2300, 1450);
    Frame3.Move(4860, 100, 2300, 1450);
    Frame1.SetCaption("计算类型");
    Frame2.SetCaption("参考椭球");
    Frame3.SetCaption("经纬度单位");
    const char* kinds[3] = {"投影正算", "投影反算", "换带"};
    const char* units[3] = {"度分秒-例63.022612", "度-例63.040588888", "度分-例63.0243533"};
    for (int i = 0; i < 3; ++i) {
        Option1.Load(i).SetCaption(kinds[i]);
        Option1(i).Move(120, 280 + i * 360, 1950, 300);
        Option2.Load(i).SetCaption(Datums[i].caption);
        Option2(i).Move(120, 280 + i * 360, 2050, 300);
        Option3.Load(i).SetCaption(units[i]);
        Option3(i).Move(120, 280 + i * 360, 2050, 300);
    }
    Option1(ComputeForward).SetValue(true);
    Option3(AngleDms).SetValue(true);

    Label1.SetCaption("中央子午线");
    Label1.Move(120, 1700, 1300, 300);
    const char* meridians[2] = {"120", "0"};
    const char* meridianTips[2] = {"源中央子午线", "换带目标中央子午线"};
    for (int i = 0; i < 2; ++i) {
        TextBox& box = Text1.Load(i);
        box.SetText(meridians[i]);
        box.SetToolTipText(meridianTips[i]);
        box.Move(1500 + i * 1500, 1650, 1400, 360);
    }
    Label2.SetCaption("输入值");
    Label2.Move(120, 2500, 1300, 300);
    const char* inputs[4] = {"0", "0", "120", "0"};
    for (int i = 0; i < 4; ++i) {
        TextBox& box = Text2.Load(i);
        box.SetText(inputs[i]);
        box.SetToolTipText(InputCaptions[i]);
        box.Move(1500 + i * 1450, 2450, 1400, 360);
        Label4.Load(i).Move(1500 + i * 1450, 2130, 1400, 300);
    }
    Label3.SetCaption("计算结果");
    Label3.SetToolTipText("换带时输入");
    Label3.Move(120, 3000, 1300, 300);
    for (int i = 0; i < 2; ++i) Text3.Load(i).Move(1500 + i * 2250, 2950, 2150, 360);
    Command1.SetCaption("计算");
    Command1.Move(5800, 3600, 1300, 450);

    Option1.Wire([this](OptionButton& option, int index) { option.onClick = [this, index] { Option1_Click(index); }; });
    Option2.Wire([this](OptionButton& option, int index) { option.onClick = [this, index] { Option2_Click(index); }; });
    Command1.onClick = [this] { Command1_Click(); };
    Option1_Click(ComputeForward);
}

void Tyhdfrm::Option1_Click(int index) {
    // The forward projection reads longitude and latitude; the other two read north and east.
    const bool forward = index == ComputeForward;
    for (int i = 0; i < 4; ++i) {
        const bool read = forward == (i >= 2);
        Label4(i).SetCaption(read ? InputCaptions[i] : "");
        Text2(i).SetEnabled(read);
    }
    const bool angles = index == ComputeInverse;
    Text3(0).SetToolTipText(angles ? InputCaptions[2] : InputCaptions[0]);
    Text3(1).SetToolTipText(angles ? InputCaptions[3] : InputCaptions[1]);
}

void Tyhdfrm::Form_Load() {
    for (int i = 0; i < 2; ++i) Text3(i).SetLocked(true);
    // The ellipsoid shown is the current datum (1980 Xi'an when none of the three is current).
    int shown = 0;
    for (int i = 0; i < 3; ++i)
        if (app.settings.EllipsoidA == Datums[i].ellipsoid.a &&
            app.settings.EllipsoidFlattening == 1 / Datums[i].ellipsoid.inverseFlattening)
            shown = i;
    Option2(shown).SetValue(true);
}

void Tyhdfrm::Option2_Click(int index) {
    if (index < 0 || index > 2) return;
    SetCurrentDatum(app.settings, Datums[index].ellipsoid);
}

int Tyhdfrm::Chosen(const ControlArray<OptionButton>& options) const {
    int chosen = 0;
    options.ForEach([&chosen](const OptionButton& option, int index) {
        if (option.Value()) chosen = index;
    });
    return chosen;
}

void Tyhdfrm::Command1_Click() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        const Ellipsoid ellipsoid = CurrentDatum(app.settings);
        const int unit = Chosen(Option3);
        const auto number = [this](const ControlArray<TextBox>& boxes, int i) { return NumericPrefix(boxes(i).Text()); };
        const double sourceMeridian = AngleFromUnit(number(Text1, 0), unit);
        switch (Chosen(Option1)) {
            case ComputeForward: {
                const double L = AngleFromUnit(number(Text2, 2), unit);
                const double B = AngleFromUnit(number(Text2, 3), unit);
                const PlanePoint p = GaussKrugerForward(ellipsoid, B, L, sourceMeridian);
                Text3(0).SetText(MetresText(p.northing));
                Text3(1).SetText(MetresText(p.easting));
                break;
            }
            case ComputeInverse: {
                const PlanePoint p{number(Text2, 1), number(Text2, 0)};
                const GeographicPoint g = GaussKrugerInverse(ellipsoid, p, sourceMeridian);
                Text3(0).SetText(AngleText(g.longitude, unit));
                Text3(1).SetText(AngleText(g.latitude, unit));
                break;
            }
            default: {
                const double targetMeridian = AngleFromUnit(number(Text1, 1), unit);
                const PlanePoint p{number(Text2, 1), number(Text2, 0)};
                const PlanePoint q = GaussKrugerZoneChange(ellipsoid, p, sourceMeridian, targetMeridian);
                Text3(0).SetText(MetresText(q.northing));
                Text3(1).SetText(MetresText(q.easting));
                break;
            }
        }
    });
}

void ShowProjectionDialog(App& app) {
    if (!app.projectionDialog) app.projectionDialog = std::make_shared<Tyhdfrm>(app);
    app.projectionDialog->Show(false);
}

}  // namespace movra
