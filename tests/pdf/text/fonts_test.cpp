// Font selection: the names, styles and encodings of the font objects, and
// the TrueType font object with its widths, descriptor and font file.

#include <gtest/gtest.h>

#include <string>

#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Count;
using text_test::Probe;
using text_test::ReadFile;
using text_test::TempPdf;

const std::string kWinAnsi = "/Encoding << /Type /Encoding /BaseEncoding /WinAnsiEncoding>>\n";
const std::string kMacRoman = "/Encoding << /Type /Encoding /BaseEncoding /MacRomanEncoding>>\n";

std::string Type1Object(const std::string& name, const std::string& base,
                        const std::string& encoding) {
  return "<< /Type /Font /Subtype /Type1 /Name /" + name + " /BaseFont /" + base +
         " /FirstChar 0 /LastChar 255\n" + encoding + " >>\n";
}

class FontsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = TempPdf("out");
    w_.BeginDoc(path_);
    ASSERT_EQ(w_.ErrNumber(), 0);
  }
  std::string Finish() {
    w_.EndDoc();
    return ReadFile(path_);
  }
  Probe w_;
  std::string path_;
};

TEST_F(FontsTest, NamesStylesAndEncodings) {
  struct Case {
    const char* family;
    std::int32_t style, encoding;
    const char* resource;
    const char* base;
    const std::string* encoding_line;
  } cases[] = {
      {"times new roman", 3, 0, "TimesNewRoman,BoldItalic", "TimesNewRoman,BoldItalic", &kWinAnsi},
      {"Times", 1, 0, "TimesNewRoman,Bold", "TimesNewRoman,Bold", &kWinAnsi},
      {"Courier", 2, 0, "CourierNew,Italic", "CourierNew,Italic", &kWinAnsi},
      {"Courier New", 0, 0, "CourierNew", "CourierNew", &kWinAnsi},
      {"Arial", 1, 1, "MACArial,Bold", "Arial,Bold", &kMacRoman},
      {"Symbol", 3, 0, "Symbol", "Symbol", nullptr},
      {"Zapf Dingbats", 1, 0, "ZapfDingbats", "ZapfDingbats", nullptr},
      {"Verdana", 1, 0, "Verdana", "Arial,Bold", &kWinAnsi},
  };
  for (const auto& c : cases) {
    w_.SetFont(c.family, 12, c.style, c.encoding);
    EXPECT_EQ(w_.TextStateOf().FontResource, c.resource) << c.family;
  }
  EXPECT_EQ(w_.TextStateOf().FontCount, 8);
  const std::string file = Finish();
  for (const auto& c : cases) {
    const std::string enc = c.encoding_line ? *c.encoding_line : "";
    EXPECT_EQ(Count(file, Type1Object(c.resource, c.base, enc)), 1) << c.family;
  }
  EXPECT_EQ(Count(file, "/Type /Font "), 8);
  pdftest::ExpectReadersAccept(path_);
}

// The TrueType branch of the font object: widths array, descriptor, font file.
class TrueTypeProbe : public Probe {
 public:
  void AddRecord(const std::string& base) {
    Text.FontCount += 1;
    GrowTable(Text.Fonts, Text.FontCount);
    pdf::FontRecord& r = Text.Fonts[static_cast<std::size_t>(Text.FontCount)];
    r = pdf::FontRecord{};
    r.FontType = true;
    r.BaseFont = base;
    r.Key = base;
    for (int c = 0; c < 256; ++c) r.Widths[static_cast<std::size_t>(c)] = static_cast<std::int16_t>(c * 3 - 5);
  }
};

TEST(Fonts, TrueTypeObjects) {
  TrueTypeProbe w;
  const std::string path = TempPdf("tt");
  w.BeginDoc(path);
  w.AddRecord("Demo,Bold");
  pdf::Bytes none;
  const std::int32_t n = w.WriteFont("DEMO", none, 0, "/Flags 32 /StemV 70");
  w.AddRecord("Other");
  pdf::Bytes file_bytes = {'t', 'r', 'u', 'e', 0, 1, 2};
  const std::int32_t n2 = w.WriteFont("OTHER", file_bytes, 7, "/Flags 4");
  EXPECT_EQ(w.TextStateOf().FontResources, "/DEMO " + std::to_string(n) + " 0 R /OTHER " +
                                               std::to_string(n2) + " 0 R ");
  EXPECT_EQ(n2, n + 2);
  w.EndDoc();
  const std::string file = ReadFile(path);

  std::string widths;
  for (int c = 0; c < 256; ++c) {
    widths += std::to_string(c * 3 - 5) + " ";
    if (c % 16 == 15) widths += "\r";
  }
  EXPECT_EQ(Count(file, "<< /Type /Font /Subtype /TrueType /Name /DEMO /BaseFont /Demo,Bold "
                        "/FirstChar 0 /LastChar 255\n" + kWinAnsi + "/FontDescriptor " +
                        std::to_string(n + 1) + " 0 R\r/Widths [" + widths + "]\r>>\n"),
            1);
  EXPECT_EQ(Count(file, "<< /Type /FontDescriptor /FontName /Demo,Bold /Flags 32 /StemV 70 \n"
                        " >>\n"),
            1);
  EXPECT_EQ(Count(file, "<< /Type /FontDescriptor /FontName /Other /Flags 4 \n/FontFile2 " +
                        std::to_string(n2 + 2) + " 0 R >>\n"),
            1);
  EXPECT_EQ(Count(file, "/Length1 7"), 1);
  EXPECT_NE(file.find(std::string("true\0\x01\x02", 7)), std::string::npos);
  const auto check = pdftest::QpdfCheck(path);
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
}

}  // namespace
