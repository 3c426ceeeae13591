#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <utility>

#include <sys/stat.h>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "document/InsertDrawingFile.h"
#include "document/JdxFile.h"
#include "document/OpenDialogs.h"
#include "basic/Paths.h"
#include "document/Layers.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "document/WtwFile.h"
#include "support/TestApp.h"

namespace movra {
namespace {

TEST(InsertDrawingTest, CompactMapAddsLayersTagsRecordsAndKeepsThePath) {
    TestApp source;
    App& s = source.app;
    for (int i = 2; i <= 5; ++i) {
        s.store.LayerNames[static_cast<size_t>(i)] = "L" + std::to_string(i);
        s.store.LayerColorIndex[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i + 10);
        s.store.LayerOnFlag[static_cast<size_t>(i)] = -1;
    }
    s.store.NextLayerIndex = 6;
    AddLayer(s);
    ASSERT_EQ(s.store.LayerCount, 5);
    s.store.CurrentLayer = 2;
    StoreRecord(s, StoreFull, 2, 1, 2, 3, 4, 0, 0, 0, 0, "");
    s.store.CurrentLayer = 5;
    StoreRecord(s, StoreFull, 2, 7, 7, 8, 8, 0, 0, 0, 0, "");
    const std::string path = source.workFolder.Str() + "/five.jdx";
    WriteJdxFile(s, path);

    TestApp t;
    App& app = t.app;
    app.store.NextLayerIndex = 4;
    app.store.LayerNames[2] = "mine2";
    app.store.LayerNames[3] = "mine3";
    AddLayer(app);
    ASSERT_EQ(app.store.LayerCount, 3);
    app.store.CurrentLayer = 2;
    StoreRecord(app, StoreFull, 2, 50, 50, 60, 60, 0, 0, 0, 0, "");
    app.current.CurrentFilePath = "/maps/open.jdx";
    const int before = app.store.Count(2);

    t.platform.dialogScript.QueueFile(path, 1);
    InsertDrawingFile(app);
    EXPECT_EQ(t.platform.dialogScript.requests.at(0).file.title, "插入*.wtw*.jdx*.dxf\"");
    EXPECT_EQ(app.store.LayerCount, 5);
    EXPECT_EQ(app.store.LayerNames[2], "mine2");
    EXPECT_EQ(app.store.LayerNames[4], "L4");
    EXPECT_EQ(app.store.LayerColorIndex[5], 15);
    EXPECT_EQ(app.store.Get(2, 0).RecordX1, 50);
    EXPECT_EQ(app.store.Get(2, before).RecordX1, 1);
    EXPECT_EQ(app.store.Get(2, before).RecordSource, 2);
    EXPECT_EQ(app.store.Get(5, 0).RecordX1, 7);
    EXPECT_EQ(app.mapFile.MergedFileCount, 2);
    EXPECT_EQ(app.mapFile.MergedFileNames.at(2), "five.jdx");
    EXPECT_EQ(app.current.CurrentFilePath, "/maps/open.jdx");
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST(InsertDrawingTest, SmallDxfMergesTextLineAndClosedPolyline) {
    TestApp t;
    App& app = t.app;
    app.view.ScaleFactor = 0.5;
    const std::vector<std::string> dxf = {
        "0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC",
        "0", "TABLE", "2", "VPORT", "0", "ENDTAB",
        "0", "TABLE", "2", "LAYER", "5", "2", "100", "AcDbSymbolTable", "70", "1",
        "0", "LAYER", "5", "10", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord",
        "2", "道路", "70", "0", "62", "3", "6", "CONTINUOUS", "0", "ENDTAB",
        "0", "SECTION", "2", "ENTITIES",
        "0", "TEXT", "8", "道路", "  6", "0", "62", "7", "100", "AcDbText",
        "10", "100", "20", "200", "30", "1", "40", "1.5", "1", "路名", "100", "AcDbText",
        "0", "LINE", "62", "300", "8", "道路", "100", "AcDbLine",
        "10", "1", "20", "2", "30", "0.0", "11", "3", "21", "4", "31", "0.0", "0",
        "LWPOLYLINE", "8", "道路", "100", "AcDbPolyline", "90", "5", "70", "0", "43", "0.0",
        "10", "1", "20", "1", "10", "5", "20", "1", "10", "5", "20", "5", "10", "1", "20", "5",
        "10", "1", "20", "1", "0", "ENDSEC", "0", "EOF"};
    const std::string path = t.workFolder.Str() + "/in.dxf";
    WriteTextLines(path, dxf);
    const int first = app.store.Count(1);
    t.platform.dialogScript.QueueFile(path, 3);
    InsertDrawingFile(app);
    const auto& store = app.store;
    ASSERT_EQ(store.Count(1), first + 3);
    const MapRecord& text = store.Get(1, first);
    EXPECT_EQ(text.RecordType, 65);
    EXPECT_EQ(text.RecordText, "路名");
    EXPECT_EQ(text.RecordFont, "黑体");
    EXPECT_EQ(text.RecordPen, 10);
    EXPECT_DOUBLE_EQ(text.RecordX2, 10);
    EXPECT_NEAR(text.RecordY1, 201.854, 1e-9);
    EXPECT_EQ(text.RecordColor, app.tables.ColorPalette[1]);
    EXPECT_EQ(text.RecordSource, 2);
    const MapRecord& line = store.Get(1, first + 1);
    EXPECT_EQ(line.RecordType, 2);
    EXPECT_EQ(line.RecordColor, 300);
    EXPECT_EQ(line.RecordX2, 3);
    EXPECT_EQ(line.RecordY2, 4);
    const MapRecord& poly = store.Get(1, first + 2);
    EXPECT_EQ(poly.RecordType, 6);
    EXPECT_EQ(poly.RecordX3, 5);
    EXPECT_EQ(poly.RecordY4, 5);
    EXPECT_EQ(store.Get(1, first + 3).RecordType, 0);
    EXPECT_EQ(app.display.Redraw.SuppressTerrainPoints, -1);
    EXPECT_EQ(app.mapFile.MergedFileNames.at(2), "in.dxf");
}

// A drawing inserted with an entity or record no view could show (a DXF coordinate of 1e308, a
// map record at 1e40) brings the rest in; that one is left as an empty slot, and the view that
// follows the insertion stays finite.
TEST(InsertDrawingTest, EntitiesBeyondTheStorableRangeAreLeftOutAndCounted) {
    TestApp source;
    MapRecord& far = source.app.store.At(1, 0);
    far.RecordType = 2;
    far.RecordX1 = far.RecordY1 = 1e40;
    source.app.store.At(1, 1) = far;
    source.app.store.At(1, 1).RecordX1 = source.app.store.At(1, 1).RecordY1 = 20;
    source.app.store.At(1, 1).RecordX2 = source.app.store.At(1, 1).RecordY2 = 30;
    source.app.store.Count(1) = 2;
    const std::string jdx = source.workFolder.Str() + "/far.jdx";
    WriteJdxFile(source.app, jdx);
    const std::string dxf = source.workFolder.Str() + "/far.dxf";
    WriteTextLines(dxf, {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC",
                         "0", "TABLE", "2", "VPORT", "0", "ENDTAB",
                         "0", "TABLE", "2", "LAYER", "5", "2", "100", "AcDbSymbolTable", "70", "1",
                         "0", "LAYER", "5", "10", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord",
                         "2", "道路", "70", "0", "62", "3", "6", "CONTINUOUS", "0", "ENDTAB",
                         "0", "SECTION", "2", "ENTITIES",
                         "0", "LINE", "8", "道路", "100", "AcDbLine", "10", "1e308", "20", "2", "11", "3", "21", "4",
                         "0", "LINE", "8", "道路", "100", "AcDbLine", "10", "20", "20", "20", "11", "30", "21", "30",
                         "0", "ENDSEC", "0", "EOF"});
    for (const auto& [path, filter] : {std::pair{jdx, 1}, std::pair{dxf, 3}}) {
        SCOPED_TRACE(path);
        TestApp t;
        t.form1.Load();
        App& app = t.app;
        const int first = app.store.Count(1);
        t.platform.dialogScript.QueueFile(path, filter);
        InsertDrawingFile(app);
        ASSERT_GE(app.store.Count(1), first + 2);
        // Left out: an empty slot (a map record) or a deleted one (an entity), its coordinates cleared.
        const int type = app.store.Get(1, first).RecordType;
        EXPECT_TRUE(type == 0 || IsDeletedType(type)) << type;
        EXPECT_EQ(app.store.Get(1, first).RecordX1, 0);
        EXPECT_EQ(t.platform.promptScript.LastText(), FileNameOf(path) + "：1" + std::string(DxfFarEntitiesMessage));
        EXPECT_EQ(app.store.Get(1, first + 1).RecordType, 2);
        EXPECT_EQ(app.store.Get(1, first + 1).RecordX2, 30);
        const PictureBox& canvas = t.form1.Picture1;
        for (double v : {canvas.ScaleLeft(), canvas.ScaleTop(), canvas.ScaleWidth(), canvas.ScaleHeight(),
                         app.view.DisplayScaleDenominator})
            EXPECT_TRUE(IsStorableCoordinate(v)) << v;
    }
}

// A group code line holding a number beyond any code (81478700000, past an int) names no vertex:
// the line around it comes in with its own ends (under the sanitizers, without undefined
// behaviour).
TEST(InsertDrawingTest, AHugeGroupCodeNamesNoVertex) {
    TestApp t;
    App& app = t.app;
    const std::string path = t.workFolder.Str() + "/huge.dxf";
    WriteTextLines(path, {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC",
                          "0", "TABLE", "2", "LAYER", "0", "ENDTAB", "0", "SECTION", "2", "ENTITIES",
                          "0", "LINE", "8", "0", "100", "AcDbLine", "10", "1", "20", "2", "81478700000", "7",
                          "11", "3", "21", "4", "0", "ENDSEC", "0", "EOF"});
    const int first = app.store.Count(1);
    t.platform.dialogScript.QueueFile(path, 3);
    InsertDrawingFile(app);
    ASSERT_EQ(app.store.Count(1), first + 1) << t.form1.Text2.Text();
    const MapRecord& line = app.store.Get(1, first);
    EXPECT_EQ(line.RecordType, 2);
    EXPECT_EQ(line.RecordX1, 1);
    EXPECT_EQ(line.RecordY1, 2);
    EXPECT_EQ(line.RecordX2, 3);
    EXPECT_EQ(line.RecordY2, 4);
}

TEST(InsertDrawingTest, WrongFileBringsTheDialogBackAndCancelChangesNothing) {
    TestApp t;
    const std::string path = t.workFolder.Str() + "/bad.jdx";
    WriteWholeFile(path, std::string(264, 'x'));
    t.platform.dialogScript.QueueFile(path, 1);
    InsertDrawingFile(t.app);
    EXPECT_EQ(t.platform.dialogScript.requests.size(), 2u);
    EXPECT_EQ(t.app.mapFile.MergedFileCount, 1);
    EXPECT_EQ(t.form1.Text2.Text(), "bad.jdx：" + std::string(InsertWrongFileMessage));
}

// A standard ARC, as an independent DXF library writes it: the "AcDbArc" marker stands as the
// value of a subclass code, and the arc keeps its angles.
TEST(InsertDrawingTest, ArcWrittenByEzdxfComesInAsAnArc) {
    TestApp t;
    App& app = t.app;
    const std::string path = t.workFolder.Str() + "/arc.dxf";
    const std::string script =
        "import ezdxf, sys\n"
        "doc = ezdxf.new('R2000')\n"
        "msp = doc.modelspace()\n"
        "msp.add_arc((100, 200), 5, 30, 120)\n"
        "msp.add_circle((10, 20), 2)\n"
        "doc.saveas(sys.argv[1], encoding='gbk')\n";
    WriteWholeFile(t.workFolder.Str() + "/arc.py", script);
    // Debian's python carries Debian's ezdxf; the test fails when either is missing.
    const std::string command = "/usr/bin/python3 " + t.workFolder.Str() + "/arc.py " + path;
    ASSERT_EQ(std::system(command.c_str()), 0) << "python3-ezdxf is needed (scripts/setup installs it)";

    const int first = app.store.Count(1);
    t.platform.dialogScript.QueueFile(path, 3);
    InsertDrawingFile(app);
    const auto& store = app.store;
    ASSERT_EQ(store.Count(1), first + 2);
    const MapRecord& arc = store.Get(1, first);
    EXPECT_EQ(arc.RecordType, 8);
    EXPECT_DOUBLE_EQ(arc.RecordX1, 100);
    EXPECT_DOUBLE_EQ(arc.RecordY1, 200);
    EXPECT_DOUBLE_EQ(arc.RecordX2, 5);
    EXPECT_NEAR(arc.RecordX3, 30 * M_PI / 180, 1e-12);
    EXPECT_NEAR(arc.RecordY3, 120 * M_PI / 180, 1e-12);
    const MapRecord& circle = store.Get(1, first + 1);
    EXPECT_EQ(circle.RecordType, 7);
    EXPECT_DOUBLE_EQ(circle.RecordX1, 10);
    EXPECT_DOUBLE_EQ(circle.RecordX2, 2);
    EXPECT_EQ(circle.RecordX3, 0);
}


// A file that fails half-way is taken back whole: the map saves to the same bytes as before, and
// the message line names the file, where reading stopped and that the map was kept.
TEST(InsertDrawingTest, AFileThatFailsHalfWayLeavesTheMapAsItWas) {
    TestApp t;
    App& app = t.app;
    app.store.NextLayerIndex = 3;
    AddLayer(app);
    app.store.CurrentLayer = 2;
    StoreRecord(app, StoreFull, 2, 50, 50, 60, 60, 0, 0, 0, 0, "");
    const std::string folder = t.workFolder.Str();
    const std::string before = folder + "/before.jdx";
    WriteJdxFile(app, before);
    const std::string mapBytes = ReadWholeFile(before);

    // A compact map of more layers than the open one, cut inside its last record.
    WriteWholeFile(folder + "/cut.jdx", mapBytes.substr(0, mapBytes.size() - 50));
    // A DXF file whose second entity holds a number no double holds, after its first was merged.
    WriteTextLines(folder + "/bad.dxf",
                   {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC", "0", "TABLE",
                    "2", "LAYER", "0", "LAYER", "2", "新层", "62", "3", "0", "LAYER", "2", "又一层", "62", "4",
                    "0", "LAYER", "2", "第三层", "62", "5", "0", "ENDTAB", "0", "SECTION", "2", "ENTITIES",
                    "0", "LINE", "8", "新层", "100", "AcDbLine", "10", "1", "20", "2", "11", "3", "21", "4", "0",
                    "LINE", "100", "AcDbLine", "10", "1e999", "20", "2", "0", "ENDSEC", "0", "EOF"});
    const std::string pipe = folder + "/pipe.jdx";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string file;
        int filter;
        const char* where;
    };
    for (const Case& c : {Case{"cut.jdx", 1, "条记录时停止"}, Case{"bad.dxf", 3, "第58行时停止"},
                          Case{"pipe.jdx", 1, NotRegularFileText}}) {
        SCOPED_TRACE(c.file);
        t.platform.dialogScript.QueueFile(folder + "/" + c.file, c.filter);
        InsertDrawingFile(app);
        const std::string message = t.form1.Text2.Text();
        EXPECT_NE(message.find(c.file), std::string::npos) << message;
        EXPECT_NE(message.find(c.where), std::string::npos) << message;
        EXPECT_NE(message.find(OpenMapKeptText), std::string::npos) << message;
        EXPECT_EQ(app.mapFile.MergedFileCount, 1);
        EXPECT_EQ(app.store.LayerCount, 2);
        const std::string after = folder + "/after.jdx";
        WriteJdxFile(app, after);
        EXPECT_TRUE(ReadWholeFile(after) == mapBytes) << "the open map changed";
    }
}


// A record reaching beyond the farthest storable coordinate is not kept, and the user is told.
TEST(InsertDrawingTest, ADxfLineBeyondTheFarthestCoordinateIsLeftOut) {
    TestApp t;
    App& app = t.app;
    const std::string path = t.workFolder.Str() + "/far.dxf";
    WriteTextLines(path, {"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015", "0", "ENDSEC",
                          "0", "TABLE", "2", "LAYER", "0", "ENDTAB", "0", "SECTION", "2", "ENTITIES",
                          "0", "LINE", "100", "AcDbLine", "10", "0.5", "20", "0.5", "11", "1e308", "21", "5", "0",
                          "LINE", "100", "AcDbLine", "10", "1", "20", "1", "11", "2", "21", "2", "0",
                          "ENDSEC", "0", "EOF"});
    const int first = app.store.Count(1);
    t.platform.dialogScript.QueueFile(path, 3);
    InsertDrawingFile(app);
    ASSERT_EQ(app.store.Count(1), first + 2);
    EXPECT_GE(app.store.Get(1, first).RecordType, 100);  // deleted: neither drawn nor saved
    EXPECT_EQ(app.store.Get(1, first + 1).RecordType, 2);
    EXPECT_EQ(t.platform.promptScript.LastText(), "far.dxf：1" + std::string(DxfFarEntitiesMessage));
    EXPECT_TRUE(IsStorablePoint(app.extents.ExtentMaxX, app.extents.ExtentMaxY));

    // A compact map file with a NaN in a record: the same.
    TestApp source;
    source.app.store.CurrentLayer = 1;
    StoreRecord(source.app, StoreFull, 2, 1, 2, 3, 4, 0, 0, 0, 0, "");
    StoreRecord(source.app, StoreFull, 2, 5.5, 6, 7, 8, 0, 0, 0, 0, "");
    const std::string jdx = t.workFolder.Str() + "/nan.jdx";
    WriteJdxFile(source.app, jdx);
    std::string bytes = ReadWholeFile(jdx);
    const double was = 5.5, now = std::nan("");
    const std::size_t at = bytes.find(std::string(reinterpret_cast<const char*>(&was), sizeof was));
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, sizeof now, std::string(reinterpret_cast<const char*>(&now), sizeof now));
    WriteWholeFile(jdx, bytes);
    const int before = app.store.Count(1);
    t.platform.dialogScript.QueueFile(jdx, 1);
    InsertDrawingFile(app);
    int kept = 0, leftIn = 0;
    for (int slot = before; slot < app.store.Count(1); ++slot) {
        const MapRecord& r = app.store.Get(1, slot);
        if (r.RecordType == 2 && r.RecordX1 == 1) ++kept;
        if (r.RecordX1 == 5.5 || !IsStorablePoint(r.RecordX1, r.RecordY1)) ++leftIn;
    }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(leftIn, 0);  // the record with the NaN came in deleted, its coordinates cleared
    EXPECT_EQ(t.platform.promptScript.LastText(), "nan.jdx：1" + std::string(DxfFarEntitiesMessage));
}

// A compact or full map file is merged only when the open would read it: cut inside, with bytes
// missing in the middle (its end record off the record boundary), or mutated at random, the file
// that the open refuses leaves the modified open map byte for byte as it was, adds no layer, merge
// entry or undo step, and one message names the file and the record where reading stopped.
TEST(InsertDrawingTest, AMapFileIsMergedOnlyWhenTheOpenReadsIt) {
    TestApp source;
    App& s = source.app;
    for (int i = 2; i <= 4; ++i) s.store.LayerNames[static_cast<size_t>(i)] = "层" + std::to_string(i);
    s.store.NextLayerIndex = 5;
    AddLayer(s);
    for (int i = 0; i < 237; ++i) {
        s.store.CurrentLayer = static_cast<std::uint8_t>(1 + i % 4);
        StoreRecord(s, StoreFull, 2, i, i + 1, i + 2, i + 3, 0, 0, 0, 0, "记" + std::to_string(i));
    }
    const std::string folder = source.workFolder.Str();
    WriteJdxFile(s, folder + "/whole.jdx");
    WriteWtwFile(s, folder + "/whole.wtw");
    const std::string jdx = ReadWholeFile(folder + "/whole.jdx");
    const std::string wtw = ReadWholeFile(folder + "/whole.wtw");

    std::vector<std::pair<std::string, std::string>> files = {
        {"gap.jdx", jdx.substr(0, jdx.size() / 2) + jdx.substr(jdx.size() / 2 + 68)},
        {"cut.jdx", jdx.substr(0, jdx.size() - 50)},
        {"cut.wtw", wtw.substr(0, wtw.size() / 2 + 7)},
        {"head.wtw", wtw.substr(0, 40)}};
    std::mt19937 random(69);
    for (int k = 0; k < 120; ++k) {
        const bool full = k % 3 == 0;
        std::string bytes = full ? wtw : jdx;
        const std::size_t at = random() % bytes.size();
        if (k % 2 == 0) bytes.erase(at, 1 + random() % 200);
        else bytes[at] = static_cast<char>(random());
        files.emplace_back("m" + std::to_string(k) + (full ? ".wtw" : ".jdx"), bytes);
    }

    int refused = 0;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = folder + "/" + name;
        WriteWholeFile(path, bytes);
        const bool full = name.ends_with(".wtw");
        TestApp opened;
        const bool openReads = full ? ReadWtwFile(opened.app, path) : ReadJdxFile(opened.app, path);

        TestApp t;
        App& app = t.app;
        t.form1.Load();
        app.store.CurrentLayer = 1;
        StoreRecord(app, StoreFull, 2, 50, 50, 60, 60, 0, 0, 0, 0, "");
        app.current.ModifiedFlag = -1;
        const std::string mapPath = t.workFolder.Str() + "/open.jdx";
        WriteJdxFile(app, mapPath);
        const std::string mapBytes = ReadWholeFile(mapPath);
        app.current.ModifiedFlag = -1;
        const std::int32_t undoStep = app.undo.UndoCurrentStep;

        t.platform.dialogScript.QueueFile(path, full ? 2 : 1);
        t.platform.dialogScript.QueueCancel();
        InsertDrawingFile(app);
        const bool merged = app.mapFile.MergedFileCount == 2;
        const bool wrongFile = t.platform.dialogScript.requests.size() == 2;
        if (wrongFile) EXPECT_FALSE(openReads);
        else EXPECT_EQ(merged, openReads);
        if (merged) continue;
        ++refused;
        const std::string message = t.form1.Text2.Text();
        EXPECT_EQ(message.rfind(name + "：", 0), 0u) << message;
        if (!wrongFile) {
            EXPECT_NE(message.find("条记录时停止"), std::string::npos) << message;
            EXPECT_NE(message.find(OpenMapKeptText), std::string::npos) << message;
        }
        EXPECT_EQ(app.store.LayerCount, 1);
        EXPECT_EQ(app.undo.UndoCurrentStep, undoStep);
        EXPECT_EQ(app.current.ModifiedFlag, -1);
        WriteJdxFile(app, mapPath);
        EXPECT_TRUE(ReadWholeFile(mapPath) == mapBytes) << "the open map changed";
    }
    EXPECT_GE(refused, 4);
}

}  // namespace
}  // namespace movra
