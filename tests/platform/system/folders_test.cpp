// The desktop folder: from the user-dirs file, else Desktop, else home.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

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
