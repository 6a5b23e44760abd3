// The settings file "Zelvora.Cfg": the window's state from one run to the next, one value a
// line, a value's meaning given by its line number.
// Numbers use "." and no grouping whatever the user's separators; the two file names are
// Windows-1252 in the file and UTF-8 in the program; lines end with CR LF.
#pragma once

#include "transform/text/NumberFormat.h"
#include "transform/pipeline/WindowState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The state after reading, and the one report the reading needs, if any. A file whose lines 1
// to 30 (or 34 to 42, when present) do not all read is reported and ignored as a whole. Line 43,
// "keep heights" (0 or 1), is missing from files of earlier versions, which read as heights
// converted; any other value there is reported and read the same way, every other line used.
struct SettingsReading {
    WindowState state;
    std::optional<std::string> problem;  // the fault and what the window does about it
    std::optional<std::string> fault;    // the file, the line and its text alone
};

// Le_Config. Starts from `startup`, selects English, and when the file holds a readable state
// puts every value into the state, numbers written in the general form with the user's
// separator. Every selection is then made valid: a datum index past `QuantDatum` (or below 0)
// becomes 0, or -1 when there are no datums; any other index outside its list becomes its
// start-up value. Each index the file held outside its list is reported with its line.
SettingsReading Le_Config(std::string_view content, const WindowState& startup, int QuantDatum,
                          const NumberFormat& user);
SettingsReading Le_Config(const std::filesystem::path& file, const WindowState& startup,
                          int QuantDatum, const NumberFormat& user);

// The line that holds box n (EditN), 0 for a box the file does not hold.
int settingsLineOfBox(int box);

// The state of a run without a settings file: the start-up values, in English, every selection
// made valid for the catalogue.
WindowState settingsWithoutFile(const WindowState& startup, int QuantDatum);

// The file's 43 lines for a state. Converts every box first (with the user's separator), so a
// box that is not a number throws ConversionError before anything is written.
std::string settingsText(const WindowState& state, const NumberFormat& user);

// The close-time writing: the whole text is made first, then written atomically. Throws
// ConversionError for a box that is not a number and FileWriteError when the file cannot be
// written; either way the previous file stays as it was.
void writeSettings(const std::filesystem::path& file, const WindowState& state,
                   const NumberFormat& user);
