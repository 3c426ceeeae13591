#pragma once
// Vertices of a test record given as a flat list x1, y1, x2, y2, ... (up to four vertices).
#include <initializer_list>

#include "document/MapRecord.h"

namespace movra {

template <class Values>
void SetVertices(MapRecord& r, const Values& xy) {
    double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                         &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
    int k = 0;
    for (double v : xy)
        if (k < 8) *fields[k++] = v;
}

inline void SetVertices(MapRecord& r, std::initializer_list<double> xy) { SetVertices<std::initializer_list<double>>(r, xy); }

}  // namespace movra
