#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "JdxFileTestMaps.h"
#include "basic/Files.h"
#include "document/BlockFile.h"
#include "document/FileRecord.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

class BlockFileTest : public ::testing::Test {
protected:
    BlockFileTest() {
        DimensionMap(t.app, 2);
        for (int i = 0; i < 4; ++i) AddRecord(t.app, 1, SampleRecord(i));
        AddRecord(t.app, 2, SampleRecord(9));
    }
    void Select(std::vector<SelectedRecord> records) {
        records.insert(records.begin(), SelectedRecord{static_cast<std::int32_t>(records.size() + 1), 0});
        t.app.selection.SelectionList = records;
    }
    std::string PathOf(const std::string& name) { return (folder.Path() / name).string(); }
    CopyBufferEntry& Entry(int i) { return t.app.copyBuffer.Entries.at(static_cast<std::size_t>(i)); }
    int Count() { return Entry(0).Layer; }

    TempFolder folder{"block"};
    TestApp t;
};

TEST_F(BlockFileTest, SelectionOfThreeRoundTripsThroughABlock) {
    t.app.store.At(1, 1).RecordExtra = "B";
    t.app.store.At(1, 1).RecordText = "A";
    Select({{1, 1}, {2, 0}, {1, 3}});
    std::string path = PathOf("three.Qvk");
    SaveSelectionAsBlock(t.app, path);

    const auto records = RecordsOf(path);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].text, "Qvk");
    EXPECT_EQ(records[0].slot, 4);
    EXPECT_EQ(records[1].layer, 1);
    EXPECT_EQ(records[1].slot, 1);
    EXPECT_EQ(records[1].text, "A!B");
    EXPECT_EQ(records[2].layer, 2);
    EXPECT_EQ(records[4].text, "jvqQvk");

    t.app.copyBuffer.CopyBufferFlag = -1;
    LoadBlockFile(t.app, path);
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Entry(0).Slot, 4);
    EXPECT_EQ(Entry(1).Text, "A!B");  // kept whole
    EXPECT_EQ(Entry(2).Layer, 2);
    EXPECT_EQ(Entry(2).Slot, 0);
    const MapRecord r = SampleRecord(3);
    EXPECT_EQ(Entry(3).Type, r.RecordType);
    EXPECT_EQ(Entry(3).Color, r.RecordColor);
    EXPECT_EQ(Entry(3).Pen, r.RecordPen);
    EXPECT_EQ(Entry(3).X4, r.RecordX4);
    EXPECT_EQ(Entry(3).Z4, r.RecordZ4);
    EXPECT_EQ(Entry(3).Font, r.RecordFont);
    EXPECT_EQ(t.app.copyBuffer.CopyBufferFlag, -1);  // left to the caller
}

// A block saved with a record beyond the storable range (before the store refused such records)
// is not taken: the copy buffer keeps what it held and the message line says why.
TEST_F(BlockFileTest, ABlockWithARecordBeyondTheStorableRangeKeepsTheBuffer) {
    Select({{1, 1}, {1, 3}});
    std::string good = PathOf("good.Qvk");
    SaveSelectionAsBlock(t.app, good);
    ASSERT_TRUE(LoadBlockFile(t.app, good));
    ASSERT_EQ(Count(), 2);
    t.app.store.At(1, 2).RecordY2 = 1e40;
    Select({{1, 1}, {1, 2}, {1, 3}});
    std::string far = PathOf("far.Qvk");
    SaveSelectionAsBlock(t.app, far);
    EXPECT_FALSE(LoadBlockFile(t.app, far));
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Entry(2).Slot, 3);
    EXPECT_NE(t.form1.Text2.Text().find(BlockNonFiniteText), std::string::npos) << t.form1.Text2.Text();
}

TEST_F(BlockFileTest, SelectionNeedsTwoRecordsAndDeletedOnesStayOut) {
    Select({{1, 0}});
    std::string path = PathOf("one.Qvk");
    SaveSelectionAsBlock(t.app, path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(t.form1.Text2.Text(), TooFewRecordsMessage);

    Select({{1, 0}, {1, 1}});
    SaveSelectionAsBlock(t.app, path);
    EXPECT_EQ(RecordsOf(path).size(), 4u);

    t.app.store.At(1, 2).RecordType = 150;
    Select({{1, 0}, {1, 2}, {1, 3}});
    SaveSelectionAsBlock(t.app, path);
    const auto records = RecordsOf(path);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].slot, 4);
    LoadBlockFile(t.app, path);
    EXPECT_EQ(Count(), 2);
}

TEST_F(BlockFileTest, EmptyPathAsksWhereToSave) {
    Select({{1, 0}, {1, 1}});
    std::string path;
    t.platform.dialogScript.QueueFile(PathOf("chosen"), 2);
    SaveSelectionAsBlock(t.app, path);
    EXPECT_EQ(path, PathOf("chosen.Qvk"));
    EXPECT_TRUE(FileExists(path));
    const auto& request = t.platform.dialogScript.requests.back().file;
    EXPECT_EQ(request.title, "保存为*.Qvk");
    EXPECT_EQ(request.filter, "所有文件|*.*|块文件|*.Qvk");
    EXPECT_EQ(request.filterIndex, 2);

    std::string cancelled;
    SaveSelectionAsBlock(t.app, cancelled);  // the queue is empty: cancelled
    EXPECT_EQ(cancelled, "");
}

TEST_F(BlockFileTest, CopyBufferGoesToTheTemporaryBlockFileEvenWithOneRecord) {
    auto& entries = t.app.copyBuffer.Entries;
    entries.assign(2, CopyBufferEntry{});
    entries[0].Layer = 1;
    entries[1].Layer = 258;  // only the low byte is a layer
    entries[1].Slot = 7;
    entries[1].Type = 66;
    entries[1].Pen = 65536 + 9;
    entries[1].X1 = 12.5;
    entries[1].Z4 = 1.25f;
    entries[1].Text = "注记";
    entries[1].Font = "黑体";

    std::string path = "/anything/else.Qvk";
    SaveCopyBufferAsBlock(t.app, path);
    EXPECT_EQ(path, TempBlockFilePath(t.app));
    EXPECT_EQ(path.rfind(t.workFolder.Str(), 0), 0u);
    ASSERT_EQ(RecordsOf(path).size(), 3u);

    entries.assign(1, CopyBufferEntry{});
    std::string again = path;
    LoadBlockFile(t.app, again);
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Entry(1).Layer, 2);
    EXPECT_EQ(Entry(1).Slot, 7);
    EXPECT_EQ(Entry(1).Pen, 9);
    EXPECT_EQ(Entry(1).X1, 12.5);
    EXPECT_EQ(Entry(1).Z4, 1.25f);
    EXPECT_EQ(Entry(1).Text, "注记");
    EXPECT_EQ(Entry(1).Font, "黑体");

    entries.assign(1, CopyBufferEntry{});  // nothing buffered
    SaveCopyBufferAsBlock(t.app, path);
    EXPECT_EQ(t.form1.Text2.Text(), TooFewRecordsMessage);
    EXPECT_EQ(RecordsOf(path).size(), 3u);  // the kept block stays
}

TEST_F(BlockFileTest, FlushKeepsTheBufferOnlyWhenItHoldsCopiedRecords) {
    const std::string temp = TempBlockFilePath(t.app);
    t.app.copyBuffer.Entries.assign(3, CopyBufferEntry{});
    t.app.copyBuffer.Entries[0].Layer = 2;
    t.app.copyBuffer.Entries[1].Type = 1;
    t.app.copyBuffer.Entries[2].Type = 2;

    FlushCopyBuffer(t.app);
    EXPECT_FALSE(FileExists(temp));

    t.app.copyBuffer.CopyBufferFlag = -1;
    FlushCopyBuffer(t.app);
    EXPECT_EQ(RecordsOf(temp).size(), 4u);
    EXPECT_EQ(t.app.copyBuffer.CopyBufferFlag, 0);
}

// Only a block read whole replaces the copy buffer; anything else keeps it and says why.
TEST_F(BlockFileTest, OnlyABlockReadWholeReplacesTheBuffer) {
    Select({{1, 0}, {1, 1}, {1, 2}});
    std::string good = PathOf("good.Qvk");
    SaveSelectionAsBlock(t.app, good);
    const std::string original = FileBytes(good);

    auto fillBuffer = [&] {
        t.app.copyBuffer.Entries.assign(2, CopyBufferEntry{});
        t.app.copyBuffer.Entries[0].Layer = 1;
        t.app.copyBuffer.Entries[1].Text = "旧";
    };

    auto expectKept = [&] {
        EXPECT_EQ(Count(), 1);
        EXPECT_EQ(Entry(1).Text, "旧");
    };
    const std::string& said = t.form1.Text2.Text();

    // A missing file asks; cancelling keeps the buffer.
    fillBuffer();
    std::string missing = PathOf("missing.Qvk");
    EXPECT_FALSE(LoadBlockFile(t.app, missing));
    EXPECT_EQ(t.platform.dialogScript.requests.back().file.title, "打开*.Qvk");
    expectKept();
    EXPECT_EQ(said, BlockNotChosenMessage);

    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        int count;          // -1: the buffer is left as it was
        const char* where;  // for a damaged block, where the message says reading stopped
    };
    const std::size_t second = MinVariableRecordSize + 3 + 1;  // after the header ("Qvk", "4")
    const std::vector<Case> cases = {
        {"lower-case header", [](std::string& b) { b.replace(94, 3, "qVK"); }, 3, ""},
        {"foreign header", [](std::string& b) { b.replace(94, 3, "Abc"); }, -1, ""},
        {"empty file", [](std::string& b) { b.clear(); }, -1, "第1条记录"},
        {"negative count", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, -3); }, -1, "第1条记录"},
        {"count 40000", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, static_cast<std::int16_t>(40000 - 65536)); }, -1, "第1条记录"},
        {"count below the records", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, 2); }, 2, ""},
        {"count above the records ends at the end record", [](std::string& b) { SetValueAt<std::int16_t>(b, 1, 30000); }, 3, ""},
        {"cut inside a record", [](std::string& b) { b.resize(b.size() - 120); }, -1, "第4条记录"},
        {"a record whose own text is jvqQvk", [&](std::string& b) {
             std::string rest = b.substr(second);
             FileRecord r;
             r.layer = 1;
             r.text = "jvqQvk";
             std::string one;
             AppendVariableRecord(one, r);
             b = b.substr(0, second) + one + rest;
             SetValueAt<std::int16_t>(b, 1, 5); }, 4, ""},
        {"invalid GBK", [&](std::string& b) { b[second + 94] = static_cast<char>(0xFE); }, 3, ""},
        {"a vertex that is no number", [&](std::string& b) { SetValueAt<double>(b, second + 18, std::nan("")); }, -1,
         "第2条记录的坐标不是有效数字"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = original;
        c.damage(bytes);
        std::string path = PathOf("bad.Qvk");
        PutBytes(path, bytes);
        fillBuffer();
        EXPECT_EQ(LoadBlockFile(t.app, path), c.count >= 0);
        if (c.count >= 0) {
            EXPECT_EQ(Count(), c.count);
            continue;
        }
        expectKept();
        if (c.name == std::string("foreign header")) EXPECT_EQ(said, std::string("bad.Qvk：") + BlockWrongFileMessage);
        if (*c.where == '\0') continue;
        EXPECT_NE(said.find("bad.Qvk"), std::string::npos) << said;
        EXPECT_NE(said.find(c.where), std::string::npos) << said;
        EXPECT_NE(said.find(CopyBufferKeptText), std::string::npos) << said;
    }

    fillBuffer();
    std::string dir = folder.Str();
    t.platform.dialogScript.QueueFile(dir);
    EXPECT_FALSE(LoadBlockFile(t.app, dir));  // a folder is no file: asked, and the chosen folder fails
    expectKept();
    EXPECT_NE(said.find("无法读入"), std::string::npos) << said;
}

}  // namespace
}  // namespace movra
