#pragma once
// What the targets share: a broken invariant aborts naming itself, and an
// input a reader takes by path goes to a file of this process in memory.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// "/dev/shm/sevrina-<stem>-<pid><suffix>": one per process, so that parallel
// fuzzing jobs never share a file.
inline std::string TempPath(const char* stem, const char* suffix) {
  return "/dev/shm/sevrina-" + std::string(stem) + "-" + std::to_string(::getpid()) + suffix;
}

inline bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool whole = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && whole;
}

}  // namespace fuzz
