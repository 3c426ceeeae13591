// Release-12 files as other programs read them: ezdxf opens and audits each file, GDAL's ogrinfo
// reads it without an error, and ogr2ogr's GeoJSON of it lists the map's entities. The peers are
// Debian packages (python3-ezdxf, gdal-bin) that scripts/setup installs; without them these tests
// fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>

#include "ExchangeTestMaps.h"
#include "document/SaveDialogs.h"
#include "exchange/ExportDxfR12.h"

namespace movra {
namespace {

using namespace exchange_test;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

struct PeerReport {
    int exitCode = -1;
    std::vector<std::string> lines;
};

PeerReport RunPeers(const std::string& dxf) {
    PeerReport report;
    const std::string command =
        "/usr/bin/python3 '" + SourceDir + "/tests/exchange/peers/check_dxf.py' '" + dxf + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return report;
    std::string output;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    report.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) report.lines.push_back(line);
    return report;
}

// An entity as the map asks for it: a LINE from its two points, a CIRCLE (its centre and radius),
// or a TEXT at its point.
struct Expected {
    std::string kind;  // "LINE", "CURVE" (a circle or an arc, as GDAL turns it into a line string), "TEXT", "POINT"
    std::string lineType;
    std::string text;
    std::vector<double> xy;  // LINE x1 y1 x2 y2; CURVE cx cy r; TEXT x y
};

// What every record of the map should become, written out from the record kinds' meaning.
std::vector<Expected> ExpectedEntities(const App& app) {
    std::vector<Expected> out;
    const auto& s = app.store;
    for (int layer = 0; layer <= s.LayerCount; ++layer) {
        const int count = std::min<int>(s.Count(layer), s.LayerCapacity);
        for (int slot = 0; slot <= count; ++slot) {
            const MapRecord& r = s.Get(layer, slot);
            const std::string lt = r.RecordPen == 1 ? "HIDDEN2" : "CONTINUOUS";
            const std::vector<std::pair<double, double>> p = {
                {r.RecordX1, r.RecordY1}, {r.RecordX2, r.RecordY2}, {r.RecordX3, r.RecordY3}, {r.RecordX4, r.RecordY4}};
            auto path = [&](std::vector<std::pair<double, double>> v) {
                for (size_t k = 0; k + 1 < v.size(); ++k)
                    out.push_back({"LINE", lt, "", {v[k].first, v[k].second, v[k + 1].first, v[k + 1].second}});
            };
            const int t = r.RecordType;
            if (t == 2 || t == 12 || t == 21 || t == 22 || t == 23 || t == 42) path({p[0], p[1]});
            if (t == 70) path({p[0], {r.RecordX1 + r.RecordX2, r.RecordY1 + r.RecordY2}});
            if (t == 3 || t == 43) path({p[0], p[1], p[2]});
            if (t == 4 || t == 44) path({p[0], p[1], p[2], p[3]});
            if (t == 6) path({p[0], p[1], p[2], p[3], p[0]});
            if (t == 5 || t == 45) {
                const MapRecord& next = s.Get(layer, slot + 1);
                path({p[0], p[1], p[2], p[3], {next.RecordX1, next.RecordY1}});
            }
            if (t == 7 || t == 8) out.push_back({"CURVE", lt, "", {r.RecordX1, r.RecordY1, r.RecordX2}});
            const int points = t >= 31 && t <= 34 ? t - 30 : t >= 46 && t <= 49 ? t - 45 : 0;
            for (int k = 0; k < points; ++k) out.push_back({"POINT", "", "", {p[k].first, p[k].second}});
            if (t >= 15 && t <= 19) out.push_back({"CURVE", lt, "", {r.RecordX1, r.RecordY1, 1}});
            if (t >= 65 && t <= 68) {
                const double h = static_cast<float>(r.RecordX2 / 3);
                out.push_back({"TEXT", "", r.RecordText, {r.RecordX1, r.RecordY1 - h}});
            }
        }
    }
    return out;
}

std::vector<std::pair<double, double>> Points(const std::string& field) {
    std::vector<std::pair<double, double>> points;
    for (const std::string& pair : Split(field, ';')) {
        std::istringstream in(pair);
        double x = 0, y = 0;
        in >> x >> y;
        points.emplace_back(x, y);
    }
    return points;
}

void CheckWithPeers(const App& app, const std::string& dxf, const std::string& what) {
    SCOPED_TRACE(what);
    const PeerReport report = RunPeers(dxf);
    std::string all;
    for (const auto& l : report.lines) all += l + "\n";
    ASSERT_EQ(report.exitCode, 0) << "the DXF peers (python3-ezdxf, gdal-bin) must be installed:\n" << all;
    ASSERT_GE(report.lines.size(), 2u) << all;
    EXPECT_EQ(report.lines[0], "audit 0 0") << all;
    EXPECT_EQ(std::count(report.lines.begin(), report.lines.end(), "ogrinfo-errors 0"), 1) << all;

    std::vector<std::vector<std::string>> features;
    for (const auto& l : report.lines)
        if (l.rfind("feature ", 0) == 0) features.push_back(Split(l.substr(8), '|'));
    const auto expected = ExpectedEntities(app);
    ASSERT_EQ(features.size(), expected.size()) << all;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        const auto& f = features[i];
        ASSERT_EQ(f.size(), 5u) << all;
        EXPECT_EQ(f[0], e.kind) << i;
        EXPECT_EQ(f[1], "0") << i;
        EXPECT_EQ(f[2], e.lineType) << i;
        EXPECT_EQ(f[3], e.text) << i;
        const auto pts = Points(f[4]);
        if (e.kind == "LINE") {
            ASSERT_EQ(pts.size(), 2u);
            EXPECT_NEAR(pts[0].first, e.xy[0], 1e-6) << i;
            EXPECT_NEAR(pts[0].second, e.xy[1], 1e-6) << i;
            EXPECT_NEAR(pts[1].first, e.xy[2], 1e-6) << i;
            EXPECT_NEAR(pts[1].second, e.xy[3], 1e-6) << i;
        } else if (e.kind == "TEXT" || e.kind == "POINT") {
            ASSERT_EQ(pts.size(), 1u);
            EXPECT_NEAR(pts[0].first, e.xy[0], 1e-6) << i;
            EXPECT_NEAR(pts[0].second, e.xy[1], 1e-6) << i;
        } else {
            // A circle comes back as a closed line string: every vertex at the radius from the centre.
            ASSERT_GE(pts.size(), 8u);
            for (const auto& [x, y] : pts) EXPECT_NEAR(std::hypot(x - e.xy[0], y - e.xy[1]), e.xy[2], 1e-6) << i;
        }
    }
}

TEST(ExportPeersTest, ReleaseTwelveFilesReadBackInOtherPrograms) {
    struct Map {
        const char* what;
        void (*make)(App&);
    };
    const Map maps[] = {
        {"every exported kind", [](App& app) { SampleMap(app); }},
        {"empty map", [](App& app) { EmptyMap(app, 1); }},
        {"no layers", [](App& app) { EmptyMap(app, 0); }},
        {"survey coordinates", [](App& app) {
             EmptyMap(app, 2);
             app.store.LayerNames[2] = "控制点（一级）";
             app.extents = DrawingExtents{39500100.125, 3400100.5, 39500300.987654, 3400400.123456};
             MapRecord text = Rec(65, {39500200.123456, 3400300.654321, 7.5}, "图根点 T12；高程 45.6");
             Put(app, 1, {Rec(4, {39500100.125, 3400100.5, 39500300.987654, 3400100.5, 39500300.987654,
                                  3400400.123456, 39500100.125, 3400400.123456}, "", 1),
                          Rec(7, {39500200.5, 3400250.25, 12.345678})});
             Put(app, 2, {text, Rec(15, {39500150.000001, 3400150.999999}, "131")});
         }},
    };
    for (const Map& m : maps) {
        TestApp t;
        m.make(t.app);
        const std::string path = t.workFolder.Str() + "/r12.dxf";
        ASSERT_TRUE(ExportDxfR12(t.app, path));
        CheckWithPeers(t.app, path, m.what);
    }
}

// An arc of a map reduced to small numbers comes back in ezdxf as an ARC at its true centre, with
// its radius and its angles turned from the record's radians into degrees.
TEST(ExportPeersTest, AnArcReadsBackAsAnArcAtItsTruePlace) {
    TestApp t;
    EmptyMap(t.app, 1);
    t.app.reduction.ReductionOffsetX = 500000;
    t.app.reduction.ReductionOffsetY = 3000000;
    constexpr double Pi = 3.14159265358979;
    Put(t.app, 1, {Rec(8, {350.25, 200.5, 4, 1, 0.5, 2.5}), Rec(8, {10, 20, 2.5, 1, 1.5 * Pi, 0.25 * Pi})});
    const std::string path = t.workFolder.Str() + "/arcs.dxf";
    ASSERT_TRUE(ExportDxfR12(t.app, path));
    const PeerReport report = RunPeers(path);
    std::string all;
    for (const auto& l : report.lines) all += l + "\n";
    ASSERT_EQ(report.exitCode, 0) << all;
    EXPECT_EQ(report.lines[0], "audit 0 0") << all;
    std::vector<std::vector<double>> arcs;
    for (const auto& l : report.lines) {
        if (l.rfind("ezdxf-arc ", 0) != 0) continue;
        std::istringstream in(l.substr(10));
        std::vector<double> v(5);
        for (double& x : v) in >> x;
        arcs.push_back(v);
    }
    ASSERT_EQ(arcs.size(), 2u) << all;
    const std::vector<std::vector<double>> expected = {{500350.25, 3000200.5, 4, 0.5 * 180 / Pi, 2.5 * 180 / Pi},
                                                       {500010, 3000020, 2.5, 270, 45}};
    for (size_t i = 0; i < 2; ++i)
        for (size_t k = 0; k < 5; ++k) EXPECT_NEAR(arcs[i][k], expected[i][k], 1e-6) << i << "/" << k << "\n" << all;
}

// A map at survey coordinates: one record of each kind the exports write, with the extents its file
// header would carry (its first vertices' range).
void SurveyMap(App& app) {
    EmptyMap(app, 2);
    app.view.ScaleFactor = 0.5;
    MapRecord symbol = Rec(15, {500150.000001, 3000150.999999, 0, 1, 1, 1}, "128");
    symbol.RecordZ2 = 0.5f;
    MapRecord turned = Rec(66, {500230.5, 3000240.75, 8, 3.5}, "河流");
    turned.RecordZ2 = 30;
    MapRecord height = Rec(47, {500440.125, 3000410.5, 500441.25, 3000411.75}, "H1");
    height.RecordZ1 = 12.5f;
    Put(app, 1, {Rec(2, {500106.25, 3000212.125, 500123.456789, 3000300.5}),
                 Rec(5, {500100, 3000100, 500110, 3000100, 500110, 3000110, 500100, 3000110}),
                 Rec(1, {500100, 3000120}),
                 Rec(6, {500200, 3000200, 500210, 3000200, 500210, 3000210, 500200, 3000210}, "", 1),
                 Rec(7, {500300.5, 3000250.25, 12.345678}),
                 Rec(8, {500350, 3000200, 4, 0, 0.5, 2.5})});
    Put(app, 2, {Rec(42, {500030, 3000030, 500035, 3000030}, "356"),
                 Rec(44, {500040, 3000040, 500041, 3000041, 500042, 3000040, 500043, 3000041}, "357"), symbol,
                 Rec(65, {500420, 3000430, 11, 0}, "道路"), turned, height,
                 Rec(70, {500510, 3000410, 10.75, 8}, "照片.jpg")});
    app.extents = DrawingExtents{500030, 3000030, 500510, 3000430};
}

// A map at survey coordinates exports the same files after 目标归位 (method button 0) reduced it
// to small numbers: every coordinate and the extents go out true, in each of the three forms the
// save-as-DXF command offers, and the other programs read the true extents.
TEST(ExportPeersTest, AReducedMapExportsItsTrueCoordinates) {
    TestApp t;
    InstallHeaderTemplate(t);
    t.form1.Load();
    App& app = t.app;
    SurveyMap(app);

    const char* forms[] = {"r12.dxf", "own.dxf", "points.txt"};
    auto exportAll = [&](const std::string& prefix) {
        std::vector<std::string> files;
        for (int filter = 1; filter <= 3; ++filter) {
            const std::string path = t.workFolder.Str() + "/" + prefix + forms[filter - 1];
            t.platform.dialogScript.QueueFile(path, filter);
            SaveAsDxfDialog(app);
            files.push_back(ReadBytes(path));
            EXPECT_NE(files.back(), "") << path;
        }
        return files;
    };
    const auto before = exportAll("true-");

    t.form1.Command8_Click(0);
    ASSERT_EQ(app.reduction.ReductionOffsetX, 500000);
    ASSERT_EQ(app.reduction.ReductionOffsetY, 3000000);
    ASSERT_EQ(app.store.Get(1, 0).RecordX1, 106.25);

    const auto after = exportAll("reduced-");
    // The entities (and the whole coordinate text) are the same to the last digit; the headers carry
    // the extents of the view that 目标归位 fitted to the map, true as well.
    auto fromEntities = [](const std::string& file) {
        const size_t entities = file.find("ENTITIES");
        return entities == std::string::npos ? file : file.substr(entities);
    };
    for (size_t k = 0; k < after.size(); ++k) EXPECT_EQ(fromEntities(after[k]), fromEntities(before[k])) << forms[k];
    const auto coordinates = CrLfLines(after[2]);
    EXPECT_EQ(coordinates.at(2), "500106.25,3000212.125");
    EXPECT_NE(std::find(coordinates.begin(), coordinates.end(), "500441.25,3000411.75,0,H1"), coordinates.end());

    const std::string r12 = t.workFolder.Str() + "/reduced-r12.dxf";
    TestApp unreduced;
    SurveyMap(unreduced.app);
    CheckWithPeers(unreduced.app, r12, "reduced map");
    const PeerReport report = RunPeers(r12);
    std::string all;
    for (const auto& l : report.lines) all += l + "\n";
    const auto header = std::find_if(report.lines.begin(), report.lines.end(),
                                     [](const std::string& l) { return l.rfind("header-extents ", 0) == 0; });
    ASSERT_NE(header, report.lines.end()) << all;
    std::istringstream read(header->substr(15));
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    read >> minX >> minY >> maxX >> maxY;
    // The view 目标归位 fitted does not hold the whole drawing; the header's extents do, from the
    // lowest line to the picture's far corner and the highest text, true as every coordinate.
    const DrawingExtents& e = app.extents;
    ASSERT_GT(e.ExtentMinY + 3000000, 3000030);
    EXPECT_NEAR(minX, 500030, 1e-6);
    EXPECT_NEAR(minY, 3000030, 1e-6);
    EXPECT_NEAR(maxX, 500520.75, 1e-6);
    EXPECT_NEAR(maxY, 3000430, 1e-6);
    // The own dialect writes the same extents.
    for (const char* name : {"$EXTMIN", "$LIMMIN"}) {
        const auto own = CrLfLines(after[1]);
        const auto at = std::find(own.begin(), own.end(), name);
        ASSERT_LT(at + 4, own.end()) << name;
        EXPECT_NEAR(std::stod(*(at + 2)), 500030, 1e-6) << name;
        EXPECT_NEAR(std::stod(*(at + 4)), 3000030, 1e-6) << name;
    }
    EXPECT_NE(std::find(report.lines.begin(), report.lines.end(),
                        "ogrinfo-extent (500030.000000, 3000030.000000) - (500520.750000, 3000426.333333)"),
              report.lines.end())
        << all;
}

// A map whose extents nothing has set yet (a new map, drawn at survey coordinates) exports
// extents that hold its drawing, as ezdxf reads them, not the stretch from the origin.
TEST(ExportPeersTest, ANewMapExportsExtentsThatHoldItsDrawing) {
    TestApp t;
    InstallHeaderTemplate(t);
    t.form1.Load();
    SurveyMap(t.app);
    t.app.extents = DrawingExtents{};
    for (int layer : {1, 2}) t.app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
    const std::string path = t.workFolder.Str() + "/new.dxf";
    t.platform.dialogScript.QueueFile(path, 1);
    SaveAsDxfDialog(t.app);
    const PeerReport report = RunPeers(path);
    const auto header = std::find_if(report.lines.begin(), report.lines.end(),
                                     [](const std::string& l) { return l.rfind("header-extents ", 0) == 0; });
    ASSERT_NE(header, report.lines.end());
    std::istringstream read(header->substr(15));
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    read >> minX >> minY >> maxX >> maxY;
    EXPECT_LE(minX, 500030);
    EXPECT_GT(minX, 499000);
    EXPECT_LE(minY, 3000030);
    EXPECT_GE(maxX, 500520.75);
    EXPECT_LT(maxX, 501000);
    EXPECT_GE(maxY, 3000430);
}

}  // namespace
}  // namespace movra
