// The whole output step, from a full data file to the three documents
// written and the data file moved: the work of "Genera" without the form.
// Reports the time per run and the process's peak resident memory
// (getrusage, in kB) as counters.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/documents/crea_file.h"
#include "app/documents/crea_sevrine.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

// A full condominium dossier: applicant, works, attachments, declarations,
// every cost key and the premium criteria.
std::string full_data_file() {
  std::vector<std::pair<std::string, std::string>> r = {
      {"TIPO_RICHIEDENTE", "Amministratore"}, {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", "Rossi"}, {"COMUNE_NASCITA_RICHIEDENTE", "Vareri"},
      {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"}, {"DATA_NASCITA_RICHIEDENTE", "19600131"},
      {"COMUNE_RICHIEDENTE", "Vareri"}, {"PROVINCIA_RICHIEDENTE", "NA"},
      {"INDIRIZZO_RICHIEDENTE", "via Roma"}, {"CIVICO_RESIDENZA_RICHIEDENTE", "12"},
      {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA60A31F839X"},
      {"COMUNE_DOMICILIO_RICHIEDENTE", "Vareri"}, {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "via Toledo"},
      {"CIVICO_DOMICILIO_RICHIEDENTE", "3"}, {"CAP_DOMICILIO_RICHIEDENTE", "80100"},
      {"TELEFONO_DOMICILIO_RICHIEDENTE", "0815551212"}, {"INDIRIZZO_CONDOMINIO", "via Chiaia"},
      {"CIVICO_CONDOMINIO", "7"}, {"CAP_CONDOMINIO", "80121"}, {"MUNICIPALITA_CONDOMINIO", "1"},
      {"DATA", "20080201"}, {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080115"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080120"},
      {"MANUTENZIONE_STRAORDINARIA_SI_NO", "S"}, {"CENTRO_STORICO_URBANO_SI_NO", "S"},
      {"DATA_ATTO_NOTORIO", "20080130"}, {"DATA_QUADRO_ECONOMICO", "20080131"},
      {"IMPORTO_LAVORI_NETTO_IVA", "100000"}, {"ONERI_SICUREZZA_NETTO_IVA", "5000"},
      {"SPESE_GENERALI_STIMATE", "10000"}, {"TOTALE_INTERVENTO", "136460"},
      {"PERCENTUALE_CONTRIBUTO_PREMIALE", "7,00"}, {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
      {"ADOZIONE_LIBRETTO_MANUTENZIONE", "S"},
  };
  for (const char* k : {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "DELIBERA_ASSEMBLEARE_SI_NO",
                        "DICHIARAZIONI_SOSTITUTIVE_SI_NO", "PROVVEDIMENTO_EDILIZIO_SI_NO",
                        "RELAZIONE_LAVORI_SI_NO", "DOCUMENTAZIONE_FOTOGRAFICA_SI_NO",
                        "PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", "STRALCIO_DEL_PRG_SI_NO",
                        "COMPUTO_METRICO_SI_NO", "COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO",
                        "PREMIALITA_CONSOLIDAMENTO_SI_NO", "PREMIALITA_BARRIERE_SI_NO"}) {
    r.emplace_back(k, "S");
  }
  for (char c = 'A'; c <= 'O'; ++c) r.emplace_back(std::string("ATTO_NOTORIO_") + c, "S");
  const char* costs[] = {"IVA_SU_IMPORTO_LAVORI", "IMPORTO_LAVORI_CON_IVA", "IVA_SU_ONERI_SICUREZZA",
                         "ONERI_SICUREZZA_CON_IVA", "PONTEGGI_E_OPERE_PROVVISIONALI",
                         "PONTEGGI_E_OPERE_PROVVISIONALI%", "OPERE_STRUTTURALI", "OPERE_STRUTTURALI%",
                         "COSAP_STIMATO", "COSAP_MASSIMO", "SPESE_GENERALI_MASSIME",
                         "CONTRIBUTO_BASE", "IMPORTO_CONTRIBUTO_BASE", "CONTRIBUTO_PREMIALE",
                         "IMPORTO_CONTRIBUTO_PREMIALE", "IMPORTO_CONTRIBUTO_ACCESSORIO",
                         "IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO"};
  int n = 1000;
  for (const char* k : costs) r.emplace_back(k, std::to_string(n += 1234) + ",56");
  std::string out;
  for (const auto& [k, v] : r) out += sevrina::campo_record(k) + sevrina::campo_record(v);
  return out;
}

long peak_kb() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_OutputStep(benchmark::State& state) {
  const fs::path root = fs::temp_directory_path() / ("sevrina-bench-" + std::to_string(::getpid()));
  const fs::path program = root / "programma";
  const fs::path desktop = root / "desktop";
  fs::create_directories(program);
  fs::create_directories(desktop);
  sys::set_program_folder(program);
  sevrina::install_document_services();
  forms::Runtime rt;
  forms::TestDriver ui(rt);  // answers any message box
  const std::string data = full_data_file();
  const long before = peak_kb();

  for (auto _ : state) {
    state.PauseTiming();
    {
      std::ofstream f(program / "DATI.DAT", std::ios::binary | std::ios::trunc);
      f << data;
    }
    state.ResumeTiming();
    if (!sevrina::CreaSevrine::genera(rt, desktop)) {
      state.SkipWithError("the output step failed");
      break;
    }
  }
  state.counters["peak_rss_kB"] = static_cast<double>(peak_kb());
  state.counters["peak_rss_before_kB"] = static_cast<double>(before);
  std::error_code ec;
  state.counters["output_bytes"] = static_cast<double>(
      fs::file_size(desktop / sevrina::kCartellaUscita / sevrina::kFileCondomini, ec) +
      fs::file_size(desktop / sevrina::kCartellaUscita / sevrina::kFileDichiarazioni, ec) +
      fs::file_size(desktop / sevrina::kCartellaUscita / sevrina::kFileQuadro, ec));
  fs::remove_all(root, ec);
}
BENCHMARK(BM_OutputStep)->Unit(benchmark::kMillisecond);

}  // namespace
