#include "config/CrsCodes.h"

#include "transform/text/CoordinateKinds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <initializer_list>
#include <string_view>

namespace {

// Codes that number consecutive zones of one hemisphere: firstCode is zone firstZone.
struct ZoneRun {
    int firstCode;
    int firstZone;
    int lastZone;
    bool south;
    const char* label = "UTM zone";  // Australia numbers its UTM zones as "MGA zone"
};

// A datum of the shipped catalogue and its systems in the registry (0 where it has none).
struct DatumSystems {
    const char* registryName;
    const char* catalogueName;
    int geographic2D;
    int geographic3D;
    int geocentric;
    std::initializer_list<ZoneRun> zones;
};

// From the EPSG registry (version 10 as PROJ 9.1 ships it); every code is checked against it by
// the tests.
// clang-format off
const std::array<DatumSystems, 40> kDatums{{
    {"WGS 84", "WGS 84", 4326, 4979, 4978, {{32601, 1, 60, false}, {32701, 1, 60, true}}},
    {"SIRGAS 2000", "SIRGAS 2000", 4674, 4989, 4988,
     {{31965, 11, 22, false}, {6210, 23, 24, false}, {31977, 17, 25, true}, {5396, 26, 26, true}}},
    {"SAD69", "SAD 69", 4618, 0, 0,
     {{5463, 17, 17, false}, {29168, 18, 22, false}, {29187, 17, 25, true}}},
    {"SAD69(96)", "SAD 69(96)", 5527, 0, 0,
     {{5875, 18, 20, true}, {5531, 21, 21, true}, {5858, 22, 22, true}, {5533, 23, 25, true}}},
    {"Corrego Alegre 1970-72", "Córrego Alegre 1970-72", 4225, 0, 0, {{22521, 21, 25, true}}},
    {"Aratu", "Aratu", 4208, 0, 0, {{20822, 22, 24, true}, {5337, 25, 25, true}}},
    {"Chua", "Chuá", 4224, 0, 0, {{4071, 23, 23, true}}},
    {"PSAD56", "PSAD56", 4248, 0, 0, {{24817, 17, 21, false}, {24877, 17, 22, true}}},
    {"Campo Inchauspe", "Campo Inchauspe", 4221, 0, 0, {{2315, 19, 20, true}}},
    {"Bogota 1975", "Bogotá 1975", 4218, 0, 0, {{21818, 18, 18, false}}},
    {"NAD27", "NAD27", 4267, 0, 0, {{26701, 1, 22, false}, {3370, 59, 60, false}}},
    {"NAD83", "NAD83", 4269, 0, 0,
     {{26901, 1, 23, false}, {9712, 24, 24, false}, {3372, 59, 60, false}}},
    {"ED50", "ED50", 4230, 0, 0, {{23028, 28, 38, false}}},
    {"ETRS89", "ETRS89", 4258, 4937, 4936, {{25828, 28, 37, false}}},
    {"OSGB36", "OSGB36", 4277, 0, 0, {}},
    {"Pulkovo 1942", "Pulkovo 1942", 4284, 0, 0, {}},
    {"Tokyo", "Tokyo", 4301, 0, 0, {{3092, 51, 55, false}}},
    {"GDA94", "GDA94", 4283, 4939, 4938, {{28348, 48, 58, true, "MGA zone"}}},
    {"Arc 1960", "Arc 1960", 4210, 0, 0, {{21095, 35, 37, false}, {21035, 35, 37, true}}},
    {"Indian 1975", "Indian 1975", 4240, 0, 0, {{24047, 47, 48, false}}},
    {"AGD66", "AGD66", 4202, 0, 0, {}},
    {"AGD84", "AGD84", 4203, 0, 0, {}},
    {"Adindan", "Adindan", 4201, 0, 0, {{20135, 35, 38, false}}},
    {"Arc 1950", "Arc 1950", 4209, 0, 0, {{20934, 34, 36, true}}},
    {"Cape", "Cape", 4222, 0, 0, {{22234, 34, 35, true}}},
    {"Hartebeesthoek94", "Hartebeesthoek94", 4148, 4941, 4940, {}},
    {"Minna", "Minna", 4263, 0, 0, {{26331, 31, 32, false}}},
    {"Nord Sahara 1959", "Nord Sahara 1959", 4307, 0, 0, {{30729, 29, 32, false}}},
    {"Kalianpur 1975", "Kalianpur 1975", 4146, 0, 0, {{24342, 42, 47, false}}},
    {"Kertau 1968", "Kertau 1968", 4245, 0, 0, {{24547, 47, 48, false}}},
    {"Timbalai 1948", "Timbalai 1948", 4298, 0, 0, {{29849, 49, 50, false}}},
    {"Luzon 1911", "Luzon 1911", 4253, 0, 0, {}},
    {"NZGD49", "NZGD49", 4272, 0, 0, {{27258, 58, 60, true}}},
    {"Old Hawaiian", "Old Hawaiian", 4135, 0, 0, {}},
    {"Ain el Abd", "Ain el Abd", 4204, 0, 0, {{20436, 36, 40, false}}},
    {"Hu Tzu Shan 1950", "Hu Tzu Shan 1950", 4236, 0, 0, {{3829, 51, 51, false}}},
    {"DHDN", "DHDN", 4314, 0, 0, {}},
    {"Amersfoort", "Amersfoort", 4289, 0, 0, {}},
    {"S-JTSK", "S-JTSK", 4156, 0, 0, {}},
    {"BD72", "Belge 1972", 4313, 0, 0, {}},
}};
// clang-format on

std::vector<CrsDefinition> buildTable()
{
    std::vector<CrsDefinition> table;
    for (const DatumSystems& d : kDatums) {
        const std::string name = d.registryName;
        for (const int code : {d.geographic2D, d.geographic3D})
            if (code != 0) table.push_back({code, name, CoordinateKind::Geodetic, d.catalogueName});
        if (d.geocentric != 0)
            table.push_back({d.geocentric, name, CoordinateKind::Cartesian, d.catalogueName});
        for (const ZoneRun& run : d.zones) {
            // "MGA zone 56" is south of the equator by definition and says no hemisphere.
            const bool lettered = std::string_view(run.label) == "UTM zone";
            for (int zone = run.firstZone; zone <= run.lastZone; ++zone)
                table.push_back({run.firstCode + zone - run.firstZone,
                                 name + " / " + run.label + ' ' + std::to_string(zone) +
                                     (lettered ? (run.south ? "S" : "N") : ""),
                                 CoordinateKind::Grid, d.catalogueName, zone, run.south});
        }
    }
    std::sort(table.begin(), table.end(),
              [](const CrsDefinition& a, const CrsDefinition& b) { return a.code < b.code; });
    return table;
}

const std::vector<CrsDefinition>& table()
{
    static const std::vector<CrsDefinition> kTable = buildTable();
    return kTable;
}

}  // namespace

std::optional<CrsDefinition> crsByCode(int code)
{
    const auto& codes = table();
    const auto found = std::lower_bound(codes.begin(), codes.end(), code,
                                        [](const CrsDefinition& definition, int wanted) {
                                            return definition.code < wanted;
                                        });
    if (found == codes.end() || found->code != code) return std::nullopt;
    return *found;
}

std::optional<int> epsgCode(const std::string& text)
{
    constexpr std::string_view kPrefix = "epsg:";
    if (text.size() <= kPrefix.size()) return std::nullopt;
    for (std::size_t i = 0; i < kPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kPrefix[i]) return std::nullopt;
    int code = 0;
    const char* first = text.data() + kPrefix.size();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, code);
    if (error != std::errc() || end != last || *first == '-' || *first == '+') return std::nullopt;
    return code;
}

std::vector<CrsDefinition> allCrsCodes() { return table(); }
