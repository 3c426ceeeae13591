#include <gtest/gtest.h>

#include <utility>

#include "PrintFixture.h"
#include "basic/Numbers.h"
#include "printing/PaperTable.h"
#include "printing/PrintJob.h"
#include "printing/PrintOptions.h"

namespace movra {
namespace {

using PrintDialogTest = PrintTest;

TEST_F(PrintDialogTest, LoadFillsTheDialogFromThePrinter) {
    printer.printers = {"HP", "LJ"};
    dayinfrm& d = Dialog();
    EXPECT_EQ(d.Caption(), "打印选项");
    EXPECT_EQ(d.Text1.Text(), "LJ");
    ASSERT_EQ(d.List1.ListCount(), 2);
    EXPECT_EQ(d.List1.List(0), "HP");
    EXPECT_EQ(d.Text2.Text(), "A4");
    EXPECT_EQ(printer.PaperSize(), 9);
    // The paper's millimetres to a tenth, not the twips' fifteen digits (209.982363315697).
    EXPECT_EQ(d.Text3.Text(), "210");
    EXPECT_EQ(d.Text4.Text(), "297");
    EXPECT_EQ(d.Text6.Text(), "裁边d");
    EXPECT_EQ(d.Text7.Text(), "裁边c");
    EXPECT_TRUE(d.Option9.Value());
    EXPECT_EQ(printer.ColorMode(), ColorModeMonochrome);
    EXPECT_EQ(d.Frame4.ForeColor(), app.tables.ColorPalette[5]);
    // "当前比例尺" is marked: the display scale, locked.
    EXPECT_EQ(d.Text5.Text(), "2000");
    EXPECT_TRUE(d.Text5.Locked());
    EXPECT_EQ(d.WindowState(), WindowMaximized);
    ASSERT_EQ(d.List2.ListCount(), 71);
    EXPECT_EQ(d.List2.List(12), "纸规格_A4_EXTRA");
    EXPECT_EQ(d.Check1.Value(), Checked);
    EXPECT_TRUE(d.Option7.Value() && d.Option11.Value() && d.Option14.Value() && d.Option1.Value());

    // The paper name of the run comes back when the dialog is loaded again.
    app.printOptions.PaperName = "A3";
    d.Unload();
    d.Load();
    EXPECT_EQ(d.Text2.Text(), "A3");
    EXPECT_EQ(printer.PaperSize(), 8);
    EXPECT_EQ(d.List1.ListCount(), 2);  // the printers are listed once, however often it loads

    // The toolbar's command shows it without blocking, in its normal state.
    ShowPrintDialog(app);
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(d.Modal());
    EXPECT_EQ(d.WindowState(), WindowNormal);
}

TEST_F(PrintDialogTest, ALoadThatFailsAsksWhetherThePrinterIsInstalled) {
    app.printOptions.PaperName = "纸规格_B4";  // a paper the printer does not offer
    dayinfrm& d = Dialog();
    EXPECT_EQ(t.platform.promptScript.LastText(), "打印机是否装好?");
    EXPECT_EQ(d.Text2.Text(), "纸规格_B4");
    EXPECT_EQ(d.List1.ListCount(), 0);
}

TEST_F(PrintDialogTest, OptionsGiveThePageGroundSizeAtThePrintScale) {
    const double paperWidth = 11906 / 56700.0, paperLength = 16838 / 56700.0;
    const struct {
        bool landscape;
        const char* text6;
        const char* text7;
        double marginD, marginC;
    } cases[] = {
        {false, "裁边d", "裁边c", 0.005795, 0.017795},
        {false, "0", "12", 0.005795, 0.017795},  // only an empty width margin counts, for both
        {false, "", "", 0.005795, 0.017795},
        {false, "5", "12", 0.005, 0.012},
        {true, "裁边c", "裁边d", 0.017795, 0.005795},
        {true, "3", "4", 0.003, 0.004},
    };
    for (const auto& c : cases) {
        dayinfrm& d = Dialog();
        if (c.landscape) d.Option12.Click();
        else d.Option11.Click();
        d.Option5.Click();
        d.Text6.SetText(c.text6);
        d.Text7.SetText(c.text7);
        ReadPrintOptions(app);
        const PrintOptions& o = app.printOptions;
        const double w = c.landscape ? paperLength : paperWidth, h = c.landscape ? paperWidth : paperLength;
        SCOPED_TRACE(std::string(c.text6) + " / " + c.text7);
        EXPECT_NEAR(o.MarginD, c.marginD, 1e-12);
        EXPECT_NEAR(o.MarginC, c.marginC, 1e-12);
        EXPECT_EQ(o.PrintScale, 1000.0f);
        EXPECT_NEAR(o.PageGroundWidth, (w - c.marginD) * 1000, 1e-9);
        EXPECT_NEAR(o.PageGroundHeight, -(h - c.marginC) * 1000, 1e-9);
        EXPECT_NEAR(o.PageStepX, 0.9 * o.PageGroundWidth, 1e-12);
        EXPECT_NEAR(o.PageStepY, 0.9 * o.PageGroundHeight, 1e-12);
        EXPECT_EQ(o.PrintOrientation, c.landscape ? 2 : 1);
        EXPECT_EQ(printer.Orientation(), c.landscape ? 2 : 1);
        EXPECT_EQ(app.printState.PageWidthTwips, c.landscape ? 16838 : 11906);
        EXPECT_TRUE(printer.TrackDefault());
    }
}

TEST_F(PrintDialogTest, OptionsReadEveryChoice) {
    dayinfrm& d = Dialog();
    d.Option10.Click();
    d.Option6.Click();
    d.Option15.Click();
    d.Check1.SetValue(Unchecked);
    d.Option3.Click();
    d.Text2.SetText("  A3 ");
    ReadPrintOptions(app);
    const PrintOptions& o = app.printOptions;
    EXPECT_EQ(o.PaperName, "A3");
    EXPECT_EQ(printer.PaperSize(), 8);
    EXPECT_EQ(o.PrintColorMode, 2);
    EXPECT_EQ(o.PrintRange, 6);
    EXPECT_EQ(o.PrintQuality, -4.0f);
    EXPECT_EQ(o.TrueFrameFlag, 0);
    EXPECT_EQ(o.PrintScale, 500.0f);  // the map's own scale
    EXPECT_EQ(d.Frame4.ForeColor(), MakeRgb(255, 0, 255));

    ComputePrintScaleFactors(app);
    const PrintDialogState& s = app.printState;
    EXPECT_DOUBLE_EQ(s.MetresPerPaperMm, 0.5);
    EXPECT_DOUBLE_EQ(s.PrintToMapRatio, 1);
    EXPECT_DOUBLE_EQ(s.MapToPrintRatio, 1);
    EXPECT_DOUBLE_EQ(s.ScaledMetresPerPaperMm, 0.5);

    // A refused paper ends the reading where it stands: the scale keeps its earlier value.
    d.Option5.Click();
    d.Text2.SetText("纸规格_B4");
    ReadPrintOptions(app);
    EXPECT_EQ(app.printOptions.PrintScale, 500.0f);
    EXPECT_EQ(app.printOptions.PaperName, "纸规格_B4");
    EXPECT_TRUE(printer.TrackDefault());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PrintDialogTest, TheScaleBoxKeepsItsNumberBetweenOneAndNineMillion) {
    dayinfrm& d = Dialog();
    d.Option5.Click();
    EXPECT_EQ(d.Text5.Text(), "1000");
    EXPECT_FALSE(d.Text5.Locked());
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"0", "1"}, {"-25", "1"}, {"abc", "1"}, {"9000001", "500"}, {"9000000", "9000000"}, {"2500", "2500"}};
    for (const auto& c : cases) {
        d.Text5.SetText("7");
        d.Text5.UserTyped(c.typed, 0);
        EXPECT_EQ(d.Text5.Text(), c.kept) << c.typed;
    }
    d.Option3.Click();
    EXPECT_EQ(d.Text5.Text(), "500");
    EXPECT_TRUE(d.Text5.Locked());
    // The current scale as the main scale box shows it: its shortest form, no float noise.
    for (const auto& [scale, shown] : {std::pair{380.952375502813, "380.9524"}, {999.999977024221, "1000"}}) {
        app.view.DisplayScaleDenominator = scale;
        d.Option5.Click();
        d.Option4.Click();
        EXPECT_EQ(d.Text5.Text(), shown);
    }
}

TEST_F(PrintDialogTest, DoubleClickingAPrinterChoosesOnlyTheDefaultOne) {
    printer.printers = {"HP", "LJ"};
    dayinfrm& d = Dialog();
    const size_t settings = printer.log.size();
    d.List1.SetListIndex(0);
    d.List1.DblClick();
    EXPECT_EQ(d.Caption(), "请在windows中设此HP打印机为默认打印机！");
    EXPECT_EQ(d.Text1.Text(), "HP");
    EXPECT_EQ(app.printState.DefaultPrinterChosen, 0);
    EXPECT_EQ(printer.log.size(), settings);  // the printer used stays the default one

    d.List1.SetListIndex(1);
    d.List1.DblClick();
    EXPECT_EQ(d.Caption(), "此打印机为windows默认打印机！");
    EXPECT_EQ(d.Text1.Text(), "LJ");
    EXPECT_EQ(app.printState.DefaultPrinterChosen, -1);

    printer.printers.clear();
    d.List1.DblClick();
    EXPECT_EQ(t.platform.promptScript.LastText(), "系统没有安装打印机！");
}

TEST_F(PrintDialogTest, ARefusedPaperIsReportedAndMarksTheMismatch) {
    dayinfrm& d = Dialog();
    const struct {
        const char* item;  // clicked in the paper list
        int flag;
    } cases[] = {{"纸规格_B4", -1}, {"纸规格_USER", 0}};
    for (const auto& c : cases) {
        d.Option1.SetValue(true);
        app.printState.PaperMismatchFlag = 5;
        t.platform.promptScript.questions.clear();
        for (int i = 0; i < d.List2.ListCount(); ++i)
            if (d.List2.List(i) == c.item) d.List2.SetListIndex(i);
        EXPECT_EQ(d.Text2.Text(), c.item);
        ASSERT_EQ(Messages().size(), 1u) << c.item;
        EXPECT_EQ(t.platform.promptScript.questions[0].text, "无效的属性值");
        EXPECT_EQ(t.platform.promptScript.questions[0].title, "380");
        EXPECT_EQ(app.printState.PaperMismatchFlag, c.flag) << c.item;
        EXPECT_TRUE(d.Option2.Value());
        EXPECT_TRUE(printer.TrackDefault());
        EXPECT_EQ(printer.PaperSize(), 9);
    }

    // A paper the printer takes clears the flag, and the sizes follow the orientation.
    d.Option12.Click();
    for (int i = 0; i < d.List2.ListCount(); ++i)
        if (d.List2.List(i) == "纸规格_A3") d.List2.SetListIndex(i);
    EXPECT_EQ(app.printState.PaperMismatchFlag, 0);
    EXPECT_EQ(printer.PaperSize(), 8);
    EXPECT_EQ(printer.Orientation(), OrientationLandscape);
    EXPECT_EQ(d.Text3.Text(), "419.9");
    EXPECT_EQ(d.Text6.Text(), "裁边c");
    EXPECT_EQ(d.Text7.Text(), "裁边d");
}

TEST_F(PrintDialogTest, TheHandlerTakesThePaperBoxAsTypedAndTheOptionsTrimIt) {
    dayinfrm& d = Dialog();
    printer.SetPaperSize(1);
    d.Text2.SetText(" A4");
    d.Option1_Click();
    EXPECT_EQ(app.printState.PaperMismatchFlag, -1);
    EXPECT_EQ(printer.PaperSize(), 1);
    ReadPrintOptions(app);
    EXPECT_EQ(printer.PaperSize(), 9);
}

TEST_F(PrintDialogTest, StartingBeforeTheDefaultPrinterWasChosenIsRefused) {
    dayinfrm& d = Dialog();
    Add(2, 0, 0, 10, 10);
    d.Command3.Click();
    EXPECT_EQ(t.platform.promptScript.LastText(),
              "打印机未设置好！\r\n请在windows中设当前打印机为默认打印机！\r\n再选！");
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_EQ(printer.documentsEnded, 0);
    EXPECT_EQ(app.printOptions.PrintScale, 0.0f);  // the options were not read
}

TEST_F(PrintDialogTest, TheOtherCommands) {
    dayinfrm& d = Dialog();
    d.Command1.Click();
    EXPECT_EQ(t.platform.dialogScript.printerDialogs, 1);
    // "换页" between jobs starts no document (on the PDF printer it would replace the last file).
    d.Command6.Click();
    EXPECT_TRUE(printer.LogOf("NewPage").empty());
    EXPECT_EQ(printer.documentsEnded, 0);
    // With a document open it closes the page and the document.
    printer.Page().Line(0, 0, 1, 1);
    d.Command6.Click();
    EXPECT_EQ(printer.LogOf("NewPage").size(), 1u);
    EXPECT_EQ(printer.documentsEnded, 1);
    d.Command4.Click();
    EXPECT_EQ(printer.documentsKilled, 1);
    printer.failNext["KillDoc"] = 482;
    d.Command4.Click();  // silent
    EXPECT_TRUE(Messages().empty());
    d.Command2.Click();
    EXPECT_FALSE(d.Loaded());
}

}  // namespace
}  // namespace movra
