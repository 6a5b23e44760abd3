// Angle text: how a typed angle is read and how an angle is written, by the angle format the
// user chose. The format index and the separators are arguments, so the same routines serve the
// window, the file runs and the command-line tool.
#pragma once

#include "transform/text/NumberFormat.h"

#include <string>

// Index of the chosen angle format, as the format list numbers its items.
namespace AngleFormat {
inline constexpr int None = -1;                  // nothing chosen: reads 0, writes "0°"
inline constexpr int Degrees = 0;                // "±GGG.GGGGGG"
inline constexpr int DegreesMinutes = 1;         // "±GGG.MMMMM"
inline constexpr int DegreesMinutesSeconds = 2;  // "±GGG.MMSSSS"
}  // namespace AngleFormat

// The number read from an angle box, turned into decimal degrees by the format. Any index other
// than the three formats gives 0.
long double LatLonCerto(long double value, int angleFormat, const NumberFormat& format);

// Readers of "±GGG.MMMMM" and "±GGG.MMSSSS". They take the number apart by its general text form,
// so a magnitude written with an exponent (below 1E-4 or from 1E15 on) or whole degrees beyond
// the 32-bit range throw ConversionError "'<field>' is not a valid integer value".
long double GM_DECIMAL(long double value, const NumberFormat& format);
long double GMS_DECIMAL(long double value, const NumberFormat& format);

// An angle in decimal degrees written by the format; any index other than the three formats
// gives "0°". The texts are UTF-8.
std::string TextLatLon(long double value, int angleFormat, const NumberFormat& format);

// Degrees with 12 decimals: "-23,676454000000°", "05,500000000000°".
std::string TextG(long double value, const NumberFormat& format);
// Whole degrees and minutes with 10 decimals: "-23°40,5872400000'".
std::string TextGM(long double value, const NumberFormat& format);
// Whole degrees, whole minutes and seconds with 4 decimals: "-23°40'35,2344\"".
std::string TextGMS(long double value, const NumberFormat& format);
