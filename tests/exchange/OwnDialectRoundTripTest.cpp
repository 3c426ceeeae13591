// A map written in our own DXF dialect and opened again. What the dialect carries comes back as
// it was (layers by name, vertices to print precision, the texts of texts, symbols and
// insertions, the scale); what it cannot carry is the table below, and nothing else may differ.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "DxfTestFiles.h"
#include "exchange/ExportDxfOwnDialect.h"

namespace movra {
namespace {

using namespace exchange_test;

using OwnDialectRoundTripTest = DxfImportFixture;

constexpr double FullTurn = 6.28318530717958;

// What the import gives for one record of the map written out, `next` being the record after it
// in its layer (a chain going on ends the written polyline at the next record's first vertex).
// `paletteOfLayer` is the palette colour of the layer's colour index.
std::vector<MapRecord> CarriedAs(const MapRecord& r, const MapRecord* next, Rgb paletteOfLayer) {
    const Rgb palette0 = 1000;
    auto palette = [&](Rgb c) { return c < 255 ? 1000 + c : c; };
    auto lineType = [](MapRecord& m) {
        // The line-type name the entity names: "1" for the dashed pen, else "CONTINUOUS".
        m.RecordText = m.RecordPen == 1 ? "1" : "CONTINUOUS";
        if (m.RecordPen != 1) m.RecordPen = 6;
    };
    auto oneVertex = [](const MapRecord& from, std::uint8_t type, double x, double y) {
        MapRecord end = from;
        end.RecordType = type;
        end.RecordX1 = x, end.RecordY1 = y;
        end.RecordX2 = end.RecordY2 = end.RecordX3 = end.RecordY3 = end.RecordX4 = end.RecordY4 = 0;
        return end;
    };
    MapRecord m = r;
    m.RecordSource = 1;
    switch (r.RecordType) {
        case 2:
            m.RecordColor = palette(r.RecordColor);
            lineType(m);
            return {m};
        case 3:
        case 4:
        case 5:
        case 6: {
            // Black light polylines take the layer's colour.
            m.RecordColor = r.RecordColor == 0 ? paletteOfLayer : palette(r.RecordColor);
            lineType(m);
            if (r.RecordType == 6) {
                // A closed quadrilateral: a full record and the one-vertex record back at its start.
                m.RecordType = 5;
                return {m, oneVertex(m, 1, r.RecordX1, r.RecordY1)};
            }
            if (r.RecordType == 5 && next) return {m, oneVertex(m, 1, next->RecordX1, next->RecordY1)};
            return {m};
        }
        case 1:
            // A chain's one-vertex end is written with the record before it (above).
            return {};
        case 21:
            // The boundary line keeps its type; its line-type name is our type number.
            m.RecordColor = palette(r.RecordColor);
            m.RecordPen = 7;
            m.RecordText = "0";
            m.RecordExtra = "21";
            return {m};
        case 12:
        case 42:
        case 43:
        case 44:
        case 45: {
            m.RecordType = r.RecordType == 12 ? 42 : r.RecordType;
            m.RecordColor = r.RecordColor == 0 ? paletteOfLayer : palette(r.RecordColor);
            m.RecordPen = 6;
            m.RecordExtra = std::string(r.RecordText);
            if (r.RecordType == 45 && next) return {m, oneVertex(m, 41, next->RecordX1, next->RecordY1)};
            return {m};
        }
        case 7:
        case 8:
            m.RecordColor = palette0 + r.RecordColor;
            m.RecordY2 = 1;  // the aspect of a circle
            if (r.RecordType == 7) {
                lineType(m);
            } else {
                m.RecordText = std::to_string(r.RecordPen);  // the arc names its pen as its line type
            }
            return {m};
        case 15:
            m.RecordColor = palette(r.RecordColor);
            m.RecordZ1 = 0;  // the insertion is written at height 0
            // The direction is that of the turn.
            m.RecordX2 = -std::sin(static_cast<double>(r.RecordZ2));
            m.RecordY2 = std::cos(static_cast<double>(r.RecordZ2));
            m.RecordExtra = std::string(r.RecordText);  // the block name is the code
            return {m};
        case 16:
        case 17:
        case 18:
        case 19:
        case 70:
            m.RecordColor = palette(r.RecordColor);
            return {m};
        case 65:
        case 66:
        case 67:
        case 68:
            // Sizes, pens and fonts of texts do not travel as they are; their texts do.
            m.RecordColor = palette(r.RecordColor);
            return {m};
        default:
            return {};  // types the dialect does not write (deleted records among them)
    }
}

TEST_F(OwnDialectRoundTripTest, WhatTheDialectCarriesComesBack) {
    InstallHeaderTemplate(t);
    SampleMap(app);
    TestPalette(app);
    ASSERT_TRUE(ExportDxfOwnDialect(app, Path("own.dxf")));
    // The written map, layer by layer with its name.
    TestApp original;
    SampleMap(original.app);
    const RecordStore& written = original.app.store;

    EmptyMap(app, 1);
    TestPalette(app);
    app.view.ScaleFactor = 1;
    const DxfImportOutcome out = ImportDxf(app, Path("own.dxf"));
    ASSERT_FALSE(out.failed) << out.failureNumber << out.failureText;
    EXPECT_DOUBLE_EQ(app.view.ScaleFactor, 0.5);

    ASSERT_EQ(app.store.LayerCount, written.LayerCount + 1);
    for (int w = 0; w <= written.LayerCount; ++w) {
        // Our layer 0 becomes the first drawing layer; the others follow it.
        const int l = w + 1;
        const auto wi = static_cast<size_t>(w);
        SCOPED_TRACE(written.LayerNames[wi]);
        EXPECT_EQ(app.store.LayerNames[static_cast<size_t>(l)], written.LayerNames[wi]);
        // Layer colours 0 and 7 are none: the layer's number picks one.
        const int color = written.LayerColorIndex[wi];
        EXPECT_EQ(app.store.LayerColorIndex[static_cast<size_t>(l)], color == 0 || color == 7 ? l % 100 + 1 : color);

        std::vector<MapRecord> expected;
        for (int s = 0; s < written.Count(w); ++s) {
            const MapRecord* next = s + 1 < written.Count(w) ? &written.Get(w, s + 1) : nullptr;
            for (const MapRecord& m : CarriedAs(written.Get(w, s), next,
                                                1000 + app.store.LayerColorIndex[static_cast<size_t>(l)]))
                expected.push_back(m);
        }
        ASSERT_EQ(app.store.Count(l), static_cast<int>(expected.size()) + 1);
        for (size_t i = 0; i < expected.size(); ++i) {
            const MapRecord& e = expected[i];
            const MapRecord& g = app.store.Get(l, static_cast<int>(i) + 1);
            SCOPED_TRACE("slot " + std::to_string(i + 1) + ", type " + std::to_string(e.RecordType));
            EXPECT_EQ(g.RecordType, e.RecordType);
            EXPECT_EQ(std::string(g.RecordText), std::string(e.RecordText));
            if (e.RecordType >= 65 && e.RecordType <= 68) {
                // A text keeps its type, text and angle; its anchor comes back to single precision,
                // a turned one within its height (written unturned, read turned). Size, width,
                // pen and font do not travel.
                const double height = (e.RecordX2 - 2) * 0.5 / 2.8;
                const double near = e.RecordType == 66 || e.RecordType == 68 ? height : 1e-5;
                EXPECT_NEAR(g.RecordX1, e.RecordX1, near);
                EXPECT_NEAR(g.RecordY1, e.RecordY1, near);
                EXPECT_FLOAT_EQ(g.RecordZ2, e.RecordZ2);
                EXPECT_EQ(g.RecordColor, e.RecordColor);
                continue;
            }
            for (auto [a, b] : {std::pair{g.RecordX1, e.RecordX1}, {g.RecordY1, e.RecordY1}, {g.RecordX2, e.RecordX2},
                                {g.RecordY2, e.RecordY2}, {g.RecordX3, e.RecordX3}, {g.RecordY3, e.RecordY3},
                                {g.RecordX4, e.RecordX4}, {g.RecordY4, e.RecordY4}})
                EXPECT_NEAR(a, b, 1e-12 * (1 + std::fabs(b)));
            EXPECT_FLOAT_EQ(g.RecordZ1, e.RecordZ1);
            EXPECT_FLOAT_EQ(g.RecordZ2, e.RecordZ2);
            EXPECT_FLOAT_EQ(g.RecordZ3, e.RecordZ3);
            EXPECT_EQ(g.RecordColor, e.RecordColor);
            EXPECT_EQ(g.RecordPen, e.RecordPen);
            EXPECT_EQ(std::string(g.RecordExtra), std::string(e.RecordExtra));
            EXPECT_EQ(std::string(g.RecordFont), std::string(e.RecordFont));
            EXPECT_EQ(g.RecordSource, 1);
        }
    }
}

}  // namespace
}  // namespace movra
