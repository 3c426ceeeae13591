#pragma once
#include <cstdint>

namespace movra {

// The false origin of a map whose survey coordinates were reduced to small numbers. The map files
// keep the offsets in their headers; true coordinates are the stored ones plus the offsets.
struct CoordinateReductionState {
    // The rounding unit of the origin, from the map scale denominator D: 100,000 for D <= 2000,
    // 1,000,000 for 2000 < D < 10,000, 100,000,000 from 10,000.
    std::int32_t ReductionUnit = 100000;
    // The origin being chosen by the last reduction.
    double ReductionWorkX = 0;
    double ReductionWorkY = 0;
    // The false origin in force; 0 when nothing was reduced (a new map sets both to 0).
    double ReductionOffsetX = 0;
    double ReductionOffsetY = 0;
};

// The drawing extent of the map, from the records of the open layers.
struct DrawingExtents {
    double ExtentMinX = 0;
    double ExtentMinY = 0;
    double ExtentMaxX = 0;
    double ExtentMaxY = 0;
};

}  // namespace movra
