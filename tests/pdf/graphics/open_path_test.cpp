// A path the caller left open (a triangle built with PaintNoStroke) and then
// a member that paints shapes of its own: the member ends the path with "n"
// before anything of its own, so its "f*" or "S" paints only its shape and
// the triangle's area stays white in a rendering. (Poppler, MuPDF and
// Ghostscript already drop a path at a "q", as the cell and the rules write
// one before they paint: for those only the content shows the fault.) A
// drawing that paints nothing leaves the path to the caller, who paints it.

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fuzz/pdf_judge.h"
#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/graphics/wmf_records.h"

namespace {

// A page of 300 x 300 points holding the triangle (10,10) (100,100)
// (10,100), its path left open; returns where the page content stands.
std::size_t OpenTriangle(gfxtest::Probe& w, const std::string& path) {
  w.Open(path, 300, 300);
  w.MoveTo(10, 10);
  w.DrawLineTo(100, 100, pdf::PaintNoStroke);
  w.DrawLineTo(10, 100, pdf::PaintNoStroke);
  return w.PageText().size();
}

// Inked pixels of a 300 x 300 rendering inside the triangle's box.
int InkedInTriangle(const gfxtest::Pixels& page) {
  int inked = 0;
  for (int y = 5; y <= 105 && page.width == 300; ++y)
    for (int x = 5; x <= 105; ++x) inked += page.At(x, y, 0) < 200 || page.At(x, y, 1) < 200 || page.At(x, y, 2) < 200;
  return inked;
}

TEST(OpenPath, MembersPaintingShapesOfTheirOwnEndTheCallersPathFirst) {
  const struct {
    const char* what;
    std::function<void(gfxtest::Probe&)> call;
    const char* first;  // the end of the member's first line of own painting
  } rows[] = {
      {"bars", [](gfxtest::Probe& w) { w.DrawBarCode(4, "1234", 150, 150, false); }, " re f*"},
      {"bars with their text", [](gfxtest::Probe& w) { w.SetColorText("Red"), w.DrawBarCode(0, "123456789012", 150, 150, true); }, " re f*"},
      {"table cell", [](gfxtest::Probe& w) { w.BeginTable(150, 150), w.BeginRow(20), w.BeginColumn(50), w.EndColumn(), w.EndRow(), w.EndTable(); }, "q"},
      {"rule under text", [](gfxtest::Probe& w) { w.SetFont("Arial", 24, pdf::FontUnderline), w.DrawText(150, 150, "rule"); }, " rg"},
      {"rule under red text", [](gfxtest::Probe& w) { w.SetColorText("Red"), w.SetFont("Arial", 24, pdf::FontStrikeOut), w.DrawText(150, 150, "rule"); }, " rg"},
      {"text box frame", [](gfxtest::Probe& w) { w.SetFont("Arial", 12), w.DrawTextBox(150, 150, 100, 50, "box", 0, 9, 0); }, " re"},
      {"ruled text in a box", [](gfxtest::Probe& w) { w.SetColorText("Red"), w.SetFont("Arial", 12, pdf::FontUnderline), w.DrawTextBox(150, 150, 100, 50, "box", 0, 9, 1); }, " rg"},
      {"ruled text written", [](gfxtest::Probe& w) { w.SetColorText("Red"), w.SetFont("Arial", 12, pdf::FontUnderline), w.SetXY(150, 150), w.WriteText("written", 1, 50); }, " rg"},
  };
  pdftest::TempDir dir;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string path = dir.file(std::string(r.what) + ".pdf");
    gfxtest::Probe w;
    const std::size_t mark = OpenTriangle(w, path);
    r.call(w);
    std::vector<std::string> lines;
    std::istringstream written(w.PageText().substr(mark));
    for (std::string line; std::getline(written, line, '\r');) lines.push_back(line);
    // Every line starts with a CR: the first one read is empty.
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], "n") << "the member's first line";
    EXPECT_TRUE(lines[2].ends_with(r.first)) << "the line after \"n\": " << lines[2];
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "n"), 1);
    w.EndDoc();
    const gfxtest::Pixels page = gfxtest::RenderPage(path, true);
    EXPECT_EQ(page.width, 300);
    EXPECT_EQ(InkedInTriangle(page), 0) << "pixels inked where the open path lies";
  }
}

// A drawing that paints nothing (an EPS drawing of colours, a width and a
// clip; a WMF drawing with no polygon, an unreadable one, one whose only
// polygon has the null pen and the hollow brush) writes nothing: the
// caller's triangle, closed and filled afterwards, is painted.
TEST(OpenPath, DrawingsThatPaintNothingLeaveTheCallersPath) {
  using namespace wmftest;
  // A null pen and a hollow brush, selected, then a polygon of three points.
  const std::string hidden = Pen(5, 1, 0, 0, 0) + Brush(1, 0, 0, 0) + Select(0) + Select(1) + Poly({1, 1, 5, 1, 5, 5});
  const struct { const char* what; const char* file; std::string bytes; } rows[] = {
      {"EPS colours, width and clip", "d.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 10\n%%EndProlog\n"
                                               "1 0 0 Xa\n0.5 G\n3 w\n0 0 m\n5 5 l\n0 5 l\nW\nn\nshowpage\n"},
      {"WMF without polygons", "d.wmf", Metafile(kEnd, false)},
      {"unreadable WMF", "d.wmf", "not a metafile"},
      {"WMF with a hidden polygon", "d.wmf", Metafile(hidden + kEnd, false)},
  };
  pdftest::TempDir dir;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    pdftest::WriteFile(dir.file(r.file), r.bytes);
    const std::string path = dir.file("painted.pdf");
    gfxtest::Probe w;
    const std::size_t mark = OpenTriangle(w, path);
    w.DrawImage(dir.file(r.file), 150, 150, 50, 0);
    EXPECT_EQ(w.PageText().substr(mark), "");
    w.SetColorFill("Black");
    w.DrawLineTo(10, 10, 7);  // closed by the fill
    w.EndDoc();
    const gfxtest::Pixels page = gfxtest::RenderPage(path, true);
    ASSERT_EQ(page.width, 300);
    // Inside the triangle (10,10) (100,100) (10,100), away from its edges.
    int inked = 0;
    for (int y = 60; y <= 95; ++y)
      for (int x = 15; x <= y - 10; ++x) inked += page.At(x, y, 0) < 100;
    EXPECT_GT(inked, 500) << "the caller's triangle is painted";
  }
}

// Pictures, imported pages, recorded objects and text after an open path:
// not every reader ends a path at "Do" or "BT", so each member ends it
// first, and a square filled afterwards leaves the triangle white. Each
// file holds up to the judge's path grammar.
TEST(OpenPath, PlacementsAndTextEndTheCallersPathFirst) {
  pdftest::TempDir dir;
  const std::string jpeg = dir.copy(SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/jpeg_fuzz/base.jpg"), source = dir.file("source.pdf");
  gfxtest::WriteSourcePage(source);
  const struct {
    const char* what;
    std::function<void(gfxtest::Probe&)> call;
  } rows[] = {
      {"picture", [&](gfxtest::Probe& w) { w.DrawImage(jpeg, 150, 150, 20, 20); }},
      {"imported page", [&](gfxtest::Probe& w) { w.ImportPage(source, 1, 150, 150, 50); }},
      {"recorded object", [](gfxtest::Probe& w) { w.PlayObject("mark"); }},
      {"drawn text", [](gfxtest::Probe& w) { w.DrawText(150, 150, "drawn"); }},
      {"written text", [](gfxtest::Probe& w) { w.SetXY(150, 150), w.WriteText("written", 1, 50); }},
      {"written line", [](gfxtest::Probe& w) { w.SetXY(150, 150), w.WriteTextLn("line"); }},
      {"text box", [](gfxtest::Probe& w) { w.DrawTextBox(150, 150, 100, 50, "box", 0, 9, 1); }},
      {"text box, frame left open", [](gfxtest::Probe& w) { w.DrawTextBox(150, 150, 100, 50, "box", 0, 9, 3); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string path = dir.file("placed.pdf");
    gfxtest::Probe w;
    OpenTriangle(w, path);
    w.BeginObject("mark");  // recorded apart: the page's path stays open
    w.DrawRect(0, 0, 5, 5, 5);
    w.EndObject();
    w.SetFont("Arial", 12);
    r.call(w);
    EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    w.DrawRect(200, 200, 50, 50, 5);
    w.EndDoc();
    EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(path))), "");
    EXPECT_EQ(InkedInTriangle(gfxtest::RenderPage(path, true)), 0) << "pixels inked where the open path lies";
  }
}

// A path opened inside a section ends ("n") before what closes the
// section; a section or transform begun inside an open path ends it
// first; a clip ("W") stands right before the operator that ends its
// path, however late that comes. The setters stay inside the path.
TEST(OpenPath, SectionsTransformsAndClipsKeepThePathGrammar) {
  using Call = std::function<void(gfxtest::Probe&)>;
  const auto path = [](gfxtest::Probe& w) { w.MoveTo(1, 1), w.DrawLineTo(9, 9, pdf::PaintNoStroke); };
  const struct {
    const char* what;
    Call before, after;
    const char* expected;  // what "after" writes
  } rows[] = {
      {"layer", [](gfxtest::Probe& w) { w.BeginLayer("L"); }, [](gfxtest::Probe& w) { w.EndLayer(); }, "\rn\rEMC"},
      {"space", [](gfxtest::Probe& w) { w.BeginSpace(5, 5); }, [](gfxtest::Probe& w) { w.EndSpace(); }, "\rn\rQ"},
      {"cell", [](gfxtest::Probe& w) { w.BeginTable(5, 5), w.BeginRow(10), w.BeginColumn(10); },
       [](gfxtest::Probe& w) { w.EndColumn(); }, "\rn\rQ"},
      {"row", [](gfxtest::Probe& w) { w.BeginTable(5, 5), w.BeginRow(10); }, [](gfxtest::Probe& w) { w.EndRow(); },
       "\rn\r0 0 0 RG\r0 0 0 rg\r0 w"},
      {"table", [](gfxtest::Probe& w) { w.BeginTable(5, 5); }, [](gfxtest::Probe& w) { w.EndTable(); },
       "\rn\rQ\r0 0 0 RG\r0 0 0 rg\r0 w"},
      {"layer begun", nullptr, [](gfxtest::Probe& w) { w.BeginLayer("L"); }, "\rn\r/OC /_LAY_1 BDC"},
      {"space begun", nullptr, [](gfxtest::Probe& w) { w.BeginSpace(5, 5); }, "\rn\rq\r1 0 0 1 5 5 cm"},
      {"rotation", nullptr, [](gfxtest::Probe& w) { w.AxisRotation(90); }, "\rn\r0 -1 1 0 0 0 cm"},
      {"translation", nullptr, [](gfxtest::Probe& w) { w.AxisTranslation(2, 3); }, "\rn\r1 0 0 1 2 3 cm"},
      {"setters", nullptr, [](gfxtest::Probe& w) { w.SetColorFill("Red"), w.SetLineWidth(2), w.SetDash("DOT"), w.DrawLineTo(1, 9, 5); },
       "\r1 0 0 rg\r2 w\r[0.05 ] 0 d\r1 9 l\rf*"},
      {"closed, clipped, stroked", nullptr, [](gfxtest::Probe& w) { w.DrawRect(20, 20, 5, 5, 130); }, "\r20 20 5 5 re\rh W S"},
      {"clip left open, then filled", nullptr, [](gfxtest::Probe& w) { w.DrawRect(20, 20, 5, 5, 129), w.DrawRect(30, 30, 5, 5, 5); },
       "\r20 20 5 5 re\r\r30 30 5 5 re\rW f*"},
      {"clip left open, then a space", nullptr, [](gfxtest::Probe& w) { w.DrawRect(20, 20, 5, 5, 131), w.BeginSpace(); },
       "\r20 20 5 5 re\rh\rW n\rq"},
      {"text box, clipping frame left open", [](gfxtest::Probe& w) { w.SetFont("Arial", 10); },
       [](gfxtest::Probe& w) { w.DrawTextBox(20, 20, 50, 20, "a", 0, 9, 129), w.DrawLineTo(9, 9, 0); },
       "\rn\r0 0 0 rg\rBT\r/Arial 10 Tf 10 TL\r1 0 0 -1 20 30 Tm\r(a) Tj\rET\r0 0 0 rg\r20 20 50 20 re\r\r"
       "9 9 l\rW S"},
  };
  pdftest::TempDir dir;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    gfxtest::Probe w;
    w.Open(dir.file("grammar.pdf"), 100, 100);
    if (r.before) r.before(w);
    path(w);
    const std::size_t mark = w.PageText().size();
    r.after(w);
    EXPECT_EQ(w.PageText().substr(mark), r.expected);
    w.EndDoc();
    EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(dir.file("grammar.pdf")))), "");
  }
}

}  // namespace
