// Pages of barcodes: 60 per page, ten of each symbology, with their text.
// Beside it, the same bars computed from the same symbol patterns and drawn
// with libharu (which has no barcodes): rectangles and a Courier line each.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <string>

#include "bench/haru_pages.h"
#include "pdf/PdfWriter.h"
#include "pdf/graphics/barcode_symbols.h"

namespace {

using haru_pages::OutputPath;

std::string Data(int type, int n) {
  const std::string digits = std::to_string(100000000000LL + n * 7919LL);
  switch (type) {
    case 1: return "CODE-" + std::to_string(n);
    case 4: return "Item " + std::to_string(n) + " / 2026";
    default: return digits;
  }
}

std::int64_t WriteOurs(int pages) {
  pdf::PdfWriter w;
  w.BeginDoc(OutputPath("sevrina_barcodes_bench"));
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    for (int i = 0; i < 60; ++i) {
      const int type = i % 6;
      w.DrawBarCode(type, Data(type, p * 60 + i), 20 + static_cast<float>(i % 3) * 190,
                    20 + static_cast<float>(i / 3) * 40, true, 0.8f, 36, type == 1);
    }
  }
  w.EndDoc();
  return w.FileSize();
}

// Draws a module string (one module per character, '1' a bar) as rectangles.
void HaruModules(HPDF_Page page, const std::string& modules, float x, float y, float m, float h) {
  for (char c : modules) {
    if (c == '1') HPDF_Page_Rectangle(page, x, y, m, h);
    x += m;
  }
  HPDF_Page_Fill(page);
}

void HaruElements(HPDF_Page page, const std::string& elements, float x, float y, float n, float h) {
  for (std::size_t e = 0; e < elements.size(); ++e) {
    const float w = elements[e] == 'w' ? 3 * n : n;
    if (e % 2 == 0) HPDF_Page_Rectangle(page, x, y, w, h);
    x += w;
  }
  HPDF_Page_Fill(page);
}

std::int64_t WriteHaru(int pages) {
  HPDF_Doc doc = HPDF_New(haru_pages::IgnoreError, nullptr);
  HPDF_Font courier = HPDF_GetFont(doc, "Courier", nullptr);
  for (int p = 0; p < pages; ++p) {
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
    for (int i = 0; i < 60; ++i) {
      const int type = i % 6;
      const std::string data = Data(type, p * 60 + i);
      const float x = 20 + static_cast<float>(i % 3) * 190;
      const float y = 842 - 50 - static_cast<float>(i / 3) * 40;
      const float z = 0.8f, h = 32;
      switch (type) {
        case 0: HaruModules(page, pdf::barcode::Ean13(data).Modules, x, y, 0.936f * z, h); break;
        case 5: HaruModules(page, pdf::barcode::Ean8(data).Modules, x, y, 0.936f * z, h); break;
        case 4: HaruModules(page, pdf::barcode::Code128Modules(data), x, y, 0.72f * z, h); break;
        case 2:
          HaruElements(page, pdf::barcode::Interleaved2of5Elements(data, false), x, y, 0.72f * z, h);
          break;
        case 1: {
          std::string elements;
          for (char c : pdf::barcode::Code39Characters(data, true))
            elements += std::string(pdf::barcode::Code39Elements(c)) + "n";
          HaruElements(page, elements, x, y, 0.72f * z, h);
          break;
        }
        default: {
          const std::string bars = pdf::barcode::PostnetBars(data);
          float bx = x;
          for (char c : bars) {
            HPDF_Page_Rectangle(page, bx, y, 1.44f * z, c == '1' ? 9 * z : 3.6f * z);
            bx += 3.6f * z;
          }
          HPDF_Page_Fill(page);
        }
      }
      HPDF_Page_BeginText(page);
      HPDF_Page_SetFontAndSize(page, courier, 10.08f * z);
      HPDF_Page_TextOut(page, x + 20, y - 6, data.c_str());
      HPDF_Page_EndText(page);
    }
  }
  return haru_pages::SaveHaru(doc, "sevrina_barcodes_bench_haru");
}

BENCHMARK(haru_pages::BM_Pages<WriteOurs, 60>)->Name("Barcodes_Ours")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(haru_pages::BM_Pages<WriteHaru, 60>)->Name("Barcodes_Haru")->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
