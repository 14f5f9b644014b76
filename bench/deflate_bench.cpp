// Our deflate encoder and inflate decoder beside zlib, on the same inputs in
// one run: page content, Italian text, a TrueType font, random bytes.
//
//   Encode/<input>/ours_q<q>  against  Encode/<input>/zlib_<q + 4>
//   Small/ours_q<q>           against  Small/zlib_<q + 4>   (1,000 streams of 2 KiB)
//   Inflate/<input>/ours      against  Inflate/<input>/zlib and /libdeflate
//                             (zlib streams, level 6; Small: 1,000 streams of 2 KiB)
//
// Throughput is in input bytes (uncompressed) per second; the counter
// "size" is the compressed size in bytes, "ratio" compressed / input.

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pdf/core/deflate.h"
#include "pdf/core/inflate.h"

namespace {

using pdf::Bytes;

Bytes PageContent() {
  // The shape of our pages' content: text lines, rules and boxes.
  std::string s;
  std::mt19937 engine(1);
  const auto rng = [&engine] { return static_cast<unsigned>(engine()); };
  char line[200];
  while (s.size() < 256 * 1024) {
    const unsigned y = rng() % 780;
    std::snprintf(line, sizeof line, "\rBT /F%u %u Tf 1 0 0 -1 %u.%03u %u.%03u Tm (Riga %u del modulo) Tj ET", 1 + rng() % 3,
                  8 + rng() % 5, 56 + rng() % 400, rng() % 1000, y, rng() % 1000, rng() % 500);
    s += line;
    if (rng() % 3 == 0) {
      std::snprintf(line, sizeof line, "\r%u.%03u w\r%u.%03u %u.%03u m %u.%03u %u.%03u l S", rng() % 2, rng() % 1000, 56 + rng() % 100,
                    rng() % 1000, y, rng() % 1000, 300 + rng() % 200, rng() % 1000, y, rng() % 1000);
      s += line;
    }
  }
  return Bytes(s.begin(), s.end());
}

Bytes ItalianText() {
  // Words of an Italian administrative text, drawn with Zipf-like weights.
  static const char* const kWords[] = {
      "il", "la", "di", "che", "e", "del", "della", "per", "in", "un", "una", "dei", "delle", "con", "al", "alle",
      "condominio", "richiedente", "contributo", "lavori", "parti", "comuni", "edificio", "domanda", "comune",
      "dichiara", "sottoscritto", "amministratore", "proprietario", "importo", "spese", "progetto", "interventi",
      "facciate", "copertura", "ammesso", "finanziamento", "allegati", "documentazione", "tecnica", "perduto",
      "fondo", "avviso", "pubblico", "quartiere", "stabile", "assemblea", "deliberato", "verbale", "IVA",
      "totale", "euro", "computo", "metrico", "quadro", "economico", "sensi", "articolo", "legge", "data"};
  constexpr std::size_t n = sizeof kWords / sizeof kWords[0];
  std::mt19937 rng(2);
  std::string s;
  int sentence = 0;
  while (s.size() < 256 * 1024) {
    const double u = std::uniform_real_distribution<double>(0, 1)(rng);
    const std::size_t k = static_cast<std::size_t>(static_cast<double>(n) * u * u * u);
    s += kWords[k < n ? k : n - 1];
    if (++sentence % 14 == 0)
      s += ".\r\n";
    else
      s += ' ';
  }
  return Bytes(s.begin(), s.end());
}

Bytes Font() {
  std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
  Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.empty()) {
    std::fprintf(stderr, "deflate_bench: DejaVuSans.ttf not found\n");
    std::exit(1);
  }
  return b;
}

Bytes RandomBytes() {
  std::mt19937 rng(3);
  Bytes b(256 * 1024);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

Bytes ZlibCompress(const Bytes& in, int level) {
  uLongf n = compressBound(static_cast<uLong>(in.size()));
  Bytes out(n);
  if (compress2(out.data(), &n, in.data(), static_cast<uLong>(in.size()), level) != Z_OK) std::abort();
  out.resize(n);
  return out;
}

struct Input {
  std::string name;
  Bytes data;
};

const std::vector<Input>& Inputs() {
  static const std::vector<Input> inputs = {
      {"page", PageContent()}, {"italian", ItalianText()}, {"font", Font()}, {"random", RandomBytes()}};
  return inputs;
}

void SetSizeCounters(benchmark::State& state, std::size_t input, std::size_t output) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(input));
  state.counters["size"] = static_cast<double>(output);
  state.counters["ratio"] = static_cast<double>(output) / static_cast<double>(input ? input : 1);
}

const bool registered = [] {
  for (const Input& in : Inputs()) {
    for (int q = 0; q <= 3; ++q) {
      benchmark::RegisterBenchmark(("Encode/" + in.name + "/ours_q" + std::to_string(q)).c_str(),
                                   [&in, q](benchmark::State& state) {
                                     std::size_t size = 0;
                                     for (auto _ : state) {
                                       Bytes out = pdf::DeflateEncode(in.data, q);
                                       size = out.size();
                                       benchmark::DoNotOptimize(out.data());
                                     }
                                     SetSizeCounters(state, in.data.size(), size);
                                   });
      benchmark::RegisterBenchmark(("Encode/" + in.name + "/zlib_" + std::to_string(q + 4)).c_str(),
                                   [&in, q](benchmark::State& state) {
                                     std::size_t size = 0;
                                     for (auto _ : state) {
                                       Bytes out = ZlibCompress(in.data, q + 4);
                                       size = out.size();
                                       benchmark::DoNotOptimize(out.data());
                                     }
                                     SetSizeCounters(state, in.data.size(), size);
                                   });
    }
  }

  // Per-call cost: 1,000 streams of 2 KiB, cut from the page content and
  // the Italian text alternately.
  static std::vector<Bytes> small;
  for (int i = 0; i < 1000; ++i) {
    const Bytes& src = Inputs()[static_cast<std::size_t>(i % 2)].data;
    const std::size_t at = static_cast<std::size_t>(i) * 2048 % (src.size() - 2048);
    small.emplace_back(src.begin() + static_cast<std::ptrdiff_t>(at), src.begin() + static_cast<std::ptrdiff_t>(at + 2048));
  }
  for (int q = 0; q <= 3; ++q) {
    benchmark::RegisterBenchmark(("Small/1000x2KiB/ours_q" + std::to_string(q)).c_str(), [q](benchmark::State& state) {
      std::size_t size = 0;
      for (auto _ : state) {
        size = 0;
        for (const Bytes& b : small) size += pdf::DeflateEncode(b, q).size();
      }
      SetSizeCounters(state, 1000 * 2048, size);
    });
    benchmark::RegisterBenchmark(("Small/1000x2KiB/zlib_" + std::to_string(q + 4)).c_str(), [q](benchmark::State& state) {
      std::size_t size = 0;
      for (auto _ : state) {
        size = 0;
        for (const Bytes& b : small) size += ZlibCompress(b, q + 4).size();
      }
      SetSizeCounters(state, 1000 * 2048, size);
    });
  }

  // Decoding zlib's level-6 streams of the same inputs.
  for (const Input& in : Inputs()) {
    const auto packed = std::make_shared<Bytes>(ZlibCompress(in.data, 6));
    benchmark::RegisterBenchmark(("Inflate/" + in.name + "/ours").c_str(), [&in, packed](benchmark::State& state) {
      for (auto _ : state) {
        pdf::InflateResult r = pdf::InflateZlib(*packed, in.data.size());
        if (r.status != pdf::InflateStatus::kOk || r.data.size() != in.data.size()) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(r.data.data());
      }
      SetSizeCounters(state, in.data.size(), packed->size());
    });
    benchmark::RegisterBenchmark(("Inflate/" + in.name + "/zlib").c_str(), [&in, packed](benchmark::State& state) {
      Bytes out(in.data.size());
      for (auto _ : state) {
        uLongf n = out.size();
        if (uncompress(out.data(), &n, packed->data(), static_cast<uLong>(packed->size())) != Z_OK)
          state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
      }
      SetSizeCounters(state, in.data.size(), packed->size());
    });
    benchmark::RegisterBenchmark(("Inflate/" + in.name + "/libdeflate").c_str(), [&in, packed](benchmark::State& state) {
      libdeflate_decompressor* d = libdeflate_alloc_decompressor();
      Bytes out(in.data.size());
      for (auto _ : state) {
        if (libdeflate_zlib_decompress(d, packed->data(), packed->size(), out.data(), out.size(), nullptr) !=
            LIBDEFLATE_SUCCESS)
          state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
      }
      libdeflate_free_decompressor(d);
      SetSizeCounters(state, in.data.size(), packed->size());
    });
  }

  // Per-call cost of decoding: the 1,000 small streams, packed by zlib.
  static std::vector<Bytes> small_packed;
  for (const Bytes& b : small) small_packed.push_back(ZlibCompress(b, 6));
  benchmark::RegisterBenchmark("Inflate/1000x2KiB/ours", [](benchmark::State& state) {
    for (auto _ : state)
      for (const Bytes& p : small_packed) {
        pdf::InflateResult r = pdf::InflateZlib(p, 2048);
        if (r.status != pdf::InflateStatus::kOk || r.data.size() != 2048) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(r.data.data());
      }
    SetSizeCounters(state, 1000 * 2048, 0);
  });
  benchmark::RegisterBenchmark("Inflate/1000x2KiB/zlib", [](benchmark::State& state) {
    Bytes out(2048);
    for (auto _ : state)
      for (const Bytes& p : small_packed) {
        uLongf n = out.size();
        if (uncompress(out.data(), &n, p.data(), static_cast<uLong>(p.size())) != Z_OK) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
      }
    SetSizeCounters(state, 1000 * 2048, 0);
  });
  benchmark::RegisterBenchmark("Inflate/1000x2KiB/libdeflate", [](benchmark::State& state) {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    Bytes out(2048);
    for (auto _ : state)
      for (const Bytes& p : small_packed)
        if (libdeflate_zlib_decompress(d, p.data(), p.size(), out.data(), out.size(), nullptr) != LIBDEFLATE_SUCCESS)
          state.SkipWithError("decode failed");
    libdeflate_free_decompressor(d);
    SetSizeCounters(state, 1000 * 2048, 0);
  });
  return true;
}();

}  // namespace
