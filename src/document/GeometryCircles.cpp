// Circles on ScratchXY: the circle through three points and the cut of a line with a circle.

#include <cmath>
#include <vector>

#include "App.h"
#include "document/Geometry.h"
#include "document/GeometryGuard.h"

namespace movra {

using geometry_detail::LineDistance;
using geometry_detail::ReportGeometryError;
using geometry_detail::RequireScratch;

namespace {

// Radii above this are drawn as this: a circle through nearly collinear points stays drawable.
constexpr double MaxCircleRadius = 1000000.0;

}  // namespace

void CircleThrough3Points(App& app) {
    try {
        RequireScratch(app, 10);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x0 = s[0], y0 = s[1];
        // P1 and P2 relative to P0.
        const double bx = s[2] - x0, by = s[3] - y0;
        const double cx = s[4] - x0, cy = s[5] - y0;
        const double cross = bx * cy - by * cx;
        if (cross == 0 || !std::isfinite(cross)) return;  // collinear: no circle
        // The centre lies on the perpendicular bisector of P0P1: P0 + b/2 + t·(-by, bx), with t
        // chosen so that it is as far from P2 as from P0.
        double t = (cx * (cx - bx) + cy * (cy - by)) / (2 * cross);
        const double chord = std::sqrt(bx * bx + by * by);
        double radius = chord * std::sqrt(0.25 + t * t);
        if (!(radius <= MaxCircleRadius)) {
            // Keep the capped centre on the bisector, on the side of the true centre, at the capped
            // radius from P0 and P1.
            radius = MaxCircleRadius;
            const double ratio = radius / chord;
            t = std::copysign(std::sqrt(ratio * ratio - 0.25), t);
        }
        const double centreX = x0 + bx / 2 - t * by;
        const double centreY = y0 + by / 2 + t * bx;
        s[6] = centreX;
        s[7] = centreY;
        s[8] = radius;
        s[9] = -DirectionAngle(centreX, centreY, x0, y0);
        s[10] = -DirectionAngle(centreX, centreY, s[4], s[5]);
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
    }
}

bool TangentAngles(App& app) {
    try {
        RequireScratch(app, 12);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x1 = s[2], y1 = s[3], x2 = s[4], y2 = s[5];
        const double mx = s[6], my = s[7];
        const double r = s[8], k = s[9];
        const double u = s[11], w = s[12];
        const double scaledRadius = k * r;
        const double d = static_cast<float>(LineDistance(mx, my, x1, y1, x2, y2));
        if (!(d <= scaledRadius && d + 0.1 < r)) return false;

        const double theta = k <= 1 ? std::atan(d / (k * std::sqrt(r * r - d * d)))
                                    : std::atan(k * d / std::sqrt(scaledRadius * scaledRadius - d * d));
        // The side of the centre from the line, by the cross product of P1→P2 and P1→M: the
        // centre on the left means the line passes it on its right, where the crossing ahead has
        // the azimuth u + θ. Comparing azimuths instead fails for lines that run through north.
        const double side = (x2 - x1) * (my - y1) - (y2 - y1) * (mx - x1);
        double azimuth0 = 0, azimuth1 = 0;
        if (side >= 0) {
            azimuth0 = theta + u;
            azimuth1 = w - theta;
        } else {
            azimuth1 = u - theta;
            azimuth0 = theta + w;
        }
        if (std::isnan(theta)) return false;  // a flat ellipse (aspect 0) has no crossing angle
        // From an azimuth to a direction angle, in [0, 2π] (an angle of exactly 2π stays 2π).
        auto toDirection = [](double azimuth) {
            double angle = FiveHalfPi - azimuth;
            if (angle > TwoPi) {
                angle = std::fmod(angle, TwoPi);
                if (angle == 0) angle = TwoPi;
            } else if (angle < 0) {
                angle = std::fmod(angle, TwoPi) + TwoPi;
                if (angle >= TwoPi) angle -= TwoPi;
            }
            return angle;
        };
        s[0] = toDirection(azimuth0);
        s[1] = toDirection(azimuth1);
        return true;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
        return false;
    }
}

}  // namespace movra
