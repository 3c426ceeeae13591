#pragma once
// Small maps and file helpers shared by the map file and block file tests.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "App.h"
#include "document/FileRecord.h"
#include "document/Layers.h"
#include "document/MapRecord.h"
#include "support/TestApp.h"

namespace movra::test {

// An emptied store of `layers` layers, as a reader leaves it before appending.
inline void DimensionMap(App& app, int layers, int capacity = 5000) {
    app.store.LayerCount = static_cast<std::uint8_t>(layers);
    app.store.LayerCapacity = static_cast<std::int16_t>(capacity);
    app.store.NextLayerIndex = static_cast<std::uint8_t>(layers + 1);
    新建层(app);
}

// Appends a committed record to a layer.
inline void AddRecord(App& app, int layer, const MapRecord& record) {
    auto& count = app.store.Count(layer);
    app.store.At(layer, count) = record;
    ++count;
}

// A record whose every field differs from those of record `i`'s neighbours.
inline MapRecord SampleRecord(int i) {
    MapRecord r;
    r.RecordType = static_cast<std::uint8_t>(1 + i % 60);
    r.RecordPen = static_cast<std::uint8_t>(7 + i);
    r.RecordColor = 0x00102030 + i;
    r.RecordX1 = 3412345.125 + i; r.RecordY1 = 512345.5 - i; r.RecordZ1 = 10.25f + static_cast<float>(i);
    r.RecordX2 = 2.5 * i;         r.RecordY2 = -7.75 * i;    r.RecordZ2 = 0.5f * static_cast<float>(i);
    r.RecordX3 = 1e-3 * i;        r.RecordY3 = 1e6 + i;      r.RecordZ3 = -3.0f;
    r.RecordX4 = -1.0 / 3;        r.RecordY4 = 123456789.0123 + i; r.RecordZ4 = 4.0f + static_cast<float>(i);
    r.RecordText = "点" + std::to_string(i);
    r.RecordFont = "宋体";
    return r;
}

// The two-layer sample map: layer 1 holds slots 0..9, layer 2 a single record.
inline void MakeTwoLayerMap(App& app) {
    DimensionMap(app, 2);
    app.store.LayerNames[1] = "道路";
    app.store.LayerNames[2] = "房屋";
    app.store.LayerColorIndex[1] = 5;
    app.store.LayerColorIndex[2] = 200;
    // Reading makes the last layer current, which turns it on: the layer that is off is layer 1.
    app.store.LayerOnFlag[1] = 0;
    app.store.LayerOnFlag[2] = -1;
    for (int i = 0; i < 10; ++i) AddRecord(app, 1, SampleRecord(i));
    AddRecord(app, 2, SampleRecord(50));
    app.view.BackgroundColor = 0x00FFEEDD;
    app.view.ProjectParams = {500, 3412345.5, 3412345.678, 40.125, 50.5, 117.0};
    app.extents = {10.5, 20.25, 3412345.678, 40.75};
    app.reduction.ReductionOffsetX = 3400000;
    app.reduction.ReductionOffsetY = 512345.678;
}

// Every field a map file keeps (not the attribute string or the merged-file tag).
inline void ExpectSameDrawing(const MapRecord& expected, const MapRecord& actual) {
    EXPECT_EQ(expected.RecordType, actual.RecordType);
    EXPECT_EQ(expected.RecordPen, actual.RecordPen);
    EXPECT_EQ(expected.RecordColor, actual.RecordColor);
    EXPECT_EQ(expected.RecordX1, actual.RecordX1);
    EXPECT_EQ(expected.RecordY1, actual.RecordY1);
    EXPECT_EQ(expected.RecordZ1, actual.RecordZ1);
    EXPECT_EQ(expected.RecordX2, actual.RecordX2);
    EXPECT_EQ(expected.RecordY2, actual.RecordY2);
    EXPECT_EQ(expected.RecordZ2, actual.RecordZ2);
    EXPECT_EQ(expected.RecordX3, actual.RecordX3);
    EXPECT_EQ(expected.RecordY3, actual.RecordY3);
    EXPECT_EQ(expected.RecordZ3, actual.RecordZ3);
    EXPECT_EQ(expected.RecordX4, actual.RecordX4);
    EXPECT_EQ(expected.RecordY4, actual.RecordY4);
    EXPECT_EQ(expected.RecordZ4, actual.RecordZ4);
    EXPECT_EQ(expected.RecordText, actual.RecordText);
    EXPECT_EQ(expected.RecordFont, actual.RecordFont);
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The variable records of a file, in order; the file holds nothing after the last.
inline std::vector<FileRecord> RecordsOf(const std::string& path) {
    const std::string bytes = FileBytes(path);
    VariableRecordReader reader(bytes);
    std::vector<FileRecord> records;
    FileRecord r;
    while (reader.Next(r)) records.push_back(r);
    EXPECT_TRUE(reader.AtEnd());
    return records;
}

inline void PutBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

template <typename T>
T ValueAt(const std::string& bytes, std::size_t offset) {
    T v{};
    std::memcpy(&v, bytes.data() + offset, sizeof(T));
    return v;
}

template <typename T>
void SetValueAt(std::string& bytes, std::size_t offset, T v) {
    std::memcpy(bytes.data() + offset, &v, sizeof(T));
}

// A map that a failed read must leave alone, and the check that it did.
inline void MakeMarkerMap(App& app) {
    DimensionMap(app, 1);
    app.store.LayerNames[1] = "原图";
    AddRecord(app, 1, SampleRecord(7));
    app.current.CurrentFilePath = "/maps/原图.jdx";
}

inline void ExpectMarkerMapKept(const App& app) {
    EXPECT_EQ(app.store.LayerCount, 1);
    EXPECT_EQ(app.store.LayerNames[1], "原图");
    EXPECT_EQ(app.store.Count(1), 1);
    EXPECT_EQ(app.store.Get(1, 0).RecordText, SampleRecord(7).RecordText);
    EXPECT_EQ(app.current.CurrentFilePath, "/maps/原图.jdx");
}

}  // namespace movra::test
