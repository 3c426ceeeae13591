#include <gtest/gtest.h>

#include "document/ColorTable.h"
#include "document/Layers.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct SelectorFixture : ::testing::Test {
    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;

    void SetUp() override {
        FillColorAndFontTables(app);
        // The colour selector lists colours 1..254, as start-up fills it.
        for (int i = 1; i <= 254; ++i)
            form.ImageCombo2.AddItem(i, "k" + std::to_string(i), app.tables.ColorNames[static_cast<size_t>(i)], i);
        NewDocument(app);
    }
};

TEST_F(SelectorFixture, NewDocumentResetsTheMainWindow) {
    form.Text2.SetText("");
    // Scroll bars off 0 do not move the new map's view when they go back.
    form.HScroll1.SetValue(100);
    form.VScroll1.SetValue(30);
    NewDocument(app);
    ImageCombo& layers = form.ImageCombo1;
    ASSERT_EQ(layers.ItemCount(), 1);
    EXPECT_EQ(layers.Item(1).Key(), "k1");
    EXPECT_EQ(layers.Item(1).Text(), "层1");
    EXPECT_EQ(layers.Item(1).Image(), 254);
    EXPECT_EQ(layers.Text(), "层1");
    EXPECT_EQ(layers.BackColor(), MakeRgb(0, 0, 255));
    EXPECT_EQ(form.ImageCombo2.Text(), "蓝5");
    EXPECT_EQ(form.ImageCombo2.BackColor(), MakeRgb(0, 0, 255));
    EXPECT_EQ(form.Caption(), "movra_" + app.current.LastPicturePath);
    EXPECT_EQ(form.Caption().rfind("movra_newfilse_", 0), 0u);
    EXPECT_EQ(form.Text4.ForeColor(), 78888);

    // One map unit is 100 twips of canvas across and down, about the origin.
    const double width = form.Picture1.Width();
    const double height = form.Picture1.Height();
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleLeft(), -width / 200);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleWidth(), width / 100);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleTop(), height / 200);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleHeight(), -height / 100) << "y points up";
    EXPECT_EQ(form.Picture1.surface().DrawMode(), 13);
    EXPECT_EQ(form.HScroll1.Value(), 0);
    EXPECT_EQ(form.VScroll1.Value(), 0);
    EXPECT_EQ(form.VScroll1.Left(), form.Picture1.Left() + form.Picture1.Width());
    EXPECT_EQ(form.Text4.Text().rfind("比例尺Ⅰ：", 0), 0u) << form.Text4.Text();
    EXPECT_EQ(app.view.DisplayZoom, 2);
    EXPECT_EQ(form.Text2.Text(), "");
}

TEST_F(SelectorFixture, AddedLayersAreListedAndTheNewestIsCurrent) {
    auto& store = app.store;
    store.LayerNames[2] = "房屋";
    store.LayerColorIndex[2] = 1;
    store.LayerNames[3] = "道路";
    store.LayerColorIndex[3] = 3;
    store.LayerLockFlag[3] = -1;
    store.NextLayerIndex = 4;
    AddLayer(app);

    ImageCombo& layers = form.ImageCombo1;
    ASSERT_EQ(layers.ItemCount(), 3);
    EXPECT_EQ(layers.Item(3).Key(), "k3");
    EXPECT_EQ(layers.Item(3).Text(), "道路");
    EXPECT_EQ(layers.Item(3).Image(), 3);
    EXPECT_EQ(layers.Item(2).Image(), 1);
    EXPECT_EQ(layers.Text(), "道路");
    EXPECT_EQ(layers.BackColor(), 0xFFFFFF);
    EXPECT_EQ(store.CurrentLayer, 3);
    EXPECT_EQ(store.LayerOnFlag[3], -1);
    EXPECT_EQ(store.LayerLockFlag[3], 0) << "choosing a layer unlocks it";
    EXPECT_EQ(app.current.CurrentColor, MakeRgb(0, 255, 0));
    EXPECT_EQ(form.ImageCombo2.Text(), "绿3");

    // The user's choice runs the click: the layer named by the item becomes current.
    store.LayerOnFlag[2] = 0;
    layers.UserChoose(2);
    EXPECT_EQ(store.CurrentLayer, 2);
    EXPECT_EQ(store.LayerOnFlag[2], -1);
    EXPECT_EQ(app.current.CurrentColor, MakeRgb(255, 0, 0));
    EXPECT_EQ(form.ImageCombo2.Text(), "赤1");

    // A typed name matching no layer changes nothing; the match ignores letter case.
    layers.SetText("没有");
    form.ImageCombo1_Click();
    EXPECT_EQ(store.CurrentLayer, 2);
    store.LayerNames[1] = "Water";
    layers.SetText("WATER");
    form.ImageCombo1_Click();
    EXPECT_EQ(store.CurrentLayer, 1);
}

TEST_F(SelectorFixture, ColourZeroIsNamedThoughItHasNoItem) {
    auto& store = app.store;
    store.LayerNames[2] = "黑";
    store.LayerColorIndex[2] = 0;
    store.NextLayerIndex = 3;
    AddLayer(app);
    EXPECT_EQ(app.current.CurrentColor, 0);
    EXPECT_EQ(form.ImageCombo2.Text(), app.tables.ColorNames[0]);
    EXPECT_NE(app.tables.ColorNames[0], app.tables.ColorNames[7]);
    EXPECT_EQ(form.ImageCombo2.BackColor(), app.tables.ColorPalette[0]);
}

}  // namespace
}  // namespace movra
