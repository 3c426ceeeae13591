#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "basic/Files.h"
#include "document/JdxFile.h"
#include "document/OpenDialogs.h"
#include "document/RecordPositions.h"
#include "document/SaveDialogs.h"
#include "document/StoreRecord.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// One record of each kind whose fields that are no position hold large values a real map holds:
// mobile telephone numbers, the area of a large parcel in square metres, a long symbol run, a
// count of boundary slots, a far tick left after a tick record's end. Positions lie at survey
// coordinates.
std::vector<MapRecord> RecordsWithLargeValues() {
    constexpr double E = 500100.556, N = 3000400.778;
    constexpr double Mobile1 = 13900001111, Mobile2 = 13800002222;
    auto make = [](int type, std::string text) {
        MapRecord r;
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = 255;
        r.RecordPen = 9;
        r.RecordX1 = E;
        r.RecordY1 = N;
        r.RecordText = text;
        return r;
    };
    std::vector<MapRecord> rows;
    MapRecord house = make(53, "张三");  // class 0: area, telephone 1 and 2, house height
    house.RecordExtra = "12号";
    house.RecordX2 = 3, house.RecordY2 = 0.75;
    house.RecordX3 = 12500000000.5;
    house.RecordX4 = Mobile1, house.RecordY4 = Mobile2;
    house.RecordZ4 = 3.2f;
    rows.push_back(house);
    MapRecord circle = make(7, "");  // a ground circle of a 2,000 km radius, as the DXF import takes one
    circle.RecordX2 = 2000000000, circle.RecordY2 = 1;
    rows.push_back(circle);
    MapRecord arc = make(8, "");  // angles of many turns
    arc.RecordX2 = 12, arc.RecordY2 = 1, arc.RecordX3 = -1.5e10, arc.RecordY3 = 2.5e10;
    rows.push_back(arc);
    MapRecord text = make(66, "北京路");  // turned text: height, width factor and angle
    text.RecordX2 = 1.1e10, text.RecordY2 = 0.8, text.RecordZ2 = 1.57f;
    rows.push_back(text);
    MapRecord point = make(50, "K12");  // a direction kept unnormalised, a symbol code, a height
    point.RecordX2 = Mobile1, point.RecordY2 = -Mobile2, point.RecordZ1 = 4520.25f, point.RecordZ4 = 23;
    rows.push_back(point);
    MapRecord image = make(70, "航片.jpg");  // an image's width and height
    image.RecordX2 = 3.2e9, image.RecordY2 = -2.4e9;
    rows.push_back(image);
    MapRecord segment = make(12, "351");  // a line-type segment with its run
    segment.RecordX2 = E + 40, segment.RecordY2 = N + 30, segment.RecordX3 = 5e9, segment.RecordY3 = 0.6,
    segment.RecordX4 = 0.8, segment.RecordY4 = Mobile1;
    rows.push_back(segment);
    MapRecord ticks = make(81, "");  // one tick; the ends after it carry no ticks
    ticks.RecordX2 = 0, ticks.RecordY2 = 0, ticks.RecordX3 = Mobile1, ticks.RecordY3 = Mobile2;
    ticks.RecordZ1 = 2;
    rows.push_back(ticks);
    MapRecord terrain = make(61, "45.3");  // a terrain point's text height and unused vertices
    terrain.RecordX2 = 2.5, terrain.RecordX3 = Mobile1, terrain.RecordY3 = Mobile2;
    terrain.RecordX4 = E + 1, terrain.RecordY4 = N + 1;
    rows.push_back(terrain);
    return rows;
}

// Fields that must come back as they went.
void ExpectSameFields(const MapRecord& got, const MapRecord& want) {
    EXPECT_EQ(got.RecordType, want.RecordType);
    for (auto [a, b] : {std::pair{got.RecordX1, want.RecordX1}, {got.RecordY1, want.RecordY1},
                        {got.RecordX2, want.RecordX2}, {got.RecordY2, want.RecordY2},
                        {got.RecordX3, want.RecordX3}, {got.RecordY3, want.RecordY3},
                        {got.RecordX4, want.RecordX4}, {got.RecordY4, want.RecordY4}})
        EXPECT_EQ(a, b);
    EXPECT_EQ(got.RecordZ1, want.RecordZ1);
    EXPECT_EQ(got.RecordZ2, want.RecordZ2);
    EXPECT_EQ(got.RecordZ4, want.RecordZ4);
    EXPECT_EQ(got.RecordText, want.RecordText);
}

TEST(NonPositionFields, LargeValuesOutsideThePositionsRoundTripThroughBothMapFiles) {
    for (const bool wtw : {false, true}) {
        SCOPED_TRACE(wtw ? "wtw" : "jdx");
        std::vector<MapRecord> rows = RecordsWithLargeValues();
        // The compact file keeps no linked images.
        if (!wtw) std::erase_if(rows, [](const MapRecord& r) { return r.RecordType == 70; });
        TestApp t;
        App& app = t.app;
        for (std::size_t i = 0; i < rows.size(); ++i) app.store.At(1, static_cast<int>(i)) = rows[i];
        app.store.Count(1) = static_cast<std::int32_t>(rows.size());
        app.current.ModifiedFlag = -1;
        const std::string path = t.workFolder.Str() + (wtw ? "/big.wtw" : "/big.jdx");
        t.platform.dialogScript.QueueFile(path, 2);
        wtw ? SaveAsWtwDialog(app) : SaveAsJdxDialog(app);
        ASSERT_TRUE(FileExists(path));

        TestApp fresh;
        fresh.platform.dialogScript.QueueFile(path, 2);
        wtw ? OpenWtwFile(fresh.app) : OpenJdxFile(fresh.app);
        // No "…的坐标不是有效数字或超出范围，已删除" (the wtw asks only for the missing picture).
        EXPECT_EQ(fresh.form1.Text2.Text().find(NonFiniteRecordsMessage), std::string::npos);
        for (const auto& q : fresh.platform.promptScript.questions)
            EXPECT_EQ(q.text.find(NonFiniteRecordsMessage), std::string::npos);
        EXPECT_EQ(fresh.app.mapFile.LastReadUnusableRecords, 0);
        ASSERT_GE(fresh.app.store.Count(1), static_cast<std::int32_t>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(static_cast<int>(rows[i].RecordType));
            ExpectSameFields(fresh.app.store.Get(1, static_cast<int>(i)), rows[i]);
        }
    }
}

// The guard judges the positions of the record's type and no other field.
TEST(NonPositionFields, TheGuardJudgesOnlyPositions) {
    constexpr double Far = 2e9, Inf = std::numeric_limits<double>::infinity();
    struct Case {
        int type;
        double v[8];
        bool storable;
    };
    const Case cases[] = {
        {53, {1, 1, 3, 0.75, 1.2e10, 0, 13900001111, 13800002222}, true},
        {53, {Far, 1, 0, 0, 0, 0, 0, 0}, false},
        {7, {1, 1, Far, 1, 0, 0, 0, 0}, true},
        {2, {1, 1, Far, 1, 0, 0, 0, 0}, false},
        {3, {1, 1, 2, 2, 3, 3, Inf, Inf}, true},
        {6, {1, 1, 2, 2, 3, 3, 4, Far}, false},
        {61, {1, 1, Far, Far, Far, Far, 4, 4}, true},
        {61, {1, 1, 0, 0, 0, 0, Far, 4}, false},
        {81, {1, 1, 0, 0, Far, Far, Far, Far}, true},   // the ticks end at (0, 0)
        {81, {1, 1, 2, 2, Far, 3, 0, 0}, false},
        {153, {1, 1, 1, 1, 1, 1, 13900001111, 1}, true},  // deleted: as the record it was
        {125, {std::nan(""), 1, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const double* v = c.v;
        EXPECT_EQ(HasStorablePositions(c.type, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]), c.storable);
        TestApp t;
        const std::int32_t before = t.app.store.Count(1);
        StoreRecord(t.app, StoreFull, static_cast<std::uint8_t>(c.type), v[0], v[1], v[2], v[3], v[4], v[5], v[6],
                    v[7], "");
        EXPECT_EQ(t.app.store.Count(1), before + (c.storable ? 1 : 0));
    }
}

}  // namespace
}  // namespace movra
