#include <gtest/gtest.h>

#include "document/ColorTable.h"
#include "document/Layers.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct TogglesFixture : ::testing::Test {
    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;

    void SetUp() override {
        FillColorAndFontTables(app);
        for (int i = 1; i <= 254; ++i)
            form.ImageCombo2.AddItem(i, "k" + std::to_string(i), app.tables.ColorNames[static_cast<size_t>(i)], i);
        NewDocument(app);
        app.tool.CommandMode = ModeIdle;
    }

    // One record in layer 1, selected.
    MapRecord& Selected(std::uint8_t type, const std::string& text) {
        MapRecord& r = app.store.At(1, 0);
        r.RecordType = type;
        r.RecordText = text;
        app.store.Count(1) = 1;
        app.selection.SelectionList = {SelectedRecord{2, 0}, SelectedRecord{1, 0}};
        return r;
    }
};

TEST_F(TogglesFixture, ToggleLabelsShowTheirStateAndEffects) {
    const Rgb on = app.tables.ColorPalette[7], off = app.tables.ColorPalette[8];
    struct Case {
        Label* label;
        std::int16_t* flag;
        const char* onCaption;
        const char* offCaption;
    };
    for (const Case& c : {Case{&form.Label3, &app.tool.SnapOn, "捕捉", "不捕捉"},
                          Case{&form.Label4, &app.tool.SelectionArmed, "选择(X)", "不选择"},
                          Case{&form.Label5, &app.current.SymbolAnyDirection, "任意方向", "正北符号"}}) {
        c.label->onClick();
        EXPECT_EQ(*c.flag, -1) << c.onCaption;
        EXPECT_EQ(c.label->Caption(), c.onCaption);
        EXPECT_EQ(c.label->BackColor(), on);
        c.label->onClick();
        EXPECT_EQ(*c.flag, 0) << c.offCaption;
        EXPECT_EQ(c.label->Caption(), c.offCaption);
        EXPECT_EQ(c.label->BackColor(), off);
    }

    app.tool.SnapBoxDrawn = -1;
    form.Label3_Click();
    EXPECT_EQ(app.tool.SnapBoxDrawn, 0);

    app.selection.SelectionList = {SelectedRecord{3, 0}, SelectedRecord{1, 4}, SelectedRecord{1, 5}};
    app.tool.SelectionCount = 3;
    form.Label4_Click();
    EXPECT_EQ(app.tool.CommandMode, ModeSelect);
    EXPECT_EQ(app.tool.SelectionCount, 1);
    ASSERT_EQ(app.selection.SelectionList.size(), 2u);
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 0);
    EXPECT_EQ(app.selection.SelectionList[1].Slot, 0);
    form.Label4_Click();
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(TogglesFixture, LayerTypedOrChosenBecomesCurrentOnAndUnlocked) {
    RecordStore& store = app.store;
    store.LayerNames[2] = "房屋";
    store.LayerColorIndex[2] = 3;
    store.NextLayerIndex = 3;
    AddLayer(app);
    store.LayerNames[3] = "道路";
    store.LayerColorIndex[3] = 0;
    store.NextLayerIndex = 4;
    AddLayer(app);
    store.LayerOnFlag[2] = 0;
    store.LayerLockFlag[2] = -1;

    const std::string colourShown = form.ImageCombo2.Text();
    form.ImageCombo1.SetText("房屋");
    form.ImageCombo1_Change();
    EXPECT_EQ(store.CurrentLayer, 2);
    EXPECT_EQ(store.LayerOnFlag[2], -1);
    EXPECT_EQ(store.LayerLockFlag[2], 0);
    EXPECT_EQ(app.current.CurrentColor, app.tables.ColorPalette[3]);
    EXPECT_EQ(form.ImageCombo2.Text(), colourShown);

    form.ImageCombo1.SetText("道路");
    form.ImageCombo1_Click();
    EXPECT_EQ(store.CurrentLayer, 3);
    EXPECT_EQ(form.ImageCombo2.Text(), app.tables.ColorNames[0]);
    EXPECT_EQ(app.current.CurrentColor, app.tables.ColorPalette[0]);

    form.ImageCombo1.SetText("没有");
    form.ImageCombo1_Change();
    EXPECT_EQ(store.CurrentLayer, 3);
}

TEST_F(TogglesFixture, ColourChosenRecoloursTheSelectionOnlyWhileSelecting) {
    MapRecord& r = Selected(2, "");
    r.RecordColor = 0;
    form.ImageCombo2.SetText(app.tables.ColorNames[5]);
    form.ImageCombo2_Click();
    EXPECT_EQ(app.current.CurrentColor, app.tables.ColorPalette[5]);
    EXPECT_EQ(form.ImageCombo2.BackColor(), app.tables.ColorPalette[5]);
    EXPECT_EQ(r.RecordColor, 0);

    app.tool.CommandMode = ModeSelect;
    form.ImageCombo2.SetText(app.tables.ColorNames[4]);
    form.ImageCombo2_Click();
    EXPECT_EQ(static_cast<Rgb>(app.store.Get(1, 0).RecordColor), app.tables.ColorPalette[4]);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST_F(TogglesFixture, PartnerSwapOnTheCommandLine) {
    app.tool.CommandMode = ModeLine;
    struct Case {
        const char* from;
        const char* to;
    };
    for (const Case& c : {Case{"*472", "*511"}, Case{"*511", "*472"}, Case{"*512", "*472"}, Case{"*411", "*402"},
                          Case{"*490", "*402"}, Case{"*402", "*510"}, Case{"*598", "*351"}, Case{"*500", "*500"},
                          Case{"zj:", "zj:"}}) {
        app.tool.CommandMode = ModeLine;
        form.Text8.SetText(c.from);
        app.tool.CommandMode = ModeLine;
        form.Label6_Click();
        EXPECT_EQ(form.Text8.Text(), c.to) << c.from;
    }
}

TEST_F(TogglesFixture, PartnerSwapOfTheSelectedRecord) {
    const Rgb swapped = app.tables.ColorPalette[252];
    MapRecord& line = Selected(12, "472");
    form.Text8.SetText("5");
    app.current.DashOff = 2;
    form.Label6_Click();
    EXPECT_EQ(line.RecordText, "511");
    EXPECT_EQ(form.Text8.Text(), "");
    EXPECT_EQ(form.Label6.BackColor(), swapped);
    EXPECT_FLOAT_EQ(app.current.DashOff, 0);

    MapRecord& arc = Selected(8, "");
    arc.RecordX3 = 30;
    arc.RecordY3 = 120;
    arc.RecordZ3 = 7;
    form.Label6_Click();
    EXPECT_DOUBLE_EQ(arc.RecordX3, 120);
    EXPECT_DOUBLE_EQ(arc.RecordY3, 30);
    EXPECT_FLOAT_EQ(arc.RecordZ3, 7);

    MapRecord& plain = Selected(2, "472");
    const MapRecord before = plain;
    form.Text8.SetText("5");
    form.Label6.SetBackColor(MakeRgb(0, 0, 255));
    form.Label6_Click();
    EXPECT_EQ(plain, before);
    EXPECT_EQ(form.Text8.Text(), "5");
    EXPECT_EQ(form.Label6.BackColor(), MakeRgb(0, 0, 255));

    // Nothing selected: nothing changes.
    app.selection.SelectionList = {SelectedRecord{}};
    line.RecordType = 12;
    line.RecordText = "472";
    form.Label6_Click();
    EXPECT_EQ(line.RecordText, "472");
}

}  // namespace
}  // namespace movra
