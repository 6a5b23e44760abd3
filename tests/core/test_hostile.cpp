// The engine under hostile numbers: NaN, infinities, subnormals, 1E4000 and the largest long
// double in every input of every routine, the current datum's and grid record's fields among
// them. Each call must return (the footpoint iteration is bounded), leave only finite results,
// and either accept the point or reject it with an error status and zeroed results; a NaN or an
// infinity is never accepted unless the routine does not read that input at all.
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace engine_test;

namespace {

using Limits = std::numeric_limits<long double>;

struct HostileValue {
    const char* name;
    long double value;
};

const HostileValue hostileValues[] = {
    {"quiet NaN", Limits::quiet_NaN()},
    {"negative NaN", -Limits::quiet_NaN()},
    {"signalling NaN", Limits::signaling_NaN()},
    {"infinity", Limits::infinity()},
    {"minus infinity", -Limits::infinity()},
    {"smallest subnormal", Limits::denorm_min()},
    {"negative subnormal", -Limits::denorm_min()},
    {"1E4000", 1e4000L},
    {"-1E4000", -1e4000L},
    {"largest long double", Limits::max()},
    {"minus the largest long double", -Limits::max()},
};

constexpr bool isAccepted(std::int32_t status)
{
    return status == GeoStatus::Ok || status == GeoStatus::OutsideZone ||
           status == GeoStatus::NonStandardMeridian || status == GeoStatus::LocalPlaneBeyond50Km;
}

// The inputs of one call: the routine's own arguments, then the current datum and the grid
// record it works on, so that every value the routine reads can be made hostile.
struct Inputs {
    std::vector<long double> arguments;
    long double A = 6378137, F = 1 / 298.257223563L, Dx = 0, Dy = 0, Dz = 0;
    long double K0 = 0.9996L, FalseEasting = 500000, FalseNorthing = 10000000, ZoneWidth = 6;

    std::size_t size() const { return arguments.size() + 9; }
    long double& operator[](std::size_t i)
    {
        if (i < arguments.size()) return arguments[i];
        long double* fields[] = {&A,        &F, &Dx, &Dy, &Dz, &K0, &FalseEasting, &FalseNorthing,
                                 &ZoneWidth};
        return *fields[i - arguments.size()];
    }
    std::string nameOf(std::size_t i, const std::vector<const char*>& argumentNames) const
    {
        static const char* fieldNames[] = {"datum A",           "datum F",
                                           "datum Dx",          "datum Dy",
                                           "datum Dz",          "grid K0",
                                           "grid FalseEasting", "grid FalseNorthing",
                                           "grid ZoneWidth"};
        return i < argumentNames.size() ? argumentNames[i] : fieldNames[i - argumentNames.size()];
    }
};

// A routine with ordinary inputs and the result fields it writes.
struct Routine {
    const char* name;
    std::vector<const char*> argumentNames;
    std::vector<long double> ordinary;
    std::function<void(TGeo&, const std::vector<long double>&)> call;
    std::vector<long double TGeo::*> results;
    bool hasStatus = true;
    // The result kept on an error, where the routine documents one.
    std::function<bool(std::int32_t status, std::size_t result)> keptOnError =
        [](std::int32_t, std::size_t) { return false; };
};

const TDatum sad69 = Sad69();

const std::vector<Routine> routines = {
    {"GeoToGrid",
     {"Lat", "Lon", "CentralMeridian"},
     {-22.5L, -47, -45},
     [](TGeo& g, const auto& a) { g.GeoToGrid(a[0], a[1], a[2]); },
     {&TGeo::North, &TGeo::East}},
    {"GridToGeo",
     {"North", "East", "CentralMeridian"},
     {7510453.818L, 294260.069L, -45},
     [](TGeo& g, const auto& a) { g.GridToGeo(1, a[0], a[1], a[2]); },
     {&TGeo::Lat, &TGeo::Lon}},
    {"MeridianConvergence",
     {"Lat", "Lon", "CentralMeridian"},
     {-22.5L, -47, -45},
     [](TGeo& g, const auto& a) { g.MeridianConvergence(a[0], a[1], a[2]); },
     {&TGeo::Convergence}},
    {"PointScaleFactor",
     {"Lat", "Lon", "CentralMeridian"},
     {-22.5L, -47, -45},
     [](TGeo& g, const auto& a) { g.PointScaleFactor(a[0], a[1], a[2]); },
     {&TGeo::ScaleFactor},
     false},
    {"GeoToCartesian",
     {"Lat", "Lon", "H"},
     {-22.5L, -47, 700},
     [](TGeo& g, const auto& a) { g.GeoToCartesian(a[0], a[1], a[2]); },
     {&TGeo::CartX, &TGeo::CartY, &TGeo::CartZ}},
    {"CartesianToGeo",
     {"X", "Y", "Z"},
     {4010272.5L, -4300000, -2430000},
     [](TGeo& g, const auto& a) { g.CartesianToGeo(a[0], a[1], a[2]); },
     {&TGeo::Lat, &TGeo::Lon, &TGeo::Height}},
    {"ChangeDatum",
     {"Lat", "Lon", "H", "target A", "target F", "target Dx", "target Dy", "target Dz"},
     {-22.5L, -47, 700, sad69.A, sad69.F, sad69.Dx, sad69.Dy, sad69.Dz},
     [](TGeo& g, const auto& a) {
         g.ChangeDatum(TDatum("target", a[3], a[4], a[5], a[6], a[7]), a[0], a[1], a[2]);
     },
     {&TGeo::ShiftLat, &TGeo::ShiftLon, &TGeo::ShiftH}},
    {"GeoToLocal",
     {"OriginLat", "OriginLon", "PlaneHeight", "OriginX", "OriginY", "Lat", "Lon"},
     {-22.5L, -47, 700, 150000, 250000, -22.6L, -47.1L},
     [](TGeo& g, const auto& a) {
         g.SetLocalOrigin(a[0], a[1], a[2], a[3], a[4]);
         g.GeoToLocal(a[5], a[6]);
     },
     {&TGeo::LocalX, &TGeo::LocalY, &TGeo::LocalConvergence},
     true,
     // Beyond 80 km the convergence of the computation stays; only the plane point is zeroed.
     [](std::int32_t status, std::size_t result) {
         return status == GeoStatus::LocalPlaneBeyond80Km && result == 2;
     }},
    {"LocalToGeo",
     {"OriginLat", "OriginLon", "PlaneHeight", "OriginX", "OriginY", "X", "Y"},
     {-22.5L, -47, 700, 150000, 250000, 160000, 240000},
     [](TGeo& g, const auto& a) {
         g.SetLocalOrigin(a[0], a[1], a[2], a[3], a[4]);
         g.LocalToGeo(a[5], a[6]);
     },
     {&TGeo::Lat, &TGeo::Lon}},
};

// Results of a previous point in every field, so that a field the call leaves alone shows.
constexpr long double kPreviousPoint = 12345.678L;

struct Outcome {
    std::int32_t status;
    std::vector<long double> results;
};

Outcome run(const Routine& routine, Inputs inputs)
{
    TDatum datum("current", inputs.A, inputs.F, inputs.Dx, inputs.Dy, inputs.Dz);
    TGeo engine;
    engine.Datum = &datum;
    engine.GridOutro.SetParameters(inputs.K0, inputs.FalseEasting, inputs.FalseNorthing,
                                   inputs.ZoneWidth);
    engine.Grid = &engine.GridOutro;
    for (const auto field : routine.results) engine.*field = kPreviousPoint;
    routine.call(engine, inputs.arguments);
    Outcome outcome{engine.Status, {}};
    for (const auto field : routine.results) outcome.results.push_back(engine.*field);
    return outcome;
}

}  // namespace

TEST(HostileNumbers, TheOrdinaryInputsAreAccepted)
{
    for (const auto& routine : routines) {
        SCOPED_TRACE(routine.name);
        const Outcome outcome = run(routine, Inputs{routine.ordinary});
        EXPECT_TRUE(isAccepted(outcome.status)) << outcome.status;
        for (const long double r : outcome.results) EXPECT_NE(r, kPreviousPoint);
    }
}

TEST(HostileNumbers, EveryInputOfEveryRoutineIsAcceptedFinitelyOrRejectedWithZeros)
{
    const auto start = std::chrono::steady_clock::now();
    for (const auto& routine : routines) {
        const Outcome ordinary = run(routine, Inputs{routine.ordinary});
        for (std::size_t i = 0; i < Inputs{routine.ordinary}.size(); ++i) {
            for (const auto& hostile : hostileValues) {
                Inputs inputs{routine.ordinary};
                inputs[i] = hostile.value;
                SCOPED_TRACE(std::string(routine.name) + ", " +
                             inputs.nameOf(i, routine.argumentNames) + " = " + hostile.name);
                const Outcome outcome = run(routine, inputs);
                for (const long double r : outcome.results) ASSERT_TRUE(std::isfinite(r)) << r;
                if (routine.hasStatus && !isAccepted(outcome.status)) {
                    for (std::size_t k = 0; k < outcome.results.size(); ++k) {
                        if (!routine.keptOnError(outcome.status, k)) {
                            EXPECT_EQ(outcome.results[k], 0) << "result " << k;
                        }
                    }
                    EXPECT_TRUE((outcome.status >= 2 && outcome.status <= 10) ||
                                outcome.status == GeoStatus::InternalFault)
                        << outcome.status;
                }
                // A NaN or an infinity that the routine reads cannot give an accepted point. A zone
                // of infinite width has no edges: the point is computed, and the meridian, a
                // quotient of the width, is reported as not standard.
                const bool edgelessZone =
                    inputs.nameOf(i, routine.argumentNames) == "grid ZoneWidth" &&
                    std::isinf(hostile.value) && outcome.status == GeoStatus::NonStandardMeridian;
                const bool unread =
                    (outcome.status == ordinary.status && outcome.results == ordinary.results) ||
                    edgelessZone;
                bool zeroed = true;
                for (std::size_t k = 0; k < outcome.results.size(); ++k)
                    zeroed = zeroed &&
                             (outcome.results[k] == 0 || routine.keptOnError(outcome.status, k));
                if (!std::isfinite(hostile.value) && !unread) {
                    EXPECT_TRUE(zeroed && (!routine.hasStatus || outcome.status != 0))
                        << "accepted with status " << outcome.status;
                }
            }
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "some call took far longer than a computation does";
}

// The geodetic point's own latitude and longitude beyond any range are the latitude and
// longitude checks' to report, by their documented codes.
TEST(HostileNumbers, ALatitudeOrLongitudeBeyondRangeIsReportedByItsCode)
{
    const struct {
        const char* routine;
        std::size_t argument;
        std::int32_t status;
    } cases[] = {
        {"GeoToGrid", 0, GeoStatus::InvalidLatitude},
        {"MeridianConvergence", 0, GeoStatus::InvalidLatitude},
        {"MeridianConvergence", 1, GeoStatus::InvalidLongitude},
        {"GeoToCartesian", 0, GeoStatus::InvalidLatitude},
        {"GeoToCartesian", 1, GeoStatus::InvalidLongitude},
        {"ChangeDatum", 0, GeoStatus::InvalidLatitude},
        {"ChangeDatum", 1, GeoStatus::InvalidLongitude},
        {"GeoToLocal", 5, GeoStatus::InvalidLatitude},
        {"GeoToLocal", 6, GeoStatus::InvalidLongitude},
    };
    for (const auto& c : cases) {
        const auto& routine =
            *std::find_if(routines.begin(), routines.end(),
                          [&](const Routine& r) { return r.name == std::string(c.routine); });
        for (const auto& hostile : hostileValues) {
            if (std::fabs(hostile.value) < 1) continue;  // a subnormal is an ordinary angle
            SCOPED_TRACE(std::string(c.routine) + " " + routine.argumentNames[c.argument] + " = " +
                         hostile.name);
            Inputs inputs{routine.ordinary};
            inputs[c.argument] = hostile.value;
            EXPECT_EQ(run(routine, inputs).status, c.status);
        }
    }
}

// The grid coordinates beyond the record's window are the northing and easting checks'.
TEST(HostileNumbers, AGridPointBeyondRangeIsReportedByItsCode)
{
    Engine e;
    for (const auto& hostile : hostileValues) {
        if (std::fabs(hostile.value) < 1) continue;
        SCOPED_TRACE(hostile.name);
        e->GridToGeo(1, hostile.value, 294260.069L, -45);
        EXPECT_EQ(e->Status, GeoStatus::InvalidNorthing);
        e->GridToGeo(1, 7510453.818L, hostile.value, -45);
        EXPECT_EQ(e->Status, GeoStatus::InvalidEasting);
    }
}

// A central meridian no grid has: GeoToGrid finds the point far outside the zone (2, then 3
// for a meridian that is not standard, the last failing check's code) and computes nothing;
// GridToGeo refuses the longitude it would give.
TEST(HostileNumbers, ACentralMeridianNoGridHasComputesNothing)
{
    Engine e;
    for (const auto& hostile : hostileValues) {
        if (std::fabs(hostile.value) < 1) continue;
        SCOPED_TRACE(hostile.name);
        e->GeoToGrid(-22.5L, -47, hostile.value);
        EXPECT_TRUE(e->Status == GeoStatus::FarOutsideZone ||
                    e->Status == GeoStatus::NonStandardMeridian)
            << e->Status;
        EXPECT_EQ(e->North, 0);
        EXPECT_EQ(e->East, 0);
        e->GridToGeo(1, 7510453.818L, 294260.069L, hostile.value);
        EXPECT_FALSE(isAccepted(e->Status)) << e->Status << ", longitude " << e->Lon;
        EXPECT_EQ(e->Lat, 0);
        EXPECT_EQ(e->Lon, 0);
    }
}

TEST(HostileNumbers, TheMeridianArcReturnsForAnyInput)
{
    for (const auto& hostile : hostileValues) {
        SCOPED_TRACE(hostile.name);
        const long double arc = TGeo::MeridianArc(6378137, hostile.value, 0.0818191908426L);
        EXPECT_TRUE(std::isfinite(hostile.value) || std::isnan(arc)) << arc;
        const long double onAxis = TGeo::MeridianArc(hostile.value, 45, 0.0818191908426L);
        EXPECT_TRUE(std::isfinite(hostile.value) || !std::isfinite(onAxis)) << onAxis;
    }
}

TEST(HostileNumbers, TheZoneOfAnyPointIsAZoneOrZeroAndALetterOrBlank)
{
    Engine e;
    for (const auto& lat : hostileValues) {
        for (const auto& lon : hostileValues) {
            e->ZoneOf(lat.value, lon.value);
            EXPECT_TRUE(e->ZoneLetter == ' ' || (e->ZoneLetter >= 'C' && e->ZoneLetter <= 'X'));
        }
        e->ZoneOf(lat.value, -47);
        EXPECT_EQ(e->Zone, 23);
    }
}
