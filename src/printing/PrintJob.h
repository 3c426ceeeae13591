#pragma once

namespace movra {

struct App;

// "开始打印": refuses until the default printer was chosen in the dialog; then reads the
// options and runs the job.
void StartPrinting(App& app);
// "打印预览": hides the dialog and runs the start command with pages framed on the canvas only.
void PreviewPrinting(App& app);

// The print job: once the page settings are accepted, where the printer writes a file (the PDF
// printer) and this is no preview, asks which file, by default the map's name with ".pdf" in its
// folder (a cancel prints nothing); sets the printer up once, cuts the chosen range into pages (the whole drawing,
// the screen, or the ranges picked on the canvas through PrintSelectedRanges), frames each page
// on the canvas and hands it to PrintPage, then ends the document and reports the page count
// (and the file written). A failure shows its box and abandons the printer's document. A page
// with no ground to show is refused with a message; a job of more than a few hundred pages
// asks first, and one of more pages than a job can count is refused.
void RunPrintJob(App& app);

// The box of the printed records: every position vertex of every record that is neither empty
// nor deleted, on each layer that prints (on, with a count of 2 or more). False when there is none.
struct PrintedExtents {
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};
bool MeasurePrintedExtents(const App& app, PrintedExtents& extents);

}  // namespace movra
