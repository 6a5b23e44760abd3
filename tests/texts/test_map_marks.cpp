// Where the map window marks a point and what its labels read.
#include "ui/texts/MapMarks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(WorldMapMark, CampinasCrossesAt209And179WithTheLabelAboveRight)
{
    const WorldMapMark mark = worldMapMark(-22.9, -47.06);
    EXPECT_EQ(mark.crossing.x, 209);
    EXPECT_EQ(mark.crossing.y, 179);
    EXPECT_EQ(mark.label.text, "22\u00B0S,47\u00B0W");
    EXPECT_EQ(mark.label.topLeft.x, 209 + 8);
    EXPECT_EQ(mark.label.topLeft.y, 179 - 13);
}

TEST(WorldMapMark, TheOriginAndTheHemispheresWordTheirLabels)
{
    const WorldMapMark origin = worldMapMark(0, 0);
    EXPECT_EQ(origin.crossing.x, 283);
    EXPECT_EQ(origin.crossing.y, 144);
    EXPECT_EQ(origin.label.text, "0\u00B0,0\u00B0");
    // Truncation toward zero: -0.5 is 0 degrees, still south; 89.9 is 89 north.
    EXPECT_EQ(worldMapMark(-0.5, 10.99).label.text, "0\u00B0S,10\u00B0E");
    EXPECT_EQ(worldMapMark(89.9, -0.2).label.text, "89\u00B0N,0\u00B0W");
    // The corners of the geometry: +90 at y = 4, -90 at y = 284, +-180 at x = 0 and 567.
    EXPECT_EQ(worldMapMark(90, -180).crossing.y, 4);
    EXPECT_EQ(worldMapMark(90, -180).crossing.x, 0);
    EXPECT_EQ(worldMapMark(-90, 180).crossing.y, 284);
    EXPECT_EQ(worldMapMark(-90, 180).crossing.x, 567);
}

TEST(WorldMapMark, PixelsTruncateTowardZeroEvenBelowZero)
{
    // Lon -180.1 gives u = -0.16, truncated to 0 rather than floored to -1.
    EXPECT_EQ(worldMapMark(0, -180.1).crossing.x, 0);
    EXPECT_EQ(worldMapMark(0, -181).crossing.x, -1);
    // Lat 92.1 gives v = -0.27, truncated to 0.
    EXPECT_EQ(worldMapMark(92.1, 0).crossing.y, 0);
}

TEST(WorldMapMark, PointsFarOffThePictureStayFarOffWithoutOverflow)
{
    for (double huge : {1e300, -1e300, HUGE_VAL, -HUGE_VAL}) {
        SCOPED_TRACE(huge);
        const WorldMapMark mark = worldMapMark(huge, huge);
        EXPECT_TRUE(mark.crossing.x < -1000 || mark.crossing.x > 1000);
        EXPECT_TRUE(mark.crossing.y < -1000 || mark.crossing.y > 1000);
        EXPECT_GT(mark.label.topLeft.x, INT_MIN + 100);
        EXPECT_FALSE(mark.label.text.empty());
    }
    EXPECT_EQ(worldMapMark(-1e20, 0).label.text, "100000000000000000000\u00B0S,0\u00B0");
}

TEST(ZoneMark, SouthernNorthing7400000OnTheCentralMeridianCrossesAt138And202)
{
    const ZoneMark south = zoneMark(7400000, 500000, -45, true);
    EXPECT_EQ(south.crossing.x, 138);
    EXPECT_EQ(south.crossing.y, 313 - 111);
    const ZoneMark north = zoneMark(7400000, 500000, -45, false);
    EXPECT_EQ(north.crossing.y, 163 - 111);
    // Eastings 0 and 800 000 on the grid's frame.
    EXPECT_EQ(zoneMark(0, 0, 3, false).crossing.x, 62);
    EXPECT_EQ(zoneMark(0, 800000, 3, false).crossing.x, 185);
    EXPECT_EQ(zoneMark(10000000, 0, 3, false).crossing.y, 12);
    EXPECT_EQ(zoneMark(0, 0, 3, true).crossing.y, 313);
}

TEST(ZoneMark, TheEastingTruncatesBeforeTheOffsetIsAdded)
{
    // -1000 m gives -0.15 pixels, truncated to 0, so the line stays on the frame.
    EXPECT_EQ(zoneMark(0, -1000, 3, false).crossing.x, 62);
    EXPECT_EQ(zoneMark(0, -7000, 3, false).crossing.x, 61);
}

TEST(ZoneMark, TheMeridianLabelsKeepTheirSignsAndPlaces)
{
    const ZoneMark mark = zoneMark(7400000, 500000, -45, true);
    EXPECT_EQ(mark.meridians[0].text, "-45\u00B0");
    EXPECT_EQ(mark.meridians[1].text, "-48\u00B0");
    EXPECT_EQ(mark.meridians[2].text, "-42\u00B0");
    EXPECT_EQ(mark.meridians[0].topLeft.x, 110);
    EXPECT_EQ(mark.meridians[0].topLeft.y, 113);
    EXPECT_EQ(mark.meridians[1].topLeft.x, 67);
    EXPECT_EQ(mark.meridians[1].topLeft.y, 148);
    EXPECT_EQ(mark.meridians[2].topLeft.x, 192);
    EXPECT_EQ(mark.meridians[2].topLeft.y, 148);
    // A meridian of -0.5 truncates to 0 without a minus sign; its edges to -3 and 2.
    const ZoneMark near = zoneMark(0, 0, -0.5, false);
    EXPECT_EQ(near.meridians[0].text, "0\u00B0");
    EXPECT_EQ(near.meridians[1].text, "-3\u00B0");
    EXPECT_EQ(near.meridians[2].text, "2\u00B0");
}

}  // namespace
