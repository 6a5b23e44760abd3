// The Transverse Mercator routines against GeographicLib's exact Transverse Mercator projection
// (elliptic-function form, accurate to nanometres): GeoToGrid, GridToGeo, the round trip through
// both, MeridianConvergence, PointScaleFactor and MeridianArc, on two ellipsoids and the four
// kinds of grid family, latitudes -80..84 and longitudes out to half a zone plus one degree.
//
// The series are held to tolerances by distance from the central meridian (<= 1.5, 2, 3 and
// 4 degrees). A wrong coefficient, sign or power of ten in a series term shows as an error many
// times larger than these; rounding in 80-bit arithmetic stays below 1e-9 m.
//
// Sign conventions, checked against the worked example (-22.5, -47 on meridian -45: +0.76564):
// the engine's Convergence and GeographicLib's gamma are the same angle with the same sign, the
// bearing of grid north clockwise from true north (positive east of the meridian in the north,
// west of it in the south). The engine's East is FalseEasting + x and, south of the equator and
// on it, North is FalseNorthing + y; north of it North is y.
#include "tests/core/oracle_support.h"

#include <GeographicLib/TransverseMercatorExact.hpp>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace oracle;

constexpr int kRegions = 4;
constexpr long double kRegionEdge[kRegions] = {1.5L, 2, 3, 4};
constexpr const char* kRegionName[kRegions] = {"<=1.5", "<=2", "<=3", "<=4"};

// Region of a longitude offset from the central meridian; kRegions beyond 4 degrees.
int RegionOf(long double offset)
{
    for (int r = 0; r < kRegions; ++r)
        if (offset <= kRegionEdge[r]) return r;
    return kRegions;
}
bool Reaches(const Family& family, int region)
{
    const long double lower = region == 0 ? 0 : kRegionEdge[region - 1];
    return family.Reach() > lower;
}

struct GridCase {
    std::string why;
    const Ellipsoid* ellipsoid;
    const Family* family;
    long double cm;  // a standard meridian of the family, so that no warning 3 arises
};

std::vector<GridCase> AllGridCases()
{
    struct FamilyMeridians {
        const Family* family;
        long double cm[2];
    };
    // One meridian west of Greenwich and one east of it per family.
    const FamilyMeridians kMeridians[] = {
        {&kUtm, {-45, 9}},
        {&kRtm, {-45, 13}},
        {&kLtm, {-45.5L, 10.5L}},
        {&kUser3, {-46.5L, 10.5L}},  // (cm - 1.5) / 3 whole
    };
    std::vector<GridCase> cases;
    for (const Ellipsoid& e : kEllipsoids)
        for (const auto& fm : kMeridians)
            for (long double cm : fm.cm) {
                char why[96];
                std::snprintf(why, sizeof why, "%s %s cm %.1Lf", e.name, fm.family->name, cm);
                cases.push_back({why, &e, fm.family, cm});
            }
    return cases;
}

// One sample point and its exact projection (no false origin, scale K0 of the family).
struct Sample {
    double lat, lon;
    long double offset;  // |lon - cm|, as the engine forms it
    double x, y, gamma, k;
};

std::vector<double> Latitudes()
{
    std::vector<double> lats;
    for (int i = 0; i <= 96; ++i) lats.push_back(-80.0 + 164.0 * i / 96);
    lats.push_back(0.0);  // the equator, which the engine counts as southern
    return lats;
}

// The reference samples of one case: latitudes -80..84, longitude offsets of both signs out to
// half a zone plus one degree in 80 steps.
const std::vector<Sample>& SamplesOf(const GridCase& c)
{
    static std::vector<std::pair<std::string, std::unique_ptr<std::vector<Sample>>>> cache;
    for (const auto& entry : cache)
        if (entry.first == c.why) return *entry.second;
    auto samples = std::make_unique<std::vector<Sample>>();
    const GeographicLib::TransverseMercatorExact tm(c.ellipsoid->a, c.ellipsoid->f(),
                                                    static_cast<double>(c.family->k0));
    const double cm = static_cast<double>(c.cm);
    const double reach = static_cast<double>(c.family->Reach());
    for (double lat : Latitudes())
        for (int j = -40; j <= 40; ++j) {
            Sample s{};
            s.lat = lat;
            s.lon = cm + reach * j / 40;
            s.offset = std::fabs(static_cast<long double>(s.lon) - c.cm);
            tm.Forward(cm, s.lat, s.lon, s.x, s.y, s.gamma, s.k);
            samples->push_back(s);
        }
    cache.emplace_back(c.why, std::move(samples));
    return *cache.back().second;
}

// What the engine's GeoToGrid yields for an exact projection.
long double ExpectedNorth(const Family& f, const Sample& s)
{
    return s.lat > 0 ? static_cast<long double>(s.y) : f.false_northing + s.y;
}
long double ExpectedEast(const Family& f, const Sample& s) { return f.false_easting + s.x; }
int HemisphereOf(long double lat) { return lat > 0 ? 0 : 1; }

void ReportRegions(const std::string& label, const std::array<Worst, kRegions>& worst)
{
    Report(label, {&worst[0], &worst[1], &worst[2], &worst[3]});
}
void PrintHeading(const char* what)
{
    std::printf("  %s, maximum error by degrees from the central meridian\n", what);
    std::printf("  %-62s | %10s | %10s | %10s | %10s\n", "case", kRegionName[0], kRegionName[1],
                kRegionName[2], kRegionName[3]);
}

// Counts status mismatches and reports the first few with their inputs.
struct StatusCheck {
    int mismatches = 0;
    void Expect(int expected, int actual, const std::string& where)
    {
        if (expected == actual) return;
        if (++mismatches <= 5)
            ADD_FAILURE() << "status " << actual << ", expected " << expected << " at " << where;
    }
};

constexpr long double kForwardTolerance[kRegions] = {5e-6L, 2e-5L, 2e-4L, 1.5e-3L};
constexpr long double kInverseTolerance[kRegions] = {1e-5L, 5e-5L, 1e-3L, 6e-3L};

TEST(GeoToGridOracle, NorthAndEastMatchExactTransverseMercator)
{
    PrintHeading("GeoToGrid North and East against exact TM (m)");
    for (const GridCase& c : AllGridCases()) {
        SCOPED_TRACE(c.why);
        TGeo geo;
        const TDatum datum = DatumOn(*c.ellipsoid);
        geo.Datum = &datum;
        c.family->SelectOn(geo);
        std::array<Worst, kRegions> north, east;
        StatusCheck status;
        for (const Sample& s : SamplesOf(c)) {
            geo.GeoToGrid(s.lat, s.lon, c.cm);
            const std::string where = Point(s.lat, s.lon);
            // Inside the zone no warning; in the degree beyond its edge warning 1.
            status.Expect(c.family->zone_width / 2 >= s.offset ? 0 : 1, geo.Status, where);
            const int r = RegionOf(s.offset);
            ASSERT_LT(r, kRegions) << where;
            north[r].Add(std::fabs(geo.North - ExpectedNorth(*c.family, s)), where);
            east[r].Add(std::fabs(geo.East - ExpectedEast(*c.family, s)), where);
        }
        for (int r = 0; r < kRegions; ++r) {
            if (!Reaches(*c.family, r)) continue;
            SCOPED_TRACE(kRegionName[r]);
            north[r].Expect("North", kForwardTolerance[r]);
            east[r].Expect("East", kForwardTolerance[r]);
        }
        ReportRegions(c.why + " North", north);
        ReportRegions(c.why + " East", east);
    }
}

TEST(GridToGeoOracle, ExactGridCoordinatesReturnThePointOnTheGround)
{
    PrintHeading("GridToGeo of exact grid coordinates, error on the ground (m)");
    for (const GridCase& c : AllGridCases()) {
        SCOPED_TRACE(c.why);
        TGeo geo;
        const TDatum datum = DatumOn(*c.ellipsoid);
        geo.Datum = &datum;
        c.family->SelectOn(geo);
        std::array<Worst, kRegions> ground;
        StatusCheck status;
        int rejected = 0;
        for (const Sample& s : SamplesOf(c)) {
            const long double north = ExpectedNorth(*c.family, s);
            const long double east = ExpectedEast(*c.family, s);
            const std::string where = Point(s.lat, s.lon);
            // The window rejects northings and eastings outside it (a user false northing of
            // 5000000 m leaves out the high latitudes); points within a metre of a bound are
            // left out, since the series may put them on either side.
            const TTipo_Coord& g = *geo.Grid;
            const auto near = [](long double v, long double bound) {
                return std::fabs(v - bound) < 1;
            };
            if (near(north, g.MinNorthing) || near(north, g.MaxNorthing) ||
                near(east, g.MinEasting) || near(east, g.MaxEasting))
                continue;
            int expected = 0;
            if (!(north >= g.MinNorthing && north <= g.MaxNorthing)) expected = 6;
            if (!(east >= g.MinEasting && east <= g.MaxEasting)) expected = 7;
            geo.GridToGeo(HemisphereOf(s.lat), north, east, c.cm);
            status.Expect(expected, geo.Status, where);
            if (expected != 0) {
                ++rejected;
                EXPECT_TRUE(geo.Lat == 0 && geo.Lon == 0) << "rejected but not zeroed: " << where;
                continue;
            }
            ground[RegionOf(s.offset)].Add(GroundError(*c.ellipsoid, s.lat, s.lon, geo.Lat,
                                                       geo.Lon),
                                           where);
        }
        for (int r = 0; r < kRegions; ++r) {
            if (!Reaches(*c.family, r)) continue;
            SCOPED_TRACE(kRegionName[r]);
            ground[r].Expect("GridToGeo", kInverseTolerance[r]);
        }
        ReportRegions(c.why + (rejected ? " (window cuts " + std::to_string(rejected) + ")" : ""),
                      ground);
    }
}

TEST(GridRoundTripOracle, GridToGeoOfGeoToGridReturnsThePoint)
{
    PrintHeading("GridToGeo(GeoToGrid(p)) against p, error on the ground (m)");
    for (const GridCase& c : AllGridCases()) {
        SCOPED_TRACE(c.why);
        TGeo geo;
        const TDatum datum = DatumOn(*c.ellipsoid);
        geo.Datum = &datum;
        c.family->SelectOn(geo);
        std::array<Worst, kRegions> ground;
        StatusCheck status;
        int rejected = 0;
        for (const Sample& s : SamplesOf(c)) {
            const std::string where = Point(s.lat, s.lon);
            geo.GeoToGrid(s.lat, s.lon, c.cm);
            const long double north = geo.North, east = geo.East;
            const TTipo_Coord& g = *geo.Grid;
            // Only points that the grid window takes back.
            if (!(north >= g.MinNorthing + 1 && north <= g.MaxNorthing - 1 &&
                  east >= g.MinEasting + 1 && east <= g.MaxEasting - 1)) {
                ++rejected;
                continue;
            }
            geo.GridToGeo(HemisphereOf(s.lat), north, east, c.cm);
            status.Expect(0, geo.Status, where);
            ground[RegionOf(s.offset)].Add(GroundError(*c.ellipsoid, s.lat, s.lon, geo.Lat,
                                                       geo.Lon),
                                           where);
        }
        for (int r = 0; r < kRegions; ++r) {
            if (!Reaches(*c.family, r)) continue;
            SCOPED_TRACE(kRegionName[r]);
            ground[r].Expect("round trip", kInverseTolerance[r]);
        }
        ReportRegions(c.why + (rejected ? " (window cuts " + std::to_string(rejected) + ")" : ""),
                      ground);
    }
}

// Convergence and scale are held by two regions: within 3 degrees and from 3 to 4.
int WideRegionOf(long double offset) { return offset <= 3 ? 0 : 1; }

TEST(MeridianConvergenceOracle, MatchesGeographicLibGamma)
{
    constexpr long double kTolerance[2] = {1e-7L, 3e-7L};  // degrees
    std::printf("  MeridianConvergence against gamma (degrees)\n  %-62s | %10s | %10s\n", "case",
                "<=3", "<=4");
    for (const GridCase& c : AllGridCases()) {
        SCOPED_TRACE(c.why);
        TGeo geo;
        const TDatum datum = DatumOn(*c.ellipsoid);
        geo.Datum = &datum;
        c.family->SelectOn(geo);
        Worst worst[2];
        StatusCheck status;
        for (const Sample& s : SamplesOf(c)) {
            const std::string where = Point(s.lat, s.lon);
            geo.MeridianConvergence(s.lat, s.lon, c.cm);
            status.Expect(0, geo.Status, where);
            worst[WideRegionOf(s.offset)].Add(std::fabs(geo.Convergence - s.gamma), where);
        }
        worst[0].Expect("Convergence <= 3", kTolerance[0]);
        if (c.family->Reach() > 3) worst[1].Expect("Convergence <= 4", kTolerance[1]);
        Report(c.why, {&worst[0], &worst[1]});
    }
}

TEST(PointScaleFactorOracle, MatchesGeographicLibScale)
{
    constexpr long double kTolerance[2] = {1.2e-5L, 2e-5L};
    std::printf("  PointScaleFactor against k\n  %-62s | %10s | %10s\n", "case", "<=3", "<=4");
    for (const GridCase& c : AllGridCases()) {
        SCOPED_TRACE(c.why);
        TGeo geo;
        const TDatum datum = DatumOn(*c.ellipsoid);
        geo.Datum = &datum;
        c.family->SelectOn(geo);
        Worst worst[2];
        for (const Sample& s : SamplesOf(c)) {
            geo.PointScaleFactor(s.lat, s.lon, c.cm);
            worst[WideRegionOf(s.offset)].Add(std::fabs(geo.ScaleFactor - s.k),
                                              Point(s.lat, s.lon));
        }
        worst[0].Expect("ScaleFactor <= 3", kTolerance[0]);
        if (c.family->Reach() > 3) worst[1].Expect("ScaleFactor <= 4", kTolerance[1]);
        Report(c.why, {&worst[0], &worst[1]});
    }
}

// The meridian arc is the northing of the exact projection on its central meridian with
// scale 1.
TEST(MeridianArcOracle, MatchesExactNorthingOnTheCentralMeridian)
{
    std::printf("  MeridianArc against exact TM northing at lon = cm, k0 = 1 (m)\n");
    for (const Ellipsoid& e : kEllipsoids) {
        SCOPED_TRACE(e.name);
        const GeographicLib::TransverseMercatorExact tm(e.a, e.f(), 1.0);
        const long double a = e.a;
        const long double b = a - e.F() * a;
        const long double ecc = std::sqrt(a * a - b * b) / a;
        Worst worst;
        for (int i = 0; i <= 656; ++i) {
            const double lat = -80.0 + 0.25 * i;
            double x = 0, y = 0;
            tm.Forward(0.0, lat, 0.0, x, y);
            worst.Add(std::fabs(TGeo::MeridianArc(a, lat, ecc) - y), Point(lat, 0));
        }
        worst.Expect("MeridianArc", 1e-6L);
        Report(std::string(e.name) + " lat -80..84", {&worst});
    }
}

// Beyond 4 degrees the series error grows quickly with the offset, so a wide user zone is
// held there by round trips alone: the 14-degree zone takes points out to 8 degrees, the last
// degree under warning 1. The forward error against the exact projection is printed beside
// them for the record.
TEST(GridRoundTripOracle, WideUserZoneBeyondFourDegrees)
{
    constexpr int kBands = 4;  // 4..5, 5..6, 6..7, 7..8 degrees
    // Ground error of the round trip: the sixth-order series leaves centimetres here, a slipped
    // term of the fifth or sixth order metres.
    constexpr long double kTolerance[kBands] = {3e-2L, 0.1L, 0.3L, 0.6L};
    std::printf(
        "  Round trip on a 14-degree user zone, error on the ground (m), and the forward "
        "error against exact TM (not held)\n  %-62s | %10s | %10s | %10s | %10s\n",
        "case", "4..5", "5..6", "6..7", "7..8");
    for (const Ellipsoid& e : kEllipsoids)
        for (long double cm : {-49.0L, 21.0L}) {  // (cm - 7) / 14 whole
            char why[96];
            std::snprintf(why, sizeof why, "%s %s cm %.1Lf", e.name, kUser14.name, cm);
            SCOPED_TRACE(why);
            const GeographicLib::TransverseMercatorExact tm(e.a, e.f(),
                                                            static_cast<double>(kUser14.k0));
            TGeo geo;
            const TDatum datum = DatumOn(e);
            geo.Datum = &datum;
            kUser14.SelectOn(geo);
            Worst round_trip[kBands], forward[kBands];
            StatusCheck status;
            for (double lat : Latitudes())
                for (int j = 1; j <= 40; ++j) {
                    const long double d = 4 + 0.1L * j;
                    for (int side : {-1, 1}) {
                        const double lon = static_cast<double>(cm + side * d);
                        const long double offset = std::fabs(static_cast<long double>(lon) - cm);
                        const std::string where = Point(lat, lon);
                        const int band = offset <= 5 ? 0 : offset <= 6 ? 1 : offset <= 7 ? 2 : 3;
                        geo.GeoToGrid(lat, lon, cm);
                        status.Expect(offset <= 7 ? 0 : 1, geo.Status, where);
                        Sample s{};
                        s.lat = lat;
                        tm.Forward(static_cast<double>(cm), lat, lon, s.x, s.y, s.gamma, s.k);
                        forward[band].Add(std::fmax(std::fabs(geo.North -
                                                              ExpectedNorth(kUser14, s)),
                                                    std::fabs(geo.East - ExpectedEast(kUser14, s))),
                                          where);
                        const TTipo_Coord& g = *geo.Grid;
                        // Near the equator 8 degrees lie beyond the 111000 m-per-degree window.
                        if (!(geo.East >= g.MinEasting + 1 && geo.East <= g.MaxEasting - 1))
                            continue;
                        geo.GridToGeo(HemisphereOf(lat), geo.North, geo.East, cm);
                        status.Expect(0, geo.Status, where);
                        round_trip[band].Add(GroundError(e, lat, lon, geo.Lat, geo.Lon), where);
                    }
                }
            for (int b = 0; b < kBands; ++b) round_trip[b].Expect("round trip", kTolerance[b]);
            Report(why, {&round_trip[0], &round_trip[1], &round_trip[2], &round_trip[3]});
            Report(std::string(why) + " forward, not held",
                   {&forward[0], &forward[1], &forward[2], &forward[3]});
        }
}

}  // namespace
