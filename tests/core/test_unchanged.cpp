// The engine's results against its own arithmetic as it stood before the faster sine kernel and
// footpoint latitude (tests/core/engine_reference.cpp): over a deterministic set of points every
// output stays within 1e-10 m, 1e-15 degrees or 1e-15 of a scale factor.
//
// ZELVORA_UNCHANGED_POINTS sets the number of points (10000 by default); the test prints how many
// values, printed with 15 significant digits, changed.
#include "tests/core/engine_reference.h"
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace engine_test;

namespace {

constexpr long double kMetres = 1e-10L, kDegrees = 1e-15L, kScale = 1e-15L;

// The largest difference of one output over the set, and how many of its values print
// differently with 15 significant digits.
struct Tally {
    const char* name;
    long double tolerance;
    long double worst = 0;
    long worstAt = -1;
    long changedDigits = 0;
    long values = 0;

    void Add(long point, long double engine, long double reference)
    {
        ++values;
        const long double difference = std::fabs(engine - reference);
        if (!(difference <= worst)) {
            worst = difference;
            worstAt = point;
        }
        char a[64], b[64];
        std::snprintf(a, sizeof a, "%.15Lg", engine);
        std::snprintf(b, sizeof b, "%.15Lg", reference);
        if (std::strcmp(a, b) != 0) ++changedDigits;
    }
};

// A fixed linear congruential sequence of uniform values.
class Sequence {
public:
    long double Uniform(long double low, long double high)
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return low + (high - low) * static_cast<long double>(state_ >> 11) * 0x1p-53L;
    }

private:
    std::uint64_t state_ = 0x2545F4914F6CDD1Du;
};

long PointCount()
{
    const char* text = std::getenv("ZELVORA_UNCHANGED_POINTS");
    return text != nullptr ? std::strtol(text, nullptr, 10) : 10000;
}

bool Accepted(std::int32_t status) { return status == 0 || status == 1 || status == 3; }

TEST(Unchanged, EveryOutputStaysWithinItsToleranceOfThePreviousArithmetic)
{
    std::vector<Tally> t = {
        {"GeoToGrid North", kMetres},
        {"GeoToGrid East", kMetres},
        {"GridToGeo Lat", kDegrees},
        {"GridToGeo Lon", kDegrees},
        {"MeridianConvergence", kDegrees},
        {"PointScaleFactor", kScale},
        {"MeridianArc", kMetres},
        {"GeoToCartesian X", kMetres},
        {"GeoToCartesian Y", kMetres},
        {"GeoToCartesian Z", kMetres},
        {"CartesianToGeo Lat", kDegrees},
        {"CartesianToGeo Lon", kDegrees},
        {"CartesianToGeo H", kMetres},
        {"ChangeDatum Lat", kDegrees},
        {"ChangeDatum Lon", kDegrees},
        {"ChangeDatum H", kMetres},
        {"GeoToLocal X", kMetres},
        {"GeoToLocal Y", kMetres},
        {"GeoToLocal Convergence", kDegrees},
        {"LocalToGeo Lat", kDegrees},
        {"LocalToGeo Lon", kDegrees},
    };
    const Family families[] = {Family::Utm, Family::Rtm, Family::Ltm};
    const TDatum target = Wgs84();
    Sequence random;
    const long points = PointCount();
    for (long i = 0; i < points; ++i) {
        // Both ellipsoids, all three built-in families, the whole accepted latitude band and
        // longitudes to 0.9 degrees beyond the zone edge (the grid window ends near 1 degree).
        Engine e(i % 2 == 0 ? Wgs84() : Sad69(), families[i % 3]);
        const TTipo_Coord& grid = *e->Grid;
        const long double W = grid.ZoneWidth;
        const long double cm = W / 2 + W * std::floor(random.Uniform(-180, 180) / W);
        const long double lat = random.Uniform(-80, 84);
        const long double offset = random.Uniform(-1, 1) * (W / 2 + 0.9L);
        const long double lon = std::fabs(cm + offset) <= 180 ? cm + offset : cm - offset;
        const long double h = random.Uniform(-400, 9000);
        const long double arcE = std::sqrt((2 - e.datum.F) * e.datum.F);
        std::size_t k = 0;
        const auto add = [&](long double engine, long double reference) {
            t[k++].Add(i, engine, reference);
        };

        e->GeoToGrid(lat, lon, cm);
        ASSERT_TRUE(Accepted(e->Status)) << "point " << i << ", status " << e->Status;
        const reference::GridPoint g = reference::GeoToGrid(e.datum, grid, lat, lon, cm);
        add(e->North, g.north);
        add(e->East, g.east);
        const int hemisphere = lat > 0 ? 0 : 1;
        e->GridToGeo(hemisphere, g.north, g.east, cm);
        ASSERT_TRUE(Accepted(e->Status)) << "point " << i << ", status " << e->Status;
        const reference::Geodetic back =
            reference::GridToGeo(e.datum, grid, hemisphere, g.north, g.east, cm);
        add(e->Lat, back.lat);
        add(e->Lon, back.lon);
        e->MeridianConvergence(lat, lon, cm);
        add(e->Convergence, reference::MeridianConvergence(e.datum, lat, lon, cm));
        e->PointScaleFactor(lat, lon, cm);
        add(e->ScaleFactor, reference::PointScaleFactor(grid, lat, lon, cm));
        add(TGeo::MeridianArc(e.datum.A, lat, arcE), reference::MeridianArc(e.datum.A, lat, arcE));

        e->GeoToCartesian(lat, lon, h);
        ASSERT_TRUE(Accepted(e->Status)) << "point " << i << ", status " << e->Status;
        const reference::Geocentric c = reference::GeoToCartesian(e.datum, lat, lon, h);
        add(e->CartX, c.x);
        add(e->CartY, c.y);
        add(e->CartZ, c.z);
        e->CartesianToGeo(c.x, c.y, c.z);
        const reference::Geodetic geo = reference::CartesianToGeo(e.datum, c.x, c.y, c.z);
        add(e->Lat, geo.lat);
        add(e->Lon, geo.lon);
        add(e->Height, geo.h);
        e->ChangeDatum(target, lat, lon, h);
        ASSERT_TRUE(Accepted(e->Status)) << "point " << i << ", status " << e->Status;
        const reference::Geodetic shifted = reference::ChangeDatum(e.datum, target, lat, lon, h);
        add(e->ShiftLat, shifted.lat);
        add(e->ShiftLon, shifted.lon);
        add(e->ShiftH, shifted.h);

        // A plane around a point of the band, with points up to 45 km from its origin.
        const reference::LocalOrigin o = {lat, lon, random.Uniform(0, 1500), 150000, 250000};
        e->SetLocalOrigin(o.lat, o.lon, o.planeHeight, o.x, o.y);
        const long double pLat = std::fmax(-90, std::fmin(90, lat + random.Uniform(-0.4, 0.4)));
        const long double pLon = lon + random.Uniform(-0.4, 0.4);
        e->GeoToLocal(pLat, pLon);
        const reference::Local l = reference::GeoToLocal(e.datum, o, pLat, pLon);
        if (e->Status == 0) {
            add(e->LocalX, l.x);
            add(e->LocalY, l.y);
            add(e->LocalConvergence, l.convergence);
        } else {
            k += 3;
        }
        const long double x = o.x + random.Uniform(-45000, 45000);
        const long double y = o.y + random.Uniform(-45000, 45000);
        e->LocalToGeo(x, y);
        ASSERT_TRUE(Accepted(e->Status) || e->Status == 9)
            << "point " << i << ", status " << e->Status;
        const reference::Geodetic lg = reference::LocalToGeo(e.datum, o, x, y);
        add(e->Lat, lg.lat);
        add(e->Lon, lg.lon);
        ASSERT_EQ(k, t.size());
    }

    std::printf("%ld points: values printed with 15 significant digits that changed\n", points);
    for (const Tally& tally : t) {
        std::printf("  %-24s %7ld of %7ld, largest difference %.3Lg (point %ld)\n", tally.name,
                    tally.changedDigits, tally.values, tally.worst, tally.worstAt);
        EXPECT_LE(tally.worst, tally.tolerance) << tally.name << ", point " << tally.worstAt;
    }
}

}  // namespace
