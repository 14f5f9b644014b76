// Uncoloured tiling patterns: the cell carries no colour and no picture.
// Colour setters and drawings write no colour there, so their shapes take
// the colour the pattern is painted with; pictures, imported pages and
// recorded objects that bring colour are refused; coloured tiles keep
// everything. The cells as poppler, MuPDF and Ghostscript draw them.

#include <cstdlib>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fuzz/pdf_judge.h"
#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/graphics/wmf_records.h"

namespace {

using namespace wmftest;

// What the cells are given: a WMF drawing of a blue pen and a green brush
// and an EPS drawing in CMYK and grey, each a square of 80% of its box; a
// JPEG photo, a 2 x 2 BMP and a page to import.
struct Files {
  explicit Files(const pdftest::TempDir& dir)
      : wmf(dir.file("square.wmf")), eps(dir.file("square.eps")),
        jpeg(dir.copy(SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/jpeg_fuzz/base.jpg")), bmp(dir.file("dot.bmp")),
        pdf(dir.file("source.pdf")) {
    pdftest::WriteFile(wmf, Metafile(Org(0, 0) + Ext(100, 100) + Pen(0, 1, 0, 0, 255) + Select(0) + Brush(0, 0, 255, 0) +
                                     Select(1) + Poly({10, 10, 90, 10, 90, 90, 10, 90}) + kEnd));
    pdftest::WriteFile(eps, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n0 0 1 0 k\n0.5 G\n"
                            "1 1 m\n9 1 l\n9 9 l\n1 9 l\nb\n");
    // 2 x 2 pixels of 24 bits, rows padded to 4 bytes.
    const int kBmp[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                        0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 19, 11, 0, 0, 19, 11, 0, 0, 0, 0,
                        0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    pdftest::WriteFile(bmp, std::string(std::begin(kBmp), std::end(kBmp)));
    gfxtest::WriteSourcePage(pdf);
  }
  std::string wmf, eps, jpeg, bmp, pdf;
};

// The colour operators among a content's tokens.
int ColourOperators(const std::string& content) {
  std::istringstream tokens(content);
  int n = 0;
  for (std::string t; tokens >> t;) n += pdf_judge::SetsColour(t);
  return n;
}

// Recorded objects the cells may play: one that sets a colour, ones that
// draw a photo, a page, a WMF or an EPS drawing (each with colours), one
// that plays the first, one of shapes alone.
void RecordObjects(gfxtest::Probe& w, const Files& f) {
  w.BeginObject("red"), w.SetColorFill("#FF0000"), w.DrawRect(2, 2, 16, 16, 5), w.EndObject();
  w.BeginObject("photo"), w.DrawImage(f.jpeg, 2, 2, 16, 16), w.EndObject();
  w.BeginObject("page"), w.ImportPage(f.pdf, 1, 2, 2, 16), w.EndObject();
  w.BeginObject("wmf"), w.DrawImage(f.wmf, 2, 2, 16, 16), w.EndObject();
  w.BeginObject("eps"), w.DrawImage(f.eps, 2, 2, 16, 16), w.EndObject();
  w.BeginObject("nested"), w.PlayObject("red"), w.EndObject();
  w.BeginObject("shapes"), w.DrawRect(2, 2, 16, 16, 5), w.EndObject();
}

// Each member in a tile of each Style: in an uncoloured one (Style 1 or 2)
// drawings lose their colours and keep their shapes, and whatever brings
// colour of its own is refused (5) and leaves the cell as it was, without
// writing a picture into the file; a coloured one (Style 0) keeps all.
TEST(UncolouredTiles, CellsCarryNoColourAndNoPicture) {
  pdftest::TempDir dir;
  const Files f(dir);
  struct Row {
    const char* what;
    std::function<void(gfxtest::Probe&)> call;
    const char* uncoloured;  // the cell's content in an uncoloured tile; "*": shapes without colour
    int refused;             // the failure there
  };
  const Row rows[] = {
      {"colour setters", [](gfxtest::Probe& w) { w.SetColorFill("#00FF00"), w.SetColorLine("red"), w.DrawRect(1, 1, 8, 8, 4); },
       "\r1 1 8 8 re\rB*", 0},
      {"text", [](gfxtest::Probe& w) { w.SetColorText("#0000FF"), w.SetFont("Arial", 8), w.DrawText(1, 10, "a"); }, "*", 0},
      {"WMF drawing", [&](gfxtest::Probe& w) { w.DrawImage(f.wmf, 2, 2, 16, 16); }, "*", 0},
      {"EPS drawing", [&](gfxtest::Probe& w) { w.DrawImage(f.eps, 2, 2, 16, 16); }, "*", 0},
      {"JPEG picture", [&](gfxtest::Probe& w) { w.DrawImage(f.jpeg, 2, 2, 16, 16); }, "", 5},
      {"BMP picture", [&](gfxtest::Probe& w) { w.DrawImage(f.bmp, 2, 2, 16, 16); }, "", 5},
      {"imported page", [&](gfxtest::Probe& w) { w.ImportPage(f.pdf, 1, 2, 2, 16); }, "", 5},
      {"object setting a colour", [](gfxtest::Probe& w) { w.PlayObject("red"); }, "", 5},
      {"object drawing a photo", [](gfxtest::Probe& w) { w.PlayObject("photo"); }, "", 5},
      {"object drawing a page", [](gfxtest::Probe& w) { w.PlayObject("page"); }, "", 5},
      {"object drawing a WMF drawing", [](gfxtest::Probe& w) { w.PlayObject("wmf"); }, "", 5},
      {"object drawing an EPS drawing", [](gfxtest::Probe& w) { w.PlayObject("eps"); }, "", 5},
      {"object playing a coloured one", [](gfxtest::Probe& w) { w.PlayObject("nested"); }, "", 5},
      {"object of shapes alone", [](gfxtest::Probe& w) { w.PlayObject("shapes"); }, "\rq /shapes Do Q", 0},
  };
  for (const std::int32_t style : {0, 1, 2}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.what) + ", Style " + std::to_string(style));
      gfxtest::Probe w;
      w.Open(dir.file("tile.pdf"), 200, 200);
      RecordObjects(w, f);
      const std::int32_t pictures = w.Resources.ImageCount;
      w.BeginTiling("tile", 0, 0, 20, 20, 20, 20, style);
      const std::size_t start = w.TilingText().size();
      int error = 0;
      try {
        row.call(w);
        error = w.ErrNumber();
      } catch (const pdf::PdfError& e) {
        error = e.Number();
      }
      const std::string cell = w.TilingText().substr(start);
      if (style == 0) {
        EXPECT_EQ(error, 0) << w.ErrDescription();
        EXPECT_NE(cell, "");
        if (&row - rows < 4) {
          EXPECT_GT(ColourOperators(cell), 0) << cell;
        }
      } else {
        EXPECT_EQ(error, row.refused) << w.ErrDescription();
        EXPECT_EQ(ColourOperators(cell), 0) << cell;
        if (std::string(row.uncoloured) == "*") EXPECT_NE(cell, "");
        else EXPECT_EQ(cell, row.uncoloured);
        if (row.refused != 0) {
          EXPECT_EQ(w.Resources.ImageCount, pictures);
        }
      }
      w.EndTiling();
      w.EndDoc();
      EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(dir.file("tile.pdf")))), "");
    }
  }
}

// A page of tiles painted #CC0000 as poppler, MuPDF and Ghostscript draw
// it. In an uncoloured tile (Style 1: a WMF and an EPS drawing; Style 2:
// a square after a fill colour; a recorded object of shapes alone after a
// refused photo, imported page and coloured object) each cell shows the
// square in the pattern's red on white, and nothing of another colour;
// a coloured tile keeps the WMF drawing's own green.
TEST(UncolouredTiles, ReadersPaintTheCellsInThePatternsColour) {
  pdftest::TempDir dir;
  const Files f(dir);
  const std::string path = dir.file("tiles.pdf");
  gfxtest::Probe w;
  w.Open(path, 300, 120);
  RecordObjects(w, f);
  const std::vector<std::pair<std::int32_t, std::function<void()>>> tiles = {
      {1, [&] { w.DrawImage(f.wmf, 2, 2, 16, 16); }},
      {1, [&] { w.DrawImage(f.eps, 2, 2, 16, 16); }},
      {2, [&] { w.SetColorFill("#00FF00"), w.DrawRect(2, 2, 16, 16, 5); }},
      {1, [&] {
         w.DrawImage(f.jpeg, 0, 0, 20, 20);
         EXPECT_EQ(w.ErrNumber(), 5);
         for (const auto& refused : std::vector<std::function<void()>>{[&] { w.ImportPage(f.pdf, 1, 0, 0, 20); },
                                                                      [&] { w.PlayObject("nested"); }})
           EXPECT_THROW(refused(), pdf::PdfError);
         w.PlayObject("shapes");
       }},
      {0, [&] { w.DrawImage(f.wmf, 2, 2, 16, 16); }}};
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    w.BeginTiling("t" + std::to_string(i), 0, 0, 20, 20, 20, 20, tiles[i].first);
    tiles[i].second();
    w.EndTiling();
    w.SetColorFill("t" + std::to_string(i) + ";#CC0000");
    w.DrawRect(60 * static_cast<float>(i), 0, 60, 120, 5);
  }
  w.EndDoc();
  EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(path))), "");
  pdftest::ExpectReadersAccept(path);

  const struct {
    const char* reader;
    gfxtest::Pixels page;
  } readings[] = {{"poppler", gfxtest::RenderPage(path, true)},
                  {"MuPDF", gfxtest::RenderPage(path)},
                  {"Ghostscript", gfxtest::Ppm({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw", "-r72",
                                                "-o", "-", path})}};
  for (const auto& [reader, page] : readings) {
    ASSERT_EQ(page.width, 300) << reader;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      SCOPED_TRACE(std::string(reader) + ", tile " + std::to_string(i));
      const int x0 = 60 * static_cast<int>(i);
      const int square[3] = {tiles[i].first == 0 ? 0 : 204, tiles[i].first == 0 ? 255 : 0, 0};
      // Pixels wrong inside the squares, wrong between them (white), and
      // of another colour than the pattern's: red shading into white keeps
      // green and blue together.
      int square_wrong = 0, gap_wrong = 0, other = 0;
      for (int y = 0; y < 120; ++y) {
        for (int x = x0; x < x0 + 60; ++x) {
          const int r = page.At(x, y, 0), g = page.At(x, y, 1), b = page.At(x, y, 2);
          // Poppler draws a tile's content about a pixel lower than the
          // others: the squares' middles (each square spans 3.6 to 16.4).
          if (x % 20 >= 6 && x % 20 < 14 && y % 20 >= 6 && y % 20 < 14)
            square_wrong += std::abs(r - square[0]) >= 8 || std::abs(g - square[1]) >= 8 || b >= 8;
          if (x % 20 == 0 || y % 20 == 0) gap_wrong += r != 255 || g != 255 || b != 255;
          if (tiles[i].first != 0) other += std::abs(g - b) > 30 || r < g;
        }
      }
      EXPECT_EQ(square_wrong, 0) << "pixels of the squares not in the expected colour";
      EXPECT_EQ(gap_wrong, 0) << "pixels between the squares not white";
      EXPECT_EQ(other, 0) << "pixels of another colour than the pattern's";
    }
  }
}

}  // namespace
