#include "transform/files/FileTransform.h"

#include "transform/text/CoordinateKinds.h"

#include <algorithm>

namespace {

TransformedPoint fileResult(const ProcessaResult& result, long double givenZ, bool keepHeights)
{
    return {result.X, result.Y, keepHeights ? givenZ : result.Z, result.status.firstError(),
            result.status.datum == GeoStatus::OutsideGrid};
}

// Below this many points a block stays on one engine: handing it out would cost more.
constexpr std::size_t kSmallestShare = 512;

}  // namespace

bool keepsHeights(const WindowState& state)
{
    // A geocentric Z is a coordinate of the point, not a height: keeping it would move the point.
    return state.CheckBox1 && state.ComboBox7 != CoordinateKind::Cartesian &&
           state.ComboBox8 != CoordinateKind::Cartesian;
}

PointTransform processaPoints(Processa& processa, bool keepHeights)
{
    return [&processa, keepHeights](long double X, long double Y, long double Z) {
        return fileResult(processa(X, Y, Z), Z, keepHeights);
    };
}

SharedProcessa::SharedProcessa(const WindowState& state, const std::vector<TDatum>& datums,
                               TGeo& engine, const NumberFormat& user, unsigned engines)
    : keepHeights_(keepsHeights(state)), pool_(state, datums, user, engines, &engine)
{
}

void SharedProcessa::operator()(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out)
{
    start(in, out);
    finish();
}

void SharedProcessa::start(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out)
{
    // Several shares an engine, so that an engine slowed by another program on the machine
    // leaves its last share to the others.
    const std::size_t shares =
        std::clamp<std::size_t>(in.size() / kSmallestShare, 1, 4 * pool_.engines());
    const std::size_t share = (in.size() + shares - 1) / shares;
    pool_.start(shares, [&in, &out, share, keep = keepHeights_](std::size_t k, Processa& processa) {
        const std::size_t end = std::min(in.size(), (k + 1) * share);
        for (std::size_t i = k * share; i < end; ++i)
            out[i] = fileResult(processa(in[i].X, in[i].Y, in[i].Z), in[i].Z, keep);
    });
}

void SharedProcessa::finish() { pool_.wait(); }

DxfRewriteOptions dxfOptionsFor(const WindowState& state)
{
    return {state.ComboBox7 != CoordinateKind::Geodetic &&
            state.ComboBox8 != CoordinateKind::Geodetic};
}

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const WindowState& state,
                           const std::vector<TDatum>& datums, TGeo& engine,
                           const NumberFormat& user, const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, enginesForThisMachine());
    return ConverteDXF(source, destination, processa, dxfOptionsFor(state), progress);
}

FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const WindowState& state,
                          const std::vector<TDatum>& datums, TGeo& engine, const NumberFormat& user,
                          const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, enginesForThisMachine());
    return ExportaDXF(source, destination, processa, progress);
}

FileRunSummary ExportaTexto(const std::filesystem::path& source,
                            const std::filesystem::path& destination, const WindowState& state,
                            const std::vector<TDatum>& datums, TGeo& engine,
                            const NumberFormat& user, std::optional<int> decimals,
                            const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, enginesForThisMachine());
    return ExportaTexto(source, destination, processa, decimals, progress);
}
