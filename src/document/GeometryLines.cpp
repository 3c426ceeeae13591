// Lines on ScratchXY: distances from lines, intersections, offsets, feet and polygon areas.

#include <cmath>

#include "App.h"
#include "document/Geometry.h"
#include "document/GeometryGuard.h"

namespace movra {

using geometry_detail::LineDistance;
using geometry_detail::ReportGeometryError;
using geometry_detail::RequireScratch;

namespace geometry_detail {

double LineDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return Dist(px, py, ax, ay);
    // The cross product keeps its precision at survey coordinates of millions of metres, where the
    // difference of squared distances would lose centimetres.
    return std::fabs(dx * (py - ay) - dy * (px - ax)) / length;
}

}  // namespace geometry_detail

double PointLineDist(double px, double py, double ax, double ay, double bx, double by) {
    if (by == -1) return Dist(px, py, ax, ay) - bx;
    return LineDistance(px, py, ax, ay, bx, by);
}

bool SegmentXAtY(App& app) {
    try {
        RequireScratch(app, 9);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double y = s[3];
        const double x3 = s[6], y3 = s[7], x4 = s[8], y4 = s[9];
        s[1] = y;
        s[0] = x3 == x4 ? x3 : x3 - (y3 - y) * (x3 - x4) / (y3 - y4);
        return true;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
        return false;
    }
}

bool LineIntersect(App& app) {
    try {
        RequireScratch(app, 9);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x1 = s[2], y1 = s[3], x2 = s[4], y2 = s[5];
        const double x3 = s[6], y3 = s[7], x4 = s[8], y4 = s[9];
        const double a1 = y1 - y2, b1 = x2 - x1, c1 = a1 * x1 + b1 * y1;
        const double a2 = y3 - y4, b2 = x4 - x3, c2 = a2 * x3 + b2 * y3;

        if ((a1 == 0 && a2 == 0) || (b1 == 0 && b2 == 0)) return false;
        double x0 = 0, y0 = 0;
        if (a1 == 0 && b2 == 0) {
            x0 = x3;
            y0 = y1;
        } else if (a2 == 0 && b1 == 0) {
            x0 = x1;
            y0 = y3;
        } else if (a2 == 0) {
            y0 = y3;
            x0 = (c1 - b1 * y0) / a1;
        } else if (a1 == 0) {
            y0 = y1;
            x0 = ((y0 - y4) * x3 - (y0 - y3) * x4) / (y3 - y4);
        } else if (b1 == 0) {
            x0 = x1;
            y0 = y3 - (x0 - x3) * a2 / b2;
        } else if (b2 == 0) {
            x0 = x4;
            y0 = (c1 - a1 * x0) / b1;
        } else {
            const double slopes = b1 / a1 - b2 / a2;
            if (slopes == 0) return false;  // equal slopes: parallel
            y0 = (c1 / a1 - c2 / a2) / slopes;
            x0 = (c1 - b1 * y0) / a1;
        }
        // Lines so nearly parallel that they meet beyond the range of numbers do not meet.
        if (!std::isfinite(x0) || !std::isfinite(y0)) return false;
        s[0] = x0;
        s[1] = y0;
        return true;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
        return false;
    }
}

double PolygonArea(App& app, int n) {
    try {
        if (n < 0) return 0;
        RequireScratch(app, 2 * static_cast<std::size_t>(n) + 1);
        const std::vector<double>& s = app.geometry.ScratchXY;
        double sum = 0;
        for (int i = 0; i <= n; ++i) {
            const int before = i == 0 ? n : i - 1;
            const int after = i == n ? 0 : i + 1;
            sum += s[2 * i] * (s[2 * after + 1] - s[2 * before + 1]);
        }
        return sum / 2;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
        return 0;
    }
}

bool OffsetSegmentBySide(App& app, double distance) {
    try {
        RequireScratch(app, 9);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x1 = s[2], y1 = s[3], x2 = s[4], y2 = s[5];
        const double length = Dist(x1, y1, x2, y2);
        // A point has no parallel; writing non-finite ends would reach the records.
        if (length == 0) return false;
        const double k = std::fabs(distance) / length;
        double nx = k * (y2 - y1);  // the normal to the right of P1→P2
        double ny = k * (x1 - x2);
        if (LineDistance(s[0], s[1], x2 + nx, y2 + ny, x1 + nx, y1 + ny) > 0.1) {
            nx = -nx;
            ny = -ny;
        }
        s[6] = x2 + nx;
        s[7] = y2 + ny;
        s[8] = x1 + nx;
        s[9] = y1 + ny;
        return true;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
        return false;
    }
}

void OffsetSegment(App& app, double distance, int mode) {
    try {
        RequireScratch(app, 9);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x0 = s[0], y0 = s[1], x1 = s[2], y1 = s[3];
        const double length = Dist(x0, y0, x1, y1);
        if (length == 0) return;  // the callers then keep the copy they had
        const double k = std::fabs(distance) / length;
        double nx = k * (y1 - y0);
        double ny = k * (x0 - x1);
        const double qx = s[8], qy = s[9];
        const double toCandidate = LineDistance(qx, qy, x1 + nx, y1 + ny, x0 + nx, y0 + ny);
        const double toBase = LineDistance(qx, qy, x0, y0, x1, y1);
        if ((mode == 0 && toCandidate > 0.1) || (mode == -1 && toCandidate > toBase)) {
            nx = -nx;
            ny = -ny;
        }
        double endX = x1 + nx, endY = y1 + ny;      // the copy of P1
        double startX = x0 + nx, startY = y0 + ny;  // the copy of P0
        if (distance < 0) {
            const double ex = endX, ey = endY;
            endX = 3 * ex - 2 * startX;
            endY = 3 * ey - 2 * startY;
            startX = 3 * startX - 2 * ex;
            startY = 3 * startY - 2 * ey;
        }
        s[4] = endX;
        s[5] = endY;
        s[6] = startX;
        s[7] = startY;
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
    }
}

void PointAlongSegment(App& app, double distance) {
    try {
        RequireScratch(app, 7);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x0 = s[0], y0 = s[1], x1 = s[2], y1 = s[3];
        const double length = Dist(x0, y0, x1, y1);
        if (length == 0) return;  // no direction to go in
        const double k = std::fabs(distance) / length;
        s[6] = x0 + k * (x1 - x0);
        s[7] = y0 + k * (y1 - y0);
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
    }
}

void PerpendicularFoot(App& app, double distance) {
    try {
        RequireScratch(app, 7);
        std::vector<double>& s = app.geometry.ScratchXY;
        const double x0 = s[0], y0 = s[1], x1 = s[2], y1 = s[3];
        const double px = s[4], py = s[5];
        const double dx = x1 - x0, dy = y1 - y0;
        const double squared = dx * dx + dy * dy;
        // The projection onto the line: also right when the foot lies beyond the ends of P0P1. A
        // zero-length base line is the point P0.
        const double t = squared == 0 ? 0.0 : ((px - x0) * dx + (py - y0) * dy) / squared;
        const double footX = x0 + t * dx;
        const double footY = y0 + t * dy;
        s[6] = footX;
        s[7] = footY;
        const double h = Dist(px, py, footX, footY);
        if (distance != 0 && h != 0) {
            s[4] = footX + distance * (px - footX) / h;
            s[5] = footY + distance * (py - footY) / h;
        }
    } catch (const RuntimeError& error) {
        ReportGeometryError(app, error);
    }
}

}  // namespace movra
