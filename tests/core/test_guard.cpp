// The floating-point guard: faults become status 99 with zeroed results, and the caller's own
// floating-point flags are left as they were.
#include "core/FloatingPointGuard.h"
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

using namespace engine_test;

// The computations store into a volatile sink, as the engine's store into its fields: a value
// that nothing outside reads could be computed after the flags were tested.
volatile long double sink = 0;

TEST(FaultedDuring, CatchesFlagsAndNonFiniteResults)
{
    volatile long double zero = 0, big = 1e4000L;
    const long double finite = 1;
    EXPECT_TRUE(FaultedDuring([&] { sink = 1 / zero; }, finite)) << "division by zero";
    EXPECT_TRUE(FaultedDuring([&] { sink = std::sqrt(-1 - zero); }, finite)) << "invalid";
    EXPECT_TRUE(FaultedDuring([&] { sink = big * big; }, finite)) << "overflow";
    EXPECT_TRUE(FaultedDuring([&] { sink = std::atan(1 / zero); }, finite))
        << "a finite result after a division by zero";
    long double r = 0;
    EXPECT_TRUE(FaultedDuring([&] { r = NAN; }, r)) << "a quiet NaN result";
    EXPECT_TRUE(FaultedDuring([&] { r = INFINITY; }, finite, r)) << "an infinite result";
    EXPECT_FALSE(FaultedDuring([&] { sink = 1 / (zero + 3); }, finite)) << "an inexact result";
    EXPECT_FALSE(FaultedDuring([&] { sink = 1e-4940L * (zero + 1e-10L); }, finite)) << "underflow";
}

TEST(FaultedDuring, LeavesTheCallersFlagsAsTheyWere)
{
    volatile long double zero = 0;
    const long double r = 0;
    std::feclearexcept(FE_ALL_EXCEPT);
    (void)FaultedDuring([&] { sink = 1 / zero; }, r);
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO), 0);

    std::feraiseexcept(FE_INVALID);
    EXPECT_FALSE(FaultedDuring([&] { sink = 2 + zero; }, r))
        << "a flag raised before is not a fault";
    EXPECT_NE(std::fetestexcept(FE_INVALID), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(Guard, AFaultingRoutineLeavesTheEngineUsable)
{
    Engine e;
    e->CartesianToGeo(0, 0, 6356752.314L);
    ASSERT_EQ(e->Status, 99);
    e->GeoToGrid(-22.5L, -47, -45);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->North, 7510453.818L, 1e-3);
}

TEST(Guard, GridRoutinesReportFaultsOfADegenerateDatum)
{
    // A flattening of 1 has b = 0: the second eccentricity divides by zero.
    TDatum flat("flat", 6378137, 1, 0, 0, 0);
    Engine e(flat);
    e->GeoToGrid(-10, -45, -45);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->North, 0);
    EXPECT_EQ(e->East, 0);
    EXPECT_EQ(e->Zone, 23);  // the zone is still given
    e->GridToGeo(1, 8000000, 500000, -45);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->Lat, 0);
    EXPECT_EQ(e->Lon, 0);
    e->MeridianConvergence(-10, -46, -45);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->Convergence, 0);
}

TEST(Guard, AnOverflowingDatumChangeIsAFault)
{
    Engine e(Wgs84());
    e->ChangeDatum(Sad69(), 45, 45, 1e4932L);  // X^2 + Y^2 overflows
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->ShiftLat, 0);
    EXPECT_EQ(e->ShiftLon, 0);
    EXPECT_EQ(e->ShiftH, 0);
}
