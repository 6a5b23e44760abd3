// The seven-parameter (Helmert) similarity between a datum's geocentric frame and WGS 84's:
// three translations, three small rotations and a scale change.
//
// From the datum to WGS 84 (EPSG Guidance Note 7-2, methods 9606 and 9607):
//
//     X' = T + (1 + s) R X,    R = |  1   -rz   ry |
//                                  |  rz   1   -rx |      (position vector, 9606)
//                                  | -ry   rx   1  |
//
// with the rotations in radians; the coordinate frame convention (9607) publishes the same
// rotations with the opposite sign, so rx, ry, rz are negated before use. The rotation matrix is
// the first-order one that EPSG defines the methods with, not an exact rotation.
//
// Back from WGS 84 to the datum the frame is undone as PROJ's Helmert inverse undoes it:
// X = R^T (X' - T) / (1 + s). R^T departs from the inverse of R by about r^2 |X|: 8 mm for the
// 7.4 arc-seconds of S-JTSK, nothing for the fractions of a second of most datums.
//
// With no rotation and no scale both directions are the translation alone, X' = X + T, and
// exact.
#pragma once

// The sign convention of published rotations.
enum class RotationConvention {
    PositionVector,   // EPSG method 9606
    CoordinateFrame,  // EPSG method 9607
};

// The four parameters beyond a translation; all zero for a three-parameter datum.
struct HelmertRotation {
    long double Rx = 0, Ry = 0, Rz = 0;  // arc-seconds, in `convention`
    long double Scale = 0;               // parts per million
    RotationConvention convention = RotationConvention::PositionVector;

    bool none() const { return Rx == 0 && Ry == 0 && Rz == 0 && Scale == 0; }
};

struct HelmertShift {
    long double Dx = 0, Dy = 0, Dz = 0;  // metres
    HelmertRotation rotation;

    // No rotation and no scale: the three-parameter shift.
    bool translationOnly() const { return rotation.none(); }
};

struct GeocentricXYZ {
    long double X, Y, Z;  // metres
};

// A point of the datum's frame in WGS 84's.
GeocentricXYZ helmertToWgs84(const HelmertShift& shift, const GeocentricXYZ& datumPoint);
// A point of WGS 84's frame in the datum's.
GeocentricXYZ helmertFromWgs84(const HelmertShift& shift, const GeocentricXYZ& wgs84Point);
