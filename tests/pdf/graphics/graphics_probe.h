#pragma once
// A writer with an open document and page whose state the graphics tests can
// read: the content written since the last look, the last rectangle and the
// stored line width and opacity resources.

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace gfxtest {

class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::Colours;
  using PdfWriter::Content;
  using PdfWriter::Navigation;
  using PdfWriter::Objects;
  using PdfWriter::Pages;
  using PdfWriter::Resources;
  using PdfWriter::Text;
  using PdfWriter::PopStyle;
  using PdfWriter::PushStyle;

  std::string PageText() const { return BufferText(Content.PageContent); }
  std::array<float, 4> LastRect() const { return Content.LastRect; }
};

// Opens a document and one page at the given points-per-unit factor; Take()
// returns the content lines appended since the previous Take().
class GraphicsTest : public ::testing::Test {
 protected:
  void Open(float scale = 1) {
    path_ = dir_.file("graphics.pdf");
    pdf_.BeginDoc(path_);
    ASSERT_EQ(pdf_.ErrNumber(), 0) << pdf_.ErrDescription();
    if (scale != 1) pdf_.SetScale(255, scale);
    pdf_.BeginPage();
    Take();
  }
  void SetUp() override { Open(); }

  std::string Take() {
    const std::string all = pdf_.PageText();
    std::string fresh = all.substr(mark_);
    mark_ = all.size();
    return fresh;
  }

  // Starts again on a fresh document at another scale.
  void Reopen(float scale) {
    pdf_.Abort();
    mark_ = 0;
    Open(scale);
  }

  pdftest::TempDir dir_;
  std::string path_;
  Probe pdf_;
  std::size_t mark_ = 0;
};

inline void ExpectRect(const std::array<float, 4>& r, float x1, float y1, float x2, float y2) {
  EXPECT_FLOAT_EQ(r[0], x1);
  EXPECT_FLOAT_EQ(r[1], y1);
  EXPECT_FLOAT_EQ(r[2], x2);
  EXPECT_FLOAT_EQ(r[3], y2);
}

}  // namespace gfxtest
