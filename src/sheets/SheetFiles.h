#pragma once
// One compact map file per sheet, in SheetOutputFolder, named after the sheet's number. A new sheet
// file holds the header (its window the sheet widened by 80 paper millimetres on every side), the
// layer table, the sheet's frame and the records the sheet takes (SheetPlacement.h), and ends with
// the compact file's end record; a later run adds its records behind those there. Every new sheet
// file gets its outline and number in the sheet index (SheetIndex.h).
#include <functional>
#include <string>

namespace movra {

struct App;
class AppendableMapFile;

// What the sheet division window gives the sheet writers.
struct SheetWriteContext {
    // The map extent: the window of the index's header.
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    // Shows a text as the window's caption while a file is written; may be empty.
    std::function<void(const std::string&)> setCaption;
};

// The caption of the sheet division window while it writes.
inline constexpr const char* SheetWriteCaption = "Movra_保存分幅";
// Paper millimetres the header's window reaches beyond the sheet on every side.
inline constexpr double SheetHeaderMargin = 80;

// The sheet's number from its lower-left corner in true coordinates: northing, ".", "-", easting, each the kilometres
// within 100 km with two decimals ("56.00-12.00").
std::string SheetNumber(double x0, double y0);
// The sheet file's name: the number's digits without separators and ".jdx" ("56001200.jdx").
std::string SheetFileName(double x0, double y0);
// A file of the output folder (whose stored name may end with "\" or "/").
std::string SheetOutputPath(const App& app, const std::string& fileName);

// The head of a new sheet file or index: the layer table and the frame at the corner (x0, y0).
void AddSheetFileHead(const App& app, AppendableMapFile& file, double x0, double y0);

// Writes the sheet with corner (x0, y0) and side S into its file, or adds to the file an earlier
// run wrote, and enters a new file in the sheet index. True when the file was written. A sheet
// whose name is taken by something else than a compact map file, or that cannot be written, is
// skipped without a message and leaves the old file whole. The canvas shows the busy pointer
// while it writes and the cross-hair again on every way out.
bool SaveSheet(App& app, double x0, double y0, double side, const SheetWriteContext& context = {});

}  // namespace movra
