#pragma once
// The sheet index "索引卷.jdx" in the output folder: a compact map file whose head carries one
// frame, at the first sheet entered, and then two records per sheet in layer 1 under one slot
// number: its outline (type 3, the west and south edges, so that all outlines draw the grid) and
// its number (type 68, pen 200, beside the west edge).
#include <cstdint>
#include <string>

namespace movra {

struct App;
struct SheetWriteContext;

inline constexpr const char* SheetIndexName = "索引卷.jdx";
inline constexpr std::uint8_t SheetNumberPen = 200;

// Enters the sheet with corner (x0, y0), side S and the given number. True when the index was
// written; an index that cannot be written, or a file of that name that is not a compact map
// file, is left as it was and told to the context's `failed`.
bool AppendToSheetIndex(App& app, double x0, double y0, double side, const std::string& number,
                        const SheetWriteContext& context);

}  // namespace movra
