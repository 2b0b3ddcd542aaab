// Only an installed program keeps its files in the per-user data folder.
#include "app/data_folder.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace zerkavi::testing {
namespace {

TEST(DataFolder, OnlyAnInstalledProgramUsesThePerUserDataFolder) {
    const TemporaryFolder t;
    const std::filesystem::path prefix = t.path() / "prefix", home = t.path() / "home";
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/applications");
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(installedDataFolder(prefix / "bin"), std::nullopt); // no menu entry: portable
    std::ofstream(prefix / "share/applications" / kDesktopEntryName).put('\n');
    EXPECT_EQ(installedDataFolder(prefix / "bin"), home / ".local/share/zerkavi");
    EXPECT_TRUE(std::filesystem::is_directory(home / ".local/share/zerkavi"));
    EXPECT_EQ(installedDataFolder(prefix / "share"), std::nullopt); // not a bin folder
    ::setenv("XDG_DATA_HOME", (t.path() / "data").c_str(), 1);
    EXPECT_EQ(installedDataFolder(prefix / "bin"), t.path() / "data/zerkavi");
    ::setenv("XDG_DATA_HOME", "relative", 1); // ignored, as the XDG rules say
    EXPECT_EQ(installedDataFolder(prefix / "bin"), home / ".local/share/zerkavi");
}

} // namespace
} // namespace zerkavi::testing
