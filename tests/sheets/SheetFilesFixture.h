#pragma once
// A map at a set scale with a built frame template, and the bytes of the files the sheet writers
// make, read independently of the program's reader.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Gbk.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "sheets/SheetFrameTemplate.h"
#include "support/TestApp.h"

namespace movra::test {

inline SheetFrameTexts SampleFrameTexts() {
    SheetFrameTexts t;
    t.Text2 = "Velmar";
    t.Text3 = "2000年1月XXX测图。";
    t.Text4 = "1954年北京坐标系。";
    t.Text5 = "1985国家高程基准，等高距为1米。";
    t.Text6 = "1996年版图式。";
    t.Text7 = "  李明 ";
    t.Text8 = "王芳";
    t.Text9 = "张伟";
    t.Text10 = "秘密";
    t.Text11 = "";
    return t;
}

// A map of `layers` layers (layer 1 on) at 1 : denominator, the palette filled.
inline void MakeSheetMap(App& app, double denominator, int layers = 1) {
    app.store.LayerCount = static_cast<std::uint8_t>(layers);
    app.store.NextLayerIndex = static_cast<std::uint8_t>(layers + 1);
    新建层(app);
    for (int i = 0; i < 256; ++i) app.tables.ColorPalette[static_cast<std::size_t>(i)] = ColorIndexToRgb(static_cast<std::uint8_t>(i));
    for (int layer = 1; layer <= layers; ++layer) {
        app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
        app.store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
    }
    app.view.ProjectParams[0] = denominator;
    app.view.ScaleFactor = denominator / 1000;
}

// Appends a committed record of the given type and vertices (x, y pairs) to a layer.
inline MapRecord& AddTo(App& app, int layer, int type, std::initializer_list<double> xy,
                        const std::string& text = "") {
    auto& count = app.store.Count(layer);
    MapRecord& r = app.store.At(layer, count++);
    r.RecordType = static_cast<std::uint8_t>(type);
    double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                         &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
    int i = 0;
    for (double v : xy) *fields[i++] = v;
    r.RecordText = text;
    r.RecordColor = 0x00112233;
    r.RecordPen = 8;
    r.RecordFont = "宋体";
    return r;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

template <typename T>
T ValueAt(const std::string& bytes, std::size_t offset) {
    T v{};
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

// One 132-byte record read straight from the bytes at the documented offsets.
struct RawRecord {
    int layer = 0, slot = 0, reserved = 0, type = 0, color = 0, pen = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
    float z1 = 0, z3 = 0;
    std::string text, font;
};

inline std::string TrimBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

inline std::vector<RawRecord> RawRecords(const std::string& bytes) {
    std::vector<RawRecord> out;
    for (std::size_t at = 0; at + 132 <= bytes.size(); at += 132) {
        RawRecord r;
        r.layer = ValueAt<std::uint8_t>(bytes, at);
        r.slot = ValueAt<std::int16_t>(bytes, at + 1);
        r.reserved = ValueAt<std::int16_t>(bytes, at + 3);
        r.type = ValueAt<std::uint8_t>(bytes, at + 5);
        r.color = ValueAt<std::int32_t>(bytes, at + 6);
        r.x1 = ValueAt<double>(bytes, at + 10);
        r.y1 = ValueAt<double>(bytes, at + 18);
        r.z1 = ValueAt<float>(bytes, at + 26);
        r.x2 = ValueAt<double>(bytes, at + 30);
        r.y2 = ValueAt<double>(bytes, at + 38);
        r.x3 = ValueAt<double>(bytes, at + 50);
        r.y3 = ValueAt<double>(bytes, at + 58);
        r.z3 = ValueAt<float>(bytes, at + 66);
        r.x4 = ValueAt<double>(bytes, at + 70);
        r.y4 = ValueAt<double>(bytes, at + 78);
        r.pen = ValueAt<std::int16_t>(bytes, at + 90);
        r.text = FromGbk(TrimBlanks(bytes.substr(at + 92, 32)));
        r.font = FromGbk(TrimBlanks(bytes.substr(at + 124, 8)));
        out.push_back(r);
    }
    return out;
}

}  // namespace movra::test
