// The EPSG code boxes' logic: what a typed code sets on a side and which code a side's choices
// stand for, against the registry's table of codes.
#include "ui/texts/SideCodes.h"

#include "config/CrsCodes.h"
#include "transform/text/CoordinateKinds.h"
#include "ui/texts/TextTables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const NumberFormat kUser{',', "."};

// Every datum a code is on, so that every code can be taken.
std::vector<std::string> everyDatum()
{
    std::vector<std::string> names;
    for (const CrsDefinition& crs : allCrsCodes())
        if (std::find(names.begin(), names.end(), crs.datum) == names.end())
            names.push_back(crs.datum);
    return names;
}

TEST(SideCodes, EveryCodeTakenIsTheCodeItsSideThenStandsFor)
{
    const std::vector<std::string> names = everyDatum();
    for (const CrsDefinition& crs : allCrsCodes()) {
        SCOPED_TRACE(crs.name);
        for (const WindowSide side : {WindowSide::Source, WindowSide::Target}) {
            WindowState start = startupState(kUser);
            start.ComboBox14 = crs.south ? 0 : 1;  // the other hemisphere
            start.ComboBox16 = start.ComboBox17 = GridFamily::Ltm;
            const TypedCode taken =
                takeTypedCode(std::to_string(crs.code), side, start, names, Language::English);
            ASSERT_TRUE(taken.state) << taken.refusal;
            EXPECT_EQ(sideCode(*taken.state, side, names, kUser, crs.code), crs.code);
            // A source zone is one code of its own; the target's hemisphere is each point's.
            const bool ownCode = side == WindowSide::Source && crs.kind == CoordinateKind::Grid;
            if (ownCode) { EXPECT_EQ(sideCode(*taken.state, side, names, kUser, {}), crs.code); }
            const int hemisphere = side == WindowSide::Target || crs.kind != CoordinateKind::Grid
                                       ? start.ComboBox14
                                       : (crs.south ? 1 : 0);
            EXPECT_EQ(taken.state->ComboBox14, hemisphere);
        }
    }
}

struct MatchCase {
    const char* why;
    int kind, datum, family;
    const char* meridian;
    int angleFormat, hemisphere;
    std::optional<int> code;
};

const MatchCase kSourceMatches[] = {
    {"UTM -45 south on SIRGAS 2000", CoordinateKind::Grid, 1, GridFamily::Utm, "-45", 2, 1, 31983},
    {"the same meridian written with a fraction of zeros", CoordinateKind::Grid, 1, GridFamily::Utm,
     "-45,000", 0, 1, 31983},
    {"-44,60 in degrees and minutes is -45", CoordinateKind::Grid, 1, GridFamily::Utm, "-44,60", 1,
     1, 31983},
    {"a meridian between whole degrees", CoordinateKind::Grid, 1, GridFamily::Utm, "-45,5", 0, 1,
     std::nullopt},
    {"a whole degree that no zone is centred on", CoordinateKind::Grid, 1, GridFamily::Utm, "-46",
     0, 1, std::nullopt},
    {"a meridian box that does not read", CoordinateKind::Grid, 1, GridFamily::Utm, "-45x", 0, 1,
     std::nullopt},
    {"LTM is no UTM zone", CoordinateKind::Grid, 1, GridFamily::Ltm, "-45", 0, 1, std::nullopt},
    {"north of zone 23", CoordinateKind::Grid, 1, GridFamily::Utm, "-45", 0, 0, 6210},
    {"geodetic: the lower, 2D code", CoordinateKind::Geodetic, 0, GridFamily::Ltm, "x", 0, -1,
     4326},
    {"geocentric", CoordinateKind::Cartesian, 0, GridFamily::Utm, "-45", 0, 1, 4978},
    {"a local plane", CoordinateKind::Topographic, 0, GridFamily::Utm, "-45", 0, 1, std::nullopt},
    {"no datum chosen", CoordinateKind::Geodetic, -1, GridFamily::Utm, "-45", 0, 1, std::nullopt},
};

TEST(SideCodes, TheSourceStandsForTheCodeItsChoicesMatch)
{
    const std::vector<std::string> names = {"WGS 84", "SIRGAS 2000"};
    for (const MatchCase& c : kSourceMatches) {
        SCOPED_TRACE(c.why);
        WindowState state = startupState(kUser);
        state.ComboBox7 = c.kind;
        state.ComboBox9 = c.datum;
        state.ComboBox16 = c.family;
        state.Edit13 = c.meridian;
        state.ComboBox2 = c.angleFormat;
        state.ComboBox14 = c.hemisphere;
        EXPECT_EQ(sideCode(state, WindowSide::Source, names, kUser, {}), c.code);
    }
}

TEST(SideCodes, RefusalsChangeNothingAndSayWhyInEachLanguage)
{
    const std::vector<std::string> names = {"WGS 84"};
    const WindowState start = startupState(kUser);
    struct Refused {
        const char* typed;
        int language;
        const char* message;
    };
    const Refused refusals[] = {
        {"31983x", Language::Portuguese,
         "'31983x' não é um código EPSG: digite o número, como 31983 ou EPSG:31983."},
        {"EPSG:1", Language::Spanish,
         "EPSG:1 no es un sistema que el programa configure: conoce los sistemas geográficos, "
         "geocéntricos y UTM de los datums que lo acompañan."},
        {"31983", Language::Portuguese,
         "EPSG:31983 (SIRGAS 2000 / UTM zone 23S) está no datum 'SIRGAS 2000', que a lista de "
         "datums não tem; inclua-o com o botão Datum."},
        {"", Language::English, "'' is not an EPSG code: type its number, as 31983 or EPSG:31983."},
    };
    for (const Refused& r : refusals) {
        SCOPED_TRACE(r.typed);
        const TypedCode taken =
            takeTypedCode(r.typed, WindowSide::Target, start, names, r.language);
        EXPECT_FALSE(taken.state);
        EXPECT_EQ(taken.refusal, r.message);
    }
}

}  // namespace
