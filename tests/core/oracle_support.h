// Shared pieces of the oracle tests: the two ellipsoids, the grid families under test, the
// conversion of a latitude/longitude discrepancy into metres on the ground, and a tracker that
// keeps the largest error of a region together with the input that produced it.
#pragma once

#include "core/Geodesica.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace oracle {

struct Ellipsoid {
    const char* name;
    double a;
    double inverse_f;

    long double F() const { return 1.0L / inverse_f; }  // as the datum catalogue passes it
    double f() const { return 1.0 / inverse_f; }        // for the references, in double
};

inline constexpr Ellipsoid kWgs84{"WGS 84", 6378137.0, 298.257223563};
inline constexpr Ellipsoid kA6378160{"a=6378160 1/f=298.25", 6378160.0, 298.25};
inline constexpr Ellipsoid kEllipsoids[] = {kWgs84, kA6378160};

inline TDatum DatumOn(const Ellipsoid& e, long double dx = 0, long double dy = 0,
                      long double dz = 0)
{
    return TDatum(e.name, e.a, e.F(), dx, dy, dz);
}

// A grid family as the engine sees it. The built-in ones select the engine's own record; the
// user-defined ones are written into GridOutro, the way the main window does it.
struct Family {
    const char* name;
    enum class Record { Utm, Rtm, Ltm, Outro } record;
    long double k0, false_easting, false_northing, zone_width;

    void SelectOn(TGeo& geo) const
    {
        switch (record) {
        case Record::Utm: geo.Grid = &geo.GridUTM; break;
        case Record::Rtm: geo.Grid = &geo.GridRTM; break;
        case Record::Ltm: geo.Grid = &geo.GridLTM; break;
        case Record::Outro:
            geo.GridOutro.SetParameters(k0, false_easting, false_northing, zone_width);
            geo.Grid = &geo.GridOutro;
            break;
        }
    }
    // Half a zone plus one degree: the farthest longitude offset the grid accepts.
    long double Reach() const { return zone_width / 2 + 1; }
};

inline constexpr Family kUtm{"UTM", Family::Record::Utm, 0.9996L, 500000, 10000000, 6};
inline constexpr Family kRtm{"RTM", Family::Record::Rtm, 0.999995L, 400000, 10000000, 2};
inline constexpr Family kLtm{"LTM", Family::Record::Ltm, 0.999995L, 200000, 10000000, 1};
inline constexpr Family kUser3{"user 3-degree", Family::Record::Outro, 0.9999L, 300000, 5000000, 3};
// A wide user zone whose warning band lies beyond 4 degrees from the central meridian.
inline constexpr Family kUser14{
    "user 14-degree", Family::Record::Outro, 1.0L, 1000000, 10000000, 14};

// Meridian and prime-vertical radii of curvature at a latitude (degrees).
inline void Radii(const Ellipsoid& e, long double lat_deg, long double& meridian,
                  long double& prime_vertical)
{
    const long double f = e.F();
    const long double e2 = f * (2 - f);
    const long double s = std::sin(lat_deg * GeoConstants::Pi / 180);
    const long double w = 1 - e2 * s * s;
    prime_vertical = e.a / std::sqrt(w);
    meridian = e.a * (1 - e2) / (w * std::sqrt(w));
}

// Longitude difference folded into (-180, 180].
inline long double LongitudeDifference(long double lon, long double lon_ref)
{
    long double d = lon - lon_ref;
    while (d > 180) d -= 360;
    while (d <= -180) d += 360;
    return d;
}

// The distance on the ellipsoid between a computed point and the reference point, for the small
// discrepancies measured here (well below a metre), in metres.
inline long double GroundError(const Ellipsoid& e, long double lat_ref, long double lon_ref,
                               long double lat, long double lon)
{
    long double m = 0, n = 0;
    Radii(e, lat_ref, m, n);
    const long double to_rad = GeoConstants::Pi / 180;
    const long double north = (lat - lat_ref) * to_rad * m;
    const long double east =
        LongitudeDifference(lon, lon_ref) * to_rad * n * std::cos(lat_ref * to_rad);
    return std::hypot(north, east);
}

// The largest error seen in one region and the input that produced it.
struct Worst {
    long double error = 0;
    std::string where = "none";
    long samples = 0;
    bool fault = false;  // a NaN was seen

    void Add(long double err, const std::string& input)
    {
        ++samples;
        if (std::isnan(err)) {
            if (!fault) where = input;
            fault = true;
            return;
        }
        if (!fault && err > error) {
            error = err;
            where = input;
        }
    }
    // Holds the region to its tolerance; the message carries the worst input.
    void Expect(const char* what, long double tolerance) const
    {
        EXPECT_GT(samples, 0) << what << ": no sample reached this region";
        EXPECT_FALSE(fault) << what << ": NaN at " << where;
        EXPECT_LE(error, tolerance) << what << ": worst at " << where;
    }
};

inline std::string Point(long double lat, long double lon, long double extra = NAN,
                         const char* extra_name = nullptr)
{
    char text[160];
    if (extra_name)
        std::snprintf(text, sizeof text, "lat %.12Lg lon %.12Lg %s %.12Lg", lat, lon, extra_name,
                      extra);
    else
        std::snprintf(text, sizeof text, "lat %.12Lg lon %.12Lg", lat, lon);
    return text;
}

// One line of a measured-accuracy table, printed so that the figures can be read from the test
// log; also recorded as a property in the XML report.
inline void Report(const std::string& label, const std::vector<const Worst*>& columns)
{
    char padded[96];
    std::snprintf(padded, sizeof padded, "%-62s", label.c_str());
    std::string line = padded;
    std::string property;
    for (const Worst* w : columns) {
        char cell[48];
        if (w->samples == 0)
            std::snprintf(cell, sizeof cell, " | %10s", "-");
        else
            std::snprintf(cell, sizeof cell, " | %10.2Le", w->error);
        line += cell;
        property += cell;
    }
    std::printf("  %s\n", line.c_str());
    std::string key = label;
    for (char& c : key)
        if (c == ' ' || c == '|' || c == '=' || c == '/') c = '_';
    ::testing::Test::RecordProperty(key, property);
}

}  // namespace oracle
