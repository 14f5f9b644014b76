// Line width, caps and joins, miter limit, dash patterns and opacity states:
// the exact operator text, the stored width and the graphics-state objects.

#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::GraphicsTest;

TEST_F(GraphicsTest, LineWidthIsStoredInPointsAndNegativeIsIgnored) {
  EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, 0);
  Reopen(10);
  pdf_.SetLineWidth(0.5f);
  EXPECT_EQ(Take(), "\r5 w");
  EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, 5);
  pdf_.SetLineWidth(-1);
  EXPECT_EQ(Take(), "");
  EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, 5);
  pdf_.SetLineWidth(0);
  EXPECT_EQ(Take(), "\r0 w");
  EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, 0);

  // The documents' width: 0.01 cm.
  Reopen(28.346457f);
  pdf_.SetLineWidth(0.01f);
  EXPECT_EQ(Take(), "\r0.283 w");
  // The width survives a new page (nothing is written for it there).
  pdf_.BeginPage();
  mark_ = 0;
  EXPECT_EQ(Take().find(" w"), std::string::npos);
  EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, 0.01f * 28.346457f);
}

TEST_F(GraphicsTest, LineStyleCapsJoinsAndMiterLimit) {
  struct Case {
    int style;
    float miter;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, "\r0 J\r0 j"},
      {34, 10, "\r1 J\r1 j\r10 M"},
      {16 + 1, 0, "\r0 J\r0 j"},
      {64 + 4, 1, "\r2 J\r2 j\r1 M"},
      {48, 0.99f, "\r1 J\r0 j"},  // below 1: no miter line
      {80 + 3, 2.5f, "\r2 J\r1 j\r2.5 M"},
      {5, 0, "\r0 J\r2 j"},
      // two bits of one group beyond the defined operands: the larger flag wins
      {96 + 6, 0, "\r2 J\r2 j"},
      {112 + 7, 0, "\r2 J\r2 j"},
      {-1, 0, "\r2 J\r2 j"},
      {256 + 8, 0, "\r0 J\r0 j"},  // other bits are ignored
  };
  Reopen(10);  // the miter limit is a ratio, never scaled
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    pdf_.SetLineStyle(c.style, c.miter);
    EXPECT_EQ(Take(), c.text);
  }
}

TEST_F(GraphicsTest, DashPatternForms) {
  struct Case {
    const char* pattern;
    float phase;
    const char* text;
  };
  const Case cases[] = {
      {"dash", 0, "\r[1 ] 0 d"},
      {"  dot ", 0, "\r[0.5 ] 0 d"},
      {"DashDot", 1, "\r[1 0.5 0.5 0.5 ] 10 d"},
      {"DASHDOTDOT", 0.25f, "\r[1 0.5 0.5 0.5 0.5 0.5 ] 2.5 d"},
      {"2;1", 0, "\r[ 20 10 ] 0 d"},
      {" 0.3 ; 1 5;abc;.25x", 0.5f, "\r[ 3 150 0 2.5 ] 5 d"},
      {"1e-1;2D0", 0, "\r[ 1 20 ] 0 d"},
      {"", 0, "\r[ ] 0 d"},
      {"solid", 3, "\r[ ] 0 d"},
      {"dashes", 0, "\r[ ] 0 d"},  // an unknown name: lengths of 0 draw solid
      {";", 0, "\r[ ] 0 d"},
  };
  Reopen(10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    pdf_.SetDash(c.pattern, c.phase);
    EXPECT_EQ(Take(), c.text);
  }
  pdf_.SetDash();
  EXPECT_EQ(Take(), "\r[ ] 0 d");
}

TEST_F(GraphicsTest, DashLengthBeyondSinglePrecisionFails) {
  try {
    pdf_.SetDash("1;1e300");
    FAIL() << "no failure";
  } catch (const pdf::PdfError& e) {
    EXPECT_EQ(e.Number(), 6);
  }
  EXPECT_EQ(Take(), "");
}

TEST_F(GraphicsTest, AlphaStatesAreObjectsNamedInCallOrder) {
  const std::int32_t first = pdf_.Objects.LastObjectNumber + 1;
  pdf_.SetAlpha(-5);
  pdf_.SetAlpha(50);
  pdf_.SetAlpha(250);
  pdf_.SetAlpha(33);
  pdf_.SetAlpha(50);  // the same value again is a new object and a new name
  EXPECT_EQ(Take(), "\r/GSTATE_1 gs\r/GSTATE_2 gs\r/GSTATE_3 gs\r/GSTATE_4 gs\r/GSTATE_5 gs");
  EXPECT_EQ(pdf_.Resources.AlphaCount, 5);
  std::string resources;
  for (int i = 0; i < 5; ++i) {
    resources += "/GSTATE_" + std::to_string(i + 1) + " " + std::to_string(first + i) + " 0 R ";
  }
  EXPECT_EQ(pdf_.Resources.ExtGStateResources, resources);

  pdf_.EndDoc();
  const std::string file = pdftest::ReadFile(path_);
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.4\n");
  const char* opacities[] = {"0", "0.5", "1", "0.33", "0.5"};
  for (int i = 0; i < 5; ++i) {
    const std::string object = std::to_string(first + i) + " 0 obj\n<</Type /ExtGState /ca " +
                               opacities[i] + " /CA " + opacities[i] +
                               " /BM /Normal >>\nendobj\n";
    EXPECT_NE(file.find(object), std::string::npos) << object;
  }
  EXPECT_NE(file.find("/ExtGState << " + resources + " >> "), std::string::npos);
  pdftest::ExpectReadersAccept(path_);
}

TEST_F(GraphicsTest, AlphaNumbersContinueAcrossPagesAndAbortStartsAgain) {
  pdf_.SetAlpha(10);
  pdf_.BeginPage();
  mark_ = 0;
  pdf_.SetAlpha(20);
  const std::string page = Take();
  EXPECT_EQ(page.substr(page.size() - 13), "\r/GSTATE_2 gs");
  Reopen(1);
  EXPECT_EQ(pdf_.Resources.AlphaCount, 0);
  EXPECT_EQ(pdf_.Resources.ExtGStateResources, "");
  pdf_.SetAlpha(100);
  EXPECT_EQ(Take(), "\r/GSTATE_1 gs");
}

TEST(GraphicsWithoutPageLineStyle, SettingsAreDroppedButTheObjectIsWritten) {
  pdftest::TempDir dir;
  const std::string path = dir.file("alpha.pdf");
  gfxtest::Probe pdf;
  pdf.BeginDoc(path);
  pdf.SetLineWidth(2);
  EXPECT_FLOAT_EQ(pdf.Colours.LineWidth, 2);
  pdf.SetDash("dash");
  pdf.SetLineStyle(32);
  pdf.SetAlpha(40);
  EXPECT_EQ(pdf.PageText(), "");
  EXPECT_EQ(pdf.Resources.AlphaCount, 1);
  pdf.EndDoc();
  const std::string file = pdftest::ReadFile(path);
  EXPECT_NE(file.find("<</Type /ExtGState /ca 0.4 /CA 0.4 /BM /Normal >>"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
