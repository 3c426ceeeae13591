// Splitting line records along a sheet line: every row of the split table, through the split
// routine and through the store, and the compound cases of several crossings.
#include <vector>

#include "sheets/SheetCutFixture.h"

namespace movra {
namespace {

// A zigzag rising and falling between y = 0 and y = 2, one segment per ten units of x, so that the
// vertical line x = 10k - 5 crosses segment k alone, at height 1. Each vertex has its own height.
const CutVertex P1{0, 0, 1}, P2{10, 2, 2}, P3{20, 0, 3}, P4{30, 2, 4}, N{40, 0, 5};
const CutVertex Zero{};

CutVertex I(int segment, float z = 0) { return {10.0 * segment - 5, 1, z}; }
CutVertex NoZ(CutVertex v) {
    v.z = 0;
    return v;
}

struct SplitCase {
    int type;     // relative to the family base for the families (2..5), else the code itself
    bool family;  // run for the bases 0, 40 and 70
    int segment;
    std::vector<CutRow> rows;  // types relative to the base for the families
};

std::vector<SplitCase> SplitTable() {
    return {
        {2, true, 1, {{2, {P1, I(1, 2)}}, {2, {I(1), P2}}}},
        {3, true, 1, {{2, {P1, I(1, 2)}}, {3, {I(1), P2, P3}}}},
        {3, true, 2, {{3, {P1, P2, I(2, 3)}}, {2, {I(2, 2), P3}}}},
        {4, true, 1, {{2, {P1, I(1, 2)}}, {4, {I(1), P2, P3, P4}}}},
        {4, true, 2, {{3, {P1, P2, I(2, 3)}}, {3, {I(2), P3, P4}}}},
        {4, true, 3, {{4, {P1, P2, P3, I(3, 4)}}, {2, {I(3), P4}}}},
        {5, true, 1, {{2, {P1, I(1, 2)}}, {5, {I(1), P2, P3, P4}}}},
        {5, true, 2, {{3, {P1, P2, I(2, 3)}}, {4, {I(2), P3, P4, N}}}},
        {5, true, 3, {{4, {P1, P2, P3, I(3, 4)}}, {3, {I(3), P4, N}}}},
        {5, true, 4, {{4, {P1, P2, P3, P4}}, {2, {NoZ(P4), I(4)}}, {2, {I(4), N}}}},
        {99, false, 1, {{99, {P1, I(1, 2)}}, {99, {I(1), P2}}}},
        {6, false, 1, {{2, {P1, I(1, 2)}}, {5, {I(1), P2, P3, P4}}, {1, {NoZ(P1)}}}},
        {6, false, 2, {{3, {P1, P2, I(2, 3)}}, {4, {I(2), P3, P4, P1}}}},
        {6, false, 3, {{4, {P1, P2, P3, I(3, 4)}}, {3, {I(3), P4, P1}}}},
        {6, false, 4, {{4, {P1, P2, P3, P4}}, {2, {NoZ(P4), I(4, 4)}}, {2, {I(4), NoZ(P1)}}}},
    };
}

std::vector<CutRow> WithBase(std::vector<CutRow> rows, int base) {
    for (CutRow& r : rows) r.type += base;
    return rows;
}

TEST(SplitLineRows, GivesEveryRowOfTheSplitTable) {
    for (const SplitCase& c : SplitTable()) {
        for (int base : c.family ? std::vector<int>{0, 40, 70} : std::vector<int>{0}) {
            const int type = c.type + (c.family ? base : 0);
            const CutVertex i = I(c.segment);
            EXPECT_EQ(SplitLineRows(type, {P1, P2, P3, P4}, N, c.segment, i.x, i.y),
                      WithBase(c.rows, c.family ? base : 0))
                << "type " << type << " segment " << c.segment;
        }
    }
}

TEST(SplitLineRows, RefusesSegmentsARecordDoesNotHaveAndOtherTypes) {
    EXPECT_TRUE(SplitLineRows(3, {P1, P2, P3, Zero}, N, 3, 1, 1).empty());
    EXPECT_TRUE(SplitLineRows(4, {P1, P2, P3, P4}, N, 4, 1, 1).empty());
    EXPECT_TRUE(SplitLineRows(2, {P1, P2, Zero, Zero}, N, 0, 1, 1).empty());
    for (int type : {1, 41, 71, 92, 95, 102, 12})
        EXPECT_TRUE(SplitLineRows(type, {P1, P2, P3, P4}, N, 1, 1, 1).empty()) << type;
}

using LineRecordCut = SheetCutFixture;

// The open lines cut once: the record keeps its slot and fields, the pieces follow it with the
// record's attributes, and the record after it (the rest of a chain) moves up unchanged.
TEST_F(LineRecordCut, SplitsEachRowInPlaceThroughTheStore) {
    for (const SplitCase& c : SplitTable()) {
        if (!c.family && c.type != 99) continue;  // a quadrilateral is always crossed twice: below
        for (int base : c.family ? std::vector<int>{0, 40, 70} : std::vector<int>{0}) {
            const int type = c.type + (c.family ? base : 0);
            SCOPED_TRACE("type " + std::to_string(type) + " segment " + std::to_string(c.segment));
            ClearLayer();
            Put(31, {{-50, -50}});  // a record before it
            const int held = c.type == 5 || c.type == 99 ? (c.type == 5 ? 4 : 2) : c.type;
            const std::initializer_list<CutVertex> all{P1, P2, P3, P4};
            MapRecord& r = Put(type, {});
            int k = 1;
            for (const CutVertex& v : all)
                if (k <= held) SetVertex(r, k++, v);
            r.RecordColor = 0x0000ff;
            r.RecordExtra = "own";
            const MapRecord before = r;
            const bool chain = c.type == 5;
            if (chain) Put(base + 1, {N});
            const MapRecord after = R(Count() - 1);

            CutVertical(10.0 * c.segment - 5);

            const int rows = static_cast<int>(c.rows.size());
            ASSERT_EQ(Count(), (chain ? 3 : 2) + rows - 1);
            const std::vector<CutRow> expected = WithBase(c.rows, c.family ? base : 0);
            for (int n = 0; n < rows; ++n) {
                EXPECT_EQ(RowOf(R(1 + n)), expected[static_cast<std::size_t>(n)]) << "slot " << 1 + n;
                ExpectSameAttributes(R(1 + n), before);
            }
            if (chain) {
                EXPECT_EQ(R(1 + rows), after);
            }
            EXPECT_EQ(R(0).RecordType, 31);
        }
    }
}

TEST_F(LineRecordCut, CutsAThreeVertexLineOnceAndLeavesThePieceWhole) {
    Put(43, {{0, 0}, {10, 0}, {10, 10}});
    CutFeaturesAlongLine(app, 5, -100, 5, 100);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(RowOf(R(0)), (CutRow{42, {CutVertex{0, 0}, CutVertex{5, 0}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{43, {CutVertex{5, 0}, CutVertex{10, 0}, CutVertex{10, 10}}}));
}

TEST_F(LineRecordCut, CutsALineAtEveryCrossingIntoConsecutivePieces) {
    // A vertical line crossing both segments of a three-vertex line.
    Put(3, {{0, 0}, {10, 10}, {0, 20}});
    Put(2, {{100, 100}, {101, 101}});
    CutVertical(5);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(RowOf(R(0)), (CutRow{2, {CutVertex{0, 0}, CutVertex{5, 5}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{3, {CutVertex{5, 5}, CutVertex{10, 10}, CutVertex{5, 15}}}));
    EXPECT_EQ(RowOf(R(2)), (CutRow{2, {CutVertex{5, 15}, CutVertex{0, 20}}}));
    EXPECT_EQ(R(3).RecordX1, 100);

    // A quadrilateral crossed on its first and third sides.
    ClearLayer();
    Put(6, {{0, 0, 1}, {10, 0, 2}, {10, 10, 3}, {0, 10, 4}});
    CutVertical(5);
    ASSERT_EQ(Count(), 4);
    EXPECT_EQ(RowOf(R(0)), (CutRow{2, {CutVertex{0, 0, 1}, CutVertex{5, 0, 2}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{4, {CutVertex{5, 0}, CutVertex{10, 0, 2}, CutVertex{10, 10, 3}, CutVertex{5, 10, 4}}}));
    EXPECT_EQ(RowOf(R(2)), (CutRow{3, {CutVertex{5, 10}, CutVertex{0, 10, 4}, CutVertex{0, 0}}}));
    EXPECT_EQ(RowOf(R(3)), (CutRow{1, {CutVertex{0, 0}}}));
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(R(slot).RecordColor, 0x123456);

    // The same quadrilateral crossed on its second and closing sides: two open lines.
    ClearLayer();
    Put(6, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    CutHorizontal(5);
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(RowOf(R(0)), (CutRow{3, {CutVertex{0, 0}, CutVertex{10, 0}, CutVertex{10, 5}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{4, {CutVertex{10, 5}, CutVertex{10, 10}, CutVertex{0, 10}, CutVertex{0, 5}}}));
    EXPECT_EQ(RowOf(R(2)), (CutRow{2, {CutVertex{0, 5}, CutVertex{0, 0}}}));
}

TEST_F(LineRecordCut, LeavesSegmentsThatOnlyReachTheLineOrRunAlongIt) {
    struct Case {
        const char* what;
        std::initializer_list<CutVertex> vertices;
    };
    const Case cases[] = {
        {"ends on the line", {{0, 0}, {5, 3}}},
        {"starts on the line", {{5, 3}, {9, 0}}},
        {"runs along the line", {{5, 0}, {5, 10}}},
        {"meets it at an inner vertex", {{0, 0}, {5, 2}, {0, 4}}},
        {"passes it at an inner vertex", {{0, 0}, {5, 2}, {10, 4}}},
        {"zero length on it", {{5, 1}, {5, 1}}},
        {"stays on one side", {{0, 0}, {4.999, 100}}},
    };
    for (const Case& c : cases) {
        ClearLayer();
        const int type = static_cast<int>(c.vertices.size());
        Put(type, c.vertices);
        const MapRecord before = R(0);
        CutVertical(5);
        EXPECT_EQ(Count(), 1) << c.what;
        EXPECT_EQ(R(0), before) << c.what;
    }
}

TEST_F(LineRecordCut, SplitsAtTheInfiniteLineAndAtSlantedLinesOnce) {
    // The crossing (5, 5) lies beyond the line's ends, but the segment reaches past its box in x
    // and in y: it is cut at the infinite line. A segment that stays below the box is not.
    Put(2, {{0, 0}, {10, 10}});
    CutFeaturesAlongLine(app, 5, 9, 5, 11);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(RowOf(R(0)), (CutRow{2, {CutVertex{0, 0}, CutVertex{5, 5}}}));
    ClearLayer();
    Put(2, {{0, 0}, {10, 2}});
    CutFeaturesAlongLine(app, 5, 9, 5, 11);
    EXPECT_EQ(Count(), 1);

    // A zigzag crossed nine times by a slanted line: ten pieces, each end on the line, and the
    // pieces are never cut again where they were made.
    ClearLayer();
    const double x1 = -3.3, y1 = -1.7, x2 = 101.9, y2 = 7.3;
    for (int k = 0; k < 9; ++k) Put(2, {{10.0 * k + 0.37, -20.0 - k}, {10.0 * k + 3.1, 40.0 + k}});
    for (int k = 0; k < 9; ++k) Put(2, {{10.0 * k + 3.1, 40.0 + k}, {10.0 * k + 0.37, -20.0 - k}});
    CutFeaturesAlongLine(app, x1, y1, x2, y2);
    EXPECT_EQ(Count(), 36);
    for (int slot = 0; slot < Count(); slot += 2) {
        const double side = (x2 - x1) * (R(slot).RecordY2 - y1) - (y2 - y1) * (R(slot).RecordX2 - x1);
        EXPECT_NEAR(side, 0, 1e-9) << slot;
        EXPECT_EQ(R(slot).RecordX2, R(slot + 1).RecordX1);
    }
}

TEST_F(LineRecordCut, CutsEveryLayerThatIsOnAndHoldsARecord) {
    app.store.DimensionKeep(4);
    app.store.LayerCount = 4;
    app.store.LayerOnFlag = {};
    app.store.LayerOnFlag[1] = -1;                                  // on
    app.store.LayerOnFlag[2] = -1;
    app.store.LayerLockFlag[2] = -1;                                // on and locked
    app.store.LayerOnFlag[3] = 0;                                   // off
    app.store.LayerOnFlag[4] = -1;                                  // on, one record
    for (int layer = 1; layer <= 4; ++layer) {
        Put(2, {{0, 0}, {10, 0}}, layer);
        if (layer < 4) Put(2, {{0, 1}, {10, 1}}, layer);
    }
    CutVertical(5);
    EXPECT_EQ(Count(1), 4);
    EXPECT_EQ(Count(2), 4);
    EXPECT_EQ(Count(3), 2);
    EXPECT_EQ(Count(4), 2);
    EXPECT_EQ(R(2, 1).RecordY1, 1);  // the second record moved up past the first one's piece
    EXPECT_FALSE(app.current.ModifiedFlag);
}

TEST_F(LineRecordCut, LeavesOtherTypesWhole) {
    for (int type : {1, 41, 71, 92, 93, 94, 95, 102, 103, 143, 62, 61, 15, 25, 36, 11, 26, 30})
        Put(type, {{0, 0}, {10, 1}, {0, 2}, {10, 3}});
    Put(1, {{0, 0}});
    const int count = Count();
    std::vector<MapRecord> before;
    for (int slot = 0; slot < count; ++slot) before.push_back(R(slot));
    CutVertical(5);
    ASSERT_EQ(Count(), count);
    for (int slot = 0; slot < count; ++slot) EXPECT_EQ(R(slot), before[static_cast<std::size_t>(slot)]) << slot;
}

}  // namespace
}  // namespace movra
