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
#include "core/Ntv2Grid.h"

#include <cstdint>
#include <memory>
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
// Warning of the runs' datum stage, not of a routine: the datum's grid does not hold the point,
// which the datum's shift carried instead.
inline constexpr std::int32_t OutsideGrid = 13;
inline constexpr std::int32_t InternalFault = 99;  // floating-point fault in a computation
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
// WGS 84, in the sense X(WGS 84) = X(datum) + Dx, with the rotations and scale change of a
// seven-parameter datum.
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
    // A grid that carries the datum's points to another datum more closely than the shift does:
    // its file's name and the name of the datum it carries them to, both empty when the datum
    // names none; the grid itself once it has been found and read, none before or when it
    // cannot be.
    std::string GridFile;
    std::string GridTarget;
    std::shared_ptr<const Ntv2Grid> Grid;

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

    // Each routine below states its inputs, the fields it writes, its status codes in the order
    // they are checked (the last failing one remains; see the conventions at the top), and its
    // accuracy. "Datum check" is code 8 for an unset Datum or a semi-major axis outside
    // [MinSemiMajorAxis, MaxSemiMajorAxis]. Against the arithmetic the engine had with glibc's
    // sine and cosine, every result agrees within 1e-10 m and 1e-15 degrees
    // (tests/core/test_unchanged.cpp).

    // ---- Transverse Mercator grid ----
    // Grid coordinates of a point, by the series of the current Grid on the current Datum.
    //   Lat, Lon: degrees; CentralMeridian: degrees.
    //   Writes North and East, metres, with FalseEasting added and, for Lat <= 0 (the equator
    //   counts as southern), FalseNorthing; zeroed on an error. Always writes Zone and ZoneLetter
    //   as ZoneOf does, error or not.
    //   Status: 1 (warning) if |Lon - CentralMeridian| exceeds half the zone width; 2 if it
    //   exceeds it by more than 1 degree; 3 (warning) for a non-standard central meridian; 4 for
    //   Lat outside [-80, 84]; 5 for Lon outside [-180, 180]; the datum check; 99 on a fault.
    //   Accuracy against the exact projection within 1.5 / 2 / 3 / 4 degrees of the central
    //   meridian: northing 4.3e-7 / 4.3e-7 / 2.9e-6 / 2.6e-5 m, easting 1.7e-6 / 7.6e-6 / 1.0e-4
    //   / 7.0e-4 m (85 mm at 8 degrees).
    void GeoToGrid(long double Lat, long double Lon, long double CentralMeridian);
    // The point of grid coordinates, by the inverse series at the footpoint latitude.
    //   Hemisphere: 1 is south (North counts down from FalseNorthing), any other value north.
    //   North, East: metres, false origin included; CentralMeridian: degrees.
    //   Writes Lat and Lon, degrees; zeroed on an error.
    //   Status: 3 (warning) for a non-standard central meridian; 6 for North outside [MinNorthing,
    //   MaxNorthing]; 7 for East outside [MinEasting, MaxEasting]; the datum check; 99 for an
    //   infinite K0 or a fault; then, on the result, 6 for a latitude beyond +-90 degrees (a
    //   northing past the pole) and 7 for a longitude more than 90 degrees from the central
    //   meridian or 360 from Greenwich (where the series diverges).
    //   Accuracy on the ground against the exact projection within 1.5 / 2 / 3 / 4 degrees of the
    //   central meridian: 3.2e-6 / 2.2e-5 / 3.7e-4 / 2.8e-3 m. The footpoint latitude is the
    //   fixed point of its iteration to the last place, as before.
    void GridToGeo(int Hemisphere, long double North, long double East,
                   long double CentralMeridian);
    // The meridian convergence by its series.
    //   Lat, Lon, CentralMeridian: degrees.
    //   Writes Convergence, degrees, positive east of the central meridian in the north; zeroed
    //   on an error.
    //   Status: 4 for Lat outside [-80, 84]; 5 for Lon outside [-180, 180]; the datum check; 99
    //   on a fault.
    //   Accuracy within 3.2e-8 degrees to 3 degrees from the central meridian, 1.4e-7 at 4.
    void MeridianConvergence(long double Lat, long double Lon, long double CentralMeridian);
    // The point scale factor of the sphere, K0 / sqrt(1 - (cos Lat sin(Lon - CentralMeridian))^2).
    //   Lat, Lon, CentralMeridian: degrees. Reads Grid, not Datum.
    //   Writes ScaleFactor; 0 where the formula has no value (the equator 90 degrees from the
    //   central meridian) or on a fault.
    //   Status: none; the previous value is kept, even on a fault.
    //   Accuracy against the ellipsoidal factor within 9.3e-6 to 3 degrees, 1.7e-5 at 4.
    void PointScaleFactor(long double Lat, long double Lon, long double CentralMeridian);
    // Zones of the grid's own width counted from -180 and bands of 8 degrees from -80.
    //   Lat, Lon: degrees.
    //   Writes Zone (0 where the quotient has no finite value or passes 32 bits) and ZoneLetter
    //   (C to X without I and O; a blank outside them). Status: none.
    void ZoneOf(long double Lat, long double Lon);
    // Length of the meridian from the equator to Lat (degrees; negative in the south) on the
    // ellipsoid of semi-major axis A and first eccentricity E, in metres: the binomial series to
    // E^10, within 4.3e-7 m of the exact arc from -80 to 84 degrees. Reads and writes no field.
    static long double MeridianArc(long double A, long double Lat, long double E);

    // ---- Geocentric coordinates and datum change ----
    // Geocentric coordinates of a point on the current Datum.
    //   Lat, Lon: degrees; H: ellipsoidal height, metres.
    //   Writes CartX, CartY, CartZ, metres; zeroed on an error.
    //   Status: 4 for Lat outside [-90, 90]; 5 for Lon outside [-180, 180]; the datum check; 99
    //   on a fault.
    //   Accuracy: within 2.2e-9 m of PROJ's cart.
    void GeoToCartesian(long double Lat, long double Lon, long double H);
    // The point of geocentric coordinates on the current Datum, by Bowring's closed form in one
    // step.
    //   X, Y, Z: metres.
    //   Writes Lat, Lon (degrees, the longitude quadrant-correct) and Height (metres); zeroed
    //   on an error.
    //   Status: 99 for an unset Datum, or on a fault: a point on the polar axis (X = Y = 0) or a
    //   coordinate that is not finite.
    //   Accuracy against GeographicLib's Geocentric within 2.2e-8 / 1.1e-6 / 1.0e-4 m for heights
    //   up to 1 / 10 / 100 km (the single step is exact only on the ellipsoid).
    void CartesianToGeo(long double X, long double Y, long double Z);
    // A point of the current Datum on TargetDatum, through geocentric coordinates: by the
    // difference of the two datums' translations to WGS 84 when neither has rotations or a
    // scale, otherwise to WGS 84 by the source's Helmert shift and back by the target's (see
    // Helmert.h).
    //   Lat, Lon: degrees; H: ellipsoidal height, metres.
    //   Writes ShiftLat, ShiftLon (degrees) and ShiftH (metres); zeroed on an error.
    //   Status: 4 for Lat outside [-80, 84]; 5 for Lon outside [-180, 180]; the datum check of
    //   the current Datum; 8 for a target semi-major axis outside the same bounds; 99 on a fault.
    //   Accuracy within 3.7e-9 m and 3.2e-14 degrees of PROJ's cart / Helmert / cart pipeline.
    void ChangeDatum(const TDatum& TargetDatum, long double Lat, long double Lon, long double H);
    // Whether ChangeDatum's checks pass for the point, without computing or setting Status: the
    // runs' datum stage holds a point carried by a grid to the same checks.
    bool ChangeDatumAccepts(const TDatum& TargetDatum, long double Lat, long double Lon) const;

    // ---- Local topographic plane ----
    // Sets the plane's origin for GeoToLocal and LocalToGeo.
    //   OriginLat, OriginLon: degrees; PlaneHeight: the plane's altitude, metres; OriginX,
    //   OriginY: the plane coordinates given to the origin, metres.
    //   Writes the five fields of the same names; all zeroed on an error.
    //   Status: 4 for OriginLat outside [-90, 90]; 5 for OriginLon outside [-180, 180].
    void SetLocalOrigin(long double OriginLat, long double OriginLon, long double PlaneHeight,
                        long double OriginX, long double OriginY);
    // Plane coordinates of a point.
    //   Lat, Lon: degrees.
    //   Writes LocalX, LocalY (metres, the origin's coordinates added) and LocalConvergence
    //   (degrees); all zeroed on an error, LocalX and LocalY alone on code 10.
    //   Status: 4 for Lat outside [-90, 90]; 5 for Lon outside [-180, 180]; the datum check; 99
    //   on a fault; then 9 (warning) where an offset from the origin reaches 50 km, or 10 where
    //   one reaches 80 km.
    //   Accuracy: the series of the plane; a round trip with LocalToGeo returns within 1.2e-6 /
    //   2.5e-4 / 2.5e-3 m at 10 / 50 / 80 km from the origin (plane altitude 0).
    void GeoToLocal(long double Lat, long double Lon);
    // The point of plane coordinates.
    //   X, Y: metres, the origin's coordinates included.
    //   Writes Lat and Lon, degrees; zeroed on an error.
    //   Status: 10 where an offset from the origin exceeds 80 km, else 9 (warning) where one
    //   exceeds 50 km; the datum check; 99 for a non-finite PlaneHeight or a fault.
    //   Accuracy: see GeoToLocal.
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
