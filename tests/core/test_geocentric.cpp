// Geocentric coordinates and the datum change: the worked figures, the quadrants and the
// refusals.
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine_test;

TEST(GeoToCartesian, WorkedFigureOnTheEquator)
{
    Engine e;
    e->GeoToCartesian(0, -45, 100);
    EXPECT_EQ(e->Status, 0);
    const long double x = 6378237 * std::sqrt(0.5L);  // 4510094.63...
    EXPECT_NEAR(e->CartX, x, 1e-8);
    EXPECT_NEAR(e->CartY, -x, 1e-8);
    EXPECT_NEAR(e->CartZ, 0, 1e-8);
}

TEST(GeoToCartesian, LatitudeAndLongitudeBounds)
{
    const struct {
        const char* why;
        long double lat, lon;
        int status;
    } cases[] = {
        {"the north pole", 90, 0, 0},
        {"the south pole", -90, 0, 0},
        {"beyond the north pole", 90.0000001L, 0, 4},
        {"beyond the south pole", -90.0000001L, 0, 4},
        {"longitude 180", 10, 180, 0},
        {"longitude -180", 10, -180, 0},
        {"longitude beyond 180", 10, 180.0000001L, 5},
        {"a NaN latitude", NAN, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e;
        e->GeoToCartesian(-10, -10, 0);  // leaves a point behind
        e->GeoToCartesian(c.lat, c.lon, 0);
        EXPECT_EQ(e->Status, c.status);
        if (c.status != 0) {
            EXPECT_EQ(e->CartX, 0);
            EXPECT_EQ(e->CartY, 0);
            EXPECT_EQ(e->CartZ, 0);
        }
    }
    Engine pole;
    pole->GeoToCartesian(90, 0, 0);  // the polar semi-axis b = a (1 - f), on the axis itself
    EXPECT_NEAR(pole->CartZ, 6356752.314245L, 1e-6);
    EXPECT_EQ(pole->CartX, 0);
    EXPECT_EQ(pole->CartY, 0);
    pole->GeoToCartesian(0, 90, 0);  // on the Y axis
    EXPECT_EQ(pole->CartX, 0);
    EXPECT_EQ(pole->CartY, 6378137);
    pole->GeoToCartesian(0, -180, 0);
    EXPECT_EQ(pole->CartX, -6378137);
    EXPECT_EQ(pole->CartY, 0);
}

TEST(CartesianToGeo, ReturnsThePointOfGeoToCartesianInEveryQuadrant)
{
    const long double longitudes[] = {-180, -179.5L, -135,  -90.5L, -90,    -45, 0,
                                      45,   90,      90.5L, 135,    179.5L, 180};
    const long double latitudes[] = {-89, -45, -0.5L, 0, 22.5L, 60, 89};
    for (const long double lon : longitudes) {
        for (const long double lat : latitudes) {
            SCOPED_TRACE(testing::Message() << "lat " << (double)lat << " lon " << (double)lon);
            Engine e;
            e->GeoToCartesian(lat, lon, 850);
            e->CartesianToGeo(e->CartX, e->CartY, e->CartZ);
            ASSERT_EQ(e->Status, 0);
            EXPECT_NEAR(e->Lat, lat, 1e-12);
            EXPECT_NEAR(e->Height, 850, 1e-7);
            // The true longitude, also for negative X; 180 and -180 are one meridian.
            const long double dLon = std::remainder(e->Lon - lon, 360.0L);
            EXPECT_NEAR(dLon, 0, 1e-12);
            EXPECT_TRUE(e->Lon >= -180 && e->Lon <= 180);
        }
    }
}

TEST(CartesianToGeo, OnTheYAxisTheLongitudeIsNinetyBySign)
{
    Engine e;
    e->CartesianToGeo(0, 6378137, 0);
    EXPECT_EQ(e->Lon, 90);
    EXPECT_NEAR(e->Lat, 0, 1e-15);
    e->CartesianToGeo(0, -6378137, 10);
    EXPECT_EQ(e->Lon, -90);
    e->CartesianToGeo(-0.0L, 6378137, 0);
    EXPECT_EQ(e->Lon, 90);
}

TEST(CartesianToGeo, APointOnThePolarAxisIsAFaultWithEveryResultZeroed)
{
    for (const long double z : {6356752.314L, -6356752.314L, 0.0L}) {
        SCOPED_TRACE(testing::Message() << "Z " << (double)z);
        Engine e;
        e->CartesianToGeo(4000000, 3000000, 3000000);  // leaves a point behind
        ASSERT_NE(e->Height, 0);
        e->CartesianToGeo(0, 0, z);
        EXPECT_EQ(e->Status, 99);
        EXPECT_EQ(e->Lat, 0);
        EXPECT_EQ(e->Lon, 0);
        EXPECT_EQ(e->Height, 0);
    }
}

TEST(CartesianToGeo, AnOverflowIsAFault)
{
    Engine e;
    e->CartesianToGeo(1e4930L, 1e4930L, 0);
    EXPECT_EQ(e->Status, 99);
    EXPECT_EQ(e->Lat, 0);
    e->CartesianToGeo(NAN, 1, 1);
    EXPECT_EQ(e->Status, 99);
}

TEST(ChangeDatum, BetweenEqualDatumsReturnsTheInput)
{
    Engine e(Sad69());
    const TDatum same = Sad69();
    e->ChangeDatum(same, -23.5L, 170.25L, 812.5L);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->ShiftLat, -23.5L, 1e-13);
    EXPECT_NEAR(e->ShiftLon, 170.25L, 1e-13);
    EXPECT_NEAR(e->ShiftH, 812.5L, 1e-8);
}

TEST(ChangeDatum, WorkedFigureAndTheWayBack)
{
    Engine e(Sad69());
    const TDatum wgs84 = Wgs84();
    e->ChangeDatum(wgs84, -23, -46, 0);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NEAR(e->ShiftLat, -23.0004913L, 5e-8);
    EXPECT_NEAR(e->ShiftLon, -46.0004396L, 5e-8);
    EXPECT_NEAR(e->ShiftH, -7.692L, 5e-4);

    const long double lat = e->ShiftLat, lon = e->ShiftLon, h = e->ShiftH;
    const TDatum sad69 = Sad69();
    e->Datum = &wgs84;
    e->ChangeDatum(sad69, lat, lon, h);
    EXPECT_EQ(e->Status, 0);
    EXPECT_LT(GroundDistance(-23, -46, e->ShiftLat, e->ShiftLon), 1e-3);
    EXPECT_NEAR(e->ShiftH, 0, 1e-3);
}

TEST(ChangeDatum, KeepsTheTrueLongitudeWestAndEastOfNinetyDegrees)
{
    for (const long double lon : {-179.9L, -120.0L, -91.0L, 91.0L, 150.0L, 180.0L}) {
        SCOPED_TRACE(testing::Message() << "lon " << (double)lon);
        Engine e(Sad69());
        e->ChangeDatum(Wgs84(), 10, lon, 0);
        EXPECT_EQ(e->Status, 0);
        EXPECT_NEAR(std::remainder(e->ShiftLon - lon, 360.0L), 0, 1e-2);
    }
}

TEST(ChangeDatum, ARejectedPointLeavesNoPreviousCoordinates)
{
    const struct {
        const char* why;
        long double lat, lon, targetA;
        int status;
    } cases[] = {
        {"latitude 85 is beyond the projection range", 85, -46, 6378137, 4},
        {"latitude below -80", -80.5L, -46, 6378137, 4},
        {"longitude beyond 180", -23, 181, 6378137, 5},
        {"target semi-major axis of 6400000", -23, -46, 6400000, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Engine e(Sad69());
        e->ChangeDatum(Wgs84(), -23, -46, 0);
        ASSERT_NE(e->ShiftLat, 0);
        e->ChangeDatum(WithAxis(c.targetA), c.lat, c.lon, 100);
        EXPECT_EQ(e->Status, c.status);
        EXPECT_EQ(e->ShiftLat, 0);
        EXPECT_EQ(e->ShiftLon, 0);
        EXPECT_EQ(e->ShiftH, 0);
    }
    Engine edge(Sad69());
    edge->ChangeDatum(Wgs84(), 84, 0, 0);
    EXPECT_EQ(edge->Status, 0);
    edge->ChangeDatum(Wgs84(), -80, 0, 0);
    EXPECT_EQ(edge->Status, 0);
}

TEST(ChangeDatum, DoesNotSwitchTheEnginesDatum)
{
    Engine e(Sad69());
    const TDatum* before = e->Datum;
    e->ChangeDatum(Wgs84(), -23, -46, 0);
    EXPECT_EQ(e->Datum, before);
}
