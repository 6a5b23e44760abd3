// Ntv2Grid on files made here (both byte orders) and on a real one: what the headers say, which
// sub-grid serves a point, the shift at nodes and cell centres with the file's west-positive
// longitudes turned east-positive, and every kind of damaged file refused with a message that
// names the file and the fault, never read past its end.
#include "core/Ntv2Grid.h"
#include "tests/core/ntv2_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ntv2_file::SubGrid;

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

class Ntv2ByteOrder : public ::testing::TestWithParam<bool> {
protected:
    const std::string bytes_ = ntv2_file::Make(ntv2_file::Nested(), GetParam());
    const Ntv2Grid grid_{bytes_, "nested.gsb"};
};

INSTANTIATE_TEST_SUITE_P(Files, Ntv2ByteOrder, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Big" : "Little"; });

TEST_P(Ntv2ByteOrder, TheHeadersReadAsWritten)
{
    EXPECT_EQ(grid_.Name(), "nested.gsb");
    EXPECT_EQ(grid_.BigEndian(), GetParam());
    EXPECT_EQ(grid_.Version(), "NTv2.0");
    EXPECT_EQ(grid_.SystemFrom(), "TEST_F");
    EXPECT_EQ(grid_.SystemTo(), "TEST_T");
    EXPECT_EQ(grid_.MajorFrom(), 6378388.0);
    EXPECT_EQ(grid_.MinorFrom(), 6356911.946);
    EXPECT_EQ(grid_.MajorTo(), 6378137.0);
    EXPECT_EQ(grid_.MinorTo(), 6356752.314);
    const auto written = ntv2_file::Nested();
    const int parents[] = {-1, 0, 1, 0, -1};
    const std::int32_t rows[] = {13, 31, 26, 11, 7}, columns[] = {13, 21, 31, 13, 7};
    ASSERT_EQ(grid_.SubGrids().size(), written.size());
    for (std::size_t g = 0; g < written.size(); ++g) {
        const Ntv2SubGrid& s = grid_.SubGrids()[g];
        EXPECT_EQ(s.Name, written[g].name);
        EXPECT_EQ(s.Parent, written[g].parent);
        EXPECT_EQ(s.Created, "20240101");
        EXPECT_EQ(s.Updated, "20240102");
        EXPECT_EQ(s.SouthLat, written[g].south);
        EXPECT_EQ(s.NorthLat, written[g].north);
        EXPECT_EQ(s.EastLong, written[g].east);
        EXPECT_EQ(s.WestLong, written[g].west);
        EXPECT_EQ(s.LatInc, written[g].latInc);
        EXPECT_EQ(s.LongInc, written[g].lonInc);
        EXPECT_EQ(s.ParentIndex, parents[g]);
        EXPECT_EQ(s.Rows, rows[g]);
        EXPECT_EQ(s.Columns, columns[g]);
    }
}

// Sub-grids (east-positive degrees): 0 PARENT 47..48 N, 8..9.5 E; 1 CHILD 47 10'..47 40' N,
// 8.5..9 E; 2 GRAND 47 20'..47 30' N, 8.75..9 E; 3 CHILD2 47 40'..48 N, 8..8.5 E; 4 BESIDE
// 47..48 N, 7..8 E. The parent's edge tolerance is 750e-5 arc-second, 2.08e-6 degree.
struct Served {
    const char* why;
    long double lat, lon;
    int subGrid;  // -1: none
};

const Served kServed[] = {
    {"the parent alone", 47.05L, 9.3L, 0},
    {"a child in the parent", 47.3L, 8.6L, 1},
    {"a grandchild in the child", 47.4L, 8.9L, 2},
    {"the grandchild on the edge it shares with the child", 47.4L, 9, 2},
    {"the second child", 47.8L, 8.2L, 3},
    {"the second grid at the top", 47.5L, 7.5L, 4},
    {"the first grid at the top on the edge they share", 47.5L, 8, 0},
    {"the first child at the corner the children share", 171600 / 3600.0L, 8.5L, 1},
    {"within the tolerance beyond the parent's east edge", 47.5L, 9.5L + 1e-6L, 0},
    {"beyond the tolerance", 47.5L, 9.5L + 4e-6L, -1},
    {"north of every grid", 48.001L, 8.5L, -1},
    {"south of every grid", 46.99L, 8, -1},
    {"a longitude a turn east", 47.3L, 368.6L, 1},
    {"a longitude a turn west", 47.3L, -351.4L, 1},
    {"far away", -33, 151, -1},
    {"beyond the pole", 90.5L, 8.5L, -1},
    {"a NaN latitude", kNaN, 8.5L, -1},
    {"an infinite longitude", 47.3L, kInf, -1},
};

TEST_P(Ntv2ByteOrder, TheFinestSubGridServesAPoint)
{
    for (const Served& c : kServed) {
        SCOPED_TRACE(c.why);
        const auto served = grid_.SubGridAt(c.lat, c.lon);
        EXPECT_EQ(served.value_or(-1), c.subGrid);
        EXPECT_EQ(grid_.Forward(c.lat, c.lon).has_value(), c.subGrid >= 0);
        EXPECT_EQ(grid_.Inverse(c.lat, c.lon).has_value(), c.subGrid >= 0);
        EXPECT_EQ(grid_.ShiftAt(c.lat, c.lon).has_value(), c.subGrid >= 0);
    }
}

// The shift written at a node of a sub-grid, arc-seconds from its south-west corner, in degrees
// east-positive: the file's longitude shift is positive west.
GridPoint WrittenShift(int g, const SubGrid& s, long double north, long double east)
{
    float lat, lonWest;
    ntv2_file::FieldAt(g, static_cast<double>(s.south + north), static_cast<double>(s.west - east),
                       lat, lonWest);
    return {lat / 3600.0L, -lonWest / 3600.0L};
}

struct Node {
    const char* why;
    int subGrid, row, column;  // row from the south, column from the west
};

const Node kNodes[] = {
    {"inside the parent", 0, 2, 2},
    {"the child", 1, 5, 3},
    {"the grandchild, last column but one", 2, 10, 29},
    {"the second child's east edge", 3, 3, 12},
    {"the second grid's north edge", 4, 6, 5},
    {"the second grid's south-west corner", 4, 0, 0},
};

TEST_P(Ntv2ByteOrder, NodesGiveTheirShiftAndCellCentresTheMeanOfFour)
{
    const auto written = ntv2_file::Nested();
    for (const Node& n : kNodes) {
        SCOPED_TRACE(n.why);
        const SubGrid& s = written[n.subGrid];
        const long double north = n.row * s.latInc, east = n.column * s.lonInc;
        const long double lat = (s.south + north) / 3600, lon = (-s.west + east) / 3600;
        ASSERT_EQ(grid_.SubGridAt(lat, lon).value_or(-1), n.subGrid);
        const GridPoint expected = WrittenShift(n.subGrid, s, north, east);
        const auto shift = grid_.ShiftAt(lat, lon);
        ASSERT_TRUE(shift);
        EXPECT_NEAR(shift->Lat, expected.Lat, 1e-14L);
        EXPECT_NEAR(shift->Lon, expected.Lon, 1e-14L);
        const auto forward = grid_.Forward(lat, lon);
        ASSERT_TRUE(forward);
        EXPECT_NEAR(forward->Lat, lat + expected.Lat, 1e-13L);
        EXPECT_NEAR(forward->Lon, lon + expected.Lon, 1e-13L);

        // The centre of the cell north-east of the node (south-west of it on the last row or
        // column) is the mean of the cell's four nodes.
        const long double dn = n.row + 1 < grid_.SubGrids()[n.subGrid].Rows ? 1 : -1;
        const long double de = n.column + 1 < grid_.SubGrids()[n.subGrid].Columns ? 1 : -1;
        GridPoint mean{0, 0};
        for (long double i : {0.0L, dn})
            for (long double j : {0.0L, de}) {
                const GridPoint corner =
                    WrittenShift(n.subGrid, s, north + i * s.latInc, east + j * s.lonInc);
                mean.Lat += corner.Lat / 4, mean.Lon += corner.Lon / 4;
            }
        const auto centre = grid_.ShiftAt(lat + dn * s.latInc / 7200, lon + de * s.lonInc / 7200);
        ASSERT_TRUE(centre);
        EXPECT_NEAR(centre->Lat, mean.Lat, 1e-14L);
        EXPECT_NEAR(centre->Lon, mean.Lon, 1e-14L);
    }
}

TEST_P(Ntv2ByteOrder, TheInverseUndoesTheForwardInsideASubGrid)
{
    // Away from the edges: the shifts of the file made here jump from a sub-grid to the next,
    // so that near an edge the shifted point may lie where another sub-grid serves.
    for (const Served& c : kServed) {
        if (c.subGrid < 0 || std::string(c.why).find("edge") != std::string::npos ||
            std::string(c.why).find("corner") != std::string::npos)
            continue;
        SCOPED_TRACE(c.why);
        const auto forward = grid_.Forward(c.lat, c.lon);
        ASSERT_TRUE(forward);
        const auto back = grid_.Inverse(forward->Lat, forward->Lon);
        ASSERT_TRUE(back);
        // 1e-12 radian, the iteration's tolerance, is 5.7e-11 degree.
        EXPECT_NEAR(back->Lat, c.lat, 6e-11L);
        EXPECT_NEAR(std::remainder(back->Lon - c.lon, 360.0L), 0, 6e-11L);
    }
}

// ---------------------------------------------------------------------------------------------
// Damaged files.

// Where the records of a file lie, from the headers of its undamaged form.
struct Layout {
    bool bigEndian;
    std::vector<std::size_t> headers;  // offset of each sub-grid's header
    std::vector<std::size_t> data;     // offset of each sub-grid's first node
    std::size_t end;                   // offset of the END record
};

Layout LayoutOf(const Ntv2Grid& grid)
{
    Layout l{grid.BigEndian(), {}, {}, 0};
    std::size_t at = 176;
    for (const Ntv2SubGrid& s : grid.SubGrids()) {
        l.headers.push_back(at);
        l.data.push_back(at + 176);
        at += 176 + 16 * static_cast<std::size_t>(s.Rows) * s.Columns;
    }
    l.end = at;
    return l;
}

// The writer's bytes of one value in place of those in the file.
void Put(std::string& bytes, std::size_t at, const std::string& value)
{
    bytes.replace(at, value.size(), value);
}

std::string Integer(std::int32_t v, bool big)
{
    ntv2_file::Writer w(big);
    w.Integer(v);
    return w.Bytes().substr(0, 4);
}
std::string Real(double v, bool big)
{
    ntv2_file::Writer w(big);
    w.Real(v);
    return w.Bytes();
}
std::string Float(float v, bool big)
{
    ntv2_file::Writer w(big);
    w.Float(v);
    return w.Bytes();
}
std::string Text(const std::string& v)
{
    ntv2_file::Writer w(false);
    w.Text(v);
    return w.Bytes();
}

// One kind of damage: where in the file (from its layout) and what goes there, or nothing when
// the file has no such place; and the words the message must hold.
struct Damage {
    const char* why;
    std::function<std::optional<std::string>(std::string, const Layout&)> damage;
    const char* message;
};

// The last sub-grid's header record r, value field.
std::size_t LastField(const Layout& l, int r) { return l.headers.back() + 16 * r + 8; }

const Damage kDamages[] = {
    {"NUM_OREC is 12",
     [](std::string b, const Layout& l) { return Put(b, 8, Integer(12, l.bigEndian)), b; },
     "NUM_OREC is neither 11 little-endian nor 11 big-endian"},
    {"NUM_SREC is 10",
     [](std::string b, const Layout& l) { return Put(b, 24, Integer(10, l.bigEndian)), b; },
     "NUM_SREC is 10, not 11"},
    {"NUM_FILE is 0",
     [](std::string b, const Layout& l) { return Put(b, 40, Integer(0, l.bigEndian)), b; },
     "NUM_FILE is 0: no sub-grid"},
    {"NUM_FILE is a million",
     [](std::string b, const Layout& l) { return Put(b, 40, Integer(1000000, l.bigEndian)), b; },
     "NUM_FILE is 1000000 but the file has room for"},
    {"NUM_FILE is negative",
     [](std::string b, const Layout& l) { return Put(b, 40, Integer(-3, l.bigEndian)), b; },
     "NUM_FILE is -3"},
    {"NUM_FILE counts one sub-grid too many",
     [](std::string b, const Layout& l) {
         const auto n = static_cast<std::int32_t>(l.headers.size()) + 1;
         return Put(b, 40, Integer(n, l.bigEndian)), b;
     },
     "ends at byte"},
    {"GS_TYPE is MINUTES",
     [](std::string b, const Layout&) { return Put(b, 56, Text("MINUTES")), b; },
     "GS_TYPE is \"MINUTES\"; only SECONDS is supported"},
    {"MINOR_T is NaN",
     [](std::string b, const Layout& l) { return Put(b, 168, Real(NAN, l.bigEndian)), b; },
     "the ellipsoid of SYSTEM_T has axes"},
    {"a label is wrong",
     [](std::string b, const Layout& l) { return Put(b, l.headers.back(), Text("XUB_NAME")), b; },
     "has \"XUB_NAME\" where SUB_NAME belongs"},
    {"the parent does not exist",
     [](std::string b, const Layout& l) { return Put(b, LastField(l, 1), Text("NOSUCH")), b; },
     "names the parent \"NOSUCH\", which no earlier sub-grid is"},
    {"a second sub-grid has the first one's name",
     [](std::string b, const Layout& l) -> std::optional<std::string> {
         if (l.headers.size() < 2) return std::nullopt;
         return Put(b, LastField(l, 0), b.substr(l.headers[0] + 8, 8)), b;
     },
     "has the name of an earlier sub-grid"},
    {"GS_COUNT is one more than the extents make",
     [](std::string b, const Layout& l) {
         const std::size_t nodes = (l.end - l.data.back()) / 16;
         return Put(b, LastField(l, 10),
                    Integer(static_cast<std::int32_t>(nodes + 1), l.bigEndian)),
                b;
     },
     "GS_COUNT"},
    {"GS_COUNT is negative",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 10), Integer(-1, l.bigEndian)), b;
     },
     "has GS_COUNT -1 but its extents make"},
    {"LAT_INC is zero",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 8), Real(0, l.bigEndian)), b;
     },
     "has LAT_INC 0\""},
    {"LONG_INC is NaN",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 9), Real(NAN, l.bigEndian)), b;
     },
     "has LONG_INC nan\""},
    {"LONG_INC is negative",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 9), Real(-30, l.bigEndian)), b;
     },
     "has LONG_INC -30\""},
    {"LAT_INC does not divide the extent",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 8), Real(7.1, l.bigEndian)), b;
     },
     "which LAT_INC 7.1\" does not divide into 1 to 2147483645 cells"},
    {"LAT_INC is tiny: a count beyond any file",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 8), Real(1e-300, l.bigEndian)), b;
     },
     "which LAT_INC 1e-300\" does not divide into 1 to 2147483645 cells"},
    {"S_LAT equals N_LAT",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 4), b.substr(LastField(l, 5), 8)), b;
     },
     "not south of N_LAT"},
    {"W_LONG lies east of E_LONG",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 7), Real(-700000, l.bigEndian)), b;
     },
     "not east of W_LONG"},
    {"W_LONG is infinite",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 7), Real(INFINITY, l.bigEndian)), b;
     },
     "has a longitude limit of inf\""},
    {"N_LAT is beyond the pole",
     [](std::string b, const Layout& l) {
         return Put(b, LastField(l, 5), Real(400000, l.bigEndian)), b;
     },
     "has a latitude limit of 400000\""},
    {"a node's latitude shift is NaN",
     [](std::string b, const Layout& l) {
         return Put(b, l.data.back() + 16, Float(NAN, l.bigEndian)), b;
     },
     "has a shift of nan\""},
    {"a node's longitude shift is infinite",
     [](std::string b, const Layout& l) {
         return Put(b, l.data.back() + 20, Float(INFINITY, l.bigEndian)), b;
     },
     "has a shift of"},
    {"the END record is not one",
     [](std::string b, const Layout& l) { return Put(b, l.end, Text("ENDE")), b; },
     "\"ENDE\" where the END record belongs"},
};

// The nested file in both byte orders, and a real one when proj-data is installed.
std::vector<std::pair<std::string, std::string>> Files()
{
    std::vector<std::pair<std::string, std::string>> files{
        {"nested-le.gsb", ntv2_file::Make(ntv2_file::Nested(), false)},
        {"nested-be.gsb", ntv2_file::Make(ntv2_file::Nested(), true)},
    };
    if (auto real = ntv2_file::ReadFile(std::string(ntv2_file::kProjData) + "BETA2007.gsb"))
        files.emplace_back("BETA2007.gsb", std::move(*real));
    return files;
}

void ExpectRefused(const std::string& bytes, const std::string& name, const std::string& words)
{
    try {
        const Ntv2Grid grid(bytes, name);
        ADD_FAILURE() << "read without complaint";
    } catch (const GridFileError& e) {
        const std::string what = e.what();
        EXPECT_EQ(what.rfind(name + ": ", 0), 0u) << what;
        EXPECT_NE(what.find(words), std::string::npos) << what;
    }
}

TEST(Ntv2DamagedFile, EachFaultIsRefusedWithItsReason)
{
    for (const auto& [name, bytes] : Files()) {
        const Layout layout = LayoutOf(Ntv2Grid(bytes, name));
        for (const Damage& d : kDamages) {
            SCOPED_TRACE(name + ": " + d.why);
            const auto damaged = d.damage(bytes, layout);
            if (!damaged) continue;
            ASSERT_EQ(damaged->size(), bytes.size());
            ExpectRefused(*damaged, name, d.message);
        }
    }
}

// Cut at every record of every header, either side of every boundary, inside the nodes and at
// scattered lengths: each cut is refused, by where the file ends.
TEST(Ntv2DamagedFile, EveryTruncationIsRefused)
{
    for (const auto& [name, bytes] : Files()) {
        const Layout layout = LayoutOf(Ntv2Grid(bytes, name));
        std::set<std::size_t> cuts{0, 1, 7, 8, 12, bytes.size() - 1, layout.end + 8};
        for (std::size_t r = 0; r <= 11; ++r) cuts.insert(16 * r);
        for (std::size_t header : layout.headers)
            for (std::size_t r = 0; r <= 11; ++r)
                for (std::size_t at : {header + 16 * r - 1, header + 16 * r, header + 16 * r + 1})
                    cuts.insert(at);
        for (std::size_t data : layout.data) cuts.insert(data + 4), cuts.insert(data + 17);
        for (std::size_t i = 1; i < 64; ++i) cuts.insert(bytes.size() * i / 64);
        for (std::size_t cut : cuts) {
            SCOPED_TRACE(name + " cut to " + std::to_string(cut) + " bytes");
            ASSERT_LT(cut, bytes.size());
            // A copy of exactly the cut length, so that the sanitizer sees any read beyond it.
            const std::string cutBytes = bytes.substr(0, cut);
            ExpectRefused(cutBytes, name,
                          cut < 176 ? "the overview header ends at byte 176 but the file has " +
                                          std::to_string(cut)
                                    : std::string("but the file has "));
        }
    }
}

TEST(Ntv2DamagedFile, ATruncatedSubGridSaysWhereItEnds)
{
    const std::string bytes = ntv2_file::Make(ntv2_file::Nested());
    const Layout layout = LayoutOf(Ntv2Grid(bytes, "nested.gsb"));
    const std::size_t cut = layout.data[1] + 100;
    const std::string expected = "nested.gsb: sub-grid 2 of 5 ends at byte " +
                                 std::to_string(layout.headers[2]) + " but the file has " +
                                 std::to_string(cut);
    try {
        const Ntv2Grid grid(bytes.substr(0, cut), "nested.gsb");
        ADD_FAILURE() << "read without complaint";
    } catch (const GridFileError& e) {
        EXPECT_EQ(e.what(), expected);
    }
}

}  // namespace
