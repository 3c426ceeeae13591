#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "App.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

struct LayerFixture : ::testing::Test {
    FakePlatform fake;
    App app{fake};

    void SetUp() override {
        FillColorAndFontTables(app);
        NewDocument(app);
    }
    static MapRecord Tagged(int type, const std::string& text, int source) {
        MapRecord r;
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordText = text;
        r.RecordExtra = text + "!extra";
        r.RecordSource = static_cast<std::uint8_t>(source);
        r.RecordX1 = 1.5;
        r.RecordZ4 = 2.5f;
        return r;
    }
};

TEST_F(LayerFixture, NewDocumentStartsAnEmptyTwoLayerMap) {
    auto& store = app.store;
    // Dirty the map first: records, layers, a lock, a selection, a modified flag.
    store.NextLayerIndex = 8;
    AddLayer(app);
    store.LayerLockFlag[1] = -1;
    store.LayerLockFlag[7] = -1;
    store.At(5, 20).RecordExtra = "attr";
    store.Count(5) = 21;
    store.LayerCapacity = 9000;
    app.selection.SelectionList.assign(3, SelectedRecord{5, 20});
    app.current.ModifiedFlag = -1;
    app.current.CurrentPen = 9;
    app.nodes.NodeCount = 3;
    app.nodes.NodeX.resize(4);

    NewDocument(app);
    EXPECT_EQ(store.LayerCount, 1);
    EXPECT_EQ(store.LayerDimension(), 1);
    EXPECT_EQ(store.LayerCapacity, 5000);
    EXPECT_EQ(store.NextLayerIndex, 2);
    EXPECT_EQ(store.CurrentLayer, 1);
    EXPECT_EQ(store.LayerRecordCount.size(), 256u);
    EXPECT_EQ(store.Count(0), 256);
    EXPECT_EQ(store.Count(1), 0);
    EXPECT_EQ(store.Count(5), 0);
    EXPECT_EQ(store.AllocatedSlots(0) + store.AllocatedSlots(1), 0) << "every slot is empty";
    EXPECT_EQ(store.LayerNames[0], "层0");
    EXPECT_EQ(store.LayerNames[1], "层1");
    EXPECT_EQ(store.LayerNames[5], "");
    EXPECT_EQ(store.LayerColorIndex[0], 6);
    EXPECT_EQ(store.LayerColorIndex[1], 5);
    EXPECT_EQ(store.LayerOnFlag[0], -1);
    EXPECT_EQ(store.LayerOnFlag[1], -1);
    EXPECT_EQ(store.LayerOnFlag[5], 0);
    EXPECT_EQ(store.LayerLockFlag[1], -1) << "lock flags outlive a new document";
    EXPECT_EQ(store.LayerLockFlag[7], -1);
    EXPECT_EQ(app.current.CurrentColor, MakeRgb(0, 0, 255));
    EXPECT_EQ(app.current.CurrentPen, 0);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
    EXPECT_EQ(app.view.DisplayZoom, 2);
    EXPECT_EQ(app.selection.SelectionList.size(), 1u);
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 0);
    EXPECT_EQ(app.nodes.NodeCount, 0);
    EXPECT_EQ(app.nodes.NodeX.size(), 1u);
    EXPECT_EQ(app.tool.CommandMode, ModeZoomIn);
    EXPECT_TRUE(std::regex_match(app.current.LastPicturePath,
                                 std::regex("newfilse_\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}")))
        << app.current.LastPicturePath;
}

TEST_F(LayerFixture, AddLayerKeepsEveryRecordAndEmptiesTheWorkBuffer) {
    auto& store = app.store;
    store.NextLayerIndex = 3;
    AddLayer(app);
    ASSERT_EQ(store.LayerCount, 2);
    store.At(0, 800) = Tagged(2, "print range", 0);  // above layer 0's count of 256
    store.At(0, 1000) = Tagged(15, "self-made symbol", 0);
    store.At(1, 0) = Tagged(2, "line", 3);
    store.At(1, 1) = Tagged(150, "deleted point", 2);
    store.Count(1) = 2;
    store.At(2, 0) = Tagged(50, "single", 4);
    store.Count(2) = 1;
    store.At(2, 3) = Tagged(2, "stale above the count", 1);
    app.clip.Items.resize(5);
    app.clip.ClipBufferCount = 4;

    store.NextLayerIndex = 4;
    AddLayer(app);
    EXPECT_EQ(store.LayerCount, 3);
    EXPECT_EQ(store.LayerDimension(), 3);
    EXPECT_EQ(store.LayerRecordCount.size(), 5u);
    EXPECT_EQ(store.CurrentLayer, 3);
    EXPECT_EQ(store.Get(0, 800), Tagged(2, "print range", 0));
    EXPECT_EQ(store.Get(0, 1000), Tagged(15, "self-made symbol", 0));
    EXPECT_EQ(store.Get(1, 0), Tagged(2, "line", 3));
    EXPECT_EQ(store.Get(1, 1), Tagged(150, "deleted point", 2));
    EXPECT_EQ(store.Get(2, 0), Tagged(50, "single", 4));
    EXPECT_EQ(store.Get(2, 3), MapRecord{}) << "slots above the count come back empty";
    EXPECT_EQ((std::vector<int>{store.Count(0), store.Count(1), store.Count(2), store.Count(3)}),
              (std::vector<int>{256, 2, 1, 0}));
    EXPECT_EQ(app.clip.ClipBufferCount, 0);
    EXPECT_EQ(app.clip.Items.size(), 1u);
    // The new layer takes records.
    StoreRecord(app, 10, 2, 1, 1, 2, 2, 3, 3, 4, 4, "");
    EXPECT_EQ(store.Count(3), 1);

    // A NextLayerIndex at or below the layer count drops no layer.
    store.NextLayerIndex = 2;
    AddLayer(app);
    EXPECT_EQ(store.LayerCount, 3);
    EXPECT_EQ(store.Get(2, 0), Tagged(50, "single", 4));
}

TEST_F(LayerFixture, RebuildInMemoryKeepsRecordsFilePathAndWorkBuffer) {
    auto& store = app.store;
    store.At(0, 0).RecordText = "点名,X,Y";
    store.At(1, 0) = Tagged(53, "张三", 2);
    store.At(1, 1) = Tagged(144, "deleted", 2);
    store.Count(1) = 2;
    app.current.CurrentFilePath = "/maps/a.wtw";
    app.current.ModifiedFlag = -1;
    app.clip.Items.resize(3);
    app.clip.ClipBufferCount = 2;

    store.NextLayerIndex = 3;
    硬盘建层(app);
    EXPECT_EQ(store.LayerCount, 2);
    EXPECT_EQ(store.CurrentLayer, 2);
    EXPECT_EQ(store.Get(0, 0).RecordText, "点名,X,Y");
    EXPECT_EQ(store.Get(1, 0), Tagged(53, "张三", 2));
    EXPECT_EQ(store.Get(1, 1), Tagged(144, "deleted", 2));
    EXPECT_EQ(store.Count(1), 2);
    EXPECT_EQ(app.current.CurrentFilePath, "/maps/a.wtw");
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_EQ(app.clip.ClipBufferCount, 2);
}

TEST_F(LayerFixture, NewLayerDimensionIsEmpty) {
    auto& store = app.store;
    store.At(1, 5) = Tagged(2, "old", 0);
    store.Count(1) = 6;
    store.LayerCount = 4;
    新建层(app);
    EXPECT_EQ(store.LayerDimension(), 4);
    EXPECT_EQ(store.LayerRecordCount.size(), 6u);
    EXPECT_EQ(store.Count(1), 0);
    EXPECT_EQ(store.Get(1, 5), MapRecord{});
    EXPECT_EQ(store.CurrentLayer, 4);
    store.At(4, 5000).RecordType = 2;  // dimensioned to the capacity
}

// Layer 1 holds line records up to slot 9999 and then the given types.
struct SplitCase {
    std::vector<int> typesFrom10000;
    int cut;
};

TEST_F(LayerFixture, AutomaticSplitCutsAtARecordBoundary) {
    for (SplitCase c : {SplitCase{{2}, 10001},
                        {{5, 30, 5, 30, 5, 30, 5, 30, 5, 30, 4}, 10011},
                        {{13, 27, 2}, 10002},            // a fill head keeps its chain
                        {{11, 30, 30, 26}, 10004},
                        {{113, 126}, 10002},             // deleted fill group as well
                        {{5, 5, 5, 5}, 10000}}) {       // no boundary found: 10000
        NewDocument(app);
        auto& store = app.store;
        store.LayerCapacity = 31110;
        store.LayerNames[1] = "道路";
        store.LayerColorIndex[1] = 3;
        const int count = 10000 + static_cast<int>(c.typesFrom10000.size());
        for (int slot = 0; slot < count; ++slot) {
            MapRecord& r = store.At(1, slot);
            r.RecordType = slot < 10000 ? 2 : static_cast<std::uint8_t>(c.typesFrom10000[static_cast<size_t>(slot - 10000)]);
            r.RecordX1 = slot;
            r.RecordSource = static_cast<std::uint8_t>(slot % 7);
        }
        store.At(1, count).RecordText = "open";  // the record under construction moves too
        store.Count(1) = count;

        自动加层(app);
        SCOPED_TRACE(c.cut);
        ASSERT_EQ(store.LayerCount, 2);
        EXPECT_EQ(store.NextLayerIndex, 3);
        EXPECT_EQ(store.LayerNames[2], "道路j");
        EXPECT_EQ(store.LayerColorIndex[2], 3);
        EXPECT_EQ(store.LayerOnFlag[2], -1);
        EXPECT_EQ(store.CurrentLayer, 1);
        EXPECT_EQ(store.Count(1), c.cut);
        EXPECT_EQ(store.Count(2), count - c.cut);
        EXPECT_EQ(store.Get(1, c.cut - 1).RecordX1, c.cut - 1);
        EXPECT_EQ(store.Get(1, c.cut), MapRecord{});
        for (int slot = c.cut; slot < count; ++slot) {
            EXPECT_EQ(store.Get(2, slot - c.cut).RecordX1, slot);
            EXPECT_EQ(store.Get(2, slot - c.cut).RecordSource, slot % 7);
        }
        EXPECT_EQ(store.Get(2, count - c.cut).RecordText, "open");
        EXPECT_EQ(store.Get(1, count), MapRecord{});
    }
}

TEST_F(LayerFixture, GrowingFrom31100SplitsTheCurrentLayer) {
    auto& store = app.store;
    store.LayerCapacity = 31100;
    for (int slot = 0; slot < 31095; ++slot) store.At(1, slot).RecordType = 2;
    store.Count(1) = 31095;
    GrowLayerCapacity(app);
    EXPECT_EQ(store.LayerCapacity, 31110);
    EXPECT_EQ(store.LayerCount, 2);
    EXPECT_EQ(store.LayerNames[2], "层1j");
    EXPECT_EQ(store.Count(1), 10001);
    EXPECT_EQ(store.Count(2), 31095 - 10001);
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

TEST_F(LayerFixture, NoLayerNumberLeftRefusesTheSplit) {
    auto& store = app.store;
    store.NextLayerIndex = 255;
    store.LayerCapacity = 31110;
    store.At(1, 10000).RecordType = 2;
    store.Count(1) = 10001;
    自动加层(app);
    ASSERT_EQ(fake.promptScript.questions.size(), 1u);
    EXPECT_EQ(fake.promptScript.LastText(), "层已满");
    EXPECT_EQ(store.NextLayerIndex, 255);
    EXPECT_EQ(store.LayerCount, 1);
    EXPECT_EQ(store.Count(1), 10001);
    EXPECT_EQ(store.LayerNames[255], "");
}

}  // namespace
}  // namespace movra
