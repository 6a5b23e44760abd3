// Sine and cosine in 80-bit extended precision for an argument already reduced to [-pi/4, pi/4].
//
// The engine reduces its angles exactly before it asks for a sine (see SinCosOfDegrees and
// SinCosOfRadians in core/Geodesica.cpp), so it needs only the kernel of the library's sinl and
// cosl. glibc's kernels run in software and cost more than the rest of a grid conversion; these
// are two Taylor polynomials evaluated in plain IEEE extended arithmetic, so they give the same
// digits on every x86-64 processor, which the x87 fsin and fsincos instructions do not promise.
//
// Accuracy, on |x| <= pi/4: within one unit in the last place of glibc's sinl and cosl (over
// ten million arguments 2.1% of the sines and 0.3% of the cosines differ from them by one unit,
// none by more); against the 113-bit sinq and cosq the sine is within 0.81 units and the cosine
// within 0.58, where glibc's are within 0.53 and 0.52. tests/core/test_extended_sincos.cpp checks
// a sample and the seams. The sign of a zero argument is kept; subnormal and tiny arguments give
// sin x = x and cos x = 1 exactly. Outside [-pi/4, pi/4] the truncation error grows quickly:
// callers reduce first.
//
// The kernel is defined here, inline, because the reductions call it on their hot path: out of
// line its argument went through the stack and its pair of results through memory, which cost a
// tenth of a geocentric conversion.
#pragma once

struct SinCos {
    long double sin, cos;
};

namespace extended_sincos_detail {

// n! as an extended value; exact up to 25!, since every factorial to there fits 64 bits of
// mantissa once its factors of two are taken out.
constexpr long double Factorial(int n)
{
    long double f = 1;
    for (int i = 2; i <= n; ++i) f *= i;
    return f;
}

// The Taylor coefficients (-1)^k / n!: the compiler divides exact integers once, correctly
// rounded. On |x| <= pi/4 the first omitted terms, x^21/21! for the sine and x^22/22! for the
// cosine, are 1.8e-22 and 6.2e-24 of the result, a three hundredth of a unit in the last place at
// most (5.4e-20 relative), and the series alternate, so they bound the truncation error.
// The leading coefficients are the extended values nearest to 1/n!. From x^9 in the sine and x^8
// in the cosine on, a term weighs at most 2^-17 of the result, so its coefficient is held as a
// double: its rounding, 2^-53 of it, stays below 2^-70 of the result, and an 80-bit load from
// memory is microcoded where a double's is one operation (the kernel took 28 ns instead of 39).
constexpr long double kS3 = -1 / Factorial(3), kS5 = 1 / Factorial(5), kS7 = -1 / Factorial(7);
constexpr double kS9 = 1 / Factorial(9), kS11 = -1 / Factorial(11), kS13 = 1 / Factorial(13),
                 kS15 = -1 / Factorial(15), kS17 = 1 / Factorial(17), kS19 = -1 / Factorial(19);
constexpr long double kC4 = 1 / Factorial(4), kC6 = -1 / Factorial(6);
constexpr double kC8 = 1 / Factorial(8), kC10 = -1 / Factorial(10), kC12 = 1 / Factorial(12),
                 kC14 = -1 / Factorial(14), kC16 = 1 / Factorial(16), kC18 = -1 / Factorial(18),
                 kC20 = 1 / Factorial(20);

// Veltkamp's splitter for a 64-bit mantissa: 2^32 + 1 cuts a value into two halves of 32 bits,
// whose products with each other are exact.
constexpr long double kSplitter = 4294967297.0L;

// A polynomial of degree 8 in z by Estrin's scheme: four independent pairs, then their
// combination by z^2 and z^4, so that the chains of dependent multiplications are four
// long instead of eight. The terms fall by a factor of at least 25 each, so the order of the
// additions changes the result by far less than a unit in its last place.
constexpr long double Degree8(long double z, long double z2, long double z4, long double c0,
                              long double c1, long double c2, long double c3, long double c4,
                              long double c5, long double c6, long double c7, long double c8)
{
    const long double p01 = c0 + c1 * z;
    const long double p23 = c2 + c3 * z;
    const long double p45 = c4 + c5 * z;
    const long double p67 = c6 + c7 * z;
    const long double p03 = p01 + p23 * z2;
    const long double p47 = p45 + p67 * z2;
    return p03 + (p47 + c8 * z4) * z4;
}

}  // namespace extended_sincos_detail

inline SinCos ExtendedSinCos(long double x)
{
    using namespace extended_sincos_detail;
    const long double z = x * x;
    // Below about 1e-2466 the square underflows to zero, and sin x = x, cos x = 1 are exact;
    // returning x itself also keeps the sign of a negative zero, which x + tail would lose.
    if (z == 0) return {x, 1};
    const long double z2 = z * z;
    const long double z4 = z2 * z2;

    // sin x = x + x z S(z): the tail is at most a tenth of x, so its own rounding errors weigh
    // about a third of a unit of the sum at most (0.81 units in all, measured).
    const long double sinTail =
        x * z * Degree8(z, z2, z4, kS3, kS5, kS7, kS9, kS11, kS13, kS15, kS17, kS19);

    // cos x = 1 - x^2/2 + z^2 C(z). The term x^2/2 reaches 0.31, and the rounding of x * x
    // alone would cost a quarter unit of the cosine; so x^2/2 is taken exactly as a high part
    // (the square of x's upper 32 bits) and a low part, and the rounding error of 1 - high is
    // recovered (Fast2Sum, since 1 >= high), leaving only the final addition to round.
    const long double t = x * kSplitter;
    const long double xHigh = t - (t - x);
    const long double xLow = x - xHigh;
    const long double halfSquareHigh = 0.5L * xHigh * xHigh;
    const long double halfSquareLow = xHigh * xLow + 0.5L * xLow * xLow;
    const long double w = 1 - halfSquareHigh;
    const long double wError = (1 - w) - halfSquareHigh;
    const long double cosTail =
        z2 * Degree8(z, z2, z4, kC4, kC6, kC8, kC10, kC12, kC14, kC16, kC18, kC20);

    return {x + sinTail, w + ((cosTail - halfSquareLow) + wError)};
}
