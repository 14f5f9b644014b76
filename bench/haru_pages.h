#pragma once
// Shared by the benchmarks that write the same pages with our writer and
// with libharu: the output paths, libharu's documents and one timed loop.

#include <benchmark/benchmark.h>
#include <hpdf.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace haru_pages {

inline std::string OutputPath(const std::string& stem) {
  return (std::filesystem::temp_directory_path() / (stem + ".pdf")).string();
}

inline void IgnoreError(HPDF_STATUS, HPDF_STATUS, void*) {}

// Saves and frees a libharu document; returns the file's size.
inline std::int64_t SaveHaru(HPDF_Doc doc, const std::string& stem) {
  const std::string path = OutputPath(stem);
  HPDF_SaveToFile(doc, path.c_str());
  HPDF_Free(doc);
  return static_cast<std::int64_t>(std::filesystem::file_size(path));
}

// Writes a document of range(0) pages per iteration; reports the file size
// and `PerPage` items a second.
template <std::int64_t (*Write)(int), int PerPage>
void BM_Pages(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  std::int64_t size = 0;
  for (auto _ : state) size = Write(pages);
  state.counters["file_bytes"] = static_cast<double>(size);
  state.counters["items_per_s"] = benchmark::Counter(
      static_cast<double>(PerPage) * pages * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

}  // namespace haru_pages
