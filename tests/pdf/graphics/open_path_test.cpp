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
    int inked = 0;
    for (int y = 5; y <= 105 && page.width == 300; ++y)
      for (int x = 5; x <= 105; ++x) inked += page.At(x, y, 0) < 200 || page.At(x, y, 1) < 200 || page.At(x, y, 2) < 200;
    EXPECT_EQ(inked, 0) << "pixels inked where the open path lies";
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

}  // namespace
