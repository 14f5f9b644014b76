// Text boxes: where the line wraps, byte for byte, with the indentation and
// a word wider than the box; the rest text continuing a cut paragraph; the
// rules drawn under, through and over a text line.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/pdf/text/text_probe.h"

namespace {

using Lines = std::vector<std::string>;

// The drawn lines read back from the content: the Tm operands and the line
// that shows the text, as "x y show".
Lines DrawnLines(const std::string& content) {
  static const std::regex line("\r1 0 0 -1 (\\S+ \\S+) Tm\r([^\r]*)");
  Lines drawn;
  for (std::sregex_iterator m(content.begin(), content.end(), line), end; m != end; ++m)
    drawn.push_back(m->str(1) + " " + m->str(2));
  return drawn;
}

// Courier 10: line height 11.33 pt, descent 3 pt: the first baseline of a
// box at Y 20 is 20 + 11.33 - 3.
class TextBoxTest : public text_test::PageTest {
 protected:
  Lines Box(float x, float y, float width, float height, const std::string& text, float indent = 0,
            std::int32_t align = 9) {
    w_.Clear();
    rest_ = w_.DrawTextBox(x, y, width, height, text, indent, align, 1);
    return DrawnLines(w_.PageText());
  }
  std::string rest_;
};

TEST_F(TextBoxTest, WrapBoundary) {
  // Ten characters fill a 60 pt box exactly; one more breaks the line.
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbb"), (Lines{"10 28.33 (aaaa bbbbb) Tj"}));
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbbb"), (Lines{"10 28.33 (aaaa) Tj", "10 39.66 (bbbbbb) Tj"}));
  // The indentation counts in the first line's width.
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbb", 6), (Lines{"16 28.33 (aaaa) Tj", "10 39.66 (bbbbb) Tj"}));
  // A word wider than the box stands alone, unscaled.
  EXPECT_EQ(Box(10, 20, 30, 0, "a bbbbbbbbbb c"),
            (Lines{"10 28.33 (a) Tj", "10 39.66 (bbbbbbbbbb) Tj", "10 50.99 (c) Tj"}));
  EXPECT_EQ(rest_, "");
}

TEST_F(TextBoxTest, RestTextContinuesTheCutParagraph) {
  const std::string text = "aaa bbb cccc dddd eeee ffff\r\nsecond para\r\nthird";
  // Height 30 holds two lines (a third would end at 33.99).
  EXPECT_EQ(Box(10, 20, 60, 30, text, 12), (Lines{"22 28.33 (aaa bbb) Tj", "10 39.66 (cccc dddd) Tj"}));
  EXPECT_EQ(rest_, std::string("\0eeee ffff\r\nsecond para\r\nthird", 30));
  EXPECT_FLOAT_EQ(w_.GetY(), 20 + 2 * 11.33f);
  // The continued line is drawn unindented, yet its wrap width still keeps
  // the indentation: "eeee ffff" would fit in 60 pt without it.
  const std::string first_rest = rest_;
  EXPECT_EQ(Box(10, 20, 60, 30, first_rest, 12), (Lines{"10 28.33 (eeee) Tj", "10 39.66 (ffff) Tj"}));
  EXPECT_EQ(rest_, "second para\r\nthird");
  EXPECT_EQ(Box(10, 20, 60, 30, rest_, 12), (Lines{"22 28.33 (second) Tj", "10 39.66 (para) Tj"}));
  EXPECT_EQ(rest_, "third");
  for (const float no_limit : {0.0f, -5.0f}) {  // everything is placed
    Box(10, 20, 60, no_limit, text);
    EXPECT_EQ(rest_, "") << no_limit;
  }
}

TEST_F(TextBoxTest, FirstLineIsPlacedEvenInATooLowBox) {
  EXPECT_EQ(Box(10, 20, 60, 5, "ab cd\r\nef"), (Lines{"10 28.33 (ab cd) Tj"}));
  EXPECT_EQ(rest_, "ef");
  EXPECT_FLOAT_EQ(w_.GetY(), 31.33f);
}

TEST_F(TextBoxTest, JustifyCollapsesBlanksAndSetsTheLastLineLeft) {
  EXPECT_EQ(Box(0, 0, 60, 0, "aa  bb cc   dd ee ff gg\r\nhh ii", 0, 64),
            (Lines{"0 8.33 6 Tw (aa bb cc) Tj 0 Tw", "0 19.66 6 Tw (dd ee ff) Tj 0 Tw", "0 30.99 (gg) Tj",
                   "0 42.32 (hh ii) Tj"}));
  // The rest of a justified box carries the collapsed text.
  Box(0, 0, 60, 20, "aa  bb cc   dd ee ff gg", 0, 64);
  EXPECT_EQ(rest_, std::string("\0dd ee ff gg", 12));
}

TEST_F(TextBoxTest, RulesUnderThroughAndOverALine) {
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
  // Each style bit alone draws its own rule; a justified line's rule spans
  // the full width.
  for (const auto& [style, rule] :
       {std::pair{8, "\r0 -12.8 m 28.8 -12.8 l S\r0 0 1 RG\rQ"}, {4, "\r0 2 m 100 2 l S\r"}}) {
    w_.SetFont("Courier", 16, style);
    w_.Clear();
    w_.DrawTextLine(10, 40, style == 4 ? 100 : 0, style == 4 ? "ab c" : "abc", 0, style == 4 ? 64 : 1, false);
    EXPECT_EQ(pdftest::Count(w_.PageText(), "\rq\r1 0 0 RG\r1 w \r1 0 0 1 10 40 cm" + std::string(rule)), 1) << style;
  }
  // A negative size draws the text upside down: its rules are as thick as
  // the size's magnitude, never of a negative width.
  w_.SetFont("Courier", -16, 4 | 16);
  w_.Clear();
  w_.DrawTextLine(10, 40, 0, "abc", 0, 1, false);
  EXPECT_EQ(pdftest::Count(w_.PageText(), "\rq\r1 0 0 RG\r1 w \r"), 1) << w_.PageText();
}

// Super- and subscript baselines (Arial 10: line height 12.21, descent 221),
// the size and baseline restored after, the point advanced by the text;
// WriteTextLn goes to the next line; DrawText moves along the line.
TEST_F(TextBoxTest, WriteTextRaisesLowersAndRestores) {
  w_.SetFont("Arial", 10);
  const struct { std::int32_t style; const char* y; float advance; } cases[] = {
      {0, "100", 22.78f}, {1, "95.354", 15.0348f}, {2, "103.669", 15.0348f}, {3, "100", 15.0348f}};
  for (const auto& c : cases) {
    w_.SetXY(50, 100);
    w_.Clear();
    w_.WriteText("Hello", c.style);
    EXPECT_EQ(DrawnLines(w_.PageText()), Lines{std::string("50 ") + c.y + " (Hello) Tj"}) << c.style;
    EXPECT_EQ(w_.TextStateOf().FontSize, 10);
    EXPECT_EQ(w_.GetY(), 100);
    EXPECT_NEAR(w_.GetX(), 50 + c.advance, 1e-4) << c.style;
  }
  w_.WriteTextLn("Hello");
  EXPECT_EQ(w_.GetX(), 0);
  EXPECT_FLOAT_EQ(w_.GetY(), 112.21f);
  w_.DrawText(10, 20, "Hello");
  EXPECT_NEAR(w_.GetX(), 32.78f, 1e-4);
}

}  // namespace
