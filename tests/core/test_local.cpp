// The local topographic plane: the worked figure, the origin, the 50 and 80 km classes in both
// directions and the refusals.
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine_test;

namespace {

constexpr long double kOriginLat = -22.540077144L;
constexpr long double kOriginLon = -47.032556624L;

Engine OnOrigin(long double planeHeight, long double originLat = kOriginLat,
                long double originLon = kOriginLon)
{
    Engine e;
    e->SetLocalOrigin(originLat, originLon, planeHeight, 150000, 250000);
    return e;
}

}  // namespace

TEST(GeoToLocal, WorkedFigure)
{
    Engine e = OnOrigin(700);
    e->GeoToLocal(kOriginLat + 0.1L, kOriginLon + 0.1L);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->LocalX, 160295.18L, 0.005);
    EXPECT_NEAR(e->LocalY, 261071.47L, 0.005);
    EXPECT_NEAR(e->LocalConvergence, 0.03825L, 5e-6);
}

TEST(LocalPlane, TheOriginMapsOntoItsPlaneCoordinatesAndBack)
{
    Engine e = OnOrigin(700);
    e->GeoToLocal(kOriginLat, kOriginLon);
    EXPECT_EQ(e->Status, 0);
    EXPECT_EQ(e->LocalX, 150000);
    EXPECT_EQ(e->LocalY, 250000);
    EXPECT_EQ(e->LocalConvergence, 0);
    e->LocalToGeo(150000, 250000);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->Lat, kOriginLat, 1e-15);
    EXPECT_EQ(e->Lon, kOriginLon);
}

TEST(LocalToGeo, DistanceClassesOnTheGivenOffsets)
{
    const struct {
        const char* why;
        long double dx, dy;
        int status;
    } cases[] = {
        {"50 km east exactly: no warning", 50000, 0, 0},
        {"just past 50 km east", 50000.001L, 0, 9},
        {"60 km west", -60000, 0, 9},
        {"60 km south", 0, -60000, 9},
        {"80 km north exactly: a warning", 0, 80000, 9},
        {"just past 80 km north", 0, 80000.001L, 10},
        {"90 km west", -90000, 0, 10},
        {"a NaN offset", NAN, 0, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e = OnOrigin(0);
        e->LocalToGeo(160000, 260000);  // leaves a point behind
        e->LocalToGeo(150000 + c.dx, 250000 + c.dy);
        EXPECT_EQ(e->Status, c.status);
        if (c.status == 10) {
            EXPECT_EQ(e->Lat, 0);
            EXPECT_EQ(e->Lon, 0);
        } else {
            EXPECT_NE(e->Lat, 0);
        }
    }
}

TEST(GeoToLocal, DistanceClassesOnTheComputedOffsets)
{
    const struct {
        const char* why;
        long double dx, dy;
        int status;
    } cases[] = {
        {"just inside 50 km east", 49999.9L, 0, 0},
        {"just past 50 km east", 50000.1L, 0, 9},
        {"60 km west", -60000, 0, 9},
        {"60 km north", 0, 60000, 9},
        {"just inside 80 km south", 0, -79999.9L, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e = OnOrigin(0);
        e->LocalToGeo(150000 + c.dx, 250000 + c.dy);
        const long double lat = e->Lat, lon = e->Lon;
        e->GeoToLocal(lat, lon);
        EXPECT_EQ(e->Status, c.status);
        EXPECT_NEAR(e->LocalX, 150000 + c.dx, 0.01);
        EXPECT_NEAR(e->LocalY, 250000 + c.dy, 0.01);
    }
}

TEST(GeoToLocal, Beyond80KmZeroesThePlaneCoordinatesButKeepsTheConvergence)
{
    Engine e = OnOrigin(0);
    e->GeoToLocal(kOriginLat, kOriginLon - 0.88L);  // about 90 km west
    EXPECT_EQ(e->Status, 10);
    EXPECT_EQ(e->LocalX, 0);
    EXPECT_EQ(e->LocalY, 0);
    EXPECT_NEAR(e->LocalConvergence, 0.88L * std::sin(kOriginLat * 3.14159265358979L / 180), 1e-3);
}

TEST(GeoToLocal, ARejectedPointLeavesNoPreviousResult)
{
    const struct {
        const char* why;
        long double lat, lon;
        int status;
    } cases[] = {
        {"latitude beyond 90", 90.5L, kOriginLon, 4},
        {"longitude beyond 180", kOriginLat, -180.5L, 5},
        {"a NaN latitude", NAN, kOriginLon, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e = OnOrigin(0);
        e->GeoToLocal(kOriginLat + 0.1L, kOriginLon + 0.1L);
        ASSERT_NE(e->LocalConvergence, 0);
        e->GeoToLocal(c.lat, c.lon);
        EXPECT_EQ(e->Status, c.status);
        EXPECT_EQ(e->LocalX, 0);
        EXPECT_EQ(e->LocalY, 0);
        EXPECT_EQ(e->LocalConvergence, 0);
    }
}

TEST(LocalPlane, AFaultInTheOriginTermsIsReportedWithTheResultsZeroed)
{
    // A flattening of 1 has no meridian radius: B = 1 / (M0 arc1) divides by zero.
    TDatum flat("flat", 6378137, 1, 0, 0, 0);
    Engine e(flat);
    e->SetLocalOrigin(0, 0, 0, 150000, 250000);
    e->GeoToLocal(0.01L, 0.01L);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->LocalX, 0);
    EXPECT_EQ(e->LocalY, 0);
    EXPECT_EQ(e->LocalConvergence, 0);
    e->LocalToGeo(151000, 251000);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->Lat, 0);
    EXPECT_EQ(e->Lon, 0);
}

TEST(LocalPlane, ThePlaneAltitudeScalesDistancesAboutTheOrigin)
{
    Engine ground = OnOrigin(0), raised = OnOrigin(700);
    ground->GeoToLocal(kOriginLat, kOriginLon + 0.2L);
    raised->GeoToLocal(kOriginLat, kOriginLon + 0.2L);
    const long double stretch = (raised->LocalX - 150000) / (ground->LocalX - 150000);
    EXPECT_NEAR(stretch, 1.00011L, 5e-6);
}

TEST(SetLocalOrigin, ARejectedOriginLeavesAllFiveFieldsZero)
{
    const struct {
        const char* why;
        long double lat, lon;
        int status;
    } cases[] = {
        {"latitude 95", 95, -47, 4},
        {"longitude beyond 180", -22, 180.5L, 5},
        {"both: the longitude wins", -95, 190, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e = OnOrigin(700);
        e->SetLocalOrigin(c.lat, c.lon, 700, 150000, 250000);
        EXPECT_EQ(e->Status, c.status);
        EXPECT_EQ(e->OriginLat, 0);
        EXPECT_EQ(e->OriginLon, 0);
        EXPECT_EQ(e->PlaneHeight, 0);
        EXPECT_EQ(e->OriginX, 0);
        EXPECT_EQ(e->OriginY, 0);
    }
    Engine e;
    e->SetLocalOrigin(90, -180, 12.5L, 1, 2);
    EXPECT_EQ(e->Status, 0);
    EXPECT_EQ(e->OriginLat, 90);
    EXPECT_EQ(e->OriginLon, -180);
    EXPECT_EQ(e->PlaneHeight, 12.5L);
    EXPECT_EQ(e->OriginX, 1);
    EXPECT_EQ(e->OriginY, 2);
}

TEST(LocalPlane, RoundTripsWithinMillimetresNearTheOrigin)
{
    const struct {
        const char* why;
        long double dLat, dLon, tolerance;
    } cases[] = {
        {"10 km north-east", 0.064L, 0.066L, 1e-3},
        {"10 km south-west", -0.064L, -0.066L, 1e-3},
        {"50 km east", 0, 0.486L, 2e-2},
        {"50 km south", -0.451L, 0, 2e-2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e = OnOrigin(700);
        e->GeoToLocal(kOriginLat + c.dLat, kOriginLon + c.dLon);
        ASSERT_LE(e->Status, 9);
        const long double x = e->LocalX, y = e->LocalY;
        e->LocalToGeo(x, y);
        EXPECT_LT(GroundDistance(kOriginLat + c.dLat, kOriginLon + c.dLon, e->Lat, e->Lon),
                  c.tolerance);
    }
}
