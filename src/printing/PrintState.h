#pragma once
// The print settings of the run and the print dialog's own variables: plain data, shared by the
// dialog, the print job and the page renderer.

#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

// What the print dialog's options were when printing last started; kept for the whole run.
struct PrintOptions {
    double PageStepY = 0;         // 0.9 x PageGroundHeight: from one row of pages to the next (negative)
    double PageStepX = 0;         // 0.9 x PageGroundWidth: from one page to the next in a row
    double PageGroundHeight = 0;  // ground height of a page window, negative (y grows upwards)
    double PageGroundWidth = 0;   // ground width of a page window
    double MarginC = 0;           // length margin in metres
    double MarginD = 0;           // width margin in metres
    std::string PaperName;        // the paper box trimmed; the dialog shows it again on loading
    float PrintScale = 0;         // print scale denominator
    std::uint8_t PrintRange = 0;  // 6 the whole drawing, 7 the screen, 8 the picked ranges
    std::uint8_t PrintColorMode = 0;    // 1 black and white, 2 colour
    std::uint8_t PrintOrientation = 0;  // 1 portrait, 2 landscape
    std::int16_t TrueFrameFlag = 0;     // -1: frame each page cell in red
    float PrintQuality = 0;             // -1 low, -3 medium, -4 high
};

// The dialog's variables while options are read, pages cut and pages printed.
struct PrintDialogState {
    double PageWidthTwips = 0;      // the printer's page width when the options were read
    double PrinterScaleWidth = 0;   // the page window's width as the printer took it
    double PageWindowLeft = 0;      // the page window's corner as the printer took it
    double PageWindowTop = 0;
    double TwipsPerGroundUnit = 0;  // PageWidthTwips / PrinterScaleWidth
    std::int16_t PageCount = 0;     // the page being printed; 0 at the start of a job
    std::int16_t PreviewFlag = 0;   // -1 while a preview frames pages without printing
    std::int16_t PaperMismatchFlag = 0;  // -1 when the printer refused the paper: no page prints
    // Where the page being printed prints its records, the clip rectangle of everything on it
    // (ground metres): its cell, reaching out to the page window's edge on a side where no page
    // of the job follows.
    double CellLeft = 0, CellRight = 0, CellTop = 0, CellBottom = 0;
    // The range being cut into pages. Held in double precision like every ground coordinate: at
    // survey coordinates a single-precision edge would be off by a good part of a metre.
    double RangeLeft = 0, RangeTop = 0, RangeRight = 0, RangeBottom = 0;
    Rgb LineColor = 0;  // the colour of the record being printed
    double MetresPerPaperMm = 0;        // PrintScale / 1000
    double PrintToMapRatio = 0;         // PrintScale / map scale denominator
    double MapToPrintRatio = 0;         // map scale denominator / PrintScale
    double ScaledMetresPerPaperMm = 0;  // MetresPerPaperMm x PrintToMapRatio
    std::int16_t DefaultPrinterChosen = 0;  // -1 once the default printer was double-clicked
    // The failure of a symbol the job told, the first only, so that the job does not tell the
    // same failure again when it ends with it (a file that cannot be written).
    bool SymbolFailureTold = false;
    std::int32_t SymbolFailureNumber = 0;
    std::string SymbolFailureText;
    // Where the dashed line with width stands: the end of the last dashed segment and what of its
    // period is still to come there. Kept for the run, so a chain's rhythm crosses its records.
    double DashChainEndX = 0, DashChainEndY = 0;
    double DashCarry = 0;
};

}  // namespace movra
