#pragma once
// A record of a given type whose fields that are no position all hold one value a map file from
// another program may bring (not a number, infinity, 1e300), with ordinary positions near
// (100, 100): the store keeps such values as they came, so drawing, printing and saving must
// take them.
#include <limits>
#include <vector>

#include "document/MapRecord.h"
#include "document/RecordPositions.h"

namespace movra {

inline std::vector<double> AbsurdValues() {
    return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300, -1e300};
}

inline MapRecord RecordHoldingAbsurdSizes(int type, double bad) {
    MapRecord r;
    r.RecordType = static_cast<std::uint8_t>(type);
    r.RecordColor = 255;
    r.RecordPen = 9;
    r.RecordX1 = r.RecordY1 = r.RecordX2 = r.RecordY2 = bad;
    r.RecordX3 = r.RecordY3 = r.RecordX4 = r.RecordY4 = bad;
    r.RecordZ1 = r.RecordZ2 = r.RecordZ3 = r.RecordZ4 = static_cast<float>(bad);
    r.RecordText = "351";
    r.RecordFont = "宋体";
    int corner = 0;
    ForEachPosition(r, [&corner, type](double& x, double& y) {
        x = 100 + type + 3 * corner;
        y = 100 + 2 * corner++;
    });
    return r;
}

// Record types that can be laid out on their own (an image record names a holder of the image table).
inline bool TakesAbsurdSizesAlone(int type) { return type >= 1 && type < 100 && type != 70; }

}  // namespace movra
