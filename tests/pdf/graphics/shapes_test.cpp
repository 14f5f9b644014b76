// A polyline's points and the current point it leaves; a table built column
// by column, with frameless cells; the dash pattern operators.

#include <functional>
#include <limits>
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

// Under a negative scale, and for cells of a negative size, a cell keeps
// its frame and its background lies half the line width inside it; the
// style a row or table restores brings the width back across a change of
// the scale's sign; a note box's border is as wide as the line.
TEST_F(GraphicsTest, NegativeScalesAndSizesKeepFramesInsetsAndWidths) {
  const struct { float scale, width, height; const char* cell; } cells[] = {
      {1, 50, 20, "\rq\r1.5 1.5 47 17 re f*\r0 0 50 20 re S"},
      {-1, -50, -20, "\rq\r1.5 1.5 47 17 re f*\r0 0 50 20 re S"},
      {-1, 50, -20, "\rq\r-1.5 1.5 -47 17 re f*\r0 0 -50 20 re S"},
      {1, -50, 20, "\rq\r-1.5 1.5 -47 17 re f*\r0 0 -50 20 re S"},
  };
  for (const auto& c : cells) {
    SCOPED_TRACE(c.cell);
    Reopen(c.scale);
    pdf_.SetLineWidth(3);
    pdf_.SetColorFill("Yellow");
    pdf_.BeginTable(0, 0);
    pdf_.BeginRow(c.height);
    Take();
    pdf_.BeginColumn(c.width);
    EXPECT_EQ(Take(), c.cell);
  }
  Reopen(1);
  pdf_.SetLineWidth(2);
  pdf_.SetScale(255, -1);
  pdf_.BeginTable(0, 0);
  pdf_.BeginRow(-10);
  pdf_.SetLineWidth(5);
  Take();
  pdf_.EndRow();
  EXPECT_NE(Take().find("\r2 w"), std::string::npos) << "the row restores the width it began with";
  pdf_.BeginRow(-10);
  pdf_.BeginColumn(-10);
  EXPECT_NE(Take().find("cm\r1 1 8 8 re f*\r0 0 10 10 re S"), std::string::npos) << "the next row's cells take it";
  pdf_.EndColumn();
  pdf_.EndRow();
  pdf_.EndTable();
  pdf_.AddNoteBox("nota", -10, -10, -50, -20);
  pdf_.EndDoc();
  const std::string file = pdftest::ReadFile(path_);
  EXPECT_EQ(pdftest::Count(file, "/BS << /Type /Border /W 2"), 1);
  pdftest::ExpectReadersAccept(path_);
}

// Pictures and source pages the placement tests draw: a JPEG, an EPS
// drawing, a WMF drawing with a window (so a mapping) and a one-page PDF.
struct Pictures {
  explicit Pictures(const pdftest::TempDir& dir)
      : jpeg(dir.copy(SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/jpeg_fuzz/base.jpg")), eps(dir.file("line.eps")),
        wmf(dir.file("triangle.wmf")), pdf(dir.file("source.pdf")) {
    pdftest::WriteFile(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n1 1 m\n9 9 l\nS\n");
    std::string words;  // a metafile header, a window, one polygon, the end record
    for (const int w : {1, 9, 0x300, 32, 0, 16, 64, 0, 0, 5, 0, 0x020B, 0, 0, 5, 0, 0x020C, 10, 10,
                        10, 0, 0x0324, 3, 0, 0, 9, 0, 9, 9, 3, 0, 0})
      words += {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
    pdftest::WriteFile(wmf, words);
    gfxtest::WriteSourcePage(pdf);
  }
  std::string jpeg, eps, wmf, pdf;
};

// A path left open by MoveTo is ended ("n") by members that paint shapes
// of their own, EPS and WMF drawings among them, and by those that draw a
// whole drawing with "Do"; the next line must then start from a point, or
// readers find "l" without a current point.
TEST_F(GraphicsTest, LinesAfterMembersThatPaintStartFromAPoint) {
  const Pictures p(dir_);
  pdf_.BeginObject("o");
  pdf_.DrawLine(0, 0, 5, 5);
  pdf_.EndObject();
  Take();
  const struct { const char* what; std::function<void(gfxtest::Probe&)> paint; } rows[] = {
      {"underlined text", [](gfxtest::Probe& w) { w.SetFont("Arial", 10, pdf::FontUnderline), w.DrawText(20, 20, "sottolineato"); }},
      {"table cell", [](gfxtest::Probe& w) { w.SetLineWidth(1), w.BeginTable(30, 30), w.BeginRow(10), w.BeginColumn(10); }},
      {"EPS drawing", [&p](gfxtest::Probe& w) { w.DrawImage(p.eps, 40, 40, 10, 10); }},
      {"WMF drawing", [&p](gfxtest::Probe& w) { w.DrawImage(p.wmf, 50, 50); }},
      {"recorded object", [](gfxtest::Probe& w) { w.PlayObject("o"); }},
      {"raster image", [&p](gfxtest::Probe& w) { w.DrawImage(p.jpeg, 60, 60, 10, 10); }},
      {"imported page", [&p](gfxtest::Probe& w) { w.ImportPage(p.pdf, 1, 70, 70, 20); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    pdf_.MoveTo(2, 2);
    r.paint(pdf_);
    EXPECT_EQ(pdf_.ErrNumber(), 0) << pdf_.ErrDescription();
    Take();
    pdf_.DrawLineTo(9, 9);
    const std::string line = Take();
    EXPECT_EQ(line.substr(line.find(' ', line.find(' ') + 1)), " m 9 9 l\rS");
  }
  pdf_.DrawCurve(0, 1, 1, 2, 2);  // an unknown curve with no path open: no lone paint line
  EXPECT_EQ(Take(), "");
  pdf_.EndDoc();
  pdftest::ExpectReadersAccept(path_);
}

// A member that refuses its operands leaves the document as it was: no
// singular matrix, no pattern left recording, no placement of a picture or
// page whose matrix is singular as written (the page keeps its drawing).
TEST_F(GraphicsTest, RefusedOperandsLeaveTheDocumentAsItWas) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const Pictures p(dir_);
  // At a scale of 1e-5 points a unit, a size of 10 units is written as 0.
  const auto tiny_scale = [](std::function<void(gfxtest::Probe&)> call) {
    return [call](gfxtest::Probe& w) {
      w.SetScale(255, 1e-5f);
      try {
        call(w);
      } catch (...) {
        w.SetScale(0);
        throw;
      }
      w.SetScale(0);
    };
  };
  const struct { const char* what; std::function<void(gfxtest::Probe&)> call; int error; } rows[] = {
      {"zero scale", [](gfxtest::Probe& w) { w.AxisScaling(0, 0); }, 5},
      {"scale written as 0", [](gfxtest::Probe& w) { w.AxisScaling(2, 0.0004f); }, 5},
      {"space of zero width", [](gfxtest::Probe& w) { w.BeginSpace(10, 10, 0, 1); }, 5},
      {"skew of 45 and 45", [](gfxtest::Probe& w) { w.AxisSkewing(45, 45); }, 5},
      {"skew of tangents 1.25, 0.8", [](gfxtest::Probe& w) { w.AxisSkewing(51.3401917f, 38.6598083f); }, 5},
      {"tile of NaN", [nan](gfxtest::Probe& w) { w.BeginTiling("t", 0, 0, nan, 10, 10, 10); }, 6},
      {"infinite step", [inf](gfxtest::Probe& w) { w.BeginTiling("t", 0, 0, 10, 10, inf, 10); }, 6},
      {"tile too large", [](gfxtest::Probe& w) { w.BeginTiling("t", 0, 0, 10, 3e9f, 10, 10); }, 6},
      {"image width written as 0", [&p](gfxtest::Probe& w) { w.Raising([&] { w.DrawImage(p.jpeg, 100, 100, 0.0001f, 50); }); }, 5},
      {"EPS width written as 0", [&p](gfxtest::Probe& w) { w.Raising([&] { w.DrawImage(p.eps, 100, 100, 0.0001f, 50); }); }, 5},
      {"WMF height written as 0", [&p](gfxtest::Probe& w) { w.Raising([&] { w.DrawImage(p.wmf, 100, 100, 50, 0.0001f); }); }, 5},
      {"page width written as 0", [&p](gfxtest::Probe& w) { w.ImportPage(p.pdf, 1, 100, 100, 0.0001f, 50); }, 5},
      {"image at a tiny scale", tiny_scale([&p](gfxtest::Probe& w) { w.Raising([&] { w.DrawImage(p.jpeg, 0, 0, 10, 10); }); }), 5},
      {"page at a tiny scale", tiny_scale([&p](gfxtest::Probe& w) { w.ImportPage(p.pdf, 1, 0, 0, 10); }), 5},
      {"page too wide", [&p](gfxtest::Probe& w) { w.ImportPage(p.pdf, 1, 0, 0, 1e13f, 0); }, 6},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    try {
      r.call(pdf_);
      ADD_FAILURE() << "accepted";
    } catch (const pdf::PdfError& e) {
      EXPECT_EQ(e.Number(), r.error);
    }
    pdf_.DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Take(), "\r0 0 1 1 re\rS");
  }
  pdf_.EndTiling();  // nothing recording: no pattern object
  pdf_.AxisScaling(2, 0.5f), pdf_.AxisSkewing(45, 30);
  EXPECT_EQ(Take(), "\r2 0 0 0.5 0 0 cm\r1 1 0.577 1 0 0 cm");
  pdf_.EndDoc();
  EXPECT_EQ(pdftest::Count(pdftest::ReadFile(path_), "/PatternType"), 0);
  pdftest::ExpectReadersAccept(path_);
}

TEST_F(GraphicsTest, DashPatternForms) {
  const struct { const char* pattern; float phase; const char* text; } cases[] = {
      {"dash", 0, "\r[1 ] 0 d"}, {"  dot ", 0, "\r[0.5 ] 0 d"}, {"DashDot", 1, "\r[1 0.5 0.5 0.5 ] 10 d"},
      {"DASHDOTDOT", 0.25f, "\r[1 0.5 0.5 0.5 0.5 0.5 ] 2.5 d"}, {"2;1", 0, "\r[ 20 10 ] 0 d"},
      {" 0.3 ; 1 5;abc;.25x", 0.5f, "\r[ 3 150 0 2.5 ] 5 d"}, {"1e-1;2D0", 0, "\r[ 1 20 ] 0 d"}, {"5d-1;2D1", 0, "\r[ 5 200 ] 0 d"}, {"", 0, "\r[ ] 0 d"},
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
