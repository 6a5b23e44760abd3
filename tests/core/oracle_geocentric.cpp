// Geocentric coordinates and the datum change against independent references:
// GeoToCartesian against PROJ's +proj=cart, CartesianToGeo against GeographicLib's Geocentric
// (an exact inverse, good to nanometres) in all four longitude quadrants, and ChangeDatum against
// a PROJ pipeline of +proj=cart, +proj=helmert (translation only) and +inv +proj=cart.
//
// PROJ's geocentric inverse is the same closed form of Bowring that the engine uses, so the
// datum change agrees with it to the rounding of double arithmetic; GeographicLib's Geocentric
// is exact, so CartesianToGeo is measured there for the error of the closed form itself, which
// grows with the height above the ellipsoid.
#include "tests/core/oracle_support.h"

#include <GeographicLib/Geocentric.hpp>
#include <proj.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace oracle;

// A PROJ transformation, released with its context.
class ProjTransform {
public:
    explicit ProjTransform(const std::string& definition)
        : context_(proj_context_create()), pj_(proj_create(context_, definition.c_str()))
    {
    }
    ~ProjTransform()
    {
        if (pj_) proj_destroy(pj_);
        proj_context_destroy(context_);
    }
    ProjTransform(const ProjTransform&) = delete;
    ProjTransform& operator=(const ProjTransform&) = delete;

    bool Valid() const { return pj_ != nullptr; }
    // Geodetic input in degrees, handed to PROJ in radians.
    PJ_COORD FromGeodetic(long double lat, long double lon, long double h) const
    {
        const long double to_rad = GeoConstants::Pi / 180;
        return proj_trans(pj_, PJ_FWD,
                          proj_coord(static_cast<double>(lon * to_rad),
                                     static_cast<double>(lat * to_rad), static_cast<double>(h), 0));
    }

private:
    PJ_CONTEXT* context_;
    PJ* pj_;
};

std::string EllipsoidParameters(const Ellipsoid& e)
{
    char text[96];
    std::snprintf(text, sizeof text, " +a=%.17g +rf=%.17g", e.a, e.inverse_f);
    return text;
}

constexpr long double kRadToDeg = 180 / GeoConstants::Pi;

TEST(GeoToCartesianOracle, MatchesProjCart)
{
    const double kHeights[] = {-1000, -50, 0, 850, 4000, 10000, 100000};
    std::printf("  GeoToCartesian against +proj=cart, largest coordinate difference (m)\n");
    for (const Ellipsoid& e : kEllipsoids) {
        SCOPED_TRACE(e.name);
        const ProjTransform cart("+proj=cart" + EllipsoidParameters(e));
        ASSERT_TRUE(cart.Valid());
        TGeo geo;
        const TDatum datum = DatumOn(e);
        geo.Datum = &datum;
        Worst worst;
        for (int i = 0; i <= 72; ++i)
            for (int j = 0; j <= 48; ++j)
                for (double h : kHeights) {
                    const double lat = -90.0 + 2.5 * i;
                    const double lon = -180.0 + 7.5 * j;
                    const PJ_COORD ref = cart.FromGeodetic(lat, lon, h);
                    geo.GeoToCartesian(lat, lon, h);
                    const std::string where = Point(lat, lon, h, "h");
                    EXPECT_EQ(geo.Status, 0) << where;
                    const long double err = std::fmax(std::fabs(geo.CartX - ref.xyz.x),
                                                      std::fmax(std::fabs(geo.CartY - ref.xyz.y),
                                                                std::fabs(geo.CartZ - ref.xyz.z)));
                    worst.Add(err, where);
                }
        worst.Expect("GeoToCartesian", 1e-8L);
        Report(std::string(e.name) + " lat -90..90, all lon, h -1..100 km", {&worst});
    }
}

TEST(CartesianToGeoOracle, MatchesGeocentricReverseInAllQuadrants)
{
    struct HeightBand {
        const char* why;
        std::vector<double> heights;
        long double tolerance;
    };
    const HeightBand kBands[] = {
        {"heights up to 1 km", {-1000, -100, 0, 300, 1000}, 3e-8L},
        {"heights up to 10 km", {2500, 5000, 10000}, 3e-6L},
        {"heights up to 100 km", {20000, 50000, 100000}, 3e-4L},
    };
    std::printf("  CartesianToGeo against Geocentric::Reverse (m)\n  %-62s | %10s | %10s\n", "case",
                "horizontal", "height");
    for (const Ellipsoid& e : kEllipsoids) {
        SCOPED_TRACE(e.name);
        const GeographicLib::Geocentric earth(e.a, e.f());
        TGeo geo;
        const TDatum datum = DatumOn(e);
        geo.Datum = &datum;
        for (const HeightBand& band : kBands) {
            SCOPED_TRACE(band.why);
            Worst horizontal, vertical;
            int wrong_quadrant = 0;
            std::vector<double> lats = {-89.999, -89.9, 89.9, 89.999};
            for (int i = 1; i < 72; ++i) lats.push_back(-90.0 + 2.5 * i);
            for (double lat : lats)
                for (int j = 0; j <= 48; ++j)  // every 7.5 degrees, X = 0 at +-90 included
                    for (double h : band.heights) {
                        const double lon = -180.0 + 7.5 * j;
                        double x, y, z, lat_ref, lon_ref, h_ref;
                        earth.Forward(lat, lon, h, x, y, z);
                        earth.Reverse(x, y, z, lat_ref, lon_ref, h_ref);
                        geo.CartesianToGeo(x, y, z);
                        const std::string where = Point(lat, lon, h, "h");
                        EXPECT_EQ(geo.Status, 0) << where;
                        if (std::fabs(LongitudeDifference(geo.Lon, lon_ref)) > 90 &&
                            ++wrong_quadrant <= 3)
                            ADD_FAILURE() << "longitude " << static_cast<double>(geo.Lon)
                                          << " instead of " << lon_ref << " at " << where;
                        horizontal.Add(GroundError(e, lat_ref, lon_ref, geo.Lat, geo.Lon), where);
                        vertical.Add(std::fabs(geo.Height - h_ref), where);
                    }
            horizontal.Expect("horizontal", band.tolerance);
            vertical.Expect("height", band.tolerance);
            Report(std::string(e.name) + ", " + band.why, {&horizontal, &vertical});
        }
    }
}

// Geodetic -> geocentric -> geodetic on one datum returns the point, in every quadrant.
TEST(GeocentricRoundTripOracle, CartesianToGeoOfGeoToCartesianReturnsThePoint)
{
    for (const Ellipsoid& e : kEllipsoids) {
        SCOPED_TRACE(e.name);
        TGeo geo;
        const TDatum datum = DatumOn(e);
        geo.Datum = &datum;
        Worst horizontal, vertical;
        for (int i = 0; i <= 70; ++i)
            for (int j = 0; j <= 48; ++j)
                for (double h : {-200.0, 0.0, 760.0}) {
                    const double lat = -87.5 + 2.5 * i;
                    const double lon = -180.0 + 7.5 * j;
                    const std::string where = Point(lat, lon, h, "h");
                    geo.GeoToCartesian(lat, lon, h);
                    geo.CartesianToGeo(geo.CartX, geo.CartY, geo.CartZ);
                    EXPECT_EQ(geo.Status, 0) << where;
                    horizontal.Add(GroundError(e, lat, lon, geo.Lat, geo.Lon), where);
                    vertical.Add(std::fabs(geo.Height - h), where);
                }
        horizontal.Expect("horizontal", 3e-8L);
        vertical.Expect("height", 3e-8L);
        Report(std::string("round trip ") + e.name, {&horizontal, &vertical});
    }
}

struct DatumPair {
    const char* why;
    Ellipsoid source;
    double source_shift[3];
    Ellipsoid target;
    double target_shift[3];
};

const DatumPair kDatumPairs[] = {
    {"a=6378160 with its shift to WGS 84", kA6378160, {-66.87, 4.37, -38.52}, kWgs84, {0, 0, 0}},
    {"WGS 84 to a=6378160 with its shift", kWgs84, {0, 0, 0}, kA6378160, {-66.87, 4.37, -38.52}},
    {"a=6378388 1/f=297 to WGS 84",
     {"a=6378388 1/f=297", 6378388.0, 297.0},
     {-87, -98, -121},
     kWgs84,
     {0, 0, 0}},
    {"a=6378206.4 to a=6378160, both shifted",
     {"a=6378206.4 1/f=294.9786982", 6378206.4, 294.9786982},
     {-8, 160, 176},
     kA6378160,
     {-66.87, 4.37, -38.52}},
};

TDatum DatumOf(const Ellipsoid& e, const double (&shift)[3])
{
    return DatumOn(e, shift[0], shift[1], shift[2]);
}

TEST(ChangeDatumOracle, MatchesProjHelmertPipelineWorldwide)
{
    const double kHeights[] = {-100, 0, 850, 3000, 9000};
    std::printf(
        "  ChangeDatum against a PROJ cart/helmert/cart pipeline\n"
        "  %-62s | %10s | %10s | %10s\n",
        "case", "lat (deg)", "lon (deg)", "height (m)");
    for (const DatumPair& pair : kDatumPairs) {
        SCOPED_TRACE(pair.why);
        char helmert[160];
        std::snprintf(helmert, sizeof helmert, " +step +proj=helmert +x=%.17g +y=%.17g +z=%.17g",
                      pair.source_shift[0] - pair.target_shift[0],
                      pair.source_shift[1] - pair.target_shift[1],
                      pair.source_shift[2] - pair.target_shift[2]);
        const ProjTransform pipeline("+proj=pipeline +step +proj=cart" +
                                     EllipsoidParameters(pair.source) + helmert +
                                     " +step +inv +proj=cart" + EllipsoidParameters(pair.target));
        ASSERT_TRUE(pipeline.Valid());
        const TDatum source = DatumOf(pair.source, pair.source_shift);
        const TDatum target = DatumOf(pair.target, pair.target_shift);
        TGeo geo;
        geo.Datum = &source;
        Worst lat_error, lon_error, height_error;
        for (int i = 0; i <= 41; ++i)
            for (int j = 0; j <= 36; ++j)
                for (double h : kHeights) {
                    const double lat = -80.0 + 4.0 * i;
                    const double lon = -180.0 + 10.0 * j;
                    const std::string where = Point(lat, lon, h, "h");
                    const PJ_COORD ref = pipeline.FromGeodetic(lat, lon, h);
                    geo.ChangeDatum(target, lat, lon, h);
                    EXPECT_EQ(geo.Status, 0) << where;
                    lat_error.Add(std::fabs(geo.ShiftLat - ref.lpz.phi * kRadToDeg), where);
                    lon_error.Add(std::fabs(
                                      LongitudeDifference(geo.ShiftLon, ref.lpz.lam * kRadToDeg)),
                                  where);
                    height_error.Add(std::fabs(geo.ShiftH - ref.lpz.z), where);
                }
        lat_error.Expect("ShiftLat", 2e-13L);
        lon_error.Expect("ShiftLon", 2e-13L);
        height_error.Expect("ShiftH", 2e-8L);
        Report(pair.why, {&lat_error, &lon_error, &height_error});
    }
}

// Datum A -> B -> A returns the point: the translations cancel, and what remains is the error of
// the closed form taken twice, each time within the 3e-8 m it keeps at heights up to 1 km.
TEST(ChangeDatumOracle, ThereAndBackReturnsThePoint)
{
    std::printf("  ChangeDatum there and back (m)\n");
    for (const DatumPair& pair : kDatumPairs) {
        SCOPED_TRACE(pair.why);
        const TDatum source = DatumOf(pair.source, pair.source_shift);
        const TDatum target = DatumOf(pair.target, pair.target_shift);
        TGeo geo;
        Worst horizontal, vertical;
        // Inside -80..84 on both datums, so that the way back passes the latitude check.
        for (int i = 0; i <= 40; ++i)
            for (int j = 0; j <= 36; ++j)
                for (double h : {0.0, 1200.0}) {
                    const double lat = -79.9 + 4.0 * i;
                    const double lon = -180.0 + 10.0 * j;
                    const std::string where = Point(lat, lon, h, "h");
                    geo.Datum = &source;
                    geo.ChangeDatum(target, lat, lon, h);
                    ASSERT_EQ(geo.Status, 0) << where;
                    geo.Datum = &target;
                    geo.ChangeDatum(source, geo.ShiftLat, geo.ShiftLon, geo.ShiftH);
                    ASSERT_EQ(geo.Status, 0) << where;
                    horizontal.Add(GroundError(pair.source, lat, lon, geo.ShiftLat, geo.ShiftLon),
                                   where);
                    vertical.Add(std::fabs(geo.ShiftH - h), where);
                }
        horizontal.Expect("horizontal", 6e-8L);
        vertical.Expect("height", 6e-8L);
        Report(pair.why, {&horizontal, &vertical});
    }
}

}  // namespace
