// zelvora-convert as a user runs it: a settings file and a catalogue in a folder, arguments,
// standard input; what it prints and the exit status.
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The window's settings: geodetic on SAD 69 to UTM zone 23 on SAD 69, the point -22°30' -45°
// h 100 in degrees, minutes and seconds, Portuguese.
const char* const kSettingsLines[] = {
    "1",        "1",      "-45",       "1",           "-22.5",    "-47",      "0",
    "700",      "150000", "250000",    "0",           "1",        "-45",      "0",
    "-22.5",    "-47",    "0",         "700",         "150000",   "250000",   "-22.3",
    "-45",      "100",    "7500000",   "500000",      "4510272",  "-4510272", "0",
    "150000",   "250000", "Teste.Dxf", "SemNome.Dxf", "0",        "0.9996",   "6",
    "10000000", "500000", "0.9996",    "6",           "10000000", "500000",   "2",
};

const char* const kCatalogue =
    "6378137,298.257223563,WGS 84,0,0,0\r\n"
    "6378160,298.25,SAD 69,-66.87,4.37,-38.52\r\n"
    "6378137,298.257222101,SIRGAS 2000,0,0,0\r\n";

struct Outcome {
    int status;
    std::string out, err;
};

std::string quoted(const std::string& text)
{
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string contents(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

class Convert : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string settings;
        for (const char* line : kSettingsLines) settings += std::string(line) + "\r\n";
        write(folder_ / "Zelvora.Cfg", settings);
        write(folder_ / "Datum.Cfg", kCatalogue);
    }

    // Runs the program in the C.UTF-8 locale ("." decimals, no grouping), on the folder's files
    // unless `ownFiles` is false.
    Outcome run(const std::vector<std::string>& args, const std::string& input = "",
                const std::string& program = ZELVORA_CONVERT, bool ownFiles = true) const
    {
        write(folder_ / "stdin", input);
        std::string command =
            "cd " + quoted(folder_.string()) + " && env LC_ALL=C.UTF-8 " + quoted(program);
        if (ownFiles)
            command += " --settings " + quoted((folder_ / "Zelvora.Cfg").string()) + " --datums " +
                       quoted((folder_ / "Datum.Cfg").string());
        for (const std::string& a : args) command += " " + quoted(a);
        command += " < stdin > stdout 2> stderr";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contents(folder_ / "stdout"),
                contents(folder_ / "stderr")};
    }

    TemporaryFolder temporary_;
    const fs::path& folder_ = temporary_.path();
};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// ---- point ----

TEST_F(Convert, PointWithoutValuesTransformsTheSettingsPointAsTheWindowWritesIt)
{
    const Outcome r = run({"--decimal", ",", "--thousands", ".", "point"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 6u) << r.out;
    EXPECT_EQ(lines[0].rfind("(N)orte = 7.51", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "l(E)ste = 500.000,000000 m");
    EXPECT_EQ(lines[2], "Zona 23 K");
    EXPECT_EQ(lines[3], "h = 100,0000 m");
    EXPECT_EQ(lines[4], "Covergencia Meridiana = 0°00'00,0000\"");
    EXPECT_EQ(lines[5], "K = 0,99960000");
}

TEST_F(Convert, PointValuesGoIntoTheSourceBoxesInTheUsersSeparator)
{
    // Either key types the user's separator, as in the window.
    for (const std::string latitude : {"-22,3", "-22.3"}) {
        const Outcome r = run({"--decimal", ",", "--thousands", ".", "--lang", "en", "--to",
                               "geodetic", "point", latitude, "-45", "100"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out,
                  "Latitude = -22°30'00,0000\"\nLongitude = -45°00'00,0000\"\n"
                  "h = 100,0000 m\n");
    }
}

TEST_F(Convert, AWarningIsPrintedFirstAndTheRunSucceeds)
{
    const Outcome r = run({"point", "-22", "-48.3", "0"});  // 3.5 degrees from -45
    EXPECT_EQ(r.status, 0);
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 7u) << r.out;
    EXPECT_EQ(lines[0], "ATENÇÃO:Excedeu o fuso");
}

TEST_F(Convert, ARejectedPointPrintsItsMessageAndLinesAndExitsWithOne)
{
    const Outcome r = run({"--from", "grid", "--lang", "en", "point", "20000000", "500000", "0"});
    EXPECT_EQ(r.status, 1);
    const auto lines = linesOf(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "ERROR:Invalid (N)orth Coordinate");
    EXPECT_EQ(lines.size(), 6u);
}

TEST_F(Convert, OptionsOverrideOnePartOfTheStateEach)
{
    // A plane origin with ";" where "," is decimal; its point is the origin's own.
    const Outcome r = run({"--decimal", ",", "--thousands", "", "--from", "local", "--to", "local",
                           "--from-origin", "-22;-47;700;150000;250000", "--to-origin",
                           "-22;-47;700;1000;2000", "point", "150000", "250000", "33"});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0], "X topográfico = 1000,0000");
    EXPECT_EQ(lines[1], "Y topográfico = 2000,0000");
    EXPECT_EQ(lines[2], "h = 33,0000 m");
}

TEST_F(Convert, EpsgCodesSetWhatTheirOptionsSet)
{
    const std::vector<std::string> point{"point", "7395127,331", "332104,512", "760"};
    const auto withOptions = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"--decimal", ","});
        options.insert(options.end(), point.begin(), point.end());
        return run(options);
    };
    const Outcome byCode = withOptions({"--from", "EPSG:29193", "--to", "EPSG:31983"});
    const Outcome byOptions =
        withOptions({"--from", "grid", "--from-datum", "SAD 69", "--from-family", "utm",
                     "--from-cm", "-45", "--south", "--to", "grid", "--to-datum", "SIRGAS 2000",
                     "--to-family", "utm", "--to-cm", "-45"});
    EXPECT_EQ(byCode.status, 0) << byCode.err;
    EXPECT_EQ(byCode.out, byOptions.out);
    EXPECT_NE(byCode.out.find("Zona 23 K"), std::string::npos) << byCode.out;
    // Geographic and geocentric codes set the kind and the datum.
    const Outcome geocentric = withOptions({"--from", "EPSG:29193", "--to", "EPSG:4978"});
    const Outcome cartesian =
        withOptions({"--from", "EPSG:29193", "--to", "cartesian", "--to-datum", "WGS 84"});
    EXPECT_EQ(geocentric.status, 0) << geocentric.err;
    EXPECT_EQ(geocentric.out, cartesian.out);
    const Outcome listing = run({"--list-crs"});
    EXPECT_NE(listing.out.find("EPSG:31983\tSIRGAS 2000 / UTM zone 23S\tgrid, SIRGAS 2000, UTM, "
                               "central meridian -45, south\n"),
              std::string::npos);
}

struct BadRun {
    const char* why;
    std::vector<std::string> args;
    const char* message;  // a piece of the message on standard error
};

const BadRun kBadRuns[] = {
    {"a value that is no number, named",
     {"point", "abc", "1", "2"},
     "zelvora-convert: the point's latitude: 'abc' is not a valid floating point value\n"},
    {"two values for a point", {"point", "1", "2"}, "a geodetic point is three values"},
    {"a datum the catalogue lacks", {"--to-datum", "Nowhere", "point"}, "--list-datums"},
    {"a datum index past the catalogue", {"--from-datum", "3", "point"}, "no datum '3'"},
    {"an unknown kind", {"--from", "gird", "point"}, "'gird' is not one of grid"},
    {"an unknown option", {"--bogus", "point"}, "--bogus"},
    {"both hemispheres", {"--south", "--north", "point"}, "exclude each other"},
    {"an origin of four values", {"--from-origin", "1,2,3,4", "point"}, "five values"},
    {"nothing to do", {}, "point, stream, dxf, points, settings, --list-datums or --list-crs"},
    {"an EPSG code the program does not set up", {"--from", "EPSG:2193", "point"}, "--list-crs"},
    {"an EPSG code and the datum it sets",
     {"--from", "EPSG:29193", "--from-datum", "0", "point"},
     "--from-datum: --from EPSG:29193 sets it already (SAD69 / UTM zone 23S)"},
    {"an EPSG zone of the south and --north",
     {"--from", "epsg:29193", "--north", "point"},
     "--north: --from epsg:29193 is a zone of the south"},
    {"an EPSG code on a datum the catalogue lacks",
     {"--to", "EPSG:4230", "point"},
     "is on the datum 'ED50', which the catalogue does not hold"},
    {"an option that is no number, named",
     {"--to-cm", "x", "point"},
     "zelvora-convert: --to-cm: 'x' is not a valid floating point value\n"},
    {"an origin field that is no number, named",
     {"--from-origin", "1,2,3,x,5", "point"},
     "zelvora-convert: --from-origin X: 'x' is not a valid floating point value\n"},
    {"decimal and thousands alike", {"--decimal", ".", "--thousands", ".", "point"}, "separators"},
    {"heights kept for a single point, which always converts them",
     {"point", "--keep-heights"},
     "--keep-heights"},
    {"heights both kept and converted",
     {"dxf", "--keep-heights", "--convert-heights", "plan.dxf", "out.dxf"},
     "--keep-heights and --convert-heights exclude each other"},
    {"more decimals than a long double holds",
     {"stream", "--decimals", "13"},
     "--decimals: Value 13 not in range 0 to 12"},
    {"a negative number of decimals",
     {"points", "--text", "--decimals", "-1", "p.txt", "out.txt"},
     "--decimals: Value -1 not in range 0 to 12"},
    {"decimals that are no whole number", {"stream", "--decimals", "2.5"}, "not in range 0 to 12"},
    {"decimals for a drawing",
     {"points", "--decimals", "3", "p.txt", "out.dxf"},
     "--decimals sets the decimals of stream and of points --text"},
    {"a drawing as text", {"dxf", "--text", "plan.dxf", "out.txt"}, "--text"},
};

TEST_F(Convert, BadOptionsAndValuesExitWithTwoAndSayWhy)
{
    for (const BadRun& c : kBadRuns) {
        SCOPED_TRACE(c.why);
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

TEST_F(Convert, ANamedFileThatIsMissingIsAnError)
{
    for (const auto& files :
         {std::vector<std::string>{"--settings", "nowhere.cfg", "--datums", "Datum.Cfg", "point"},
          std::vector<std::string>{"--datums", "nowhere.cfg", "point"}}) {
        const Outcome r = run(files, "", ZELVORA_CONVERT, false);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("\"nowhere.cfg\" does not exist"), std::string::npos) << r.err;
    }
}

TEST_F(Convert, AnEmptyCatalogueLeavesNoDatumToTransformWith)
{
    write(folder_ / "Datum.Cfg", "");
    const Outcome r = run({"point"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("No datum selected for the source system"), std::string::npos) << r.err;
}

TEST_F(Convert, ListDatumsPrintsIndexNameAndParameters)
{
    // A byte-order mark, as editors saving UTF-8 may write it, is no part of the first line.
    write(folder_ / "Datum.Cfg", std::string("\xEF\xBB\xBF") + kCatalogue);
    const Outcome r = run({"--list-datums"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0 WGS 84\ta=6378137 1/f=298.257223563 dx=0 dy=0 dz=0\n"
              "1 SAD 69\ta=6378160 1/f=298.25 dx=-66.87 dy=4.37 dz=-38.52\n"
              "2 SIRGAS 2000\ta=6378137 1/f=298.257222101 dx=0 dy=0 dz=0\n");
}

// The window's settings with one line replaced (from 1; line 43 is added when asked for).
std::string settingsWithLine(int number, const std::string& text)
{
    std::string settings;
    for (int n = 1; n <= 43; ++n) {
        const bool inFile = n <= static_cast<int>(std::size(kSettingsLines));
        if (n == number)
            settings += text + "\r\n";
        else if (inFile)
            settings += std::string(kSettingsLines[n - 1]) + "\r\n";
    }
    return settings;
}

struct SettingsRun {
    const char* why;
    std::string settings;
    int status;
    const char* message;  // on standard error; "" for none at all
};

// A script must not go on with a datum or a zone other than the one its settings chose.
TEST_F(Convert, ASettingsFileTheToolCannotUseStopsIt)
{
    const SettingsRun runs[] = {
        {"a damaged line", settingsWithLine(2, "x"), 2,
         "Zelvora.Cfg\", line 2: 'x' is not a valid integer value; nothing was run"},
        {"a datum past the catalogue", settingsWithLine(2, "40"), 2,
         "line 2: 40 is not an index of the datums of the catalogue (0 to 2); nothing"},
        {"a hemisphere past its list", settingsWithLine(4, "2"), 2,
         "line 4: 2 is not an index of the hemispheres (0 to 1); nothing was run"},
        {"a bad keep-heights line", settingsWithLine(43, "2"), 2,
         "line 43: '2' is neither 0 nor 1; nothing was run"},
        {"a UTF-8 byte-order mark before the first line", "\xEF\xBB\xBF" + settingsWithLine(0, ""),
         0, ""},
    };
    for (const SettingsRun& c : runs) {
        SCOPED_TRACE(c.why);
        write(folder_ / "Zelvora.Cfg", c.settings);
        const Outcome r = run({"point"});
        EXPECT_EQ(r.status, c.status);
        if (*c.message == '\0')
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(linesOf(r.out).size(), c.status == 0 ? 6u : 0u) << r.out;
    }
}

// What a run starts from, in words: the options applied, each angle as the format reads it
// (-22.5 in degrees, minutes and seconds is 22°50').
TEST_F(Convert, SettingsPrintsBothSidesInWords)
{
    const Outcome r = run({"--to-datum", "SIRGAS 2000", "--to-cm", "-39", "settings"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string origin =
        "  plane origin: latitude -22.5 (read as -22°50'00.0000\"), longitude -47 (read as "
        "-47°00'00.0000\"), altitude 700, X 150000, Y 250000\n";
    const std::string family =
        "  family other: k0 0.9996, zone width 6, false northing 10000000, false easting 500000\n";
    EXPECT_EQ(r.out, "settings: the settings file \"" + (folder_ / "Zelvora.Cfg").string() +
                         "\"\n"
                         "angle format: 2, degrees, minutes and seconds (±GGG.MMSSSS: -23.3251 is "
                         "-23°32'51\")\n"
                         "language: pt\n"
                         "separators: decimal \".\", thousands \"\"\n"
                         "source (De:): geodetic\n"
                         "  datum: 1 SAD 69\n"
                         "  grid family: utm\n"
                         "  central meridian: -45 (read as -45°00'00.0000\")\n" +
                         family + origin +
                         "  hemisphere: south\n"
                         "target (Para:): grid\n"
                         "  datum: 2 SIRGAS 2000\n"
                         "  grid family: utm\n"
                         "  central meridian: -39 (read as -39°00'00.0000\")\n" +
                         family + origin);
}

TEST_F(Convert, TheFilesBesideTheProgramAreTheDefaults)
{
    const fs::path copy = folder_ / "zelvora-convert";
    fs::copy_file(ZELVORA_CONVERT, copy);
    write(folder_ / "Datum.Cfg", "6378160,298.25,Only Datum,-66.87,4.37,-38.52\r\n");
    const Outcome list = run({"--list-datums"}, "", copy.string(), false);
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "0 Only Datum\ta=6378160 1/f=298.25 dx=-66.87 dy=4.37 dz=-38.52\n");

    // The settings beside it name datum 1, past this catalogue.
    const Outcome past = run({"point"}, "", copy.string(), false);
    EXPECT_EQ(past.status, 2);
    EXPECT_NE(past.err.find("line 2: 1 is not an index of the datums"), std::string::npos);
    const Outcome chosen = run({"--no-settings", "point"}, "", copy.string(), false);
    EXPECT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_EQ(chosen.err, "");
    EXPECT_EQ(linesOf(chosen.out).size(), 5u) << chosen.out;

    fs::remove(folder_ / "Zelvora.Cfg");
    const Outcome none = run({"point"}, "", copy.string(), false);
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.err, "zelvora-convert: no settings file at \"" +
                            (folder_ / "Zelvora.Cfg").string() +
                            "\"; the start-up values are used (\"zelvora-convert settings\" "
                            "shows them)\n");
    EXPECT_EQ(none.out, chosen.out);
}

TEST_F(Convert, HelpAndVersion)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* piece : {"Usage: zelvora-convert [OPTIONS] point", "--from-datum", "STREAM",
                              "EXIT STATUS", "EXAMPLES", "DXF", "dxf --check plan.dxf",
                              "points --text [--decimals N]", "--decimals 3"})
        EXPECT_NE(help.out.find(piece), std::string::npos) << piece;
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("zelvora-convert ", 0), 0u);
}

// ---- stream ----

TEST_F(Convert, StreamWritesOneLinePerLineAndCopiesCommentsAndBlankLines)
{
    // Geodetic to geodetic on one datum hands the values back, in the general form.
    const Outcome r = run({"--to", "geodetic", "stream"},
                          "# lon lat h\r\n-45.50;-22.25, 100\r\n\n  -45\t-22  0.0001 \n1e-5,2,3");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "# lon lat h\n-45.5 -22.25 100\n\n-45 -22 0.0001\n1E-5 2 3\n");
    // A byte-order mark is no part of the first line.
    const Outcome marked = run({"--to", "geodetic", "stream"}, "\xEF\xBB\xBF-45.5 -22.25 100\n");
    EXPECT_EQ(marked.status, 0) << marked.err;
    EXPECT_EQ(marked.out, "-45.5 -22.25 100\n");
}

TEST_F(Convert, StreamDecimalsFixEveryValueAnglesIncluded)
{
    // Geodetic to geodetic on one datum: the values come back, rounded to the decimals asked.
    const struct {
        std::vector<std::string> options;
        const char* output;
    } cases[] = {
        {{"--decimals", "2"}, "-45.40 -22.25 100.00\n# c\n-46.12 -23.50 760.26\n"},
        {{"--decimals", "0", "--status"}, "-45 -22 100 0\n# c\n-46 -24 760 0\n"},
        {{"--decimals", "12"},
         "-45.400000000000 -22.250000000000 100.000000000000\n# c\n"
         "-46.123456789000 -23.500100000000 760.256000000000\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[1]);
        const Outcome r = run(with({"--to", "geodetic", "stream"}, c.options),
                              "-45.4 -22.25 100\n# c\n-46.123456789;-23.5001;760.256\n");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.output);
    }
}

TEST_F(Convert, StreamStatusAndTheSummaryOfRejectedPoints)
{
    const Outcome r = run({"--from", "grid", "--to", "grid", "stream", "--status"},
                          "500000 7500000 5\n500000 20000000 5\n500000 30000000 5\n");
    EXPECT_EQ(r.status, 1);
    const auto lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 4), " 5 0") << lines[0];
    // The grid stage rejects the northing; the target grid gets the zeroed point and rejects it
    // too, so the point is written as zeros with its height.
    EXPECT_EQ(lines[1], "0 0 5 6");
    EXPECT_EQ(r.err,
              "zelvora-convert: 2 of 3 points rejected, the first on line 2: "
              "ERRO:COORDENADA N Invalida (status 6)\n");
}

TEST_F(Convert, StreamStopsAtALineThatDoesNotReadAfterWritingTheLinesBefore)
{
    const struct {
        const char* why;
        const char* input;
        const char* message;
    } cases[] = {
        {"a value that is no number", "1 2 3\n\n4 x 6\n7 8 9\n",
         "zelvora-convert: line 3 \"4 x 6\": 'x' is not a valid floating point value\n"},
        {"two values", "1 2 3\n\n4 5\n",
         "zelvora-convert: line 3 \"4 5\": expected three values X Y Z, found 2\n"},
        {"four values", "1 2 3\n\n4 5 6 7\n",
         "zelvora-convert: line 3 \"4 5 6 7\": expected three values X Y Z, found more\n"},
        {"a comma decimal", "1 2 3\n\n4;5,5;6\n",
         "zelvora-convert: line 3 \"4;5,5;6\": expected three values X Y Z, found more\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const Outcome r = run({"--to", "geodetic", "stream"}, c.input);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "1 2 3\n\n");
        EXPECT_EQ(r.err, c.message);
    }
}

TEST_F(Convert, StreamReportsABadOptionBeforeItReadsALine)
{
    const Outcome r = run({"--from", "grid", "--from-cm", "x", "stream"}, "# head\n1 2 3\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "zelvora-convert: --from-cm: 'x' is not a valid floating point value\n");
}

TEST_F(Convert, StreamGivesTheSameLinesWhateverTheNumberOfEngines)
{
    // Two lines that stop the run, far enough apart to fall in different shares: the first one
    // stops it, with every line before it written.
    std::string input;
    for (int i = 0; i < 60000; ++i)
        input += std::to_string(200000 + i * 7) + " " + std::to_string(7000000 + i * 13) +
                 (i == 31000      ? " x\n"
                  : i == 45000    ? " 1 2\n"
                  : i % 1000 == 0 ? " 1\n#\n"
                                  : " 1\n");
    const auto withThreads = [this, &input](const char* threads) {
        return run({"--from", "grid", "--to", "geodetic", "--to-datum", "0", "stream", "--status",
                    "--threads", threads},
                   input);
    };
    const Outcome one = withThreads("1");
    EXPECT_EQ(one.status, 2);
    EXPECT_EQ(linesOf(one.out).size(), 31031u);
    EXPECT_NE(one.err.find("line 31032 "), std::string::npos) << one.err;
    for (const char* threads : {"2", "5"}) {
        SCOPED_TRACE(threads);
        const Outcome other = withThreads(threads);
        EXPECT_EQ(other.status, one.status);
        EXPECT_EQ(other.out, one.out);
        EXPECT_EQ(other.err, one.err);
    }
}

}  // namespace

// ---- dxf and points ----

namespace {

// UTM zone 23 south on SAD 69 to geodetic on SIRGAS 2000.
const std::vector<std::string> kUtmToGeodetic{"--from",       "grid",       "--south",
                                              "--from-datum", "SAD 69",     "--to",
                                              "geodetic",     "--to-datum", "SIRGAS 2000"};

const char* const kDrawing =
    "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
    "  0\r\nPOINT\r\n 10\r\n333000\r\n 20\r\n7395000\r\n 30\r\n760\r\n"
    "  0\r\nPOINT\r\n 10\r\n12\r\n 20\r\n34\r\n"
    "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

}  // namespace

TEST_F(Convert, DxfRewritesTheDrawingAndSummarisesTheRun)
{
    write(folder_ / "plan.dxf", kDrawing);
    const Outcome o = run(with(kUtmToGeodetic, {"dxf", "plan.dxf", "out.dxf"}));
    // The second point, 12 34, lies in no UTM zone: written, counted, and the exit status says so.
    EXPECT_EQ(o.status, 1) << o.err;
    EXPECT_NE(o.err.find("22 lines read, 2 points, 1 of them rejected (the first on line 15), "
                         "0 values kept in source units, 0 entities carried without knowing "
                         "their kind"),
              std::string::npos)
        << o.err;
    const std::string out = contents(folder_ / "out.dxf");
    EXPECT_EQ(out.rfind("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOINT\r\n 10\r\n-46.", 0), 0u);
    EXPECT_EQ(contents(folder_ / "plan.dxf"), kDrawing);

    // "-" is standard input as the source and standard output as the destination.
    const Outcome piped = run(with(kUtmToGeodetic, {"dxf", "-", "-"}), kDrawing);
    EXPECT_EQ(piped.status, 1) << piped.err;
    EXPECT_EQ(piped.out, out);
}

// Ctrl+C, a kill or a closed terminal in the middle of a run: the tool ends by that signal (a
// shell reports 130, 143, 129), no temporary file is left and the destination stays.
TEST_F(Convert, ASignalDuringARunLeavesTheDestinationAndNoTemporaryFile)
{
    std::string big = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    for (int i = 0; i < 1000000; ++i)
        big += "  0\r\nPOINT\r\n 10\r\n333000\r\n 20\r\n7395000\r\n 30\r\n760\r\n";
    write(folder_ / "big.dxf", big + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    const auto temporaryFiles = [this] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder_))
            count += entry.path().filename().string().rfind("out.dxf.", 0) == 0;
        return count;
    };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        write(folder_ / "out.dxf", "previous\r\n");
        const pid_t child = ::fork();
        if (child == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            if (::chdir(folder_.c_str()) != 0 || ::dup2(quiet, STDERR_FILENO) < 0) ::_exit(126);
            ::execl(ZELVORA_CONVERT, ZELVORA_CONVERT, "--settings", "Zelvora.Cfg", "--datums",
                    "Datum.Cfg", "--from", "grid", "--to", "geodetic", "dxf", "big.dxf", "out.dxf",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int wait = 0; wait < 20000 && temporaryFiles() == 0; ++wait) ::usleep(500);
        EXPECT_EQ(temporaryFiles(), 1) << "the run was not caught writing";
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(temporaryFiles(), 0);
        EXPECT_EQ(contents(folder_ / "out.dxf"), "previous\r\n");
    }
}

TEST_F(Convert, ARealPlanWhosePositionsAllGoThroughExitsZero)
{
    // The guide's example: a survey plan of hatches, 3D polylines, ellipses, texts and blocks,
    // SAD 69 to SIRGAS 2000 in UTM zone 23 south. Its placeholders, vectors and layouts are no
    // positions: nothing is rejected.
    const Outcome o = run({"--from", "grid", "--to", "grid", "--from-cm", "-45", "--to-cm", "-45",
                           "--south", "--from-datum", "SAD 69", "--to-datum", "SIRGAS 2000", "dxf",
                           ZELVORA_SAMPLES "/dxf/ezdxf_r2000_utm.dxf", "plan-sirgas.dxf"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("plan-sirgas.dxf: 18320 lines read, 624 points, 0 of them rejected, 0 "
                         "values kept in source units, 0 entities carried without knowing their "
                         "kind, "),
              std::string::npos)
        << o.err;
    // The spot height the guide shows, lines 12983 to 12988.
    const auto lines = linesOf(contents(folder_ / "plan-sirgas.dxf"));
    ASSERT_GT(lines.size(), 12988u);
    const std::vector<std::string> spot(lines.begin() + 12982, lines.begin() + 12988);
    EXPECT_EQ(spot,
              (std::vector<std::string>{" 10\r", "333362.225264247\r", " 20\r",
                                        "7394863.75310863\r", " 30\r", "733.023871710629\r"}));
}

TEST_F(Convert, PointsExportsAndADestinationThatIsTheSourceIsReplaced)
{
    write(folder_ / "p.txt", "M1;333000;7395000;760\r\nM\xE2\x86\x92;333000;7395000;760\r\n");
    const Outcome o = run(with(kUtmToGeodetic, {"points", "p.txt", "p.txt"}));
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string out = contents(folder_ / "p.txt");
    EXPECT_EQ(out.rfind("  0\r\nSECTION\r\n  2\r\nHEADER\r\n", 0), 0u);
    EXPECT_NE(out.find("\r\n  1\r\nM1\r\n"), std::string::npos);
    EXPECT_NE(out.find("\r\n  1\r\nM?\r\n"), std::string::npos);
    EXPECT_NE(o.err.find(", 1 characters of point names written as \"?\""), std::string::npos)
        << o.err;
}

TEST_F(Convert, CheckListsEveryProblemLineAndWritesNothing)
{
    write(folder_ / "p.txt", "A;333000;7395000;760\r\nB;1,5;2;3\r\nC;12;34;0\r\n\r\nE;1;2;3;4\r\n");
    const Outcome o = run(with(kUtmToGeodetic, {"points", "--check", "p.txt"}));
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(linesOf(o.out),
              (std::vector<std::string>{
                  "'1,5' is not a valid floating point value (line 2)",
                  "'C;12;34;0' rejected: ERRO:COORDENADA E Invalida (status 7) (line 3)",
                  "'' is not a valid floating point value (line 4)",
                  "'3;4' is not a valid floating point value (line 5)"}));
    EXPECT_FALSE(fs::exists(folder_ / "p.dxf"));
    const Outcome text = run(with(kUtmToGeodetic, {"points", "--text", "--check", "p.txt"}));
    EXPECT_EQ(text.status, 2);
    EXPECT_EQ(text.out, o.out);

    write(folder_ / "plan.dxf", kDrawing);
    const Outcome rejectedOnly = run(with(kUtmToGeodetic, {"dxf", "--check", "plan.dxf"}));
    EXPECT_EQ(rejectedOnly.status, 1);
    EXPECT_EQ(linesOf(rejectedOnly.out).size(), 1u);
}

TEST_F(Convert, FileRunsThatCannotStartExitWithTwoAndLeaveTheDestination)
{
    write(folder_ / "out.dxf", "previous\r\n");
    write(folder_ / "bad.dxf",
          "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOINT\r\n 10\r\nabc\r\n 20\r\n1\r\n");
    write(folder_ / "bad.txt", "A;1;2;3\r\nB;x;2;3\r\n");
    write(folder_ / "plan.dxf", kDrawing);
    write(folder_ / "empty.dxf", "");
    write(folder_ / "points.txt", "P1;333000;7395000;760\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"dxf", "missing.dxf", "out.dxf"}, "Cannot open file missing.dxf"},
        {{"dxf", "bad.dxf", "out.dxf"}, "'abc' is not a valid floating point value (line 8)"},
        {{"points", "--text", "bad.txt", "out.dxf"},
         "'x' is not a valid floating point value (line 2)"},
        {{"dxf", "bad.dxf"}, "say where to write"},
        {{"dxf", "empty.dxf", "out.dxf"}, "\"empty.dxf\" is no DXF drawing: it is empty"},
        {{"dxf", "--check", "points.txt"}, "\"points.txt\" is no DXF drawing: no \"0\" line"},
        {{"dxf", "-", "out.dxf"}, "\"-\" is no DXF drawing: it is empty"},
        {{"--from-cm", "-45x", "dxf", "plan.dxf", "out.dxf"}, "'-45x' is not a valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        const Outcome o = run(with(kUtmToGeodetic, c.args));
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(contents(folder_ / "out.dxf"), "previous\r\n");
    }
}

namespace {

// The Z of the first POINT of a drawing, as written.
std::string firstPointZ(const std::string& drawing)
{
    const std::size_t point = drawing.find("\r\nPOINT\r\n");
    const std::size_t z = drawing.find("\r\n 30\r\n", point);
    if (point == std::string::npos || z == std::string::npos) return "no POINT with a Z";
    const std::size_t start = z + 7;
    return drawing.substr(start, drawing.find("\r\n", start) - start);
}

// The Z of the first line of a point file, as written.
std::string firstLineZ(const std::string& points)
{
    const std::size_t end = points.find("\r\n");
    const std::size_t z = points.rfind(';', end);
    if (end == std::string::npos || z == std::string::npos) return "no line with a Z";
    return points.substr(z + 1, end - z - 1);
}

// The point file a drawing of the export holds: each POINT's X, Y, Z and the name of the TEXT
// after it.
std::string pointFileOf(const std::string& drawing)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = drawing.find("\r\n", at)) != std::string::npos;
         at = end + 2)
        lines.push_back(drawing.substr(at, end - at));
    std::string points, entity, values;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string& code = lines[i];
        const std::string& value = lines[i + 1];
        if (code == "  0") entity = value;
        if (entity == "POINT" && (code == " 10" || code == " 20" || code == " 30"))
            values += ";" + value;
        if (entity == "TEXT" && code == "  1") {
            points += value + values + "\r\n";
            values.clear();
        }
    }
    return points;
}

}  // namespace

TEST_F(Convert, PointsTextWritesThePointFileBack)
{
    // Geodetic to geodetic on one datum hands the values back: the names as read, the values in
    // the general form or with the decimals asked, every line ended by CR LF.
    write(folder_ / "p.txt", "M1;-45.4;-22.25;100\r\nM2 ; -46.123456789 ; -23.5001 ; 760.256\n");
    const struct {
        std::vector<std::string> options;
        const char* text;
    } cases[] = {
        {{}, "M1;-45.4;-22.25;100\r\nM2;-46.123456789;-23.5001;760.256\r\n"},
        {{"--decimals", "3"}, "M1;-45.400;-22.250;100.000\r\nM2;-46.123;-23.500;760.256\r\n"},
        {{"--decimals", "0"}, "M1;-45;-22;100\r\nM2;-46;-24;760\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Outcome o = run(
            with({"--to", "geodetic", "points", "--text"}, with(c.options, {"p.txt", "out.txt"})));
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(contents(folder_ / "out.txt"), c.text);
        EXPECT_EQ(o.err.rfind("out.txt: 2 lines read, 2 points, 0 of them rejected, ", 0), 0u)
            << o.err;
    }
}

TEST_F(Convert, PointsTextHoldsWhatTheDrawingHoldsRejectedPointsIncluded)
{
    // The second point, 12 34, lies in no UTM zone: written, counted, and the exit status says so.
    write(folder_ / "p.txt", "A;333000;7395000;760\r\nC;12;34;0\r\n");
    const Outcome text = run(with(kUtmToGeodetic, {"points", "--text", "p.txt", "out.txt"}));
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err.rfind("out.txt: 2 lines read, 2 points, 1 of them rejected (the first on "
                             "line 2), ",
                             0),
              0u)
        << text.err;
    const Outcome drawing = run(with(kUtmToGeodetic, {"points", "p.txt", "out.dxf"}));
    EXPECT_EQ(drawing.status, 1);
    EXPECT_EQ(contents(folder_ / "out.txt"), pointFileOf(contents(folder_ / "out.dxf")));
    // The first point is the manual's worked example: -23°32'49.7902", -46°38'11.4490",
    // h 753.2900 m on SIRGAS 2000.
    const Outcome rounded =
        run(with(kUtmToGeodetic, {"points", "--text", "--decimals", "4", "p.txt", "out.txt"}));
    EXPECT_EQ(rounded.status, 1);
    EXPECT_EQ(linesOf(contents(folder_ / "out.txt")).at(0), "A;-46.6365;-23.5472;753.2900\r");
}

TEST_F(Convert, KeepHeightsWritesTheSourcesZInBothFileRuns)
{
    struct Case {
        const char* why;
        const char* settingsLine43;        // "" for a settings file of an earlier version
        const char* to;                    // the target system
        std::vector<std::string> options;  // after the command word
        double z, within;                  // the Z written
    };
    // Converted, h from the manual's worked example of this point (753.2900 m on SIRGAS 2000),
    // and the geocentric Z from its latitude and height (-23°32'49.7902", h 753.29).
    const Case cases[] = {
        {"converted by default", "", "geodetic", {}, 753.29, 5e-5},
        {"kept when asked", "", "geodetic", {"--keep-heights"}, 760, 0},
        {"kept as the window saved it", "1", "geodetic", {}, 760, 0},
        {"converted when asked, whatever the window saved",
         "1",
         "geodetic",
         {"--convert-heights"},
         753.29,
         5e-5},
        {"a geocentric target has no height to keep",
         "",
         "cartesian",
         {"--keep-heights"},
         -2532686.415,
         0.01},
    };
    const std::string settings = contents(folder_ / "Zelvora.Cfg");
    write(folder_ / "plan.dxf", kDrawing);
    write(folder_ / "p.txt", "M1;333000;7395000;760\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        write(folder_ / "Zelvora.Cfg",
              settings + c.settingsLine43 + (*c.settingsLine43 ? "\r\n" : ""));
        for (const std::string command : {"dxf", "points", "text"}) {
            SCOPED_TRACE(command);
            const bool text = command == "text";
            std::vector<std::string> args{"--from", "grid", "--south",    "--from-datum", "SAD 69",
                                          "--to",   c.to,   "--to-datum", "SIRGAS 2000"};
            args = with(args, text ? std::vector<std::string>{"points", "--text"}
                                   : std::vector<std::string>{command});
            args =
                with(with(args, c.options), {command == "dxf" ? "plan.dxf" : "p.txt", "out.dxf"});
            fs::remove(folder_ / "out.dxf");
            const Outcome o = run(args);
            EXPECT_LE(o.status, 1) << o.err;
            const std::string written = contents(folder_ / "out.dxf");
            const std::string Z = text ? firstLineZ(written) : firstPointZ(written);
            EXPECT_NEAR(std::strtod(Z.c_str(), nullptr), c.z, c.within) << Z;
        }
    }
}

// A datum's grid from PROJ's data folder against PROJ's own shift through the same file (cct,
// twelve decimals of a degree); a point outside it goes by the datum's shift, with status 13; a
// grid found nowhere is said on standard error with the folders searched.
TEST_F(Convert, DatumGridsAgreeWithProjAndSayWhatTheyCannotServe)
{
    if (!fs::exists("/usr/share/proj/ntf_r93.gsb")) GTEST_SKIP() << "proj-data is not installed";
    write(folder_ / "Datum.Cfg",
          std::string(kCatalogue) +
              "6378249.2,293.4660212936269,NTF,-168,-60,320,grid=ntf_r93.gsb,gridto=RGF93\r\n"
              "6378137,298.257222101,RGF93,0,0,0\r\n"
              "6378160,298.25,SAD 69 NTv2,-66.87,4.37,-38.52,grid=SAD69_003.gsb,gridto=RGF93\r\n");
    const std::vector<std::string> ntfToRgf93{"--from", "geodetic", "--from-datum", "3",
                                              "--to",   "geodetic", "--to-datum",   "4",
                                              "stream", "--status"};
    const Outcome byGrid = run(ntfToRgf93, "2.35 48.85 100\n-45 -22.5 100\n");
    EXPECT_EQ(byGrid.status, 0) << byGrid.err;
    const auto lines = linesOf(byGrid.out);
    ASSERT_EQ(lines.size(), 2u);
    write(folder_ / "cct.sh",
          "echo '2.35 48.85 100 0' | cct -d 12 +proj=pipeline +step +proj=unitconvert "
          "+xy_in=deg +xy_out=rad +step +proj=hgridshift +grids=ntf_r93.gsb +step "
          "+proj=unitconvert +xy_in=rad +xy_out=deg > cct.txt");
    ASSERT_EQ(std::system(("cd " + quoted(folder_.string()) + " && sh cct.sh").c_str()), 0);
    double lon = 0, lat = 0, h = 0, projLon = 0, projLat = 0;
    int status = -1;
    std::istringstream(lines[0]) >> lon >> lat >> h >> status;
    std::istringstream(contents(folder_ / "cct.txt")) >> projLon >> projLat;
    EXPECT_NEAR(lon, projLon, 1e-11);
    EXPECT_NEAR(lat, projLat, 1e-11);
    EXPECT_EQ(h, 100);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines[1].substr(lines[1].size() - 3), " 13") << lines[1];
    EXPECT_EQ(byGrid.err,
              "zelvora-convert: 1 of 2 points outside the datum's grid, shifted by the datum's "
              "parameters\n");
    const std::string listing = run({"--list-datums"}).out;
    EXPECT_NE(listing.find(" dz=320 grid=ntf_r93.gsb gridto=RGF93\n"), std::string::npos)
        << listing;

    const Outcome missing = run({"--from", "geodetic", "--from-datum", "5", "--to", "geodetic",
                                 "--to-datum", "4", "stream"},
                                "-45 -22.5 100\n");
    const Outcome byShift = run({"--from", "geodetic", "--from-datum", "1", "--to", "geodetic",
                                 "--to-datum", "4", "stream"},
                                "-45 -22.5 100\n");
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, byShift.out);
    EXPECT_NE(missing.err.find("the datum 'SAD 69 NTv2' names the grid 'SAD69_003.gsb', which is "
                               "in none of these folders: " +
                               folder_.string() + ", "),
              std::string::npos)
        << missing.err;
}
