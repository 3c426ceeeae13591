#include <gtest/gtest.h>

#include "basic/Numbers.h"
#include "sheets/gzfenfufrm.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct SettingsTest : ::testing::Test {
    TestApp t;
    szForm3& Window() { return t.form1.SettingsWindow(); }
    void SetUp() override { t.form1.Load(); }
};

TEST_F(SettingsTest, CloseRuleDerivesTheSizesFromTheScale) {
    struct Case {
        double denominator;
        std::int32_t unit;
        double scaleFactor;
    };
    for (const Case& c : {Case{2000, 100000, 2}, Case{2500, 1000000, 2.5}, Case{10000, 100000000, 10}}) {
        Window().Load();
        Window().Text7.SetText(PlainNumberText(c.denominator));
        Window().Command1.Click();  // OK
        EXPECT_FALSE(Window().Loaded());
        EXPECT_EQ(t.app.reduction.ReductionUnit, c.unit) << c.denominator;
        EXPECT_DOUBLE_EQ(t.app.view.ScaleFactor, c.scaleFactor);
        EXPECT_FLOAT_EQ(static_cast<float>(t.app.view.PointMarkRadius), static_cast<float>(c.scaleFactor * 0.4));
    }
    // The window's close box applies the same rule.
    Window().Load();
    Window().Option9.Click();
    EXPECT_TRUE(Window().Unload(UnloadFromControlMenu));
    EXPECT_DOUBLE_EQ(t.app.view.ScaleFactor, 1);
}

TEST_F(SettingsTest, LoadRuleMarksTheScaleOptionAndResetsTheDatum) {
    struct Case {
        double denominator;
        OptionButton szForm3::*option;
        double after;
    };
    const Case cases[] = {{100000, &szForm3::Option13, 100000}, {500000, &szForm3::Option14, 500000},
                          {5000, &szForm3::Option18, 5000},     {250000, &szForm3::Option17, 250000},
                          {100, &szForm3::Option6, 100},
                          // 99 and less is no scale of a map: the load makes it 1:500, marking nothing.
                          {1, nullptr, 500},                    {99, nullptr, 500},
                          {0, nullptr, 500}};
    for (const Case& c : cases) {
        t.app.view.ProjectParams[0] = c.denominator;
        Window().Load();
        if (c.option)
            EXPECT_TRUE((Window().*c.option).Value()) << c.denominator;
        else
            EXPECT_FALSE(Window().Option16.Value()) << c.denominator;
        EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], c.after) << c.denominator;
        Window().Unload();
    }
    // A project set to 1:1 in the window does not keep it past the next loading.
    Window().Load();
    Window().Option16.Click();
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], 1);
    Window().Unload();
    Window().Load();
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], 500);
    Window().Unload();
    t.app.view.ProjectParams[0] = 300;
    Window().Load();
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], 300);
    EXPECT_EQ(Window().Text7.Text(), "300");
    Window().Text7.SetText("abc");
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[0], 300);

    Window().Option22.Click();
    EXPECT_DOUBLE_EQ(t.app.settings.EllipsoidA, 6378245);
    EXPECT_DOUBLE_EQ(t.app.settings.EllipsoidFlattening, 1 / 298.3);
    Window().Text8.SetText("");
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[5], 0);
    Window().Unload();
    Window().Load();
    EXPECT_DOUBLE_EQ(t.app.settings.EllipsoidA, 6378140);
    EXPECT_EQ(Window().Text8.Text(), "120.000");
    EXPECT_DOUBLE_EQ(t.app.view.ProjectParams[5], 120);
}

// The extents are shown, not read back: to the millimetre, without the noise of the arithmetic
// that moved a vertex, and with every centimetre of a survey coordinate.
TEST_F(SettingsTest, TheExtentsShowToTheMillimetre) {
    struct Case {
        double maxY, maxX;
        const char *shownY, *shownX;
    };
    const Case cases[] = {{430.000000193, 1234.56789, "430", "1234.568"},
                          {3456789.57, 523456.789, "3456789.57", "523456.789"},
                          {3000000.0000004, -512345.6781, "3000000", "-512345.678"}};
    for (const Case& c : cases) {
        t.app.extents.ExtentMaxY = c.maxY;
        t.app.extents.ExtentMaxX = c.maxX;
        t.app.reduction.ReductionOffsetX = 3456789.125;  // read back: every digit kept
        Window().Load();
        EXPECT_EQ(Window().Text5.Text(), c.shownY) << c.maxY;
        EXPECT_EQ(Window().Text6.Text(), c.shownX) << c.maxX;
        EXPECT_EQ(Window().Text1.Text(), "3456789.125");
        Window().Unload();
    }
}

TEST_F(SettingsTest, MonitorChoice) {
    t.app.work.ScreenTwipsPerMetre = 55000;
    Window().Load();
    EXPECT_TRUE(Window().Option20(0).Value());
    EXPECT_EQ(t.app.work.ScreenTwipsPerMetre, 60714);
    EXPECT_FALSE(Window().Text9.Enabled());
    Window().Unload();

    t.app.work.ScreenTwipsPerMetre = 42070;
    t.app.work.ScreenWidthMm = 381;
    Window().Load();
    EXPECT_TRUE(Window().Option20(4).Value());
    EXPECT_EQ(t.app.work.ScreenTwipsPerMetre, 42070);
    EXPECT_EQ(Window().Text9.Text(), "381");
    Window().Text9.SetText("99");
    EXPECT_EQ(t.app.work.ScreenWidthMm, 381);
    Window().Text9.SetText("400");
    EXPECT_EQ(t.app.work.ScreenWidthMm, 400);
    EXPECT_EQ(t.app.work.ScreenTwipsPerMetre, static_cast<int>(t.platform.fakeScreen.WidthTwips() * 1000.0 / 400));

    // 4:3 presets show their widths.
    t.app.view.ScreenAspect = 0.75;
    Window().Option20(2).Click();
    EXPECT_EQ(t.app.work.ScreenTwipsPerMetre, 44736);
    EXPECT_EQ(Window().Text9.Text(), "386.3333");
}

TEST_F(SettingsTest, SwitchesListsAndBackground) {
    Window().Load();
    Window().Check1.SetValue(Checked);
    EXPECT_EQ(t.app.settings.ShowGrid, 1);
    Window().Check2.SetValue(Checked);
    EXPECT_EQ(t.app.settings.FollowPan, -1);
    Window().Option4.Click();
    EXPECT_EQ(t.app.settings.ForceScaleFlag, -1);
    Window().List1.SetListIndex(6);
    EXPECT_FLOAT_EQ(t.app.settings.ContourInterval, 0.5f);
    Window().List2.SetListIndex(2);  // "7"
    EXPECT_EQ(t.app.view.BackgroundColor, t.app.tables.ColorPalette[7]);
    EXPECT_EQ(t.form1.Picture1.BackColor(), t.app.tables.ColorPalette[7]);
    EXPECT_EQ(t.form1.Text4.BackColor(), t.app.tables.ColorPalette[7]);

    t.platform.fakeScreen.families.assign(300, "F");
    Window().Check5.SetValue(Checked);
    EXPECT_EQ(t.form1.Combo3.ListCount(), 256);
    Window().Check5.SetValue(Unchecked);
    EXPECT_EQ(t.form1.Combo3.ListCount(), 154);
    EXPECT_EQ(t.app.tables.FontNames[200], "F");  // entries above 153 keep what they hold
}

// The two division labels act only with a map to divide, the standard loaded, no self-made library
// and the grid shown; a Yes opens the division window (modeless for the standard division, with both
// division buttons for the irregular one) and closes the settings window.
TEST_F(SettingsTest, DivisionLabelsOpenTheSheetDivisionWindow) {
    Window().Load();
    EXPECT_FALSE(Window().Label18.Enabled());
    EXPECT_FALSE(Window().Label19.Enabled());
    Window().Unload();

    t.app.store.At(1, 0).RecordType = 2;
    t.app.store.Count(1) = 1;
    Window().Load();
    EXPECT_TRUE(Window().Label18.Enabled());
    EXPECT_TRUE(Window().Label19.Enabled());

    // The standard not loaded: nothing is asked.
    Window().Check1.SetValue(Checked);
    Window().Label18.Click();
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    t.app.symbolStandard.SymbolStandardLoaded = -1;
    Window().Check1.SetValue(Unchecked);
    Window().Label19.Click();
    EXPECT_TRUE(t.platform.promptScript.questions.empty());

    // While a division runs (it yields to the windows), another is not started.
    Window().Check1.SetValue(Checked);
    t.app.tool.LongCommandRunning = -1;
    Window().Label18.Click();
    Window().Label19.Click();
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    t.app.tool.LongCommandRunning = 0;

    t.platform.promptScript.QueueAnswer(AnswerNo);
    Window().Label18.Click();
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.questions[0].title, "标准分幅");
    EXPECT_EQ(t.platform.promptScript.LastText(), "要进行图幅标准分幅吗？,确已掌握分幅方法了吗");
    EXPECT_TRUE(Window().Loaded());
    EXPECT_EQ(t.app.sheetDivisionWindow, nullptr);

    t.platform.promptScript.QueueAnswer(AnswerYes);
    Window().Label18.Click();
    ASSERT_NE(t.app.sheetDivisionWindow, nullptr);
    EXPECT_TRUE(t.app.sheetDivisionWindow->Visible());
    EXPECT_FALSE(t.app.sheetDivisionWindow->Modal());
    EXPECT_EQ(t.app.sheetDivisionWindow->Command3.Caption(), "开始分幅");
    EXPECT_FALSE(Window().Loaded());
    t.app.sheetDivisionWindow->Unload();

    Window().Load();
    Window().Check1.SetValue(Checked);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    Window().Label19.Click();
    EXPECT_EQ(t.platform.promptScript.questions.back().title, "不规则分幅");
    EXPECT_EQ(t.platform.promptScript.LastText(), "要进行图幅不规则分幅吗？,确已掌握分幅方法了吗");
    EXPECT_FALSE(Window().Loaded());
}

}  // namespace
}  // namespace movra
