#pragma once
// Plane geometry on ground coordinates (metres, x east, y north).
//
// Two angle conventions are used throughout the program:
// - an azimuth runs from +y (north) clockwise, in radians, in [0, 2π);
// - a direction angle runs from +x (east) counter-clockwise, in radians, in [0, 2π).
// A packed angle (ddd.mmss) is a decimal number whose integer part is degrees, the first two
// decimals minutes and the following decimals seconds.
//
// The procedures that take App& exchange their points through app.geometry.ScratchXY:
// P0 in elements 0, 1; P1 in 2, 3; P2 in 4, 5; P3 in 6, 7; P4 in 8, 9. They never touch the
// record store. A ScratchXY too short for the elements a procedure names is reported in a
// message box (description as text, error number as title) and the procedure gives its neutral
// result.
#include <string>

namespace movra {

struct App;

// The constants as the program writes them; results compared with them (a
// direction of exactly 1.5707963267949, for instance) depend on these very values.
constexpr double Pi = 3.14159265358979;
constexpr double TwoPi = 6.28318530717958;
constexpr double HalfPi = 1.5707963267949;
constexpr double ThreeHalfPi = 4.71238898038469;
constexpr double FiveHalfPi = 7.85398163397448;

// Distance of (x1, y1) and (x2, y2).
double Dist(double x1, double y1, double x2, double y2);

// Packed ddd.mmss to radians and back. Minutes and seconds are read with a tolerance far below a
// thousandth of a second, so that 1.13 is exactly 1°13' although 1.13 is not exact in binary;
// RadToDms(DmsToRad(v)) gives v back for every whole-second v. A negative angle is the negative
// of its magnitude. A value that is not finite gives π (DmsToRad) or 90 (RadToDms).
double DmsToRad(double packed);
double RadToDms(double radians);
// A packed angle as the survey windows show it: plain decimals to a hundred-thousandth of a second,
// never in exponent form (a check error of 0.4" shows as 0.00004).
std::string DmsText(double packed);

// Azimuth and direction angle of P1→P2. Coincident points give 0.
double Azimuth(double x1, double y1, double x2, double y2);
double DirectionAngle(double x1, double y1, double x2, double y2);

// Clockwise angle from direction P0→P1 to direction P0→P2, in [0, 2π).
double AngleBetween(double x0, double y0, double x1, double y1, double x2, double y2);

// Distance of P from the infinite line through A and B; from A itself when A and B coincide.
// When by is exactly -1, bx is a radius and the result is the distance of P from the circle about
// A (negative inside).
double PointLineDist(double px, double py, double ax, double ay, double bx, double by);

// Turns a symbol element point (x, y), given in paper millimetres about the insertion point,
// clockwise by the azimuth of the direction (ux, uy) and scales it to ground units by `scale`:
// the ground offset (dx, dy) and the azimuth of the turned point (0 for the direction (0, 1)
// exactly). An offset that is not finite gives the neutral turn (0, 1, 0).
struct PolarTurn {
    double dx = 0;
    double dy = 1;
    double angle = 0;
};
PolarTurn PolarOffset(double x, double y, double ux, double uy, double scale);

// The same at ScaleFactor, leaving the results in app.geometry.PolarDx, PolarDy and PolarAngle.
void PolarOffset(App& app, double x, double y, double ux, double uy);

// Writes into P0 the point of the line through P3 and P4 at the height of P1 (element 3).
// Returns true. Callers pass lines that cross that height; a horizontal line gives a non-finite x.
bool SegmentXAtY(App& app);

// Intersects the infinite lines through P1, P2 and through P3, P4 and writes the crossing into P0.
// A coordinate fixed by a horizontal or vertical line is copied exactly from it. Parallel lines
// (both horizontal, both vertical or of equal slope) give false and leave P0 unchanged.
bool LineIntersect(App& app);

// Signed area of the ring of points 0..n (counter-clockwise positive). A negative n gives 0.
double PolygonArea(App& app, int n);

// The segment parallel to P1P2 at |distance| on the side of the side point P0: the end beside P2
// into P3, the end beside P1 into P4. Returns false and writes nothing for a zero-length P1P2.
bool OffsetSegmentBySide(App& app, double distance);

// The segment parallel to P0P1 at |distance| (the copy of P1 into P2, of P0 into P3), on the side
// chosen by the point P4. The right-hand copy (for the direction P0→P1) is the candidate; the
// left-hand one is taken instead with mode 0 (a distance measured from P4) when P4 lies more than
// 0.1 from the candidate line, and with mode -1 (a typed distance) when P4 is farther from the
// candidate line than from the line P0P1. Other modes keep the candidate. A negative distance
// lengthens the copy beyond each end by twice its length. A zero-length P0P1 leaves P2 and P3
// unchanged.
void OffsetSegment(App& app, double distance, int mode);

// Writes into P3 the point at |distance| from P0 towards P1 (beyond P1 when longer than P0P1).
// A zero-length P0P1 leaves P3 unchanged.
void PointAlongSegment(App& app, double distance);

// The circle through P0, P1 and P2: centre into P3 (elements 6, 7), radius into element 8 (at most
// 1000000), minus the direction angles from the centre to P0 and to P2 into elements 9 and 10.
// Collinear points write nothing.
void CircleThrough3Points(App& app);

// The foot of the perpendicular from P2 onto the line P0P1, into P3. When distance is not 0, P2
// is moved along the perpendicular to that distance from the foot (away from the line on P2's
// side for a positive distance); a P2 on the line is left where it is.
void PerpendicularFoot(App& app, double distance);

// The two points where the line through P1 and P2 cuts the circle (or ellipse of aspect k) about
// M = P3 with radius r (element 8) and aspect k (element 9), given the line's azimuth u (element 11)
// and back azimuth w (element 12). Writes the direction angles of the two points seen from M into
// elements 0 and 1 and returns true; returns false and writes nothing when the line passes
// outside, touches, or cuts less than 0.1 inside the rim.
bool TangentAngles(App& app);

}  // namespace movra
