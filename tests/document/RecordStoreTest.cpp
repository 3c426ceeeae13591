#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "document/PointSearch.h"
#include "document/NodeLinks.h"
#include "document/StoreRecord.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

struct StoreFixture : ::testing::Test {
    FakePlatform fake;
    App app{fake};

    MapRecord& Slot(int layer, int slot) { return app.store.At(layer, slot); }
    int Count(int layer) { return app.store.Count(layer); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& q : fake.promptScript.questions) texts.push_back(q.text);
        return texts;
    }
    // A record with every field distinct, so a lost or mixed-up field shows.
    static MapRecord Sample(int seed) {
        MapRecord r;
        r.RecordType = static_cast<std::uint8_t>(1 + seed % 90);
        r.RecordPen = static_cast<std::uint8_t>(seed % 17);
        r.RecordSource = static_cast<std::uint8_t>(seed % 3 + 1);
        r.RecordColor = 0x10203 * (seed % 50);
        r.RecordX1 = seed + 0.1; r.RecordY1 = seed + 0.2; r.RecordZ1 = static_cast<float>(seed) + 0.3f;
        r.RecordX2 = seed + 1.1; r.RecordY2 = -seed - 1.2; r.RecordZ2 = 0.25f;
        r.RecordX3 = seed + 2.1; r.RecordY3 = seed + 2.2; r.RecordZ3 = 0.5f;
        r.RecordX4 = seed + 3.1; r.RecordY4 = seed + 3.2; r.RecordZ4 = 7.0f;
        r.RecordFont = "黑体";
        r.RecordText = "文" + std::to_string(seed);
        r.RecordExtra = "x" + std::to_string(seed);
        return r;
    }
};

// ---- the store itself

TEST_F(StoreFixture, SlotsReadClearedUntilWrittenAndAccessOutsideRaisesNine) {
    auto& store = app.store;
    EXPECT_EQ(store.Get(1, 4999), MapRecord{});
    EXPECT_EQ(store.AllocatedSlots(1), 0);
    store.At(1, 10).RecordText = "a";
    EXPECT_EQ(store.AllocatedSlots(1), 11);
    EXPECT_EQ(store.Get(1, 10).RecordText, "a");
    EXPECT_EQ(store.Get(1, 5000), MapRecord{});

    auto raisesNine = [](auto&& access) {
        try {
            access();
        } catch (const RuntimeError& e) {
            return e.number == 9;
        }
        return false;
    };
    EXPECT_TRUE(raisesNine([&] { store.At(1, 5001); }));
    EXPECT_TRUE(raisesNine([&] { store.Get(1, -1); }));
    EXPECT_TRUE(raisesNine([&] { store.Get(2, 0); }));
    EXPECT_TRUE(raisesNine([&] { store.At(-1, 0); }));
    EXPECT_TRUE(raisesNine([&] { store.Count(256); }));
    EXPECT_EQ(store.AllocatedSlots(1), 11);  // a refused write allocates nothing
}

TEST_F(StoreFixture, RecordsStayInPlaceAsTheLayerGrowsAndClearedSlotsComeBackClean) {
    auto& store = app.store;
    MapRecord& first = store.At(1, 0);
    first.RecordText = "kept";
    for (int slot = 1; slot <= 5000; ++slot) store.At(1, slot).RecordX1 = slot;
    first.RecordX1 = -1;  // still the record of slot 0
    EXPECT_EQ(store.Get(1, 0).RecordX1, -1);
    EXPECT_EQ(store.Get(1, 0).RecordText, "kept");

    store.ClearFrom(1, 130);
    EXPECT_EQ(store.AllocatedSlots(1), 130);
    EXPECT_EQ(store.Get(1, 129).RecordX1, 129);
    store.At(1, 300);  // allocating again past the cleared slots finds no old record
    EXPECT_EQ(store.Get(1, 131), MapRecord{});
    EXPECT_EQ(store.Get(1, 255), MapRecord{});
    EXPECT_EQ(store.Get(1, 299), MapRecord{});
}

// A map read into the store again takes its blocks from the map before: slots it does not write
// still read cleared, and records copied or moved out before keep their texts, the long ones read
// into the store's text buffer included.
TEST_F(StoreFixture, ANewMapReusesTheBlocksOfTheLastAndCopiesOutliveIt) {
    auto& store = app.store;
    store.LayerCapacity = 32000;
    const std::string longText = "居民地注记一二三四五六七八九十";
    for (int slot = 0; slot < 20000; ++slot) {
        MapRecord& r = store.FillSlot(1, slot);
        r.RecordX1 = slot;
        store.PutText(r.RecordText, slot % 2 ? longText : "short");
        store.PutText(r.RecordExtra, slot % 3 ? "" : "an attribute string");
    }
    store.At(1, 7).RecordText = std::string(50, 'h');  // a block of the record's own
    const MapRecord copied = store.Get(1, 9);
    std::vector<MapRecord> moved;
    moved.push_back(std::move(store.At(1, 3)));
    EXPECT_TRUE(store.Get(1, 9).RecordText.IsShared());

    store.DimensionEmpty(2);
    for (int slot = 0; slot < 20000; slot += 2) {
        MapRecord& r = store.FillSlot(2, slot);
        store.PutText(r.RecordText, std::string(30, 'n'));
        store.PutText(r.RecordExtra, std::string(30, 'm'));
    }
    EXPECT_EQ(store.Get(1, 0), MapRecord{});
    EXPECT_EQ(store.AllocatedSlots(1), 0);
    for (int slot : {1, 1023, 1025, 5555, 19999}) EXPECT_EQ(store.Get(2, slot), MapRecord{}) << slot;
    EXPECT_EQ(store.Get(2, 4444).RecordText, std::string(30, 'n'));

    EXPECT_EQ(copied.RecordText, longText);
    EXPECT_EQ(copied.RecordX1, 9);
    EXPECT_EQ(moved[0].RecordText, longText);
    EXPECT_EQ(moved[0].RecordExtra, "an attribute string");
}

// ---- GrowLayerCapacity

TEST_F(StoreFixture, GrowthStepsAndMessages) {
    struct Case {
        int before, after;
        const char* message;  // nullptr: none
    };
    for (Case c : {Case{5000, 6000, nullptr}, {29500, 30500, nullptr},
                   {30000, 30500, LayerFullMessage}, {30999, 31499, LayerFullMessage},
                   {31000, 31100, LayerFullWarning}, {31099, 31199, LayerFullWarning},
                   {32760, 32767, nullptr}, {32767, 32767, nullptr}}) {
        fake.promptScript.questions.clear();
        app.store.LayerCapacity = static_cast<std::int16_t>(c.before);
        GrowLayerCapacity(app);
        EXPECT_EQ(app.store.LayerCapacity, c.after) << c.before;
        if (c.message) {
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.before;
            EXPECT_EQ(fake.promptScript.questions[0].style, MsgOkOnly);
        } else {
            EXPECT_TRUE(Messages().empty()) << c.before;
        }
    }
}

TEST_F(StoreFixture, GrowingFromANewDocumentTellsTwiceThenWarnsOnceAndKeepsEveryRecord) {
    app.store.NextLayerIndex = 3;
    app.store.LayerCount = 2;
    app.store.DimensionKeep(2);
    app.store.LayerRecordCount.assign(256, 0);
    // Records in every layer, layer 0 included, near the top of the first capacity.
    for (int layer = 0; layer <= 2; ++layer)
        for (int slot : {0, 1, 2500, 4999, 5000}) Slot(layer, slot) = Sample(layer * 10000 + slot);

    while (app.store.LayerCapacity < 31100) GrowLayerCapacity(app);
    EXPECT_EQ(app.store.LayerCapacity, 31100);
    EXPECT_EQ(Messages(), (std::vector<std::string>{LayerFullMessage, LayerFullMessage, LayerFullWarning}));
    for (int layer = 0; layer <= 2; ++layer)
        for (int slot : {0, 1, 2500, 4999, 5000})
            EXPECT_EQ(app.store.Get(layer, slot), Sample(layer * 10000 + slot)) << layer << "/" << slot;
    // The raised capacity is really usable.
    Slot(2, 31100).RecordText = "top";
    EXPECT_EQ(app.store.Get(2, 31100).RecordText, "top");
}

// ---- StoreRecord

TEST_F(StoreFixture, ChainModesBuildOneCommittedFourVertexRecord) {
    app.current.CurrentColor = 255;
    app.current.CurrentPen = 0x0109;  // only the low byte is a pen code
    Slot(1, 0).RecordZ1 = 4.5f;       // Z values and the source are never written
    Slot(1, 0).RecordSource = 2;
    StoreRecord(app, 1, 1, 10, 20, 9, 9, 9, 9, 9, 9, "350");
    StoreRecord(app, 2, 2, 0, 0, 11, 21, 0, 0, 0, 0, "");
    StoreRecord(app, 3, 3, 0, 0, 0, 0, 12, 22, 0, 0, "");
    StoreRecord(app, 4, 4, 0, 0, 0, 0, 0, 0, 13, 23, "");
    EXPECT_EQ(Count(1), 0) << "modes 1 to 4 do not commit";
    StoreRecord(app, 5, 5, 0, 0, 0, 0, 0, 0, 0, 0, "");
    EXPECT_EQ(Count(1), 1);

    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordType, 5);
    EXPECT_EQ(r.RecordColor, 255);
    EXPECT_EQ(r.RecordPen, 9);
    EXPECT_EQ(r.RecordText, "350");
    EXPECT_EQ((std::vector<double>{r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3,
                                   r.RecordX4, r.RecordY4}),
              (std::vector<double>{10, 20, 11, 21, 12, 22, 13, 23}));
    EXPECT_EQ(r.RecordZ1, 4.5f);
    EXPECT_EQ(r.RecordSource, 2);
    EXPECT_EQ(r.RecordFont, "");

    // The next mode 1 opens the following slot.
    StoreRecord(app, 1, 1, 13, 23, 0, 0, 0, 0, 0, 0, "350");
    EXPECT_EQ(app.store.Get(1, 1).RecordX1, 13);
    EXPECT_EQ(Count(1), 1);
}

TEST_F(StoreFixture, WholeRecordModes) {
    app.current.CurrentColor = 0x00FF00;
    app.current.CurrentPen = 3;
    app.current.CurrentFont = "黑体";
    app.current.PendingText = "注记";

    StoreRecord(app, 0, 12, 1, 2, 3, 4, 5, 6, 7, 8, "351");
    const MapRecord& full = app.store.Get(1, 0);
    EXPECT_EQ(full.RecordType, 12);
    EXPECT_EQ(full.RecordColor, 0x00FF00);
    EXPECT_EQ(full.RecordPen, 3);
    EXPECT_EQ(full.RecordFont, "黑体");
    EXPECT_EQ(full.RecordText, "351");
    EXPECT_EQ(full.RecordY4, 8);

    StoreRecord(app, 6, 66, 1, 2, 2.5, 0.68, 0, 0, 0, 0, "ignored");
    const MapRecord& text = app.store.Get(1, 1);
    EXPECT_EQ(text.RecordPen, 2) << "the size rounds half to even";
    EXPECT_EQ(text.RecordText, "注记");
    EXPECT_EQ(text.RecordFont, "黑体");

    // A size above 255 keeps the text with pen 255; the size itself stays in X2.
    StoreRecord(app, 6, 66, 1, 2, 400, 0.68, 0, 0, 0, 0, "");
    EXPECT_EQ(app.store.Get(1, 2).RecordPen, 255);
    EXPECT_EQ(app.store.Get(1, 2).RecordX2, 400);
    EXPECT_EQ(Count(1), 3);

    // A negative size writes nothing.
    StoreRecord(app, 6, 66, 1, 2, -3, 0.68, 0, 0, 0, 0, "");
    EXPECT_EQ(Count(1), 3);
    EXPECT_EQ(app.store.Get(1, 3), MapRecord{});

    app.current.CurrentColor = 77;
    Slot(1, 3).RecordColor = 4242;
    StoreRecord(app, 15, 70, 1, 2, 3, 4, 5, 6, 7, 8, "a.bmp");
    const MapRecord& image = app.store.Get(1, 3);
    EXPECT_EQ(image.RecordY2, -4);
    EXPECT_EQ(image.RecordX2, 3);
    EXPECT_EQ(image.RecordColor, 4242) << "an image record's colour is left to the caller";
    EXPECT_EQ(image.RecordPen, 3);

    Slot(1, 4).RecordColor = 99;
    Slot(1, 4).RecordFont = "x";
    StoreRecord(app, 10, 2, 1, 2, 3, 4, 5, 6, 7, 8, "t");
    const MapRecord& read = app.store.Get(1, 4);
    EXPECT_EQ(read.RecordColor, 99);
    EXPECT_EQ(read.RecordPen, 0);
    EXPECT_EQ(read.RecordFont, "x");
    EXPECT_EQ(read.RecordText, "t");
    EXPECT_EQ(Count(1), 5);
}

TEST_F(StoreFixture, SplitTextMode) {
    struct Case {
        const char* text;
        const char* recordText;
        const char* extra;  // "keep" when RecordExtra stays as it was
    };
    int slot = 0;
    for (Case c : {Case{"张三", "张三", "keep"}, {"a,b,c", "a", "b"}, {"a,b", "a", "b"},
                   {"a,", "a", ""}, {",b", "", "b"}}) {
        Slot(1, slot).RecordExtra = "keep";
        Slot(1, slot).RecordFont = "old";
        StoreRecord(app, 7, 53, 1, 2, 0, 0, 0, 0, 0, 0, c.text);
        EXPECT_EQ(app.store.Get(1, slot).RecordText, c.recordText) << c.text;
        EXPECT_EQ(app.store.Get(1, slot).RecordExtra, c.extra) << c.text;
        EXPECT_EQ(app.store.Get(1, slot).RecordFont, "old") << "mode 7 leaves the font";
        ++slot;
    }
    EXPECT_EQ(Count(1), slot);
}

TEST_F(StoreFixture, UnknownModesWriteNothing) {
    for (int mode : {8, 9, 11, 14, 16, 255}) {
        StoreRecord(app, static_cast<std::uint8_t>(mode), 2, 1, 2, 3, 4, 5, 6, 7, 8, "t");
        EXPECT_EQ(app.store.Get(1, 0), MapRecord{}) << mode;
        EXPECT_EQ(Count(1), 0) << mode;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(StoreFixture, WritersWithoutRoomRefuseWithTheCapacityMessage) {
    app.store.Count(1) = 4999;
    StoreRecord(app, 0, 2, 1, 1, 2, 2, 3, 3, 4, 4, "");
    EXPECT_EQ(Count(1), 5000) << "the last record fits: its open slot is the top slot";
    EXPECT_TRUE(Messages().empty());

    StoreRecord(app, 0, 2, 1, 1, 2, 2, 3, 3, 4, 4, "");
    StoreRecord(app, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, "");
    EXPECT_EQ(Count(1), 5000);
    EXPECT_EQ(app.store.Get(1, 5000), MapRecord{});
    EXPECT_EQ(Messages(), (std::vector<std::string>{LayerFullMessage, LayerFullMessage}));

    try {
        AddRecord2(app, 66, 1, 2, 3, 4, "t");
        ADD_FAILURE() << "AddRecord2 without room must stop its caller";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 9);
    }
    EXPECT_EQ(app.store.Get(1, 5000), MapRecord{});

    // A current layer outside the store writes nothing either, and ends quietly.
    app.store.CurrentLayer = 9;
    StoreRecord(app, 0, 2, 1, 1, 2, 2, 3, 3, 4, 4, "");
    StorePolylineFromList(app, "5");
}

// Whatever a tool computed from typed or read values, the store takes no coordinate it could not
// draw or save: every writer refuses before it writes.
TEST_F(StoreFixture, WritersRefuseCoordinatesBeyondTheStorableRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double far : {inf, -inf, nan, 1e40, -1.5e9}) {
        StoreRecord(app, 0, 2, 1, 1, far, 2, 0, 0, 0, 0, "");
        StoreRecord(app, 1, 5, far, 1, 0, 0, 0, 0, 0, 0, "");
        StoreRecord(app, 6, 65, 1, far, 3, 0.8, 0, 0, 0, 0, "");
        EXPECT_EQ(app.store.Get(1, 0), MapRecord{}) << far;
        EXPECT_EQ(Count(1), 0) << far;
        try {
            AddRecord2(app, 50, far, 2, 8, 0, "P");
            ADD_FAILURE() << "AddRecord2 must stop its caller";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 6);
        }
        EXPECT_EQ(app.store.Get(1, 0), MapRecord{}) << far;
        app.selection.WorkPolygon = {0, 0, far, 0, 1, 1, 0, 0};
        StorePolylineFromList(app, "5");
        EXPECT_EQ(Count(1), 0) << far;
    }
    EXPECT_TRUE(Messages().empty());
    // The bound itself is storable.
    StoreRecord(app, 0, 2, -1e9, 1e9, 1, 2, 0, 0, 0, 0, "");
    EXPECT_EQ(Count(1), 1);
}

TEST_F(StoreFixture, AddRecord2WritesWithoutCommitting) {
    app.current.CurrentColor = 5;
    app.current.CurrentPen = 7;
    Slot(1, 0).RecordX3 = 9;
    AddRecord2(app, 66, 1, 2, 3, 4, "字");
    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordType, 66);
    EXPECT_EQ(r.RecordColor, 5);
    EXPECT_EQ(r.RecordPen, 7);
    EXPECT_EQ(r.RecordY2, 4);
    EXPECT_EQ(r.RecordX3, 9);
    EXPECT_EQ(r.RecordText, "字");
    EXPECT_EQ(Count(1), 0);
}

// ---- StorePolylineFromList

TEST_F(StoreFixture, FillHeadTypeAndTextByFillCode) {
    struct Case {
        const char* code;
        int type;
        const char* text;
    };
    app.selection.WorkPolygon = {0, 0, 10, 0, 10, 10, 0, 0};
    for (Case c : {Case{"5", 11, "5"}, {"2", 13, "2"}, {"3abc", 13, "3abc"}, {"4", 13, "216"},
                   {"0", 13, "0"}, {"0450", 13, "101"}, {"120", 13, "120"}, {"400", 13, "51"},
                   {" 4 00", 13, "51"}, {"abc", 13, "0"}}) {
        const int head = Count(1);
        StorePolylineFromList(app, c.code);
        EXPECT_EQ(app.store.Get(1, head).RecordType, c.type) << c.code;
        EXPECT_EQ(app.store.Get(1, head).RecordText, c.text) << c.code;
        EXPECT_EQ(app.store.Get(1, head + 1).RecordText, c.text) << "boundary carries the pattern";
        EXPECT_EQ(Count(1), head + 2) << c.code;
    }
}

TEST_F(StoreFixture, FillBoundaryChainOfSixAndFivePairs) {
    app.current.CurrentColor = 123;
    Slot(1, 0) = Sample(1);  // a record before the fill stays
    app.store.Count(1) = 1;
    // Six pairs: points 0..4 are stored, the last pair is not.
    app.selection.WorkPolygon = {-10, -5, 20, -5, 20, 15, -10, 15, -10, 0, 999, 999};
    StorePolylineFromList(app, "5");
    EXPECT_EQ(Count(1), 4);
    const MapRecord& head = app.store.Get(1, 1);
    EXPECT_EQ(head.RecordType, 11);
    EXPECT_EQ(head.RecordPen, 8);
    EXPECT_EQ(head.RecordColor, 123);
    EXPECT_EQ(head.RecordZ4, 3);
    // The box of the points themselves, negative coordinates included.
    EXPECT_EQ((std::vector<double>{head.RecordX1, head.RecordY1, head.RecordX2, head.RecordY2, head.RecordX3,
                                   head.RecordY3, head.RecordX4, head.RecordY4}),
              (std::vector<double>{-10, 15, 20, 15, 20, -5, -10, -5}));
    const MapRecord& first = app.store.Get(1, 2);
    EXPECT_EQ(first.RecordType, 30);
    EXPECT_EQ(first.RecordPen, 8);
    EXPECT_EQ((std::vector<double>{first.RecordX1, first.RecordY1, first.RecordX4, first.RecordY4}),
              (std::vector<double>{-10, -5, -10, 15}));
    const MapRecord& second = app.store.Get(1, 3);
    EXPECT_EQ(second.RecordType, 26);
    EXPECT_EQ(second.RecordX1, -10);
    EXPECT_EQ(second.RecordY1, 0);
    EXPECT_EQ(second.RecordText, "5");
    EXPECT_EQ(app.store.Get(1, 0), Sample(1));

    // Five pairs: one boundary record of type 29.
    app.selection.WorkPolygon = {0, 0, 1, 0, 1, 1, 0, 1, 0, 0};
    StorePolylineFromList(app, "120");
    EXPECT_EQ(Count(1), 6);
    EXPECT_EQ(app.store.Get(1, 4).RecordZ4, 2);
    EXPECT_EQ(app.store.Get(1, 5).RecordType, 29);

    // Nine points: 30, 30, 26; a list of one pair: a single empty boundary record.
    app.selection.WorkPolygon.clear();
    for (int i = 0; i < 10; ++i) app.selection.WorkPolygon.insert(app.selection.WorkPolygon.end(), {double(i), 1});
    StorePolylineFromList(app, "2");
    EXPECT_EQ(Count(1), 10);
    EXPECT_EQ(app.store.Get(1, 7).RecordType, 30);
    EXPECT_EQ(app.store.Get(1, 8).RecordType, 30);
    EXPECT_EQ(app.store.Get(1, 9).RecordType, 26);
    EXPECT_EQ(app.store.Get(1, 9).RecordX1, 8);
    app.selection.WorkPolygon = {3, 3};
    StorePolylineFromList(app, "2");
    EXPECT_EQ(Count(1), 12);
    EXPECT_EQ(app.store.Get(1, 11).RecordType, 26);
}

TEST_F(StoreFixture, FillWithNegativeCodeOrWithoutRoom) {
    app.selection.WorkPolygon = {0, 0, 1, 0, 1, 1, 0, 0};
    StorePolylineFromList(app, "-3");
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 0) << "the head's fields are not written";
    EXPECT_EQ(app.store.Get(1, 1).RecordType, 28);
    EXPECT_EQ(Count(1), 2);

    // A head and one boundary record fit from slot 4998 (the open slot after them is the top
    // slot), not from 4999: then nothing is written.
    app.store.Count(1) = 4998;
    StorePolylineFromList(app, "5");
    EXPECT_EQ(Count(1), 5000);
    EXPECT_TRUE(Messages().empty());
    app.store.Count(1) = 4999;
    app.store.At(1, 4999) = MapRecord{};
    app.store.At(1, 5000) = MapRecord{};
    StorePolylineFromList(app, "5");
    EXPECT_EQ(Count(1), 4999);
    EXPECT_EQ(app.store.Get(1, 4999), MapRecord{});
    EXPECT_EQ(Messages(), std::vector<std::string>{LayerFullMessage});
    // A fill code too large for 16 bits ends quietly.
    StorePolylineFromList(app, "99999");
    EXPECT_EQ(Count(1), 4999);
}

// ---- FindPointByName

TEST_F(StoreFixture, FindPointByName) {
    auto& store = app.store;
    store.LayerCount = 66;
    store.DimensionKeep(66);
    auto point = [&](int layer, int slot, int type, const char* name, double x) {
        MapRecord& r = Slot(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordText = name;
        r.RecordX1 = x;
        r.RecordY1 = x + 1;
        r.RecordZ1 = static_cast<float>(x + 2);
    };
    point(1, 0, 150, "A1", 1);  // deleted
    point(1, 1, 51, "A1", 2);   // not a point type
    store.Count(1) = 2;
    point(2, 0, 50, "A1", 10);  // a layer holding one record is searched
    store.Count(2) = 1;
    point(3, 0, 44, "A1", 20);
    store.Count(3) = 2;
    point(4, 0, 44, "B7", 30);  // count 0: nothing in the layer
    point(66, 0, 50, "C9", 40);
    store.Count(66) = 5;

    EXPECT_TRUE(FindPointByName(app, "a1", 2));
    EXPECT_EQ(app.station.StationX[2], 10);
    EXPECT_EQ(app.station.StationY[2], 11);
    EXPECT_EQ(app.station.StationH[2], 12);

    const StationSetup before = app.station;
    EXPECT_FALSE(FindPointByName(app, "B7", 0));
    EXPECT_FALSE(FindPointByName(app, "C9", 0)) << "only layers 1..65 are searched";
    EXPECT_FALSE(FindPointByName(app, "a1", 4)) << "no such station row";
    EXPECT_EQ(app.station.StationX, before.StationX);

    store.Count(2) = 0;
    EXPECT_TRUE(FindPointByName(app, "A1", 1));
    EXPECT_EQ(app.station.StationX[1], 20);
}

// ---- TerrainNodeLinks

TEST_F(StoreFixture, LinkNodesTogglesOnlyBetweenFoundNodes) {
    ResetNodeLinks(app);
    auto& nodes = app.nodes;
    EXPECT_EQ(nodes.NodeCount, 0);
    ASSERT_EQ(nodes.NodeLinks.size(), 1u);
    // Nodes 1..12 along the x axis, 100 apart; tolerance 3 x 0.5.
    app.view.ScaleFactor = 0.5;
    for (int i = 1; i <= 12; ++i) {
        nodes.NodeX.push_back(100.0 * i);
        nodes.NodeY.push_back(0);
        nodes.NodeZ.push_back(0);
        nodes.NodeLinks.push_back({});
    }
    nodes.NodeCount = 12;
    const auto empty = nodes.NodeLinks;

    LinkNodes(app, 101, 1, 199, -1);
    EXPECT_EQ(nodes.NodeLinks[1][0], 2);
    EXPECT_EQ(nodes.NodeLinks[2][0], 1);
    LinkNodes(app, 100, 0, 200, 0);
    EXPECT_EQ(nodes.NodeLinks, empty) << "twice leaves the table as it was";

    LinkNodes(app, 100, 0, 250, 0);  // the second point finds no node
    LinkNodes(app, 0, 0, 100, 0);    // node 0 cannot be linked: 0 marks an empty entry
    LinkNodes(app, 100, 0, 101, 0);  // the same node twice
    EXPECT_EQ(nodes.NodeLinks, empty);

    // Node 1 linked to 2..10: nine entries; the tenth never fills by adding.
    for (int j = 2; j <= 11; ++j) LinkNodes(app, 100, 0, 100.0 * j, 0);
    EXPECT_EQ(nodes.NodeLinks[1], (std::array<std::int16_t, 10>{2, 3, 4, 5, 6, 7, 8, 9, 10, 0}));
    EXPECT_EQ(nodes.NodeLinks[11][0], 1) << "the other side still takes the link";
    // Removing a middle link moves the later entries down.
    LinkNodes(app, 400, 0, 100, 0);
    EXPECT_EQ(nodes.NodeLinks[1], (std::array<std::int16_t, 10>{2, 3, 5, 6, 7, 8, 9, 10, 0, 0}));
    EXPECT_EQ(nodes.NodeLinks[4][0], 0);

    ResetNodeLinks(app);
    EXPECT_EQ(nodes.NodeCount, 0);
    EXPECT_EQ(nodes.NodeX.size(), 1u);
}

}  // namespace
}  // namespace movra
