// The datum and grid-family records, the engine's own grid records, the numeric helpers and the
// datum check every routine shares.
#include "tests/core/engine_support.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <string>

using namespace engine_test;

TEST(TDatum, CreateStoresTheSixValuesUnchanged)
{
    const TDatum d("Córrego Alegre", 6378388, 1 / 297.0L, -206.05L, 168.28L, -3.82L);
    EXPECT_EQ(d.Name, "Córrego Alegre");
    EXPECT_EQ(d.A, 6378388);
    EXPECT_EQ(d.F, 1 / 297.0L);
    EXPECT_EQ(d.Dx, -206.05L);
    EXPECT_EQ(d.Dy, 168.28L);
    EXPECT_EQ(d.Dz, -3.82L);
}

struct RecordCase {
    const char* why;
    long double k0, falseEasting, falseNorthing, zoneWidth;
    long double minEasting, maxEasting, maxNorthing;
};

const RecordCase kRecords[] = {
    {"1-degree zones", 0.999995L, 200000, 10000000, 1, 33500, 366500, 10111000},
    {"2-degree zones", 0.999995L, 400000, 10000000, 2, 178000, 622000, 10111000},
    {"6-degree zones", 0.9996L, 500000, 10000000, 6, 56000, 944000, 10111000},
    {"a user family of 3-degree zones", 1, 300000, 5000000, 3, 22500, 577500, 5111000},
};

TEST(TTipo_Coord, CreateAndSetParametersDeriveTheWindow)
{
    for (const auto& c : kRecords) {
        SCOPED_TRACE(c.why);
        const TTipo_Coord created(c.k0, c.falseEasting, c.falseNorthing, c.zoneWidth);
        TTipo_Coord reset(0.5L, 1, 2, 40);
        reset.SetParameters(c.k0, c.falseEasting, c.falseNorthing, c.zoneWidth);
        for (const TTipo_Coord* r : {&created, static_cast<const TTipo_Coord*>(&reset)}) {
            EXPECT_EQ(r->K0, c.k0);
            EXPECT_EQ(r->FalseEasting, c.falseEasting);
            EXPECT_EQ(r->FalseNorthing, c.falseNorthing);
            EXPECT_EQ(r->ZoneWidth, c.zoneWidth);
            EXPECT_EQ(r->MinNorthing, 0);
            EXPECT_EQ(r->MaxNorthing, c.maxNorthing);
            EXPECT_EQ(r->MinEasting, c.minEasting);
            EXPECT_EQ(r->MaxEasting, c.maxEasting);
        }
    }
}

TEST(TGeo, CreateMakesTheFourFamilies)
{
    TGeo geo;
    const struct {
        const char* why;
        const TTipo_Coord& record;
        long double k0, falseEasting, zoneWidth, minEasting, maxEasting;
    } families[] = {
        {"UTM", geo.GridUTM, 0.9996L, 500000, 6, 56000, 944000},
        {"LTM", geo.GridLTM, 0.999995L, 200000, 1, 33500, 366500},
        {"RTM", geo.GridRTM, 0.999995L, 400000, 2, 178000, 622000},
        {"user-defined, as UTM until changed", geo.GridOutro, 0.9996L, 500000, 6, 56000, 944000},
    };
    for (const auto& f : families) {
        SCOPED_TRACE(f.why);
        EXPECT_EQ(f.record.K0, f.k0);
        EXPECT_EQ(f.record.FalseEasting, f.falseEasting);
        EXPECT_EQ(f.record.FalseNorthing, 10000000);
        EXPECT_EQ(f.record.ZoneWidth, f.zoneWidth);
        EXPECT_EQ(f.record.MinEasting, f.minEasting);
        EXPECT_EQ(f.record.MaxEasting, f.maxEasting);
        EXPECT_EQ(f.record.MinNorthing, 0);
        EXPECT_EQ(f.record.MaxNorthing, 10111000);
    }
    EXPECT_EQ(geo.Grid, &geo.GridUTM);
    EXPECT_EQ(geo.Datum, nullptr);
}

TEST(TGeo, EachEngineOwnsItsGridRecords)
{
    TGeo first, second;
    first.GridOutro.SetParameters(1, 100000, 0, 3);
    EXPECT_EQ(second.GridOutro.ZoneWidth, 6);
    EXPECT_NE(&first.GridUTM, &second.GridUTM);
}

TEST(IntPower, MultipliesNTimesFromOne)
{
    EXPECT_EQ(TGeo::IntPower(0, 0), 1);
    EXPECT_EQ(TGeo::IntPower(0, 12345.6L), 1);
    EXPECT_EQ(TGeo::IntPower(-3, 2), 1);
    EXPECT_EQ(TGeo::IntPower(1, -7.5L), -7.5L);
    EXPECT_EQ(TGeo::IntPower(3, -2), -8);
    EXPECT_EQ(TGeo::IntPower(10, 2), 1024);
    EXPECT_EQ(TGeo::IntPower(24, 10), 1e24L);  // exact: 5^24 fits the 64-bit mantissa
}

TEST(RealPower, IsTheExponentialOfTheScaledLogarithm)
{
    EXPECT_NEAR(TGeo::RealPower(8, 1 / 3.0L), 2, 1e-18);
    EXPECT_NEAR(TGeo::RealPower(0.99330562L, 1.5L), std::pow(0.99330562L, 1.5L), 1e-18);
}

// Which of the guarded faults a call raises, with the flags cleared before.
int FaultsRaisedBy(const std::function<void()>& call)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    call();
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    std::feclearexcept(FE_ALL_EXCEPT);
    return raised;
}

TEST(RealPower, RaisesAFaultForABaseOfZeroOrLess)
{
    volatile long double zero = 0, negative = -0.25L;
    EXPECT_TRUE(FaultsRaisedBy([&] { (void)TGeo::RealPower(zero, 1.5L); }) & FE_DIVBYZERO);
    EXPECT_TRUE(FaultsRaisedBy([&] { (void)TGeo::RealPower(negative, 1.5L); }) & FE_INVALID);
    EXPECT_EQ(FaultsRaisedBy([] { (void)TGeo::RealPower(2, 1.5L); }), 0);
}

TEST(Tangent, IsSineOverCosineAndOneBillionWhereTheCosineIsZero)
{
    EXPECT_NEAR(TGeo::Tangent(0.785398163397448309616L), 1, 1e-18);
    EXPECT_NEAR(TGeo::Tangent(-0.5L), std::tan(-0.5L), 1e-18);
    EXPECT_EQ(TGeo::Tangent(1, 0), 1000000000);
    EXPECT_EQ(TGeo::Tangent(-1, -0.0L), 1000000000);
    EXPECT_EQ(FaultsRaisedBy([] { (void)TGeo::Tangent(1, 0); }), 0);
    EXPECT_EQ(TGeo::Tangent(0.6L, 0.8L), 0.75L);
}

// Every routine that checks the semi-major axis of its datum, called on a point it accepts.
struct DatumCheckedRoutine {
    const char* name;
    std::function<void(TGeo&)> call;
};

const DatumCheckedRoutine kDatumChecked[] = {
    {"GeoToGrid", [](TGeo& g) { g.GeoToGrid(-22.5L, -47, -45); }},
    {"GridToGeo", [](TGeo& g) { g.GridToGeo(1, 7510453.818L, 294260.069L, -45); }},
    {"MeridianConvergence", [](TGeo& g) { g.MeridianConvergence(-22.5L, -47, -45); }},
    {"GeoToCartesian", [](TGeo& g) { g.GeoToCartesian(-22.5L, -47, 100); }},
    {"ChangeDatum", [](TGeo& g) { g.ChangeDatum(Wgs84(), -22.5L, -47, 100); }},
    {"GeoToLocal", [](TGeo& g) { g.GeoToLocal(-22.5L, -47); }},
    {"LocalToGeo", [](TGeo& g) { g.LocalToGeo(151000, 249000); }},
};

TEST(DatumCheck, TheSemiMajorAxisMustLieIn6375000To6379000)
{
    const struct {
        long double a;
        int status;
    } axes[] = {
        {6374999.999L, 8}, {6375000, 0}, {6378137, 0}, {6379000, 0}, {6379000.001L, 8},
    };
    for (const auto& routine : kDatumChecked) {
        for (const auto& axis : axes) {
            SCOPED_TRACE(std::string(routine.name) + " with a = " + std::to_string((double)axis.a));
            Engine e(WithAxis(axis.a));
            e->SetLocalOrigin(-22.5L, -47, 0, 150000, 250000);
            routine.call(*e.geo);
            EXPECT_EQ(e->Status, axis.status);
        }
    }
}

TEST(DatumCheck, ANaNAxisAndAMissingDatumFailIt)
{
    for (const auto& routine : kDatumChecked) {
        SCOPED_TRACE(routine.name);
        Engine nan(WithAxis(NAN));
        routine.call(*nan.geo);
        EXPECT_EQ(nan->Status, 8);
        Engine none;
        none->Datum = nullptr;
        routine.call(*none.geo);
        EXPECT_EQ(none->Status, 8);
    }
}

TEST(DatumCheck, ChangeDatumChecksTheTargetAxisToo)
{
    Engine e;
    e->ChangeDatum(WithAxis(6400000), -23, -46, 0);
    EXPECT_EQ(e->Status, 8);
    e->ChangeDatum(WithAxis(6374999.999L), -23, -46, 0);
    EXPECT_EQ(e->Status, 8);
}

TEST(DatumCheck, CartesianToGeoComputesWithAnyAxis)
{
    Engine e(WithAxis(6400000));
    e->CartesianToGeo(4000000, 3000000, 3000000);
    EXPECT_EQ(e->Status, 0);
    EXPECT_NE(e->Lat, 0);
}

TEST(CheckOrder, TheLastFailingCheckWins)
{
    Engine e(WithAxis(6400000));
    e->GeoToGrid(85, -45, -45);  // latitude (4) then datum (8)
    EXPECT_EQ(e->Status, 8);
    e->GeoToCartesian(91, -45, 0);
    EXPECT_EQ(e->Status, 8);
    e->MeridianConvergence(-85, 200, -45);
    EXPECT_EQ(e->Status, 8);
    e->GeoToLocal(95, -45);
    EXPECT_EQ(e->Status, 8);

    Engine wgs;
    wgs->GeoToGrid(85, 181, -45);  // latitude (4) then longitude (5)
    EXPECT_EQ(wgs->Status, 5);
    wgs->ChangeDatum(Wgs84(), 85, 181, 0);
    EXPECT_EQ(wgs->Status, 5);
}
