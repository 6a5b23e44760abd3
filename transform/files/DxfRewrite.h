// The DXF rewrite: a copy of an ASCII drawing in which every group is carried by what it is for
// the entity that holds it (DxfGroups.h): world positions and positions in an entity's own
// coordinate system are transformed, vectors, sizes and angles follow the transformation's local
// similarity, and everything else is copied byte for byte. Lines end with CR LF.
#pragma once

#include "transform/files/FileRun.h"

struct DxfRewriteOptions {
    // Both sides are planes of metres (grid, geocentric, local plane): vectors, sizes and angles
    // are turned and scaled by the transformation's local similarity. Otherwise one side is in
    // degrees, where they mean nothing: they are kept as they are, and counted.
    bool similarity = true;
};

// In memory: the source text in, the destination's lines out. Throws ConversionError for a
// value that must be a number and is not (with its line number), FileRunError for a drawing in
// the binary form, and whatever the point transformation throws.
FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointTransform& transform,
                          const DxfRewriteOptions& options = {}, const Progress& progress = {});
// The same, the points handed over in blocks.
FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointBatch& batch,
                          const DxfRewriteOptions& options = {}, const Progress& progress = {});

// Walks the drawing as a rewrite would, writing nothing, and reports every line that would stop
// the rewrite (a value that is no number) and every position a stage would reject.
FileRunSummary checkDxf(std::string_view source, const PointTransform& transform,
                        const ProblemReport& check, const DxfRewriteOptions& options = {},
                        const Progress& progress = {});

// Throws FileRunError, naming the file, for a text that cannot be an ASCII drawing: a binary
// drawing, an empty file, or one in whose first lines no "0" line is followed by "SECTION" (or
// "EOF"), as with a point file, random bytes or lines ended by CR alone. A drawing without
// entities passes: it is copied as written.
void requireAsciiDrawing(std::string_view source, const std::filesystem::path& name);

// ConverteDXF on files. The source must pass requireAsciiDrawing. The destination may be the source
// itself; it is replaced only when the whole run succeeded, and stays byte for byte as it was
// otherwise.
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination,
                           const PointTransform& transform, const DxfRewriteOptions& options = {},
                           const Progress& progress = {});
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const PointBatch& batch,
                           const DxfRewriteOptions& options = {}, const Progress& progress = {});
