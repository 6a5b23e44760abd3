// Where the program finds the files it ships and keeps the user's.
//
// The portable layout keeps everything in the program's own folder: the program, "Datum.Cfg",
// the two bitmaps and "Zelvora.Cfg". An installed program (/usr/bin/zelvora) finds what it
// ships in ../share/zelvora/ beside its folder, and a folder it cannot write (or one shared by
// every user, as an installed program's is) would lose the user's settings at every close, so
// the user's files then live in $XDG_CONFIG_HOME/zelvora/. The file formats are the same in
// both places.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

// The two files' names, the same in both layouts.
inline constexpr const char* kSettingsFileName = "Zelvora.Cfg";
inline constexpr const char* kCatalogueFileName = "Datum.Cfg";

struct ProgramFiles {
    std::filesystem::path data;      // "Datum.Cfg" and the bitmaps as shipped
    std::filesystem::path settings;  // where "Zelvora.Cfg" and a changed "Datum.Cfg" are written

    // Everything in one folder, as the portable layout has it.
    static ProgramFiles inOneFolder(const std::filesystem::path& folder)
    {
        return {folder, folder};
    }

    // The file to read at start-up: the user's own in the settings folder when it is there,
    // else the shipped one.
    std::filesystem::path readable(const std::string& name) const;
    // The file to write at close; the settings folder is created first if need be (throws
    // FileWriteError when it cannot be).
    std::filesystem::path writable(const std::string& name) const;
};

// The user's folders from the environment: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config (the home folder from the password database when HOME is not set).
std::filesystem::path userConfigFolder();

// The folder of the running program file.
std::filesystem::path runningProgramFolder();

// Whether the program may write files in a folder.
bool folderIsWritable(const std::filesystem::path& folder);

// The data folder is the program's folder when "Datum.Cfg" lies there or nothing is shipped
// elsewhere, else ../share/zelvora/ beside it. The settings folder is the program's folder in
// the portable layout when it is writable, else `configFolder`/zelvora.
ProgramFiles locateProgramFiles(
    const std::filesystem::path& programFolder, const std::filesystem::path& configFolder,
    const std::function<bool(const std::filesystem::path&)>& writable = folderIsWritable);
