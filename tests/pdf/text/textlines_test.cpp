// Text lines: the rules drawn under, through and over a line, byte for byte.

#include <gtest/gtest.h>

#include <string>

#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Probe;
using text_test::TempPdf;

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

}  // namespace
