// zelvora-convert dxf and points: the window's whole-file transformations from a terminal, with
// a progress bar when standard error is one, a summary line at the end, and a check that lists
// every problem line of a source without writing anything. points writes a drawing, or with
// `text` a point file.
#pragma once

#include "config/DatumCatalogue.h"
#include "transform/text/NumberFormat.h"
#include "transform/pipeline/WindowState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct FileCommand {
    enum Kind { Drawing, Points } kind = Drawing;
    std::filesystem::path source;
    std::optional<std::filesystem::path> destination;
    bool check = false;
    bool text = false;            // points: a point file instead of a drawing
    std::optional<int> decimals;  // of its values; without, the general form
};

// Runs or checks; returns the exit status: 0 done, 1 some point rejected (the file is written
// all the same), 2 a line that stops the run (a check lists them all). Errors that stop a run
// are thrown, for the caller to report with status 2. The summary ends with `gridNotes`, the
// datums' grids that could not serve.
int runFileCommand(const FileCommand& command, const WindowState& state,
                   const DatumCatalogue& catalogue, const NumberFormat& user,
                   const std::vector<std::string>& gridNotes = {});
