// The grid files the catalogue's datums name: where they are looked for, and their reading,
// once a file, before the runs that need them.
//
// A datum that names a grid carries its points to the grid's target datum through the grid;
// the runs find the grid in the datum (TDatum::Grid). A grid that is missing, cannot be read or
// whose target is no other datum of the catalogue leaves the datum without one, so that it
// computes with its shift as a datum without a grid does; that is reported the first time only,
// so that the window and the tool say it once however many runs follow.
#pragma once

#include "config/DatumCatalogue.h"

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Where grid files are looked for, in order: beside the catalogue, in the user's configuration
// folder, and in PROJ's data folder, the last only where it exists.
std::vector<std::filesystem::path> gridFolders(
    const std::filesystem::path& catalogueFolder, const std::filesystem::path& userFolder,
    const std::filesystem::path& projFolder = "/usr/share/proj");

// A datum's grid that cannot serve, and why.
struct GridProblem {
    enum class Kind {
        Missing,     // in none of the folders
        Unreadable,  // found, but the file cannot be read or is no valid grid
        NoTarget,    // the grid's target datum is no other datum of the catalogue
    };
    Kind kind;
    std::string datum;   // the datum that names the grid
    std::string file;    // the grid file as the datum names it
    std::string detail;  // for Unreadable the reason, for NoTarget the target's name
    std::vector<std::filesystem::path> searched;  // the folders, for Missing
};

class GridShelf {
public:
    explicit GridShelf(std::vector<std::filesystem::path> folders) : folders_(std::move(folders)) {}

    const std::vector<std::filesystem::path>& folders() const { return folders_; }

    // Gives each datum at `indexes` that names a grid that grid, reading each file the first time
    // it is asked for; returns the problems not reported before.
    std::vector<GridProblem> attach(DatumCatalogue& catalogue, const std::vector<int>& indexes);

private:
    // The grid of a file name, or the problem; read once.
    struct Shelved {
        std::shared_ptr<const Ntv2Grid> grid;
        std::optional<GridProblem> problem;
    };
    const Shelved& shelved(const std::string& file);
    std::optional<std::filesystem::path> find(const std::string& file) const;

    std::vector<std::filesystem::path> folders_;
    std::map<std::string, Shelved> files_;
    std::set<std::string> reported_;  // datum name and file of each problem already returned
};
