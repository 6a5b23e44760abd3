// EPSG codes of the coordinate systems this program can set up from the datum catalogue: the
// geographic (2D and 3D) and geocentric systems of the catalogue's datums and their UTM zones.
// A code stands for a kind of coordinates, a catalogue datum by its name as the shipped
// "Datum.Cfg" writes it, and for a UTM zone its central meridian and hemisphere.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CrsDefinition {
    int code;
    std::string name;   // the registry's name, e.g. "SAD69 / UTM zone 23S"
    int kind;           // CoordinateKind: Grid, Geodetic or Cartesian
    std::string datum;  // the catalogue's name, e.g. "SAD 69"
    int zone = 0;       // UTM zone, 1 to 60; 0 for geographic and geocentric systems
    bool south = false;

    // The zone's central meridian in whole degrees: -183 + 6 x zone.
    int centralMeridian() const { return 6 * zone - 183; }
};

// The definition of an EPSG code, or nothing for a code this program does not hold.
std::optional<CrsDefinition> crsByCode(int code);

// "EPSG:29193" or "epsg:29193" as a code; nothing for any other text.
std::optional<int> epsgCode(const std::string& text);

// Every code held, in increasing order.
std::vector<CrsDefinition> allCrsCodes();
