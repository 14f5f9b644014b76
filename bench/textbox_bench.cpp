// Text boxes over a long Italian text: about 1 MB of paragraphs wrapped into
// full-page boxes on A4 pages in centimetres, the rest of each box going on
// to the next page, and the same text set one paragraph per box as the
// document generators do. Reports characters per second and time per page.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"

namespace {

// Windows-1252 sentences (à è é ì ò ù as single bytes).
const char* const kSentences[] = {
    "Il sottoscritto, in qualit\xE0 di amministratore del condominio, chiede la concessione "
    "del contributo comunale per i lavori sulle parti comuni dell'edificio.",
    "I lavori riguardano il rifacimento della copertura, delle facciate e degli impianti "
    "centralizzati, come descritto nella relazione tecnica allegata.",
    "Dichiara che l'edificio \xE8 stato costruito prima del 1967 e che non \xE8 oggetto di "
    "procedure di esproprio o di ordinanze di demolizione.",
    "Le spese indicate nella tabella dei costi sono al netto dell'imposta sul valore aggiunto "
    "e di ogni altro contributo pubblico gi\xE0 ricevuto.",
    "Perch\xE9 la domanda sia ammissibile occorre allegare il verbale dell'assemblea che ha "
    "approvato i lavori con la maggioranza prevista dalla legge.",
    "Il Comune si riserva di verificare in ogni momento la veridicit\xE0 delle dichiarazioni "
    "rese, anche mediante sopralluoghi presso l'immobile.",
    "Qualora dai controlli emerga la non veridicit\xE0 del contenuto delle dichiarazioni, il "
    "dichiarante decade dai benefici eventualmente conseguiti.",
    "La citt\xE0 promuove il recupero del patrimonio edilizio esistente, la sicurezza degli "
    "edifici e il risparmio energetico nelle parti comuni.",
};

// About `bytes` of text: paragraphs of three to seven sentences, CR LF between.
std::string LongText(std::size_t bytes) {
  std::string text;
  unsigned seed = 12345;
  while (text.size() < bytes) {
    if (!text.empty()) text += "\r\n";
    seed = seed * 1103515245u + 12345u;
    const unsigned count = 3 + (seed >> 16) % 5;
    for (unsigned i = 0; i < count; ++i) {
      seed = seed * 1103515245u + 12345u;
      if (i > 0) text += ' ';
      text += kSentences[(seed >> 16) % (sizeof kSentences / sizeof kSentences[0])];
    }
  }
  return text;
}

const std::string& Text() {
  static const std::string text = LongText(1 << 20);
  return text;
}

std::string OutputPath() {
  return (std::filesystem::temp_directory_path() / "sevrina-textbox-bench.pdf").string();
}

void StartDocument(pdf::PdfWriter& w) {
  w.BeginDoc(OutputPath());
  w.SetScale(3);
  w.SetMargins(2, 2, 2, 2, false);
  w.SetFont("Arial", 10);
}

// The whole text through full-page boxes; each box's rest starts the next page.
void BM_TextBoxPages(benchmark::State& state) {
  const std::string& text = Text();
  const auto align = static_cast<std::int32_t>(state.range(0));
  std::int64_t pages = 0;
  for (auto _ : state) {
    pdf::PdfWriter w;
    StartDocument(w);
    std::string rest = text;
    while (!rest.empty()) {
      w.BeginPage();
      ++pages;
      rest = w.DrawTextBox(0, 0, 17, 25.7f, rest, 0.5f, align);
    }
    w.EndDoc();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["chars/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(text.size()),
      benchmark::Counter::kIsRate);
  state.counters["pages"] = static_cast<double>(pages) / static_cast<double>(state.iterations());
  state.counters["s/page"] = benchmark::Counter(static_cast<double>(pages),
                                                benchmark::Counter::kIsRate |
                                                    benchmark::Counter::kInvert);
  std::filesystem::remove(OutputPath());
}
BENCHMARK(BM_TextBoxPages)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

// The same text one paragraph per box, a new page when the next paragraph
// would start below the bottom margin (the generators' pattern).
void BM_TextBoxParagraphs(benchmark::State& state) {
  const std::string& text = Text();
  std::vector<std::string> paragraphs;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    paragraphs.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  const auto align = static_cast<std::int32_t>(state.range(0));
  std::int64_t pages = 0;
  for (auto _ : state) {
    pdf::PdfWriter w;
    StartDocument(w);
    w.BeginPage();
    ++pages;
    for (const std::string& p : paragraphs) {
      if (w.GetY() > 22) {
        w.BeginPage();
        ++pages;
      }
      w.DrawTextBox(0, w.GetY(), 17, 0, p, 0.5f, align);
    }
    w.EndDoc();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["chars/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * static_cast<double>(text.size()),
      benchmark::Counter::kIsRate);
  state.counters["pages"] = static_cast<double>(pages) / static_cast<double>(state.iterations());
  state.counters["s/page"] = benchmark::Counter(static_cast<double>(pages),
                                                benchmark::Counter::kIsRate |
                                                    benchmark::Counter::kInvert);
  std::filesystem::remove(OutputPath());
}
BENCHMARK(BM_TextBoxParagraphs)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

}  // namespace
