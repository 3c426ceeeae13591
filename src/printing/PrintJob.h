#pragma once

namespace movra {

struct App;

// "开始打印": refuses until the default printer was chosen in the dialog, then reads the options
// and runs the job.
void StartPrinting(App& app);
// "打印预览": hides the dialog and runs the start command with pages framed on the canvas only.
void PreviewPrinting(App& app);

// The print job: sets the printer up once, cuts the chosen range into pages (the whole drawing,
// the screen or the picked ranges), frames each page on the canvas and hands it to PrintPage,
// then ends the document and reports the page count. A failure shows its box and abandons the
// printer's document. Steps that are zero or not finite cut no page.
void RunPrintJob(App& app);
// Cuts each range picked on the canvas into pages, row by row from its top-left corner.
void PrintSelectedRanges(App& app);

// The box of the printed records: every position vertex of every record that is neither empty
// nor deleted, on each layer that prints (on, with a count of 2 or more). False when there is none.
struct PrintedExtents {
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};
bool MeasurePrintedExtents(const App& app, PrintedExtents& extents);

}  // namespace movra
