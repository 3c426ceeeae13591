#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "geomops/TrimStubs.h"
#include "platform/fake/RecordingSurface.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct P {
    double x, y;
};

class TrimStubsTest : public ::testing::Test {
protected:
    TrimStubsTest() {
        t.form1.Load();
        for (int l = 0; l <= 1; ++l) {
            app.store.LayerOnFlag[static_cast<std::size_t>(l)] = l == 1 ? -1 : 0;
        }
        app.store.Count(1) = 0;
        app.store.ClearFrom(1, 0);
    }
    RecordingSurface& Surface() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }
    int Add(int layer, std::uint8_t type, std::vector<P> v) {
        const int slot = app.store.Count(layer)++;
        MapRecord& r = app.store.At(layer, slot);
        r = MapRecord{};
        r.RecordType = type;
        double* xs[4] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
        double* ys[4] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
        for (std::size_t k = 0; k < v.size(); ++k) *xs[k] = v[k].x, *ys[k] = v[k].y;
        return slot;
    }
    P Vertex(int layer, int slot, int k) {
        const MapRecord& r = app.store.Get(layer, slot);
        const P v[4] = {{r.RecordX1, r.RecordY1}, {r.RecordX2, r.RecordY2}, {r.RecordX3, r.RecordY3}, {r.RecordX4, r.RecordY4}};
        return v[k - 1];
    }
    void Trim(P a, P b, std::uint8_t mode = 2) { CutLines(app, a.x, a.y, b.x, b.y, mode); }
    void Reset() {
        app.store.Count(1) = 0;
        app.store.ClearFrom(1, 0);
    }

    TestApp t;
    App& app = t.app;
};

TEST_F(TrimStubsTest, TheTableMovesTheVertexItNames) {
    struct Row {
        const char* name;
        std::uint8_t previous;  // type of the record in the slot before, 0: none
        std::uint8_t type;
        std::vector<P> vertices;
        P a, b;       // the cutting line
        int moved;    // vertex moved to the crossing, 0: none
        P crossing;
    };
    const Row rows[] = {
        {"2: B2 right", 0, 2, {{0, 0}, {10, 0}}, {8, -1}, {8, 1}, 2, {8, 0}},
        {"2: B1 right", 0, 2, {{0, 0}, {10, 0}}, {8, 1}, {8, -1}, 1, {8, 0}},
        {"42", 0, 42, {{0, 0}, {10, 0}}, {2, -1}, {2, 1}, 2, {2, 0}},
        {"3: end, one way", 0, 3, {{0, 0}, {10, 0}, {10, 10}}, {9, 8}, {11, 8}, 3, {10, 8}},
        {"3: end, other way", 0, 73, {{0, 0}, {10, 0}, {10, 10}}, {11, 8}, {9, 8}, 3, {10, 8}},
        {"3: start", 0, 3, {{0, 0}, {10, 0}, {10, 10}}, {1, 1}, {1, -1}, 1, {1, 0}},
        {"4: end", 0, 4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {2, 9}, {2, 11}, 4, {2, 10}},
        {"4: both ends, the end first", 0, 44, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {2, -1}, {2, 11}, 4, {2, 10}},
        {"4: inner segment not judged", 0, 4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {9, 5}, {11, 5}, 0, {}},
        {"5: start", 0, 95, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {1, -1}, {1, 1}, 1, {1, 0}},
        {"4 after a chain: no start", 5, 4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {1, -1}, {1, 1}, 0, {}},
        {"4 after a 45", 45, 4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {1, -1}, {1, 1}, 0, {}},
        {"3 after a point symbol: a start", 15, 3, {{0, 0}, {10, 0}, {10, 10}}, {1, -1}, {1, 1}, 1, {1, 0}},
        {"3 after a 25: a start", 25, 3, {{0, 0}, {10, 0}, {10, 10}}, {1, -1}, {1, 1}, 1, {1, 0}},
        {"3 after a 10: a start", 10, 3, {{0, 0}, {10, 0}, {10, 10}}, {1, -1}, {1, 1}, 1, {1, 0}},
        {"1 ending a chain", 75, 71, {{0, 10}}, {-1, 8}, {1, 8}, 1, {0, 8}},
        {"1 after a 15", 15, 1, {{0, 10}}, {-1, 8}, {1, 8}, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Reset();
        if (row.previous) Add(1, row.previous, {{-50, -50}, {-40, -50}, {-40, -40}, {0, 0}});
        const int slot = Add(1, row.type, row.vertices);
        const MapRecord before = app.store.Get(1, slot);
        Trim(row.a, row.b);
        MapRecord expected = before;
        if (row.moved) {
            double* xs[4] = {&expected.RecordX1, &expected.RecordX2, &expected.RecordX3, &expected.RecordX4};
            double* ys[4] = {&expected.RecordY1, &expected.RecordY2, &expected.RecordY3, &expected.RecordY4};
            *xs[row.moved - 1] = row.crossing.x;
            *ys[row.moved - 1] = row.crossing.y;
        }
        EXPECT_EQ(app.store.Get(1, slot), expected);
    }
    // 12 becomes 42, its geometry kept but for the trimmed end.
    Reset();
    Add(1, 12, {{0, 0}, {10, 0}});
    Trim({8, -1}, {8, 1});
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 42);
    EXPECT_EQ(Vertex(1, 0, 1).x, 0);
    EXPECT_EQ(Vertex(1, 0, 2).x, 8);
}

TEST_F(TrimStubsTest, OneTrimACallThePreviewChangesNothingAndUndoPutsItBack) {
    Add(1, 2, {{0, 0}, {10, 0}});
    Add(1, 2, {{0, 1}, {10, 1}});
    UndoCheckpoint(app, 0);  // the map as opened
    const MapRecord first = app.store.Get(1, 0);
    // The preview marks both crossings and changes nothing.
    Surface().ClearRecords();
    Trim({8, -1}, {8, 2}, 0);
    EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Point).size(), 2u);
    EXPECT_EQ(app.store.Get(1, 0), first);
    Trim({8, -1}, {8, 2});
    EXPECT_EQ(Vertex(1, 0, 2).x, 8);
    EXPECT_EQ(Vertex(1, 1, 2).x, 10);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    // The next call passes the end trimmed before and trims the next stub.
    Trim({8, -1}, {8, 2});
    EXPECT_EQ(Vertex(1, 0, 1).x, 0);
    EXPECT_EQ(Vertex(1, 1, 2).x, 8);
    Undo(app);
    EXPECT_EQ(Vertex(1, 1, 2).x, 10);
    Undo(app);
    EXPECT_EQ(app.store.Get(1, 0), first);
    Redo(app);
    EXPECT_EQ(Vertex(1, 0, 2).x, 8);
    // Layer 0 takes part when it is on, before layer 1.
    app.store.LayerOnFlag[0] = -1;
    const int slot = Add(0, 2, {{0, 0.5}, {10, 0.5}});
    Trim({8, -1}, {8, 2});
    EXPECT_EQ(Vertex(0, slot, 2).x, 8);
    EXPECT_EQ(Vertex(1, 1, 2).x, 10);
}

}  // namespace
}  // namespace movra
