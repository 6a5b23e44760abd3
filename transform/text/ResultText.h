// The result lines of a single-point transformation, one value per line, as plain UTF-8 text.
#pragma once

#include "transform/text/NumberFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// The labels in the current language, handed in by the caller from the interface texts.
struct ResultLabels {
    std::string north;        // text 16
    std::string east;         // text 17
    std::string height;       // text 18
    std::string latitude;     // text 19
    std::string longitude;    // text 20
    std::string x;            // text 21
    std::string y;            // text 22
    std::string z;            // text 23
    std::string surveyX;      // text 24
    std::string surveyY;      // text 25
    std::string zone;         // text 39
    std::string convergence;  // text 59
};

// The values as they stand after the target stage: the geodetic point after the datum stage and
// the engine's result fields of the target kind.
struct ResultValues {
    long double latitude = 0;
    long double longitude = 0;
    long double height = 0;
    long double north = 0;
    long double east = 0;
    std::int32_t zone = 0;
    char zoneLetter = ' ';
    long double convergence = 0;
    long double scaleFactor = 0;
    long double cartX = 0;
    long double cartY = 0;
    long double cartZ = 0;
    long double localX = 0;
    long double localY = 0;
    long double localConvergence = 0;
};

// Which lines are written: by the target kind, with the zone line only for the UTM family and
// the scale-factor line only for a geodetic source (indexes of CoordinateKinds.h).
struct ResultLayout {
    int targetKind = -1;
    int targetFamily = -1;
    int sourceKind = -1;
};

// The numbers of result lines alone, one a line, as a box takes them back: without label, unit
// or thousands separators, the user's decimal separator kept, an angle in its format's box form
// (-23°40'35,2344" is -23,40352344; -23°40,5872400000' is -23,405872400000). A line without a
// value (the zone) gives none.
std::string resultNumbers(const std::vector<std::string>& lines, const NumberFormat& format);

// The lines in the order they are shown; none for a target kind outside the four.
std::vector<std::string> resultLines(const ResultLayout& layout, const ResultValues& values,
                                     const ResultLabels& labels, int angleFormat,
                                     const NumberFormat& format);
