// Colour texts: every form parsed, and any text parsed safely.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

TEST(CoreColours, ParseColorForms) {
  Probe w;
  const struct {
    const char* in;
    const char* colour;
    const char* pattern;
  } cases[] = {
      {"", "", ""},
      {"#abcdef99;x", "#abcdef", ""},
      {"%25", "#C0C0C0", ""},  // 255 - floor(63.75) = 192
      {"%abc", "#FFFFFF", ""},  // no number counts 0
      {"@256;0;0", "#000000", ""},  // only the last two hexadecimal digits
      {"@10;20;30", "#0A141E", ""},
      {"@1e2;0;0", "#640000", ""},
      {"LightGoldenrod", "LIGHTGOLDENROD", ""},
      {"grid; %0", "GRID", "#FFFFFF"},
      {"grid;pat;red", "GRID", "PAT"},
      {"beige", "#F5F5DC", ""},
      {"darkgray", "#A9A9A9", ""},
  };
  for (const auto& c : cases) {
    std::string colour = c.in, pattern = "stale";
    w.ParseColor(colour, pattern);
    EXPECT_EQ(colour, c.colour) << c.in;
    EXPECT_EQ(pattern, c.pattern) << c.in;
  }
}

}  // namespace
