// The writer core at scale: a document of many pages, each with 200 content
// lines and the recorded header and footer replayed under it (time, file
// size, the memory one document adds to the process at its peak, and growth
// with the page count), and the number text alone.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"

namespace {

class Writer : public pdf::PdfWriter {
 public:
  using PdfWriter::AppendContent;
  using PdfWriter::FormatNumber;
  using PdfWriter::FormatUnits;
};

std::string OutputPath() {
  return (std::filesystem::temp_directory_path() / "sevrina_pdfwriter_bench.pdf").string();
}

// One document of `pages` pages in centimetres, 200 lines per page.
std::int64_t WriteDocument(int pages) {
  Writer w;
  w.BeginDoc(OutputPath());
  w.SetScale(3);
  w.SetMargins(1.5f, 1.5f, 2, 2);
  w.BeginObject("header_footer", 7);
  w.AppendContent("0.283 w");
  w.AppendContent(w.FormatUnits(0) + " " + w.FormatUnits(1) + " m " + w.FormatUnits(18) + " " +
                  w.FormatUnits(1) + " l S");
  w.AppendContent(w.FormatUnits(0) + " " + w.FormatUnits(25.5f) + " m " + w.FormatUnits(18) + " " +
                  w.FormatUnits(25.5f) + " l S");
  w.EndObject();
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    for (int i = 0; i < 200; ++i) {
      const float y = 1.5f + static_cast<float>(i) * 0.12f;
      w.AppendContent(w.FormatUnits(0.5f) + " " + w.FormatUnits(y) + " m " + w.FormatUnits(17.5f) + " " +
                      w.FormatUnits(y) + " l S");
    }
  }
  w.EndDoc();
  return w.FileSize();
}

// A line "Key:   123 kB" of /proc/self/status, in kB (0 when absent).
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) return std::stol(line.substr(key.size() + 1));
  }
  return 0;
}

// What writing one document adds to the resident memory at its peak: the
// peak mark is reset (Linux: "5" into clear_refs), then compared with the
// memory held before the document, after the heap has given back what
// earlier runs freed.
long DocumentPeakKb(int pages) {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKb("VmRSS");
  WriteDocument(pages);
  return StatusKb("VmHWM") - before;
}

void BM_Document(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  std::int64_t size = 0;
  for (auto _ : state) size = WriteDocument(pages);
  state.counters["file_bytes"] = static_cast<double>(size);
  state.counters["pages_per_s"] =
      benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["peak_added_kB"] = static_cast<double>(DocumentPeakKb(pages));
  state.SetComplexityN(pages);
  std::filesystem::remove(OutputPath());
}
// Cost against pages: the fitted complexity should come out linear.
BENCHMARK(BM_Document)->Arg(50)->Arg(100)->Arg(200)->Arg(500)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_FormatNumberMillion(benchmark::State& state) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> dist(-2000.0f, 2000.0f);
  std::vector<float> values(1'000'000);
  for (auto& v : values) v = dist(gen);
  std::size_t chars = 0;
  for (auto _ : state) {
    for (float v : values) chars += Writer::FormatNumber(v).size();
    benchmark::DoNotOptimize(chars);
  }
  state.counters["values_per_s"] = benchmark::Counter(
      1e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FormatNumberMillion)->Unit(benchmark::kMillisecond);

}  // namespace
