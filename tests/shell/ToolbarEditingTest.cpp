#include <gtest/gtest.h>

#include <string>

#include "App.h"
#include "document/BlockFile.h"
#include "editing/LinkedImages.h"
#include "platform/fake/RecordingSurface.h"
#include "shell/szForm3.h"
#include "survey/xpdxFrm.h"
#include "support/TestApp.h"

namespace movra {
namespace {

constexpr Rgb Red = MakeRgb(255, 0, 0);

class ToolbarEditing : public ::testing::Test {
protected:
    ToolbarEditing() {
        t.form1.Load();
        t.platform.silentSound.beeps.clear();
        app.store.LayerCount = 3;
        app.store.DimensionKeep(3);
        app.store.NextLayerIndex = 4;
        for (int layer : {1, 2, 3}) app.store.LayerOnFlag[layer] = -1;
        app.store.CurrentLayer = 1;
    }

    void Click(const std::string& key) { bar().UserClickButton(bar().Buttons(key).Index()); }
    void Choose(const std::string& buttonKey, const std::string& menuKey) {
        ToolbarButton& button = bar().Buttons(buttonKey);
        bar().UserClickMenu(button.Index(), button.ButtonMenus(menuKey).Index());
    }
    void View(const std::string& key) { t.form1.Toolbar2.UserClickButton(t.form1.Toolbar2.Buttons(key).Index()); }
    Toolbar& bar() { return t.form1.Toolbar1; }
    // A line in layer `layer` that is selected.
    void SelectLine(int layer) {
        const int slot = app.store.Count(layer);
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = 2;
        r.RecordX2 = r.RecordY2 = 10;
        ++app.store.Count(layer);
        app.selection.SelectionList = {{2, 0}, {layer, slot}};
        app.tool.SelectionMade = -1;
        for (int button : {8, 10, 11}) bar().Buttons(button).SetEnabled(true);
    }
    int Clears() {
        auto& canvas = static_cast<RecordingSurface&>(t.form1.Picture1.surface());
        return static_cast<int>(canvas.PrimitivesOf(SurfacePrimitive::Kind::Clear).size());
    }
    void ForgetDrawing() { static_cast<RecordingSurface&>(t.form1.Picture1.surface()).ClearRecords(); }

    TestApp t;
    App& app = t.app;
};

TEST_F(ToolbarEditing, DeleteTakesBackAPictureBeingPlacedOrDeletesTheSelection) {
    // While a picture waits to be placed: its holder and staging record go, the selection stays.
    SelectLine(1);
    app.tool.CommandMode = ModePlaceImage;
    app.mapFile.LastImageSlot = 5;
    app.display.Images.Image1[5] = Picture{2, 1, {0, 0}};
    app.store.At(0, 905).RecordColor = 5;
    Click("删除");
    EXPECT_TRUE(app.display.Images.Image1[5].Empty());
    EXPECT_EQ(app.store.Get(0, 905).RecordColor, 0);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 2);
    EXPECT_EQ(app.tool.SelectionMade, -1);
    for (int button : {8, 10, 11}) EXPECT_FALSE(bar().Buttons(button).Enabled()) << button;

    // With a selection and another tool: deleted and redrawn, terrain points shown again.
    app.tool.CommandMode = ModeIdle;
    app.display.Redraw.SuppressTerrainPoints = -1;
    for (int button : {8, 10, 11}) bar().Buttons(button).SetEnabled(true);
    ForgetDrawing();
    Click("删除");
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, 0);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 102);
    EXPECT_GT(Clears(), 0);

    // Without one: only the buttons are disabled.
    app.tool.SelectionMade = 0;
    for (int button : {8, 10, 11}) bar().Buttons(button).SetEnabled(true);
    ForgetDrawing();
    Click("删除");
    EXPECT_EQ(Clears(), 0);
    for (int button : {8, 10, 11}) EXPECT_FALSE(bar().Buttons(button).Enabled()) << button;
}

TEST_F(ToolbarEditing, CutCopiesAndDeletesWithoutARedraw) {
    SelectLine(2);
    bar().Buttons(12).SetEnabled(false);
    ForgetDrawing();
    Click("剪切");
    EXPECT_EQ(app.copyBuffer.Entries[0].Layer, 1);
    EXPECT_EQ(app.store.Get(2, 0).RecordType, 102);
    EXPECT_EQ(Clears(), 0);
    EXPECT_FALSE(bar().Buttons(8).Enabled());
    EXPECT_FALSE(bar().Buttons(10).Enabled());
    EXPECT_TRUE(bar().Buttons(12).Enabled());
    EXPECT_EQ(app.copyBuffer.CopyBufferFlag, -1);
}

TEST_F(ToolbarEditing, PasteTakesTheCopyTheBlockFileOrNothingByTheFlag) {
    SelectLine(2);
    Click("拷贝");
    EXPECT_EQ(app.copyBuffer.CopyBufferFlag, -1);
    std::string block = TempBlockFilePath(app);
    SaveCopyBufferAsBlock(app, block);

    struct Case {
        std::int16_t flag;
        int pasted;
        std::uint8_t mode;
    };
    for (const Case c : {Case{-1, 1, ModeMoveSelection}, Case{0, 1, ModeMoveSelection}, Case{5, 0, ModeIdle}}) {
        app.tool.CommandMode = ModeIdle;
        app.copyBuffer.CopyBufferFlag = c.flag;
        const std::int32_t before = app.store.Count(2);
        Click("粘贴");
        EXPECT_EQ(app.store.Count(2), before + c.pasted) << c.flag;
        EXPECT_EQ(app.tool.CommandMode, c.mode) << c.flag;
    }
}

TEST_F(ToolbarEditing, PasteInPlaceTurnsEveryLayerOnAndKeepsTheLayers) {
    SelectLine(2);
    Click("拷贝");
    app.store.LayerOnFlag[2] = 0;
    app.store.LayerLockFlag[2] = -1;
    app.tool.CommandMode = ModeLine;
    Choose("粘贴", "原位粘贴");
    EXPECT_EQ(app.store.LayerOnFlag[2], -1);
    EXPECT_EQ(app.store.LayerLockFlag[2], 0);
    EXPECT_EQ(app.store.Count(2), 2);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);

    Choose("粘贴", "至当前层");
    EXPECT_EQ(app.store.Count(1), 1);
    EXPECT_EQ(app.tool.CommandMode, ModeMoveSelection);
}

TEST_F(ToolbarEditing, CuttingLocksAndHidesEveryLayerButTheCurrentOne) {
    app.store.CurrentLayer = 2;
    Choose("注记", "裁剪");
    for (int layer : {1, 3, 4}) {
        EXPECT_EQ(app.store.LayerLockFlag[layer], -1) << layer;
        EXPECT_EQ(app.store.LayerOnFlag[layer], 0) << layer;
    }
    EXPECT_EQ(app.store.LayerLockFlag[2], 0);
    EXPECT_EQ(app.store.LayerOnFlag[2], -1);
    EXPECT_EQ(app.tool.CommandMode, ModeCutLinesAndAreas);
    EXPECT_EQ(t.form1.Text2.Text(), "割去(其余层锁定)");
}

TEST_F(ToolbarEditing, ViewCommandsRememberTheStationPickWhereTheyShould) {
    app.view.ProjectParams[0] = 500;
    app.tool.CommandMode = ModePickStation;
    app.tool.PreviousMode = 0;
    Choose("注记", "移立面");
    EXPECT_EQ(app.view.TiltAngle, 10);
    EXPECT_EQ(app.view.TiltSin, 0.7);
    EXPECT_EQ(app.tool.PreviousMode, ModePickStation);
    EXPECT_EQ(app.tool.CommandMode, ModeTiltView);
    EXPECT_EQ(t.form1.Text2.Text(), "！！须大于本比例尺500");

    struct Case {
        bool viewBar;
        const char* key;
        std::uint8_t armedBefore;
        std::int16_t previous;
        std::uint8_t mode;
    };
    const Case cases[] = {
        {false, "缩放", ModePickStation, 0, ModeZoomDrag},
        {true, "缩放2", ModePickStation, ModePickStation, ModeZoomDrag},
        {true, "缩放2", ModeTiltView, 0, ModeZoomDrag},
        {true, "放大2", ModeTiltView, ModeTiltView, ModeZoomIn},
        {true, "放大2", ModePickStation, ModePickStation, ModeZoomIn},
        {false, "放大", ModePickStation, 0, ModeZoomIn},
        {true, "移动2", ModePickStation, ModePickStation, ModePan},
    };
    for (const Case& c : cases) {
        app.tool.CommandMode = c.armedBefore;
        app.tool.PreviousMode = 0;
        if (c.viewBar)
            View(c.key);
        else
            Choose("注记", c.key);
        EXPECT_EQ(app.tool.PreviousMode, c.previous) << c.key;
        EXPECT_EQ(app.tool.CommandMode, c.mode) << c.key;
    }
    EXPECT_EQ(app.view.TiltSin, 1);  // 移动2 goes back to the plan view
}

TEST_F(ToolbarEditing, WhileASymbolIsDrawnTheViewCommandsDoNothing) {
    app.tool.SymbolMakingMode = -1;
    app.tool.CommandMode = ModeLine;
    app.selection.SelectionList = {{2, 0}, {1, 0}};
    for (const char* key : {"放大", "复原", "移立面"}) {
        Choose("注记", key);
        EXPECT_EQ(app.tool.CommandMode, ModeLine) << key;
        EXPECT_EQ(t.form1.Label6.BackColor(), Red) << key;  // returned at once
    }
    for (const char* key : {"放大2", "复原2", "移动2", "刷新2"}) View(key);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    EXPECT_EQ(app.selection.SelectionList.size(), 2u);
    EXPECT_EQ(app.selection.SelectionList[1].Layer, 1);
    EXPECT_TRUE(t.platform.silentSound.beeps.empty());
}

TEST_F(ToolbarEditing, EveryViewBarButtonEndsTheSelectionAndBeeps) {
    t.form1.Toolbar2.AddButton("未知2", "");
    for (const char* key : {"刷新2", "未知2", "复原2"}) {
        app.selection.SelectionList = {{2, 0}, {1, 0}};
        t.form1.Timer2.SetEnabled(true);
        t.platform.silentSound.beeps.clear();
        View(key);
        EXPECT_EQ(app.selection.SelectionList[0].Layer, 0) << key;
        EXPECT_EQ(app.selection.SelectionList[1].Layer, 0) << key;
        EXPECT_FALSE(t.form1.Timer2.Enabled()) << key;
        EXPECT_EQ(t.platform.silentSound.beeps.size(), 1u) << key;
    }
    EXPECT_EQ(app.tool.CommandMode, ModeRestored);
    app.display.Redraw.SuppressTerrainPoints = -1;
    View("刷新2");
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, 0);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(t.form1.Label6.BackColor(), Red);  // until the next command paints it

    for (std::int16_t follow : {-1, 0}) {
        app.settings.FollowPan = follow;
        View("移动2");
        EXPECT_EQ(t.form1.Text2.Text(), follow == -1 ? "右键暂停伴游,取消伴游在设置窗。" : "可用键盘箭头→↑↓←移动图幅");
    }
    EXPECT_EQ(t.form1.Picture1.surface().DrawMode(), DrawModeXorPen);

    // Dragged over with the left button, the bar arms its own dragging; hovering does not.
    app.tool.CommandMode = ModeLine;
    t.form1.Toolbar2.MouseMove(0, 0, 10, 10);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    t.form1.Toolbar2.MouseMove(LeftButton, 0, 10, 10);
    EXPECT_EQ(app.tool.CommandMode, ModeDragMenu);
}

TEST_F(ToolbarEditing, TheImageButtonsRows) {
    // The colour dialog: a chosen colour becomes current, a cancelled one keeps it.
    app.current.CurrentColor = MakeRgb(1, 2, 3);
    t.platform.dialogScript.QueueColor(MakeRgb(0, 255, 0));
    Click("图像");
    EXPECT_EQ(app.current.CurrentColor, MakeRgb(0, 255, 0));
    t.platform.dialogScript.QueueColor(std::nullopt);
    Click("图像");
    EXPECT_EQ(app.current.CurrentColor, MakeRgb(0, 255, 0));

    Choose("图像", "图象操作问答");
    EXPECT_EQ(t.platform.promptScript.LastText(),
              "插入图像后跟随点击图象，否则作废!\r\n操作图像只是链接，不复制，不修改原图象文件，副本加“c”。\r\n"
              "wtw等主文件保存或复制时，也不复制或另存图像，仅共享图像有限链接，\r\n你应自行组织复制这些图象文件。\r\n"
              "链接功能是强大的，不用担心无法恢复!");

    for (auto [key, mode] : {std::pair{"移动图像", ModeMoveImage}, {"伸缩图像", ModeStretchImage}}) {
        app.tool.ClickCount = 2;
        Choose("图像", key);
        EXPECT_EQ(app.tool.CommandMode, mode);
        EXPECT_EQ(app.tool.ClickCount, 0);
    }
    Choose("图像", "图像纠正");
    ASSERT_NE(app.photoDialog, nullptr);
    EXPECT_TRUE(app.photoDialog->Loaded());
    app.photoDialog->Unload();

    Click("设置");
    EXPECT_TRUE(t.form1.SettingsWindow().Visible());
}

}  // namespace
}  // namespace movra
