#include "platform/system/system.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>

extern char** environ;

namespace sys {
namespace {

std::optional<std::filesystem::path>& program_folder_override() {
  static std::optional<std::filesystem::path> folder;
  return folder;
}

std::filesystem::path home_folder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  return "/";
}

// Reads XDG_DESKTOP_DIR="..." from ~/.config/user-dirs.dirs (or
// $XDG_CONFIG_HOME/user-dirs.dirs); "$HOME" at its start is expanded.
std::optional<std::filesystem::path> xdg_desktop() {
  std::filesystem::path config;
  if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c) {
    config = c;
  } else {
    config = home_folder() / ".config";
  }
  std::ifstream in(config / "user-dirs.dirs");
  std::string line;
  const std::string key = "XDG_DESKTOP_DIR=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.rfind("$HOME", 0) == 0) value = home_folder().string() + value.substr(5);
    if (value.empty()) return std::nullopt;
    return std::filesystem::path(value);
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path program_folder() {
  if (program_folder_override()) return *program_folder_override();
  // The user's own data folder, not the executable's: a rebuild or a
  // reinstall must not take the dossier with it, and an installed program
  // cannot write beside itself. A relative XDG_DATA_HOME is ignored, as the
  // base directory rules say.
  std::filesystem::path base;
  if (const char* d = std::getenv("XDG_DATA_HOME"); d && *d == '/') {
    base = d;
  } else {
    base = home_folder() / ".local" / "share";
  }
  std::filesystem::path folder = base / "sevrina";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

void set_program_folder(const std::filesystem::path& folder) { program_folder_override() = folder; }

std::filesystem::path desktop_folder() {
  std::error_code ec;
  if (auto d = xdg_desktop(); d && std::filesystem::is_directory(*d, ec)) return *d;
  auto desktop = home_folder() / "Desktop";
  if (std::filesystem::is_directory(desktop, ec)) return desktop;
  return home_folder();
}

bool open_in_viewer(const std::string& path) {
  // Double fork, so the viewer is never our child to wait for and leaves
  // no zombie behind.
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    pid_t grandchild = 0;
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(path.c_str()), nullptr};
    if (posix_spawnp(&grandchild, "xdg-open", nullptr, nullptr, argv, environ) != 0) _exit(1);
    // Without a program for the file xdg-open fails at once; with one it
    // either returns 0 or keeps running while the viewer shows the file.
    // A second tells the two apart without holding the window up for long.
    for (int waited = 0; waited < 1000; waited += 10) {
      int status = 0;
      pid_t r = waitpid(grandchild, &status, WNOHANG);
      if (r == grandchild) _exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1);
      if (r < 0) _exit(0);
      usleep(10000);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    // With SIGCHLD ignored the system reaps the child itself and waitpid
    // fails with ECHILD: the outcome is then unknown, and retrying would
    // spin for ever.
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace sys
