#include "ui/texts/MapMarks.h"

#include <cmath>
#include <cstdio>

namespace {

// A truncated pixel coordinate. Values far outside any picture are held at a distance that
// still lies outside it, so that no conversion overflows and no painter meets huge numbers.
int pixel(double value)
{
    constexpr double kFar = 1e6;
    if (std::isnan(value)) return static_cast<int>(-kFar);
    if (value > kFar) return static_cast<int>(kFar);
    if (value < -kFar) return static_cast<int>(-kFar);
    return static_cast<int>(std::trunc(value));
}

const std::string kDegree = "\u00B0";

}  // namespace

std::string wholeDegrees(double value)
{
    // Adding zero turns the -0 of a truncated -0.5 into 0.
    const double whole = std::trunc(value) + 0.0;
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", whole);
    return digits;
}

WorldMapMark worldMapMark(double Lat, double Lon)
{
    const PixelPoint at{pixel(Lon / 360 * 567 + 283.5), pixel(144 - Lat / 180 * 280)};
    std::string latitude, longitude;
    if (Lat < 0)
        latitude = wholeDegrees(-Lat) + kDegree + "S,";
    else if (Lat == 0)
        latitude = "0" + kDegree + ",";
    else
        latitude = wholeDegrees(Lat) + kDegree + "N,";
    if (Lon < 0)
        longitude = wholeDegrees(-Lon) + kDegree + "W";
    else if (Lon == 0)
        longitude = "0" + kDegree;
    else
        longitude = wholeDegrees(Lon) + kDegree + "E";
    return {at, {latitude + longitude, {at.x + 8, at.y - 13}}};
}

ZoneMark zoneMark(double North, double East, double CentralMeridian, bool south)
{
    const int x = pixel(East / 800000 * 123) + 62;
    const int down = pixel(North / 10000000 * 151);
    const int y = (south ? 313 : 163) - down;
    return {{x, y},
            {{{wholeDegrees(CentralMeridian) + kDegree, {110, 113}},
              {wholeDegrees(CentralMeridian - 3) + kDegree, {67, 148}},
              {wholeDegrees(CentralMeridian + 3) + kDegree, {192, 148}}}}};
}
