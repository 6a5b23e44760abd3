#include "transform/text/AngleText.h"
#include "transform/text/CoordinateKinds.h"
#include "tests/transform/Formats.h"
#include "transform/text/ResultText.h"
#include "tests/transform/result_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A UTM point south of the equator on the central meridian of zone 23; the convergence
// -0.123456 degrees is 0°07'24,4416" (0.123456 x 60 = 7.40736', 0.40736 x 60 = 24.4416").
ResultValues gridPoint()
{
    ResultValues values;
    values.north = 7511005.123456789L;
    values.east = 500000.0L;
    values.zone = 23;
    values.zoneLetter = 'K';
    values.height = 100.0L;
    values.convergence = -0.123456L;
    values.scaleFactor = 0.9996L;
    return values;
}

struct LinesCase {
    const char* why;
    ResultLayout layout;
    ResultValues values;
    int angleFormat;
    NumberFormat format;
    Lines expected;
};

ResultValues geodeticPoint()
{
    ResultValues values;
    values.latitude = -22.5L;
    values.longitude = -45.0L;
    values.height = 1234.5L;
    return values;
}

ResultValues cartesianPoint()
{
    ResultValues values;
    values.cartX = 4010000.12345L;
    values.cartY = -4283611.98765L;
    values.cartZ = -2422000.5L;
    values.height = 55.0L;
    return values;
}

ResultValues topographicPoint()
{
    ResultValues values;
    values.localX = 150000.0L;
    values.localY = 251234.56789L;
    values.height = 812.25L;
    values.localConvergence = 0.0025L;  // 9 seconds
    return values;
}

const LinesCase kLines[] = {
    {"UTM target from a geodetic source: zone line and scale factor",
     {CoordinateKind::Grid, GridFamily::Utm, CoordinateKind::Geodetic},
     gridPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalDotThousands(),
     {"(N)orte = 7.511.005,123457 m", "l(E)ste = 500.000,000000 m", "Zona 23 K", "h = 100,0000 m",
      "Covergencia Meridiana = -0°07'24,4416\"", "K = 0,99960000"}},
    {"UTM target from a grid source: no scale factor",
     {CoordinateKind::Grid, GridFamily::Utm, CoordinateKind::Grid},
     gridPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalDotThousands(),
     {"(N)orte = 7.511.005,123457 m", "l(E)ste = 500.000,000000 m", "Zona 23 K", "h = 100,0000 m",
      "Covergencia Meridiana = -0°07'24,4416\""}},
    {"LTM target: no zone line",
     {CoordinateKind::Grid, GridFamily::Ltm, CoordinateKind::Cartesian},
     gridPoint(),
     AngleFormat::Degrees,
     commaDecimalDotThousands(),
     {"(N)orte = 7.511.005,123457 m", "l(E)ste = 500.000,000000 m", "h = 100,0000 m",
      "Covergencia Meridiana = -00,123456000000°"}},
    {"user-defined family from a geodetic source: scale factor but no zone",
     {CoordinateKind::Grid, GridFamily::UserDefined, CoordinateKind::Geodetic},
     gridPoint(),
     AngleFormat::DegreesMinutes,
     dotDecimalCommaThousands(),
     {"(N)orte = 7,511,005.123457 m", "l(E)ste = 500,000.000000 m", "h = 100.0000 m",
      "Covergencia Meridiana = -0°07.4073600000'", "K = 0.99960000"}},
    {"RTM target: no zone line",
     {CoordinateKind::Grid, GridFamily::Rtm, CoordinateKind::Topographic},
     gridPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalSpaceThousands(),
     {"(N)orte = 7 511 005,123457 m", "l(E)ste = 500 000,000000 m", "h = 100,0000 m",
      "Covergencia Meridiana = -0°07'24,4416\""}},
    {"geodetic target",
     {CoordinateKind::Geodetic, GridFamily::Utm, CoordinateKind::Grid},
     geodeticPoint(),
     AngleFormat::Degrees,
     dotDecimalCommaThousands(),
     {"Latitude = -22.500000000000°", "Longitude = -45.000000000000°", "h = 1,234.5000 m"}},
    {"geodetic target in seconds",
     {CoordinateKind::Geodetic, GridFamily::Utm, CoordinateKind::Geodetic},
     geodeticPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalDotThousands(),
     {"Latitude = -22°30'00,0000\"", "Longitude = -45°00'00,0000\"", "h = 1.234,5000 m"}},
    {"Cartesian target: no unit",
     {CoordinateKind::Cartesian, GridFamily::Utm, CoordinateKind::Geodetic},
     cartesianPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalDotThousands(),
     {"X = 4.010.000,1235", "Y = -4.283.611,9877", "Z = -2.422.000,5000"}},
    {"topographic target: h with unit, X and Y without",
     {CoordinateKind::Topographic, GridFamily::Utm, CoordinateKind::Geodetic},
     topographicPoint(),
     AngleFormat::DegreesMinutesSeconds,
     commaDecimalDotThousands(),
     {"X topográfico = 150.000,0000", "Y topográfico = 251.234,5679", "h = 812,2500 m",
      "Covergencia Meridiana = 0°00'09,0000\""}},
    {"no angle format: angles are 0°",
     {CoordinateKind::Geodetic, GridFamily::Utm, CoordinateKind::Geodetic},
     geodeticPoint(),
     AngleFormat::None,
     commaDecimalDotThousands(),
     {"Latitude = 0°", "Longitude = 0°", "h = 1.234,5000 m"}},
    {"no target kind: no lines",
     {-1, GridFamily::Utm, CoordinateKind::Geodetic},
     geodeticPoint(),
     AngleFormat::Degrees,
     commaDecimalDotThousands(),
     {}},
};

TEST(ResultLines, WriteTheLinesOfTheTargetKindInOrder)
{
    for (const auto& c : kLines) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(resultLines(c.layout, c.values, portugueseLabels(), c.angleFormat, c.format),
                  c.expected);
    }
}

}  // namespace

// What the result box's "copy the numbers" puts on the clipboard: each value as a box takes it.
TEST(ResultNumbers, AreTheValuesAsABoxTakesThem)
{
    const NumberFormat comma{',', "."};
    const std::vector<std::string> lines = {"(N)orte = 7.454.946,480918 m",
                                            "Zona 23 K",
                                            "Latitude = -23\u00B040'35,2344\"",
                                            "Longitude = -23\u00B040,5872400000'",
                                            "Convergencia = 00,021323593466\u00B0",
                                            "K = 0,99960000"};
    EXPECT_EQ(resultNumbers(lines, comma),
              "7454946,480918\n-23,40352344\n-23,405872400000\n00,021323593466\n0,99960000\n");
}
