#pragma once
// The Gauss-Krüger transverse Mercator projection: the forward series the GPS window uses on
// WGS-84, the same series on any ellipsoid, its inverse, and the three-degree zone meridian.
// Angles are decimal degrees, lengths metres; the easting carries the 500,000 m false easting and
// no zone number, the northing counts from the equator.

namespace movra {

struct ShellSettings;

struct Ellipsoid {
    double a = 6378137;                        // semi-major axis
    double inverseFlattening = 298.257223563;  // 1 / f
};
// The three datums a user chooses between.
constexpr Ellipsoid Xian80Ellipsoid{6378140, 298.257};
constexpr Ellipsoid Beijing54Ellipsoid{6378245, 298.3};
constexpr Ellipsoid Wgs84Ellipsoid{6378137, 298.257223563};

struct PlanePoint {
    double easting = 0;   // map X
    double northing = 0;  // map Y
};

struct GeographicPoint {
    double latitude = 0;
    double longitude = 0;
};

// The central meridian of the three-degree zone holding L: the multiple of 3 at or below it
// (114 for 114 up to but not including 117).
double ThreeDegreeZoneMeridian(double L);

// The forward series, latitude B and longitude L about the central meridian L0. The GPS window's
// on WGS-84 (to m⁶ in the northing, m⁵ in the easting), and the calculator's on any ellipsoid with
// one term more in each, within a tenth of a millimetre of the exact projection to 3° off the
// meridian.
PlanePoint GaussKrugerForwardWgs84(double B, double L, double L0);
PlanePoint GaussKrugerForward(const Ellipsoid& ellipsoid, double B, double L, double L0);

// The latitude and longitude whose forward projection (the calculator's) is the point: a series
// start, refined by Newton steps on the forward series until it gives the point back to far
// below a millimetre.
GeographicPoint GaussKrugerInverse(const Ellipsoid& ellipsoid, const PlanePoint& point, double L0);

// A point of the zone about fromMeridian in the zone about toMeridian, on the same ellipsoid.
PlanePoint GaussKrugerZoneChange(const Ellipsoid& ellipsoid, const PlanePoint& point, double fromMeridian,
                                 double toMeridian);

// Makes the ellipsoid the current datum: a and f, b = (1 - f) a, e² = 2f - f².
void SetCurrentDatum(ShellSettings& settings, const Ellipsoid& ellipsoid);
Ellipsoid CurrentDatum(const ShellSettings& settings);

}  // namespace movra
