// EPS and AI drawings: hand-written files whose prolog defines the short
// operators, so that Ghostscript renders them as PostScript; our conversion
// must fill the same places with the same colours. The converter's line
// rules are checked on its output; broken bounding boxes record an error.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/graphics/eps_converter.h"
#include "tests/pdf/graphics/image_tools.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using imgtest::PageWriter;

// The short operators as PostScript procedures (the converter drops these
// lines: they begin with "/").
const char* const kProlog =
    "%%BeginProlog\n"
    "/m {moveto} bind def /l {lineto} bind def /c {curveto} bind def\n"
    "/L {lineto} bind def /C {curveto} bind def /v {currentpoint 6 2 roll curveto} bind def\n"
    "/f {fill} bind def /F {fill} bind def /S {stroke} bind def /s {closepath stroke} bind def\n"
    "/b {closepath gsave fill grestore stroke} bind def /B {gsave fill grestore stroke} bind def\n"
    "/g {setgray} bind def /G {setgray} bind def /k {setcmykcolor} bind def /K {setcmykcolor} bind def\n"
    "/w {setlinewidth} bind def /Xa {setrgbcolor} bind def /n {newpath} bind def\n"
    "/d {setdash} bind def /j {setlinejoin} bind def /J {setlinecap} bind def\n"
    "%%EndProlog\n";

std::string Eps(const std::string& box, const std::string& body) {
  return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: " + box + "\n" + kProlog + body + "showpage\n%%EOF\n";
}

// Ghostscript's rendering of an EPS file (cropped to its box) or of our
// PDF: one colour management for both, so CMYK compares too.
imgtest::Pixels Ghostscript(const std::string& file) {
  const pdftest::ToolResult r = pdftest::RunTool(
      {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=ppmraw", "-r72", "-o", "-", file});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return imgtest::ParsePpm(r.out);
}

TEST(EpsDrawings, FillTheSamePlacesAsGhostscript) {
  struct Case {
    const char* what;
    const char* box;
    float width, height;  // of the box, drawn at full size
    std::string body;
  } cases[] = {
      {"shapes in RGB, grey and CMYK", "0 0 144 72", 144, 72,
       "0.9 0.1 0.1 Xa\n10 10 m\n60 10 l\n60 60 l\n10 60 l\nf\n"
       "0 0 1 0 k\n80 20 m\n130 20 L\n105 60 l\nF\n"
       "0.5 g\n70 62 m\n140 62 l\n140 70 l\n70 70 l\nf\n"},
      {"curves and a box away from the origin", "100 200 300 300", 200, 100,
       "0.2 0.6 0.2 Xa\n120 220 m\n120 280 180 280 180 220 c\nf\n"
       "0 0 0.8 Xa\n200 210 m\n290 210 l\n290 290 l\n200 290 l\nb\n"},
      {"lines ending in AI's upper-case forms", "0 0 100 100", 100, 100,
       "1 0 0 Xa\n10 10 m\n90 10 L\n90 90 L\n10 90 L\n10 10 L\nf\n"},
  };
  pdftest::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string eps = dir.file("drawing.eps");
    pdftest::WriteFile(eps, Eps(c.box, c.body));
    const std::string pdf = dir.file("eps.pdf");
    PageWriter writer;
    writer.Open(pdf, c.width, c.height);
    writer.DrawImage(eps, 0, 0, c.width, c.height);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    const pdftest::ToolResult gs = pdftest::GhostscriptCheck(pdf);
    EXPECT_EQ(gs.exit_code, 0) << gs.out << gs.err;
    EXPECT_GT(imgtest::ExpectSameFills(Ghostscript(pdf), Ghostscript(eps)), 100);
  }
}

std::vector<std::string> Converted(const std::string& text) {
  return pdf::ConvertEpsLines(pdf::as_bytes(text)).lines;
}

TEST(EpsDrawings, LinesAreCopiedOnlyWithTheirOperands) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* what;
    std::string body;
    Lines expected;
  } cases[] = {
      {"RGB fill colour", "0.1 0.2 0.3 Xa\n", {"0.1 0.2 0.3 rg"}},
      {"XR as a grey stroke", "0.5 XR\n", {"0.5 G"}},
      {"fill then stroke: the fill alone", "1 1 m\n2 2 l\nf\nS\n", {"1 1 m", "2 2 l", "f*"}},
      {"a stroke without a fill is written", "1 1 m\n2 2 l\nS\n", {"1 1 m", "2 2 l", "S"}},
      {"two fills in a row: one", "1 1 m\n2 2 l\nf\nf\n", {"1 1 m", "2 2 l", "f*"}},
      {"upper-case AI forms", "1 2 L\n1 2 3 4 5 6 C\n1 2 3 4 V\n", {"1 2 l", "1 2 3 4 5 6 c", "1 2 3 4 v"}},
      {"procedures, strings and long operators dropped",
       "/x 1 def\n(text) show\n1 2 moveto\n0 0 1 setrgbcolor\n", {}},
      {"an unbalanced bracket does not swallow the rest", "[3 2 d\n1 1 m\n2 2 l\nS\n", {"1 1 m", "2 2 l", "S"}},
      {"a dash with its array", "[3 2] 0 d\n", {"[3 2] 0 d"}},
      {"too few or too many operands", "1 m\n1 2 3 l\n", {}},
      {"operands that are no numbers", "a b m\n1e5 2 l\n", {}},
      {"LF, CR LF and CR line ends alike", "1 1 m\r\n2 2 l\r3 3 l\nS\n", {"1 1 m", "2 2 l", "3 3 l", "S"}},
      {"nothing after showpage", "1 1 m\nshowpage\n2 2 l\n", {"1 1 m"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Converted("%%BoundingBox: 0 0 10 10\n" + c.body), c.expected) << c.what;
  }
  EXPECT_EQ(Converted("1 1 m\n2 2 l\n"), Lines{}) << "no box, setup or prolog end: nothing";
}

// The page text a drawing writes, with its error number.
struct Drawn {
  std::string text;
  int error;
};
Drawn Draw(const std::string& eps_text, float width = 0, float height = 0, int scale = 0) {
  pdftest::TempDir dir;
  pdftest::WriteFile(dir.file("d.eps"), eps_text);
  PageWriter writer;
  writer.Open(dir.file("d.pdf"), 595, 842);
  writer.SetScale(scale);
  writer.DrawImage(dir.file("d.eps"), 0, 0, width, height);
  Drawn d{writer.PageText(), writer.ErrNumber()};
  writer.EndDoc();
  EXPECT_EQ(pdftest::GhostscriptCheck(dir.file("d.pdf")).exit_code, 0) << eps_text;
  return d;
}

TEST(EpsDrawings, PlacementAndBrokenBoundingBoxes) {
  const struct {
    const char* what;
    std::string eps;
    float width, height;
    int error;
    std::string text;  // the page text written
  } cases[] = {
      {"no size given: 20/72 of the box", "%%BoundingBox: 0 0 144 72\n1 1 m\n", 0, 0, 0,
       "\rq\r0.278 0 0 0.278 0 0 cm\r1 0 0 -1 0 72 cm\r1 1 m\rQ"},
      {"width only: the box's proportions", "%%BoundingBox: 10 20 110 70\n", 200, 0, 0,
       "\rq\r2 0 0 2 0 0 cm\r1 0 0 -1 -10 70 cm\rQ"},
      {"blanks repeated between the numbers", "%%BoundingBox: 0  0   144 72\n", 144, 72, 0,
       "\rq\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\rQ"},
      {"two boxes: the first counts, one q and one Q",
       "%%BoundingBox: 0 0 144 72\n1 1 m\n%%BoundingBox: 0 0 10 10\n2 2 l\n", 144, 72, 0,
       "\rq\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\r1 1 m\r2 2 l\rQ"},
      {"box of no width", "%%BoundingBox: 10 0 10 72\n1 1 m\n", 0, 0, 11, ""},
      {"box given at the end", "%%BoundingBox: (atend)\n1 1 m\n%%Trailer\n%%BoundingBox: 0 0 5 5\n", 0, 10, 11, ""},
      {"prolog end without a box: no Q without q", "%%EndProlog\n1 1 m\n2 2 l\nS\n", 0, 0, 0, "\r1 1 m\r2 2 l\rS"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Drawn d = Draw(c.eps, c.width, c.height);
    EXPECT_EQ(d.error, c.error);
    EXPECT_EQ(d.text, c.text);
  }
  EXPECT_EQ(Draw("").error, 0) << "an empty file draws nothing";
  pdftest::TempDir dir;
  PageWriter writer;
  writer.Open(dir.file("m.pdf"), 100, 100);
  writer.DrawImage(dir.file("missing.ai"), 0, 0);
  EXPECT_EQ(writer.ErrNumber(), 53);
  EXPECT_EQ(writer.PageText(), "");
}

}  // namespace
