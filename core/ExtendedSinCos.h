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
#pragma once

struct SinCos {
    long double sin, cos;
};

SinCos ExtendedSinCos(long double x);
