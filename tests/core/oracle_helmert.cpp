// The seven-parameter shift against PROJ's Helmert operation with the same parameters, both
// conventions, both directions, on points of the datums' regions and far from them.
#include "core/Helmert.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <cmath>
#include <string>

namespace {

struct Case {
    const char* datum;  // the EPSG transformation the figures come from
    HelmertShift shift;
};

using C = RotationConvention;
const Case kCases[] = {
    {"DHDN to WGS 84 (2), EPSG:1777",
     {598.1, 73.7, 418.2, {0.202, 0.045, -2.455, 6.7, C::PositionVector}}},
    {"Amersfoort to WGS 84 (3), EPSG:15934",
     {565.2369,
      50.0087,
      465.658,
      {0.406857330322, -0.350732676543, 1.87034738361, 4.0812, C::CoordinateFrame}}},
    {"S-JTSK to WGS 84 (1), EPSG:1623",
     {570.8, 85.7, 462.8, {4.998, 1.587, 5.261, 3.56, C::PositionVector}}},
    {"BD72 to WGS 84 (3), EPSG:15929",
     {-106.8686, 52.2978, -103.7239, {-0.3366, 0.457, -1.8422, -1.2747, C::CoordinateFrame}}},
    {"a scale alone", {0, 0, 0, {0, 0, 0, -8.5, C::PositionVector}}},
};

// Geocentric points: central Europe, Britain, southern Brazil, a pole and the equator.
const GeocentricXYZ kPoints[] = {{3980581.0, 966446.0, 4849011.0},
                                 {3874938.0, -116217.0, 5047168.0},
                                 {4010000.0, -4260000.0, -2530000.0},
                                 {0.0, 0.0, 6356752.0},
                                 {6378137.0, 0.0, 0.0}};

std::string projHelmert(const HelmertShift& s)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "+proj=helmert +x=%.10Lg +y=%.10Lg +z=%.10Lg +rx=%.10Lg +ry=%.10Lg +rz=%.10Lg "
                  "+s=%.10Lg +convention=%s",
                  s.Dx, s.Dy, s.Dz, s.rotation.Rx, s.rotation.Ry, s.rotation.Rz, s.rotation.Scale,
                  s.rotation.convention == C::PositionVector ? "position_vector"
                                                             : "coordinate_frame");
    return text;
}

double distance(const GeocentricXYZ& a, const PJ_COORD& b)
{
    return std::hypot(static_cast<double>(a.X) - b.xyz.x, static_cast<double>(a.Y) - b.xyz.y,
                      static_cast<double>(a.Z) - b.xyz.z);
}

}  // namespace

TEST(HelmertOracle, BothConventionsAndDirectionsAgreeWithProjWithinAMicrometre)
{
    PJ_CONTEXT* ctx = proj_context_create();
    double largest = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.datum);
        PJ* helmert = proj_create(ctx, projHelmert(c.shift).c_str());
        ASSERT_NE(helmert, nullptr);
        for (const GeocentricXYZ& p : kPoints) {
            const PJ_COORD in = proj_coord(static_cast<double>(p.X), static_cast<double>(p.Y),
                                           static_cast<double>(p.Z), 0);
            const double forward =
                distance(helmertToWgs84(c.shift, p), proj_trans(helmert, PJ_FWD, in));
            const double reverse =
                distance(helmertFromWgs84(c.shift, p), proj_trans(helmert, PJ_INV, in));
            EXPECT_LT(forward, 1e-6);
            EXPECT_LT(reverse, 1e-6);
            largest = std::fmax(largest, std::fmax(forward, reverse));
        }
        proj_destroy(helmert);
    }
    proj_context_destroy(ctx);
    std::printf("largest difference from PROJ: %.3g m\n", largest);
}

TEST(Helmert, TranslationsAloneAreExactAndTheConventionsMirrorEachOther)
{
    const HelmertShift translation{-66.87, 4.37, -38.52, {}};
    const GeocentricXYZ p{4010000.125, -4260000.5, -2530000.75};
    const GeocentricXYZ there = helmertToWgs84(translation, p);
    EXPECT_EQ(there.X, p.X + translation.Dx);
    EXPECT_EQ(there.Z, p.Z + translation.Dz);
    const GeocentricXYZ back = helmertFromWgs84(translation, there);
    EXPECT_EQ(back.Y, there.Y - translation.Dy);
    // The same rotation published in the two conventions moves a point the same way.
    const HelmertShift pv{1, 2, 3, {0.5, -0.25, 1.5, 2, C::PositionVector}};
    const HelmertShift cf{1, 2, 3, {-0.5, 0.25, -1.5, 2, C::CoordinateFrame}};
    const GeocentricXYZ a = helmertToWgs84(pv, p), b = helmertToWgs84(cf, p);
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Y, b.Y);
    EXPECT_EQ(a.Z, b.Z);
}
