#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "SheetFilesFixture.h"
#include "sheets/SheetPlacement.h"

namespace movra {
namespace {

using namespace movra::test;

constexpr double S = 500;  // 1:1000
using Cell = std::pair<int, int>;
using Where = std::map<std::pair<int, int>, std::set<Cell>>;  // (layer, slot) -> cells

// Where the records went, over the cells 0..3 x 0..3, as ForEachRecordOfSheet tells it; checks on
// the way that SheetHasFeatures answers yes exactly for the cells that take a record.
Where PlaceOnGrid(const App& app) {
    Where where;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            bool any = false;
            ForEachRecordOfSheet(app, c * S, r * S, S, [&](int layer, int slot, const MapRecord&) {
                where[{layer, slot}].insert({c, r});
                any = true;
                return true;
            });
            EXPECT_EQ(SheetHasFeatures(app, c * S, r * S, S), any) << c << "," << r;
        }
    }
    return where;
}

TEST(SheetPlacement, EveryRecordReachesTheSheetsThatHoldIt) {
    TestApp t;
    App& app = t.app;
    MakeSheetMap(app, 1000, 2);
    app.store.LayerOnFlag[2] = 0;  // hidden: its lines were not cut along the sheet lines
    Where expected;
    auto add = [&](int layer, int type, std::initializer_list<double> xy, std::set<Cell> cells) -> MapRecord& {
        const int slot = app.store.Count(layer);
        MapRecord& r = AddTo(app, layer, type, xy);
        if (!cells.empty()) expected[{layer, slot}] = cells;
        return r;
    };
    // A line along a sheet line lies in both sheets beside it.
    add(1, 2, {500, 100, 500, 200}, {{0, 0}, {1, 0}});
    // Points strictly inside, on a sheet line and on a sheet corner.
    add(1, 15, {250, 250}, {{0, 0}});
    add(1, 15, {500, 100}, {{1, 0}});
    add(1, 15, {500, 500}, {{1, 1}});
    // Tick pieces that start where a sheet line cut them go where their first tick runs.
    add(1, 80, {500, 100, 0, 0}, {{0, 0}}).RecordZ1 = -20;
    add(1, 85, {500, 100, 0, 0}, {{1, 0}}).RecordZ1 = 20;
    // A wide-line piece starting on the line goes by its first segment.
    add(1, 72, {500, 300, 450, 320}, {{0, 0}});
    // Arcs, terrain points and turned texts with a point go by P4.
    add(1, 8, {500, 500, 10, 1, 0, 1, 600, 550}, {{1, 1}});
    add(1, 61, {100, 100, 0, 0, 0, 0, 900, 100}, {{1, 0}});
    add(1, 62, {900, 900, 0, 0, 0, 0, 100, 100}, {{0, 0}});
    // A one-vertex chain end with its P1 inside: by P1 alone.
    add(1, 41, {100, 700, 900, 900}, {{0, 1}});
    // A fill across two sheets: the head's sheet takes its boundary along, though the boundary
    // starts in the other sheet.
    add(1, 11, {400, 300, 700, 300, 700, 100, 400, 100}, {{0, 0}}).RecordZ4 = 3;
    add(1, 29, {700, 100, 700, 300, 400, 300, 400, 100}, {{0, 0}});
    add(1, 26, {700, 100}, {{0, 0}});
    // A chain goes where its first record goes.
    add(1, 95, {100, 1100, 200, 1100, 300, 1100, 700, 1100}, {{0, 2}});
    add(1, 95, {800, 1200, 900, 1200, 950, 1200, 1100, 1200}, {{0, 2}});
    add(1, 91, {1200, 1300}, {{0, 2}});
    // A cell of one text.
    add(1, 25, {1200, 1700}, {{2, 3}});
    // Deleted records and empty slots go nowhere.
    add(1, 115, {250, 250}, {});
    add(1, 0, {250, 250}, {});
    // A hidden layer's line across a sheet line: the sheet of its middle.
    add(2, 2, {400, 100, 700, 100}, {{1, 0}});
    add(2, 2, {400, 100, 450, 100}, {{0, 0}});

    EXPECT_EQ(PlaceOnGrid(app), expected);
}

TEST(SheetPlacement, RandomRecordsEachReachOneSheetUnlessTheyLieOnASheetLine) {
    TestApp t;
    App& app = t.app;
    MakeSheetMap(app, 1000);
    std::mt19937 random(34);
    const int types[] = {1, 2, 3, 4, 6, 7, 8, 9, 12, 15, 25, 41, 42, 43, 44, 50, 52, 53, 61, 62,
                         64, 66, 68, 72, 80, 81, 85, 87, 92, 99, 102, 160};
    // Coordinates inside the 4 x 4 grid, often on its lines.
    auto coordinate = [&random] {
        std::uniform_int_distribution<int> pick(0, 5);
        if (pick(random) == 0) return 500.0 * std::uniform_int_distribution<int>(0, 3)(random);
        return std::uniform_real_distribution<double>(0, 1999)(random);
    };
    for (int i = 0; i < 400; ++i) {
        const int type = types[std::uniform_int_distribution<std::size_t>(0, std::size(types) - 1)(random)];
        MapRecord& r = AddTo(app, 1, type, {coordinate(), coordinate(), coordinate(), coordinate(), coordinate(),
                                            coordinate(), coordinate(), coordinate()});
        // Ticks within the grid.
        if (type >= 80 && type <= 87) {
            const double room = std::min({1999 - r.RecordX1, r.RecordY1, 1999 - r.RecordY1});
            r.RecordZ1 = static_cast<float>(room / 3);
        }
    }
    const Where where = PlaceOnGrid(app);
    for (int slot = 0; slot < app.store.Count(1); ++slot) {
        const int type = app.store.Get(1, slot).RecordType;
        const auto it = where.find({1, slot});
        if (type >= 100) {
            EXPECT_TRUE(it == where.end()) << "deleted record in slot " << slot;
            continue;
        }
        ASSERT_TRUE(it != where.end()) << "type " << type << " in slot " << slot << " reached no sheet";
        const bool byTwoVertices = (type >= 2 && type <= 6) || type == 12 || (type >= 42 && type <= 45);
        EXPECT_TRUE(it->second.size() == 1 || (byTwoVertices && it->second.size() <= 4))
            << "type " << type << " in slot " << slot << " reached " << it->second.size() << " sheets";
    }
}

// Sorting the whole map into its sheets at once gives every sheet the very records, in the very
// order, that a search of the map for that sheet alone finds: random records on and off the sheet
// lines, chains and fills that follow their first record, and coordinates far off or no numbers.
TEST(SheetPlacement, SortingAllSheetsAtOnceMatchesSearchingEachSheet) {
    TestApp t;
    App& app = t.app;
    MakeSheetMap(app, 1000, 2);
    std::mt19937 random(71);
    const int types[] = {1, 2, 4, 5, 6, 7, 8, 11, 13, 15, 25, 26, 27, 30, 42, 45, 52, 62, 80, 107, 0};
    auto coordinate = [&random] {
        std::uniform_int_distribution<int> pick(0, 4);
        if (pick(random) == 0) return 500.0 * std::uniform_int_distribution<int>(0, 4)(random);
        return std::uniform_real_distribution<double>(-100, 2100)(random);
    };
    for (int i = 0; i < 600; ++i) {
        const int type = types[std::uniform_int_distribution<std::size_t>(0, std::size(types) - 1)(random)];
        MapRecord& r = AddTo(app, 1 + i % 2, type, {coordinate(), coordinate(), coordinate(), coordinate(),
                                                    coordinate(), coordinate(), coordinate(), coordinate()});
        if (type == 11 || type == 13) r.RecordZ4 = static_cast<float>(i % 4);
    }
    AddTo(app, 1, 2, {1e300, 1e300, 1e300, 1e300});
    AddTo(app, 2, 15, {-1e300, 5});
    AddTo(app, 2, 2, {std::nan(""), 0, 1, 1});

    const SheetContents contents = SortRecordsIntoSheets(app, S);
    std::set<std::pair<double, double>> cells{{1e300 / S - 1, 1e300 / S}, {-1e300 / S, 0}};
    for (int c = -1; c <= 4; ++c)
        for (int r = -1; r <= 4; ++r) cells.insert({c, r});
    std::size_t taking = 0;
    for (const auto& [column, row] : cells) {
        std::vector<std::pair<int, int>> searched, sorted;
        ForEachRecordOfSheet(app, column * S, row * S, S, [&](int layer, int slot, const MapRecord&) {
            searched.push_back({layer, slot});
            return true;
        });
        for (const RecordPlace& p : contents.Of(column, row)) sorted.push_back({p.layer, p.slot});
        EXPECT_EQ(sorted, searched) << column << "," << row;
        taking += !sorted.empty();
    }
    EXPECT_EQ(contents.SheetCount(), taking);  // no sheet the grid above leaves out
    EXPECT_EQ(SortRecordsIntoSheets(app, 0).SheetCount(), 0u);
}

TEST(SheetPlacement, NoSideNoSheet) {
    TestApp t;
    MakeSheetMap(t.app, 1000);
    AddTo(t.app, 1, 15, {250, 250});
    EXPECT_FALSE(SheetHasFeatures(t.app, 0, 0, 0));
    EXPECT_FALSE(SheetHasFeatures(t.app, 0, 0, -500));
    EXPECT_TRUE(RecordSheetCells(t.app.store.Get(1, 0), 0).Empty());
    // A record of coordinates that are no numbers reaches no sheet and breaks nothing.
    AddTo(t.app, 1, 2, {std::nan(""), 0, 1, 1});
    EXPECT_TRUE(RecordSheetCells(t.app.store.Get(1, 1), S).Empty());
}

}  // namespace
}  // namespace movra
