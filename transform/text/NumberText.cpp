#include "transform/text/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace {

// ---- Reading ----

[[noreturn]] void refuse(std::string_view text, const char* kind)
{
    throw ConversionError(quotedForMessage(text) + " is not a valid " + kind + " value");
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A read-only cursor over the text being read.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    bool take(char c)
    {
        if (atEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool takeEither(char a, char b) { return take(a) || take(b); }
    void skipBlanks()
    {
        while (take(' ')) {}
    }
    std::string_view takeDigits()
    {
        const std::size_t start = pos_;
        while (!atEnd() && isDigit(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }
    // An optional sign; true when it was "-".
    bool takeSign()
    {
        if (take('-')) return true;
        take('+');
        return false;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// An accepted real number taken apart: value = digits x 10^exponent, with the fraction digits
// moved into the exponent.
struct DecimalParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    long long exponent = 0;
};

// Exponents beyond this are out of every floating-point range whatever the digits; saturating
// keeps the arithmetic below from overflowing on absurd texts.
constexpr long long kExponentLimit = 1'000'000'000'000LL;

long long exponentValue(std::string_view digits, bool negative)
{
    long long value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range || value > kExponentLimit)
        value = kExponentLimit;
    return negative ? -value : value;
}

std::optional<DecimalParts> splitDecimal(std::string_view text, char decimalSeparator)
{
    Cursor cursor(text);
    DecimalParts parts;
    cursor.skipBlanks();
    parts.negative = cursor.takeSign();
    parts.integerDigits = cursor.takeDigits();
    if (cursor.take(decimalSeparator)) parts.fractionDigits = cursor.takeDigits();
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return std::nullopt;
    if (cursor.takeEither('E', 'e')) {
        const bool negativeExponent = cursor.takeSign();
        const std::string_view digits = cursor.takeDigits();
        if (digits.empty()) return std::nullopt;
        parts.exponent = exponentValue(digits, negativeExponent);
    }
    cursor.skipBlanks();
    if (!cursor.atEnd()) return std::nullopt;
    parts.exponent -= static_cast<long long>(parts.fractionDigits.size());
    return parts;
}

constexpr std::array<long double, 28> kPowersOfTen = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
    1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};  // all exact in 64 mantissa bits

// Any 19 decimal digits fit the 64-bit significand exactly.
constexpr std::size_t kExactDigits = 19;
constexpr long long kExactPowerOfTen = 27;

// The digits as an integer when they are at most kExactDigits once leading zeros are skipped.
std::optional<std::uint64_t> exactMantissa(const DecimalParts& parts)
{
    std::uint64_t mantissa = 0;
    std::size_t significant = 0;
    for (const std::string_view digits : {parts.integerDigits, parts.fractionDigits}) {
        for (const char c : digits) {
            if (mantissa == 0 && c == '0') continue;
            if (++significant > kExactDigits) return std::nullopt;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    return mantissa;
}

// The common short texts without strtold's cost. With the mantissa and 10^|exponent| both exact
// long doubles, one multiplication or division under the x87's extended precision rounds once,
// to nearest: the correctly rounded value, as strtold gives it. Other texts take strtold.
std::optional<long double> convertExactly(const DecimalParts& parts)
{
    if (parts.exponent < -kExactPowerOfTen || parts.exponent > kExactPowerOfTen)
        return std::nullopt;
    const auto mantissa = exactMantissa(parts);
    if (!mantissa) return std::nullopt;
    const auto exact = static_cast<long double>(*mantissa);
    const auto power = kPowersOfTen[static_cast<std::size_t>(std::abs(parts.exponent))];
    const long double magnitude = parts.exponent >= 0 ? exact * power : exact / power;
    return parts.negative ? -magnitude : magnitude;
}

// strtold does the decimal-to-binary conversion with correct rounding. The text handed to it
// has no radix character at all ("-1234e-2"), so whatever locale the process runs in cannot
// change how it is read.
long double convertParts(const DecimalParts& parts)
{
    if (const auto exact = convertExactly(parts)) return *exact;

    constexpr std::size_t kStackDigits = 64;
    const std::size_t length = parts.integerDigits.size() + parts.fractionDigits.size() + 24;
    std::array<char, kStackDigits + 24> stackBuffer;
    std::string heapBuffer;
    char* begin = stackBuffer.data();
    if (length > stackBuffer.size()) {
        heapBuffer.resize(length);
        begin = heapBuffer.data();
    }
    char* out = begin;
    if (parts.negative) *out++ = '-';
    for (char c : parts.integerDigits) *out++ = c;
    for (char c : parts.fractionDigits) *out++ = c;
    *out++ = 'e';
    out = std::to_chars(out, begin + length - 1, parts.exponent).ptr;
    *out = '\0';
    return std::strtold(begin, nullptr);
}

// ---- Writing ----

constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kSmallest15Digits = 100'000'000'000'000ULL;
constexpr std::uint64_t kBeyond15Digits = 1'000'000'000'000'000ULL;

// A positive value rounded to 15 significant digits: digits x 10^(exponent - 14), with digits
// in [1E14, 1E15).
struct Rounded15 {
    std::uint64_t digits;
    int exponent;
};

// magnitude x 10^shift with a single rounding, for |shift| <= 27.
long double scaledByPowerOfTen(long double magnitude, int shift)
{
    return shift >= 0 ? magnitude * kPowersOfTen[shift] : magnitude / kPowersOfTen[-shift];
}

// ilogb of a positive finite value. A normal one's is read from the exponent field of the x87
// format, since the call into libm cost as much as the rest of the general form's rounding;
// subnormals, whose field is zero, still ask libm.
int binaryExponent(long double magnitude)
{
    static_assert(std::numeric_limits<long double>::digits == 64, "the x87 extended format");
    if (magnitude < std::numeric_limits<long double>::min()) return std::ilogb(magnitude);
    std::array<unsigned char, sizeof(long double)> bytes;
    std::memcpy(bytes.data(), &magnitude, sizeof magnitude);
    constexpr int kExponentBias = 16383;
    return (((bytes[9] & 0x7F) << 8) | bytes[8]) - kExponentBias;
}

// floor(binaryExponent x log10(2)) in integer arithmetic, good over the whole long double range.
int decimalExponentEstimate(long double magnitude)
{
    return (binaryExponent(magnitude) * 78913) >> 18;
}

// The usual case without the cost of the exact conversion (which goes through printf in
// libstdc++ and takes several hundred ns). A scaled value below 1E15 carries an error under
// 1E-4, so its nearest integer is certain unless it lies that close to a half; those values,
// and magnitudes whose power of ten is not exact, take the exact path. The rounding goes
// through llrint rather than a cast, which on the x87 would switch the control word twice.
std::optional<Rounded15> roundTo15Fast(long double magnitude)
{
    int exponent = decimalExponentEstimate(magnitude);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shift = kSignificantDigits - 1 - exponent;
        if (shift < -27 || shift > 27) return std::nullopt;
        const long double scaled = scaledByPowerOfTen(magnitude, shift);
        if (scaled < static_cast<long double>(kSmallest15Digits)) {
            --exponent;
            continue;
        }
        if (scaled >= static_cast<long double>(kBeyond15Digits)) {
            ++exponent;
            continue;
        }
        const long long nearest = std::llrint(scaled);
        if (std::fabs(scaled - static_cast<long double>(nearest)) > 0.5L - 1e-4L)
            return std::nullopt;
        auto digits = static_cast<std::uint64_t>(nearest);
        if (digits == kBeyond15Digits) {
            digits = kSmallest15Digits;
            ++exponent;
        }
        return Rounded15{digits, exponent};
    }
    return std::nullopt;
}

Rounded15 roundTo15Exact(long double magnitude)
{
    // "d.dddddddddddddde[+-]x..."
    std::array<char, 48> buffer;
    const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1)
                          .ptr;
    const char* first = buffer.data();
    const char* fractionEnd = first + 2 + (kSignificantDigits - 1);
    std::uint64_t fraction = 0;
    std::from_chars(first + 2, fractionEnd, fraction);
    Rounded15 rounded{static_cast<std::uint64_t>(*first - '0') * kSmallest15Digits + fraction, 0};
    const char* exponentStart = fractionEnd + 1;
    if (*exponentStart == '+') ++exponentStart;
    std::from_chars(exponentStart, end, rounded.exponent);
    return rounded;
}

Rounded15 roundTo15(long double magnitude)
{
    if (const auto fast = roundTo15Fast(magnitude)) return *fast;
    return roundTo15Exact(magnitude);
}

std::string_view nonFiniteText(long double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

void appendGeneralText(std::string& text, bool negative, const Rounded15& rounded,
                       char decimalSeparator)
{
    std::array<char, 24> digitBuffer;
    const char* digitsEnd =
        std::to_chars(digitBuffer.data(), digitBuffer.data() + digitBuffer.size(), rounded.digits)
            .ptr;
    std::string_view digits(digitBuffer.data(),
                            static_cast<std::size_t>(digitsEnd - digitBuffer.data()));
    while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);

    if (negative) text += '-';
    const int exponent = rounded.exponent;
    if (exponent < -4 || exponent >= kSignificantDigits) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimalSeparator;
            text.append(digits.substr(1));
        }
        text += 'E';
        std::array<char, 12> exponentBuffer;
        const char* exponentEnd =
            std::to_chars(exponentBuffer.data(), exponentBuffer.data() + exponentBuffer.size(),
                          exponent)
                .ptr;
        text.append(exponentBuffer.data(),
                    static_cast<std::size_t>(exponentEnd - exponentBuffer.data()));
    } else if (exponent >= 0) {
        const std::size_t integerLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerLength) {
            text.append(digits);
            text.append(integerLength - digits.size(), '0');
        } else {
            text.append(digits.substr(0, integerLength));
            text += decimalSeparator;
            text.append(digits.substr(integerLength));
        }
    } else {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text.append(digits);
    }
}

// Enough for the integer digits of the largest long double, a point and 20 decimals.
constexpr std::size_t kFixedBufferSize = std::numeric_limits<long double>::max_exponent10 + 32;
constexpr int kMaxDecimals = 20;
constexpr long double kTwoTo64 = 18446744073709551616.0L;

void appendGrouped(std::string& text, std::string_view digits,
                   const std::string& thousandsSeparator)
{
    if (thousandsSeparator.empty()) {
        text.append(digits);
        return;
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t remaining = digits.size() - i;
        if (i > 0 && remaining % 3 == 0) text += thousandsSeparator;
        text += digits[i];
    }
}

bool allZeros(std::string_view digits)
{
    return digits.find_first_not_of("0.") == std::string_view::npos;
}

}  // namespace

long double readFloat(std::string_view text, const NumberFormat& format)
{
    const auto parts = splitDecimal(text, format.decimalSeparator);
    if (!parts) refuse(text, "floating point");
    const long double value = convertParts(*parts);
    if (std::isinf(value)) refuse(text, "floating point");
    return value;
}

std::string quotedForMessage(std::string_view text)
{
    // A line of a damaged file may run to megabytes; the message shows its start.
    constexpr std::size_t kLongest = 100;
    if (text.size() <= kLongest) return "'" + std::string(text) + "'";
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "'" + std::string(text.substr(0, cut)) + "\u2026'";
}

std::int32_t readInteger(std::string_view text)
{
    Cursor cursor(text);
    cursor.skipBlanks();
    const bool negative = cursor.takeSign();
    const std::string_view digits = cursor.takeDigits();
    cursor.skipBlanks();
    if (digits.empty() || !cursor.atEnd()) refuse(text, "integer");
    // from_chars takes a "-" but no "+"; the sign stands right before the digits.
    const char* first = negative ? digits.data() - 1 : digits.data();
    std::int32_t value = 0;
    const auto result = std::from_chars(first, digits.data() + digits.size(), value);
    if (result.ec != std::errc()) refuse(text, "integer");
    return value;
}

std::string formatGeneral(long double value, const NumberFormat& format)
{
    std::string text;
    appendGeneral(text, value, format);
    return text;
}

void appendGeneral(std::string& text, long double value, const NumberFormat& format)
{
    if (!std::isfinite(value)) {
        text.append(nonFiniteText(value));
    } else if (value == 0) {
        text += '0';
    } else {
        appendGeneralText(text, value < 0, roundTo15(std::fabs(value)), format.decimalSeparator);
    }
}

std::string formatFixed(long double value, FixedPattern pattern, const NumberFormat& format)
{
    std::string text;
    appendFixed(text, value, pattern, format);
    return text;
}

void appendFixed(std::string& text, long double value, FixedPattern pattern,
                 const NumberFormat& format)
{
    if (!std::isfinite(value)) {
        text.append(nonFiniteText(value));
        return;
    }
    const int decimals = std::clamp(pattern.decimals, 0, kMaxDecimals);
    std::array<char, kFixedBufferSize> buffer;
    const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                    std::chars_format::fixed, decimals)
                          .ptr;
    const std::string_view digits(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t point = digits.find('.');
    const std::size_t start = text.size();
    if (value < 0 && !allZeros(digits)) text += '-';
    appendGrouped(text, digits.substr(0, point), format.thousandsSeparator);
    if (point != std::string_view::npos) {
        text += format.decimalSeparator;
        text.append(digits.substr(point + 1));
    }
    const std::size_t width = pattern.width < 0 ? 0 : static_cast<std::size_t>(pattern.width);
    const std::size_t written = text.size() - start;
    if (written < width) text.insert(start, width - written, ' ');
}

std::string formatChosen(long double value, std::optional<int> decimals)
{
    std::string text;
    appendChosen(text, value, decimals);
    return text;
}

void appendChosen(std::string& text, long double value, std::optional<int> decimals)
{
    const NumberFormat format = NumberFormat::file();
    if (!decimals) {
        appendGeneral(text, value, format);
    } else {
        appendFixed(text, value, {1, std::clamp(*decimals, 0, kMostChosenDecimals)}, format);
    }
}

std::string integerDigits(long double magnitude)
{
    if (!(magnitude >= 1)) return "0";
    std::array<char, kFixedBufferSize> buffer;
    const char* end = magnitude < kTwoTo64
                          ? std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          static_cast<std::uint64_t>(magnitude))
                                .ptr
                          : std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                          std::trunc(magnitude), std::chars_format::fixed, 0)
                                .ptr;
    return std::string(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}
