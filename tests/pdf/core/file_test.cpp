// File structure: one empty page byte for byte, with its cross-reference
// lines.

#include <filesystem>
#include <utility>

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

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

  // The table, entries of exactly 20 bytes, and the trailer close the file.
  std::string tail = "xref\n0 9\n0000000000 65535 f\r\n";
  for (int n = 1; n <= 8; ++n) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010ld 00000 n\r\n", ObjectOffset(file, n));
    tail += entry;
  }
  const std::size_t xref = file.rfind("\nxref\n") + 1;
  tail += "trailer\n<< /Size 9 /Info 8 0 R /Root 7 0 R\n>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  EXPECT_EQ(file.substr(xref), tail);
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.3\n");
  pdftest::ExpectReadersAccept(path);
}

// A three-level outline: parents, first and last children, siblings both
// ways; only the title entry counts its children.
TEST(CoreFile, ThreeLevelOutlineByteForByte) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  for (const auto& [caption, level] : {std::pair{"A", 1}, {"A1", 2}, {"A1a", 3}, {"A2", 2}, {"B", 1}})
    w.AddBookmark(caption, static_cast<std::int16_t>(level));
  w.EndDoc();
  const std::string file = ReadFile(path);
  const std::size_t head = file.rfind('\n', file.find(" 0 obj\n<< /Count 1 /First ")) + 1;
  const int r = std::stoi(file.substr(head));  // the outline dictionary; entry i is r + i
  const auto n = [r](int i) { return std::to_string(r + i) + " 0 R\r"; };
  const std::string dest = "/Dest [4 0 R /FitB]\r>>";
  const std::string entries[] = {
      "<< /Count 1 /First " + std::to_string(r + 1) + " 0 R /Last " + std::to_string(r + 1) + " 0 R >>",
      "<< /Title (\\(senza titolo\\))\r/Parent " + n(0) + "/First " + n(2) + "/Last " + n(6) + "/Count 2\r" + dest,
      "<< /Title (A)\r/Parent " + n(1) + "/First " + n(3) + "/Last " + n(5) + "/Next " + n(6) + dest,
      "<< /Title (A1)\r/Parent " + n(2) + "/First " + n(4) + "/Last " + n(4) + "/Next " + n(5) + dest,
      "<< /Title (A1a)\r/Parent " + n(3) + dest,
      "<< /Title (A2)\r/Parent " + n(2) + "/Prev " + n(3) + dest,
      "<< /Title (B)\r/Parent " + n(1) + "/Prev " + n(2) + dest,
  };
  for (int i = 0; i <= 6; ++i)
    EXPECT_EQ(ObjectBytes(file, r + i), std::to_string(r + i) + " 0 obj\n" + entries[i] + "\nendobj\n") << i;
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
