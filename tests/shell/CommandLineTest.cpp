#include <gtest/gtest.h>

#include "basic/Text.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "support/TestApp.h"

namespace movra {
namespace {

constexpr Rgb Blue = MakeRgb(0, 0, 255);
constexpr Rgb Yellow = MakeRgb(255, 255, 0);

struct CommandLineFixture : ::testing::Test {
    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;
    ScriptedPrompt& prompt = t.platform.promptScript;

    void SetUp() override {
        FillColorAndFontTables(app);
        NewDocument(app);
        app.tool.CommandMode = ModeIdle;
    }

    // A standard with distinct names for every point symbol and line type.
    void LoadStandard() {
        SymbolStandard& standard = app.symbolStandard;
        standard.SymbolNames.Dimension(350);
        for (int i = 0; i <= 350; ++i) standard.SymbolNames.At(i) = "符号" + std::to_string(i);
        standard.LineTypeNames.Dimension(260);
        for (int i = 0; i <= 260; ++i) standard.LineTypeNames.At(i) = "线型" + std::to_string(i);
        standard.SymbolStandardLoaded = -1;
    }

    // Types the text into the box one character after the other, as a user does.
    void Type(TextBox& box, const std::string& text) {
        box.UserTyped("", 0);
        for (long n = 1; n <= Len(text); ++n) box.UserTyped(Left(text, n), static_cast<int>(n));
    }

    int Records() { return app.store.Count(app.store.CurrentLayer); }
};

TEST_F(CommandLineFixture, StarCodesArmTheirToolAtEveryKeystroke) {
    LoadStandard();
    std::vector<std::string> arguments;
    form.Text8.onChange = [&] {
        form.Text8_Change();
        arguments.push_back(app.tool.CommandArgument);
    };
    Type(form.Text8, "*228");
    EXPECT_EQ(arguments, (std::vector<std::string>{"0", "2", "22", "228"}));
    EXPECT_EQ(app.tool.CommandMode, ModeMapSymbol);
    EXPECT_EQ(form.Text2.Text(), "符号228");
    EXPECT_EQ(form.Label6.BackColor(), Yellow);
    EXPECT_EQ(form.Picture1.MousePointer(), 2);

    struct Case {
        const char* text;
        std::uint8_t mode;
        const char* name;
    };
    for (const Case& c : {Case{"*550", ModeFill, "线型201"}, Case{"*351", ModeLine, "线型2"},
                          Case{"*600", ModeLine, "线型251"}, Case{"*597", ModeFill, "线型248"}}) {
        app.tool.CommandMode = ModeIdle;
        form.Text8.SetText(c.text);
        EXPECT_EQ(app.tool.CommandMode, c.mode) << c.text;
        EXPECT_EQ(app.tool.CommandArgument, std::string(c.text).substr(1)) << c.text;
        EXPECT_EQ(form.Text2.Text(), c.name) << c.text;
    }
    // A code outside every range arms nothing; a negative one arms but names nothing.
    app.tool.CommandMode = ModeIdle;
    form.Text8.SetText("*700");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    form.Text8.SetText("*-5");
    EXPECT_EQ(app.tool.CommandMode, ModeMapSymbol);
    EXPECT_EQ(app.tool.CommandArgument, "-5");
    EXPECT_EQ(form.Text2.Text(), "图式符号形插入，按下_移");
}

TEST_F(CommandLineFixture, StarCodeWithoutAStandardAsksFirst) {
    prompt.QueueAnswer(AnswerNo);
    prompt.QueueAnswer(AnswerNo);
    Type(form.Text8, "*2");
    ASSERT_FALSE(prompt.questions.empty());
    EXPECT_EQ(prompt.questions[0].text, "要加载图式吗？");
    EXPECT_EQ(prompt.questions[0].title, "加载图式");
    EXPECT_EQ(prompt.questions[0].style, MsgYesNo);
    // Asked at the first keystroke, and again at the next while it is still missing.
    EXPECT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form.Label6.BackColor(), Blue);
}

TEST_F(CommandLineFixture, SelfMadeSymbolQuestionAndNoStopsBeforeTheLamp) {
    prompt.QueueAnswer(AnswerNo);
    form.Text8.SetText("#门");
    EXPECT_EQ(prompt.LastText(), "自制符号未加载，要加载吗？");
    EXPECT_EQ(prompt.questions.back().title, "加载自制符号");
    EXPECT_EQ(app.tool.CommandMode, ModeSelfMadeSymbol);
    EXPECT_EQ(form.Text2.Text(), "自制符号插入，按下_移");
    EXPECT_EQ(form.Label6.BackColor(), Blue);
}

TEST_F(CommandLineFixture, MaterialTextAndItsShortcutLetters) {
    form.Text8.SetText("ZJ:");
    EXPECT_EQ(app.tool.CommandMode, ModeMaterialText);
    EXPECT_EQ(app.current.PendingText, "砖");

    struct Case {
        const char* typed;
        const char* line;
    };
    for (const Case& c : {Case{"zj:z", "zj:砖"}, Case{"zj:m", "zj:木"}, Case{"zj:d", "zj:砼"},
                          Case{"zj:j", "zj:简"}, Case{"zj:c", "zj:厕"}, Case{"zj:t", "zj:土"}}) {
        form.Text8.SetText("");
        Type(form.Text8, c.typed);
        EXPECT_EQ(form.Text8.Text(), c.line);
        EXPECT_EQ(app.current.PendingText, std::string(c.line).substr(3));
        EXPECT_EQ(form.Text8.SelStart(), 4);
    }
    EXPECT_EQ(form.Text2.Text(), "注记：砼____d");
    // Any other letter is kept as typed.
    form.Text8.SetText("zj:楼 ");
    EXPECT_EQ(form.Text8.Text(), "zj:楼 ");
    EXPECT_EQ(app.current.PendingText, "楼");
}

TEST_F(CommandLineFixture, DashParametersAndInertLines) {
    form.Text8.SetText("xx:0.3,4,1");
    EXPECT_FLOAT_EQ(app.current.DashWidth, 0.3f);
    EXPECT_FLOAT_EQ(app.current.DashOn, 4);
    EXPECT_FLOAT_EQ(app.current.DashOff, 1);
    form.Text8.SetText("xx:0.5");
    EXPECT_FLOAT_EQ(app.current.DashWidth, 0.5f);
    EXPECT_FLOAT_EQ(app.current.DashOn, 4);
    EXPECT_FLOAT_EQ(app.current.DashOff, 1);

    app.tool.CommandMode = ModeLine;
    form.Label6.SetBackColor(MakeRgb(1, 2, 3));
    for (const char* inert : {"sx:0.15,", "'xx:0.1,1,0"}) {
        form.Text8.SetText(inert);
        form.Text8_Click();
        EXPECT_EQ(app.tool.CommandMode, ModeLine) << inert;
        EXPECT_EQ(form.Label6.BackColor(), Yellow) << inert;
    }
    EXPECT_FLOAT_EQ(app.current.DashWidth, 0.5f);
}

TEST_F(CommandLineFixture, ElevationEntryWaitsForTheClick) {
    Type(form.Text8, "ZXY:999");
    EXPECT_EQ(form.Text2.Text(), "单击确认高程或z,x,y");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    form.Text8_Click();
    EXPECT_EQ(app.tool.CommandMode, ModeElevationPoint);
    EXPECT_EQ(app.current.PendingText, "999");
    EXPECT_EQ(form.Text2.Text(), "999时可查询地物高程属性");

    form.Text8.SetText("ZXY:0");
    form.Text8_Click();
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form.Label6.BackColor(), Blue);
}

TEST_F(CommandLineFixture, ConfirmedCoordinatesPlaceOnePointAndMoveTheView) {
    app.tool.CommandMode = ModeLine;
    const int before = Records();
    Type(form.Text8, "ZXY:12.5,100,200");
    EXPECT_EQ(Records(), before);
    form.Text8_Click();
    ASSERT_EQ(Records(), before + 1);
    const MapRecord& r = app.store.Get(app.store.CurrentLayer, before);
    EXPECT_EQ(r.RecordType, 50);
    EXPECT_DOUBLE_EQ(r.RecordX1, 100);
    EXPECT_DOUBLE_EQ(r.RecordY1, 200);
    EXPECT_DOUBLE_EQ(r.RecordX2, 8);
    EXPECT_EQ(r.RecordText, "12.5");
    EXPECT_FLOAT_EQ(r.RecordZ1, 12.5f);
    EXPECT_FLOAT_EQ(r.RecordZ4, 14);
    EXPECT_EQ(r.RecordPen, 8);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleLeft(), 100 - 30 * app.view.ScaleFactor);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleTop(), 200 + 30 * app.view.ScaleFactor);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form.Label6.BackColor(), Blue);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    form.Text8_Click();
    EXPECT_EQ(Records(), before + 1);

    // Two parts, a part that is not a number, six parts: nothing, and the open slot stays clean.
    for (const char* bad : {"ZXY:12.5,100", "ZXY:12.5,1x0,200", "ZXY:1,2,3,4,5,6"}) {
        form.Text8.SetText(bad);
        form.Text8_Click();
        EXPECT_EQ(Records(), before + 1) << bad;
        EXPECT_EQ(app.store.Get(app.store.CurrentLayer, before + 1).RecordType, 0) << bad;
    }
}

// A coordinate the store and the view cannot hold (not finite, or beyond FarthestCoordinate) is
// refused as a part that is not a number is, and the message line says so; a typed distance
// likewise reads as none.
TEST_F(CommandLineFixture, CoordinatesBeyondTheStoreAreRefusedAndSaySo) {
    const int before = Records();
    const double left = form.Picture1.ScaleLeft();
    for (const char* far : {"ZXY:12,1e40,1e40", "ZXY:12,100,-2e9", "ZXY:1e39,100,200", "ZXY:12,1e308,1e308,P,8"}) {
        Type(form.Text8, far);
        form.Text8_Click();
        EXPECT_EQ(Records(), before) << far;
        EXPECT_EQ(app.store.Get(app.store.CurrentLayer, before).RecordType, 0) << far;
        EXPECT_EQ(form.Text2.Text(), "溢出6") << far;
        EXPECT_EQ(form.Picture1.ScaleLeft(), left) << far;
    }
    // At the bound itself a point is still stored.
    Type(form.Text8, "ZXY:12,1e9,-1e9");
    form.Text8_Click();
    EXPECT_EQ(Records(), before + 1);

    for (const char* far : {"1e40", "5,1e40,0", "inf"}) {
        form.Text5.SetText("7");
        form.Text5.SetText(far);
        EXPECT_EQ(app.current.TypedDistance, 0) << far;
        EXPECT_EQ(app.current.TypedZ1, 0) << far;
    }
}

TEST_F(CommandLineFixture, XyzPointsOnlyOnADoubleClick) {
    const int before = Records();
    form.Text8.SetText("xyz:12.5,100,200,P1,8");
    form.Text8_Click();
    EXPECT_EQ(Records(), before);
    form.Text8_DblClick();
    ASSERT_EQ(Records(), before + 1);
    const MapRecord& r = app.store.Get(app.store.CurrentLayer, before);
    EXPECT_EQ(r.RecordText, "P1");
    EXPECT_FLOAT_EQ(r.RecordZ1, 12.5f);
    EXPECT_FLOAT_EQ(r.RecordZ4, 8);

    form.Text8.SetText("xyz:3,10,20,P2");
    form.Text8_DblClick();
    ASSERT_EQ(Records(), before + 2);
    EXPECT_EQ(app.store.Get(app.store.CurrentLayer, before + 1).RecordText, "P2");
    EXPECT_FLOAT_EQ(app.store.Get(app.store.CurrentLayer, before + 1).RecordZ4, 8);
}

TEST_F(CommandLineFixture, PointAtAFullLayerGrowsTheLayerInsteadOfBeingLost) {
    RecordStore& store = app.store;
    store.Count(store.CurrentLayer) = store.LayerCapacity - 1;
    const int before = Records();
    const int capacity = store.LayerCapacity;
    form.Text8.SetText("xyz:1,2,3");
    form.Text8_DblClick();
    EXPECT_GT(store.LayerCapacity, capacity);
    EXPECT_EQ(Records(), before + 1);
}

TEST_F(CommandLineFixture, RenameLineEditsTheFirstSelectedRecord) {
    RecordStore& store = app.store;
    MapRecord& r = store.At(1, 0);
    r.RecordType = 10;
    r.RecordText = "旧";
    store.Count(1) = 1;
    // Nothing selected: nothing renamed.
    form.Text8.SetText("xg:新");
    EXPECT_EQ(r.RecordText, "旧");
    app.selection.SelectionList = {SelectedRecord{2, 0}, SelectedRecord{1, 0}};
    for (const char* line : {"xg:新名", "xg：新名字"}) {
        form.Text8.SetText(line);
        EXPECT_EQ(store.Get(1, 0).RecordText, Mid(line, 4)) << line;
    }
}

TEST_F(CommandLineFixture, ErrorInTheParserIdlesAndSays) {
    app.tool.CommandMode = ModeLine;
    app.selection.SelectionList = {SelectedRecord{2, 0}, SelectedRecord{300, 0}};
    form.Text8.SetText("xg:x");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(form.Text2.Text(), "有错！");
    form.Text2_DblClick();
    EXPECT_EQ(form.Text2.Text(), "停止进程");
}

TEST_F(CommandLineFixture, EntryBoxes) {
    struct Case {
        const char* text;
        double distance, z1, z2;
    };
    for (const Case& c : {Case{"5,1.2,0.8", 5, 1.2, 0.8}, Case{"5,1.2", 0, 0, 0}, Case{"7", 7, 0, 0},
                          Case{"5，1，2", 5, 1, 2}, Case{"宽，顶高，底高", 0, 0, 0}, Case{"5,a,2", 0, 0, 0}}) {
        app.current.TypedDistance = app.current.TypedZ1 = app.current.TypedZ2 = 99;
        form.Text5.SetText(c.text);
        EXPECT_DOUBLE_EQ(app.current.TypedDistance, c.distance) << c.text;
        EXPECT_DOUBLE_EQ(app.current.TypedZ1, c.z1) << c.text;
        EXPECT_DOUBLE_EQ(app.current.TypedZ2, c.z2) << c.text;
    }

    EXPECT_EQ(form.Text6.Text(), "竖负");
    EXPECT_EQ(form.Text7.Text(), "1");
    struct AngleCase {
        const char* typed;
        double angle;
        const char* shown;
    };
    for (const AngleCase& c : {AngleCase{"400", 40, "40"}, AngleCase{"-400", -1, "-1"}, AngleCase{"12.7", 12, "12.7"},
                               AngleCase{"725", 5, "5"}, AngleCase{"720", 0, "0"}, AngleCase{"-0.5", -1, "-0.5"}}) {
        form.Text6.UserTyped(c.typed, 0);
        EXPECT_DOUBLE_EQ(app.settings.TextAngle, c.angle) << c.typed;
        EXPECT_EQ(form.Text6.Text(), c.shown) << c.typed;
    }
    app.settings.TextAngle = 7;
    form.Text6.UserTyped("-", 0);
    EXPECT_DOUBLE_EQ(app.settings.TextAngle, 7);
    form.Text6.SetText("竖负");
    form.Text6_Click();
    EXPECT_EQ(form.Text6.Text(), "0");
    EXPECT_DOUBLE_EQ(app.settings.TextAngle, 0);

    struct FactorCase {
        const char* typed;
        double factor;
        const char* shown;
    };
    for (const FactorCase& c : {FactorCase{"0.05", 1, "1"}, FactorCase{"2.50", 2.5, "2.5"}, FactorCase{"11", 1, "1"},
                                FactorCase{"左斜", 0.68, "左斜"}, FactorCase{"右斜", 0.68, "右斜"}}) {
        form.Text7.UserTyped(c.typed, 0);
        EXPECT_DOUBLE_EQ(app.settings.TextWidthFactor, c.factor) << c.typed;
        EXPECT_EQ(form.Text7.Text(), c.shown) << c.typed;
    }
}

TEST_F(CommandLineFixture, ScaleBoxDoubleClickCyclesTheCanvasColour) {
    const Rgb custom = MakeRgb(10, 40, 90);
    form.Picture1.SetBackColor(custom);
    app.view.BackgroundColor = custom;
    std::vector<Rgb> seen;
    for (int i = 0; i < 4; ++i) {
        form.Text4_DblClick();
        seen.push_back(form.Picture1.BackColor());
        EXPECT_EQ(app.view.BackgroundColor, seen.back());
        EXPECT_EQ(form.Text4.BackColor(), seen.back());
    }
    EXPECT_EQ(seen, (std::vector<Rgb>{MakeRgb(0, 0, 0), MakeRgb(255, 255, 255), custom, MakeRgb(0, 0, 0)}));
}

}  // namespace
}  // namespace movra
