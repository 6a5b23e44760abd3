#include "transform/text/AngleText.h"
#include "tests/transform/Formats.h"
#include "transform/text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Angles are typed with the user's separator; the same figures must come out under both.
struct Separators {
    const char* name;
    NumberFormat format;
};

const Separators kSeparators[] = {
    {"comma decimal, point thousands", commaDecimalDotThousands()},
    {"point decimal, comma thousands", dotDecimalCommaThousands()},
    {"comma decimal, blank thousands", commaDecimalSpaceThousands()},
};

// A typed text with "," as separator, shown to the format in use.
std::string typedAs(const char* commaText, const NumberFormat& format)
{
    std::string text = commaText;
    for (char& c : text) {
        if (c == ',') c = format.decimalSeparator;
    }
    return text;
}

struct ReadCase {
    const char* why;
    int angleFormat;
    const char* typed;  // with "," as decimal separator
    long double expected;
};

const ReadCase kReadings[] = {
    {"worked example, seconds", AngleFormat::DegreesMinutesSeconds, "-23,40352344",
     -(23 + 40 / 60.0L + 35.2344L / 3600)},
    {"worked example, minutes", AngleFormat::DegreesMinutes, "-23,4058724", -(23 + 40.58724L / 60)},
    {"one digit after the separator is tens of minutes", AngleFormat::DegreesMinutesSeconds, "23,4",
     23 + 40 / 60.0L},
    {"no separator: whole degrees", AngleFormat::DegreesMinutesSeconds, "-45", -45.0L},
    {"decimal degrees as typed", AngleFormat::Degrees, "-23,676454", -23.676454L},
    {"half a degree of minutes", AngleFormat::DegreesMinutesSeconds, "-22,3", -22.5L},
    {"sixty seconds are taken as they stand", AngleFormat::DegreesMinutesSeconds, "10,0060",
     10 + 60 / 3600.0L},
    {"digits beyond the tenth are dropped", AngleFormat::DegreesMinutesSeconds, "1,12345678901",
     1 + 12 / 60.0L + 34.56789L / 3600},
    {"seventy-five minutes are taken as they stand", AngleFormat::DegreesMinutes, "10,75", 11.25L},
    {"one second", AngleFormat::DegreesMinutesSeconds, "0,0001", 1 / 3600.0L},
    {"minutes format, whole degrees", AngleFormat::DegreesMinutes, "45", 45.0L},
    {"the last of six decimals of the seconds", AngleFormat::DegreesMinutesSeconds, "1,0000000001",
     1 + 0.000001L / 3600},
    {"more than 15 digits: rounded to 15 first", AngleFormat::DegreesMinutesSeconds,
     "23,40352344123456789", 23 + 40 / 60.0L + 35.234412L / 3600},
    {"largest whole degrees", AngleFormat::DegreesMinutesSeconds, "2147483647", 2147483647.0L},
    {"zero", AngleFormat::DegreesMinutesSeconds, "0", 0.0L},
    {"negative zero", AngleFormat::DegreesMinutes, "-0", 0.0L},
    {"no format chosen reads zero", AngleFormat::None, "-23,4", 0.0L},
    {"unknown format reads zero", 3, "-23,4", 0.0L},
};

TEST(AngleReading, TakesTheNumberApartByItsText)
{
    for (const auto& separators : kSeparators) {
        SCOPED_TRACE(separators.name);
        for (const auto& c : kReadings) {
            SCOPED_TRACE(c.why);
            const long double typed =
                readFloat(typedAs(c.typed, separators.format), separators.format);
            EXPECT_NEAR(LatLonCerto(typed, c.angleFormat, separators.format), c.expected, 1e-15L);
        }
    }
}

TEST(AngleReading, DecimalDegreesPassBitForBit)
{
    const long double values[] = {-23.676454L, 1.0L / 3, -0.0L, 1e-300L, 12345.6789L};
    for (const long double value : values) {
        const long double read =
            LatLonCerto(value, AngleFormat::Degrees, commaDecimalDotThousands());
        EXPECT_EQ(std::memcmp(&read, &value, 10), 0) << static_cast<double>(value);
    }
}

TEST(AngleReading, ZeroOfEitherSignIsZeroInEveryFormat)
{
    for (int angleFormat = AngleFormat::None; angleFormat <= AngleFormat::DegreesMinutesSeconds;
         ++angleFormat) {
        SCOPED_TRACE(angleFormat);
        EXPECT_EQ(LatLonCerto(0.0L, angleFormat, commaDecimalDotThousands()), 0.0L);
        EXPECT_EQ(LatLonCerto(-0.0L, angleFormat, commaDecimalDotThousands()), 0.0L);
    }
}

struct FailingCase {
    const char* why;
    int angleFormat;
    long double value;
    const char* commaField;  // the field named by the message, with "," as separator
};

const FailingCase kFailures[] = {
    {"below 1E-4 the text has an exponent", AngleFormat::DegreesMinutesSeconds, 0.00005L, "5E-5"},
    {"the same in the minutes format", AngleFormat::DegreesMinutes, -0.00005L, "5E-5"},
    {"from 1E15 on the text has an exponent", AngleFormat::DegreesMinutesSeconds, 1e15L, "1E15"},
    {"whole degrees beyond 32 bits", AngleFormat::DegreesMinutesSeconds, 3000000000.5L,
     "3000000000"},
    {"whole degrees beyond 32 bits, no separator", AngleFormat::DegreesMinutes, 2147483648.0L,
     "2147483648"},
    {"an exponent form with decimals is refused whole", AngleFormat::DegreesMinutesSeconds,
     0.000015L, "1,5E-5"},
    {"fifteen digits in exponent form would pass as degrees and minutes",
     AngleFormat::DegreesMinutesSeconds, 0.0000123456789012345L, "1,23456789012345E-5"},
    {"the same, large, in the minutes format", AngleFormat::DegreesMinutes, 1.23456789012345e15L,
     "1,23456789012345E15"},
};

TEST(AngleReading, FieldsThatAreNoIntegerRaiseTheConversionError)
{
    for (const auto& separators : kSeparators) {
        SCOPED_TRACE(separators.name);
        for (const auto& c : kFailures) {
            SCOPED_TRACE(c.why);
            const std::string expected =
                "'" +
                typedAs(c.commaField, separators.format).append("' is not a valid integer value");
            try {
                LatLonCerto(c.value, c.angleFormat, separators.format);
                ADD_FAILURE() << "no error";
            } catch (const ConversionError& error) {
                EXPECT_EQ(std::string(error.what()), expected);
            }
        }
    }
}

struct WriteCase {
    const char* why;
    long double value;
    const char* degrees;  // TextG, "," decimal and "." thousands
    const char* minutes;  // TextGM
    const char* seconds;  // TextGMS
};

const WriteCase kWritings[] = {
    {"worked example", -23.676454L, "-23,676454000000°", "-23°40,5872400000'", "-23°40'35,2344\""},
    {"below ten degrees", 5.5L, "05,500000000000°", "5°30,0000000000'", "5°30'00,0000\""},
    {"below one degree", 0.5L, "00,500000000000°", "0°30,0000000000'", "0°30'00,0000\""},
    {"zero", 0.0L, "00,000000000000°", "0°00,0000000000'", "0°00'00,0000\""},
    {"negative zero writes no sign", -0.0L, "00,000000000000°", "0°00,0000000000'",
     "0°00'00,0000\""},
    {"seconds round to 60 and carry into minutes and degrees", 10.99999999L, "10,999999990000°",
     "10°59,9999994000'", "11°00'00,0000\""},
    {"seconds carry into minutes below ten", 0.0833333323333L, "00,083333332333°",
     "0°04,9999999400'", "0°05'00,0000\""},
    {"seconds below ten", 0.0025L, "00,002500000000°", "0°00,1500000000'", "0°00'09,0000\""},
    {"leading zero decided before rounding; minutes carry only from 60 before rounding",
     9.9999999999999L, "010,000000000000°", "9°60,0000000000'", "10°00'00,0000\""},
    {"grouped degrees only in decimal degrees", 1234.5L, "1.234,500000000000°",
     "1234°30,0000000000'", "1234°30'00,0000\""},
    {"any value below zero gets a sign", -1e-20L, "-00,000000000000°", "-0°00,0000000000'",
     "-0°00'00,0000\""},
};

TEST(AngleWriting, WritesEachFormatWithItsLeadingZeros)
{
    const NumberFormat format = commaDecimalDotThousands();
    for (const auto& c : kWritings) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(TextG(c.value, format), c.degrees);
        EXPECT_EQ(TextGM(c.value, format), c.minutes);
        EXPECT_EQ(TextGMS(c.value, format), c.seconds);
        EXPECT_EQ(TextLatLon(c.value, AngleFormat::Degrees, format), c.degrees);
        EXPECT_EQ(TextLatLon(c.value, AngleFormat::DegreesMinutes, format), c.minutes);
        EXPECT_EQ(TextLatLon(c.value, AngleFormat::DegreesMinutesSeconds, format), c.seconds);
    }
}

TEST(AngleWriting, UsesTheUsersSeparators)
{
    const NumberFormat point = dotDecimalCommaThousands();
    EXPECT_EQ(TextG(-23.676454L, point), "-23.676454000000°");
    EXPECT_EQ(TextGM(-23.676454L, point), "-23°40.5872400000'");
    EXPECT_EQ(TextGMS(-23.676454L, point), "-23°40'35.2344\"");
    EXPECT_EQ(TextG(1234.5L, point), "1,234.500000000000°");
    EXPECT_EQ(TextG(1234.5L, commaDecimalSpaceThousands()), "1 234,500000000000°");
}

TEST(AngleWriting, NoFormatWritesZeroDegrees)
{
    EXPECT_EQ(TextLatLon(-23.676454L, AngleFormat::None, commaDecimalDotThousands()), "0°");
    EXPECT_EQ(TextLatLon(-23.676454L, 7, commaDecimalDotThousands()), "0°");
}

}  // namespace
