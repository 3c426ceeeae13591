#include "sheets/SheetPlacement.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "document/RecordTypes.h"

namespace movra {

namespace {

struct Span {
    double first = 0, last = -1;
};

// Cells k whose closed interval [k, k + 1] holds both a and b (two when both lie on one line).
Span ClosedSpan(double a, double b) {
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    return {std::ceil(hi) - 1, std::floor(lo)};
}

// The cell whose open interval (k, k + 1) holds a; none when a lies on a line.
Span StrictSpan(double a) {
    const double k = std::floor(a);
    if (a == k) return {};
    return {k, k};
}

// The cell whose half-open interval [k, k + 1) holds a.
Span HalfOpenSpan(double a) {
    const double k = std::floor(a);
    return {k, k};
}

SheetCells CellsOf(Span columns, Span rows) { return {columns.first, columns.last, rows.first, rows.last}; }

bool PlacedByFirstTwoVertices(int type) {
    return (type >= 2 && type <= 6) || type == 12 || (type >= 42 && type <= 45);
}

bool PlacedByFourthVertex(int type) { return type == 8 || type == 61 || type == 62; }

// Whether the record has a first segment from P1 to P2.
bool HasFirstSegment(int type) {
    return PlacedByFirstTwoVertices(type) || ChainVertexCount(type) >= 2 || type == TypeCross ||
           type == TypeErasingLine;
}

bool IsTickRecord(int type) {
    return type == TypeTicksRising || type == TypeTicksLevel || type == TypeTicksFalling || type == TypeSymbolRows;
}

bool IsFillHead(int type) {
    const int live = type >= DeletedTypeOffset ? type - DeletedTypeOffset : type;
    return live == TypeSolidFillHead || live == TypePatternFillHead;
}

bool IsFillBoundary(int type) { return type >= TypeFillBoundaryEnd && type <= TypeFillBoundaryChain; }

}  // namespace

SheetCells RecordSheetCells(const MapRecord& r, double side) {
    const int type = r.RecordType;
    if (type == TypeEmpty || IsDeletedType(type) || !(side > 0)) return {};
    const double x1 = r.RecordX1 / side;
    const double y1 = r.RecordY1 / side;
    const double x2 = r.RecordX2 / side;
    const double y2 = r.RecordY2 / side;

    SheetCells cells;
    if (PlacedByFirstTwoVertices(type)) {
        cells = CellsOf(ClosedSpan(x1, x2), ClosedSpan(y1, y2));
    } else if (PlacedByFourthVertex(type)) {
        cells = CellsOf(StrictSpan(r.RecordX4 / side), StrictSpan(r.RecordY4 / side));
    } else {
        cells = CellsOf(StrictSpan(x1), StrictSpan(y1));
    }
    if (!cells.Empty()) return cells;

    // No sheet takes it by its own rule: the one whose half-open square holds the middle of its
    // first segment, or its placing point.
    double px = x1, py = y1;
    if (HasFirstSegment(type)) {
        px = (x1 + x2) / 2;
        py = (y1 + y2) / 2;
    } else if (IsTickRecord(type)) {
        const double half = static_cast<double>(r.RecordZ1) / 2;
        const double rise = type == TypeTicksRising || type == TypeSymbolRows ? half
                            : type == TypeTicksFalling                      ? -half
                                                                            : 0;
        px = (r.RecordX1 + half) / side;
        py = (r.RecordY1 + rise) / side;
    } else if (PlacedByFourthVertex(type)) {
        px = r.RecordX4 / side;
        py = r.RecordY4 / side;
    }
    return CellsOf(HalfOpenSpan(px), HalfOpenSpan(py));
}

namespace {

// Visits, in layer and slot order, every record that goes to a sheet, with the cells its group
// goes to: a fill's boundary and the rest of a line chain go where the group's first record goes.
// Stops when `visit` returns false.
template <typename Visit>
void ForEachPlacedRecord(const App& app, double side, Visit&& visit) {
    const auto& store = app.store;
    const int layers = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= layers; ++layer) {
        const int limit = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
        SheetCells cells;             // where the group of the record in hand goes
        bool previousGoesOn = false;  // the record before runs on into this one
        int fillEnd = -1;             // last slot a fill head's boundary may reach
        for (int slot = 0; slot < limit; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            const int type = r.RecordType;
            const bool follows = previousGoesOn || (slot <= fillEnd && IsFillBoundary(type));
            if (!follows) {
                cells = RecordSheetCells(r, side);
                fillEnd = -1;
                if (IsFillHead(type)) {
                    const double reach = std::isfinite(r.RecordZ4) ? std::floor(r.RecordZ4) : 0;
                    fillEnd = slot + static_cast<int>(std::clamp(reach, 0.0, static_cast<double>(limit)));
                }
            }
            previousGoesOn = ContinuesToNextSlot(type);
            if (cells.Empty() || type == TypeEmpty || IsDeletedType(type)) continue;
            if (!visit(layer, slot, r, cells)) return;
        }
    }
}

}  // namespace

void ForEachRecordOfSheet(const App& app, double x0, double y0, double side,
                          const std::function<bool(int layer, int slot, const MapRecord& record)>& visit) {
    if (!(side > 0)) return;
    const double column = std::round(x0 / side);
    const double row = std::round(y0 / side);
    ForEachPlacedRecord(app, side, [&](int layer, int slot, const MapRecord& r, const SheetCells& cells) {
        return !cells.Holds(column, row) || visit(layer, slot, r);
    });
}

const std::vector<RecordPlace>& SheetContents::Of(double column, double row) const {
    static const std::vector<RecordPlace> none;
    const auto found = sheets_.find({column, row});
    return found == sheets_.end() ? none : found->second;
}

SheetContents SortRecordsIntoSheets(const App& app, double side) {
    SheetContents contents;
    if (!(side > 0)) return contents;
    // Neighbouring records mostly share a sheet: the last list is kept at hand.
    std::pair<double, double> lastCell{0, 0};
    std::vector<RecordPlace>* lastList = nullptr;
    ForEachPlacedRecord(app, side, [&](int layer, int slot, const MapRecord&, const SheetCells& cells) {
        // A record goes to at most two columns and two rows (a line along a sheet line, or on a
        // corner); counted, since ++ does not move a double that large.
        const int columns = cells.lastColumn > cells.firstColumn ? 2 : 1;
        const int rows = cells.lastRow > cells.firstRow ? 2 : 1;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const std::pair<double, double> cell{cells.firstColumn + c, cells.firstRow + r};
                if (!lastList || cell != lastCell) {
                    lastList = &contents.sheets_[cell];
                    lastCell = cell;
                }
                lastList->push_back({layer, slot});
            }
        }
        return true;
    });
    return contents;
}

bool SheetHasFeatures(const App& app, double x0, double y0, double side) {
    bool found = false;
    ForEachRecordOfSheet(app, x0, y0, side, [&found](int, int, const MapRecord&) {
        found = true;
        return false;
    });
    return found;
}

}  // namespace movra
