// The desktop folder, and starting the viewer.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

// Runs open_in_viewer in a child process of its own, with PATH set to
// `path_dir` and, when asked, SIGCHLD ignored, so that neither change
// reaches this test program. The child's exit code is the call's result (1
// true, 0 false); -1 when the child was killed, which the alarm does to a
// call that never comes back.
int ViewerResultInChild(const fs::path& path_dir, bool ignore_sigchld) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(60);
    ::setenv("PATH", path_dir.c_str(), 1);
    if (ignore_sigchld) ::signal(SIGCHLD, SIG_IGN);
    ::_exit(sys::open_in_viewer("/tmp/sevrina-nessun-documento.pdf") ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A folder holding a stand-in xdg-open that only exits 0 (or nothing).
fs::path ViewerFolder(bool with_viewer) {
  fs::path dir = fs::temp_directory_path() /
                 ("sevrina-viewer-" + std::to_string(::getpid()) + (with_viewer ? "-si" : "-no"));
  fs::remove_all(dir);
  fs::create_directories(dir);
  if (with_viewer) {
    std::ofstream(dir / "xdg-open") << "#!/bin/sh\nexit 0\n";
    fs::permissions(dir / "xdg-open", fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
  }
  return dir;
}

TEST(OpenInViewer, TrueWhenXdgOpenStartsFalseWhenItIsMissing) {
  const fs::path with = ViewerFolder(true), without = ViewerFolder(false);
  EXPECT_EQ(ViewerResultInChild(with, false), 1);
  EXPECT_EQ(ViewerResultInChild(without, false), 0);
  fs::remove_all(with);
  fs::remove_all(without);
}

}  // namespace
