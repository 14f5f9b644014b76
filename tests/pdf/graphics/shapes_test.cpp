// Paths and shapes: the exact operator text of each shape, the current point
// and the last rectangle it leaves.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::ExpectRect;
using gfxtest::GraphicsTest;

using pdftest::Count;

// ---- lines and moves -------------------------------------------------------

TEST_F(GraphicsTest, LineAtPointsAndAtTwoPointsPerUnit) {
  pdf_.DrawLine(0, 0, 5, 0);
  EXPECT_EQ(Take(), "\r0 0 m 5 0 l\rS");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 5);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
  ExpectRect(pdf_.LastRect(), 0, 842, 5, 842);

  Reopen(2);
  pdf_.DrawLine(0, 0, 5, 0);
  EXPECT_EQ(Take(), "\r0 0 m 10 0 l\rS");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 5);  // user units, not points
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
  ExpectRect(pdf_.LastRect(), 0, 842, 10, 842);

  pdf_.DrawLine(1.5f, 2, 3, 4.25f, 5);
  EXPECT_EQ(Take(), "\r3 4 m 6 8.5 l\rf*");
  ExpectRect(pdf_.LastRect(), 3, 838, 6, 833.5f);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 3);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 4.25f);
}

TEST_F(GraphicsTest, MoveToAndLineToBuildOnePathAndKeepTheLastRectangle) {
  pdf_.DrawRect(1, 2, 3, 4);
  Take();
  const auto before = pdf_.LastRect();
  pdf_.MoveTo(10, 20);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 10);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 20);
  pdf_.DrawLineTo(30, 20, 1);
  pdf_.DrawLineTo(30, 40, 2);
  EXPECT_EQ(Take(), "\r10 20 m\r30 20 l\r\r30 40 l\rh S");
  EXPECT_FLOAT_EQ(pdf_.GetX(), 30);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 40);
  EXPECT_EQ(pdf_.LastRect(), before);
}

TEST_F(GraphicsTest, CurveOperatorsByType) {
  struct Case {
    short type;
    const char* text;
    float x, y;
  };
  const Case cases[] = {
      // The painted rectangle left no current point: the curve starts at 7 8.
      {1, "\r7 8 m 1 2 3 4 5 6 c\rS", 5, 6},
      {2, "\r7 8 m 1 2 3 4 v\rS", 3, 4},
      {3, "\r7 8 m 1 2 3 4 y\rS", 3, 4},
      {4, "\rS", 7, 8},  // unknown type: only the paint line, point unchanged
      {0, "\rS", 7, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    pdf_.SetXY(7, 8);
    pdf_.DrawRect(0, 0, 1, 1);
    const auto rect = pdf_.LastRect();
    pdf_.SetXY(7, 8);
    Take();
    pdf_.DrawCurve(c.type, 1, 2, 3, 4, 5, 6);
    EXPECT_EQ(Take(), c.text);
    EXPECT_FLOAT_EQ(pdf_.GetX(), c.x);
    EXPECT_FLOAT_EQ(pdf_.GetY(), c.y);
    EXPECT_EQ(pdf_.LastRect(), rect);
  }
  Reopen(10);
  pdf_.DrawCurve(1, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 130);
  EXPECT_EQ(Take(), "\r0 0 m 1 2 3 4 5 6 c\rW h S");
}

// ---- rectangles --------------------------------------------------------------

TEST_F(GraphicsTest, PlainRectangleWritesSizesAsGiven) {
  pdf_.DrawRect(10, 20, 30, 40);
  EXPECT_EQ(Take(), "\r10 20 30 40 re\rS");
  ExpectRect(pdf_.LastRect(), 10, 822, 40, 782);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 10);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 20);

  pdf_.DrawRect(10, 20, -30, -40, 4);
  EXPECT_EQ(Take(), "\r10 20 -30 -40 re\rB*");
  ExpectRect(pdf_.LastRect(), 10, 822, -20, 862);  // x2 < x1, y2 > y1

  pdf_.DrawRect(1, 1, 0, 0, 0, -3);  // a negative radius is a square rectangle
  EXPECT_EQ(Take(), "\r1 1 0 0 re\rS");

  Reopen(28.346457f);
  pdf_.DrawRect(2, 3, 4.5f, 1);
  EXPECT_EQ(Take(), "\r56.693 85.039 127.559 28.346 re\rS");
  ExpectRect(pdf_.LastRect(), 56.692914f, 842 - 85.039371f, 56.692914f + 127.559056f,
             842 - 85.039371f - 28.346457f);
}

TEST_F(GraphicsTest, RoundedRectangleCorners) {
  // Radius 5 is clamped to half the width: R 2, handles 1.1.
  struct Case {
    int corners;
    const char* text;
  };
  const Case cases[] = {
      {15,
       "\r2 0 m\r2 0 l\r3.1 0 4 0.9 4 2 c\r4 8 l\r4 9.1 3.1 10 2 10 c\r2 10 l\r"
       "0.9 10 0 9.1 0 8 c\r0 2 l\r0 0.9 0.9 0 2 0 c\rS"},
      // top-left and bottom-right only
      {5, "\r2 0 m\r4 0 l\r4 8 l\r4 9.1 3.1 10 2 10 c\r0 10 l\r0 2 l\r0 0.9 0.9 0 2 0 c\rS"},
      // corner 1 square: the outline text ends with a CR, an empty line follows
      {2, "\r0 0 m\r2 0 l\r3.1 0 4 0.9 4 2 c\r4 10 l\r0 10 l\r0 0 l\r\rS"},
      // no corner rounded: four segments instead of "re"
      {0, "\r0 0 m\r4 0 l\r4 10 l\r0 10 l\r0 0 l\r\rS"},
      // only the low byte counts
      {256 + 8, "\r0 0 m\r4 0 l\r4 10 l\r2 10 l\r0.9 10 0 9.1 0 8 c\r0 0 l\r\rS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corners);
    pdf_.DrawRect(0, 0, 4, 10, 0, 5, c.corners);
    EXPECT_EQ(Take(), c.text);
    ExpectRect(pdf_.LastRect(), 0, 842, 4, 832);
    EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
    EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
  }
  // Default corners, radius clamped by the height, offset and scaled.
  Reopen(10);
  pdf_.DrawRect(1, 2, 8, 1, 5, 2);
  EXPECT_EQ(Take(),
            "\r15 20 m\r85 20 l\r87.75 20 90 22.25 90 25 c\r90 25 l\r90 27.75 87.75 30 85 30 c\r"
            "15 30 l\r12.25 30 10 27.75 10 25 c\r10 25 l\r10 22.25 12.25 20 15 20 c\rf*");
  ExpectRect(pdf_.LastRect(), 10, 822, 90, 812);
}

// ---- ellipses and circles ------------------------------------------------------

TEST_F(GraphicsTest, EllipseOutlineAndCircle) {
  const std::string unit =
      "\r1 0 m\r1 -0.552 0.552 -1 0 -1 c\r-0.552 -1 -1 -0.552 -1 0 c\r"
      "-1 0.552 -0.552 1 0 1 c\r0.552 1 1 0.552 1 0 c\rS";
  pdf_.DrawEllipse(0, 0, 1, 1);
  EXPECT_EQ(Take(), unit);
  ExpectRect(pdf_.LastRect(), -1, 843, 1, 841);
  pdf_.DrawCircle(0, 0, 1);
  EXPECT_EQ(Take(), unit);
  ExpectRect(pdf_.LastRect(), -1, 843, 1, 841);

  pdf_.DrawEllipse(3, 4, 0, 0);  // a flat outline, still five lines
  EXPECT_EQ(Take(), "\r3 4 m\r3 4 3 4 3 4 c\r3 4 3 4 3 4 c\r3 4 3 4 3 4 c\r3 4 3 4 3 4 c\rS");

  pdf_.DrawEllipse(0, 0, -1, 1);
  EXPECT_EQ(pdf_.LastRect()[0], 1);  // runs the other way: x1 > x2
  EXPECT_EQ(pdf_.LastRect()[2], -1);
  Take();

  Reopen(10);
  pdf_.DrawEllipse(5, 5, 2, 1, 6);
  EXPECT_EQ(Take(),
            "\r70 50 m\r70 44.477 61.046 40 50 40 c\r38.954 40 30 44.477 30 50 c\r"
            "30 55.523 38.954 60 50 60 c\r61.046 60 70 55.523 70 50 c\rb*");
  ExpectRect(pdf_.LastRect(), 30, 802, 70, 782);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 5);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 5);
}

// ---- arcs and pies -------------------------------------------------------------

TEST_F(GraphicsTest, ArcPointsPiesAndEmptyRanges) {
  struct Case {
    float start, end;
    bool pie;
    int options;
    const char* text;
  };
  const Case cases[] = {
      {0, 100, false, 0, "\r0 0 m\r10 0 m\r10 0 l\r8.66 5 l\r5 8.66 l\r0 10 l\rS"},
      {0, 100, true, 0, "\r0 0 m\r10 0 l\r8.66 5 l\r5 8.66 l\r0 10 l\r0 0 l\rS"},
      // the fill bit makes a pie of it
      {0, 100, false, 5, "\r0 0 m\r10 0 l\r8.66 5 l\r5 8.66 l\r0 10 l\r0 0 l\rf*"},
      {200, 100, false, 0, "\r0 0 m\rS"},
      {200, 100, true, 0, "\r0 0 m\r0 0 l\rS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    pdf_.SetXY(9, 9);
    pdf_.DrawArc(0, 0, 10, c.start, c.end, 1, c.pie, 30, c.options);
    EXPECT_EQ(Take(), c.text);
    ExpectRect(pdf_.LastRect(), -10, 852, 10, 832);  // the full circle's square
    EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
    EXPECT_FLOAT_EQ(pdf_.GetY(), 0);
  }

  // Elliptic arc, scaled and offset.
  Reopen(10);
  pdf_.DrawArc(5, 5, 2, 45, 180, 0.5f, false, 45);
  EXPECT_EQ(Take(), "\r50 50 m\r64.142 57.071 m\r64.142 57.071 l\r50 60 l\r35.858 57.071 l\r30 50 l\rS");
  ExpectRect(pdf_.LastRect(), 30, 812, 70, 772);
}

TEST_F(GraphicsTest, ArcPointCounts) {
  struct Case {
    float start, end;
    short quality;
    int points;
  };
  const Case cases[] = {
      {0, 360, 1, 361},  // the defaults: 0 to 360 inclusive
      {0, 360, 10, 37},
      {0, 100, 30, 4},
      {360, 0, -1, 361},  // a negative step runs down
      {0, 360, -1, 0},
      {0, 0, 5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end << " by " << c.quality);
    pdf_.DrawArc(0, 0, 10, c.start, c.end, 1, false, c.quality);
    const std::string text = Take();
    EXPECT_EQ(Count(text, " l"), c.points);
    EXPECT_EQ(Count(text, " m"), c.points > 0 ? 2 : 1);
  }
  // The full default circle starts and ends at angle 0 = 360.
  pdf_.DrawArc(0, 0, 10);
  const std::string full = Take();
  EXPECT_EQ(full.rfind("\r0 0 m\r10 0 m\r10 0 l\r9.998 0.175 l\r", 0), 0u);
  EXPECT_EQ(full.substr(full.size() - 9), "\r10 0 l\rS");
}

TEST_F(GraphicsTest, ArcStepThatCannotAdvanceTheAngleStillEnds) {
  // Quality 0 would never move the angle: the default step of 1 is used.
  pdf_.DrawArc(0, 0, 10, 0, 360, 1, false, 0);
  const std::string zero = Take();
  pdf_.DrawArc(0, 0, 10);
  EXPECT_EQ(zero, Take());
  EXPECT_EQ(Count(zero, " l"), 361);

  // At 10^8 degrees one degree no longer changes a single-precision angle
  // (neighbouring values are 8 apart): the arc ends after its first point.
  pdf_.DrawArc(0, 0, 10, 1e8f, 1e8f + 360, 1, false, 1);
  EXPECT_EQ(Count(Take(), " l"), 1);
  pdf_.DrawArc(0, 0, 10, -1e8f - 360, -1e8f, 1, true, 0);
  EXPECT_EQ(Count(Take(), " l"), 2);  // the point and the way back to the centre
  // A step that does move the angle there is rounded to the spacing: 8 apart.
  pdf_.DrawArc(0, 0, 10, 1e8f, 1e8f + 16, 1, false, 5);
  EXPECT_EQ(Count(Take(), " l"), 3);
  ExpectRect(pdf_.LastRect(), -10, 852, 10, 832);
}

// ---- polygons -------------------------------------------------------------------

TEST_F(GraphicsTest, PolygonVerticesAndClosingPaint) {
  pdf_.DrawPolygon(0, 0, 1, 4);
  EXPECT_EQ(Take(), "\r1 0 m\r0 1 l\r-1 0 l\r0 -1 l\rh S");
  ExpectRect(pdf_.LastRect(), -1, 843, 1, 841);
  EXPECT_FLOAT_EQ(pdf_.GetX(), 0);
  EXPECT_FLOAT_EQ(pdf_.GetY(), 0);

  // Negative side count: first vertex on the left.
  pdf_.DrawPolygon(0, 0, 1, -4, 5);
  EXPECT_EQ(Take(), "\r-1 0 m\r0 -1 l\r1 0 l\r0 1 l\rf*");

  // Seven sides: the single-precision angle stays below 360, so an eighth
  // vertex lands on the first.
  pdf_.DrawPolygon(0, 0, 1, 7, 4);
  EXPECT_EQ(Take(),
            "\r1 0 m\r0.623 0.782 l\r-0.223 0.975 l\r-0.901 0.434 l\r-0.901 -0.434 l\r"
            "-0.223 -0.975 l\r0.623 -0.782 l\r1 0 l\rb*");

  pdf_.DrawPolygon(0, 0, 1, 1);
  EXPECT_EQ(Take(), "\r1 0 m\rh S");

  Reopen(10);
  pdf_.DrawPolygon(3, 4, -2, 5);  // the radius's sign is dropped
  EXPECT_EQ(Take(), "\r50 40 m\r36.18 59.021 l\r13.82 51.756 l\r13.82 28.244 l\r36.18 20.979 l\rh S");
  ExpectRect(pdf_.LastRect(), 10, 822, 50, 782);
}

TEST_F(GraphicsTest, PolygonVertexCounts) {
  // Side counts whose accumulated single-precision angle stays below 360 get
  // one extra vertex; the rest get exactly their side count.
  const std::vector<int> extra = {7, 11, 19, 21, 23, 25, 29, 33, 34, 35, 46, 49, 52, 53, 54, 55, 56, 59};
  for (int sides = 1; sides < 60; ++sides) {
    SCOPED_TRACE(sides);
    const bool more = std::find(extra.begin(), extra.end(), sides) != extra.end();
    pdf_.DrawPolygon(0, 0, 1, static_cast<short>(sides));
    EXPECT_EQ(Count(Take(), " l") + 1, sides + (more ? 1 : 0));
    pdf_.DrawPolygon(0, 0, 1, static_cast<short>(-sides));
    EXPECT_EQ(Count(Take(), " l") + 1, sides + (more ? 1 : 0));
  }
}

TEST_F(GraphicsTest, PolygonWithoutSidesFailsBeforeWriting) {
  pdf_.DrawRect(0, 0, 1, 1);
  const auto rect = pdf_.LastRect();
  Take();
  try {
    pdf_.DrawPolygon(0, 0, 1, 0);
    FAIL() << "no failure";
  } catch (const pdf::PdfError& e) {
    EXPECT_EQ(e.Number(), 11);
  }
  EXPECT_EQ(Take(), "");
  EXPECT_EQ(pdf_.LastRect(), rect);
}

// ---- polylines ------------------------------------------------------------------

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

TEST_F(GraphicsTest, PolylineFailures) {
  pdf_.DrawRect(0, 0, 100, 100);
  const auto rect = pdf_.LastRect();
  Take();
  struct Case {
    std::vector<double> points;
    int number;
  };
  std::vector<double> huge(32770, 1.0);
  const Case cases[] = {{{}, 9}, {huge, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    try {
      pdf_.DrawPolyline(c.points);
      FAIL() << "no failure";
    } catch (const pdf::PdfError& e) {
      EXPECT_EQ(e.Number(), c.number);
    }
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(pdf_.LastRect(), rect);
  }
  // An unpaired last value: no path, the box of the pairs read before.
  try {
    pdf_.DrawPolyline({1, 2, 3, 1, 7});
    FAIL() << "no failure";
  } catch (const pdf::PdfError& e) {
    EXPECT_EQ(e.Number(), 9);
  }
  EXPECT_EQ(Take(), "");
  ExpectRect(pdf_.LastRect(), 1, 840, 3, 841);
  // 32768 values (the largest 16-bit index) are still drawn.
  std::vector<double> most(32768, 2.0);
  pdf_.DrawPolyline(most, 1);
  EXPECT_EQ(Count(Take(), " l\r"), 16383);
}

// ---- nothing open ---------------------------------------------------------------

TEST(GraphicsWithoutPage, ContentIsDroppedButPointAndRectangleAreSet) {
  gfxtest::Probe pdf;
  pdf.DrawRect(1, 2, 3, 4);
  ExpectRect(pdf.LastRect(), 1, 840, 4, 836);
  pdf.DrawLine(0, 0, 7, 8);
  EXPECT_FLOAT_EQ(pdf.GetX(), 7);
  EXPECT_FLOAT_EQ(pdf.GetY(), 8);
  EXPECT_EQ(pdf.PageText(), "");
}

}  // namespace
