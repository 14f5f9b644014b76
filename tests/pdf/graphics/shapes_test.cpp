// A polyline's points and the current point it leaves; a table built column
// by column, with frameless cells; the dash pattern operators.

#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::ExpectRect;
using gfxtest::GraphicsTest;

TEST_F(GraphicsTest, PolylinePointsAndCurrentPoint) {
  pdf_.DrawPolyline({0, 0, 1, 0, 1, 1});
  EXPECT_EQ(Take(), "\r0 0 m\r1 0 l\r1 1 l\r\rS");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 1);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 1);
  ExpectRect(pdf_.LastRect(), 0, 841, 1, 842);  // y1 is the lower edge here

  pdf_.DrawPolyline({0, 0, 1, 0, 1, 1}, 2);
  EXPECT_EQ(Take(), "\r0 0 m\r1 0 l\r1 1 l\r\rh S");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);

  // A polyline after a larger shape gets the box of its own points.
  Reopen(10);
  pdf_.DrawRect(0, 0, 50, 50);
  pdf_.DrawPolyline({3, 2.5, 1.25, 4, 2, 0.0001}, 5);
  const std::string text = Take();
  EXPECT_EQ(text.substr(text.find("\r30 25 m")), "\r30 25 m\r12.5 40 l\r20 0.001 l\r\rf*");
  ExpectRect(pdf_.LastRect(), 12.5f, 802, 30, 842 - 0.001f);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 2);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0.0001f);
}

TEST_F(GraphicsTest, ColumnByColumnTableAndFramelessCells) {
  Reopen(10);
  pdf_.SetLineWidth(0.2f);
  pdf_.BeginTable(0, 0);
  pdf_.BeginColumn(5);
  Take();
  pdf_.BeginRow(2);  // at the origin: no translation
  EXPECT_EQ(Take(), "\rq\r1 1 48 18 re f*\r0 0 50 20 re S");
  pdf_.EndRow();
  pdf_.BeginRow(3);
  EXPECT_EQ(Take(), "\rQ\rq\r1 0 0 1 0 20 cm\r1 1 48 28 re f*\r0 0 50 30 re S");
  pdf_.EndRow();
  pdf_.EndColumn();
  EXPECT_FLOAT_EQ(pdf_.Navigation.TableX, 5);
  EXPECT_FLOAT_EQ(pdf_.Navigation.TableY, 0);  // back to the top
  pdf_.SetLineWidth(0);  // no width: no frame
  pdf_.BeginColumn(4);
  Take();
  pdf_.BeginRow(1);
  EXPECT_EQ(Take(), "\rq\r1 0 0 1 50 0 cm\r0 0 40 10 re f*");
  pdf_.EndRow();
  pdf_.EndColumn();
  pdf_.EndTable();
  EXPECT_EQ(pdf_.Navigation.StyleDepth, 0);
}

TEST_F(GraphicsTest, DashPatternForms) {
  const struct { const char* pattern; float phase; const char* text; } cases[] = {
      {"dash", 0, "\r[1 ] 0 d"}, {"  dot ", 0, "\r[0.5 ] 0 d"}, {"DashDot", 1, "\r[1 0.5 0.5 0.5 ] 10 d"},
      {"DASHDOTDOT", 0.25f, "\r[1 0.5 0.5 0.5 0.5 0.5 ] 2.5 d"}, {"2;1", 0, "\r[ 20 10 ] 0 d"},
      {" 0.3 ; 1 5;abc;.25x", 0.5f, "\r[ 3 150 0 2.5 ] 5 d"}, {"1e-1;2D0", 0, "\r[ 1 20 ] 0 d"}, {"", 0, "\r[ ] 0 d"},
      {"solid", 3, "\r[ ] 0 d"}, {"dashes", 0, "\r[ ] 0 d"}, {";", 0, "\r[ ] 0 d"},  // "dashes": unknown, solid
  };
  Reopen(10);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    pdf_.SetDash(c.pattern, c.phase);
    EXPECT_EQ(Take(), c.text);
  }
  pdf_.SetDash();
  EXPECT_EQ(Take(), "\r[ ] 0 d");
}

}  // namespace
