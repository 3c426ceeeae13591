#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace movra {

// The settings window's switches, the datum and what start-up sets up for the rest of the run.
struct ShellSettings {
    std::int16_t ForceScaleFlag = 0;  // -1: the drawing-exchange reader keeps the set scale
    std::uint8_t ShowGrid = 0;        // 1 draws the kilometre grid
    std::int16_t FollowPan = 0;       // -1 follow-pan on
    float ContourInterval = 0;
    // The datum ellipsoid: semi-major axis, flattening, semi-minor axis, first eccentricity squared.
    double EllipsoidA = 0;
    double EllipsoidFlattening = 0;
    double EllipsoidB = 0;
    double EllipsoidE2 = 0;

    // Line 7 of the work settings file: "已注册wtw_jdx" once the map types are registered.
    std::string FileTypesRegistered;
    // The last non-zero value of the horizontal scroll bar.
    std::int16_t ScrollPrevious = 0;
    // The last non-zero value of the vertical scroll bar.
    std::int16_t ScrollLastValue = 0;

    double TextWidthFactor = 0.68;
    double TextAngle = 0;
    std::int16_t SurveyPortNumber = 3;
    std::int16_t ClipboardLinkIdle = 0;
    std::string LineBreak = "\r\n";
    std::string RecordSeparator = "'";
    std::string ImportProgressMark = "■";
    // Quadratic Bernstein weights at t = k / 6, k = 0..6.
    std::array<std::array<double, 3>, 7> SmoothCoefficients{};
};

}  // namespace movra
