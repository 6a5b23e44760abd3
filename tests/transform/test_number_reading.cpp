#include "tests/transform/Formats.h"
#include "transform/text/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

struct ReadCase {
    const char* why;
    const char* text;
    long double expected;
};

// Expected values are long double literals: the compiler's own decimal conversion, correctly
// rounded, serves as the reference.
const ReadCase kAcceptedWithPoint[] = {
    {"plain digits", "1", 1.0L},
    {"blanks around", "  12.25  ", 12.25L},
    {"explicit plus", "+1.5", 1.5L},
    {"minus", "-1.5", -1.5L},
    {"lower-case exponent", "1e5", 1e5L},
    {"exponent with sign and leading zero", "1E+05", 1e5L},
    {"negative exponent", "-.5e-3", -0.0005L},
    {"separator without decimals", "1.", 1.0L},
    {"separator without whole digits", ".5", 0.5L},
    {"0.1 rounds to the nearest long double, not double", "0.1", 0.1L},
    {"more digits than a long double holds", "123456789012345678901234567890",
     123456789012345678901234567890.0L},
    {"a grid northing", "7395123.456789", 7395123.456789L},
    {"leading zeros", "000012.5", 12.5L},
    {"below the smallest normal: subnormal, not refused", "1e-4940", 1e-4940L},
    {"below every subnormal: zero", "1e-5000", 0.0L},
    {"absurd exponent on zero", "0e999999999999999999999", 0.0L},
    {"absurd negative exponent", "5e-999999999999999999999", 0.0L},
    {"largest finite long double", "1.18973149535723176502e4932",
     std::numeric_limits<long double>::max()},
    {"19 digits: the most an integer mantissa holds", "9999999999999999999",
     9999999999999999999.0L},
    {"20 digits", "18446744073709551617", 18446744073709551617.0L},
    {"19 digits after leading zeros", "0.0001234567890123456789", 0.0001234567890123456789L},
    {"19 digits times 10^27", "1234567890123456789e27", 1234567890123456789e27L},
    {"19 digits over 10^27", "-1234567890123456789e-27", -1234567890123456789e-27L},
    {"19 digits times 10^28", "1234567890123456789e28", 1234567890123456789e28L},
    {"19 digits over 10^28", "1234567890123456789e-28", 1234567890123456789e-28L},
    {"a product that rounds", "3.000000000000000001e27", 3.000000000000000001e27L},
};

TEST(NumberReading, AcceptsTheStrictGrammarWithPoint)
{
    for (const auto& c : kAcceptedWithPoint) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(readFloat(c.text, NumberFormat::file()), c.expected) << c.text;
    }
}

const ReadCase kAcceptedWithComma[] = {
    {"comma is the separator", "-23,40352344", -23.40352344L},
    {"comma without decimals", "1,", 1.0L},
    {"comma without whole digits", ",5", 0.5L},
    {"exponent with comma", "1,5E-7", 1.5e-7L},
    {"blanks around", " 100 ", 100.0L},
};

TEST(NumberReading, AcceptsTheUsersSeparator)
{
    for (const auto& c : kAcceptedWithComma) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(readFloat(c.text, commaDecimalDotThousands()), c.expected) << c.text;
        EXPECT_EQ(readFloat(c.text, commaDecimalSpaceThousands()), c.expected) << c.text;
    }
}

TEST(NumberReading, MinusZeroKeepsItsSign)
{
    for (const char* text : {"-0", "-0.000", "-0e27", "-0e-28"}) {
        const long double value = readFloat(text, NumberFormat::file());
        EXPECT_EQ(value, 0.0L) << text;
        EXPECT_TRUE(std::signbit(value)) << text;
    }
}

// A decimal text of 1 to 21 digits (most within the 19 an integer mantissa holds), at times
// after leading zeros, the point anywhere or nowhere, and an exponent that puts the power of ten on
// either side of 10^27.
std::string randomDecimal(std::mt19937_64& random)
{
    const int length = static_cast<int>(random() % 21) + 1;
    std::string digits;
    for (int i = 0; i < length; ++i) digits += static_cast<char>('0' + random() % 10);
    if (random() % 4 == 0) digits.insert(0, "000");
    std::string text = random() % 2 ? "-" : "";
    const auto point = static_cast<std::size_t>(random() % (digits.size() + 2));
    text += point > digits.size() ? digits : digits.insert(point, ".");
    if (random() % 3 != 0) text += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
    return text;
}

TEST(NumberReading, ReadsEveryShortDecimalAsStrtoldDoes)
{
    std::mt19937_64 random(23);
    for (int i = 0; i < 200000; ++i) {
        const std::string text = randomDecimal(random);
        const long double expected = std::strtold(text.c_str(), nullptr);
        const long double value = readFloat(text, NumberFormat::file());
        // Bit for bit: also the sign of zero. The x87 format leaves 6 bytes of padding unused.
        ASSERT_EQ(std::memcmp(&value, &expected, 10), 0) << text;
    }
}

struct RefusedCase {
    const char* why;
    const char* text;
    NumberFormat format;
};

const RefusedCase kRefused[] = {
    {"empty", "", NumberFormat::file()},
    {"blanks only", "   ", NumberFormat::file()},
    {"sign only", "-", NumberFormat::file()},
    {"plus only", "+", NumberFormat::file()},
    {"separator only", ".", NumberFormat::file()},
    {"exponent without digits", "1e", NumberFormat::file()},
    {"exponent sign without digits", "1e+", NumberFormat::file()},
    {"exponent without mantissa", "e5", NumberFormat::file()},
    {"fractional exponent", "1e5.5", NumberFormat::file()},
    {"hexadecimal", "0x10", NumberFormat::file()},
    {"infinity", "inf", NumberFormat::file()},
    {"not a number", "nan", NumberFormat::file()},
    {"blank inside", "1 5", NumberFormat::file()},
    {"blank between sign and digits", "- 1", NumberFormat::file()},
    {"blank before the exponent", "1 e5", NumberFormat::file()},
    {"two signs", "+-1", NumberFormat::file()},
    {"double minus", "--1", NumberFormat::file()},
    {"two separators", "1..5", NumberFormat::file()},
    {"trailing separator after decimals", "1.5.", NumberFormat::file()},
    {"trailing letters", "12x", NumberFormat::file()},
    {"tab is no blank", "\t1", NumberFormat::file()},
    {"the other separator under point", "1,5", NumberFormat::file()},
    {"the other separator under comma", "1.5", commaDecimalDotThousands()},
    {"thousands separator", "1.000,5", commaDecimalDotThousands()},
    {"thousands separator under point", "1,000.5", dotDecimalCommaThousands()},
    {"thousands blank", "1 000,5", commaDecimalSpaceThousands()},
    {"beyond the long double range", "1e5000", NumberFormat::file()},
    {"beyond the range, negative", "-1e5000", NumberFormat::file()},
};

TEST(NumberReading, RefusesWithTheRuntimesMessage)
{
    for (const auto& c : kRefused) {
        SCOPED_TRACE(c.why);
        const std::string expected =
            std::string("'") + c.text + "' is not a valid floating point value";
        try {
            readFloat(c.text, c.format);
            ADD_FAILURE() << "accepted '" << c.text << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()), expected);
        }
    }
}

TEST(NumberReading, ALongTextIsQuotedByItsStartAtACharacterBoundary)
{
    // 99 digits, then a two-byte "ã" across the 100-byte mark, then a megabyte more.
    const std::string text = std::string(99, '7') + "\xC3\xA3" + std::string(1 << 20, 'x');
    try {
        readFloat(text, NumberFormat::file());
        ADD_FAILURE() << "accepted the long text";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "'" + std::string(99, '7') + "\u2026' is not a valid floating point value");
    }
    const std::string exactly100(100, '7');
    EXPECT_THROW(
        {
            try {
                readInteger(exactly100);
            } catch (const ConversionError& error) {
                EXPECT_EQ(std::string(error.what()),
                          "'" + exactly100 + "' is not a valid integer value");
                throw;
            }
        },
        ConversionError);
}

TEST(NumberReading, ConversionErrorIsARuntimeError)
{
    EXPECT_THROW(readFloat("12x", NumberFormat::file()), std::runtime_error);
}

struct IntegerCase {
    const char* why;
    const char* text;
    std::int32_t expected;
};

const IntegerCase kIntegers[] = {
    {"zero", "0", 0},
    {"plain", "123", 123},
    {"plus", "+7", 7},
    {"blanks", " 7 ", 7},
    {"leading zeros", "0040", 40},
    {"largest", "2147483647", 2147483647},
    {"smallest", "-2147483648", -2147483647 - 1},
};

TEST(IntegerReading, AcceptsDecimalDigitsIn32Bits)
{
    for (const auto& c : kIntegers) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(readInteger(c.text), c.expected);
    }
}

TEST(IntegerReading, RefusesWithTheRuntimesMessage)
{
    const char* refused[] = {"",    "-",    "2147483648", "-2147483649", "99999999999999999999",
                             "1.5", "5E-5", "1E15",       "1 2",         "0x10",
                             "12a", "--1"};
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        try {
            readInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("'") + text + "' is not a valid integer value");
        }
    }
}

}  // namespace
