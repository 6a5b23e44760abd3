#include "transform/files/FileTransform.h"

#include "transform/text/CoordinateKinds.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace {

TransformedPoint fileResult(const ProcessaResult& result, long double givenZ, bool keepHeights)
{
    return {result.X, result.Y, keepHeights ? givenZ : result.Z, result.status.firstError()};
}

// Below this many points a block stays on one engine: starting threads would cost more.
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
    : keepHeights_(keepsHeights(state))
{
    workers_.push_back(std::make_unique<Processa>(state, datums, engine, user));
    for (unsigned i = 1; i < engines; ++i) {
        ownEngines_.push_back(std::make_unique<TGeo>());
        workers_.push_back(std::make_unique<Processa>(state, datums, *ownEngines_.back(), user));
    }
}

void SharedProcessa::operator()(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out)
{
    const std::size_t shares =
        std::clamp<std::size_t>(in.size() / kSmallestShare, 1, workers_.size());
    const std::size_t share = (in.size() + shares - 1) / shares;
    std::vector<std::exception_ptr> errors(shares);
    auto work = [&](std::size_t w) {
        try {
            const std::size_t end = std::min(in.size(), (w + 1) * share);
            for (std::size_t i = w * share; i < end; ++i)
                out[i] =
                    fileResult((*workers_[w])(in[i].X, in[i].Y, in[i].Z), in[i].Z, keepHeights_);
        } catch (...) {
            errors[w] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t w = 1; w < shares; ++w) threads.emplace_back(work, w);
        work(0);
    }
    for (const auto& error : errors)
        if (error) std::rethrow_exception(error);
}

DxfRewriteOptions dxfOptionsFor(const WindowState& state)
{
    return {state.ComboBox7 != CoordinateKind::Geodetic &&
            state.ComboBox8 != CoordinateKind::Geodetic};
}

unsigned fileRunEngines() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const WindowState& state,
                           const std::vector<TDatum>& datums, TGeo& engine,
                           const NumberFormat& user, const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, fileRunEngines());
    return ConverteDXF(source, destination, PointBatch(std::ref(processa)), dxfOptionsFor(state),
                       progress);
}

FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const WindowState& state,
                          const std::vector<TDatum>& datums, TGeo& engine, const NumberFormat& user,
                          const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, fileRunEngines());
    return ExportaDXF(source, destination, PointBatch(std::ref(processa)), progress);
}

FileRunSummary ExportaTexto(const std::filesystem::path& source,
                            const std::filesystem::path& destination, const WindowState& state,
                            const std::vector<TDatum>& datums, TGeo& engine,
                            const NumberFormat& user, std::optional<int> decimals,
                            const Progress& progress)
{
    SharedProcessa processa(state, datums, engine, user, fileRunEngines());
    return ExportaTexto(source, destination, PointBatch(std::ref(processa)), decimals, progress);
}
