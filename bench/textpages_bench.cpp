// Text pages beside libharu, the library a user would otherwise reach for,
// doing the same work in one run (uncompressed, standard fonts, CPU time):
//
//   Lines/ours, Lines/libharu  500 pages of 200 text lines in a colour, with a
//                              header and footer (two rules and a caption) on
//                              every page: ours replays a recorded object,
//                              libharu draws them on each page.
//   Boxes/ours, Boxes/libharu  100 pages of justified text wrapped into a
//                              full-page box, the rest going on to the next
//                              page (libharu: HPDF_Page_TextRect).
//
// Both write the file to the temporary folder.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "pdf/PdfWriter.h"

namespace {

constexpr int kLinePages = 500;
constexpr int kLinesPerPage = 200;
constexpr int kBoxPages = 100;

std::string OutputPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

std::string LineText(int page, int line) {
  return "Riga " + std::to_string(line + 1) + " della pagina " + std::to_string(page + 1) +
         ": importo dei lavori sulle parti comuni (euro " + std::to_string(1000 + line * 7) + ",50)";
}

// Italian text for the boxes: paragraphs of varying sentences, CR LF apart.
const std::string& BoxText() {
  static const std::string text = [] {
    static const char* const kSentences[] = {
        "Il sottoscritto, in qualit\xE0 di amministratore del condominio, chiede la concessione del "
        "contributo comunale per i lavori sulle parti comuni dell'edificio.",
        "I lavori riguardano il rifacimento della copertura, delle facciate e degli impianti "
        "centralizzati, come descritto nella relazione tecnica allegata.",
        "Le spese indicate nella tabella dei costi sono al netto dell'imposta sul valore aggiunto e di "
        "ogni altro contributo pubblico gi\xE0 ricevuto.",
        "Il Comune si riserva di verificare in ogni momento la veridicit\xE0 delle dichiarazioni rese, "
        "anche mediante sopralluoghi presso l'immobile."};
    std::string t;
    unsigned seed = 7;
    while (t.size() < 700000) {
      if (!t.empty()) t += "\r\n";
      seed = seed * 1103515245u + 12345u;
      for (unsigned i = 0, n = 3 + (seed >> 16) % 4; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        if (i) t += ' ';
        t += kSentences[(seed >> 16) % 4];
      }
    }
    return t;
  }();
  return text;
}

void OursLines() {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina-textpages-ours.pdf"));
  w.SetScale(3);
  w.SetMargins(1.5f, 1.5f, 2, 2);
  w.SetFont("Arial", 9);
  w.BeginObject("header_footer", 7);
  w.DrawLine(0, 0, 18, 0);
  w.DrawLine(0, 25.5f, 18, 25.5f);
  w.DrawText(0, -0.3f, "Comune - domanda di contributo per le parti comuni");
  w.EndObject();
  for (int p = 0; p < kLinePages; ++p) {
    w.BeginPage();
    w.SetColorText("#1F3A93");
    for (int i = 0; i < kLinesPerPage; ++i)
      w.DrawText(0.5f, 0.5f + static_cast<float>(i) * 0.125f, LineText(p, i));
  }
  w.EndDoc();
}

void HaruError(HPDF_STATUS, HPDF_STATUS, void*) {}

void HaruLines() {
  HPDF_Doc doc = HPDF_New(HaruError, nullptr);
  HPDF_SetCompressionMode(doc, HPDF_COMP_NONE);
  HPDF_Font font = HPDF_GetFont(doc, "Helvetica", "WinAnsiEncoding");
  const float cm = 72 / 2.54f;
  for (int p = 0; p < kLinePages; ++p) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    const float top = HPDF_Page_GetHeight(page) - 2 * cm;
    HPDF_Page_MoveTo(page, 1.5f * cm, top);
    HPDF_Page_LineTo(page, 19.5f * cm, top);
    HPDF_Page_Stroke(page);
    HPDF_Page_MoveTo(page, 1.5f * cm, top - 25.5f * cm);
    HPDF_Page_LineTo(page, 19.5f * cm, top - 25.5f * cm);
    HPDF_Page_Stroke(page);
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, font, 9);
    HPDF_Page_TextOut(page, 1.5f * cm, top + 0.3f * cm, "Comune - domanda di contributo per le parti comuni");
    HPDF_Page_SetRGBFill(page, 0x1F / 255.0f, 0x3A / 255.0f, 0x93 / 255.0f);
    for (int i = 0; i < kLinesPerPage; ++i)
      HPDF_Page_TextOut(page, 2 * cm, top - (0.5f + static_cast<float>(i) * 0.125f) * cm, LineText(p, i).c_str());
    HPDF_Page_EndText(page);
  }
  HPDF_SaveToFile(doc, OutputPath("sevrina-textpages-haru.pdf").c_str());
  HPDF_Free(doc);
}

void OursBoxes() {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina-textboxes-ours.pdf"));
  w.SetScale(3);
  w.SetMargins(2, 2, 2, 2, false);
  w.SetFont("Arial", 10);
  std::string rest = BoxText();
  for (int p = 0; p < kBoxPages && !rest.empty(); ++p) {
    w.BeginPage();
    rest = w.DrawTextBox(0, 0, 17, 25.7f, rest, 0, 64 + 8);
  }
  w.EndDoc();
}

void HaruBoxes() {
  HPDF_Doc doc = HPDF_New(HaruError, nullptr);
  HPDF_SetCompressionMode(doc, HPDF_COMP_NONE);
  HPDF_Font font = HPDF_GetFont(doc, "Helvetica", "WinAnsiEncoding");
  const float cm = 72 / 2.54f;
  const std::string& text = BoxText();
  std::size_t at = 0;
  for (int p = 0; p < kBoxPages && at < text.size(); ++p) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    const float top = HPDF_Page_GetHeight(page) - 2 * cm;
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, font, 10);
    HPDF_UINT len = 0;
    // libharu takes at most 65,535 bytes at once: far more than a page holds.
    const std::string chunk = text.substr(at, 16384);
    HPDF_Page_TextRect(page, 2 * cm, top, 19 * cm, top - 25.7f * cm, chunk.c_str(), HPDF_TALIGN_JUSTIFY, &len);
    // A box that cannot take the whole rest reports "insufficient space"
    // and how much it took; that is the expected case here.
    HPDF_ResetError(doc);
    HPDF_Page_EndText(page);
    at += len ? len : text.size();
  }
  HPDF_SaveToFile(doc, OutputPath("sevrina-textboxes-haru.pdf").c_str());
  HPDF_Free(doc);
}

template <void (*Write)()>
void Run(benchmark::State& state) {
  for (auto _ : state) Write();
}

BENCHMARK(Run<OursLines>)->Name("Lines/ours")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Run<HaruLines>)->Name("Lines/libharu")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Run<OursBoxes>)->Name("Boxes/ours")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Run<HaruBoxes>)->Name("Boxes/libharu")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
