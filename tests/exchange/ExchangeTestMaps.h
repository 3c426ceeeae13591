#pragma once
// Maps and helpers shared by the export tests.
#include <filesystem>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Files.h"
#include "support/TestApp.h"

namespace movra::exchange_test {

inline const std::string SourceDir = MOVRA_TEST_SOURCE_DIR;
inline const std::string FixtureDir = SourceDir + "/tests/fixtures/exchange";

// The shipped header template, copied into the test's program folder.
inline void InstallHeaderTemplate(TestApp& t) {
    std::filesystem::copy_file(SourceDir + "/resources/dxf头文档.txt", t.programFolder.Str() + "/dxf头文档.txt",
                               std::filesystem::copy_options::overwrite_existing);
}

inline MapRecord Rec(std::uint8_t type, std::vector<double> xy, std::string text = "", std::uint8_t pen = 0) {
    MapRecord r;
    r.RecordType = type;
    r.RecordPen = pen;
    r.RecordText = std::move(text);
    xy.resize(8, 0.0);
    r.RecordX1 = xy[0], r.RecordY1 = xy[1], r.RecordX2 = xy[2], r.RecordY2 = xy[3];
    r.RecordX3 = xy[4], r.RecordY3 = xy[5], r.RecordX4 = xy[6], r.RecordY4 = xy[7];
    return r;
}

// An empty map of `layers` layers named 层1.. (layer 0 "0"), every count 0.
inline void EmptyMap(App& app, int layers) {
    auto& s = app.store;
    s.DimensionEmpty(layers);
    s.LayerCount = static_cast<std::uint8_t>(layers);
    s.NextLayerIndex = static_cast<std::uint8_t>(layers + 1);
    s.LayerRecordCount.assign(LayerTableSize, 0);
    s.LayerNames[0] = "0";
    for (int l = 1; l <= layers; ++l) {
        s.LayerNames[static_cast<size_t>(l)] = "层" + std::to_string(l);
        s.LayerColorIndex[static_cast<size_t>(l)] = static_cast<std::uint8_t>(l);
    }
}

// Appends the records to the layer, after what it holds.
inline void Put(App& app, int layer, const std::vector<MapRecord>& records) {
    for (const MapRecord& r : records) {
        const int slot = app.store.Count(layer);
        app.store.At(layer, slot) = r;
        app.store.Count(layer) = slot + 1;
    }
}

// One record of every kind the exports know (and a few they skip) on three layers with Chinese
// names, plus one line in layer 0.
inline void SampleMap(App& app) {
    EmptyMap(app, 3);
    auto& s = app.store;
    s.LayerNames[1] = "道路";
    s.LayerNames[2] = "房屋";
    s.LayerNames[3] = "水系";
    s.LayerColorIndex[1] = 1;
    s.LayerColorIndex[2] = 3;
    s.LayerColorIndex[3] = 5;
    app.view.ScaleFactor = 0.5;
    app.extents = DrawingExtents{-12.5, 0.25, 520.75, 430};

    Put(app, 0, {Rec(2, {1, 2, 3, 4})});
    MapRecord line = Rec(2, {10, 20, 30.5, 40.25}, "", 1);
    line.RecordZ1 = 0;
    line.RecordZ2 = 2.5f;
    line.RecordColor = 255;
    MapRecord deleted = Rec(102, {5, 5, 6, 6});
    Put(app, 1, {line,
                 Rec(5, {100, 100, 110, 100, 110, 110, 100, 110}),
                 Rec(1, {100, 120}),
                 Rec(6, {200, 200, 210, 200, 210, 210, 200, 210}, "", 1),
                 Rec(3, {-12.5, 0.25, -10, 5, -8, 0.5}),
                 Rec(4, {300, 300, 301, 301, 302, 300, 303, 301}),
                 Rec(21, {400, 400, 410.125, 400}),
                 deleted,
                 Rec(9, {50, 50, 5, 3, 0.5})});
    Put(app, 2, {Rec(45, {0, 0, 1, 0, 2, 0, 3, 0}, "352"),
                 Rec(45, {4, 0, 5, 0, 6, 0, 7, 0}, "352"),
                 Rec(43, {8, 0, 9, 0, 10, 1}, "352"),
                 Rec(12, {20, 20, 25, 25}, "355"),
                 Rec(42, {30, 30, 35, 30}, "356"),
                 Rec(44, {40, 40, 41, 41, 42, 40, 43, 41}, "357"),
                 Rec(45, {50, 50, 51, 50, 52, 50, 53, 50}, "358"),
                 Rec(41, {54, 51}, "358"),
                 Rec(7, {100, 200, 7.5}),
                 Rec(8, {150, 200, 4, 0, 0.5, 2.5})});
    MapRecord symbol = Rec(15, {500, 400, 0, 1, 1, 1}, "128");
    symbol.RecordZ2 = 1.5707964f;
    symbol.RecordZ3 = 1;
    symbol.RecordZ1 = 12.5f;
    MapRecord image = Rec(70, {510, 410, 10.75, 8}, "照片.jpg");
    image.RecordColor = 3;
    MapRecord text65 = Rec(65, {420, 430, 11, 0}, "道路");
    MapRecord text66 = Rec(66, {430, 420, 8, 3.5}, "河流,名称", 0);
    text66.RecordZ2 = 30;
    text66.RecordFont = "黑体";
    MapRecord height = Rec(47, {440, 410, 441, 411});
    height.RecordZ1 = 12.5f;
    height.RecordZ2 = 0;
    height.RecordText = "H1";
    Put(app, 3, {symbol, Rec(16, {505, 405}, "稻田"), image, text65, text66, Rec(31, {1, 1}, "J1"), height,
                 Rec(34, {1, 2, 3, 4, 5, 6, 7, 8}, "")});
}

inline std::string ReadBytes(const std::string& path) { return ReadWholeFile(path); }

// The lines of a file split at CR LF, without the line breaks.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace movra::exchange_test
