// How zelvora-convert builds the window's state: the window's settings file and catalogue, then
// each option overriding one part, in the words a surveyor uses for it.
#pragma once

#include "config/DatumCatalogue.h"
#include "transform/text/NumberFormat.h"
#include "transform/pipeline/WindowState.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Bad options or values: exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One side's options; an option not given leaves the settings file's value.
struct SideOptions {
    std::optional<std::string> kind;    // grid, geodetic, cartesian, local, or EPSG:CODE
    std::optional<std::string> datum;   // a name of the catalogue or an index
    std::optional<std::string> family;  // utm, ltm, rtm, other
    std::optional<std::string> centralMeridian;
    std::optional<std::string> k0, zoneWidth, falseNorthing, falseEasting;
    std::optional<std::string> origin;  // LAT,LON,H,X,Y
};

struct StateOptions {
    SideOptions from, to;
    bool south = false, north = false;
    bool keepHeights = false, convertHeights = false;  // dxf and points: "keep heights" on, off
    std::optional<int> angleFormat;
    std::optional<std::string> language;  // pt, en, es
};

// The user's separators from LC_NUMERIC, each replaced by its option when given. A decimal
// separator must be one character that cannot be part of a number; the thousands separator may
// be empty.
NumberFormat userNumberFormat(const std::optional<std::string>& decimal,
                              const std::optional<std::string>& thousands);

// A value as the window's numeric boxes would hold it: "." and "," type the user's decimal
// separator when it is one of the two, as the key filter makes them.
std::string typedInBox(std::string text, char decimalSeparator);

// Applies the options to the state read from the settings file. Throws UsageError for a datum
// the catalogue does not hold, an origin without five values, and the like. Number values go into
// their boxes as typed; the transformation converts them when it reads them.
void applyOptions(WindowState& state, const StateOptions& options, const DatumCatalogue& catalogue,
                  const NumberFormat& user);

// Puts the point's values into the source kind's boxes, in the window's order: grid N E h,
// geodetic latitude longitude h, geocentric X Y Z, local X Y h.
void typePoint(WindowState& state, const std::vector<std::string>& values,
               const NumberFormat& user);

// One line an EPSG code the options take: "EPSG:29193", a tab, the registry's name, a tab, what
// it sets ("grid, SAD 69, UTM, central meridian -45, south").
std::string crsListing();

// One line a datum: its index, a blank, its name, a tab, then a, 1/f, dx, dy, dz.
std::string datumListing(const DatumCatalogue& catalogue, const NumberFormat& user);

// The state in words, both sides, for `zelvora-convert settings`: where it came from (`from`),
// the angle format, language and separators, then each side's kind, datum by index and name,
// grid family, central meridian (as typed and as the angle format reads it), the values of the
// family "other" and the plane origin; the hemisphere with the source.
std::string settingsInWords(const WindowState& state, const DatumCatalogue& catalogue,
                            const NumberFormat& user, const std::string& from);
