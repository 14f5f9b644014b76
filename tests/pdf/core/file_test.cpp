// File structure: one empty page byte for byte, with its cross-reference
// lines.

#include <filesystem>

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::ObjectOffset;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

// The cross-reference table of a file: its entries, each checked to be
// exactly 20 bytes.
std::vector<std::string> XrefEntries(const std::string& file, long* xrefOffset = nullptr) {
  const std::size_t at = file.rfind("\nxref\n");
  EXPECT_NE(at, std::string::npos);
  if (xrefOffset) *xrefOffset = static_cast<long>(at + 1);
  std::size_t p = at + 6;
  const std::size_t lineEnd = file.find('\n', p);
  const std::string sub = file.substr(p, lineEnd - p);
  EXPECT_EQ(sub.substr(0, 2), "0 ");
  const int count = std::stoi(sub.substr(2));
  p = lineEnd + 1;
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back(file.substr(p, 20));
    EXPECT_EQ(entries.back().substr(18), "\r\n") << i;
    p += 20;
  }
  EXPECT_EQ(file.substr(p, 8), "trailer\n");
  return entries;
}

TEST(CoreFile, OneEmptyPageByteForByte) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(w.FileSize(), static_cast<std::int32_t>(file.size()));
  EXPECT_EQ(static_cast<std::uintmax_t>(w.FileSize()), std::filesystem::file_size(path));

  // Objects in the order begun: page, content, metadata, 3, 2, 1, catalog,
  // information.
  const int order[] = {4, 5, 6, 3, 2, 1, 7, 8};
  long last = -1;
  for (int n : order) {
    const long at = ObjectOffset(file, n);
    ASSERT_GT(at, last) << n;
    last = at;
  }
  EXPECT_EQ(ObjectBytes(file, 2), "2 0 obj\n<<\r/ProcSet [/PDF /Text ]\r\r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 3), "3 0 obj\n<<\r/ProcSet [/PDF /Text ]\r\r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 1), "1 0 obj\n<<\r/Type /Pages /Count 1\r/Kids [4 0 R ] \r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 7),
            "7 0 obj\n<< /Type /Catalog\r/Pages 1 0 R\r/Metadata 6 0 R\n/ViewerPreferences <<  >>\n>>\nendobj\n");
  const std::string d = w.Properties.CreationDate;
  EXPECT_EQ(ObjectBytes(file, 8), "8 0 obj\n<<\r/Title (\\(senza titolo\\))\r/Author (Sevrina)\r"
                                  "/Creator (Sevrina PDF writer)\r/Producer (Sevrina PDF writer)\r"
                                  "/CreationDate (" + d + ")\r/Subject ()\r/Keywords ()\r>>\nendobj\n");
  EXPECT_NE(ObjectBytes(file, 6).find("<< /Type /Metadata /Subtype /XML\n/Length "), std::string::npos);

  long xref = 0;
  const auto entries = XrefEntries(file, &xref);
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries[0], "0000000000 65535 f\r\n");
  for (int n = 1; n <= 8; ++n) {
    char want[32];
    std::snprintf(want, sizeof want, "%010ld 00000 n\r\n", ObjectOffset(file, n));
    EXPECT_EQ(entries[static_cast<std::size_t>(n)], want) << n;
  }
  const std::string tail = "trailer\n<< /Size 9 /Info 8 0 R /Root 7 0 R\n>>\nstartxref\n" +
                           std::to_string(xref) + "\n%%EOF\n";
  ASSERT_GE(file.size(), tail.size());
  EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.3\n");
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreFile, ResourceBlocks) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.EndPage();
  w.Text.FontResources = "/Arial 10 0 R ";
  w.Resources.ImageResources = "/_IMG_1 11 0 R ";
  w.Resources.XObjectResources = "/hf 12 0 R \r";
  w.Resources.PatternResources = "/HATCH 13 0 R \r";
  w.Resources.ExtGStateResources = "/GSTATE_1 14 0 R ";
  for (int n = 10; n <= 14; ++n) {
    w.BeginIndirectObject(0);
    w.WriteLine("<< >>");
    w.EndIndirectObject();
  }
  w.EndDoc();
  const std::string file = ReadFile(path);
  const std::string common =
      "<<\r/Font <<\r/Arial 10 0 R >>\r/ProcSet [/PDF /Text /ImageB /ImageC /ImageI ]\r\r"
      "/XObject <<\r/_IMG_1 11 0 R \r/hf 12 0 R \r\r>>\r";
  EXPECT_EQ(ObjectBytes(file, 3), "3 0 obj\n" + common + "/ExtGState << /GSTATE_1 14 0 R  >> \r>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 2), "2 0 obj\n" + common +
                                      "/ColorSpace << /xxCSxx [ /Pattern /DeviceRGB ] >> \r/Pattern <<\r"
                                      "/HATCH 13 0 R \r>>\r/ExtGState << /GSTATE_1 14 0 R  >> \r>>\nendobj\n");
}

}  // namespace
