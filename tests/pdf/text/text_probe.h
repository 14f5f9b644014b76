#pragma once
// A writer whose page content and text state the text tests can read, and a
// fixture with one open page in Courier 10 (every character 6 pt wide:
// exact numbers).

#include <string>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace text_test {

using pdftest::Count;
using pdftest::ReadFile;
using pdftest::TempPdf;

class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::DrawTextLine;

  // The content appended to the open page since the last Clear().
  std::string PageText() const { return BufferText(Content.PageContent); }
  void Clear() { BufferReset(Content.PageContent); }
  const TextState& TextStateOf() const { return Text; }
};

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_.BeginDoc(TempPdf("out"));
    ASSERT_EQ(w_.ErrNumber(), 0);
    w_.BeginPage();
    w_.SetFont("Courier", 10);
    w_.Clear();
  }
  void TearDown() override { w_.EndDoc(); }
  Probe w_;
};

}  // namespace text_test
