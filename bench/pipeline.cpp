// Processa per point for the jobs a surveyor runs most, beside PROJ's proj_trans doing the same
// job in the same run, and the ratio of the two:
//   utm_to_geodetic_datum   UTM 23 S on SAD 69 to latitude and longitude on SIRGAS 2000
//   geodetic_to_utm         SIRGAS 2000 latitude and longitude to UTM 23 S
//   utm_zone_to_zone        UTM 23 S to UTM 24 S on one datum
//   geodetic_to_geocentric  SIRGAS 2000 latitude, longitude and height to X, Y, Z
// Each job cycles through 16 points within 3 degrees of the meridian (from zone to zone, within
// the degree beyond the edge of zone 24 that UTM still accepts), and its first point is
// checked against PROJ before timing, so both sides do the same job.
//
//   bench-pipeline --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "transform/text/CoordinateKinds.h"
#include "core/Geodesica.h"
#include "transform/pipeline/Pipeline.h"
#include "transform/pipeline/WindowState.h"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace Kind = CoordinateKind;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;

// Catalogue positions.
constexpr int kSad69 = 0, kSirgas = 1;
const std::vector<TDatum> kDatums = {
    TDatum("SAD 69", 6378160, 1 / 298.25L, -66.87L, 4.37L, -38.52L),
    TDatum("SIRGAS 2000", 6378137, 1 / 298.257222101L, 0, 0, 0),
};
const char* const kSad69Proj = " +a=6378160 +rf=298.25";
const char* const kSirgasProj = " +a=6378137 +rf=298.257222101";

struct GeoPoint {
    double lat, lon, h;
};
// clang-format off
constexpr std::array<GeoPoint, 16> kPoints = {{
    {-22.5, -47.0, 640},   {-23.55, -46.63, 760},  {-19.92, -43.94, 850},
    {-15.79, -47.88, 1170}, {-25.43, -47.27, 920}, {-21.13, -42.37, 120},
    {-24.01, -46.41, 5},   {-20.46, -45.43, 990},  {-17.22, -46.87, 780},
    {-26.91, -47.66, 30},  {-22.90, -43.20, 10},   {-18.92, -47.28, 860},
    {-23.96, -42.08, 600}, {-16.68, -47.76, 750},  {-27.50, -44.10, 0},
    {-21.78, -47.90, 560},
}};
// clang-format on

enum class Job { UtmToGeodeticDatum, GeodeticToUtm, UtmZoneToZone, GeodeticToGeocentric };

struct JobSetting {
    int fromKind, fromDatum, toKind, toDatum;
    const char* toMeridian;
    std::string input;     // PROJ: geodetic (radians) to the job's input
    std::string pipeline;  // PROJ: the job itself
    bool inputIsGeodetic, outputIsGeodetic;
    bool nearZoneEdge = false;  // points within the degree beyond zone 24 that UTM accepts
};

JobSetting settingOf(Job job)
{
    const std::string utm23 = std::string(" +step +proj=utm +zone=23 +south");
    const std::string helmert = " +step +proj=helmert +x=-66.87 +y=4.37 +z=-38.52";
    switch (job) {
    case Job::UtmToGeodeticDatum:
        return {Kind::Grid,
                kSad69,
                Kind::Geodetic,
                kSirgas,
                "-45",
                "+proj=pipeline" + utm23 + kSad69Proj,
                "+proj=pipeline +step +inv +proj=utm +zone=23 +south" + std::string(kSad69Proj) +
                    " +step +proj=cart" + kSad69Proj + helmert + " +step +inv +proj=cart" +
                    kSirgasProj,
                false,
                true};
    case Job::GeodeticToUtm:
        return {Kind::Geodetic,
                kSirgas,
                Kind::Grid,
                kSirgas,
                "-45",
                "+proj=noop",
                "+proj=pipeline" + utm23 + kSirgasProj,
                true,
                false};
    case Job::UtmZoneToZone:
        return {Kind::Grid,
                kSirgas,
                Kind::Grid,
                kSirgas,
                "-39",
                "+proj=pipeline" + utm23 + kSirgasProj,
                "+proj=pipeline +step +inv +proj=utm +zone=23 +south" + std::string(kSirgasProj) +
                    " +step +proj=utm +zone=24 +south" + kSirgasProj,
                false,
                false,
                true};
    case Job::GeodeticToGeocentric:
        return {Kind::Geodetic,
                kSirgas,
                Kind::Cartesian,
                kSirgas,
                "-45",
                "+proj=noop",
                "+proj=cart" + std::string(kSirgasProj),
                true,
                false};
    }
    std::abort();
}

class Proj {
public:
    explicit Proj(const std::string& definition)
        : context_(proj_context_create()), pj_(proj_create(context_, definition.c_str()))
    {
        if (!pj_) {
            std::fprintf(stderr, "PROJ refuses %s\n", definition.c_str());
            std::abort();
        }
    }
    ~Proj()
    {
        proj_destroy(pj_);
        proj_context_destroy(context_);
    }
    PJ_COORD operator()(PJ_COORD c) const { return proj_trans(pj_, PJ_FWD, c); }

private:
    PJ_CONTEXT* context_;
    PJ* pj_;
};

// The job's 16 inputs: for PROJ in its units (radians for angles), for Processa in the file's
// (degrees, longitude first).
struct Inputs {
    std::array<PJ_COORD, 16> proj;
    std::array<std::array<long double, 3>, 16> processa;
};

Inputs inputsOf(const JobSetting& s)
{
    const Proj input(s.input);
    Inputs in{};
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        GeoPoint p = kPoints[i];
        if (s.nearZoneEdge) p.lon = -42.05 - 0.05 * static_cast<double>(i);
        const PJ_COORD geo = proj_coord(p.lon * kDeg, p.lat * kDeg, p.h, 0);
        const PJ_COORD c = s.inputIsGeodetic ? geo : input(geo);
        in.proj[i] = c;
        in.processa[i] = s.inputIsGeodetic ? std::array<long double, 3>{p.lon, p.lat, p.h}
                                           : std::array<long double, 3>{c.xyz.x, c.xyz.y, c.xyz.z};
    }
    return in;
}

WindowState stateOf(const JobSetting& s)
{
    WindowState state = startupState(NumberFormat::file());
    state.ComboBox7 = s.fromKind;
    state.ComboBox9 = s.fromDatum;
    state.ComboBox8 = s.toKind;
    state.ComboBox10 = s.toDatum;
    state.ComboBox16 = state.ComboBox17 = 0;
    state.ComboBox14 = 1;
    state.Edit13 = "-45";
    state.Edit20 = s.toMeridian;
    return state;
}

// The first point through both, before any timing: a difference of a millimetre means the two
// do not do the same job.
void checkSameJob(const JobSetting& s, const Inputs& in, Processa& processa)
{
    const PJ_COORD want = Proj(s.pipeline)(in.proj[0]);
    const ProcessaResult got = processa(in.processa[0][0], in.processa[0][1], in.processa[0][2]);
    double dx = static_cast<double>(got.X) - want.xyz.x;
    double dy = static_cast<double>(got.Y) - want.xyz.y;
    if (s.outputIsGeodetic) {  // degrees against radians, as metres on the ground
        dx = (static_cast<double>(got.X) * kDeg - want.lpz.lam) * 6.4e6;
        dy = (static_cast<double>(got.Y) * kDeg - want.lpz.phi) * 6.4e6;
    }
    if (!(std::hypot(dx, dy) < 1e-3)) {
        std::fprintf(stderr, "Processa and PROJ differ by %g m\n", std::hypot(dx, dy));
        std::abort();
    }
}

void ProcessaJob(benchmark::State& state, Job job)
{
    const JobSetting s = settingOf(job);
    const Inputs in = inputsOf(s);
    const WindowState window = stateOf(s);
    auto engine = std::make_unique<TGeo>();
    Processa processa(window, kDatums, *engine, NumberFormat::file());
    checkSameJob(s, in, processa);
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& p = in.processa[i];
        benchmark::DoNotOptimize(processa(p[0], p[1], p[2]));
        i = (i + 1) % in.processa.size();
    }
}

void ProjJob(benchmark::State& state, Job job)
{
    const JobSetting s = settingOf(job);
    const Inputs in = inputsOf(s);
    const Proj pipeline(s.pipeline);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pipeline(in.proj[i]));
        i = (i + 1) % in.proj.size();
    }
}

BENCHMARK_CAPTURE(ProcessaJob, utm_to_geodetic_datum, Job::UtmToGeodeticDatum);
BENCHMARK_CAPTURE(ProjJob, utm_to_geodetic_datum, Job::UtmToGeodeticDatum);
BENCHMARK_CAPTURE(ProcessaJob, geodetic_to_utm, Job::GeodeticToUtm);
BENCHMARK_CAPTURE(ProjJob, geodetic_to_utm, Job::GeodeticToUtm);
BENCHMARK_CAPTURE(ProcessaJob, utm_zone_to_zone, Job::UtmZoneToZone);
BENCHMARK_CAPTURE(ProjJob, utm_zone_to_zone, Job::UtmZoneToZone);
BENCHMARK_CAPTURE(ProcessaJob, geodetic_to_geocentric, Job::GeodeticToGeocentric);
BENCHMARK_CAPTURE(ProjJob, geodetic_to_geocentric, Job::GeodeticToGeocentric);

// The console report, and the least time per point seen for each side of each job, for the
// ratio table at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type == Run::RT_Aggregate) continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const double ns = run.GetAdjustedRealTime();
            auto& sides = best_[name.substr(slash + 1)];
            double& side = name.rfind("ProcessaJob", 0) == 0 ? sides.first : sides.second;
            if (side == 0 || ns < side) side = ns;
        }
    }
    void PrintRatios() const
    {
        std::printf("\n%-26s %14s %14s %10s\n", "job (ns per point)", "Processa", "proj_trans",
                    "ratio");
        for (const auto& [job, sides] : best_)
            if (sides.first > 0 && sides.second > 0)
                std::printf("%-26s %14.1f %14.1f %9.2fx\n", job.c_str(), sides.first, sides.second,
                            sides.first / sides.second);
    }

private:
    std::map<std::string, std::pair<double, double>> best_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
