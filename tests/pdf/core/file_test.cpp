// File structure: object order, cross-reference lines, the resource
// dictionaries, page tree, catalog, information dictionary, trailer and the
// header's version.

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

TEST(CoreFile, EndDocWithoutPageStillWritesOne) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.EndDoc();
  EXPECT_EQ(w.GetPage(), 1);
  const std::string info = pdftest::Pdfinfo(path).out;
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Pages"), "1");
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Page size"), "596 x 842 pts (A4)");
}

TEST(CoreFile, HeaderVersionRewrittenInPlace) {
  for (int level : {0, 1, 2}) {
    Probe w;
    const std::string path = TempPdf(std::to_string(level));
    w.BeginDoc(path);
    w.RequireVersion(level);
    w.EndDoc();
    const std::string file = ReadFile(path);
    EXPECT_EQ(file.substr(0, 9), "%PDF-1." + std::to_string(3 + level) + "\n");
    EXPECT_EQ(file.substr(9, 32), "% Sevrina PDF writer rel. 2.4.4\n");
    EXPECT_EQ(static_cast<std::size_t>(w.FileSize()), file.size());
    EXPECT_EQ(pdftest::PdfinfoValue(pdftest::Pdfinfo(path).out, "PDF version"), "1." + std::to_string(3 + level));
  }
}

TEST(CoreFile, NumberNeverBegunIsAFreeEntry) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginIndirectObject(6);  // 4 and 5 are never begun
  w.WriteLine("<< /Unused true >>");
  w.EndIndirectObject();
  w.EndDoc();
  const std::string file = ReadFile(path);
  const auto entries = XrefEntries(file);
  EXPECT_EQ(entries[4], "0000000000 65535 f\r\n");
  EXPECT_EQ(entries[5], "0000000000 65535 f\r\n");
  EXPECT_EQ(entries[6].substr(10), " 00000 n\r\n");
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

TEST(CoreFile, LayersRaiseTheVersionTo15) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.AddLayer("PRINTER", true);
  w.AddLayer("screen", true);  // only the exact upper-case name is special
  w.AddLayer("SCREEN", false);
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.substr(0, 9), "%PDF-1.5\n");
  EXPECT_EQ(ObjectBytes(file, 6), "6 0 obj\n<</Type /OCG /Name (PRINTER)\n"
                                  "/Usage <</Print <</PrintState /ON>> /View <</ViewState /OFF>>>>\n>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 7), "7 0 obj\n<</Type /OCG /Name (screen)\n>>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 8), "8 0 obj\n<</Type /OCG /Name (SCREEN)\n"
                                  "/Usage <</Print <</PrintState /OFF>> /View <</ViewState /ON>>>>\n>>\nendobj\n");
  EXPECT_NE(ObjectBytes(file, 2).find("]\r/Properties <</_LAY_1 6 0 R /_LAY_2 7 0 R /_LAY_3 8 0 R >>\r>>"),
            std::string::npos);
  EXPECT_NE(file.find("\n/OCProperties <</OCGs [6 0 R 7 0 R 8 0 R ] /D <</AS [ "
                      "<</Event /Print /OCGs [6 0 R 8 0 R ] /Category [/Print]>> "
                      "<</Event /View /OCGs [6 0 R 8 0 R ] /Category [/View]>> ]\n"
                      "/ON [7 0 R 8 0 R ] \n/OFF [6 0 R ] \n/Order [(\\(senza titolo\\)) 6 0 R 7 0 R ]>>  >>\n"),
            std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreFile, DestinationsByPageRule) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  for (int i = 0; i < 3; ++i) w.BeginPage();
  w.AddDestination(-1, "/Fit", "/last");
  w.AddDestination(7, "/Fit", "/beyond");
  w.AddDestination(-5, "/Fit", "/negative");
  w.AddDestination(0, "/Fit", "/zero");  // page 0 is the first page, not object 0
  w.AddDestination(2, "/XYZ 0 842 0", "/second");
  w.EndDoc();
  const std::string file = ReadFile(path);
  // Pages are objects 4, 6 and 8.
  const std::string dests = ObjectBytes(file, 11);
  EXPECT_EQ(dests, "11 0 obj\n<<\n/last [8 0 R /Fit] \n/beyond [8 0 R /Fit] \n/negative [4 0 R /Fit] \n"
                   "/zero [4 0 R /Fit] \n/second [6 0 R /XYZ 0 842 0] \n>>\nendobj\n");
  EXPECT_NE(file.find("\r/Dests 11 0 R"), std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

TEST(CoreFile, DocumentScriptsAndOpenAction) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  const char* texts[9] = {"", "", "open();", "willClose();", "willPrint();", "willSave();",
                          "didPrint();", "didSave();", "function f() {}"};
  for (int t = 2; t <= 8; ++t) w.SetScript(t, texts[t]);
  w.EndDoc();
  const std::string file = ReadFile(path);
  // Streams in the order open, will close, will save, did save, will print,
  // did print, then the document-level script and its names object.
  const int want[] = {2, 3, 5, 7, 4, 6, 8};
  for (int i = 0; i < 7; ++i) {
    EXPECT_NE(ObjectBytes(file, 6 + i).find(std::string("stream\n") + texts[want[i]] + "\nendstream"),
              std::string::npos)
        << i;
  }
  EXPECT_EQ(ObjectBytes(file, 13),
            "13 0 obj\n<< /JavaScript << /Names [ (globalscript) << /S /JavaScript /JS 12 0 R >> ] >> >>\nendobj\n");
  const std::string catalog = ObjectBytes(file, 15);
  EXPECT_NE(catalog.find("\r/Names 13 0 R\r/OpenAction << /S /JavaScript /JS 6 0 R >>\r\n"
                         "\n/AA << /WC << /Type /Action /S /JavaScript /JS 7 0 R >>\r"
                         " /WS << /Type /Action /S /JavaScript /JS 8 0 R >>\r"
                         " /DS << /Type /Action /S /JavaScript /JS 9 0 R >>\r"
                         " /WP << /Type /Action /S /JavaScript /JS 10 0 R >>\r"
                         " /DP << /Type /Action /S /JavaScript /JS 11 0 R >>\r>> \n"),
            std::string::npos)
      << catalog;
  // The open action closes once: the catalog stays one dictionary.
  EXPECT_EQ(Count(catalog, "<<"), Count(catalog, ">>"));
  pdftest::ExpectReadersAccept(path);
  const auto shown = pdftest::MutoolShow(path, {"trailer/Root/OpenAction"});
  EXPECT_NE(shown.out.find("/JavaScript"), std::string::npos) << shown.out << shown.err;
}

}  // namespace
