#pragma once
// A writer whose tables the interactive tests can read, and a small document
// fixture: a fresh file, one open page, and the finished file's text.

#include <string>

#include "tests/pdf/core/core_probe.h"

namespace interactive_test {

class Probe : public core_test::Probe {
 public:
  using PdfWriter::AddDestinationRecord;
  using PdfWriter::WriteAnnotation;
};

using core_test::Count;
using core_test::ObjectBytes;
using core_test::ReadFile;
using core_test::TempPdf;

// The object line of the first object whose text holds `marker` (from
// "n 0 obj\n" to "endobj\n"); "" when none does.
inline std::string ObjectWith(const std::string& file, const std::string& marker) {
  const std::size_t hit = file.find(marker);
  if (hit == std::string::npos) return "";
  const std::size_t start = file.rfind(" 0 obj\n", hit);
  if (start == std::string::npos) return "";
  const std::size_t line = file.rfind('\n', start);
  const std::size_t from = line == std::string::npos ? 0 : line + 1;
  const std::size_t end = file.find("endobj\n", hit);
  return file.substr(from, end + 7 - from);
}

// Opens a document at `path` in points on A4 with one page begun.
inline void OpenPage(Probe& w, const std::string& path) {
  w.BeginDoc(path);
  ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
  w.BeginPage();
}

}  // namespace interactive_test
