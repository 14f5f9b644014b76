// A path the caller left open (a triangle built with PaintNoStroke) and then
// a member that paints shapes of its own: the member ends the path with "n"
// before its first own painting, so its "f*" or "S" paints only its shape
// and the triangle's area stays white in a rendering. (Poppler, MuPDF and
// Ghostscript already drop a path at a "q", as the cell and the rules write
// one before they paint: for those only the content shows the fault.)

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

TEST(OpenPath, MembersPaintingShapesOfTheirOwnEndTheCallersPathFirst) {
  const struct {
    const char* what;
    std::function<void(gfxtest::Probe&)> call;
    const char* first;  // the end of the member's first line of own painting
  } rows[] = {
      {"bars", [](gfxtest::Probe& w) { w.DrawBarCode(4, "1234", 150, 150, false); }, " re f*"},
      {"table cell", [](gfxtest::Probe& w) { w.BeginTable(150, 150), w.BeginRow(20), w.BeginColumn(50), w.EndColumn(), w.EndRow(), w.EndTable(); }, "q"},
      {"rule under text", [](gfxtest::Probe& w) { w.SetFont("Arial", 24, pdf::FontUnderline), w.DrawText(150, 150, "rule"); }, "q"},
      {"text box frame", [](gfxtest::Probe& w) { w.SetFont("Arial", 12), w.DrawTextBox(150, 150, 100, 50, "box", 0, 9, 0); }, " re"},
  };
  pdftest::TempDir dir;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string path = dir.file(std::string(r.what) + ".pdf");
    gfxtest::Probe w;
    w.Open(path, 300, 300);
    w.MoveTo(10, 10);
    w.DrawLineTo(100, 100, pdf::PaintNoStroke);
    w.DrawLineTo(10, 100, pdf::PaintNoStroke);
    const std::size_t mark = w.PageText().size();
    r.call(w);
    std::vector<std::string> lines;
    std::istringstream written(w.PageText().substr(mark));
    for (std::string line; std::getline(written, line, '\r');) lines.push_back(line);
    std::size_t n = 0;
    while (n < lines.size() && lines[n] != "n") ++n;
    const std::string after_n = n + 1 < lines.size() ? lines[n + 1] : "(no \"n\")";
    EXPECT_TRUE(after_n.ends_with(r.first)) << "the line after \"n\": " << after_n;
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

}  // namespace
