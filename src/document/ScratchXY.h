#pragma once
#include <vector>

namespace movra {

// The shared point list through which the geometry procedures and their callers pass points:
// P0..P4 as (x, y) pairs in elements 0..9; elements 8..12 also carry radii, aspect ratios and
// angles where a procedure says so. Callers re-dimension ScratchXY for their own working lists;
// it starts with elements 0..12 so that every fixed-layout procedure finds what it reads.
struct GeometryScratch {
    std::vector<double> ScratchXY = std::vector<double>(13, 0.0);
    // The results of PolarOffset: the ground offset of a turned symbol vertex and the angle turned.
    double PolarDx = 0.0;
    double PolarDy = 0.0;
    double PolarAngle = 0.0;
};

}  // namespace movra
