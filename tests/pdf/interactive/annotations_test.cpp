// Annotations: note icon and free-text box as written, where their references
// go, and their strings under protection.

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveAnnotations, NoteIconExampleByteForByte) {
  const std::string path = TempPdf();
  const std::string file = WriteDoc(path, [](Probe& w) {
    w.Colours.FillColor = "";  // no fill colour
    w.AddNoteIcon("text", 0, 100, 100);
  });
  EXPECT_EQ(core_test::ObjectBytes(file, 4), "4 0 obj\n<< /Type /Annot\r/Subtype /Text\r/Rect [100 742 100 742]\r/F 0\r"
                                             " /Name /Note\r /Open true  /T (Sevrina) /Contents (text) >>\nendobj\n");
}

TEST(InteractiveAnnotations, NoteBoxTable) {
  // tail: after the rectangle; base: the font the form's resources give the
  // name the box text uses (a family called so, when there is one)
  struct Row { int align, border; const char *fill, *line, *tail, *family = "Arial", *base = "/Helvetica"; };
  const Row rows[] = {
      {1, 0, "#FFFF00", "#FF0000", " /F 0\r/C [1 1 0]\r/BS << /Type /Border /W 2/S /S>>\r /T (Sevrina) /Contents (Hi) /DA (/Helv 12 Tf 1 0 0 rg) >>"},
      {2, 1, "#FFFFFF", "#000000", " /F 0\r/Q 2\r/C [1 1 1]\r/BS << /Type /Border /W 2/S /D /D [1 1]>>\r"},
      {4, 2, "", "", " /F 0\r/Q 1\r/BS << /Type /Border /W 2/S /B>>\r /T (Sevrina) /Contents (Hi) /DA (/Helv 12 Tf) >>"},
      {64, 3, "", "", " /F 0\r/BS << /Type /Border /W 2/S /I>>\r"}, {3, 9, "", "", " /F 0\r/BS << /Type /Border /W 2>>\r"},
      {1, 0, "", "", " /F 0\r/BS << /Type /Border /W 2/S /S>>\r /T (Sevrina) /Contents (Hi) /DA (/Helv 12 Tf) >>", "Helv", "/Arial"},
  };
  for (const Row& r : rows) {
    const std::string path = TempPdf(std::to_string(&r - rows));
    const std::string file = WriteDoc(path, [&](Probe& w) {
      w.SetScale(255, 2);
      w.SetFont(r.family, 12);
      w.SetLineWidth(1);
      w.Colours.FillColor = r.fill;  // "" stands for a pattern colour
      w.Colours.LineColor = r.line;
      w.AddNoteBox("Hi", 10, 20, 100, 50, r.align, r.border);
    });
    EXPECT_NE(file.find(std::string("/FreeText\r/Rect [20 802 220 702]\r") + r.tail), std::string::npos) << r.tail;
    // The font the box text names is in the form's resources.
    EXPECT_EQ(pdftest::MutoolShow(path, {"Root/AcroForm/DR/Font/Helv/BaseFont"}).out, std::string(r.base) + "\n");
    pdftest::ExpectReadersAccept(path);
  }
}

TEST(InteractiveAnnotations, RecordedNotesOnEveryPageAndProtectedStrings) {
  Probe w;
  const std::string path = TempPdf();
  w.SetProtection(4, "owner", "");
  w.BeginDoc(path);
  w.BeginPage();
  w.BeginObject("frame", pdf::PageRuleEvery);
  w.AddNoteIcon("Nota (riservata)", 1, 10, 10);
  w.EndObject();
  w.BeginObject("odd", pdf::PageRuleOdd | pdf::PageRuleOver);  // played as each odd page ends
  w.AddNoteIcon("Dispari", 1, 30, 10);
  w.EndObject();
  w.BeginPage();
  w.BeginPage();
  w.EndDoc();
  EXPECT_EQ(Count(ReadFile(path), "riservata"), 0);
  EXPECT_NE(pdftest::Qpdf({"--show-object=4", path}).out.find("/Contents (Nota \\(riservata\\))"), std::string::npos);
  const char* kAnnots[] = {"[ 6 0 R ]", "[ 4 0 R ]", "[ 4 0 R 6 0 R ]"};  // page 1 began before the recordings
  for (const char* page : {"1", "2", "3"}) {  // mutool counts from 1
    const std::string annots = pdftest::MutoolShow(path, {"Root/Pages/Kids/" + std::string(page) + "/Annots"}).out;
    EXPECT_NE(annots.find("\n" + std::string(kAnnots[page[0] - '1']) + "\n"), std::string::npos) << page << annots;
  }
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
