// The fuzz targets' clock stands still: every writer dates its document
// 2026-01-01 00:00:00 UTC. libFuzzer's mutations draw on the values the
// target compares, and the writer compares the digits of the date it
// writes; a clock that moves would make two runs of one seed differ.
// Linked into every target, this definition comes before the C library's.
//
// For the same reason every protected document has one file identifier
// here: the identifier decides the document key, and so every encrypted
// byte the writer then escapes. This definition comes before the writer
// library's, whose source file then stays out of the link.
#include <ctime>
#include <string_view>

#include "pdf/core/file_identifier.h"

extern "C" std::time_t time(std::time_t* out) noexcept {
  const std::time_t fixed = 1767225600;
  if (out != nullptr) *out = fixed;
  return fixed;
}

pdf::FileIdentifier pdf::NewFileIdentifier(std::string_view, const void*) {
  return {0x53, 0x65, 0x76, 0x72, 0x69, 0x6E, 0x61, 0x20, 0x66, 0x75, 0x7A, 0x7A, 0x20, 0x69, 0x64, 0x21};
}
