// The NTv2 reader and the lookups. The file's layout: records of 16 bytes, an 8-byte label and an
// 8-byte value (a 4-byte integer and 4 bytes of padding, 8 characters, or a double). The overview
// header is 11 records; each sub-grid is an 11-record header and GS_COUNT node records of four
// floats (latitude shift, longitude shift, latitude accuracy, longitude accuracy, arc-seconds); a
// record labelled END closes the file. The byte order is the writer's: NUM_OREC is 11 in it.
#include "core/Ntv2Grid.h"

#include "core/WholePart.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <utility>

namespace {

constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kHeaderRecords = 11;
constexpr std::size_t kHeaderSize = kHeaderRecords * kRecordSize;
constexpr std::size_t kNodeSize = 4 * sizeof(float);

constexpr const char* kOverviewLabels[kHeaderRecords] = {"NUM_OREC", "NUM_SREC", "NUM_FILE",
                                                         "GS_TYPE",  "VERSION",  "SYSTEM_F",
                                                         "SYSTEM_T", "MAJOR_F",  "MINOR_F",
                                                         "MAJOR_T",  "MINOR_T"};
constexpr const char* kSubGridLabels[kHeaderRecords] = {"SUB_NAME", "PARENT",  "CREATED",
                                                        "UPDATED",  "S_LAT",   "N_LAT",
                                                        "E_LONG",   "W_LONG",  "LAT_INC",
                                                        "LONG_INC", "GS_COUNT"};

constexpr long double kSecondsPerDegree = 3600;
constexpr long double kSecondsPerTurn = 360 * kSecondsPerDegree;
// Arc-seconds per radian: 648000 / pi. PROJ states its tolerances in radians.
constexpr long double kSecondsPerRadian = 206264.80624709635515647L;
// PROJ's REL_TOLERANCE_HGRIDSHIFT: a point this fraction of the increments beyond a sub-grid's
// edge still belongs to it, and ten times as much of a cell beyond the last node still takes
// the edge node's value.
constexpr long double kEdgeTolerance = 1e-5L;
// PROJ's inverse: at most 10 iterations, until a step moves less than 1e-12 radian.
constexpr int kInverseIterations = 10;
constexpr long double kInverseTolerance = 1e-12L * kSecondsPerRadian;
// A node shift of a degree or more is no datum shift: such a value is a corrupt record.
constexpr float kLargestShift = 3600;
// A lattice whose extent is not a whole number of increments within this fraction of one is not
// a lattice: its nodes would not fall on its edges.
constexpr long double kIncrementSlack = 1e-3L;

// Fixed-size text without its trailing blanks and NULs.
std::string Trimmed(std::string_view text)
{
    const auto end = text.find_last_not_of(std::string_view(" \0", 2));
    return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// Reads the records of a file whose size has been checked to hold them.
class RecordReader {
public:
    RecordReader(std::string_view bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    std::string Label(std::size_t at) const { return Trimmed(bytes_.substr(at, 8)); }
    std::string Text(std::size_t at) const { return Trimmed(bytes_.substr(at + 8, 8)); }
    std::int32_t Integer(std::size_t at) const
    {
        return std::bit_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(at + 8, 4)));
    }
    double Real(std::size_t at) const { return std::bit_cast<double>(Unsigned(at + 8, 8)); }
    float Float(std::size_t at) const
    {
        return std::bit_cast<float>(static_cast<std::uint32_t>(Unsigned(at, 4)));
    }

private:
    std::uint64_t Unsigned(std::size_t at, std::size_t size) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t byte = bigEndian_ ? i : size - 1 - i;
            value = value << 8 | static_cast<unsigned char>(bytes_[at + byte]);
        }
        return value;
    }

    std::string_view bytes_;
    bool bigEndian_;
};

[[noreturn]] void Refuse(const std::string& file, const std::string& what)
{
    throw GridFileError(file + ": " + what);
}

std::string Figure(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// The most cells along one side: the nodes then still count in a 32-bit integer.
constexpr std::int32_t kMostCells = std::numeric_limits<std::int32_t>::max() - 2;

// The number of nodes along one side: PROJ's rounding of the extent over the increment, plus
// one. Nothing when the extent is not a whole number of increments or the count is absurd.
std::optional<std::int32_t> NodesAlong(double low, double high, double increment)
{
    const long double cells = (static_cast<long double>(high) - low) / increment;
    if (!(cells >= 1 && cells <= kMostCells)) return std::nullopt;
    const long double whole = std::floor(cells + 0.5L);
    if (std::fabs(cells - whole) > kIncrementSlack) return std::nullopt;
    return static_cast<std::int32_t>(whole) + 1;
}

// A cell index and fraction a hair outside the lattice (within `slack` of a cell) moved onto its
// edge node; false for one farther out.
bool OntoLattice(std::int32_t& index, long double& fraction, std::int32_t count, long double slack)
{
    if (index < 0) {
        if (fraction <= 1 - slack) return false;
        index = 0;
        fraction = 0;
    } else if (index + 1 >= count) {
        if (fraction >= slack) return false;
        index = count - 2;
        fraction = 1;
    }
    return true;
}

}  // namespace

Ntv2Grid::Ntv2Grid(std::string_view bytes, std::string name) : name_(std::move(name))
{
    const auto fail = [this](const std::string& what) { Refuse(name_, what); };
    const std::string fileSize = std::to_string(bytes.size());
    if (bytes.size() < kHeaderSize)
        fail("the overview header ends at byte " + std::to_string(kHeaderSize) +
             " but the file has " + fileSize);

    // The byte order is the one in which NUM_OREC reads as 11.
    const RecordReader little(bytes, false), big(bytes, true);
    if (little.Integer(0) == static_cast<std::int32_t>(kHeaderRecords)) {
        bigEndian_ = false;
    } else if (big.Integer(0) == static_cast<std::int32_t>(kHeaderRecords)) {
        bigEndian_ = true;
    } else {
        fail("NUM_OREC is neither 11 little-endian nor 11 big-endian: not an NTv2 file");
    }
    const RecordReader& file = bigEndian_ ? big : little;

    const auto checkLabels = [&](std::size_t at, const char* const* labels, const std::string& of) {
        for (std::size_t r = 0; r < kHeaderRecords; ++r) {
            const std::string label = file.Label(at + r * kRecordSize);
            if (label != labels[r])
                fail(std::string(of) + " has \"" + label + "\" where " + labels[r] +
                     " belongs (byte " + std::to_string(at + r * kRecordSize) + ")");
        }
    };
    checkLabels(0, kOverviewLabels, "the overview header");

    if (file.Integer(16) != static_cast<std::int32_t>(kHeaderRecords))
        fail("NUM_SREC is " + std::to_string(file.Integer(16)) + ", not 11");
    const std::int32_t count = file.Integer(32);
    const std::size_t room = (bytes.size() - kHeaderSize) / kHeaderSize;
    if (count < 1) fail("NUM_FILE is " + std::to_string(count) + ": no sub-grid");
    if (static_cast<std::size_t>(count) > room)
        fail("NUM_FILE is " + std::to_string(count) + " but the file has room for " +
             std::to_string(room) + " sub-grid headers at most");
    const std::string gsType = file.Text(48);
    if (gsType != "SECONDS") fail("GS_TYPE is \"" + gsType + "\"; only SECONDS is supported");
    version_ = file.Text(64);
    systemFrom_ = file.Text(80);
    systemTo_ = file.Text(96);
    majorFrom_ = file.Real(112);
    minorFrom_ = file.Real(128);
    majorTo_ = file.Real(144);
    minorTo_ = file.Real(160);
    const auto checkAxes = [&](double major, double minor, const char* system) {
        if (!(std::isfinite(major) && std::isfinite(minor) && 0 < minor && minor <= major))
            fail(std::string("the ellipsoid of ") + system + " has axes " + Figure(major) +
                 " and " + Figure(minor) + " m");
    };
    checkAxes(majorFrom_, minorFrom_, "SYSTEM_F");
    checkAxes(majorTo_, minorTo_, "SYSTEM_T");

    std::unordered_map<std::string, int> byName;
    std::size_t at = kHeaderSize;
    for (int g = 0; g < count; ++g) {
        const std::string which =
            "sub-grid " + std::to_string(g + 1) + " of " + std::to_string(count);
        if (bytes.size() - at < kHeaderSize)
            fail("the header of " + which + " ends at byte " + std::to_string(at + kHeaderSize) +
                 " but the file has " + std::string(fileSize));
        checkLabels(at, kSubGridLabels, "the header of " + which);

        Ntv2SubGrid sub;
        sub.Name = file.Text(at);
        sub.Parent = file.Text(at + 16);
        sub.Created = file.Text(at + 32);
        sub.Updated = file.Text(at + 48);
        sub.SouthLat = file.Real(at + 64);
        sub.NorthLat = file.Real(at + 80);
        sub.EastLong = file.Real(at + 96);
        sub.WestLong = file.Real(at + 112);
        sub.LatInc = file.Real(at + 128);
        sub.LongInc = file.Real(at + 144);
        const std::int32_t gsCount = file.Integer(at + 160);
        const std::string named = which + " (" + sub.Name + ")";

        if (byName.count(sub.Name)) fail(named + " has the name of an earlier sub-grid");
        // A parent comes before its children, as PROJ reads it; one it has not met is none.
        if (sub.Parent == "NONE") {
            sub.ParentIndex = -1;
        } else if (const auto parent = byName.find(sub.Parent); parent != byName.end()) {
            sub.ParentIndex = parent->second;
        } else {
            fail(named + " names the parent \"" + sub.Parent + "\", which no earlier sub-grid is");
        }

        const double lats[] = {sub.SouthLat, sub.NorthLat}, lons[] = {sub.EastLong, sub.WestLong};
        for (double lat : lats)
            if (!(std::fabs(lat) <= 90 * kSecondsPerDegree))
                fail(named + " has a latitude limit of " + Figure(lat) + "\"");
        for (double lon : lons)
            if (!(std::fabs(lon) <= 360 * kSecondsPerDegree))
                fail(named + " has a longitude limit of " + Figure(lon) + "\"");
        if (!(sub.SouthLat < sub.NorthLat))
            fail(named + " has S_LAT " + Figure(sub.SouthLat) + "\" not south of N_LAT " +
                 Figure(sub.NorthLat) + "\"");
        if (!(sub.EastLong < sub.WestLong))
            fail(named + " has E_LONG " + Figure(sub.EastLong) + "\" not east of W_LONG " +
                 Figure(sub.WestLong) + "\" (longitudes positive west)");
        if (!(sub.LatInc > 0 && std::isfinite(sub.LatInc)))
            fail(named + " has LAT_INC " + Figure(sub.LatInc) + "\"");
        if (!(sub.LongInc > 0 && std::isfinite(sub.LongInc)))
            fail(named + " has LONG_INC " + Figure(sub.LongInc) + "\"");
        const auto rows = NodesAlong(sub.SouthLat, sub.NorthLat, sub.LatInc);
        const auto columns = NodesAlong(sub.EastLong, sub.WestLong, sub.LongInc);
        if (!rows)
            fail(named + " spans latitudes " + Figure(sub.SouthLat) + "\" to " +
                 Figure(sub.NorthLat) + "\", which LAT_INC " + Figure(sub.LatInc) +
                 "\" does not divide into 1 to " + std::to_string(kMostCells) + " cells");
        if (!columns)
            fail(named + " spans longitudes " + Figure(sub.EastLong) + "\" to " +
                 Figure(sub.WestLong) + "\", which LONG_INC " + Figure(sub.LongInc) +
                 "\" does not divide into 1 to " + std::to_string(kMostCells) + " cells");
        sub.Rows = *rows;
        sub.Columns = *columns;
        const std::uint64_t nodes = static_cast<std::uint64_t>(sub.Rows) * sub.Columns;
        if (gsCount < 0 || static_cast<std::uint64_t>(gsCount) != nodes)
            fail(named + " has GS_COUNT " + std::to_string(gsCount) + " but its extents make " +
                 std::to_string(sub.Rows) + " x " + std::to_string(sub.Columns) + " = " +
                 std::to_string(nodes) + " nodes");

        at += kHeaderSize;
        // nodes < 2^31 and the size is 64 bits: no product below overflows.
        const std::uint64_t dataSize = nodes * kNodeSize;
        if (bytes.size() - at < dataSize)
            fail(std::string(which) + " ends at byte " + std::to_string(at + dataSize) +
                 " but the file has " + std::string(fileSize));

        Lattice lattice;
        lattice.south = sub.SouthLat;
        lattice.north = sub.NorthLat;
        lattice.west = -static_cast<long double>(sub.WestLong);
        lattice.east = -static_cast<long double>(sub.EastLong);
        lattice.latInc = sub.LatInc;
        lattice.lonInc = sub.LongInc;
        lattice.epsilon = (lattice.lonInc + lattice.latInc) * kEdgeTolerance;
        lattice.rows = sub.Rows;
        lattice.columns = sub.Columns;
        lattice.first = shifts_.size() / 2;
        shifts_.resize(shifts_.size() + 2 * nodes);
        // The file runs each row from the east; the lattice from the west.
        for (std::int32_t row = 0; row < sub.Rows; ++row) {
            for (std::int32_t column = 0; column < sub.Columns; ++column) {
                const std::size_t record =
                    at + (static_cast<std::size_t>(row) * sub.Columns + column) * kNodeSize;
                const float latShift = file.Float(record);
                const float lonShiftWest = file.Float(record + 4);
                if (!(std::fabs(latShift) < kLargestShift &&
                      std::fabs(lonShiftWest) < kLargestShift))
                    fail(named + " has a shift of " + Figure(latShift) + "\", " +
                         Figure(lonShiftWest) + "\" at byte " + std::to_string(record));
                const std::size_t node = lattice.first +
                                         static_cast<std::size_t>(row) * sub.Columns +
                                         (sub.Columns - 1 - column);
                shifts_[2 * node] = latShift;
                shifts_[2 * node + 1] = -lonShiftWest;
            }
        }
        at += dataSize;

        if (sub.ParentIndex < 0)
            topLevel_.push_back(g);
        else
            lattices_[sub.ParentIndex].children.push_back(g);
        byName.emplace(sub.Name, g);
        subGrids_.push_back(std::move(sub));
        lattices_.push_back(std::move(lattice));
    }

    if (bytes.size() - at < kRecordSize)
        fail("the END record ends at byte " + std::to_string(at + kRecordSize) +
             " but the file has " + fileSize);
    if (const std::string label = file.Label(at); label != "END")
        fail("\"" + label + "\" where the END record belongs (byte " + std::to_string(at) + ")");
}

// PROJ's isPointInExtent with its tolerance, and a sub-grid's children searched in file order
// before the sub-grid itself serves (HorizontalShiftGrid::gridAt).
int Ntv2Grid::Find(long double latSeconds, long double lonSeconds) const
{
    const auto holds = [&](const Lattice& l) {
        const long double eps = l.epsilon;
        if (!(latSeconds + eps >= l.south && latSeconds - eps <= l.north)) return false;
        // A lattice all round the world holds every longitude (PROJ: 1e-10 radian of slack).
        if (l.east - l.west + l.lonInc >= kSecondsPerTurn - 1e-10L * kSecondsPerRadian) return true;
        long double x = lonSeconds;
        if (x + eps < l.west)
            x += kSecondsPerTurn;
        else if (x - eps > l.east)
            x -= kSecondsPerTurn;
        return x + eps >= l.west && x - eps <= l.east;
    };
    for (int top : topLevel_) {
        if (!holds(lattices_[top])) continue;
        int found = top;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (int child : lattices_[found].children) {
                if (holds(lattices_[child])) {
                    found = child;
                    deeper = true;
                    break;
                }
            }
        }
        return found;
    }
    return -1;
}

// The point relative to a lattice's south-west node, a turn added or taken away when that
// brings it over the lattice (pj_hgrid_apply_internal).
Ntv2Grid::Offsets Ntv2Grid::FromCorner(const Lattice& l, long double latSeconds,
                                       long double lonSeconds) const
{
    Offsets o{lonSeconds - l.west, latSeconds - l.south};
    if (o.x + l.epsilon < 0)
        o.x += kSecondsPerTurn;
    else if (o.x - l.epsilon > l.east - l.west)
        o.x -= kSecondsPerTurn;
    return o;
}

// Bilinear interpolation of the node shifts (pj_hgrid_interpolate): a point up to ten times the
// edge tolerance of a cell beyond the last node takes the edge's value. The result is the shift
// in arc-seconds, east and north positive; nothing off the lattice.
std::optional<Ntv2Grid::Offsets> Ntv2Grid::Interpolate(const Lattice& l, Offsets at) const
{
    const long double x = at.x / l.lonInc, y = at.y / l.latInc;
    // Out of reach before any index is formed, so that a far point makes no huge integer.
    if (!(x >= -1 && x < l.columns && y >= -1 && y < l.rows)) return std::nullopt;
    long double fx, fy;
    std::int32_t column = WholeCells(x, fx), row = WholeCells(y, fy);
    constexpr long double kNodeSlack = 10 * kEdgeTolerance;
    if (!OntoLattice(column, fx, l.columns, kNodeSlack) ||
        !OntoLattice(row, fy, l.rows, kNodeSlack))
        return std::nullopt;
    const float* south =
        &shifts_[2 * (l.first + static_cast<std::size_t>(row) * l.columns + column)];
    const float* north = south + 2 * static_cast<std::size_t>(l.columns);
    const long double m00 = (1 - fx) * (1 - fy), m10 = fx * (1 - fy);
    const long double m01 = (1 - fx) * fy, m11 = fx * fy;
    return Offsets{m00 * south[1] + m10 * south[3] + m01 * north[1] + m11 * north[3],
                   m00 * south[0] + m10 * south[2] + m01 * north[0] + m11 * north[2]};
}

namespace {

// PROJ's check of its input: no NaN or infinity, no latitude beyond a pole; the longitude
// reduced to [-180, 180] as adjlon does, a point within 1e-12 radian beyond 180 left alone.
std::optional<GridPoint> Seconds(long double lat, long double lon)
{
    if (!(std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90)) return std::nullopt;
    long double x = lon * kSecondsPerDegree;
    if (std::fabs(x) >= kSecondsPerTurn / 2 + 1e-12L * kSecondsPerRadian) {
        x += kSecondsPerTurn / 2;
        x -= kSecondsPerTurn * std::floor(x / kSecondsPerTurn);
        x -= kSecondsPerTurn / 2;
    }
    return GridPoint{lat * kSecondsPerDegree, x};
}

}  // namespace

std::optional<int> Ntv2Grid::SubGridAt(long double lat, long double lon) const
{
    const auto p = Seconds(lat, lon);
    if (!p) return std::nullopt;
    const int found = Find(p->Lat, p->Lon);
    if (found < 0) return std::nullopt;
    return found;
}

std::optional<Ntv2Grid::ShiftedSeconds> Ntv2Grid::ShiftInSeconds(long double lat,
                                                                 long double lon) const
{
    const auto p = Seconds(lat, lon);
    if (!p) return std::nullopt;
    const int found = Find(p->Lat, p->Lon);
    if (found < 0) return std::nullopt;
    const Lattice& l = lattices_[found];
    const auto shift = Interpolate(l, FromCorner(l, p->Lat, p->Lon));
    if (!shift) return std::nullopt;
    return ShiftedSeconds{*p, *shift};
}

std::optional<GridPoint> Ntv2Grid::ShiftAt(long double lat, long double lon) const
{
    const auto s = ShiftInSeconds(lat, lon);
    if (!s) return std::nullopt;
    return GridPoint{s->shift.y / kSecondsPerDegree, s->shift.x / kSecondsPerDegree};
}

std::optional<GridPoint> Ntv2Grid::Forward(long double lat, long double lon) const
{
    const auto s = ShiftInSeconds(lat, lon);
    if (!s) return std::nullopt;
    return GridPoint{(s->at.Lat + s->shift.y) / kSecondsPerDegree,
                     (s->at.Lon + s->shift.x) / kSecondsPerDegree};
}

// PROJ's inverse (pj_hgrid_apply_internal): start from the target less the shift at the
// target, then correct by the difference between the shifted estimate and the target, in the
// sub-grid that held the target; when an estimate leaves that sub-grid, move to the one that
// holds the estimate, or stop at the last estimate when none other does. One departure from
// PROJ, below, where its iteration stops short.
std::optional<GridPoint> Ntv2Grid::Inverse(long double lat, long double lon) const
{
    const auto p = Seconds(lat, lon);
    if (!p) return std::nullopt;
    int found = Find(p->Lat, p->Lon);
    if (found < 0) return std::nullopt;
    const Lattice* l = &lattices_[found];
    Offsets target = FromCorner(*l, p->Lat, p->Lon);
    const auto first = Interpolate(*l, target);
    if (!first) return std::nullopt;

    Offsets t{target.x - first->x, target.y - first->y};
    int left = kInverseIterations;
    long double moved2 = 0;
    do {
        const auto shift = Interpolate(*l, t);
        if (!shift) {
            const long double estimateLat = t.y + l->south, estimateLon = t.x + l->west;
            const int next = Find(estimateLat, estimateLon);
            if (next < 0 || next == found) break;
            found = next;
            l = &lattices_[found];
            t = Offsets{estimateLon - l->west, estimateLat - l->south};
            // The target on the turn nearest the estimate. PROJ wraps it by the first
            // sub-grid's tolerance instead, so that a target just beyond the new sub-grid's
            // edge lands a turn away and PROJ stops after one more step, short of the point
            // whose shift reaches the target (by up to 2.8e-8 degree, 3 mm, in the tests'
            // nested file); this iteration converges.
            target = Offsets{p->Lon - l->west, p->Lat - l->south};
            target.x -= kSecondsPerTurn * std::round((target.x - t.x) / kSecondsPerTurn);
            moved2 = std::numeric_limits<long double>::infinity();
            continue;
        }
        const Offsets step{t.x + shift->x - target.x, t.y + shift->y - target.y};
        t.x -= step.x;
        t.y -= step.y;
        moved2 = step.x * step.x + step.y * step.y;
    } while (--left && moved2 > kInverseTolerance * kInverseTolerance);
    if (left == 0) return std::nullopt;

    long double x = t.x + l->west;
    if (std::fabs(x) >= kSecondsPerTurn / 2 + 1e-12L * kSecondsPerRadian) {
        x += kSecondsPerTurn / 2;
        x -= kSecondsPerTurn * std::floor(x / kSecondsPerTurn);
        x -= kSecondsPerTurn / 2;
    }
    return GridPoint{(t.y + l->south) / kSecondsPerDegree, x / kSecondsPerDegree};
}
