// Number text: the strict reading of typed and stored numbers, the general written form and the
// fixed patterns of the result text.
#pragma once

#include "transform/text/NumberFormat.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The one error that reading a number can raise. Its text is the runtime's message naming the
// text as it was given, which the window's general error report and the file runs show as is.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a real number: optional blanks, an optional sign, digits with at most one decimal
// separator (the format's; the thousands separator is never accepted), an optional exponent "E"
// or "e" with optional sign and at least one digit, optional blanks. Blanks are spaces. The value
// is the long double nearest to the decimal text; a magnitude beyond the long double range is
// refused, one below it reads as the nearest subnormal or zero.
// Throws ConversionError "'<text>' is not a valid floating point value"; a text of more than 100
// bytes is quoted by its first 100 and an ellipsis.
long double readFloat(std::string_view text, const NumberFormat& format);

// A text in quotes for an error message; a text of more than 100 bytes is shown by its first
// 100 (cut at a character boundary) and an ellipsis.
std::string quotedForMessage(std::string_view text);

// Reads a 32-bit signed integer: optional blanks, an optional sign, decimal digits, optional
// blanks. Throws ConversionError "'<text>' is not a valid integer value".
std::int32_t readInteger(std::string_view text);

// The general form: rounded to 15 significant digits, trailing zeros dropped, no grouping, and
// the exponent form (5E-5, 1.5E-7, 1E15, 1.234E20) below 1E-4 and from 1E15 on. Zero of either
// sign is "0"; non-finite values are "NAN", "INF" and "-INF".
std::string formatGeneral(long double value, const NumberFormat& format);
// The general form added to the end of `text`: for writers of many values, which keep one buffer.
void appendGeneral(std::string& text, long double value, const NumberFormat& format);

// A fixed pattern "%<width>.<decimals>n": that many decimals, correctly rounded from the long
// double, the thousands separator between groups of three integer digits, a leading "-" for a
// negative value that does not round to zero, padded on the left with blanks to the width.
struct FixedPattern {
    int width;
    int decimals;  // 0 to 20
};

namespace Pattern {
inline constexpr FixedPattern n1_4{1, 4};
inline constexpr FixedPattern n1_6{1, 6};
inline constexpr FixedPattern n1_8{1, 8};
inline constexpr FixedPattern n2_4{2, 4};
inline constexpr FixedPattern n2_10{2, 10};
inline constexpr FixedPattern n2_12{2, 12};
}  // namespace Pattern

std::string formatFixed(long double value, FixedPattern pattern, const NumberFormat& format);
void appendFixed(std::string& text, long double value, FixedPattern pattern,
                 const NumberFormat& format);

// The most decimals a user may ask a written value for: 12 decimals of a northing of 10^7 m are
// 19 significant digits, all that a long double holds; more would print digits of no meaning.
inline constexpr int kMostChosenDecimals = 12;

// A value as the point runs write it for the user: `decimals` fixed decimals when the user chose
// a number (0 to kMostChosenDecimals), else the general form; "." and no grouping, as in files.
std::string formatChosen(long double value, std::optional<int> decimals);
void appendChosen(std::string& text, long double value, std::optional<int> decimals);

// The whole digits of a value truncated toward zero, without sign or grouping; "0" for values
// below 1 and for non-finite ones. Used for the degrees and minutes of the angle writers.
std::string integerDigits(long double magnitude);
