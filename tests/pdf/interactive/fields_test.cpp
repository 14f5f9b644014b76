// Form fields: the widget dictionary each option gives, a form with every
// field type as readers list it, field scripts, and a bad Param.

#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;

TEST(InteractiveFields, OptionsTable) {
  struct Row {
    int type, options;
    const char* value;
    pdf::PdfWriter::FieldParam param;
    const char* dictionary;  // the widget dictionary after the rectangle
    const char* characteristics;
    int version;  // the header's minor version
  };
  const Row rows[] = {
      {0, 0, "v", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Tx /Ff 0 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ", 3},
      {0, 1 | 8 | 16 | 2048 | 32768, "v", "12", " /F 6 \r/BS << /Type /Border /W 2 /S /S>> /FT /Tx /Ff 4097 \r/Q 2  /MaxLen 12 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ", 3},
      {0, 3 | 4 | 32 | 256 | 4096 | 65536 | 524288, "v", -3, " /F 2 \r/BS << /Type /Border /W 3 /S /I>> /FT /Tx /Ff 4202496 \r/Q 1 ", " /BC [ 1 0 0 ] ", 4},
      {0, 2 | 16384 | 1024 | 67108864, "v", 0, " /FT /Tx /Ff 16777216 ", " /BG [ 1 1 0 ] /R 90 ", 5},
      {1, 131072 | 262144 | 4194304 | 134217728, "TRUE", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /D /D [ 1 1 ]>> /FT /Btn /Ff 0 /V /S#EC /DV /S#EC ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] /R 180 ", 3},
      {1, 262144 | 16777216 | 268435456, "yes", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /B>> /FT /Btn /Ff 0 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] /R 270 ", 3},
      {4, 1048576 | 512, "true", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /U>> /FT /Btn /Ff 8437760 /V /S#EC /DV /S#EC ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ", 4},
      {2, 128, "a|b|c", 2.5, " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Ch /Ff 2097152 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ", 3},
      {3, 0, "a|b", "1", " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Ch /Ff 131072 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ", 3},
      {5, 4, "OK", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Btn /Ff 65536", " /BC [ 1 0 0 ] ", 3},
  };
  for (const Row& r : rows) {
    const std::size_t i = static_cast<std::size_t>(&r - rows);
    SCOPED_TRACE(i);
    Probe w;
    const std::string path = TempPdf(std::to_string(i));
    OpenPage(w, path);
    w.SetFont("Arial", 9);
    w.SetColorFill("#FFFF00");
    w.SetColorLine("#FF0000");
    w.AddField("f", r.type, 10, 20, 100, 30, r.value, r.param, "", r.options);
    const pdf::FieldRecord& f = w.Forms.Fields[1];
    EXPECT_EQ(f.DictionaryStart, "<< /Type /Annot /Subtype /Widget \r /Rect [ 10 822 110 792]" + std::string(r.dictionary));
    EXPECT_EQ(f.AppearanceCharacteristics, r.characteristics);
    EXPECT_EQ(f.DefaultAppearance, (r.options & 8192) ? "/Arial 0 Tf 0 0 0 rg " : "/Arial 9 Tf 0 0 0 rg ");
    w.EndDoc();
    EXPECT_EQ(ReadFile(path).substr(0, 8), "%PDF-1." + std::to_string(r.version));
    EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0);
  }
}

TEST(InteractiveFields, FormWithEveryFieldType) {
  Probe w;
  const std::string path = TempPdf();
  OpenPage(w, path);
  w.AddField("nome", 0, 50, 50, 200, 20, "Mario (R.)", 30, "Il nome");  // no font yet: the form font
  w.SetFont("Arial", 10);
  w.AddField("privacy", 1, 50, 80, 15, 15, "true");
  w.AddField("scelta", 2, 50, 110, 200, 60, "uno|due|tre", 3);
  w.AddField("comune", 3, 50, 180, 200, 20, "Vareri|Ortesa", 9);  // beyond the options: no value
  w.AddField("tipo", 4, 50, 210, 15, 15, "false");
  w.AddField("invia", 5, 50, 240, 80, 20, "Invia", "this.submitForm();");
  w.EndDoc();
  const auto acro = pdftest::MutoolShow(path, {"Root/AcroForm"});
  EXPECT_EQ(acro.err, "");
  EXPECT_NE(acro.out.find("/Fields [ 6 0 R 7 0 R 8 0 R 9 0 R 10 0 R 11 0 R ]"), std::string::npos) << acro.out;
  EXPECT_NE(acro.out.find("/Helv"), std::string::npos);
  const std::string json = pdftest::Qpdf({"--json", "--json-key=acroform", path}).out;
  for (const char* want : {"\"fullname\": \"nome\"", "\"value\": \"u:Mario (R.)\"", "\"alternativename\": \"Il nome\"",
                           "\"ischeckbox\": true", "\"fullname\": \"scelta\"", "\"value\": \"u:tre\"",
                           "\"fullname\": \"comune\"", "\"isradiobutton\": true", "\"fullname\": \"invia\""}) {
    EXPECT_NE(json.find(want), std::string::npos) << want;
  }
  EXPECT_EQ(Count(json, "\"fieldtype\": \"/Ch\""), 2);
  EXPECT_EQ(ObjectWith(ReadFile(path), "(comune)").find("/V"), std::string::npos);
  EXPECT_NE(pdftest::Pdfinfo(path, {"-js"}).out.find("this.submitForm();"), std::string::npos);
  EXPECT_EQ(pdftest::QpdfCheck(path).exit_code, 0);
  EXPECT_EQ(pdftest::MutoolShow(path, {"xref"}).err, "");
  EXPECT_EQ(pdftest::GhostscriptCheck(path).exit_code, 0);  // it notes buttons without appearances
}

TEST(InteractiveFields, ScriptsReachFieldsByDottedName) {
  Probe w;
  const std::string path = TempPdf();
  OpenPage(w, path);
  for (const char* name : {"addr", "addr.street", "address", "addr.city"}) w.AddField(name, 0, 1, 1, 10, 10, "");
  w.OnFieldEvent(6, "addr", "k();");
  w.OnFieldEvent(6, "addr.city", "k2();");
  w.OnFieldEvent(8, "addr.street", "c();");
  w.OnFieldEvent(0, "address", "a();");
  w.OnFieldEvent(5, "nobody", "b();");  // written, attached to nothing
  w.EndDoc();
  const std::string file = ReadFile(path);
  EXPECT_NE(ObjectWith(file, "/T (addr)").find(" /AA <<  /K << /S /JavaScript /JS 4 0 R >>  >> "), std::string::npos);
  EXPECT_NE(ObjectWith(file, "/T (addr.city)").find("/AA <<  /K << /S /JavaScript /JS 4 0 R /Next [ << /S /JavaScript /JS 5 0 R >> ] >>  >>"), std::string::npos);
  EXPECT_NE(ObjectWith(file, "/T (address)").find(" /V () /DV ()  /A << /S /JavaScript /JS 7 0 R >>  /P"), std::string::npos);
  EXPECT_NE(ObjectWith(file, "stream\nb();"), "");
  EXPECT_NE(file.find("/CO [10 0 R ]"), std::string::npos);  // only the field with a calculation
  const std::string js = pdftest::Pdfinfo(path, {"-js"}).out;
  EXPECT_EQ(Count(js, "k();"), 3);
  pdftest::ExpectReadersAccept(path);
}

TEST(InteractiveFields, ParamThatIsNoNumberAddsNoField) {
  Probe w;
  OpenPage(w, TempPdf());
  for (const auto& bad : {pdf::PdfWriter::FieldParam("dieci"), pdf::PdfWriter::FieldParam(""), pdf::PdfWriter::FieldParam(3e10)}) {
    try {
      w.AddField("x", 0, 1, 1, 10, 10, "", bad);
      ADD_FAILURE() << "accepted";
    } catch (const pdf::PdfError& e) {
      EXPECT_TRUE(e.Number() == 13 || e.Number() == 6) << e.Number();
    }
  }
  EXPECT_EQ(w.Forms.FieldCount, 0);
  w.AddField("x", 1, 1, 1, 10, 10, "", "dieci");  // a check box reads no Param
  EXPECT_EQ(w.Forms.FieldCount, 1);
}

}  // namespace
