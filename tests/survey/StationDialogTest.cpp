#include <gtest/gtest.h>

#include "App.h"
#include "document/Geometry.h"
#include "editing/ToolState.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"
#include "survey/cezhanfrm.h"

namespace movra {
namespace {

// A map with two named points ("K1" at E 500, N 600, H 12.5 and "k2") and a line vertex to pick.
struct StationDialog : ::testing::Test {
    StationDialog() {
        t.form1.Load();
        Put(0, 50, "K1", 500, 600, 12.5f);
        Put(1, 50, "k2", 500, 700, 13);
        Put(2, 2, "", 800, 600, 0);
        t.app.store.At(1, 2).RecordX2 = 500;
        t.app.store.At(1, 2).RecordY2 = 300;
        t.app.store.At(1, 2).RecordZ2 = 9;
        t.app.store.Count(1) = 3;
    }
    void Put(int slot, std::uint8_t type, const std::string& name, double x, double y, float z) {
        MapRecord& r = t.app.store.At(1, slot);
        r.RecordType = type;
        r.RecordText = name;
        r.RecordX1 = x;
        r.RecordY1 = y;
        r.RecordZ1 = z;
    }
    cezhanfrm& Open() {
        ShowStationSetup(t.app);
        return *t.app.stationDialog;
    }
    TestApp t;
};

TEST_F(StationDialog, AFoundNameFillsAndLocksItsRowAndTheDisplaysFollow) {
    cezhanfrm& d = Open();
    EXPECT_EQ(d.Caption(), "测站设置");
    EXPECT_EQ(d.Text2.Text(), "0");
    d.Text1.SetText("k1");
    EXPECT_EQ(d.Text2.Text(), "600");  // northing
    EXPECT_EQ(d.Text3.Text(), "500");  // easting
    EXPECT_EQ(d.Text4.Text(), "12.5");
    EXPECT_FALSE(d.Text1.Enabled());
    EXPECT_FALSE(d.Text4.Enabled());
    d.Text5.SetText("K2");
    EXPECT_EQ(t.app.station.PickRow, 1);
    EXPECT_EQ(d.Text17.Text(), "0");  // due north
    EXPECT_EQ(d.Text18.Text(), "100");
    // A name the map does not hold empties the row's numbers but keeps what was stored.
    d.Text9.SetText("nowhere");
    EXPECT_EQ(d.Text10.Text(), "");
    EXPECT_EQ(t.app.station.StationName[2], "nowhere");

    // Typed station coordinates reach the displays only when stored; a click on the form stores.
    d.Command2_Click();  // opens the check row after row 1
    d.Command2_Click();  // then the station row
    EXPECT_TRUE(d.Text2.Enabled());
    d.Text2.SetText("700");
    EXPECT_EQ(d.Text17.Text(), "0");
    d.Text26.SetText("0.3");
    d.Text13.SetText("1.55");
    d.Form_Click();
    // The station now stands on the zero direction point (N 700, E 500).
    EXPECT_EQ(d.Text17.Text(), "0");
    EXPECT_EQ(d.Text18.Text(), "0");
    EXPECT_DOUBLE_EQ(t.app.station.StationY[3], 1.55);
    EXPECT_NEAR(t.app.station.StationAngles[0], DmsToRad(0.3), 1e-15);
    EXPECT_TRUE(d.Loaded());
}

TEST_F(StationDialog, DisplaysNorthEastSouthWest) {
    cezhanfrm& d = Open();
    d.Text2.SetText("1000");
    d.Text3.SetText("1000");
    for (auto [n, e, shown] : std::vector<std::tuple<const char*, const char*, const char*>>{
             {"1100", "1000", "0"}, {"1000", "1100", "90"}, {"900", "1000", "180"}, {"1000", "900", "270"}}) {
        d.Text6.SetText(n);
        d.Text7.SetText(e);
        d.StoreStationSetup();
        EXPECT_EQ(d.Text17.Text(), shown);
        EXPECT_EQ(d.Text18.Text(), "100");
        EXPECT_NEAR(t.app.station.StationAngles[1], DmsToRad(std::stod(shown)), 1e-12);
    }
}

TEST_F(StationDialog, APickFillsTheRowFromTheSnappedVertexAndAdvances) {
    cezhanfrm& d = Open();
    d.Command1_Click();
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(t.app.tool.CommandMode, ModePickStation);
    EXPECT_EQ(t.app.tool.SnapOn, -1);
    // The canvas snapped vertex 2 of the line in slot 2.
    t.app.tool.SnapVertex = {1, 2, 2};
    ASSERT_TRUE(t.app.tool.StationPicked);
    t.app.tool.PickedStation = t.app.tool.SnapVertex;
    t.app.tool.StationPicked(t.app);
    EXPECT_TRUE(d.Visible());
    EXPECT_EQ(d.Text2.Text(), "300");
    EXPECT_EQ(d.Text3.Text(), "500");
    EXPECT_EQ(d.Text4.Text(), "9");
    EXPECT_FALSE(d.Text1.Enabled());
    EXPECT_EQ(t.app.station.PickRow, 1);
    EXPECT_EQ(t.app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(t.app.tool.SnapOn, 0);
    // While the pick is armed names are not looked up: a picked name is kept as it is.
    EXPECT_EQ(d.PickArmed, -1);
    // A pick without a vertex keeps the stored row but still locks it and moves on.
    d.Command1_Click();
    t.app.tool.PickedStation = {1, 0, 0};
    t.app.tool.StationPicked(t.app);
    EXPECT_FALSE(d.Text5.Enabled());
    EXPECT_EQ(d.Text6.Text(), "0");
    EXPECT_EQ(t.app.station.PickRow, 2);
    // "屏选" acts only while the row to pick is open.
    d.Command2_Click();  // opens the station row, PickRow 0
    EXPECT_EQ(d.PickArmed, 0);
    d.Command2_Click();  // opens row 1
    EXPECT_TRUE(d.Text5.Enabled());
    d.Text1.SetText("K1");  // found: row 0 locked, and the row to pick
    EXPECT_EQ(t.app.station.PickRow, 0);
    d.Command1_Click();
    EXPECT_TRUE(d.Visible());  // nothing happened
    EXPECT_EQ(t.app.tool.CommandMode, ModeIdle);
}

TEST_F(StationDialog, DoneStoresAndClosesTheCloseBoxStoresNothingAndSetUpIsKept) {
    cezhanfrm& d = Open();
    d.Text1.SetText("K1");
    d.Text14.SetText("2");
    d.Command4_Click();
    EXPECT_FALSE(d.Loaded());
    EXPECT_EQ(t.app.station.StationName[0], "K1");
    EXPECT_DOUBLE_EQ(t.app.station.StationX[3], 2);
    EXPECT_EQ(t.app.tool.CommandMode, ModeIdle);

    // Opening again (the tool bar's "设站") shows the stored set-up and looks the name up again.
    Toolbar& bar = t.form1.Toolbar1;
    ToolbarButton& button = bar.Buttons("设置");
    bar.UserClickMenu(button.Index(), button.ButtonMenus("设站").Index());
    cezhanfrm& again = *t.app.stationDialog;
    EXPECT_TRUE(again.Loaded());
    EXPECT_EQ(again.Text1.Text(), "K1");
    EXPECT_FALSE(again.Text1.Enabled());
    EXPECT_EQ(again.Text14.Text(), "2");
    again.Text14.SetText("7");
    again.Unload(UnloadFromControlMenu);
    EXPECT_DOUBLE_EQ(t.app.station.StationX[3], 2);
}

}  // namespace
}  // namespace movra
