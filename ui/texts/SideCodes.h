// The EPSG code box on each side of the main window, without any toolkit: what a code typed there
// sets on its side, as zelvora-convert sets it for --from and --to, and which code the side's
// choices stand for, so that the box never shows a code other than the one that will be computed.
#pragma once

#include "config/CrsCodes.h"
#include "transform/pipeline/WindowState.h"
#include "transform/text/NumberFormat.h"

#include <optional>
#include <string>
#include <vector>

enum class WindowSide { Source, Target };

// "31983", "EPSG:31983" or "epsg:31983", blanks around allowed; nothing for any other text.
std::optional<int> typedEpsgCode(const std::string& text);

// Sets a side to a code's system: its kind and the datum at `datumIndex` (the catalogue's datum of
// that name), and for a UTM zone the family UTM, the central meridian in whole degrees and, on the
// source, the hemisphere list. The window's code box and the tool's --from/--to both go through it.
void setSideToCode(WindowState& state, WindowSide side, const CrsDefinition& crs, int datumIndex);

// A code typed into a side's box: the state with that side's choices set, or why it was refused.
struct TypedCode {
    std::optional<WindowState> state;
    std::string refusal;  // in the window's language; empty when the code was taken
};

// Sets the side's kind and its datum (by the catalogue's name), and for a UTM zone the family
// UTM and the central meridian in whole degrees; a source zone sets the hemisphere too, while a
// target zone leaves it to each point, as the command-line tool does. Text that is no code, a code
// this program does not set up and a code on a datum `datumNames` does not hold are refused, and
// then nothing changes.
TypedCode takeTypedCode(const std::string& typed, WindowSide side, const WindowState& state,
                        const std::vector<std::string>& datumNames, int language);

// The code whose settings the side's choices are: its kind, its datum by name and, for a grid, the
// family UTM, a central meridian box that reads (in the angle format) as a zone's whole-degree
// meridian and, on the source, the zone's hemisphere. A datum has two geographic codes (2D and
// 3D) and a target zone a northern and a southern code, which compute alike here: `shown`, the
// code the box holds, is kept while it matches, so a typed 4979 stays 4979; otherwise the lowest
// code that matches, a target zone's in the hemisphere of the source's hemisphere list first.
// Nothing when no code matches.
std::optional<int> sideCode(const WindowState& state, WindowSide side,
                            const std::vector<std::string>& datumNames, const NumberFormat& user,
                            std::optional<int> shown);
