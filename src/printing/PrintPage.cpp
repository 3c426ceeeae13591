#include "printing/PrintPage.h"

#include <cmath>
#include <ctime>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "platform/PictureBox.h"
#include "printing/PageRecords.h"
#include "printing/PrintOptions.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr double Band = 0.05;
}

std::string FootnoteText(float printScale, const std::string& date) {
    // Three decimals, halves to the even digit, in the shortest form (500, 1000, 2500.5).
    const double rounded = std::nearbyint(static_cast<double>(printScale) * 1000) / 1000;
    return "打印比例1/" + PlainNumberText(rounded) + "日期：" + date;
}

std::string ShortDateToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" +
           std::to_string(local.tm_mday);
}

void PrintPage(App& app, double x, double y, OuterSides outer) {
    PrintDialogState& s = app.printState;
    const PrintOptions& o = app.printOptions;
    if (s.PreviewFlag == -1 || s.PaperMismatchFlag == -1) return;
    Printer& printer = app.platform.printer();
    Surface& page = printer.Page();
    dayinfrm* dialog = app.printDialog.get();

    GuardSilently([&] { printer.SetTrackDefault(false); });
    GuardSilently([&] { page.SetDrawMode(DrawModeCopyPen); });
    ComputePrintScaleFactors(app);

    const double stepRight = x + static_cast<float>(o.PageStepX);
    const double cellRight = stepRight < s.RangeRight ? stepRight : s.RangeRight;
    const double stepBottom = y + static_cast<float>(o.PageStepY);
    const double cellBottom = stepBottom > s.RangeBottom ? stepBottom : s.RangeBottom;
    // No page takes over beyond an outer side: there the page prints out to its window's edge.
    const double windowLeft = x - Band * o.PageGroundWidth, windowTop = y - Band * o.PageGroundHeight;
    s.CellLeft = outer.west ? windowLeft : x;
    s.CellTop = outer.north ? windowTop : y;
    s.CellRight = outer.east ? windowLeft + o.PageGroundWidth : cellRight;
    s.CellBottom = outer.south ? windowTop + o.PageGroundHeight : cellBottom;

    GuardSilently([&] {
        if (dialog) dialog->SetCaption(printer.DeviceName() + "_" + std::to_string(s.PageCount));
    });
    GuardSilently([&] { printer.SetOrientation(o.PrintOrientation); });
    GuardSilently([&] {
        page.SetScale(windowLeft, windowTop, page.ScaleWidth(), page.ScaleHeight());
        s.PageWindowLeft = page.ScaleLeft();
        s.PageWindowTop = page.ScaleTop();
        page.SetScale(page.ScaleLeft(), page.ScaleTop(), static_cast<float>(o.PageGroundWidth),
                      static_cast<float>(o.PageGroundHeight));
    });
    if (o.TrueFrameFlag == -1) {
        GuardSilently([&] {
            page.SetDrawWidth(2);
            page.Line(x, y, cellRight, cellBottom, app.tables.ColorPalette[1], LineShape::Box);
        });
    }

    GuardSilently([&] { PrintPageRecords(app); });

    GuardSilently([&] {
        if (dialog) dialog->SetCaption("");
    });
    GuardSilently([&] {
        // The footnote hangs below the cell's full-size bottom edge, in the face and colour the
        // last record left.
        page.SetFont(page.FontName(), 8);
        page.SetCurrentX(x);
        page.SetCurrentY(y + o.PageStepY);
        page.Print(FootnoteText(o.PrintScale, ShortDateToday()));
    });
    // A printer that cannot take the page (a file that cannot be written) ends the job: its
    // failure goes to the job, which tells it.
    printer.NewPage();
    GuardSilently([&] {
        if (app.form1) app.form1->Picture1.SetMousePointer(PointerCross);
    });
}

}  // namespace movra
