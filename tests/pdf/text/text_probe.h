#pragma once
// A writer whose internals the text tests can read: the page content, the
// font table, the text state, the current point and the last rectangle.

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace text_test {

class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::DrawTextLine;
  using PdfWriter::WriteFont;

  // The content appended to the open page since the last Clear().
  std::string PageText() const { return BufferText(Content.PageContent); }
  void Clear() { BufferReset(Content.PageContent); }

  const TextState& TextStateOf() const { return Text; }
  TextState& MutableText() { return Text; }
  const pdf::FontRecord& Font(int i) const { return Text.Fonts.at(static_cast<std::size_t>(i)); }
  float CurrentX() const { return Pages.CurrentX; }
  float CurrentY() const { return Pages.CurrentY; }
  float PageHeight() const { return Pages.PageHeight; }
  std::array<float, 4> LastRect() const { return Content.LastRect; }
  float Hs() const { return Text.HorizontalScaling; }
};

// A fresh path in a folder of this test program's own, removed at exit.
inline std::string TempPdf(const std::string& stem) {
  static pdftest::TempDir dir;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name() + "_" + stem;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return dir.file(name + ".pdf");
}

using pdftest::ReadFile;

// Number of non-overlapping occurrences of needle in hay.
inline int Count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (std::size_t at = hay.find(needle); at != std::string::npos;
       at = hay.find(needle, at + needle.size())) {
    ++n;
  }
  return n;
}

}  // namespace text_test
