#pragma once
#include <array>
#include <cstdint>

#include "platform/Color.h"

namespace movra {

// The visible part of the map in map units (y up).
struct ViewRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// How the map is shown: scale, zoom and canvas background.
struct ViewState {
    double ScaleFactor = 0.5;  // ground metres per paper millimetre (scale denominator / 1000)
    double DisplayZoom = 2;    // display points per map unit
    double GroundPerScreenMm = 0.25;  // one screen millimetre in ground units: ScaleFactor / DisplayZoom
    double ScreenAspect = 0;   // screen height / screen width
    ViewRect View;
    Rgb BackgroundColor = 0;
    std::array<double, 6> ProjectParams{};  // 0 the scale denominator (0: not set), 1..5 range, meridian
    double PointMarkRadius = 0.2;           // boundary-point circles: 0.4 x ScaleFactor
    std::int16_t BoundaryPointsTransparent = 0;  // fill style of those circles: 0 solid, 1 transparent
    double DisplayScaleDenominator = 0;     // the screen shows the map at 1 : this
    double DisplayZoomInverse = 0.5;        // 1 / DisplayZoom
    double TiltAngle = 0;  // tilted view, degrees in packed degrees-minutes-seconds
    double TiltSin = 0;    // exactly 1: plain view; below 1: the tilted view
    double TiltCos = 0;
};

}  // namespace movra
