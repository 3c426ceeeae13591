// DXF files written by other programs (ezdxf, GDAL's ogr2ogr) come in with their layers, Chinese
// names and geometry; and a user opens one through the open command. The peers are Debian
// packages (python3-ezdxf, gdal-bin) that scripts/setup installs; without them these tests fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ExchangeTestMaps.h"
#include "document/OpenDialogs.h"
#include "exchange/ImportDxf.h"
#include "exchange/ProxyTable.h"

namespace movra {
namespace {

using namespace exchange_test;

struct ImportPeersTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    std::string folder = t.workFolder.Str();
    void SetUp() override {
        const std::string command =
            "/usr/bin/python3 '" + SourceDir + "/tests/support/make_dxf_peers.py' '" + folder + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << "the peers (python3-ezdxf, gdal-bin) are needed";
    }
    DxfImportOutcome Import(const char* name) {
        EmptyMap(app, 1);
        return ImportDxf(app, folder + "/" + name);
    }
    int LayerNamed(const std::string& name) {
        for (int l = 1; l <= app.store.LayerCount; ++l)
            if (app.store.LayerNames[static_cast<size_t>(l)] == name) return l;
        return -1;
    }
    const MapRecord& R(int layer, int slot) { return app.store.Get(layer, slot); }
};

TEST_F(ImportPeersTest, EzdxfFilesOfBothCodePagesComeInWhole) {
    for (const char* name : {"r2000.dxf", "r2018.dxf"}) {
        SCOPED_TRACE(name);
        const DxfImportOutcome out = Import(name);
        ASSERT_FALSE(out.failed) << out.failureText;
        ASSERT_EQ(out.result, -1);
        const int road = LayerNamed("道路");
        const int house = LayerNamed("房屋");
        ASSERT_GT(road, 0);
        ASSERT_GT(house, 0);
        EXPECT_EQ(app.store.LayerColorIndex[static_cast<size_t>(road)], 1);

        // 道路: the line, the open polyline of three vertices, the arc.
        ASSERT_EQ(app.store.Count(road), 4);
        EXPECT_EQ(R(road, 1).RecordType, 2);
        EXPECT_NEAR(R(road, 1).RecordX1, 1.25, 1e-9);
        EXPECT_NEAR(R(road, 1).RecordY2, 40.0625, 1e-9);
        EXPECT_EQ(R(road, 2).RecordType, 3);
        EXPECT_NEAR(R(road, 2).RecordX3, 10, 1e-9);
        EXPECT_NEAR(R(road, 2).RecordY3, 10, 1e-9);
        EXPECT_EQ(R(road, 3).RecordType, 8);
        EXPECT_NEAR(R(road, 3).RecordX3, 30 * 3.14159265358979 / 180, 1e-9);
        EXPECT_NEAR(R(road, 3).RecordY3, 120 * 3.14159265358979 / 180, 1e-9);

        // 房屋: the closed polygon of five vertices (4 + 1, closed back) and the circle.
        ASSERT_EQ(app.store.Count(house), 4);
        EXPECT_EQ(R(house, 1).RecordType, 5);
        EXPECT_EQ(R(house, 2).RecordType, 2);
        EXPECT_NEAR(R(house, 2).RecordX1, 95, 1e-9);
        EXPECT_NEAR(R(house, 2).RecordX2, 100, 1e-9);
        EXPECT_NEAR(R(house, 2).RecordY2, 100, 1e-9);
        EXPECT_EQ(R(house, 3).RecordType, 7);
        EXPECT_NEAR(R(house, 3).RecordX1, 50.5, 1e-9);
        EXPECT_NEAR(R(house, 3).RecordX2, 7.5, 1e-9);
    }
}

TEST_F(ImportPeersTest, EzdxfTextsAndInsertionsComeInAsAnnotationsAndSymbols) {
    std::filesystem::copy_file(std::string(MOVRA_TEST_PROGRAM_DIR) + "/" + ProxyTableFile,
                               t.programFolder.Str() + "/" + ProxyTableFile);
    const double degree = 3.14159265358979 / 180;
    for (const char* name : {"r2000.dxf", "r2018.dxf"}) {
        SCOPED_TRACE(name);
        const DxfImportOutcome out = Import(name);
        ASSERT_FALSE(out.failed) << out.failureText;
        const int notes = LayerNamed("注记");
        ASSERT_GT(notes, 0);
        ASSERT_EQ(app.store.Count(notes), 6);
        // Height 2.5 at scale 1: size and pen 7, the anchor raised to the top of the text.
        EXPECT_EQ(R(notes, 1).RecordType, 65);
        EXPECT_EQ(R(notes, 1).RecordText, "中文注记");
        EXPECT_DOUBLE_EQ(R(notes, 1).RecordX2, 7);
        EXPECT_DOUBLE_EQ(R(notes, 1).RecordY1, 22.5);
        // Turned by 90 degrees: the anchor moves left by the height.
        EXPECT_EQ(R(notes, 2).RecordType, 66);
        EXPECT_EQ(R(notes, 2).RecordText, "斜字");
        EXPECT_NEAR(R(notes, 2).RecordX1, 28, 1e-6);
        EXPECT_NEAR(R(notes, 2).RecordY1, 40, 1e-6);
        EXPECT_FLOAT_EQ(R(notes, 2).RecordZ2, 90);
        EXPECT_EQ(R(notes, 3).RecordText, "多行注记");
        EXPECT_DOUBLE_EQ(R(notes, 3).RecordY1, 63);
        // A block the proxy table lacks, and one it knows.
        EXPECT_EQ(R(notes, 4).RecordType, 15);
        EXPECT_EQ(R(notes, 4).RecordText, "014");
        EXPECT_EQ(R(notes, 4).RecordExtra, "TREE");
        EXPECT_DOUBLE_EQ(R(notes, 4).RecordX1, 70);
        EXPECT_DOUBLE_EQ(R(notes, 4).RecordX3, 2);
        EXPECT_NEAR(R(notes, 4).RecordZ2, 30 * degree, 1e-6);
        EXPECT_EQ(R(notes, 5).RecordText, "7");
        EXPECT_EQ(R(notes, 5).RecordExtra, "水准点");
    }
}

TEST_F(ImportPeersTest, GdalLinesAndARelease12File) {
    DxfImportOutcome out = Import("ogr.dxf");
    ASSERT_FALSE(out.failed) << out.failureText;
    const int layer = app.store.CurrentLayer;
    ASSERT_EQ(app.store.Count(layer), 3);
    EXPECT_EQ(R(layer, 1).RecordType, 3);
    EXPECT_NEAR(R(layer, 1).RecordX1, 0.5, 1e-9);
    EXPECT_NEAR(R(layer, 1).RecordY1, 0.25, 1e-9);
    EXPECT_NEAR(R(layer, 1).RecordX3, 20, 1e-9);
    EXPECT_EQ(R(layer, 2).RecordType, 2);

    out = Import("r12.dxf");
    EXPECT_FALSE(out.failed);
    EXPECT_TRUE(out.layersOnly);
    EXPECT_GT(LayerNamed("道路"), 0);
}

TEST_F(ImportPeersTest, TheOpenCommandShowsTheFile) {
    t.form1.Load();
    t.platform.dialogScript.QueueFile(folder + "/r2000.dxf", 2);
    t.platform.promptScript.defaultAnswer = AnswerNo;  // no saving of the map replaced
    OpenDxfFile(app);
    ASSERT_GT(LayerNamed("房屋"), 0);
    EXPECT_EQ(app.store.Count(LayerNamed("房屋")), 4);
    EXPECT_EQ(app.mapFile.RecentFiles[0], folder + "/r2000.dxf");
    // The status box took the import's progress mark, in blue; terrain points wait for the next
    // command to be drawn.
    EXPECT_EQ(t.form1.Text1.Text().rfind("■", 0), 0u);
    EXPECT_EQ(t.form1.Text1.ForeColor(), MakeRgb(0, 0, 255));
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, -1);

    // A release-12 file: its layers and the message.
    t.platform.dialogScript.QueueFile(folder + "/r12.dxf", 2);
    OpenDxfFile(app);
    EXPECT_EQ(t.platform.promptScript.LastText(), "r12.dxf：" + std::string(DxfLayersOnlyMessage));
    // A file that is no DXF file leaves the map.
    const int count = app.store.LayerCount;
    t.platform.dialogScript.QueueFile(folder + "/lines.csv", 2);
    OpenDxfFile(app);
    EXPECT_EQ(t.platform.promptScript.LastText(), "lines.csv：" + std::string(NotDxfMessage));
    EXPECT_EQ(app.store.LayerCount, count);
}

}  // namespace
}  // namespace movra
