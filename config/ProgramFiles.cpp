#include "config/ProgramFiles.h"

#include "transform/files/AtomicFile.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

fs::path ProgramFiles::readable(const std::string& name) const
{
    return isFile(settings / name) ? settings / name : data / name;
}

fs::path ProgramFiles::writable(const std::string& name) const
{
    std::error_code error;
    fs::create_directories(settings, error);
    if (error)
        throw FileWriteError("Cannot create the folder \"" + settings.string() +
                             "\": " + error.message());
    return settings / name;
}

fs::path userConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && fs::path(xdg).is_absolute()) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user && user->pw_dir ? user->pw_dir : "/";
    }
    return fs::path(home) / ".config";
}

fs::path runningProgramFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path();
    return self.parent_path();
}

bool folderIsWritable(const fs::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

ProgramFiles locateProgramFiles(const fs::path& programFolder, const fs::path& configFolder,
                                const std::function<bool(const fs::path&)>& writable)
{
    const fs::path installed = programFolder.parent_path() / "share" / "zelvora";
    const bool portable =
        isFile(programFolder / kCatalogueFileName) || !isFile(installed / kCatalogueFileName);
    if (!portable) return {installed, configFolder / "zelvora"};
    return {programFolder, writable(programFolder) ? programFolder : configFolder / "zelvora"};
}
