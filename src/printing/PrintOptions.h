#pragma once

namespace movra {

struct App;

// The default margins in metres: the narrow one off the paper's width in portrait (off its
// length in landscape), the wide one off the other side.
constexpr double NarrowMargin = 5.795 / 1000;
constexpr double WideMargin = 17.795 / 1000;

// Turns the print dialog's controls into the print options: paper, colour mode, orientation
// and margins (applied to the printer), the page width in twips, the print scale, the page's
// ground size and the steps between pages, the range kind, the true-frame flag and the quality.
// A failure ends the reading where it stands (the rest keeps its earlier values), silently.
void ReadPrintOptions(App& app);

// The page renderer's scale factors from the print scale and the map's scale denominator.
// A failure ends it silently; factors not yet computed keep their values.
void ComputePrintScaleFactors(App& app);

}  // namespace movra
