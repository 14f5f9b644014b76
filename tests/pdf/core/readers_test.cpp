// Whole documents read by the real readers: qpdf, mutool, Ghostscript and
// poppler must accept every file, pages must be A4 at 596 x 842 points.


#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;

// A document shaped like the program's own: centimetres on A4 with margins,
// one "header_footer" object replayed under every page, pages of lines and
// boxes.
void WriteDossier(Probe& w, const std::string& path, int pages, bool protect) {
  if (protect) w.SetProtection(4, "ravoduzorude", "");
  w.BeginDoc(path);
  ASSERT_EQ(w.ErrNumber(), 0);
  w.SetScale(3);
  w.SetMargins(1.5f, 1.5f, 2, 2);
  w.BeginObject("header_footer", 7);
  w.SetColorLine("black");
  w.AppendContent("0.283 w");
  w.AppendContent(w.FormatUnits(0) + " " + w.FormatUnits(1) + " m " + w.FormatUnits(18) + " " +
                  w.FormatUnits(1) + " l S");
  w.AppendContent(w.FormatUnits(0) + " " + w.FormatUnits(25) + " m " + w.FormatUnits(18) + " " +
                  w.FormatUnits(25) + " l S");
  w.EndObject();
  for (int p = 1; p <= pages; ++p) {
    EXPECT_EQ(w.BeginPage(), p);
    for (int i = 0; i < 40; ++i) {
      const float y = 2 + i * 0.5f;
      w.SetColorFill(i % 2 ? "#E0E0E0" : "white");
      w.AppendContent(w.FormatUnits(1) + " " + w.FormatUnits(y) + " " + w.FormatUnits(16) + " " +
                      w.FormatUnits(0.4f) + " re");
      w.PaintOperator(4);
    }
  }
  w.EndDoc();
}

TEST(CoreReaders, DossierWithHeaderFooterOnEveryPage) {
  Probe w;
  const std::string path = TempPdf();
  WriteDossier(w, path, 5, false);
  pdftest::ExpectReadersAccept(path);
  const std::string info = pdftest::Pdfinfo(path).out;
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Pages"), "5");
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Page size"), "596 x 842 pts (A4)");
  const std::string file = ReadFile(path);
  EXPECT_EQ(Count(file, "q /header_footer Do Q"), 5);
  EXPECT_EQ(Count(file, "/Subtype /Form"), 1);
  // Rendered, the frame's rule is on every page.
  for (int p = 1; p <= 5; ++p) {
    const auto shown =
        pdftest::Qpdf({"--show-object=" + std::to_string(4 + 2 * p), "--filtered-stream-data", path});
    EXPECT_EQ(shown.err, "");
    EXPECT_EQ(shown.out.find("1 0 0 -1 42.52 785.307 cm \r0 0 510.961 728.614 re W n\r\r0 0 0 rg\r0 0 0 RG\r"
                             "q /header_footer Do Q\r"),
              0u)
        << p << shown.out.substr(0, 200);
  }
}

TEST(CoreReaders, ProtectedDossier) {
  Probe plain, w;
  const std::string plainPath = TempPdf("plain"), path = TempPdf("protected");
  WriteDossier(plain, plainPath, 3, false);
  WriteDossier(w, path, 3, true);
  pdftest::ExpectReadersAccept(path);
  const std::string info = pdftest::Pdfinfo(path).out;
  EXPECT_EQ(pdftest::PdfinfoValue(info, "Page size"), "596 x 842 pts (A4)");
  EXPECT_NE(pdftest::PdfinfoValue(info, "Encrypted").find("yes"), std::string::npos) << info;
  EXPECT_NE(pdftest::PdfinfoValue(info, "Encrypted").find("print:yes copy:no"), std::string::npos) << info;

  const std::string file = ReadFile(path), plainFile = ReadFile(plainPath);
  // After the last page (objects 5 to 10): the encryption dictionary first.
  const std::string encrypt = ObjectBytes(file, 11);
  EXPECT_NE(encrypt.find("11 0 obj\n<< /Filter /Standard \r/O ("), std::string::npos) << encrypt;
  EXPECT_NE(encrypt.find(")\r/P -60\r/V 1 /R 2 >>\nendobj\n"), std::string::npos) << encrypt;
  const std::string idHead = "/Encrypt 11 0 R /ID [<";
  const std::size_t idAt = file.find(idHead);
  ASSERT_NE(idAt, std::string::npos);
  const std::size_t firstEnd = file.find('>', idAt + idHead.size());
  const std::string first = file.substr(idAt + idHead.size(), firstEnd - idAt - idHead.size());
  ASSERT_EQ(file.substr(firstEnd, 2), "><");
  const std::size_t secondEnd = file.find('>', firstEnd + 2);
  const std::string second = file.substr(firstEnd + 2, secondEnd - firstEnd - 2);
  EXPECT_EQ(file.substr(secondEnd, 5), ">]\n>>");
  EXPECT_EQ(first, second);
  std::string hex;
  for (unsigned char c : std::string("Sevrina PDF writer2.4.4")) {
    char b[3];
    std::snprintf(b, sizeof b, "%02X", c);
    hex += b;
  }
  EXPECT_EQ(first, hex);
  // The catalog holds only the pages, the metadata and the preferences.
  EXPECT_NE(ObjectBytes(file, 13).find("<< /Type /Catalog\r/Pages 1 0 R\r/Metadata 12 0 R\n"
                                       "/ViewerPreferences <<  >>\n>>\n"),
            std::string::npos)
      << ObjectBytes(file, 13);
  // Streams keep their length; their bytes differ; readers decrypt them back.
  const std::string head = "/Length ";
  EXPECT_EQ(ObjectBytes(file, 6).substr(0, ObjectBytes(file, 6).find("stream")),
            ObjectBytes(plainFile, 6).substr(0, ObjectBytes(plainFile, 6).find("stream")));
  EXPECT_NE(ObjectBytes(file, 6), ObjectBytes(plainFile, 6));
  const auto decoded = pdftest::Qpdf({"--show-object=6", "--filtered-stream-data", path});
  const auto plainDecoded = pdftest::Qpdf({"--show-object=6", "--filtered-stream-data", plainPath});
  EXPECT_EQ(decoded.out, plainDecoded.out);
  EXPECT_NE(decoded.out.find("q /header_footer Do Q"), std::string::npos);
  const auto enc = pdftest::Qpdf({"--show-encryption", path});
  EXPECT_NE(enc.out.find("R = 2"), std::string::npos) << enc.out;
  EXPECT_NE(enc.out.find("P = -60"), std::string::npos) << enc.out;
}

// Every setting of the core in one document.
TEST(CoreReaders, LabelsTransitionsPreferencesOutlinesMetadata) {
  for (bool protect : {false, true}) {
    for (int compression : {0, 2}) {
      Probe w;
      const std::string path = TempPdf(std::string(protect ? "p" : "u") + std::to_string(compression));
      if (protect) w.SetProtection(4 | 4096, "owner", "");
      w.SetCompression(compression);
      w.BeginDoc(path);
      w.SetDocProperty("Rossi & C. <dossier> (2024)", "Domanda di contributo", "Mario Rossi");
      w.SetScale(3);
      w.SetMargins(2, 2, 2, 2);
      w.BeginObject("header_footer", 7);
      w.AppendContent("0 0 m 100 0 l S");
      w.EndObject();
      w.BeginObject("stamp", 16 + 14);
      w.AppendContent("0.5 g 10 10 20 20 re f");
      w.EndObject();
      w.SetLabel(2);
      w.SetPageTransition(5, 3, 1);
      w.SetViewerPreferences(2 | 16384 | 256 | 128);
      for (int p = 1; p <= 6; ++p) {
        w.BeginPage();
        if (p == 3) w.SetLabel(1, "Allegato ", 1);
        if (p == 4) w.SetPageTransition(11);
        w.AddBookmark("Pagina " + std::to_string(p), p % 2 ? 1 : 2, 4, 1, 1, 0, 0, 100,
                      p == 2 ? "navy" : "", p == 3 ? 1 : 0);
        w.SetColorFill("@0;100;100;0");
        w.AppendContent("0 0 50 50 re f");
      }
      w.EndDoc();
      SCOPED_TRACE(path);
      pdftest::ExpectReadersAccept(path);
      const std::string info = pdftest::Pdfinfo(path).out;
      EXPECT_EQ(pdftest::PdfinfoValue(info, "Pages"), "6");
      EXPECT_EQ(pdftest::PdfinfoValue(info, "Page size"), "596 x 842 pts (A4)");
      EXPECT_EQ(pdftest::PdfinfoValue(info, "Title"), "Rossi & C. <dossier> (2024)");
      EXPECT_EQ(pdftest::PdfinfoValue(info, "PDF version"), "1.4");
      const auto meta = pdftest::Pdfinfo(path, {"-meta"});
      const auto lint = pdftest::RunTool({"xmllint", "--noout", "-"}, meta.out);
      EXPECT_EQ(lint.exit_code, 0) << lint.err << meta.out;
      const auto labels = pdftest::Qpdf({"--json", "--json-key=pagelabels", path});
      EXPECT_NE(labels.out.find("\"/P\": \"u:Allegato \""), std::string::npos) << labels.out;
      const auto outline = pdftest::MutoolShow(path, {"outline"});
      EXPECT_EQ(outline.err, "");
      EXPECT_NE(outline.out.find("Pagina 6"), std::string::npos) << outline.out;
      const auto text = pdftest::PdfToText(path);
      EXPECT_EQ(text.exit_code, 0) << text.err;
    }
  }
}

TEST(CoreReaders, EveryPaperSize) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  const int codes[] = {-8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  for (int code : codes) {
    w.BeginPage();
    w.SetPaperSize(code);  // read when the page ends
    w.AppendContent("0 0 10 10 re f");
  }
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const std::string info = pdftest::Pdfinfo(path, {"-f", "1", "-l", "26"}).out;
  EXPECT_NE(info.find("Page    9 size:  596 x 842 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Page   10 size:  842 x 596 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Page   17 size:  612 x 792 pts (letter)"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    1 size:  2384 x 3371 pts"), std::string::npos) << info;
}

TEST(CoreReaders, ManyPagesAndObjects) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginObject("header_footer", 7);
  w.AppendContent("0 0 m 500 0 l S");
  w.EndObject();
  for (int p = 1; p <= 400; ++p) {
    w.BeginPage();
    if (p % 50 == 0) w.AddBookmark("Sezione " + std::to_string(p));
    for (int i = 0; i < 20; ++i) w.AppendContent("0 " + std::to_string(i * 10) + " m 100 0 l S");
  }
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  EXPECT_EQ(pdftest::PdfinfoValue(pdftest::Pdfinfo(path).out, "Pages"), "400");
}

}  // namespace
