#pragma once
// Hand-made DXF files for the import tests: a release-2000 frame, layer entries, entity heads,
// and the fixture that imports them into an empty map with a palette that tells its indices.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ExchangeTestMaps.h"
#include "basic/Gbk.h"
#include "exchange/ImportDxf.h"

namespace movra::exchange_test {

using Lines = std::vector<std::string>;

inline void Append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

// A file of release 2000 layout: header, one layer table, the entities given.
inline Lines R2000(const Lines& layers, const Lines& entities, const Lines& header = {"9", "$LTSCALE", "40", "0.5"}) {
    Lines f{"0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1015"};
    Append(f, header);
    Append(f, {"0", "ENDSEC", "0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LTYPE", "5", "5", "100",
               "AcDbSymbolTable", "0", "ENDTAB", "0", "TABLE", "2", "LAYER", "5", "2", "100", "AcDbSymbolTable",
               "70", "5"});
    Append(f, layers);
    Append(f, {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES"});
    Append(f, entities);
    Append(f, {"0", "ENDSEC", "0", "EOF"});
    return f;
}

inline Lines Layer(const std::string& name, const std::string& color) {
    return {"0", "LAYER", "5", "10", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "2", name,
            "70", "0", "62", color, "6", "Continuous"};
}

inline Lines Head(const std::string& kind, const std::string& layer, const std::string& marker) {
    return {"0", kind, "5", "1F", "100", "AcDbEntity", "8", layer, "100", marker};
}

inline Lines LineEntity(const std::string& layer, double x1, double y1, double x2, double y2, const Lines& tail = {}) {
    Lines f = Head("LINE", layer, "AcDbLine");
    Append(f, {"10", std::to_string(x1), "20", std::to_string(y1), "30", "0", "11", std::to_string(x2), "21",
               std::to_string(y2), "31", "0"});
    Append(f, tail);
    return f;
}

inline Lines LwPolyline(const std::string& layer, const std::vector<std::pair<double, double>>& points, int flag,
                 const Lines& tail = {}) {
    Lines f = Head("LWPOLYLINE", layer, "AcDbPolyline");
    Append(f, {"90", std::to_string(points.size()), "70", std::to_string(flag), "43", "0"});
    for (auto [x, y] : points) Append(f, {"10", std::to_string(x), "20", std::to_string(y)});
    Append(f, tail);
    return f;
}

inline std::string Joined(const Lines& lines, const std::string& end) {
    std::string text;
    for (const auto& l : lines) text += ToGbk(l) + end;
    return text;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The palette of the tests: entry n is 1000 + n, so every colour tells its index.
inline void TestPalette(App& app) {
    for (int i = 0; i < 256; ++i) app.tables.ColorPalette[static_cast<size_t>(i)] = 1000 + i;
}

struct DxfImportFixture : ::testing::Test {
    TestApp t;
    App& app = t.app;
    std::string Path(const char* name) { return t.workFolder.Str() + "/" + name; }
    DxfImportOutcome Import(const std::string& bytes) {
        const std::string path = Path("in.dxf");
        WriteFile(path, bytes);
        EmptyMap(app, 1);
        TestPalette(app);
        return ImportDxf(app, path);
    }
    DxfImportOutcome Import(const Lines& lines, const std::string& end = "\r\n") { return Import(Joined(lines, end)); }
    const MapRecord& R(int layer, int slot) { return app.store.Get(layer, slot); }
};

inline const Lines FourLayers = [] {
    Lines l;
    // Colours 7, 0, -1 and 300 are no layer colour: the layer's number picks one.
    Append(l, Layer("甲", "7"));
    Append(l, Layer("乙", "0"));
    Append(l, Layer("丙", "-1"));
    Append(l, Layer("丁", "300"));
    Append(l, Layer("戊", "3"));
    return l;
}();

}  // namespace movra::exchange_test
