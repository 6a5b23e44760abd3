// Ntv2Grid: a horizontal datum-shift grid in the NTv2 format, read from bytes in memory, and the
// shift it gives at a point.
//
// An NTv2 file holds an overview header, then sub-grids, each a header and a regular lattice of
// nodes with a latitude and a longitude shift in arc-seconds. A sub-grid may name a parent; it
// then refines a region of the parent's area and a point inside it takes its shift from it.
//
// Conventions:
// - At the interface, latitudes and longitudes are signed decimal degrees, north and east
//   positive, as everywhere else in the program. The file counts longitudes positive WEST (and
//   so stores longitude shifts positive west); the sub-grid headers below show the file's own
//   figures, every other value is turned east-positive.
// - Which sub-grid holds a point, the interpolation, the tolerance at the edges and the inverse
//   iteration follow PROJ's hgridshift (grids.cpp, pj_hgrid_apply), so that the shifts agree with
//   PROJ's on the same file to far better than a millimetre.
// - The constructor validates the whole file and copies what the lookups need: the bytes may go
//   once it returns. A grid is immutable after construction, so one grid may serve any number of
//   threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A grid file that cannot be used, with the file's name and what is wrong with it in words.
class GridFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One sub-grid's header as the file gives it; strings lose trailing blanks and NULs.
struct Ntv2SubGrid {
    std::string Name;     // SUB_NAME
    std::string Parent;   // PARENT: "NONE" for a grid at the top
    std::string Created;  // CREATED
    std::string Updated;  // UPDATED
    // Arc-seconds, longitudes positive west: WestLong > EastLong.
    double SouthLat, NorthLat, EastLong, WestLong, LatInc, LongInc;
    std::int32_t Rows, Columns;  // nodes south to north and east to west; GS_COUNT = Rows * Columns
    int ParentIndex;             // into SubGrids(), -1 for a grid at the top
};

struct GridPoint {
    long double Lat, Lon;  // degrees, north and east positive
};

class Ntv2Grid {
public:
    // Reads and validates a whole NTv2 file held in `bytes`; `name` names it in messages.
    // Throws GridFileError for a file that is truncated, corrupt, or not in arc-seconds.
    Ntv2Grid(std::string_view bytes, std::string name);

    const std::string& Name() const { return name_; }
    bool BigEndian() const { return bigEndian_; }
    const std::string& Version() const { return version_; }
    const std::string& SystemFrom() const { return systemFrom_; }  // SYSTEM_F
    const std::string& SystemTo() const { return systemTo_; }      // SYSTEM_T
    // The ellipsoids' semi-axes, metres.
    double MajorFrom() const { return majorFrom_; }
    double MinorFrom() const { return minorFrom_; }
    double MajorTo() const { return majorTo_; }
    double MinorTo() const { return minorTo_; }
    const std::vector<Ntv2SubGrid>& SubGrids() const { return subGrids_; }

    // The index of the sub-grid that serves a point, the finest that holds it; nothing when no
    // sub-grid holds it, or for a latitude beyond a pole or a coordinate that is not finite.
    std::optional<int> SubGridAt(long double lat, long double lon) const;
    // The shift at a point of the source system, degrees east and north positive: the point in
    // the target system is the point plus the shift.
    std::optional<GridPoint> ShiftAt(long double lat, long double lon) const;
    // Source system to target system.
    std::optional<GridPoint> Forward(long double lat, long double lon) const;
    // Target system to source system, by iteration on the forward shift: at most 10 steps, until
    // a step moves less than 1e-12 radian (6 micrometres). Nothing when it does not converge.
    // Where the estimate moves into another sub-grid than the target's, this iteration goes on
    // to convergence where PROJ's stops a step short (see the .cpp).
    std::optional<GridPoint> Inverse(long double lat, long double lon) const;

private:
    // A sub-grid as the lookups use it: arc-seconds, longitudes east positive.
    struct Lattice {
        long double south, north, west, east, latInc, lonInc;
        long double epsilon;  // how far beyond the edges a point still counts as inside
        std::int32_t rows, columns;
        std::size_t first;  // index of the south-west node in shifts_
        std::vector<int> children;
    };
    struct Offsets {
        long double x, y;  // arc-seconds east and north of a lattice's south-west node
    };

    int Find(long double latSeconds, long double lonSeconds) const;
    Offsets FromCorner(const Lattice& lattice, long double latSeconds,
                       long double lonSeconds) const;
    std::optional<Offsets> Interpolate(const Lattice& lattice, Offsets at) const;
    // A point in arc-seconds (longitude positive east) and the shift interpolated there.
    struct ShiftedSeconds {
        GridPoint at;
        Offsets shift;
    };
    std::optional<ShiftedSeconds> ShiftInSeconds(long double lat, long double lon) const;

    std::string name_;
    bool bigEndian_ = false;
    std::string version_, systemFrom_, systemTo_;
    double majorFrom_ = 0, minorFrom_ = 0, majorTo_ = 0, minorTo_ = 0;
    std::vector<Ntv2SubGrid> subGrids_;
    std::vector<Lattice> lattices_;
    std::vector<int> topLevel_;
    // Node shifts in arc-seconds, latitude then longitude (positive EAST), row after row from
    // the south, each row from the west.
    std::vector<float> shifts_;
};
