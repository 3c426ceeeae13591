#pragma once
// One compact map file per sheet, in SheetOutputFolder, named after the sheet's number. A new sheet
// file holds the header (its window the sheet widened by 80 paper millimetres on every side), the
// layer table, the sheet's frame and the records the sheet takes (SheetPlacement.h), and ends with
// the compact file's end record; a later run adds its records behind those there. Every new sheet
// file gets its outline and number in the sheet index (SheetIndex.h).
#include <functional>
#include <string>
#include <vector>

namespace movra {

struct App;
struct FileRecord;
class AppendableMapFile;
class PendingFolderSyncs;
class SheetIndexBatch;
struct RecordPlace;

// A file the sheet writers could not write: the old file, if any, is as it was.
struct SheetWriteFailure {
    std::string path;
    std::string reason;
    bool index = false;  // the sheet index (the sheet's own file was written)
};

// What the sheet division window gives the sheet writers.
struct SheetWriteContext {
    // The map extent: the window of the index's header.
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    // Shows a text as the window's caption while a file is written; may be empty.
    std::function<void(const std::string&)> setCaption;
    // Told of every sheet file or index entry that could not be written, and why; may be empty.
    std::function<void(const SheetWriteFailure&)> failed;
    // When set, the folders the files go to are synced through it by the caller, once after the
    // last file, rather than after every file.
    PendingFolderSyncs* folderSyncs = nullptr;
    // When set, new sheets are entered into it, and the caller writes the index once at the end.
    SheetIndexBatch* index = nullptr;
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

// What moves a position of the map to the origin an earlier run's sheet file or index was written
// from (its header's reduction offsets): nothing unless the map was reduced, or opened unreduced,
// since. Appended records are moved by it so that they add to the same ground as those there.
struct OriginShift {
    double x = 0, y = 0;
    bool Moves() const { return x != 0 || y != 0; }
};
OriginShift ShiftToFileOrigin(const App& app, const FileRecord& fileHeader);

// Writes the sheet with corner (x0, y0) and side S into its file, or adds to the file an earlier
// run wrote, and enters a new file in the sheet index. True when the file was written. A sheet
// whose name is taken by something else than a compact map file, or that cannot be written, is
// skipped and leaves the old file whole; it and an index that cannot be written are told to the
// context's `failed`. The canvas shows the busy pointer
// while it writes and the cross-hair again on every way out.
bool SaveSheet(App& app, double x0, double y0, double side, const SheetWriteContext& context = {});
// The same with the sheet's records already sorted out (SortRecordsIntoSheets), in the order the
// file takes them.
bool SaveSheet(App& app, double x0, double y0, double side, const std::vector<RecordPlace>& records,
               const SheetWriteContext& context = {});
// Passes a failure on to the context's `failed`, when it has one.
void TellSheetFailure(const SheetWriteContext& context, const std::string& path, const std::string& reason, bool index);

}  // namespace movra
