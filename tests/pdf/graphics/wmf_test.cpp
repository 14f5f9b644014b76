// WMF drawings: placeable files built record by record, rendered by libwmf
// (wmf2gd) and through our conversion, compared on their fills; the
// operators written for the Part's own examples; hostile files (records of
// size 0, indexes beyond the object table, counts beyond the record) end
// with a recorded error, a balanced q and Q and a valid document.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/image_tools.h"
#include "tests/pdf/pdf_tools.h"

namespace {

using imgtest::PageWriter;

// One record: its size in words, function number and parameter words.
std::string Record(std::uint16_t function, const std::vector<int>& words) {
  std::string r;
  const auto put = [&r](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) r += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(static_cast<std::uint32_t>(3 + words.size()), 4);
  put(function, 2);
  for (const int w : words) put(static_cast<std::uint16_t>(w), 2);
  return r;
}

std::string Word(int v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }

// The metafile header and records, with the placeable header (bounding box
// left, top, right, bottom in logical units, 1440 units an inch) in front.
std::string Metafile(const std::string& records, bool placeable = true, int left = 0, int top = 0,
                     int right = 1440, int bottom = 720) {
  const std::uint32_t words = static_cast<std::uint32_t>((18 + records.size()) / 2);
  std::string header = Word(1) + Word(9) + Word(0x300) + Word(words & 0xFFFF) + Word(words >> 16) + Word(16) +
                       Word(64) + Word(0) + Word(0);
  if (!placeable) return header + records;
  std::string p = Word(0xCDD7) + Word(0x9AC6) + Word(0) + Word(left) + Word(top) + Word(right) + Word(bottom) +
                  Word(1440) + Word(0) + Word(0);
  int sum = 0;
  for (std::size_t i = 0; i < p.size(); i += 2)
    sum ^= static_cast<unsigned char>(p[i]) | (static_cast<unsigned char>(p[i + 1]) << 8);
  return p + Word(sum) + header + records;
}

// Records by name.
std::string Org(int x, int y) { return Record(0x020B, {y, x}); }
std::string Ext(int x, int y) { return Record(0x020C, {y, x}); }
std::string Pen(int style, int width, int r, int g, int b) { return Record(0x02FA, {style, width, 0, r | g << 8, b}); }
std::string Brush(int style, int r, int g, int b) { return Record(0x02FC, {style, r | g << 8, b, 0}); }
std::string Select(int index) { return Record(0x012D, {index}); }
std::string FillMode(int mode) { return Record(0x0106, {mode}); }
std::string Polygon(const std::vector<int>& xy) {
  std::vector<int> w = {static_cast<int>(xy.size() / 2)};
  w.insert(w.end(), xy.begin(), xy.end());
  return Record(0x0324, w);
}
std::string PolyPolygon(const std::vector<std::vector<int>>& rings) {
  std::vector<int> w = {static_cast<int>(rings.size())};
  for (const auto& r : rings) w.push_back(static_cast<int>(r.size() / 2));
  for (const auto& r : rings) w.insert(w.end(), r.begin(), r.end());
  return Record(0x0538, w);
}
const std::string kEnd = Record(0, {});

imgtest::Pixels Libwmf(const std::string& wmf, const std::string& png, int width, int height) {
  const pdftest::ToolResult r =
      pdftest::RunTool({"wmf2gd", "-t", "png", "--maxwidth=" + std::to_string(width),
                        "--maxheight=" + std::to_string(height), "--maxsize", "-o", png, wmf});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return imgtest::DecodeWithImageMagick(png);
}

TEST(WmfDrawings, FillTheSamePlacesAsLibwmf) {
  // A grey background over the whole window, so that libwmf's picture
  // spans the window as ours does; null pen: fills only.
  const auto drawing = [](int ox, int oy, const std::string& shapes) {
    return Org(ox, oy) + Ext(1440, 720) + Pen(5, 0, 0, 0, 0) + Select(0) + Brush(0, 192, 192, 192) + Select(1) +
           Polygon({ox, oy, ox + 1440, oy, ox + 1440, oy + 720, ox, oy + 720}) + shapes + kEnd;
  };
  const struct {
    const char* what;
    std::string records;
  } cases[] = {
      {"two polygons in their brushes",
       drawing(0, 0, Brush(0, 255, 0, 0) + Select(2) + Polygon({100, 100, 700, 100, 700, 600, 100, 600}) +
                         Brush(0, 0, 0, 255) + Select(3) + Polygon({800, 100, 1300, 100, 1050, 600}))},
      {"negative coordinates and origin",
       drawing(-720, -360, Brush(0, 0, 128, 0) + Select(2) + Polygon({-600, -300, -100, -300, -100, 300, -600, 300}) +
                               Brush(0, 255, 128, 0) + Select(3) + Polygon({100, -300, 600, 0, 100, 300}))},
      // (libwmf fills every ring even-odd, so a winding ring is not compared)
      {"a ring filled even-odd",
       drawing(0, 0, FillMode(1) + Brush(0, 0, 0, 255) + Select(2) +
                         PolyPolygon({{100, 100, 1300, 100, 1300, 650, 100, 650}, {400, 250, 1000, 250, 1000, 500, 400, 500}}))},
      {"a deleted brush's slot taken by the next",
       drawing(0, 0, Brush(0, 255, 0, 0) + Record(0x01F0, {1}) + Brush(0, 0, 160, 0) + Select(1) +
                         Polygon({200, 200, 1200, 200, 700, 600}))},
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string wmf = dir.file("drawing.wmf");
    pdftest::WriteFile(wmf, Metafile(c.records));
    const std::string pdf = dir.file("wmf.pdf");
    PageWriter writer;
    writer.Open(pdf, 144, 72);
    writer.DrawImage(wmf, 0, 0, 144, 72);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    pdftest::ExpectReadersAccept(pdf);
    EXPECT_GT(imgtest::ExpectSameFills(imgtest::RenderPage(pdf), Libwmf(wmf, dir.file("ref.png"), 144, 72)), 200);
  }
}

TEST(WmfDrawings, OperatorsAsWritten) {
  const struct {
    const char* what;
    std::string records;
    float width, height;
    std::string text;
  } cases[] = {
      {"default pen and brush: points last first, then b",
       Polygon({10, 10, 20, 10, 20, 20}), 0, 0, "\rq\r20 20 m\r20 10 l\r10 10 l\rb\rQ"},
      {"even-odd fill mode", FillMode(1) + Polygon({1, 2, 3, 4}), 0, 0, "\rq\r3 4 m\r1 2 l\rb*\rQ"},
      {"no size: 20/72 of the window", Org(0, 0) + Ext(1000, 500) + Polygon({1, 2}), 0, 0,
       "\rq\r0.278 0 0 0.278 0 0 cm\r1 0 0 1 0 0 cm\r1 2 m\rb\rQ"},
      {"height only: the window's proportions", Org(-10, 5) + Ext(200, 100) + Polygon({1, 2}), 0, 50,
       "\rq\r0.5 0 0 0.5 0 0 cm\r1 0 0 1 10 -5 cm\r1 2 m\rb\rQ"},
      {"pen and brush selected", Pen(1, 40, 255, 128, 0) + Brush(0, 0, 0, 255) + Select(0) + Select(1), 0, 0,
       "\rq\r[3 1] 0 d\r1 0.502 0 RG\r144 w\r0 0 1 rg\rQ"},
      {"a null pen still strokes polylines", Pen(5, 1, 0, 0, 0) + Select(0) + Record(0x0325, {2, 1, 1, 5, 5}), 0, 0,
       "\rq\r5 5 m\r1 1 l\rS\rQ"},
      {"null pen and hollow brush: n", Pen(5, 1, 0, 0, 0) + Brush(1, 0, 0, 0) + Select(0) + Select(1) + Polygon({1, 1}),
       0, 0, "\rq\r1 1 m\rn\rQ"},
      {"the window after drawing began changes nothing", Polygon({1, 1}) + Org(5, 5) + Ext(10, 10) + Polygon({2, 2}),
       0, 0, "\rq\r1 1 m\rb\r2 2 m\rb\rQ"},
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string texts[2];
    for (int placeable = 0; placeable < 2; ++placeable) {
      pdftest::WriteFile(dir.file("o.wmf"), Metafile(c.records + kEnd, placeable == 1));
      PageWriter writer;
      writer.Open(dir.file("o.pdf"), 595, 842);
      writer.DrawImage(dir.file("o.wmf"), 0, 0, c.width, c.height);
      EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
      texts[placeable] = writer.PageText();
      writer.EndDoc();
    }
    EXPECT_EQ(texts[1], c.text);
    EXPECT_EQ(texts[0], texts[1]) << "with and without the placeable header alike";
  }
}

TEST(WmfDrawings, HostileFilesEndWithARecordedError) {
  const std::string good = Polygon({1, 1, 5, 5, 9, 1});
  const struct {
    const char* what;
    std::string file;
    int error;
  } cases[] = {
      {"record of size 0", Metafile(good + Record(0x0324, {}).replace(0, 4, std::string(4, '\0')) + good), 321},
      {"record of size 2", Metafile(Record(0x0324, {}).replace(0, 1, "\2")), 321},
      {"record running past the end", Metafile(good + Record(0x0324, {3, 1, 1}).replace(0, 4, "\xFF\xFF\x00\x00")), 62},
      {"selecting an object never made", Metafile(Select(7) + good + kEnd), 321},
      {"deleting an object never made", Metafile(Record(0x01F0, {65535}) + kEnd), 321},
      {"polygon count beyond its record", Metafile(Record(0x0324, {60000, 1, 1}) + kEnd), 321},
      {"poly-polygon counts beyond their record", Metafile(Record(0x0538, {2, 30000, 30000, 1, 1}) + kEnd), 321},
      {"pen record too short", Metafile(Record(0x02FA, {0, 1}) + kEnd), 321},
      {"window extent of 0", Metafile(Org(0, 0) + Ext(0, 100) + good + kEnd), 11},
      {"header cut short", Metafile("").substr(0, 30), 62},
      {"no end record", Metafile(good), 0},
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    pdftest::WriteFile(dir.file("h.wmf"), c.file);
    PageWriter writer;
    writer.Open(dir.file("h.pdf"), 200, 200);
    writer.DrawImage(dir.file("h.wmf"), 0, 0);
    EXPECT_EQ(writer.ErrNumber(), c.error) << writer.ErrDescription();
    const std::string text = writer.PageText();
    EXPECT_EQ(pdftest::Count(text, "\rq"), pdftest::Count(text, "\rQ")) << text;
    writer.EndDoc();
    const pdftest::ToolResult gs = pdftest::GhostscriptCheck(dir.file("h.pdf"));
    EXPECT_EQ(gs.exit_code, 0) << gs.out << gs.err;
    EXPECT_EQ(pdftest::QpdfCheck(dir.file("h.pdf")).exit_code, 0);
  }
}

}  // namespace
