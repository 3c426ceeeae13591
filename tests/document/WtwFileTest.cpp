#include <gtest/gtest.h>

#include <functional>

#include "JdxFileTestMaps.h"
#include "document/FileRecord.h"
#include "document/JdxFile.h"
#include "document/WtwFile.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

class WtwFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) { return (folder.Path() / name).string(); }
    TempFolder folder{"wtw"};
};

TEST_F(WtwFileTest, FullFileKeepsImagesAttributeStringsAndFieldNames) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    auto& s = source.app.store;
    s.At(1, 2).RecordType = 70;  // a linked image
    s.At(1, 2).RecordText = "/图片/航片.jpg";
    s.At(1, 3).RecordText = "A";
    s.At(1, 3).RecordExtra = "B";
    s.At(1, 4).RecordType = 105;  // deleted
    source.app.mapFile.AttributeFieldNames[1] = {"户主", "面积", "用途"};
    source.app.mapFile.AttributeFieldNames[3] = {"单名"};  // a single name is kept
    source.app.mapFile.AttributeFieldNames[4] = {""};      // nothing to keep
    const std::string path = PathOf("full.wtw");
    WriteWtwFile(source.app, path);

    const auto records = RecordsOf(path);
    // Header, 2 layer records, 3 + 1 field names, 10 of layer 1's 11 slots, 2 of layer 2, end.
    ASSERT_EQ(records.size(), 1u + 2 + 4 + 10 + 2 + 1);
    EXPECT_EQ(records[0].text, WtwMagic);
    EXPECT_EQ(records[1].type, 255);
    EXPECT_EQ(records[3].type, 54);
    EXPECT_EQ(records[3].x1, 1);
    EXPECT_EQ(records[6].type, 56);
    EXPECT_EQ(records[6].text, "单名");
    EXPECT_EQ(records[10].text, "A!B");
    EXPECT_TRUE(IsEndRecord(records.back()));

    TestApp t;
    t.app.mapFile.AttributeFieldNames[2] = {"旧名0", "旧名1"};  // a class the file does not list
    t.app.mapFile.AttributeFieldNames[3] = {"x", "y", "z"};
    ReadWtwFile(t.app, path);
    const auto& b = t.app.store;
    ASSERT_EQ(b.Count(1), 9);
    ASSERT_EQ(b.Count(2), 1);
    EXPECT_EQ(b.Get(1, 2).RecordType, 70);
    EXPECT_EQ(b.Get(1, 2).RecordText, "/图片/航片.jpg");
    EXPECT_EQ(b.Get(1, 3).RecordText, "A");
    EXPECT_EQ(b.Get(1, 3).RecordExtra, "B");
    EXPECT_EQ(b.Get(1, 4).RecordText, SampleRecord(5).RecordText);  // the deleted one is gone
    EXPECT_EQ(b.Get(1, 4).RecordExtra, "");
    for (int slot : {0, 1, 5, 8}) ExpectSameDrawing(SampleRecord(slot), b.Get(1, slot < 4 ? slot : slot - 1));
    EXPECT_EQ(t.app.view.ProjectParams[2], 3412345.75);
    const auto& names = t.app.mapFile.AttributeFieldNames;
    EXPECT_EQ(names[1], (std::vector<std::string>{"户主", "面积", "用途"}));
    EXPECT_EQ(names[2], (std::vector<std::string>{"旧名0", "旧名1"}));
    EXPECT_EQ(names[3], (std::vector<std::string>{"单名"}));
    EXPECT_EQ(t.app.current.CurrentFilePath, path);
    EXPECT_EQ(t.app.mapFile.RecentFiles[0], path);
}

TEST_F(WtwFileTest, TextsAreSplitAtTheirFirstTwoBangsAndNeverCut) {
    TestApp source;
    DimensionMap(source.app, 1);
    const std::string longText(300, 'x');
    for (const char* text : {"A!B!C", " 门牌 ! 12号 ", "jvq", "无"}) {
        MapRecord r = SampleRecord(1);
        r.RecordText = text;
        AddRecord(source.app, 1, r);
    }
    MapRecord r = SampleRecord(2);
    r.RecordText = longText;
    AddRecord(source.app, 1, r);
    source.app.mapFile.AttributeFieldNames[2] = {"JVQ", "名"};  // a field named jvq ends nothing
    const std::string path = PathOf("bang.wtw");
    WriteWtwFile(source.app, path);

    TestApp t;
    ReadWtwFile(t.app, path);
    const auto& b = t.app.store;
    ASSERT_EQ(b.Count(1), 5);
    EXPECT_EQ(b.Get(1, 0).RecordText, "A");
    EXPECT_EQ(b.Get(1, 0).RecordExtra, "B");
    EXPECT_EQ(b.Get(1, 1).RecordText, "门牌 ");
    EXPECT_EQ(b.Get(1, 1).RecordExtra, "12号");
    EXPECT_EQ(b.Get(1, 2).RecordText, "jvq");
    EXPECT_EQ(b.Get(1, 4).RecordText, longText);
    EXPECT_EQ(t.app.mapFile.AttributeFieldNames[2], (std::vector<std::string>{"JVQ", "名"}));
}

TEST_F(WtwFileTest, ClipBufferIsWrittenAsAOneLayerMap) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    source.app.store.LayerNames[1] = "道路";
    source.app.store.LayerColorIndex[1] = 17;
    auto& clip = source.app.clip;
    clip.Items.assign(4, MapRecord{});
    clip.Items[1] = SampleRecord(1);
    clip.Items[2] = SampleRecord(2);
    clip.Items[2].RecordExtra = "属性";
    clip.Items[3] = SampleRecord(3);
    clip.Items[3].RecordType = 130;  // deleted
    clip.ClipBufferCount = 3;
    source.app.current.CurrentFilePath = "/maps/a.wtw";
    source.app.current.ModifiedFlag = -1;
    const std::string path = PathOf("clip.wtw");
    WriteClipWtwFile(source.app, path);
    EXPECT_EQ(source.app.current.CurrentFilePath, "/maps/a.wtw");
    EXPECT_EQ(source.app.current.ModifiedFlag, -1);  // the map's edits are still unsaved
    EXPECT_EQ(source.app.mapFile.RecentFiles[0], "");
    EXPECT_EQ(source.app.store.Count(1), 10);

    const auto records = RecordsOf(path);
    ASSERT_EQ(records.size(), 1u + 1 + 2 + 1);
    EXPECT_EQ(records[0].layer, 1);
    EXPECT_EQ(records[0].slot, 3);
    EXPECT_EQ(records[0].pen, 2);
    EXPECT_EQ(records[1].text, "2道路");
    EXPECT_EQ(records[1].color, 17);

    TestApp t;
    ReadWtwFile(t.app, path);
    EXPECT_EQ(t.app.store.LayerCount, 1);
    EXPECT_EQ(t.app.store.NextLayerIndex, 2);
    EXPECT_EQ(t.app.store.LayerNames[1], "2道路");
    ASSERT_EQ(t.app.store.Count(1), 2);
    ExpectSameDrawing(SampleRecord(1), t.app.store.Get(1, 0));
    ExpectSameDrawing(SampleRecord(2), t.app.store.Get(1, 1));
    EXPECT_EQ(t.app.store.Get(1, 1).RecordExtra, "属性");

    // A single item is written too.
    clip.ClipBufferCount = 1;
    WriteClipWtwFile(source.app, path);
    ReadWtwFile(t.app, path);
    EXPECT_EQ(t.app.store.Count(1), 1);
}

struct BadWtwCase {
    const char* name;
    std::function<void(std::string&)> damage;
    bool refused;
    int layer1Count = -1;
};

// Offsets in the sample file: every record of it has texts of known length.
std::vector<std::size_t> RecordStarts(const std::string& bytes) {
    VariableRecordReader reader(bytes);
    std::vector<std::size_t> starts;
    FileRecord r;
    for (;;) {
        const std::size_t at = reader.Position();
        if (!reader.Next(r)) break;
        starts.push_back(at);
    }
    return starts;
}

TEST_F(WtwFileTest, DamagedFilesNeverCrashAndLeaveTheMapAsSaid) {
    TestApp source;
    MakeTwoLayerMap(source.app);
    const std::string good = PathOf("good.wtw");
    WriteWtwFile(source.app, good);
    const std::string original = FileBytes(good);
    const auto starts = RecordStarts(original);
    ASSERT_EQ(starts.size(), 17u);  // header, 2 layers, 11 + 2 drawing records, end

    std::vector<BadWtwCase> cases = {
        {"wrong magic", [](std::string& b) { b[94] = 'X'; }, true},
        {"empty file", [](std::string& b) { b.clear(); }, true},
        {"header with 0 layers", [](std::string& b) { b[0] = 0; }, true},
        {"header naming more layers than the file holds", [](std::string& b) { b[0] = static_cast<char>(300 & 0xFF); }, true},
        {"negative capacity", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, -1); }, true},
        {"text count beyond the file", [&](std::string& b) { SetValueAt<std::uint16_t>(b, starts[5] + 92, 0xFFFF); },
         true},
        {"layer record slot 40000", [&](std::string& b) {
             SetValueAt<std::int16_t>(b, starts[1] + 1, static_cast<std::int16_t>(40000 - 65536)); }, false, 10},
        {"field-name slot 40000 and 32767", [&](std::string& b) {
             b[starts[3]] = 0; b[starts[3] + 5] = 55;
             SetValueAt<std::int16_t>(b, starts[3] + 1, static_cast<std::int16_t>(40000 - 65536));
             b[starts[4]] = 0; b[starts[4] + 5] = 57;
             SetValueAt<std::int16_t>(b, starts[4] + 1, 32767); }, false, 8},
        {"layer byte 255", [&](std::string& b) { b[starts[3]] = static_cast<char>(255); }, false, 9},
        {"no end record", [&](std::string& b) { b.resize(starts[16]); }, false, 10},
        {"cut inside a drawing record", [&](std::string& b) { b.resize(starts[8] + 50); }, true},
        {"cut inside the layer records", [&](std::string& b) { b.resize(starts[2] + 10); }, true},
        {"invalid GBK", [&](std::string& b) {
             b[starts[3] + 94] = static_cast<char>(0xFF);
             b[starts[3] + 95] = static_cast<char>(0x81); }, false, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = original;
        c.damage(bytes);
        const std::string path = PathOf("bad.wtw");
        PutBytes(path, bytes);

        TestApp t;
        MakeMarkerMap(t.app);
        ReadWtwFile(t.app, path);
        EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
        if (c.refused) {
            ExpectMarkerMapKept(t.app);
            EXPECT_EQ(t.form1.Caption(), "MOVRA_/maps/原图.jdx");
        } else if (c.layer1Count >= 0) {
            EXPECT_EQ(t.app.store.Count(1), c.layer1Count);
        }
    }

    TestApp t;
    MakeMarkerMap(t.app);
    ReadWtwFile(t.app, folder.Str());
    ExpectMarkerMapKept(t.app);
}

}  // namespace
}  // namespace movra
