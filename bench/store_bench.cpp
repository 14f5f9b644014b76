// The data file store on a realistic file: 250 keys (the application's 80,
// the declarations' 16 and the cost table's 57 and more, spelled like the
// real ones), lookups at the start, middle and end and of an absent key, the
// reading rule's full pass, a form's batch save of 80 pairs, a single write,
// and the final check; plus the number reading and formatting they use.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/dates.h"
#include "app/shell/final_check.h"
#include "app/shell/store.h"
#include "platform/system/system.h"

namespace {

using namespace sevrina;
namespace fs = std::filesystem;

constexpr int kChiavi = 250;

std::string chiave(int i) {
  static const char* const kRadici[] = {"LAVORI_DELIBERATI_", "IMPORTO_", "ATTO_NOTORIO_", "DATA_",
                                        "QUOTA_", "NOME_", "VOLUME_FUORI_TERRA_", "CONTRIBUTO_"};
  return std::string(kRadici[i % 8]) + "CAMPO_NUMERO_" + std::to_string(i) + (i % 5 == 0 ? "_SI_NO" : "");
}

std::string valore(int i) {
  switch (i % 4) {
    case 0: return "S";
    case 1: return std::to_string(1000 + i * 37) + ",50";
    case 2: return "20090515";
    default: return "Via dei Mille n. " + std::to_string(i);
  }
}

// One program folder with the 250-key file for the whole run.
class Cartella {
 public:
  Cartella() {
    std::string modello = (fs::temp_directory_path() / "sevrina-bench-XXXXXX").string();
    if (::mkdtemp(modello.data())) path_ = modello;
    sys::set_program_folder(path_);
    ripristina();
  }
  ~Cartella() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  void ripristina() {
    std::vector<Dato> dati;
    for (int i = 0; i < kChiavi; ++i) dati.push_back({chiave(i), valore(i)});
    fs::remove(path_ / "DATI.DAT");
    scrivi_dati(dati);
  }

 private:
  fs::path path_;
};

Cartella& cartella() {
  static Cartella c;
  return c;
}

void BM_LeggiDato(benchmark::State& state) {
  cartella();
  const int indice = static_cast<int>(state.range(0));
  const std::string k = indice < kChiavi ? chiave(indice) : std::string("CHIAVE_ASSENTE");
  for (auto _ : state) benchmark::DoNotOptimize(leggi_dato(k));
  state.SetLabel(indice < kChiavi ? "record " + std::to_string(indice + 1) : "absent");
}
BENCHMARK(BM_LeggiDato)->Arg(0)->Arg(125)->Arg(249)->Arg(kChiavi);

void BM_LeggiFileDati(benchmark::State& state) {
  cartella();
  for (auto _ : state) {
    std::size_t n = 0;
    leggi_file_dati([&](const VoceDati& v) {
      n += v.valore.size();
      return true;
    });
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * kChiavi);
}
BENCHMARK(BM_LeggiFileDati);

// A form's save: 80 pairs of existing keys, one open, flushed to the disk.
void BM_ScriviDatiBatch80(benchmark::State& state) {
  cartella();
  std::vector<Dato> dati;
  for (int i = 0; i < 80; ++i) dati.push_back({chiave(i * 3), valore(i) + "x"});
  int giro = 0;
  for (auto _ : state) {
    dati[0].valore = std::to_string(giro++);  // something changes every time
    scrivi_dati(dati);
  }
  state.SetItemsProcessed(state.iterations() * 80);
}
BENCHMARK(BM_ScriviDatiBatch80)->Unit(benchmark::kMillisecond);

// The same batch with nothing to change: the scan without the disk write.
void BM_ScriviDatiBatch80Invariato(benchmark::State& state) {
  cartella().ripristina();
  std::vector<Dato> dati;
  for (int i = 0; i < 80; ++i) dati.push_back({chiave(i * 3), valore(i * 3)});
  for (auto _ : state) scrivi_dati(dati);
  state.SetItemsProcessed(state.iterations() * 80);
}
BENCHMARK(BM_ScriviDatiBatch80Invariato);

void BM_ScriviDato(benchmark::State& state) {
  cartella();
  int giro = 0;
  for (auto _ : state) scrivi_dato("TIPO_RICHIEDENTE", giro++ % 2 ? "Amministratore" : "Unico Proprietario");
}
BENCHMARK(BM_ScriviDato)->Unit(benchmark::kMillisecond);

void BM_StampaDati(benchmark::State& state) {
  cartella().ripristina();
  for (auto _ : state) benchmark::DoNotOptimize(stampa_dati());
}
BENCHMARK(BM_StampaDati);

void BM_LeggiNumero(benchmark::State& state) {
  const std::string testi[] = {"1.234.567,25", "20090515", "0,00", "abc", "100000,00"};
  for (auto _ : state) {
    for (const auto& t : testi) benchmark::DoNotOptimize(leggi_numero(t));
  }
  state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_LeggiNumero);

void BM_FormattaNumero(benchmark::State& state) {
  for (auto _ : state) {
    double v = 1234567.255;
    benchmark::DoNotOptimize(formatta_numero(v, 2, "S"));
  }
}
BENCHMARK(BM_FormattaNumero);

}  // namespace
