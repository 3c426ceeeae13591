#include <gtest/gtest.h>

#include "document/Layers.h"
#include "document/csForm2.h"
#include "document/LayerSelector.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct LayerManager : ::testing::Test {
    TestApp t;
    App& app = t.app;
    csForm2 form{t.app};
    void SetUp() override {
        for (int i = 2; i <= 70; ++i) {
            app.store.LayerNames[static_cast<size_t>(i)] = "层" + std::to_string(i);
            app.store.LayerColorIndex[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i % 200);
            app.store.LayerOnFlag[static_cast<size_t>(i)] = -1;
        }
        app.store.NextLayerIndex = 71;
        AddLayer(app);
        RebuildLayerSelector(app, app.store.LayerCount);
        app.store.LayerOnFlag[3] = 0;
        form.Load();
    }
};

TEST_F(LayerManager, LoadShowsNextLayerAndOffLayersGrey) {
    EXPECT_EQ(app.store.NextLayerIndex, 71);
    EXPECT_EQ(form.Label3.Caption(), "第71层待设置");
    EXPECT_EQ(form.Text1.Text(), "层71");
    EXPECT_EQ(form.Command3(3).BackColor(), LayerOffGrey);
    EXPECT_EQ(form.Command3(2).BackColor(), app.tables.ColorPalette[2]);
    EXPECT_FALSE(form.Command4.Enabled());
}

// The dialog opens with its design texts and plain boxes, the first time and after the user
// changed them and closed it: putting the design texts in place is no change of the user's.
TEST_F(LayerManager, OpensWithItsDesignTextsAndPlainColourBoxes) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(form.Text2.Text(), "层名称");
        EXPECT_EQ(form.Text3.Text(), "层颜色");
        EXPECT_EQ(form.Combo1.Text(), "颜色");
        EXPECT_EQ(form.Combo1.BackColor(), SystemColor);
        EXPECT_EQ(form.Text3.BackColor(), SystemColor);
        EXPECT_FALSE(form.Command4.Enabled());
        // The user shows a layer and picks a colour, then closes the dialog and opens it again.
        form.Command3_Click(2);
        form.Combo1.SetText("20");
        EXPECT_EQ(form.Combo1.BackColor(), app.tables.ColorPalette[20]);
        form.Unload();
        form.Load();
    }
}

TEST_F(LayerManager, LayerButtonsToggleAndShowTheLayer) {
    form.Command3_Click(66);
    for (int i = 66; i <= 70; ++i) EXPECT_EQ(app.store.LayerOnFlag[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(form.Command3(66).BackColor(), LayerOffGrey);
    form.Command3_Click(66);
    for (int i = 66; i <= 70; ++i) EXPECT_EQ(app.store.LayerOnFlag[static_cast<size_t>(i)], -1) << i;
    EXPECT_EQ(form.Command3(66).BackColor(), app.tables.ColorPalette[66]);
    EXPECT_EQ(form.Text2.Text(), "层66");
    EXPECT_EQ(form.Command4.Caption(), "修改第66层");
    EXPECT_FALSE(form.Command4.Enabled());

    form.Command3_Click(0);
    EXPECT_EQ(form.ShownLayer, 0);
    EXPECT_EQ(form.Text2.Text(), app.store.LayerNames[0]);

    // Command4 on layer 0 renames but never makes layer 0 current.
    const auto current = app.store.CurrentLayer;
    form.Command4_Click();
    EXPECT_EQ(app.store.CurrentLayer, current);
}

TEST_F(LayerManager, ButtonAboveLayerCountDoesNothing) {
    TestApp small;
    csForm2 f{small.app};
    f.Load();
    f.Command3_Click(5);
    EXPECT_EQ(f.ShownLayer, 0);
    EXPECT_EQ(f.Text2.Text(), "层名称");
    EXPECT_EQ(small.app.store.LayerOnFlag[5], 0);
}

TEST_F(LayerManager, Text3RestoresTheShownColourForOutOfRangeValues) {
    form.Command3_Click(7);
    for (const char* typed : {"0", "", "abc", "300"}) {
        form.Text3.UserTyped(typed, 0);
        EXPECT_EQ(form.Text3.Text(), "7") << typed;
    }
    form.Text3.UserTyped("12", 0);
    EXPECT_TRUE(form.Command4.Enabled());
    form.Text2.UserTyped("新名", 0);
    form.Command4_Click();
    EXPECT_EQ(app.store.LayerNames[7], "新名");
    EXPECT_EQ(app.store.LayerColorIndex[7], 12);
    EXPECT_EQ(app.store.CurrentLayer, 7);
    EXPECT_EQ(t.form1.ImageCombo1.Text(), "新名");
    EXPECT_EQ(form.Command4.Caption(), "第7层已修改");
}

TEST_F(LayerManager, DefineNextLayerAndAllOnOff) {
    form.Combo1.SetText("40");
    form.Text1.SetText("水系");
    form.Command1_Click();
    EXPECT_EQ(app.store.LayerNames[71], "水系");
    EXPECT_EQ(app.store.LayerColorIndex[71], 40);
    EXPECT_EQ(app.store.NextLayerIndex, 72);
    EXPECT_EQ(form.Label3.Caption(), "第72层待设置");
    form.Text1.SetText("");
    form.Command1_Click();
    EXPECT_EQ(app.store.NextLayerIndex, 72);

    app.store.LayerLockFlag[4] = -1;
    form.Label5_Click();
    EXPECT_EQ(app.store.LayerOnFlag[0], 0);
    EXPECT_EQ(app.store.LayerLockFlag[4], -1);
    form.Label4_Click();
    EXPECT_EQ(app.store.LayerOnFlag[4], -1);
    EXPECT_EQ(app.store.LayerLockFlag[4], 0);
    EXPECT_EQ(app.store.LayerOnFlag[0], 0);
    EXPECT_TRUE(form.Command3(12).Enabled());
    form.Combo1.SetText("999");
    EXPECT_EQ(form.Combo1.Text(), "0");
}

}  // namespace
}  // namespace movra
