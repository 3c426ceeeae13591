#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

#include "App.h"
#include "basic/Paths.h"
#include "document/BlockFile.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "document/csForm2.h"
#include "platform/fake/RecordingSurface.h"
#include "shell/MethodPanel.h"
#include "support/TestApp.h"
#include "survey/GPSdaohang.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

constexpr Rgb Yellow = MakeRgb(255, 255, 0);
constexpr Rgb Blue = MakeRgb(0, 0, 255);

struct MethodPanelTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;
    ScriptedPrompt& prompt = t.platform.promptScript;
    std::vector<std::string> attributeDialogClasses;
    int symbolMakingToggles = 0;

    void SetUp() override {
        form.Load();
        t.platform.silentSound.beeps.clear();  // the start-up chime
        prompt.defaultAnswer = AnswerNo;
        form.otherParts.ShowAttributeDialog = [this] { attributeDialogClasses.push_back(form.Text8.Text()); };
        form.otherParts.ToggleSymbolMakingMode = [this] { ++symbolMakingToggles; };
        // The demonstration pictures, as the program folder holds them.
        for (const char* name : {DemoPictureFirst, DemoPictureSecond}) {
            Picture picture;
            picture.width = 4;
            picture.height = 3;
            picture.pixels.assign(12, name == DemoPictureFirst ? 0xFF102030u : 0xFF405060u);
            t.platform.pictures.files[DemoPath(name)] = picture;
        }
    }
    std::string DemoPath(const char* name) { return JoinPath(t.programFolder.Str(), name); }
    void LoadStandard() {
        fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", t.programFolder.Path() / "电子图式.tus");
        LoadSymbolStandard(app);
        ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, -1);
    }
    RecordingSurface& Canvas() { return dynamic_cast<RecordingSurface&>(form.Picture1.surface()); }
    bool Redrawn() {
        for (const auto& p : Canvas().primitives)
            if (p.kind == SurfacePrimitive::Kind::Clear) return true;
        return false;
    }
    // Adds a line record on the current layer and returns its slot.
    int AddLine(double x1, double y1, double x2, double y2) {
        StoreRecord(app, StoreFull, 2, x1, y1, x2, y2, 0, 0, 0, 0, "");
        return app.store.Count(app.store.CurrentLayer) - 1;
    }
};

// Every button from a neutral start (empty message line, command line and entry box): the tool it
// arms, what it writes, and that the map is marked modified.
TEST_F(MethodPanelTest, EveryButtonArmsItsToolAndWritesItsDefaults) {
    LoadStandard();
    struct Case {
        int index;
        int mode;
        std::string text2;
        std::string text8;
        std::string text5 = "";
        bool snaps = false;
    };
    const std::string symbolName = app.symbolStandard.SymbolNames.At(228);
    const std::vector<Case> cases = {
        {0, 100, "提高图解精度_和目标归位", ""},
        {1, 45, "移动已选目标", ""},
        {2, 46, "旋转已选目标", ""},
        {3, 103, "自制符号", ""},
        {4, 255, "未选出图元或图元2个以下", ""},
        {6, 106, "裁选目标保存(复照一块，不改原数据)", ""},
        {7, 255, "目标尚未选择", ""},
        {8, 255, "目标尚未选择", ""},
        {9, 109, "下一个，图式演示。", ""},
        {10, 255, "打开所有层", ""},
        {11, 255, "仅开当前一层,关闭其余层", ""},  // the mode of the press before stays
        {12, 112, "求两线交点", ""},
        {13, 113, "两点距离", "=距离"},
        {14, 114, "", ""},
        {15, 115, "线中加一点_折线(其余层锁定)", "", "", true},
        {16, 116, "求两线夹角°′″", "=α"},
        {17, 1, "", ""},
        {18, 118, "移动任意一点", "", "", true},
        {19, 119, "", "", "", true},
        {20, 120, "连续垂线", ""},
        {21, 210, "割去零头(对当前一层有效)", ""},
        {22, 122, "", ""},
        {23, 123, "", ""},
        {24, 124, "平行线，输入线间距", "0.5"},
        {25, 3, "矩形，输入1为方格纸", ""},
        {26, 126, "", ""},
        {27, 127, "闭合环平行缩放，输入缩放线间距", "0.5"},
        {28, 128, "", ""},
        {29, 129, "3点弧", "0"},
        {30, 130, "割线截留", "0"},
        {31, 131, "", ""},
        {32, 132, "", ""},
        {33, 133, "矩形填充.0规则其他管线", "0", "宽，顶高，底高"},
        {34, 4, "中心类圆", ""},
        {35, 2, "陡手铅笔(平滑)线", ""},
        {36, 136, "倒墨水", "7"},
        {37, 137, "加1.0mm圆", "1.0"},
        {38, 138, "加注水田符号", ""},
        {39, 139, "加1.6mm圆", "1.6"},
        {40, 140, "加0.5mm圆", "0.5"},
        {41, 141, "加注旱地符号", ""},
        {42, 31, symbolName, "*228"},
        {43, 49, "自制符号插入，按下_移", "#dou"},
        {44, 144, "单击确认高程或z,x,y", "ZXY:999"},
        {45, 145, "填充。0粗填，1右斜，2左斜，3交叉，4砂粒，5规则", "5"},
        {46, 146, "四点色块、四点台阶，四点长坡线，请输入间距", "1.5"},
        {47, 30, "加注记z_砖，m_木，t_土，d_砼，j_简，z=空格+z...", "zj:"},
        {48, 151, "加属性(10属性)", "1"},
        {49, 149, "加计算面积(04属性)", "0"},
        {50, 150, "绘界址点，先符号，后编号", "1"},
        {51, 151, "加属性(20属性)", "2"},
        {52, 152, "加物体高，如房高等(05属性)", "6.0"},
        {53, 153, "绘界址边，两个宗地号\r\n2争议界，3临时界", "1", "本宗地号,邻宗地号", true},
        {54, 154, "加属性(30属性)", "3"},
        {55, 155, "加姓名(00属性)", ""},
        {56, 156, "加注宗地号", ""},
        {57, 157, "加属性(40属性)", "4"},
        {58, 158, "加电话号码1(02属性)", ""},
        {59, 159, "查看属性表0，1，2，3，4", "0"},
    };
    ASSERT_EQ(cases.size(), 59u);  // button 5 asks for a block file: its own test
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        form.Text2.SetText("");
        form.Text8.SetText("");
        form.Text5.SetText("");
        app.tool.SnapOn = 0;
        app.current.ModifiedFlag = 0;
        prompt.questions.clear();
        t.platform.silentSound.beeps.clear();
        form.Command8_Click(c.index);
        EXPECT_EQ(app.tool.CommandMode, c.mode);
        EXPECT_EQ(form.Text2.Text(), c.text2);
        EXPECT_EQ(form.Text8.Text(), c.text8);
        EXPECT_EQ(form.Text5.Text(), c.text5);
        EXPECT_EQ(app.tool.SnapOn == -1, c.snaps);
        EXPECT_EQ(app.current.ModifiedFlag, -1);
        EXPECT_TRUE(t.platform.silentSound.beeps.empty());
        EXPECT_EQ(form.Label6.BackColor(), c.mode == 255 ? Blue : Yellow);
        EXPECT_FALSE(form.Timer2.Enabled() && form.Timer2.Running());
    }
    // What single rows leave besides.
    EXPECT_EQ(attributeDialogClasses, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(symbolMakingToggles, 1);
    EXPECT_EQ(app.tool.ClickCount, 1);  // button 59: the hover preview runs at once
    EXPECT_EQ(app.current.PendingText, "砖");  // button 47
    EXPECT_EQ(app.tool.CommandArgument, "228");  // button 42
    EXPECT_FLOAT_EQ(app.selection.SelectTolerance, static_cast<float>(app.view.GroundPerScreenMm));
}

// The command line keeps what the tool can use and replaces what it cannot.
TEST_F(MethodPanelTest, DefaultsReplaceOnlyValuesTheToolCannotUse) {
    struct Case {
        int index;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {24, "abc", "0.5"}, {24, "2", "2"},     {27, "12", "0.5"}, {27, "-11", "0.5"}, {27, "-3", "-3"},
        {45, "", "5"},      {45, "-1", "5"},    {45, "6", "5"},    {45, "3", "3"},     {46, "0", "1.5"},
        {46, "2", "2"},     {42, "*100", "*100"}, {42, "100", "*228"}, {43, "#hd", "#hd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + " " + c.before);
        form.Text8.SetText(c.before);
        form.Command8_Click(c.index);
        EXPECT_EQ(form.Text8.Text(), c.after);
    }
    // The elevation entry leaves the caret after "ZXY:9", the material entry at its end.
    form.Command8_Click(44);
    EXPECT_EQ(form.Text8.SelStart(), 5);
    form.Command8_Click(47);
    EXPECT_EQ(form.Text8.SelStart(), 3);
    // Button 43 also sets the text size back to 10.
    app.current.TextSize = 60;
    form.Combo2.SetText("60");
    form.Command8_Click(43);
    EXPECT_EQ(form.Combo2.Text(), "10");
    EXPECT_EQ(app.current.TextSize, 10);
}

TEST_F(MethodPanelTest, LayerZeroTakesOnlyTheButtonsThatNeedNoDrawingLayer) {
    app.store.CurrentLayer = 0;
    for (int i = 12; i < MethodPanelButtonCount; ++i) {
        SCOPED_TRACE(i);
        prompt.questions.clear();
        app.current.ModifiedFlag = 0;
        form.Command8_Click(i);
        ASSERT_EQ(prompt.questions.size(), 1u);
        EXPECT_EQ(prompt.LastText(), "层未选择");
        EXPECT_EQ(app.tool.CommandMode, ModeIdle);
        EXPECT_EQ(app.current.ModifiedFlag, 0);
    }
    for (int i : {0, 1, 2, 3, 6, 9, 10, 11}) {
        SCOPED_TRACE(i);
        prompt.questions.clear();
        app.current.ModifiedFlag = 0;
        form.Command8_Click(i);
        EXPECT_TRUE(prompt.questions.empty());
        EXPECT_EQ(app.current.ModifiedFlag, -1);
    }
    // While a self-made symbol is drawn on layer 0 the drawing tools work there.
    app.tool.SymbolMakingMode = -1;
    form.Command8_Click(17);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
}

TEST_F(MethodPanelTest, LayerButtonsHideShowLockedAndOpenEveryLayer) {
    RecordStore& store = app.store;
    store.LayerCount = 3;
    store.NextLayerIndex = 4;
    for (int k = 2; k <= 3; ++k) {
        store.LayerColorIndex[k] = static_cast<std::uint8_t>(k);
        store.LayerOnFlag[k] = -1;
    }
    store.CurrentLayer = 2;
    OpenLayerManager(app);
    ASSERT_TRUE(app.form2 && app.form2->Loaded());
    csForm2& layers = *app.form2;
    auto palette = [&](int k) { return app.tables.ColorPalette[store.LayerColorIndex[k]]; };

    app.tool.CommandMode = ModeLine;
    form.Command8_Click(11);  // others hidden
    EXPECT_EQ(form.Text2.Text(), "仅开当前一层,关闭其余层");
    EXPECT_EQ(app.tool.CommandMode, ModeLine);  // the tool stays armed
    for (int k : {1, 3}) {
        EXPECT_EQ(store.LayerOnFlag[k], 0);
        EXPECT_EQ(store.LayerLockFlag[k], 0);
        EXPECT_EQ(layers.Command3(k).BackColor(), LayerOffGrey);
    }
    EXPECT_EQ(store.LayerOnFlag[2], -1);
    EXPECT_EQ(layers.Command3(2).BackColor(), palette(2));

    form.Command8_Click(11);  // others shown, locked
    EXPECT_EQ(form.Text2.Text(), "锁定其余层");
    for (int k : {1, 3}) {
        EXPECT_EQ(store.LayerOnFlag[k], 0);
        EXPECT_EQ(store.LayerLockFlag[k], -1);
        EXPECT_EQ(layers.Command3(k).BackColor(), LayerOffGrey);
    }
    EXPECT_EQ(store.LayerOnFlag[2], -1);
    EXPECT_EQ(store.LayerLockFlag[2], 0);

    form.Command8_Click(11);  // hidden again
    EXPECT_EQ(form.Text2.Text(), "仅开当前一层,关闭其余层");
    EXPECT_EQ(store.LayerLockFlag[1], 0);
    EXPECT_EQ(store.LayerOnFlag[1], 0);

    app.display.Redraw.SuppressTerrainPoints = -1;
    form.Command8_Click(10);  // every layer on and unlocked
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, 0);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(store.LayerOnFlag[k], -1);
        EXPECT_EQ(store.LayerLockFlag[k], 0);
        EXPECT_EQ(layers.Command3(k).BackColor(), palette(k));
    }
}

TEST_F(MethodPanelTest, FlipsMirrorTheSelectionAndOneUndoTakesItBack) {
    // Nothing selected: said in the message line and by both journal calls.
    Canvas().primitives.clear();
    form.Command8_Click(7);
    EXPECT_EQ(form.Text2.Text(), "目标尚未选择");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_TRUE(Redrawn());
    ASSERT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.questions[0].text, "目标尚未选择");
    EXPECT_EQ(prompt.questions[1].text, "目标尚未选择");

    const int slot = AddLine(10, 20, 14, 26);
    // As after opening the map.
    ResetUndo(app);
    UndoCheckpoint(app, 0);
    app.selection.SelectionList = {{2, 0}, {app.store.CurrentLayer, slot}};
    for (int button : {7, 8}) {
        SCOPED_TRACE(button);
        const MapRecord before = app.store.Get(app.store.CurrentLayer, slot);
        form.Command8_Click(button);
        const MapRecord& after = app.store.Get(app.store.CurrentLayer, slot);
        // Mirrored about its own P1.
        EXPECT_DOUBLE_EQ(after.RecordX1, 10);
        EXPECT_DOUBLE_EQ(after.RecordY1, 20);
        EXPECT_DOUBLE_EQ(after.RecordX2, button == 7 ? 14 : 6);
        EXPECT_DOUBLE_EQ(after.RecordY2, button == 7 ? 14 : 26);
        Undo(app);
        const MapRecord& undone = app.store.Get(app.store.CurrentLayer, slot);
        EXPECT_DOUBLE_EQ(undone.RecordX2, before.RecordX2);
        EXPECT_DOUBLE_EQ(undone.RecordY2, before.RecordY2);
    }
}

TEST_F(MethodPanelTest, DemonstrationCyclesThroughTwoPicturesAndNone) {
    form.Command8_Click(9);
    EXPECT_EQ(app.current.LastPicturePath, DemoPath(DemoPictureFirst));
    EXPECT_EQ(form.Picture1.CanvasPicture().pixels.front(), 0xFF102030u);
    EXPECT_FALSE(form.Timer3.Enabled());
    EXPECT_EQ(form.Text2.Text(), "下一个，图式演示。");

    form.Command8_Click(9);
    EXPECT_EQ(app.current.LastPicturePath, DemoPath(DemoPictureSecond));
    EXPECT_EQ(form.Picture1.CanvasPicture().pixels.front(), 0xFF405060u);
    EXPECT_TRUE(form.Timer3.Enabled());
    EXPECT_EQ(form.Timer3.Interval(), 30);
    EXPECT_EQ(form.Text2.Text(), "图式加载了吗？");
    const DemoMarkerState& m = app.tool.DemoMarker;
    EXPECT_EQ(m.SpeedX1, 1.0f);
    EXPECT_EQ(m.SpeedX2, 1.5f);
    EXPECT_EQ(m.SpeedY1, -1.0f);
    EXPECT_EQ(m.SpeedY2, -1.5f);
    EXPECT_FLOAT_EQ(m.OuterRadius, static_cast<float>(0.5 * app.view.GroundPerScreenMm));
    EXPECT_FLOAT_EQ(m.InnerRadius, 0.75f * m.OuterRadius);
    EXPECT_EQ(m.Colour, app.tables.ColorPalette[151]);
    const PictureBox& canvas = form.Picture1;
    EXPECT_FLOAT_EQ(app.display.MarkerX, static_cast<float>(canvas.ScaleLeft() + 0.45 * canvas.ScaleWidth()));
    EXPECT_FLOAT_EQ(app.display.MarkerY, static_cast<float>(canvas.ScaleTop() + 0.07 * canvas.ScaleHeight()));

    form.Command8_Click(9);
    EXPECT_EQ(app.current.LastPicturePath, "");
    EXPECT_TRUE(form.Picture1.CanvasPicture().Empty());
    EXPECT_FALSE(form.Timer3.Enabled());
    EXPECT_TRUE(t.platform.silentSound.beeps.empty());

    // A picture missing from the program folder fails the press: a short beep and nothing more.
    t.platform.pictures.files.clear();
    app.current.ModifiedFlag = 0;
    form.Command8_Click(9);
    ASSERT_EQ(t.platform.silentSound.beeps.size(), 1u);
    EXPECT_EQ(t.platform.silentSound.beeps[0].frequencyHz, 11);
    EXPECT_EQ(t.platform.silentSound.beeps[0].durationMs, 11);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
}

TEST_F(MethodPanelTest, InsertingABlockPastesItAndArmsTheMove) {
    // Cancelling the file choice keeps the copy buffer: nothing pasted, no move armed, and the
    // message line says why.
    const int before = app.store.Count(app.store.CurrentLayer);
    form.Command8_Click(5);
    EXPECT_NE(app.tool.CommandMode, ModeMoveSelection);
    EXPECT_EQ(form.Text2.Text(), BlockNotChosenMessage);
    EXPECT_EQ(app.store.Count(app.store.CurrentLayer), before);
}

TEST_F(MethodPanelTest, SymbolButtonsArmTheToolsOfTheirCodes) {
    // No standard: the tool falls back to idle, the drawing is still marked modified.
    app.tool.CommandMode = ModeLine;
    form.Command5_Click(228);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form.Picture1.MousePointer(), PointerCross);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    LoadStandard();
    const SymbolStandard& st = app.symbolStandard;
    app.tool.ClickCount = 1;
    form.Command5_Click(228);
    EXPECT_EQ(app.tool.CommandMode, ModeMapSymbol);
    EXPECT_EQ(app.tool.CommandArgument, "228");
    EXPECT_EQ(form.Text2.Text(), st.SymbolNames.At(228));
    EXPECT_EQ(form.Text8.Text(), "*228");
    EXPECT_EQ(app.tool.ClickCount, 1);

    form.Command5_Click(351);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    EXPECT_EQ(app.tool.CommandArgument, "351");
    EXPECT_EQ(form.Text2.Text(), st.LineTypeNames.At(2));
    EXPECT_EQ(form.Text8.Text(), "*351");
    EXPECT_EQ(app.tool.ClickCount, 0);

    form.Command5_Click(552);
    EXPECT_EQ(app.tool.CommandMode, ModeFill);
    EXPECT_EQ(app.tool.CommandArgument, "351");
    EXPECT_EQ(form.Text2.Text(), st.LineTypeNames.At(2));
    EXPECT_EQ(form.Text8.Text(), "3");

    form.Command5_Click(560);
    EXPECT_EQ(app.tool.CommandMode, ModeFill);
    EXPECT_EQ(app.tool.CommandArgument, "560");
    EXPECT_EQ(form.Text8.Text(), "*560");
    EXPECT_EQ(form.Text2.Text(), st.LineTypeNames.At(211));

    app.tool.RubberShown = -1;
    app.current.ModifiedFlag = 0;
    form.Command5_Click(609);
    EXPECT_EQ(app.tool.CommandMode, ModeFill);
    EXPECT_EQ(app.tool.CommandArgument, "560");
    EXPECT_EQ(form.Text8.Text(), "*560");
    EXPECT_EQ(app.tool.RubberShown, 0);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST_F(MethodPanelTest, SymbolPicturesFollowTheLoadedStandard) {
    EXPECT_TRUE(form.Command5(228).ButtonPicture().Empty());
    LoadStandard();
    int drawn = 0;
    for (int i = 0; i < 350; ++i)
        if (!form.Command5(i).ButtonPicture().Empty()) ++drawn;
    EXPECT_GT(drawn, 100);
    EXPECT_TRUE(form.Command5(400).ButtonPicture().Empty());
    prompt.QueueAnswer(AnswerYes);
    SymbolStandardSwitch(app);  // unloads
    for (int i = 0; i < 350; ++i) ASSERT_TRUE(form.Command5(i).ButtonPicture().Empty()) << i;
}

TEST_F(MethodPanelTest, IconsTellTheButtonsApart) {
    std::set<std::vector<std::uint32_t>> seen;
    for (int i = 0; i < MethodPanelButtonCount; ++i) {
        const Picture icon = form.Command8(i).ButtonPicture();
        ASSERT_EQ(icon.width, 24);
        ASSERT_EQ(icon.height, 24);
        EXPECT_TRUE(seen.insert(icon.pixels).second) << "button " << i << " looks like another";
    }
}

TEST_F(MethodPanelTest, PenChoicesSetThePenAndTheSpecialLines) {
    app.tool.CommandMode = ModeFill;
    app.tool.CommandArgument = "560";
    form.Combo1.SetListIndex(13);
    EXPECT_EQ(app.tool.CommandArgument, "560");
    EXPECT_EQ(app.current.CurrentPen, 0);

    form.Combo1.SetListIndex(3);
    EXPECT_EQ(app.current.CurrentPen, 3);
    EXPECT_EQ(app.tool.CommandArgument, "0");

    app.tool.CommandMode = ModeLine;
    form.Combo1.SetListIndex(12);
    EXPECT_EQ(app.current.CurrentPen, 2);
    EXPECT_EQ(form.Text8.Text(), "xx:0.3,4,1");
    // The width drawn is the one the command line shows.
    EXPECT_FLOAT_EQ(app.current.DashWidth, 0.3f);
    EXPECT_FLOAT_EQ(app.current.DashOn, 4);
    EXPECT_FLOAT_EQ(app.current.DashOff, 1);
    EXPECT_EQ(app.tool.CommandArgument, "1092");
    EXPECT_EQ(app.tool.CommandMode, ModeLine);

    const struct {
        int item;
        const char* text2;
        const char* text8;
        const char* argument;
    } special[] = {
        {11, "实线，单位（毫米）。请输入‘线粗’", "sx:0.15,", "0.15"},
        {13, "坎", "'xx:0.1,1,0", "1091"},
        {14, "固坎", "'xx:", "1090"},
        {15, "墙，", "'xx:", "1093"},
    };
    for (const auto& s : special) {
        SCOPED_TRACE(s.item);
        form.Combo1.SetListIndex(s.item);
        EXPECT_EQ(form.Text2.Text(), s.text2);
        EXPECT_EQ(form.Text8.Text(), s.text8);
        EXPECT_EQ(app.current.CurrentPen, 7);
        EXPECT_EQ(app.tool.CommandArgument, s.argument);
    }
}

TEST_F(MethodPanelTest, SizeAndFontChoicesRestyleTheSelectedTexts) {
    std::vector<std::pair<std::string, int>> restyled;
    form.otherParts.ApplyTextStyle = [&](const std::string& font, int code) { restyled.push_back({font, code}); };
    ASSERT_EQ(form.Combo2.ListCount(), 58);
    EXPECT_EQ(form.Combo2.List(16), "18");
    EXPECT_EQ(form.Combo2.List(57), "2000");

    form.Combo2.SetListIndex(30);  // "60", nothing selected to restyle
    EXPECT_EQ(app.current.TextSize, 60);
    EXPECT_TRUE(restyled.empty());
    app.tool.CommandMode = ModeSelect;
    form.Combo2.SetListIndex(31);  // "68"
    form.Combo2.SetListIndex(30);  // "60"
    EXPECT_EQ(restyled.back(), (std::pair<std::string, int>{"", 60}));

    ASSERT_EQ(form.Combo3.List(5), "右斜宋");
    form.Combo3.SetListIndex(5);
    EXPECT_EQ(app.current.CurrentFont, "宋体");
    EXPECT_EQ(form.Text7.Text(), "右斜");
    EXPECT_TRUE(form.Picture1.FontItalic());
    EXPECT_EQ(restyled.back(), (std::pair<std::string, int>{"宋体", 64}));

    form.Combo3.SetListIndex(4);
    EXPECT_EQ(form.Text7.Text(), "左斜");
    EXPECT_FALSE(form.Picture1.FontItalic());
    EXPECT_EQ(restyled.back(), (std::pair<std::string, int>{"宋体", 63}));

    form.Combo3.SetListIndex(1);
    EXPECT_EQ(app.current.CurrentFont, form.Combo3.List(1));
    EXPECT_EQ(restyled.back(), (std::pair<std::string, int>{form.Combo3.List(1), 0}));

    // Until the restyling is there, the message line says so.
    form.otherParts.ApplyTextStyle = nullptr;
    form.Combo2.SetListIndex(9);
    EXPECT_EQ(form.Text2.Text(), "注记改样式尚未提供，本命令未执行");
}

TEST_F(MethodPanelTest, PanelButtonsPageThroughTheSymbolPages) {
    EXPECT_EQ(&form.FrontPanel(), &form.Frame2);
    for (int expected : {1, 2, 3, 4, 5, 6, 0}) {
        form.Command7.MouseDown(LeftButton, 0, 0, 0);
        EXPECT_EQ(&form.FrontPanel(), &form.Frame1(expected));
        EXPECT_EQ(form.SymbolPageIndex, expected);
    }
    EXPECT_FALSE(form.Frame2.Enabled());
    form.Command7.MouseDown(RightButton, 0, 0, 0);
    EXPECT_EQ(&form.FrontPanel(), &form.Frame1(6));

    // "常用" shows page 2 without moving the page "图式" pages from.
    form.Command1_Click();
    EXPECT_EQ(&form.FrontPanel(), &form.Frame1(2));
    form.Command7.MouseDown(LeftButton, 0, 0, 0);
    EXPECT_EQ(&form.FrontPanel(), &form.Frame1(0));

    // "主菜单": the right button puts page 0 in front, the left one the method panel, enabled.
    form.Command6.MouseDown(RightButton, 0, 0, 0);
    EXPECT_EQ(&form.FrontPanel(), &form.Frame1(0));
    EXPECT_FALSE(form.Frame2.Enabled());
    form.Command6.MouseDown(LeftButton, 0, 0, 0);
    EXPECT_EQ(&form.FrontPanel(), &form.Frame2);
    EXPECT_TRUE(form.Frame2.Enabled());

    EXPECT_EQ(form.Frame1(5).Caption(), "多边形填充");
    EXPECT_EQ(form.Command5(560).Container(), &form.Frame1(5));
    EXPECT_EQ(form.Command2.ToolTipText(), "卫星导航");
    form.Command2.Click();
    ASSERT_TRUE(t.app.gpsWindow);
    EXPECT_TRUE(t.app.gpsWindow->Visible());
    EXPECT_FALSE(t.app.gpsWindow->Modal());
}

}  // namespace
}  // namespace movra
