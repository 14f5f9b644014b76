#pragma once
// A writer whose tables the interactive tests can read, and a few helpers.

#include <string>

#include "tests/pdf/core/core_probe.h"

namespace interactive_test {

using namespace core_test;

// The whole object holding `marker` ("" when none does).
inline std::string ObjectWith(const std::string& file, const std::string& marker) {
  const std::size_t hit = file.find(marker), start = file.rfind('\n', file.rfind(" 0 obj\n", hit)) + 1;
  return hit == std::string::npos ? "" : file.substr(start, file.find("endobj\n", hit) + 7 - start);
}

// Writes a document at `path`: one page begun, `body`, the end; its text.
template <typename Body> std::string WriteDoc(const std::string& path, Body body) {
  Probe w;
  w.BeginDoc(path);
  w.BeginPage();
  body(w);
  w.EndDoc();
  return ReadFile(path);
}

}  // namespace interactive_test
