// Texts outside content streams as readers read them: every text string and
// text stream the writer makes (fields, notes, label prefixes, titles, layer
// names, scripts) reads back in MuPDF and poppler as the characters the
// caller wrote in Windows-1252, also under protection and compression, and
// also for texts whose first letters look like a byte-order mark.

#include "platform/text/cp1252.h"
#include "tests/pdf/interactive/interactive_probe.h"

namespace {

using namespace interactive_test;
using Param = pdf::PdfWriter::FieldParam;

// Windows-1252 from the UTF-8 source.
std::string W(const char* utf8) { return cp1252::from_utf8(utf8); }

// MuPDF's script lists every string in the file's dictionaries and arrays as
// "Key: text" ("Key[]: text" for an array's items), decoded as a text string.
constexpr const char* kListStrings = R"(var doc = new PDFDocument(scriptArgs[0]);
function show(k, v) {
  if (v.isString()) print(k + ": " + v.asString());
  else if (v.isArray()) for (var j = 0; j < v.length; j++) show(k + "[]", v.get(j));
  else if (v.isDictionary() && !v.isIndirect()) v.forEach(function (kk, vv) { show(kk, vv); });
}
for (var i = 1; i < doc.countObjects(); i++) {
  var o = doc.newIndirect(i, 0).resolve();
  if (o.isDictionary()) o.forEach(function (k, v) { show(k, v); });
}
)";

TEST(InteractiveTexts, ReadersReadTheCallersCharacters) {
  // key: the entry MuPDF finds the text under; every text holds characters
  // that PDFDocEncoding and Windows-1252 put at different codes, or begins as
  // a byte-order mark would.
  struct Row { const char *key, *text; };
  const Row rows[] = {
      {"T", "Importo € – “netto”"},            {"TU", "Scrivi l’importo…"},
      {"V", "€ 1.250,00 – “netto”"},           {"DV", "€ 1.250,00 – “netto”"},
      {"Opt[]", "Prima • opzione"},            {"Opt[]", "þÿabcd"},
      {"V", "ÿþseconda"},                       {"CA", "Invia “modulo” ‰"},
      {"Contents", "Nota: l’anno è «2026»"},   {"T", "Autore ‘Šárka’ Ž"},
      {"Contents", "Riquadro — fine"},         {"P", "Pag. €"},
      {"Title", "ï»¿Titolo™"},                {"Order[]", "ï»¿Titolo™"},
      {"Name", "Livello “uno”"},               {"Subject", "þÿ"},
  };
  // Scripts: poppler's pdfinfo -js lists them decoded.
  const char* scripts[] = {"app.alert('convalida € “a”');", "app.alert('pulsante – ok');",
                           "app.alert('collegamento ‘b’');", "console.println('pagina …');",
                           "console.println('documento ™');", "console.println('chiusura Œ');"};
  for (const bool guarded : {false, true}) {
    SCOPED_TRACE(guarded ? "protected and compressed" : "plain");
    const std::string path = TempPdf(guarded ? "guarded" : "plain");
    Probe w;
    if (guarded) {
      w.SetProtection(4, "owner", "");
      w.SetCompression(pdf::CompressFlate);
    }
    w.SetDocProperty(W(rows[12].text), W(rows[15].text), W(rows[9].text));
    w.BeginDoc(path);
    w.BeginPage();
    w.SetLabel(1, W(rows[11].text));
    w.BeginLayer(W(rows[14].text));
    w.EndLayer();
    w.SetFont("Arial", 10);
    w.AddField(W(rows[0].text), 0, 10, 10, 100, 20, W(rows[2].text), Param(0), W(rows[1].text));
    w.AddField("scelta", 3, 10, 40, 100, 20, W(rows[4].text) + "|" + W(rows[5].text) + "|" + W(rows[6].text), Param(3));
    w.AddField("invia", 5, 10, 70, 100, 20, W(rows[7].text), Param(W(scripts[1])));
    w.OnFieldEvent(7, W(rows[0].text), W(scripts[0]));
    w.AddNoteIcon(W(rows[8].text), 0, 100, 100);
    w.AddNoteBox(W(rows[10].text), 100, 200, 100, 50);
    w.OnDocEvent(0, W(scripts[3]));
    w.OnDocEvent(8, W(scripts[4]));
    w.OnDocEvent(3, W(scripts[5]));
    w.DrawRect(10, 300, 50, 50);
    w.LinkTo("script:" + W(scripts[2]));
    w.EndDoc();
    ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    pdftest::ExpectReadersAccept(path);

    pdftest::WriteFile(path + ".js", kListStrings);
    const std::string strings = pdftest::RunTool({"mutool", "run", path + ".js", path}).out;
    for (const Row& r : rows) {
      const std::string line = "\n" + std::string(r.key) + ": " + r.text + "\n";
      EXPECT_NE(("\n" + strings).find(line), std::string::npos) << line << " in\n" << strings;
    }
    EXPECT_EQ(pdftest::PdfinfoValue(pdftest::Pdfinfo(path).out, "Title"), rows[12].text);
    const std::string js = pdftest::Pdfinfo(path, {"-js"}).out;
    for (const char* script : scripts) EXPECT_NE(js.find(script), std::string::npos) << script << " in\n" << js;
  }
}

// GetInfo gives back the title, subject and author this writer wrote, byte
// for byte, whether they went out in PDFDocEncoding or in UTF-16: every
// character Windows-1252 has (but the controls, which GetInfo drops).
TEST(InteractiveTexts, GetInfoGivesBackWhatTheWriterWrote) {
  std::string every;
  for (int c = 0x20; c <= 0xFF; ++c) every += static_cast<char>(c);
  const struct { std::string title, subject, author; } rows[] = {
      {W("€ 1.250,00 – “netto”"), W("Œuvre • Š™"), W("‘Šárka’ Ž ‰ …")},
      {every, W("þÿabcd"), W("ï»¿Titolo")},
      {W("prezzo\u00A0€"), W("ÿþseconda"), "Autore"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(cp1252::to_utf8(row.title));
    const std::string path = TempPdf("info");
    {
      pdf::PdfWriter w;
      w.SetDocProperty(row.title, row.subject, row.author);
      w.BeginDoc(path);
      w.BeginPage();
      w.EndDoc();
      ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    }
    pdf::PdfWriter r;
    std::string title, subject, author;
    EXPECT_EQ(r.GetInfo(path, &title, &subject, &author), 1);
    EXPECT_EQ(r.ErrNumber(), 0) << r.ErrDescription();
    EXPECT_EQ(cp1252::to_utf8(title), cp1252::to_utf8(row.title));
    EXPECT_EQ(cp1252::to_utf8(subject), cp1252::to_utf8(row.subject));
    EXPECT_EQ(cp1252::to_utf8(author), cp1252::to_utf8(row.author));
  }
}

}  // namespace
