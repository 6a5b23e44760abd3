// Time per call of the engine's conversions beside independent libraries doing the same job:
// GeographicLib's series Transverse Mercator and Geocentric, a three-parameter shift through
// Geocentric, and PROJ's proj_trans for a UTM inverse and a three-parameter shift pipeline.
// Each benchmark cycles through a small set of points in and around UTM zone 23 south, so that
// neither the branch predictor nor the compiler sees one constant input.
//
//   bench-engine --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "Geodesica.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/TransverseMercator.hpp>
#include <benchmark/benchmark.h>
#include <proj.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kA = 6378137.0, kInvF = 298.257223563;         // WGS 84
constexpr double kA69 = 6378160.0, kInvF69 = 298.25;            // the source datum of the shift
constexpr double kDx69 = -66.87, kDy69 = 4.37, kDz69 = -38.52;  // its translation to WGS 84
constexpr double kCentralMeridian = -45;                        // UTM zone 23

struct GeoPoint { double lat, lon, h; };
constexpr std::size_t kPoints = 16;

// Points in and around zone 23 south, within 3 degrees of its meridian, heights on the ground.
constexpr std::array<GeoPoint, kPoints> kGeo = {{
    {-22.5, -47.0, 640},   {-23.55, -46.63, 760},  {-19.92, -43.94, 850},
    {-15.79, -47.88, 1170}, {-25.43, -49.27, 920}, {-21.13, -42.37, 120},
    {-24.01, -46.41, 5},   {-20.46, -45.43, 990},  {-17.22, -46.87, 780},
    {-26.91, -48.66, 30},  {-22.90, -43.20, 10},   {-18.92, -48.28, 860},
    {-23.96, -42.08, 600}, {-16.68, -49.26, 750},  {-27.50, -44.10, 0},
    {-21.78, -47.90, 560},
}};

const TDatum& Wgs84()
{
    static const TDatum datum("WGS 84", kA, 1.0L / kInvF, 0, 0, 0);
    return datum;
}
const TDatum& Datum69()
{
    static const TDatum datum("a=6378160", kA69, 1.0L / kInvF69, kDx69, kDy69, kDz69);
    return datum;
}

// Grid coordinates of the points (series projection, zone 23 south).
struct GridPoint { double north, east; };
std::array<GridPoint, kPoints> GridPoints()
{
    std::array<GridPoint, kPoints> grid{};
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    for (std::size_t i = 0; i < kPoints; ++i) {
        double x = 0, y = 0;
        tm.Forward(kCentralMeridian, kGeo[i].lat, kGeo[i].lon, x, y);
        grid[i] = {y + 10000000, x + 500000};
    }
    return grid;
}

struct CartPoint { double x, y, z; };
std::array<CartPoint, kPoints> CartPoints()
{
    std::array<CartPoint, kPoints> cart{};
    const auto& earth = GeographicLib::Geocentric::WGS84();
    for (std::size_t i = 0; i < kPoints; ++i)
        earth.Forward(kGeo[i].lat, kGeo[i].lon, kGeo[i].h, cart[i].x, cart[i].y, cart[i].z);
    return cart;
}

// ---- Zelvora ----

void Zelvora_GeoToGrid(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        geo.GeoToGrid(p.lat, p.lon, kCentralMeridian);
        benchmark::DoNotOptimize(geo.North);
        benchmark::DoNotOptimize(geo.East);
    }
}

void Zelvora_GridToGeo(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    const auto grid = GridPoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        geo.GridToGeo(1, p.north, p.east, kCentralMeridian);
        benchmark::DoNotOptimize(geo.Lat);
        benchmark::DoNotOptimize(geo.Lon);
    }
}

void Zelvora_GeoToCartesian(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        geo.GeoToCartesian(p.lat, p.lon, p.h);
        benchmark::DoNotOptimize(geo.CartX);
        benchmark::DoNotOptimize(geo.CartY);
        benchmark::DoNotOptimize(geo.CartZ);
    }
}

void Zelvora_CartesianToGeo(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    const auto cart = CartPoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const CartPoint& p = cart[i++ % kPoints];
        geo.CartesianToGeo(p.x, p.y, p.z);
        benchmark::DoNotOptimize(geo.Lat);
        benchmark::DoNotOptimize(geo.Lon);
        benchmark::DoNotOptimize(geo.Height);
    }
}

void Zelvora_ChangeDatum(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Datum69();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        geo.ChangeDatum(Wgs84(), p.lat, p.lon, p.h);
        benchmark::DoNotOptimize(geo.ShiftLat);
        benchmark::DoNotOptimize(geo.ShiftLon);
        benchmark::DoNotOptimize(geo.ShiftH);
    }
}

// The local plane around the worked example's origin; the points lie within 40 km of it.
constexpr double kOriginLat = -22.540077144, kOriginLon = -47.032556624;
constexpr std::array<GeoPoint, kPoints> LocalGeoPoints()
{
    std::array<GeoPoint, kPoints> points{};
    for (std::size_t i = 0; i < kPoints; ++i) {
        const double dlat = 0.3 * (static_cast<double>(i % 4) - 1.5) / 1.5;
        const double dlon = 0.3 * (static_cast<double>(i / 4) - 1.5) / 1.5;
        points[i] = {kOriginLat + dlat + 0.002 * static_cast<double>(i), kOriginLon + dlon, 0};
    }
    return points;
}

void Zelvora_GeoToLocal(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    constexpr auto points = LocalGeoPoints();
    geo.SetLocalOrigin(kOriginLat, kOriginLon, 700, 150000, 250000);
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = points[i++ % kPoints];
        geo.GeoToLocal(p.lat, p.lon);
        benchmark::DoNotOptimize(geo.LocalX);
        benchmark::DoNotOptimize(geo.LocalY);
        benchmark::DoNotOptimize(geo.LocalConvergence);
    }
}

void Zelvora_LocalToGeo(benchmark::State& state)
{
    TGeo geo;
    geo.Datum = &Wgs84();
    geo.SetLocalOrigin(kOriginLat, kOriginLon, 700, 150000, 250000);
    std::array<long double, kPoints> x{}, y{};
    for (std::size_t i = 0; i < kPoints; ++i) {
        x[i] = 150000 + 36000.0L * (static_cast<long double>(i % 4) - 1.5L) / 1.5L;
        y[i] = 250000 + 36000.0L * (static_cast<long double>(i / 4) - 1.5L) / 1.5L + 90 * i;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % kPoints;
        geo.LocalToGeo(x[k], y[k]);
        benchmark::DoNotOptimize(geo.Lat);
        benchmark::DoNotOptimize(geo.Lon);
    }
}

// ---- GeographicLib ----

void GeographicLib_TMSeriesForward(benchmark::State& state)
{
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        double x, y;
        tm.Forward(kCentralMeridian, p.lat, p.lon, x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}

void GeographicLib_TMSeriesReverse(benchmark::State& state)
{
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    const auto grid = GridPoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        double lat, lon;
        tm.Reverse(kCentralMeridian, p.east - 500000, p.north - 10000000, lat, lon);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
    }
}

void GeographicLib_GeocentricForward(benchmark::State& state)
{
    const auto& earth = GeographicLib::Geocentric::WGS84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        double x, y, z;
        earth.Forward(p.lat, p.lon, p.h, x, y, z);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(z);
    }
}

void GeographicLib_GeocentricReverse(benchmark::State& state)
{
    const auto& earth = GeographicLib::Geocentric::WGS84();
    const auto cart = CartPoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const CartPoint& p = cart[i++ % kPoints];
        double lat, lon, h;
        earth.Reverse(p.x, p.y, p.z, lat, lon, h);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
        benchmark::DoNotOptimize(h);
    }
}

void GeographicLib_ThreeParameterShift(benchmark::State& state)
{
    const GeographicLib::Geocentric source(kA69, 1 / kInvF69);
    const auto& target = GeographicLib::Geocentric::WGS84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        double x, y, z, lat, lon, h;
        source.Forward(p.lat, p.lon, p.h, x, y, z);
        target.Reverse(x + kDx69, y + kDy69, z + kDz69, lat, lon, h);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
        benchmark::DoNotOptimize(h);
    }
}

// ---- PROJ ----

// One PROJ transformation for the length of a benchmark.
class Proj {
public:
    explicit Proj(const char* definition)
        : context_(proj_context_create()), pj_(proj_create(context_, definition))
    {
        if (!pj_) {
            std::fprintf(stderr, "PROJ refused: %s\n", definition);
            std::exit(1);
        }
    }
    ~Proj()
    {
        proj_destroy(pj_);
        proj_context_destroy(context_);
    }
    Proj(const Proj&) = delete;
    Proj& operator=(const Proj&) = delete;
    PJ* get() const { return pj_; }

private:
    PJ_CONTEXT* context_;
    PJ* pj_;
};

void Proj_UtmZone23SInverse(benchmark::State& state)
{
    const Proj utm("+proj=utm +zone=23 +south +ellps=WGS84");
    const auto grid = GridPoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        const PJ_COORD out = proj_trans(utm.get(), PJ_INV, proj_coord(p.east, p.north, 0, 0));
        benchmark::DoNotOptimize(out);
    }
}

void Proj_ThreeParameterShift(benchmark::State& state)
{
    char definition[320];
    std::snprintf(definition, sizeof definition,
                  "+proj=pipeline +step +proj=cart +a=%.17g +rf=%.17g "
                  "+step +proj=helmert +x=%.17g +y=%.17g +z=%.17g "
                  "+step +inv +proj=cart +a=%.17g +rf=%.17g",
                  kA69, kInvF69, kDx69, kDy69, kDz69, kA, kInvF);
    const Proj shift(definition);
    constexpr double kToRad = 3.14159265358979323846 / 180;
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kGeo[i++ % kPoints];
        const PJ_COORD out = proj_trans(shift.get(), PJ_FWD,
                                        proj_coord(p.lon * kToRad, p.lat * kToRad, p.h, 0));
        benchmark::DoNotOptimize(out);
    }
}

}  // namespace

BENCHMARK(Zelvora_GeoToGrid);
BENCHMARK(GeographicLib_TMSeriesForward);
BENCHMARK(Zelvora_GridToGeo);
BENCHMARK(GeographicLib_TMSeriesReverse);
BENCHMARK(Proj_UtmZone23SInverse);
BENCHMARK(Zelvora_GeoToCartesian);
BENCHMARK(GeographicLib_GeocentricForward);
BENCHMARK(Zelvora_CartesianToGeo);
BENCHMARK(GeographicLib_GeocentricReverse);
BENCHMARK(Zelvora_ChangeDatum);
BENCHMARK(GeographicLib_ThreeParameterShift);
BENCHMARK(Proj_ThreeParameterShift);
BENCHMARK(Zelvora_GeoToLocal);
BENCHMARK(Zelvora_LocalToGeo);

BENCHMARK_MAIN();
