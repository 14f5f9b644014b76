// Numbers read from caller texts: the lenient leading reading, the strict
// whole-text reading and the rounding to a 32-bit whole number.

#include <cmath>

#include <gtest/gtest.h>

#include "pdf/interactive/number_text.h"

namespace {

TEST(InteractiveNumberText, Table) {
  struct Row {
    const char* text;
    double leading;
    bool whole;  // WholeTextNumber accepts it (with the same value)
  };
  const Row rows[] = {
      {"12", 12, true},       {" -5 ", -5, true},   {"+2", 2, true},    {"1 2x", 12, false},
      {"3.75", 3.75, true},   {".5", 0.5, true},    {"1e3", 1000, true}, {"2D2", 200, true},
      {"1e", 1, false},       {"7 E 1", 70, false}, {"#3", 0, false},    {"", 0, false},
      {"   ", 0, false},      {"-", 0, false},      {"1.2.3", 1.2, false}, {"\t4\n", 4, false},
      {"1e999", INFINITY, true}, {"1e-999", 0, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(pdf::LeadingNumber(r.text), r.leading);
    const auto whole = pdf::WholeTextNumber(r.text);
    EXPECT_EQ(whole.has_value(), r.whole);
    if (whole) {
      EXPECT_EQ(*whole, r.leading);
    }
  }
  EXPECT_EQ(pdf::RoundToInt32(2.5), 2);
  EXPECT_EQ(pdf::RoundToInt32(3.5), 4);
  EXPECT_EQ(pdf::RoundToInt32(-2.5), -2);
  EXPECT_EQ(pdf::RoundToInt32(2147483647.4), 2147483647);
  EXPECT_FALSE(pdf::RoundToInt32(2147483647.5));
  EXPECT_FALSE(pdf::RoundToInt32(NAN));
}

}  // namespace
