// zelvora-convert: the main window's transformation from a terminal or a script, on the window's
// own settings file and datum catalogue, with the same digits.
#include "tools/FileCommands.h"
#include "transform/files/TemporaryFiles.h"
#include "transform/pipeline/Pipeline.h"
#include "config/DatumGrids.h"
#include "config/ProgramFiles.h"
#include "config/Settings.h"
#include "tools/StreamRun.h"
#include "ui/texts/TextTables.h"
#include "ui/texts/WindowMessages.h"
#include "tools/ToolState.h"
#include "transform/text/NumberText.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSuccess = 0;
constexpr int kRejected = 1;
constexpr int kBadInput = 2;

const char* const kUsage = R"(Usage: zelvora-convert [OPTIONS] point [VALUES...]
       zelvora-convert [OPTIONS] stream [--status] [--decimals N] < POINTS > RESULTS
       zelvora-convert [OPTIONS] dxf [--keep-heights] SOURCE.dxf DESTINATION.dxf
       zelvora-convert [OPTIONS] points [--keep-heights] SOURCE.txt DESTINATION.dxf
       zelvora-convert [OPTIONS] points --text [--decimals N] SOURCE.txt DESTINATION.txt
       zelvora-convert [OPTIONS] dxf|points --check SOURCE
       zelvora-convert [OPTIONS] --list-datums
       zelvora-convert --list-crs

Transforms coordinates with the settings of Zelvora's main window: the source system
("De:") and the target system ("Para:"), their datums, grid zones and plane origins, the
angle format and the language, as the window left them in its settings file. Each option
below changes one of them for this run only; the settings file and the catalogue are never
written.
)";

const char* const kFooter = R"(POINT
  Transforms one point and prints what the window shows: the warning or error message, if
  any, then the result lines, in your decimal and thousands separators (from LC_NUMERIC, or
  --decimal and --thousands). VALUES are the source system's boxes in the window's order:
      grid       N E h                   cartesian  X Y Z
      geodetic   latitude longitude h    local      X Y h
  Latitude and longitude are typed in the angle format (--angle-format). Without VALUES the
  point is the one the settings file holds.

ANGLES AND THE START-UP VALUES
  Latitudes and longitudes typed with point, --from-cm, --to-cm and the plane origins'
  latitude and longitude are read in the angle format. Its start-up value is 2, degrees,
  minutes and seconds written as one number, +-GGG.MMSSSS: there -23.5 is 23 degrees 50
  minutes, not 23 degrees 30; -23.3 is 23 degrees 30 minutes. Give --angle-format 0 to type
  decimal degrees. stream reads its points in decimal degrees whatever the format, but its
  --from-cm and --to-cm still follow the format.
  A run starts from the settings file (--settings, or the window's own). Without one (or with
  --no-settings) it starts from the window's start-up values: grid to grid, datum 1 on both
  sides, UTM, central meridian -45, south, angle format 2, English. A settings file that
  cannot be used whole stops the run (exit 2). "zelvora-convert settings" prints what a run
  starts from, options applied, each angle as the format reads it.

EPSG CODES
  --from and --to take an EPSG code instead of a kind: --from EPSG:29193 --to EPSG:31983 is
  SAD 69 / UTM zone 23S to SIRGAS 2000 / UTM zone 23S. A code sets the kind, the datum (by its
  name in the catalogue), and for a UTM zone the family, the central meridian and, for the
  source, the hemisphere; --from-datum, --from-family, --from-cm, --south and --north may
  not set them again. A target zone's hemisphere follows each point, as in the window: a
  point north of the equator gets a northern northing. --list-crs lists the codes: the
  geographic and geocentric systems of the shipped datums and their UTM zones.

GRID FAMILIES AND THE LOCAL PLANE
  utm, ltm and rtm are the 6-, 1- and 2-degree families; other takes its scale factor, zone
  width, false northing and false easting from --from-k0 ... --from-false-easting (or
  --to-...). A local plane is set by its origin's latitude and longitude (in the angle
  format), the plane's altitude, and the X and Y given to the origin, for instance
  --from-origin -22.5,-47,700,150000,250000 (with ";" between them where "," is decimal).

STREAM
  Reads one point a line from standard input and writes the transformed point to standard
  output, one line for each line read:
      input    X Y Z separated by blanks, tabs, ";" or ",", with "." as decimal separator:
               grid E N h; geodetic longitude latitude h in decimal degrees; cartesian X Y Z;
               local X Y h
      output   the same order for the target system, in up to 15 significant digits (with
               --decimals N, N decimals, 0 to 12, angles included), with the point's status
               code after it when --status is given (0 for none)
  Blank lines and lines starting with "#" are copied unchanged. A line that cannot be read
  stops the run with its number. The count of rejected points goes to standard error.

DXF
  Rewrites an ASCII drawing, each group by what it is for its entity: the positions of model
  space are transformed (those of an entity's own plane through world coordinates); vectors,
  sizes and angles turn and scale with the grid where both sides are in metres and are kept
  where one is in degrees; paper space, blocks and everything else are copied. $INSBASE is
  transformed, $UCSORG written as 0, $EXTMIN and $EXTMAX enclose the result. The summary
  counts the values kept in source units and the entities of kinds it does not know. A
  source that is no ASCII drawing (empty, binary, a point file) is refused.

  Both file commands: the destination may be the source itself; it is replaced only when
  the whole run succeeded, and stays as it was after an error or Ctrl+C. A symbolic link is
  followed (its target is replaced, the link stays); a device or a pipe is written straight
  through; "-" is standard input as SOURCE and standard output as DESTINATION. Names in
  UTF-8 reach a drawing in Windows-1252, as DXF readers take it ("?" for what it cannot
  hold, counted in the summary). A UTF-8 byte-order mark at the start of a point file, a
  stream, a settings file or a catalogue is skipped.

POINTS
  Turns a text file of points, one "name;X;Y;Z" a line in the source system (X first, "."
  as decimal separator), into a drawing of one POINT and one TEXT with the name per line.
  With --text, writes a point file instead: one "name;X;Y;Z" line (CR LF) per line, the
  name as read and the point in the target system, in up to 15 significant digits or with
  --decimals N (0 to 12) decimals. Every line is a point, so no line is skipped or copied.

  With --check, reads its source as the run would and lists every line that would stop
  the run (with its text) and every point that would be rejected, and writes nothing. A
  progress bar shows on a terminal; a summary line ends every run.

HEIGHTS
  dxf and points convert every Z as an ellipsoidal height, unless the window's "keep heights"
  box was ticked when it saved the settings file. --keep-heights writes each Z as the source
  gives it: choose it for levelled (orthometric) heights, which a change of datum does not
  alter. --convert-heights converts them whatever the settings file says. Where either side
  is cartesian, Z is a coordinate, not a height, and is always converted.

EXIT STATUS
  0  every point was transformed (warnings such as "zone exceeded by less than a degree"
     included)
  1  some point was rejected by an error status (a northing outside the grid, a point more
     than 80 km from the plane origin, ...); its line is still written
  2  bad options, files or input lines (for a check: some line would stop the run)

EXAMPLES
  A UTM zone 23 south point on SAD 69 as SIRGAS 2000 latitude and longitude in degrees:
    zelvora-convert --from grid --from-datum "SAD 69" --from-family utm --from-cm -45 --south \
        --to geodetic --to-datum "SIRGAS 2000" --angle-format 0 point 7395000 333000 760

  A file of UTM points from zone 23 into zone 24, with each point's status:
    zelvora-convert --from grid --to grid --from-cm -45 --to-cm -39 --south \
        stream --status < zone23.txt > zone24.txt

  Geocentric X Y Z of a point typed in degrees, minutes and seconds (-23°32'51"):
    zelvora-convert --from geodetic --to cartesian --angle-format 2 point -23.3251 -46.3802 760

  A point file from SAD 69 to SIRGAS 2000 in UTM zone 23 south, written back as a point
  file with millimetres:
    zelvora-convert --from grid --to grid --from-cm -45 --to-cm -45 --south \
        --from-datum "SAD 69" --to-datum "SIRGAS 2000" points --text --decimals 3 \
        marcos.txt marcos-sirgas.txt

  A drawing in UTM zone 23 south on SAD 69 carried into SIRGAS 2000, checked first:
    zelvora-convert --from grid --to grid --from-cm -45 --to-cm -45 --south \
        --from-datum "SAD 69" --to-datum "SIRGAS 2000" dxf --check plan.dxf
    zelvora-convert --from grid --to grid --from-cm -45 --to-cm -45 --south \
        --from-datum "SAD 69" --to-datum "SIRGAS 2000" dxf plan.dxf plan-sirgas.dxf
)";

// The three ways to run the tool head the help, before the options.
class ToolFormatter : public CLI::Formatter {
public:
    std::string make_description(const CLI::App* app) const override
    {
        return app->get_parent() ? CLI::Formatter::make_description(app) : std::string();
    }
    std::string make_usage(const CLI::App* app, std::string name) const override
    {
        return app->get_parent() ? CLI::Formatter::make_usage(app, name) : std::string(kUsage);
    }
};

// The subcommands, for run() to see which one was given.
struct Commands {
    CLI::App* point;
    CLI::App* stream;
    CLI::App* dxf;
    CLI::App* points;
    CLI::App* settings;
};

struct Arguments {
    std::optional<std::string> settings, datums;
    bool noSettings = false;
    StateOptions state;
    std::optional<std::string> decimal, thousands;
    bool listDatums = false;
    bool listCrs = false;
    std::vector<std::string> values;
    bool withStatus = false;
    FileCommand file;
    std::optional<unsigned> threads;
    std::optional<int> decimals;  // stream and points --text
};

void addSide(CLI::App& app, SideOptions& side, const std::string& prefix, const std::string& group)
{
    app.add_option(prefix, side.kind, "coordinate system")
        ->type_name("grid|geodetic|cartesian|local|EPSG:CODE")
        ->group(group);
    app.add_option(prefix + "-datum", side.datum, "datum, by its name or its index")
        ->type_name("NAME|INDEX")
        ->group(group);
    app.add_option(prefix + "-family", side.family, "grid family")
        ->type_name("utm|ltm|rtm|other")
        ->group(group);
    app.add_option(prefix + "-cm", side.centralMeridian, "central meridian, in the angle format")
        ->type_name("ANGLE")
        ->group(group);
    app.add_option(prefix + "-k0", side.k0, "family other: central scale factor")
        ->type_name("K0")
        ->group(group);
    app.add_option(prefix + "-zone-width", side.zoneWidth, "family other: zone width, degrees")
        ->type_name("DEG")
        ->group(group);
    app.add_option(prefix + "-false-northing", side.falseNorthing,
                   "family other: false northing, metres")
        ->type_name("M")
        ->group(group);
    app.add_option(prefix + "-false-easting", side.falseEasting,
                   "family other: false easting, metres")
        ->type_name("M")
        ->group(group);
    app.add_option(prefix + "-origin", side.origin, "local plane origin and altitude")
        ->type_name("LAT,LON,H,X,Y")
        ->group(group);
}

void fail(const std::string& message) { std::cerr << "zelvora-convert: " << message << '\n'; }

// Where a file lies: the option's path, or where the window reads it (the user's own in the
// config folder, else the one beside the program or in share/zelvora).
fs::path fileOf(const std::optional<std::string>& option, const char* name)
{
    if (option) return fs::path(*option);
    return locateProgramFiles(runningProgramFolder(), userConfigFolder()).readable(name);
}

// The state a run starts from, and where it came from in words.
struct StartingState {
    WindowState state;
    std::string from;
};

// The settings file named, else the window's own where there is one, else the start-up values
// (said on standard error, unless --no-settings asked for them). A settings file that cannot be
// used whole stops the run: a script must not go on with a datum or a zone other than the one
// its file chose.
StartingState startingState(const Arguments& a, int QuantDatum, const NumberFormat& user)
{
    const WindowState startup = startupState(user);
    const std::string startupValues = "the start-up values";
    if (a.noSettings) return {settingsWithoutFile(startup, QuantDatum), startupValues};
    const fs::path settingsFile = fileOf(a.settings, kSettingsFileName);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(settingsFile, error))) {
        if (a.settings)
            throw UsageError("the settings file \"" + settingsFile.string() + "\" does not exist");
        fail("no settings file at \"" + settingsFile.string() +
             "\"; the start-up values are used (\"zelvora-convert settings\" shows them)");
        return {settingsWithoutFile(startup, QuantDatum), startupValues};
    }
    const SettingsReading settings = Le_Config(settingsFile, startup, QuantDatum, user);
    if (settings.fault)
        throw UsageError(*settings.fault +
                         "; nothing was run (mend the file, or run on the start-up values with "
                         "--no-settings)");
    return {settings.state, "the settings file \"" + settingsFile.string() + "\""};
}

// The grids of the two datums when the datum stage will run, read before the run; each that
// cannot serve is said on standard error now and returned for the summary.
std::vector<std::string> attachGrids(DatumCatalogue& catalogue, const WindowState& state,
                                     const fs::path& datumsFile)
{
    if (state.ComboBox9 == state.ComboBox10) return {};
    GridShelf shelf(
        gridFolders(fs::absolute(datumsFile).parent_path(), userConfigFolder() / "zelvora"));
    std::vector<std::string> notes;
    for (const GridProblem& problem :
         shelf.attach(catalogue, {state.ComboBox9, state.ComboBox10})) {
        notes.push_back(gridProblemMessage(problem, Language::English));
        fail(notes.back());
    }
    return notes;
}

int runFiles(const Arguments& a, const WindowState& state, const DatumCatalogue& catalogue,
             const NumberFormat& user, const std::vector<std::string>& gridNotes)
{
    if (!a.file.check && !a.file.destination)
        throw UsageError("say where to write: a DESTINATION after the SOURCE, or --check");
    if (a.decimals && !a.file.text)
        throw UsageError(
            "--decimals sets the decimals of stream and of points --text; a "
            "drawing is written in up to 15 significant digits");
    FileCommand file = a.file;
    file.decimals = a.decimals;
    return runFileCommand(file, state, catalogue, user, gridNotes);
}

int runPoint(const WindowState& state, const DatumCatalogue& catalogue, const NumberFormat& user)
{
    TGeo engine;
    const SinglePointResult r = transformSinglePoint(state, catalogue.ListaDatum(), engine, user,
                                                     interfaceResultTexts(), {});
    if (r.message) std::cout << *r.message << '\n';
    for (const std::string& line : r.lines) std::cout << line << '\n';
    return r.status.firstError() != 0 ? kRejected : kSuccess;
}

int runStreamOn(const WindowState& state, const DatumCatalogue& catalogue, const NumberFormat& user,
                const Arguments& a)
{
    const unsigned threads = a.threads ? *a.threads : std::thread::hardware_concurrency();
    const StreamSummary summary = runStream(stdin, stdout, state, catalogue.ListaDatum(), user,
                                            {a.withStatus, a.decimals}, threads);
    if (summary.outsideGrid > 0)
        fail(std::to_string(summary.outsideGrid) + " of " + std::to_string(summary.points) +
             " points outside the datum's grid, shifted by the datum's parameters");
    if (summary.rejected == 0) return kSuccess;
    fail(std::to_string(summary.rejected) + " of " + std::to_string(summary.points) +
         " points rejected, the first on line " + std::to_string(summary.firstRejectedLine) + ": " +
         std::string(MensagemIdioma(summary.firstRejectedCode, state.ComboBox1)) + " (status " +
         std::to_string(summary.firstRejectedCode) + ")");
    return kRejected;
}

int run(const Arguments& a, const Commands& commands)
{
    const NumberFormat user = userNumberFormat(a.decimal, a.thousands);
    if (a.listCrs) {
        std::cout << crsListing();
        return kSuccess;
    }

    const fs::path datumsFile = fileOf(a.datums, kCatalogueFileName);
    if (a.datums && !fs::exists(datumsFile))
        throw UsageError("the datum catalogue \"" + datumsFile.string() + "\" does not exist");
    CatalogueReading catalogue = loadCatalogue(datumsFile);
    if (catalogue.problem) fail(*catalogue.problem);
    if (a.listDatums) {
        std::cout << datumListing(catalogue.catalogue, user);
        return kSuccess;
    }
    const bool files = commands.dxf->parsed() || commands.points->parsed();
    if (!commands.point->parsed() && !commands.stream->parsed() && !files &&
        !commands.settings->parsed())
        throw UsageError(
            "say what to do: point, stream, dxf, points, settings, --list-datums or --list-crs "
            "(--help "
            "explains them)");

    const StartingState start = startingState(a, catalogue.catalogue.QuantDatum(), user);
    WindowState state = start.state;
    applyOptions(state, a.state, catalogue.catalogue, user);
    if (commands.settings->parsed()) {
        std::cout << settingsInWords(state, catalogue.catalogue, user, start.from);
        return kSuccess;
    }
    const std::vector<std::string> gridNotes = attachGrids(catalogue.catalogue, state, datumsFile);
    try {
        if (files) return runFiles(a, state, catalogue.catalogue, user, gridNotes);
        if (commands.point->parsed()) {
            if (!a.values.empty()) typePoint(state, a.values, user);
            return runPoint(state, catalogue.catalogue, user);
        }
        return runStreamOn(state, catalogue.catalogue, user, a);
    } catch (const BoxConversionError& error) {
        // The options and the point were read as they were given: the box came from the file.
        throw UsageError(start.from + ", line " + std::to_string(settingsLineOfBox(error.box)) +
                         ": " + error.what());
    }
}

void addGlobalOptions(CLI::App& app, Arguments& a)
{
    const std::string files = "Files";
    app.add_option("--settings", a.settings, "settings file (default: the window's Zelvora.Cfg)")
        ->type_name("FILE")
        ->group(files);
    app.add_flag("--no-settings", a.noSettings,
                 "start from the start-up values, not from a settings file")
        ->excludes("--settings")
        ->group(files);
    app.add_option("--datums", a.datums, "datum catalogue (default: the window's Datum.Cfg)")
        ->type_name("FILE")
        ->group(files);
    app.add_flag("--list-datums", a.listDatums,
                 "print the catalogue: index, name, a, 1/f, dx, dy, dz")
        ->group(files);
    app.add_flag("--list-crs", a.listCrs,
                 "print the EPSG codes --from and --to take: code, name, what they set")
        ->group(files);

    const std::string source = "Source system (De:)", target = "Target system (Para:)";
    addSide(app, a.state.from, "--from", source);
    app.add_flag("--south", a.state.south, "the source grid point is south of the equator")
        ->group(source);
    app.add_flag("--north", a.state.north, "the source grid point is north of the equator")
        ->group(source);
    addSide(app, a.state.to, "--to", target);

    const std::string numbers = "Numbers and language";
    app.add_option("--angle-format", a.state.angleFormat,
                   "0 degrees ±GGG.GGGGGG, 1 minutes ±GGG.MMMMM, 2 seconds ±GGG.MMSSSS (the "
                   "start-up format: -45.3 is 45°30')")
        ->type_name("0|1|2")
        ->group(numbers);
    app.add_option("--lang", a.state.language, "language of messages and result labels")
        ->type_name("pt|en|es")
        ->group(numbers);
    app.add_option("--decimal", a.decimal, "decimal separator (default: from LC_NUMERIC)")
        ->type_name("CHAR")
        ->group(numbers);
    app.add_option("--thousands", a.thousands, "thousands separator; \"\" for none")
        ->type_name("TEXT")
        ->group(numbers);
}

void addDecimals(CLI::App* command, Arguments& a)
{
    command
        ->add_option("--decimals", a.decimals,
                     "write every value with N decimals, 0 to " +
                         std::to_string(kMostChosenDecimals) +
                         " (default: up to 15 significant digits)")
        ->type_name("N")
        ->check(CLI::Range(0, kMostChosenDecimals));
}

CLI::App* addFileCommand(CLI::App& app, Arguments& a, const char* name, FileCommand::Kind kind,
                         const char* description)
{
    auto* command = app.add_subcommand(name, description);
    command->add_option("source", a.file.source, "the file to transform (\"-\": standard input)")
        ->type_name("SOURCE")
        ->required();
    command
        ->add_option("destination", a.file.destination,
                     "the file to write (\"-\": standard output)")
        ->type_name("DESTINATION");
    command->add_flag("--check", a.file.check,
                      "list the lines that would stop the run or be rejected; write nothing");
    command->add_flag("--keep-heights", a.state.keepHeights,
                      "write each Z as given: for levelled heights, which a datum change "
                      "does not alter");
    command->add_flag("--convert-heights", a.state.convertHeights,
                      "convert each Z as an ellipsoidal height, whatever the settings say");
    command->parse_complete_callback([&a, kind] { a.file.kind = kind; });
    return command;
}

Commands addCommands(CLI::App& app, Arguments& a)
{
    Commands c{};
    c.point = app.add_subcommand("point", "transform one point, as the window's \"->\" does");
    c.point->add_option("values", a.values, "the source point: three values (see POINT below)")
        ->type_name("VALUES");
    c.stream = app.add_subcommand("stream", "transform one point a line, standard input to output");
    c.stream->add_flag("--status", a.withStatus, "append each point's status code");
    c.stream
        ->add_option("--threads", a.threads, "engines at work at once (default: one a processor)")
        ->type_name("N")
        ->check(CLI::Range(1u, 256u));
    addDecimals(c.stream, a);
    c.dxf = addFileCommand(app, a, "dxf", FileCommand::Drawing, "rewrite an ASCII DXF drawing");
    c.points = addFileCommand(app, a, "points", FileCommand::Points,
                              "turn a name;X;Y;Z point file into a drawing");
    c.points->add_flag("--text", a.file.text, "write a name;X;Y;Z point file, not a drawing");
    addDecimals(c.points, a);
    c.settings = app.add_subcommand(
        "settings", "print the settings a run starts from, with the options applied, in words");
    return c;
}

int convert(int argc, char** argv)
{
    CLI::App app("", "zelvora-convert");
    app.formatter(std::make_shared<ToolFormatter>());
    app.get_formatter()->column_width(36);
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("zelvora-convert ") + ZELVORA_VERSION);
    app.fallthrough();
    app.require_subcommand(0, 1);

    Arguments a;
    addGlobalOptions(app, a);
    const Commands commands = addCommands(app, a);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kSuccess : kBadInput;
    }

    try {
        return run(a, commands);
    } catch (const std::exception& e) {
        // Usage, a box that is not a number, a side without a datum, a line that cannot be read.
        fail(e.what());
    }
    return kBadInput;
}

}  // namespace

int main(int argc, char** argv)
{
    // Ctrl+C, a closed terminal or a kill in the middle of a file run leave no temporary file.
    removeTemporaryFilesOnSignals();
    // What escapes a run (memory exhausted while the options are set up, say) still ends with a
    // message and the status of a refused run, not with an abort.
    try {
        return convert(argc, argv);
    } catch (const std::exception& e) {
        fail(e.what());
    } catch (...) {
        fail("unexpected failure");
    }
    return kBadInput;
}
