// Dash patterns: the operator text for each named pattern and list form.

#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::GraphicsTest;

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

}  // namespace
