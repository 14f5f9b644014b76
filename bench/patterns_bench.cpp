// Gradient- and pattern-heavy pages: each page defines and fills 20 axial or
// radial gradients, paints a tiling pattern over a third of the page and
// brackets its content in two layers. Beside it, what a user without
// gradients would do with libharu (which has no shadings, patterns or
// optional content): each gradient approximated by 64 flat-coloured strips.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <string>

#include "bench/haru_pages.h"
#include "pdf/PdfWriter.h"

namespace {

using haru_pages::OutputPath;

std::int64_t WriteOurs(int pages) {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina_patterns_bench"));
  w.BeginTiling("hatch", 0, 0, 12, 12, 12, 12, 1);
  w.DrawLine(0, 12, 12, 0);
  w.EndTiling();
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    w.BeginLayer("Gradients");
    for (int i = 0; i < 20; ++i) {
      const float x = 40 + static_cast<float>(i % 4) * 130;
      const float y = 40 + static_cast<float>(i / 4) * 100;
      const std::string alias = "g" + std::to_string(p) + "_" + std::to_string(i);
      w.AddGradient(alias, i % 2, "#FF0000", "@0;128;255", x, y, x + 110, y + 80, 0, 50);
      w.SetColorFill(alias);
      w.DrawRect(x, y, 110, 80, 5);
    }
    w.EndLayer();
    w.BeginLayer("Hatch", false);
    w.SetColorFill("hatch;navy");
    w.DrawRect(40, 560, 500, 240, 5);
    w.EndLayer();
  }
  w.EndDoc();
  return w.FileSize();
}

std::int64_t WriteHaru(int pages) {
  HPDF_Doc doc = HPDF_New(haru_pages::IgnoreError, nullptr);
  for (int p = 0; p < pages; ++p) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    for (int i = 0; i < 20; ++i) {
      const float x = 40 + static_cast<float>(i % 4) * 130;
      const float y = 842 - 120 - static_cast<float>(i / 4) * 100;
      for (int s = 0; s < 64; ++s) {
        const float t = static_cast<float>(s) / 63;
        HPDF_Page_SetRGBFill(page, 1 - t, 0.502f * t, t);
        HPDF_Page_Rectangle(page, x + 110 * static_cast<float>(s) / 64, y, 110.0f / 64 + 0.1f, 80);
        HPDF_Page_Fill(page);
      }
    }
    HPDF_Page_SetRGBStroke(page, 0, 0, 0.5f);
    for (float d = 0; d < 740; d += 12) {  // the hatch, stroked line by line
      HPDF_Page_MoveTo(page, 40 + (d < 500 ? d : 500), 42 + (d < 500 ? 0 : d - 500));
      HPDF_Page_LineTo(page, 40 + (d < 240 ? 0 : d - 240), 42 + (d < 240 ? d : 240));
    }
    HPDF_Page_Stroke(page);
  }
  return haru_pages::SaveHaru(doc, "sevrina_patterns_bench_haru");
}

BENCHMARK(haru_pages::BM_Pages<WriteOurs, 1>)->Name("Gradients_Ours")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(haru_pages::BM_Pages<WriteHaru, 1>)->Name("GradientsAsStrips_Haru")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
