// The local topographic plane: GeoToLocal followed by LocalToGeo with the same origin returns
// the point. The two series approximate each other rather than being exact inverses, so the
// round trip error grows with the distance from the origin and with the plane altitude; it is
// held by distance band (up to 10, 50 and 80 km) for plane altitudes 0 and 700 m. The points lie
// on geodesics from the origin in 24 directions, placed with GeographicLib's Geodesic.
#include "oracle_support.h"

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <string>

namespace {

using namespace oracle;

struct Origin { double lat, lon; };

const Origin kOrigins[] = {
    {-22.540077144, -47.032556624},  // the worked example's origin
    {0.0, 0.0},
    {-35.25, 149.125},
    {45.5, 9.25},
    {60.0, -120.0},
};

struct AltitudeCase {
    const char* why;
    long double plane_height;
    long double tolerance[3];  // up to 10, 50, 80 km
};

const AltitudeCase kAltitudes[] = {
    {"plane altitude 0", 0, {3e-6L, 3e-3L, 3e-2L}},
    {"plane altitude 700 m", 700, {1.5e-3L, 3e-2L, 7e-2L}},
};

constexpr double kDistances[] = {1000, 5000, 10000, 20000, 35000, 50000, 60000, 70000, 79000};
int BandOf(double distance) { return distance <= 10000 ? 0 : distance <= 50000 ? 1 : 2; }

TEST(LocalPlaneOracle, LocalToGeoOfGeoToLocalReturnsThePoint)
{
    std::printf("  GeoToLocal -> LocalToGeo, error on the ground (m)\n"
                "  %-44s | %10s | %10s | %10s\n",
                "case", "<=10 km", "<=50 km", "<=80 km");
    constexpr long double kOriginX = 150000, kOriginY = 250000;
    for (const Ellipsoid& e : kEllipsoids) {
        const GeographicLib::Geodesic geodesic(e.a, e.f());
        const TDatum datum = DatumOn(e);
        for (const AltitudeCase& alt : kAltitudes) {
            for (const Origin& o : kOrigins) {
                char why[128];
                std::snprintf(why, sizeof why, "%s, %s, origin %.4f %.4f", e.name, alt.why,
                              o.lat, o.lon);
                SCOPED_TRACE(why);
                TGeo geo;
                geo.Datum = &datum;
                Worst worst[3];
                int wrong_status = 0;
                for (double distance : kDistances)
                    for (int k = 0; k < 24; ++k) {
                        double lat = 0, lon = 0;
                        geodesic.Direct(o.lat, o.lon, 15.0 * k, distance, lat, lon);
                        const std::string where = Point(lat, lon, distance, "distance");
                        geo.SetLocalOrigin(o.lat, o.lon, alt.plane_height, kOriginX, kOriginY);
                        geo.GeoToLocal(lat, lon);
                        const long double x = geo.LocalX - kOriginX, y = geo.LocalY - kOriginY;
                        // Warning 9 beyond 50 km on either axis; every point here is inside
                        // 80 km. GeoToLocal tests the open interval, LocalToGeo the closed one.
                        const int forward =
                            (std::fabs(x) < 50000 && std::fabs(y) < 50000) ? 0 : 9;
                        if (geo.Status != forward && ++wrong_status <= 3)
                            ADD_FAILURE() << "GeoToLocal status " << geo.Status << " at "
                                          << where;
                        geo.SetLocalOrigin(o.lat, o.lon, alt.plane_height, kOriginX, kOriginY);
                        geo.LocalToGeo(geo.LocalX, geo.LocalY);
                        const int backward =
                            (std::fabs(x) <= 50000 && std::fabs(y) <= 50000) ? 0 : 9;
                        if (geo.Status != backward && ++wrong_status <= 3)
                            ADD_FAILURE() << "LocalToGeo status " << geo.Status << " at "
                                          << where;
                        worst[BandOf(distance)].Add(GroundError(e, lat, lon, geo.Lat, geo.Lon),
                                                    where);
                    }
                for (int b = 0; b < 3; ++b) worst[b].Expect("round trip", alt.tolerance[b]);
                Report(why, {&worst[0], &worst[1], &worst[2]});
            }
        }
    }
}

}  // namespace
