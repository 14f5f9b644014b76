// Font selection: the lookup keys, the records and metrics they get, and the
// font objects written at the first selection.

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

// The object numbers of the font resources, in order.
std::vector<int> ResourceNumbers(const std::string& resources) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while ((at = resources.find(" 0 R ", at)) != std::string::npos) {
    std::size_t begin = resources.rfind(' ', at - 1) + 1;
    numbers.push_back(std::stoi(resources.substr(begin, at - begin)));
    at += 5;
  }
  return numbers;
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

TEST_F(FontsTest, HelveticaIsArialAndASecondSelectionWritesNothing) {
  w_.SetFont("hElVeTiCa");
  const auto& t = w_.TextStateOf();
  EXPECT_EQ(t.FontSize, 10);
  EXPECT_EQ(t.FontResource, "Arial");
  EXPECT_EQ(t.FontName, "hElVeTiCa");
  EXPECT_EQ(t.FontCount, 1);
  EXPECT_EQ(t.FontIndex, 1);
  const std::string resources = t.FontResources;
  w_.SetFont("Helvetica");
  w_.SetFont("ARIAL");
  EXPECT_EQ(t.FontCount, 1);
  EXPECT_EQ(t.FontResources, resources);
  ASSERT_EQ(ResourceNumbers(resources).size(), 1u);
  EXPECT_EQ(resources, "/Arial " + std::to_string(ResourceNumbers(resources)[0]) + " 0 R ");
  const std::string file = Finish();
  EXPECT_EQ(Count(file, Type1Object("Arial", "Arial", kWinAnsi)), 1);
  EXPECT_EQ(Count(file, "/Type /Font "), 1);
}

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

TEST_F(FontsTest, RecordsCarryKeyEncodingAndMetrics) {
  w_.SetFont("Verdana", 0, 1);
  w_.SetFont("Verdana", 0, 2);  // found whatever the style: the first one decides
  w_.SetFont("Arial", 0, 0, 1);
  w_.SetFont("Arial", 0, 0, 0);
  w_.SetFont("Arial", 0, 0, 2);  // WinAnsi too: the ARIAL record again
  w_.SetFont("ZapfDingbats");
  w_.SetFont("Courier", 0, 3);
  w_.SetFont("Symbol");
  w_.SetFont("Times", 0, 2);
  const auto& t = w_.TextStateOf();
  ASSERT_EQ(t.FontCount, 7);
  struct Expect {
    const char* key;
    const char* base;
    std::int32_t mac;
    int line_height, descent;
  } expect[] = {
      {"VERDANA", "Arial,Bold", 0, 1221, -221},
      {"MACARIAL", "Arial", 1, 1221, -221},
      {"ARIAL", "Arial", 0, 1221, -221},
      {"ZAPFDINGBATS", "ZapfDingbats", 0, 1221, -221},
      {"COURIERNEW,BOLDITALIC", "CourierNew,BoldItalic", 0, 1133, -300},
      {"SYMBOL", "Symbol", 0, 1225, -220},
      {"TIMESNEWROMAN,ITALIC", "TimesNewRoman,Italic", 0, 1107, -216},
  };
  for (int i = 0; i < 7; ++i) {
    const auto& r = w_.Font(i + 1);
    EXPECT_EQ(r.Key, expect[i].key) << i;
    EXPECT_EQ(r.BaseFont, expect[i].base) << i;
    EXPECT_EQ(r.MacEncoding, expect[i].mac) << i;
    EXPECT_EQ(r.LineHeight, expect[i].line_height) << i;
    EXPECT_EQ(r.Descent, expect[i].descent) << i;
    EXPECT_FALSE(r.FontType) << i;
  }
  EXPECT_EQ(w_.Font(1).Widths[0], 311);  // Arial bold controls
  EXPECT_EQ(w_.Font(7).Widths[0], 333);
  EXPECT_EQ(w_.Font(4).Widths[56], 677);
  // Encoding 2 reuses the record: one resource entry per name.
  EXPECT_EQ(Count(t.FontResources, "/Arial "), 1);
  EXPECT_EQ(Count(t.FontResources, "/MACArial "), 1);
  const std::string file = Finish();
  EXPECT_EQ(Count(file, Type1Object("Arial", "Arial", kWinAnsi)), 1);
}

TEST_F(FontsTest, StyleRuleBitsSelectTheSameRecord) {
  w_.SetFont("Arial", 11, 0);
  for (std::int32_t style : {4, 8, 16, 28}) {
    w_.SetFont("Arial", 0, style);
    EXPECT_EQ(w_.TextStateOf().FontIndex, 1);
    EXPECT_EQ(w_.TextStateOf().FontStyle, style);
    EXPECT_EQ(w_.TextStateOf().FontResource, "Arial");
  }
  EXPECT_EQ(w_.TextStateOf().FontCount, 1);
  w_.SetFont("Arial", 0, 1 | 4);
  EXPECT_EQ(w_.TextStateOf().FontResource, "Arial,Bold");
  EXPECT_EQ(w_.TextStateOf().FontCount, 2);
}

TEST_F(FontsTest, SizeRules) {
  w_.SetFont("Arial");
  EXPECT_EQ(w_.TextStateOf().FontSize, 10);
  w_.SetFont("Arial", 14);
  w_.SetFont("Times");
  EXPECT_EQ(w_.TextStateOf().FontSize, 14);
  w_.SetFont("Times", -3);
  EXPECT_EQ(w_.TextStateOf().FontSize, -3);
  w_.SetFontSize(0);
  EXPECT_EQ(w_.TextStateOf().FontSize, 0);
  EXPECT_EQ(w_.TextLength("abc"), 0);
  w_.SetFont("Times");  // size 0 becomes 10 again at the next selection
  EXPECT_EQ(w_.TextStateOf().FontSize, 10);
}

TEST_F(FontsTest, BlankFreeNamesAndEmptyNames) {
  w_.SetFont("   ", 9, 2);
  EXPECT_EQ(w_.TextStateOf().FontResource, "");
  EXPECT_EQ(w_.Font(1).BaseFont, "Arial,Italic");
  EXPECT_EQ(w_.Font(1).Key, "");
  EXPECT_EQ(w_.TextStateOf().FontResources.substr(0, 2), "/ ");
  EXPECT_EQ(w_.TextStateOf().FontName, "   ");
  w_.SetFont("My Font");
  EXPECT_EQ(w_.TextStateOf().FontResource, "MyFont");
  EXPECT_EQ(w_.Font(2).Key, "MYFONT");
  w_.SetFont("myfont");  // the lookup compares upper-case keys
  EXPECT_EQ(w_.TextStateOf().FontIndex, 2);
  EXPECT_EQ(w_.TextStateOf().FontResource, "MyFont");  // as the resources hold it
}

TEST_F(FontsTest, MetricsThroughMeasuring) {
  w_.SetFont("Arial", 10);
  EXPECT_FLOAT_EQ(w_.TextLength("\t"), 2.72f);
  EXPECT_FLOAT_EQ(w_.TextLength("\x7F\x81\x8D\x8F\x90\x9D"), 45.0f);
  w_.SetFont("Arial", 10, 2);
  EXPECT_FLOAT_EQ(w_.TextLength("\t"), 2.59f);
  EXPECT_FLOAT_EQ(w_.TextLength("Hello"), 22.78f);
  w_.SetFont("Times", 10);
  EXPECT_FLOAT_EQ(w_.TextLength("\x7F"), 7.78f);
  EXPECT_FLOAT_EQ(w_.TextLength("\x80"), 5.0f);
  w_.SetFont("Courier", 10, 1);
  EXPECT_FLOAT_EQ(w_.TextLength(std::string("\0\x01\xFF", 3)), 18.0f);
  w_.SetFont("ZapfDingbats", 10);
  EXPECT_FLOAT_EQ(w_.TextLength("8"), 6.77f);
  EXPECT_FLOAT_EQ(w_.TextLength("\xB7"), 7.88f);
  EXPECT_FLOAT_EQ(w_.TextHeight(), 12.21f);
  w_.SetFont("Symbol", 10);
  EXPECT_FLOAT_EQ(w_.TextHeight(), 12.25f);
}

TEST(Fonts, NoFontMeasuresNothing) {
  Probe w;
  EXPECT_EQ(w.TextLength("abc"), 0);
  EXPECT_EQ(w.TextHeight(), 0);
}

TEST(Fonts, SelectingWithoutADocumentFailsAndKeepsNoRecord) {
  Probe w;
  EXPECT_THROW(w.SetFont("Arial"), pdf::PdfError);
  EXPECT_EQ(w.TextStateOf().FontCount, 0);
  EXPECT_EQ(w.TextStateOf().FontResources, "");
  // Once a document is open the same font gets its object after all.
  const std::string path = TempPdf("late");
  w.BeginDoc(path);
  w.SetFont("Arial");
  EXPECT_EQ(w.TextStateOf().FontCount, 1);
  w.EndDoc();
  EXPECT_EQ(Count(ReadFile(path), Type1Object("Arial", "Arial", kWinAnsi)), 1);
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
