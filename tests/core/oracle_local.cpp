// The local topographic plane: GeoToLocal followed by LocalToGeo with the same origin returns
// the point. The two series approximate each other rather than being exact inverses, so the
// round trip error grows with the distance from the origin; it is held by distance band (up to
// 10, 50 and 80 km) for plane altitudes 0 and 700 m. The points lie on geodesics from the
// origin in 24 directions, placed with GeographicLib's Geodesic.
//
// A raised plane adds a term of its own. GeoToLocal scales x by c = (R0 + h) / R0 before the
// C x^2 term of the northing, while LocalToGeo divides by c before using that term, so the round
// trip keeps (c^2 - 1) C x^2 / B, about |tan phi0| x^2 h / (N0 R0): 1.8 cm at 50 km from the
// origin at latitude -22.5 with h = 700 m, 4.4 cm at latitude 45, nothing at the equator. The
// tolerances at 700 m below hold at the worked example's origin; at higher origin latitudes the
// tolerance of the level plane plus 1.25 times that term applies.
#include "tests/core/oracle_support.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace oracle;

struct Origin {
    double lat, lon;
};

const Origin kOrigins[] = {
    {-22.540077144, -47.032556624},  // the worked example's origin
    {0.0, 0.0},
    {-35.25, 149.125},
    {45.5, 9.25},
    {60.0, -120.0},
};

constexpr int kBands = 3;
constexpr double kBandReach[kBands] = {10000, 50000, 80000};
constexpr double kDistances[] = {1000, 5000, 10000, 20000, 35000, 50000, 60000, 70000, 79000};
int BandOf(double distance) { return distance <= 10000 ? 0 : distance <= 50000 ? 1 : 2; }

struct AltitudeCase {
    const char* why;
    long double plane_height;
    long double tolerance[kBands];  // up to 10, 50, 80 km
};

const AltitudeCase kLevel{"plane altitude 0", 0, {3e-6L, 3e-3L, 3e-2L}};
const AltitudeCase kAltitudes[] = {
    kLevel,
    {"plane altitude 700 m", 700, {1.5e-3L, 3e-2L, 7e-2L}},
};

// The tolerance of a band: the table's, or, where the raised plane's own term outgrows it (high
// origin latitudes), the level plane's tolerance plus that term with a quarter of margin.
long double ToleranceOf(const Ellipsoid& e, const AltitudeCase& alt, const Origin& o, int band)
{
    long double m0 = 0, n0 = 0;
    Radii(e, o.lat, m0, n0);
    const long double reach = kBandReach[band];
    const long double raised = std::fabs(std::tan(o.lat * GeoConstants::Pi / 180)) * reach * reach *
                               alt.plane_height / (n0 * std::sqrt(m0 * n0));
    return std::max(alt.tolerance[band], kLevel.tolerance[band] + 1.25L * raised);
}

TEST(LocalPlaneOracle, LocalToGeoOfGeoToLocalReturnsThePoint)
{
    std::printf(
        "  GeoToLocal -> LocalToGeo, error on the ground (m)\n"
        "  %-62s | %10s | %10s | %10s\n",
        "case", "<=10 km", "<=50 km", "<=80 km");
    constexpr long double kOriginX = 150000, kOriginY = 250000;
    for (const Ellipsoid& e : kEllipsoids) {
        const GeographicLib::Geodesic geodesic(e.a, e.f());
        const TDatum datum = DatumOn(e);
        for (const AltitudeCase& alt : kAltitudes) {
            for (const Origin& o : kOrigins) {
                char why[128];
                std::snprintf(why, sizeof why, "%s, %s, origin %.4f %.4f", e.name, alt.why, o.lat,
                              o.lon);
                SCOPED_TRACE(why);
                TGeo geo;
                geo.Datum = &datum;
                Worst worst[kBands];
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
                        const int forward = (std::fabs(x) < 50000 && std::fabs(y) < 50000) ? 0 : 9;
                        if (geo.Status != forward && ++wrong_status <= 3)
                            ADD_FAILURE() << "GeoToLocal status " << geo.Status << " at " << where;
                        geo.SetLocalOrigin(o.lat, o.lon, alt.plane_height, kOriginX, kOriginY);
                        geo.LocalToGeo(geo.LocalX, geo.LocalY);
                        const int backward =
                            (std::fabs(x) <= 50000 && std::fabs(y) <= 50000) ? 0 : 9;
                        if (geo.Status != backward && ++wrong_status <= 3)
                            ADD_FAILURE() << "LocalToGeo status " << geo.Status << " at " << where;
                        worst[BandOf(distance)].Add(GroundError(e, lat, lon, geo.Lat, geo.Lon),
                                                    where);
                    }
                for (int b = 0; b < kBands; ++b) {
                    SCOPED_TRACE(b == 0 ? "up to 10 km" : b == 1 ? "up to 50 km" : "up to 80 km");
                    worst[b].Expect("round trip", ToleranceOf(e, alt, o, b));
                }
                Report(why, {&worst[0], &worst[1], &worst[2]});
            }
        }
    }
}

}  // namespace
