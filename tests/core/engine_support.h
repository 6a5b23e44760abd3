// Engines and datums for the tests of documented figures and edge cases.
#pragma once

#include "core/Geodesica.h"

#include <cmath>
#include <memory>

namespace engine_test {

inline TDatum Wgs84() { return TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0); }
inline TDatum Sad69() { return TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L); }
inline TDatum WithAxis(long double a) { return TDatum("test", a, 1 / 298.257223563L, 0, 0, 0); }

enum class Family { Utm, Ltm, Rtm, Outro };

// An engine on its own datum and one of its own grid records, as the main window sets it up.
struct Engine {
    TDatum datum;
    std::unique_ptr<TGeo> geo = std::make_unique<TGeo>();

    explicit Engine(TDatum d = Wgs84(), Family family = Family::Utm) : datum(std::move(d))
    {
        geo->Datum = &datum;
        Use(family);
    }
    void Use(Family family)
    {
        switch (family) {
        case Family::Utm: geo->Grid = &geo->GridUTM; break;
        case Family::Ltm: geo->Grid = &geo->GridLTM; break;
        case Family::Rtm: geo->Grid = &geo->GridRTM; break;
        case Family::Outro: geo->Grid = &geo->GridOutro; break;
        }
    }
    TGeo* operator->() { return geo.get(); }
};

// Metres on the ground of a latitude and longitude difference, on a sphere of 6371 km: ample
// for tolerances of millimetres.
inline long double GroundDistance(long double lat1, long double lon1, long double lat2,
                                  long double lon2)
{
    const long double r = 6371000, k = 3.14159265358979323846L / 180;
    const long double north = (lat2 - lat1) * k * r;
    const long double east = (lon2 - lon1) * k * r * std::cos(lat1 * k);
    return std::hypot(north, east);
}

}  // namespace engine_test
