// Ntv2Grid against PROJ's hgridshift on the same file: forward and inverse, at points inside
// each sub-grid, on and just beyond its edges and corners (within and past the edge tolerance),
// where sub-grids nest or touch, and far outside. Where PROJ gives a point the grid must give
// the same point to 1e-8 degree (about a millimetre); where PROJ gives none, neither may the
// grid. The real files are the NTv2 grids of Debian's proj-data; files made here, in both byte
// orders, hold the nesting that none of those has.
#include "core/Ntv2Grid.h"
#include "tests/core/ntv2_file.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr long double kTolerance = 1e-8L;  // degrees
constexpr double kDegree = M_PI / 180;

class ProjShift {
public:
    explicit ProjShift(const std::string& path)
        : ctx_(proj_context_create()),
          op_(proj_create(ctx_, ("+proj=hgridshift +grids=" + path).c_str()))
    {
    }
    ~ProjShift()
    {
        proj_destroy(op_);
        proj_context_destroy(ctx_);
    }
    ProjShift(const ProjShift&) = delete;
    ProjShift& operator=(const ProjShift&) = delete;

    bool Ready() const { return op_ != nullptr; }
    std::optional<GridPoint> Apply(PJ_DIRECTION direction, long double lat, long double lon) const
    {
        proj_errno_reset(op_);
        const PJ_COORD out = proj_trans(op_, direction,
                                        proj_coord(static_cast<double>(lon) * kDegree,
                                                   static_cast<double>(lat) * kDegree, 0, 0));
        if (proj_errno(op_) != 0 || out.lp.lam == HUGE_VAL || out.lp.phi == HUGE_VAL)
            return std::nullopt;
        return GridPoint{out.lp.phi / kDegree, out.lp.lam / kDegree};
    }

private:
    PJ_CONTEXT* ctx_;
    PJ* op_;
};

// The test points of a grid, from the headers it read: each sub-grid's inside, at and across its
// edges and corners by a third of the edge tolerance (still inside) and by three times it
// (outside), a cell and a half beyond, then scattered points over the whole area and a margin.
std::vector<GridPoint> PointsOf(const Ntv2Grid& grid)
{
    std::vector<GridPoint> points;
    long double south = 90, north = -90, west = 180, east = -180;
    for (const Ntv2SubGrid& s : grid.SubGrids()) {
        const long double S = s.SouthLat / 3600.0L, N = s.NorthLat / 3600.0L;
        const long double W = -s.WestLong / 3600.0L, E = -s.EastLong / 3600.0L;
        const long double dLat = s.LatInc / 3600.0L, dLon = s.LongInc / 3600.0L;
        const long double eps = (dLat + dLon) * 1e-5L;
        south = std::min(south, S), north = std::max(north, N);
        west = std::min(west, W), east = std::max(east, E);
        for (long double f : {0.013L, 0.27L, 0.5L, 0.731L, 0.987L})
            for (long double g : {0.021L, 0.36L, 0.5L, 0.88L, 0.993L})
                points.push_back({S + f * (N - S), W + g * (E - W)});
        points.push_back({S + dLat, W + dLon});  // on a node
        for (long double off : {0.0L, eps / 3, -eps / 3, 3 * eps, -3 * eps, 1.5L * dLat}) {
            const long double lonOff = off == 1.5L * dLat ? 1.5L * dLon : off;
            const long double alongLat = S + 0.37L * (N - S), alongLon = W + 0.37L * (E - W);
            points.push_back({S - off, alongLon});
            points.push_back({N + off, alongLon});
            points.push_back({alongLat, W - lonOff});
            points.push_back({alongLat, E + lonOff});
            for (long double lat : {S - off, N + off})
                for (long double lon : {W - lonOff, E + lonOff}) points.push_back({lat, lon});
        }
    }
    const long double marginLat = 0.02L * (north - south), marginLon = 0.02L * (east - west);
    std::uint64_t state = 12345;
    const auto uniform = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<long double>(state >> 11) / 9007199254740992.0L;
    };
    for (int i = 0; i < 1500; ++i)
        points.push_back({south - marginLat + uniform() * (north - south + 2 * marginLat),
                          west - marginLon + uniform() * (east - west + 2 * marginLon)});
    points.push_back({0, 0});
    points.push_back({-45, 100});
    points.push_back({89.5L, -179});
    return points;
}

struct Agreement {
    long double largest = 0;  // degrees
    GridPoint where{0, 0};
    int inside = 0, outside = 0;
    int projShort = 0;  // inverses where PROJ stopped short and the grid converged
    long double projShortLargest = 0;
};

// How far the forward image of an inverse may lie from the target: the iteration's tolerance of
// 1e-12 radian, with room for the rounding of the last step.
constexpr long double kRoundTrip = 1e-10L;  // degrees

long double Apart(const GridPoint& a, const GridPoint& b)
{
    return std::max(std::fabs(a.Lat - b.Lat), std::fabs(a.Lon - b.Lon));
}

void Compare(const char* what, const std::optional<GridPoint>& ours,
             const std::optional<GridPoint>& proj, const GridPoint& at, Agreement& a)
{
    ASSERT_EQ(ours.has_value(), proj.has_value())
        << what << " at " << static_cast<double>(at.Lat) << ", " << static_cast<double>(at.Lon);
    if (!ours) {
        ++a.outside;
        return;
    }
    ++a.inside;
    const long double d = Apart(*ours, *proj);
    EXPECT_LE(d, kTolerance) << what << " at " << static_cast<double>(at.Lat) << ", "
                             << static_cast<double>(at.Lon);
    if (d > a.largest) a.largest = d, a.where = at;
}

// Forward at every point; inverse at every point and at every forward result.
Agreement AgreeWithProj(const Ntv2Grid& grid, const std::string& path)
{
    const ProjShift proj(path);
    EXPECT_TRUE(proj.Ready()) << path;
    Agreement a;
    if (!proj.Ready()) return a;
    for (const GridPoint& p : PointsOf(grid)) {
        const auto forward = grid.Forward(p.Lat, p.Lon);
        Compare("forward", forward, proj.Apply(PJ_FWD, p.Lat, p.Lon), p, a);
        const auto inverse = [&](const char* what, const GridPoint& target) {
            const auto ours = grid.Inverse(target.Lat, target.Lon);
            const auto theirs = proj.Apply(PJ_INV, target.Lat, target.Lon);
            // Where PROJ's inverse stops short across sub-grids (see Ntv2Grid::Inverse), the
            // grid's reaches the target instead of agreeing. (Where the shifts jump at a
            // sub-grid's edge, as in the nested file, no point may reach it: there both must
            // agree.)
            const auto back = theirs ? grid.Forward(theirs->Lat, theirs->Lon) : std::nullopt;
            const auto ourBack = ours ? grid.Forward(ours->Lat, ours->Lon) : std::nullopt;
            if (back && ourBack && Apart(*back, target) > kRoundTrip &&
                Apart(*ourBack, target) <= kRoundTrip) {
                ++a.projShort;
                a.projShortLargest = std::max(a.projShortLargest, Apart(*ours, *theirs));
                return;
            }
            Compare(what, ours, theirs, target, a);
        };
        inverse("inverse", p);
        if (forward) inverse("inverse of forward", *forward);
        if (::testing::Test::HasFatalFailure()) break;
    }
    std::printf(
        "%-22s %5d points with a shift, %4d without; largest difference %.3Le degree "
        "(%.4Lf mm) at %.9Lf, %.9Lf\n",
        grid.Name().c_str(), a.inside, a.outside, a.largest, a.largest * 111320e3L, a.where.Lat,
        a.where.Lon);
    if (a.projShort > 0)
        std::printf("%-22s %5d inverses where PROJ stops short, by up to %.3Le degree\n",
                    grid.Name().c_str(), a.projShort, a.projShortLargest);
    return a;
}

class Ntv2RealGrid : public ::testing::TestWithParam<const char*> {};

TEST_P(Ntv2RealGrid, AgreesWithProjForwardAndInverse)
{
    const std::string path = std::string(ntv2_file::kProjData) + GetParam();
    const auto bytes = ntv2_file::ReadFile(path);
    if (!bytes) GTEST_SKIP() << path << " is missing: install Debian's proj-data";
    const Ntv2Grid grid(*bytes, GetParam());
    const Agreement a = AgreeWithProj(grid, path);
    EXPECT_GT(a.inside, 1500);
    EXPECT_GT(a.outside, 50);
}

INSTANTIATE_TEST_SUITE_P(ProjData, Ntv2RealGrid,
                         ::testing::Values("BETA2007.gsb", "ntf_r93.gsb", "nzgd2kgrid0005.gsb",
                                           "CHENYX06.gsb"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// Nested and touching sub-grids, which no file of proj-data has: the finest wins, file order
// breaks ties on shared edges, and the inverse moves between sub-grids as PROJ's does.
TEST(Ntv2NestedGrid, AgreesWithProjInBothByteOrders)
{
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        const std::string bytes = ntv2_file::Make(ntv2_file::Nested(), bigEndian);
        const auto path =
            std::filesystem::temp_directory_path() /
            ("zelvora-nested-" + std::to_string(::getpid()) + (bigEndian ? "-be.gsb" : "-le.gsb"));
        std::ofstream(path, std::ios::binary) << bytes;
        const Ntv2Grid grid(bytes, path.filename().string());
        ASSERT_EQ(grid.BigEndian(), bigEndian);
        const Agreement a = AgreeWithProj(grid, path.string());
        std::filesystem::remove(path);
        EXPECT_GT(a.inside, 2000);
        EXPECT_GT(a.outside, 50);
    }
}

}  // namespace
