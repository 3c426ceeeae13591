// Opening and removing slots inside a layer, and adding a vertex to a line record.
#include "document/SlotEditing.h"

#include <algorithm>
#include <random>

#include "document/UndoTestFixture.h"

namespace movra {
namespace {

using SlotEditingTest = UndoFixture;

// A layer of `count` records whose X1 is the slot number and whose attribute names it.
void FillLayer(App& app, int count) {
    app.store.CurrentLayer = 1;
    for (int k = 0; k < count; ++k) {
        StoreRecord(app, StoreFull, 2, k, 0, k, 1, 0, 0, 0, 0, "t");
        app.store.At(1, k).RecordExtra = "a" + std::to_string(k);
    }
}

TEST_F(SlotEditingTest, InsertSlotsMovesTheRecordsUpAndOpensSlots) {
    struct Case {
        int start, n;
    };
    for (Case c : {Case{5, 3}, Case{10, 1}, Case{0, 2}}) {
        TestApp fresh;
        App& a = fresh.app;
        FillLayer(a, 10);
        InsertSlots(a, 1, static_cast<std::int16_t>(c.start), static_cast<std::int16_t>(c.n));
        ASSERT_EQ(a.store.Count(1), 10 + c.n);
        for (int k = 0; k < 10; ++k) {
            const int now = k < c.start ? k : k + c.n;
            EXPECT_EQ(a.store.Get(1, now).RecordX1, k);
            EXPECT_EQ(a.store.Get(1, now).RecordExtra, "a" + std::to_string(k));
        }
        for (int k = c.start; k < c.start + c.n; ++k) {
            MapRecord opened;
            opened.RecordColor = OpenedSlotColor;
            EXPECT_EQ(a.store.Get(1, k), opened);
        }
        EXPECT_EQ(a.store.Get(1, 10 + c.n), MapRecord{});  // the open slot moved up
    }
}

TEST_F(SlotEditingTest, InsertSlotsGrowsTheCapacityUntilTheSlotsFitAndRefusesBadRanges) {
    FillLayer(app, 10);
    app.store.LayerCapacity = 12;
    InsertSlots(app, 1, 2, 2500);
    EXPECT_EQ(app.store.Count(1), 2510);
    EXPECT_GE(app.store.LayerCapacity, 2510);
    EXPECT_EQ(R(1, 2502).RecordX1, 2);
    InsertSlots(app, 1, 2600, 1);  // beyond the records
    InsertSlots(app, 1, -1, 1);
    InsertSlots(app, 9, 0, 1);     // no such layer
    EXPECT_EQ(app.store.Count(1), 2510);
}

TEST_F(SlotEditingTest, DeleteSlotsMovesTheRecordsDownAndVacatesTheTop) {
    FillLayer(app, 10);
    DeleteSlots(app, 1, 5, 3);
    ASSERT_EQ(app.store.Count(1), 7);
    EXPECT_EQ(R(1, 4).RecordX1, 4);
    EXPECT_EQ(R(1, 5).RecordX1, 8);
    EXPECT_EQ(R(1, 6).RecordX1, 9);
    EXPECT_EQ(R(1, 6).RecordExtra, "a9");
    for (int k = 7; k <= 10; ++k) EXPECT_EQ(R(1, k), MapRecord{});
    DeleteSlots(app, 1, 3, 0);  // vacates the open slot only
    EXPECT_EQ(app.store.Count(1), 7);
    EXPECT_EQ(R(1, 6).RecordX1, 9);
    DeleteSlots(app, 1, 5, 3);  // beyond the records
    EXPECT_EQ(app.store.Count(1), 7);
}

// Laying a layer out anew while most records stay in the store must give the layer that putting
// every record back would: the kept records move up past pieces and down past removed records.
TEST_F(SlotEditingTest, RearrangeLayerFromGivesTheLayerThatReplaceLayerFromGives) {
    std::mt19937 rng(64);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    constexpr int Records = 40;
    for (int round = 0; round < 60; ++round) {
        TestApp replaced, rearranged;
        for (App* a : {&replaced.app, &rearranged.app}) {
            FillLayer(*a, Records);
            a->store.At(1, 7).RecordExtra = "a text far too long to be held in the record itself";
        }
        const int from = pick(0, 12);
        std::vector<MapRecord> whole, made;
        std::vector<std::int32_t> newStart;
        std::vector<bool> kept;
        const auto add = [&](MapRecord r, bool keep) {
            if (!keep) made.push_back(r);
            whole.push_back(std::move(r));
        };
        const auto piece = [&](int v) {
            MapRecord r;
            r.RecordType = 2;
            r.RecordX1 = 1000 + v;
            r.RecordText = "a piece with a text of its own, longer than the record holds";
            return r;
        };
        // Rounds lean towards growing or shrinking the layer, so that kept records move both ways.
        const int removeBelow = round % 3 == 0 ? 6 : 1;
        for (int v = from; v < Records; ++v) {
            newStart.push_back(from + static_cast<std::int32_t>(whole.size()));
            const int choice = pick(0, 9);
            MapRecord r = replaced.app.store.Get(1, v);
            if (choice < removeBelow) {
                kept.push_back(false);  // removed
                continue;
            }
            const bool keep = choice >= 4;
            if (!keep) r.RecordX2 = -v;
            kept.push_back(keep);
            add(std::move(r), keep);
            for (int n = round % 3 == 1 ? pick(0, 3) : pick(0, 1) * pick(0, 1); n > 0; --n) add(piece(v), false);
        }
        newStart.push_back(from + static_cast<std::int32_t>(whole.size()));
        for (int n = pick(0, 2); n > 0; --n) add(piece(Records), false);
        const int newCount = from + static_cast<int>(whole.size());

        ReplaceLayerFrom(replaced.app, 1, from, whole, newStart);
        RearrangeLayerFrom(rearranged.app, 1, from, made, newStart, kept);
        ASSERT_EQ(rearranged.app.store.Count(1), newCount) << "round " << round;
        for (int slot = 0; slot <= std::max(newCount, Records); ++slot)
            ASSERT_EQ(rearranged.app.store.Get(1, slot), replaced.app.store.Get(1, slot))
                << "round " << round << " slot " << slot;
    }
}

struct VertexCase {
    const char* name;
    int type;
    int v;
    // The records expected from the slot on: type and the vertices as x values (y = x + 100).
    std::vector<std::pair<int, std::vector<double>>> expected;
};

TEST_F(SlotEditingTest, InsertVertexAddsTheVertexOrSplitsTheRecord) {
    const std::vector<VertexCase> cases = {
        {"room: after P1", 2, 1, {{3, {1, 9, 2}}}},
        {"room: after the last", 43, 3, {{44, {1, 2, 3, 9}}}},
        {"full end: split", 74, 2, {{75, {1, 2, 9, 3}}, {71, {4}}}},
        {"full end: after P4", 4, 4, {{5, {1, 2, 3, 9}}, {1, {4}}}},
        {"going on: bridge from the new vertex", 95, 4, {{95, {1, 2, 3, 4}}, {92, {9, 50}}}},
        {"going on: after P1", 45, 1, {{45, {1, 9, 2, 3}}, {42, {4, 50}}}},
        {"line-type segment ignores v", 12, 3, {{43, {1, 9, 2}}}},
        {"quadrilateral after P2", 6, 2, {{5, {1, 2, 9, 3}}, {2, {4, 1}}}},
        {"quadrilateral after P4", 6, 4, {{5, {1, 2, 3, 4}}, {2, {9, 1}}}},
        {"no vertex v to follow", 2, 3, {{2, {1, 2}}}},
        {"a text takes no vertex", 64, 1, {{64, {1}}}},
    };
    for (const VertexCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp fresh;
        App& a = fresh.app;
        a.store.CurrentLayer = 1;
        StoreRecord(a, StoreFull, 15, 0, 0, 0, 0, 0, 0, 0, 0, "");
        StoreRecord(a, StoreFull, static_cast<std::uint8_t>(c.type), 1, 101, 2, 102, 3, 103, 4, 104, "code");
        MapRecord& r = a.store.At(1, 1);
        r.RecordPen = 7;
        r.RecordColor = 255;
        r.RecordSource = 4;
        r.RecordZ1 = 5;
        StoreRecord(a, StoreFull, 41, 50, 150, 0, 0, 0, 0, 0, 0, "");
        const int countBefore = a.store.Count(1);
        InsertVertex(a, 9, 109, 1, 1, static_cast<std::uint8_t>(c.v));
        EXPECT_EQ(a.store.Count(1), countBefore + static_cast<int>(c.expected.size()) - 1);
        for (size_t k = 0; k < c.expected.size(); ++k) {
            const MapRecord& got = a.store.Get(1, 1 + static_cast<int>(k));
            const auto& [type, xs] = c.expected[k];
            EXPECT_EQ(got.RecordType, type) << "record " << k;
            const double gotX[] = {got.RecordX1, got.RecordX2, got.RecordX3, got.RecordX4};
            const double gotY[] = {got.RecordY1, got.RecordY2, got.RecordY3, got.RecordY4};
            for (size_t v = 0; v < xs.size(); ++v) {
                EXPECT_EQ(gotX[v], xs[v]) << "record " << k << " vertex " << v + 1;
                EXPECT_EQ(gotY[v], xs[v] + 100) << "record " << k << " vertex " << v + 1;
            }
            if (k == 1) {  // the split-off record
                EXPECT_EQ(got.RecordColor, 255);
                EXPECT_EQ(got.RecordPen, 7);
                EXPECT_EQ(got.RecordText, "code");
                EXPECT_EQ(got.RecordSource, 4);
                EXPECT_EQ(got.RecordZ1, 0);
            }
        }
        EXPECT_EQ(a.store.Get(1, 1).RecordZ1, 5);  // heights stay where they are
        EXPECT_EQ(a.store.Get(1, a.store.Count(1) - 1).RecordType, 41);
    }
}

}  // namespace
}  // namespace movra
