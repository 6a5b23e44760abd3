// The shipped catalogue, data/Datum.Cfg, read through the program's own loader and checked
// against the EPSG dataset that PROJ carries.
//
// Every line names the EPSG transformation its shifts come from (the table below; data/README.md
// says why each one was chosen). For each datum the test asks PROJ for that coordinate operation
// and checks that it is a geocentric translation to WGS 84 (EPSG:4326), that the datum's
// ellipsoid is the one of the operation's source CRS, that Dx, Dy, Dz are the operation's
// translation figures, and that the engine's ChangeDatum to WGS 84 carries points of the
// operation's area of use (its centre and corners) to where PROJ's pipeline for the same
// operation puts them, within a centimetre in three dimensions. That last check is the one that
// settles the sign convention: X(WGS 84) = X(datum) + Dx is EPSG's "geocentric translations".
#include "config/CrsCodes.h"
#include "config/DatumCatalogue.h"

#include <gtest/gtest.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct ShippedDatum {
    const char* name;    // as the program holds it, UTF-8
    int transformation;  // EPSG code of the transformation to WGS 84; 0 for WGS 84 itself
    // A datum with a grid: the EPSG grid transformation the line cites, whose file it names.
    int gridTransformation = 0;
};

// In file order.
const ShippedDatum kShipped[] = {
    {"WGS 84", 0},
    {"SIRGAS 2000", 15894},
    {"SAD 69", 1877},
    {"SAD 69(96)", 6195},
    {"Córrego Alegre 1970-72", 6194},
    {"Aratu", 10093},
    {"Chuá", 1131},
    {"PSAD56", 1201},
    {"Campo Inchauspe", 1127},
    {"Bogotá 1975", 1125},
    {"NAD27", 1172},
    {"NAD83", 1188},
    {"ED50", 1133},
    {"ETRS89", 1149},
    {"OSGB36", 1195},
    {"Pulkovo 1942", 1254},
    {"Tokyo", 15484},
    {"GDA94", 1150},
    {"Arc 1960", 1122},
    {"Indian 1975", 1304},
    {"AGD66", 15788},
    {"AGD84", 1109},
    {"Adindan", 1100},
    {"Arc 1950", 1113},
    {"Cape", 1128},
    {"Hartebeesthoek94", 1505},
    {"Minna", 1168},
    {"Nord Sahara 1959", 1253},
    {"Kalianpur 1975", 1156},
    {"Kertau 1968", 1158},
    {"Timbalai 1948", 1228},
    {"Luzon 1911", 1161},
    {"NZGD49", 15975},
    {"Old Hawaiian", 15824},
    {"Ain el Abd", 1111},
    {"Hu Tzu Shan 1950", 1152},
    {"DHDN", 1777},
    {"Amersfoort", 15934},
    {"S-JTSK", 1623},
    {"Belge 1972", 15929},
    {"SAD 69 NTv2", 1877, 5528},
    {"SAD 69(96) NTv2", 6195, 5529},
    {"Córrego Alegre 1970-72 NTv2", 6194, 5526},
};

constexpr double kPi = 3.14159265358979323846;

// PROJ objects, each released with proj_destroy.
struct PjDeleter {
    void operator()(PJ* pj) const { proj_destroy(pj); }
};
using Pj = std::unique_ptr<PJ, PjDeleter>;

class ProjContext {
public:
    ProjContext() : context_(proj_context_create()) {}
    ~ProjContext() { proj_context_destroy(context_); }
    ProjContext(const ProjContext&) = delete;
    ProjContext& operator=(const ProjContext&) = delete;
    PJ_CONTEXT* get() const { return context_; }

private:
    PJ_CONTEXT* context_;
};

std::string fileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const CatalogueReading& shipped()
{
    static const CatalogueReading reading = loadCatalogue(ZELVORA_SHIPPED_CATALOGUE);
    return reading;
}

// The datum of a slot, failing the test (not crashing) when the slot is missing.
const TDatum* slot(std::size_t index)
{
    const TDatum* datum = shipped().catalogue.datumAt(static_cast<int>(index));
    EXPECT_NE(datum, nullptr) << "no datum in slot " << index;
    return datum;
}

struct EllipsoidFigures {
    double a = 0;
    double inverse_f = 0;
};

// The ellipsoid of a CRS or of a coordinate operation's source CRS, as PROJ gives it.
bool ellipsoidOf(PJ_CONTEXT* ctx, const PJ* crs, EllipsoidFigures& figures)
{
    const Pj ellipsoid(proj_get_ellipsoid(ctx, crs));
    if (!ellipsoid) return false;
    double b = 0;
    int inverse_f_computed = 0;
    return proj_ellipsoid_get_parameters(ctx, ellipsoid.get(), &figures.a, &b, &inverse_f_computed,
                                         &figures.inverse_f) != 0;
}

void expectEllipsoid(const TDatum& datum, const EllipsoidFigures& epsg)
{
    EXPECT_NEAR(static_cast<double>(datum.A), epsg.a, 1e-6) << datum.Name << ": semi-major axis";
    // The file holds 1/f to 15 significant digits; EPSG defines some ellipsoids by their
    // semi-minor axis, from which PROJ computes 1/f in double.
    EXPECT_NEAR(static_cast<double>(1.0L / datum.F), epsg.inverse_f, 1e-9)
        << datum.Name << ": inverse flattening";
}

// Metres on the ground between two geodetic points close to each other, heights included.
double distance3d(const TDatum& ellipsoid, double lat, double lon, double h, double lat2,
                  double lon2, double h2)
{
    const double f = static_cast<double>(ellipsoid.F);
    const double e2 = f * (2 - f);
    const double s = std::sin(lat * kPi / 180);
    const double w = 1 - e2 * s * s;
    const double prime_vertical = static_cast<double>(ellipsoid.A) / std::sqrt(w);
    const double meridian = static_cast<double>(ellipsoid.A) * (1 - e2) / (w * std::sqrt(w));
    double dlon = lon2 - lon;
    if (dlon > 180) dlon -= 360;
    if (dlon < -180) dlon += 360;
    const double north = (lat2 - lat) * kPi / 180 * meridian;
    const double east = dlon * kPi / 180 * prime_vertical * std::cos(lat * kPi / 180);
    return std::sqrt(north * north + east * east + (h2 - h) * (h2 - h));
}

// PROJ's pipeline for a geographic 2D operation keeps the input height aside (push/pop of the
// third coordinate) and hands it back unchanged. The same pipeline without those two steps
// carries the ellipsoidal height through the geocentric translation, which is what the datum
// change computes too.
std::string withHeightCarried(std::string pipeline)
{
    for (const std::string_view step : {" +step +proj=push +v_3", " +step +proj=pop +v_3"}) {
        const auto at = pipeline.find(step);
        if (at == std::string::npos) return {};
        pipeline.erase(at, step.size());
    }
    return pipeline;
}

// The centre and the four corners of an area of use, with the latitudes kept inside the datum
// change's range (-80 to 84) and the longitudes folded into -180..180.
std::vector<std::pair<double, double>> pointsOf(double west, double south, double east,
                                                double north)
{
    if (east < west) east += 360;  // the area crosses the antimeridian
    south = std::clamp(south, -80.0, 84.0);
    north = std::clamp(north, -80.0, 84.0);
    const auto fold = [](double lon) { return lon > 180 ? lon - 360 : lon; };
    return {{(south + north) / 2, fold((west + east) / 2)},
            {south, fold(west)},
            {south, fold(east)},
            {north, fold(west)},
            {north, fold(east)}};
}

TEST(ShippedCatalogue, LoadsWithoutAProblem)
{
    EXPECT_FALSE(shipped().problem) << *shipped().problem;
}

TEST(ShippedCatalogue, HoldsTheDatumsOfTheTableInOrderWithinTheSlots)
{
    const auto& catalogue = shipped().catalogue;
    const int count = catalogue.QuantDatum() + 1;
    EXPECT_GE(count, 25);
    EXPECT_LE(count, 43);
    EXPECT_LE(count, DatumCatalogue::Slots);
    ASSERT_EQ(static_cast<std::size_t>(count), std::size(kShipped));
    for (std::size_t i = 0; i < std::size(kShipped); ++i)
        EXPECT_EQ(catalogue.ListaDatum()[i].Name, kShipped[i].name) << "slot " << i;
    EXPECT_EQ(catalogue.ListaDatum()[0].Name, "WGS 84");
    EXPECT_EQ(catalogue.ListaDatum()[1].Name, "SIRGAS 2000");
}

TEST(ShippedCatalogue, EveryFigureLiesWithinTheEditorsBounds)
{
    for (const auto& datum : shipped().catalogue.ListaDatum()) {
        EXPECT_GE(datum.A, 6377000.0L) << datum.Name;
        EXPECT_LE(datum.A, 6379000.0L) << datum.Name;
        EXPECT_GE(1.0L / datum.F, 250.0L) << datum.Name;
        EXPECT_LE(1.0L / datum.F, 350.0L) << datum.Name;
    }
}

// The file is byte for byte what the program writes for the datums it holds: CR LF line ends,
// the general number form, Windows-1252 names. A datum stored in the editor and saved changes
// only its own line.
TEST(ShippedCatalogue, IsInTheFormTheProgramWrites)
{
    const std::string bytes = fileBytes(ZELVORA_SHIPPED_CATALOGUE);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(catalogueText(shipped().catalogue), bytes);
    EXPECT_NE(bytes.find("C\xF3rrego Alegre 1970-72"), std::string::npos);
    EXPECT_NE(bytes.find("Bogot\xE1 1975"), std::string::npos);
}

TEST(ShippedCatalogue, SlotZeroIsWgs84ItselfWithTheEpsgEllipsoid)
{
    const TDatum* wgs84 = slot(0);
    ASSERT_NE(wgs84, nullptr);
    EXPECT_EQ(wgs84->Dx, 0.0L);
    EXPECT_EQ(wgs84->Dy, 0.0L);
    EXPECT_EQ(wgs84->Dz, 0.0L);
    const ProjContext ctx;
    const Pj crs(proj_create(ctx.get(), "EPSG:4326"));
    ASSERT_TRUE(crs);
    EllipsoidFigures epsg;
    ASSERT_TRUE(ellipsoidOf(ctx.get(), crs.get(), epsg));
    expectEllipsoid(*wgs84, epsg);
}

struct Worst {
    double metres = 0;
    std::string where;
};

// One datum of the catalogue against the EPSG transformation the table names for it.
void checkAgainstEpsg(PJ_CONTEXT* ctx, const ShippedDatum& expected, const TDatum& datum,
                      const TDatum& wgs84, Worst& worst)
{
    const std::string code = std::to_string(expected.transformation);
    const Pj operation(proj_create_from_database(ctx, "EPSG", code.c_str(),
                                                 PJ_CATEGORY_COORDINATE_OPERATION, 0, nullptr));
    ASSERT_TRUE(operation);
    ASSERT_EQ(proj_get_type(operation.get()), PJ_TYPE_TRANSFORMATION);

    // A geocentric translation from the datum's CRS to WGS 84, or a seven-parameter one in the
    // line's rotation convention.
    const char* method_code = nullptr;
    ASSERT_TRUE(
        proj_coordoperation_get_method_info(ctx, operation.get(), nullptr, nullptr, &method_code));
    const HelmertRotation& rotation = datum.Rotation;
    const char* expected_method = rotation.none() ? "9603"
                                  : rotation.convention == RotationConvention::PositionVector
                                      ? "9606"
                                      : "9607";
    EXPECT_STREQ(method_code, expected_method);
    const Pj source(proj_get_source_crs(ctx, operation.get()));
    const Pj target(proj_get_target_crs(ctx, operation.get()));
    ASSERT_TRUE(source);
    ASSERT_TRUE(target);
    EXPECT_STREQ(proj_get_id_auth_name(target.get(), 0), "EPSG");
    EXPECT_STREQ(proj_get_id_code(target.get(), 0), "4326");

    EllipsoidFigures epsg;
    ASSERT_TRUE(ellipsoidOf(ctx, source.get(), epsg));
    expectEllipsoid(datum, epsg);

    // The figures as EPSG publishes them, in SI units: metres, radians and unity.
    constexpr double kArcSecond = kPi / 648000;
    const double figures[7] = {static_cast<double>(datum.Dx),
                               static_cast<double>(datum.Dy),
                               static_cast<double>(datum.Dz),
                               static_cast<double>(rotation.Rx) * kArcSecond,
                               static_cast<double>(rotation.Ry) * kArcSecond,
                               static_cast<double>(rotation.Rz) * kArcSecond,
                               static_cast<double>(rotation.Scale) * 1e-6};
    const int count = proj_coordoperation_get_param_count(ctx, operation.get());
    ASSERT_EQ(count, rotation.none() ? 3 : 7);
    for (int p = 0; p < count; ++p) {
        const char* name = nullptr;
        double value = 0, to_si = 0;
        ASSERT_TRUE(proj_coordoperation_get_param(ctx, operation.get(), p, &name, nullptr, nullptr,
                                                  &value, nullptr, &to_si, nullptr, nullptr,
                                                  nullptr, nullptr));
        EXPECT_NEAR(figures[p], value * to_si, p < 3 ? 1e-9 : 1e-15) << name;
    }

    // Where PROJ puts points of the area of use: longitude first, degrees, height carried.
    const Pj normalised(proj_normalize_for_visualization(ctx, operation.get()));
    ASSERT_TRUE(normalised);
    const char* pipeline = proj_as_proj_string(ctx, normalised.get(), PJ_PROJ_5, nullptr);
    ASSERT_NE(pipeline, nullptr);
    // A null translation between two ellipsoids that EPSG takes as the same frame (GRS 1980 and
    // WGS 84, for instance) is a no-operation for PROJ: the point stays as it is.
    const bool noop = std::string_view(pipeline) == "+proj=noop";
    const std::string carried = noop ? std::string(pipeline) : withHeightCarried(pipeline);
    ASSERT_FALSE(carried.empty()) << pipeline;
    const Pj pipeline3d(proj_create(ctx, carried.c_str()));
    ASSERT_TRUE(pipeline3d) << carried;
    if (!noop) {
        ASSERT_TRUE(proj_degree_input(pipeline3d.get(), PJ_FWD));
        ASSERT_TRUE(proj_degree_output(pipeline3d.get(), PJ_FWD));
    }

    double west = 0, south = 0, east = 0, north = 0;
    ASSERT_TRUE(proj_get_area_of_use(ctx, operation.get(), &west, &south, &east, &north, nullptr));
    TGeo geo;
    geo.Datum = &datum;
    double datum_worst = 0;
    for (const auto& [lat, lon] : pointsOf(west, south, east, north))
        for (const double h : {0.0, 850.0}) {
            char where[96];
            std::snprintf(where, sizeof where, "lat %.6f lon %.6f h %.0f", lat, lon, h);
            const PJ_COORD reference =
                proj_trans(pipeline3d.get(), PJ_FWD, proj_coord(lon, lat, h, 0));
            ASSERT_TRUE(std::isfinite(reference.lpz.lam) && std::isfinite(reference.lpz.z))
                << where;
            // The pipeline with the height carried agrees horizontally with PROJ's own
            // operation for the EPSG entry.
            const PJ_COORD horizontal =
                proj_trans(normalised.get(), PJ_FWD, proj_coord(lon, lat, h, 0));
            EXPECT_LT(distance3d(wgs84, horizontal.lpz.phi, horizontal.lpz.lam, 0,
                                 reference.lpz.phi, reference.lpz.lam, 0),
                      1e-9)
                << where;

            geo.ChangeDatum(wgs84, lat, lon, h);
            ASSERT_EQ(geo.Status, GeoStatus::Ok) << where;
            const double difference =
                distance3d(wgs84, static_cast<double>(geo.ShiftLat),
                           static_cast<double>(geo.ShiftLon), static_cast<double>(geo.ShiftH),
                           reference.lpz.phi, reference.lpz.lam, reference.lpz.z);
            EXPECT_LE(difference, 0.01) << where;
            datum_worst = std::max(datum_worst, difference);
            if (difference > worst.metres)
                worst = {difference, std::string(expected.name) + ", " + where};
        }
    std::printf("  EPSG:%-6d %.2e  %s\n", expected.transformation, datum_worst, expected.name);
}

TEST(ShippedCatalogue, EachDatumIsItsEpsgTransformationToWgs84)
{
    const ProjContext ctx;
    const TDatum* wgs84 = slot(0);
    ASSERT_NE(wgs84, nullptr);
    Worst worst;
    std::printf("  shipped catalogue against PROJ, largest 3D difference per datum (m)\n");
    for (std::size_t i = 1; i < std::size(kShipped); ++i) {
        SCOPED_TRACE(std::string(kShipped[i].name) +
                     ", EPSG:" + std::to_string(kShipped[i].transformation));
        if (const TDatum* datum = slot(i))
            checkAgainstEpsg(ctx.get(), kShipped[i], *datum, *wgs84, worst);
        // The line cites the transformation its figures are, or for a grid the grid's.
        const int cited = kShipped[i].gridTransformation != 0 ? kShipped[i].gridTransformation
                                                              : kShipped[i].transformation;
        EXPECT_EQ(shipped().catalogue.citationAt(static_cast<int>(i)).epsg, cited);
    }
    std::printf("  largest: %.2e m at %s\n", worst.metres, worst.where.c_str());
}

// A grid line names the file of the grid transformation it cites (PROJ knows the agency's file
// under a name of its own that holds the agency's), and the datum that transformation ends on.
TEST(ShippedCatalogue, EachGridIsTheFileOfItsEpsgGridTransformation)
{
    const ProjContext ctx;
    for (std::size_t i = 0; i < std::size(kShipped); ++i) {
        if (kShipped[i].gridTransformation == 0) continue;
        const TDatum* datum = slot(i);
        ASSERT_NE(datum, nullptr);
        SCOPED_TRACE(datum->Name);
        const std::string code = std::to_string(kShipped[i].gridTransformation);
        const Pj operation(proj_create_from_database(ctx.get(), "EPSG", code.c_str(),
                                                     PJ_CATEGORY_COORDINATE_OPERATION, 0, nullptr));
        ASSERT_TRUE(operation);
        ASSERT_EQ(proj_coordoperation_get_grid_used_count(ctx.get(), operation.get()), 1);
        const char* name = nullptr;
        ASSERT_TRUE(proj_coordoperation_get_grid_used(ctx.get(), operation.get(), 0, &name, nullptr,
                                                      nullptr, nullptr, nullptr, nullptr, nullptr));
        const std::string stem = datum->GridFile.substr(0, datum->GridFile.rfind('.'));
        EXPECT_NE(std::string(name).find(stem), std::string::npos) << name;
        const Pj target(proj_get_target_crs(ctx.get(), operation.get()));
        ASSERT_TRUE(target);
        EXPECT_EQ(std::string(proj_get_name(target.get())), datum->GridTarget);
    }
}

}  // namespace

// Every EPSG code the tool takes is the registry's system of that name, of the kind, on a datum
// with the catalogue datum's ellipsoid, and, for a UTM zone, the zone's Transverse Mercator.
TEST(CrsCodes, EachCodeIsTheRegistrysSystemOnItsCatalogueDatum)
{
    const ProjContext ctx;
    const auto& catalogue = shipped().catalogue;
    const std::vector<std::string> names = catalogue.names();
    const std::vector<CrsDefinition> codes = allCrsCodes();
    ASSERT_GT(codes.size(), 300u);
    for (const CrsDefinition& c : codes) {
        SCOPED_TRACE("EPSG:" + std::to_string(c.code));
        const Pj crs(proj_create_from_database(ctx.get(), "EPSG", std::to_string(c.code).c_str(),
                                               PJ_CATEGORY_CRS, 0, nullptr));
        ASSERT_TRUE(crs);
        EXPECT_FALSE(proj_is_deprecated(crs.get()));
        EXPECT_EQ(proj_get_name(crs.get()), c.name);
        const PJ_TYPE type = proj_get_type(crs.get());
        switch (c.kind) {
        case 0: EXPECT_EQ(type, PJ_TYPE_PROJECTED_CRS); break;
        case 1:
            EXPECT_TRUE(type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS);
            break;
        default: EXPECT_EQ(type, PJ_TYPE_GEOCENTRIC_CRS);
        }
        const auto at = std::find(names.begin(), names.end(), c.datum);
        ASSERT_NE(at, names.end()) << c.datum << " is not in the shipped catalogue";
        EllipsoidFigures figures;
        ASSERT_TRUE(ellipsoidOf(ctx.get(), crs.get(), figures));
        expectEllipsoid(*catalogue.datumAt(static_cast<int>(at - names.begin())), figures);
        if (c.kind != 0) continue;
        const Pj conversion(proj_crs_get_coordoperation(ctx.get(), crs.get()));
        ASSERT_TRUE(conversion);
        const char* method = nullptr;
        proj_coordoperation_get_method_info(ctx.get(), conversion.get(), &method, nullptr, nullptr);
        EXPECT_STREQ(method, "Transverse Mercator");
        const auto parameter = [&](const char* name) {
            const int index =
                proj_coordoperation_get_param_index(ctx.get(), conversion.get(), name);
            double value = std::nan("");
            proj_coordoperation_get_param(ctx.get(), conversion.get(), index, nullptr, nullptr,
                                          nullptr, &value, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr);
            return value;
        };
        EXPECT_EQ(parameter("Latitude of natural origin"), 0);
        EXPECT_EQ(parameter("Longitude of natural origin"), c.centralMeridian());
        EXPECT_EQ(parameter("Scale factor at natural origin"), 0.9996);
        EXPECT_EQ(parameter("False easting"), 500000);
        EXPECT_EQ(parameter("False northing"), c.south ? 10000000 : 0);
    }
    EXPECT_FALSE(crsByCode(29194 + 1000).has_value());
    EXPECT_EQ(crsByCode(29193)->name, "SAD69 / UTM zone 23S");
}
