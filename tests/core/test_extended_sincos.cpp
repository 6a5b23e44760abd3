// The extended sine and cosine kernel against glibc's sinl and cosl: at most one unit in the last
// place over a deterministic sample of the reduced range and at its seams, and exact where the
// answer is exact.
#include "core/ExtendedSinCos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Limits = std::numeric_limits<long double>;

// The distance from value to reference in units in the last place of the reference.
long double UlpsApart(long double value, long double reference)
{
    int exponent = 0;
    std::frexp(reference, &exponent);
    const long double ulp =
        std::fmax(std::ldexp(1.0L, exponent - Limits::digits), Limits::denorm_min());
    return std::fabs(value - reference) / ulp;
}

// The reductions hand over at most pi/4 rounded up, which the kernel must still hold to.
constexpr long double kQuarterPi = 0.785398163397448309616L;

void ExpectWithinOneUlp(long double x)
{
    const SinCos r = ExtendedSinCos(x);
    EXPECT_LE(UlpsApart(r.sin, ::sinl(x)), 1) << "sin of " << static_cast<double>(x);
    EXPECT_LE(UlpsApart(r.cos, ::cosl(x)), 1) << "cos of " << static_cast<double>(x);
}

TEST(ExtendedSinCos, WithinOneUlpOfTheLibraryOverTheReducedRange)
{
    // Uniform over [-pi/4, pi/4] for three in four, log-uniform down to 2^-70 for the fourth
    // (the small arguments where x z S(z) and the cosine's low part matter least and the
    // rounding of x + tail most), from a fixed linear congruential sequence.
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    long double worstSin = 0, worstCos = 0;
    for (int i = 0; i < 400000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const long double unit = static_cast<long double>(state >> 11) * 0x1p-53L;
        long double x = i % 4 == 3 ? kQuarterPi * std::exp2(-70 * unit) : kQuarterPi * unit;
        if (state & 1) x = -x;
        const SinCos r = ExtendedSinCos(x);
        worstSin = std::fmax(worstSin, UlpsApart(r.sin, ::sinl(x)));
        worstCos = std::fmax(worstCos, UlpsApart(r.cos, ::cosl(x)));
    }
    EXPECT_LE(worstSin, 1);
    EXPECT_LE(worstCos, 1);
}

TEST(ExtendedSinCos, WithinOneUlpAtTheSeamsOfTheReduction)
{
    for (const long double edge : {kQuarterPi, 0.5L, 0.25L, 0x1p-32L, 0x1p-33L}) {
        long double below = edge, above = edge;
        for (int step = 0; step < 8; ++step) {
            for (const long double x : {below, above, -below, -above}) ExpectWithinOneUlp(x);
            below = std::nextafter(below, 0.0L);
            above = std::nextafter(above, 1.0L);
        }
    }
}

TEST(ExtendedSinCos, ExactWhereTheAnswerIsExact)
{
    for (const long double x :
         {0.0L, 1e-20L, 0x1p-40L, Limits::min(), Limits::denorm_min(), Limits::min() / 3}) {
        for (const long double signedX : {x, -x}) {
            const SinCos r = ExtendedSinCos(signedX);
            EXPECT_EQ(r.sin, signedX) << static_cast<double>(signedX);
            EXPECT_EQ(std::signbit(r.sin), std::signbit(signedX)) << static_cast<double>(signedX);
            EXPECT_EQ(r.cos, 1) << static_cast<double>(signedX);
            EXPECT_EQ(r.sin, ::sinl(signedX));
            EXPECT_EQ(r.cos, ::cosl(signedX));
        }
    }
}

}  // namespace
