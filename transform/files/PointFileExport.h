// The point-file export: a text file of named points, one a line,
//
//     name ; X ; Y ; Z
//
// becomes a DXF drawing holding, for every line, a POINT at the transformed coordinates and a
// TEXT with the name beside it, or a point file again, each line's name with its transformed
// point. Both read the lines alike: every line is a point, so neither skips nor copies a line.
#pragma once

#include "transform/files/FileRun.h"

#include <optional>

// In memory. Throws ConversionError for a coordinate that is not a number (with its line
// number), and whatever the point transformation throws.
FileRunSummary exportPoints(std::string_view source, LineWriter& out,
                            const PointTransform& transform, const Progress& progress = {});
// The same, the points handed over in blocks.
FileRunSummary exportPoints(std::string_view source, LineWriter& out, const PointBatch& batch,
                            const Progress& progress = {});

// The same run writing a point file, one "name;X;Y;Z" line with CR LF a source line: the name's
// bytes as read, the values in the general form or with `decimals` fixed decimals (".", no
// grouping), so that the text reads back as a point file. Throws as exportPoints.
FileRunSummary exportPointText(std::string_view source, LineWriter& out, const PointBatch& batch,
                               std::optional<int> decimals = {}, const Progress& progress = {});
FileRunSummary exportPointText(std::string_view source, LineWriter& out,
                               const PointTransform& transform, std::optional<int> decimals = {},
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

// The point file written back on files, replaced as ExportaDXF replaces its drawing.
FileRunSummary ExportaTexto(const std::filesystem::path& source,
                            const std::filesystem::path& destination, const PointBatch& batch,
                            std::optional<int> decimals = {}, const Progress& progress = {});
