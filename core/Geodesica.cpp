#include "core/Geodesica.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "core/ExtendedSinCos.h"
#include "core/FloatingPointGuard.h"
#include "core/WholePart.h"

using namespace GeoConstants;

namespace {

// The latitudes a datum change takes, degrees.
constexpr struct {
    long double low, high;
} kDatumChangeLatitudes{-80, 84};

// The closed interval [low, high]; a NaN lies inside no interval.
bool Inside(long double value, long double low, long double high)
{
    return value >= low && value <= high;
}

long double Radians(long double degrees) { return degrees / 180 * Pi; }

// pi / 2 as the sum of the nearest extended value and the remainder.
constexpr long double kHalfPiHigh = 1.57079632679489661926L;
constexpr long double kHalfPiLow = -2.508278806334166011779e-20L;
constexpr long double kQuarterPi = 0.785398163397448309616L;

// The library's sine and cosine, for the arguments that the reductions below do not bring
// within pi/4. One call gives both; glibc's sincosl runs the same kernels as sinl and cosl.
SinCos LibrarySinCos(long double r)
{
    long double s, c;
    ::sincosl(r, &s, &c);
    return {s, c};
}

// Sine and cosine of an angle in degrees. The angle is first brought within 45 degrees of a
// multiple of 90, exactly (d - 90k is exact in binary), so that the extended kernel can take it:
// it is held only on [-pi/4, pi/4], and the library's own sine and cosine cost 120 to 155 ns a
// call beyond pi/4, where they reduce. Both steps multiply rather than divide (an extended
// division is the slowest step of the reduction): k may come out one off where d / 90 is within
// a unit of a half, which leaves the remainder at 45 degrees on the other side, as exact; the
// radians are within 1.5 units in the last place of d / 180 x pi instead of 1. The result
// differs from the sine of d / 180 x pi by about one unit in the last place, and is exact on the
// quadrant boundaries: the cosine of 90 degrees is 0. Angles beyond four quadrants, which no
// valid input has, go to the library.
SinCos SinCosOfDegrees(long double d)
{
    const long double k = std::rint(d * (1 / 90.0L));
    if (!(std::fabs(k) <= 4)) { return LibrarySinCos(Radians(d)); }
    const auto [s, c] = ExtendedSinCos((d - 90 * k) * (Pi / 180));
    // k is already whole, so any conversion gives the same quadrant. The direct one from long
    // double switches the x87 rounding mode to truncation and back (fldcw), which took a fifth
    // of this function's time in a profile; through double the SSE unit converts.
    switch (static_cast<int>(static_cast<double>(k)) & 3) {
    case 0: return {s, c};
    case 1: return {c, -s};
    case 2: return {-s, -c};
    default: return {-c, s};
    }
}

// Sine and cosine of an angle in radians, for the same reason: between pi/4 and 3pi/4 in
// magnitude they are taken as the cosine and sine of the distance to pi/2 (hi - |x| is exact
// there). Beyond 3pi/4, where no latitude lies, the library's own.
SinCos SinCosOfRadians(long double x)
{
    const long double m = std::fabs(x);
    if (m <= kQuarterPi) return ExtendedSinCos(x);
    if (!(m <= 3 * kQuarterPi)) return LibrarySinCos(x);
    const auto [sinR, cosR] = ExtendedSinCos((kHalfPiHigh - m) + kHalfPiLow);
    return {x < 0 ? -cosR : cosR, sinR};
}

// Radians back to degrees as radians x 45 / arctan(1).
long double DegreesByArctan(long double radians) { return radians * 45 / std::atan(1.0L); }

// The longitude of a geocentric direction. X = 0 gives 90 or -90 by the sign of Y; otherwise
// the two-argument arctangent, so that a point with negative X keeps its true longitude.
long double LongitudeOf(long double X, long double Y)
{
    if (X == 0) return Y >= 0 ? 90 : -90;
    return DegreesByArctan(std::atan2(Y, X));
}

// Sines of 2φ, 4φ, ..., 10φ from sin φ and cos φ by the multiple-angle recurrence
// sin((k+1)2φ) = 2 cos 2φ sin(k 2φ) - sin((k-1)2φ); equal to the direct sines within 1e-18
// relative, far below the metre figures of the series.
struct EvenMultipleSines {
    long double s2, s4, s6, s8, s10;
};

EvenMultipleSines EvenSines(long double sinPhi, long double cosPhi)
{
    const long double s2 = 2 * sinPhi * cosPhi;
    const long double twoCos2 = 2 * (cosPhi * cosPhi - sinPhi * sinPhi);
    const long double s4 = twoCos2 * s2;
    const long double s6 = twoCos2 * s4 - s2;
    const long double s8 = twoCos2 * s6 - s4;
    const long double s10 = twoCos2 * s8 - s6;
    return {s2, s4, s6, s8, s10};
}

// Meridian arc coefficients C0 .. C10, the binomial series of the arc to e^10.
struct ArcCoefficients {
    long double C0, C2, C4, C6, C8, C10;
};

ArcCoefficients ArcCoefficientsOf(long double E)
{
    const long double e2 = E * E;
    const long double e4 = TGeo::IntPower(4, E);
    const long double e6 = TGeo::IntPower(6, E);
    const long double e8 = TGeo::IntPower(8, E);
    const long double e10 = TGeo::IntPower(10, E);
    return {
        1 + 3.0L / 4 * e2 + 45.0L / 64 * e4 + 175.0L / 256 * e6 + 11025.0L / 16384 * e8 +
            43659.0L / 65536 * e10,
        3.0L / 4 * e2 + 15.0L / 16 * e4 + 525.0L / 512 * e6 + 2205.0L / 2048 * e8 +
            72765.0L / 65536 * e10,
        15.0L / 64 * e4 + 105.0L / 256 * e6 + 2205.0L / 4096 * e8 + 10395.0L / 16384 * e10,
        35.0L / 512 * e6 + 315.0L / 2048 * e8 + 31185.0L / 131072 * e10,
        315.0L / 16384 * e8 + 3465.0L / 65536 * e10,
        693.0L / 131072 * e10,
    };
}

long double MeridianArcFrom(long double A, long double Lat, long double E, long double sinPhi,
                            long double cosPhi)
{
    const long double M = A * (1 - E * E);
    const ArcCoefficients c = ArcCoefficientsOf(E);
    const EvenMultipleSines s = EvenSines(sinPhi, cosPhi);
    return Lat * (c.C0 * M / Rho) - s.s2 * (c.C2 * M / 2) + s.s4 * (c.C4 * M / 4) -
           s.s6 * (c.C6 * M / 6) + s.s8 * (c.C8 * M / 8) - s.s10 * (c.C10 * M / 10);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Records

TDatum::TDatum(std::string Name, long double A, long double F, long double Dx, long double Dy,
               long double Dz)
    : Name(std::move(Name)), A(A), F(F), Dx(Dx), Dy(Dy), Dz(Dz)
{
}

TTipo_Coord::TTipo_Coord(long double K0, long double FalseEasting, long double FalseNorthing,
                         long double ZoneWidth)
{
    SetParameters(K0, FalseEasting, FalseNorthing, ZoneWidth);
}

void TTipo_Coord::SetParameters(long double K0, long double FalseEasting, long double FalseNorthing,
                                long double ZoneWidth)
{
    this->K0 = K0;
    this->FalseEasting = FalseEasting;
    this->FalseNorthing = FalseNorthing;
    this->ZoneWidth = ZoneWidth;
    MinNorthing = 0;
    MaxNorthing = FalseNorthing + MetresPerDegree;
    MinEasting = FalseEasting - (ZoneWidth / 2 + 1) * MetresPerDegree;
    MaxEasting = FalseEasting + (ZoneWidth / 2 + 1) * MetresPerDegree;
}

TGeo::TGeo()
    : GridUTM(0.9996L, 500000, 10000000, 6),
      GridRTM(0.999995L, 400000, 10000000, 2),
      GridLTM(0.999995L, 200000, 10000000, 1),
      GridOutro(0.9996L, 500000, 10000000, 6),
      Grid(&GridUTM)
{
}

// ---------------------------------------------------------------------------------------------
// Helpers

long double TGeo::RealPower(long double Base, long double Exponent)
{
    return std::exp(Exponent * std::log(Base));
}

long double TGeo::Tangent(long double X) { return Tangent(std::sin(X), std::cos(X)); }

long double TGeo::Tangent(long double SinX, long double CosX)
{
    if (CosX == 0) return 1000000000.0L;
    return SinX / CosX;
}

template <typename Computation, typename... Results>
void TGeo::Guarded(Computation&& computation, Results&... results)
{
    if (FaultedDuring(computation, results...)) {
        Status = GeoStatus::InternalFault;
        ((results = 0), ...);
    }
}

bool TGeo::DatumRadiusValid() const
{
    return Datum != nullptr && Inside(Datum->A, MinSemiMajorAxis, MaxSemiMajorAxis);
}

// The latitude (4), longitude (5) and datum (8) checks that close the check list of every
// routine taking a geodetic point, in that order; false when one of them failed.
bool TGeo::PointChecksPass(long double Lat, long double Lon, long double MinLat, long double MaxLat)
{
    bool pass = true;
    if (!Inside(Lat, MinLat, MaxLat)) {
        Status = GeoStatus::InvalidLatitude;
        pass = false;
    }
    if (!Inside(Lon, -180, 180)) {
        Status = GeoStatus::InvalidLongitude;
        pass = false;
    }
    if (!DatumRadiusValid()) {
        Status = GeoStatus::InvalidEarthRadius;
        pass = false;
    }
    return pass;
}

// The quantities of one ellipsoid that the routines derive from A and F on the spot.
struct TGeo::Ellipsoid {
    long double a, f, b;
    explicit Ellipsoid(const TDatum& d) : a(d.A), f(d.F), b(d.A - d.F * d.A) {}
    // First eccentricity squared as (2 - f) f.
    long double E2() const { return (2 - f) * f; }
    // First eccentricity squared as 2f - f^2.
    long double E2ByDifference() const { return 2 * f - f * f; }
    // First eccentricity squared as (a^2 - b^2) / a^2.
    long double E2ByAxes() const { return (a * a - b * b) / (a * a); }
    // First eccentricity sqrt(a^2 - b^2) / a.
    long double E() const { return std::sqrt(a * a - b * b) / a; }
    // Second eccentricity sqrt(a^2 - b^2) / b.
    long double SecondE() const { return std::sqrt(a * a - b * b) / b; }
    // Second eccentricity squared (a^2 - b^2) / b^2.
    long double SecondE2() const { return (a * a - b * b) / (b * b); }
};

// ---------------------------------------------------------------------------------------------
// Transverse Mercator grid.
//
// The classical series of the Transverse Mercator projection in p (the longitude difference in
// units of 10^4 arc-seconds) and q (the easting offset in units of 10^6 m), carried to the sixth
// power, as in the U.S. Army and USGS manuals of the projection; the meridian arc is the
// binomial sine series to e^10 and the inverse takes the footpoint latitude by fixed-point
// iteration on that series. Against the exact projection (GeographicLib TransverseMercatorExact),
// on WGS 84 and on a = 6378160, 1/f = 298.25 alike, within 1.5 / 2 / 3 / 4 degrees of the
// central meridian: forward northing within 4.3e-7 / 4.3e-7 / 2.9e-6 / 2.6e-5 m and easting
// within 1.7e-6 / 7.6e-6 / 1.0e-4 / 7.0e-4 m; inverse within 3.2e-6 / 2.2e-5 / 3.7e-4 / 2.8e-3 m
// on the ground; convergence within 3.2e-8 degrees to 3 degrees and 1.4e-7 at 4; the point scale
// factor, a spherical formula, within 9.3e-6 and 1.7e-5. The error grows quickly past 4 degrees
// (85 mm forward at 8 degrees). The meridian arc agrees with the exact arc within 4.3e-7 m from
// -80 to 84 degrees. Measured by tests/core/oracle_grid.cpp.

long double TGeo::MeridianArc(long double A, long double Lat, long double E)
{
    const SinCos phi = SinCosOfDegrees(Lat);
    return MeridianArcFrom(A, Lat, E, phi.sin, phi.cos);
}

// A standard central meridian is one of (k + 1/2) zone widths for a whole k. A zone width of 0
// gives no finite quotient, which counts as not whole.
bool TGeo::CentralMeridianIsStandard(long double CentralMeridian) const
{
    const long double W = Grid->ZoneWidth;
    const long double r = (CentralMeridian - W / 2) / W;
    if (const auto whole = WholePartOf(r)) return r == *whole;
    return std::isfinite(r) && r == std::trunc(r);
}

void TGeo::GeoToGrid(long double Lat, long double Lon, long double CentralMeridian)
{
    Status = GeoStatus::Ok;
    bool computable = true;
    const long double W = Grid->ZoneWidth;
    const long double d = std::fabs(Lon - CentralMeridian);
    if (!(W / 2 >= d)) Status = GeoStatus::OutsideZone;
    if (!(d - W / 2 <= 1)) {
        Status = GeoStatus::FarOutsideZone;
        computable = false;
    }
    if (!CentralMeridianIsStandard(CentralMeridian)) Status = GeoStatus::NonStandardMeridian;
    if (!PointChecksPass(Lat, Lon, -80, 84)) computable = false;

    if (!computable) {
        North = 0;
        East = 0;
    } else {
        Guarded(
            [&] {
                const Ellipsoid el(*Datum);
                const long double a = el.a;
                const long double e = el.E();
                const long double ep = el.SecondE();
                const long double ep2 = IntPower(2, ep);
                const long double ep4 = IntPower(4, ep);
                const long double s1 = std::sin(ArcSecond);
                const long double K0 = Grid->K0;

                const SinCos phi = SinCosOfDegrees(Lat);
                const long double sinPhi = phi.sin;
                const long double cosPhi = phi.cos;
                const long double t = Tangent(sinPhi, cosPhi);
                const long double t2 = IntPower(2, t);
                const long double t4 = IntPower(4, t);
                const long double cos2 = IntPower(2, cosPhi);
                const long double sin2 = IntPower(2, sinPhi);
                const long double S = MeridianArcFrom(a, Lat, e, sinPhi, cosPhi);
                const long double N = a / std::sqrt(1 - e * e * sinPhi * sinPhi);
                const long double p = (CentralMeridian - Lon) * TenToMinus4 * 3600;

                const long double I = S * K0;
                const long double II = IntPower(2, s1) * N * sinPhi * cosPhi / 2 * K0 * 1e8L;
                const long double III = IntPower(4, s1) * N * sinPhi * IntPower(3, cosPhi) / 24 *
                                        (5 - t2 + 9 * ep2 * cos2 + 4 * ep4 * IntPower(4, cosPhi)) *
                                        K0 * 1e7L * 1e9L;
                const long double A6 = IntPower(6, s1) * N * sinPhi * IntPower(5, cosPhi) / 720 *
                                       (61 - 58 * t2 + t4 + 270 * ep2 * cos2 - 330 * ep2 * sin2) *
                                       K0 * IntPower(24, 10);
                const long double IV = s1 * N * cosPhi * K0 * 1e4L;
                const long double V = IntPower(3, s1) * N * IntPower(3, cosPhi) / 6 *
                                      (1 - t2 + ep2 * cos2) * K0 * 1e6L * 1e6L;
                const long double B5 = IntPower(5, s1) * N * IntPower(5, cosPhi) / 120 *
                                       (5 - 18 * t2 + t4 + 14 * ep2 * cos2 - 58 * ep2 * sin2) * K0 *
                                       IntPower(20, 10);

                const long double sum =
                    (I + II * IntPower(2, p)) + III * IntPower(4, p) + A6 * IntPower(6, p);
                // The equator counts as southern: it takes the false northing.
                North = Lat > 0 ? std::fabs(sum) : sum + Grid->FalseNorthing;
                East = Grid->FalseEasting - (V * IntPower(3, p) + IV * p + B5 * IntPower(5, p));
            },
            North, East);
    }
    ZoneOf(Lat, Lon);
}

namespace {

// The meridian arc of one ellipsoid in the form the inverse projection solves: with phi in
// degrees, arc(phi) = P0 phi - P2 sin 2phi + P4 sin 4phi - P6 sin 6phi + P8 sin 8phi - P10 sin
// 10phi, the binomial series of MeridianArcFrom; C0 is P0 over a (1 - e^2) per degree.
struct ArcTerms {
    long double C0, P0, P2, P4, P6, P8, P10;
};

ArcTerms ArcTermsOf(long double a, long double e)
{
    const long double M = a * (1 - e * e);
    const ArcCoefficients C = ArcCoefficientsOf(e);
    return {C.C0,         C.C0 * M / Rho, C.C2 * M / 2,  C.C4 * M / 4,
            C.C6 * M / 6, C.C8 * M / 8,   C.C10 * M / 10};
}

// The footpoint latitude in degrees, and the sine and cosine of the latitude of its last pass.
struct Footpoint {
    long double phi, sin, cos;
};

// One pass of the fixed-point iteration: the latitude whose arc is S when the periodic terms are
// taken at the latitude of sine sinPhi and cosine cosPhi.
long double FootpointPass(long double S, const ArcTerms& P, long double sinPhi, long double cosPhi)
{
    const EvenMultipleSines s = EvenSines(sinPhi, cosPhi);
    return (S + P.P2 * s.s2 - P.P4 * s.s4 + P.P6 * s.s6 - P.P8 * s.s8 + P.P10 * s.s10) * (1 / P.P0);
}

// The latitude whose meridian arc is S, as the fixed point of FootpointPass: the iteration ends
// when a pass returns exactly the latitude it was given, or after nine passes.
//
// Each pass shrinks the error only by the factor 3/4 e^2 cos 2phi (about 1/200), so from the
// rectifying latitude S / P0 the iteration took eight or nine passes, each with its own sine and
// cosine. It now starts from the footpoint series in the third flattening n to n^4 (J. P.
// Snyder, Map Projections: A Working Manual, USGS 1987, equation 3-26), within about 1e-13
// radians of the fixed point (the series' own n^5 error and the difference between the exact
// arc and the binomial series to e^10). The first pass then takes a Newton step instead of the
// plain one: the step (next - phi) is divided by 1 - g', where g' is the slope of the pass, and
// 1 - g' is the arc's derivative over P0, (1 - e^2 sin^2 phi)^(-3/2) / C0 to within e^12. That
// lands within rounding of the fixed point, and the plain passes that follow end the iteration
// by the same rule as before, usually after one or two.
Footpoint FootpointLatitude(long double S, const ArcTerms& P, long double e2)
{
    const long double mu = S / P.P0;
    const long double root = std::sqrt(1 - e2);
    const long double n = (1 - root) / (1 + root);
    const long double n2 = n * n, n3 = n2 * n, n4 = n3 * n;
    const SinCos m = SinCosOfDegrees(mu);
    const EvenMultipleSines s = EvenSines(m.sin, m.cos);
    long double phi = mu + Rho * ((3.0L / 2 * n - 27.0L / 32 * n3) * s.s2 +
                                  (21.0L / 16 * n2 - 55.0L / 32 * n4) * s.s4 +
                                  151.0L / 96 * n3 * s.s6 + 1097.0L / 512 * n4 * s.s8);

    long double sn = 0, c = 1;
    for (int pass = 1; pass <= 9; ++pass) {
        const SinCos r = SinCosOfDegrees(phi);
        sn = r.sin;
        c = r.cos;
        const long double next = FootpointPass(S, P, sn, c);
        if (next == phi) break;
        if (pass == 1) {
            const long double w = 1 - e2 * sn * sn;
            phi += (next - phi) * (P.C0 * w * std::sqrt(w));
        } else {
            phi = next;
        }
    }
    return {phi, sn, c};
}

// The inverse series at the footpoint: the latitude in degrees and the longitude offset from the
// central meridian in degrees (positive), for q the easting offset in units of 10^6 m.
struct InverseSeriesResult {
    long double lat, dLambda;
};

InverseSeriesResult InverseSeries(const Footpoint& foot, long double a, long double e2,
                                  long double ep2, long double ep4, long double K0, long double q)
{
    const auto IntPower = [](int N, long double X) { return TGeo::IntPower(N, X); };
    const long double sn = foot.sin;
    const long double c = foot.cos;
    const long double t = TGeo::Tangent(sn, c);
    const long double t2 = IntPower(2, t);
    const long double t4 = IntPower(4, t);
    const long double c2 = IntPower(2, c);
    const long double sn2 = IntPower(2, sn);
    const long double N1 = a / std::sqrt(1 - e2 * sn2);

    // The terms VII, VIII, D6 (latitude) and IX, X, E5 (longitude) of the series, each a power
    // of q 10^6 / (N1 K0) = Q over a factorial, in arc-seconds: factored so that the extended
    // divisions, which the x87 does not pipeline, are three instead of twenty.
    const long double Q = q * (1e6L / (N1 * K0));
    const long double Q2 = IntPower(2, Q);
    const long double toDegrees = 1 / (std::sin(ArcSecond) * 3600);
    const long double secant = 1 / c;
    const long double VII = (1 + ep2 * c2) * (1.0L / 2);
    const long double VIII = (5 + 3 * t2 + 6 * ep2 * c2 - 6 * ep2 * sn2 - 3 * ep4 * IntPower(4, c) -
                              9 * ep4 * c2 * sn2) *
                             (1.0L / 24);
    const long double D6 =
        (61 + 90 * t2 + 45 * t4 + 107 * ep2 * c2 - 162 * ep2 * sn2 - 45 * ep2 * t2 * sn2) *
        (1.0L / 720);
    const long double X = (1 + 2 * t2 + ep2 * c2) * (1.0L / 6);
    const long double E5 = (5 + 28 * t2 + 24 * t4 + 6 * ep2 * c2 + 8 * ep2 * sn2) * (1.0L / 120);

    return {foot.phi - toDegrees * t * Q2 * (VII - Q2 * (VIII - Q2 * D6)),
            toDegrees * secant * Q * (1 - Q2 * (X - Q2 * E5))};
}

}  // namespace

bool TGeo::GridChecksPass(long double North, long double East, long double CentralMeridian)
{
    bool pass = true;
    if (!CentralMeridianIsStandard(CentralMeridian)) Status = GeoStatus::NonStandardMeridian;
    if (!Inside(North, Grid->MinNorthing, Grid->MaxNorthing)) {
        Status = GeoStatus::InvalidNorthing;
        pass = false;
    }
    if (!Inside(East, Grid->MinEasting, Grid->MaxEasting)) {
        Status = GeoStatus::InvalidEasting;
        pass = false;
    }
    if (!DatumRadiusValid()) {
        Status = GeoStatus::InvalidEarthRadius;
        pass = false;
    }
    // Arithmetic on an infinity raises no flag: an infinite scale factor would put every point
    // on the central meridian's foot and pass for success, so it is a fault.
    if (pass && !std::isfinite(Grid->K0)) {
        Status = GeoStatus::InternalFault;
        pass = false;
    }
    return pass;
}

// A northing past the pole gives a latitude beyond 90 degrees, and near the pole the series
// diverges to longitudes that no Transverse Mercator point can have: both are refused rather
// than reported as success. So is a longitude more than a full turn from Greenwich: only a
// central meridian that no grid has (1E4000, which swallows the offset) gives one.
void TGeo::RefuseWhatNoGridPointGives(long double CentralMeridian)
{
    if (!Inside(Lat, -90, 90)) {
        Status = GeoStatus::InvalidNorthing;
        Lat = 0;
        Lon = 0;
    } else if (!Inside(Lon - CentralMeridian, -90, 90) || !Inside(Lon, -360, 360)) {
        Status = GeoStatus::InvalidEasting;
        Lat = 0;
        Lon = 0;
    }
}

void TGeo::GridToGeo(int Hemisphere, long double North, long double East,
                     long double CentralMeridian)
{
    Status = GeoStatus::Ok;
    if (!GridChecksPass(North, East, CentralMeridian)) {
        Lat = 0;
        Lon = 0;
        return;
    }
    Guarded(
        [&] {
            const Ellipsoid el(*Datum);
            const long double e = el.E();
            const long double e2 = e * e;
            const long double ep2 = IntPower(2, el.SecondE());
            const long double ep4 = IntPower(4, el.SecondE());
            const long double K0 = Grid->K0;
            const long double Nd = Hemisphere == 1 ? Grid->FalseNorthing - North : North;
            const ArcTerms P = ArcTermsOf(el.a, e);
            const Footpoint foot = FootpointLatitude(Nd / K0, P, e2);
            const long double q = std::fabs(East - Grid->FalseEasting) * TenToMinus6;
            const InverseSeriesResult r = InverseSeries(foot, el.a, e2, ep2, ep4, K0, q);
            Lat = Hemisphere == 1 ? -r.lat : r.lat;
            Lon = East < Grid->FalseEasting ? CentralMeridian - r.dLambda
                                            : CentralMeridian + r.dLambda;
        },
        Lat, Lon);
    if (Status == GeoStatus::InternalFault) return;
    RefuseWhatNoGridPointGives(CentralMeridian);
}

void TGeo::MeridianConvergence(long double Lat, long double Lon, long double CentralMeridian)
{
    Status = GeoStatus::Ok;
    bool computable = PointChecksPass(Lat, Lon, -80, 84);
    if (!computable) {
        Convergence = 0;
        return;
    }
    Guarded(
        [&] {
            const Ellipsoid el(*Datum);
            const long double ep = el.SecondE();
            const long double s1 = std::sin(ArcSecond);
            const long double p = (CentralMeridian - Lon) * TenToMinus4 * 3600;
            const SinCos phi = SinCosOfDegrees(Lat);
            const long double sinPhi = phi.sin;
            const long double cosPhi = phi.cos;
            const long double t = Tangent(sinPhi, cosPhi);
            const long double cos2 = IntPower(2, cosPhi);

            const long double XII = sinPhi * 1e4L;
            const long double XIII =
                IntPower(2, s1) * sinPhi * cos2 / 3 *
                (1 + 3 * IntPower(2, ep) * cos2 + 2 * IntPower(4, ep) * IntPower(4, cosPhi)) *
                IntPower(12, 10);
            const long double C5 = IntPower(4, s1) * sinPhi * IntPower(4, cosPhi) / 15 *
                                   (2 - IntPower(2, t)) * IntPower(20, 10);
            Convergence = -(XIII * IntPower(3, p) + XII * p + C5 * IntPower(5, p)) / 3600;
        },
        Convergence);
}

// No checks and no status: the point scale factor of the sphere. Where the formula has no
// value (the equator 90 degrees from the central meridian) the factor is 0.
void TGeo::PointScaleFactor(long double Lat, long double Lon, long double CentralMeridian)
{
    const std::int32_t status = Status;
    Guarded(
        [&] {
            const long double b =
                SinCosOfDegrees(Lat).cos * SinCosOfDegrees(Lon - CentralMeridian).sin;
            ScaleFactor = Grid->K0 / std::sqrt(1 - b * b);
        },
        ScaleFactor);
    Status = status;
}

// Zones of the family's own width counted from -180; bands of 8 degrees from -80, lettered C to
// X without I and O. A quotient with no finite value, or a zone beyond 32 bits, gives zone 0;
// a band outside C..X gives a blank.
void TGeo::ZoneOf(long double Lat, long double Lon)
{
    // A zone or band beyond 2^52 is beyond the ranges below too.
    const auto zone = WholePartOf((Lon + 180) / Grid->ZoneWidth);
    Zone = zone && *zone + 1 >= INT32_MIN && *zone + 1 <= INT32_MAX
               ? static_cast<std::int32_t>(*zone + 1)
               : 0;

    static constexpr char kBands[] = "CDEFGHJKLMNPQRSTUVWX";
    const auto k = WholePartOf((Lat + 88) / 8);
    ZoneLetter = k && *k >= 1 && *k <= 20 ? kBands[*k - 1] : ' ';
}

// ---------------------------------------------------------------------------------------------
// Geocentric coordinates and datum change.
//
// Geodetic to geocentric by the closed formulas; geocentric to geodetic by Bowring's closed form
// (B. R. Bowring, "Transformation from spatial to geographical coordinates", Survey Review 23,
// 1976) in one step, without iteration; the datum change goes through geocentric coordinates
// with the difference of the two datums' translations relative to WGS 84. Against PROJ
// +proj=cart the forward conversion is within 2.2e-9 m; against GeographicLib Geocentric the
// reverse is within 2.2e-8 / 1.1e-6 / 1.0e-4 m for heights up to 1 / 10 / 100 km (Bowring's
// single step is exact only on the ellipsoid); the datum change is within 3.7e-9 m and 3.2e-14
// degrees of PROJ's cart / Helmert / cart pipeline. Measured by tests/core/oracle_geocentric.cpp.
// The longitude is taken quadrant-correct, so that points with negative X keep their longitude.

// Geodetic to geocentric on one ellipsoid, with e^2 = (2 - f) f.
TGeo::GeocentricPoint TGeo::GeocentricOf(const Ellipsoid& el, long double Lat, long double Lon,
                                         long double H)
{
    const long double e2 = el.E2();
    const SinCos phi = SinCosOfDegrees(Lat);
    const SinCos lambda = SinCosOfDegrees(Lon);
    const long double N = el.a / std::sqrt(1 - e2 * phi.sin * phi.sin);
    return {(N + H) * phi.cos * lambda.cos, (N + H) * phi.cos * lambda.sin,
            ((1 - e2) * N + H) * phi.sin};
}

void TGeo::GeoToCartesian(long double Lat, long double Lon, long double H)
{
    Status = GeoStatus::Ok;
    bool computable = PointChecksPass(Lat, Lon, -90, 90);
    if (!computable) {
        CartX = 0;
        CartY = 0;
        CartZ = 0;
        return;
    }
    Guarded(
        [&] {
            const GeocentricPoint g = GeocentricOf(Ellipsoid(*Datum), Lat, Lon, H);
            CartX = g.X;
            CartY = g.Y;
            CartZ = g.Z;
        },
        CartX, CartY, CartZ);
}

namespace {

struct GeodeticPoint {
    long double lat, lon, h;
};

// The sine and cosine of arctan t without the arctangent, t / sqrt(1 + t^2) and 1 / sqrt(1 + t^2):
// a square root and a division cost less than the library's extended arctangent and a sine
// and cosine after it. Beyond 2^32 the 1 falls below the last place of t^2, and past 1e2466 t^2
// would overflow, so there the limits are exact: sin = +-1 and cos = 1 / |t|.
SinCos SinCosOfArctan(long double t)
{
    if (!(std::fabs(t) <= 0x1p32L)) return {std::copysign(1.0L, t), 1 / std::fabs(t)};
    const long double c = 1 / std::sqrt(1 + t * t);
    return {t * c, c};
}

// Bowring's closed form on an ellipsoid of semi-axes a, b, first eccentricity squared e2 and
// second eccentricity squared ep2.
GeodeticPoint BowringGeodetic(long double X, long double Y, long double Z, long double a,
                              long double b, long double e2, long double ep2)
{
    // An infinite coordinate raises no flag and would come out as a pole; make it a fault the
    // guard sees.
    if (!(std::isfinite(X) && std::isfinite(Y) && std::isfinite(Z))) return {NAN, NAN, NAN};
    GeodeticPoint g;
    g.lon = LongitudeOf(X, Y);
    const long double p = std::sqrt(X * X + Y * Y);
    const SinCos theta = SinCosOfArctan((Z * a) / (p * b));
    const long double tanPhi =
        (Z + ep2 * b * TGeo::IntPower(3, theta.sin)) / (p - e2 * a * TGeo::IntPower(3, theta.cos));
    const long double phi = std::atan(tanPhi);
    // The latitude's own sine and cosine come from the kernel, not from tanPhi: the height is
    // p / cos phi - N, a difference of two lengths of six thousand kilometres, and through the
    // square root its last printed digit (15 significant) moved for 7% of points against the
    // earlier arithmetic, through the kernel for 0.2%, for 30 ns.
    const SinCos phiSinCos = SinCosOfRadians(phi);
    const long double N = a / std::sqrt(1 - e2 * phiSinCos.sin * phiSinCos.sin);
    g.h = p / phiSinCos.cos - N;
    g.lat = DegreesByArctan(phi);
    return g;
}

}  // namespace

void TGeo::CartesianToGeo(long double X, long double Y, long double Z)
{
    Status = GeoStatus::Ok;
    if (Datum == nullptr) {
        Status = GeoStatus::InternalFault;
        Lat = Lon = Height = 0;
        return;
    }
    Guarded(
        [&] {
            const Ellipsoid el(*Datum);
            const GeodeticPoint g = BowringGeodetic(X, Y, Z, el.a, el.b, el.E2(), el.SecondE2());
            Lon = g.lon;
            Height = g.h;
            Lat = g.lat;
        },
        Lat, Lon, Height);
}

// Between two three-parameter datums the point moves by the difference of their translations,
// added once, as it always has; otherwise through WGS 84's frame by each datum's Helmert shift.
GeocentricXYZ TGeo::ShiftedToDatum(const TDatum& TargetDatum, const GeocentricXYZ& p) const
{
    if (Datum->Rotation.none() && TargetDatum.Rotation.none())
        return {p.X + (Datum->Dx - TargetDatum.Dx), p.Y + (Datum->Dy - TargetDatum.Dy),
                p.Z + (Datum->Dz - TargetDatum.Dz)};
    return helmertFromWgs84(TargetDatum.Shift(), helmertToWgs84(Datum->Shift(), p));
}

bool TGeo::ChangeDatumAccepts(const TDatum& TargetDatum, long double Lat, long double Lon) const
{
    return Inside(Lat, kDatumChangeLatitudes.low, kDatumChangeLatitudes.high) &&
           Inside(Lon, -180, 180) && DatumRadiusValid() &&
           Inside(TargetDatum.A, MinSemiMajorAxis, MaxSemiMajorAxis);
}

void TGeo::ChangeDatum(const TDatum& TargetDatum, long double Lat, long double Lon, long double H)
{
    Status = GeoStatus::Ok;
    bool computable =
        PointChecksPass(Lat, Lon, kDatumChangeLatitudes.low, kDatumChangeLatitudes.high);
    if (!Inside(TargetDatum.A, MinSemiMajorAxis, MaxSemiMajorAxis)) {
        Status = GeoStatus::InvalidEarthRadius;
        computable = false;
    }
    // A rejected point must not keep the previous point's shifted coordinates.
    if (!computable) {
        ShiftLat = 0;
        ShiftLon = 0;
        ShiftH = 0;
        return;
    }
    Guarded(
        [&] {
            const GeocentricPoint g0 = GeocentricOf(Ellipsoid(*Datum), Lat, Lon, H);
            const GeocentricXYZ shifted = ShiftedToDatum(TargetDatum, {g0.X, g0.Y, g0.Z});
            const long double X = shifted.X, Y = shifted.Y, Z = shifted.Z;

            const Ellipsoid target(TargetDatum);
            const GeodeticPoint g = BowringGeodetic(X, Y, Z, target.a, target.b,
                                                    target.E2ByDifference(), target.SecondE2());
            ShiftLon = g.lon;
            ShiftH = g.h;
            ShiftLat = g.lat;
        },
        ShiftLat, ShiftLon, ShiftH);
}

// ---------------------------------------------------------------------------------------------
// Local topographic plane.
//
// The series of the local topographic projection: a plane tangent to the ellipsoid at the
// origin, scaled about the origin by c = (R0 + plane altitude) / R0 with R0 the Gaussian mean
// radius at the origin latitude, with latitude and longitude differences in arc-seconds. The two
// directions are approximations of each other, not exact inverses: a round trip returns within
// 1.2e-6 / 2.5e-4 / 2.5e-3 m at 10 / 50 / 80 km from the origin with plane altitude 0. A raised
// plane adds a term: the forward direction scales x before its x^2 term and the inverse after, so
// a round trip keeps about |tan(origin latitude)| x^2 h / (N0 R0): at 700 m, 7.2e-4 / 1.8e-2 /
// 4.5e-2 m from an origin at 22.5 degrees, 7.4e-2 m at 50 km from one at 60. Measured by
// tests/core/oracle_local.cpp.

struct TGeo::LocalOriginTerms {
    long double a, e2, arc1, phi0, N0, M0, c, B, C, D, E;
};

// The origin quantities N0, M0, c, B, C, D, E of the current datum at the current origin.
TGeo::LocalOriginTerms TGeo::OriginTerms() const
{
    LocalOriginTerms o;
    const Ellipsoid el(*Datum);
    o.a = el.a;
    o.e2 = el.E2ByAxes();
    o.arc1 = std::atan(1.0L) * OneOver3600 / 45;
    o.phi0 = OriginLat / 180 * Pi;
    const SinCos phi0 = SinCosOfDegrees(OriginLat);
    const long double sinPhi0 = phi0.sin;
    const long double cosPhi0 = phi0.cos;
    const long double w0 = 1 - o.e2 * sinPhi0 * sinPhi0;
    o.N0 = o.a / std::sqrt(w0);
    o.M0 = o.a * (1 - o.e2) / RealPower(w0, 1.5L);
    const long double R0 = std::sqrt(o.N0 * o.M0);
    o.c = (R0 + PlaneHeight) / R0;
    const long double tan0 = Tangent(sinPhi0, cosPhi0);
    o.B = 1 / (o.M0 * o.arc1);
    o.C = tan0 / (2 * o.N0 * o.M0 * o.arc1);
    o.D = 3 * o.e2 * sinPhi0 * cosPhi0 * o.arc1 / (2 * std::sqrt(IntPower(3, w0)));
    o.E = (1 + 3 * tan0 * tan0) / (6 * o.N0 * o.N0);
    return o;
}

void TGeo::SetLocalOrigin(long double OriginLat, long double OriginLon, long double PlaneHeight,
                          long double OriginX, long double OriginY)
{
    Status = GeoStatus::Ok;
    if (!Inside(OriginLat, -90, 90)) Status = GeoStatus::InvalidLatitude;
    if (!Inside(OriginLon, -180, 180)) Status = GeoStatus::InvalidLongitude;
    const bool accepted = Status == GeoStatus::Ok;
    this->OriginLat = accepted ? OriginLat : 0;
    this->OriginLon = accepted ? OriginLon : 0;
    this->PlaneHeight = accepted ? PlaneHeight : 0;
    this->OriginX = accepted ? OriginX : 0;
    this->OriginY = accepted ? OriginY : 0;
}

void TGeo::GeoToLocal(long double Lat, long double Lon)
{
    Status = GeoStatus::Ok;
    bool computable = PointChecksPass(Lat, Lon, -90, 90);
    // The convergence is zeroed too: the result text shows it for a rejected point.
    if (!computable) {
        LocalX = 0;
        LocalY = 0;
        LocalConvergence = 0;
        return;
    }
    long double x = 0, y = 0;
    Guarded(
        [&] {
            const LocalOriginTerms o = OriginTerms();
            const long double dPhi = (Lat - OriginLat) * 3600;
            const long double dLambda = (Lon - OriginLon) * 3600;
            const long double phiP = Lat / 180 * Pi;
            const SinCos phiPSinCos = SinCosOfDegrees(Lat);
            const long double sinPhiP = phiPSinCos.sin;
            const long double Np = o.a / std::sqrt(1 - o.e2 * sinPhiP * sinPhiP);
            const long double dPhi1 = dPhi * (1 - LocalLatitudeSeriesTerm * dPhi * dPhi);
            const long double dLambda1 = dLambda * (1 - o.arc1 * o.arc1 / 6 * dLambda * dLambda);
            const long double phiM = (phiP + o.phi0) / 2;
            const long double sinArc1 = std::sin(o.arc1);
            const SinCos m = SinCosOfRadians(phiM);
            const long double F = m.sin * m.cos * sinArc1 * sinArc1 / 12;
            LocalConvergence =
                -(dLambda * m.sin / std::cos((phiP - o.phi0) / 2) + F * IntPower(3, dLambda)) /
                3600;
            x = dLambda1 * phiPSinCos.cos * Np * o.arc1 * o.c;
            y = (1 / o.B) *
                (((dPhi1 + o.C * x * x) + o.D * dPhi1 * dPhi1) + o.E * dPhi1 * x * x +
                 o.E * o.C * IntPower(4, x)) *
                o.c;
            LocalX = OriginX + x;
            LocalY = OriginY + y;
        },
        LocalX, LocalY, LocalConvergence);
    if (Status == GeoStatus::InternalFault) return;

    const auto within = [](long double v, long double limit) { return v > -limit && v < limit; };
    if (within(x, 50000) && within(y, 50000)) return;
    if (within(x, 80000) && within(y, 80000)) {
        Status = GeoStatus::LocalPlaneBeyond50Km;
        return;
    }
    Status = GeoStatus::LocalPlaneBeyond80Km;
    LocalX = 0;
    LocalY = 0;
}

namespace {

// Back azimuth, radians clockwise from north, of the direction from the plane point (x, y)
// relative to the origin back to the origin.
long double BackAzimuth(long double x, long double y)
{
    const long double pi = GeoConstants::Pi;
    if (y == 0) return x >= 0 ? 3 * pi / 2 : pi / 2;
    if (x == 0) return y > 0 ? pi : 0;
    if (y > 0) return std::atan(x / y) + pi;
    if (x > 0) return std::atan(x / y) + 2 * pi;
    return std::atan(x / y);
}

}  // namespace

void TGeo::LocalToGeo(long double X, long double Y)
{
    Status = GeoStatus::Ok;
    bool computable = true;
    const long double dx = X - OriginX;
    const long double dy = Y - OriginY;
    if (!Inside(dx, -80000, 80000) || !Inside(dy, -80000, 80000)) {
        Status = GeoStatus::LocalPlaneBeyond80Km;
        computable = false;
    } else if (!Inside(dx, -50000, 50000) || !Inside(dy, -50000, 50000)) {
        Status = GeoStatus::LocalPlaneBeyond50Km;
    }
    if (!DatumRadiusValid()) {
        Status = GeoStatus::InvalidEarthRadius;
        computable = false;
    }
    // An infinite plane height scales every offset to nothing without raising a flag, which
    // would give the origin for any point.
    if (computable && !std::isfinite(PlaneHeight)) {
        Status = GeoStatus::InternalFault;
        computable = false;
    }
    if (!computable) {
        Lat = 0;
        Lon = 0;
        return;
    }
    Guarded(
        [&] {
            const LocalOriginTerms o = OriginTerms();
            const long double x = dx / o.c;
            const long double y = dy / o.c;
            const long double Az = BackAzimuth(x, y);
            const long double d = std::sqrt(x * x + y * y);
            const auto [sinAz, cosAz] = LibrarySinCos(Az);
            const long double sin2Az = sinAz * sinAz;
            const long double S = (o.C * d * d * sin2Az + o.B * d * cosAz) -
                                  o.B * o.E * IntPower(3, d) * sin2Az * cosAz;
            const long double dPhi = -S - o.D * S * S;
            const long double dPhi1 = dPhi * (1 + o.arc1 * o.arc1 / 6 * dPhi * dPhi);
            const long double phiP = o.phi0 + std::atan(1.0L) * (dPhi1 / 3600) / 45;
            const SinCos p = SinCosOfRadians(phiP);
            const long double Np = o.a / std::sqrt(1 - o.e2 * p.sin * p.sin);
            const long double dLambda = (1 / p.cos) * (dx / (Np * o.c)) * (1 / o.arc1);
            const long double sinArc1 = std::sin(o.arc1);
            const long double dLambda1 = dLambda * (1 + sinArc1 * sinArc1 / 6 * dLambda * dLambda);
            Lat = phiP / Pi * 180;
            Lon = OriginLon + dLambda1 / 3600;
        },
        Lat, Lon);
}
