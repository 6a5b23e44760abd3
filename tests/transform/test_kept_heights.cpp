// "Keep heights" in file runs: a point file exported and a drawing rewritten through the real
// transformation, with and without the choice, for pairs of coordinate kinds.
#include "FileTransform.h"

#include "NumberText.h"
#include "pipeline_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace pipeline_test;
namespace fs = std::filesystem;

const NumberFormat user{',', "."};

struct HeightsCase {
    const char* why;
    int from, to;
    const char* X;  // the source point, X Y Z in the file's order and "." form
    const char* Y;
    const char* Z;
    bool kept;
};

// SAD 69 to SIRGAS 2000 throughout, so that a converted ellipsoidal height moves by metres.
const HeightsCase kHeightsCases[] = {
    {"grid to grid: kept", CoordinateKind::Grid, CoordinateKind::Grid, "333000", "7395000",
     "760.25", true},
    {"grid to geodetic: kept", CoordinateKind::Grid, CoordinateKind::Geodetic, "333000",
     "7395000", "760.25", true},
    {"geodetic to a local plane: kept", CoordinateKind::Geodetic, CoordinateKind::Topographic,
     "-47.01", "-22.5", "712.5", true},
    {"a geocentric target: its Z is no height, converted", CoordinateKind::Geodetic,
     CoordinateKind::Cartesian, "-46.6", "-23.5", "760.25", false},
    {"a geocentric source: converted", CoordinateKind::Cartesian, CoordinateKind::Grid, "4018000",
     "-4250000", "-2526000", false},
};

class Folder {
public:
    Folder() : path_(fs::temp_directory_path() / ("zelvora-heights-" + std::to_string(::getpid())))
    {
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }
    fs::path operator/(const char* name) const { return path_ / name; }

private:
    fs::path path_;
};

void write(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

std::string read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The coordinate groups of the drawing's LINE and POINT entities, by entity and group code, as
// numbers.
std::map<std::string, long double> coordinates(const std::string& drawing)
{
    std::vector<std::string> lines;
    std::istringstream in(drawing);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    std::map<std::string, long double> groups;
    std::string entity;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int code = static_cast<int>(readInteger(lines[i]));
        if (code == 0) entity = lines[i + 1];
        const bool coordinate = (code >= 10 && code <= 11) || (code >= 20 && code <= 21) ||
                                (code >= 30 && code <= 31);
        if ((entity == "LINE" || entity == "POINT") && coordinate)
            groups[entity + " " + std::to_string(code)] =
                readFloat(lines[i + 1], NumberFormat::file());
    }
    return groups;
}

std::string lines(std::initializer_list<std::string> each)
{
    std::string text;
    for (const std::string& line : each) text += line + "\r\n";
    return text;
}

// A short LINE from the point to one 1.5 m higher, and a POINT on the point.
std::string drawingOf(const HeightsCase& c)
{
    const std::string X = c.X, Y = c.Y;
    const long double Z2 = readFloat(c.Z, NumberFormat::file()) + 1.5L;
    const std::string X2 = formatGeneral(readFloat(c.X, NumberFormat::file()) + 0.0001L,
                                         NumberFormat::file());
    return lines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "  8", "0", " 10", X, " 20",
                  Y, " 30", c.Z, " 11", X2, " 21", Y, " 31",
                  formatGeneral(Z2, NumberFormat::file()), "  0", "POINT", "  8", "0", " 10", X,
                  " 20", Y, " 30", c.Z, "  0", "ENDSEC", "  0", "EOF"});
}

TEST(KeptHeights, FileRunsWriteTheGivenZWhereBothSidesHaveHeights)
{
    Folder folder;
    const std::vector<TDatum> datums = testCatalogue();
    for (const HeightsCase& c : kHeightsCases) {
        SCOPED_TRACE(c.why);
        WindowState converting = stateFor(user, {c.from, kSad69}, {c.to, kSirgas}, 0);
        WindowState keeping = converting;
        keeping.CheckBox1 = true;
        EXPECT_EQ(keepsHeights(keeping), c.kept);
        EXPECT_FALSE(keepsHeights(converting));

        write(folder / "points.txt", std::string("P1;") + c.X + ";" + c.Y + ";" + c.Z + "\r\n");
        write(folder / "plan.dxf", drawingOf(c));
        std::map<std::string, long double> out[2][2];  // [drawing?][keeping?]
        for (const bool keep : {false, true}) {
            TGeo engine;
            const WindowState& state = keep ? keeping : converting;
            const FileRunSummary exported = ExportaDXF(folder / "points.txt", folder / "points.dxf",
                                                       state, datums, engine, user);
            const FileRunSummary rewritten =
                ConverteDXF(folder / "plan.dxf", folder / "out.dxf", state, datums, engine, user);
            EXPECT_EQ(exported.rejected + rewritten.rejected, 0u);
            out[0][keep] = coordinates(read(folder / "points.dxf"));
            out[1][keep] = coordinates(read(folder / "out.dxf"));
        }

        const long double Z = readFloat(c.Z, NumberFormat::file());
        const std::map<std::string, long double> givenZ[2] = {
            {{"POINT 30", Z}}, {{"LINE 30", Z}, {"LINE 31", Z + 1.5L}, {"POINT 30", Z}}};
        for (const int drawing : {0, 1}) {
            SCOPED_TRACE(drawing ? "drawing" : "point file");
            const auto& converted = out[drawing][false];
            const auto& written = out[drawing][true];
            ASSERT_EQ(written.size(), converted.size());
            ASSERT_EQ(converted.size(), drawing ? 9u : 3u);
            for (const auto& [group, value] : converted) {
                SCOPED_TRACE(group);
                const bool height = group.ends_with(" 30") || group.ends_with(" 31");
                if (!height || !c.kept) {
                    // X and Y as always; a Z that is no height converted as always.
                    EXPECT_EQ(written.at(group), value);
                    continue;
                }
                // The source's value, where the conversion moves it by metres.
                EXPECT_EQ(written.at(group), givenZ[drawing].at(group));
                EXPECT_GT(std::fabs(value - givenZ[drawing].at(group)), 1.0L);
            }
        }
    }
}

}  // namespace
