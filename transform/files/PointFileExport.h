// The point-file export: a text file of named points, one a line,
//
//     name ; X ; Y ; Z
//
// becomes a DXF drawing holding, for every line, a POINT at the transformed coordinates and a
// TEXT with the name beside it.
#pragma once

#include "transform/files/FileRun.h"

// In memory. Throws ConversionError for a coordinate that is not a number (with its line
// number), and whatever the point transformation throws.
FileRunSummary exportPoints(std::string_view source, LineWriter& out,
                            const PointTransform& transform, const Progress& progress = {});
// The same, the points handed over in blocks.
FileRunSummary exportPoints(std::string_view source, LineWriter& out, const PointBatch& batch,
                            const Progress& progress = {});

// Reads the file as an export would, writing nothing, and reports every line that would stop the
// export and every point a stage would reject.
FileRunSummary checkPoints(std::string_view source, const PointTransform& transform,
                           const ProblemReport& check, const Progress& progress = {});

// ExportaDXF on files; the destination is replaced only when the whole run succeeded.
FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const PointTransform& transform,
                          const Progress& progress = {});
FileRunSummary ExportaDXF(const std::filesystem::path& source,
                          const std::filesystem::path& destination, const PointBatch& batch,
                          const Progress& progress = {});
