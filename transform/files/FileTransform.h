// The whole-file transformations on the main window's state: the DXF rewrite and the point-file
// export (to a drawing or to a point file) with Processa as their per-point transformation. The
// window and the command-line tool call these; the pair rules and the point-file grammar live in
// DxfRewrite and PointFileExport.
#pragma once

#include "transform/files/DxfRewrite.h"
#include "transform/files/EnginePool.h"
#include "transform/pipeline/Pipeline.h"
#include "transform/files/PointFileExport.h"

#include <optional>
#include <vector>

// "Keep heights" as it applies to a file run on these settings: chosen, and neither side
// geocentric (a third value that is no height).
bool keepsHeights(const WindowState& state);

// Processa's result as the file runs count it: rejected by the first error status of its stages.
// With `keepHeights` the point's Z is written as given; Processa still computes with it.
PointTransform processaPoints(Processa& processa, bool keepHeights = false);

// Processa on several engines at once, an EnginePool's: a block of points is cut into runs of
// consecutive points handed out to the engines. Every point goes through the same stages with
// the same settings as on one engine, so the results are the same to the last bit; an error is
// the one of the earliest point that raised one. Heights are kept as keepsHeights(state) says.
class SharedProcessa : public BlockTransform {
public:
    // `engine` serves as the first; `engines` is at least 1.
    SharedProcessa(const WindowState& state, const std::vector<TDatum>& datums, TGeo& engine,
                   const NumberFormat& user, unsigned engines);
    void operator()(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out);
    void start(const std::vector<PointIn>& in, std::vector<TransformedPoint>& out) override;
    void finish() override;

private:
    bool keepHeights_;
    EnginePool pool_;
};

// How the DXF rewrite carries vectors, sizes and angles on these settings: by the similarity
// where both kinds are planes of metres, kept where one side is geodetic.
DxfRewriteOptions dxfOptionsFor(const WindowState& state);

// The same runs with the window's settings, on one engine a processor, `engine` the first.
// They throw what the runs throw, plus SelectionError and ConversionError for the window's
// boxes at the first point.
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const WindowState& state,
                           const std::vector<TDatum>& datums, TGeo& engine,
                           const NumberFormat& user, const Progress& progress = {});
FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const WindowState& state,
                          const std::vector<TDatum>& datums, TGeo& engine, const NumberFormat& user,
                          const Progress& progress = {});
FileRunSummary ExportaTexto(const std::filesystem::path& source,
                            const std::filesystem::path& destination, const WindowState& state,
                            const std::vector<TDatum>& datums, TGeo& engine,
                            const NumberFormat& user, std::optional<int> decimals = {},
                            const Progress& progress = {});
