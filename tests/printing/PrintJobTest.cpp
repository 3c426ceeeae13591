#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <utility>
#include <vector>

#include "PrintFixture.h"
#include "document/StoreRecord.h"
#include "printing/PrintJob.h"
#include "printing/PrintPage.h"
#include "support/AbsurdRecords.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;
using Origin = std::pair<double, double>;

class PrintJobTest : public PrintTest {
protected:
    // The cell corner of each printed page, from its true frame.
    std::vector<Origin> PrintedOrigins() const {
        std::vector<Origin> origins;
        for (const RecordedPage& page : printer.pages)
            for (const SurfacePrimitive& p : page.primitives)
                if (p.kind == Kind::Box) origins.emplace_back(p.x1, p.y1);
        return origins;
    }
    // The hatched boxes drawn on the canvas.
    std::vector<SurfacePrimitive> HatchedFrames() const {
        std::vector<SurfacePrimitive> boxes;
        for (const SurfacePrimitive& p : canvas.PrimitivesOf(Kind::Box))
            if (p.fillStyle == FillStyleDownwardDiagonal) boxes.push_back(p);
        return boxes;
    }
    // A picked print range, as the canvas tool stores it.
    void PickRange(double left, double top, double right, double bottom) {
        MapRecord& head = app.store.At(0, Layer0Slots::PrintRangeFirst);
        const int n = static_cast<int>(head.RecordZ3);
        MapRecord& r = app.store.At(0, Layer0Slots::PrintRangeFirst + n);
        r.RecordType = 188;
        r.RecordX1 = left;
        r.RecordY1 = top;
        r.RecordX2 = right;
        r.RecordY2 = bottom;
        app.store.At(0, Layer0Slots::PrintRangeFirst).RecordZ3 = static_cast<float>(n + 1);
    }
    void Run() {
        app.printState.DefaultPrinterChosen = -1;
        RunPrintJob(app);
    }
};

TEST_F(PrintJobTest, TheWholeDrawingIsCutRowByRowFromTheTop) {
    Add(2, 0, 130, 200, 300);
    // Neither a layer that is off, an empty layer nor a deleted record widens the printed box; a
    // layer of one record does (below).
    Add(102, -5000, -5000, 9000, 9000);
    app.store.LayerCount = 3;
    app.store.DimensionKeep(3);
    app.store.LayerOnFlag[2] = 0;
    app.store.Count(2) = 5;
    app.store.At(2, 1) = MapRecord{.RecordType = 2, .RecordX1 = -900, .RecordY1 = 900};
    app.store.LayerOnFlag[3] = -1;
    app.store.Count(3) = 0;
    app.store.At(3, 0) = MapRecord{.RecordType = 2, .RecordX1 = 900, .RecordY1 = -900};

    const struct {
        double minY;
        std::vector<Origin> origins;
    } cases[] = {
        {130, {{0, 300}, {90, 300}, {180, 300}, {0, 210}, {90, 210}, {180, 210}}},
        {125, {{0, 300}, {90, 300}, {180, 300}, {0, 210}, {90, 210}, {180, 210}, {0, 120}, {90, 120}, {180, 120}}},
    };
    for (const auto& c : cases) {
        app.store.At(1, 1).RecordY1 = c.minY;
        printer.pages.clear();
        t.platform.promptScript.questions.clear();
        Geometry(100, -100, 6);
        Run();
        EXPECT_EQ(PrintedOrigins(), c.origins) << c.minY;
        EXPECT_EQ(t.platform.promptScript.LastText(), std::to_string(c.origins.size()) + "页，好了，结束。");
        EXPECT_EQ(app.printState.RangeLeft, -5.0f);
        EXPECT_EQ(app.printState.RangeTop, 305.0f);
        EXPECT_EQ(app.printState.RangeRight, 205.0f);
        EXPECT_EQ(app.printState.RangeBottom, static_cast<float>(c.minY - 5));
    }
    // The layer holding one record, in slot 0, widens the box as any other.
    app.store.Count(3) = 1;
    printer.pages.clear();
    Run();
    EXPECT_EQ(app.printState.RangeRight, 905.0f);
    EXPECT_EQ(app.printState.RangeBottom, -905.0f);
    app.store.Count(3) = 0;
    // A right edge exactly on a step still gets its page.
    app.store.At(1, 1).RecordX2 = 180;
    printer.pages.clear();
    Run();
    EXPECT_EQ(PrintedOrigins().size(), 9u);
    EXPECT_EQ(PrintedOrigins()[2], Origin(180, 300));
}

TEST_F(PrintJobTest, PagesOnTheDrawingsOuterEdgesPrintOutToTheirWindows) {
    Add(2, 0, 130, 200, 300);
    Add(7, 100, 200, 1000, 1);  // a circle over every page shows where each page clips
    Geometry(100, -100, 6);
    Run();
    struct Clip {
        double left, top, right, bottom;
        bool operator==(const Clip&) const = default;
    };
    std::vector<Clip> clips;
    for (const RecordedPage& page : printer.pages)
        for (const SurfacePrimitive& p : page.primitives)
            if (p.kind == Kind::Circle && p.clipped) clips.push_back({p.clipLeft, p.clipTop, p.clipRight, p.clipBottom});
    // Seams between pages stay at the cells; the drawing's outer sides reach the window's edge
    // (5 % of the page before the cell, 95 % after its corner).
    const std::vector<Clip> expected = {{-5, 305, 90, 210},  {90, 305, 180, 210},  {180, 305, 275, 210},
                                        {-5, 210, 90, 115},  {90, 210, 180, 115},  {180, 210, 275, 115}};
    EXPECT_EQ(clips, expected);
    // The true frames still mark the cells.
    EXPECT_EQ(PrintedOrigins(), (std::vector<Origin>{{0, 300}, {90, 300}, {180, 300}, {0, 210}, {90, 210}, {180, 210}}));
}

TEST_F(PrintJobTest, EachPageIsFramedOnTheCanvasAndPrintedThroughItsOwnWindow) {
    Add(2, 0, 130, 200, 300);
    app.current.CurrentColor = MakeRgb(0, 0, 255);
    Geometry(100, -100, 6);
    Run();
    // Page window and hatched step box per page, in the page's palette colour.
    const auto boxes = canvas.PrimitivesOf(Kind::Box);
    ASSERT_EQ(boxes.size(), 12u);
    EXPECT_DOUBLE_EQ(boxes[2].x1, 85);
    EXPECT_DOUBLE_EQ(boxes[2].y1, 305);
    EXPECT_DOUBLE_EQ(boxes[2].x2, 185);
    EXPECT_DOUBLE_EQ(boxes[2].y2, 205);
    EXPECT_EQ(boxes[2].fillStyle, FillStyleTransparent);
    EXPECT_DOUBLE_EQ(boxes[3].x2, 85 + 90);
    EXPECT_DOUBLE_EQ(boxes[3].y2, 305 - 90);
    EXPECT_EQ(boxes[3].fillStyle, FillStyleDownwardDiagonal);
    EXPECT_EQ(boxes[3].fillColor, app.tables.ColorPalette[2]);
    EXPECT_EQ(boxes[3].color, MakeRgb(0, 0, 255));
    EXPECT_EQ(boxes[3].drawWidth, 2);
    EXPECT_EQ(canvas.FillStyle(), FillStyleTransparent);

    // The printer: set up once, one page per cut, each closed by a new page, then the end.
    EXPECT_EQ(printer.LogOf("PaperSize").back(), "PaperSize 9");
    EXPECT_EQ(printer.LogOf("ColorMode").back(), "ColorMode 1");
    EXPECT_EQ(printer.LogOf("PrintQuality").back(), "PrintQuality -3");
    EXPECT_EQ(printer.LogOf("Copies").back(), "Copies 1");
    EXPECT_EQ(printer.LogOf("NewPage").size(), 6u);
    EXPECT_EQ(printer.log.back(), "TrackDefault 1");
    EXPECT_EQ(printer.documentsEnded, 1);
    ASSERT_EQ(printer.pages.size(), 6u);
    EXPECT_DOUBLE_EQ(printer.marginAcrossMm, 5.795);
    EXPECT_DOUBLE_EQ(printer.marginDownMm, 17.795);
    // The last page's window: 5 % of the page west and north of its cell, the page's size.
    EXPECT_EQ(printer.page.ScaleLeft(), 175.0);
    EXPECT_EQ(printer.page.ScaleTop(), 215.0);
    EXPECT_EQ(printer.page.ScaleWidth(), 100.0);
    EXPECT_EQ(printer.page.ScaleHeight(), -100.0);
    EXPECT_EQ(app.printState.PageWindowLeft, 175.0);
    EXPECT_DOUBLE_EQ(app.printState.TwipsPerGroundUnit, 119.06);
    EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
    EXPECT_EQ(app.printDialog, nullptr);
}

TEST_F(PrintJobTest, APageIsCutToItsRangeAndCarriesFrameAndFootnote) {
    // One picked range 150 wide and 120 high: cells of 90 by 90, the last column and row
    // clamped to the range.
    PickRange(1000, 2000, 1150, 1880);
    Geometry(100, -100, 8);
    struct CaptionLog : FormView {
        std::vector<std::string> captions;
        void FormChanged(FormModel& form, Prop) override {
            if (captions.empty() || captions.back() != form.Caption()) captions.push_back(form.Caption());
        }
        void ControlAdded(Control&) override {}
        void ControlRemoved(Control&) override {}
        void ShowForm(FormModel&, bool) override {}
        void HideForm(FormModel&) override {}
        void FormUnloaded(FormModel&) override {}
    } view;
    dayinfrm& d = Dialog();
    d.SetView(&view);
    Run();
    d.SetView(nullptr);
    ASSERT_EQ(printer.pages.size(), 4u);
    EXPECT_EQ(PrintedOrigins(), (std::vector<Origin>{{1000, 2000}, {1090, 2000}, {1000, 1910}, {1090, 1910}}));
    const RecordedPage& last = printer.pages[3];
    const auto frame = std::find_if(last.primitives.begin(), last.primitives.end(),
                                    [](const SurfacePrimitive& p) { return p.kind == Kind::Box; });
    EXPECT_DOUBLE_EQ(frame->x2, 1150);
    EXPECT_DOUBLE_EQ(frame->y2, 1880);
    EXPECT_EQ(frame->color, MakeRgb(255, 0, 0));
    EXPECT_EQ(frame->drawWidth, 2);
    // The footnote stands at the cell's full-size bottom, also when the cell was clamped.
    const auto note = std::find_if(last.primitives.begin(), last.primitives.end(),
                                   [](const SurfacePrimitive& p) { return p.kind == Kind::Print; });
    ASSERT_NE(note, last.primitives.end());
    EXPECT_EQ(note->text.rfind("打印比例1/1000日期：", 0), 0u) << note->text;
    EXPECT_DOUBLE_EQ(note->x1, 1090);
    EXPECT_DOUBLE_EQ(note->y1, 1910 - 90);
    EXPECT_EQ(note->fontSize, 8);
    EXPECT_EQ(app.printState.CellRight, 1150);
    EXPECT_EQ(app.printState.CellBottom, 1880);
    // The caption names the printer and the page while it is printed, and is empty after it.
    EXPECT_EQ(view.captions, (std::vector<std::string>{"LJ_1", "", "LJ_2", "", "LJ_3", "", "LJ_4", ""}));
    // The ranges' windows are hatched in red on the canvas.
    const auto frames = HatchedFrames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].color, MakeRgb(255, 0, 0));
    EXPECT_DOUBLE_EQ(frames[3].x1, 1085);
    EXPECT_DOUBLE_EQ(frames[3].x2, 1185);
    EXPECT_EQ(frames[3].fillColor, app.tables.ColorPalette[4]);
}

TEST_F(PrintJobTest, WithoutTheTrueFrameOnlyTheFootnotePrints) {
    PickRange(0, 100, 50, 50);
    Geometry(100, -100, 8);
    app.printOptions.TrueFrameFlag = 0;
    Run();
    ASSERT_EQ(printer.pages.size(), 1u);
    ASSERT_EQ(printer.pages[0].primitives.size(), 1u);
    EXPECT_EQ(printer.pages[0].primitives[0].kind, Kind::Print);
}

TEST_F(PrintJobTest, PickedRangesTooSmallOrMissingAreReported) {
    Geometry(100, -100, 8);
    Run();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"范围未选。在“打印二级菜单_打印选范围“下屏选", "0页，好了，结束。"}));
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_EQ(printer.documentsEnded, 1);

    t.platform.promptScript.questions.clear();
    PickRange(0, 100, 0.5, 0);   // half a paper millimetre wide at 1:1000
    PickRange(0, 100, 50, 99.5);  // half a millimetre high
    PickRange(0, 100, 50, 50);
    Run();
    const std::string small = "有一块范围小，不打印！\r\n请按确定，继续下一块。";
    EXPECT_EQ(Messages(), (std::vector<std::string>{small, small, "1页，好了，结束。"}));
    EXPECT_EQ(PrintedOrigins(), (std::vector<Origin>{{0, 100}}));
}

TEST_F(PrintJobTest, TheScreenPrintsOnePageAtTheCanvasCorner) {
    Geometry(100, -100, 7);
    Run();
    EXPECT_EQ(PrintedOrigins(), (std::vector<Origin>{{0, 400}}));
    EXPECT_EQ(app.printState.RangeRight, 400.0f);
    EXPECT_EQ(app.printState.RangeBottom, 0.0f);
    // The display scale is taken afresh from the canvas: 56700 twips a metre, 400 m over 8000 twips.
    EXPECT_DOUBLE_EQ(app.view.DisplayScaleDenominator, 2835);
}

TEST_F(PrintJobTest, APreviewFramesThePagesAndPrintsNothing) {
    Add(2, 0, 130, 200, 300);
    dayinfrm& d = ChosenDialog();
    d.Show();
    d.Option6.Click();
    d.Option5.Click();
    // At 1:500 the test printer's A4 gives windows of about 102 by 140 m: three pages across,
    // two rows down.
    d.Text5.UserTyped("500", 0);
    d.Command5.Click();
    EXPECT_FALSE(d.Visible());
    EXPECT_EQ(HatchedFrames().size(), 6u);
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_TRUE(printer.LogOf("NewPage").empty());
    EXPECT_EQ(t.platform.promptScript.LastText(), "6页，好了，结束。");
    EXPECT_EQ(app.printState.PreviewFlag, 0);

    // The start that follows prints.
    d.Command3.Click();
    EXPECT_EQ(printer.pages.size(), 6u);
}

TEST_F(PrintJobTest, APaperMismatchSkipsEveryPageAndSaysSo) {
    Add(2, 0, 130, 200, 300);
    Geometry(100, -100, 6);
    app.printState.PaperMismatchFlag = -1;
    Run();
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "6页，好了，结束。",
                              "纸规格不附合，未打印。\n\r必要时调整打印机；\n\r或系统中调整纸型号。"}));
}

TEST_F(PrintJobTest, APageWithNoGroundIsAnInputErrorAndPrintsNothing) {
    Add(2, 0, 130, 200, 300);
    PickRange(0, 100, 50, 50);
    app.view.ProjectParams[0] = 0;
    dayinfrm& d = ChosenDialog();
    d.Option3.Click();
    for (OptionButton* range : {&d.Option6, &d.Option7, &d.Option8}) {
        t.platform.promptScript.questions.clear();
        range->Click();
        d.Command3.Click();
        ASSERT_EQ(t.platform.promptScript.questions.size(), 1u) << range->Caption();
        EXPECT_EQ(t.platform.promptScript.LastText(), "打印比例尺不对，未打印。") << range->Caption();
        EXPECT_TRUE(printer.pages.empty());
    }

    // Margins as wide as the paper, or wider: no page, no success.
    app.view.ProjectParams[0] = 500;
    d.Option6.Click();
    d.Option5.Click();
    for (const char* margin : {"210", "250"}) {
        t.platform.promptScript.questions.clear();
        d.Text6.SetText(margin);
        d.Command3.Click();
        EXPECT_EQ(t.platform.promptScript.LastText(), "裁边不小于纸张，纸上没有可打印的地方，未打印。") << margin;
        EXPECT_TRUE(printer.pages.empty());
        EXPECT_TRUE(printer.LogOf("EndDoc").empty());
    }
}

TEST_F(PrintJobTest, AJobOfHundredsOfPagesAsksFirst) {
    // A width margin that leaves a millimetre of A4 cuts a 400 m drawing into pages 1 m wide.
    Add(2, 0, 100, 400, 100);
    dayinfrm& d = ChosenDialog();
    d.Option6.Click();
    d.Option5.Click();
    d.Text6.SetText("209");
    d.Check1.SetValue(Unchecked);
    t.platform.promptScript.QueueAnswer(AnswerNo);
    d.Command3.Click();
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.LastText(), "这次要打印453页，要打印吗？");
    EXPECT_TRUE(printer.pages.empty());
    EXPECT_TRUE(canvas.PrimitivesOf(Kind::Box).empty());

    t.platform.promptScript.QueueAnswer(AnswerYes);
    d.Command3.Click();
    EXPECT_EQ(printer.pages.size(), 453u);
    EXPECT_EQ(t.platform.promptScript.LastText(), "453页，好了，结束。");

    // More pages than the job can number are refused outright; a preview only counts.
    d.Text5.SetText("100");
    Add(2, 0, 100, 40000, 100);
    t.platform.promptScript.questions.clear();
    printer.pages.clear();
    d.Command3.Click();
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.LastText().rfind("要打印的页数超过32767页，未打印。", 0), 0u);
    EXPECT_TRUE(printer.pages.empty());
}

TEST_F(PrintJobTest, APrinterThatWritesAFileAsksForItAndNamesIt) {
    Add(2, 0, 130, 200, 300);
    printer.writesFile = true;
    app.current.CurrentFilePath = "/maps/城区/地形.jdx";
    dayinfrm& d = ChosenDialog();
    d.Option6.Click();
    ScriptedDialogs& dialogs = t.platform.dialogScript;

    // Cancelled: nothing is printed and nothing is said.
    d.Command3.Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FileDialogRequest& asked = dialogs.requests[0].file;
    EXPECT_EQ(dialogs.requests[0].kind, ScriptedDialogs::Request::Kind::Save);
    EXPECT_EQ(asked.initialDir, "/maps/城区");
    EXPECT_EQ(asked.fileName, "地形.pdf");
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_TRUE(printer.log.empty() || printer.LogOf("NewPage").empty());
    EXPECT_TRUE(t.platform.promptScript.questions.empty());

    // A name typed without its extension gets ".pdf"; the last message names the file.
    dialogs.QueueFile("/out/图");
    d.Command3.Click();
    EXPECT_EQ(printer.outputFile, "/out/图.pdf");
    EXPECT_EQ(printer.documentsEnded, 1);
    EXPECT_EQ(t.platform.promptScript.LastText(), "1页，好了，结束。\r\n已写入文件：/out/图.pdf");

    // A preview writes nothing and asks for no file.
    d.Command5.Click();
    EXPECT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(t.platform.promptScript.LastText(), "1页，好了，结束。");

    // Nor does a job refused for its page settings, or declined at its page count.
    t.platform.promptScript.questions.clear();
    const int ended = printer.documentsEnded;
    d.Option5.Click();
    d.Text6.SetText("210");
    d.Command3.Click();
    d.Text5.SetText("500");
    d.Text6.SetText("209");  // pages half a metre wide
    t.platform.promptScript.QueueAnswer(AnswerNo);
    d.Command3.Click();
    EXPECT_EQ(dialogs.requests.size(), 2u);
    const std::vector<std::string> told = Messages();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], "裁边不小于纸张，纸上没有可打印的地方，未打印。");
    EXPECT_EQ(told[1].rfind("这次要打印", 0), 0u) << told[1];
    EXPECT_EQ(printer.documentsEnded, ended);
}

TEST_F(PrintJobTest, AFailureAbandonsTheDocumentAndTheNextJobPrints) {
    Add(2, 0, 130, 200, 300);
    Geometry(100, -100, 6);
    printer.failNext["PrintQuality"] = 482;
    app.printState.PreviewFlag = -1;
    Run();
    EXPECT_EQ(t.platform.promptScript.questions.back().title, "482");
    EXPECT_EQ(printer.documentsKilled, 1);
    EXPECT_EQ(app.printState.PreviewFlag, 0);
    EXPECT_TRUE(printer.TrackDefault());

    // A printer that cannot take a page (a file that cannot be written) ends the job there, with
    // its error and no success; what was printed is discarded.
    t.platform.promptScript.questions.clear();
    printer.failNext["NewPage"] = 75;
    Run();
    EXPECT_EQ(printer.documentsKilled, 2);
    EXPECT_EQ(printer.documentsEnded, 0);
    EXPECT_TRUE(printer.LogOf("NewPage").empty());  // no page after the first was tried
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.questions[0].title, "75");

    // A document that cannot be ended is not told as printed either.
    t.platform.promptScript.questions.clear();
    printer.failNext["EndDoc"] = 75;
    Run();
    EXPECT_EQ(printer.documentsKilled, 3);
    ASSERT_EQ(t.platform.promptScript.questions.size(), 1u);
    EXPECT_EQ(t.platform.promptScript.questions[0].title, "75");

    printer.pages.clear();
    Run();
    EXPECT_EQ(printer.documentsEnded, 1);
    EXPECT_EQ(printer.pages.size(), 6u);
}

// A fresh program has no symbol standard loaded. A job of a map whose line-type line and symbol
// fill come before its first point symbol prints its first page as the next job does: the
// standard is loaded before that page, not at the symbol.
TEST_F(PrintJobTest, TheFirstJobInAFreshProgramPrintsEveryPageAsTheNextJobDoes) {
    std::filesystem::copy_file(std::filesystem::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus",
                               t.programFolder.Path() / "电子图式.tus");
    app.view.ScaleFactor = 0.5;
    Add(42, 0, 250, 200, 250).RecordText = "364";  // dashes with a symbol between them
    app.store.CurrentLayer = 1;
    app.selection.WorkPolygon = {20, 160, 80, 160, 80, 220, 20, 220, 20, 160, 0, 0};
    StorePolylineFromList(app, "*559");
    ASSERT_EQ(app.store.Get(1, 2).RecordText, "210");
    MapRecord& symbol = Add(15, 190, 150, 0, 1);
    symbol.RecordText = "1";
    Geometry(100, -100, 6);

    // What each page printed: its lines, circles and points, in order.
    using Figure = std::tuple<int, double, double, double, double>;
    auto printed = [&] {
        std::vector<std::vector<Figure>> pages;
        for (const RecordedPage& page : printer.pages) {
            pages.emplace_back();
            for (const SurfacePrimitive& p : page.primitives)
                if (p.kind == Kind::Line || p.kind == Kind::Circle || p.kind == Kind::Point)
                    pages.back().emplace_back(static_cast<int>(p.kind), p.x1, p.y1, p.x2, p.y2);
        }
        return pages;
    };
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, 0);
    Run();
    EXPECT_EQ(Messages().front(), "已加载图式。");
    const auto first = printed();
    ASSERT_EQ(first.size(), 6u);
    printer.pages.clear();
    Run();
    const auto second = printed();
    EXPECT_EQ(first, second);
    // Page 1 holds the fill's symbols and the line's dashes and symbols: far more than its frame.
    EXPECT_GT(first[0].size(), 100u);
}

// Values a file from another program may bring in fields that are no position print as the
// screen draws them: every page comes out, with the standard loaded for the symbols among them.
TEST_F(PrintJobTest, RecordsHoldingAnyNumberOutsideTheirPositionsPrint) {
    std::filesystem::copy_file(std::filesystem::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus",
                               t.programFolder.Path() / "电子图式.tus");
    for (double bad : AbsurdValues())
        for (int type = 1; type < 100; ++type)
            if (TakesAbsurdSizesAlone(type)) Add(type, 0, 0) = RecordHoldingAbsurdSizes(type, bad);
    Geometry(100, -100, 6);
    Run();
    EXPECT_FALSE(printer.pages.empty());
    EXPECT_EQ(app.symbolStandard.SymbolStandardLoaded, -1);
}

TEST_F(PrintJobTest, PageCountsBeyondTheTableOfColoursWrapAround) {
    // A long strip: 300 pages in one row.
    Add(2, 0, 100, 300 * 0.9 - 0.5, 100);
    Geometry(1, -1, 6);
    app.printOptions.TrueFrameFlag = 0;
    Run();
    EXPECT_EQ(printer.pages.size(), 300u);
    const auto frames = HatchedFrames();
    ASSERT_EQ(frames.size(), 300u);
    EXPECT_EQ(frames[255].fillColor, app.tables.ColorPalette[0]);
    EXPECT_EQ(frames[256].fillColor, app.tables.ColorPalette[1]);
}

TEST(PrintFootnoteTest, ThePrintScaleIsRoundedToThreeDecimals) {
    EXPECT_EQ(FootnoteText(1000, "2024-5-17"), "打印比例1/1000日期：2024-5-17");
    EXPECT_EQ(FootnoteText(500.25f, "d"), "打印比例1/500.25日期：d");
    EXPECT_EQ(FootnoteText(2.0005f, "d"), "打印比例1/2日期：d");  // 2.0005 is 2.00049996 in single precision
}

}  // namespace
}  // namespace movra
