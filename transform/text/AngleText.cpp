#include "transform/text/AngleText.h"

#include "transform/text/NumberText.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view kDegreeSign = "\u00B0";
constexpr std::size_t kFractionDigits = 10;
constexpr std::string_view kZeroFraction = "0000000000";

// The general text form of a typed angle, split at the decimal separator: the whole degrees and
// exactly ten digits after the separator (right-padded with zeros, the rest dropped unrounded).
struct AngleDigits {
    std::string degrees;
    std::string fraction;
};

[[noreturn]] void refuseAsInteger(const std::string& field)
{
    throw ConversionError("'" + field + "' is not a valid integer value");
}

AngleDigits splitAngleText(long double magnitude, const NumberFormat& format)
{
    const std::string text = formatGeneral(magnitude, NumberFormat{format.decimalSeparator, ""});
    // Only some exponent forms make the digit fields unreadable: "1,23456789012345E-5" would pass
    // as 1 degree 23 minutes. Every exponent form is refused, naming the whole text, as "5E-5"
    // (no separator) is refused by the degrees field itself.
    if (text.find('E') != std::string::npos) refuseAsInteger(text);
    const std::size_t separator = text.find(format.decimalSeparator);
    if (separator == std::string::npos) return {text, std::string(kZeroFraction)};
    std::string fraction = text.substr(separator + 1);
    fraction.append(kZeroFraction);
    fraction.resize(kFractionDigits);
    return {text.substr(0, separator), fraction};
}

long double signedAs(bool negative, long double magnitude)
{
    return negative ? -magnitude : magnitude;
}

long double minutesWithDecimals(const std::string& fraction, const NumberFormat& format)
{
    std::string minutes = fraction.substr(0, 2);
    minutes += format.decimalSeparator;
    minutes += fraction.substr(2);
    return readFloat(minutes, format);
}

long double roundHalfEven(long double value)
{
    const long double whole = std::floor(value);
    const long double rest = value - whole;
    if (rest > 0.5L) return whole + 1;
    if (rest < 0.5L) return whole;
    return std::fmod(whole, 2.0L) == 0 ? whole : whole + 1;
}

std::string signText(long double value) { return value < 0 ? "-" : ""; }

std::string_view leadingZeroBelowTen(long double value) { return value < 10 ? "0" : ""; }

// Writers never fail; a non-finite value (which no engine result carries) is written plainly.
std::string nonFiniteAngle(long double value)
{
    std::string text = formatGeneral(value, NumberFormat::file());
    text += kDegreeSign;
    return text;
}

}  // namespace

long double LatLonCerto(long double value, int angleFormat, const NumberFormat& format)
{
    switch (angleFormat) {
    case AngleFormat::Degrees: return value;
    case AngleFormat::DegreesMinutes: return GM_DECIMAL(value, format);
    case AngleFormat::DegreesMinutesSeconds: return GMS_DECIMAL(value, format);
    default: return 0;
    }
}

long double GM_DECIMAL(long double value, const NumberFormat& format)
{
    const bool negative = value < 0;
    const long double magnitude = std::fabs(value);
    if (!(magnitude > 0)) return 0;
    const AngleDigits digits = splitAngleText(magnitude, format);
    const long double degrees = readInteger(digits.degrees);
    const long double minutes = minutesWithDecimals(digits.fraction, format);
    return signedAs(negative, degrees + minutes / 60);
}

long double GMS_DECIMAL(long double value, const NumberFormat& format)
{
    const bool negative = value < 0;
    const long double magnitude = std::fabs(value);
    if (!(magnitude > 0)) return 0;
    const AngleDigits digits = splitAngleText(magnitude, format);
    const long double degrees = readInteger(digits.degrees);
    const long double minutes = readInteger(digits.fraction.substr(0, 2));
    const long double microseconds = readInteger(digits.fraction.substr(2));
    return signedAs(negative, degrees + minutes / 60 + (microseconds / 3600) * 0.000001L);
}

std::string TextLatLon(long double value, int angleFormat, const NumberFormat& format)
{
    switch (angleFormat) {
    case AngleFormat::Degrees: return TextG(value, format);
    case AngleFormat::DegreesMinutes: return TextGM(value, format);
    case AngleFormat::DegreesMinutesSeconds: return TextGMS(value, format);
    default: return "0\u00B0";
    }
}

std::string TextG(long double value, const NumberFormat& format)
{
    if (!std::isfinite(value)) return nonFiniteAngle(value);
    const long double magnitude = std::fabs(value);
    std::string text = signText(value);
    text += leadingZeroBelowTen(magnitude);
    text += formatFixed(magnitude, Pattern::n2_12, format);
    text += kDegreeSign;
    return text;
}

std::string TextGM(long double value, const NumberFormat& format)
{
    if (!std::isfinite(value)) return nonFiniteAngle(value);
    const long double magnitude = std::fabs(value);
    long double degrees = std::trunc(magnitude);
    long double minutes = (magnitude - degrees) * 60;
    if (minutes >= 60) {
        minutes -= 60;
        degrees += 1;
    }
    std::string text = signText(value);
    text += integerDigits(degrees);
    text += kDegreeSign;
    text += leadingZeroBelowTen(minutes);
    text += formatFixed(minutes, Pattern::n2_10, format);
    text += '\'';
    return text;
}

std::string TextGMS(long double value, const NumberFormat& format)
{
    if (!std::isfinite(value)) return nonFiniteAngle(value);
    const long double magnitude = std::fabs(value);
    long double degrees = std::trunc(magnitude);
    long double minutes = (magnitude - degrees) * 60;
    long double seconds = (minutes - std::trunc(minutes)) * 60;
    seconds = roundHalfEven(seconds * 10000) / 10000;
    if (seconds >= 60) {
        seconds -= 60;
        minutes += 1;
    }
    if (minutes >= 60) {
        minutes -= 60;
        degrees += 1;
    }
    std::string text = signText(value);
    text += integerDigits(degrees);
    text += kDegreeSign;
    text += leadingZeroBelowTen(minutes);
    text += integerDigits(minutes);
    text += '\'';
    text += leadingZeroBelowTen(seconds);
    text += formatFixed(seconds, Pattern::n2_4, format);
    text += '"';
    return text;
}
