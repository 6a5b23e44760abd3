// All sixteen pairs of coordinate kinds through the pipeline, on one datum and across a datum
// change: the nine pairs of grid, geodetic and geocentric coordinates against PROJ pipelines
// (exact Transverse Mercator, +proj=cart, a translation-only +proj=helmert); the seven pairs with
// the local plane, which PROJ does not know, by round trips through the pipeline itself. The
// single-point action runs the same stages; which box feeds which value is the reading-order
// test's.
//
// The tolerances are the engine's measured ones added along the pipeline: within 1.5 degrees of
// the central meridian the grid is good to 5e-6 m forward and 1e-5 m inverse, the geocentric
// conversions and the datum change to a few 1e-8 m, the local plane's round trip to 3e-6 m
// within 10 km on a level plane and 1.5e-3 m on a plane raised by 700 m.
#include "tests/core/oracle_support.h"
#include "tests/transform/pipeline_support.h"

#include <proj.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace oracle;
using namespace pipeline_test;
namespace Kind = CoordinateKind;

constexpr long double kDegToRad = GeoConstants::Pi / 180;

const Ellipsoid kSad69Ellipsoid{"SAD 69", 6378160.0, 298.25};
const double kSad69Shift[3] = {-66.87, 4.37, -38.52};

std::string ellipsoid(const Ellipsoid& e)
{
    char text[96];
    std::snprintf(text, sizeof text, " +a=%.17g +rf=%.17g", e.a, e.inverse_f);
    return text;
}

class Proj {
public:
    explicit Proj(const std::string& definition)
        : context_(proj_context_create()), pj_(proj_create(context_, definition.c_str()))
    {
    }
    ~Proj()
    {
        if (pj_) proj_destroy(pj_);
        proj_context_destroy(context_);
    }
    Proj(const Proj&) = delete;
    Proj& operator=(const Proj&) = delete;
    bool valid() const { return pj_ != nullptr; }
    PJ_COORD fromGeodetic(long double lat, long double lon, long double h) const
    {
        return proj_trans(pj_, PJ_FWD,
                          proj_coord(static_cast<double>(lon * kDegToRad),
                                     static_cast<double>(lat * kDegToRad), static_cast<double>(h),
                                     0));
    }

private:
    PJ_CONTEXT* context_;
    PJ* pj_;
};

const char* kindName(int kind)
{
    static const char* const names[] = {"grid", "geodetic", "geocentric", "plane"};
    return names[kind];
}

// The target kind from geodetic coordinates on SAD 69, on SAD 69 or on WGS 84.
std::string targetDefinition(int kind, bool datumChange)
{
    const std::string sad = ellipsoid(kSad69Ellipsoid), wgs = ellipsoid(oracle::kWgs84);
    const std::string utm = " +step +proj=utm +zone=23 +south";
    if (!datumChange) {
        switch (kind) {
        case Kind::Grid: return "+proj=pipeline" + utm + sad;
        case Kind::Cartesian: return "+proj=pipeline +step +proj=cart" + sad;
        default: return "+proj=pipeline +step +proj=noop";
        }
    }
    char helmert[128];
    std::snprintf(helmert, sizeof helmert, " +step +proj=helmert +x=%.17g +y=%.17g +z=%.17g",
                  kSad69Shift[0], kSad69Shift[1], kSad69Shift[2]);
    const std::string toWgs = "+proj=pipeline +step +proj=cart" + sad + helmert;
    switch (kind) {
    case Kind::Grid: return toWgs + " +step +inv +proj=cart" + wgs + utm + wgs;
    case Kind::Cartesian: return toWgs;
    default: return toWgs + " +step +inv +proj=cart" + wgs;
    }
}

// A triple in Processa's order for a kind: grid E N h, geodetic lon lat h, geocentric X Y Z.
struct Triple {
    long double X, Y, Z;
};

Triple fromProj(int kind, const PJ_COORD& c, long double lat, long double lon, long double h)
{
    switch (kind) {
    case Kind::Grid: return {c.xyz.x, c.xyz.y, c.xyz.z};
    case Kind::Cartesian: return {c.xyz.x, c.xyz.y, c.xyz.z};
    default:
        if (c.lpz.lam == HUGE_VAL) return {NAN, NAN, NAN};
        return {lon, lat, h};
    }
}

// The reference of a kind from PROJ's output of a pipeline.
Triple referenceOf(int kind, bool datumChange, const PJ_COORD& c, long double lat, long double lon,
                   long double h)
{
    if (kind == Kind::Geodetic && datumChange)
        return {c.lpz.lam / kDegToRad, c.lpz.phi / kDegToRad, c.lpz.z};
    return fromProj(kind, c, lat, lon, h);
}

struct Sample {
    long double lat, lon, h;
};

// Around Sao Paulo, within 1.5 degrees of the meridian -45 on both datums.
std::vector<Sample> samples()
{
    std::vector<Sample> s;
    for (long double lat : {-22.1L, -23.0L, -23.9L, -24.6L})
        for (long double lon : {-46.4L, -45.7L, -45.0L, -44.2L, -43.6L})
            for (long double h : {0.0L, 850.0L}) s.push_back({lat, lon, h});
    return s;
}

WindowState pairState(int from, int to, bool datumChange)
{
    WindowState state = stateFor(NumberFormat::file(), {from, kSad69},
                                 {to, datumChange ? pipeline_test::kWgs84 : kSad69}, 0);
    state.ComboBox14 = 1;
    state.Edit13 = "-45";
    state.Edit20 = "-45";
    return state;
}

// Horizontal and vertical discrepancy in metres between a result and its reference.
struct Discrepancy {
    long double horizontal, vertical;
};

Discrepancy discrepancy(int kind, const Triple& got, const Triple& want, const Ellipsoid& e)
{
    if (kind == Kind::Geodetic)
        return {GroundError(e, want.Y, want.X, got.Y, got.X), std::fabs(got.Z - want.Z)};
    if (kind == Kind::Cartesian)
        return {std::hypot(got.X - want.X, got.Y - want.Y, got.Z - want.Z), 0};
    return {std::hypot(got.X - want.X, got.Y - want.Y), std::fabs(got.Z - want.Z)};
}

// The tolerance of a pair: the grid's series on either side, else the closed forms.
long double horizontalTolerance(int from, int to)
{
    return from == Kind::Grid || to == Kind::Grid ? 2e-5L : 1e-7L;
}
constexpr long double kVerticalTolerance = 1e-7L;

struct PairRun {
    Worst horizontal, vertical;
};

std::string where(const Sample& s) { return Point(s.lat, s.lon, s.h, "h"); }

TEST(PipelineOracle, NinePairsOfGridGeodeticAndGeocentricAgainstProj)
{
    const auto datums = testCatalogue();
    const int kinds[] = {Kind::Grid, Kind::Geodetic, Kind::Cartesian};
    std::printf("  Processa against PROJ (m)\n  %-62s | %10s | %10s\n", "pair", "horizontal",
                "height");
    for (bool datumChange : {false, true})
        for (int from : kinds)
            for (int to : kinds) {
                const std::string pair = std::string(kindName(from)) + " to " + kindName(to) +
                                         (datumChange ? ", SAD 69 to WGS 84" : ", SAD 69");
                SCOPED_TRACE(pair);
                const Proj source(targetDefinition(from, false));
                const Proj target(targetDefinition(to, datumChange));
                ASSERT_TRUE(source.valid() && target.valid());
                const WindowState state = pairState(from, to, datumChange);
                auto engine = startupEngine();
                Processa processa(state, datums, *engine, NumberFormat::file());
                PairRun run;
                for (const Sample& s : samples()) {
                    const Triple in =
                        fromProj(from, source.fromGeodetic(s.lat, s.lon, s.h), s.lat, s.lon, s.h);
                    const Triple want =
                        referenceOf(to, datumChange, target.fromGeodetic(s.lat, s.lon, s.h), s.lat,
                                    s.lon, s.h);
                    const ProcessaResult r = processa(in.X, in.Y, in.Z);
                    EXPECT_EQ(r.status.firstError(), 0) << where(s);
                    const Discrepancy d =
                        discrepancy(to, {r.X, r.Y, r.Z}, want,
                                    datumChange ? oracle::kWgs84 : kSad69Ellipsoid);
                    run.horizontal.Add(d.horizontal, where(s));
                    run.vertical.Add(d.vertical, where(s));
                }
                run.horizontal.Expect("horizontal", horizontalTolerance(from, to));
                run.vertical.Expect("height", kVerticalTolerance);
                Report(pair, {&run.horizontal, &run.vertical});
            }
}

// ---- The local plane ----

struct Plane {
    const char* lat;
    const char* lon;
    const char* altitude;
    const char* x;
    const char* y;
};

void setSourcePlane(WindowState& s, const Plane& p)
{
    s.Edit15 = p.lat, s.Edit16 = p.lon, s.Edit17 = p.altitude, s.Edit18 = p.x, s.Edit19 = p.y;
}
void setTargetPlane(WindowState& s, const Plane& p)
{
    s.Edit14 = p.lat, s.Edit21 = p.lon, s.Edit22 = p.altitude, s.Edit23 = p.x, s.Edit24 = p.y;
}

struct AltitudeCase {
    const char* why;
    Plane a, b;  // two planes about 7 km apart
    long double tolerance;
};

const AltitudeCase kPlanes[] = {
    {"level planes",
     {"-23", "-45.2", "0", "150000", "250000"},
     {"-23.05", "-45.25", "0", "50000", "60000"},
     2e-5L},
    {"planes at 700 m",
     {"-23", "-45.2", "700", "150000", "250000"},
     {"-23.05", "-45.25", "700", "50000", "60000"},
     2e-3L},
};

// Points within 10 km of both origins: on the source datum for the geodetic and derived kinds,
// on the plane A for the plane.
std::vector<Sample> planeSamples()
{
    std::vector<Sample> s;
    for (long double lat : {-22.99L, -23.03L, -23.07L})
        for (long double lon : {-45.17L, -45.22L, -45.27L})
            for (long double h : {0.0L, 700.0L}) s.push_back({lat, lon, h});
    return s;
}

// The start of a round trip in a kind; the plane's points are offsets from plane A's origin.
Triple startIn(int kind, const Sample& s, const Proj& grid, const Proj& cart)
{
    switch (kind) {
    case Kind::Grid: return fromProj(kind, grid.fromGeodetic(s.lat, s.lon, s.h), 0, 0, 0);
    case Kind::Cartesian: return fromProj(kind, cart.fromGeodetic(s.lat, s.lon, s.h), 0, 0, 0);
    case Kind::Geodetic: return {s.lon, s.lat, s.h};
    default: return {150000 + (s.lon + 45.2L) * 100000, 250000 + (s.lat + 23) * 100000, s.h};
    }
}

TEST(PipelineOracle, SevenPairsWithThePlaneReturnThePointThereAndBack)
{
    const auto datums = testCatalogue();
    const Proj grid(targetDefinition(Kind::Grid, false));
    const Proj cart(targetDefinition(Kind::Cartesian, false));
    struct Pair {
        int from, to;
    };
    const Pair pairs[] = {
        {Kind::Topographic, Kind::Grid},      {Kind::Topographic, Kind::Geodetic},
        {Kind::Topographic, Kind::Cartesian}, {Kind::Topographic, Kind::Topographic},
        {Kind::Grid, Kind::Topographic},      {Kind::Geodetic, Kind::Topographic},
        {Kind::Cartesian, Kind::Topographic},
    };
    std::printf("  Round trips through the pipeline (m)\n  %-62s | %10s | %10s\n", "pair",
                "horizontal", "height");
    for (const AltitudeCase& plane : kPlanes)
        for (bool datumChange : {false, true})
            for (const Pair& p : pairs) {
                const std::string pair = std::string(kindName(p.from)) + " to " + kindName(p.to) +
                                         " and back, " + plane.why +
                                         (datumChange ? ", SAD 69 / WGS 84" : ", SAD 69");
                SCOPED_TRACE(pair);
                // There: the plane sides use A, except that plane to plane goes from A to B.
                WindowState there = pairState(p.from, p.to, datumChange);
                setSourcePlane(there, plane.a);
                setTargetPlane(there, p.from == p.to ? plane.b : plane.a);
                WindowState back = pairState(p.to, p.from, false);
                back.ComboBox9 = there.ComboBox10;
                back.ComboBox10 = there.ComboBox9;
                setSourcePlane(back, p.from == p.to ? plane.b : plane.a);
                setTargetPlane(back, plane.a);
                auto engine = startupEngine();
                Processa forth(there, datums, *engine, NumberFormat::file());
                Processa backAgain(back, datums, *engine, NumberFormat::file());
                PairRun run;
                for (const Sample& s : planeSamples()) {
                    const Triple start = startIn(p.from, s, grid, cart);
                    const ProcessaResult mid = forth(start.X, start.Y, start.Z);
                    const ProcessaResult end = backAgain(mid.X, mid.Y, mid.Z);
                    EXPECT_EQ(mid.status.firstError(), 0) << where(s);
                    EXPECT_EQ(end.status.firstError(), 0) << where(s);
                    const Discrepancy d =
                        discrepancy(p.from, {end.X, end.Y, end.Z}, start, kSad69Ellipsoid);
                    run.horizontal.Add(d.horizontal, where(s));
                    run.vertical.Add(d.vertical, where(s));
                }
                run.horizontal.Expect("horizontal", plane.tolerance);
                run.vertical.Expect("height", kVerticalTolerance);
                Report(pair, {&run.horizontal, &run.vertical});
            }
}

}  // namespace
