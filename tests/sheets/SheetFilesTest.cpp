#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "SheetFilesFixture.h"
#include "document/JdxFile.h"
#include "platform/PictureBox.h"
#include "sheets/SheetFiles.h"
#include "sheets/SheetIndex.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

constexpr double X0 = 512000, Y0 = 3456000, S = 250;  // 1:500

class SheetFilesTest : public ::testing::Test {
protected:
    SheetFilesTest() {
        MakeSheetMap(app, 500, 2);
        app.store.LayerOnFlag[2] = 0;
        app.store.NextLayerIndex = 4;  // a layer was handed out and removed again
        app.view.ProjectParams[1] = 3412345.5;
        app.extents.ExtentMinX = 1;  // the map's own extents are not a sheet's window
        app.current.CurrentColor = 0x00ABCDEF;
        app.sheets.SheetOutputFolder = folder.Str() + "\\";
        context.minX = 511900;
        context.minY = 3455900;
        context.maxX = 512600;
        context.maxY = 3456600;
        context.setCaption = [this](const std::string& caption) { captions.push_back(caption); };
        EXPECT_TRUE(BuildSheetFrameTemplate(app, SampleFrameTexts()));
    }

    std::string PathOf(const std::string& name) const { return (folder.Path() / name).string(); }

    // A point, a line on the sheet's west edge and a text of the hidden layer in the sheet at
    // (x0, y0); a point in the next sheet east.
    void AddFeatures(double x0, double y0) {
        AddTo(app, 1, 15, {x0 + 100, y0 + 100}, "井");
        AddTo(app, 1, 2, {x0, y0 + 10, x0, y0 + 200});
        AddTo(app, 2, 25, {x0 + 120, y0 + 130}, "注记");
        AddTo(app, 1, 15, {x0 + S + 100, y0 + 100}, "东");
    }

    // The map a file reads back as.
    struct ReadBack {
        explicit ReadBack(const std::string& path) { ReadJdxFile(t.app, path); }
        TestApp t;
        const RecordStore& store() const { return t.app.store; }
    };

    TempFolder folder{"sheets"};
    TestApp t;
    App& app = t.app;
    SheetWriteContext context;
    std::vector<std::string> captions;
};

TEST(SheetNames, FollowTheCorner) {
    EXPECT_EQ(SheetNumber(512000, 3456000), "56.00-12.00");
    EXPECT_EQ(SheetFileName(512000, 3456000), "56001200.jdx");
    EXPECT_EQ(SheetNumber(512250, 3456750), "56.75-12.25");
    EXPECT_EQ(SheetFileName(50, 3456000), "5600055.jdx");
}

TEST_F(SheetFilesTest, ANewSheetFileHoldsTheTabledHeadTheFrameAndTheSheetsRecords) {
    AddFeatures(X0, Y0);
    ASSERT_TRUE(SaveSheet(app, X0, Y0, S, context));
    EXPECT_EQ(captions.front(), "Movra_保存分幅56001200");
    EXPECT_EQ(app.form1->Picture1.MousePointer(), PointerCross);

    const std::string bytes = FileBytes(PathOf("56001200.jdx"));
    ASSERT_EQ(bytes.size() % 132, 0u);
    const auto records = RawRecords(bytes);
    ASSERT_EQ(records.size(), 1u + 2 + 67 + 3 + 1);
    for (const auto& r : records) EXPECT_EQ(r.reserved, 0);

    const RawRecord& h = records[0];
    EXPECT_EQ(h.layer, 2);
    EXPECT_EQ(h.slot, 2000);
    EXPECT_EQ(h.type, 255);
    EXPECT_EQ(h.pen, 4);  // the next layer index as the map has it
    EXPECT_EQ(h.x1, 500);
    EXPECT_EQ(h.y1, 3412345.5);
    EXPECT_EQ(h.x3, X0 - 40);
    EXPECT_EQ(h.y3, Y0 - 40);
    EXPECT_EQ(h.z3, static_cast<float>(X0 + S + 40));
    EXPECT_EQ(h.x4, Y0 + S + 40);
    EXPECT_EQ(h.text, "MOVRAJDX1");
    EXPECT_EQ(h.font, "3");

    EXPECT_EQ(records[1].layer, 0);
    EXPECT_EQ(records[1].slot, 1);
    EXPECT_EQ(records[1].x1, -1);
    EXPECT_EQ(records[2].slot, 2);
    EXPECT_EQ(records[2].x1, 0);  // the hidden layer is described too
    EXPECT_EQ(records[2].text, "层2");

    for (int i = 0; i < 67; ++i) {
        const RawRecord& item = records[3 + static_cast<std::size_t>(i)];
        EXPECT_EQ(item.layer, 1);
        EXPECT_EQ(item.slot, i);
        EXPECT_NE(item.type, 69) << "placeholder left in item " << i;
    }
    EXPECT_EQ(records[3].x1, X0);
    EXPECT_EQ(records[3].x3, X0 + S);
    EXPECT_EQ(records[3 + 50].text, "56.00─12.00");
    EXPECT_EQ(records[3 + 59].text, "12.00");

    const RawRecord& point = records[70];
    EXPECT_EQ(point.layer, 1);
    EXPECT_EQ(point.slot, 67);
    EXPECT_EQ(point.text, "井");
    EXPECT_EQ(records[71].type, 2);
    EXPECT_EQ(records[71].slot, 68);
    EXPECT_EQ(records[72].layer, 2);
    EXPECT_EQ(records[72].slot, 0);
    EXPECT_EQ(records[72].text, "注记");
    EXPECT_EQ(records[73].layer, 0);
    EXPECT_EQ(records[73].type, 11);
    EXPECT_EQ(records[73].text, "JVQ");

    ReadBack map(PathOf("56001200.jdx"));
    ASSERT_EQ(map.store().Count(1), 69);
    ASSERT_EQ(map.store().Count(2), 1);
    EXPECT_EQ(map.store().Get(1, 67).RecordText, "井");
    EXPECT_EQ(map.store().Get(1, 67).RecordX1, X0 + 100);
    EXPECT_EQ(map.store().Get(1, 68).RecordY2, Y0 + 200);
    EXPECT_EQ(map.store().Get(2, 0).RecordText, "注记");
    EXPECT_EQ(map.store().Get(1, 50).RecordText, "56.00─12.00");
}

TEST_F(SheetFilesTest, ASecondRunAppendsBehindTheFirst) {
    AddFeatures(X0, Y0);
    ASSERT_TRUE(SaveSheet(app, X0, Y0, S, context));
    const std::string index = FileBytes(PathOf("索引卷.jdx"));
    // The map gained a layer since: the file keeps its own two.
    app.store.LayerCount = 3;
    app.store.DimensionKeep(3);
    app.store.LayerRecordCount.resize(256);
    AddTo(app, 3, 15, {X0 + 30, Y0 + 30}, "新");
    ASSERT_TRUE(SaveSheet(app, X0, Y0, S, context));

    const auto records = RawRecords(FileBytes(PathOf("56001200.jdx")));
    ASSERT_EQ(records.size(), 1u + 2 + 67 + 3 + 4 + 1);
    EXPECT_EQ(records[0].layer, 2);
    int numbers = 0, ends = 0;
    for (const auto& r : records) {
        numbers += r.text == "56.00─12.00";
        ends += r.layer == 0 && r.type == 11;
    }
    EXPECT_EQ(numbers, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(records.back().type, 11);
    // The slots go on from the first run's.
    EXPECT_EQ(records[73].layer, 1);
    EXPECT_EQ(records[73].slot, 69);
    // An earlier sheet gets no second entry in the index.
    EXPECT_EQ(FileBytes(PathOf("索引卷.jdx")), index);

    ReadBack map(PathOf("56001200.jdx"));
    EXPECT_EQ(map.store().LayerCount, 2);
    EXPECT_EQ(map.store().Count(1), 67 + 4);
    EXPECT_EQ(map.store().Count(2), 3);  // the new layer's record lands in the file's last layer
    EXPECT_EQ(map.store().Get(1, 69).RecordText, "井");
    EXPECT_EQ(map.store().Get(2, 2).RecordText, "新");
}

TEST_F(SheetFilesTest, TheIndexHoldsOneFrameAndTwoRecordsPerSheet) {
    const double corners[][2] = {{X0, Y0}, {X0 + S, Y0}, {X0, Y0 + S}};
    for (const auto& c : corners) {
        AddTo(app, 1, 15, {c[0] + 10, c[1] + 10});
        ASSERT_TRUE(SaveSheet(app, c[0], c[1], S, context));
    }
    EXPECT_EQ(captions.back(), "Movra_保存分幅");

    const auto records = RawRecords(FileBytes(PathOf("索引卷.jdx")));
    ASSERT_EQ(records.size(), 1u + 2 + 67 + 6 + 1);
    const RawRecord& h = records[0];
    EXPECT_EQ(h.slot, 5000);
    EXPECT_EQ(h.pen, 4);
    EXPECT_EQ(h.x3, 511900);
    EXPECT_EQ(h.y3, 3455900);
    EXPECT_EQ(h.z3, 512600.0f);
    EXPECT_EQ(h.x4, 3456600);
    EXPECT_EQ(records[3].x1, X0);  // the frame at the first sheet
    EXPECT_EQ(records[3].y1, Y0);
    for (std::size_t k = 0; k < 3; ++k) {
        const RawRecord& outline = records[70 + 2 * k];
        const RawRecord& number = records[71 + 2 * k];
        const double x0 = corners[k][0], y0 = corners[k][1];
        EXPECT_EQ(outline.type, 3);
        EXPECT_EQ(outline.pen, 0);
        EXPECT_EQ(outline.layer, 1);
        EXPECT_EQ(outline.color, 0x00ABCDEF);
        EXPECT_EQ(std::vector<double>({outline.x1, outline.y1, outline.x2, outline.y2, outline.x3, outline.y3,
                                       outline.x4, outline.y4}),
                  std::vector<double>({x0, y0 + S, x0, y0, x0 + S, y0, 0, 0}));
        EXPECT_EQ(outline.text, SheetNumber(x0, y0));
        EXPECT_EQ(outline.font, "1");
        EXPECT_EQ(number.type, 68);
        EXPECT_EQ(number.pen, 200);
        EXPECT_EQ(number.slot, outline.slot);
        EXPECT_EQ(number.x1, x0 + 5);
        EXPECT_EQ(number.y1, y0 + S / 2);
        EXPECT_EQ(number.text, SheetNumber(x0, y0));
    }
    EXPECT_EQ(records.back().type, 11);

    ReadBack map(PathOf("索引卷.jdx"));
    ASSERT_EQ(map.store().Count(1), 67 + 6);
    EXPECT_EQ(map.store().Get(1, 70).RecordType, 68);
    EXPECT_EQ(map.store().Get(1, 70).RecordText, "56.00-12.25");
    EXPECT_EQ(map.store().Get(1, 71).RecordType, 3);
    EXPECT_EQ(map.store().Get(1, 71).RecordText, "56.25-12.00");
}

TEST_F(SheetFilesTest, AnotherFileOfTheSheetsNameIsLeftAlone) {
    const double corners[][2] = {{X0, Y0}, {X0 + S, Y0}, {X0, Y0 + S}};
    for (const auto& c : corners) AddTo(app, 1, 15, {c[0] + 10, c[1] + 10});

    std::string foreignHeader;
    AppendFixedRecord(foreignHeader, FileRecord{1, 5000, 0, 255});  // no magic text
    foreignHeader.append(132 * 3, 'x');
    std::string garbage(132 * 80, '\0');
    std::mt19937 random(7);
    for (char& c : garbage) c = static_cast<char>(random());
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"short", "MOVRAJDX1"}, {"empty", ""}, {"garbage", garbage}, {"foreign", foreignHeader},
                 {"folder", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder.Path());
        std::filesystem::create_directory(folder.Path());
        const std::string taken = PathOf("56001200.jdx");
        if (std::string(c.name) == "folder") {
            std::filesystem::create_directory(taken);
        } else {
            std::ofstream(taken, std::ios::binary) << c.bytes;
        }
        EXPECT_FALSE(SaveSheet(app, X0, Y0, S, context));
        EXPECT_EQ(app.form1->Picture1.MousePointer(), PointerCross);
        EXPECT_TRUE(SaveSheet(app, X0 + S, Y0, S, context));
        EXPECT_TRUE(SaveSheet(app, X0, Y0 + S, S, context));
        if (std::string(c.name) == "folder") {
            EXPECT_TRUE(std::filesystem::is_directory(taken));
        } else {
            EXPECT_EQ(FileBytes(taken), c.bytes);
        }
        // Only the two written sheets are in the index, and nothing was left behind.
        EXPECT_EQ(RawRecords(FileBytes(PathOf("索引卷.jdx"))).size(), 1u + 2 + 67 + 4 + 1);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 4);
    }
}

TEST_F(SheetFilesTest, AFolderThatCannotBeWrittenWritesNothing) {
    AddFeatures(X0, Y0);
    // A folder that is not there, and one below a file.
    std::ofstream(PathOf("plain")) << "x";
    for (const std::string& out : {PathOf("missing") + "/", PathOf("plain") + "/sub/"}) {
        app.sheets.SheetOutputFolder = out;
        EXPECT_FALSE(SaveSheet(app, X0, Y0, S, context));
        EXPECT_EQ(app.form1->Picture1.MousePointer(), PointerCross);
    }
    app.sheets.SheetOutputFolder = "";
    EXPECT_FALSE(SaveSheet(app, X0, Y0, S, context));

    // A read-only folder keeps the sheet file that is there (the superuser may write anyway).
    app.sheets.SheetOutputFolder = folder.Str() + "/";
    ASSERT_TRUE(SaveSheet(app, X0, Y0, S, context));
    const std::string before = FileBytes(PathOf("56001200.jdx"));
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool written = SaveSheet(app, X0, Y0, S, context);
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
    if (::geteuid() != 0) {
        EXPECT_FALSE(written);
        EXPECT_EQ(FileBytes(PathOf("56001200.jdx")), before);
    }
}

TEST_F(SheetFilesTest, NothingWithoutATemplateOrASide) {
    AddFeatures(X0, Y0);
    EXPECT_FALSE(SaveSheet(app, X0, Y0, 0, context));
    app.sheets.FrameItemCount = 0;
    EXPECT_FALSE(SaveSheet(app, X0, Y0, S, context));
    EXPECT_FALSE(std::filesystem::exists(PathOf("56001200.jdx")));
}

}  // namespace
}  // namespace movra
