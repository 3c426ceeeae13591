#include "survey/GaussKruger.h"

#include <cmath>

#include "basic/Numbers.h"
#include "App.h"

namespace movra {

namespace {

// Degrees to radians with π as the survey programs of the bureau write it.
constexpr double Rho = 3.14159265358979 / 180;

struct SeriesConstants {
    double a, e2, ep2, c;
    double A, B1, B2, B3, B4;
};

SeriesConstants ConstantsOf(const Ellipsoid& ellipsoid) {
    SeriesConstants k{};
    const double f = 1 / ellipsoid.inverseFlattening;
    k.a = ellipsoid.a;
    k.e2 = 2 * f - f * f;
    k.ep2 = 1 / ((1 - f) * (1 - f)) - 1;
    k.c = k.a / (1 - f);
    const double e4 = k.e2 * k.e2, e6 = e4 * k.e2, e8 = e6 * k.e2;
    k.B1 = 3.0 / 4 * k.e2 + 45.0 / 64 * e4 + 175.0 / 256 * e6 + 11025.0 / 16384 * e8;
    k.A = 1 + k.B1;
    k.B2 = 15.0 / 32 * e4 + 175.0 / 384 * e6 + 3675.0 / 8192 * e8;
    k.B3 = 35.0 / 96 * e6 + 735.0 / 2048 * e8;
    k.B4 = 315.0 / 1024 * e8;
    return k;
}

// The meridian arc from the equator to the latitude β (radians).
double MeridianArc(const SeriesConstants& k, double beta) {
    const double s = std::sin(beta), cb = std::cos(beta);
    const double s3 = s * s * s, s5 = s3 * s * s, s7 = s5 * s * s;
    return k.a * (1 - k.e2) * (k.A * beta - cb * (k.B1 * s + k.B2 * s3 + k.B3 * s5 + k.B4 * s7));
}

// The series to m⁶ in the northing and m⁵ in the easting, as the GPS window projects; `extended`
// adds the m⁸ and m⁷ terms, which the calculator takes so that it stays within a tenth of a
// millimetre of the exact projection on every ellipsoid up to the zone's edge.
PlanePoint Forward(const SeriesConstants& k, double B, double L, double L0, bool extended) {
    const double beta = B * Rho;
    const double cb = std::cos(beta), t = std::tan(beta);
    const double eta2 = k.ep2 * cb * cb;
    const double N = k.c / std::sqrt(1 + eta2);
    const double m = (L - L0) * Rho * cb;
    const double t2 = t * t, t4 = t2 * t2, eta4 = eta2 * eta2;
    const double m2 = m * m, m3 = m2 * m, m4 = m2 * m2, m5 = m4 * m, m6 = m4 * m2;
    const double X = MeridianArc(k, beta);
    double north = m2 / 2 + m4 / 24 * (5 - t2 + 9 * eta2 + 4 * eta4) +
                   m6 / 720 * (61 - 58 * t2 + t4 + 270 * eta2 - 330 * t2 * eta2);
    double east = m + m3 / 6 * (1 - t2 + eta2) + m5 / 120 * (5 - 18 * t2 + t4 + 14 * eta2 - 58 * t2 * eta2);
    if (extended) {
        const double t6 = t4 * t2;
        north += m6 * m2 / 40320 * (1385 - 3111 * t2 + 543 * t4 - t6);
        east += m6 * m / 5040 * (61 - 479 * t2 + 179 * t4 - t6);
    }
    PlanePoint p;
    p.northing = X + N * t * north;
    p.easting = N * east + 500000;
    return p;
}

constexpr double FalseEasting = 500000;
// Newton steps end when the forward series gives the point back to this (metres).
constexpr double InverseTolerance = 1e-7;
constexpr int InverseSteps = 30;
// The step of the numerical derivatives (degrees): central differences, so the error is of its
// square, far below the tolerance.
constexpr double DerivativeStep = 1e-6;

}  // namespace

double ThreeDegreeZoneMeridian(double L) { return 3 * Int(L / 3); }

PlanePoint GaussKrugerForward(const Ellipsoid& ellipsoid, double B, double L, double L0) {
    return Forward(ConstantsOf(ellipsoid), B, L, L0, true);
}

PlanePoint GaussKrugerForwardWgs84(double B, double L, double L0) {
    return Forward(ConstantsOf(Wgs84Ellipsoid), B, L, L0, false);
}

GeographicPoint GaussKrugerInverse(const Ellipsoid& ellipsoid, const PlanePoint& point, double L0) {
    const SeriesConstants k = ConstantsOf(ellipsoid);
    // The start: the footpoint latitude of the northing (fixed point of the arc), and the
    // longitude from the first term of the easting series.
    const double unitArc = k.a * (1 - k.e2) * k.A;
    double beta = point.northing / unitArc;
    for (int i = 0; i < 10; ++i) beta += (point.northing - MeridianArc(k, beta)) / unitArc;
    const double cb = std::cos(beta);
    const double N = k.c / std::sqrt(1 + k.ep2 * cb * cb);
    GeographicPoint g{beta / Rho, L0 + (point.easting - FalseEasting) / (N * cb) / Rho};
    if (!std::isfinite(g.latitude) || !std::isfinite(g.longitude)) return g;

    for (int step = 0; step < InverseSteps; ++step) {
        const PlanePoint at = Forward(k, g.latitude, g.longitude, L0, true);
        const double dE = point.easting - at.easting, dN = point.northing - at.northing;
        if (std::fabs(dE) < InverseTolerance && std::fabs(dN) < InverseTolerance) break;
        const double h = DerivativeStep;
        const PlanePoint bPlus = Forward(k, g.latitude + h, g.longitude, L0, true);
        const PlanePoint bMinus = Forward(k, g.latitude - h, g.longitude, L0, true);
        const PlanePoint lPlus = Forward(k, g.latitude, g.longitude + h, L0, true);
        const PlanePoint lMinus = Forward(k, g.latitude, g.longitude - h, L0, true);
        const double eB = (bPlus.easting - bMinus.easting) / (2 * h), nB = (bPlus.northing - bMinus.northing) / (2 * h);
        const double eL = (lPlus.easting - lMinus.easting) / (2 * h), nL = (lPlus.northing - lMinus.northing) / (2 * h);
        const double det = eB * nL - eL * nB;
        if (!std::isfinite(det) || det == 0) break;
        g.latitude += (dE * nL - eL * dN) / det;
        g.longitude += (eB * dN - dE * nB) / det;
        if (!std::isfinite(g.latitude) || !std::isfinite(g.longitude)) break;
    }
    return g;
}

PlanePoint GaussKrugerZoneChange(const Ellipsoid& ellipsoid, const PlanePoint& point, double fromMeridian,
                                 double toMeridian) {
    const GeographicPoint g = GaussKrugerInverse(ellipsoid, point, fromMeridian);
    return GaussKrugerForward(ellipsoid, g.latitude, g.longitude, toMeridian);
}

void SetCurrentDatum(ShellSettings& settings, const Ellipsoid& ellipsoid) {
    const double f = 1 / ellipsoid.inverseFlattening;
    settings.EllipsoidA = ellipsoid.a;
    settings.EllipsoidFlattening = f;
    settings.EllipsoidB = (1 - f) * ellipsoid.a;
    settings.EllipsoidE2 = 2 * f - f * f;
}

Ellipsoid CurrentDatum(const ShellSettings& settings) {
    // Before the settings window first loads nothing is set: the projection's own ellipsoid.
    if (!(settings.EllipsoidA > 0) || !(settings.EllipsoidFlattening > 0)) return Wgs84Ellipsoid;
    return {settings.EllipsoidA, 1 / settings.EllipsoidFlattening};
}

}  // namespace movra
