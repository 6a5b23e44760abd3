// The indexes by which the window's lists name the coordinate kinds and the grid families.
#pragma once

namespace CoordinateKind {
inline constexpr int Grid = 0;         // Transverse Mercator northing and easting
inline constexpr int Geodetic = 1;     // latitude, longitude, ellipsoidal height
inline constexpr int Cartesian = 2;    // geocentric X, Y, Z
inline constexpr int Topographic = 3;  // local topographic plane
}  // namespace CoordinateKind

namespace GridFamily {
inline constexpr int Utm = 0;
inline constexpr int Ltm = 1;
inline constexpr int Rtm = 2;
inline constexpr int UserDefined = 3;
}  // namespace GridFamily
