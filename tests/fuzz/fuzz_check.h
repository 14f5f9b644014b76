#pragma once
// What the targets share: a broken invariant aborts naming itself, and an
// input a reader takes by path goes to a file in this process's folder in
// memory, removed when the process ends, or by the next target process
// after a crash.

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzz {

inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// A fault a judge described ("" when there is none) stops the target,
// printed first.
inline void Fault(const std::string& fault) {
  if (fault.empty()) return;
  std::fprintf(stderr, "%s\n", fault.c_str());
  std::abort();
}

// The files of the targets' processes live in memory, one folder per
// process: "/dev/shm/sevrina-target-<pid>". A process removes its folder
// when it exits, together with the folders of processes that no longer
// exist (a crash, a timeout or an interrupt ends a process without its exit
// handlers), and so does the first use of a folder, so that a campaign of
// thousands of processes, in parallel or one after the other, leaves
// nothing behind. A smoke run names a folder of its own in SEVRINA_FUZZ_TMP
// instead, which its script removes; the names then hold no process number,
// so the names the target compares, and with them the run, are the same
// every time. The script names that folder "sevrina-fuzz-<pid>.XXXXXX"
// after its own process, so that the folder of a run killed before its
// script could remove it goes the same way as a crashed target's.
namespace temp_folder {

constexpr const char* kPrefix = "sevrina-target-";
constexpr const char* kSmokePrefix = "sevrina-fuzz-";

// The smoke run's folder, or nullptr outside a smoke run.
inline const char* SmokeRun() {
  const char* folder = std::getenv("SEVRINA_FUZZ_TMP");
  return folder != nullptr && *folder != '\0' ? folder : nullptr;
}

// Where the per-process folders go: /dev/shm, or the system's temporary
// folder where there is none.
inline std::filesystem::path Parent() {
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
  const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
  return ec ? std::filesystem::path("/tmp") : tmp;
}

inline std::filesystem::path Own() { return Parent() / (kPrefix + std::to_string(::getpid())); }

// The process number a folder of Parent() is named after, or 0 when the
// name is not one of ours: a target's "sevrina-target-<pid>", or a smoke
// run's "sevrina-fuzz-<pid>." followed by its script's random letters.
inline pid_t Owner(const std::string& name) {
  const std::size_t target = std::char_traits<char>::length(kPrefix);
  const std::size_t smoke = std::char_traits<char>::length(kSmokePrefix);
  std::size_t begin = 0, end = 0;
  if (name.compare(0, target, kPrefix) == 0) {
    begin = target;
    end = name.size();
  } else if (name.compare(0, smoke, kSmokePrefix) == 0) {
    begin = smoke;
    end = std::min(name.find('.', begin), name.size());
    if (end == name.size()) return 0;
  }
  if (begin == 0 || end <= begin || end > begin + 9) return 0;
  pid_t pid = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    pid = pid * 10 + (name[i] - '0');
  }
  return pid;
}

// Removes the folders of Parent() whose process is gone. A process that
// exists but is another user's answers EPERM, and keeps its folder.
inline void RemoveFoldersOfEndedProcesses() {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(Parent(), ec), end; !ec && it != end; it.increment(ec)) {
    const pid_t pid = Owner(it->path().filename().string());
    if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
}

inline void RemoveOwnAndEnded() {
  std::error_code ec;
  std::filesystem::remove_all(Own(), ec);
  RemoveFoldersOfEndedProcesses();
}

// Registered as the program starts, so that a process that never needs a
// folder itself (the parent of libFuzzer's -fork jobs) still removes at its
// end the folders its crashed jobs left.
inline const bool kCleansUpAtExit = SmokeRun() == nullptr && std::atexit(RemoveOwnAndEnded) == 0;

}  // namespace temp_folder

// The folder of this process's files: SEVRINA_FUZZ_TMP in a smoke run,
// else this process's own folder in memory, empty when first asked for.
inline const std::string& TempFolder() {
  static const std::string folder = [] {
    if (const char* smoke = temp_folder::SmokeRun()) return std::string(smoke);
    temp_folder::RemoveOwnAndEnded();  // the own one: of an earlier process of this number
    const std::filesystem::path own = temp_folder::Own();
    std::error_code ec;
    std::filesystem::create_directories(own, ec);
    return own.string();
  }();
  return folder;
}

// "<folder>/sevrina-<stem><suffix>" in this process's folder (TempFolder).
inline std::string TempPath(const char* stem, const char* suffix) {
  return TempFolder() + "/sevrina-" + stem + suffix;
}

// Writes the input to its file, dated as every input is: the writer keeps
// a file it read by its size and time, and a time that follows the clock
// would make two runs of one seed differ.
inline bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool whole = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !whole) return false;
  std::error_code ec;
  std::filesystem::last_write_time(path, std::filesystem::file_time_type(std::chrono::seconds(1)), ec);
  return true;
}

}  // namespace fuzz
