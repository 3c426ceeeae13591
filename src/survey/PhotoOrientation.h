#pragma once
// Orienting a linked photo (an image record) by two pricked corners: each axis is scaled by the
// typed difference over the pricked difference about the pricked upper left corner, which then
// moves onto its typed coordinates.
#include <array>
#include <cstdint>
#include <string>

namespace movra {

struct App;

// An image record's place: its anchor (upper left corner), width (positive) and height (negative:
// the picture extends downward while y points up).
struct ImageFrame {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// The largest width or height an oriented photo may have (map units).
constexpr double LargestPhotoSize = 25000;

constexpr const char* PhotoZeroCoordinateText = "定向坐标不能为零！";
constexpr const char* PhotoPickFailedText = "刺点失败！";
constexpr const char* PhotoCheckPicksText = "刺点可能有误,请复查！";
constexpr const char* PhotoTurnedOverText = "刺点可能有误,请复查！(也禁止180度反向)";

struct PhotoFit {
    ImageFrame frame;
    // Empty when the fit holds; else the message that says why it was refused.
    std::string refusal;
};

// The frame that puts the pricked points (pa, qa) and (pb, qb) of the upper left and lower right
// corners onto the typed (Xa, Ya) and (Xb, Yb). Refused when the picks share an X or a Y, when the
// result would turn the photo over or mirror it, when it is larger than LargestPhotoSize, or when its
// corner lies beyond the storable range (IsStorableCoordinate).
PhotoFit FitPhotoToCorners(const ImageFrame& current, double pa, double qa, double pb, double qb, double Xa,
                           double Ya, double Xb, double Yb);

}  // namespace movra
