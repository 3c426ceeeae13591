// Distances, the two angle conventions, packed angles and the turning of symbol points.

#include <cmath>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "document/GeometryGuard.h"

namespace movra {

namespace geometry_detail {

void RequireScratch(const App& app, std::size_t highest) {
    if (app.geometry.ScratchXY.size() <= highest) Raise(ErrSubscriptOutOfRange);
}

void ReportGeometryError(App& app, const RuntimeError& error) {
    app.platform.prompt().MsgBox(error.description, MsgOkOnly, std::to_string(error.number));
}

}  // namespace geometry_detail

namespace {

// Binary noise of a decimal fraction read from a packed angle, or of an angle turned into seconds,
// stays far below this many seconds; a genuine fraction of a second typed or computed by the
// program is kept.
constexpr double SecondTolerance = 1e-6;

// Snaps a value that lies within the tolerance of a whole number onto it.
double SnapWhole(double value) {
    const double whole = std::round(value);
    return std::fabs(value - whole) < SecondTolerance ? whole : value;
}

}  // namespace

double Dist(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

double DmsToRad(double packed) {
    if (!std::isfinite(packed)) return Pi;
    // The magnitude is unpacked; Int of a negative value would borrow a degree and scramble the
    // minutes (-1.13 would read as -2° + 87').
    const double sign = packed < 0 ? -1.0 : 1.0;
    const double v = std::fabs(packed);
    const double degrees = Int(v);
    // mmss as one number: 1.13 gives 1299.9999999999989 in binary, which is 13'00".
    const double minuteSeconds = SnapWhole((v - degrees) * 10000.0);
    const double minutes = Int(minuteSeconds / 100.0);
    const double seconds = minuteSeconds - minutes * 100.0;
    return sign * (degrees + minutes / 60.0 + seconds / 3600.0) * Pi / 180.0;
}

double RadToDms(double radians) {
    if (!std::isfinite(radians)) return 90.0;
    const double sign = radians < 0 ? -1.0 : 1.0;
    // Work in seconds so that a whole-second angle comes back exactly (1.2166666... degrees is
    // 4380 seconds, not 1°12'59.99999").
    const double totalSeconds = SnapWhole(std::fabs(radians) * 180.0 / Pi * 3600.0);
    const double degrees = Int(totalSeconds / 3600.0);
    const double minutes = Int((totalSeconds - degrees * 3600.0) / 60.0);
    const double seconds = totalSeconds - degrees * 3600.0 - minutes * 60.0;
    // One division of the whole ddd mm ss number, so that the result is the double nearest to the
    // decimal the user would type (1.1330 for 1°13'30").
    return sign * ((degrees * 10000.0 + minutes * 100.0 + seconds) / 10000.0);
}

// Seconds take the third and fourth decimals: five more show a hundred-thousandth of a second.
std::string DmsText(double packed) { return DecimalNumberText(packed, 9); }

double Azimuth(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (dx == 0) return dy < 0 ? Pi : 0.0;
    if (dy == 0) return dx > 0 ? Pi / 2 : Pi / 2 + Pi;
    const double a = std::atan(std::fabs(dx / dy));
    double result = 0.0;  // also what a non-finite difference gives
    if (dx > 0 && dy > 0) {
        result = a;
    } else if (dx > 0 && dy < 0) {
        result = Pi - a;
    } else if (dx < 0 && dy < 0) {
        result = a + Pi;
    } else if (dx < 0 && dy > 0) {
        result = TwoPi - a;
    }
    if (result > TwoPi) result -= TwoPi;
    return result;
}

double DirectionAngle(double x1, double y1, double x2, double y2) {
    // The direction angle turns from the x axis towards the y axis as the azimuth turns from the
    // y axis towards the x axis: the same angle with the axes swapped.
    return Azimuth(y1, x1, y2, x2);
}

double AngleBetween(double x0, double y0, double x1, double y1, double x2, double y2) {
    const double toSecond = Azimuth(x0, y0, x2, y2);
    const double toFirst = Azimuth(x0, y0, x1, y1);
    double angle = toSecond - toFirst;
    if (toSecond < toFirst) angle += TwoPi;
    return angle;
}

PolarTurn PolarOffset(double x, double y, double ux, double uy, double scale) {
    const double alpha = Azimuth(x, y, 0, 0);
    const double length = Dist(x, y, 0, 0) * scale;
    const double beta = Azimuth(ux, uy, 0, 0);
    double theta = alpha + beta;
    if (theta >= TwoPi) theta -= TwoPi;
    PolarTurn turn{length * std::sin(theta), length * std::cos(theta), theta};
    if (ux == 0 && uy == 1) turn.angle = 0;
    // No finite offset: the neutral turn, no offset sideways, one unit up, nothing turned.
    if (!std::isfinite(turn.dx) || !std::isfinite(turn.dy)) turn = PolarTurn{};
    return turn;
}

void PolarOffset(App& app, double x, double y, double ux, double uy) {
    const PolarTurn turn = PolarOffset(x, y, ux, uy, app.view.ScaleFactor);
    GeometryScratch& g = app.geometry;
    g.PolarDx = turn.dx;
    g.PolarDy = turn.dy;
    g.PolarAngle = turn.angle;
}

}  // namespace movra
