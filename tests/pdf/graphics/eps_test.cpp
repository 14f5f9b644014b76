// EPS and AI drawings: hand-written files whose prolog defines the short
// operators, so that Ghostscript renders them as PostScript; our conversion
// must fill the same places with the same colours. Then the line rules, the
// placement and broken bounding boxes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/graphics/eps_converter.h"
#include "tests/pdf/graphics/graphics_probe.h"

namespace {

// The short operators as PostScript procedures; the converter drops these
// lines (they begin with "/").
const char* const kProlog =
    "/m {moveto} def /l {lineto} def /c {curveto} def /L {lineto} def /f {fill} def /F {fill} def\n"
    "/b {closepath gsave fill grestore stroke} def /g {setgray} def /k {setcmykcolor} def\n"
    "/Xa {setrgbcolor} def\n%%EndProlog\n";

// Ghostscript's rendering of an EPS file (cropped to its box) or of our PDF:
// one colour management for both, so CMYK compares too.
gfxtest::Pixels Ghostscript(const std::string& file) {
  return gfxtest::Ppm({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dEPSCrop", "-sDEVICE=ppmraw", "-r72", "-o", "-", file});
}

TEST(EpsDrawings, FillTheSamePlacesAsGhostscript) {
  const struct { std::string box, body; float width, height; } cases[] = {
      {"0 0 144 72",
       "0.9 0.1 0.1 Xa\n10 10 m\n60 10 l\n60 60 l\n10 60 l\nf\n0 0 1 0 k\n80 20 m\n130 20 L\n105 60 l\nF\n"
       "0.5 g\n70 62 m\n140 62 l\n140 70 l\n70 70 l\nf\n", 144, 72},
      {"100 200 300 300", "0.2 0.6 0.2 Xa\n120 220 m\n120 280 180 280 180 220 c\nf\n0 0 0.8 Xa\n200 210 m\n290 210 l\nb\n", 200, 100},
      {"0 0 144 72", "0.9 0.1 0.1 Xa 10 10 m 60 10 l 60 60 l 10 60 l f\n0 0 1 0 k 80 20 m 130 20 L 105 60 l F\n", 144, 72},
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    const std::string eps = dir.file("drawing.eps"), pdf = dir.file("eps.pdf");
    pdftest::WriteFile(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: " + c.box + "\n" + kProlog + c.body + "showpage\n");
    gfxtest::Probe writer;
    writer.Open(pdf, c.width, c.height);
    writer.DrawImage(eps, 0, 0, c.width, c.height);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    EXPECT_EQ(pdftest::GhostscriptCheck(pdf).exit_code, 0);
    EXPECT_GT(gfxtest::ExpectSameFills(Ghostscript(pdf), Ghostscript(eps)), 300);
  }
}

TEST(EpsDrawings, LinesAreCopiedOnlyWithTheirOperands) {
  using Lines = std::vector<std::string>;
  const struct { std::string body; Lines expected; } cases[] = {
      {"0.1 0.2 0.3 Xa\n0.5 XR\n", {"0.1 0.2 0.3 rg", "0.5 G"}},
      {"1 1 m\n2 2 l\nf\nS\nf\n", {"1 1 m", "2 2 l", "f*"}},  // a stroke or fill after a fill: dropped
      {"1 1 m\nS\n", {"1 1 m", "S"}},
      {"0 0 m\n1 2 L\n1 2 3 4 5 6 C\n", {"0 0 m", "1 2 l", "1 2 3 4 5 6 c", "n"}},  // a path left open: ended
      {"0 0 moveto\n5 5 l\nS\n1 1 m\n9 9 l\nS\n9 2 l\nS\n", {"1 1 m", "9 9 l", "S"}},  // no current point
      {"10 10 moveto\n90 90 l\ns\n0 g\nb\nB\nn\nf\nN\n", {"0 g"}},  // closing and painting with no path
      {"1 1 m 2 2 l W n\nW\n1 1 m 2 2 l f 2 2 l S\n", {"1 1 m", "2 2 l", "W", "n", "1 1 m", "2 2 l", "f*"}},
      {"10 10 m 90 90 l 90 10 l h S\n0 1 -1 0 0 10 cm 0 0 5 5 re f* 1 1 m h 2 i b\n", // other path operators inside a line
       {"10 10 m", "90 90 l", "90 10 l", "h", "S", "0 1 -1 0 0 10 cm", "0 0 5 5 re", "f*", "1 1 m", "h", "2 i", "b*"}},
      // Inside a path a transform is not copied, and a clip waits for the
      // operator that ends the path.
      {"1 1 m 0 1 -1 0 0 10 cm 2 2 l W* 0.5 g h f\n3 3 m W 1 g\n", {"1 1 m", "2 2 l", "0.5 g", "h", "W*", "f*", "3 3 m", "1 g", "W", "n"}},
      {"1 1 m 2 2 l h\n0 0 5 5 re\n1 1 m /a gs S\n1 1 m q S\n1 1 m 2 2 l S Q\n", {}},  // not the final operator; names; no q or Q
      {"0 J 1 j 2 J +2 j 0 w 1 M [] 0 d [0 2] 1 d 1 1 m\n", {"0 J", "1 j", "2 J", "+2 j", "0 w", "1 M", "[] 0 d", "[0 2] 1 d", "1 1 m", "n"}},
      {"5 J 1 1 m\n1.5 J 1 1 m\n-1 j 1 1 m\n7 j\n[0 0] 0 d\n[2 -1] 0 d\n-1 w\n0.5 M\n101 i 1 1 m\n1 2 2 4 0 0 cm 1 1 m\n", {}},  // out of range
      {"/x 1 def\n(text) show\n1 2 moveto\n", {}},
      {"[3 2 d\n1 1 m\n[3 2] 0 d\n", {"1 1 m", "[3 2] 0 d", "n"}},  // an open bracket swallows nothing
      {"1 m\n1 2 3 l\na b m\n1e5 2 l\n", {}},                 // wrong counts, no plain numbers
      {"1 1 m\r\n2 2 l\r3 3 l\nshowpage\n4 4 l\n", {"1 1 m", "2 2 l", "3 3 l", "n"}},
      {"10 10 m 90 90 l\nS\n", {"10 10 m", "90 90 l", "S"}},  // several operators on one line
      {"0 0 1 Xa 1 1 m 2 2 L f S\n[1 2] 0 d 3 w\n", {"0 0 1 rg", "1 1 m", "2 2 l", "f*", "[1 2] 0 d", "3 w"}},
      {"1 1 m 2 2 l x\n1 1 m 2 l\n1 1 m (a) show\n1 1\n", {}},  // anything else refuses the whole line
      {"0 0 m\n12345678901234567890 0 m\n2147483648 0 l\n0." + std::string(400, '1') + " 0 l\n-2147483647.9 0 l\n",
       {"0 0 m", "-2147483647.9 0 l", "n"}},  // numbers the writer would not write: refused
  };
  for (const auto& c : cases)
    EXPECT_EQ(pdf::ConvertEpsLines(pdf::as_bytes("%%BoundingBox: 0 0 10 10\n" + c.body)).lines, c.expected) << c.body;
  EXPECT_EQ(pdf::ConvertEpsLines(pdf::as_bytes("1 1 m\n")).lines, Lines{}) << "nothing before a box or prolog end";
}

TEST(EpsDrawings, PlacementAndBrokenBoundingBoxes) {
  const struct { std::string eps; float width, height; int error; std::string text; } cases[] = {  // text: what the page gets
      {"%%BoundingBox: 0 0 144 72\n1 1 m\n2 2 l\nS\n", 0, 0, 0, "\rq\r0.278 0 0 0.278 0 0 cm\r1 0 0 -1 0 72 cm\r1 1 m\r2 2 l\rS\rQ"},
      {"%%BoundingBox: 10 20 110 70\n1 g\n0 0 m\n5 5 l\nf\n", 200, 0, 0, "\rq\r2 0 0 2 0 0 cm\r1 0 0 -1 -10 70 cm\r1 g\r0 0 m\r5 5 l\rf*\rQ"},
      {"%%BoundingBox: 0  0   144 72\n1 g\n0 0 m\n5 5 l\nf\n", 144, 72, 0, "\rq\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\r1 g\r0 0 m\r5 5 l\rf*\rQ"},
      // A drawing that paints nothing writes nothing: a path it never
      // paints, colours and widths alone, a clip.
      {"%%BoundingBox: 0 0 144 72\n1 1 m\n", 0, 0, 0, ""},
      {"%%BoundingBox: 0 0 144 72\n1 g\n0 1 0 Xa\n2 w\n[1 1] 0 d\n", 0, 0, 0, ""},
      {"%%BoundingBox: 0 0 144 72\n0 0 m\n5 5 l\n0 5 l\nW\nn\n", 0, 0, 0, ""},
      {"%%BoundingBox: 0 0 144 72\n1 1 m\nS\n%%BoundingBox: 0 0 10 10\n", 144, 72, 0,  // the first box only
       "\rq\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\r1 1 m\rS\rQ"},
      {"%%BoundingBox: 0 0 144 72\n", 144, 72, 0, ""},  // a drawing that converts nothing writes nothing
      {"%%EndProlog\n0 1 0 Xa 2 w\n%%BoundingBox: 0 0 144 72\n1 1 m\nS\n", 144, 72, 0,  // a late box: one q for all
       "\rq\r0 1 0 rg\r2 w\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\r1 1 m\rS\rQ"},
      {"%%EndProlog\n1 1 m 2 2 l\n%%BoundingBox: 0 0 144 72\n3 3 m 4 4 l S\n", 144, 72, 0,  // a path open at a late box: ended
       "\rq\r1 1 m\r2 2 l\rn\r1 0 0 1 0 0 cm\r1 0 0 -1 0 72 cm\r3 3 m\r4 4 l\rS\rQ"},
      {"%%BoundingBox: 10 0 10 72\n1 1 m\n", 0, 0, 11, ""},
      {"%%BoundingBox: (atend)\n1 1 m\n%%BoundingBox: 0 0 5 5\n", 0, 10, 11, ""},
      {"%%EndProlog\n1 0 0 Xa\n0 0 m\n5 5 l\nf\n", 0, 0, 0, "\rq\r1 0 0 rg\r0 0 m\r5 5 l\rf*\rQ"},  // no box: kept to itself
      {"", 0, 0, 0, ""},
      {"missing.ai", 0, 0, 53, ""},  // no such file
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.eps);
    if (c.error != 53) pdftest::WriteFile(dir.file("d.eps"), c.eps);
    gfxtest::Probe writer;
    writer.Open(dir.file("d.pdf"), 595, 842);
    writer.DrawImage(dir.file(c.error == 53 ? c.eps : "d.eps"), 0, 0, c.width, c.height);
    EXPECT_EQ(writer.ErrNumber(), c.error);
    EXPECT_EQ(writer.PageText(), c.text);
    writer.EndDoc();
    EXPECT_EQ(pdftest::GhostscriptCheck(dir.file("d.pdf")).exit_code, 0);
  }
}

// A drawing that sets its colour, width and matrix with no bounding box,
// or before a late one: a green square asked for after it comes out green
// where it was asked for, in every reader's rendering.
TEST(EpsDrawings, KeepTheirStateToThemselves) {
  const char* drawings[] = {
      "%%EndProlog\n1 1 0 Xa\n0.5 0 0 0.5 0 0 cm 0 0 m 1 1 l b\n",
      "%%EndSetup\n1 1 0 Xa\n0.5 0 0 0.5 0 0 cm 0 0 m 1 1 l b\n%%BoundingBox: 0 0 10 10\n5 5 m\nS\n",
  };
  pdftest::TempDir dir;
  for (const char* eps : drawings) {
    SCOPED_TRACE(eps);
    pdftest::WriteFile(dir.file("d.eps"), eps);
    gfxtest::Probe writer;
    writer.Open(dir.file("d.pdf"), 100, 100);
    writer.DrawImage(dir.file("d.eps"), 0, 0, 10, 10);
    writer.SetColorFill("#00FF00");
    writer.DrawRect(60, 60, 30, 30, pdf::PaintFill | pdf::PaintNoStroke);
    writer.EndDoc();
    for (const bool with_pdftoppm : {false, true}) {
      const gfxtest::Pixels page = gfxtest::RenderPage(dir.file("d.pdf"), with_pdftoppm);
      ASSERT_EQ(page.width, 100);
      EXPECT_EQ(page.At(75, 75, 0), 0);  // green, not yellow
      EXPECT_EQ(page.At(75, 75, 1), 255);
      EXPECT_EQ(page.At(35, 35, 1), 255);  // nothing moved half-way up
      EXPECT_EQ(page.At(35, 35, 2), 255);
    }
  }
}

}  // namespace
