// WMF drawings built record by record, compared with libwmf (wmf2gd) on
// their fills; the operators written; hostile records (size 0, indexes or
// counts beyond the table or record): an error, balanced q/Q, a valid PDF.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/graphics/wmf_records.h"

namespace {

using namespace wmftest;

TEST(WmfDrawings, FillTheSamePlacesAsLibwmf) {
  // A grey background over the whole window, so that libwmf's picture
  // spans the window as ours does; the null pen: fills only.
  const auto drawing = [](int ox, int oy, const std::string& shapes) {
    return Metafile(Org(ox, oy) + Ext(1440, 720) + Pen(5, 0, 0, 0, 0) + Select(0) + Brush(0, 192, 192, 192) + Select(1) +
                    Poly({ox, oy, ox + 1440, oy, ox + 1440, oy + 720, ox, oy + 720}) + shapes + kEnd);
  };
  const std::string ring = Record(0x0538, {2, 4, 4, 100, 100, 1300, 100, 1300, 650, 100, 650, 400, 250, 1000, 250, 1000, 500, 400, 500});
  const std::string cases[] = {
      drawing(0, 0, Brush(0, 255, 0, 0) + Select(2) + Poly({100, 100, 700, 100, 700, 600, 100, 600}) + Brush(0, 0, 0, 255) +
                        Select(3) + Poly({800, 100, 1300, 100, 1050, 600})),
      drawing(-720, -360, Brush(0, 0, 128, 0) + Select(2) + Poly({-600, -300, -100, -300, -100, 300, -600, 300})),
      drawing(0, 0, Record(0x0106, {1}) + Brush(0, 0, 0, 255) + Select(2) + ring),  // even-odd: a hole
      drawing(0, 0, Brush(0, 255, 0, 0) + Record(0x01F0, {1}) + Brush(0, 0, 160, 0) + Select(1) + Poly({200, 200, 1200, 200, 700, 600})),
  };
  pdftest::TempDir dir;
  for (const std::string& wmf : cases) {
    SCOPED_TRACE(&wmf - cases);
    pdftest::WriteFile(dir.file("d.wmf"), wmf);
    gfxtest::Probe writer;
    writer.Open(dir.file("wmf.pdf"), 144, 72);
    writer.DrawImage(dir.file("d.wmf"), 0, 0, 144, 72);
    EXPECT_EQ(writer.ErrNumber(), 0) << writer.ErrDescription();
    writer.EndDoc();
    pdftest::ExpectReadersAccept(dir.file("wmf.pdf"));
    const pdftest::ToolResult r = pdftest::RunTool(
        {"wmf2gd", "-t", "png", "--maxwidth=144", "--maxheight=72", "--maxsize", "-o", dir.file("ref.png"), dir.file("d.wmf")});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_GT(gfxtest::ExpectSameFills(gfxtest::RenderPage(dir.file("wmf.pdf")), gfxtest::DecodeWithImageMagick(dir.file("ref.png"))), 300);
  }
}

TEST(WmfDrawings, OperatorsAsWrittenAndHostileRecords) {
  const std::string good = Poly({10, 10, 20, 10, 20, 20});
  const struct { std::string records; float width, height; int error; std::string text; } cases[] = {  // text "": only q and Q checked
      {good + kEnd, 0, 0, 0, "\rq\r20 20 m\r20 10 l\r10 10 l\rb\rQ"},
      {Record(0x0106, {1}) + Poly({1, 2, 3, 4}) + kEnd, 0, 0, 0, "\rq\r3 4 m\r1 2 l\rb*\rQ"},
      {Org(0, 0) + Ext(1000, 500) + Poly({1, 2}) + kEnd, 0, 0, 0, "\rq\r0.278 0 0 0.278 0 0 cm\r1 0 0 1 0 0 cm\r1 2 m\rb\rQ"},
      {Org(-10, 5) + Ext(200, 100) + Poly({1, 2}) + Org(5, 5) + kEnd, 0, 50, 0, "\rq\r0.5 0 0 0.5 0 0 cm\r1 0 0 1 10 -5 cm\r1 2 m\rb\rQ"},
      {Pen(1, 40, 255, 128, 0) + Brush(0, 0, 0, 255) + Select(0) + Select(1) + Poly({1, 1}) + kEnd, 0, 0, 0,
       "\rq\r[3 1] 0 d\r1 0.502 0 RG\r144 w\r0 0 1 rg\r1 1 m\rb\rQ"},
      {Pen(5, 1, 0, 0, 0) + Brush(0, 0, 0, 255) + Select(0) + Select(1) + Poly({1, 1}) + Poly({5, 5}, 0x0325) + kEnd, 0, 0, 0,
       "\rq\r0 0 1 rg\r1 1 m\rf\r5 5 m\rn\rQ"},  // the null pen strokes neither the polygon nor the polyline
      {good + Words({0, 0, 0x0324}) + good, 0, 0, 321, ""},  // a record of size 0
      {Words({2, 0, 0x0324}), 0, 0, 321, ""},
      {good + Words({0xFFFF, 0, 0x0324, 3, 1, 1}), 0, 0, 62, ""},
      {Select(7) + good + kEnd, 0, 0, 321, ""},
      {Record(0x01F0, {65535}) + kEnd, 0, 0, 321, ""},
      {Record(0x0324, {60000, 1, 1}) + kEnd, 0, 0, 321, ""},
      {Record(0x0538, {2, 30000, 30000, 1, 1}) + kEnd, 0, 0, 321, ""},
      {Record(0x02FA, {0, 1}) + kEnd, 0, 0, 321, ""},
      {Org(0, 0) + Ext(0, 100) + good + kEnd, 0, 0, 11, ""},
      {good, 0, 0, 0, ""},  // no end record
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.empty() ? std::to_string(c.error) : c.text);
    std::string texts[2];
    for (int placeable = 0; placeable < 2; ++placeable) {
      pdftest::WriteFile(dir.file("o.wmf"), Metafile(c.records, placeable == 1));
      gfxtest::Probe writer;
      writer.Open(dir.file("o.pdf"), 595, 842);
      writer.DrawImage(dir.file("o.wmf"), 0, 0, c.width, c.height);
      EXPECT_EQ(writer.ErrNumber(), c.error) << writer.ErrDescription();
      texts[placeable] = writer.PageText();
      EXPECT_EQ(pdftest::Count(texts[placeable], "\rq"), pdftest::Count(texts[placeable], "\rQ"));
      writer.EndDoc();
      EXPECT_EQ(pdftest::GhostscriptCheck(dir.file("o.pdf")).exit_code, 0);
    }
    if (!c.text.empty()) {
      EXPECT_EQ(texts[1], c.text);
    }
    EXPECT_EQ(texts[0], texts[1]) << "with and without the placeable header alike";
  }
  gfxtest::Probe writer;  // a header cut short
  writer.Open(dir.file("short.pdf"), 100, 100);
  pdftest::WriteFile(dir.file("short.wmf"), Metafile("").substr(0, 30));
  writer.DrawImage(dir.file("short.wmf"), 0, 0);
  EXPECT_EQ(writer.ErrNumber(), 62);
  EXPECT_EQ(writer.PageText(), "");
}

// A drawing that paints nothing writes nothing, its failure recorded all
// the same: selections alone, a polygon with the null pen and the hollow
// brush, a polyline with the null pen, no record at all, a record of size
// 0 before any polygon.
TEST(WmfDrawings, ThoseThatPaintNothingWriteNothing) {
  const struct { std::string records; int error; } cases[] = {
      {Pen(1, 40, 255, 128, 0) + Brush(0, 0, 0, 255) + Select(0) + Select(1) + kEnd, 0},
      {Pen(5, 1, 0, 0, 0) + Brush(1, 0, 0, 0) + Select(0) + Select(1) + Poly({1, 1, 5, 5}) + kEnd, 0},
      {Pen(5, 1, 0, 0, 0) + Select(0) + Poly({1400, 1, 700, 500, 1, 1}, 0x0325) + kEnd, 0},  // a polyline, the null pen
      {kEnd, 0},
      {Words({0, 0, 0x0324}) + Poly({10, 10, 20, 10, 20, 20}), 321},
  };
  pdftest::TempDir dir;
  for (const auto& c : cases) {
    pdftest::WriteFile(dir.file("o.wmf"), Metafile(c.records, true));
    gfxtest::Probe writer;
    writer.Open(dir.file("o.pdf"), 595, 842);
    writer.DrawImage(dir.file("o.wmf"), 0, 0);
    EXPECT_EQ(writer.ErrNumber(), c.error) << writer.ErrDescription();
    EXPECT_EQ(writer.PageText(), "");
  }
}

}  // namespace
