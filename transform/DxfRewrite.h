// The DXF rewrite: a copy of an ASCII drawing with every coordinate from the entity section on
// carried through the point transformation, and the insertion base and the user coordinate
// system's origin set to zero. It works on the text as pairs of lines (a group code, a value)
// and knows nothing else of the drawing's structure.
#pragma once

#include "FileRun.h"

// In memory: the source text in, the destination's lines out. Throws ConversionError for a
// value that must be a number and is not (with its line number), FileRunError for a drawing in
// the binary form, and whatever the point transformation throws.
FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointTransform& transform,
                          const Progress& progress = {});
// The same, the points handed over in blocks.
FileRunSummary rewriteDxf(std::string_view source, LineWriter& out, const PointBatch& batch,
                          const Progress& progress = {});

// Walks the drawing as a rewrite would, writing nothing, and reports every line that would stop
// the rewrite (a value that is no number) and every point a stage would reject.
FileRunSummary checkDxf(std::string_view source, const PointTransform& transform,
                        const ProblemReport& check, const Progress& progress = {});

// ConverteDXF on files. The destination may be the source itself; it is replaced only when the
// whole run succeeded, and stays byte for byte as it was otherwise.
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination,
                           const PointTransform& transform, const Progress& progress = {});
FileRunSummary ConverteDXF(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const PointBatch& batch,
                           const Progress& progress = {});
