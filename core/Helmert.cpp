#include "core/Helmert.h"

namespace {

// Arc-seconds to radians: pi / (180 x 3600).
constexpr long double kRadiansPerArcSecond = 4.84813681109535993589914102357947975e-6L;

// The rotations in radians, in the position vector convention.
struct Rotations {
    long double x, y, z;
};

Rotations positionVector(const HelmertRotation& r)
{
    const long double sign = r.convention == RotationConvention::CoordinateFrame ? -1 : 1;
    return {sign * r.Rx * kRadiansPerArcSecond, sign * r.Ry * kRadiansPerArcSecond,
            sign * r.Rz * kRadiansPerArcSecond};
}

long double scaleFactor(const HelmertRotation& r) { return 1 + r.Scale * 1e-6L; }

}  // namespace

GeocentricXYZ helmertToWgs84(const HelmertShift& shift, const GeocentricXYZ& p)
{
    if (shift.translationOnly()) return {p.X + shift.Dx, p.Y + shift.Dy, p.Z + shift.Dz};
    const Rotations r = positionVector(shift.rotation);
    const long double m = scaleFactor(shift.rotation);
    return {shift.Dx + m * (p.X - r.z * p.Y + r.y * p.Z),
            shift.Dy + m * (r.z * p.X + p.Y - r.x * p.Z),
            shift.Dz + m * (-r.y * p.X + r.x * p.Y + p.Z)};
}

GeocentricXYZ helmertFromWgs84(const HelmertShift& shift, const GeocentricXYZ& p)
{
    if (shift.translationOnly()) return {p.X - shift.Dx, p.Y - shift.Dy, p.Z - shift.Dz};
    const Rotations r = positionVector(shift.rotation);
    const long double m = scaleFactor(shift.rotation);
    const long double x = (p.X - shift.Dx) / m, y = (p.Y - shift.Dy) / m, z = (p.Z - shift.Dz) / m;
    // The transpose of R.
    return {x + r.z * y - r.y * z, -r.z * x + y + r.x * z, r.y * x - r.x * y + z};
}
