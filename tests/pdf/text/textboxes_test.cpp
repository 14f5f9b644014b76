// Text boxes: wrapping, paragraphs, the rest text, vertical placement,
// justification and the current point after the box.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Probe;
using text_test::TempPdf;

// One drawn line read back from the content: its Tm operands and the line
// that shows the text.
struct Drawn {
  std::string x, y, show;
  bool operator==(const Drawn&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Drawn& d) {
  return o << "{" << d.x << ", " << d.y << ", " << d.show << "}";
}

std::vector<Drawn> DrawnLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= content.size(); ++i) {
    if (i == content.size() || content[i] == '\r') {
      lines.push_back(content.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  std::vector<Drawn> drawn;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.rfind("1 0 0 -1 ", 0) != 0 || l.size() < 3 || l.substr(l.size() - 3) != " Tm") continue;
    const std::string operands = l.substr(9, l.size() - 12);
    const std::size_t blank = operands.find(' ');
    drawn.push_back({operands.substr(0, blank), operands.substr(blank + 1), lines[i + 1]});
  }
  return drawn;
}

class TextBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w_.BeginDoc(TempPdf("out"));
    ASSERT_EQ(w_.ErrNumber(), 0);
    w_.BeginPage();
    // Courier 10: every character and blank 6 pt, line height 11.33 pt,
    // descent 3 pt: the first baseline of a box at Y 20 is 20 + 11.33 - 3.
    w_.SetFont("Courier", 10);
    w_.Clear();
  }
  void TearDown() override { w_.EndDoc(); }
  std::vector<Drawn> Box(float x, float y, float width, float height, const std::string& text,
                         float indent = 0, std::int32_t align = 9, std::int32_t options = 1) {
    w_.Clear();
    rest_ = w_.DrawTextBox(x, y, width, height, text, indent, align, options);
    return DrawnLines(w_.PageText());
  }
  Probe w_;
  std::string rest_;
};

TEST_F(TextBoxTest, WrapBoundary) {
  // Ten characters fill a 60 pt box exactly; one more breaks the line.
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbb"),
            (std::vector<Drawn>{{"10", "28.33", "(aaaa bbbbb) Tj"}}));
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbbb"),
            (std::vector<Drawn>{{"10", "28.33", "(aaaa) Tj"}, {"10", "39.66", "(bbbbbb) Tj"}}));
  // The indentation counts in the first line's width.
  EXPECT_EQ(Box(10, 20, 60, 0, "aaaa bbbbb", 6),
            (std::vector<Drawn>{{"16", "28.33", "(aaaa) Tj"}, {"10", "39.66", "(bbbbb) Tj"}}));
  // A word wider than the box stands alone, unscaled.
  EXPECT_EQ(Box(10, 20, 30, 0, "a bbbbbbbbbb c"),
            (std::vector<Drawn>{{"10", "28.33", "(a) Tj"},
                                {"10", "39.66", "(bbbbbbbbbb) Tj"},
                                {"10", "50.99", "(c) Tj"}}));
  EXPECT_EQ(rest_, "");
}

TEST_F(TextBoxTest, ParagraphsAndBlankLines) {
  EXPECT_EQ(Box(10, 20, 60, 0, "ab\r\n\r\ncd\r\nef", 12),
            (std::vector<Drawn>{{"22", "28.33", "(ab) Tj"},
                                {"22", "50.99", "(cd) Tj"},
                                {"22", "62.32", "(ef) Tj"}}));
  EXPECT_FLOAT_EQ(w_.GetY(), 20 + 4 * 11.33f);
  EXPECT_FLOAT_EQ(w_.GetX(), 10);
  // Three breaks in a row leave two blank lines; a trailing break one more.
  EXPECT_EQ(Box(0, 0, 60, 0, "ab\r\n\r\n\r\ncd\r\n"),
            (std::vector<Drawn>{{"0", "8.33", "(ab) Tj"}, {"0", "42.32", "(cd) Tj"}}));
  EXPECT_FLOAT_EQ(w_.GetY(), 5 * 11.33f);
  // Blanks inside a paragraph are kept unless justifying.
  EXPECT_EQ(Box(0, 0, 60, 0, "a  b"), (std::vector<Drawn>{{"0", "8.33", "(a  b) Tj"}}));
}

TEST_F(TextBoxTest, EmptyTextTakesOneLine) {
  EXPECT_EQ(Box(10, 20, 60, 30, ""), std::vector<Drawn>{});
  EXPECT_EQ(w_.PageText(), "");
  EXPECT_EQ(rest_, "");
  EXPECT_FLOAT_EQ(w_.GetY(), 31.33f);
  const auto r = w_.LastRect();
  EXPECT_FLOAT_EQ(r[0], 10);
  EXPECT_FLOAT_EQ(r[1], 842 - 20);
  EXPECT_FLOAT_EQ(r[2], 70);
  EXPECT_FLOAT_EQ(r[3], 842 - 20 - 11.33f);
}

TEST_F(TextBoxTest, RestTextContinuesTheCutParagraph) {
  const std::string text = "aaa bbb cccc dddd eeee ffff\r\nsecond para\r\nthird";
  // Height 30 holds two lines (a third would end at 33.99).
  EXPECT_EQ(Box(10, 20, 60, 30, text, 12),
            (std::vector<Drawn>{{"22", "28.33", "(aaa bbb) Tj"}, {"10", "39.66", "(cccc dddd) Tj"}}));
  EXPECT_EQ(rest_, std::string("\0eeee ffff\r\nsecond para\r\nthird", 30));
  EXPECT_FLOAT_EQ(w_.GetY(), 20 + 2 * 11.33f);
  // The continued line is drawn unindented, yet its wrap width still keeps
  // the indentation: "eeee ffff" would fit in 60 pt without it.
  const std::string first_rest = rest_;
  EXPECT_EQ(Box(10, 20, 60, 30, first_rest, 12),
            (std::vector<Drawn>{{"10", "28.33", "(eeee) Tj"}, {"10", "39.66", "(ffff) Tj"}}));
  EXPECT_EQ(rest_, "second para\r\nthird");
  EXPECT_EQ(Box(10, 20, 60, 30, rest_, 12),
            (std::vector<Drawn>{{"22", "28.33", "(second) Tj"}, {"10", "39.66", "(para) Tj"}}));
  EXPECT_EQ(rest_, "third");
  // Without height limit everything is placed.
  Box(10, 20, 60, 0, text);
  EXPECT_EQ(rest_, "");
  Box(10, 20, 60, -5, text);
  EXPECT_EQ(rest_, "");
}

TEST_F(TextBoxTest, FirstLineIsPlacedEvenInATooLowBox) {
  EXPECT_EQ(Box(10, 20, 60, 5, "ab cd\r\nef"),
            (std::vector<Drawn>{{"10", "28.33", "(ab cd) Tj"}}));
  EXPECT_EQ(rest_, "ef");
  EXPECT_FLOAT_EQ(w_.GetY(), 31.33f);
}

TEST_F(TextBoxTest, VerticalPlacement) {
  struct Case {
    std::int32_t align;
    const char* text;
    std::vector<Drawn> lines;
  } cases[] = {
      // top: Y + lh + descent
      {9, "aaaa bbbb cccc", {{"10", "28.33", "(aaaa bbbb) Tj"}, {"10", "39.66", "(cccc) Tj"}}},
      {1, "aaaa", {{"10", "28.33", "(aaaa) Tj"}}},
      // middle: lh / 2 * (2 - n) + (Y + H / 2) + descent
      {32, "aaaa bbbb cccc", {{"10", "67", "(aaaa bbbb) Tj"}, {"10", "78.33", "(cccc) Tj"}}},
      {32, "aaaa", {{"10", "72.665", "(aaaa) Tj"}}},
      {48, "aaaa", {{"10", "72.665", "(aaaa) Tj"}}},  // middle wins over bottom
      {36, "aaaa", {{"28", "72.665", "(aaaa) Tj"}}},  // centred both ways
      // bottom: (Y + H) - lh * (n - 1) + descent
      {16, "aaaa bbbb cccc", {{"10", "105.67", "(aaaa bbbb) Tj"}, {"10", "117", "(cccc) Tj"}}},
      {18, "aaaa", {{"46", "117", "(aaaa) Tj"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Box(10, 20, 60, 100, c.text, 0, c.align), c.lines) << "Align " << c.align;
    // The current point goes below the placed lines whatever the placement.
    EXPECT_FLOAT_EQ(w_.GetY(), 20 + static_cast<float>(c.lines.size()) * 11.33f) << c.align;
    EXPECT_FLOAT_EQ(w_.GetX(), 10);
  }
}

TEST_F(TextBoxTest, JustifyCollapsesBlanksAndSetsTheLastLineLeft) {
  EXPECT_EQ(Box(0, 0, 60, 0, "aa  bb cc   dd ee ff gg\r\nhh ii", 0, 64),
            (std::vector<Drawn>{{"0", "8.33", "6 Tw (aa bb cc) Tj 0 Tw"},
                                {"0", "19.66", "6 Tw (dd ee ff) Tj 0 Tw"},
                                {"0", "30.99", "(gg) Tj"},
                                {"0", "42.32", "(hh ii) Tj"}}));
  // The rest of a justified box carries the collapsed text.
  Box(0, 0, 60, 20, "aa  bb cc   dd ee ff gg", 0, 64);
  EXPECT_EQ(rest_, std::string("\0dd ee ff gg", 12));
}

TEST_F(TextBoxTest, NoWrappingShrinksOrFitsEachParagraph) {
  EXPECT_EQ(Box(0, 0, 60, 0, "aaaa bbbb cccc\r\nab", 0, 128),
            (std::vector<Drawn>{{"0", "8.33", "71.429 Tz (aaaa bbbb cccc) Tj 100 Tz"},
                                {"0", "19.66", "(ab) Tj"}}));
  EXPECT_EQ(Box(0, 0, 60, 0, "aaaa bbbb cccc\r\nab", 0, 256),
            (std::vector<Drawn>{{"0", "8.33", "71.429 Tz (aaaa bbbb cccc) Tj 100 Tz"},
                                {"0", "19.66", "500 Tz (ab) Tj  100 Tz"}}));
}

TEST_F(TextBoxTest, FrameComesBeforeTheText) {
  w_.Clear();
  w_.DrawTextBox(10, 20, 60, 100, "ab", 0, 9, 0);
  EXPECT_EQ(w_.PageText().substr(0, 20), "\r10 20 60 100 re\rS\r0");
  w_.Clear();
  w_.DrawTextBox(10, 20, 60, 100, "", 0, 9, 5);
  EXPECT_EQ(w_.PageText(), "\r10 20 60 100 re\rf*");
  w_.Clear();
  w_.DrawTextBox(10, 20, 60, 100, "", 0, 9, 1);
  EXPECT_EQ(w_.PageText(), "");
}

TEST_F(TextBoxTest, LastRectangleAndScaledUnits) {
  w_.SetScale(3);  // centimetres
  w_.Clear();
  const std::string rest = w_.DrawTextBox(1, 2, 5, 0, "aaaa bbbb cccc", 0.5f, 9, 1);
  EXPECT_EQ(rest, "");
  // 5 cm = 141.7 pt hold 23 characters, less the indentation.
  const auto drawn = DrawnLines(w_.PageText());
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].x, "42.52");           // (1 + 0.5) cm
  EXPECT_EQ(drawn[0].y, "65.023");          // 2 cm + 11.33 - 3 pt
  const float lh = 11.33f;
  const auto r = w_.LastRect();
  EXPECT_FLOAT_EQ(r[0], 28.346457f);
  EXPECT_FLOAT_EQ(r[1], 842 - 2 * 28.346457f);
  EXPECT_FLOAT_EQ(r[2], 6 * 28.346457f);
  EXPECT_FLOAT_EQ(r[3], 842 - 2 * 28.346457f - lh);
  EXPECT_FLOAT_EQ(w_.GetY(), 2 + lh / 28.346457f);
}

TEST_F(TextBoxTest, WrapDecidesInSinglePrecision) {
  // In centimetres, Arial 8: "della comune" needs exactly this width when
  // measured in single precision; measured in double it needs a little more
  // and the line would break.
  w_.SetScale(3);
  w_.SetFont("Arial", 8);
  const float exact = 0x1.adaa04p+0f;  // 1.6783755 cm
  auto drawn = Box(0, 0, exact, 0, "della comune");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].show, "(della comune) Tj");
  drawn = Box(0, 0, std::nextafter(exact, 0.0f), 0, "della comune");
  ASSERT_EQ(drawn.size(), 2u);
  const float exact2 = 0x1.1f2738p+1f;  // "allegata domanda", 2.2433844 cm
  EXPECT_EQ(Box(0, 0, exact2, 0, "allegata domanda").size(), 1u);
}

TEST_F(TextBoxTest, LineSpacingWidensTheLines) {
  w_.SetTextLineSpacing(2);
  EXPECT_EQ(Box(0, 0, 30, 0, "ab cd ef"),
            (std::vector<Drawn>{{"0", "19.66", "(ab cd) Tj"}, {"0", "42.32", "(ef) Tj"}}));
  EXPECT_FLOAT_EQ(w_.GetY(), 4 * 11.33f);
}

}  // namespace
