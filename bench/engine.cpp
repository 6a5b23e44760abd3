// Time per call of the engine's conversions beside independent libraries doing the same job:
// GeographicLib's series Transverse Mercator and Geocentric, a three-parameter shift through
// Geocentric, and PROJ's proj_trans for a UTM inverse and a three-parameter shift pipeline; and
// the NTv2 grid lookup that replaces the shift where a datum has a grid, beside PROJ's
// hgridshift on the same file (proj-data's BETA2007.gsb, on the zone 32 set's German points).
// Each benchmark cycles through a small set of points, so that neither the branch predictor nor
// the compiler sees one constant input; the argument names the UTM zone of the set: 23 (south,
// latitudes -15..-28, longitudes -42..-48) or 32 (north, latitudes 44..56, longitudes 6..12).
// The engine reduces every angle to 45 degrees before its sine kernel, so the two sets should
// cost the same; a difference between them points at a path that does not reduce.
//
//   bench-engine --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "core/Geodesica.h"
#include "core/Ntv2Grid.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/TransverseMercator.hpp>
#include <benchmark/benchmark.h>
#include <proj.h>

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

constexpr double kA = 6378137.0, kInvF = 298.257223563;         // WGS 84
constexpr double kA69 = 6378160.0, kInvF69 = 298.25;            // the source datum of the shift
constexpr double kDx69 = -66.87, kDy69 = 4.37, kDz69 = -38.52;  // its translation to WGS 84

struct GeoPoint {
    double lat, lon, h;
};
constexpr std::size_t kPoints = 16;

struct PointSet {
    int zone;
    bool south;
    double central_meridian;
    std::array<GeoPoint, kPoints> points;  // within 3 degrees of the meridian, on the ground
};

// clang-format off
constexpr PointSet kZone23South = {23, true, -45, {{
    {-22.5, -47.0, 640},   {-23.55, -46.63, 760},  {-19.92, -43.94, 850},
    {-15.79, -47.88, 1170}, {-25.43, -47.27, 920}, {-21.13, -42.37, 120},
    {-24.01, -46.41, 5},   {-20.46, -45.43, 990},  {-17.22, -46.87, 780},
    {-26.91, -47.66, 30},  {-22.90, -43.20, 10},   {-18.92, -47.28, 860},
    {-23.96, -42.08, 600}, {-16.68, -47.76, 750},  {-27.50, -44.10, 0},
    {-21.78, -47.90, 560},
}}};
// clang-format on

// clang-format off
constexpr PointSet kZone32North = {32, false, 9, {{
    {45.46, 9.19, 120},   {48.14, 11.58, 520},  {50.11, 8.68, 110},  {47.37, 8.54, 410},
    {53.55, 9.99, 10},    {44.49, 11.34, 55},   {51.34, 11.87, 110}, {49.45, 11.08, 300},
    {46.07, 11.12, 1900}, {55.68, 11.57, 5},    {52.27, 10.52, 75},  {48.78, 9.18, 250},
    {45.07, 7.69, 240},   {54.32, 10.13, 20},   {47.07, 6.93, 1100}, {50.94, 6.96, 50},
}}};
// clang-format on

const PointSet& SetOf(const benchmark::State& state)
{
    return state.range(0) == 32 ? kZone32North : kZone23South;
}
double FalseNorthingOf(const PointSet& set) { return set.south ? 10000000 : 0; }

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

// Grid coordinates of the points (series projection, UTM).
struct GridPoint {
    double north, east;
};
std::array<GridPoint, kPoints> GridPoints(const PointSet& set)
{
    std::array<GridPoint, kPoints> grid{};
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    for (std::size_t i = 0; i < kPoints; ++i) {
        double x = 0, y = 0;
        tm.Forward(set.central_meridian, set.points[i].lat, set.points[i].lon, x, y);
        grid[i] = {y + FalseNorthingOf(set), x + 500000};
    }
    return grid;
}

struct CartPoint {
    double x, y, z;
};
std::array<CartPoint, kPoints> CartPoints(const PointSet& set)
{
    std::array<CartPoint, kPoints> cart{};
    const auto& earth = GeographicLib::Geocentric::WGS84();
    for (std::size_t i = 0; i < kPoints; ++i) {
        const GeoPoint& p = set.points[i];
        earth.Forward(p.lat, p.lon, p.h, cart[i].x, cart[i].y, cart[i].z);
    }
    return cart;
}

// The timed loop must run the computing path, not a refusal: every point of the set is tried
// once and the benchmark is skipped if the engine rejects one.
template <typename Call>
bool AllAccepted(benchmark::State& state, TGeo& geo, Call call)
{
    for (std::size_t i = 0; i < kPoints; ++i) {
        call(i);
        if (geo.Status != 0) {
            state.SkipWithError("the engine rejected a point of the set");
            return false;
        }
    }
    return true;
}

// ---- Zelvora ----

void Zelvora_GeoToGrid(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    TGeo geo;
    geo.Datum = &Wgs84();
    if (!AllAccepted(state, geo, [&](std::size_t k) {
            geo.GeoToGrid(set.points[k].lat, set.points[k].lon, set.central_meridian);
        }))
        return;
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
        geo.GeoToGrid(p.lat, p.lon, set.central_meridian);
        benchmark::DoNotOptimize(geo.North);
        benchmark::DoNotOptimize(geo.East);
    }
}

void Zelvora_GridToGeo(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    TGeo geo;
    geo.Datum = &Wgs84();
    const auto grid = GridPoints(set);
    if (!AllAccepted(state, geo, [&](std::size_t k) {
            geo.GridToGeo(set.south ? 1 : 0, grid[k].north, grid[k].east, set.central_meridian);
        }))
        return;
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        geo.GridToGeo(set.south ? 1 : 0, p.north, p.east, set.central_meridian);
        benchmark::DoNotOptimize(geo.Lat);
        benchmark::DoNotOptimize(geo.Lon);
    }
}

void Zelvora_GeoToCartesian(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    TGeo geo;
    geo.Datum = &Wgs84();
    if (!AllAccepted(state, geo, [&](std::size_t k) {
            geo.GeoToCartesian(set.points[k].lat, set.points[k].lon, set.points[k].h);
        }))
        return;
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
        geo.GeoToCartesian(p.lat, p.lon, p.h);
        benchmark::DoNotOptimize(geo.CartX);
        benchmark::DoNotOptimize(geo.CartY);
        benchmark::DoNotOptimize(geo.CartZ);
    }
}

void Zelvora_CartesianToGeo(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    TGeo geo;
    geo.Datum = &Wgs84();
    const auto cart = CartPoints(set);
    if (!AllAccepted(state, geo,
                     [&](std::size_t k) { geo.CartesianToGeo(cart[k].x, cart[k].y, cart[k].z); }))
        return;
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
    const PointSet& set = SetOf(state);
    TGeo geo;
    geo.Datum = &Datum69();
    if (!AllAccepted(state, geo, [&](std::size_t k) {
            geo.ChangeDatum(Wgs84(), set.points[k].lat, set.points[k].lon, set.points[k].h);
        }))
        return;
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
        geo.ChangeDatum(Wgs84(), p.lat, p.lon, p.h);
        benchmark::DoNotOptimize(geo.ShiftLat);
        benchmark::DoNotOptimize(geo.ShiftLon);
        benchmark::DoNotOptimize(geo.ShiftH);
    }
}

// The local plane: around the worked example's origin for zone 23, around a point of the first
// set for zone 32; the points lie within 45 km of the origin.
GeoPoint LocalOrigin(const PointSet& set)
{
    return set.south ? GeoPoint{-22.540077144, -47.032556624, 700} : GeoPoint{48.14, 11.58, 520};
}
std::array<GeoPoint, kPoints> LocalGeoPoints(const GeoPoint& origin)
{
    std::array<GeoPoint, kPoints> points{};
    for (std::size_t i = 0; i < kPoints; ++i) {
        const double dlat = 0.3 * (static_cast<double>(i % 4) - 1.5) / 1.5;
        const double dlon = 0.3 * (static_cast<double>(i / 4) - 1.5) / 1.5;
        points[i] = {origin.lat + dlat + 0.002 * static_cast<double>(i), origin.lon + dlon, 0};
    }
    return points;
}

void Zelvora_GeoToLocal(benchmark::State& state)
{
    const GeoPoint origin = LocalOrigin(SetOf(state));
    TGeo geo;
    geo.Datum = &Wgs84();
    const auto points = LocalGeoPoints(origin);
    geo.SetLocalOrigin(origin.lat, origin.lon, origin.h, 150000, 250000);
    if (!AllAccepted(state, geo,
                     [&](std::size_t k) { geo.GeoToLocal(points[k].lat, points[k].lon); }))
        return;
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
    const GeoPoint origin = LocalOrigin(SetOf(state));
    TGeo geo;
    geo.Datum = &Wgs84();
    geo.SetLocalOrigin(origin.lat, origin.lon, origin.h, 150000, 250000);
    std::array<long double, kPoints> x{}, y{};
    for (std::size_t i = 0; i < kPoints; ++i) {
        x[i] = 150000 + 36000.0L * (static_cast<long double>(i % 4) - 1.5L) / 1.5L;
        y[i] = 250000 + 36000.0L * (static_cast<long double>(i / 4) - 1.5L) / 1.5L + 90 * i;
    }
    if (!AllAccepted(state, geo, [&](std::size_t k) { geo.LocalToGeo(x[k], y[k]); })) return;
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
    const PointSet& set = SetOf(state);
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
        double x, y;
        tm.Forward(set.central_meridian, p.lat, p.lon, x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
    }
}

void GeographicLib_TMSeriesReverse(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    const auto& tm = GeographicLib::TransverseMercator::UTM();
    const auto grid = GridPoints(set);
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        double lat, lon;
        tm.Reverse(set.central_meridian, p.east - 500000, p.north - FalseNorthingOf(set), lat, lon);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
    }
}

void GeographicLib_GeocentricForward(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    const auto& earth = GeographicLib::Geocentric::WGS84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
        double x, y, z;
        earth.Forward(p.lat, p.lon, p.h, x, y, z);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(z);
    }
}

void GeographicLib_GeocentricReverse(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    const auto& earth = GeographicLib::Geocentric::WGS84();
    const auto cart = CartPoints(set);
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
    const PointSet& set = SetOf(state);
    const GeographicLib::Geocentric source(kA69, 1 / kInvF69);
    const auto& target = GeographicLib::Geocentric::WGS84();
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = set.points[i++ % kPoints];
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

void Proj_UtmInverse(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
    char definition[80];
    std::snprintf(definition, sizeof definition, "+proj=utm +zone=%d%s +ellps=WGS84", set.zone,
                  set.south ? " +south" : "");
    const Proj utm(definition);
    const auto grid = GridPoints(set);
    std::size_t i = 0;
    for (auto _ : state) {
        const GridPoint& p = grid[i++ % kPoints];
        const PJ_COORD out = proj_trans(utm.get(), PJ_INV, proj_coord(p.east, p.north, 0, 0));
        benchmark::DoNotOptimize(out);
    }
}

void Proj_ThreeParameterShift(benchmark::State& state)
{
    const PointSet& set = SetOf(state);
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
        const GeoPoint& p = set.points[i++ % kPoints];
        const PJ_COORD out =
            proj_trans(shift.get(), PJ_FWD, proj_coord(p.lon * kToRad, p.lat * kToRad, p.h, 0));
        benchmark::DoNotOptimize(out);
    }
}

constexpr const char* kGridFile = "/usr/share/proj/BETA2007.gsb";
// The points of the zone 32 set that the grid holds, Germany's.
constexpr std::array<GeoPoint, 8> kInGrid = {{
    {48.14, 11.58, 520},
    {50.11, 8.68, 110},
    {53.55, 9.99, 10},
    {51.34, 11.87, 110},
    {49.45, 11.08, 300},
    {52.27, 10.52, 75},
    {48.78, 9.18, 250},
    {50.94, 6.96, 50},
}};

void Zelvora_GridShift(benchmark::State& state)
{
    std::ifstream in(kGridFile, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::optional<Ntv2Grid> grid;
    try {
        grid.emplace(bytes, kGridFile);
    } catch (const GridFileError& error) {
        state.SkipWithError(error.what());
        return;
    }
    for (const GeoPoint& p : kInGrid)
        if (!grid->Forward(p.lat, p.lon)) {
            state.SkipWithError("a point outside the grid");
            return;
        }
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kInGrid[i++ % kInGrid.size()];
        const auto out = grid->Forward(p.lat, p.lon);
        benchmark::DoNotOptimize(out);
    }
}

void Proj_GridShift(benchmark::State& state)
{
    const Proj shift((std::string("+proj=hgridshift +grids=") + kGridFile).c_str());
    constexpr double kToRad = 3.14159265358979323846 / 180;
    std::size_t i = 0;
    for (auto _ : state) {
        const GeoPoint& p = kInGrid[i++ % kInGrid.size()];
        const PJ_COORD out =
            proj_trans(shift.get(), PJ_FWD, proj_coord(p.lon * kToRad, p.lat * kToRad, p.h, 0));
        benchmark::DoNotOptimize(out);
    }
}

}  // namespace

// Side by side, per zone: each engine routine next to the library routines for the same job.
void Zones(benchmark::internal::Benchmark* b) { b->Arg(23)->Arg(32); }
BENCHMARK(Zelvora_GeoToGrid)->Apply(Zones);
BENCHMARK(GeographicLib_TMSeriesForward)->Apply(Zones);
BENCHMARK(Zelvora_GridToGeo)->Apply(Zones);
BENCHMARK(GeographicLib_TMSeriesReverse)->Apply(Zones);
BENCHMARK(Proj_UtmInverse)->Apply(Zones);
BENCHMARK(Zelvora_GeoToCartesian)->Apply(Zones);
BENCHMARK(GeographicLib_GeocentricForward)->Apply(Zones);
BENCHMARK(Zelvora_CartesianToGeo)->Apply(Zones);
BENCHMARK(GeographicLib_GeocentricReverse)->Apply(Zones);
BENCHMARK(Zelvora_ChangeDatum)->Apply(Zones);
BENCHMARK(GeographicLib_ThreeParameterShift)->Apply(Zones);
BENCHMARK(Proj_ThreeParameterShift)->Apply(Zones);
BENCHMARK(Zelvora_GridShift);
BENCHMARK(Proj_GridShift);
BENCHMARK(Zelvora_GeoToLocal)->Apply(Zones);
BENCHMARK(Zelvora_LocalToGeo)->Apply(Zones);

BENCHMARK_MAIN();
