// Where the program reads its files and writes the user's: the portable layout, an installed
// layout, a program folder that cannot be written, and the user's copies read first.
#include "transform/files/AtomicFile.h"
#include "config/ProgramFiles.h"
#include "tests/config/config_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

const auto always = [](const fs::path&) { return true; };
const auto never = [](const fs::path&) { return false; };

TEST(ProgramFiles, ThePortableLayoutKeepsEverythingBesideTheProgram)
{
    TemporaryFolder root;
    const fs::path bin = root / "zelvora";
    fs::create_directories(bin);
    writeBytes(bin / "Datum.Cfg", "6378137,298.257223563,WGS 84,0,0,0\r\n");
    // Even with a shipped catalogue in ../share/zelvora, the one beside the program wins.
    fs::create_directories(root / "share/zelvora");
    writeBytes(root / "share/zelvora/Datum.Cfg", "other\r\n");
    const ProgramFiles files = locateProgramFiles(bin, root / "config", always);
    EXPECT_EQ(files.data, bin);
    EXPECT_EQ(files.settings, bin);
    EXPECT_EQ(files.readable("Datum.Cfg"), bin / "Datum.Cfg");
    EXPECT_EQ(files.readable("Zelvora.Cfg"), bin / "Zelvora.Cfg");
    EXPECT_EQ(files.writable("Zelvora.Cfg"), bin / "Zelvora.Cfg");
    EXPECT_FALSE(fs::exists(root / "config"));  // nothing is made in the user's folders
}

TEST(ProgramFiles, AnInstalledProgramReadsShareAndKeepsTheUsersFilesInTheConfigFolder)
{
    TemporaryFolder root;
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/zelvora");
    writeBytes(root / "usr/share/zelvora/Datum.Cfg", "shipped\r\n");
    // Writable or not, an installed program's folder is not where a user's settings go.
    const ProgramFiles files = locateProgramFiles(root / "usr/bin", root / "home/.config", always);
    EXPECT_EQ(files.data, root / "usr/share/zelvora");
    EXPECT_EQ(files.settings, root / "home/.config/zelvora");
    EXPECT_EQ(files.readable("Datum.Cfg"), root / "usr/share/zelvora/Datum.Cfg");

    // The folder is made when the first file is written, and the user's copy is read from then on.
    const fs::path settings = files.writable("Datum.Cfg");
    EXPECT_TRUE(fs::is_directory(root / "home/.config/zelvora"));
    writeBytes(settings, "changed\r\n");
    EXPECT_EQ(files.readable("Datum.Cfg"), root / "home/.config/zelvora/Datum.Cfg");
    EXPECT_EQ(files.readable("Zelvora.Cfg"), root / "usr/share/zelvora/Zelvora.Cfg");
}

TEST(ProgramFiles, APortableFolderThatCannotBeWrittenSendsTheSettingsToTheConfigFolder)
{
    TemporaryFolder root;
    writeBytes(root / "Datum.Cfg", "shipped\r\n");
    writeBytes(root / "Zelvora.Cfg", "shipped settings\r\n");
    const ProgramFiles files = locateProgramFiles(root.path(), root / "config", never);
    EXPECT_EQ(files.data, root.path());
    EXPECT_EQ(files.settings, root / "config/zelvora");
    // Until the user has files of their own, the ones beside the program are read.
    EXPECT_EQ(files.readable("Zelvora.Cfg"), root / "Zelvora.Cfg");
    writeBytes(files.writable("Zelvora.Cfg"), "the user's\r\n");
    EXPECT_EQ(files.readable("Zelvora.Cfg"), root / "config/zelvora/Zelvora.Cfg");
    EXPECT_EQ(files.readable("Datum.Cfg"), root / "Datum.Cfg");
}

TEST(ProgramFiles, NothingShippedAnywhereIsThePortableLayoutAndItsMissingCatalogue)
{
    TemporaryFolder root;
    const ProgramFiles files = locateProgramFiles(root.path(), root / "config", always);
    EXPECT_EQ(files.data, root.path());
    EXPECT_EQ(files.readable("Datum.Cfg"), root / "Datum.Cfg");
}

TEST(ProgramFiles, ASettingsFolderThatCannotBeMadeIsAWriteError)
{
    TemporaryFolder root;
    writeBytes(root / "config", "a file where the folder should be");
    const ProgramFiles files{root.path(), root / "config/zelvora"};
    EXPECT_THROW(files.writable("Zelvora.Cfg"), FileWriteError);
}

TEST(ProgramFiles, TheUsersConfigFolderFollowsXdgThenHome)
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string keptXdg = xdg ? xdg : "", keptHome = home ? home : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(userConfigFolder(), fs::path("/somewhere/config"));
    // A relative or empty XDG_CONFIG_HOME is ignored, as the base directory rules say.
    setenv("HOME", "/home/surveyor", 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(userConfigFolder(), fs::path("/home/surveyor/.config"));
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(userConfigFolder(), fs::path("/home/surveyor/.config"));
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_TRUE(userConfigFolder().is_absolute());
    EXPECT_EQ(userConfigFolder().filename(), ".config");
    xdg ? setenv("XDG_CONFIG_HOME", keptXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    home ? setenv("HOME", keptHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace
