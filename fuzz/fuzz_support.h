// What the fuzz targets share: the input as text, a check that stops the run with the input
// saved when a property fails, and the window state of a transformation that changes nothing.
#pragma once

#include "core/Geodesica.h"
#include "transform/text/NumberFormat.h"
#include "transform/pipeline/WindowState.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::string_view textOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A failed property is a finding like a crash: libFuzzer saves the input that led to it.
inline void require(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

// How far a value written with `decimals` decimals and read back may lie from it: half a unit of
// the last decimal from the rounding, and a few units in the last place of the 80-bit value
// from reading the digits back, which for large values exceed the decimals' margin.
inline long double roundTripTolerance(long double value, int decimals)
{
    const long double magnitude = std::fabs(value);
    const long double lastPlace = std::nextafter(magnitude, HUGE_VALL) - magnitude;
    return 0.5L * std::pow(10.0L, -decimals) + 4 * lastPlace;
}

// The two forms a user's numbers come in: "." without grouping, and "," with "." between
// groups of three.
inline NumberFormat pointFormat() { return NumberFormat{'.', ""}; }
inline NumberFormat commaFormat() { return NumberFormat{',', "."}; }

// The lines of a run's output: every line must end in CR LF.
inline bool everyLineEndsInCrLf(std::string_view text)
{
    if (!text.empty() && text.back() != '\n') return false;
    for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1))
        if (i == 0 || text[i - 1] != '\r') return false;
    return true;
}

// Lines split as the runs split them: at LF, one CR before it dropped; the final LF opens none.
inline std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

// One datum, geodetic on both sides: every stage passes the point through unchanged.
inline std::vector<TDatum> oneDatum()
{
    return {TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0)};
}

inline WindowState geodeticToGeodetic()
{
    WindowState state = startupState(pointFormat());
    state.ComboBox7 = 1;  // geodetic source
    state.ComboBox8 = 1;  // geodetic target
    state.ComboBox9 = 0;
    state.ComboBox10 = 0;
    return state;
}

}  // namespace fuzz
