#pragma once
// What the targets share: a broken invariant aborts naming itself, and an
// input a reader takes by path goes to a file of this process in memory.

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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

// "/dev/shm/sevrina-<stem>-<pid><suffix>": one per process, so that parallel
// fuzzing jobs never share a file. A smoke run names a folder of its own
// in SEVRINA_FUZZ_TMP instead, and the name no longer holds the process
// number: the names the target compares are then the same in every run,
// and so is the run.
inline std::string TempPath(const char* stem, const char* suffix) {
  const char* folder = std::getenv("SEVRINA_FUZZ_TMP");
  if (folder != nullptr && *folder != '\0') return std::string(folder) + "/sevrina-" + stem + suffix;
  return "/dev/shm/sevrina-" + std::string(stem) + "-" + std::to_string(::getpid()) + suffix;
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
