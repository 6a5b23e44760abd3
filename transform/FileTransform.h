// The whole-file transformations on the main window's state: the DXF rewrite and the point-file
// export with Processa as their per-point transformation. The window and the command-line tool
// call these; the pair rules and the point-file grammar live in DxfRewrite and PointFileExport.
#pragma once

#include "DxfRewrite.h"
#include "Pipeline.h"
#include "PointFileExport.h"

#include <vector>

// Processa's result as the file runs count it: rejected by the first error status of its stages.
PointTransform processaPoints(Processa& processa);

// The same runs with the window's settings. They throw what the runs throw, plus SelectionError
// and ConversionError for the window's boxes at the first point.
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const WindowState& state,
                           const std::vector<TDatum>& datums, TGeo& engine,
                           const NumberFormat& user, const Progress& progress = {});
FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const WindowState& state,
                          const std::vector<TDatum>& datums, TGeo& engine,
                          const NumberFormat& user, const Progress& progress = {});
