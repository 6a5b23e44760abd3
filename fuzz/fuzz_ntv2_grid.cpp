// The NTv2 reader on any bytes: a file is either read or refused with a GridFileError that names
// it. A grid that was read gives, at its sub-grids' corners and centres and at a point taken
// from the input's last bytes, a shift that is finite and under a degree or none at all; a
// point the forward shifts has a sub-grid, and an inverse is finite.
#include "core/Ntv2Grid.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

void CheckAt(const Ntv2Grid& grid, long double lat, long double lon)
{
    const auto shift = grid.ShiftAt(lat, lon);
    const auto forward = grid.Forward(lat, lon);
    fuzz::require(shift.has_value() == forward.has_value(), "a shift exactly where a forward");
    if (forward) {
        fuzz::require(grid.SubGridAt(lat, lon).has_value(), "a shifted point has a sub-grid");
        fuzz::require(std::isfinite(shift->Lat) && std::isfinite(shift->Lon), "a finite shift");
        fuzz::require(std::fabs(shift->Lat) < 1 && std::fabs(shift->Lon) < 1, "under a degree");
        fuzz::require(std::isfinite(forward->Lat) && std::isfinite(forward->Lon),
                      "a finite forward");
    }
    if (const auto inverse = grid.Inverse(lat, lon))
        fuzz::require(std::isfinite(inverse->Lat) && std::isfinite(inverse->Lon),
                      "a finite inverse");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<Ntv2Grid> grid;
    try {
        grid.emplace(fuzz::textOf(data, size), "fuzz.gsb");
    } catch (const GridFileError& e) {
        fuzz::require(std::string_view(e.what()).starts_with("fuzz.gsb: "), "the file named");
        return 0;
    }
    const auto& subGrids = grid->SubGrids();
    fuzz::require(!subGrids.empty(), "a grid has a sub-grid");
    for (std::size_t g = 0; g < std::min<std::size_t>(subGrids.size(), 8); ++g) {
        const Ntv2SubGrid& s = subGrids[g];
        fuzz::require(s.Rows >= 2 && s.Columns >= 2, "a lattice of cells");
        const long double south = s.SouthLat / 3600.0L, north = s.NorthLat / 3600.0L;
        const long double west = -s.WestLong / 3600.0L, east = -s.EastLong / 3600.0L;
        for (long double lat : {south, north, (south + north) / 2})
            for (long double lon : {west, east, (west + east) / 2}) CheckAt(*grid, lat, lon);
    }
    if (size >= 16) {
        double lat, lon;
        std::memcpy(&lat, data + size - 16, 8);
        std::memcpy(&lon, data + size - 8, 8);
        CheckAt(*grid, lat, lon);
    }
    return 0;
}
