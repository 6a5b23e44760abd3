// The pipeline's documented behaviour: the order in which boxes are read, which status becomes
// the message, which result lines appear, and the conventions of Processa.
#include "tests/core/ntv2_file.h"
#include "tests/transform/Formats.h"
#include "transform/text/NumberText.h"
#include "tests/transform/pipeline_support.h"
#include "tests/transform/result_labels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace pipeline_test;
namespace Kind = CoordinateKind;
namespace Fam = GridFamily;

const NumberFormat kUser = commaDecimalDotThousands();

// ---- Reading order ----

struct OrderCase {
    const char* why;
    Side from, to;
    std::vector<int> boxes;  // the edit boxes read, in order
};

const OrderCase kSinglePointOrder[] = {
    {"grid to grid, UTM", {Kind::Grid, kSad69}, {Kind::Grid, kSad69}, {1, 2, 13, 27, 20}},
    {"grid to grid, both user-defined",
     {Kind::Grid, kSad69, Fam::UserDefined},
     {Kind::Grid, kWgs84, Fam::UserDefined},
     {5, 8, 7, 6, 1, 2, 13, 27, 9, 12, 11, 10, 20}},
    {"geodetic source with a hidden user-defined family",
     {Kind::Geodetic, kSad69, Fam::UserDefined},
     {Kind::Cartesian, kSad69},
     {5, 8, 7, 6, 25, 26, 27}},
    {"geocentric to plane",
     {Kind::Cartesian, kSad69},
     {Kind::Topographic, kWgs84},
     {28, 29, 30, 14, 21, 22, 23, 24}},
    {"plane to geodetic",
     {Kind::Topographic, kSad69},
     {Kind::Geodetic, kSad69},
     {15, 16, 17, 18, 19, 3, 4, 27}},
    {"plane to a user-defined grid",
     {Kind::Topographic, kSad69, Fam::Ltm},
     {Kind::Grid, kSad69, Fam::UserDefined},
     {15, 16, 17, 18, 19, 3, 4, 27, 9, 12, 11, 10, 20}},
    {"plane to plane",
     {Kind::Topographic, kSad69},
     {Kind::Topographic, kSad69},
     {15, 16, 17, 18, 19, 3, 4, 27, 14, 21, 22, 23, 24}},
};

// Processa reads no point box: the point is its arguments.
const OrderCase kProcessaOrder[] = {
    {"grid to grid, both user-defined",
     {Kind::Grid, kSad69, Fam::UserDefined},
     {Kind::Grid, kWgs84, Fam::UserDefined},
     {5, 8, 7, 6, 13, 9, 12, 11, 10, 20}},
    {"plane to plane",
     {Kind::Topographic, kSad69},
     {Kind::Topographic, kSad69},
     {15, 16, 17, 18, 19, 14, 21, 22, 23, 24}},
    {"geodetic to geocentric with a hidden user-defined family",
     {Kind::Geodetic, kSad69, Fam::UserDefined},
     {Kind::Cartesian, kWgs84},
     {5, 8, 7, 6}},
    {"geocentric to geodetic", {Kind::Cartesian, kSad69}, {Kind::Geodetic, kWgs84}, {}},
};

std::string badText(int box) { return "bad" + std::to_string(box); }

// Boxes outside the case are never valid, so reading one fails the case; the case's boxes from
// `firstBad` on are invalid too, so the first read among them names itself.
WindowState withBadBoxes(WindowState state, const std::vector<int>& boxes, std::size_t firstBad)
{
    for (int n = 1; n <= 30; ++n)
        if (std::find(boxes.begin(), boxes.end(), n) == boxes.end())
            editBox(state, n) = "never" + std::to_string(n);
    for (std::size_t i = firstBad; i < boxes.size(); ++i)
        editBox(state, boxes[i]) = badText(boxes[i]);
    return state;
}

std::string floatError(const std::string& text)
{
    return "'" + text + "' is not a valid floating point value";
}

TEST(SinglePointReadingOrder, EachBoxIsReadInItsTurnAndTheResultIsClearedAfterTheSourceFamily)
{
    const auto datums = testCatalogue();
    for (const OrderCase& c : kSinglePointOrder) {
        SCOPED_TRACE(c.why);
        for (std::size_t i = 0; i <= c.boxes.size(); ++i) {
            const WindowState state = withBadBoxes(stateFor(kUser, c.from, c.to), c.boxes, i);
            auto engine = startupEngine();
            bool cleared = false;
            const auto run = [&] {
                return transformSinglePoint(state, datums, *engine, kUser, namingTexts(),
                                            [&] { cleared = true; });
            };
            if (i == c.boxes.size()) {
                EXPECT_NO_THROW(run());
                EXPECT_TRUE(cleared);
                continue;
            }
            const int box = c.boxes[i];
            SCOPED_TRACE("Edit" + std::to_string(box));
            try {
                run();
                ADD_FAILURE() << "no conversion error";
            } catch (const ConversionError& e) {
                EXPECT_EQ(e.what(), floatError(badText(box)));
            }
            const bool sourceFamilyBox = box >= 5 && box <= 8;
            EXPECT_EQ(cleared, !sourceFamilyBox);
        }
    }
}

TEST(ProcessaReadingOrder, EachSettingIsReadInItsTurnAndNoPointBoxIsRead)
{
    const auto datums = testCatalogue();
    for (const OrderCase& c : kProcessaOrder) {
        SCOPED_TRACE(c.why);
        for (std::size_t i = 0; i <= c.boxes.size(); ++i) {
            const WindowState state = withBadBoxes(stateFor(kUser, c.from, c.to), c.boxes, i);
            auto engine = startupEngine();
            Processa processa(state, datums, *engine, kUser);
            if (i == c.boxes.size()) {
                EXPECT_NO_THROW(processa(4510272, -4510272, 0));
                continue;
            }
            SCOPED_TRACE("Edit" + std::to_string(c.boxes[i]));
            try {
                processa(4510272, -4510272, 0);
                ADD_FAILURE() << "no conversion error";
            } catch (const ConversionError& e) {
                EXPECT_EQ(e.what(), floatError(badText(c.boxes[i])));
            }
        }
    }
}

TEST(ProcessaReadingOrder, ABadSettingFailsAtTheFirstPointNotBefore)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Grid, kSad69});
    state.Edit20 = "-45.5";  // the user's separator is ","
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    EXPECT_THROW(processa(-45, -22, 0), ConversionError);
    EXPECT_THROW(processa(-45, -22, 0), ConversionError);
}

TEST(ReadingAngles, AMinutesFormatRefusesAnExponentFormWithTheIntegerMessage)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Grid, kSad69}, {Kind::Grid, kSad69});
    state.Edit13 = "0,00005";
    auto engine = startupEngine();
    try {
        transformSinglePoint(state, datums, *engine, kUser, namingTexts(), {});
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'5E-5' is not a valid integer value");
    }
}

// ---- The message ----

struct PrecedenceCase {
    const char* why;
    Side from, to;
    void (*set)(WindowState&);
    StageStatuses expected;
    int shown;  // the message's code, 0 for none
    int language;
};

const PrecedenceCase kPrecedence[] = {
    {"a source warning hides a later target error",
     {Kind::Grid, kSad69},
     {Kind::Grid, kSad69},
     [](WindowState& s) {
         s.ComboBox14 = 1;
         s.Edit1 = "7500000";
         s.Edit2 = "500000";
         s.Edit13 = "-44";  // no UTM meridian: warning 3
         s.Edit20 = "45";   // 89 degrees from the point: error 2
     },
     {3, 0, 2},
     3,
     0},
    {"a datum error comes before a target error",
     {Kind::Geodetic, kSad69},
     {Kind::Grid, kWgs84},
     [](WindowState& s) {
         s.Edit25 = "95";  // passes the geodetic source unchecked; the datum change refuses it
         s.Edit26 = "-45";
     },
     {0, 4, 2},
     4,
     1},
    {"a source warning hides a datum error",
     {Kind::Topographic, kSad69},
     {Kind::Geodetic, kBadAxis},
     [](WindowState& s) {
         s.Edit3 = "210000";  // 60 km east of the origin: warning 9
         s.Edit4 = "250000";
     },
     {9, 8, 0},
     9,
     2},
    {"a source error with clean later stages",
     {Kind::Grid, kSad69},
     {Kind::Cartesian, kSad69},
     [](WindowState& s) { s.Edit1 = "20000000"; },
     {6, 0, 0},
     6,
     0},
    {"a target warning alone",
     {Kind::Geodetic, kSad69},
     {Kind::Grid, kSad69},
     [](WindowState& s) {
         s.Edit25 = "-22";
         s.Edit26 = "-48,3";  // -48 degrees 30 minutes: 3.5 degrees from -45
         s.Edit20 = "-45";
     },
     {0, 0, 1},
     1,
     0},
    {"no status at all",
     {Kind::Geodetic, kSad69},
     {Kind::Geodetic, kSad69},
     [](WindowState&) {},
     {0, 0, 0},
     0,
     0},
};

TEST(SinglePointMessage, TheFirstPositiveStatusOfSourceDatumTargetIsShownAndLinesFollow)
{
    const auto datums = testCatalogue();
    for (const PrecedenceCase& c : kPrecedence) {
        SCOPED_TRACE(c.why);
        WindowState state = stateFor(kUser, c.from, c.to, 2, c.language);
        c.set(state);
        auto engine = startupEngine();
        const SinglePointResult r =
            transformSinglePoint(state, datums, *engine, kUser, namingTexts(), {});
        EXPECT_EQ(r.status, c.expected);
        const int shown = c.shown;
        if (shown == 0) {
            EXPECT_FALSE(r.messageCode);
            EXPECT_FALSE(r.message);
        } else {
            EXPECT_EQ(r.messageCode, shown);
            EXPECT_EQ(r.message,
                      "message " + std::to_string(shown) + " in " + std::to_string(c.language));
        }
        EXPECT_FALSE(r.lines.empty());
    }
}

TEST(StageStatuses, FirstErrorPassesOverWarnings)
{
    EXPECT_EQ((StageStatuses{3, 0, 2}.firstError()), 2);
    EXPECT_EQ((StageStatuses{9, 8, 0}.firstError()), 8);
    EXPECT_EQ((StageStatuses{1, 0, 9}.firstError()), 0);
    EXPECT_EQ((StageStatuses{0, 99, 4}.firstError()), 99);
}

// ---- The result lines as the action composes them ----

ResultTexts portugueseTexts()
{
    ResultTexts texts;
    texts.labels = [](int) { return portugueseLabels(); };
    return texts;
}

TEST(SinglePointLines, TheWorkedExampleWritesSixLinesWithZoneAndScaleFactor)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Grid, kSad69});
    state.Edit25 = "-22,3";  // 22 degrees 30 minutes south
    state.Edit26 = "-45";
    state.Edit27 = "100";
    state.Edit20 = "-45";
    auto engine = startupEngine();
    const auto r = transformSinglePoint(state, datums, *engine, kUser, portugueseTexts(), {});
    ASSERT_EQ(r.lines.size(), 6u);
    EXPECT_EQ(r.lines[0].rfind("(N)orte = 7.", 0), 0u) << r.lines[0];
    EXPECT_EQ(r.lines[1], "l(E)ste = 500.000,000000 m");
    EXPECT_EQ(r.lines[2], "Zona 23 K");
    EXPECT_EQ(r.lines[3], "h = 100,0000 m");
    EXPECT_EQ(r.lines[4], "Covergencia Meridiana = 0°00'00,0000\"");
    EXPECT_EQ(r.lines[5], "K = 0,99960000");
}

bool hasLineStarting(const std::vector<std::string>& lines, const std::string& lead)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(lead, 0) == 0; });
}

TEST(SinglePointLines, TheScaleFactorOnlyForAGeodeticSourceAndTheZoneOnlyForUtm)
{
    const auto datums = testCatalogue();
    struct Case {
        const char* why;
        Side from, to;
        std::size_t lines;
        bool zone, scale;
    };
    const Case cases[] = {
        {"geocentric source to UTM",
         {Kind::Cartesian, kSad69},
         {Kind::Grid, kSad69},
         5,
         true,
         false},
        {"geodetic source to LTM",
         {Kind::Geodetic, kSad69},
         {Kind::Grid, kSad69, Fam::Ltm},
         5,
         false,
         true},
        {"plane source to a user-defined grid",
         {Kind::Topographic, kSad69},
         {Kind::Grid, kSad69, Fam::UserDefined},
         4,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WindowState state = stateFor(kUser, c.from, c.to);
        auto engine = startupEngine();
        const auto r = transformSinglePoint(state, datums, *engine, kUser, portugueseTexts(), {});
        EXPECT_EQ(r.lines.size(), c.lines);
        EXPECT_EQ(hasLineStarting(r.lines, "Zona "), c.zone);
        EXPECT_EQ(hasLineStarting(r.lines, "K = "), c.scale);
    }
}

TEST(SinglePointLines, GeodeticToGeodeticOnOneEntryCallsNoRoutineAndRepeatsThePoint)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Geodetic, kSad69});
    state.Edit25 = "-23,40352344";
    state.Edit26 = "-45";
    state.Edit27 = "100";
    auto engine = startupEngine();
    engine->Status = 77;  // any routine would overwrite it
    const auto r = transformSinglePoint(state, datums, *engine, kUser, portugueseTexts(), {});
    EXPECT_EQ(engine->Status, 77);
    EXPECT_EQ(r.lines,
              (std::vector<std::string>{"Latitude = -23°40'35,2344\"",
                                        "Longitude = -45°00'00,0000\"", "h = 100,0000 m"}));
}

// ---- Where the action stops ----

TEST(SinglePointFailure, ABadHiddenSourceFamilyBoxKeepsThePreviousResult)
{
    const auto datums = testCatalogue();
    WindowState state =
        stateFor(kUser, {Kind::Geodetic, kSad69, Fam::UserDefined}, {Kind::Grid, kSad69});
    state.Edit5 = "0.9996";
    auto engine = startupEngine();
    bool cleared = false;
    EXPECT_THROW(transformSinglePoint(state, datums, *engine, kUser, portugueseTexts(),
                                      [&] { cleared = true; }),
                 ConversionError);
    EXPECT_FALSE(cleared);
}

TEST(SinglePointFailure, NoKindSelectedClearsAndShowsNothing)
{
    const auto datums = testCatalogue();
    for (const auto& [from, to] : {std::pair{-1, 0}, std::pair{0, -1}}) {
        WindowState state = stateFor(kUser, {from, kSad69}, {to, kWgs84});
        auto engine = startupEngine();
        engine->Status = 77;
        bool cleared = false;
        const auto r = transformSinglePoint(state, datums, *engine, kUser, namingTexts(),
                                            [&] { cleared = true; });
        EXPECT_TRUE(cleared);
        EXPECT_TRUE(r.lines.empty());
        EXPECT_FALSE(r.message);
        EXPECT_EQ(engine->Status, 77);
    }
}

struct SelectionCase {
    const char* why;
    std::size_t datums;  // the first so many of the test catalogue
    int source, target;
    const char* message;
};

const SelectionCase kNoDatum[] = {
    {"an empty catalogue", 0, -1, -1, "No datum selected for the source system"},
    {"a source list without selection", 5, -1, kWgs84, "No datum selected for the source system"},
    {"a target list without selection", 5, kSad69, -1, "No datum selected for the target system"},
    {"a target past the last datum", 2, kSad69, 2,
     "No datum selected for the target system: the catalogue has no item 2 (it holds 2 datums, "
     "from 0)"},
};

TEST(NoDatumSelected, BothCallersRefuseBeforeComputingOrClearing)
{
    for (const SelectionCase& c : kNoDatum) {
        SCOPED_TRACE(c.why);
        auto datums = testCatalogue();
        datums.resize(c.datums, datums.front());
        WindowState state = stateFor(kUser, {Kind::Geodetic, c.source}, {Kind::Grid, c.target});
        auto engine = startupEngine();
        engine->Status = 77;
        bool cleared = false;
        try {
            transformSinglePoint(state, datums, *engine, kUser, namingTexts(),
                                 [&] { cleared = true; });
            ADD_FAILURE() << "no error";
        } catch (const SelectionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(cleared);
        Processa processa(state, datums, *engine, kUser);
        EXPECT_THROW(processa(-45, -22, 0), SelectionError);
        EXPECT_EQ(engine->Status, 77);
    }
}

TEST(ProcessaFailure, NoKindSelectedRefusesTheRun)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {-1, kSad69});
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    EXPECT_THROW(processa(-45, -22, 0), SelectionError);
}

// ---- Processa's conventions ----

TEST(Processa, GeodeticValuesAreDecimalDegreesWhateverTheAngleFormat)
{
    const auto datums = testCatalogue();
    for (int format : {0, 1, 2}) {
        SCOPED_TRACE(format);
        WindowState state =
            stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Geodetic, kSad69}, format);
        auto engine = startupEngine();
        Processa processa(state, datums, *engine, kUser);
        const ProcessaResult r = processa(-45.5L, -22.5L, 12.25L);
        EXPECT_EQ(r.X, -45.5L);
        EXPECT_EQ(r.Y, -22.5L);
        EXPECT_EQ(r.Z, 12.25L);
        EXPECT_EQ(r.status, StageStatuses{});
    }
}

TEST(Processa, TheAngleFormatAppliesToTheWindowsMeridian)
{
    const auto datums = testCatalogue();
    // "-45,3" is 45 degrees 30 minutes in the minutes format; the point's -45.5 is taken as is,
    // so the point lies on the central meridian.
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Grid, kSad69}, 1);
    state.Edit20 = "-45,3";
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    const ProcessaResult r = processa(-45.5L, -22.5L, 0);
    EXPECT_NEAR(r.X, 500000, 1e-6);
}

TEST(Processa, TheDatumStageGoesByListPosition)
{
    const auto datums = testCatalogue();
    // 95 degrees passes a geodetic source unchecked, and the datum change refuses it.
    struct Case {
        const char* why;
        int target;
        ProcessaResult expected;
    };
    const Case cases[] = {
        {"the same entry: no datum stage", kSad69, {-45, 95, 12, {0, 0, 0}}},
        {"an entry alike at another position: the stage runs", kSad69Copy, {0, 0, 0, {0, 4, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Geodetic, c.target});
        auto engine = startupEngine();
        Processa processa(state, datums, *engine, kUser);
        const ProcessaResult r = processa(-45, 95, 12);
        EXPECT_EQ(r.X, c.expected.X);
        EXPECT_EQ(r.Y, c.expected.Y);
        EXPECT_EQ(r.Z, c.expected.Z);
        EXPECT_EQ(r.status, c.expected.status);
    }
}

TEST(Processa, APointTheDatumStageRejectsIsWrittenAsZerosNotAsThePreviousPoint)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Geodetic, kWgs84});
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    const ProcessaResult accepted = processa(-45, -22.5L, 100);
    ASSERT_EQ(accepted.status.firstError(), 0);
    ASSERT_NE(accepted.Y, 0);
    const ProcessaResult rejected = processa(-45, 95, 100);
    EXPECT_EQ(rejected.X, 0);
    EXPECT_EQ(rejected.Y, 0);
    EXPECT_EQ(rejected.Z, 0);
    EXPECT_EQ(rejected.status.firstError(), GeoStatus::InvalidLatitude);
    const ProcessaResult next = processa(-45, -22.5L, 100);
    EXPECT_EQ(next.Y, accepted.Y);
}

TEST(Processa, GridOutroHoldsTheSourceFamilyForTheSourceAndTheTargetFamilyAfter)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Grid, kSad69, Fam::UserDefined},
                                 {Kind::Grid, kSad69, Fam::UserDefined});
    state.ComboBox14 = 1;
    state.Edit5 = "0,9996", state.Edit8 = "500000", state.Edit7 = "10000000", state.Edit6 = "6";
    state.Edit9 = "0,9999", state.Edit12 = "300000", state.Edit11 = "5000000", state.Edit10 = "3";
    state.Edit13 = "-45", state.Edit20 = "-45";
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    // On the central meridian the northing is K0 times the meridian arc from the false
    // northing, so the target's follows from the source's by the ratio of the two K0.
    const long double north = 5000000 - 2500000 * (0.9999L / 0.9996L);
    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        const ProcessaResult r = processa(500000, 7500000, 50);
        EXPECT_NEAR(r.X, 300000, 1e-6);
        EXPECT_NEAR(r.Y, north, 1e-4);
        EXPECT_EQ(r.Z, 50);
        EXPECT_EQ(engine->Grid, &engine->GridOutro);
        EXPECT_EQ(engine->GridOutro.K0, 0.9999L);
    }
}

TEST(Processa, PlaneToPlaneSetsTheTargetOriginAfterTheSourceOne)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Topographic, kSad69}, {Kind::Topographic, kSad69});
    state.Edit15 = "-22", state.Edit16 = "-47", state.Edit17 = "700";
    state.Edit18 = "150000", state.Edit19 = "250000";
    state.Edit14 = "-22", state.Edit21 = "-47", state.Edit22 = "700";
    state.Edit23 = "1000", state.Edit24 = "2000";
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    // The source plane's false origin is the common origin point, which the target plane
    // numbers with its own false origin.
    const ProcessaResult r = processa(150000, 250000, 33);
    EXPECT_NEAR(r.X, 1000, 1e-9);
    EXPECT_NEAR(r.Y, 2000, 1e-9);
    EXPECT_EQ(r.Z, 33);
    EXPECT_EQ(engine->OriginX, 1000);
}

TEST(Processa, TheEngineEndsOnTheTargetDatumAndFamily)
{
    const auto datums = testCatalogue();
    WindowState state = stateFor(kUser, {Kind::Geodetic, kSad69}, {Kind::Grid, kWgs84, Fam::Rtm});
    state.Edit20 = "-45";
    auto engine = startupEngine();
    Processa processa(state, datums, *engine, kUser);
    processa(-45, -22, 0);
    EXPECT_EQ(engine->Datum, &datums[kWgs84]);
    EXPECT_EQ(engine->Grid, &engine->GridRTM);
}

}  // namespace

// The datum stage through a grid: a datum whose grid carries it to SIRGAS 2000, the grid a built
// one near 47 N 8 E. Each case's expected point is made from the grid and the engine directly.
TEST(Processa, TheDatumStageGoesThroughTheDatumsGridAndFallsBackOutsideIt)
{
    auto datums = testCatalogue();
    const auto grid =
        std::make_shared<const Ntv2Grid>(ntv2_file::Make(ntv2_file::Nested()), "nested.gsb");
    TDatum gridded = datums[kSad69];
    gridded.Name = "SAD 69 by grid";
    gridded.GridFile = "nested.gsb";
    gridded.GridTarget = "SIRGAS 2000";
    gridded.Grid = grid;
    datums.push_back(gridded);
    const int kGridded = static_cast<int>(datums.size()) - 1;
    TDatum unread = gridded;
    unread.Grid = nullptr;  // its file was not found
    datums.push_back(unread);
    const int kUnread = kGridded + 1;

    TGeo reference;
    const auto shifted = [&](int from, int to, long double lat, long double lon, long double h) {
        reference.Datum = &datums[static_cast<std::size_t>(from)];
        reference.ChangeDatum(datums[static_cast<std::size_t>(to)], lat, lon, h);
        return ProcessaResult{reference.ShiftLon, reference.ShiftLat, reference.ShiftH, {}};
    };
    const long double lat = 47.31L, lon = 8.27L, h = 512.5L;
    const GridPoint forward = *grid->Forward(lat, lon);
    const GridPoint inverse = *grid->Inverse(lat, lon);
    const ProcessaResult onward = shifted(kSirgas, kWgs84, forward.Lat, forward.Lon, h);
    const auto withDatumStatus = [](ProcessaResult r, std::int32_t status) {
        r.status.datum = status;
        return r;
    };
    struct Case {
        const char* why;
        int source, target;
        long double lat, lon;
        ProcessaResult expected;
    };
    const Case cases[] = {
        {"to the grid's own target: the grid alone, the height kept",
         kGridded,
         kSirgas,
         lat,
         lon,
         {forward.Lon, forward.Lat, h, {}}},
        {"beyond it: the grid, then the shift", kGridded, kWgs84, lat, lon, onward},
        {"into the datum: the grid backwards",
         kSirgas,
         kGridded,
         lat,
         lon,
         {inverse.Lon, inverse.Lat, h, {}}},
        {"outside the grid: the datum's shift, said", kGridded, kSirgas, -22.5L, -45,
         withDatumStatus(shifted(kSad69, kSirgas, -22.5L, -45, h), GeoStatus::OutsideGrid)},
        {"a grid not found: the datum's shift, nothing to say", kUnread, kSirgas, lat, lon,
         shifted(kSad69, kSirgas, lat, lon, h)},
        {"a point the shift rejects is rejected",
         kGridded,
         kSirgas,
         95,
         lon,
         {0, 0, 0, {0, GeoStatus::InvalidLatitude, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WindowState state = stateFor(kUser, {Kind::Geodetic, c.source}, {Kind::Geodetic, c.target});
        auto engine = startupEngine();
        Processa processa(state, datums, *engine, kUser);
        const ProcessaResult r = processa(c.lon, c.lat, h);
        EXPECT_EQ(r.X, c.expected.X);
        EXPECT_EQ(r.Y, c.expected.Y);
        EXPECT_EQ(r.Z, c.expected.Z);
        EXPECT_EQ(r.status, c.expected.status);
        EXPECT_EQ(engine->Datum, &datums[static_cast<std::size_t>(c.target)]);
    }
}
