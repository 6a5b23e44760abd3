// Geodesica: the computation core of Zelvora.
//
// Datum and grid-family records and the engine TGeo that carries a point between geodetic
// coordinates (latitude, longitude, ellipsoidal height), Transverse Mercator grid coordinates,
// geocentric X, Y, Z and a local topographic plane, and from one datum to another by a
// three-parameter translation.
//
// Conventions, binding for every routine:
// - Every real value is an 80-bit extended long double; lengths are metres; angles at the
//   interface are signed decimal degrees, north and east positive.
// - No routine throws. Each checking routine sets Status (codes below) and writes its result
//   fields; the caller reads them right after the call. Warnings (1, 3, 9) keep the results;
//   every other code zeroes them.
// - A routine starts with Status = 0, runs its checks in their documented order (so the last
//   failing check's code remains), and computes only when no error check failed. The computation
//   runs under a floating-point guard: an invalid operation, a division by zero, an overflow or a
//   non-finite result ends it with Status 99 and the routine's results zeroed.
// - The engine reads, but does not own, its current Datum and Grid; the caller sets them before
//   each call. There is no global state: the four grid records belong to the engine.
#pragma once

#include "core/Helmert.h"

#include <cstdint>
#include <string>

// Status codes of the engine. The values are part of the interface: the user interface shows
// the message of the code, and the datum editor uses 8, 11 and 12 with bounds of its own.
namespace GeoStatus {
inline constexpr std::int32_t Ok = 0;
inline constexpr std::int32_t OutsideZone = 1;          // warning: at most 1 degree beyond the zone
inline constexpr std::int32_t FarOutsideZone = 2;       // more than 1 degree beyond the zone edge
inline constexpr std::int32_t NonStandardMeridian = 3;  // warning
inline constexpr std::int32_t InvalidLatitude = 4;
inline constexpr std::int32_t InvalidLongitude = 5;
inline constexpr std::int32_t InvalidNorthing = 6;
inline constexpr std::int32_t InvalidEasting = 7;
inline constexpr std::int32_t InvalidEarthRadius = 8;
inline constexpr std::int32_t LocalPlaneBeyond50Km = 9;  // warning
inline constexpr std::int32_t LocalPlaneBeyond80Km = 10;
inline constexpr std::int32_t InvalidFlattening = 11;  // datum editor only
inline constexpr std::int32_t InvalidNumber = 12;      // datum editor only
inline constexpr std::int32_t InternalFault = 99;      // floating-point fault in a computation
}  // namespace GeoStatus

// Stored constants: the extended values nearest to the decimal figures.
namespace GeoConstants {
inline constexpr long double Pi = 3.14159265358979323851L;
inline constexpr long double Rho = 57.29577951308232087665L;        // degrees per radian
inline constexpr long double ArcSecond = 4.848136811095359936e-6L;  // pi / 648000, radians
inline constexpr long double OneOver3600 = 1.0L / 3600.0L;
inline constexpr long double TenToMinus4 = 1e-4L;
inline constexpr long double TenToMinus6 = 1e-6L;
inline constexpr long double LocalLatitudeSeriesTerm = 3.9173e-12L;
// Bounds of the semi-major axis that every datum check accepts (closed interval).
inline constexpr long double MinSemiMajorAxis = 6375000.0L;
inline constexpr long double MaxSemiMajorAxis = 6379000.0L;
// Metres taken for one degree in the validity windows of the grid records.
inline constexpr long double MetresPerDegree = 111000.0L;
}  // namespace GeoConstants

// One geodetic datum: an ellipsoid and the translation of its geocentric frame relative to
// WGS 84, in the sense X(WGS 84) = X(datum) + Dx.
class TDatum {
public:
    // Create: stores the six values unchanged. F is the flattening itself; callers holding the
    // inverse flattening pass 1 divided by it.
    TDatum(std::string Name, long double A, long double F, long double Dx, long double Dy,
           long double Dz);

    std::string Name;
    long double A;   // semi-major axis, metres
    long double F;   // flattening
    long double Dx;  // metres
    long double Dy;
    long double Dz;
    HelmertRotation Rotation;  // none for a three-parameter datum

    HelmertShift Shift() const { return {Dx, Dy, Dz, Rotation}; }
};

// The parameters of one Transverse Mercator grid family and the validity window of its grid
// coordinates: half a zone plus one degree of 111000 m on each side of the central meridian,
// and northings from 0 to FalseNorthing + 111000.
class TTipo_Coord {
public:
    // Create: stores the four values and derives the window.
    TTipo_Coord(long double K0, long double FalseEasting, long double FalseNorthing,
                long double ZoneWidth);
    // Overwrites the four values of an existing record and derives the window again.
    void SetParameters(long double K0, long double FalseEasting, long double FalseNorthing,
                       long double ZoneWidth);

    long double K0 = 0;             // scale factor on the central meridian
    long double FalseEasting = 0;   // metres
    long double FalseNorthing = 0;  // metres, applied to southern coordinates
    long double MinNorthing = 0;
    long double MaxNorthing = 0;
    long double MinEasting = 0;
    long double MaxEasting = 0;
    long double ZoneWidth = 0;  // degrees of longitude
};

// The computation engine. Every conversion is a routine of TGeo; see the conventions above.
class TGeo {
public:
    // Create: makes the four grid records, in the order UTM, RTM, LTM, user-defined.
    // Grid starts on GridUTM (the record the program starts with); Datum starts unset and must be
    // set before any routine runs. A routine called without a datum fails its datum check (8), or
    // reports 99 where it has none.
    TGeo();
    // The engine refers to its own grid records; a copy would refer to the original's.
    TGeo(const TGeo&) = delete;
    TGeo& operator=(const TGeo&) = delete;

    // ---- Transverse Mercator grid ----
    void GeoToGrid(long double Lat, long double Lon, long double CentralMeridian);
    // Hemisphere 1 is south, any other value north.
    void GridToGeo(int Hemisphere, long double North, long double East,
                   long double CentralMeridian);
    void MeridianConvergence(long double Lat, long double Lon, long double CentralMeridian);
    void PointScaleFactor(long double Lat, long double Lon, long double CentralMeridian);
    void ZoneOf(long double Lat, long double Lon);
    // Length of the meridian from the equator to Lat (degrees; negative in the south) on the
    // ellipsoid of semi-major axis A and first eccentricity E.
    static long double MeridianArc(long double A, long double Lat, long double E);

    // ---- Geocentric coordinates and datum change ----
    void GeoToCartesian(long double Lat, long double Lon, long double H);
    void CartesianToGeo(long double X, long double Y, long double Z);
    void ChangeDatum(const TDatum& TargetDatum, long double Lat, long double Lon, long double H);

    // ---- Local topographic plane ----
    void SetLocalOrigin(long double OriginLat, long double OriginLon, long double PlaneHeight,
                        long double OriginX, long double OriginY);
    void GeoToLocal(long double Lat, long double Lon);
    void LocalToGeo(long double X, long double Y);

    // ---- Numeric helpers; they read and write no field ----
    // X to the integer power N by N successive multiplications; N <= 0 gives 1.
    static constexpr long double IntPower(int N, long double X)
    {
        long double product = 1;
        for (int i = 0; i < N; ++i) product *= X;
        return product;
    }
    // e to the (Exponent * ln Base); a base of zero or less raises a floating-point fault, which
    // the calling routine's guard reports as 99.
    static long double RealPower(long double Base, long double Exponent);
    // The tangent of X radians; 1000000000 where the cosine is exactly 0.
    static long double Tangent(long double X);
    // The same from a sine and cosine already at hand.
    static long double Tangent(long double SinX, long double CosX);

    // ---- Results (each kept until a routine writes it again) ----
    long double North = 0;
    long double East = 0;
    long double Lat = 0;
    long double Lon = 0;
    std::int32_t Status = 0;
    long double ShiftLat = 0;
    long double ShiftLon = 0;
    long double ShiftH = 0;
    long double Convergence = 0;
    long double LocalX = 0;
    long double LocalY = 0;
    std::int32_t Zone = 0;
    char ZoneLetter = ' ';

    // The four grid families offered to the user, owned by the engine.
    TTipo_Coord GridUTM;
    TTipo_Coord GridRTM;
    TTipo_Coord GridLTM;
    TTipo_Coord GridOutro;

    const TTipo_Coord* Grid;        // current grid record (not owned)
    const TDatum* Datum = nullptr;  // current datum (not owned)

    long double CartX = 0;
    long double CartY = 0;
    long double CartZ = 0;
    long double Height = 0;
    long double ScaleFactor = 0;
    long double LocalConvergence = 0;
    long double OriginLat = 0;
    long double OriginLon = 0;
    long double PlaneHeight = 0;
    long double OriginX = 0;
    long double OriginY = 0;

private:
    struct Ellipsoid;
    struct LocalOriginTerms;
    struct GeocentricPoint {
        long double X, Y, Z;
    };

    static GeocentricPoint GeocentricOf(const Ellipsoid& el, long double Lat, long double Lon,
                                        long double H);
    // A geocentric point of the current datum in the frame of TargetDatum.
    GeocentricXYZ ShiftedToDatum(const TDatum& TargetDatum, const GeocentricXYZ& p) const;

    bool CentralMeridianIsStandard(long double CentralMeridian) const;
    bool DatumRadiusValid() const;
    bool PointChecksPass(long double Lat, long double Lon, long double MinLat, long double MaxLat);
    // The check list of GridToGeo (3, 6, 7, 8, then 99 for an infinite scale factor).
    bool GridChecksPass(long double North, long double East, long double CentralMeridian);
    // GridToGeo's refusal of a computed latitude or longitude that no grid point has.
    void RefuseWhatNoGridPointGives(long double CentralMeridian);
    LocalOriginTerms OriginTerms() const;
    // Runs a computation under the floating-point guard; on a fault sets Status 99 and zeroes the
    // given result fields.
    template <typename Computation, typename... Results>
    void Guarded(Computation&& computation, Results&... results);
};
