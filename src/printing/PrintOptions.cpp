#include "printing/PrintOptions.h"

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "printing/PaperTable.h"
#include "printing/dayinfrm.h"

namespace movra {

namespace {
constexpr double TwipsPerMetre = TwipsPerPaperMm * 1000;
}

void ReadPrintOptions(App& app) {
    dayinfrm& dialog = PrintDialog(app);
    Printer& printer = app.platform.printer();
    PrintOptions& o = app.printOptions;
    GuardSilently([&] {
        printer.SetTrackDefault(false);
        o.PaperName = Trim(dialog.Text2.Text());
        if (dialog.Option9.Value()) o.PrintColorMode = ColorModeMonochrome;
        else if (dialog.Option10.Value()) o.PrintColorMode = ColorModeColor;
        double paperWidth = 0, paperLength = 0;
        const bool portrait = dialog.Option11.Value(), landscape = dialog.Option12.Value();
        if (portrait || landscape) {
            const int orientation = portrait ? OrientationPortrait : OrientationLandscape;
            printer.SetOrientation(orientation);
            printer.SetPaperSize(ToInt16(PaperCodeForName(o.PaperName)));
            o.PrintOrientation = static_cast<std::uint8_t>(orientation);
            o.MarginD = Val(dialog.Text6.Text()) / 1000;
            o.MarginC = Val(dialog.Text7.Text()) / 1000;
            // Only an empty width margin selects the defaults, and then for both sides.
            if (o.MarginD == 0) {
                o.MarginD = portrait ? NarrowMargin : WideMargin;
                o.MarginC = portrait ? WideMargin : NarrowMargin;
            }
            paperWidth = printer.Width() / TwipsPerMetre;
            paperLength = printer.Height() / TwipsPerMetre;
        }
        app.printState.PageWidthTwips = printer.Width();
        if (dialog.Option3.Value()) o.PrintScale = static_cast<float>(app.view.ProjectParams[0]);
        else if (dialog.Option4.Value()) o.PrintScale = static_cast<float>(app.view.DisplayScaleDenominator);
        else if (dialog.Option5.Value()) o.PrintScale = static_cast<float>(Val(dialog.Text5.Text()));
        o.PageGroundWidth = (paperWidth - o.MarginD) * o.PrintScale;
        o.PageGroundHeight = -(paperLength - o.MarginC) * o.PrintScale;
        o.PageStepX = 0.9 * o.PageGroundWidth;
        o.PageStepY = 0.9 * o.PageGroundHeight;
        if (dialog.Option6.Value()) o.PrintRange = 6;
        else if (dialog.Option7.Value()) o.PrintRange = 7;
        else if (dialog.Option8.Value()) o.PrintRange = 8;
        o.TrueFrameFlag = Flag(dialog.Check1.Value() == Checked);
        if (dialog.Option13.Value()) o.PrintQuality = -1;
        else if (dialog.Option14.Value()) o.PrintQuality = -3;
        else if (dialog.Option15.Value()) o.PrintQuality = -4;
    });
    GuardSilently([&] { printer.SetTrackDefault(true); });
}

void ComputePrintScaleFactors(App& app) {
    GuardSilently([&] {
        PrintDialogState& s = app.printState;
        const double printScale = app.printOptions.PrintScale;
        const double mapScale = app.view.ProjectParams[0];
        s.MetresPerPaperMm = printScale / 1000;
        if (mapScale == 0) Raise(ErrDivisionByZero);
        s.PrintToMapRatio = printScale / mapScale;
        if (printScale == 0) Raise(ErrDivisionByZero);
        s.MapToPrintRatio = mapScale / printScale;
        s.ScaledMetresPerPaperMm = s.MetresPerPaperMm * s.PrintToMapRatio;
    });
}

}  // namespace movra
