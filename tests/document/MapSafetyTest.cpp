// The open map is never lost or corrupted by the file commands: damaged files leave it as it was,
// saves that fail say so and keep it unsaved, open/save cycles keep the file as it is, and layer
// changes count as changes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <pwd.h>
#include <tuple>
#include <vector>

#include "JdxFileTestMaps.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "document/BlockFile.h"
#include "document/InsertDrawingFile.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/OpenDialogs.h"
#include "document/RecordTypes.h"
#include "document/SaveDialogs.h"
#include "document/WtwFile.h"
#include "document/csForm2.h"
#include "platform/Toolbar.h"
#include "shell/StartUp.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;
namespace fs = std::filesystem;

constexpr std::size_t R = FixedRecordSize;

// Everything of the open map that a file command could touch, compared as a whole.
struct OpenMapState {
    int layerCount = 0, capacity = 0, next = 0, current = 0;
    std::vector<std::int32_t> counts;
    std::vector<MapRecord> records;  // layers 0..LayerCount, slots 0..count (the open slot too)
    std::array<std::string, 256> names;
    std::array<std::uint8_t, 256> colors{};
    std::array<std::int16_t, 256> on{}, lock{};
    std::array<double, 6> params{};
    std::array<double, 6> extentsAndOffsets{};
    std::array<std::vector<std::string>, 5> fieldNames;
    std::string path, caption;
    int modified = 0, mergedCount = 0;
    std::vector<std::string> mergedNames;
    std::array<std::string, 4> recent;

    bool operator==(const OpenMapState&) const = default;
};

OpenMapState StateOf(TestApp& t) {
    const App& app = t.app;
    const auto& s = app.store;
    OpenMapState m;
    m.layerCount = s.LayerCount;
    m.capacity = s.LayerCapacity;
    m.next = s.NextLayerIndex;
    m.current = s.CurrentLayer;
    for (int layer = 0; layer <= s.LayerCount; ++layer) {
        m.counts.push_back(s.Count(layer));
        for (int slot = 0; slot <= s.Count(layer) && slot <= s.LayerCapacity; ++slot) m.records.push_back(s.Get(layer, slot));
    }
    m.names = s.LayerNames;
    m.colors = s.LayerColorIndex;
    m.on = s.LayerOnFlag;
    m.lock = s.LayerLockFlag;
    m.params = app.view.ProjectParams;
    m.extentsAndOffsets = {app.extents.ExtentMinX, app.extents.ExtentMinY, app.extents.ExtentMaxX,
                           app.extents.ExtentMaxY, app.reduction.ReductionOffsetX, app.reduction.ReductionOffsetY};
    m.fieldNames = app.mapFile.AttributeFieldNames;
    m.path = app.current.CurrentFilePath;
    m.caption = t.form1.Caption();
    m.modified = app.current.ModifiedFlag;
    m.mergedCount = app.mapFile.MergedFileCount;
    m.mergedNames = app.mapFile.MergedFileNames;
    m.recent = app.mapFile.RecentFiles;
    return m;
}

class MapSafety : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) { return (folder.Path() / name).string(); }

    // The source map of the damaged files: two layers, an attribute string, a field name.
    void MakeSource(App& app) {
        MakeTwoLayerMap(app);
        app.store.At(1, 3).RecordExtra = "属性";
        app.mapFile.AttributeFieldNames[1] = {"名称", "门牌"};
    }

    // The map a user has open: three layers read from a file, edited since (unsaved), its caption
    // naming it.
    void OpenOriginal(TestApp& t) {
        TestApp source;
        DimensionMap(source.app, 3);
        for (int layer = 1; layer <= 3; ++layer) {
            source.app.store.LayerNames[static_cast<size_t>(layer)] = "原" + std::to_string(layer);
            source.app.store.LayerColorIndex[static_cast<size_t>(layer)] = static_cast<std::uint8_t>(10 * layer);
            for (int i = 0; i < layer + 1; ++i) AddRecord(source.app, layer, SampleRecord(20 * layer + i));
        }
        const std::string original = PathOf("原图.wtw");
        WriteWtwFile(source.app, original);
        t.platform.dialogScript.QueueFile(original, 2);
        OpenWtwFile(t.app);
        ASSERT_EQ(t.app.current.CurrentFilePath, original);
        t.app.store.LayerLockFlag[2] = -1;
        t.app.current.ModifiedFlag = -1;
        t.form1.SetCaption("MOVRA_" + original);
    }

    TempFolder folder{"safety"};
};

// A file cut inside any record, or with a count that runs past its end, is refused whole: the
// open map stays as it was, field for field, with its path, caption and flag, and the message line
// says which file was not read. A file cut at a record boundary is a file without its end record:
// a compact file of whole records opens as a sheet file does, a full file is read to its end.
TEST_F(MapSafety, DamagedMapFilesLeaveTheOpenMapAsItWas) {
    TestApp source;
    MakeSource(source.app);
    const std::string goodJdx = PathOf("good.jdx");
    const std::string goodWtw = PathOf("good.wtw");
    WriteJdxFile(source.app, goodJdx);
    WriteWtwFile(source.app, goodWtw);
    const std::string jdx = FileBytes(goodJdx);
    const std::string wtw = FileBytes(goodWtw);

    struct Damage {
        std::string name;
        bool full;  // a .wtw file (else a .jdx)
        std::string bytes;
    };
    std::vector<Damage> damaged;
    const std::size_t jdxRecords = jdx.size() / R;
    for (std::size_t k = 0; k < jdxRecords; ++k) {
        for (std::size_t inside : {std::size_t{1}, R / 2, R - 1})
            damaged.push_back({"jdx cut in record " + std::to_string(k + 1), false, jdx.substr(0, k * R + inside)});
    }
    std::vector<std::size_t> starts;
    {
        VariableRecordReader reader(wtw);
        FileRecord r;
        for (std::size_t at = 0; reader.Next(r); at = reader.Position()) starts.push_back(at);
    }
    starts.push_back(wtw.size());
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        const std::size_t length = starts[k + 1] - starts[k];
        for (std::size_t inside : {std::size_t{1}, std::size_t{93}, std::size_t{95}, length - 1})
            if (inside < length)
                damaged.push_back({"wtw cut in record " + std::to_string(k + 1), true, wtw.substr(0, starts[k] + inside)});
    }
    std::string longText = wtw;
    SetValueAt<std::uint16_t>(longText, starts[5] + 92, 0x7000);
    damaged.push_back({"wtw text count past the end", true, longText});
    std::string longFont = wtw;
    const std::uint16_t textBytes = ValueAt<std::uint16_t>(wtw, starts[8] + 92);
    SetValueAt<std::uint16_t>(longFont, starts[8] + 94 + textBytes, 0x4000);
    damaged.push_back({"wtw font count past the end", true, longFont});
    std::string moreLayers = jdx;
    moreLayers[0] = 40;
    moreLayers.resize(10 * R + 7);
    damaged.push_back({"jdx header naming more layers than the cut file holds", false, moreLayers});

    for (const Damage& d : damaged) {
        SCOPED_TRACE(d.name + ", " + std::to_string(d.bytes.size()) + " bytes");
        TestApp t;
        OpenOriginal(t);
        const OpenMapState before = StateOf(t);
        const std::string path = PathOf(d.full ? "bad.wtw" : "bad.jdx");
        PutBytes(path, d.bytes);
        t.platform.dialogScript.QueueFile(path, 2);
        if (d.full)
            OpenWtwFile(t.app);
        else
            OpenJdxFile(t.app);
        EXPECT_TRUE(StateOf(t) == before);
        EXPECT_EQ(t.form1.Caption(), "MOVRA_" + before.path);
        EXPECT_EQ(t.form1.ImageCombo1.ItemCount(), 3);
        if (d.bytes.size() > (d.full ? starts[3] : 3 * R)) {
            EXPECT_EQ(t.form1.Text2.Text().rfind(MapFileNotReadMessage, 0), 0u) << t.form1.Text2.Text();
        }
        // What the user does next writes the map still open, not a fragment.
        SaveFileDialog(t.app);
        EXPECT_EQ(t.app.current.CurrentFilePath, before.path);
    }

    // Cut at a record boundary after the layer table: what is there is read.
    for (std::size_t k = 3; k < jdxRecords; ++k) {
        TestApp t;
        OpenOriginal(t);
        PutBytes(PathOf("sheet.jdx"), jdx.substr(0, k * R));
        t.platform.dialogScript.QueueFile(PathOf("sheet.jdx"), 2);
        OpenJdxFile(t.app);
        EXPECT_EQ(t.app.current.CurrentFilePath, PathOf("sheet.jdx")) << k;
    }
}

// The copy buffer and an insertion never take part of a damaged file either.
TEST_F(MapSafety, DamagedBlocksAndInsertedFilesAddNothing) {
    TestApp source;
    MakeSource(source.app);
    source.app.selection.SelectionList = {{4, 0}, {1, 1}, {1, 2}, {1, 3}};
    std::string block = PathOf("three.Qvk");
    SaveSelectionAsBlock(source.app, block);
    const std::string bytes = FileBytes(block);
    for (std::size_t cut = 1; cut < bytes.size(); cut += 37) {
        TestApp t;
        PutBytes(block, bytes.substr(0, cut));
        LoadBlockFile(t.app, block);
        EXPECT_LE(t.app.copyBuffer.Entries.at(0).Layer, 0) << cut;
    }

    WriteWtwFile(source.app, PathOf("insert.wtw"));
    WriteJdxFile(source.app, PathOf("insert.jdx"));
    for (const auto& [name, filter] : {std::pair{std::string("insert.wtw"), 2}, std::pair{std::string("insert.jdx"), 1}}) {
        const std::string whole = FileBytes(PathOf(name));
        for (std::size_t cut : {whole.size() - 1, whole.size() / 2 + 3}) {
            SCOPED_TRACE(name + " cut at " + std::to_string(cut));
            TestApp t;
            OpenOriginal(t);
            const OpenMapState before = StateOf(t);
            PutBytes(PathOf("cut_" + name), whole.substr(0, cut));
            t.platform.dialogScript.QueueFile(PathOf("cut_" + name), filter);
            InsertDrawingFile(t.app);
            const OpenMapState after = StateOf(t);
            EXPECT_TRUE(after == before);
            EXPECT_FALSE(t.form1.Text2.Text().empty());
        }
    }
}

// A record whose position is no finite number (NaN, infinity) is read as deleted: it is neither
// drawn nor saved, the extents stay finite, and the message line counts it.
TEST_F(MapSafety, RecordsWithNonFiniteCoordinatesAreReadAsDeleted) {
    TestApp source;
    DimensionMap(source.app, 1);
    for (int i = 0; i < 4; ++i) AddRecord(source.app, 1, SampleRecord(i));
    // Record 3 is a line of four vertices: its P4 is a position.
    const double x1 = SampleRecord(1).RecordX1, y4 = SampleRecord(3).RecordY4;
    for (const char* name : {"nan.jdx", "nan.wtw"}) {
        SCOPED_TRACE(name);
        const std::string path = PathOf(name);
        const bool full = std::string(name).ends_with(".wtw");
        full ? WriteWtwFile(source.app, path) : WriteJdxFile(source.app, path);
        std::string bytes = FileBytes(path);
        auto spoil = [&bytes](double was, double now) {
            const std::string from(reinterpret_cast<const char*>(&was), sizeof was);
            const std::size_t at = bytes.find(from);
            ASSERT_NE(at, std::string::npos);
            bytes.replace(at, sizeof now, std::string(reinterpret_cast<const char*>(&now), sizeof now));
        };
        spoil(x1, std::nan(""));
        spoil(y4, INFINITY);
        PutBytes(path, bytes);

        // The compact file also on three threads, as a large one is read.
        for (const int threads : full ? std::vector<int>{1} : std::vector<int>{1, 3}) {
            SCOPED_TRACE(threads);
            TestApp t;
            if (threads > 1) {
                t.app.mapFile.ReadThreads = threads;
                t.app.mapFile.ParallelReadMinimumRecords = 0;
            }
            ASSERT_TRUE(full ? ReadWtwFile(t.app, path) : ReadJdxFile(t.app, path));
            if (threads > 1) EXPECT_GT(t.app.mapFile.LastReadThreads, 1);
            int deleted = 0;
            for (int slot = 0; slot < t.app.store.Count(1); ++slot) {
                const MapRecord& r = t.app.store.Get(1, slot);
                if (IsDeletedType(r.RecordType)) ++deleted;
                else EXPECT_TRUE(std::isfinite(r.RecordX1) && std::isfinite(r.RecordY4)) << slot;
            }
            EXPECT_EQ(deleted, 2);
            EXPECT_TRUE(std::isfinite(t.app.extents.ExtentMinX) && std::isfinite(t.app.extents.ExtentMaxY));
            EXPECT_EQ(t.form1.Text2.Text(), std::string(name) + "：2" + NonFiniteRecordsMessage);
        }
    }
}

// A map saved before the store refused coordinates beyond its range (a point at 1e40, a header
// whose extents or origin are infinite) opens in both file forms: those records come in deleted,
// their coordinates cleared, the rest of the map as it was, and the view is finite and shows the drawing.
TEST_F(MapSafety, RecordsAndHeadersBeyondTheStorableRangeAreDroppedOnReading) {
    const double inf = std::numeric_limits<double>::infinity();
    for (const char* name : {"远点.jdx", "远点.wtw"}) {
        SCOPED_TRACE(name);
        TestApp source;
        MakeTwoLayerMap(source.app);
        for (int layer : {1, 2}) source.app.store.LayerOnFlag[static_cast<size_t>(layer)] = -1;
        source.app.store.At(1, 2).RecordX1 = 1e40;
        source.app.store.At(1, 2).RecordY1 = 1e40;
        source.app.store.At(1, 4).RecordY3 = -inf;
        source.app.store.At(1, 5).RecordX2 = std::numeric_limits<double>::quiet_NaN();
        source.app.extents.ExtentMaxY = inf;
        source.app.reduction.ReductionOffsetX = inf;
        const std::string path = PathOf(name);
        if (std::string(name).ends_with(".jdx"))
            WriteJdxFile(source.app, path);
        else
            WriteWtwFile(source.app, path);

        TestApp t;
        t.form1.Load();
        OpenNamedMap(t.app, path);
        const RecordStore& read = t.app.store;
        ASSERT_EQ(read.Count(1), 10);
        for (int slot = 0; slot < 10; ++slot) {
            const MapRecord& r = read.Get(1, slot);
            if (slot == 2 || slot == 4 || slot == 5) {
                EXPECT_TRUE(IsDeletedType(r.RecordType)) << slot;
                EXPECT_EQ(r.RecordX1, 0) << slot;
                EXPECT_EQ(r.RecordY3, 0) << slot;
                EXPECT_EQ(r.RecordX2, 0) << slot;
            } else {
                ExpectSameDrawing(source.app.store.Get(1, slot), r);
            }
        }
        ExpectSameDrawing(source.app.store.Get(2, 0), read.Get(2, 0));
        EXPECT_EQ(t.app.reduction.ReductionOffsetX, 0);
        const PictureBox& canvas = t.form1.Picture1;
        for (double v : {canvas.ScaleLeft(), canvas.ScaleTop(), canvas.ScaleWidth(), canvas.ScaleHeight(),
                         t.app.view.DisplayScaleDenominator, t.app.extents.ExtentMaxX, t.app.extents.ExtentMaxY})
            EXPECT_TRUE(IsStorableCoordinate(v)) << v;
        EXPECT_GT(t.app.extents.ExtentMaxX, 0);
    }
}

// A record left out of a line that runs on over several slots takes the whole line with it, in
// every reader: else the record before would draw on to the cleared slot's (0, 0) and a stray
// segment would cross the sheet from the drawing to the origin. The lines around it stay.
TEST_F(MapSafety, ALineWithARecordLeftOutIsLeftOutWhole) {
    // Layer 1: a whole line (slots 0-2), the line that is damaged (3-6), a single record (7).
    auto record = [](int type, double x) {
        MapRecord r;
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = 0x0000FF;
        r.RecordX1 = x; r.RecordY1 = 3000000.5;
        r.RecordX2 = x + 1; r.RecordY2 = 3000001.5;
        r.RecordX3 = x + 2; r.RecordY3 = 3000002.5;
        r.RecordX4 = x + 3; r.RecordY4 = 3000003.5;
        return r;
    };
    const std::vector<int> types = {TypePenLineChain, TypePenLineChain, TypePenLine2, TypeWideLineChain,
                                    TypeWideLineChain, TypeWideLineChain, TypeWideLine2, TypePenLine3};
    const std::vector<int> damagedLine = {3, 4, 5, 6};
    TestApp source;
    DimensionMap(source.app, 1);
    for (std::size_t i = 0; i < types.size(); ++i) AddRecord(source.app, 1, record(types[i], 500000.25 + 10.0 * i));

    enum class Route { Open, OpenOnThreads, Merge };
    for (const int spoiled : {3, 5, 6}) {
        for (const char* name : {"断线.jdx", "断线.wtw"}) {
            for (const Route route : {Route::Open, Route::OpenOnThreads, Route::Merge}) {
                const bool full = std::string(name).ends_with(".wtw");
                if (full && route == Route::OpenOnThreads) continue;  // only the compact file is read on threads
                SCOPED_TRACE(testing::Message() << "slot " << spoiled << " " << name << " route " << int(route));
                const std::string path = PathOf(name);
                full ? WriteWtwFile(source.app, path) : WriteJdxFile(source.app, path);
                std::string bytes = FileBytes(path);
                const double was = 500000.25 + 10.0 * spoiled + 1, now = 1e308;  // its X2
                const std::size_t at = bytes.find(std::string(reinterpret_cast<const char*>(&was), sizeof was));
                ASSERT_NE(at, std::string::npos);
                bytes.replace(at, sizeof now, std::string(reinterpret_cast<const char*>(&now), sizeof now));
                PutBytes(path, bytes);

                TestApp t;
                int first = 0;
                if (route == Route::Merge) {
                    first = t.app.store.Count(1);
                    t.platform.dialogScript.QueueFile(path, full ? 2 : 1);
                    InsertDrawingFile(t.app);
                    EXPECT_EQ(t.platform.promptScript.LastText(), std::string(name) + "：4" + DxfFarEntitiesMessage);
                } else {
                    if (route == Route::OpenOnThreads) {
                        t.app.mapFile.ReadThreads = 3;
                        t.app.mapFile.ParallelReadMinimumRecords = 0;
                    }
                    ASSERT_TRUE(full ? ReadWtwFile(t.app, path) : ReadJdxFile(t.app, path));
                    if (route == Route::OpenOnThreads) EXPECT_GT(t.app.mapFile.LastReadThreads, 1);
                    EXPECT_EQ(t.form1.Text2.Text(), std::string(name) + "：4" + NonFiniteRecordsMessage);
                }
                const RecordStore& read = t.app.store;
                // A merge also keeps the layer's open slot behind the records.
                ASSERT_GE(read.Count(1), first + static_cast<int>(types.size()));
                for (int slot = 0; slot < static_cast<int>(types.size()); ++slot) {
                    const MapRecord& r = read.Get(1, first + slot);
                    const bool inDamagedLine = std::count(damagedLine.begin(), damagedLine.end(), slot) > 0;
                    EXPECT_EQ(IsDeletedType(r.RecordType), inDamagedLine) << slot;
                    if (!inDamagedLine) ExpectSameDrawing(source.app.store.Get(1, slot), r);
                }
            }
        }
    }
}

// Open and save again, five times: the file keeps its bytes. The writers write each layer's open
// slot; the readers do not keep it as a record, so a layer holding one record still round-trips
// and nothing grows.
TEST_F(MapSafety, OpenSaveCyclesKeepTheFileByteForByte) {
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "wtw" : "jdx");
        TestApp source;
        MakeSource(source.app);
        const std::string path = PathOf(full ? "cycle.wtw" : "cycle.jdx");
        auto write = [full, &path](App& app) { full ? WriteWtwFile(app, path) : WriteJdxFile(app, path); };
        auto read = [full, &path](App& app) { return full ? ReadWtwFile(app, path) : ReadJdxFile(app, path); };
        write(source.app);

        // The first read settles what the file holds in single precision and the extents.
        TestApp first;
        ASSERT_TRUE(read(first.app));
        EXPECT_EQ(first.app.store.Count(1), 10);
        EXPECT_EQ(first.app.store.Count(2), 1);  // the one-record layer
        for (int i = 0; i < 10; ++i) ExpectSameDrawing(source.app.store.Get(1, i), first.app.store.Get(1, i));
        ExpectSameDrawing(source.app.store.Get(2, 0), first.app.store.Get(2, 0));
        EXPECT_TRUE(first.app.store.Get(1, 10) == MapRecord{});
        if (full) {
            EXPECT_EQ(first.app.store.Get(1, 3).RecordExtra, "属性");
            EXPECT_EQ(first.app.mapFile.AttributeFieldNames[1], (std::vector<std::string>{"名称", "门牌"}));
        }
        write(first.app);
        const std::string settled = FileBytes(path);

        for (int cycle = 1; cycle <= 5; ++cycle) {
            TestApp t;
            ASSERT_TRUE(read(t.app));
            write(t.app);
            ASSERT_EQ(FileBytes(path), settled) << "cycle " << cycle;
        }
        // A cleared record inside a layer (followed by more of the layer) is still a record.
        TestApp gap;
        ASSERT_TRUE(read(gap.app));
        gap.app.store.At(1, 4) = MapRecord{};
        write(gap.app);
        TestApp back;
        ASSERT_TRUE(read(back.app));
        EXPECT_EQ(back.app.store.Count(1), 10);
        ExpectSameDrawing(MapRecord{}, back.app.store.Get(1, 4));
    }
}

// A read replaces the layer table whole: layers the file does not have keep nothing of the map
// before. A map of 255 layers reads with no next layer number left. A successful read clears the
// message a failed one left.
TEST_F(MapSafety, ReadingResetsTheLayerTableAboveTheFileAndClearsOldFailures) {
    TestApp t;
    OpenOriginal(t);
    t.app.store.LayerNames[7] = "待加层";
    t.app.store.LayerColorIndex[7] = 77;
    PutBytes(PathOf("bad.jdx"), "MOVRA");
    t.platform.dialogScript.QueueFile(PathOf("bad.jdx"), 2);
    OpenJdxFile(t.app);
    EXPECT_FALSE(t.form1.Text2.Text().empty());

    TestApp source;
    DimensionMap(source.app, 1);
    AddRecord(source.app, 1, SampleRecord(1));
    WriteJdxFile(source.app, PathOf("one.jdx"));
    t.platform.dialogScript.QueueFile(PathOf("one.jdx"), 2);
    OpenJdxFile(t.app);
    EXPECT_EQ(t.app.store.LayerCount, 1);
    for (int layer : {2, 3, 7}) {
        EXPECT_EQ(t.app.store.LayerNames[static_cast<size_t>(layer)], "") << layer;
        EXPECT_EQ(t.app.store.LayerColorIndex[static_cast<size_t>(layer)], 0) << layer;
        EXPECT_EQ(t.app.store.LayerOnFlag[static_cast<size_t>(layer)], 0) << layer;
    }
    EXPECT_EQ(t.app.store.LayerLockFlag[2], -1);  // lock flags stay as the user set them
    EXPECT_EQ(t.form1.Text2.Text(), "");

    TestApp wide;
    DimensionMap(wide.app, 255);
    AddRecord(wide.app, 255, SampleRecord(3));
    WriteJdxFile(wide.app, PathOf("wide.jdx"));
    TestApp back;
    ASSERT_TRUE(ReadJdxFile(back.app, PathOf("wide.jdx")));
    EXPECT_EQ(back.app.store.LayerCount, 255);
    EXPECT_EQ(back.app.store.NextLayerIndex, 255);
    EXPECT_EQ(back.app.store.Count(255), 1);
}

struct FailedSave {
    const char* name;
    std::function<void(App&)> save;
    int filterIndex;
    const char* extension;  // of the file the command writes
};

const std::vector<FailedSave>& SaveCommands() {
    static const std::vector<FailedSave> commands = {
        {"SaveAsJdxDialog", [](App& app) { SaveAsJdxDialog(app); }, 2, ".jdx"},
        {"SaveAsWtwDialog", [](App& app) { SaveAsWtwDialog(app); }, 2, ".wtw"},
        {"SaveFileDialog", [](App& app) { SaveFileDialog(app); }, 2, ".wtw"},
        {"SaveMapBeforeExit", [](App& app) { SaveMapBeforeExit(app); }, 1, ".jdx"},
    };
    return commands;
}

// A save that fails says so, naming the file and the reason; the map keeps its path, caption,
// recent files and unsaved flag.
void ExpectFailedSaveKeptTheMap(TestApp& t, const OpenMapState& before, const std::string& target,
                                const std::string& reason) {
    const OpenMapState after = StateOf(t);
    EXPECT_EQ(after.path, before.path);
    EXPECT_EQ(after.caption, "MOVRA_" + before.path);
    EXPECT_EQ(after.recent, before.recent);
    EXPECT_EQ(after.modified, -1);
    EXPECT_TRUE(after.records == before.records);
    ASSERT_FALSE(t.platform.promptScript.questions.empty());
    const auto& shown = t.platform.promptScript.questions.back();
    EXPECT_EQ(shown.text, MapSaveFailedMessage + target + "\n" + reason);
    EXPECT_EQ(shown.title, MapSaveFailedTitle);
}

TEST_F(MapSafety, FailedSavesSaySoAndKeepTheMapUnsaved) {
    // A folder that is a file, and a folder that does not exist.
    PutBytes(PathOf("plain"), "x");
    const std::vector<std::pair<std::string, std::string>> targets = {
        {PathOf("plain") + "/map", "路径未找到"},
        {PathOf("missing") + "/map", "路径未找到"},
    };
    for (const auto& command : SaveCommands()) {
        for (const auto& [target, reason] : targets) {
            SCOPED_TRACE(std::string(command.name) + " to " + target);
            TestApp t;
            OpenOriginal(t);
            const OpenMapState before = StateOf(t);
            t.platform.dialogScript.QueueFile(target + ".wtw", command.filterIndex);
            command.save(t.app);
            const std::string written = target + command.extension;
            ExpectFailedSaveKeptTheMap(t, before, written, reason);
        }
    }

    // Leaving the program: a failed save keeps it running with the map.
    TestApp t;
    OpenOriginal(t);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.dialogScript.QueueFile(PathOf("missing") + "/map.wtw", 2);
    int cancel = 0, unloadMode = 0;
    RunShutdown(t.app, cancel, unloadMode);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
}

// A write-protected map file is refused as a file that cannot be opened for writing: nothing is
// renamed over it. Root may write any file, so the user's side is taken by a child that drops to
// an unprivileged user, in a folder that user may write (only the file's own protection stops it).
TEST_F(MapSafety, AWriteProtectedMapFileIsNotReplaced) {
    fs::permissions(folder.Path(), fs::perms::all);
    for (const auto& command : SaveCommands()) {
        SCOPED_TRACE(command.name);
        const std::string target = PathOf(std::string("protected") + command.extension);
        PutBytes(target, "old map");
        ::chmod(target.c_str(), 0444);
        TestApp t;
        OpenOriginal(t);
        const OpenMapState before = StateOf(t);
        t.platform.dialogScript.QueueFile(target, command.filterIndex);
        t.platform.promptScript.QueueAnswer(AnswerYes);  // overwrite?

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::getuid() == 0) {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(100);
            }
            command.save(t.app);
            const OpenMapState after = StateOf(t);
            const auto& questions = t.platform.promptScript.questions;
            int fault = 0;
            if (FileBytes(target) != "old map") fault |= 1;
            if (after.path != before.path || after.caption != "MOVRA_" + before.path) fault |= 2;
            if (after.modified != -1 || after.recent != before.recent) fault |= 4;
            if (questions.empty() ||
                questions.back().text != MapSaveFailedMessage + target + "\n" + ErrorDescription(ErrPermissionDenied))
                fault |= 8;
            if (fault)
                std::fprintf(stderr, "path %s caption %s flag %d shown %s\n", after.path.c_str(), after.caption.c_str(),
                             after.modified, questions.empty() ? "" : questions.back().text.c_str());
            ::_exit(fault);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1 file replaced, 2 path or caption, 4 flag or recent files, 8 message";
        EXPECT_EQ(FileBytes(target), "old map");
        ::chmod(target.c_str(), 0644);
    }
}

// Every change to the layer table of the drawing layers marks the map modified.
TEST_F(MapSafety, LayerManagerChangesMarkTheMapModified) {
    struct Change {
        const char* name;
        std::function<void(csForm2&)> make;
    };
    const std::vector<Change> changes = {
        {"rename", [](csForm2& f) { f.Command3_Click(2); f.Command3_Click(2); f.Text2.SetText("新名"); f.Command4_Click(); }},
        {"recolour", [](csForm2& f) { f.Command3_Click(1); f.Command3_Click(1); f.Text3.SetText("99"); f.Command4_Click(); }},
        {"switch off", [](csForm2& f) { f.Command3_Click(3); }},
        {"all off", [](csForm2& f) { f.Label5_Click(); }},
        {"all on", [](csForm2& f) { f.app.store.LayerOnFlag[2] = 0; f.Label4_Click(); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        TestApp t;
        OpenOriginal(t);
        t.app.current.ModifiedFlag = 0;
        csForm2 form(t.app);
        form.Load();
        change.make(form);
        EXPECT_EQ(t.app.current.ModifiedFlag, -1);
    }
    // Looking at a layer, or repainting, changes nothing.
    TestApp t;
    OpenOriginal(t);
    t.app.current.ModifiedFlag = 0;
    csForm2 form(t.app);
    form.Load();
    form.Label4_Click();
    t.app.current.ModifiedFlag = 0;
    form.Label6_Click();
    form.Label4_Click();  // every layer is on already
    EXPECT_EQ(t.app.current.ModifiedFlag, 0);
}

// A new map starts from nothing of the map before: no false origin, no merged files, no sheet
// frame, nothing to undo.
TEST_F(MapSafety, NewDocumentLeavesNothingOfTheOldMap) {
    TestApp t;
    OpenOriginal(t);
    t.app.reduction.ReductionOffsetX = 3500000;
    t.app.reduction.ReductionOffsetY = 500000;
    t.app.mapFile.MergedFileCount = 3;
    t.app.mapFile.MergedFileNames = {"", "a.jdx", "b.wtw", "c.dxf"};
    t.app.sheets.FrameItemCount = 67;
    Toolbar* bar = &t.form1.Toolbar1;
    ASSERT_EQ(bar->Buttons(6).Key(), "撤消");
    ASSERT_EQ(bar->Buttons(7).Key(), "反撤");
    bar->Buttons(6).SetEnabled(true);
    bar->Buttons(7).SetEnabled(true);

    NewDocument(t.app);
    EXPECT_EQ(t.app.reduction.ReductionOffsetX, 0);
    EXPECT_EQ(t.app.reduction.ReductionOffsetY, 0);
    EXPECT_EQ(t.app.mapFile.MergedFileCount, 1);
    EXPECT_EQ(t.app.mapFile.MergedFileNames, std::vector<std::string>(2));
    EXPECT_EQ(t.app.sheets.FrameItemCount, 0);
    EXPECT_FALSE(bar->Buttons(6).Enabled());
    EXPECT_FALSE(bar->Buttons(7).Enabled());

    // A map saved from the new map carries no old origin.
    AddRecord(t.app, 1, SampleRecord(2));
    WriteJdxFile(t.app, PathOf("new.jdx"));
    const std::string bytes = FileBytes(PathOf("new.jdx"));
    EXPECT_EQ(ValueAt<double>(bytes, 78), 0);
    EXPECT_EQ(ValueAt<float>(bytes, 86), 0);

    // Reading a map empties layer 0, the sheet frame template with it.
    t.app.sheets.FrameItemCount = 67;
    ASSERT_TRUE(ReadJdxFile(t.app, PathOf("new.jdx")));
    EXPECT_EQ(t.app.sheets.FrameItemCount, 0);
}

}  // namespace
}  // namespace movra
