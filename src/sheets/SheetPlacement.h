#pragma once
// Which sheet of the grid takes a record. Every record that is not deleted reaches a sheet:
//   - lines (2 to 6, 12, 42 to 45) go to every sheet whose closed square holds their first two
//     vertices, so a line along a sheet line goes to both sheets beside it;
//   - arcs, terrain points and turned texts with a point (8, 61, 62) go to the sheet that holds
//     their P4 strictly inside, every other type to the one that holds its P1 strictly inside;
//   - a record that no sheet takes that way (a point on a sheet line, a piece that starts where a
//     sheet line cut it, a line of a hidden layer that was not cut) goes to the sheet whose
//     half-open square [x0, x0 + S) x [y0, y0 + S) holds the middle of its first segment, or else
//     its placing point.
// A fill head takes its boundary records along, and a line chain goes where its first record
// goes. Deleted records and empty slots go nowhere.
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "document/MapRecord.h"

namespace movra {

struct App;

// A rectangle of grid cells, cell (c, r) being the sheet with corner (c x S, r x S). Cells are
// whole numbers held as doubles so that no coordinate overflows an integer.
struct SheetCells {
    double firstColumn = 0, lastColumn = -1;
    double firstRow = 0, lastRow = -1;
    bool Empty() const { return !(firstColumn <= lastColumn && firstRow <= lastRow); }
    bool Holds(double column, double row) const {
        return firstColumn <= column && column <= lastColumn && firstRow <= row && row <= lastRow;
    }
};

// The cells of the grid of side `side` that take a record by the rules above (empty for a
// deleted record, an empty slot or a side that is not above 0).
SheetCells RecordSheetCells(const MapRecord& record, double side);

// Visits, in layer and slot order, every record that the sheet with corner (x0, y0) and side S
// takes, on every layer whether on or off; stops when `visit` returns false.
void ForEachRecordOfSheet(const App& app, double x0, double y0, double side,
                          const std::function<bool(int layer, int slot, const MapRecord& record)>& visit);

// Whether the sheet with corner (x0, y0) and side S takes any record: exactly when SaveSheet
// would write one.
bool SheetHasFeatures(const App& app, double x0, double y0, double side);

// A record of the store by its layer and slot.
struct RecordPlace {
    int layer = 0;
    int slot = 0;
};

// The records of every sheet of a grid, sorted out in one pass over the store, so that writing
// all sheets costs one look at each record rather than one per sheet. Each sheet's list holds
// the records ForEachRecordOfSheet visits for it, in the same order. The places stay true only
// while the store is left as it was.
class SheetContents {
public:
    // The records the sheet of cell (column, row) takes; empty when it takes none.
    const std::vector<RecordPlace>& Of(double column, double row) const;
    // The cells that take at least one record.
    std::size_t SheetCount() const { return sheets_.size(); }

private:
    friend SheetContents SortRecordsIntoSheets(const App& app, double side);
    std::map<std::pair<double, double>, std::vector<RecordPlace>> sheets_;  // by (column, row)
};

// Sorts every record of every layer, on or off, into the sheets of side S that take it.
SheetContents SortRecordsIntoSheets(const App& app, double side);

}  // namespace movra
