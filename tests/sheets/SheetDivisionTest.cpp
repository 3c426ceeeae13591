// The sheet division window driven through its form model: the grid it cuts along, the sheets it
// writes, stopping it in the middle, bad folders and scales; and the window that takes merged
// maps out again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "SheetFilesFixture.h"
#include "display/LineSink.h"
#include "document/JdxFile.h"
#include "document/RecordPositions.h"
#include "document/RecordTypes.h"
#include "platform/fake/RecordingSurface.h"
#include "sheets/SheetFiles.h"
#include "sheets/SheetPlacement.h"
#include "sheets/gzfenfufrm.h"
#include "sheets/hbtuFrm.h"
#include "editing/ToolEngine.h"
#include "editing/ToolState.h"
#include "shell/MainToolbar.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

class SheetDivision : public ::testing::Test {
protected:
    SheetDivision() {
        MakeSheetMap(app, 500, 2);
        // A map from x 1000 to 1600 and y 2000 to 2300 at 1:500 (sheets of 250).
        AddTo(app, 1, 2, {1000, 2000, 1600, 2300});
        AddTo(app, 1, 7, {1100, 2100});
        AddTo(app, 2, 7, {1550, 2280});
    }
    ~SheetDivision() override { window.Unload(); }

    // The folder is read from Text1 when the window loads, so it is typed before.
    void Start(const std::string& folder) {
        window.Unload();
        window.Text1.SetText(folder);
        window.Load();
        window.Command3.Click();
    }
    void EmptyMap() {
        for (int layer : {1, 2}) {
            for (int i = 0; i < app.store.Count(layer); ++i) app.store.At(layer, i) = MapRecord{};
            app.store.Count(layer) = 0;
        }
    }
    std::set<std::string> Files(const std::string& folder) const {
        std::set<std::string> names;
        if (!std::filesystem::exists(folder)) return names;
        for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
        return names;
    }
    std::vector<SurfacePrimitive> RedLines() {
        auto* canvas = dynamic_cast<RecordingSurface*>(&MainCanvas(app));
        std::vector<SurfacePrimitive> lines;
        if (!canvas) return lines;
        for (const auto& p : canvas->primitives)
            if (p.kind == SurfacePrimitive::Kind::Line && p.color == app.tables.ColorPalette[1]) lines.push_back(p);
        return lines;
    }

    TestApp t;
    App& app = t.app;
    TempFolder desktop{"desktop"}, out{"sheets"};
    bool desktopChosen = (t.platform.folderPair.desktop = desktop.Str(), true);
    gzfenfufrm window{app};
};

TEST_F(SheetDivision, CutsAlongTheGridAndWritesTheSheetsThatHoldFeatures) {
    window.Load();
    EXPECT_EQ(window.Label1.Caption(), "规则分幅的比例尺为1：500");
    EXPECT_EQ(window.Text1.Text(), desktop.Str() + "/分幅图/");
    const std::string folder = out.Str() + "/分幅/";
    Start(folder);

    EXPECT_EQ(window.params.MinX, 1000);
    EXPECT_EQ(window.params.MaxX, 1600);
    EXPECT_EQ(window.params.MaxY, 2300);
    std::vector<std::pair<double, double>> vertical, horizontal, diagonal;
    for (const auto& l : RedLines()) {
        if (l.x1 == l.x2) vertical.push_back({l.x1, l.y1});
        else if (l.y1 == l.y2) horizontal.push_back({l.y1, l.x1});
        else if (l.x2 - l.x1 == 250 && l.y2 - l.y1 == 250) diagonal.push_back({l.x1, l.y1});
    }
    EXPECT_EQ(vertical, (std::vector<std::pair<double, double>>{{1250, 2000}, {1500, 2000}}));
    EXPECT_EQ(horizontal, (std::vector<std::pair<double, double>>{{2250, 1000}}));
    // The line crosses cells (1000,2000), (1250,2000), (1250,2250)? It runs from (1000,2000) to
    // (1600,2300): through x 1250 at y 2125 and x 1500 at 2250, so the cells (1000,2000),
    // (1250,2000) and (1500,2250) hold its pieces.
    std::set<std::pair<double, double>> written(diagonal.begin(), diagonal.end());
    EXPECT_EQ(written, (std::set<std::pair<double, double>>{{1000, 2000}, {1250, 2000}, {1500, 2250}}));
    const auto files = Files(folder);
    EXPECT_EQ(files.size(), 4u);
    EXPECT_TRUE(files.count("索引卷.jdx"));
    for (const auto& name : files) {
        if (name == "索引卷.jdx") continue;
        EXPECT_EQ(name.size(), 12u) << name;
    }
    EXPECT_EQ(window.Command4.Caption(), "已完成分幅");
    EXPECT_FALSE(window.Command4.Enabled());
    EXPECT_TRUE(window.Command3.Enabled());
    EXPECT_FALSE(window.Text1.Enabled());
    EXPECT_LE(window.ProgressBar1.Value(), 200);
    // The line is in pieces, none crossing a sheet line.
    EXPECT_GE(app.store.Count(1), 4);
}

// A map reduced to a false origin (as 目标归位 or an opened DXF leaves it) is divided at its
// stored coordinates, but its sheets are named and labelled by their true kilometres.
TEST_F(SheetDivision, AReducedMapNamesAndLabelsItsSheetsByTrueCoordinates) {
    app.reduction.ReductionOffsetX = 512000;
    app.reduction.ReductionOffsetY = 3456000;
    Start(out.Str());
    const auto files = Files(out.Str());
    // The cell (1000, 2000) is the true sheet (513000, 3458000).
    EXPECT_EQ(files, (std::set<std::string>{"58001300.jdx", "58001325.jdx", "58251350.jdx", "索引卷.jdx"}));
    std::set<std::string> labels;
    for (const auto& r : RawRecords(FileBytes(out.Str() + "/58001300.jdx")))
        if (r.layer == 1 && r.type == 66) labels.insert(r.text);
    EXPECT_TRUE(labels.count("58.00─13.00"));
    EXPECT_TRUE(labels.count("58.25-13.25"));  // the sheet to the north-east
    EXPECT_TRUE(labels.count("13.25"));  // the kilometre value of the frame's east side
    std::set<std::string> numbers;
    for (const auto& r : RawRecords(FileBytes(out.Str() + "/索引卷.jdx")))
        if (r.type == 68) numbers.insert(r.text);
    EXPECT_EQ(numbers, (std::set<std::string>{"58.00-13.00", "58.00-13.25", "58.25-13.50"}));
}

// A map divided reduced, then divided again into the same folder as it stands unreduced (opened
// from another file, say): the second run's records and its new sheet's index entry land on the
// ground the first run's stand on, whatever origin each run's map was stored from.
TEST_F(SheetDivision, ASecondRunFromAnotherOriginAddsToTheSameGround) {
    app.reduction.ReductionOffsetX = 512000;
    app.reduction.ReductionOffsetY = 3456000;
    Start(out.Str());
    for (int layer : {1, 2})
        for (int slot = 0; slot < app.store.Count(layer); ++slot)
            ForEachPosition(app.store.At(layer, slot), [](double& x, double& y) {
                x += 512000;
                y += 3456000;
            });
    app.reduction.ReductionOffsetX = app.reduction.ReductionOffsetY = 0;
    AddTo(app, 1, 7, {513800, 3458100});  // in a sheet of its own
    Start(out.Str());

    // Each file read as a user opens it: its records' true places.
    auto truePoints = [&](const std::string& name, int type) {
        TestApp reader;
        EXPECT_TRUE(ReadJdxFile(reader.app, out.Str() + "/" + name));
        std::multiset<std::pair<double, double>> points;
        const auto& read = reader.app.store;
        for (int layer = 1; layer <= read.LayerCount; ++layer)
            for (int slot = 0; slot < read.Count(layer); ++slot)
                if (read.Get(layer, slot).RecordType == type)
                    points.insert({read.Get(layer, slot).RecordX1 + reader.app.reduction.ReductionOffsetX,
                                   read.Get(layer, slot).RecordY1 + reader.app.reduction.ReductionOffsetY});
        return points;
    };
    EXPECT_EQ(truePoints("58001300.jdx", 7).count({513100, 3458100}), 2u);  // once from each run
    EXPECT_EQ(truePoints("58001375.jdx", 7).count({513800, 3458100}), 1u);
    // The index keeps the first run's origin; the new sheet's outline starts at its true corner.
    EXPECT_EQ(truePoints("索引卷.jdx", 3).count({513750, 3458250}), 1u);
}

// An index that is not a compact map file keeps what it holds and the sheets are written without
// it; a sheet whose name is taken by a folder is not written. The closing caption counts both and
// one message box names the first file that failed and why.
TEST_F(SheetDivision, SheetsAndIndexEntriesThatFailAreCountedAndTold) {
    const std::string folder = out.Str() + "/分幅/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "索引卷.jdx", std::ios::binary) << "damaged index";
    std::filesystem::create_directory(folder + SheetFileName(1000, 2000));
    Start(folder);

    EXPECT_EQ(window.outcome.written, 2);
    EXPECT_EQ(window.outcome.failed, 1);
    EXPECT_EQ(window.outcome.indexFailed, 2);
    EXPECT_EQ(window.Command4.Caption(), "已完成分幅，1幅未能保存，2幅未记入索引卷");
    const auto& questions = t.platform.promptScript.questions;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].title, MapSaveFailedTitle);
    EXPECT_EQ(questions[0].text.rfind(MapSaveFailedMessage, 0), 0u);
    EXPECT_NE(questions[0].text.find("1幅未能保存，2幅未记入索引卷"), std::string::npos) << questions[0].text;
    std::ifstream index(folder + "索引卷.jdx", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(index), {}), "damaged index");
    EXPECT_EQ(Files(folder).size(), 4u);  // nothing left behind
}

TEST_F(SheetDivision, AMapInsideOneCellAndAMinimumOnTheGridGiveOneSheet) {
    EmptyMap();
    AddTo(app, 1, 2, {1000, 2010, 1100, 2100});
    AddTo(app, 1, 7, {1050, 2050});
    Start(out.Str());
    std::vector<double> vertical;
    for (const auto& l : RedLines())
        if (l.x1 == l.x2) vertical.push_back(l.x1);
    // The first vertical line is one sheet beyond the minimum on the grid, and crosses nothing.
    EXPECT_EQ(vertical, std::vector<double>{1250});
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(Files(out.Str()), (std::set<std::string>{SheetFileName(1000, 2000), "索引卷.jdx"}));
}

// A layer holding one record counts for the map's extent and gets its sheet like any other,
// whether the record stands in slot 0 or, as a DXF import leaves a layer, in slot 1 after an
// empty slot 0; an empty slot 0 alone adds nothing.
TEST_F(SheetDivision, ALayerOfOneRecordWidensTheMapAndGetsItsSheet) {
    for (const int slot : {0, 1}) {
        SCOPED_TRACE(slot);
        EmptyMap();
        AddTo(app, 1, 2, {1000, 2000, 1200, 2100});
        AddTo(app, 1, 7, {1100, 2050});
        app.store.Count(2) = slot;  // an empty slot 0 before the record
        AddTo(app, 2, 7, {1910, 2620});
        const std::string folder = out.Str() + "/" + std::to_string(slot) + "/";
        Start(folder);
        EXPECT_EQ(window.params.MinX, 1000);
        EXPECT_EQ(window.params.MinY, 2000);
        EXPECT_EQ(window.params.MaxX, 1910);
        EXPECT_EQ(window.params.MaxY, 2620);
        EXPECT_TRUE(Files(folder).count(SheetFileName(1750, 2500))) << folder;
    }
}

TEST_F(SheetDivision, ProgressStaysInRangeOverManyRowsAndEveryRowIsWritten) {
    // 21 rows of two sheets each.
    EmptyMap();
    for (int row = 0; row < 21; ++row) {
        AddTo(app, 1, 7, {1010, 2010 + 250.0 * row});
        AddTo(app, 1, 7, {1260, 2010 + 250.0 * row});
    }
    double low = 0, high = 0;
    t.platform.scriptedEvents.calls = 0;
    for (int i = 1; i < 80; ++i)
        t.platform.scriptedEvents.QueueAt(i, [&] {
            low = std::min(low, window.ProgressBar1.Value());
            high = std::max(high, window.ProgressBar1.Value());
        });
    Start(out.Str());
    EXPECT_GE(low, 0);
    EXPECT_LE(high, 200);
    const auto files = Files(out.Str());
    EXPECT_EQ(files.size(), 43u) << window.outcome.written << " failed " << window.outcome.failed << " " << window.params.MinX << " " << window.params.MinY;
    for (int row = 0; row < 21; ++row)
        for (double x0 : {1000.0, 1250.0}) EXPECT_TRUE(files.count(SheetFileName(x0, 2000 + 250.0 * row))) << row << " " << x0;
}

TEST_F(SheetDivision, StopWhileCuttingWritesNothingAndKeepsTheCutsSoFar) {
    // The first yield comes before the line x = 1250, the second before x = 1500.
    t.platform.scriptedEvents.QueueAt(2, [&] { window.Command4.Click(); });
    Start(out.Str());
    EXPECT_TRUE(Files(out.Str()).empty());
    EXPECT_EQ(window.Command4.Caption(), "已停止分幅");
    EXPECT_FALSE(window.Command4.Enabled());
    // Cut at 1250 only: the line is in two pieces.
    EXPECT_EQ(app.store.Count(1), 3);
    EXPECT_EQ(app.store.Get(1, 0).RecordX2, 1250);
}

TEST_F(SheetDivision, StopWhileWritingKeepsTheSheetsWritten) {
    // Three cutting lines, then the cells (1000,2000) and (1250,2000) are written before the stop.
    t.platform.scriptedEvents.QueueAt(6, [&] { window.Command4.Click(); });
    Start(out.Str());
    EXPECT_EQ(Files(out.Str()),
              (std::set<std::string>{SheetFileName(1000, 2000), SheetFileName(1250, 2000), "索引卷.jdx"}));
    EXPECT_EQ(window.Command4.Caption(), "已停止分幅");
}

TEST_F(SheetDivision, BadFoldersAndScalesAreRefusedBeforeAnyCut) {
    const std::string file = out.Str() + "/plain";
    std::ofstream(file) << "x";
    struct Case {
        std::string folder;
        double scale;
    };
    for (const Case& c : {Case{file + "/sub/", 500}, Case{"   ", 500}, Case{out.Str(), 0}, Case{out.Str(), -500}}) {
        app.view.ProjectParams[0] = c.scale;
        t.platform.promptScript.questions.clear();
        Start(c.folder);
        EXPECT_EQ(t.platform.promptScript.questions.size(), 1u) << c.folder << " " << c.scale;
        EXPECT_EQ(app.store.Count(1), 2);
        EXPECT_TRUE(window.Command3.Enabled());
    }
    EXPECT_EQ(Files(out.Str()), std::set<std::string>{"plain"});
}

TEST_F(SheetDivision, AFolderTypedAfterLoadingIsNotWhereTheSheetsGo) {
    const std::string loaded = out.Str() + "/loaded/", typed = out.Str() + "/typed/";
    window.Text1.SetText(loaded);
    window.Load();
    window.Text1.SetText(typed);
    window.Command3.Click();
    EXPECT_EQ(Files(loaded).size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(typed));
}

TEST_F(SheetDivision, TheFolderPickerTakesTheFolderOfTheChosenName) {
    window.Load();
    t.platform.dialogScript.QueueCancel();
    window.Label3_Click();
    EXPECT_EQ(window.Text1.Text(), desktop.Str() + "/分幅图/");
    t.platform.dialogScript.QueueFile(out.Str() + "/图/a.jdx");
    window.Label3_Click();
    EXPECT_EQ(window.Text1.Text(), out.Str() + "/图/");
    EXPECT_EQ(app.sheets.SheetOutputFolder, out.Str() + "/图/");
}

TEST_F(SheetDivision, TheToolbarEntryOffersOnlyTheFrameAndExit) {
    t.form1.Load();
    RunToolbarKey(app, "图廓一幅");
    EXPECT_EQ(t.form1.Text2.Text().find("尚未提供"), std::string::npos);
}

// The division yields to the window as it goes; a click on the method panel, the toolbars or the
// canvas meanwhile does nothing, and all of them act again once it has ended.
TEST_F(SheetDivision, WhileDividingOnlyTheStopButtonActs) {
    t.form1.Load();
    t.platform.silentSound.beeps.clear();
    app.tool.CommandMode = ModeIdle;
    const int records = app.store.Count(1);
    t.platform.scriptedEvents.QueueAt(1, [&] {
        t.form1.Command8_Click(17);
        RunToolbarKey(app, "图廓一幅");
        t.form1.Toolbar2.UserClickButton(t.form1.Toolbar2.Buttons("放大2").Index());
        CanvasMouseDown(app, LeftButton, 0, 1100, 2100);
        CanvasMouseUp(app, LeftButton, 0, 1100, 2100);
    });
    Start(out.Str());
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_TRUE(t.platform.silentSound.beeps.empty());
    EXPECT_EQ(window.Command4.Caption(), "已完成分幅");
    EXPECT_GE(app.store.Count(1), records);
    t.form1.Command8_Click(17);
    EXPECT_NE(app.tool.CommandMode, ModeIdle);
}

// Every record type on a shown and a hidden layer, with merged-file tags, divided and read back from
// the sheets: each record is in the sheet of its cell with its tag, simple figures in that one only,
// and a line lying on a sheet line in the sheets on both sides of it.
TEST_F(SheetDivision, EveryRecordComesBackFromTheSheetsWithItsTag) {
    EmptyMap();
    app.store.LayerOnFlag[2] = 0;
    struct Placed {
        std::string text;
        int type;
        std::uint8_t tag;
        std::string sheet;
    };
    std::vector<Placed> placed;
    for (int type = 1; type <= 99; ++type) {
        // Layer 1 in the cell (1000, 2000), the hidden layer 2 in the cell (1250, 2250); every vertex
        // well inside, so no sheet line cuts the figure.
        const int layer = type % 2 ? 1 : 2;
        const double x = layer == 1 ? 1050 : 1300, y = layer == 1 ? 2050 : 2300;
        const double d = (type % 7) * 5;
        const auto tag = static_cast<std::uint8_t>(1 + type % 3);
        const std::string text = "f" + std::to_string(type);
        MapRecord& r = AddTo(app, layer, type, {x + d, y + d, x + 40 + d, y + 30, x + 60, y + 70 + d, x + 20, y + 90}, text);
        r.RecordSource = tag;
        if (type == 9) {  // an ellipse: semi-axes and azimuth, not vertices
            r.RecordX2 = 20;
            r.RecordY2 = 10;
            r.RecordX3 = 0.5;
        }
        placed.push_back({text, type, tag, layer == 1 ? SheetFileName(1000, 2000) : SheetFileName(1250, 2250)});
    }
    AddTo(app, 1, 2, {1250, 2010, 1250, 2100}, "on the line").RecordSource = 2;
    // The extent reaches past both cells, so the grid lines between them are cut along.
    AddTo(app, 1, 7, {1010, 2010});
    AddTo(app, 2, 7, {1490, 2490});

    Start(out.Str());
    ASSERT_EQ(window.outcome.failed, 0);

    // The cut map keeps every record's tag, pieces included.
    for (const Placed& p : placed) {
        for (int layer = 1; layer <= 2; ++layer)
            for (int slot = 0; slot < app.store.Count(layer); ++slot)
                if (app.store.Get(layer, slot).RecordText == p.text)
                    EXPECT_EQ(app.store.Get(layer, slot).RecordSource, p.tag) << "type " << p.type;
    }
    std::map<std::string, std::vector<std::string>> found;  // text -> the sheets holding it
    for (const auto& name : Files(out.Str())) {
        if (name == "索引卷.jdx") continue;
        TestApp sheet;
        ASSERT_TRUE(ReadJdxFile(sheet.app, out.Str() + "/" + name)) << name;
        for (int layer = 0; layer <= sheet.app.store.LayerCount; ++layer)
            for (int slot = 0; slot < sheet.app.store.Count(layer); ++slot) {
                const MapRecord& r = sheet.app.store.Get(layer, slot);
                if (r.RecordType != 0) found[r.RecordText].push_back(name);
            }
    }
    for (const Placed& p : placed) {
        const auto& where = found[p.text];
        EXPECT_FALSE(where.empty()) << "type " << p.type << " is in no sheet";
        EXPECT_NE(std::find(where.begin(), where.end(), p.sheet), where.end()) << "type " << p.type;
        if (p.type == 2 || p.type == 7 || p.type == 15 || p.type == 25 || p.type == 65)
            EXPECT_EQ(where.size(), 1u) << "type " << p.type;
    }
    std::set<std::string> lineSheets;
    for (const auto& sheetName : found["on the line"]) lineSheets.insert(sheetName);
    EXPECT_EQ(lineSheets, (std::set<std::string>{SheetFileName(1000, 2000), SheetFileName(1250, 2000)}));
}

// The division sorts the records into their sheets in one pass; each sheet file and the index
// must come out exactly as writing the sheets one by one, each from its own search of the map,
// makes them: records in several sheets, on sheet lines and corners, in chains and fills that go
// where their first record goes, deleted or in no sheet at all; and again when a second run adds
// to the files of the first and enters a new sheet into the index the first run wrote. The same
// map near the origin and at survey coordinates.
TEST_F(SheetDivision, SheetFilesAreThoseOfWritingEachSheetOnItsOwn) {
    app.store.LayerOnFlag[2] = 0;  // uncut: its records keep crossing the sheet lines
    struct Origin {
        double dx, dy;
        std::size_t files;  // near the origin the point at (0.5, 0.5) lies outside the extent
    };
    for (const auto& [dx, dy, sheetFiles] : {Origin{0, 0, 9}, Origin{512000, 3456000, 10}}) {
        SCOPED_TRACE(dy);
        EmptyMap();
        // A record as AddTo makes it, every vertex moved by (dx, dy).
        const auto add = [&, dx = dx, dy = dy](int layer, int type, std::initializer_list<double> xy,
                                               const std::string& text = "") -> MapRecord& {
            MapRecord& r = AddTo(app, layer, type, {}, text);
            double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                                 &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
            int k = 0;
            for (double v : xy) *fields[k] = v + (k % 2 ? dy : dx), ++k;
            return r;
        };
        add(1, 2, {1000, 2000, 1600, 2300});
        add(1, 7, {1100, 2100});
        add(2, 7, {1550, 2280});
        add(1, 15, {1250, 2100}, "3");                        // a point symbol on a sheet line
        add(1, 2, {1250, 2010, 1250, 2100}, "along");         // a line along a sheet line
        add(1, 2, {1250, 2250, 1250, 2250}, "corner");        // a line of no length on a corner
        add(1, 7, {1100, 2120}).RecordType = 7 + DeletedTypeOffset;
        app.store.Count(1)++;                                 // an empty slot
        add(1, 65, {1420, 2260}, "地名");
        add(1, 7, {0.5, 0.5});                                // in no sheet of the grid at the origin
        add(1, 7, {1750, 2500});                              // on the far corner of the extent
        add(2, 5, {1010, 2010, 1100, 2020, 1200, 2030, 1240, 2040});  // a chain from one sheet
        add(2, 1, {1300, 2060});                                      // ... into the next
        add(2, 11, {1260, 2260}).RecordZ4 = 2;                        // a fill and its boundary
        add(2, 27, {1020, 2030, 1030, 2040});
        add(2, 26, {1490, 2240});
        add(2, 2, {1400, 2100, 1600, 2120}, "hidden");        // crosses x 1500 uncut
        add(2, 68, {1510, 2110}, "文字");

        const std::string origin = out.Str() + "/" + std::to_string(static_cast<long long>(dy));
        const std::string divided = origin + "/divided", oneByOne = origin + "/one-by-one";
        for (int run = 0; run < 2; ++run) {
            Start(divided);
            ASSERT_EQ(window.outcome.failed, 0);
            app.sheets.SheetOutputFolder = oneByOne + "/";
            std::filesystem::create_directories(oneByOne);
            const double S = 250;
            SheetWriteContext context;
            context.minX = window.params.MinX;
            context.minY = window.params.MinY;
            context.maxX = window.params.MaxX;
            context.maxY = window.params.MaxY;
            for (double y0 = S * std::floor(window.params.MinY / S); y0 <= window.params.MaxY; y0 += S) {
                for (double x0 = S * std::floor(window.params.MinX / S); x0 <= window.params.MaxX; x0 += S) {
                    if (SheetHasFeatures(app, x0, y0, S)) {
                        ASSERT_TRUE(SaveSheet(app, x0, y0, S, context));
                    }
                }
            }
            add(1, 7, {1800, 2300});  // a sheet of its own for the second run
        }
        const auto files = Files(divided);
        EXPECT_EQ(files, Files(oneByOne));
        EXPECT_EQ(files.size(), sheetFiles);
        for (const auto& name : files)
            EXPECT_TRUE(FileBytes(divided + "/" + name) == FileBytes(oneByOne + "/" + name)) << name;
    }
}

// The folder picker still works while the division yields: the sheets written after a new folder
// is chosen go there, and each folder's index lists exactly the sheets in that folder.
TEST_F(SheetDivision, AFolderChosenWhileWritingTakesTheRestOfTheSheetsAndTheirIndexEntries) {
    const std::string first = out.Str() + "/first/", second = out.Str() + "/second/";
    std::filesystem::create_directories(second);
    // Three cut lines, then the cells: the new folder is chosen before the fifth cell is written.
    t.platform.scriptedEvents.QueueAt(3 + 5, [&] {
        t.platform.dialogScript.QueueFile(second + "a.jdx");
        window.Label3_Click();
    });
    Start(first);
    ASSERT_EQ(window.outcome.failed + window.outcome.indexFailed, 0);
    std::size_t sheets = 0;
    for (const std::string& folder : {first, second}) {
        std::set<std::string> numbers, named;
        for (const auto& r : RawRecords(FileBytes(folder + "索引卷.jdx")))
            if (r.type == 68) numbers.insert(r.text);
        for (const auto& name : Files(folder))
            if (name != "索引卷.jdx") named.insert(name.substr(0, 2) + "." + name.substr(2, 2) + "-" + name.substr(4, 2) + "." + name.substr(6, 2));
        EXPECT_FALSE(named.empty()) << folder;
        EXPECT_EQ(numbers, named) << folder;
        sheets += named.size();
    }
    EXPECT_EQ(sheets, 3u);
}

class MergedMapUndo : public ::testing::Test {
protected:
    MergedMapUndo() {
        MakeSheetMap(app, 500, 1);
        for (int tag : {1, 2, 3, 1, 3, 2, 3}) AddTo(app, 1, 7, {100.0 * tag, 50}).RecordSource = static_cast<std::uint8_t>(tag);
    }
    int WithTag(int tag) const {
        int n = 0;
        for (int i = 0; i < app.store.Count(1); ++i) n += app.store.Get(1, i).RecordSource == tag;
        return n;
    }
    TestApp t;
    App& app = t.app;
};

TEST_F(MergedMapUndo, OneMapAloneHasNothingToTakeOut) {
    hbtuFrm window(app);
    window.Load();
    EXPECT_EQ(window.Label1.Caption(), "已有0 幅图 并入");
    EXPECT_EQ(window.Label1.ForeColor(), app.tables.ColorPalette[1]);
    EXPECT_EQ(window.Text1.Text(), "无");
    EXPECT_FALSE(window.Command1.Enabled());
    window.Unload();
}

TEST_F(MergedMapUndo, TakesOutExactlyTheChosenFileOnceAndNeverTheBase) {
    app.mapFile.MergedFileCount = 3;
    app.mapFile.MergedFileNames = {"", "base.jdx", "two.jdx", "three.jdx"};
    hbtuFrm window(app);
    window.Load();
    EXPECT_EQ(window.Label1.Caption(), "已有2 幅图 并入");
    ASSERT_EQ(window.Combo1.ListCount(), 3);
    EXPECT_EQ(window.Combo1.ListIndex(), 2);
    EXPECT_EQ(window.Text1.Text(), "3");
    app.current.ModifiedFlag = 0;
    window.Command1.Click();
    EXPECT_EQ(WithTag(3), 0);
    EXPECT_EQ(WithTag(1), 2);
    EXPECT_EQ(WithTag(2), 2);
    EXPECT_EQ(app.mapFile.MergedFileNames[3], "three.jdx！");
    EXPECT_EQ(window.Combo1.List(2), "three.jdx！");
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_EQ(window.Command2.Caption(), "完成");
    // A second press removes nothing and marks nothing again.
    window.Command1.Click();
    EXPECT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(app.mapFile.MergedFileNames[3], "three.jdx！");

    window.Combo1.SetListIndex(0);
    EXPECT_EQ(window.Text1.Text(), "1");
    window.Command1.Click();
    EXPECT_EQ(window.Command2.Caption(), "本幅，不！");
    EXPECT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(app.mapFile.MergedFileNames[1], "base.jdx");
    EXPECT_EQ(app.mapFile.MergedFileNames[2], "two.jdx");
    window.Unload();
}

}  // namespace
}  // namespace movra
