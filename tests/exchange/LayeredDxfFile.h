#pragma once
// A release-2000 DXF file of many entities spread evenly over its layers, as a drawing of several
// full layers is written by other programs: entity i lies on layer "L" + (i mod layers). Each
// layer holds, over and over, a closed LWPOLYLINE of five vertices (two records), two LINEs and a
// TEXT: five records, so that every time the shared slot bound grows by ten a layer is full again
// at the same point of its round, inside a polyline. Each entity tells its number: a line and a
// polyline start at x = i, a text reads "T" followed by i. Shared by the import test and the
// import benchmark.
#include <cstdio>
#include <string>

#include "basic/Files.h"

namespace movra::exchange_test {

enum class LayeredKind { Polyline, Line, Text };

inline LayeredKind LayeredDxfKind(int layers, int i) {
    switch (i / layers % 4) {
    case 0: return LayeredKind::Polyline;
    case 3: return LayeredKind::Text;
    default: return LayeredKind::Line;
    }
}

// A release-2000 file's header and layer table up to the start of its ENTITIES: layers L0, L1, ...
inline std::string LayeredDxfHead(int layers) {
    std::string f = "0\r\nSECTION\r\n2\r\nHEADER\r\n9\r\n$ACADVER\r\n1\r\nAC1015\r\n9\r\n$LTSCALE\r\n40\r\n0.5\r\n"
                    "0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nTABLES\r\n0\r\nTABLE\r\n2\r\nLAYER\r\n5\r\n2\r\n100\r\n"
                    "AcDbSymbolTable\r\n70\r\n" + std::to_string(layers) + "\r\n";
    for (int l = 0; l < layers; ++l)
        f += "0\r\nLAYER\r\n5\r\n1" + std::to_string(l) + "\r\n100\r\nAcDbSymbolTableRecord\r\n100\r\n"
             "AcDbLayerTableRecord\r\n2\r\nL" + std::to_string(l) + "\r\n70\r\n0\r\n62\r\n" +
             std::to_string(l % 250 + 1) + "\r\n6\r\nContinuous\r\n";
    f += "0\r\nENDTAB\r\n0\r\nENDSEC\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    return f;
}

inline std::string LayeredDxfText(int layers, int entities) {
    std::string f = LayeredDxfHead(layers);
    f.reserve(f.size() + static_cast<size_t>(entities) * 190);
    char buffer[512];
    for (int i = 0; i < entities; ++i) {
        const int layer = i % layers;
        const double x = i;
        int n = 0;
        switch (LayeredDxfKind(layers, i)) {
        case LayeredKind::Line:
            n = std::snprintf(buffer, sizeof buffer,
                              "0\r\nLINE\r\n5\r\n%X\r\n100\r\nAcDbEntity\r\n8\r\nL%d\r\n100\r\nAcDbLine\r\n10\r\n%.2f\r\n"
                              "20\r\n0.0\r\n30\r\n0.0\r\n11\r\n%.2f\r\n21\r\n1.0\r\n31\r\n0.0\r\n",
                              i + 256, layer, x, x);
            break;
        case LayeredKind::Polyline:
            n = std::snprintf(buffer, sizeof buffer,
                              "0\r\nLWPOLYLINE\r\n5\r\n%X\r\n100\r\nAcDbEntity\r\n8\r\nL%d\r\n100\r\nAcDbPolyline\r\n"
                              "90\r\n5\r\n70\r\n1\r\n43\r\n0.0\r\n10\r\n%.2f\r\n20\r\n0.0\r\n10\r\n%.2f\r\n20\r\n0.0\r\n"
                              "10\r\n%.2f\r\n20\r\n0.5\r\n10\r\n%.2f\r\n20\r\n1.0\r\n10\r\n%.2f\r\n20\r\n1.0\r\n",
                              i + 256, layer, x, x + 0.25, x + 0.5, x + 0.25, x);
            break;
        case LayeredKind::Text:
            n = std::snprintf(buffer, sizeof buffer,
                              "0\r\nTEXT\r\n5\r\n%X\r\n100\r\nAcDbEntity\r\n8\r\nL%d\r\n100\r\nAcDbText\r\n10\r\n%.2f\r\n"
                              "20\r\n0.0\r\n30\r\n0.0\r\n40\r\n2.5\r\n1\r\nT%d\r\n100\r\nAcDbText\r\n",
                              i + 256, layer, x, i);
            break;
        }
        f.append(buffer, static_cast<size_t>(n));
    }
    f += "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    return f;
}

inline void WriteLayeredDxf(const std::string& path, int layers, int entities) {
    WriteWholeFile(path, LayeredDxfText(layers, entities));
}

}  // namespace movra::exchange_test
