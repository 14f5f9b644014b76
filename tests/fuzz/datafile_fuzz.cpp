// libFuzzer target for the data file reader: any bytes as the
// content of DATI.DAT. Checks the reading rule's invariants in memory and on
// disk, that a lookup and a write agree with it, and that the value decoders
// (numbers, dates, amounts) take any stored value without failing.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell/dates.h"
#include "app/shell/store.h"
#include "platform/system/system.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace sevrina;
namespace fs = std::filesystem;

const auto verifica = fuzz::Check;

const fs::path& cartella() {
  static const fs::path c = [] {
    // In memory: every write of the store flushes the file to the disk,
    // which would make the fuzzer crawl.
    const fs::path p = fuzz::TempPath("datafile-fuzz", "");
    fs::create_directories(p);
    sys::set_program_folder(p);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(sys::program_folder(), ec);
    });
    return p;
  }();
  return c;
}

void scrivi_file(const fs::path& p, std::string_view byte) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
}

std::string leggi_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Voce {
  std::string chiave, valore;
};

void decodifica(std::string_view valore) {
  // Every decoder a reader applies to a stored value.
  const auto n = leggi_numero(valore);
  if (n) verifica(*n == *n, "a number read as NaN");
  (void)flag_si(valore);
  (void)tipo_richiedente(valore);
  const int esito = controlla_data(valore);
  verifica(esito >= 0 && esito <= 2, "controlla_data out of range");
  const std::string mostrata = data_da_aaaammgg(valore);
  verifica(mostrata.size() <= 16, "shown date too long");
  (void)data_in_aaaammgg(valore);
  ValoreNumero v = std::string(valore);
  const std::string testo = formatta_numero(v, 2, "S");
  if (n) {
    // Formatting then reading back gives the rounded number.
    const auto riletto = leggi_numero(testo);
    verifica(riletto && *riletto == std::get<double>(v), "formatta_numero does not read back");
  } else {
    verifica(testo == "0,00", "a non-number formats as 0,00");
  }
}

// Small inputs rarely make whole 510-byte records, so the input is also
// read as fields separated by newlines, each pair of fields padded into one
// record; a last unpaired field stays as a short tail.
std::string in_record(std::string_view input) {
  std::vector<std::string_view> campi;
  std::size_t inizio = 0;
  for (std::size_t i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\n') {
      campi.push_back(input.substr(inizio, i - inizio));
      inizio = i + 1;
    }
  }
  std::string out;
  std::size_t i = 0;
  for (; i + 1 < campi.size(); i += 2) out += campo_record(campi[i]) + campo_record(campi[i + 1]);
  if (i < campi.size()) out += campi[i].substr(0, kLunghezzaRecord - 1);
  return out;
}

// The reading rule over `byte` in memory; with `su_disco` also through the
// data file, a lookup and (for some inputs) a write.
void controlla(std::string_view byte, bool su_disco) {
  const std::size_t size = byte.size();

  // The reading rule in memory.
  std::vector<Voce> voci;
  std::size_t atteso = 1;
  visita_record(byte, [&](const VoceDati& v) {
    verifica(v.record == atteso++, "records out of order");
    verifica(v.chiave.size() <= kLunghezzaCampo && v.valore.size() <= kLunghezzaCampo, "field too long");
    verifica(v.chiave.empty() || (v.chiave.front() != ' ' && v.chiave.back() != ' '), "key not trimmed");
    verifica(v.valore.empty() || (v.valore.front() != ' ' && v.valore.back() != ' '), "value not trimmed");
    verifica(maiuscole(v.chiave) == v.chiave, "key not in upper case");
    voci.push_back({std::string(v.chiave), std::string(v.valore)});
    return true;
  });
  verifica(voci.size() == size / kLunghezzaRecord, "record count");
  for (const Voce& v : voci) decodifica(v.valore);
  if (!su_disco) return;

  // The same bytes as the data file on disk.
  const fs::path dati = cartella() / "DATI.DAT";
  scrivi_file(dati, byte);
  std::size_t i = 0;
  leggi_file_dati([&](const VoceDati& v) {
    verifica(i < voci.size() && v.chiave == voci[i].chiave && v.valore == voci[i].valore, "disk reader differs");
    ++i;
    return true;
  });
  verifica(i == voci.size(), "disk reader count");

  if (!voci.empty()) {
    // A lookup takes the first match.
    const std::string& chiave = voci.back().chiave;
    const auto primo = std::find_if(voci.begin(), voci.end(), [&](const Voce& v) { return v.chiave == chiave; });
    verifica(leggi_dato(chiave) == primo->valore, "lookup is not the first match");
  }

  // A write of the first record's key (or a new key) with the first 300
  // bytes as its value.
  {
    const std::string chiave = voci.empty() ? std::string("CHIAVE") : voci.front().chiave;
    const std::string valore(byte.substr(0, 300));
    const bool c_era =
        std::any_of(voci.begin(), voci.end(), [&](const Voce& v) { return v.chiave == chiave_normalizzata(chiave); });
    scrivi_dato(chiave, valore);
    const std::string dopo = leggi_file(dati);
    const std::size_t n = size / kLunghezzaRecord;
    if (c_era) {
      verifica(dopo.size() == size, "a rewrite changed the length");
      // Records of other keys and the short tail stay byte for byte.
      for (std::size_t r = 0; r < n; ++r) {
        if (voci[r].chiave == chiave_normalizzata(chiave)) continue;
        verifica(dopo.compare(r * kLunghezzaRecord, kLunghezzaRecord, byte.substr(r * kLunghezzaRecord, kLunghezzaRecord)) == 0,
                 "a rewrite changed another record");
      }
      verifica(dopo.compare(n * kLunghezzaRecord, std::string::npos, byte.substr(n * kLunghezzaRecord)) == 0,
               "a rewrite changed the tail");
    } else {
      verifica(dopo.size() == (n + 1) * kLunghezzaRecord, "an append is not at n x 510");
      verifica(dopo.compare(0, n * kLunghezzaRecord, byte.substr(0, n * kLunghezzaRecord)) == 0,
               "an append changed earlier records");
    }
    // Every matching record was rewritten, or one appended: the lookup's
    // first match holds the value, cut to 255 and trimmed.
    verifica(leggi_dato(chiave) == togli_spazi(std::string_view(valore).substr(0, kLunghezzaCampo)),
             "a written value does not read back");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  controlla(input, false);
  controlla(in_record(input), true);
  return 0;
}
