#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "support/TestApp.h"
#include "survey/GaussKruger.h"
#include "survey/Tyhdfrm.h"

namespace movra {
namespace {

// Within a tenth of a millimetre of the exact projection.
constexpr double Tolerance = 1e-4;

struct Pair {
    double a = 0, b = 0;
};

// Runs PROJ's cs2cs over the points (two numbers a line) and reads its two first columns back.
// There is no independent reference without it: a missing cs2cs fails the test.
std::vector<Pair> Cs2cs(const std::string& from, const std::string& to, const std::vector<Pair>& points) {
    EXPECT_EQ(std::system("command -v cs2cs > /dev/null 2>&1"), 0) << "cs2cs (Debian package proj-bin) is missing";
    TempFolder folder("cs2cs");
    const std::string input = (folder.Path() / "in.txt").string();
    {
        std::ofstream out(input);
        out.precision(17);
        for (const Pair& p : points) out << p.a << ' ' << p.b << '\n';
    }
    const std::string command = "cs2cs -f %.10f " + from + " +to " + to + " < " + input;
    std::vector<Pair> result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream fields(line);
        Pair p;
        if (fields >> p.a >> p.b) result.push_back(p);
    }
    pclose(pipe);
    EXPECT_EQ(result.size(), points.size()) << command;
    return result;
}

std::string Tmerc(const std::string& ellipsoid, double meridian) {
    return "+proj=tmerc " + ellipsoid + " +lon_0=" + PlainNumberText(meridian) + " +k=1 +x_0=500000 +y_0=0";
}

TEST(GaussKruger, KnownPointsAndZoneMeridians) {
    const PlanePoint onMeridian = GaussKrugerForwardWgs84(45, 114, 114);
    EXPECT_EQ(onMeridian.easting, 500000);
    EXPECT_NEAR(onMeridian.northing, 4984944.378, 0.0005);
    const PlanePoint east = GaussKrugerForwardWgs84(30, 115.5, 114);
    EXPECT_NEAR(east.easting, 644737.749, 0.0005);
    EXPECT_NEAR(east.northing, 3321060.841, 0.0005);
    // On the equator the northing is 0 and the easting symmetric about the meridian.
    const PlanePoint west = GaussKrugerForwardWgs84(0, 112.5, 114), eastEq = GaussKrugerForwardWgs84(0, 115.5, 114);
    EXPECT_NEAR(west.northing, 0, 1e-9);
    EXPECT_NEAR(west.easting - 500000, 500000 - eastEq.easting, 1e-6);

    for (auto [longitude, meridian] : std::vector<std::pair<double, double>>{
             {114, 114}, {116.999, 114}, {117, 117}, {119.9999999, 117}, {0, 0}, {2.9, 0}, {-0.5, -3}, {-75.5, -78}})
        EXPECT_EQ(ThreeDegreeZoneMeridian(longitude), meridian) << longitude;
}

TEST(GaussKruger, ForwardAgreesWithProjAcrossTheZone) {
    std::vector<Pair> geographic;  // longitude, latitude, as cs2cs reads them
    for (double latitude = 0; latitude <= 80; latitude += 2.5)
        for (double east = 0; east <= 3; east += 0.25) geographic.push_back({114 + east, latitude});
    const auto proj = Cs2cs("+proj=longlat +ellps=WGS84", Tmerc("+ellps=WGS84", 114), geographic);
    ASSERT_EQ(proj.size(), geographic.size());
    double worst = 0;
    for (size_t i = 0; i < geographic.size(); ++i) {
        const PlanePoint p = GaussKrugerForwardWgs84(geographic[i].b, geographic[i].a, 114);
        const double off = std::hypot(p.easting - proj[i].a, p.northing - proj[i].b);
        worst = std::max(worst, off);
        EXPECT_LT(off, Tolerance) << geographic[i].b << " " << geographic[i].a;
    }
    std::printf("worst forward difference from PROJ: %.4f mm\n", worst * 1000);
}

// The three ellipsoids of the calculator, as PROJ names them.
struct DatumCase {
    int option;
    const char* proj;
};
constexpr DatumCase DatumCases[3] = {
    {0, "+a=6378140 +rf=298.257"}, {1, "+a=6378245 +rf=298.3"}, {2, "+ellps=WGS84"}};

struct Calculator : ::testing::Test {
    Calculator() {
        t.form1.Load();
        ShowProjectionDialog(t.app);
        d = t.app.projectionDialog.get();
    }
    // Chooses computation, unit, ellipsoid and types the boxes; returns the two results.
    std::pair<std::string, std::string> Compute(int kind, int unit, int datum, const std::vector<std::string>& inputs,
                                                const std::string& source, const std::string& target = "0") {
        d->Option1(kind).SetValue(true);
        d->Option3(unit).SetValue(true);
        d->Option2(datum).SetValue(true);
        for (int i = 0; i < 4; ++i) d->Text2(i).SetText(inputs[static_cast<size_t>(i)]);
        d->Text1(0).SetText(source);
        d->Text1(1).SetText(target);
        d->Command1.Click();
        return {d->Text3(0).Text(), d->Text3(1).Text()};
    }
    TestApp t;
    Tyhdfrm* d = nullptr;
};

TEST_F(Calculator, OpensWithItsControlsAndTheCurrentDatum) {
    EXPECT_EQ(d->Caption(), "高斯投影与换带计算");
    EXPECT_TRUE(d->Visible());
    EXPECT_FALSE(d->Modal());
    EXPECT_TRUE(d->Text3(0).Locked());
    EXPECT_TRUE(d->Text3(1).Locked());
    EXPECT_TRUE(d->Option1(0).Value());
    EXPECT_TRUE(d->Option3(0).Value());
    EXPECT_TRUE(d->Option2(0).Value());
    EXPECT_EQ(d->Option2(1).Caption(), "1954北京坐标系");
    EXPECT_EQ(d->Text2(2).Text(), "120");
    // The input boxes are captioned for the computation chosen; a box it does not read is off.
    const auto captions = [this] {
        std::vector<std::string> shown;
        for (int i = 0; i < 4; ++i) shown.push_back(d->Text2(i).Enabled() ? d->Label4(i).Caption() : "-");
        return shown;
    };
    EXPECT_EQ(captions(), (std::vector<std::string>{"-", "-", "经度L", "纬度B"}));
    d->Option1(1).SetValue(true);
    EXPECT_EQ(captions(), (std::vector<std::string>{"x(北)", "y(东)", "-", "-"}));
    d->Option1(2).SetValue(true);
    EXPECT_EQ(captions(), (std::vector<std::string>{"x(北)", "y(东)", "-", "-"}));
    d->Option1(0).SetValue(true);
    // The defaults compute the meridian's point on the equator.
    d->Command1.Click();
    EXPECT_EQ(d->Text3(0).Text(), "0.00000");
    EXPECT_EQ(d->Text3(1).Text(), "500000.00000");
}

TEST_F(Calculator, TheEllipsoidChoiceSetsTheCurrentDatum) {
    ShellSettings& s = t.app.settings;
    d->Option2(1).SetValue(true);
    const double f = 1 / 298.3;
    EXPECT_EQ(s.EllipsoidA, 6378245);
    EXPECT_DOUBLE_EQ(s.EllipsoidFlattening, f);
    EXPECT_DOUBLE_EQ(s.EllipsoidB, (1 - f) * 6378245);
    EXPECT_DOUBLE_EQ(s.EllipsoidE2, 2 * f - f * f);
    d->Option2_Click(3);
    d->Option2_Click(-1);
    EXPECT_EQ(s.EllipsoidA, 6378245);
    d->Option2(2).SetValue(true);
    EXPECT_EQ(s.EllipsoidA, 6378137);
    EXPECT_DOUBLE_EQ(s.EllipsoidFlattening, 1 / 298.257223563);
    // Opened again, the dialog shows the datum that is current.
    d->Unload();
    ShowProjectionDialog(t.app);
    EXPECT_TRUE(d->Option2(2).Value());
    EXPECT_EQ(s.EllipsoidA, 6378137);
}

TEST_F(Calculator, AnglesInEachUnit) {
    // The captions' own examples are one angle in the three units.
    EXPECT_NEAR(AngleFromUnit(63.022612, AngleDms), 63 + 2 / 60.0 + 26.12 / 3600, 1e-12);
    EXPECT_NEAR(AngleFromUnit(63.040588888, AngleDegrees), 63.040588888, 0);
    EXPECT_NEAR(AngleFromUnit(63.0243533, AngleDegreesMinutes), 63 + 2.43533 / 60, 1e-12);
    EXPECT_NEAR(AngleFromUnit(-63.3, AngleDegreesMinutes), -63.5, 1e-12);
    for (auto [degrees, unit, text] : std::vector<std::tuple<double, int, std::string>>{
             {63 + 2 / 60.0 + 26.12 / 3600, AngleDms, "63.022612"},
             {63 + 2.43533 / 60, AngleDegreesMinutes, "63.0243533"},
             {44.5, AngleDegrees, "44.5"},
             {45 - 1e-13, AngleDms, "45"},  // no 60 seconds shown
             {-30.25, AngleDms, "-30.15"},
             {120 + 59 / 60.0 + 59.99999 / 3600, AngleDms, "120.595999999"},  // every place used
             {120 + 59.9999999 / 60, AngleDegreesMinutes, "120.599999999"},
             // What the series leaves below a tenth of a millimetre does not show.
             {115.5 - 5e-10, AngleDegreesMinutes, "115.3"},
             {115.5 - 5e-10, AngleDegrees, "115.5"},
             {115.5 - 5e-10, AngleDms, "115.3"},
             // A latitude a rounding step south of the equator is the equator, without a sign.
             {-1e-12, AngleDegrees, "0"},
             {-1e-12, AngleDegreesMinutes, "0"},
             {-1e-12, AngleDms, "0"}})
        EXPECT_EQ(AngleText(degrees, unit), text);
}

// Forward, inverse and zone change, for each ellipsoid, up to 3° either side of the meridian,
// against PROJ.
TEST_F(Calculator, ComputesAsProjDoesOnEachEllipsoid) {
    const double meridian = 117;
    std::vector<Pair> geographic;
    for (double latitude : {0.0, 18.5, 31.25, 45.0, 62.0, 80.0})
        for (double offset : {-3.0, -1.75, 0.0, 0.6, 2.2, 3.0}) geographic.push_back({meridian + offset, latitude});
    for (const DatumCase& datum : DatumCases) {
        const std::string ellipsoid = datum.proj;
        const auto proj = Cs2cs("+proj=longlat " + ellipsoid, Tmerc(ellipsoid, meridian), geographic);
        ASSERT_EQ(proj.size(), geographic.size());
        for (size_t i = 0; i < geographic.size(); ++i) {
            const Pair& g = geographic[i];
            const Pair& p = proj[i];
            SCOPED_TRACE(ellipsoid + " " + PlainNumberText(g.b) + " " + PlainNumberText(g.a));
            // Forward, in decimal degrees.
            const auto [x, y] = Compute(0, AngleDegrees, datum.option,
                                        {"0", "0", PlainNumberText(g.a), PlainNumberText(g.b)}, "117");
            EXPECT_NEAR(std::stod(x), p.b, Tolerance);
            EXPECT_NEAR(std::stod(y), p.a, Tolerance);
            // Inverse, in degrees-minutes-seconds: the angles back to far below the tolerance.
            char north[40], east[40];
            std::snprintf(north, sizeof north, "%.6f", p.b);
            std::snprintf(east, sizeof east, "%.6f", p.a);
            const auto [L, B] = Compute(1, AngleDms, datum.option, {north, east, "0", "0"}, "117");
            const double metresPerDegree = 111320;
            EXPECT_NEAR(AngleFromUnit(std::stod(B), AngleDms), g.b, Tolerance / metresPerDegree);
            EXPECT_NEAR((AngleFromUnit(std::stod(L), AngleDms) - g.a) * std::cos(g.b * 3.14159265358979 / 180),
                        0, Tolerance / metresPerDegree);
        }
        // Zone change from 117 to 114 and to 120 against PROJ's own, for the points within 3° of
        // both meridians.
        std::vector<Pair> plane;
        for (const Pair& p : proj) plane.push_back(p);
        for (double target : {114.0, 120.0}) {
            const auto changed = Cs2cs(Tmerc(ellipsoid, meridian), Tmerc(ellipsoid, target), plane);
            ASSERT_EQ(changed.size(), plane.size());
            for (size_t i = 0; i < plane.size(); ++i) {
                if (std::fabs(geographic[i].a - target) > 3) continue;
                char north[40], east[40];
                std::snprintf(north, sizeof north, "%.6f", plane[i].b);
                std::snprintf(east, sizeof east, "%.6f", plane[i].a);
                const auto [x, y] = Compute(2, AngleDegrees, datum.option, {north, east, "120", "0"}, "117",
                                            PlainNumberText(target));
                // Two series, each within a tenth of a millimetre.
                EXPECT_NEAR(std::stod(x), changed[i].b, 2 * Tolerance) << ellipsoid << " " << i;
                EXPECT_NEAR(std::stod(y), changed[i].a, 2 * Tolerance) << ellipsoid << " " << i;
            }
        }
    }
}

}  // namespace
}  // namespace movra
