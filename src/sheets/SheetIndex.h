#pragma once
// The sheet index "索引卷.jdx" in the output folder: a compact map file whose head carries one
// frame, at the first sheet entered, and then two records per sheet in layer 1 under one slot
// number: its outline (type 3, the west and south edges, so that all outlines draw the grid) and
// its number (type 68, pen 200, beside the west edge).
#include <cstdint>
#include <memory>
#include <string>

#include "document/FileRecord.h"

namespace movra {

struct App;
struct SheetWriteContext;
class AppendableMapFile;

inline constexpr const char* SheetIndexName = "索引卷.jdx";
inline constexpr std::uint8_t SheetNumberPen = 200;

// Enters the sheet with corner (x0, y0), side S and the given number. True when the index was
// written; an index that cannot be written, or a file of that name that is not a compact map
// file, is left as it was and told to the context's `failed`.
bool AppendToSheetIndex(App& app, double x0, double y0, double side, const std::string& number,
                        const SheetWriteContext& context);

// Entries gathered for the index and written into it at once: the same file as entering them one
// by one, for one write and one sync rather than one per sheet. The index is looked at when the
// first entry comes; it must not be written otherwise until Commit. Should the output folder
// change between entries, the entries so far are written into the old folder's index first.
class SheetIndexBatch {
public:
    SheetIndexBatch(App& app, const SheetWriteContext& context);
    ~SheetIndexBatch();
    SheetIndexBatch(const SheetIndexBatch&) = delete;
    SheetIndexBatch& operator=(const SheetIndexBatch&) = delete;

    // Enters a sheet. False, and told to the context's `failed`, when the index is not a compact
    // map file or the entry cannot be made.
    bool Add(double x0, double y0, double side, const std::string& number);
    // Writes the index with the entries added since the last Commit; every entry that could not be
    // written is told to the context's `failed`. The number of such entries.
    int Commit();

private:
    App& app_;
    const SheetWriteContext& context_;
    std::string path_;
    std::unique_ptr<AppendableMapFile> file_;
    FileRecord header_;
    // From the map's origin to the one an earlier run's index was written from.
    double shiftX_ = 0, shiftY_ = 0;
    int pending_ = 0;
};

}  // namespace movra
