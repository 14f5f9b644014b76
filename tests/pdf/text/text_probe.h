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

using pdftest::Count;
using pdftest::ReadFile;
using pdftest::TempPdf;

}  // namespace text_test
