#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "JdxFileTestMaps.h"
#include "basic/Gbk.h"
#include "document/DrawingExtents.h"
#include "document/JdxFile.h"
#include "document/WtwFile.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

constexpr std::size_t R = FixedRecordSize;

class JdxFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) { return (folder.Path() / name).string(); }
    TempFolder folder{"jdx"};
};

TEST_F(JdxFileTest, TwoLayerMapHasTheTabledLayout) {
    TestApp t;
    MakeTwoLayerMap(t.app);
    const std::string path = PathOf("two.jdx");
    WriteJdxFile(t.app, path);

    // Header, two layer records, layer 1's ten records and open slot, layer 2's record and open
    // slot, end record.
    const std::string bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), 17 * R);
    EXPECT_EQ(bytes.substr(92, 32), std::string("MOVRAJDX1") + std::string(23, ' '));
    EXPECT_EQ(bytes.substr(124, 8), "3       ");
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 0), 2);         // layer count
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, 1), 5000);      // capacity
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 5), 255);
    EXPECT_EQ(ValueAt<std::int32_t>(bytes, 6), 0x00FFEEDD);
    EXPECT_EQ(ValueAt<float>(bytes, 26), 3412345.75f);     // ProjectParams(2) as a single
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, 90), 3);        // next layer index

    // Layer record of layer 2.
    const std::size_t layer2 = 2 * R;
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, layer2 + 1), 2);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, layer2 + 5), 1);
    EXPECT_EQ(ValueAt<std::int32_t>(bytes, layer2 + 6), 200);
    EXPECT_EQ(ValueAt<double>(bytes, layer2 + 10), -1);    // on
    EXPECT_EQ(ValueAt<double>(bytes, R + 10), 0);          // layer 1 off
    EXPECT_EQ(ValueAt<double>(bytes, layer2 + 18), 1);
    EXPECT_EQ(bytes.substr(layer2 + 92, 4), ToGbk("房屋"));

    // First drawing record: layer 1, slot 0, its fields at their offsets.
    const MapRecord first = SampleRecord(0);
    const std::size_t d = 3 * R;
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, d), 1);
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, d + 1), 0);
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, d + 3), 0);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, d + 5), first.RecordType);
    EXPECT_EQ(ValueAt<double>(bytes, d + 10), first.RecordX1);
    EXPECT_EQ(ValueAt<float>(bytes, d + 26), first.RecordZ1);
    EXPECT_EQ(ValueAt<double>(bytes, d + 78), first.RecordY4);
    EXPECT_EQ(ValueAt<float>(bytes, d + 86), first.RecordZ4);
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, d + 90), first.RecordPen);
    EXPECT_EQ(bytes.substr(d + 124, 8), ToGbk("宋体") + "    ");

    // Layer 1's open slot is an empty record; layer 2's single record is there.
    EXPECT_EQ(ValueAt<std::int16_t>(bytes, 13 * R + 1), 10);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 13 * R + 5), 0);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 14 * R), 2);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 14 * R + 5), 51);

    // End record.
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 16 * R), 0);
    EXPECT_EQ(ValueAt<std::uint8_t>(bytes, 16 * R + 5), 11);
    EXPECT_EQ(bytes.substr(16 * R + 92, 4), "JVQ ");

    EXPECT_EQ(t.app.current.CurrentFilePath, path);
    EXPECT_EQ(t.app.current.ModifiedFlag, 0);
    EXPECT_EQ(t.app.mapFile.RecentFiles[0], path);
    EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
}

TEST_F(JdxFileTest, EveryFieldComesBackWithOnlyTheSingleFieldsRounded) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    const std::string path = PathOf("round.jdx");
    WriteJdxFile(source.app, path);

    TestApp t;
    t.app.current.ModifiedFlag = -1;
    t.app.mapFile.MergedFileCount = 3;
    ReadJdxFile(t.app, path);

    const auto& s = t.app.store;
    EXPECT_EQ(s.LayerCount, 2);
    EXPECT_EQ(s.LayerCapacity, 5000);
    EXPECT_EQ(s.NextLayerIndex, 3);
    EXPECT_EQ(s.LayerNames[1], "道路");
    EXPECT_EQ(s.LayerNames[2], "房屋");
    EXPECT_EQ(s.LayerColorIndex[2], 200);
    EXPECT_EQ(s.LayerOnFlag[1], 0);
    EXPECT_EQ(s.LayerOnFlag[2], -1);
    // The open slots the writer added are no records of the map read.
    ASSERT_EQ(s.Count(1), 10);
    ASSERT_EQ(s.Count(2), 1);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        ExpectSameDrawing(SampleRecord(i), s.Get(1, i));
        EXPECT_EQ(s.Get(1, i).RecordSource, 3);
    }
    EXPECT_EQ(s.Get(1, 10).RecordType, 0);
    ExpectSameDrawing(SampleRecord(50), s.Get(2, 0));

    const auto& p = t.app.view.ProjectParams;
    EXPECT_EQ(p[0], 500);
    EXPECT_EQ(p[1], 3412345.5);
    EXPECT_EQ(p[2], 3412345.75);  // single precision
    EXPECT_EQ(p[3], 40.125);
    EXPECT_EQ(p[4], 50.5);
    EXPECT_EQ(p[5], 117.0);
    // The header's extents are where the drawing extents start; the records of the layers that
    // are on widen them after reading.
    EXPECT_EQ(t.app.extents.ExtentMinX, 10.5);
    EXPECT_GE(t.app.extents.ExtentMaxX, 3412345.75);
    EXPECT_GE(t.app.extents.ExtentMaxY, 40.75);
    EXPECT_EQ(t.app.reduction.ReductionOffsetX, 3400000);
    EXPECT_EQ(t.app.reduction.ReductionOffsetY, static_cast<double>(512345.678f));  // single precision
    EXPECT_EQ(t.form1.Picture1.BackColor(), 0x00FFEEDD);
    EXPECT_EQ(t.app.view.BackgroundColor, 0);  // the canvas takes the colour, the setting stays

    EXPECT_EQ(t.app.current.CurrentFilePath, path);
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);  // reading leaves it
    EXPECT_EQ(t.app.mapFile.RecentFiles[0], path);
    EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
}

TEST_F(JdxFileTest, DeletedAndImageRecordsStayOutAndTextsAreCutOnCharacterBoundaries) {
    TestApp t;
    DimensionMap(t.app, 1);
    MapRecord deleted = SampleRecord(1);
    deleted.RecordType = 102;
    MapRecord image = SampleRecord(2);
    image.RecordType = 70;
    MapRecord longText = SampleRecord(3);
    longText.RecordText = "一二三四五六七八九十一二三四五六七八九十";  // 40 bytes in code page 936
    longText.RecordFont = "华文细黑体";                              // 10 bytes
    MapRecord blanks = SampleRecord(4);
    blanks.RecordText = "  ab  ";
    AddRecord(t.app, 1, deleted);
    AddRecord(t.app, 1, image);
    AddRecord(t.app, 1, longText);
    AddRecord(t.app, 1, blanks);
    t.app.store.LayerNames[1] = "一二三四五六七八九十一二三四五六七八九十";
    const std::string path = PathOf("skip.jdx");
    WriteJdxFile(t.app, path);
    EXPECT_EQ(FileBytes(path).size(), (1 + 1 + 3 + 1) * R);  // two records and the open slot

    TestApp back;
    ReadJdxFile(back.app, path);
    const auto& s = back.app.store;
    ASSERT_EQ(s.Count(1), 2);
    EXPECT_EQ(s.LayerNames[1], "一二三四五六七八九十一二三四五六");
    EXPECT_EQ(s.Get(1, 0).RecordText, "一二三四五六七八九十一二三四五六");
    EXPECT_EQ(s.Get(1, 0).RecordFont, "华文细黑");
    EXPECT_EQ(s.Get(1, 1).RecordText, "ab");
}

TEST_F(JdxFileTest, HeaderTextIsMatchedIgnoringCaseAndBlanks) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    const std::string path = PathOf("case.jdx");
    WriteJdxFile(source.app, path);
    std::string bytes = FileBytes(path);
    bytes.replace(92, 32, std::string("  movrajdx1") + std::string(21, ' '));
    PutBytes(path, bytes);

    TestApp t;
    ReadJdxFile(t.app, path);
    EXPECT_EQ(t.app.store.Count(1), 10);
    EXPECT_EQ(t.app.current.CurrentFilePath, path);
}

TEST_F(JdxFileTest, SavingASmallerMapOverALargerFileLeavesOnlyTheNewMap) {
    TestApp big;
    MakeTwoLayerMap(big.app);
    const std::string path = PathOf("same.jdx");
    WriteJdxFile(big.app, path);

    TestApp small;
    DimensionMap(small.app, 1);
    AddRecord(small.app, 1, SampleRecord(9));
    WriteJdxFile(small.app, path);
    EXPECT_EQ(FileBytes(path).size(), 5 * R);

    TestApp t;
    ReadJdxFile(t.app, path);
    EXPECT_EQ(t.app.store.LayerCount, 1);
    EXPECT_EQ(t.app.store.Count(1), 1);
    ExpectSameDrawing(SampleRecord(9), t.app.store.Get(1, 0));
}

TEST_F(JdxFileTest, AFailedWriteKeepsTheOldFileAndMarksTheMapUnsaved) {
    TestApp t;
    MakeTwoLayerMap(t.app);
    const std::string path = PathOf("keep.jdx");
    WriteJdxFile(t.app, path);
    const std::string before = FileBytes(path);

    t.app.current.ModifiedFlag = 0;
    WriteJdxFile(t.app, PathOf("no-such-folder/x.jdx"));
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
    EXPECT_EQ(t.form1.Caption(), "MOVRA_" + path);
    EXPECT_EQ(t.app.current.CurrentFilePath, path);

    WriteJdxFile(t.app, folder.Str());  // a folder cannot be replaced by a file
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

// Damaged and foreign files. Each row changes the bytes of the two-layer sample file; the map
// afterwards is either the map that was open (the file is refused whole) or what the file held
// before its damage.
struct BadJdxCase {
    const char* name;
    std::function<void(std::string&)> damage;
    bool refused;          // the open map stays as it was
    int layer1Count = -1;  // when read: the count of layer 1 (-1: not checked)
    int layer2Count = -1;
};

TEST_F(JdxFileTest, DamagedFilesNeverCrashAndLeaveTheMapAsSaid) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    const std::string good = PathOf("good.jdx");
    WriteJdxFile(source.app, good);
    const std::string original = FileBytes(good);

    std::vector<BadJdxCase> cases = {
        {"wrong magic", [](std::string& b) { b[92] = 'X'; }, true},
        {"empty file", [](std::string& b) { b.clear(); }, true},
        {"half a header", [](std::string& b) { b.resize(100); }, true},
        {"header with 0 layers", [](std::string& b) { b[0] = 0; }, true},
        {"header naming 300 layers (44 in the byte) with two layer records",
         [](std::string& b) { b[0] = static_cast<char>(300 & 0xFF); b.resize(3 * R); }, true},
        {"header naming 255 layers", [](std::string& b) { b[0] = static_cast<char>(255); }, true},
        {"negative capacity", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, -5); }, true},
        {"capacity 0 grows as records come", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, 0); }, false, 10, 1},
        {"layer record slot 40000", [](std::string& b) { SetValueAt<std::int16_t>(b, 2 * R + 1, static_cast<std::int16_t>(40000 - 65536)); },
         false, 10, 1},
        {"drawing record slot 40000", [](std::string& b) { SetValueAt<std::int16_t>(b, 3 * R + 1, static_cast<std::int16_t>(40000 - 65536)); },
         false, 10, 1},
        {"layer byte 255 goes to the last layer", [](std::string& b) { b[3 * R] = static_cast<char>(255); }, false, 9, 2},
        {"layer named jvq does not end the read", [](std::string& b) { b.replace(R + 92, 4, "jvq "); }, false, 10, 1},
        {"layer-0 record among the drawing is skipped", [](std::string& b) { b[5 * R] = 0; }, false, 9, 1},
        {"no end record: read to the last whole record", [](std::string& b) { b.resize(16 * R); }, false, 10, 1},
        {"cut in the middle of the end record", [](std::string& b) { b.resize(16 * R + 70); }, true},
        {"invalid GBK in texts", [](std::string& b) {
             b[3 * R + 92] = static_cast<char>(0xFF);
             b[3 * R + 93] = static_cast<char>(0x81);
             b[3 * R + 94] = ' ';
             b[4 * R + 123] = static_cast<char>(0xB0);  // a lead byte cut by the field's end
             b[R + 92] = static_cast<char>(0x80);
         }, false, 10, 1},
    };
    // A file cut at every record boundary and in the middle of every record. Cut inside a record
    // and without its end record, the file is damaged; cut at a boundary, it reads like a sheet
    // file, each layer without the open slot its writer added.
    for (std::size_t k = 0; k <= 16; ++k) {
        for (std::size_t extra : {std::size_t{0}, R / 2}) {
            const bool refused = k < 3 || extra != 0;
            const int drawn = static_cast<int>(k) - 3;
            cases.push_back({"cut", [k, extra](std::string& b) { b.resize(k * R + extra); }, refused,
                             refused ? -1 : std::min(drawn, 10), refused ? -1 : std::min(std::max(0, drawn - 11), 1)});
        }
    }

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = original;
        c.damage(bytes);
        const std::string path = PathOf("bad.jdx");
        PutBytes(path, bytes);
        SCOPED_TRACE(bytes.size());

        TestApp t;
        MakeMarkerMap(t.app);
        ReadJdxFile(t.app, path);
        EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
        if (c.refused) {
            ExpectMarkerMapKept(t.app);
            EXPECT_EQ(t.form1.Caption(), "MOVRA_/maps/原图.jdx");
        } else {
            EXPECT_EQ(t.app.current.CurrentFilePath, path);
            if (c.layer1Count >= 0) {
                EXPECT_EQ(t.app.store.Count(1), c.layer1Count);
            }
            if (c.layer2Count >= 0) {
                EXPECT_EQ(t.app.store.Count(2), c.layer2Count);
            }
        }
    }
}

TEST_F(JdxFileTest, ForeignInputIsRefusedWholeAndTextsOfBadBytesSurvive) {
    TestApp t;
    MakeMarkerMap(t.app);
    ReadJdxFile(t.app, folder.Str());  // a folder
    ExpectMarkerMapKept(t.app);
    ReadJdxFile(t.app, PathOf("missing.jdx"));
    ExpectMarkerMapKept(t.app);

    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(static_cast<std::size_t>(random() % 3000), '\0');
        for (auto& c : bytes) c = static_cast<char>(random());
        PutBytes(PathOf("random.jdx"), bytes);
        ReadJdxFile(t.app, PathOf("random.jdx"));
        ExpectMarkerMapKept(t.app);
    }

    t.form1.Text2.SetText("");
    std::string notAMap(2 * R, ' ');
    PutBytes(PathOf("text.jdx"), notAMap);
    ReadJdxFile(t.app, PathOf("text.jdx"));
    ExpectMarkerMapKept(t.app);
    EXPECT_EQ(t.form1.Text2.Text(), "text.jdx：" + std::string(JdxWrongFileMessage));
    // A full map file whose header names another kind of file.
    TestApp source;
    MakeTwoLayerMap(source.app);
    WriteWtwFile(source.app, PathOf("other.wtw"));
    std::string other = FileBytes(PathOf("other.wtw"));
    other[94] = 'X';
    PutBytes(PathOf("other.wtw"), other);
    ReadWtwFile(t.app, PathOf("other.wtw"));
    ExpectMarkerMapKept(t.app);
    EXPECT_EQ(t.form1.Text2.Text(), "other.wtw：" + std::string(WtwWrongFileMessage));
    // A map read afterwards takes the message off the line.
    WriteJdxFile(source.app, PathOf("good.jdx"));
    ASSERT_TRUE(ReadJdxFile(t.app, PathOf("good.jdx")));
    EXPECT_EQ(t.form1.Text2.Text(), "");
}

TEST(FileRecordTest, FieldsDropALoneLeadByteAndKeepWholeCharacters) {
    EXPECT_EQ(TextFromFileField(ToGbk("地形") + "\xB5"), "地形");
    EXPECT_EQ(TextFromFileField("\xB5 ab "), "ab");
    EXPECT_EQ(TextFromFileField("  " + ToGbk("房") + "  "), "房");
    EXPECT_EQ(TextToFileField("ab房屋", 4), "ab" + ToGbk("房"));
    EXPECT_EQ(TextToFileField("ab房屋", 5), "ab" + ToGbk("房"));

    FileRecord r;
    r.text = std::string(40000, 'a');
    r.font = "宋体";
    std::string bytes;
    AppendVariableRecord(bytes, r);
    std::size_t pos = 0;
    FileRecord back;
    ASSERT_TRUE(DecodeVariableRecord(bytes, pos, back));
    EXPECT_EQ(back.text.size(), MaxVariableStringBytes);
    EXPECT_EQ(back.font, "宋体");
    EXPECT_EQ(pos, bytes.size());
    pos = 0;
    EXPECT_FALSE(DecodeVariableRecord(std::string_view(bytes).substr(0, bytes.size() - 1), pos, back));
    EXPECT_EQ(pos, 0u);
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

using namespace movra::test;

// The offsets of the drawing records of a map file.
std::vector<std::size_t> DrawingRecordOffsets(const std::string& bytes, bool variable) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t start = at;
        if (variable) {
            FileRecord skipped;
            if (!DecodeVariableRecord(bytes, at, skipped)) break;
        } else {
            at += FixedRecordSize;
        }
        if (start > 0 && bytes[start] != 0) offsets.push_back(start);
    }
    return offsets;
}

// A map read beside the open one takes its slots from the memory the maps before it gave up, so
// that map after map costs no new memory; a damaged file read in between changes nothing of the
// open map, whose records stay where they were.
TEST_F(JdxFileTest, MapAfterMapCostsNoNewMemoryAndADamagedOneLeavesTheOpenMapInPlace) {
    TestApp source;
    DimensionMap(source.app, 1, 6000);
    for (int i = 0; i < 5000; ++i) AddRecord(source.app, 1, SampleRecord(i));
    const std::string path = PathOf("big.jdx");
    WriteJdxFile(source.app, path);
    PutBytes(PathOf("cut.jdx"), FileBytes(path).substr(0, 3000 * R + 5));

    TestApp t;
    std::size_t reserved = 0;
    for (int read = 1; read <= 4; ++read) {
        ASSERT_TRUE(ReadJdxFile(t.app, path));
        ASSERT_EQ(t.app.store.Count(1), 5000);
        EXPECT_EQ(t.app.store.Get(1, 4321).RecordX1, SampleRecord(4321).RecordX1);
        if (read == 2) reserved = t.app.store.ReservedBytes();
        if (read > 2) EXPECT_EQ(t.app.store.ReservedBytes(), reserved) << read;
    }

    const MapRecord* before = &t.app.store.Get(1, 2048);
    EXPECT_FALSE(ReadJdxFile(t.app, PathOf("cut.jdx")));
    EXPECT_EQ(t.app.store.Count(1), 5000);
    EXPECT_EQ(&t.app.store.Get(1, 2048), before);
    EXPECT_EQ(t.app.store.Get(1, 4999).RecordX1, SampleRecord(4999).RecordX1);
    EXPECT_EQ(t.app.store.ReservedBytes(), reserved);
}

// The extents a reader widens as it stores the records are those the whole-store pass finds from
// the header's extents, whatever order the file gives its layers in; a layer that is off does not
// widen them, a layer of one record does.
TEST(MapFileExtents, ReadersWidenTheExtentsAsTheWholeStorePassWould) {
    TempFolder folder{"extents"};
    enum class Damage { None, FirstRecordToLayer3, LastLayerKeepsOneRecord };
    for (const Damage damage : {Damage::None, Damage::FirstRecordToLayer3, Damage::LastLayerKeepsOneRecord}) {
        for (const bool full : {false, true}) {
            TestApp source;
            App& app = source.app;
            DimensionMap(app, 3);
            for (int layer = 1; layer <= 3; ++layer) app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = layer == 2 ? 0 : -1;
            // A point west of the header's extents first, then far-off points east: met in another
            // order, the west point would not count.
            const std::vector<std::pair<int, double>> points = {{1, 3600}, {1, 12000}, {1, 8000}, {2, 50000},
                                                                {2, 4000},  {3, 20000}};
            for (std::size_t i = 0; i < points.size(); ++i) {
                MapRecord r = SampleRecord(static_cast<int>(i));
                r.RecordX1 = points[i].second;
                r.RecordY1 = 700 + 37 * static_cast<double>(i);
                AddRecord(app, points[i].first, r);
            }
            app.extents = {6000, 100, 6100, 800};
            const std::string path = (folder.Path() / (std::string("map") + (full ? ".wtw" : ".jdx"))).string();
            (full ? WriteWtwFile : WriteJdxFile)(app, path);
            std::string bytes = FileBytes(path);
            const std::vector<std::size_t> drawing = DrawingRecordOffsets(bytes, full);
            ASSERT_EQ(drawing.size(), points.size() + 3);  // with each layer's open slot
            if (damage == Damage::FirstRecordToLayer3) bytes[drawing.front()] = 3;
            if (damage == Damage::LastLayerKeepsOneRecord) bytes[drawing.back()] = 0;  // skipped
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

            TestApp read;
            (full ? ReadWtwFile : ReadJdxFile)(read.app, path);
            // The open slot that ends a layer is no record.
            ASSERT_EQ(read.app.store.Count(3), damage == Damage::FirstRecordToLayer3 ? 2 : 1);
            TestApp reference;
            (full ? ReadWtwFile : ReadJdxFile)(reference.app, path);
            reference.app.extents = {6000, 100, 6100, 800};
            ComputeDrawingExtents(reference.app);
            const DrawingExtents& e = read.app.extents;
            const DrawingExtents& f = reference.app.extents;
            const std::string what = std::to_string(static_cast<int>(damage)) + (full ? " wtw" : " jdx");
            EXPECT_EQ(e.ExtentMinX, f.ExtentMinX) << what;
            EXPECT_EQ(e.ExtentMaxX, f.ExtentMaxX) << what;
            EXPECT_EQ(e.ExtentMaxY, f.ExtentMaxY) << what;
            EXPECT_EQ(e.ExtentMinY, f.ExtentMinY) << what;
            // Layer 3's single record (x 20000) lies inside them.
            if (damage == Damage::None) EXPECT_GE(e.ExtentMaxX, 20000) << what;
        }
    }
}

}  // namespace
}  // namespace movra
