// Paper, unit, margins, rotation, the current point, and the bytes of the
// pages the writer ends.

#include "tests/pdf/core/core_probe.h"

namespace {

using core_test::Count;
using core_test::ObjectBytes;
using core_test::Probe;
using core_test::ReadFile;
using core_test::TempPdf;
using pdf::PdfError;

TEST(CorePages, PaperSizes) {
  const struct {
    int code;
    float w, h;
  } cases[] = {{-8, 2384, 3371}, {-7, 3371, 2384}, {-6, 1685, 2384}, {-5, 2384, 1685},
               {-4, 1192, 1685}, {-3, 1685, 1192}, {-2, 842, 1192},  {-1, 1192, 842},
               {0, 596, 842},    {1, 842, 596},    {2, 421, 596},    {3, 596, 421},
               {4, 298, 421},    {5, 421, 298},    {6, 210, 298},    {7, 298, 210},
               {8, 612, 792},    {9, 792, 612},    {10, 792, 1224},  {11, 1224, 792},
               {12, 612, 1008},  {13, 1008, 612},  {14, 396, 612},   {15, 612, 396},
               {16, 522, 756},   {17, 756, 522}};
  for (const auto& c : cases) {
    Probe w;
    w.SetPaperSize(9);  // something else first
    w.SetPaperSize(c.code);
    EXPECT_EQ(w.GetPageWidth(), c.w) << c.code;
    EXPECT_EQ(w.GetPageHeight(), c.h) << c.code;
  }
  Probe w;
  for (int code : {18, 254, -9, 256}) {
    w.SetPaperSize(code);
    EXPECT_EQ(w.GetPageWidth(), 596.0f) << code;
  }
  w.SetScale(3);
  w.SetPaperSize(255, 100, 50);
  EXPECT_EQ(w.Pages.PageWidth, 100 * 28.346457f);
  EXPECT_EQ(w.Pages.PageHeight, 50 * 28.346457f);
  EXPECT_FLOAT_EQ(w.Pages.PageWidth, 2834.6457f);
}

TEST(CorePages, UnitsMarginsAndGetters) {
  Probe w;
  const struct {
    int mode;
    float factor;
  } units[] = {{0, 1}, {1, 72}, {2, 2.8346455f}, {3, 28.346457f}};
  for (const auto& u : units) {
    w.SetScale(u.mode);
    EXPECT_EQ(w.Pages.ScaleFactor, u.factor);
  }
  w.SetScale(255, 2.5f);
  EXPECT_EQ(w.Pages.ScaleFactor, 2.5f);
  w.SetScale(7, 9);  // unknown: unchanged
  EXPECT_EQ(w.Pages.ScaleFactor, 2.5f);

  w.SetScale(3);
  w.SetMargins(2, 2, 2, 2, false);
  const float s = 28.346457f;
  EXPECT_EQ(w.GetPageWidth(true), (596.0f - (2 * s + 2 * s)) / s);
  EXPECT_GT(w.GetPageWidth(true), 17.0f);
  EXPECT_EQ(w.GetPageHeight(true), (842.0f - (2 * s + 2 * s)) / s);
  EXPECT_EQ(w.GetPageWidth(), 596.0f / s);

  w.SetXY(3, 4);
  EXPECT_EQ(w.Pages.CurrentX, 3 * s);
  EXPECT_EQ(w.GetX(), (3 * s) / s);
  EXPECT_EQ(w.GetY(), (4 * s) / s);

  // A scale factor of 0 is a division by zero for the getters.
  w.SetScale(255, 0);
  for (auto call : {+[](Probe& p) { p.GetPageWidth(); }, +[](Probe& p) { p.GetPageHeight(); },
                    +[](Probe& p) { p.GetX(); }, +[](Probe& p) { p.GetY(); }}) {
    try {
      call(w);
      ADD_FAILURE() << "no failure";
    } catch (const PdfError& e) {
      EXPECT_EQ(e.Number(), 11);
    }
  }
  w.SetScale(255, 1e30f);
  EXPECT_THROW(w.SetXY(1e30f, 0), PdfError);
  EXPECT_THROW(w.SetMargins(1e30f), PdfError);
}

TEST(CorePages, BeginPageNumbersAndResets) {
  Probe w;
  w.BeginDoc(TempPdf());
  w.SetScale(3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(w.BeginPage(), i);
    EXPECT_EQ(w.GetPage(), i);
    EXPECT_EQ(w.GetX(), 0.0f);
    EXPECT_EQ(w.GetY(), 0.0f);
    EXPECT_EQ(w.Text.CharSpacing, 0.0f);
    EXPECT_EQ(w.Text.HorizontalScaling, 100.0f);
    // The page starts with the two black colour lines; the text colour is
    // only stored.
    EXPECT_EQ(w.PageText(), "\r0 0 0 rg\r0 0 0 RG");
    w.SetXY(5, 6);
    EXPECT_EQ(w.PageText(), "\r0 0 0 rg\r0 0 0 RG");  // SetXY writes nothing
    w.Text.CharSpacing = 3;
    w.Text.HorizontalScaling = 50;
  }
  EXPECT_EQ(w.Text.HorizontalScaling, 50.0f);  // reset by the next BeginPage only
  w.EndPage();
  w.EndPage();  // no page open: nothing
  w.EndDoc();
  EXPECT_EQ(pdftest::PdfinfoValue(pdftest::Pdfinfo(w.Output.FileName).out, "Pages"), "3");
}

TEST(CorePages, PageObjectAndContentBytes) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetScale(3);
  w.SetMargins(2, 2, 2, 2, false);
  w.BeginPage();
  w.AppendContent("0 0 m 10 10 l S");
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_EQ(ObjectBytes(file, 4),
            "4 0 obj\n<< /Type /Page /Parent 1 0 R /Contents 5 0 R\r/MediaBox [0 0 596 842]\r"
            "/CropBox [0 0 596 842]\r/BleedBox [0 0 596 842]\r/Resources 2 0 R>>\nendobj\n");
  const std::string content = "1 0 0 -1 56.693 785.307 cm \r\r0 0 0 rg\r0 0 0 RG\r0 0 m 10 10 l S";
  EXPECT_EQ(ObjectBytes(file, 5), "5 0 obj\n<<\n/Length " + std::to_string(content.size()) +
                                      " >>\rstream\n" + content + "\nendstream\nendobj\n");
}

TEST(CorePages, ClipLineAndRotation) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetScale(3);
  w.SetMargins(3, 3, 2, 1.5f);  // clipping on by default
  w.SetPageView(3);             // every page from now on
  w.BeginPage();
  w.BeginPage();
  w.SetPageView(2);  // this page only
  w.BeginPage();
  w.SetPageView(7);  // no rotation entry
  w.BeginPage();
  w.EndDoc();
  const std::string file = ReadFile(path);
  const float s = 28.346457f;
  const std::string head = "1 0 0 -1 " + Probe::FormatNumber(3 * s) + " " +
                           Probe::FormatNumber(842 - 2 * s) + " cm \r0 0 " +
                           Probe::FormatNumber(596.0f - 3 * s - 3 * s) + " " +
                           Probe::FormatNumber(842.0f - 1.5f * s - 2 * s) + " re W n\r";
  EXPECT_EQ(head, "1 0 0 -1 85.039 785.307 cm \r0 0 425.921 742.787 re W n\r");
  EXPECT_EQ(Count(file, head + "\r0 0 0 rg"), 4);
  EXPECT_NE(ObjectBytes(file, 4).find("/Contents 5 0 R\r/Rotate 90\r/MediaBox"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 6).find("/Rotate 180\r"), std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 8).find("/Rotate"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 10).find("/Rotate 90\r"), std::string::npos);
  EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0);
  const std::string info = pdftest::Pdfinfo(path, {"-f", "1", "-l", "4"}).out;
  EXPECT_NE(info.find("Page    1 rot:   90"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 rot:   180"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    3 rot:   0"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    4 rot:   90"), std::string::npos) << info;
}

TEST(CorePages, RotationCodesOneIs270) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.SetPageView(1);
  w.BeginPage();
  w.EndDoc();
  EXPECT_NE(ReadFile(path).find("/Rotate 270\r"), std::string::npos);
}

TEST(CorePages, SizeAndMarginsAreReadWhenThePageEnds) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.SetPaperSize(1);
  w.SetMargins(10, 0, 20, 0, false);
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_NE(ObjectBytes(file, 4).find("/MediaBox [0 0 842 596]"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 5).find("stream\n1 0 0 -1 10 576 cm \r\r"), std::string::npos);
}

TEST(CorePages, AnnotationsAndFieldWidgets) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  pdf::FieldRecord text;
  text.Name = "name";
  text.DictionaryStart = "<< /Type /Annot /Subtype /Widget /Rect [10 10 100 30] /FT /Tx";
  text.DefaultAppearance = "/Arial,Bold 10 Tf 0 g";
  text.AppearanceCharacteristics = " /BG [1 1 1]";
  text.Value = "v (1)";
  text.Tooltip = "tip";
  text.FieldType = 0;
  w.AddFieldRecord(text);
  pdf::FieldRecord choice;
  choice.Name = "pick";
  choice.DictionaryStart = "<< /Type /Annot /Subtype /Widget /Rect [10 40 100 60] /FT /Ch /Ff 131072";
  choice.DefaultAppearance = "0 g";
  choice.Value = "one|two|three";
  choice.SelectedOption = 2;
  choice.FieldType = 2;
  choice.Actions = "/K << /S /JavaScript /JS (1;) >>";
  choice.CalculationFlag = true;
  w.AddFieldRecord(choice);
  pdf::FieldRecord beyond = choice;  // a selection past the options selects nothing
  beyond.Name = "beyond";
  beyond.SelectedOption = 4;
  beyond.Actions.clear();
  w.AddFieldRecord(beyond);
  pdf::FieldRecord button;
  button.Name = "ok";
  button.DictionaryStart = "<< /Type /Annot /Subtype /Widget /Rect [10 70 100 90] /FT /Btn /Ff 65536";
  button.Caption = "OK";
  button.FieldType = 1;
  button.SelectedOption = 9;
  w.AddFieldRecord(button);
  w.EndDoc();
  const std::string file = ReadFile(path);
  // Widgets 4 to 7 point at page 8; its content is 9, its annotations 10.
  EXPECT_EQ(ObjectBytes(file, 4),
            "4 0 obj\n<< /Type /Annot /Subtype /Widget /Rect [10 10 100 30] /FT /Tx /DA (/Arial,Bold 10 Tf 0 g)"
            " /T (name) /TU (tip) /MK << /BG [1 1 1]>> \r /V (v \\(1\\)) /DV (v \\(1\\))  /P 8 0 R >>\nendobj\n");
  EXPECT_EQ(ObjectBytes(file, 5),
            "5 0 obj\n<< /Type /Annot /Subtype /Widget /Rect [10 40 100 60] /FT /Ch /Ff 131072 /DA (0 g)"
            " /T (pick) /MK <<>> /Opt [ (one)(two)(three) ]  /DV (two) /V (two) /AA << /K << /S /JavaScript"
            " /JS (1;) >> >>  /P 8 0 R >>\nendobj\n");
  EXPECT_NE(ObjectBytes(file, 6).find("/Opt [ (one)(two)(three) ]  /P 8 0 R >>"), std::string::npos)
      << ObjectBytes(file, 6);
  EXPECT_NE(ObjectBytes(file, 7).find(" /MK << /CA (OK) >>  /P 8 0 R >>"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 8).find("/BleedBox [0 0 596 842]\r/Annots 10 0 R/Resources 2 0 R>>"),
            std::string::npos);
  EXPECT_EQ(ObjectBytes(file, 10), "10 0 obj\n[ 4 0 R 5 0 R 6 0 R 7 0 R  ]\nendobj\n");
  EXPECT_NE(file.find("/AcroForm <</NeedAppearances true /Fields [4 0 R 5 0 R 6 0 R 7 0 R ] /CO [5 0 R ] /DR"),
            std::string::npos);
  pdftest::ExpectReadersAccept(path);
}

TEST(CorePages, PageScripts) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.SetScript(0, "app.alert('open');");
  w.SetScript(1, "app.alert('close');");
  w.BeginPage();  // ends page 1 with its scripts; they stay for page 2
  w.SetScript(1, "app.alert('2');");
  w.EndDoc();
  const std::string file = ReadFile(path);
  // Scripts 4 and 5 come before page 1 (object 6).
  EXPECT_NE(ObjectBytes(file, 4).find("stream\napp.alert('open');\nendstream"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 6).find("/Resources 2 0 R\n/AA << /O << /Type /Action /S /JavaScript /JS 4 0 R >>\r"
                                      " /C << /Type /Action /S /JavaScript /JS 5 0 R >>\r>> >>"),
            std::string::npos);
  // Page 2 (object 10) gets its own copy of the open script and the new close script.
  EXPECT_NE(ObjectBytes(file, 8).find("stream\napp.alert('open');\nendstream"), std::string::npos);
  EXPECT_NE(ObjectBytes(file, 10).find("/Resources 2 0 R\n/AA << /O << /Type /Action /S /JavaScript /JS 8 0 R >>\r"
                                       " /C << /Type /Action /S /JavaScript /JS 9 0 R >>\r>> >>"),
            std::string::npos)
      << ObjectBytes(file, 10);
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
