// The main window's words about its own boxes and its file runs, in the three languages, without
// any toolkit: which box a value that does not read came from, and what a file run did.
#pragma once

#include "config/DatumGrids.h"
#include "transform/files/FileRun.h"
#include "transform/pipeline/WindowState.h"

#include <string>

// Single-point mode shows the point's boxes; file mode hides them.
enum class WindowMode { SinglePoint, File };

// Whether box n (Edit1 to Edit30) is on screen for the window's kinds, families and mode.
bool boxShown(int box, const WindowState& state, WindowMode mode);

// Box n as the user finds it: "Caixa:", the side's caption and the row's label ("Caixa: De:
// Latitude"). A box the present choices hide is named with the choices that show it, so that the
// user can switch back and mend it ("... (aparece com: De: Topográfico Local)").
std::string boxName(int box, const WindowState& state, WindowMode mode, int language);

// The line the window shows after a finished file run: lines read, points transformed, points
// rejected, the points outside the datum's grid when there are some, the time in seconds (with
// the user's decimal separator) and the file written, which comes last so that the window can
// shorten a long name.
std::string fileRunLine(const FileRunSummary& summary, double seconds, char decimalSeparator,
                        const std::string& destination, int language);

// A datum's grid that cannot serve, and that its points are shifted by the datum's parameters.
std::string gridProblemMessage(const GridProblem& problem, int language);

// The line after a run that wrote nothing, with the reason.
std::string refusedRunLine(const std::string& reason, int language);

// The EPSG code box of a side (ui/texts/SideCodes.h): its tooltip, and why a typed code changed
// nothing, in the three languages (English for an unknown one).
std::string epsgBoxHint(bool source, int language);
std::string epsgNotACodeMessage(const std::string& typed, int language);
std::string epsgUnknownMessage(int code, int language);
// `name` is the registry's name of the system, `datum` the catalogue's name it is on.
std::string epsgDatumMissingMessage(int code, const std::string& name, const std::string& datum,
                                    int language);
