// The datum editor's reading of its boxes before a datum is stored: the nine numbers in the
// user's form, then the bounds of the semi-major axis and of the inverse flattening, then what
// the catalogue file could not hold or read back: the bounds of rotations and scale, the
// convention that goes with them, the grid file and its target datum.
#pragma once

#include "config/DatumCatalogue.h"
#include "transform/text/NumberFormat.h"

#include <array>
#include <optional>
#include <string>

// Status codes of the reading: those below 100 as the status messages number them, the rest the
// editor's own.
namespace DatumEntryCode {
inline constexpr int Valid = 0;
inline constexpr int EarthRadius = 8;           // a outside 6 377 000 .. 6 379 000 m
inline constexpr int Flattening = 11;           // 1/f outside 250 .. 350
inline constexpr int NotANumber = 12;           // a box that is not a number
inline constexpr int RotationBound = 101;       // a rotation beyond 60 arc-seconds in size
inline constexpr int ScaleBound = 102;          // a scale beyond 100 ppm in size
inline constexpr int NoConvention = 103;        // rotations or a scale without a convention
inline constexpr int ConventionAlone = 104;     // a convention with no rotation and no scale
inline constexpr int GridWithoutTarget = 105;   // a grid file without the datum it carries to
inline constexpr int TargetWithoutGrid = 106;   // a target datum without a grid file
inline constexpr int GridTargetUnknown = 107;   // a target that is no other datum of the list
inline constexpr int GridFileUnwritable = 108;  // a grid file name the catalogue cannot hold
}  // namespace DatumEntryCode

// The number boxes in their order of reading, with the tag a message names each by.
inline constexpr std::array<const char*, 9> kDatumEntryTags{"(a) ",  "1/(f) ", "(Dx) ",
                                                            "(Dy) ", "(Dz) ",  "(rx) ",
                                                            "(ry) ", "(rz) ",  "(ppm) "};

// The editor's boxes as they stand.
struct DatumBoxes {
    std::string name;
    std::array<std::string, 9> numbers;  // as typed, in the order of kDatumEntryTags
    std::optional<RotationConvention> convention{};
    std::string gridFile{}, gridTarget{};
};

struct DatumEntry {
    int code = DatumEntryCode::Valid;
    // The box a refusal names: for NotANumber the last that failed, for the bounds the first;
    // its tag (numbers only) and its text as typed.
    std::string failedTag, failedText;
    DatumValues values;  // as read; complete only when the code is Valid
};

// Reads the boxes for a datum to be stored in `slot` of the catalogue. Every number box is read,
// so that the last one that is not a number is the one named; the bounds of a and 1/f are
// checked only when all nine are numbers, and a flattening out of bounds is reported in place of
// an axis out of bounds. Then, once a and 1/f pass, the first of: a rotation (rx, ry, rz) or the
// scale out of bounds, rotations or a scale without a convention or a convention without them,
// a grid file without its target or the other way round, a target that is not the name of
// another datum of the catalogue, a grid file name with a comma, a line break or a character
// outside Windows-1252. The bounds themselves are valid.
DatumEntry readDatumEntry(const DatumBoxes& boxes, const NumberFormat& user,
                          const DatumCatalogue& catalogue, int slot);
