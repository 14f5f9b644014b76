// The ASCIIHex, ASCII85, RunLength and LZW encoders: throughput and the
// ratio of output to input size on page content and on random bytes.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "pdf/core/encoders.h"

namespace {

// Page content as the documents produce it: text boxes, rules and boxes.
pdf::Bytes PageContent(std::size_t n) {
  std::string s;
  int k = 0;
  while (s.size() < n) {
    s += "\rBT /F1 10 Tf 1 0 0 -1 " + std::to_string(56 + k % 40) + " " +
         std::to_string(100 + (k * 13) % 700) + " Tm (Il sottoscritto amministratore del condominio " +
         std::to_string(k) + ") Tj ET\r0.5 w\r56.693 " + std::to_string(200 + k % 500) +
         " m 538.583 " + std::to_string(200 + k % 500) + " l S\r" +
         std::to_string(60 + k % 9) + ".5 120.25 8.504 8.504 re S";
    ++k;
  }
  s.resize(n);
  return pdf::Bytes(s.begin(), s.end());
}

pdf::Bytes RandomBytes(std::size_t n) {
  std::mt19937 rng(1);
  pdf::Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

constexpr std::size_t kSize = 64 * 1024;

template <typename Encode>
void Run(benchmark::State& state, const pdf::Bytes& input, Encode encode) {
  std::size_t out = 0;
  for (auto _ : state) {
    const pdf::Bytes encoded = encode(input);
    out = encoded.size();
    benchmark::DoNotOptimize(encoded.data());
  }
  state.SetBytesProcessed(state.iterations() * input.size());
  state.counters["ratio"] = static_cast<double>(out) / static_cast<double>(input.size());
}

void BM_AsciiHex(benchmark::State& state, const pdf::Bytes& input) {
  Run(state, input, [](const pdf::Bytes& d) { return pdf::EncodeAsciiHex(d); });
}
void BM_Ascii85(benchmark::State& state, const pdf::Bytes& input) {
  Run(state, input, [](const pdf::Bytes& d) { return pdf::EncodeAscii85(d); });
}
void BM_RunLength(benchmark::State& state, const pdf::Bytes& input) {
  Run(state, input, [](const pdf::Bytes& d) { return pdf::EncodeRunLength(d); });
}
void BM_Lzw(benchmark::State& state, const pdf::Bytes& input) {
  const int quality = static_cast<int>(state.range(0));
  Run(state, input, [quality](const pdf::Bytes& d) { return pdf::EncodeLzw(d, quality); });
}

const pdf::Bytes& Page() {
  static const pdf::Bytes page = PageContent(kSize);
  return page;
}
const pdf::Bytes& Random() {
  static const pdf::Bytes random = RandomBytes(kSize);
  return random;
}

BENCHMARK_CAPTURE(BM_AsciiHex, page, Page());
BENCHMARK_CAPTURE(BM_Ascii85, page, Page());
BENCHMARK_CAPTURE(BM_RunLength, page, Page());
BENCHMARK_CAPTURE(BM_Lzw, page, Page())->DenseRange(0, 3);
BENCHMARK_CAPTURE(BM_AsciiHex, random, Random());
BENCHMARK_CAPTURE(BM_Ascii85, random, Random());
BENCHMARK_CAPTURE(BM_RunLength, random, Random());
BENCHMARK_CAPTURE(BM_Lzw, random, Random())->DenseRange(0, 3);

}  // namespace
