// The bytes of the pages the writer ends: page object, content stream,
// annotations and field widgets.

#include "tests/pdf/core/core_probe.h"

namespace {

using namespace core_test;

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

TEST(CorePages, AnnotationsAndFieldWidgets) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  const auto record = [](const char* name, const std::string& rect_and_type, std::int32_t type) {
    pdf::FieldRecord f;
    f.Name = name;
    f.DictionaryStart = "<< /Type /Annot /Subtype /Widget /Rect " + rect_and_type;
    f.FieldType = type;
    return f;
  };
  pdf::FieldRecord text = record("name", "[10 10 100 30] /FT /Tx", 0);
  text.DefaultAppearance = "/Arial,Bold 10 Tf 0 g";
  text.AppearanceCharacteristics = " /BG [1 1 1]";
  text.Value = "v (1)";
  text.Tooltip = "tip";
  w.AddFieldRecord(text);
  pdf::FieldRecord choice = record("pick", "[10 40 100 60] /FT /Ch /Ff 131072", 2);
  choice.DefaultAppearance = "0 g";
  choice.Value = "one|two|three";
  choice.SelectedOption = 2;
  choice.Actions = "/K << /S /JavaScript /JS (1;) >>";
  choice.CalculationFlag = true;
  w.AddFieldRecord(choice);
  pdf::FieldRecord beyond = choice;  // a selection past the options selects nothing
  beyond.Name = "beyond";
  beyond.SelectedOption = 4;
  beyond.Actions.clear();
  w.AddFieldRecord(beyond);
  pdf::FieldRecord button = record("ok", "[10 70 100 90] /FT /Btn /Ff 65536", 1);
  button.Caption = "OK";
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

// The pages each page rule draws its recorded object on (of five), under the
// page's own content, or over it with 16.
TEST(CorePages, RecordedObjectsByPageRule) {
  const struct { std::int32_t rule; const char* pages; } rows[] = {
      {0, ""}, {1, "1"}, {2, "2 4"}, {3, "1 2 4"}, {4, "1 3 5"}, {6, "1 2 3 4 5"}, {8, ""}, {9, ""},
      {10, "2 4"}, {12, "3 5"}, {14, "2 3 4 5"}, {16 + 2, "2 4"}, {16 + 7, "1 2 3 4 5"},
  };
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  for (const auto& r : rows) {
    w.BeginObject("r" + std::to_string(r.rule), r.rule);
    w.AppendContent("0 0 m 1 1 l S");
    w.EndObject();
  }
  for (int p = 1; p <= 5; ++p) {
    w.BeginPage();
    w.AppendContent("0 0 m 9 9 l S");  // the page's own content
  }
  w.EndDoc();
  const std::string file = ReadFile(path);
  std::vector<std::string> pages;
  for (std::size_t at = file.find("stream\n1 0 0 -1 "); at != std::string::npos; at = file.find("stream\n1 0 0 -1 ", at + 1))
    pages.push_back(file.substr(at, file.find("endstream", at) - at));
  ASSERT_EQ(pages.size(), 5u);
  for (const auto& r : rows) {
    std::string drawn;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const std::size_t at = pages[p].find("\rq /r" + std::to_string(r.rule) + " Do Q");
      if (at == std::string::npos) continue;
      drawn += (drawn.empty() ? "" : " ") + std::to_string(p + 1);
      EXPECT_EQ(at > pages[p].find("0 0 m 9 9 l S"), r.rule >= 16) << r.rule << " on page " << p + 1;
    }
    EXPECT_EQ(drawn, r.pages) << "rule " << r.rule;
  }
  pdftest::ExpectReadersAccept(path);
}

TEST(CorePages, PageScripts) {
  Probe w;
  const std::string path = TempPdf();
  w.BeginDoc(path);
  w.BeginPage();
  w.OnDocEvent(0, "app.alert('open');", true);
  w.OnDocEvent(1, "app.alert('close');", true);
  w.BeginPage();  // ends page 1 with its scripts; they stay for page 2
  w.OnDocEvent(1, "app.alert('2');", true);
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
