// Where the map window marks a point on its two pictures, and the labels it writes, in the
// pictures' pixel coordinates (x to the right, y down from the top-left pixel). Every conversion
// to whole pixels truncates toward zero. A point off the picture is placed where it falls: its
// marks are simply not seen.
#pragma once

#include <array>
#include <string>

struct PixelPoint {
    int x = 0, y = 0;
};

struct MapLabel {
    std::string text;  // UTF-8
    PixelPoint topLeft;
};

// The world map, 567 x 284 pixels: longitude -180 at x = 0, 0 at x = 283, +180 at x = 567;
// latitude +90 at y = 4, 0 at y = 144, -90 at y = 284. The mark is a horizontal line across
// the picture through the crossing, a vertical one down it, a circle whose box runs from
// (x - 5, y - 5) to (x + 6, y + 6), and the label "22°S,47°W" 8 pixels right of and 13 above the
// crossing.
struct WorldMapMark {
    PixelPoint crossing;
    MapLabel label;
};
WorldMapMark worldMapMark(double Lat, double Lon);

// The picture of one UTM zone, 240 x 344 pixels: easting 0 at x = 62, 800 000 at x = 185;
// northing 0 at y = 163 and 10 000 000 at y = 12 in the north, 10 000 000 at y = 162 and 0 at
// y = 313 in the south. The mark is a vertical line from (x, 13) to (x, 316), a horizontal one
// from (78, y) to (201, y) and the circle; the labels are the central meridian and the edges of
// a six-degree zone, in whole degrees with their sign ("-45°", "-48°", "-42°").
struct ZoneMark {
    PixelPoint crossing;
    std::array<MapLabel, 3> meridians;  // central, west edge, east edge
};
ZoneMark zoneMark(double North, double East, double CentralMeridian, bool south);

// The whole degrees of a value truncated toward zero, with its sign ("-45", "0" for -0.5).
std::string wholeDegrees(double value);
