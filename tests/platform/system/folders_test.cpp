// The desktop folder: from the user-dirs file, else Desktop, else home.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

// The user's data folder, created on first use, so that a rebuild or an
// installed program keeps the dossier; a relative XDG_DATA_HOME is ignored.
TEST(ProgramFolder, IsTheUsersDataFolderUnlessReplaced) {
  const fs::path home = fs::temp_directory_path() / ("sevrina-data-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  ::setenv("HOME", home.c_str(), 1);
  const std::string own = (home / "dati").string();
  for (const auto& [xdg, expected] : {std::pair<const char*, fs::path>{nullptr, home / ".local/share/sevrina"},
                                      {"relative/dati", home / ".local/share/sevrina"},
                                      {own.c_str(), home / "dati/sevrina"}}) {
    if (xdg) ::setenv("XDG_DATA_HOME", xdg, 1); else ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(sys::program_folder(), expected) << (xdg ? xdg : "unset");
    EXPECT_TRUE(fs::is_directory(expected)) << (xdg ? xdg : "unset");
  }
  ::unsetenv("XDG_DATA_HOME");
  fs::remove_all(home);
  sys::set_program_folder("/tmp/altrove");
  EXPECT_EQ(sys::program_folder(), fs::path("/tmp/altrove"));
}

TEST(DesktopFolder, FromTheUserDirsFileElseDesktopElseHome) {
  fs::path home = fs::temp_directory_path() / ("sevrina-home-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home / ".config");
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");

  EXPECT_EQ(sys::desktop_folder(), home);  // nothing at all: the home folder
  fs::create_directory(home / "Desktop");
  EXPECT_EQ(sys::desktop_folder(), home / "Desktop");
  std::ofstream(home / ".config" / "user-dirs.dirs") << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Scrivania\"\n";
  EXPECT_EQ(sys::desktop_folder(), home / "Desktop");  // named but missing
  fs::create_directory(home / "Scrivania");
  EXPECT_EQ(sys::desktop_folder(), home / "Scrivania");
  fs::remove_all(home);
}

}  // namespace
