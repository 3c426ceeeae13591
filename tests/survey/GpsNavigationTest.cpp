#include <gtest/gtest.h>

#include <random>
#include <string>

#include "App.h"
#include "platform/fake/RecordingSurface.h"
#include "support/NmeaSentence.h"
#include "support/TestApp.h"
#include "survey/GPSdaohang.h"
#include "survey/GaussKruger.h"
#include "survey/Nmea.h"

namespace movra {
namespace {

// 30° N, 115.5° E: zone 114, a point whose projection is known.
const std::string Valid = Sentence("GPRMC,123519.000,A,3000.0000,N,11530.0000,E,022.4,084.4,230394,003.1,W");

TEST(NmeaSentences, WhatIsTakenAndWhatIsDropped) {
    struct Case {
        const char* what;
        std::string text;
        bool fix;
        double latitude, longitude;
    };
    const std::string other = Sentence("GPRMC,123520.000,A,3012.0000,S,07530.0000,W,,,230394,,");
    const std::vector<Case> cases = {
        {"valid", Valid, true, 3000, 11530},
        {"void", Sentence("GPRMC,123519.000,V,3000.0000,N,11530.0000,E,,,230394,,"), false, 0, 0},
        {"lower case", Sentence("gprmc,123519.000,A,3000.0000,N,11530.0000,E,1,1,230394,,"), false, 0, 0},
        {"bad checksum", "$GPRMC,123519.000,A,3000.0000,N,11530.0000,E,1,1,230394,,*00\r\n", false, 0, 0},
        {"latitude no number", Sentence("GPRMC,123519.000,A,30x0.0000,N,11530.0000,E,1,1,230394,,"), false, 0, 0},
        {"latitude empty", Sentence("GPRMC,123519.000,A,,N,11530.0000,E,1,1,230394,,"), false, 0, 0},
        {"south and west, no speed", other, true, -3012, -7530},
        {"without checksum, at its line end", "$GPRMC,1,A,3000.0,N,11530.0,E,0,0,230394,,\r\n", true, 3000, 11530},
        {"GNSS talker", Sentence("GNRMC,1,A,3000.0,N,11530.0,E,0,0,230394,,,A"), true, 3000, 11530},
        {"BeiDou talker", Sentence("BDRMC,1,A,3000.0,N,11530.0,E,0,0,230394,,"), true, 3000, 11530},
        {"BeiDou talker, new name", Sentence("GBRMC,1,A,3000.0,N,11530.0,E,0,0,230394,,"), true, 3000, 11530},
        // The fix sentence never moves the position: only RMC does.
        {"fix sentence", Sentence("GNGGA,1,3000.0,N,11530.0,E,1,08,0.9,545.4,M,46.9,M,,"), false, 0, 0},
        {"RMC, then GGA of fewer decimals", Valid + Sentence("GNGGA,1,3000.00,N,11530.01,E,1,08,0.9,545.4,M,46.9,M,,"),
         true, 3000, 11530},
        {"other sentences", Sentence("GPGSV,3,1,11,03,03,111,00") + Sentence("GPVTG,1,T,,M,0,N,0,K"), false, 0, 0},
        {"bad, then good", "$GPRMC,1,A,3000.0,N,11530.0,E,0,0,230394,,*77\r\n" + other, true, -3012, -7530},
        {"cut off by the next start", "$GPRMC,123519.000,A,3000." + other, true, -3012, -7530},
    };
    for (const Case& c : cases) {
        std::string buffer = c.text;
        const auto fix = TakeNmeaFix(buffer);
        EXPECT_EQ(fix.has_value(), c.fix) << c.what;
        if (fix && c.fix) {
            EXPECT_EQ(fix->latitude, c.latitude) << c.what;
            EXPECT_EQ(fix->longitude, c.longitude) << c.what;
        }
        EXPECT_EQ(buffer, "") << c.what;
    }
    EXPECT_DOUBLE_EQ(NmeaToDegrees(3012.0), 30.2);
    EXPECT_DOUBLE_EQ(NmeaToDegrees(-7530.0), -75.5);
}

TEST(NmeaSentences, ASentenceInPiecesAndWhatFollowsIt) {
    std::string buffer = Valid.substr(0, 64);
    EXPECT_FALSE(TakeNmeaFix(buffer));
    EXPECT_EQ(buffer, Valid.substr(0, 64));
    // The checksum's first digit alone is not yet the end.
    const size_t star = Valid.find('*');
    buffer = Valid.substr(0, star + 2);
    EXPECT_FALSE(TakeNmeaFix(buffer));
    buffer += Valid.substr(star + 2) + "$GPRMC,12";
    const auto fix = TakeNmeaFix(buffer);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->time, "123519.000");
    EXPECT_DOUBLE_EQ(fix->speed, 22.4);
    EXPECT_DOUBLE_EQ(fix->course, 84.4);
    EXPECT_EQ(buffer, "$GPRMC,12");
}

TEST(NmeaSentences, NoiseStaysBoundedAndASentenceAfterItIsTaken) {
    std::mt19937 random(52);
    std::string buffer;
    for (int chunk = 0; chunk < 1024; ++chunk) {
        std::string noise(1024, '\0');
        for (char& c : noise) c = static_cast<char>(random());
        // Sentence starts without ends now and then, so that the bound is what holds the buffer.
        if (chunk % 3 == 0) noise[100] = '$';
        buffer += noise;
        TakeNmeaFix(buffer);
        ASSERT_LE(buffer.size(), NmeaBufferLimit);
    }
    buffer += "\r\n" + Valid;
    const auto fix = TakeNmeaFix(buffer);
    ASSERT_TRUE(fix);
    EXPECT_EQ(fix->latitude, 3000);
}

struct GpsWindow : ::testing::Test {
    GpsWindow() {
        t.form1.Load();
        t.app.view.ScaleFactor = 0.5;
        canvas().SetScale(1000, 2000, 400, -300);
        ShowGpsWindow(t.app);
        w = t.app.gpsWindow.get();
    }
    PictureBox& canvas() { return t.form1.Picture1; }
    RecordingSurface& surface() { return static_cast<RecordingSurface&>(canvas().surface()); }
    LoopbackSerialPort& port() { return *t.platform.serial.LastPort(); }
    void Tick() {
        surface().ClearRecords();
        w->Timer1_Timer();
    }
    std::vector<SurfacePrimitive> Markers() { return surface().PrimitivesOf(SurfacePrimitive::Kind::FilledBox); }
    bool Redrawn() { return !surface().PrimitivesOf(SurfacePrimitive::Kind::Clear).empty(); }

    TestApp t;
    GPSdaohang* w = nullptr;
};

TEST_F(GpsWindow, LoadsTheReceiverPortAndTakesItsSentences) {
    EXPECT_EQ(w->Caption(), "GPS导航");
    EXPECT_FALSE(w->Modal());
    EXPECT_EQ(w->Text1.Text(), "4800,N,8,1");
    EXPECT_EQ(w->Combo2.Text(), "1");
    EXPECT_EQ(w->Combo2.ListCount(), 8);
    ASSERT_TRUE(port().IsOpen());
    EXPECT_EQ(port().portNumber, GpsPortNumber);
    EXPECT_EQ(port().settingsText, "4800,N,8,1");
    EXPECT_EQ(w->ReceiveArmed, -1);

    port().Inject(Valid.substr(0, 64));
    EXPECT_EQ(w->FixLatitude, 0);
    port().Inject(Valid.substr(64));
    EXPECT_EQ(w->FixLatitude, 3000);
    EXPECT_EQ(w->FixLongitude, 11530);
    EXPECT_EQ(w->NmeaBuffer, "");
    // Collecting goes on: the next sentence is a new fix.
    port().Inject(Sentence("GPRMC,123520.000,A,3001.0000,N,11531.0000,E,0,0,230394,,"));
    EXPECT_EQ(w->FixLatitude, 3001);
    port().Inject(Sentence("GPRMC,123521.000,V,3002.0000,N,11532.0000,E,0,0,230394,,"));
    EXPECT_EQ(w->FixLatitude, 3001);
}

TEST_F(GpsWindow, TicksMarkThePositionAndFollowIt) {
    // Before any fix the marker stands at the view centre, tick after tick.
    for (int tick = 0; tick < 2; ++tick) {
        Tick();
        const auto markers = Markers();
        ASSERT_EQ(markers.size(), 1u);
        EXPECT_DOUBLE_EQ(markers[0].x1, 1200);
        EXPECT_DOUBLE_EQ(markers[0].y1, 1850);
        EXPECT_DOUBLE_EQ(markers[0].x2, 1200.5);
        EXPECT_DOUBLE_EQ(markers[0].y2, 1850.5);
        EXPECT_EQ(markers[0].color, MakeRgb(255, 0, 0));
        EXPECT_FALSE(Redrawn());
    }

    // A fix outside the view: projected, the view centred on it and redrawn.
    port().Inject(Valid);
    Tick();
    EXPECT_EQ(w->FixZoneMeridian, 114);
    const PlanePoint p = GaussKrugerForwardWgs84(30, 115.5, 114);
    EXPECT_DOUBLE_EQ(w->FixEasting, p.easting);
    EXPECT_DOUBLE_EQ(w->FixNorthing, p.northing);
    EXPECT_NEAR(w->FixEasting, 644737.749, 0.0005);
    EXPECT_TRUE(Redrawn());
    EXPECT_DOUBLE_EQ(canvas().ScaleLeft(), p.easting - 200);
    EXPECT_DOUBLE_EQ(canvas().ScaleTop(), p.northing + 150);
    ASSERT_EQ(Markers().size(), 1u);
    EXPECT_DOUBLE_EQ(Markers()[0].x1, p.easting);

    // Inside the view the view stays; the same sentence again changes nothing.
    port().Inject(Valid);
    Tick();
    EXPECT_FALSE(Redrawn());
    EXPECT_DOUBLE_EQ(canvas().ScaleLeft(), p.easting - 200);
    ASSERT_EQ(Markers().size(), 1u);
    EXPECT_DOUBLE_EQ(Markers()[0].x1, p.easting);

    // Just outside the right edge: the view moves so that it sits in the centre.
    const double left = canvas().ScaleLeft();
    canvas().SetScale(left - 201, canvas().ScaleTop(), 400, -300);
    Tick();
    EXPECT_TRUE(Redrawn());
    EXPECT_DOUBLE_EQ(canvas().ScaleLeft(), p.easting - 200);

    // "结束" clears the position and closes the port and the window.
    w->Command5_Click();
    EXPECT_EQ(w->FixEasting, 0);
    EXPECT_FALSE(w->Loaded());
    EXPECT_FALSE(port().IsOpen());
}

TEST_F(GpsWindow, ALostPortIsClosedNamedAndOpenedAgainByTheSignalTest) {
    port().Inject(Valid);
    Tick();
    ASSERT_EQ(Markers().size(), 1u);
    const double left = canvas().ScaleLeft();
    port().Inject(Valid.substr(0, 40));  // cut off by the loss: never a sentence
    port().HangUp();
    EXPECT_FALSE(port().IsOpen());
    EXPECT_EQ(t.platform.promptScript.LastText(), "端口/dev/ttyS0不存在");
    EXPECT_EQ(w->NmeaBuffer, "");
    // The last fix is no longer the position: the ticks mark nothing and leave the view, wherever
    // the user has moved it.
    canvas().SetScale(left + 5000, canvas().ScaleTop(), 400, -300);
    for (int tick = 0; tick < 2; ++tick) {
        Tick();
        EXPECT_TRUE(Markers().empty());
        EXPECT_FALSE(Redrawn());
        EXPECT_DOUBLE_EQ(canvas().ScaleLeft(), left + 5000);
    }
    // The receiver back, the next fix is the position again.
    w->Command1.Click();
    ASSERT_TRUE(port().IsOpen());
    port().Inject(Valid.substr(40) + Valid);
    EXPECT_EQ(w->FixLatitude, 3000);
    Tick();
    ASSERT_EQ(Markers().size(), 1u);
    EXPECT_DOUBLE_EQ(canvas().ScaleLeft(), left);
}

TEST_F(GpsWindow, TheIntervalTheSignalTestAndThePortChoice) {
    for (auto [text, ms] : std::vector<std::pair<const char*, int>>{
             {"1", 1000}, {"2.5", 2500}, {"60", 60000}, {"65", 65000}, {"66", 65000}, {"0", 1000}, {"-3", 1000},
             {"abc", 1000}, {"", 1000}})
        EXPECT_EQ(GpsTimerInterval(text), ms) << text;
    w->Combo2.SetText("30");
    w->Command2.Click();
    EXPECT_TRUE(w->Timer1.Enabled());
    EXPECT_EQ(w->Timer1.Interval(), 30000);

    // No carrier: the test says so, and the receiver stays connected while navigating.
    port().carrierDetect = false;
    w->Command1.Click();
    EXPECT_EQ(t.platform.promptScript.LastText(), "无信号\r\n等一下\r\n我未准备好!\r\n");
    ASSERT_TRUE(port().IsOpen());
    port().carrierDetect = true;
    w->Command1.Click();
    EXPECT_EQ(t.platform.promptScript.LastText(), "有信号\r\n你开始\r\n我好了\r\n");

    // "关闭导航" stops the timer and closes the port; a signal test then leaves it closed.
    w->Command4.Click();
    EXPECT_FALSE(w->Timer1.Enabled());
    EXPECT_FALSE(port().IsOpen());
    w->Command1.Click();
    EXPECT_FALSE(port().IsOpen());

    // The device and settings chosen are used from the next opening and kept for the run.
    w->List1.SetText("/dev/ttyUSB0");
    w->Text1.SetText("9600,N,8,1");
    w->Command5.Click();
    ShowGpsWindow(t.app);
    EXPECT_EQ(t.platform.serial.deviceNames[GpsPortNumber], "/dev/ttyUSB0");
    EXPECT_EQ(port().settingsText, "9600,N,8,1");
    EXPECT_TRUE(port().IsOpen());
    EXPECT_EQ(w->List1.Text(), "/dev/ttyUSB0");
}

}  // namespace
}  // namespace movra
