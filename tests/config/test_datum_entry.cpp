// The datum editor's reading of its five number boxes.
#include "config/DatumEntry.h"

#include <gtest/gtest.h>

namespace {

const NumberFormat kComma{',', "."};

DatumEntry entryOf(const char* a, const char* invF, const char* dx = "0", const char* dy = "0",
                   const char* dz = "0")
{
    return readDatumEntry({a, invF, dx, dy, dz}, kComma);
}

TEST(DatumEntry, ReadsTheFiveBoxesWithTheUsersSeparator)
{
    const DatumEntry entry = entryOf("6378160", "298,25", "-67,35", "3,88", "-38,22");
    EXPECT_EQ(entry.code, DatumEntryCode::Valid);
    EXPECT_EQ(entry.A, 6378160);
    EXPECT_EQ(entry.InvF, 298.25L);
    EXPECT_EQ(entry.Dx, -67.35L);
    EXPECT_EQ(entry.Dy, 3.88L);
    EXPECT_EQ(entry.Dz, -38.22L);
}

TEST(DatumEntry, TheBoundsThemselvesAreValid)
{
    EXPECT_EQ(entryOf("6377000", "250").code, DatumEntryCode::Valid);
    EXPECT_EQ(entryOf("6379000", "350").code, DatumEntryCode::Valid);
    EXPECT_EQ(entryOf("6376999,99", "298").code, DatumEntryCode::EarthRadius);
    EXPECT_EQ(entryOf("6379000,01", "298").code, DatumEntryCode::EarthRadius);
    EXPECT_EQ(entryOf("6378137", "350,01").code, DatumEntryCode::Flattening);
    EXPECT_EQ(entryOf("6378137", "249,99").code, DatumEntryCode::Flattening);
}

TEST(DatumEntry, AFlatteningOutOfBoundsIsReportedInPlaceOfTheAxis)
{
    EXPECT_EQ(entryOf("7000000", "400").code, DatumEntryCode::Flattening);
}

TEST(DatumEntry, TheLastBoxThatIsNotANumberIsTheOneNamed)
{
    const DatumEntry both = entryOf("abc", "298,25", "0", "0", "1.5");
    EXPECT_EQ(both.code, DatumEntryCode::NotANumber);
    EXPECT_EQ(both.failedTag, "(Dz) ");
    EXPECT_EQ(both.failedText, "1.5");  // "." is not the user's decimal separator
    const DatumEntry flattening = entryOf("6378137", "12x");
    EXPECT_EQ(flattening.failedTag, "1/(f) ");
    EXPECT_EQ(flattening.failedText, "12x");
    // A number that is not a number wins over bounds, which are not checked then.
    EXPECT_EQ(entryOf("1", "1", "", "0", "0").code, DatumEntryCode::NotANumber);
    EXPECT_EQ(entryOf("6.378.137", "298").failedTag, "(a) ");
}

}  // namespace
