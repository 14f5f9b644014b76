// The TrueType font object written at the first selection: widths array,
// descriptor and font file.

#include <gtest/gtest.h>

#include <string>

#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Count;
using text_test::Probe;
using text_test::ReadFile;
using text_test::TempPdf;

const std::string kWinAnsi = "/Encoding << /Type /Encoding /BaseEncoding /WinAnsiEncoding>>\n";

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
