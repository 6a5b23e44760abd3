// Transverse Mercator grid: the worked figures, the zone and window edges, the status order and
// the refusals of points the series cannot carry.
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine_test;

TEST(GeoToGrid, WorkedFiguresOnWgs84)
{
    const struct {
        const char* why;
        long double lat, lon, cm, north, east;
    } cases[] = {
        {"southern hemisphere, west of the meridian", -22.5L, -47, -45, 7510453.818L, 294260.069L},
        {"northern hemisphere, east of the meridian", 45, 9.5L, 9, 4983071.988L, 539407.649L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e;
        e->GeoToGrid(c.lat, c.lon, c.cm);
        EXPECT_EQ(e->Status, 0);
        EXPECT_NEAR(e->North, c.north, 1e-3);
        EXPECT_NEAR(e->East, c.east, 1e-3);
    }
}

TEST(MeridianConvergence, WorkedFigureOnWgs84)
{
    Engine e;
    e->MeridianConvergence(-22.5L, -47, -45);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->Convergence, 0.76564L, 5e-6);
    e->MeridianConvergence(-22.5L, -43, -45);  // east of the meridian: the opposite sign
    EXPECT_NEAR(e->Convergence, -0.76564L, 5e-6);
}

TEST(MeridianConvergence, ChecksLatitudeLongitudeAndDatumInOrder)
{
    Engine e;
    e->MeridianConvergence(-22.5L, -47, -45);
    e->MeridianConvergence(84.0000001L, -47, -45);
    EXPECT_EQ(e->Status, 4);
    EXPECT_EQ(e->Convergence, 0);
    e->MeridianConvergence(-22.5L, -47, -45);
    e->MeridianConvergence(-22.5L, 180.1L, -45);
    EXPECT_EQ(e->Status, 5);
    EXPECT_EQ(e->Convergence, 0);
}

TEST(GeoToGrid, TheEquatorCountsAsSouthern)
{
    Engine e;
    e->GeoToGrid(0, -45, -45);
    EXPECT_EQ(e->Status, 0);
    EXPECT_EQ(e->North, 10000000);
    EXPECT_EQ(e->East, 500000);
    EXPECT_EQ(e->Zone, 23);
    EXPECT_EQ(e->ZoneLetter, 'N');
}

TEST(GeoToGrid, ZoneExcess)
{
    const struct {
        const char* why;
        long double lon;
        int status;
        bool computed;
    } cases[] = {
        {"on the zone edge", -48, 0, true},
        {"just beyond the edge: warning", -48.0001L, 1, true},
        {"one degree beyond the edge: still a warning", -49, 1, true},
        {"past one degree beyond: error", -49.0001L, 2, false},
        {"the same to the east", -40.9999L, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e;
        e->GeoToGrid(-10, c.lon, -45);
        EXPECT_EQ(e->Status, c.status);
        if (c.computed) {
            EXPECT_GT(e->North, 8000000);
            EXPECT_GT(e->East, 0);
        } else {
            EXPECT_EQ(e->North, 0);
            EXPECT_EQ(e->East, 0);
        }
    }
}

TEST(CentralMeridian, StandardMeridiansOfEachFamily)
{
    const struct {
        const char* why;
        Family family;
        long double cm;
        bool standard;
    } cases[] = {
        {"UTM -45", Family::Utm, -45, true},  {"UTM -44", Family::Utm, -44, false},
        {"UTM 177", Family::Utm, 177, true},  {"UTM -177", Family::Utm, -177, true},
        {"UTM 3", Family::Utm, 3, true},      {"UTM 0", Family::Utm, 0, false},
        {"RTM -45", Family::Rtm, -45, true},  {"RTM -43", Family::Rtm, -43, true},
        {"RTM -44", Family::Rtm, -44, false}, {"LTM -45.5", Family::Ltm, -45.5L, true},
        {"LTM -45", Family::Ltm, -45, false}, {"LTM 0.5", Family::Ltm, 0.5L, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e(Wgs84(), c.family);
        e->GeoToGrid(-20, c.cm, c.cm);
        EXPECT_EQ(e->Status, c.standard ? 0 : 3);
        EXPECT_EQ(e->East, e->Grid->FalseEasting);  // computed in either case
        e->GridToGeo(1, 7800000, e->Grid->FalseEasting, c.cm);
        EXPECT_EQ(e->Status, c.standard ? 0 : 3);
        EXPECT_EQ(e->Lon, c.cm);
    }
}

TEST(GeoToGrid, AZoneErrorThenANonStandardMeridianReports3ButComputesNothing)
{
    Engine e;
    e->GeoToGrid(-10, -50, -44);
    EXPECT_EQ(e->Status, 3);
    EXPECT_EQ(e->North, 0);
    EXPECT_EQ(e->East, 0);
}

TEST(GeoToGrid, LatitudeAndLongitudeBounds)
{
    const struct {
        const char* why;
        long double lat, lon, cm;
        int status;
        char band;
    } cases[] = {
        {"84 passes, above the last band", 84, -45, -45, 0, ' '},
        {"beyond 84", 84.0000001L, -45, -45, 4, ' '},
        {"-80 passes, band C", -80, -45, -45, 0, 'C'},
        {"below -80", -80.0000001L, -45, -45, 4, ' '},
        {"longitude 180 passes", 10, 180, 177, 0, 'P'},
        {"longitude beyond 180", 10, 180.0000001L, 177, 5, 'P'},
        {"a NaN latitude", NAN, -45, -45, 4, ' '},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e;
        e->GeoToGrid(c.lat, c.lon, c.cm);
        EXPECT_EQ(e->Status, c.status);
        EXPECT_EQ(e->ZoneLetter, c.band);
        if (c.status != 0) {
            EXPECT_EQ(e->North, 0);
            EXPECT_EQ(e->East, 0);
        }
    }
}

TEST(GeoToGrid, ANaNLongitudeOrMeridianFailsEveryCheckOnIt)
{
    Engine e;
    e->GeoToGrid(-10, NAN, -45);  // zone checks fail (1, 2), then the longitude check (5)
    EXPECT_EQ(e->Status, 5);
    EXPECT_EQ(e->North, 0);
    EXPECT_EQ(e->Zone, 0);
    e->GeoToGrid(-10, -45, NAN);  // zone checks (1, 2) then the meridian test (3)
    EXPECT_EQ(e->Status, 3);
    EXPECT_EQ(e->North, 0);
    EXPECT_EQ(e->East, 0);
}

TEST(GeoToGrid, UpdatesZoneAndBandEvenWhenItRejectsThePoint)
{
    Engine e;
    e->GeoToGrid(-10, -30, -45);
    EXPECT_EQ(e->Status, 2);
    EXPECT_EQ(e->Zone, 26);
    EXPECT_EQ(e->ZoneLetter, 'L');
}

TEST(ZoneOf, ZonesOfTheFamilyWidthAndBandsOfEightDegrees)
{
    const struct {
        const char* why;
        Family family;
        long double lat, lon;
        int zone;
        char band;
    } cases[] = {
        {"longitude 180", Family::Utm, 0, 180, 61, 'N'},
        {"longitude -180", Family::Utm, 0, -180, 1, 'N'},
        {"LTM counts one-degree zones", Family::Ltm, 0, -45.5L, 135, 'N'},
        {"RTM counts two-degree zones", Family::Rtm, 0, -45, 68, 'N'},
        {"just south of the equator", Family::Utm, -0.0001L, -45, 23, 'M'},
        {"-8 starts band M", Family::Utm, -8, 0, 31, 'M'},
        {"72 starts band X", Family::Utm, 72, 0, 31, 'X'},
        {"80 and above: blank", Family::Utm, 80, 0, 31, ' '},
        {"below -80: blank", Family::Utm, -80.5L, 0, 31, ' '},
        // Closer to the edge than a double resolves: still the zone and band it lies in.
        {"a hair west of -42", Family::Utm, 0, -42 - 1e-16L, 23, 'N'},
        {"a hair south of -8", Family::Utm, -8 - 1e-16L, 0, 31, 'L'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e(Wgs84(), c.family);
        e->Status = 77;
        e->ZoneOf(c.lat, c.lon);
        EXPECT_EQ(e->Zone, c.zone);
        EXPECT_EQ(e->ZoneLetter, c.band);
        EXPECT_EQ(e->Status, 77);
    }
}

TEST(ZoneOf, AZoneWithNoFiniteOr32BitNumberIsZero)
{
    Engine e(Wgs84(), Family::Outro);
    e->GridOutro.SetParameters(0.9996L, 500000, 10000000, 0);
    e->ZoneOf(10, -45);
    EXPECT_EQ(e->Zone, 0);
    e->GridOutro.SetParameters(0.9996L, 500000, 10000000, 1e-12L);
    e->ZoneOf(10, -45);
    EXPECT_EQ(e->Zone, 0);
    e->ZoneOf(NAN, NAN);
    EXPECT_EQ(e->Zone, 0);
    EXPECT_EQ(e->ZoneLetter, ' ');
}

TEST(GeoToGrid, AUserZoneWidthOfZeroIsANonStandardMeridianNotAFault)
{
    Engine e(Wgs84(), Family::Outro);
    e->GridOutro.SetParameters(0.9996L, 500000, 10000000, 0);
    e->GeoToGrid(-10, -45, -45);
    EXPECT_EQ(e->Status, 3);
    EXPECT_EQ(e->East, 500000);
    EXPECT_GT(e->North, 8000000);
    e->GridToGeo(1, 8000000, 500000, -45);
    EXPECT_EQ(e->Status, 3);
}

TEST(GridToGeo, OnTheFalseNorthingInTheSouthIsTheEquator)
{
    Engine e;
    e->GridToGeo(1, 10000000, 500000, -45);
    EXPECT_EQ(e->Status, 0);
    EXPECT_EQ(e->Lat, 0);
    EXPECT_TRUE(std::signbit(e->Lat));  // the southern latitude is negated
    EXPECT_EQ(e->Lon, -45);
}

TEST(GridToGeo, NorthingAndEastingWindows)
{
    const struct {
        const char* why;
        Family family;
        int hemisphere;
        long double north, east;
        int status;
    } cases[] = {
        {"UTM minimum easting", Family::Utm, 1, 7000000, 56000, 0},
        {"UTM maximum easting", Family::Utm, 1, 7000000, 944000, 0},
        {"below the easting window", Family::Utm, 1, 7000000, 55999.999L, 7},
        {"above the easting window", Family::Utm, 1, 7000000, 944000.001L, 7},
        {"LTM minimum easting", Family::Ltm, 1, 7000000, 33500, 0},
        {"LTM maximum easting", Family::Ltm, 1, 7000000, 366500, 0},
        {"RTM window", Family::Rtm, 1, 7000000, 177999.999L, 7},
        {"northing 0 in the north", Family::Utm, 0, 0, 500000, 0},
        {"a negative northing", Family::Utm, 0, -0.001L, 500000, 6},
        {"past the northing window", Family::Utm, 1, 10111000.001L, 500000, 6},
        {"northing then easting: the easting wins", Family::Utm, 1, -1, 1, 7},
        {"a NaN easting", Family::Utm, 1, 7000000, NAN, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const long double cm = c.family == Family::Ltm ? -45.5L : -45;
        Engine e(Wgs84(), c.family);
        e->GridToGeo(1, 7000000, e->Grid->FalseEasting + 1000, cm);  // leaves a point in Lat, Lon
        ASSERT_NE(e->Lat, 0);
        e->GridToGeo(c.hemisphere, c.north, c.east, cm);
        EXPECT_EQ(e->Status, c.status);
        if (c.status != 0) {
            EXPECT_EQ(e->Lat, 0);
            EXPECT_EQ(e->Lon, 0);
        }
    }
}

TEST(GridToGeo, ANorthingPastThePoleIsRefused)
{
    Engine e;
    e->GridToGeo(0, 10111000, 500000, -45);  // inside the window, but about 91 degrees north
    EXPECT_EQ(e->Status, 6);
    EXPECT_EQ(e->Lat, 0);
    EXPECT_EQ(e->Lon, 0);
    e->GridToGeo(0, 9990000, 500000, -45);  // still south of the pole
    EXPECT_EQ(e->Status, 0);
    EXPECT_GT(e->Lat, 89.8L);
}

TEST(GridToGeo, ALongitudeTheSeriesCannotReachIsRefused)
{
    Engine e(Wgs84(), Family::Ltm);
    e->GridToGeo(1, 3000, 170000, -45.5L);  // 9997 km south: the series diverges
    EXPECT_EQ(e->Status, 7);
    EXPECT_EQ(e->Lat, 0);
    EXPECT_EQ(e->Lon, 0);
}

TEST(GridToGeo, ReturnsTheStartingPointOfGeoToGrid)
{
    const struct {
        const char* why;
        Family family;
        long double lat, lon, cm;
    } cases[] = {
        {"west of a western meridian, south", Family::Utm, -22.5L, -47, -45},
        {"east of a western meridian, south", Family::Utm, -22.5L, -43.2L, -45},
        {"east of an eastern meridian, north", Family::Utm, 45, 9.5L, 9},
        {"west of an eastern meridian, north", Family::Utm, 45, 7.1L, 9},
        {"LTM near its meridian", Family::Ltm, -5.25L, 10.9L, 10.5L},
        {"RTM, high north", Family::Rtm, 70, 12.4L, 13},
        {"UTM, far south", Family::Utm, -79.9L, 170, 171},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e(Wgs84(), c.family);
        e->GeoToGrid(c.lat, c.lon, c.cm);
        ASSERT_EQ(e->Status, 0);
        e->GridToGeo(c.lat <= 0 ? 1 : 0, e->North, e->East, c.cm);
        ASSERT_EQ(e->Status, 0);
        EXPECT_LT(GroundDistance(c.lat, c.lon, e->Lat, e->Lon), 1e-4);
    }
}

TEST(GridToGeo, RoundTripInTheWarningZone)
{
    Engine e;
    e->GeoToGrid(30, -48.9L, -45);  // 3.9 degrees out: a warning, results computed
    EXPECT_EQ(e->Status, 1);
    e->GridToGeo(0, e->North, e->East, -45);
    EXPECT_EQ(e->Status, 0);
    EXPECT_LT(GroundDistance(30, -48.9L, e->Lat, e->Lon), 0.01);
}

TEST(PointScaleFactor, IsTheCentralScaleOnTheMeridianAndGrowsAwayFromIt)
{
    Engine e;
    e->Status = 5;
    e->PointScaleFactor(-22.5L, -45, -45);
    EXPECT_EQ(e->ScaleFactor, 0.9996L);
    EXPECT_EQ(e->Status, 5);
    e->PointScaleFactor(0, -48, -45);  // 1 / cos 3 degrees on the equator
    EXPECT_NEAR(e->ScaleFactor, 0.9996L / std::cos(3 * 3.14159265358979323846L / 180), 1e-15);
}

TEST(PointScaleFactor, WhereTheFormulaHasNoValueTheFactorIsZero)
{
    Engine e;
    e->Status = 2;
    e->PointScaleFactor(0, 45, -45);
    EXPECT_EQ(e->ScaleFactor, 0);
    EXPECT_EQ(e->Status, 2);
    e->PointScaleFactor(NAN, 0, 0);
    EXPECT_EQ(e->ScaleFactor, 0);
    EXPECT_EQ(e->Status, 2);
}

TEST(MeridianArc, IsZeroAtTheEquatorAndOddInLatitude)
{
    const long double e = std::sqrt((2 - 1 / 298.257223563L) / 298.257223563L);
    EXPECT_EQ(TGeo::MeridianArc(6378137, 0, e), 0);
    EXPECT_NEAR(TGeo::MeridianArc(6378137, -45, e), -TGeo::MeridianArc(6378137, 45, e), 1e-9);
    // The quarter meridian of WGS 84 is 10001965.729 m.
    EXPECT_NEAR(TGeo::MeridianArc(6378137, 90, e), 10001965.729L, 1e-3);
}
