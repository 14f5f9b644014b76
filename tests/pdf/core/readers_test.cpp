// A whole document with every setting of the core, read by the real
// readers: qpdf, mutool, Ghostscript and poppler must accept it.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

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

}  // namespace
