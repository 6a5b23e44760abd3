// The main window's state as one plain value: what the window holds in its boxes and lists.
//
// The window fills it from its widgets when an action runs, the settings file reads and writes
// it, the command-line tool builds it from that file and its options, and the transformation
// reads it field by field, converting each text only when it reaches it, so a bad box is
// reported by the action that reads it and at that moment.
#pragma once

#include "transform/text/NumberFormat.h"

#include <array>
#include <string>

struct WindowState {
    // The edit boxes' texts exactly as typed (UTF-8).
    std::string Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10;
    std::string Edit11, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18, Edit19, Edit20;
    std::string Edit21, Edit22, Edit23, Edit24, Edit25, Edit26, Edit27, Edit28, Edit29, Edit30;

    // The lists' selected indexes; -1 is no selection.
    int ComboBox1 = -1;   // language: 0 Portuguese, 1 English, 2 Spanish
    int ComboBox2 = -1;   // angle format
    int ComboBox3 = -1;   // file type, as FileType below names them
    int ComboBox7 = -1;   // source coordinate kind
    int ComboBox8 = -1;   // target coordinate kind
    int ComboBox9 = -1;   // source datum, a position in the catalogue
    int ComboBox10 = -1;  // target datum
    int ComboBox14 = -1;  // source hemisphere: 0 north, 1 south
    int ComboBox16 = -1;  // source grid family
    int ComboBox17 = -1;  // target grid family

    // File mode's "keep heights": file runs write each point's Z as the source gave it, since a
    // levelled height does not change with the datum (no effect where either side is geocentric,
    // whose third value is no height); off, Z is converted as an ellipsoidal height.
    bool CheckBox1 = false;

    // The file dialogs' current file names (UTF-8 paths).
    std::string OpenDialog1FileName;
    std::string SaveDialog1FileName;

    bool operator==(const WindowState&) const = default;
};

// The edit boxes by number, for the code that goes through all of them (the window's binding of
// widgets to fields, tests); editBox(n) is EditN, for n from 1 to kEditBoxes.
inline constexpr int kEditBoxes = 30;
std::string& editBox(WindowState& state, int n);
const std::string& editBox(const WindowState& state, int n);
// The number n of the box that `field` is (a reference into `state`); 0 for another string.
int editBoxNumber(const WindowState& state, const std::string& field);

// The number of items of each list, for the checks that keep every selection valid.
namespace ListSize {
inline constexpr int Languages = 3;
inline constexpr int AngleFormats = 3;
inline constexpr int FileTypes = 3;
inline constexpr int CoordinateKinds = 4;
inline constexpr int Hemispheres = 2;
inline constexpr int GridFamilies = 4;
}  // namespace ListSize

// The file types, as the file type list numbers its items: what a file run reads and writes.
namespace FileType {
inline constexpr int Drawing = 0;          // a DXF drawing rewritten
inline constexpr int PointsToDrawing = 1;  // a point file exported to a drawing
inline constexpr int PointsToText = 2;     // a point file written back as a point file
}  // namespace FileType

// The state of a window that has just started, before any settings file is read: the boxes'
// first texts, the lists' first selections, "keep heights" off, and the values start-up sets
// (0.9996 for both scale factors, both datum lists on their second item). Numbers that hold a
// decimal separator are written with the user's, so that every box converts back as typed.
WindowState startupState(const NumberFormat& user);
