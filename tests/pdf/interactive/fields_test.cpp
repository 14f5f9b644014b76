// Form fields and scripts: the widget each option gives, a form with every
// field type and the document's scripts as readers list them, scripts
// reaching fields by dotted name.

#include "tests/pdf/graphics/graphics_probe.h"
#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;
using Param = pdf::PdfWriter::FieldParam;

TEST(InteractiveFields, OptionsTable) {
  // dictionary: after the rectangle; version: the header's minor version.
  struct Row { int type, options; const char* value; Param param; const char *dictionary, *characteristics; char version; };
  const char* both = " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] ";
  const Row rows[] = {
      {0, 1 | 8 | 16 | 2048 | 32768, "v", "12", " /F 6 \r/BS << /Type /Border /W 2 /S /S>> /FT /Tx /Ff 4097 \r/Q 2  /MaxLen 12 ", both, '3'},
      {0, 3 | 4 | 32 | 256 | 4096 | 65536 | 524288, "v", -3, " /F 2 \r/BS << /Type /Border /W 3 /S /I>> /FT /Tx /Ff 4202496 \r/Q 1 ", " /BC [ 1 0 0 ] ", '4'},
      {0, 2 | 16384 | 1024 | 67108864, "v", 0, " /FT /Tx /Ff 16777216 ", " /BG [ 1 1 0 ] /R 90 ", '5'},
      {1, 131072 | 262144 | 134217728, "TRUE", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /D /D [ 1 1 ]>> /FT /Btn /Ff 0 /V /S#EC /DV /S#EC /AS /S#EC ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] /R 180 ", '3'},
      {4, 1048576 | 512, "true", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /U>> /FT /Btn /Ff 8437760 /V /S#EC /DV /S#EC /AS /S#EC ", both, '4'},
      {4, 0, "no", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Btn /Ff 49152 /AS /Off ", both, '3'},
      {2, 128 | 262144 | 268435456 | 8192, "a|b|c", 2.5, " /F 4 \r/BS << /Type /Border /W 1 /S /B>> /FT /Ch /Ff 2097152 ", " /BG [ 1 1 0 ]  /BC [ 1 0 0 ] /R 270 ", '3'},
      {5, 4, "OK", 0, " /F 4 \r/BS << /Type /Border /W 1 /S /S>> /FT /Btn /Ff 65536", " /BC [ 1 0 0 ] ", '3'},
  };
  for (const Row& r : rows) {
    const std::string path = TempPdf(std::to_string(&r - rows));
    const std::string file = WriteDoc(path, [&](Probe& w) {
      w.SetFont("Arial", 9);
      w.SetColorFill("#FFFF00");
      w.SetColorLine("#FF0000");
      w.AddField("f", r.type, 10, 20, 100, 30, r.value, r.param, "", r.options);
      const pdf::FieldRecord& f = w.Forms.Fields[1];
      EXPECT_EQ(f.DictionaryStart + "|" + f.AppearanceCharacteristics + "|" + f.DefaultAppearance,
                "<< /Type /Annot /Subtype /Widget \r /Rect [ 10 822 110 792]" + std::string(r.dictionary) + "|" +
                    r.characteristics + ((r.options & 8192) ? "|/Arial 0 Tf 0 0 0 rg " : "|/Arial 9 Tf 0 0 0 rg "));
    });
    EXPECT_EQ(file[7], r.version);
    pdftest::ExpectReadersAccept(path);
  }
  // A Param that is no number fails the call, which then adds no field.
  WriteDoc(TempPdf("bad"), [](Probe& w) {
    for (const Param& bad : {Param("dieci"), Param(""), Param(3e10)}) EXPECT_THROW(w.AddField("x", 0, 1, 1, 10, 10, "", bad), pdf::PdfError);
    EXPECT_EQ(w.Forms.FieldCount, 0);
  });
  // A type that is none of the six fails with 5 and adds nothing; the
  // page's other fields stay, and every reader takes the file.
  const std::string path = TempPdf("types");
  const std::string file = WriteDoc(path, [](Probe& w) {
    w.AddField("kept", 0, 10, 10, 100, 20, "v");
    for (const int type : {-1, 6, 7, 255, 2147483647, -2147483647 - 1}) {
      try {
        w.AddField("x", type, 10, 40, 100, 20, "v", 0);
        ADD_FAILURE() << type;
      } catch (const pdf::PdfError& e) {
        EXPECT_EQ(e.Number(), 5) << type;
      }
    }
    EXPECT_EQ(w.Forms.FieldCount, 1);
  });
  EXPECT_EQ(pdftest::Count(file, "/Subtype /Widget"), 1);
  EXPECT_EQ(pdftest::Count(file, "(kept)"), 1);
  pdftest::ExpectReadersAccept(path);
}

TEST(InteractiveFields, FormWithEveryFieldTypeAndDocumentScripts) {
  const std::string path = TempPdf();
  const std::string file = WriteDoc(path, [](Probe& w) {
    w.AddField("nome", 0, 50, 50, 200, 20, "Mario (R.)", 30, "Il nome");  // no font yet: the form font
    w.SetFont("Arial", 10);
    w.AddField("privacy", 1, 50, 80, 15, 15, "true");
    w.AddField("scelta", 2, 50, 110, 200, 60, "uno|due|tre", 3);
    w.AddField("comune", 3, 50, 180, 200, 20, "Vareri|Ortesa", 9);  // beyond the options: no value
    w.AddField("tipo", 4, 50, 210, 15, 15, "false");
    w.AddField("invia", 5, 50, 240, 80, 20, "Invia", "this.submitForm();");
    w.OnDocEvent(0, "pagina();");  // for the page open while it is set: written before its fields
    w.OnDocEvent(4, "stampa();");
    w.OnDocEvent(8, "function globale() {}");
    w.BeginPage();
    // A family named like the form font: the form's resources still hold
    // the name once, the field's default appearance finding that font.
    w.SetFont("Helv", 10);
    w.DrawText(50, 50, "Helv");
  });
  const auto acro = pdftest::MutoolShow(path, {"Root/AcroForm"});
  EXPECT_NE(acro.out.find("/Fields [ 7 0 R 8 0 R 9 0 R 10 0 R 11 0 R 12 0 R ]"), std::string::npos) << acro.out << acro.err;
  const std::string json = pdftest::Qpdf({"--json", "--json-key=acroform", path}).out + pdftest::Pdfinfo(path, {"-js"}).out;
  for (const char* want : {"\"value\": \"u:Mario (R.)\"", "\"alternativename\": \"Il nome\"", "\"ischeckbox\": true",
                           "\"value\": \"u:tre\"", "\"isradiobutton\": true", "\"fullname\": \"invia\"",
                           "\"globalscript\":\nfunction globale() {}", "Before Print Document:\nstampa();",
                           "Page Open:\npagina();", "Field Activated:\nthis.submitForm();"}) {
    EXPECT_NE(json.find(want), std::string::npos) << want;
  }
  EXPECT_EQ(ObjectWith(file, "(comune)").find("/V"), std::string::npos);
  EXPECT_EQ(Count(ObjectWith(file, "/AcroForm"), "/Helv "), 1);
  pdftest::ExpectReadersAccept(path);  // Ghostscript notes the buttons without appearances
}

TEST(InteractiveFields, TickedButtonsShowTheirGlyphInRenderings) {
  // Readers build the buttons' appearances themselves: a ticked check box
  // or option button shows its glyph, an unticked one an empty box.
  const std::string path = TempPdf();
  const struct { const char* name; int type; const char* value; } buttons[] = {
      {"si", 1, "true"}, {"no", 1, "false"}, {"scelta", 4, "TRUE"}, {"altra", 4, ""}};
  WriteDoc(path, [&](Probe& w) {
    w.SetFont("Arial", 12);
    w.SetColorFill("#FFFFFF");  // a white background, a black frame
    for (const auto& b : buttons) w.AddField(b.name, b.type, 50 + 60 * static_cast<float>(&b - buttons), 50, 24, 24, b.value);
  });
  // The glyphs' font is in the form's resources, under the name readers use.
  EXPECT_EQ(pdftest::RunTool({"pdftoppm", "-r", "36", "-png", path, path + "-page"}).err, "");
  for (const bool with_pdftoppm : {true, false}) {
    const gfxtest::Pixels page = gfxtest::RenderPage(path, with_pdftoppm);
    ASSERT_GT(page.width, 300);
    for (const auto& b : buttons) {
      const int left = 50 + 60 * static_cast<int>(&b - buttons);
      int dark = 0;
      for (int y = 54; y < 70; ++y)
        for (int x = left + 4; x < left + 20; ++x) dark += page.At(x, y, 0) + page.At(x, y, 1) + page.At(x, y, 2) < 300;
      SCOPED_TRACE(std::string(b.name) + (with_pdftoppm ? " pdftoppm" : " mutool"));
      if (b.value[0] == 't' || b.value[0] == 'T') EXPECT_GT(dark, 10);
      else EXPECT_EQ(dark, 0);
    }
  }
}

TEST(InteractiveFields, ScriptsReachFieldsByDottedName) {
  const std::string path = TempPdf();
  const std::string file = WriteDoc(path, [](Probe& w) {
    for (const char* name : {"addr", "addr.street", "address", "addr.city"}) w.AddField(name, 0, 1, 1, 10, 10, "");
    for (const char* script : {"k();", "k2();", "k3();"}) w.OnFieldEvent(6, script[1] == '(' ? "addr" : "addr.city", script);
    w.OnFieldEvent(8, "addr.street", "c();");
    w.OnFieldEvent(0, "address", "a();");
    w.OnFieldEvent(5, "nobody", "b();");  // written (object 9), attached to nothing
  });
  EXPECT_NE(ObjectWith(file, "/T (addr)").find(" /AA <<  /K << /S /JavaScript /JS 4 0 R >>  >> "), std::string::npos);
  // A second script for one trigger follows the first: the key stays single.
  EXPECT_NE(ObjectWith(file, "/T (addr.city)").find(" /AA <<  /K << /S /JavaScript /JS 4 0 R /Next [ << /S /JavaScript"
                                                    " /JS 5 0 R >> << /S /JavaScript /JS 6 0 R >> ] >>  >> "), std::string::npos);
  EXPECT_NE(ObjectWith(file, "/T (address)").find(" /V () /DV ()  /A << /S /JavaScript /JS 8 0 R >>  /P"), std::string::npos);
  EXPECT_NE(file.find("/CO [11 0 R ]"), std::string::npos);  // only the field with a calculation
  pdftest::ExpectReadersAccept(path);
}

}  // namespace
