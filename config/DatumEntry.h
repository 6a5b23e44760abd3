// The datum editor's reading of its boxes before a datum is stored: the five numbers in the
// user's form, then the bounds of the semi-major axis and of the inverse flattening.
#pragma once

#include "transform/text/NumberFormat.h"

#include <array>
#include <string>

// Status codes of the reading, as the status messages number them.
namespace DatumEntryCode {
inline constexpr int Valid = 0;
inline constexpr int EarthRadius = 8;  // a outside 6 377 000 .. 6 379 000 m
inline constexpr int Flattening = 11;  // 1/f outside 250 .. 350
inline constexpr int NotANumber = 12;  // a box that is not a number
}  // namespace DatumEntryCode

// The boxes in their order of reading, with the tag a message names each by.
inline constexpr std::array<const char*, 5> kDatumEntryTags{"(a) ", "1/(f) ", "(Dx) ", "(Dy) ",
                                                            "(Dz) "};

struct DatumEntry {
    int code = DatumEntryCode::Valid;
    // For NotANumber, the last box that failed: its tag and its text as typed.
    std::string failedTag, failedText;
    long double A = 0, InvF = 0, Dx = 0, Dy = 0, Dz = 0;
};

// Reads a, 1/f, Dx, Dy, Dz from their boxes' texts. Every box is read, so that the last one that
// is not a number is the one named; the bounds are checked only when all five are numbers, and a
// flattening out of bounds is reported in place of an axis out of bounds. The bounds themselves
// are valid.
DatumEntry readDatumEntry(const std::array<std::string, 5>& boxes, const NumberFormat& user);
