// Annotations: the note icon and the free-text box as written, where their
// references go, and readers' view of them (also under protection).

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveAnnotations, NoteIconExampleByteForByte) {
  Probe w;
  const std::string path = TempPdf();
  OpenPage(w, path);
  w.Colours.FillColor = "";  // no fill colour
  w.AddNoteIcon("text", 0, 100, 100);
  EXPECT_EQ(w.Pages.PageAnnots, "4 0 R ");
  w.EndDoc();
  EXPECT_EQ(ObjectBytes(ReadFile(path), 4),
            "4 0 obj\n<< /Type /Annot\r/Subtype /Text\r/Rect [100 742 100 742]\r/F 0\r /Name /Note\r"
            " /Open true  /T (Sevrina) /Contents (text) >>\nendobj\n");
  pdftest::ExpectReadersAccept(path);
}

TEST(InteractiveAnnotations, NoteBoxTable) {
  struct Row {
    const char* name;
    int align, border;
    const char* fill;
    const char* line;
    const char* tail;  // the object line after the rectangle
  };
  const Row rows[] = {
      {"solid", 1, 0, "#FFFF00", "#FF0000",
       " /F 0\r/C [1 1 0]\r/BS << /Type /Border /W 2/S /S>>\r /T (Sevrina) /Contents (Hi) /DA (/Helv 12 Tf 1 0 0 rg) >>"},
      {"right dashed", 2, 1, "#FFFFFF", "#000000", " /F 0\r/Q 2\r/C [1 1 1]\r/BS << /Type /Border /W 2/S /D /D [1 1]>>\r"},
      {"centred beveled", 4, 2, "", "", " /F 0\r/Q 1\r/BS << /Type /Border /W 2/S /B>>\r /T (Sevrina) /Contents (Hi) /DA (/Helv 12 Tf) >>"},
      {"justify inset", 64, 3, "", "", " /F 0\r/BS << /Type /Border /W 2/S /I>>\r"},
      {"underline", 3, 4, "", "", " /F 0\r/BS << /Type /Border /W 2/S /U>>\r"},
      {"no style", 1, 9, "", "", " /F 0\r/BS << /Type /Border /W 2>>\r"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Probe w;
    const std::string path = TempPdf(r.name);
    OpenPage(w, path);
    w.SetScale(255, 2);
    w.SetFont("Arial", 12);
    w.SetLineWidth(1);
    w.Colours.FillColor = r.fill;  // "" stands for a pattern colour
    w.Colours.LineColor = r.line;
    w.AddNoteBox("Hi", 10, 20, 100, 50, r.align, r.border);
    w.EndDoc();
    const std::string file = ReadFile(path);
    const std::string head = "<< /Type /Annot /Subtype /FreeText\r/Rect [20 802 220 702]\r";
    EXPECT_NE(file.find(head + r.tail), std::string::npos) << ObjectWith(file, "/FreeText");
    // The font the box text names is in the form's resources.
    const auto dr = pdftest::MutoolShow(path, {"Root/AcroForm/DR/Font/Helv/BaseFont"});
    EXPECT_EQ(dr.out, "/Helvetica\n") << dr.err;
    pdftest::ExpectReadersAccept(path);
  }
}

TEST(InteractiveAnnotations, RecordedObjectListsItsNotesOnEveryPage) {
  Probe w;
  const std::string path = TempPdf();
  OpenPage(w, path);
  w.BeginObject("frame", pdf::PageRuleEvery);
  w.AddNoteIcon("shared", 1, 10, 10);
  w.EndObject();
  EXPECT_EQ(w.Pages.PageAnnots, "");  // not the page open while recording
  w.BeginPage();
  w.BeginPage();
  w.EndDoc();
  // Pages 2 and 3 list the one object; page 1 lists nothing.
  for (const char* page : {"2", "3"}) {
    const auto shown = pdftest::MutoolShow(path, {"Root/Pages/Kids/" + std::string(page) + "/Annots"});
    EXPECT_NE(shown.out.find("\n[ 4 0 R ]\n"), std::string::npos) << page << shown.out << shown.err;
  }
  EXPECT_EQ(pdftest::MutoolShow(path, {"Root/Pages/Kids/1/Annots"}).out, "null\n");
  pdftest::ExpectReadersAccept(path);
}

TEST(InteractiveAnnotations, ProtectedStringsUseTheAnnotationKey) {
  Probe w;
  const std::string path = TempPdf();
  w.SetProtection(4, "owner", "");
  OpenPage(w, path);
  w.SetFont("Arial", 10);
  w.AddNoteBox("Nota (riservata)", 1, 1, 100, 20);
  w.AddNoteIcon("Seconda nota", 2, 1, 40);
  w.EndDoc();
  EXPECT_EQ(Count(ReadFile(path), "riservata"), 0);
  for (const char* n : {"5", "6"}) {
    const auto shown = pdftest::Qpdf({"--show-object=" + std::string(n), path});
    EXPECT_NE(shown.out.find("/T (Sevrina)"), std::string::npos) << shown.out;
  }
  EXPECT_NE(pdftest::Qpdf({"--show-object=5", path}).out.find("/Contents (Nota \\(riservata\\))"),
            std::string::npos);
  EXPECT_NE(pdftest::Qpdf({"--show-object=6", path}).out.find("/Contents (Seconda nota)"),
            std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
