#include "geomops/CrossingJudge.h"

#include <cmath>
#include <vector>

#include "App.h"
#include "document/Geometry.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr double Tolerance = 0.1;
constexpr Rgb CrossingMark = MakeRgb(255, 0, 0);
constexpr std::size_t JudgeElements = 13;

Surface* Canvas(App& app) { return app.form1 ? &app.form1->Picture1.surface() : nullptr; }

// The distances of the test are compared as the single-precision values they were kept in.
double SingleDist(double x1, double y1, double x2, double y2) { return static_cast<float>(Dist(x1, y1, x2, y2)); }

// Distance of the centre from the cutting line. Not PointLineDist, which reads an end at y = -1
// as a radius: a cutting line may well end there.
double DistanceFromLine(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double length = std::hypot(dx, dy);
    if (length == 0) return std::hypot(px - ax, py - ay);
    return std::fabs(dx * (py - ay) - dy * (px - ax)) / length;
}

// Brings a canvas angle once into 0..2π.
double OnceIntoTurn(double angle) {
    if (angle < 0) angle += TwoPi;
    if (angle > TwoPi) angle -= TwoPi;
    return angle;
}

std::uint8_t JudgeSegment(App& app, Rgb drawColor) {
    std::vector<double>& s = app.geometry.ScratchXY;
    const double b1x = s[6], b1y = s[7], b2x = s[8], b2y = s[9];
    const double segmentLength = SingleDist(b1x, b1y, b2x, b2y);
    if (!LineIntersect(app)) return CrossingNone;
    const double ix = s[0], iy = s[1];
    const bool onCuttingLine = SingleDist(ix, iy, s[2], s[3]) + SingleDist(ix, iy, s[4], s[5]) - Tolerance <= s[10];
    const bool onSegment = SingleDist(ix, iy, b1x, b1y) + SingleDist(ix, iy, b2x, b2y) - Tolerance <= segmentLength;
    if (!onCuttingLine || !onSegment) return CrossingOutside;
    if (Surface* canvas = Canvas(app)) canvas->PSet(ix, iy, CrossingMark);
    // B2 beyond the cut: in the clockwise half-turn from the cutting direction, its right.
    const double az = Azimuth(ix, iy, b2x, b2y);
    const double e11 = s[11], e12 = s[12];
    const bool towardB1 = e11 >= e12 ? (e12 < az && az < e11) : (az <= e11 || az >= e12);
    if (Surface* canvas = Canvas(app)) {
        if (towardB1)
            canvas->Line(ix, iy, b1x, b1y, drawColor);
        else
            canvas->Line(ix, iy, b2x, b2y, drawColor);
    }
    return towardB1 ? CrossingTowardB1 : CrossingTowardB2;
}

std::uint8_t JudgeCircle(App& app, Rgb drawColor) {
    std::vector<double>& s = app.geometry.ScratchXY;
    const double cx = s[6], cy = s[7], r = s[8];
    const double a1x = s[2], a1y = s[3], a2x = s[4], a2y = s[5];
    const double d = DistanceFromLine(cx, cy, a1x, a1y, a2x, a2y);
    if (!(d + Tolerance < r)) return CrossingNone;
    const double h = std::atan(d / std::sqrt(r * r - d * d));
    const double e11 = s[11], e12 = s[12];
    // The centre's side of the cutting line from the cross product: comparing azimuths wraps
    // through north and mirrors both angles for lines running near it.
    const double cross = (a2x - a1x) * (cy - a1y) - (a2y - a1y) * (cx - a1x);
    const bool centreLeft = cross > 0;
    const double a0 = centreLeft ? e11 + h : e11 - h;
    const double a1 = centreLeft ? e12 - h : e12 + h;
    s[0] = OnceIntoTurn(HalfPi - a0);
    s[1] = OnceIntoTurn(HalfPi - a1);
    if (Surface* canvas = Canvas(app)) canvas->Circle(cx, cy, r, drawColor, true, s[0], s[1], 1.0);
    return CrossingTowardB1;
}

}  // namespace

std::uint8_t 交叉点(App& app, std::uint8_t flag) {
    if (app.geometry.ScratchXY.size() < JudgeElements) return CrossingNone;
    const Rgb drawColor = app.tables.ColorPalette[7];
    const bool circle = app.geometry.ScratchXY[9] == -1;
    const std::uint8_t result = circle ? JudgeCircle(app, drawColor) : JudgeSegment(app, drawColor);
    if (result == CrossingNone) return CrossingNone;
    return flag == 0 ? static_cast<std::uint8_t>(CrossingOutside) : result;
}

}  // namespace movra
