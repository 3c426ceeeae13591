// Texts and block references of DXF files: sizes, pens and anchors of texts, spot heights,
// formatted texts, symbol codes of insertions from the proxy table and the extended data, and
// how a text hands over to the entity after it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "DxfTestFiles.h"
#include "exchange/ProxyTable.h"

namespace movra {
namespace {

using namespace exchange_test;

struct ImportTextsTest : DxfImportFixture {
    void SetUp() override {
        // The shipped proxy table, so that block names go through it as they would.
        std::filesystem::copy_file(std::string(MOVRA_TEST_PROGRAM_DIR) + "/" + ProxyTableFile,
                                   t.programFolder.Str() + "/" + ProxyTableFile);
    }
};

std::string N(double v) { return std::to_string(v); }

Lines TextEntity(const std::string& layer, double x, double y, const std::string& height, const std::string& content,
                 const Lines& tail = {}, const char* kind = "TEXT", const char* marker = "AcDbText") {
    Lines f = Head(kind, layer, marker);
    Append(f, {"10", N(x), "20", N(y), "30", "0", "40", height, "1", content});
    Append(f, tail);
    Append(f, {"100", "AcDbText"});
    return f;
}

Lines Insert(const std::string& layer, const std::string& block, const Lines& tail = {}) {
    Lines f = Head("INSERT", layer, "AcDbBlockReference");
    Append(f, {"2", block, "10", "3", "20", "4", "30", "0", "41", "1.5", "42", "2", "43", "1"});
    Append(f, tail);
    return f;
}

const Lines OneLayer = Layer("注记", "3");

TEST_F(ImportTextsTest, TextSizesPensAnchorsAndHeights) {
    struct Case {
        const char* what;
        std::string scale;
        Lines text;
        int type;
        double x1, y1, x2, y2;
        int pen;
        float z1, z2;
    };
    const Case cases[] = {
        {"2.5 at scale 1, width 1", "1", TextEntity("注记", 10, 20, "2.5", "路", {"41", "1"}), 65, 10, 22.5, 7, 0.7, 7, 0, 0},
        // A scale of 0 would leave every text without a size: it is read as 1.
        {"2.5 at scale 0", "0", TextEntity("注记", 10, 20, "2.5", "路", {"41", "1"}), 65, 10, 22.5, 7, 0.7, 7, 0, 0},
        {"200 at scale 0.5", "0.5", TextEntity("注记", 10, 20, "200", "路"), 67, 10, 22.2, 16, 0, 255, 0, 0},
        {"turned by 90", "1", TextEntity("注记", 10, 20, "2", "路", {"50", "90"}), 66, 8, 20, 6, 0.7, 6, 0, 90},
        {"narrow", "1", TextEntity("注记", 10, 20, "2", "路", {"41", "0.25"}), 66, 10, 22, 6, 0.5, 6, 0, 0},
        {"wide", "1", TextEntity("注记", 10, 20, "2", "路", {"41", "4"}), 66, 10, 22, 6, 1.2, 6, 0, 0},
        {"a spot height", "1", TextEntity("注记", 10, 20, "2", "12.5"), 65, 10, 22, 6, 0, 6, 12.5f, 0},
        {"a number too large for a height", "1", TextEntity("注记", 10, 20, "2", "1234"), 65, 10, 22, 6, 0, 6, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DxfImportOutcome out = Import(R2000(OneLayer, c.text, {"9", "$LTSCALE", "40", c.scale}));
        ASSERT_FALSE(out.failed) << out.failureText;
        const MapRecord& r = R(1, 1);
        EXPECT_EQ(r.RecordType, c.type);
        EXPECT_NEAR(r.RecordX1, c.x1, 1e-6);
        EXPECT_NEAR(r.RecordY1, c.y1, 1e-6);
        EXPECT_DOUBLE_EQ(r.RecordX2, c.x2);
        EXPECT_DOUBLE_EQ(r.RecordY2, c.y2);
        EXPECT_EQ(r.RecordPen, c.pen);
        EXPECT_FLOAT_EQ(r.RecordZ1, c.z1);
        EXPECT_FLOAT_EQ(r.RecordZ2, c.z2);
        EXPECT_EQ(r.RecordColor, 1000 + 3);  // the layer colour the header gave
        EXPECT_EQ(app.store.Count(1), 2);
    }
    EXPECT_EQ(R(1, 1).RecordText, "1234");
    EXPECT_EQ(R(1, 1).RecordFont, "黑体");
}

TEST_F(ImportTextsTest, FormattedTextsFontsAndTheHeightKeptFromTextToText) {
    Lines entities = TextEntity("注记", 0, 0, "2", "\\fSimSun|b0;\\H1.5;中文注记", {}, "MTEXT", "AcDbMText");
    // No height of its own: the turn moves it by the height of the text before.
    Lines second = Head("TEXT", "注记", "AcDbText");
    Append(second, {"10", "100", "20", "50", "30", "0", "1", "斜", "50", "90", "51", "15", "100", "AcDbText"});
    Append(entities, second);
    Append(entities, TextEntity("注记", 0, 0, "2", "宋", {"7", "SONG"}));
    ASSERT_FALSE(Import(R2000(OneLayer, entities)).failed);
    EXPECT_EQ(R(1, 1).RecordText, "中文注记");
    EXPECT_EQ(R(1, 2).RecordType, 66);
    EXPECT_NEAR(R(1, 2).RecordX1, 98, 1e-6);
    EXPECT_NEAR(R(1, 2).RecordY1, 48, 1e-6);
    EXPECT_DOUBLE_EQ(R(1, 2).RecordY3, -1);
    EXPECT_EQ(R(1, 2).RecordFont, "华文细黑");
    EXPECT_EQ(R(1, 3).RecordFont, "华文细黑");

    // A width factor that is no number ends the import, keeping what was read.
    const DxfImportOutcome out = Import(R2000(OneLayer, TextEntity("注记", 0, 0, "2", "路", {"41", "宽"})));
    EXPECT_TRUE(out.failed);
    EXPECT_EQ(out.failureNumber, ErrTypeMismatch);
    EXPECT_EQ(R(1, 1).RecordType, 65);
    EXPECT_EQ(app.store.Count(1), 2);
}

TEST_F(ImportTextsTest, TheEntityAfterATextIsReadInFull) {
    Lines layers = OneLayer;
    Append(layers, Layer("道路", "5"));
    Lines entities = TextEntity("注记", 0, 0, "2", "甲");
    // A handle that reads like a code of a text must not change it.
    Append(entities, {"0", "LINE", "5", "10", "100", "AcDbEntity", "8", "道路", "62", "4", "100", "AcDbLine", "10",
                      "1", "20", "2", "30", "0", "11", "3", "21", "4", "31", "0"});
    Append(entities, TextEntity("道路", 0, 0, "2", "乙"));
    Lines file = R2000(layers, entities);
    // Our own files end with an objects section whose last pair is "1" / "0".
    file.insert(file.end() - 2, {"0", "SECTION", "2", "OBJECTS", "0", "DICTIONARYVAR", "280", "0", "1", "0", "0",
                                 "ENDSEC"});
    ASSERT_FALSE(Import(file).failed);
    EXPECT_EQ(R(1, 1).RecordText, "甲");
    EXPECT_DOUBLE_EQ(R(1, 1).RecordX1, 0);
    EXPECT_EQ(R(2, 1).RecordType, 2);
    EXPECT_EQ(R(2, 1).RecordColor, 1000 + 4);
    EXPECT_DOUBLE_EQ(R(2, 1).RecordX2, 3);
    EXPECT_EQ(R(2, 2).RecordText, "乙");
    EXPECT_EQ(R(2, 2).RecordType, 65);
    EXPECT_EQ(app.store.Count(2), 3);
}

TEST_F(ImportTextsTest, BlockReferencesBecomeSymbols) {
    struct Case {
        const char* what;
        Lines entity;
        int type;
        std::string text, extra;
    };
    const Case cases[] = {
        {"a block the table lacks", Insert("注记", "TREE"), 15, "014", "TREE"},
        {"a block the table knows", Insert("注记", "水准点"), 15, "7", "水准点"},
        {"our own code decides", Insert("注记", "TREE", {"1001", "MOVRA", "1000", "120"}), 15, "120", "TREE"},
        {"a DM code", Insert("注记", "TREE", {"1001", "DM", "1000", "3101"}), 15, "1", "3101"},
        {"our own insertion without a type", Head("INSERT", "注记", "QVAcDbBlockReference"), 16, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(Import(R2000(OneLayer, c.entity)).failed);
        EXPECT_EQ(R(1, 1).RecordType, c.type);
        EXPECT_EQ(std::string(R(1, 1).RecordText), c.text);
        EXPECT_EQ(std::string(R(1, 1).RecordExtra), c.extra);
    }
    ASSERT_FALSE(Import(R2000(OneLayer, Insert("注记", "TREE", {"50", "370"}))).failed);
    const MapRecord& r = R(1, 1);
    EXPECT_FLOAT_EQ(r.RecordZ2, static_cast<float>(10 * 3.14159265358979 / 180));
    EXPECT_NEAR(r.RecordX2, -std::sin(10 * 3.14159265358979 / 180), 1e-6);
    EXPECT_NEAR(r.RecordY2, std::cos(10 * 3.14159265358979 / 180), 1e-6);
    EXPECT_DOUBLE_EQ(r.RecordX1, 3);
    EXPECT_DOUBLE_EQ(r.RecordX3, 1.5);
    EXPECT_DOUBLE_EQ(r.RecordY3, 2);

    Lines image = Head("INSERT", "注记", "QVAcDbBlockReference");
    Append(image, {"62", "300", "6", "70", "2", "/图/影像.jpg", "10", "1", "20", "2", "30", "0", "11", "5", "21", "6"});
    ASSERT_FALSE(Import(R2000(OneLayer, image)).failed);
    EXPECT_EQ(R(1, 1).RecordType, 70);
    EXPECT_EQ(R(1, 1).RecordText, "/图/影像.jpg");
    EXPECT_EQ(R(1, 1).RecordColor, 300);
    EXPECT_DOUBLE_EQ(R(1, 1).RecordX2, 5);
    EXPECT_DOUBLE_EQ(R(1, 1).RecordY2, 6);

    // A type past a byte ends the import.
    Lines bad = Head("INSERT", "注记", "QVAcDbBlockReference");
    Append(bad, {"6", "300"});
    EXPECT_TRUE(Import(R2000(OneLayer, bad)).failed);
}

}  // namespace
}  // namespace movra
