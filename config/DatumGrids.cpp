#include "config/DatumGrids.h"

#include "config/ConfigFile.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// National grids run from a few hundred kilobytes to some tens of megabytes; the bound only keeps
// a wrong file from taking the machine's memory.
constexpr std::uintmax_t kLargestGrid = std::uintmax_t{1} << 30;

}  // namespace

std::vector<fs::path> gridFolders(const fs::path& catalogueFolder, const fs::path& userFolder,
                                  const fs::path& projFolder)
{
    std::vector<fs::path> folders{catalogueFolder.empty() ? fs::path(".") : catalogueFolder,
                                  userFolder};
    std::error_code error;
    if (fs::is_directory(projFolder, error)) folders.push_back(projFolder);
    return folders;
}

std::optional<fs::path> GridShelf::find(const std::string& file) const
{
    const fs::path name(file);
    std::error_code error;
    if (name.is_absolute())
        return fs::is_regular_file(name, error) ? std::optional(name) : std::nullopt;
    for (const auto& folder : folders_)
        if (fs::is_regular_file(folder / name, error)) return folder / name;
    return std::nullopt;
}

const GridShelf::Shelved& GridShelf::shelved(const std::string& file)
{
    if (const auto known = files_.find(file); known != files_.end()) return known->second;
    Shelved shelf;
    const auto found = find(file);
    if (!found) {
        shelf.problem = GridProblem{GridProblem::Kind::Missing, {}, file, {}, folders_};
    } else {
        const ConfigFileContent content = readConfigFile(*found, kLargestGrid);
        try {
            if (content.problem) throw GridFileError(*content.problem);
            shelf.grid = std::make_shared<const Ntv2Grid>(content.bytes, found->string());
        } catch (const GridFileError& error) {
            shelf.problem = GridProblem{GridProblem::Kind::Unreadable, {}, file, error.what(), {}};
        }
    }
    return files_.emplace(file, std::move(shelf)).first->second;
}

std::vector<GridProblem> GridShelf::attach(DatumCatalogue& catalogue,
                                           const std::vector<int>& indexes)
{
    std::vector<GridProblem> problems;
    const auto names = catalogue.names();
    for (const int index : indexes) {
        const TDatum* datum = catalogue.datumAt(index);
        if (datum == nullptr || datum->GridFile.empty()) continue;
        std::optional<GridProblem> problem;
        std::shared_ptr<const Ntv2Grid> grid;
        const bool targetHeld =
            datum->GridTarget != datum->Name &&
            std::find(names.begin(), names.end(), datum->GridTarget) != names.end();
        if (!targetHeld) {
            problem = GridProblem{
                GridProblem::Kind::NoTarget, {}, datum->GridFile, datum->GridTarget, {}};
        } else {
            const Shelved& shelf = shelved(datum->GridFile);
            grid = shelf.grid;
            problem = shelf.problem;
        }
        catalogue.setGrid(index, grid);
        if (!problem) continue;
        problem->datum = datum->Name;
        if (reported_.insert(datum->Name + '\n' + datum->GridFile).second)
            problems.push_back(std::move(*problem));
    }
    return problems;
}
