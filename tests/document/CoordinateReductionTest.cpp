#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "document/CoordinateReduction.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

class CoordinateReduction : public ::testing::Test {
protected:
    CoordinateReduction() {
        app.reduction.ReductionUnit = 100000;
        app.store.LayerOnFlag[0] = True;
        app.store.LayerOnFlag[1] = True;
        app.store.Count(1) = 1;
    }
    // Appends a record to a layer at its open slot and commits it.
    MapRecord& Add(int layer, int type, double x1, double y1) {
        const int slot = app.store.Count(layer);
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordX1 = x1;
        r.RecordY1 = y1;
        app.store.Count(layer) = slot + 1;
        return r;
    }
    void AddLayer2(bool on) {
        app.store.DimensionKeep(2);
        app.store.LayerCount = 2;
        app.store.LayerOnFlag[2] = on ? True : False;
        app.store.Count(2) = 1;
    }
    // The records of layers 0..LayerCount, to compare before and after.
    std::vector<MapRecord> Snapshot() {
        std::vector<MapRecord> all;
        for (int layer = 0; layer <= app.store.LayerCount; ++layer) {
            for (int slot = 0; slot <= app.store.Count(layer); ++slot) all.push_back(app.store.Get(layer, slot));
        }
        return all;
    }
    // The map of the worked example: first vertices from (3,512,345.6, 512,000) to (3,530,000, 540,000).
    void ExampleMap() {
        Add(1, 1, 3512345.6, 520000);
        MapRecord& line = Add(1, 2, 3530000, 540000);
        line.RecordX2 = 3520000;
        line.RecordY2 = 530000;
        MapRecord& circle = Add(1, 7, 3515000, 512000);
        circle.RecordX2 = 5;  // radius
        circle.RecordY2 = 1;  // aspect
        MapRecord& image = Add(1, 70, 3520000, 525000);
        image.RecordX2 = 100;  // width and height
        image.RecordY2 = -50;
    }

    FakePlatform fake;
    App app{fake};
};

// A layer that holds one record, in slot 0 as every layer this store fills, counts for the origin
// and moves with the others; so do the points the tools keep between events.
TEST_F(CoordinateReduction, AOneRecordLayerAndTheToolsPointsMoveWithTheMap) {
    ExampleMap();
    AddLayer2(true);
    app.store.Count(2) = 0;
    MapRecord& alone = Add(2, 50, 3500100.556, 500400.778);  // a point imported alone
    alone.RecordX2 = 8;
    app.tool.SnapCandidate = {3500100.556, 500400.778};
    app.tool.PressPoint = {3520000, 530000};
    app.tool.AnchorX = 3520000, app.tool.AnchorY = 530000;
    app.selection.WorkPolygon = {3510000, 520000, 3511000, 521000};
    app.tool.RubberPoint = {12, 34};  // already small: stays
    ReduceCoordinates(app);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 3500000);
    EXPECT_EQ(app.reduction.ReductionOffsetY, 500000);
    const MapRecord& moved = app.store.Get(2, 0);
    EXPECT_NEAR(moved.RecordX1, 100.556, 1e-6);
    EXPECT_NEAR(moved.RecordY1, 400.778, 1e-6);
    EXPECT_EQ(moved.RecordX2, 8);
    EXPECT_NEAR(app.tool.SnapCandidate.x, 100.556, 1e-6);
    EXPECT_NEAR(app.tool.SnapCandidate.y, 400.778, 1e-6);
    EXPECT_EQ(app.tool.PressPoint.x, 20000);
    EXPECT_EQ(app.tool.AnchorY, 30000);
    EXPECT_EQ(app.selection.WorkPolygon, (std::vector<double>{10000, 20000, 11000, 21000}));
    EXPECT_EQ(app.tool.RubberPoint.x, 12);

    // The one-record layer alone sets the origin when the others are off.
    FakePlatform otherFake;
    App other{otherFake};
    other.reduction.ReductionUnit = 100000;
    other.store.DimensionKeep(2);
    other.store.LayerCount = 2;
    other.store.LayerOnFlag[2] = True;
    MapRecord& point = other.store.At(2, 0);
    point.RecordType = 50;
    point.RecordX1 = 3500100.556;
    point.RecordY1 = 500400.778;
    other.store.Count(2) = 1;
    ReduceCoordinates(other);
    EXPECT_EQ(other.reduction.ReductionOffsetX, 3500000);
    EXPECT_NEAR(other.store.Get(2, 0).RecordX1, 100.556, 1e-6);
}

TEST_F(CoordinateReduction, TheWorkedExampleAndASecondRunThatChangesNothing) {
    ExampleMap();
    ReduceCoordinates(app);

    EXPECT_EQ(app.reduction.ReductionOffsetX, 3500000);
    EXPECT_EQ(app.reduction.ReductionOffsetY, 500000);
    EXPECT_NEAR(app.extents.ExtentMinX, 12345.6, 1e-9);
    EXPECT_EQ(app.extents.ExtentMinY, 12000);
    EXPECT_EQ(app.extents.ExtentMaxX, 30000);
    EXPECT_EQ(app.extents.ExtentMaxY, 40000);

    EXPECT_NEAR(app.store.Get(1, 1).RecordX1, 12345.6, 1e-9);
    EXPECT_EQ(app.store.Get(1, 1).RecordY1, 20000);
    const MapRecord& line = app.store.Get(1, 2);
    EXPECT_EQ(line.RecordX1, 30000);
    EXPECT_EQ(line.RecordY2, 30000);
    const MapRecord& circle = app.store.Get(1, 3);
    EXPECT_EQ(circle.RecordX1, 15000);
    EXPECT_EQ(circle.RecordX2, 5);  // a size, not a position
    EXPECT_EQ(circle.RecordY2, 1);
    const MapRecord& image = app.store.Get(1, 4);
    EXPECT_EQ(image.RecordX1, 20000);
    EXPECT_EQ(image.RecordX2, 100);
    EXPECT_EQ(image.RecordY2, -50);
    EXPECT_EQ(app.current.ModifiedFlag, True);

    const std::vector<MapRecord> before = Snapshot();
    ReduceCoordinates(app);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 3500000);
    EXPECT_EQ(app.reduction.ReductionOffsetY, 500000);
    EXPECT_NEAR(app.extents.ExtentMinX, 12345.6, 1e-9);
    EXPECT_EQ(app.extents.ExtentMaxY, 40000);
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

TEST_F(CoordinateReduction, OnlyThePositionVerticesOfEachTypeMove) {
    struct Case {
        int type;
        bool moves2, moves3, moves4;
    };
    const std::vector<Case> cases = {
        {1, false, false, false},  {2, true, false, false},  {12, true, false, false},
        {92, true, false, false},  {99, true, false, false}, {3, true, true, false},
        {43, true, true, false},   {4, true, true, true},    {5, true, true, true},
        {11, true, true, true},    {52, true, true, true},   {95, true, true, true},
        {61, false, false, true},  {62, false, false, true}, {7, false, false, false},
        {15, false, false, false}, {65, false, false, false},
        {104, true, true, true},   // a deleted four-vertex record moves whole
        {102, true, false, false}, {161, false, false, true},
        {201, true, false, false}, {211, true, false, false},
    };
    for (const Case& c : cases) {
        MapRecord& r = Add(1, c.type, 3600001, 600001);
        r.RecordX2 = 3600002; r.RecordY2 = 600002;
        r.RecordX3 = 3600003; r.RecordY3 = 600003;
        r.RecordX4 = 3600004; r.RecordY4 = 600004;
    }
    ReduceCoordinates(app);
    ASSERT_EQ(app.reduction.ReductionOffsetX, 3600000);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const MapRecord& r = app.store.Get(1, static_cast<int>(i) + 1);
        EXPECT_EQ(r.RecordX1, 1) << c.type;
        EXPECT_EQ(r.RecordY1, 1) << c.type;
        EXPECT_EQ(r.RecordX2, c.moves2 ? 2 : 3600002) << c.type;
        EXPECT_EQ(r.RecordY2, c.moves2 ? 2 : 600002) << c.type;
        EXPECT_EQ(r.RecordX3, c.moves3 ? 3 : 3600003) << c.type;
        EXPECT_EQ(r.RecordX4, c.moves4 ? 4 : 3600004) << c.type;
        EXPECT_EQ(r.RecordY4, c.moves4 ? 4 : 600004) << c.type;
    }
}

TEST_F(CoordinateReduction, TicksMoveUpToTheFirstThatStartsAtTheOrigin) {
    MapRecord& tick = Add(1, 80, 3600001, 600001);
    tick.RecordX2 = 3600002; tick.RecordY2 = 600002;
    tick.RecordX4 = 3600004; tick.RecordY4 = 600004;  // after the end of the list: not a tick
    MapRecord& full = Add(1, 87, 3600001, 600001);
    full.RecordX2 = 3600002; full.RecordY2 = 600002;
    full.RecordX3 = 3600003; full.RecordY3 = 600003;
    full.RecordX4 = 3600004; full.RecordY4 = 600004;
    ReduceCoordinates(app);

    const MapRecord& a = app.store.Get(1, 1);
    EXPECT_EQ(a.RecordX2, 2);
    EXPECT_EQ(a.RecordX3, 0);
    EXPECT_EQ(a.RecordY3, 0);
    EXPECT_EQ(a.RecordX4, 3600004);
    const MapRecord& b = app.store.Get(1, 2);
    EXPECT_EQ(b.RecordX4, 4);
    EXPECT_EQ(b.RecordY4, 4);
}

TEST_F(CoordinateReduction, TheJournalStartsAnewFromTheReducedMap) {
    ExampleMap();
    UndoCheckpoint(app, 0);
    Add(1, 1, 3525000, 530000);  // an edit journalled before the reduction
    UndoCheckpoint(app, 1);
    ReduceCoordinates(app);
    const std::vector<MapRecord> reduced = Snapshot();

    Undo(app);  // nothing from before the reduction is taken back
    EXPECT_EQ(Snapshot(), reduced);
    EXPECT_EQ(app.store.Count(1), 6);
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

TEST_F(CoordinateReduction, OffLayersMoveButDoNotChooseTheOrigin) {
    ExampleMap();
    AddLayer2(false);
    Add(2, 1, 9950000, 990000);  // would set the origin's maximum, but the layer is off
    Add(0, 1, 3600000, 600000);  // layer 0 is never touched
    ReduceCoordinates(app);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 3500000);
    EXPECT_EQ(app.extents.ExtentMaxX, 30000);
    EXPECT_EQ(app.store.Get(2, 1).RecordX1, 6450000);
    EXPECT_EQ(app.store.Get(2, 1).RecordY1, 490000);
    EXPECT_EQ(app.store.Get(0, 0).RecordX1, 3600000);
}

// A drawing inserted into a reduced map, in survey coordinates, lands where it belongs whichever
// side of the origin in force it lies on: its true coordinates (reduced + offset) are the ones it
// came with, and the records reduced before stay where they are.
TEST_F(CoordinateReduction, InsertsOnEverySideOfTheOriginJoinIt) {
    struct Insert {
        const char* where;
        double x1, y1, x2, y2;  // a line: first vertex and end
    };
    const Insert inserts[] = {
        {"north-east, in another 100 km square", 3640000, 560000, 3641000, 561000},
        {"south-west of the origin", 3499000, 499500, 3498000, 498000},
        {"straddling the origin", 3499990, 500010, 3500020, 499980},
        {"south of the origin only", 3512000, 499000, 3513000, 498500},
    };
    for (const Insert& insert : inserts) {
        SCOPED_TRACE(insert.where);
        app.store.DimensionEmpty(1);
        app.store.LayerCount = 1;
        app.store.Count(1) = 1;
        app.reduction = {};
        app.reduction.ReductionUnit = 100000;
        ExampleMap();
        ReduceCoordinates(app);
        ASSERT_EQ(app.reduction.ReductionOffsetX, 3500000);
        ASSERT_EQ(app.reduction.ReductionOffsetY, 500000);
        const std::vector<MapRecord> reducedBefore = Snapshot();

        AddLayer2(true);
        MapRecord& added = Add(2, 2, insert.x1, insert.y1);
        added.RecordX2 = insert.x2;
        added.RecordY2 = insert.y2;
        ReduceCoordinates(app);

        EXPECT_EQ(app.reduction.ReductionOffsetX, 3500000);
        EXPECT_EQ(app.reduction.ReductionOffsetY, 500000);
        const MapRecord& line = app.store.Get(2, 1);
        EXPECT_DOUBLE_EQ(line.RecordX1 + app.reduction.ReductionOffsetX, insert.x1);
        EXPECT_DOUBLE_EQ(line.RecordY1 + app.reduction.ReductionOffsetY, insert.y1);
        EXPECT_DOUBLE_EQ(line.RecordX2 + app.reduction.ReductionOffsetX, insert.x2);
        EXPECT_DOUBLE_EQ(line.RecordY2 + app.reduction.ReductionOffsetY, insert.y2);
        for (int slot = 0; slot <= 4; ++slot) EXPECT_EQ(app.store.Get(1, slot), reducedBefore[static_cast<size_t>(slot) + 1]);
    }
}

TEST_F(CoordinateReduction, EachMapChoosesItsOwnOrigin) {
    ExampleMap();
    ReduceCoordinates(app);
    // A new map: the offsets return to 0. Its y values lie below the unit.
    app.reduction.ReductionOffsetX = 0;
    app.reduction.ReductionOffsetY = 0;
    app.store.ClearFrom(1, 0);
    app.store.Count(1) = 1;
    Add(1, 1, 4212345, 50000);
    ReduceCoordinates(app);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 4200000);
    EXPECT_EQ(app.reduction.ReductionOffsetY, 0);
    EXPECT_EQ(app.store.Get(1, 1).RecordX1, 12345);
    EXPECT_EQ(app.store.Get(1, 1).RecordY1, 50000);  // not moved by the last map's origin
}

TEST_F(CoordinateReduction, MapsThatNeedNoReductionAreLeftAlone) {
    // First vertices at or below 200 on an axis: no extent, nothing moves.
    Add(1, 1, 150, 3600000);
    Add(1, 1, 3600000, 200);
    std::vector<MapRecord> before = Snapshot();
    ReduceCoordinates(app);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(app.extents.ExtentMinX, 1000000000);
    EXPECT_EQ(app.extents.ExtentMaxX, 0);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 0);

    // The unit of small scales: a map in the survey range stays as it is.
    ExampleMap();
    app.reduction.ReductionUnit = 100000000;
    before = Snapshot();
    ReduceCoordinates(app);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(app.reduction.ReductionOffsetX, 0);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
}

TEST_F(CoordinateReduction, AFailureIsShownAndKeepsTheOffsets) {
    ExampleMap();
    app.reduction.ReductionUnit = 0;
    const std::vector<MapRecord> before = Snapshot();
    ReduceCoordinates(app);
    EXPECT_EQ(Snapshot(), before);
    ASSERT_EQ(fake.promptScript.questions.size(), 1u);
    EXPECT_EQ(fake.promptScript.questions[0].text, "除数为零");
    EXPECT_EQ(fake.promptScript.questions[0].title, "11");
}

}  // namespace
}  // namespace movra
