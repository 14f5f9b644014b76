// TrueType fonts: the reader alone on a font in memory, and a one-page
// document that loads a font, embeds it and draws a line in it, beside
// libharu doing the same (HPDF_LoadTTFontFromFile with embedding), without
// and with Flate compression. Each document is written to a file.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <fstream>
#include <iterator>
#include <string>

#include "bench/haru_pages.h"
#include "pdf/PdfWriter.h"
#include "pdf/text/truetype.h"

namespace {

const char* const kFonts[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                              "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"};
const char* const kLine = "Il condominio chiede il contributo per le parti comuni";

void BM_ReadTrueType(benchmark::State& state) {
  std::ifstream in(kFonts[state.range(0)], std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  for (auto _ : state) {
    const pdf::TrueTypeResult r = pdf::ReadTrueType(pdf::as_bytes(bytes));
    if (r.status != pdf::TrueTypeStatus::kOk) state.SkipWithError("font refused");
    benchmark::DoNotOptimize(r.font.Widths.data());
  }
}

// range(0): the font; range(1): 1 for Flate compression.
void BM_AddFontDocument(benchmark::State& state) {
  const std::string path = haru_pages::OutputPath("sevrina_truetype_bench_ours");
  std::int64_t size = 0;
  for (auto _ : state) {
    pdf::PdfWriter w;
    w.BeginDoc(path);
    if (state.range(1)) w.SetCompression(pdf::CompressFlate);
    const std::string alias = w.AddFont(kFonts[state.range(0)], "F");
    if (alias.empty()) state.SkipWithError(w.ErrDescription().c_str());
    w.BeginPage();
    w.SetFont(alias, 12);
    w.DrawText(50, 50, kLine);
    w.EndDoc();
    size = w.FileSize();
  }
  state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_LibharuDocument(benchmark::State& state) {
  std::int64_t size = 0;
  for (auto _ : state) {
    HPDF_Doc doc = HPDF_New(nullptr, nullptr);
    if (state.range(1)) HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    const char* name = HPDF_LoadTTFontFromFile(doc, kFonts[state.range(0)], HPDF_TRUE);
    HPDF_Font font = name ? HPDF_GetFont(doc, name, "WinAnsiEncoding") : nullptr;
    if (font == nullptr) state.SkipWithError("libharu refused the font");
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, font, 12);
    HPDF_Page_TextOut(page, 50, 780, kLine);
    HPDF_Page_EndText(page);
    size = haru_pages::SaveHaru(doc, "sevrina_truetype_bench_libharu");
  }
  state.counters["file_bytes"] = static_cast<double>(size);
}

BENCHMARK(BM_ReadTrueType)->Arg(0)->Arg(1);
BENCHMARK(BM_AddFontDocument)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibharuDocument)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
