#include "printing/PrintJob.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "document/RecordPositions.h"
#include "platform/PictureBox.h"
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

// One print job: the page geometry of the options and the surfaces it draws on.
struct Job {
    App& app;
    Surface& canvas;
    Printer& printer;
    PrintDialogState& s;
    double W, H, SX, SY;

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
    void PageStep(double x, double y) {
        CountPage();
        const double wx = x - Band * W, wy = y - Band * H;
        const Rgb frame = app.current.CurrentColor;
        canvas.SetFillStyle(FillStyleTransparent);
        canvas.Line(wx, wy, wx + W, wy + H, frame, LineShape::Box);
        canvas.SetFillStyle(FillStyleDownwardDiagonal);
        canvas.SetFillColor(PageColor());
        canvas.Line(wx, wy, wx + SX, wy + SY, frame, LineShape::Box);
        Surface& page = printer.Page();
        page.SetScale(static_cast<float>(wx), static_cast<float>(wy), page.ScaleWidth(), page.ScaleHeight());
        s.PageWindowLeft = page.ScaleLeft();
        s.PageWindowTop = page.ScaleTop();
        PrintPage(app, x, y);
    }

    // A page of a picked range: its window hatched in red on the canvas, then the page.
    void RangePage(double x, double y) {
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
void CutWholeDrawing(Job& job) {
    PrintedExtents e;
    if (!MeasurePrintedExtents(job.app, e)) return;
    SetPointer(job.app, PointerHourglass);
    double x = e.MinX, y = e.MaxY;
    job.s.RangeLeft = static_cast<float>(x - Band * job.W);
    job.s.RangeTop = static_cast<float>(y - Band * job.H);
    job.s.RangeRight = static_cast<float>(e.MaxX + Band * job.W);
    job.s.RangeBottom = static_cast<float>(e.MinY + Band * job.H);
    if (!job.CanCut()) return;
    job.PageStep(x, y);
    for (;;) {
        while (x < e.MaxX) {
            x += job.SX;
            if (x > e.MaxX) break;
            job.PageStep(x, y);
        }
        if (y - Band * job.H <= e.MinY) break;
        y += job.SY;
        if (y - Band * job.H < e.MinY) break;
        x = e.MinX;
        job.PageStep(x, y);
    }
}

// The canvas's window: one page at its top-left corner, however large the window is.
void CutScreen(Job& job) {
    SetPointer(job.app, PointerHourglass);
    const PictureBox& canvas = job.app.form1->Picture1;
    const double x = canvas.ScaleLeft(), y = canvas.ScaleTop();
    job.s.RangeLeft = static_cast<float>(x);
    job.s.RangeTop = static_cast<float>(y);
    job.s.RangeRight = static_cast<float>(x + canvas.ScaleWidth());
    job.s.RangeBottom = static_cast<float>(y + canvas.ScaleHeight());
    if (job.CanCut()) job.PageStep(x, y);
}

void CutSelectedRanges(Job& job) {
    App& app = job.app;
    Prompt& prompt = app.platform.prompt();
    const float n = app.store.Get(0, Layer0Slots::PrintRangeFirst).RecordZ3;
    if (n == 0) prompt.MsgBox("范围未选。在“打印二级菜单_打印选范围“下屏选");
    const double paperMm = app.printOptions.PrintScale / 1000.0;
    for (int i = 0; i <= n - 1; ++i) {
        const MapRecord& r = app.store.Get(0, Layer0Slots::PrintRangeFirst + i);
        PrintDialogState& s = job.s;
        s.RangeLeft = static_cast<float>(r.RecordX1);
        s.RangeTop = static_cast<float>(r.RecordY1);
        s.RangeRight = static_cast<float>(r.RecordX2);
        s.RangeBottom = static_cast<float>(r.RecordY2);
        if (std::fabs(s.RangeLeft - s.RangeRight) < paperMm || std::fabs(s.RangeBottom - s.RangeTop) < paperMm) {
            prompt.MsgBox(std::string("有一块范围小，不打印！") + app.settings.LineBreak + "请按确定，继续下一块。");
            continue;
        }
        SetPointer(app, PointerHourglass);
        // A range is cut from its corner exactly, in single precision.
        float x = s.RangeLeft, y = s.RangeTop;
        job.canvas.SetFillStyle(FillStyleDownwardDiagonal);
        if (!job.CanCut()) continue;
        job.RangePage(x, y);
        for (;;) {
            while (x < s.RangeRight) {
                x = static_cast<float>(x + job.SX);
                if (x > s.RangeRight) break;
                job.RangePage(x, y);
            }
            if (!(y > s.RangeBottom)) break;
            y = static_cast<float>(y + job.SY);
            if (y < s.RangeBottom) break;
            x = s.RangeLeft;
            job.RangePage(x, y);
        }
    }
    job.canvas.SetFillStyle(FillStyleTransparent);
}

void Finish(Job& job) {
    job.printer.EndDoc();
    job.printer.SetTrackDefault(true);
    job.canvas.SetFillStyle(FillStyleTransparent);
    SetPointer(job.app, PointerCross);
    job.app.platform.prompt().MsgBox(std::to_string(job.s.PageCount) + "页，好了，结束。");
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
    try {
        if (!app.form1) Raise(ErrObjectRequired);
        const PictureBox& picture = app.form1->Picture1;
        if (picture.Width() == 0) Raise(ErrDivisionByZero);
        app.view.DisplayScaleDenominator = app.work.ScreenTwipsPerMetre * picture.ScaleWidth() / picture.Width();

        const PrintOptions& o = app.printOptions;
        Job job = MakeJob(app);
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

        switch (o.PrintRange) {
            case RangeWhole: CutWholeDrawing(job); break;
            case RangeScreen: CutScreen(job); break;
            case RangeSelected: CutSelectedRanges(job); break;
            default: break;
        }
        Finish(job);
        if (s.PaperMismatchFlag == -1)
            app.platform.prompt().MsgBox("纸规格不附合，未打印。\n\r必要时调整打印机；\n\r或系统中调整纸型号。");
        s.PreviewFlag = 0;
    } catch (...) {
        ShowRuntimeError(app.platform.prompt(), CurrentRuntimeError());
        // The pages printed so far are abandoned: a document left open would hold up the next job.
        GuardSilently([&] { printer.KillDoc(); });
        GuardSilently([&] { printer.SetTrackDefault(true); });
        GuardSilently([&] { MainCanvas(app).SetFillStyle(FillStyleTransparent); });
        s.PreviewFlag = 0;
    }
}

void PrintSelectedRanges(App& app) {
    Job job = MakeJob(app);
    CutSelectedRanges(job);
    Finish(job);
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
        if (store.LayerOnFlag[layer] != -1 || store.Count(layer) < 2) continue;
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
