#pragma once
// The vertices of a record by number, 1 to 4 (any other number is vertex 4): the one place that
// maps a vertex number to the record's coordinate fields, for every folder that walks vertices.
#include "document/MapRecord.h"

namespace movra {

// A vertex position in map units.
struct VertexXY {
    double x = 0;
    double y = 0;
};

inline float& VertexZ(MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordZ1;
        case 2: return r.RecordZ2;
        case 3: return r.RecordZ3;
        default: return r.RecordZ4;
    }
}

inline float VertexZ(const MapRecord& r, int k) { return VertexZ(const_cast<MapRecord&>(r), k); }

inline VertexXY VertexPoint(const MapRecord& r, int k) {
    switch (k) {
        case 1: return {r.RecordX1, r.RecordY1};
        case 2: return {r.RecordX2, r.RecordY2};
        case 3: return {r.RecordX3, r.RecordY3};
        default: return {r.RecordX4, r.RecordY4};
    }
}

inline void SetVertexPoint(MapRecord& r, int k, const VertexXY& p) {
    switch (k) {
        case 1: r.RecordX1 = p.x, r.RecordY1 = p.y; break;
        case 2: r.RecordX2 = p.x, r.RecordY2 = p.y; break;
        case 3: r.RecordX3 = p.x, r.RecordY3 = p.y; break;
        default: r.RecordX4 = p.x, r.RecordY4 = p.y; break;
    }
}

}  // namespace movra
