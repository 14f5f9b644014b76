// Barcodes: every symbology decoded by a real barcode reader from the
// rendered page at three zooms, POSTNET read back from its rendered bars,
// the geometry (widths, heights, quiet zones) and the data each symbology
// refuses.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/graphics/barcode_symbols.h"
#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/graphics/raster.h"

namespace {

using gfxtest::GraphicsTest;
using gfxtest::Raster;

enum Type { kEan13 = 0, kCode39 = 1, kI2of5 = 2, kPostnet = 3, kCode128 = 4, kEan8 = 5 };

struct Decoded {
  Type type;
  const char* code;
  bool check;
  const char* read;  // what the reader returns: data and check character
  const char* text;  // the human-readable line as pdftotext finds it
};

const Decoded kDecoded[] = {
    {kEan13, "123456789012", false, "1234567890128", "1 234567 890128"},
    {kEan13, "4006381333930", false, "4006381333931", "4 006381 333931"},  // wrong check mended
    {kEan8, "1234567", false, "12345670", "1234 5670"},
    {kEan8, "9638507", false, "96385074", "9638 5074"},
    {kCode39, "CODE 39", true, "CODE 39R", "CODE 39"},
    {kCode39, "a$b/1", false, "+A$+B/1", "a$b/1"},
    {kI2of5, "123", true, "1236", "123"},
    {kI2of5, "12345", false, "012345", "12345"},
    {kI2of5, "1234567890", true, "012345678905", "1234567890"},  // padded
    {kCode128, "1234", false, "1234", "1234"},
    {kCode128, "A1234 b12345", false, "A1234 b12345", "A1234 b12345"},
    {kCode128, "Hello, World! ~{}", false, "Hello, World! ~{}", "Hello, World! ~{}"},
};

// Renders the top-left corner of one page (where the barcode is) at 300 dpi
// in grey and returns what zbarimg reads there.
std::string Decode(const pdftest::TempDir& dir, const std::string& pdf, int page) {
  const std::string stem = dir.file("page" + std::to_string(page));
  const pdftest::ToolResult r =
      pdftest::RunTool({"pdftoppm", "-r", "300", "-gray", "-png", "-singlefile", "-W", "1800",
                        "-H", "1800", "-f",
                        std::to_string(page), "-l", std::to_string(page), pdf, stem});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const pdftest::ToolResult z = pdftest::RunTool(
      {"zbarimg", "-q", "--nodbus", "--raw", "-Si25.min-length=2", stem + ".png"});
  return z.out;
}

TEST(Barcodes, EverySymbologyDecodesAtEachZoom) {
  for (const float zoom : {0.8f, 1.0f, 2.0f}) {
    pdftest::TempDir dir;
    const std::string path = dir.file("barcodes.pdf");
    pdf::PdfWriter pdf;
    pdf.BeginDoc(path);
    pdf.SetMargins(20, 20, 20, 20);
    for (const Decoded& d : kDecoded) {
      pdf.BeginPage();
      EXPECT_GT(pdf.DrawBarCode(d.type, d.code, 10, 10, true, zoom, 0, d.check), 0) << d.code;
    }
    pdf.EndDoc();
    pdftest::ExpectReadersAccept(path);
    const std::string text = pdftest::PdfToText(path).out;
    for (std::size_t i = 0; i < std::size(kDecoded); ++i) {
      const Decoded& d = kDecoded[i];
      SCOPED_TRACE(std::string(d.code) + " at zoom " + std::to_string(zoom));
      EXPECT_EQ(Decode(dir, path, static_cast<int>(i) + 1), std::string(d.read) + "\n");
      EXPECT_NE(text.find(d.text), std::string::npos) << text;
    }
  }
}

// POSTNET, which the reader does not know, read back from its bars: each bar
// is tall or short; a digit is five bars of which two are tall, worth 7, 4,
// 2, 1 and 0 by place (7 + 4 standing for 0); the digits with the check
// digit sum to a multiple of 10.
std::string ReadPostnet(const Raster& r, float zoom, int& bars) {
  const float px = 300.0f / 72;
  const int tall_row = static_cast<int>((10 + 2 * zoom) * px);
  const int base_row = static_cast<int>((10 + 8 * zoom) * px);
  std::string marks;
  bool in_bar = false;
  for (int x = 0; x < r.width(); ++x) {
    const bool dark = r.At(x, base_row)[0] < 128;
    if (dark && !in_bar) {
      const int centre = x + static_cast<int>(0.7f * zoom * px);
      marks += r.At(centre, tall_row)[0] < 128 ? 'T' : 's';
    }
    in_bar = dark;
  }
  bars = static_cast<int>(marks.size());
  if (marks.size() < 2 || marks.front() != 'T' || marks.back() != 'T') return "frame?" + marks;
  const std::string body = marks.substr(1, marks.size() - 2);
  if (body.size() % 5 != 0) return "bars?" + marks;
  std::string digits;
  int sum = 0;
  for (std::size_t g = 0; g < body.size(); g += 5) {
    int value = 0, tall = 0;
    const int weights[5] = {7, 4, 2, 1, 0};
    for (int k = 0; k < 5; ++k) {
      if (body[g + static_cast<std::size_t>(k)] == 'T') {
        value += weights[k];
        ++tall;
      }
    }
    if (tall != 2) return "group?" + marks;
    if (value == 11) value = 0;
    sum += value;
    digits += static_cast<char>('0' + value);
  }
  if (sum % 10 != 0) return "check?" + digits;
  return digits;
}

TEST(Barcodes, PostnetBarsReadBackWithFramesAndCheckDigit) {
  struct Case {
    const char* code;
    const char* digits;  // with the check digit
    int bars;
  };
  const Case cases[] = {
      {"12345-6789", "1234567895", 52},
      {"12345", "123455", 32},
      {"00000", "000000", 32},
      {"9x87", "908706", 32},          // short and not digits: zeros
      {"123456789", "123455", 32},     // not 10 characters: five digits only
      {"98765 4321", "9876543215", 52},
  };
  for (const float zoom : {0.8f, 1.0f, 2.0f}) {
    pdftest::TempDir dir;
    const std::string path = dir.file("postnet.pdf");
    pdf::PdfWriter pdf;
    pdf.BeginDoc(path);
    for (const Case& c : cases) {
      pdf.BeginPage();
      pdf.DrawBarCode(kPostnet, c.code, 10, 10, true, zoom);
    }
    pdf.EndDoc();
    pdftest::ExpectReadersAccept(path);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      SCOPED_TRACE(std::string(cases[i].code) + " at zoom " + std::to_string(zoom));
      const Raster raster(path, static_cast<int>(i) + 1, 300, true, 1800);
      int bars = 0;
      EXPECT_EQ(ReadPostnet(raster, zoom, bars), cases[i].digits);
      EXPECT_EQ(bars, cases[i].bars);
    }
  }
}

// ---- geometry --------------------------------------------------------------------

TEST_F(GraphicsTest, BarcodeWidthsZoomClampAndHeights) {
  struct Case {
    const char* what;
    Type type;
    const char* code;
    float zoom, height;
    bool show, check;
    float width;  // points at scale 1
    const char* first_bar;
  };
  const Case cases[] = {
      {"EAN-13: 113 modules", kEan13, "123456789012", 1, 0, false, false, 105.768f,
       "\r10.296 20 0.936 64.8 re f*"},
      {"EAN-13 guard bars reach into the text", kEan13, "123456789012", 1, 0, true, false,
       105.768f, "\r10.296 20 0.936 69.48 re f*"},
      {"zoom below 0.8 draws at 0.8", kEan13, "1", 0.5f, 0, false, false, 84.614f,
       "\r8.237 20 0.749 51.84 re f*"},
      {"zoom above 2 draws at 2", kEan13, "1", 3, 0, false, false, 211.536f,
       "\r20.592 20 1.872 129.6 re f*"},
      {"EAN-8: 85 modules", kEan8, "1234567", 1, 0, false, false, 79.56f,
       "\r10.296 20 0.936 48.96 re f*"},
      {"Code 128 1234: start C, two symbols, check, stop", kCode128, "1234", 1, 0, false, false,
       54.72f, "\r7.2 20 0.72 14.4 re f*"},
      {"Code 128 height holds the text", kCode128, "1234", 1, 30, true, false, 54.72f,
       "\r7.2 20 0.72 25.32 re f*"},
      {"height below the text: one module", kCode128, "1234", 1, 3, true, false, 54.72f,
       "\r7.2 20 0.72 0.72 re f*"},
      {"Code 39 A: three characters of 16 narrow", kCode39, "A", 1, 0, false, false, 48.24f,
       "\r7.2 20 0.576 14.4 re f*"},
      {"Code 39 check character adds one", kCode39, "A", 1, 0, false, true, 59.76f,
       "\r7.2 20 0.576 14.4 re f*"},
      {"Interleaved 2 of 5 123 drawn as 0123", kI2of5, "123", 1, 0, false, false, 40.32f,
       "\r3.6 20 0.72 14.4 re f*"},
      {"POSTNET 52 bars", kPostnet, "12345-6789", 1, 40, false, false, 201.6f,
       "\r7.2 20 1.44 9 re f*"},
      {"POSTNET half bar on the base line", kPostnet, "12345-6789", 2, 0, true, false, 403.2f,
       "\r14.4 20 2.88 18 re f*\r21.6 30.8 2.88 7.2 re f*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pdf_.SetXY(1, 2);
    const float width = pdf_.DrawBarCode(c.type, c.code, 0, 20, c.show, c.zoom, c.height, c.check);
    EXPECT_NEAR(width, c.width, 0.002f);
    const std::string text = Take();
    EXPECT_EQ(text.rfind(c.first_bar, 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(text.find("BT") != std::string::npos, c.show);
    EXPECT_FLOAT_EQ(pdf_.GetX(), 1);  // the current point stays
    EXPECT_FLOAT_EQ(pdf_.GetY(), 2);
  }
}

TEST_F(GraphicsTest, BarcodeInCentimetresConvertsEveryLength) {
  Reopen(28.346457f);
  const float width = pdf_.DrawBarCode(kCode128, "1234", 1, 2, false);
  EXPECT_NEAR(width, 54.72f / 28.346457f, 1e-5f);
  EXPECT_EQ(Take().rfind("\r35.546 56.693 0.72 14.4 re f*\r36.266 56.693 0.72 14.4 re f*", 0), 0u);
}

TEST_F(GraphicsTest, BarcodeDataThatCannotBeDrawnWritesNothing) {
  struct Case {
    Type type;
    std::string code;
    const char* why;
  };
  const Case cases[] = {
      {kCode128, "", "Code 128 of nothing"},
      {kCode128, "AB\x1F", "Code 128 below 32"},
      {kCode128, "AB\x7F", "Code 128 above 126"},
      {kCode128, "AB\xC6", "Code 128 character 198 has no symbol"},
      {kCode39, "AB*CD", "Code 39 star would stop the symbol"},
      {kCode39, "caf\xE9", "Code 39 above 127"},
      {static_cast<Type>(6), "123", "unknown type 6"},
      {static_cast<Type>(-1), "123", "unknown type -1"},
  };
  const std::int32_t fonts = pdf_.Text.FontCount;
  for (const Case& c : cases) {
    EXPECT_EQ(pdf_.DrawBarCode(c.type, c.code, 10, 10), 0) << c.why;
    EXPECT_EQ(Take(), "") << c.why;
  }
  EXPECT_EQ(pdf_.Text.FontCount, fonts);
}

TEST_F(GraphicsTest, BarcodeTextLeavesFontAndColoursAsTheyWere) {
  // No font selected yet: the text selects Courier, and restoring the style
  // selects no font of an empty name.
  pdf_.DrawBarCode(kEan13, "123456789012", 10, 10);
  EXPECT_EQ(pdf_.Text.FontCount, 1);
  EXPECT_EQ(pdf_.Text.FontResources.find("/F1 "), pdf_.Text.FontResources.rfind("/F"));
  pdf_.SetFont("Times", 12, 1);
  pdf_.SetColorFill("#FF0000");
  pdf_.SetColorText("#0000FF");
  Take();
  pdf_.DrawBarCode(kCode128, "Sevrina", 10, 10, true, 2);
  const std::string text = Take();
  EXPECT_NE(text.find("\r1 0 0 rg"), std::string::npos);  // restored after the text
  EXPECT_EQ(pdf_.Text.FontName, "Times");
  EXPECT_FLOAT_EQ(pdf_.Text.FontSize, 12);
  EXPECT_EQ(pdf_.Text.FontStyle, 1);
  EXPECT_EQ(pdf_.Colours.FillColor, "#FF0000");
  EXPECT_EQ(pdf_.Colours.TextColor, "#0000FF");
  pdf_.EndDoc();
  pdftest::ExpectReadersAccept(path_);
  const pdftest::ToolResult fonts = pdftest::RunTool({"pdffonts", path_});
  EXPECT_EQ(pdftest::Count(fonts.out, "Type 1"), 2) << fonts.out;  // Courier and Times-Bold
}

TEST(BarcodeSymbols, Code128ChoosesItsCodeSets) {
  struct Case {
    const char* code;
    std::size_t symbols;  // start, data symbols, code-set switches, check
  };
  const Case cases[] = {
      {"1234", 4},          // Start C, 12, 34
      {"A1234", 6},         // Start B, A, Code C, 12, 34
      {"12345", 6},         // Start C, 12, 34, Code B, 5
      {"123", 5},           // too short for set C
      {"AB123456CD", 11},   // B A B, C 12 34 56, B C D
      {"A12345", 7},        // B A 1, C 23 45: four digits left at the switch
      {"ABC", 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pdf::barcode::Code128Modules(c.code).size(), 11 * c.symbols + 13) << c.code;
  }
}

}  // namespace
