// The engine's computations as they stood before its own sine kernel and the faster footpoint
// latitude (commit 70b0382): glibc's sincosl and nine-pass fixed-point iteration. Only the
// arithmetic of an accepted point is kept, not the checks; test_unchanged.cpp holds the engine
// to these results.
#pragma once

#include "core/Geodesica.h"

namespace reference {

struct GridPoint {
    long double north, east;
};
struct Geodetic {
    long double lat, lon, h;
};
struct Geocentric {
    long double x, y, z;
};
struct Local {
    long double x, y, convergence;
};
struct LocalOrigin {
    long double lat, lon, planeHeight, x, y;
};

GridPoint GeoToGrid(const TDatum& datum, const TTipo_Coord& grid, long double Lat, long double Lon,
                    long double CentralMeridian);
Geodetic GridToGeo(const TDatum& datum, const TTipo_Coord& grid, int Hemisphere, long double North,
                   long double East, long double CentralMeridian);
long double MeridianConvergence(const TDatum& datum, long double Lat, long double Lon,
                                long double CentralMeridian);
long double PointScaleFactor(const TTipo_Coord& grid, long double Lat, long double Lon,
                             long double CentralMeridian);
long double MeridianArc(long double A, long double Lat, long double E);
Geocentric GeoToCartesian(const TDatum& datum, long double Lat, long double Lon, long double H);
Geodetic CartesianToGeo(const TDatum& datum, long double X, long double Y, long double Z);
Geodetic ChangeDatum(const TDatum& datum, const TDatum& target, long double Lat, long double Lon,
                     long double H);
Local GeoToLocal(const TDatum& datum, const LocalOrigin& origin, long double Lat, long double Lon);
Geodetic LocalToGeo(const TDatum& datum, const LocalOrigin& origin, long double X, long double Y);

}  // namespace reference
