// MD5 and RC4 throughput, ours beside OpenSSL's (benchmark build only; the
// writer never links OpenSSL), and the cost of one SetProtection.

#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/md5.h>
#include <openssl/rc4.h>

#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"

namespace {

pdf::Bytes Data(std::size_t n) {
  pdf::Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
  return out;
}

void BM_Md5_Ours(benchmark::State& state) {
  const pdf::Bytes data = Data(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(pdf::Md5(data));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Md5_Ours)->Arg(16)->Arg(64)->Arg(4096)->Arg(1 << 20);

void BM_Md5_OpenSsl(benchmark::State& state) {
  const pdf::Bytes data = Data(state.range(0));
  unsigned char digest[16];
  for (auto _ : state) {
    MD5(data.data(), data.size(), digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Md5_OpenSsl)->Arg(16)->Arg(64)->Arg(4096)->Arg(1 << 20);

// Key setup and encryption together, with a 10-byte object key: the cost of
// one string or stream without the writer's schedule cache.
void BM_Rc4_Ours(benchmark::State& state) {
  pdf::Bytes data = Data(state.range(0));
  const pdf::Bytes key = Data(10);
  for (auto _ : state) {
    pdf::Rc4(key, data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Rc4_Ours)->Arg(32)->Arg(4096)->Arg(1 << 20);

void BM_Rc4_OpenSsl(benchmark::State& state) {
  pdf::Bytes data = Data(state.range(0));
  const pdf::Bytes key = Data(10);
  RC4_KEY schedule;
  for (auto _ : state) {
    RC4_set_key(&schedule, static_cast<int>(key.size()), key.data());
    RC4(&schedule, data.size(), data.data(), data.data());
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Rc4_OpenSsl)->Arg(32)->Arg(4096)->Arg(1 << 20);

// Encryption from a prepared schedule: what the writer pays for each further
// string of an object once its key is cached.
void BM_Rc4_OursCachedSchedule(benchmark::State& state) {
  pdf::Bytes data = Data(state.range(0));
  const pdf::Rc4Schedule schedule = pdf::Rc4Prepare(Data(10));
  for (auto _ : state) {
    pdf::Rc4Apply(schedule, data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Rc4_OursCachedSchedule)->Arg(32)->Arg(4096)->Arg(1 << 20);

// One document's protection set-up: 40-bit as the program's documents use
// it, and 128-bit (103 digests and 40 RC4 passes).
void BM_SetProtection(benchmark::State& state) {
  const std::int32_t mode = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    pdf::PdfWriter writer;
    writer.SetProtection(mode, "ravoduzorude", "");
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SetProtection)->Arg(4)->Arg(4100);

}  // namespace
