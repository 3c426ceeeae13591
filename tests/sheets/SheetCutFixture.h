#pragma once
// A map of one or more layers that the tests fill record by record before cutting it.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "sheets/SheetLineCut.h"
#include "support/TestApp.h"

namespace movra {

class SheetCutFixture : public ::testing::Test {
protected:
    SheetCutFixture() { app.store.LayerOnFlag[1] = -1; }

    // Appends a record to the layer with the given vertices (X, Y, Z).
    MapRecord& Put(int type, std::initializer_list<CutVertex> vertices, int layer = 1) {
        const int slot = app.store.Count(layer);
        MapRecord& r = app.store.At(layer, slot);
        r = MapRecord{};
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = 0x123456;
        r.RecordPen = 9;
        r.RecordText = "文字";
        r.RecordFont = "宋体";
        r.RecordExtra = "二";
        r.RecordSource = 3;
        int k = 1;
        for (const CutVertex& v : vertices) SetVertex(r, k++, v);
        app.store.Count(layer) = slot + 1;
        return r;
    }

    static void SetVertex(MapRecord& r, int k, const CutVertex& v) {
        switch (k) {
            case 1: r.RecordX1 = v.x; r.RecordY1 = v.y; r.RecordZ1 = v.z; break;
            case 2: r.RecordX2 = v.x; r.RecordY2 = v.y; r.RecordZ2 = v.z; break;
            case 3: r.RecordX3 = v.x; r.RecordY3 = v.y; r.RecordZ3 = v.z; break;
            default: r.RecordX4 = v.x; r.RecordY4 = v.y; r.RecordZ4 = v.z; break;
        }
    }

    static CutRow RowOf(const MapRecord& r) {
        return {r.RecordType,
                {CutVertex{r.RecordX1, r.RecordY1, r.RecordZ1}, CutVertex{r.RecordX2, r.RecordY2, r.RecordZ2},
                 CutVertex{r.RecordX3, r.RecordY3, r.RecordZ3}, CutVertex{r.RecordX4, r.RecordY4, r.RecordZ4}}};
    }

    void ClearLayer(int layer = 1) {
        app.store.ClearFrom(layer, 0);
        app.store.Count(layer) = 0;
    }

    const MapRecord& R(int slot, int layer = 1) const { return app.store.Get(layer, slot); }
    int Count(int layer = 1) const { return app.store.Count(layer); }

    void CutVertical(double x) { CutFeaturesAlongLine(app, x, -1000, x, 1000); }
    void CutHorizontal(double y) { CutFeaturesAlongLine(app, -1000, y, 1000, y); }

    // The fields a piece takes over from the record it came from.
    static void ExpectSameAttributes(const MapRecord& piece, const MapRecord& from) {
        EXPECT_EQ(piece.RecordColor, from.RecordColor);
        EXPECT_EQ(piece.RecordPen, from.RecordPen);
        EXPECT_EQ(piece.RecordText, from.RecordText);
        EXPECT_EQ(piece.RecordFont, from.RecordFont);
        EXPECT_EQ(piece.RecordExtra, from.RecordExtra);
        EXPECT_EQ(piece.RecordSource, from.RecordSource);
    }

    TestApp t;
    App& app = t.app;
};

inline std::ostream& operator<<(std::ostream& os, const CutVertex& v) {
    return os << "(" << v.x << ", " << v.y << ", z " << v.z << ")";
}
inline std::ostream& operator<<(std::ostream& os, const CutRow& r) {
    os << r.type << ":";
    for (const CutVertex& v : r.v) os << " " << v;
    return os;
}

}  // namespace movra
