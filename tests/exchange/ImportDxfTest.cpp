// The DXF reader against hand-made files: layers, header scale, the line entities and their
// chaining, our own extended data, line endings, and bad input of every kind.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "DxfTestFiles.h"
#include "ExchangeTestMaps.h"
#include "basic/Gbk.h"
#include "document/Layers.h"
#include "document/OpenDialogs.h"
#include "document/StoreRecord.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ImportDxf.h"
#include "shell/InstallSeams.h"

namespace movra {
namespace {

using namespace exchange_test;

using ImportDxfTest = DxfImportFixture;


TEST_F(ImportDxfTest, LayersLinesPolylinesAndArcsBecomeRecords) {
    const std::vector<std::pair<double, double>> six{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {-5, 5}, {-5, 0}};
    Lines entities = LineEntity("丙", 1.5, 2.5, 3.5, 4.5);
    Append(entities, LwPolyline("甲", six, 0));
    Append(entities, LwPolyline("乙", six, 1));
    Append(entities, LwPolyline("戊", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1));
    Append(entities, Head("ARC", "丁", "AcDbCircle"));
    Append(entities, {"10", "5", "20", "6", "30", "0", "40", "2.5", "100", "AcDbArc", "50", "350", "51", "-10"});
    Append(entities, Head("CIRCLE", "丁", "AcDbCircle"));
    Append(entities, {"10", "7", "20", "8", "30", "0", "40", "1.25"});
    const DxfImportOutcome out = Import(R2000(FourLayers, entities));
    ASSERT_FALSE(out.failed) << out.failureText;
    EXPECT_EQ(out.result, -1);
    EXPECT_FALSE(out.layersOnly);

    auto& s = app.store;
    ASSERT_EQ(s.LayerCount, 5);
    EXPECT_EQ(s.LayerNames[1], "甲");
    EXPECT_EQ(s.LayerNames[5], "戊");
    for (int l = 1; l <= 4; ++l) EXPECT_EQ(s.LayerColorIndex[static_cast<size_t>(l)], l % 100 + 1) << l;
    EXPECT_EQ(s.LayerColorIndex[5], 3);
    EXPECT_EQ(s.LayerOnFlag[3], -1);

    // A LINE on the third layer: slot 1, in the layer's palette colour.
    EXPECT_EQ(R(3, 1).RecordType, 2);
    EXPECT_EQ(R(3, 1).RecordColor, 1000 + 4);
    EXPECT_DOUBLE_EQ(R(3, 1).RecordX1, 1.5);
    EXPECT_DOUBLE_EQ(R(3, 1).RecordY2, 4.5);
    EXPECT_EQ(R(3, 0).RecordType, 0);
    EXPECT_EQ(s.Count(3), 2);

    // Six vertices: four in a chained record, two in the next.
    EXPECT_EQ(R(1, 1).RecordType, 5);
    EXPECT_EQ(R(1, 2).RecordType, 2);
    EXPECT_DOUBLE_EQ(R(1, 2).RecordX1, -5);
    EXPECT_DOUBLE_EQ(R(1, 2).RecordY2, 0);
    EXPECT_EQ(s.Count(1), 3);
    // Closed: the second record goes back to the first vertex.
    EXPECT_EQ(R(2, 2).RecordType, 3);
    EXPECT_DOUBLE_EQ(R(2, 2).RecordX3, 0);
    EXPECT_DOUBLE_EQ(R(2, 2).RecordY3, 0);
    // Closed with four vertices: a one-vertex record ends the chain at the first vertex.
    EXPECT_EQ(R(5, 1).RecordType, 5);
    EXPECT_EQ(R(5, 2).RecordType, 1);
    EXPECT_DOUBLE_EQ(R(5, 2).RecordX1, 0);
    EXPECT_EQ(s.Count(5), 3);

    EXPECT_EQ(R(4, 1).RecordType, 8);
    EXPECT_NEAR(R(4, 1).RecordX3, 6.108652, 1e-6);
    EXPECT_NEAR(R(4, 1).RecordY3, 6.108652, 1e-6);
    EXPECT_DOUBLE_EQ(R(4, 1).RecordX2, 2.5);
    EXPECT_EQ(R(4, 2).RecordType, 7);
    EXPECT_DOUBLE_EQ(R(4, 2).RecordX2, 1.25);
    EXPECT_DOUBLE_EQ(R(4, 2).RecordY2, 1);

    EXPECT_DOUBLE_EQ(app.view.ScaleFactor, 0.5);
    EXPECT_DOUBLE_EQ(app.view.ProjectParams[0], 500);
    EXPECT_FLOAT_EQ(static_cast<float>(app.view.PointMarkRadius), 0.2f);
    EXPECT_EQ(app.mapFile.MergedFileCount, 1);
    EXPECT_EQ(R(1, 1).RecordSource, 1);
}

TEST_F(ImportDxfTest, OwnExtendedDataChoosesSymbolOrLineType) {
    const Lines xdata = {"1001", "MOVRA", "1000", ""};
    struct Case {
        std::string value;
        int type;
        std::string text;
    };
    for (const Case& c : {Case{"355", 42, "355"}, Case{"120", 15, "120"}, Case{"350", 2, ""}}) {
        Lines tail = xdata;
        tail.back() = c.value;
        const DxfImportOutcome out = Import(R2000(FourLayers, LineEntity("戊", 0, 0, 1, 1, tail)));
        ASSERT_FALSE(out.failed);
        EXPECT_EQ(R(5, 1).RecordType, c.type) << c.value;
        EXPECT_EQ(R(5, 1).RecordText, c.text) << c.value;
    }
    // On a light polyline the line-type code moves the chain into the line-type family.
    Import(R2000(FourLayers, LwPolyline("戊", {{0, 0}, {1, 0}, {2, 0}}, 0, {"1001", "MOVRA", "1000", "355"})));
    EXPECT_EQ(R(5, 1).RecordType, 43);
    EXPECT_EQ(R(5, 1).RecordText, "355");
    EXPECT_EQ(R(5, 1).RecordPen, 6);
}

// "$LTSCALE" gives the map's scale; a value that is no scale of any drawing reads as 1.
TEST_F(ImportDxfTest, AScaleNoDrawingHasReadsAsOne) {
    const std::pair<const char*, double> cases[] = {
        {"0.5", 0.5}, {"2000", 2000}, {"0.001", 0.001}, {"1e5", 1e5},  // 1:500 .. 1:100,000,000
        {"0", 1}, {"-2", 1}, {"1e308", 1}, {"1e-300", 1}, {"1e999", 1}, {"nan", 1}, {"inf", 1},
        {"1e-5", 1}, {"2e5", 1},
    };
    for (const auto& [text, scale] : cases) {
        const DxfImportOutcome out = Import(R2000(FourLayers, LineEntity("甲", 0, 0, 1, 1), {"9", "$LTSCALE", "40", text}));
        ASSERT_FALSE(out.failed) << text << ": " << out.failureText;
        EXPECT_EQ(app.view.ScaleFactor, scale) << text;
        EXPECT_EQ(app.view.ProjectParams[0], scale * 1000) << text;
        EXPECT_FLOAT_EQ(app.view.PointMarkRadius, static_cast<float>(0.4 * scale)) << text;
        EXPECT_EQ(R(1, 1).RecordType, 2) << text;
    }
}

TEST_F(ImportDxfTest, ForcedScaleStaysAndLineEndingsDoNotMatter) {
    app.settings.ForceScaleFlag = -1;
    app.view.ScaleFactor = 2;
    const Lines file = R2000(FourLayers, LwPolyline("甲", {{0, 0}, {3, 4}, {5, 6}}, 0));
    Import(file);
    EXPECT_DOUBLE_EQ(app.view.ScaleFactor, 2);

    auto snapshot = [&] {
        std::vector<MapRecord> records;
        for (int l = 1; l <= app.store.LayerCount; ++l)
            for (int s = 0; s <= app.store.Count(l); ++s) records.push_back(R(l, s));
        return records;
    };
    const auto crlf = snapshot();
    ASSERT_EQ(crlf.size(), 3u + 4);  // layer 1 through its open slot, the empty layers' slot 0
    for (const char* end : {"\n", "\r"}) {
        Import(file, end);
        EXPECT_EQ(snapshot(), crlf) << (end[0] == '\n' ? "LF" : "CR");
    }
}

TEST_F(ImportDxfTest, ARecordDrawnAfterTheImportLeavesTheLastImportedOneAlone) {
    Import(R2000(FourLayers, LineEntity("甲", 1, 2, 3, 4)));
    app.store.CurrentLayer = 1;
    const MapRecord last = R(1, 1);
    StoreRecord(app, StoreFromFile, 2, 9, 9, 8, 8, 0, 0, 0, 0, "");
    EXPECT_EQ(R(1, 1), last);
    EXPECT_EQ(R(1, 2).RecordType, 2);
}

TEST_F(ImportDxfTest, AFileWithoutSubclassMarkersGivesItsLayersOnly) {
    Lines r12{"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1009", "0", "ENDSEC",
              "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "70", "2"};
    Append(r12, {"0", "LAYER", "2", "道路", "70", "0", "62", "1", "6", "CONTINUOUS"});
    Append(r12, {"0", "LAYER", "2", "房屋", "70", "0", "62", "5", "6", "CONTINUOUS"});
    Append(r12, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "LINE", "8", "道路", "10",
                 "0", "20", "0", "30", "0", "11", "5", "21", "5", "31", "0", "0", "ENDSEC", "0", "EOF"});
    const DxfImportOutcome out = Import(r12);
    EXPECT_FALSE(out.failed);
    EXPECT_TRUE(out.layersOnly);
    EXPECT_EQ(app.store.LayerCount, 2);
    EXPECT_EQ(app.store.LayerNames[2], "房屋");
    EXPECT_EQ(app.store.Count(1), 0);
    EXPECT_EQ(app.store.Count(2), 0);
}

TEST_F(ImportDxfTest, UnicodeFilesOfLaterReleasesKeepTheirNames) {
    Lines file = R2000(FourLayers, LineEntity("丙", 0, 0, 1, 1));
    file[7] = "AC1032";
    std::string bytes;
    for (const auto& l : file) bytes += l + "\r\n";  // UTF-8 as it is
    ASSERT_FALSE(Import(bytes).failed);
    EXPECT_EQ(app.store.LayerNames[3], "丙");
    EXPECT_EQ(R(3, 1).RecordType, 2);
}

// Every bad file ends in a usable store: counts inside the store, nothing past them.
void ExpectUsable(App& app) {
    auto& s = app.store;
    ASSERT_GE(s.LayerCount, 1);
    ASSERT_LE(s.LayerCount, s.LayerDimension());
    for (int l = 0; l <= s.LayerCount; ++l) {
        ASSERT_GE(s.Count(l), 0);
        ASSERT_LT(s.Count(l), s.LayerCapacity);
        if (l > 0) ASSERT_LE(s.AllocatedSlots(l), s.Count(l) + 1);
    }
}

TEST_F(ImportDxfTest, AFileCutAtAnyLineFailsWithoutHarm) {
    Lines entities = LineEntity("丙", 1, 2, 3, 4, {"1001", "MOVRA", "1000", "355"});
    Append(entities, LwPolyline("乙", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {-5, 5}}, 1));
    Append(entities, Head("ARC", "丁", "AcDbCircle"));
    Append(entities, {"10", "5", "20", "6", "30", "0", "40", "2.5", "100", "AcDbArc", "50", "0", "51", "90"});
    const Lines file = R2000(FourLayers, entities);
    for (size_t n = 0; n < file.size(); ++n) {
        const Lines cut(file.begin(), file.begin() + static_cast<long>(n));
        const DxfImportOutcome out = Import(cut);
        EXPECT_TRUE(out.failed) << n;
        EXPECT_EQ(out.failureNumber, ErrInputPastEnd) << n;
        ExpectUsable(app);
    }
}

TEST_F(ImportDxfTest, GarbageEmptyFilesAndTooManyLayersEndCleanly) {
    std::mt19937 random(44);
    std::string noise(20000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    for (const std::string& bytes : {std::string(), noise, Joined(R2000(FourLayers, {}), "\r\n") + "\xff\xfe\x81"}) {
        Import(bytes);
        ExpectUsable(app);
    }
    // Invalid code page 936 in names and values, and a number too large for any type.
    Lines bad = R2000(Layer("\x81\xff", "1"), LineEntity("\x81\xff", 0, 0, 1, 1, {"62", "1e999"}));
    EXPECT_TRUE(Import(Joined(bad, "\r\n")).failed);
    ExpectUsable(app);

    Lines many;
    for (int i = 1; i <= 300; ++i) Append(many, Layer("L" + std::to_string(i), "1"));
    const DxfImportOutcome out = Import(R2000(many, LineEntity("L255", 0, 0, 1, 1)));
    EXPECT_FALSE(out.failed);
    EXPECT_EQ(app.store.LayerCount, 255);
    EXPECT_EQ(app.store.LayerNames[255], "L255");
    EXPECT_EQ(R(255, 1).RecordType, 2);
    ExpectUsable(app);
}

TEST_F(ImportDxfTest, OurOwnDialectComesBack) {
    InstallHeaderTemplate(t);
    SampleMap(app);
    ASSERT_TRUE(ExportDxfOwnDialect(app, Path("own.dxf")));
    EmptyMap(app, 1);
    TestPalette(app);
    const DxfImportOutcome out = ImportDxf(app, Path("own.dxf"));
    ASSERT_FALSE(out.failed) << out.failureNumber << out.failureText;
    EXPECT_EQ(out.result, -1);
    // The table lists layer 0 first, so the drawing layers come back one number up.
    ASSERT_EQ(app.store.LayerCount, 4);
    EXPECT_EQ(app.store.LayerNames[2], "道路");
    EXPECT_EQ(app.store.LayerNames[4], "水系");
    // The line-type chain of 道路's neighbour: closed light polylines stay as they were written.
    std::vector<int> types;
    for (int s = 1; s < app.store.Count(3); ++s) types.push_back(R(3, s).RecordType);
    EXPECT_FALSE(types.empty());
    EXPECT_EQ(R(3, 1).RecordText, "352");
}

}  // namespace
}  // namespace movra
