// The datum editor's words for its rotation, scale and grid boxes and for their refusals, in the
// three languages (English for an unknown one), without any toolkit.
#pragma once

#include "config/DatumEntry.h"

#include <string>

enum class EditorCaption {
    Rotations,        // the heading over rx, ry, rz
    Scale,            // the scale's box, and nothing else in ppm
    Convention,       // the rotations' sign convention: a box and a column
    GridFile,         // the NTv2 grid file: a box and a column
    GridTarget,       // the datum the grid carries the points to: a box and a column
    PositionVector,   // the convention list's 9606
    CoordinateFrame,  // the convention list's 9607
};

std::string datumEditorCaption(EditorCaption caption, int language);

// The editor's message for boxes it cannot store: the refusals of rotations, scale, convention
// and grid here, each naming its box, and the rest as datumEntryMessage words them. Empty for
// a valid entry.
std::string datumEditorMessage(const DatumEntry& entry, int language);
