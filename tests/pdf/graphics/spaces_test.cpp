// Transforms, spaces, tables and the style stack: exact matrix and cell
// operators, table positions, and what popping a saved style restores.

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::GraphicsTest;

TEST_F(GraphicsTest, RotationMatrixAndWholeDegreeZeroTest) {
  struct Case {
    float angle;
    const char* text;
  };
  const Case cases[] = {
      {90, "\r0 -1 1 0 0 0 cm"},
      {-90, "\r0 1 -1 0 0 0 cm"},
      {30, "\r0.866 -0.5 0.5 0.866 0 0 cm"},
      {180, "\r-1 0 0 -1 0 0 cm"},
      {1.5f, "\r1 -0.026 0.026 1 0 0 cm"},  // rounds to 2: turned by the exact 1.5
      {0, ""},
      {0.4f, ""},
      {0.5f, ""},  // halves to even: 0
      {359.6f, ""},
      {360.3f, ""},
      {720, ""},
      {-360, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    pdf_.SetXY(3, 4);
    pdf_.AxisRotation(c.angle);
    EXPECT_EQ(Take(), c.text);
    EXPECT_FLOAT_EQ(pdf_.GetX(), 3);  // the current point stays
  }
}

TEST_F(GraphicsTest, RotationBeyondWholeDegreeRangeFails) {
  for (float angle : {3e9f, -3e9f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
    SCOPED_TRACE(angle);
    try {
      pdf_.AxisRotation(angle);
      FAIL() << "no failure";
    } catch (const pdf::PdfError& e) {
      EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(Take(), "");
  }
  pdf_.AxisRotation(2e9f);  // still a whole number of degrees in range
  EXPECT_NE(Take(), "");
}

TEST_F(GraphicsTest, ScalingSkewingTranslation) {
  pdf_.AxisScaling(2, 0.5f);
  EXPECT_EQ(Take(), "\r2 0 0 0.5 0 0 cm");
  pdf_.AxisSkewing(45, 0);
  EXPECT_EQ(Take(), "\r1 1 0 1 0 0 cm");
  pdf_.AxisSkewing(-30, 10);
  EXPECT_EQ(Take(), "\r1 -0.577 0.176 1 0 0 cm");
  Reopen(10);
  pdf_.SetXY(5, 5);
  pdf_.AxisTranslation(1, 2);
  EXPECT_EQ(Take(), "\r1 0 0 1 10 20 cm");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
}

TEST_F(GraphicsTest, SpacesSaveStateAndMoveTheOrigin) {
  pdf_.SetXY(5, 5);
  pdf_.BeginSpace();
  EXPECT_EQ(Take(), "\rq");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
  pdf_.BeginSpace(0, 0, 1, 1, 30);
  EXPECT_EQ(Take(), "\rq\r0.866 -0.5 0.5 0.866 0 0 cm");
  pdf_.BeginSpace(0, 0, 1, 1, 720);
  EXPECT_EQ(Take(), "\rq");
  pdf_.EndSpace();
  EXPECT_EQ(Take(), "\rQ");
  Reopen(10);
  pdf_.BeginSpace(1, 2, 2, 3, 90);
  EXPECT_EQ(Take(), "\rq\r2 0 0 3 10 20 cm\r0 -1 1 0 0 0 cm");
  pdf_.BeginSpace(0, 0, 1, 1.5f);
  EXPECT_EQ(Take(), "\rq\r1 0 0 1.5 0 0 cm");
}

TEST_F(GraphicsTest, RowByRowTable) {
  Reopen(10);
  pdf_.SetLineWidth(0.2f);  // 2 points
  Take();
  pdf_.BeginTable(1, 1);
  EXPECT_EQ(Take(), "\rq");
  pdf_.BeginRow(2);
  EXPECT_EQ(Take(), "");
  pdf_.BeginColumn(3);
  EXPECT_EQ(Take(), "\rq\r1 0 0 1 10 10 cm\r1 1 28 18 re f*\r0 0 30 20 re S");
  EXPECT_FLOAT_EQ(pdf_.Navigation.TableX, 4);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 0);  // the cell's own origin
  pdf_.EndColumn();
  EXPECT_EQ(Take(), "\rQ");
  pdf_.BeginColumn(1.5f);
  EXPECT_EQ(Take(), "\rq\r1 0 0 1 40 10 cm\r1 1 13 18 re f*\r0 0 15 20 re S");
  pdf_.EndColumn();
  Take();
  pdf_.EndRow();  // the style of the row's start comes back, written again
  EXPECT_EQ(Take(), "\r0 0 0 RG\r0 0 0 rg\r2 w");
  EXPECT_FLOAT_EQ(pdf_.Navigation.TableX, 1);
  EXPECT_FLOAT_EQ(pdf_.Navigation.TableY, 3);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 1);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 3);

  pdf_.BeginRow(1);
  pdf_.BeginColumn(2);
  EXPECT_EQ(Take(), "\rq\r1 0 0 1 10 30 cm\r1 1 18 8 re f*\r0 0 20 10 re S");
  pdf_.EndColumn();
  pdf_.EndRow();
  EXPECT_FLOAT_EQ(pdf_.GetY(), 4);
  Take();
  pdf_.EndTable();
  EXPECT_EQ(Take(), "\rQ\r0 0 0 RG\r0 0 0 rg\r2 w");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 1);  // back at the table's corner
  EXPECT_FLOAT_EQ(pdf_.GetY(), 1);
  EXPECT_EQ(pdf_.Navigation.StyleDepth, 0);
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

TEST_F(GraphicsTest, PoppedStyleRestoresColoursWidthFontScaleAndPoint) {
  pdf_.Resources.PatternResources = "/HATCH 7 0 R ";
  pdf_.SetFont("Helvetica", 12, 1);
  pdf_.SetColorLine("#112233");
  pdf_.SetColorFill("hatch;red");
  pdf_.SetLineWidth(1);
  pdf_.SetXY(4, 5);
  pdf_.PushStyle();
  Take();
  pdf_.SetColorLine("red");
  pdf_.SetColorFill("blue");
  pdf_.SetLineWidth(5);
  pdf_.SetFont("Courier", 8);
  pdf_.SetScale(3);
  pdf_.SetXY(2, 3);
  Take();
  pdf_.PopStyle();
  EXPECT_EQ(Take(), "\r0.067 0.133 0.2 RG\r/xxCSxx cs 1 0 0 /HATCH scn\r1 w");
  EXPECT_EQ(pdf_.Text.FontName, "Helvetica");
  EXPECT_FLOAT_EQ(pdf_.Text.FontSize, 12);
  EXPECT_EQ(pdf_.Text.FontStyle, 1);
  EXPECT_FLOAT_EQ(pdf_.Pages.ScaleFactor, 1);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 4);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 5);
  EXPECT_EQ(pdf_.Colours.FillColor, "HATCH");
  EXPECT_EQ(pdf_.Navigation.StyleDepth, 0);

  pdf_.PopStyle();  // empty stack: nothing at all
  EXPECT_EQ(Take(), "");
  EXPECT_EQ(pdf_.Navigation.StyleDepth, 0);
}

TEST_F(GraphicsTest, StyleStackGrowsAndUnwindsInOrder) {
  for (int i = 1; i <= 25; ++i) {
    pdf_.SetLineWidth(static_cast<float>(i));
    pdf_.PushStyle();
  }
  EXPECT_EQ(pdf_.Navigation.StyleDepth, 25);
  Take();
  for (int i = 25; i >= 1; --i) {
    pdf_.PopStyle();
    EXPECT_FLOAT_EQ(pdf_.Colours.LineWidth, static_cast<float>(i));
    const std::string text = Take();
    EXPECT_EQ(text.substr(text.rfind('\r')), "\r" + std::to_string(i) + " w");
  }
}

}  // namespace
