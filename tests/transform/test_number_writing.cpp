#include "tests/transform/Formats.h"
#include "transform/text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace {

struct WriteCase {
    const char* why;
    long double value;
    const char* expected;
};

const WriteCase kGeneralWithPoint[] = {
    {"integer", 100.0L, "100"},
    {"fraction without trailing zeros", 123456.789L, "123456.789"},
    {"negative", -2.5L, "-2.5"},
    {"a tenth", 0.1L, "0.1"},
    {"a third: 15 significant digits", 1.0L / 3, "0.333333333333333"},
    {"two thirds: rounded up at the 15th digit", 2.0L / 3, "0.666666666666667"},
    {"smallest without exponent", 0.0001L, "0.0001"},
    {"rounds up into the fixed range", 0.00009999999999999999L, "0.0001"},
    {"below 1E-4: exponent", 0.00005L, "5E-5"},
    {"exponent with decimals", 1.5e-7L, "1.5E-7"},
    {"largest without exponent", 999999999999999.0L, "999999999999999"},
    {"1E15 is written with exponent", 1e15L, "1E15"},
    {"rounds up to 1E15", 999999999999999.9L, "1E15"},
    {"large with decimals", 1.234e20L, "1.234E20"},
    {"more than 15 digits", 12345678901234567.0L, "1.23456789012346E16"},
    {"exact tie rounds to even, down", 100000000000000.5L, "100000000000000"},
    {"exact tie rounds to even, up", 100000000000001.5L, "100000000000002"},
    {"largest long double", std::numeric_limits<long double>::max(), "1.18973149535723E4932"},
    {"smallest subnormal", std::numeric_limits<long double>::denorm_min(),
     "3.64519953188247E-4951"},
    {"zero", 0.0L, "0"},
    {"negative zero writes no sign", -0.0L, "0"},
    {"infinity", std::numeric_limits<long double>::infinity(), "INF"},
    {"negative infinity", -std::numeric_limits<long double>::infinity(), "-INF"},
    {"not a number", std::numeric_limits<long double>::quiet_NaN(), "NAN"},
};

TEST(GeneralForm, WritesFifteenDigitsAndTheExponentOutsideTheRange)
{
    for (const auto& c : kGeneralWithPoint) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(formatGeneral(c.value, NumberFormat::file()), c.expected);
        std::string text = "x ";
        appendGeneral(text, c.value, NumberFormat::file());
        EXPECT_EQ(text, std::string("x ") + c.expected);
    }
}

const WriteCase kGeneralWithComma[] = {
    {"decimal comma", 123456.789L, "123456,789"},
    {"never grouped", 1234567.5L, "1234567,5"},
    {"exponent with comma", 1.5e-7L, "1,5E-7"},
    {"small fixed", -0.0001L, "-0,0001"},
};

TEST(GeneralForm, UsesTheDecimalSeparatorAndNoGrouping)
{
    for (const auto& c : kGeneralWithComma) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(formatGeneral(c.value, commaDecimalDotThousands()), c.expected);
        EXPECT_EQ(formatGeneral(c.value, commaDecimalSpaceThousands()), c.expected);
    }
}

// Random long doubles over the whole exponent range, subnormals included.
std::vector<long double> randomLongDoubles(std::size_t count, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> exponent(-16440, 16383);
    std::vector<long double> values;
    for (std::size_t i = 0; i < count; ++i) {
        const long double mantissa =
            static_cast<long double>(random() | (1ULL << 63)) / 18446744073709551616.0L;
        const long double value = std::ldexp(mantissa, exponent(random));
        values.push_back(i % 2 ? -value : value);
    }
    return values;
}

// Values where the figures of file runs live: metres and degrees, with all 64 mantissa bits set.
std::vector<long double> randomEverydayValues(std::size_t count, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> exponent(-40, 60);
    std::vector<long double> values;
    for (std::size_t i = 0; i < count; ++i) {
        const long double mantissa =
            static_cast<long double>(random() | (1ULL << 63)) / 18446744073709551616.0L;
        values.push_back(std::ldexp(mantissa, exponent(random)));
    }
    return values;
}

TEST(GeneralForm, ReadsBackToTheSameText)
{
    for (const long double value : randomLongDoubles(20000, 7)) {
        const std::string text = formatGeneral(value, NumberFormat::file());
        SCOPED_TRACE(text);
        EXPECT_EQ(formatGeneral(readFloat(text, NumberFormat::file()), NumberFormat::file()), text);
        const std::string withComma = formatGeneral(value, commaDecimalDotThousands());
        EXPECT_EQ(formatGeneral(readFloat(withComma, commaDecimalDotThousands()),
                                commaDecimalDotThousands()),
                  withComma);
    }
}

// The C library's printf is an independent exact conversion: its 15 rounded digits and its
// exponent must be ours, also for values right beside a rounding midpoint.
void expectDigitsOfPrintf(long double value)
{
    char reference[64];
    std::snprintf(reference, sizeof reference, "%.14Le", value);
    std::string digits(reference, 1);
    digits.append(reference + 2, 14);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(std::strchr(reference, 'e') + 1);

    const std::string text = formatGeneral(value, NumberFormat::file());
    std::string ours;
    for (char c : text.substr(0, text.find('E'))) {
        if (c >= '0' && c <= '9') ours += c;
    }
    ours.erase(0, ours.find_first_not_of('0'));
    while (ours.size() > 1 && ours.back() == '0') ours.pop_back();
    EXPECT_EQ(ours, digits) << text << " against " << reference;
    const long double back = readFloat(text, NumberFormat::file());
    EXPECT_EQ(static_cast<int>(std::floor(std::log10(back))), exponent)
        << text << " against " << reference;
}

TEST(GeneralForm, RoundsLikeAnExactConversion)
{
    for (const long double value : randomEverydayValues(20000, 11)) {
        SCOPED_TRACE(static_cast<double>(value));
        expectDigitsOfPrintf(value);
    }
    for (const long double value : randomLongDoubles(2000, 13))
        expectDigitsOfPrintf(std::fabs(value));
}

TEST(GeneralForm, RoundsCorrectlyBesideMidpoints)
{
    // 16-digit decimals ending in 5 are midpoints of the 15-digit grid; their nearest long
    // doubles and the neighbours of those lie a hair to one side.
    std::mt19937_64 random(17);
    for (int i = 0; i < 5000; ++i) {
        char text[40];
        std::snprintf(text, sizeof text, "%llu5e%d",
                      static_cast<unsigned long long>(100000000000000ULL +
                                                      random() % 900000000000000ULL),
                      static_cast<int>(random() % 60) - 30);
        const long double midpoint = readFloat(text, NumberFormat::file());
        SCOPED_TRACE(text);
        expectDigitsOfPrintf(midpoint);
        expectDigitsOfPrintf(std::nextafter(midpoint, 0.0L));
        expectDigitsOfPrintf(std::nextafter(midpoint, 1e4000L));
    }
}

// A canonical text of 15 significant digits (no trailing zero), laid out as the general form
// lays out a value of that magnitude.
std::string canonicalText(const std::string& digits, int layout, int position)
{
    switch (layout) {
    case 0:
        return digits.substr(0, position + 1) + "." +
               digits.substr(position + 1);  // 1 to 14 whole digits
    case 1: return "0." + digits;
    case 2: return "0.000" + digits;  // from 1E-4
    case 3:
        return digits.substr(0, 1) + "." + digits.substr(1) + "E" +
               std::to_string(15 + position * 300);
    default:
        return digits.substr(0, 1) + "." + digits.substr(1) + "E-" +
               std::to_string(5 + position * 300);
    }
}

TEST(GeneralForm, KeepsTheDigitsOfFifteenDigitValues)
{
    std::mt19937_64 random(5);
    for (int i = 0; i < 5000; ++i) {
        std::string digits = std::to_string(100000000000000ULL + random() % 900000000000000ULL);
        if (digits.back() == '0') digits.back() = '7';
        const std::string text = canonicalText(digits, i % 5, static_cast<int>(random() % 14));
        SCOPED_TRACE(text);
        EXPECT_EQ(formatGeneral(readFloat(text, NumberFormat::file()), NumberFormat::file()), text);
    }
    EXPECT_EQ(formatGeneral(readFloat("123456789012345", NumberFormat::file()),
                            NumberFormat::file()),
              "123456789012345");
}

struct FixedCase {
    const char* why;
    long double value;
    FixedPattern pattern;
    NumberFormat format;
    const char* expected;
};

const FixedCase kFixed[] = {
    {"grouped millions", 1234567.891L, Pattern::n1_4, commaDecimalDotThousands(), "1.234.567,8910"},
    {"grouped, point decimal", 1234567.891L, Pattern::n1_4, dotDecimalCommaThousands(),
     "1,234,567.8910"},
    {"grouped by blanks", 1234567.25L, Pattern::n1_4, commaDecimalSpaceThousands(),
     "1 234 567,2500"},
    {"grouped by no-break spaces", 1234567.25L, Pattern::n1_4, commaDecimalNoBreakSpace(),
     "1\u00A0234\u00A0567,2500"},
    {"no thousands separator", 1234567.25L, Pattern::n1_4, NumberFormat::file(), "1234567.2500"},
    {"three digits: no group", 100.0L, Pattern::n1_4, commaDecimalDotThousands(), "100,0000"},
    {"four digits: one group", 1000.0L, Pattern::n1_4, commaDecimalDotThousands(), "1.000,0000"},
    {"a million", 1000000.0L, Pattern::n1_6, commaDecimalDotThousands(), "1.000.000,000000"},
    {"carry adds a digit and a group", 999999.9999995L, Pattern::n1_6, commaDecimalDotThousands(),
     "1.000.000,000000"},
    {"just below the carry", 999999.9999994L, Pattern::n1_6, commaDecimalDotThousands(),
     "999.999,999999"},
    {"carry into a group", 999.99996L, Pattern::n1_4, commaDecimalDotThousands(), "1.000,0000"},
    {"rounding at the last decimal, up", 0.12345678L, Pattern::n1_6, commaDecimalDotThousands(),
     "0,123457"},
    {"rounding at the last decimal, down", 0.12345649L, Pattern::n1_6, commaDecimalDotThousands(),
     "0,123456"},
    {"scale factor", 0.9996L, Pattern::n1_8, commaDecimalDotThousands(), "0,99960000"},
    {"twelve decimals", 23.676454L, Pattern::n2_12, commaDecimalDotThousands(), "23,676454000000"},
    {"ten decimals", 40.58724L, Pattern::n2_10, commaDecimalDotThousands(), "40,5872400000"},
    {"negative", -1234.5L, Pattern::n1_4, commaDecimalDotThousands(), "-1.234,5000"},
    {"negative rounding away from zero", -0.00005001L, Pattern::n1_4, commaDecimalDotThousands(),
     "-0,0001"},
    {"negative that rounds to zero: no sign", -0.00001L, Pattern::n1_4, commaDecimalDotThousands(),
     "0,0000"},
    {"negative zero: no sign", -0.0L, Pattern::n2_4, commaDecimalDotThousands(), "0,0000"},
    {"large value", 1e21L, Pattern::n1_4, dotDecimalCommaThousands(),
     "1,000,000,000,000,000,000,000.0000"},
    {"width pads on the left", 1.5L, FixedPattern{10, 2}, NumberFormat::file(), "      1.50"},
    {"not a number", std::numeric_limits<long double>::quiet_NaN(), Pattern::n1_4,
     NumberFormat::file(), "NAN"},
};

TEST(FixedPatterns, RoundGroupAndSign)
{
    for (const auto& c : kFixed) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(formatFixed(c.value, c.pattern, c.format), c.expected);
        // Padding to the width counts the value alone, not the text it follows.
        std::string text = "x ";
        appendFixed(text, c.value, c.pattern, c.format);
        EXPECT_EQ(text, std::string("x ") + c.expected);
    }
}

TEST(ChosenDecimals, FixedWhenChosenElseTheGeneralForm)
{
    const struct {
        const char* why;
        long double value;
        std::optional<int> decimals;
        const char* expected;
    } cases[] = {
        {"none chosen: the general form", 1234567.891L, {}, "1234567.891"},
        {"none chosen, a small value: the exponent form", 5e-5L, {}, "5E-5"},
        {"chosen: fixed, rounded, no grouping", 1234567.896L, 2, "1234567.90"},
        {"chosen, a small value: still fixed", 5e-5L, 6, "0.000050"},
        {"no decimals: no point", 7395000.5001L, 0, "7395001"},
        {"the most decimals", 23.676454L, kMostChosenDecimals, "23.676454000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(formatChosen(c.value, c.decimals), c.expected);
        std::string text = "x ";
        appendChosen(text, c.value, c.decimals);
        EXPECT_EQ(text, std::string("x ") + c.expected);
    }
}

TEST(FixedPatterns, WriteTheWholeLargestValue)
{
    const std::string text =
        formatFixed(std::numeric_limits<long double>::max(), Pattern::n1_4, NumberFormat::file());
    EXPECT_EQ(text.size(), 4933u + 5u);
    EXPECT_EQ(text.substr(0, 6), "118973");
    EXPECT_EQ(text.substr(text.size() - 5), ".0000");
}

}  // namespace
