// Barcodes: every symbology decoded by zbarimg from the rendered page at
// three zooms, POSTNET read back from its rendered bars, the geometry, and
// the data each symbology refuses.

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/pdf/graphics/graphics_probe.h"

namespace {

using gfxtest::GraphicsTest;

enum Type { kEan13, kCode39, kI2of5, kPostnet, kCode128, kEan8 };
struct Code { Type type; std::string data, read, text; };  // read: data and check as decoded

TEST(Barcodes, EverySymbologyDecodesAtEachZoom) {
  const std::vector<Code> codes = {
      {kEan13, "123456789012", "1234567890128", "1 234567 890128"},
      {kEan13, "4006381333930", "4006381333931", "4 006381 333931"},  // wrong check mended
      {kEan8, "9638507", "96385074", "9638 5074"},
      {kCode39, "CODE 39", "CODE 39R", "CODE 39"},
      {kCode39, "a$b/1", "+A$+B/1B", "a$b/1"},
      {kI2of5, "123", "1236", "123"},
      {kI2of5, "1234567890", "012345678905", "1234567890"},  // padded to even
      {kCode128, "1234", "1234", "1234"},
      {kCode128, "A1234 b12345", "A1234 b12345", "A1234 b12345"},
      {kCode128, "Hello, World! ~{}", "Hello, World! ~{}", "Hello, World! ~{}"}};
  for (const float zoom : {0.8f, 1.0f, 2.0f}) {
    pdftest::TempDir dir;  // one page per barcode, at (10, 10) points with the optional check
    const std::string path = dir.file("codes.pdf");
    pdf::PdfWriter pdf;
    pdf.BeginDoc(path);
    for (const Code& c : codes) pdf.BeginPage(), pdf.DrawBarCode(c.type, c.data, 10, 10, true, zoom, 0, true);
    pdf.EndDoc();
    pdftest::ExpectReadersAccept(path);
    const std::string text = pdftest::PdfToText(path).out;
    for (std::size_t i = 0; i < codes.size(); ++i) {
      SCOPED_TRACE(codes[i].data + " at zoom " + std::to_string(zoom));
      const std::string page = std::to_string(i + 1), png = dir.file("page" + page);
      pdftest::RunTool({"pdftoppm", "-r", "300", "-gray", "-png", "-singlefile", "-W", "1800", "-H",
                        "1800", "-f", page, "-l", page, path, png});
      EXPECT_EQ(pdftest::RunTool({"zbarimg", "-q", "--nodbus", "--raw", "-Si25.min-length=2", png + ".png"}).out,
                codes[i].read + "\n");
      EXPECT_NE(text.find(codes[i].text), std::string::npos) << text;
    }
  }
}

// POSTNET, which zbar cannot read, read from its bars: tall (9 points) or
// short, two tall in every five, worth 7, 4, 2, 1, 0 by place (7 + 4 stands
// for 0), between two tall frame bars; with the check digit the sum ends in 0.
TEST_F(GraphicsTest, PostnetReadBackFromItsBars) {
  const std::pair<const char*, const char*> cases[] = {
      {"12345-6789", "1234567895"}, {"9x87", "908706"}, {"123456789", "123455"}, {"98765 4321", "9876543215"}};
  for (const auto& [code, expected] : cases) {
    pdf_.DrawBarCode(kPostnet, code, 0, 0, false);
    std::istringstream lines(Take());
    std::string bars, x, y, w, h, rest, digits;
    while (lines >> x >> y >> w >> h >> rest >> rest) bars += h == "9" ? 'T' : 's';
    ASSERT_EQ(bars.size() % 5, 2u) << bars;
    EXPECT_TRUE(bars.front() == 'T' && bars.back() == 'T') << bars;
    int sum = 0;
    for (std::size_t g = 1; g + 1 < bars.size(); g += 5) {
      EXPECT_EQ(pdftest::Count(bars.substr(g, 5), "T"), 2) << bars;
      int value = 0;
      for (std::size_t k = 0; k < 4; ++k) value += bars[g + k] == 'T' ? (k ? 8 >> k : 7) : 0;
      sum += value % 11;
      digits += static_cast<char>('0' + value % 11);
    }
    EXPECT_EQ(digits, expected);
    EXPECT_EQ(sum % 10, 0);
  }
}

TEST_F(GraphicsTest, BarcodeWidthsZoomClampHeightsAndFirstBars) {
  struct Case { Type type; const char* code; float zoom, height; bool show, check; float width; const char* start; };
  const Case cases[] = {
      {kEan13, "123456789012", 1, 0, false, false, 105.768f, "\r10.296 20 0.936 64.8 re f*"},
      {kEan13, "1", 1, 0, true, false, 105.768f, "\r10.296 20 0.936 69.48 re f*"},  // guard bar
      {kEan13, "1", 0.5f, 0, false, false, 84.614f, "\r8.237 20 0.749 51.84 re f*"},  // zoom 0.8
      {kEan13, "1", 3, 0, false, false, 211.536f, "\r20.592 20 1.872 129.6 re f*"},   // zoom 2
      {kEan8, "1234567", 1.0683761f, 57, true, false, 85,  // modules of 1: guard bars reach 5 into the text
       "\r11 20 1 57 re f*\r13 20 1 57 re f*\r16 20 1 52 re f*\r17 20 1 52 re f*\r20 20 1 52 re f*"
       "\r23 20 1 52 re f*\r26 20 1 52 re f*\r27 20 1 52 re f*\r29 20 1 52 re f*\r30 20 1 52 re f*"
       "\r31 20 1 52 re f*\r32 20 1 52 re f*\r34 20 1 52 re f*\r36 20 1 52 re f*\r40 20 1 52 re f*"
       "\r41 20 1 52 re f*\r43 20 1 57 re f*\r45 20 1 57 re f*\r47 20 1 52 re f*\r50 20 1 52 re f*"
       "\r51 20 1 52 re f*\r52 20 1 52 re f*\r54 20 1 52 re f*\r56 20 1 52 re f*\r61 20 1 52 re f*"
       "\r65 20 1 52 re f*\r68 20 1 52 re f*\r69 20 1 52 re f*\r70 20 1 52 re f*\r73 20 1 52 re f*"
       "\r75 20 1 57 re f*\r77 20 1 57 re f*"},
      {kCode128, "1234", 1, 0, false, false, 54.72f, "\r7.2 20 0.72 14.4 re f*"},      // set C
      {kCode128, "12345", 1, 30, true, false, 70.56f, "\r7.2 20 0.72 25.32 re f*"},    // C, then B
      {kCode128, "A1234", 1, 3, true, false, 70.56f, "\r7.2 20 0.72 0.72 re f*"},      // B, then C
      {kCode39, "A", 1, 0, false, true, 59.76f, "\r7.2 20 0.576 14.4 re f*"},
      {kPostnet, "12345-6789", 2, 40, true, false, 403.2f, "\r14.4 20 2.88 18 re f*\r21.6 30.8 2.88 7.2 re f*"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    pdf_.SetXY(1, 2);
    EXPECT_NEAR(pdf_.DrawBarCode(c.type, c.code, 0, 20, c.show, c.zoom, c.height, c.check), c.width, 0.002f);
    const std::string text = Take();
    EXPECT_EQ(text.rfind(c.start, 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(text.find("BT") != std::string::npos, c.show);
    EXPECT_FLOAT_EQ(pdf_.GetY(), 2);  // the current point stays
  }
  Reopen(28.346457f);  // centimetres: every length converted
  EXPECT_NEAR(pdf_.DrawBarCode(kCode128, "1234", 1, 2, false), 54.72f / 28.346457f, 1e-5f);
  EXPECT_EQ(Take().rfind("\r35.546 56.693 0.72 14.4 re f*\r36.266 56.693 0.72 14.4 re f*", 0), 0u);
}

TEST_F(GraphicsTest, BarcodeRefusalsAndTheStyleAroundItsText) {
  const std::pair<int, std::string> refused[] = {{kCode128, ""}, {kCode128, "AB\x1F"}, {kCode128, "AB\x7F"},
                                                 {kCode128, "AB\xC6"}, {kCode39, "AB*CD"}, {kCode39, "caf\xE9"},
                                                 {6, "1"}, {-1, "1"}};
  for (const auto& [type, code] : refused)
    EXPECT_EQ(pdf_.DrawBarCode(type, code, 10, 10) + Take().size(), 0) << code;  // nothing written
  // No font before the text: restoring the style selects no font of no name.
  pdf_.DrawBarCode(kEan13, "123456789012", 10, 10);
  EXPECT_EQ(pdf_.Text.FontCount, 1);
  pdf_.SetFont("Times", 12, 1);
  pdf_.SetColorFill("#FF0000");
  Take();
  pdf_.DrawBarCode(kCode128, "Sevrina", 10, 10, true, 2);
  EXPECT_NE(Take().find("\r1 0 0 rg"), std::string::npos);  // restored after the text
  EXPECT_EQ(pdf_.Text.FontName + std::to_string(pdf_.Text.FontSize), "Times12.000000");
  pdf_.EndDoc();
  pdftest::ExpectReadersAccept(path_);
  EXPECT_EQ(pdftest::Count(pdftest::RunTool({"pdffonts", path_}).out, "Type 1"), 2);  // Courier, Times
}


// A barcode whose text fails after its bars (placed beyond the numbers'
// range) is taken back whole and leaves the style as it was: inside a
// table, EndTable restores the table's own style (the square filled after
// it is blue, not the barcode's red); outside one, the caller's font.
TEST(BarcodeFailures, LeaveTheStyleAsItWas) {
  pdftest::TempDir dir;
  const std::string path = dir.file("failed.pdf");
  gfxtest::Probe w;
  w.Open(path, 100, 100);
  w.SetColorFill("Blue");
  w.SetLineWidth(1);
  w.BeginTable(0, 0);
  w.SetColorFill("Red");
  w.SetLineWidth(4);
  std::string before = w.PageText();
  EXPECT_THROW(w.DrawBarCode(4, "1234", 10, 2147483000.0f, true, 1, 1000), pdf::PdfError);
  EXPECT_EQ(w.PageText(), before);
  w.EndTable();
  EXPECT_EQ(w.Navigation.StyleDepth, 0);
  w.DrawRect(25, 25, 50, 50, 5);
  w.SetFont("Times", 20);
  before = w.PageText();
  EXPECT_THROW(w.DrawBarCode(0, "123456789012", 10, 2147483000.0f, true, 1, 1000), pdf::PdfError);
  EXPECT_EQ(w.PageText(), before);
  EXPECT_EQ(w.Text.FontName + " " + std::to_string(w.Text.FontSize), "Times 20.000000");
  EXPECT_EQ(w.Navigation.StyleDepth, 0);
  w.EndDoc();
  const gfxtest::Pixels page = gfxtest::RenderPage(path);
  ASSERT_EQ(page.width, 100);
  EXPECT_EQ(page.At(50, 50, 0), 0);
  EXPECT_EQ(page.At(50, 50, 2), 255) << "the square in the caller's blue";
}

}  // namespace
