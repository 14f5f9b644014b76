// Text lines: the operators of each placement, justification, scaling and
// rule, byte for byte, the text state setters and the current point.

#include <gtest/gtest.h>

#include <string>

#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Probe;
using text_test::TempPdf;

// One drawn line as DrawTextLine writes it in black on a fresh page.
std::string Line(const std::string& font, const std::string& matrix, const std::string& show) {
  return "\r0 0 0 rg\rBT\r" + font + "\r" + matrix + "\r" + show + "\rET\r0 0 0 rg";
}

class TextLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_.BeginDoc(TempPdf("out"));
    ASSERT_EQ(w_.ErrNumber(), 0);
    w_.BeginPage();
    w_.SetFont("Courier", 10);  // every character 6 pt wide: exact numbers
    w_.Clear();
  }
  void TearDown() override { w_.EndDoc(); }
  Probe w_;
};

TEST_F(TextLinesTest, PlacementByAlign) {
  const std::string font = "/CourierNew 10 Tf 10 TL";
  struct Case {
    std::int32_t align;
    float indent;
    std::string matrix;
    std::string show;
    float end_x;
  } cases[] = {
      {1, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},
      {0, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},
      {9, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},    // only exact values place
      {36, 0, "1 0 0 -1 135 200 Tm", "(ab cd) Tj", 130},   // 36 and 455 is 4: centre
      {72, 0, "1 0 0 -1 100 200 Tm", "70 Tw (ab cd) Tj 0 Tw", 200},  // top bit ignored
      {3, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},
      {2, 0, "1 0 0 -1 170 200 Tm", "(ab cd) Tj", 130},    // right: 100 + 100 - 30
      {2, 12, "1 0 0 -1 170 200 Tm", "(ab cd) Tj", 130},   // the indent counts in the width
      {4, 0, "1 0 0 -1 135 200 Tm", "(ab cd) Tj", 130},    // centre: 100 + 35
      {4, 10, "1 0 0 -1 140 200 Tm", "(ab cd) Tj", 130},   // (100 - 40) / 2 + 10
      {1, 12, "1 0 0 -1 112 200 Tm", "(ab cd) Tj", 130},
      {64, 0, "1 0 0 -1 100 200 Tm", "70 Tw (ab cd) Tj 0 Tw", 200},
      {64, 10, "1 0 0 -1 110 200 Tm", "60 Tw (ab cd) Tj 0 Tw", 190},
      {65, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},   // justify needs the exact value
      {128, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},  // fits: no scaling
      {256, 0, "1 0 0 -1 100 200 Tm", "333.333 Tz (ab cd) Tj  100 Tz", 130},
      {384, 0, "1 0 0 -1 100 200 Tm", "(ab cd) Tj", 130},
  };
  for (const auto& c : cases) {
    w_.Clear();
    w_.DrawTextLine(100, 200, 100, "ab cd", c.indent, c.align, false);
    EXPECT_EQ(w_.PageText(), Line(font, c.matrix, c.show)) << "Align " << c.align;
    EXPECT_FLOAT_EQ(w_.CurrentX(), c.end_x) << "Align " << c.align;
    EXPECT_FLOAT_EQ(w_.CurrentY(), 200) << "Align " << c.align;
  }
}

TEST_F(TextLinesTest, JustificationSplitsAtEveryBlank) {
  // Two blanks make an empty word: three gaps share the free width.
  w_.DrawTextLine(0, 50, 60, "ab  cd", 0, 64, false);
  EXPECT_EQ(w_.PageText(),
            Line("/CourierNew 10 Tf 10 TL", "1 0 0 -1 0 50 Tm", "12 Tw (ab  cd) Tj 0 Tw"));
  w_.Clear();
  w_.SetWordSpacing(1.5);
  w_.Clear();
  w_.DrawTextLine(0, 50, 60, "ab cd", 0, 64, false);
  // The blank measures 6 + 1.5; the suffix gives back the caller's spacing.
  EXPECT_EQ(w_.PageText(),
            Line("/CourierNew 10 Tf 10 TL", "1 0 0 -1 0 50 Tm", "28.5 Tw (ab cd) Tj 1.5 Tw"));
  w_.Clear();
  w_.DrawTextLine(0, 50, 60, "abcd", 0, 64, false);  // no blank: left, no Tw
  EXPECT_EQ(w_.PageText(), Line("/CourierNew 10 Tf 10 TL", "1 0 0 -1 0 50 Tm", "(abcd) Tj"));
}

TEST_F(TextLinesTest, ShrinkAndFitMeasureUnscaledAndRestoreScaling) {
  w_.SetTextHorizontalScaling(80);
  EXPECT_EQ(w_.PageText(), "\r80 Tz");
  struct Case {
    std::int32_t align;
    float width;
    std::string show;
  } cases[] = {
      {128, 30, "50 Tz (abcdefghij) Tj 80 Tz"},
      {256, 30, "50 Tz (abcdefghij) Tj 80 Tz"},
      {128, 120, "(abcdefghij) Tj"},
      {256, 120, "200 Tz (abcdefghij) Tj  80 Tz"},
  };
  for (const auto& c : cases) {
    w_.Clear();
    w_.DrawTextLine(10, 20, c.width, "abcdefghij", 0, c.align, false);
    EXPECT_EQ(w_.PageText(),
              Line("/CourierNew 10 Tf 10 TL", "1 0 0 -1 10 20 Tm", c.show)) << c.align;
    EXPECT_EQ(w_.Hs(), 80) << c.align;
    EXPECT_FLOAT_EQ(w_.CurrentX(), 70) << c.align;  // the unscaled length
  }
}

TEST_F(TextLinesTest, FittingATextThatMeasuresNothingWritesNoScaling) {
  w_.SetFont("ZapfDingbats", 10);
  w_.Clear();
  w_.DrawTextLine(0, 20, 50, "\xA0\xA0", 0, 256, false);  // two zero-width codes
  EXPECT_EQ(w_.PageText(), Line("/ZapfDingbats 10 Tf 10 TL", "1 0 0 -1 0 20 Tm", "(\xA0\xA0) Tj"));
}

TEST_F(TextLinesTest, Rules) {
  w_.SetFont("Courier", 16, 4 | 8 | 16);
  w_.SetColorText("Red");
  w_.SetColorLine("Blue");
  w_.Clear();
  w_.DrawTextLine(10, 40, 0, "abc", 0, 1, false);
  EXPECT_EQ(w_.PageText(),
            "\r1 0 0 rg\rBT\r/CourierNew 16 Tf 16 TL\r1 0 0 -1 10 40 Tm\r(abc) Tj\rET\r0 0 0 rg"
            "\rq\r1 0 0 RG\r1 w \r1 0 0 1 10 40 cm"
            "\r0 2 m 28.8 2 l S\r0 -12.8 m 28.8 -12.8 l S\r0 -4.8 m 28.8 -4.8 l S"
            "\r0 0 1 RG\rQ");
  struct Case {
    std::int32_t style;
    std::string rule;
  } cases[] = {{4, "0 2 m 28.8 2 l S"}, {8, "0 -12.8 m 28.8 -12.8 l S"},
               {16, "0 -4.8 m 28.8 -4.8 l S"}};
  for (const auto& c : cases) {
    w_.SetFont("Courier", 16, c.style);
    w_.Clear();
    w_.DrawTextLine(10, 40, 0, "abc", 0, 1, false);
    const std::string text = w_.PageText();
    const std::string tail = "\rq\r1 0 0 RG\r1 w \r1 0 0 1 10 40 cm\r" + c.rule + "\r0 0 1 RG\rQ";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << c.style;
  }
  // A justified ruled line: the rules span the full width.
  w_.SetFont("Courier", 16, 4);
  w_.Clear();
  w_.DrawTextLine(10, 40, 100, "ab c", 0, 64, false);
  EXPECT_NE(w_.PageText().find("\r0 2 m 100 2 l S\r"), std::string::npos);
}

TEST_F(TextLinesTest, EscapesAndScaledUnits) {
  w_.SetScale(3);  // centimetres
  w_.Clear();
  w_.DrawTextLine(1, 2, 0, "a(b)\\c\r", 0, 1, false);
  EXPECT_EQ(w_.PageText(), Line("/CourierNew 10 Tf 10 TL", "1 0 0 -1 28.346 56.693 Tm",
                                "(a\\(b\\)\\\\c\\r) Tj"));
}

TEST_F(TextLinesTest, LastRectangle) {
  w_.DrawTextLine(100, 200, 100, "ab cd", 0, 2, false);
  const auto r = w_.LastRect();
  EXPECT_FLOAT_EQ(r[0], 170);
  EXPECT_FLOAT_EQ(r[1], 842 - 200 - 3);  // the descent below the baseline
  EXPECT_FLOAT_EQ(r[2], 200);
  EXPECT_FLOAT_EQ(r[3], 842 - 200 - 3 + 11.33f);
}

TEST_F(TextLinesTest, BlankTextDrawsNothing) {
  for (bool new_line : {false, true}) {
    w_.SetXY(5, 5);
    w_.DrawTextLine(30, 40, 100, "   ", 0, 1, new_line);
    w_.DrawTextLine(30, 40, 100, "", 0, 64, new_line);
    EXPECT_EQ(w_.PageText(), "");
    EXPECT_EQ(w_.CurrentX(), new_line ? 0 : 30);
    EXPECT_EQ(w_.CurrentY(), 40);
  }
}

TEST_F(TextLinesTest, NewLineAdvancesByTheLineHeightTimesSpacing) {
  w_.SetTextLineSpacing(1.5);
  w_.SetTextLineSpacing(-1);  // ignored
  w_.DrawTextLine(30, 40, 0, "x", 0, 1, true);
  EXPECT_EQ(w_.CurrentX(), 0);
  EXPECT_FLOAT_EQ(w_.CurrentY(), 40 + 11.33f * 1.5f);
  w_.SetTextLineSpacing(0);  // accepted: lines then do not advance
  w_.DrawTextLine(30, 40, 0, "x", 0, 1, true);
  EXPECT_EQ(w_.CurrentY(), 40);
}

TEST_F(TextLinesTest, DrawTextMasksAlign) {
  struct Case {
    std::int32_t align;
    const char* x;
  } cases[] = {{1, "50"}, {2, "32"}, {4, "41"}, {3, "50"}, {5, "50"}, {6, "50"},
               {7, "50"}, {64, "50"}, {66, "32"}, {260, "41"}};
  for (const auto& c : cases) {
    w_.Clear();
    w_.DrawText(50, 60, "abc", c.align);
    EXPECT_EQ(w_.PageText(), Line("/CourierNew 10 Tf 10 TL",
                                  std::string("1 0 0 -1 ") + c.x + " 60 Tm", "(abc) Tj"))
        << c.align;
  }
  EXPECT_FLOAT_EQ(w_.CurrentX(), 50 + 18);  // X plus the length, whatever the placement
}

TEST_F(TextLinesTest, WriteTextRaisesLowersAndRestores) {
  w_.SetFont("Arial", 10);
  struct Case {
    std::int32_t style;
    const char* font;
    const char* y;
    float advance;
  } cases[] = {
      {0, "/Arial 10 Tf 10 TL", "100", 22.78f},
      {1, "/Arial 6.6 Tf 6.6 TL", "95.354", 15.0348f},   // 100 + 6.6*0.221 - 12.21/2
      {2, "/Arial 6.6 Tf 6.6 TL", "103.669", 15.0348f},  // 100 + 16.6*0.221
      {3, "/Arial 6.6 Tf 6.6 TL", "100", 15.0348f},
      {7, "/Arial 6.6 Tf 6.6 TL", "100", 15.0348f},
  };
  for (const auto& c : cases) {
    w_.SetXY(50, 100);
    w_.Clear();
    w_.WriteText("Hello", c.style);
    EXPECT_EQ(w_.PageText(),
              Line(c.font, std::string("1 0 0 -1 50 ") + c.y + " Tm", "(Hello) Tj")) << c.style;
    EXPECT_EQ(w_.TextStateOf().FontSize, 10);
    EXPECT_EQ(w_.CurrentY(), 100);
    EXPECT_NEAR(w_.CurrentX(), 50 + c.advance, 1e-4) << c.style;
  }
  w_.SetXY(50, 100);
  w_.WriteTextLn("Hello");
  EXPECT_EQ(w_.CurrentX(), 0);
  EXPECT_FLOAT_EQ(w_.CurrentY(), 112.21f);
}

TEST_F(TextLinesTest, StateSetters) {
  w_.SetCharSpacing(0.5);
  w_.SetWordSpacing(-1.25);
  w_.SetTextHorizontalScaling(90);
  w_.SetTextMode(2);
  EXPECT_EQ(w_.PageText(), "\r0.5 Tc\r-1.25 Tw\r90 Tz\r2 Tr");
  for (const std::int32_t mode : {32768, -32769, -32768, -1, 8}) {
    EXPECT_THROW(w_.SetTextMode(mode), pdf::PdfError) << mode;  // PDF has modes 0 to 7
  }
  EXPECT_EQ(w_.PageText(), "\r0.5 Tc\r-1.25 Tw\r90 Tz\r2 Tr");
  // Measuring: (S * size / 1000 + blanks * Tw + chars * Tc) * Tz / 100.
  EXPECT_FLOAT_EQ(w_.TextLength("a b"), (18 - 1.25f + 3 * 0.5f) * 0.9f);
  // A new page starts from the defaults without writing them.
  w_.BeginPage();
  EXPECT_FLOAT_EQ(w_.TextLength("a b"), 18);
}

TEST(TextLines, DrawingWithoutAFontFailsBeforeWriting) {
  Probe w;
  w.BeginDoc(TempPdf("nofont"));
  w.BeginPage();
  w.Clear();
  EXPECT_THROW(w.DrawText(1, 2, "x"), pdf::PdfError);
  EXPECT_THROW(w.DrawTextBox(1, 2, 50, 50, "x"), pdf::PdfError);
  EXPECT_EQ(w.PageText(), "");
  w.EndDoc();
}

TEST_F(TextLinesTest, AZeroScaleFactorFailsInsteadOfWritingInfinities) {
  w_.SetScale(255, 0);
  EXPECT_THROW(w_.TextLength("a"), pdf::PdfError);
  EXPECT_THROW(w_.TextHeight(), pdf::PdfError);
  EXPECT_THROW(w_.DrawText(1, 2, "a"), pdf::PdfError);
  EXPECT_THROW(w_.WriteText("a"), pdf::PdfError);
  EXPECT_THROW(w_.WriteTextLn(""), pdf::PdfError);
  EXPECT_THROW(w_.DrawTextBox(1, 2, 3, 4, "a"), pdf::PdfError);
  EXPECT_EQ(w_.PageText(), "");
  w_.SetScale(0);
}

TEST(TextLines, AbortLeavesNoFontSelected) {
  Probe w;
  w.BeginDoc(TempPdf("first"));
  w.SetFont("Times", 12);
  w.Abort();
  const std::string path = TempPdf("second");
  w.BeginDoc(path);
  w.BeginPage();
  w.Clear();
  EXPECT_EQ(w.TextLength("abc"), 0);
  EXPECT_EQ(w.TextHeight(), 0);
  // Drawing would name a font the new document's resources do not hold.
  EXPECT_THROW(w.DrawText(1, 2, "x"), pdf::PdfError);
  EXPECT_EQ(w.PageText(), "");
  w.SetFont("Times", 12);
  w.DrawText(1, 2, "x");
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
