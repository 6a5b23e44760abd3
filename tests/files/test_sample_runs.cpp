// Real drawings and point files run through the real transformation on a few window settings:
// the independent checker sees only coordinates, and the sizes and angles that follow the
// transformation, change; and PROJ, reading the drawings with an independent DXF reader, finds
// every number where it puts it by what the number is: positions, heights, elevations, and the
// vectors, sizes and angles turned and scaled by its own local similarity.
#include "transform/files/FileTransform.h"

#include "transform/text/CoordinateKinds.h"
#include "transform/text/NumberText.h"
#include "tests/files/files_support.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path samples = ZELVORA_SAMPLES;
const fs::path checkers = fs::path(ZELVORA_DXF_CHECK).parent_path();

const std::vector<TDatum> datums{
    TDatum("WGS 84", 6378137, 1 / 298.257223563L, 0, 0, 0),
    TDatum("SIRGAS 2000", 6378137, 1 / 298.257222101L, 0, 0, 0),
    TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L),
};
constexpr int kSirgas = 1, kSad69 = 2;

const char* const sad69Utm23South =
    "+proj=utm +zone=23 +south +a=6378160 +rf=298.25 +towgs84=-66.87,4.37,-38.52 +units=m";

// A window set up on UTM zone 23 south on a datum, to a target kind and datum.
WindowState fromUtm23South(int sourceDatum, int targetKind, int targetDatum)
{
    WindowState state = startupState(NumberFormat{',', "."});
    state.ComboBox7 = CoordinateKind::Grid;
    state.ComboBox16 = GridFamily::Utm;
    state.ComboBox14 = 1;
    state.Edit13 = "-45";
    state.ComboBox9 = sourceDatum;
    state.ComboBox8 = targetKind;
    state.ComboBox17 = GridFamily::Utm;
    state.ComboBox10 = targetDatum;
    return state;
}

int run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

struct Setting {
    const char* name;
    WindowState state;
    const char* from;  // PROJ strings for the oracle, or nothing to skip it
    const char* to;
    const char* tolerance;  // across, in the target's units
};

std::vector<Setting> settings()
{
    WindowState zone22 = fromUtm23South(kSirgas, CoordinateKind::Grid, kSirgas);
    zone22.Edit20 = "-51";
    WindowState identity = startupState(NumberFormat{',', "."});
    identity.ComboBox7 = identity.ComboBox8 = CoordinateKind::Geodetic;
    identity.ComboBox9 = identity.ComboBox10 = kSirgas;
    WindowState keepingHeights = fromUtm23South(kSad69, CoordinateKind::Grid, kSirgas);
    keepingHeights.CheckBox1 = true;
    const char* const sirgasUtm23South = "+proj=utm +zone=23 +south +ellps=GRS80 +towgs84=0,0,0";
    return {
        {"Sad69Utm23ToSirgasGeodetic", fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas),
         sad69Utm23South, "+proj=longlat +ellps=GRS80 +towgs84=0,0,0", "1e-8"},
        {"Sad69ToSirgasInUtm", fromUtm23South(kSad69, CoordinateKind::Grid, kSirgas),
         sad69Utm23South, sirgasUtm23South, "1e-3"},
        {"Utm23ToUtm22", zone22, "+proj=utm +zone=23 +south +ellps=GRS80",
         "+proj=utm +zone=22 +south +ellps=GRS80", "2e-3"},
        {"IdentityGeodetic", identity, nullptr, nullptr, nullptr},
        {"Sad69ToSirgasInUtmKeepingHeights", keepingHeights, sad69Utm23South, sirgasUtm23South,
         "1e-3"},
    };
}

class SampleRun : public ::testing::TestWithParam<std::tuple<std::string, int>> {};

TEST_P(SampleRun, OnlyCoordinatesSizesAndAnglesChangeAndAllAgreeWithProj)
{
    const auto& [file, index] = GetParam();
    const Setting setting = settings()[static_cast<std::size_t>(index)];
    const fs::path source = samples / "dxf" / file;
    const TemporaryFolder folder;
    const fs::path out = folder / file;
    TGeo engine;
    const auto summary =
        ConverteDXF(source, out, setting.state, datums, engine, NumberFormat{',', "."});
    EXPECT_GT(summary.points, 0u);
    // Every position of these sites goes through: the placeholders, vectors and paper-space
    // values that no UTM zone holds are no positions. One sample's insertion base, (100, 200),
    // is a point of the drawing but no UTM point: rejected and counted.
    EXPECT_EQ(summary.rejected, file == "ezdxf_r2007_utm_insbase.dxf" ? 1u : 0u);
    EXPECT_EQ(summary.unknownEntities, 0u);
    // Where a side is in degrees, sizes and angles stay as they are, byte for byte.
    const bool similarity = dxfOptionsFor(setting.state).similarity;
    EXPECT_EQ(run("/usr/bin/python3 " + quoted(ZELVORA_DXF_CHECK) + " -q --require-crlf " +
                  (similarity ? "--allow-similarity " : "") + quoted(source) + " " + quoted(out)),
              0);
    if (setting.from != nullptr) {
        EXPECT_EQ(run("/usr/bin/python3 " + quoted(checkers / "dxf-meaning-oracle") +
                      (setting.state.CheckBox1 ? " --keep-heights" : "") +
                      " --max-listed 10 --position-tolerance " + setting.tolerance + " " +
                      quoted(source) + " " + quoted(out) + " '" + setting.from + "' '" +
                      setting.to + "'"),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SampleRun,
    // The change to zone 22 only for the sites within 4 degrees of its meridian, -51: the
    // program refuses points more than one degree beyond a zone's edge.
    ::testing::ValuesIn(
        std::vector<std::tuple<std::string, int>>{{"kinds_r12.dxf", 0},
                                                  {"kinds_r12.dxf", 1},
                                                  {"kinds_r12.dxf", 2},
                                                  {"kinds_r2000.dxf", 0},
                                                  {"kinds_r2000.dxf", 1},
                                                  {"kinds_r2000.dxf", 2},
                                                  {"kinds_r2000.dxf", 4},
                                                  {"kinds_r2018_left_codes.dxf", 0},
                                                  {"kinds_r2018_left_codes.dxf", 1},
                                                  {"kinds_r2018_left_codes.dxf", 2},
                                                  {"ezdxf_r12_utm.dxf", 0},
                                                  {"ezdxf_r12_utm.dxf", 1},
                                                  {"ezdxf_r12_utm.dxf", 2},
                                                  {"ezdxf_r12_utm.dxf", 3},
                                                  {"variant_trailing_blank_codes.dxf", 2},
                                                  {"ezdxf_r2000_utm.dxf", 0},
                                                  {"ezdxf_r2000_utm.dxf", 1},
                                                  {"ezdxf_r2000_utm.dxf", 3},
                                                  {"ezdxf_r2007_utm_insbase.dxf", 0},
                                                  {"ezdxf_r2007_utm_insbase.dxf", 1},
                                                  {"ezdxf_r2013_utm_geodata.dxf", 0},
                                                  {"ezdxf_r2013_utm_geodata.dxf", 1},
                                                  {"ezdxf_r2013_utm_geodata.dxf", 3},
                                                  {"ezdxf_r2018_utm_corridor.dxf", 0},
                                                  {"ezdxf_r2018_utm_corridor.dxf", 1},
                                                  {"ezdxf_r2000_cp1252_layers.dxf", 0},
                                                  {"ezdxf_r2000_cp1252_layers.dxf", 1},
                                                  {"ezdxf_r12writer_entities_only.dxf", 0},
                                                  {"ezdxf_r12writer_entities_only.dxf", 1},
                                                  {"gdal_ogr2ogr_utm.dxf", 0},
                                                  {"gdal_ogr2ogr_utm.dxf", 1},
                                                  {"variant_crlf.dxf", 1}}),
    [](const auto& info) {
        std::string name = std::get<0>(info.param);
        name = name.substr(0, name.size() - 4);
        for (auto& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name + "_" + settings()[static_cast<std::size_t>(std::get<1>(info.param))].name;
    });

TEST(SampleRuns, APointFileExportsWithTheRealTransformation)
{
    const fs::path source = samples / "points" / "points_100k.txt";
    const TemporaryFolder folder;
    const fs::path out = folder / "points.dxf";
    TGeo engine;
    const auto summary =
        ExportaDXF(source, out, fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas), datums,
                   engine, NumberFormat{'.', ","});
    EXPECT_EQ(summary.points, 100000u);
    EXPECT_EQ(summary.rejected, 0u);
    // The labels stand 1.5 units, here degrees, to the right of their points.
    EXPECT_EQ(run("/usr/bin/python3 " + quoted(ZELVORA_DXF_CHECK) +
                  " -q --points --require-crlf --label-offset 1.5 " + quoted(source) + " " +
                  quoted(out)),
              0);
}

TEST(SampleRuns, AWindowBoxThatIsNoNumberStopsTheRunAtTheFirstPoint)
{
    WindowState state = fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas);
    state.Edit13 = "-45.0";  // a point where the user's separator is a comma
    TGeo engine;
    const TemporaryFolder folder;
    const fs::path out = folder / "none.dxf";
    EXPECT_THROW(ConverteDXF(samples / "dxf" / "ezdxf_r12_utm.dxf", out, state, datums, engine,
                             NumberFormat{',', "."}),
                 ConversionError);
    EXPECT_FALSE(fs::exists(out));
}

TEST(SampleRuns, ARejectedPointIsCountedAndNeverTakesThePreviousPoint)
{
    // Grid coordinates that are no UTM coordinates are rejected by the source stage, whose zeroed
    // results go on through the datum stage: the point lands near 0,0, not on its predecessor.
    TGeo engine;
    const WindowState state = fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas);
    Processa processa(state, datums, engine, NumberFormat{',', "."});
    LineWriter out;
    const std::string drawing =
        crlf({"  0", "SECTION", "  2", "ENTITIES", "  0", "POINT", " 10", "333512", " 20",
              "7395240", "  0", "POINT", " 10", "12", " 20", "7395240"});
    const auto summary = rewriteDxf(drawing, out, processaPoints(processa), dxfOptionsFor(state));
    EXPECT_EQ(summary.rejected, 1u);
    EXPECT_EQ(summary.firstRejectedLine, 13u);
    const std::string& text = out.text();
    const auto second = text.find(" 10\r\n", text.find(" 20\r\n"));
    ASSERT_NE(second, std::string::npos);
    EXPECT_NEAR(std::stod(text.substr(second + 5)), 0, 1e-3) << text;
}

// The same run on one engine point after point and on pools of 1, 2 and 5 engines, each block
// transformed while the next is read: the same bytes, the same summary, and the same first error.
class SharedAndSequential : public ::testing::Test {
protected:
    struct Outcome {
        std::string bytes;
        FileRunSummary summary;
        std::string error;
    };
    template <typename Run>
    static Outcome outcome(Run run)
    {
        LineWriter out;
        Outcome o;
        try {
            o.summary = run(out);
        } catch (const std::exception& e) {
            o.error = e.what();
        }
        o.bytes = out.text();
        return o;
    }
    // Returns the error every run stopped with, if any.
    static std::string expectSame(const std::string& source, const WindowState& state, bool drawing)
    {
        TGeo one;
        Processa sequential(state, datums, one, NumberFormat{',', "."});
        const DxfRewriteOptions options = dxfOptionsFor(state);
        const auto runWith = [&](const PointBatch& batch) {
            return outcome([&](LineWriter& out) {
                return drawing ? rewriteDxf(source, out, batch, options)
                               : exportPoints(source, out, batch);
            });
        };
        const Outcome a = runWith(oneByOne(processaPoints(sequential)));
        for (const unsigned engines : {1u, 2u, 5u}) {
            SCOPED_TRACE(std::to_string(engines) + " engines");
            TGeo first;
            SharedProcessa shared(state, datums, first, NumberFormat{',', "."}, engines);
            const Outcome b = runWith(shared);
            EXPECT_EQ(a.error, b.error);
            EXPECT_EQ(a.summary.points, b.summary.points);
            EXPECT_EQ(a.summary.rejected, b.summary.rejected);
            EXPECT_EQ(a.summary.firstRejectedLine, b.summary.firstRejectedLine);
            if (a.error.empty()) { EXPECT_TRUE(a.bytes == b.bytes) << "the outputs differ"; }
        }
        return a.error;
    }
    static std::string sample(const std::string& name)
    {
        std::ifstream in(samples / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(SharedAndSequential, GiveTheSameFilesAndCounts)
{
    const WindowState toGeodetic = fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas);
    expectSame(sample("points/points_100k.txt"), toGeodetic, false);
    expectSame(sample("dxf/ezdxf_r12_utm.dxf"), toGeodetic, true);
    expectSame(sample("dxf/librecad_sheet_a4h.dxf"), toGeodetic, true);  // most points rejected
    // Many points: blocks of several thousand cut among the engines, and cut inside entities
    // whose widths after the cut take the similarity found before it.
    std::string drawing = crlf(
        {"  0", "SECTION", "  2", "ENTITIES", "  0", "LWPOLYLINE", " 38", "700", " 43", "0.5"});
    for (int i = 0; i < 20000; ++i)
        drawing += crlf({" 10", std::to_string(300000 + 13 * i), " 20",
                         std::to_string(7000000 + 31 * i), " 40", "0.25"});
    drawing += crlf({"  0", "POLYLINE", " 10", "0", " 20", "0", " 30", "650", " 70", "0"});
    for (int i = 0; i < 10000; ++i)
        drawing += crlf({"  0", "VERTEX", " 10", std::to_string(400000 + 7 * i), " 20",
                         std::to_string(7300000 - 11 * i), " 41", "1.5"});
    drawing += crlf({"  0", "SEQEND"});
    for (int i = 0; i < 5000; ++i)
        drawing += crlf({"  0", "CIRCLE", " 10", std::to_string(500000 + 3 * i), " 20",
                         std::to_string(7400000 + 5 * i), " 40", "2.5"});
    expectSame(drawing, fromUtm23South(kSad69, CoordinateKind::Grid, kSirgas), true);
}

TEST_F(SharedAndSequential, StopWithTheSameError)
{
    std::string points;
    for (int i = 0; i < 20000; ++i)
        points += "P;" + std::to_string(300000 + i) + ";7400000;700\r\n";
    std::string badValue = points;
    badValue.replace(badValue.find("P;305000"), 8, "P;30x000");
    const WindowState good = fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas);
    EXPECT_EQ(expectSame(badValue, good, false),
              "'30x000' is not a valid floating point value (line 5001)");
    WindowState badBox = good;
    badBox.Edit13 = "-45x";
    EXPECT_EQ(expectSame(points, badBox, false), "'-45x' is not a valid floating point value");
    // The window's box is read at the first point, before the bad value of line 5001.
    EXPECT_EQ(expectSame(badValue, badBox, false), "'-45x' is not a valid floating point value");
    WindowState noDatum = good;
    noDatum.ComboBox10 = 7;
    EXPECT_NE(expectSame(points, noDatum, false).find("No datum selected"), std::string::npos);
}

// Shares failing on several engines at once: the error that leaves is the earliest share's, even
// when a later one failed first, and the pool goes on serving the next job.
TEST(EnginePool, ThrowsTheErrorOfTheEarliestShareThatFailed)
{
    const WindowState state = fromUtm23South(kSad69, CoordinateKind::Geodetic, kSirgas);
    for (const unsigned engines : {1u, 2u, 5u}) {
        SCOPED_TRACE(std::to_string(engines) + " engines");
        EnginePool pool(state, datums, NumberFormat{',', "."}, engines);
        std::vector<int> done(64, 0);
        try {
            pool.run(done.size(), [&done](std::size_t share, Processa&) {
                if (share == 9) std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (share == 9 || share == 17 || share == 40)
                    throw std::runtime_error("share " + std::to_string(share));
                done[share] = 1;
            });
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "share 9");
        }
        EXPECT_EQ(std::count(done.begin(), done.begin() + 9, 1), 9);
        std::vector<std::size_t> shares(100, 0);
        pool.run(shares.size(), [&shares](std::size_t share, Processa&) { shares[share] = share; });
        for (std::size_t k = 0; k < shares.size(); ++k) EXPECT_EQ(shares[k], k);
    }
}

}  // namespace
