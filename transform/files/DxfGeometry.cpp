#include "transform/files/DxfGeometry.h"

#include <cmath>
#include <numbers>

namespace {

Vector3 cross(Vector3 a, Vector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

long double dot(Vector3 a, Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3 unit(Vector3 v)
{
    const long double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

constexpr long double kDegree = std::numbers::pi_v<long double> / 180;

}  // namespace

ObjectCoordinates::ObjectCoordinates(Vector3 extrusion)
{
    if (!(dot(extrusion, extrusion) > 0) || !std::isfinite(dot(extrusion, extrusion))) return;
    const Vector3 n = unit(extrusion);
    if (n.x == 0 && n.y == 0 && n.z == 1) return;
    constexpr long double kNearZ = 1.0L / 64;
    const Vector3 axis =
        std::fabs(n.x) < kNearZ && std::fabs(n.y) < kNearZ ? Vector3{0, 1, 0} : Vector3{0, 0, 1};
    world_ = false;
    az_ = n;
    ax_ = unit(cross(axis, n));
    ay_ = unit(cross(n, ax_));
}

Vector3 ObjectCoordinates::toWorld(Vector3 p) const
{
    if (world_) return p;
    return {p.x * ax_.x + p.y * ay_.x + p.z * az_.x, p.x * ax_.y + p.y * ay_.y + p.z * az_.y,
            p.x * ax_.z + p.y * ay_.z + p.z * az_.z};
}

Vector3 ObjectCoordinates::toObject(Vector3 p) const
{
    if (world_) return p;
    return {dot(p, ax_), dot(p, ay_), dot(p, az_)};
}

std::optional<LocalSimilarity> LocalSimilarity::fromNeighbours(Vector3 at, Vector3 east,
                                                               Vector3 north)
{
    const long double j11 = east.x - at.x, j21 = east.y - at.y;
    const long double j12 = north.x - at.x, j22 = north.y - at.y;
    const long double p = (j11 + j22) / 2, q = (j21 - j12) / 2;
    const long double s = std::hypot(p, q);
    if (!(s > 0) || !std::isfinite(s)) return std::nullopt;
    LocalSimilarity similarity;
    similarity.scale_ = s;
    similarity.cosTheta_ = p / s;
    similarity.sinTheta_ = q / s;
    similarity.thetaDegrees_ = std::atan2(q, p) / kDegree;
    return similarity;
}

Vector3 LocalSimilarity::turn(Vector3 v) const
{
    return {cosTheta_ * v.x - sinTheta_ * v.y, sinTheta_ * v.x + cosTheta_ * v.y, v.z};
}

Vector3 LocalSimilarity::turnAndScale(Vector3 v) const
{
    const Vector3 turned = turn(v);
    return {turned.x * scale_, turned.y * scale_, turned.z};
}

long double LocalSimilarity::angle(long double degrees, const ObjectCoordinates& ocs) const
{
    if (ocs.isWorld()) return degrees + thetaDegrees_;
    const Vector3 along =
        ocs.toWorld({std::cos(degrees * kDegree), std::sin(degrees * kDegree), 0});
    const Vector3 turned = ocs.toObject(turn(along));
    const long double change =
        std::remainder(std::atan2(turned.y, turned.x) / kDegree - degrees, 360.0L);
    return degrees + change;
}
