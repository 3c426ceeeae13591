// Cutting line-type segments, two-vertex records, crosses, tick records and symbol rows.
#include <cmath>

#include "sheets/SheetCutFixture.h"

namespace movra {
namespace {

using SegmentRecordCut = SheetCutFixture;

TEST_F(SegmentRecordCut, SplitsALineTypeSegmentWithItsStoredRun) {
    app.view.ProjectParams[0] = 2000;
    app.view.ScaleFactor = 0.5;
    MapRecord& r = Put(12, {{0, 0, 1}, {10, 0, 2}, {10, 1, 3}, {0, 1, 4}});
    r.RecordText = "355";
    CutVertical(4);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(RowOf(R(0)), (CutRow{12, {CutVertex{0, 0, 1}, CutVertex{4, 0, 2}, CutVertex{4, 1, 3}, CutVertex{0, 0, 4}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{12, {CutVertex{4, 0, 0}, CutVertex{10, 0, 2}, CutVertex{6, 1, 3}, CutVertex{0, 0, 4}}}));
    ExpectSameAttributes(R(1), R(0));
    EXPECT_EQ(R(1).RecordText, "355");
    EXPECT_EQ(app.view.ScaleFactor, 2);
    EXPECT_EQ(app.sheetCut.UnitDirection, (std::array<double, 4>{4, 1, 0, 0}));

    // A map without a scale keeps the one it is shown at.
    app.view.ProjectParams[0] = 0;
    ClearLayer();
    Put(12, {{0, 0}, {0, 10}});
    CutHorizontal(3);
    EXPECT_EQ(R(1).RecordX3, 7);
    EXPECT_EQ(R(1).RecordX4, 1);
    EXPECT_EQ(app.view.ScaleFactor, 2);
}

TEST_F(SegmentRecordCut, LineDirectionUnitGivesNoDirectionToALineWithoutLength) {
    LineDirectionUnit(app, 1, 1, 1, 1);
    EXPECT_EQ(app.sheetCut.UnitDirection, (std::array<double, 4>{0, 0, 0, 0}));
    LineDirectionUnit(app, -1e300, 0, 1e300, 0);
    EXPECT_EQ(app.sheetCut.UnitDirection[1], 0);
    LineDirectionUnit(app, 0, 0, 3, -4);
    EXPECT_EQ(app.sheetCut.UnitDirection, (std::array<double, 4>{5, 0.6, -0.8, 0}));
}

TEST_F(SegmentRecordCut, SplitsTwoVertexRecordsKeepingTheirType) {
    for (int type : {201, 211}) {
        ClearLayer();
        Put(type, {{0, 0, 1}, {10, 10, 2}, {7, 8, 3}, {9, 9, 4}});
        CutVertical(5);
        ASSERT_EQ(Count(), 2) << type;
        EXPECT_EQ(RowOf(R(0)), (CutRow{type, {CutVertex{0, 0, 1}, CutVertex{5, 5, 2}, CutVertex{7, 8, 3}, CutVertex{9, 9, 4}}}));
        EXPECT_EQ(RowOf(R(1)), (CutRow{type, {CutVertex{5, 5, 0}, CutVertex{10, 10, 2}, CutVertex{7, 8, 3}, CutVertex{9, 9, 4}}}));
        ExpectSameAttributes(R(1), R(0));
    }
}

TEST_F(SegmentRecordCut, SplitsBothSegmentsOfACrossTheLaterPieceFirst) {
    Put(52, {{0, 0, 1}, {10, 0, 2}, {0, 5, 3}, {10, 5, 4}});
    CutVertical(4);
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(RowOf(R(0)), (CutRow{52, {CutVertex{0, 0, 1}, CutVertex{4, 0, 2}, CutVertex{0, 5, 3}, CutVertex{4, 5, 4}}}));
    EXPECT_EQ(RowOf(R(1)), (CutRow{2, {CutVertex{4, 5}, CutVertex{10, 5, 4}}}));
    EXPECT_EQ(RowOf(R(2)), (CutRow{2, {CutVertex{4, 0}, CutVertex{10, 0, 2}}}));
    ExpectSameAttributes(R(1), R(0));
    ExpectSameAttributes(R(2), R(0));
}

TEST_F(SegmentRecordCut, SplitsTicksAtTheCrossingTheLaterTickFirst) {
    struct Case {
        const char* what;
        int type;
        std::initializer_list<CutVertex> ticks;
        std::vector<CutRow> rows;
    };
    const Case cases[] = {
        {"two rising ticks", 80, {{0, 0, 10}, {0, 5, 10}, {30, 30, 10}},
         {{80, {CutVertex{0, 0, 4}, CutVertex{0, 5, 4}, CutVertex{30, 30, 10}}},
          {80, {CutVertex{4, 9, 6}}},
          {80, {CutVertex{4, 4, 6}}}}},
        {"a falling tick", 85, {{0, 10, 10}}, {{85, {CutVertex{0, 10, 4}}}, {85, {CutVertex{4, 6, 6}}}}},
        {"a symbol row", 87, {{-6, 0, 20}}, {{87, {CutVertex{-6, 0, 10}}}, {87, {CutVertex{4, 10, 10}}}}},
        {"a tick running west", 80, {{10, 0, -10}}, {{80, {CutVertex{10, 0, -6}}}, {80, {CutVertex{4, -6, -4}}}}},
        {"the list ends at (0, 0)", 80, {{20, 0, 10}, {0, 0, 10}, {0, 5, 10}},
         {{80, {CutVertex{20, 0, 10}, CutVertex{0, 0, 10}, CutVertex{0, 5, 10}}}}},
        {"a tick ending on the line", 80, {{0, 0, 4}}, {{80, {CutVertex{0, 0, 4}}}}},
    };
    for (const Case& c : cases) {
        ClearLayer();
        Put(c.type, c.ticks);
        CutVertical(4);
        ASSERT_EQ(Count(), static_cast<int>(c.rows.size())) << c.what;
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            EXPECT_EQ(RowOf(R(static_cast<int>(k))), c.rows[k]) << c.what << " slot " << k;
            ExpectSameAttributes(R(static_cast<int>(k)), R(0));
        }
    }
}

}  // namespace
}  // namespace movra
