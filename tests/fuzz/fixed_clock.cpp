// The fuzz targets' clock stands still: every writer dates its document
// 2026-01-01 00:00:00 UTC. libFuzzer's mutations draw on the values the
// target compares, and the writer compares the digits of the date it
// writes; a clock that moves would make two runs of one seed differ.
// Linked into every target, this definition comes before the C library's.
#include <ctime>

extern "C" std::time_t time(std::time_t* out) noexcept {
  const std::time_t fixed = 1767225600;
  if (out != nullptr) *out = fixed;
  return fixed;
}
