#include "printing/PrintJob.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "display/LineSink.h"
#include "document/RecordPositions.h"
#include "platform/PictureBox.h"
#include "printing/PagePointSymbols.h"
#include "printing/PaperTable.h"
#include "printing/PrintOptions.h"
#include "printing/PrintPage.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr int RangeWhole = 6;
constexpr int RangeScreen = 7;
constexpr int RangeSelected = 8;

// The part of a page window kept as a band on each side of its cell.
constexpr double Band = 0.05;

// A job of more pages than this asks before it starts: a page of a few millimetres, or a
// margin that leaves a sliver of paper, would otherwise send thousands of pages.
constexpr int PagesAskedAbout = 300;
// The page number is a 16-bit count: a job cannot print more pages than this.
constexpr int MostPages = 32767;

// Counting stops once the count passes what the job can print.
struct TooManyPages {};

// One print job: the page geometry of the options and the surfaces it draws on. A counting job
// cuts the same pages without drawing or printing anything, so the job can say beforehand how
// many there will be.
struct Job {
    App& app;
    Surface& canvas;
    Printer& printer;
    PrintDialogState& s;
    double W, H, SX, SY;
    bool counting = false;
    int counted = 0;

    // True (and counted) when the page is only counted.
    bool OnlyCounted() {
        if (!counting) return false;
        if (++counted > MostPages) throw TooManyPages{};
        return true;
    }

    // Pages can be cut only with a page of some size that steps right and down. A zero print
    // scale gives steps of 0, which would cut the same page for ever.
    bool CanCut() const {
        return std::isfinite(W) && std::isfinite(H) && std::isfinite(SX) && std::isfinite(SY) && W > 0 && H < 0 &&
               SX > 0 && SY < 0;
    }

    // The next page's number; past the 16-bit count the job ends with an overflow.
    void CountPage() { s.PageCount = ToInt16(static_cast<double>(s.PageCount) + 1); }
    Rgb PageColor() const { return app.tables.ColorPalette[static_cast<unsigned>(s.PageCount) % 256]; }

    // A page of the whole drawing or of the screen: its window and its hatched step box on the
    // canvas, the printer's window moved to it, then the page.
    void PageStep(double x, double y, OuterSides outer = {}) {
        if (OnlyCounted()) return;
        CountPage();
        const double wx = x - Band * W, wy = y - Band * H;
        const Rgb frame = app.current.CurrentColor;
        canvas.SetFillStyle(FillStyleTransparent);
        canvas.Line(wx, wy, wx + W, wy + H, frame, LineShape::Box);
        canvas.SetFillStyle(FillStyleDownwardDiagonal);
        canvas.SetFillColor(PageColor());
        canvas.Line(wx, wy, wx + SX, wy + SY, frame, LineShape::Box);
        Surface& page = printer.Page();
        page.SetScale(wx, wy, page.ScaleWidth(), page.ScaleHeight());
        s.PageWindowLeft = page.ScaleLeft();
        s.PageWindowTop = page.ScaleTop();
        PrintPage(app, x, y, outer);
    }

    // A page of a picked range: its window hatched in red on the canvas, then the page.
    void RangePage(double x, double y) {
        if (OnlyCounted()) return;
        CountPage();
        canvas.SetFillColor(PageColor());
        const double wx = x - Band * W, wy = y - Band * H;
        canvas.Line(wx, wy, wx + W, wy + H, app.tables.ColorPalette[1], LineShape::Box);
        PrintPage(app, x, y);
    }
};

void SetPointer(App& app, int pointer) {
    if (app.printDialog) app.printDialog->MousePointer = pointer;
}

// The whole drawing, row by row from the top: a row holds the pages whose cell starts at or
// before the right edge; a further row follows while its window's top is not below the bottom.
// The pages on the drawing's outer edges print out to their windows' edges there.
void CutWholeDrawing(Job& job) {
    PrintedExtents e;
    if (!MeasurePrintedExtents(job.app, e)) return;
    SetPointer(job.app, PointerHourglass);
    job.s.RangeLeft = e.MinX - Band * job.W;
    job.s.RangeTop = e.MaxY - Band * job.H;
    job.s.RangeRight = e.MaxX + Band * job.W;
    job.s.RangeBottom = e.MinY + Band * job.H;
    if (!job.CanCut()) return;
    auto columnFollows = [&](double x) { return x < e.MaxX && !(x + job.SX > e.MaxX); };
    auto rowFollows = [&](double y) { return !(y - Band * job.H <= e.MinY) && !(y + job.SY - Band * job.H < e.MinY); };
    for (double y = e.MaxY;; y += job.SY) {
        const bool lastRow = !rowFollows(y);
        for (double x = e.MinX;; x += job.SX) {
            const bool lastColumn = !columnFollows(x);
            job.PageStep(x, y, {.west = x == e.MinX, .north = y == e.MaxY, .east = lastColumn, .south = lastRow});
            if (lastColumn) break;
        }
        if (lastRow) break;
    }
}

// The canvas's window: one page at its top-left corner, however large the window is.
void CutScreen(Job& job) {
    SetPointer(job.app, PointerHourglass);
    const PictureBox& canvas = job.app.form1->Picture1;
    const double x = canvas.ScaleLeft(), y = canvas.ScaleTop();
    job.s.RangeLeft = x;
    job.s.RangeTop = y;
    job.s.RangeRight = x + canvas.ScaleWidth();
    job.s.RangeBottom = y + canvas.ScaleHeight();
    if (job.CanCut()) job.PageStep(x, y);
}

// The ranges picked on the canvas, each cut into pages row by row from its top-left corner.
void PrintSelectedRanges(Job& job) {
    App& app = job.app;
    Prompt& prompt = app.platform.prompt();
    const float n = app.store.Get(0, Layer0Slots::PrintRangeFirst).RecordZ3;
    if (n == 0 && !job.counting) prompt.MsgBox("范围未选。在“打印二级菜单_打印选范围“下屏选");
    const double paperMm = app.printOptions.PrintScale / 1000.0;
    for (int i = 0; i <= n - 1; ++i) {
        const MapRecord& r = app.store.Get(0, Layer0Slots::PrintRangeFirst + i);
        PrintDialogState& s = job.s;
        s.RangeLeft = r.RecordX1;
        s.RangeTop = r.RecordY1;
        s.RangeRight = r.RecordX2;
        s.RangeBottom = r.RecordY2;
        if (std::fabs(s.RangeLeft - s.RangeRight) < paperMm || std::fabs(s.RangeBottom - s.RangeTop) < paperMm) {
            if (!job.counting)
                prompt.MsgBox(std::string("有一块范围小，不打印！") + app.settings.LineBreak + "请按确定，继续下一块。");
            continue;
        }
        SetPointer(app, PointerHourglass);
        // A range is cut from its corner exactly.
        double x = s.RangeLeft, y = s.RangeTop;
        job.canvas.SetFillStyle(FillStyleDownwardDiagonal);
        if (!job.CanCut()) continue;
        job.RangePage(x, y);
        for (;;) {
            while (x < s.RangeRight) {
                x += job.SX;
                if (x > s.RangeRight) break;
                job.RangePage(x, y);
            }
            if (!(y > s.RangeBottom)) break;
            y += job.SY;
            if (y < s.RangeBottom) break;
            x = s.RangeLeft;
            job.RangePage(x, y);
        }
    }
    job.canvas.SetFillStyle(FillStyleTransparent);
}

// Ends the document and tells the page count, and, where the printer writes a file, the file
// written. A document that cannot be written raises here, before any success is told.
void Finish(Job& job) {
    const bool wroteFile = job.printer.WritesFile() && job.printer.DocumentOpen();
    job.printer.EndDoc();
    job.printer.SetTrackDefault(true);
    job.canvas.SetFillStyle(FillStyleTransparent);
    SetPointer(job.app, PointerCross);
    std::string told = std::to_string(job.s.PageCount) + "页，好了，结束。";
    if (wroteFile) told += job.app.settings.LineBreak + "已写入文件：" + job.printer.OutputFile();
    job.app.platform.prompt().MsgBox(told);
}

void CutRange(Job& job) {
    switch (job.app.printOptions.PrintRange) {
        case RangeWhole: CutWholeDrawing(job); break;
        case RangeScreen: CutScreen(job); break;
        case RangeSelected: PrintSelectedRanges(job); break;
        default: break;
    }
}

// The pages the job will cut, counted without printing; MostPages + 1 when there are more than
// it can print. The range edges the cut sets are set again by the real cut.
int CountPages(const Job& real) {
    Job job = real;
    job.counting = true;
    try {
        CutRange(job);
    } catch (const TooManyPages&) {
    }
    return job.counted;
}

// A page with no ground to show, or a job larger than any a user means to print, is refused
// with a message; a large one asks first. True when the job may go on.
bool PageSizeAccepted(Job& job) {
    Prompt& prompt = job.app.platform.prompt();
    const PrintOptions& o = job.app.printOptions;
    if (!job.CanCut()) {
        if (!(o.PrintScale > 0)) prompt.MsgBox("打印比例尺不对，未打印。", MsgExclamation);
        else prompt.MsgBox("裁边不小于纸张，纸上没有可打印的地方，未打印。", MsgExclamation);
        return false;
    }
    if (job.s.PreviewFlag == -1) return true;  // a preview only frames the pages and counts them
    const int pages = CountPages(job);
    if (pages > MostPages) {
        prompt.MsgBox("要打印的页数超过" + std::to_string(MostPages) + "页，未打印。" + job.app.settings.LineBreak +
                          "请调整比例尺、纸张或裁边。",
                      MsgExclamation);
        return false;
    }
    if (pages > PagesAskedAbout)
        return prompt.MsgBox("这次要打印" + std::to_string(pages) + "页，要打印吗？", MsgYesNo + MsgQuestion) ==
               AnswerYes;
    return true;
}

// Where a printer writes a file, the user chooses it: by default the map's own name with
// ".pdf", in the map's folder. False when the user cancels.
bool ChooseOutputFile(App& app) {
    Printer& printer = app.platform.printer();
    if (!printer.WritesFile()) return true;
    const std::string& map = app.current.CurrentFilePath;
    FileDialogRequest request;
    request.title = "打印到PDF文件";
    request.filter = "PDF 文件|*.pdf";
    request.overwritePrompt = true;
    if (map.empty()) {
        request.initialDir = app.platform.folders().DesktopFolder();
        request.fileName = "未命名.pdf";
    } else {
        std::string name = FileNameOf(map);
        const size_t folderEnd = map.size() - name.size();  // just past the last separator
        request.initialDir = folderEnd > 0 ? map.substr(0, folderEnd - 1) : std::string();
        const size_t dot = name.find_last_of('.');
        if (dot != std::string::npos && dot > 0) name.erase(dot);
        request.fileName = name + ".pdf";
    }
    const FileDialogResult chosen = app.platform.dialogs().ShowSave(request);
    if (chosen.cancelled || chosen.fileName.empty()) return false;
    printer.SetOutputFile(WithDefaultExtension(chosen.fileName, ".pdf"));
    return true;
}

Job MakeJob(App& app) {
    const PrintOptions& o = app.printOptions;
    return Job{app, MainCanvas(app), app.platform.printer(), app.printState,
               o.PageGroundWidth, o.PageGroundHeight, o.PageStepX, o.PageStepY};
}

}  // namespace

void StartPrinting(App& app) {
    if (app.printState.DefaultPrinterChosen != -1) {
        const std::string& br = app.settings.LineBreak;
        app.platform.prompt().MsgBox("打印机未设置好！" + br + "请在windows中设当前打印机为默认打印机！" + br + "再选！");
        app.printState.PreviewFlag = 0;
        return;
    }
    ReadPrintOptions(app);
    RunPrintJob(app);
}

void PreviewPrinting(App& app) {
    app.printState.PreviewFlag = -1;
    if (app.printDialog) app.printDialog->Hide();
    StartPrinting(app);
    app.printState.PreviewFlag = 0;
}

void RunPrintJob(App& app) {
    PrintDialogState& s = app.printState;
    Printer& printer = app.platform.printer();
    s.SymbolFailureTold = false;
    try {
        if (!app.form1) Raise(ErrObjectRequired);
        const PictureBox& picture = app.form1->Picture1;
        if (picture.Width() == 0) Raise(ErrDivisionByZero);
        app.view.DisplayScaleDenominator = app.work.ScreenTwipsPerMetre * picture.ScaleWidth() / picture.Width();

        const PrintOptions& o = app.printOptions;
        Job job = MakeJob(app);
        // The file is asked for once the page settings were accepted, so that a job refused or
        // declined asks for none; a preview writes nothing.
        if (!PageSizeAccepted(job) || (s.PreviewFlag != -1 && !ChooseOutputFile(app))) {
            s.PreviewFlag = 0;
            return;
        }
        printer.SetPaperSize(ToInt16(PaperCodeForName(o.PaperName)));
        printer.SetColorMode(o.PrintColorMode);
        printer.SetOrientation(o.PrintOrientation);
        // The page window is the paper less the margins the options took off its size, so that
        // a ground metre prints at the print scale.
        printer.SetPageMargins(o.MarginD * 1000, o.MarginC * 1000);
        Surface& page = printer.Page();
        if (job.CanCut()) page.SetScale(page.ScaleLeft(), page.ScaleTop(), job.W, job.H);
        s.PrinterScaleWidth = page.ScaleWidth();
        s.TwipsPerGroundUnit = s.PageWidthTwips / s.PrinterScaleWidth;

        job.canvas.SetDrawWidth(2);
        page.SetDrawMode(DrawModeCopyPen);
        printer.SetCopies(1);
        printer.SetPrintQuality(ToInt16(o.PrintQuality));
        s.PageCount = 0;
        job.canvas.SetDrawMode(DrawModeCopyPen);

        StartPrintedSymbols(app, s.PreviewFlag != -1 && s.PaperMismatchFlag != -1);
        CutRange(job);
        Finish(job);
        if (s.PaperMismatchFlag == -1)
            app.platform.prompt().MsgBox("纸规格不附合，未打印。\n\r必要时调整打印机；\n\r或系统中调整纸型号。");
        s.PreviewFlag = 0;
    } catch (...) {
        // A failure a symbol already told (the file that cannot be written) is told once.
        const RuntimeError error = CurrentRuntimeError();
        if (!SymbolFailureToldInJob(app, error)) ShowRuntimeError(app.platform.prompt(), error);
        // The pages printed so far are abandoned: a document left open would hold up the next job.
        GuardSilently([&] { printer.KillDoc(); });
        GuardSilently([&] { printer.SetTrackDefault(true); });
        GuardSilently([&] { MainCanvas(app).SetFillStyle(FillStyleTransparent); });
        s.PreviewFlag = 0;
    }
}


bool MeasurePrintedExtents(const App& app, PrintedExtents& e) {
    const RecordStore& store = app.store;
    bool any = false;
    auto take = [&](double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!any) {
            e = {x, y, x, y};
            any = true;
            return;
        }
        e.MinX = std::min(e.MinX, x);
        e.MaxX = std::max(e.MaxX, x);
        e.MinY = std::min(e.MinY, y);
        e.MaxY = std::max(e.MaxY, y);
    };
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= lastLayer; ++layer) {
        if (store.LayerOnFlag[layer] != -1 || store.Count(layer) < 1) continue;
        const int lastSlot = std::min<int>(store.Count(layer), store.LayerCapacity);
        for (int slot = 0; slot <= lastSlot; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (r.RecordType == 0 || r.RecordType >= 100) continue;
            ForEachPosition(r, take);
        }
    }
    return any;
}

}  // namespace movra
