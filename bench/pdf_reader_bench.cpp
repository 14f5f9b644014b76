// Reading existing PDF files: GetInfo (page count and information of a
// file not seen before) and ImportPage of every page into a new document,
// beside what a user would run instead on the same file: qpdf --show-npages
// and poppler's pdfinfo for the page count, qpdf --pages and pdfunite for
// copying pages. The tools' figures include starting their process.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"

extern char** environ;

namespace {

std::string Temp(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("sevrina_reader_bench_" + name)).string();
}

// Runs a tool with its output discarded; false when it fails.
bool Run(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A source of `pages` pages of text and rules, deflated, as qpdf rewrites
// it (so that it is a file our writer did not lay out).
std::string Source(int pages) {
  const std::string raw = Temp("raw_" + std::to_string(pages) + ".pdf");
  const std::string path = Temp("src_" + std::to_string(pages) + ".pdf");
  if (std::filesystem::exists(path)) return path;
  pdf::PdfWriter w;
  w.SetCompression(2);
  w.BeginDoc(raw);
  w.SetFont("Helvetica", 10);
  for (int p = 0; p < pages; ++p) {
    w.BeginPage();
    for (int i = 0; i < 60; ++i) {
      w.DrawText(40, 40 + 12.5f * static_cast<float>(i), "Riga " + std::to_string(i) + " della pagina " +
                                                              std::to_string(p + 1) + ": testo di prova.");
      w.DrawLine(40, 42 + 12.5f * static_cast<float>(i), 500, 42 + 12.5f * static_cast<float>(i));
    }
  }
  w.EndDoc();
  Run({"qpdf", raw, path});
  return path;
}

void BM_GetInfo(benchmark::State& state) {
  const std::string src = Source(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pdf::PdfWriter w;
    benchmark::DoNotOptimize(w.GetInfo(src));
  }
}
BENCHMARK(BM_GetInfo)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_QpdfShowNpages(benchmark::State& state) {
  const std::string src = Source(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!Run({"qpdf", "--show-npages", src})) state.SkipWithError("qpdf failed");
  }
}
BENCHMARK(BM_QpdfShowNpages)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Pdfinfo(benchmark::State& state) {
  const std::string src = Source(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!Run({"pdfinfo", src})) state.SkipWithError("pdfinfo failed");
  }
}
BENCHMARK(BM_Pdfinfo)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportAllPages(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  const std::string src = Source(pages);
  const std::string out = Temp("imported.pdf");
  for (auto _ : state) {
    pdf::PdfWriter w;
    w.BeginDoc(out);
    for (int p = 1; p <= pages; ++p) {
      w.BeginPage();
      w.ImportPage(src, p, 0, 0);
    }
    w.EndDoc();
  }
  state.counters["pages_per_s"] =
      benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportAllPages)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QpdfPages(benchmark::State& state) {
  const std::string src = Source(static_cast<int>(state.range(0)));
  const std::string out = Temp("qpdf_pages.pdf");
  for (auto _ : state) {
    if (!Run({"qpdf", "--empty", "--pages", src, "--", out})) state.SkipWithError("qpdf failed");
  }
}
BENCHMARK(BM_QpdfPages)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Pdfunite(benchmark::State& state) {
  const std::string src = Source(static_cast<int>(state.range(0)));
  const std::string out = Temp("pdfunite.pdf");
  for (auto _ : state) {
    if (!Run({"pdfunite", src, out})) state.SkipWithError("pdfunite failed");
  }
}
BENCHMARK(BM_Pdfunite)->Arg(10)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
