// The geometry the DXF rewrite needs around the point transformation: an entity's object
// coordinate system, and the local similarity that carries its vectors, sizes and angles.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

struct Vector3 {
    long double x = 0, y = 0, z = 0;
};

// The box that encloses points, empty before the first; a point with a coordinate that is not
// finite is left out.
struct Box {
    Vector3 min{std::numeric_limits<long double>::infinity(),
                std::numeric_limits<long double>::infinity(),
                std::numeric_limits<long double>::infinity()};
    Vector3 max{-min.x, -min.y, -min.z};
    bool empty() const { return !(min.x <= max.x); }
    void add(Vector3 p)
    {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
    long double component(bool upper, int axis) const
    {
        const Vector3& v = upper ? max : min;
        return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
    }
};

// An entity's object coordinate system (OCS), from its extrusion direction by the arbitrary axis
// algorithm of the DXF reference: the X axis is Wy x N when N lies within 1/64 of the world Z
// axis, Wz x N otherwise, and the Y axis is N x Ax. The extrusion 0, 0, 1 (or none, or a zero
// vector) is the world system itself, for which both conversions return their argument exactly.
class ObjectCoordinates {
public:
    ObjectCoordinates() = default;
    explicit ObjectCoordinates(Vector3 extrusion);

    bool isWorld() const { return world_; }
    Vector3 toWorld(Vector3 p) const;
    Vector3 toObject(Vector3 p) const;

private:
    bool world_ = true;
    Vector3 ax_{1, 0, 0}, ay_{0, 1, 0}, az_{0, 0, 1};
};

// The closest similarity (a rotation theta and a scale s of the horizontal plane) to the
// transformation near a point, from the point and its neighbours one unit east and north,
// transformed: J = [T(P + ex) - T(P), T(P + ey) - T(P)], s cos theta = (J11 + J22) / 2 and
// s sin theta = (J21 - J12) / 2. For a conformal map (grid to grid, through any datum) J is a
// similarity and this is exact but for the difference quotient, whose error over one metre is
// below 1e-8 in scale and rotation for a grid; a non-conformal one (to geocentric X, Y) takes its
// closest similarity. Heights are not scaled: a vector's Z is kept.
class LocalSimilarity {
public:
    static std::optional<LocalSimilarity> fromNeighbours(Vector3 at, Vector3 east, Vector3 north);

    // No change at all: the values can be left as their text stands.
    bool isIdentity() const { return scale_ == 1 && sinTheta_ == 0 && cosTheta_ == 1; }
    long double size(long double value) const { return value * scale_; }
    Vector3 turn(Vector3 v) const;
    Vector3 turnAndScale(Vector3 v) const;
    // An angle of the OCS plane (degrees from the OCS X axis) after the turn, as close to the
    // old value as the turn is small: with the world OCS it is the old angle plus theta.
    long double angle(long double degrees, const ObjectCoordinates& ocs) const;

private:
    long double scale_ = 1, cosTheta_ = 1, sinTheta_ = 0, thetaDegrees_ = 0;
};
