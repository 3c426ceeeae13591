// Layers that overflow during a DXF import: the growth steps and their messages, the cut of the
// overfull layer into a spill layer, and every record coming back whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "DxfTestFiles.h"
#include "LayeredDxfFile.h"
#include "document/CoordinateReduction.h"
#include "document/OpenDialogs.h"
#include "document/Layers.h"
#include "document/RecordPositions.h"
#include "document/StoreRecord.h"
#include "exchange/ImportSpill.h"

namespace movra {
namespace {

using namespace exchange_test;

using ImportSpillTest = DxfImportFixture;

int Asked(const TestApp& t, const char* text) {
    const auto& q = t.platform.promptScript.questions;
    return static_cast<int>(std::count_if(q.begin(), q.end(), [&](const PromptQuestion& p) { return p.text == text; }));
}

TEST_F(ImportSpillTest, ThirtyOneThousandLinesOnOneLayerComeBackOnItAndItsSpillLayer) {
    constexpr int lines = 31200;
    Lines entities;
    entities.reserve(lines * 24);
    for (int i = 1; i <= lines; ++i)
        Append(entities, LineEntity("道路", i, -i, i + 0.5, i * 2.0, {"62", std::to_string(i % 200 + 8)}));
    Lines layers = Layer("房屋", "2");
    Append(layers, Layer("道路", "5"));
    const DxfImportOutcome out = Import(R2000(layers, entities));
    ASSERT_FALSE(out.failed) << out.failureText;

    EXPECT_EQ(Asked(t, LayerFullMessage), 2);
    EXPECT_EQ(Asked(t, LayerFullWarning), 1);
    auto& s = app.store;
    ASSERT_EQ(s.LayerCount, 3);
    EXPECT_EQ(s.LayerNames[3], "道路j");
    EXPECT_EQ(s.LayerColorIndex[3], 5);
    EXPECT_EQ(s.LayerOnFlag[3], -1);
    // The spill layer holds the older part from the layer's empty slot 0 on, the layer the rest.
    ASSERT_EQ(s.Count(3), 25001);
    ASSERT_EQ(s.Count(2), lines - 25000);
    EXPECT_EQ(R(3, 0).RecordType, 0);
    int next = 1;
    auto expectLine = [&](int layer, int slot) {
        const MapRecord& r = R(layer, slot);
        ASSERT_EQ(r.RecordType, 2) << layer << "/" << slot;
        ASSERT_DOUBLE_EQ(r.RecordX1, next);
        ASSERT_DOUBLE_EQ(r.RecordY1, -next);
        ASSERT_DOUBLE_EQ(r.RecordX2, next + 0.5);
        ASSERT_DOUBLE_EQ(r.RecordY2, next * 2.0);
        ASSERT_EQ(r.RecordColor, 1000 + next % 200 + 8);
        ASSERT_EQ(r.RecordSource, 1);
        ++next;
    };
    for (int slot = 1; slot < s.Count(3); ++slot) expectLine(3, slot);
    for (int slot = 0; slot < s.Count(2); ++slot) expectLine(2, slot);
    EXPECT_EQ(next, lines + 1);
    EXPECT_EQ(R(2, s.Count(2)).RecordType, 0);
    EXPECT_EQ(s.Count(1), 0);
}

// Entities beyond the storable range around the moment the layer is cut are left out whole, as
// anywhere else: nothing unstorable reaches the store, the spill layer included.
TEST_F(ImportSpillTest, FarEntitiesAtTheCutAreLeftOut) {
    // From line 30,901 on every other line is far and comes without the common entity part (as
    // some writers leave it out), so that the layer is cut while a far line is read.
    constexpr int lines = 31400, farFrom = 30901;
    auto far = [](int i) { return i >= farFrom && i % 2 == 0; };
    Lines entities;
    entities.reserve(lines * 24);
    for (int i = 1; i <= lines; ++i) {
        if (!far(i)) {
            Append(entities, LineEntity("道路", i, -i, i + 0.5, i * 2.0));
            continue;
        }
        Append(entities, {"0", "LINE", "5", "1F", "100", "AcDbLine", "10", "1e308", "20", std::to_string(-i), "30", "0",
                          "11", std::to_string(i + 0.5), "21", std::to_string(i * 2.0), "31", "0"});
    }
    Lines layers = Layer("道路", "5");
    const DxfImportOutcome out = Import(R2000(layers, entities));
    ASSERT_FALSE(out.failed) << out.failureText;
    const int farLines = (lines - farFrom + 1) / 2;
    EXPECT_EQ(out.farEntitiesSkipped, farLines);
    auto& s = app.store;
    int kept = 0;
    for (int layer = 1; layer <= s.LayerCount; ++layer)
        for (int slot = 0; slot <= s.Count(layer); ++slot) {
            const MapRecord& r = s.Get(layer, slot);
            ASSERT_TRUE(HasStorablePositions(r)) << layer << "/" << slot;
            kept += r.RecordType == 2;
        }
    EXPECT_EQ(kept, lines - farLines);
    EXPECT_EQ(s.LayerCount, 2);  // the layer was cut
}

// Ten layers filled evenly, entity i on layer i mod 10, fill up together, each time inside a
// polyline: every one of them is cut when it overflows, also while the polyline is being read, and
// the file opens whole through the open command, every entity once in the store, on its layer or
// that layer's spill layer.
TEST_F(ImportSpillTest, TenFullLayersOpenWhole) {
    constexpr int layers = 10, entities = 300000;
    const std::string path = Path("layers.dxf");
    WriteLayeredDxf(path, layers, entities);
    t.form1.Load();
    t.platform.promptScript.defaultAnswer = AnswerNo;
    t.platform.dialogScript.QueueFile(path, 2);
    OpenDxfFile(app);
    ASSERT_EQ(app.current.CurrentFilePath, path) << t.platform.promptScript.LastText();

    const auto& s = app.store;
    const FalseOrigin origin = FalseOriginOf(app);
    std::vector<int> seen(entities, 0);
    int spillLayers = 0;
    for (int l = 1; l <= s.LayerCount; ++l) {
        const std::string& name = s.LayerNames[static_cast<size_t>(l)];
        spillLayers += name.back() == 'j';
        for (int slot = 0; slot < s.Count(l); ++slot) {
            const MapRecord& r = s.Get(l, slot);
            int id = -1;
            if (r.RecordType == 65) {
                id = std::stoi(r.RecordText.substr(1));
            } else if (r.RecordType == 5) {
                // The polyline's first four vertices, then its fifth closed back to the first.
                id = static_cast<int>(std::lround(origin.TrueX(r.RecordX1)));
                const MapRecord& end = s.Get(l, slot + 1);
                ASSERT_EQ(end.RecordType, 2) << name << "/" << slot;
                ASSERT_DOUBLE_EQ(origin.TrueX(end.RecordX1), id);
                ASSERT_DOUBLE_EQ(end.RecordY1, r.RecordY4);
                ASSERT_DOUBLE_EQ(end.RecordX2, r.RecordX1);
                ASSERT_DOUBLE_EQ(end.RecordY2, r.RecordY1);
                ++slot;
            } else if (r.RecordType == 2) {
                id = static_cast<int>(std::lround(origin.TrueX(r.RecordX1)));
                ASSERT_TRUE(LayeredDxfKind(layers, id) == LayeredKind::Line) << name << "/" << slot;
            } else {
                ASSERT_EQ(r.RecordType, 0) << name << "/" << slot;
                continue;
            }
            ASSERT_TRUE(id >= 0 && id < entities) << name << "/" << slot;
            ASSERT_EQ(name.rfind("L" + std::to_string(id % layers), 0), 0u) << id << " on " << name;
            ++seen[static_cast<size_t>(id)];
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), entities);
    EXPECT_GE(spillLayers, layers);
}

// A far polyline whose first record the cut moves down to slot 0 is left out whole too, and the
// line read after it takes that slot.
TEST_F(ImportSpillTest, FarEntityCutDownToSlotZeroIsLeftOut) {
    // Lines fill slots 1 to 25,000, where the cut falls; the polyline starts in the slot after it
    // and is long enough for the layer to be cut while it is read.
    constexpr int lines = 25000, vertices = 30000;
    Lines entities;
    entities.reserve(lines * 24 + vertices * 4 + 64);
    for (int i = 1; i <= lines; ++i) Append(entities, LineEntity("道路", i, -i, i + 0.5, i * 2.0));
    std::vector<std::pair<double, double>> points;
    points.reserve(vertices);
    points.emplace_back(1e308, 0);
    for (int i = 1; i < vertices; ++i) points.emplace_back(100 + i, 200 + (i % 7));
    Append(entities, LwPolyline("道路", points, 0));
    Append(entities, LineEntity("道路", 7, 8, 9, 10));
    const DxfImportOutcome out = Import(R2000(Layer("道路", "5"), entities));
    ASSERT_FALSE(out.failed) << out.failureText;
    EXPECT_EQ(out.farEntitiesSkipped, 1);
    auto& s = app.store;
    ASSERT_EQ(s.LayerCount, 2);  // the layer was cut
    int kept = 0, other = 0;
    for (int layer = 1; layer <= s.LayerCount; ++layer)
        for (int slot = 0; slot <= s.Count(layer); ++slot) {
            const MapRecord& r = s.Get(layer, slot);
            ASSERT_TRUE(HasStorablePositions(r)) << layer << "/" << slot;
            kept += r.RecordType == 2;
            other += r.RecordType != 2 && r.RecordType != 0;
        }
    EXPECT_EQ(kept, lines + 1);
    EXPECT_EQ(other, 0);  // nothing of the polyline
    // The cut layer holds only the last line, in slot 0, and its open slot.
    ASSERT_EQ(s.Count(1), 1);
    EXPECT_EQ(R(1, 0).RecordType, 2);
    EXPECT_DOUBLE_EQ(R(1, 0).RecordX1, 7);
}

// Layer 2 of a store of three layers, filled with `count` records numbered by X1 (from 1 on).
void FillLayer(App& app, int count, std::int16_t capacity) {
    EmptyMap(app, 3);
    app.store.LayerNames[2] = "乙";
    app.store.LayerColorIndex[2] = 9;
    app.store.LayerCapacity = capacity;
    app.store.CurrentLayer = 2;
    for (int i = 1; i <= count; ++i) {
        MapRecord& r = app.store.At(2, i);
        r.RecordType = 2;
        r.RecordX1 = i;
    }
    app.store.Count(2) = count;
}

TEST_F(ImportSpillTest, TheCutKeepsChainsWholeAndLeavesDeletedRecordsOut) {
    struct Case {
        const char* what;
        int firstOther;  // first slot from 25000 up whose type is no multiple of 5; 0 for none
        int cut;
    };
    for (const Case& c : {Case{"a line at 25000", 25000, 25000}, Case{"a chain up to 25003", 25003, 25003},
                          Case{"full records to the end", 0, 25000}}) {
        SCOPED_TRACE(c.what);
        FillLayer(app, 31096, 31110);
        for (int slot = 25000; slot <= 31096; ++slot)
            if (c.firstOther == 0 || slot < c.firstOther) app.store.At(2, slot).RecordType = 5;
        app.store.At(2, 100).RecordType = 102;
        MapRecord& both = app.store.At(2, 200);
        both.RecordText = "a!b";
        both.RecordExtra = "c";
        const MapRecord after = app.store.Get(2, c.cut + 1);

        ImportSpill spill;
        SpillLayerOverflow(app, spill);
        ASSERT_EQ(spill.SpillFileCount, 1);
        ASSERT_EQ(spill.blocks.size(), 1u);
        EXPECT_EQ(spill.blocks[0].layer, 4);
        EXPECT_EQ(spill.blocks[0].records.size(), static_cast<size_t>(c.cut));  // slots 0..cut less the deleted one
        EXPECT_EQ(app.store.Get(2, 0), after);
        EXPECT_EQ(app.store.Count(2), 31096 - c.cut - 1);
        EXPECT_EQ(app.store.AllocatedSlots(2), 31096 - c.cut);

        app.store.NextLayerIndex = 5;
        硬盘建层(app);
        RestoreOverflowRecords(app, spill);
        ASSERT_EQ(app.store.LayerCount, 4);
        EXPECT_EQ(app.store.LayerNames[4], "乙j");
        EXPECT_EQ(app.store.LayerColorIndex[4], 9);
        EXPECT_EQ(app.store.Count(4), c.cut);
        for (int slot = 1; slot < app.store.Count(4); ++slot) ASSERT_NE(app.store.Get(4, slot).RecordType, 102);
        EXPECT_DOUBLE_EQ(app.store.Get(4, 100).RecordX1, 101);  // the deleted slot 100 left out
        EXPECT_EQ(app.store.Get(4, 199).RecordText, "a!b");
        EXPECT_EQ(app.store.Get(4, 199).RecordExtra, "c");
    }
}

TEST_F(ImportSpillTest, TwoSpillsGiveTwoLayersAfterTheFilesOwn) {
    FillLayer(app, 31096, 31100);
    app.store.NextLayerIndex = 4;
    ImportSpill spill;
    GrowImportLayerCapacity(app, spill);
    EXPECT_EQ(app.store.LayerCapacity, 31110);
    EXPECT_EQ(app.store.Count(2), 31096 - 25001);
    // Refill to the top and spill again: the layer goes on from its count.
    for (int i = app.store.Count(2) + 1; i <= 31106; ++i) {
        app.store.At(2, i).RecordType = 2;
        app.store.At(2, i).RecordX1 = -i;
    }
    app.store.Count(2) = 31106;
    GrowImportLayerCapacity(app, spill);
    ASSERT_EQ(spill.SpillFileCount, 2);
    EXPECT_EQ(spill.blocks[0].layer, 4);
    EXPECT_EQ(spill.blocks[1].layer, 5);
    EXPECT_EQ(app.store.LayerNames[5], "乙j");
    EXPECT_TRUE(t.platform.promptScript.questions.empty());

    // No layer number left: the spill is refused before anything is cut.
    app.store.NextLayerIndex = 253;
    app.store.Count(2) = 31116;
    EXPECT_THROW(GrowImportLayerCapacity(app, spill), RuntimeError);
    EXPECT_EQ(app.store.Count(2), 31116);
    EXPECT_EQ(spill.SpillFileCount, 2);

    app.store.NextLayerIndex = 6;
    硬盘建层(app);
    RestoreOverflowRecords(app, spill);
    EXPECT_EQ(app.store.Count(4), 25001);
    EXPECT_EQ(app.store.Count(5), 25001);
    EXPECT_DOUBLE_EQ(app.store.Get(4, 25000).RecordX1, 25000);
    EXPECT_DOUBLE_EQ(app.store.Get(5, 0).RecordX1, 25001);
}

}  // namespace
}  // namespace movra
