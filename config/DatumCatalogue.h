// The datum catalogue: the datums that both sides of a transformation choose from, held in
// "Datum.Cfg" beside the program, one datum per line:
//
//     a,1/f,name,Dx,Dy,Dz        for example   6378000,300.5,Datum A,-10.5,20,-3.25
//
// A seven-parameter datum adds its rotations in arc-seconds, its scale change in parts per
// million and the convention of the rotations' signs (EPSG method 9606, position vector, or
// 9607, coordinate frame); any line may cite the EPSG transformation its figures come from and
// that transformation's accuracy in metres:
//
//     ...,Dz,rx=0.202,ry=0.045,rz=-2.455,ppm=6.7,frame=9607,epsg=1777,accuracy=3
//
// A datum may name an NTv2 grid file that carries its points to another datum of the catalogue,
// by the other's name; the shift above then serves the points the grid does not cover:
//
//     ...,Dz,grid=SAD69_003.gsb,gridto=SIRGAS 2000,epsg=5528,accuracy=1
//
// The further fields are key=value, each at most once; the program writes them in this order and
// only when they are there, so that a line of six fields stays six. Rotations are at most 60
// arc-seconds and scales 100 ppm in size; rotations or a scale need their frame; grid= and
// gridto= go together.
//
// Numbers in the general form with "." and no grouping; names in Windows-1252 in the file and
// UTF-8 in the program; lines end with CR LF. The first empty line ends the catalogue.
#pragma once

#include "core/Geodesica.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A datum the catalogue will not store, with the reason in words and as a value the windows
// word in the user's language.
class DatumRefused : public std::runtime_error {
public:
    enum class Reason { Comma, LineBreak, Character, Full, NoSlot };
    DatumRefused(Reason reason, const std::string& what) : std::runtime_error(what), why_(reason) {}
    Reason reason() const { return why_; }

private:
    Reason why_;
};

// Where a datum's figures come from, as its line cites them; empty for a line that cites none.
struct DatumCitation {
    int epsg = 0;          // the EPSG transformation to WGS 84
    std::string accuracy;  // its accuracy in metres, as the line writes it

    bool operator==(const DatumCitation&) const = default;
};

// The largest rotation and scale a datum may hold: published datums stay below a few
// arc-seconds and a few tens of ppm, and a value beyond these is a slip of the unit.
inline constexpr long double kLargestRotation = 60;  // arc-seconds
inline constexpr long double kLargestScale = 100;    // parts per million

// A datum's figures as the editor shows and stores them: everything its line holds but the
// citation. InvF is the inverse flattening.
struct DatumValues {
    std::string Name;
    long double A = 0, InvF = 0, Dx = 0, Dy = 0, Dz = 0;
    // Braced, so that a datum that only shifts may be written with its first six values.
    HelmertRotation Rotation{};            // all zero for a datum that only shifts
    std::string GridFile{}, GridTarget{};  // both empty for a datum without a grid
};

// A datum's values as the editor shows them.
DatumValues datumValues(const TDatum& datum);

// Whether a text can stand in a field of the catalogue file and read back as it was: no comma
// (the field separator), no line break, only characters of Windows-1252.
bool catalogueFieldHolds(std::string_view text);

class DatumCatalogue {
public:
    static constexpr int Slots = 51;

    // The datums in list order: entry i is item i of both datum lists.
    const std::vector<TDatum>& ListaDatum() const { return datums_; }
    // The index of the last datum: the number of datums minus 1, -1 when there are none.
    int QuantDatum() const { return static_cast<int>(datums_.size()) - 1; }
    // Set once a datum has been stored from the editor; decides whether the file is written.
    bool DatumAlterado() const { return changed_; }

    // The datum at a list's selected index, or nothing for -1, an empty catalogue or an index
    // past the last datum.
    const TDatum* datumAt(int index) const;
    // The citation of the datum at an index; an empty one past the last datum.
    DatumCitation citationAt(int index) const;
    std::vector<std::string> names() const;

    // Stores a datum in a slot, replacing the one there or, at QuantDatum() + 1, adding one, and
    // marks the catalogue changed. The name, the grid file and its target lose their outer
    // blanks, as they would in the file. A datum replaced keeps its citation only while every
    // figure (a, 1/f, the shift, rotations, scale, convention, grid file and target) stays as it
    // was, and its loaded grid while the grid file does.
    // Refuses (DatumRefused, nothing changed) a name that holds a comma or a line break, which
    // the file could not read back, a 52nd datum, and a slot beyond the next free one; throws
    // std::invalid_argument (nothing changed) for figures the file would refuse to read back
    // (the editor's readDatumEntry refuses them first, in the user's words).
    void store(int slot, const DatumValues& values);

    // Gives the datum at an index its grid, or takes it away (a null grid); nothing else changes,
    // the catalogue is not marked changed.
    void setGrid(int index, std::shared_ptr<const Ntv2Grid> grid);

    // Adds a datum as the file reading does, without marking the catalogue changed; false when
    // all the slots are taken.
    bool append(TDatum datum, DatumCitation citation = {});

private:
    std::vector<TDatum> datums_;
    std::vector<DatumCitation> citations_;  // one a datum
    bool changed_ = false;
};

// The selected indexes of the two datum lists.
struct DatumSelection {
    int source;  // ComboBox9
    int target;  // ComboBox10
};

// The editor's "Aplica": stores the datum in the slot and returns the selections the refreshed
// lists must show: each as it was, 0 where it no longer names a datum (or had none while datums
// exist), -1 when the catalogue is empty. The lists' new items are catalogue.names().
DatumSelection AtualizaDatum(DatumCatalogue& catalogue, int slot, const DatumValues& values,
                             DatumSelection remembered);

// The datums read from a catalogue, and the one report the reading needs, if any: the file
// missing or unreadable, the first line that cannot be read (the lines before it stay loaded),
// or datums beyond the 51st (the first 51 stay loaded).
struct CatalogueReading {
    DatumCatalogue catalogue;
    std::optional<std::string> problem;
};

CatalogueReading readCatalogue(std::string_view content);
CatalogueReading loadCatalogue(const std::filesystem::path& file);

// The file's text for every datum in the catalogue.
std::string catalogueText(const DatumCatalogue& catalogue);

// Writes the catalogue's file if a datum was stored since it was read, atomically; throws
// FileWriteError when it cannot, leaving the previous file as it was. True if it wrote.
bool saveCatalogue(const std::filesystem::path& file, const DatumCatalogue& catalogue);
