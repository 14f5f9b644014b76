// The generator frame: the data file's reading rule (later record wins, flags,
// amounts, dates), the declarant's paragraph, an unreadable data file and a
// write that fails half-way.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using sevrina::documenti::Dati;

// A complete applicant with accented letters in the values, read back from
// its data file.
Dati richiedente(const std::string& tipo) {
  return Dati::da_contenuto(doctest::data_file(doctest::richiedente(tipo)));
}

const std::string kInizio =
    u8"Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il 31/01/1960 residente a Vareri "
    u8"(VA) "_w1252;
// ---------------------------------------------------------------- the data values

TEST(DatiGeneratore, RegolaDiLettura) {
  const std::string file = doctest::data_file({
      {"  nome_richiedente ", "  Primo  "}, {"NOME_RICHIEDENTE", "Secondo"}, {"FLAG_A", "S"}, {"FLAG_B", "s"},
      {"FLAG_C", " S "}, {"FLAG_D", "SI"}, {"IMPORTO", "150000"}, {"IMPORTO_MEZZO", "0,125"},
      {"IMPORTO_TESTO", "abc"}, {"PERCENTUALE", "12,5"}, {"DATA_X", "20081231"}, {"DATA_ZERO", "0"},
  });
  const Dati d = Dati::da_contenuto(file);
  EXPECT_EQ(d["NOME_RICHIEDENTE"], "Secondo");  // the later record wins
  EXPECT_TRUE(d.flag("FLAG_A"));
  EXPECT_FALSE(d.flag("FLAG_B"));
  EXPECT_TRUE(d.flag("FLAG_C"));  // values lose their surrounding blanks
  EXPECT_FALSE(d.flag("FLAG_D"));
  EXPECT_FALSE(d.flag("ASSENTE"));
  EXPECT_EQ(d["ASSENTE"], "");
  EXPECT_EQ(d.importo("IMPORTO"), "150.000,00");
  EXPECT_EQ(d.importo("IMPORTO_MEZZO"), "0,12");
  EXPECT_EQ(d.importo("IMPORTO_TESTO"), "0,00");
  EXPECT_EQ(d.importo("ASSENTE"), "0,00");
  EXPECT_EQ(d.importo("PERCENTUALE"), "12,50");
  EXPECT_EQ(d.data("DATA_X"), "31/12/2008");
  EXPECT_EQ(d.data("DATA_ZERO"), "");
  EXPECT_EQ(d.data("ASSENTE"), "");
}

TEST(ParagrafoDichiarante, ConESenzaDomicilioEConIlCrLfTolto) {
  struct Caso {
    const char* nome;
    std::vector<std::pair<const char*, std::string>> modifiche;
    std::string atteso;
  };
  const std::vector<Caso> casi = {
      {"con domicilio", {},
       kInizio + u8"domiciliato in Pozzuoli in via Città n. 3 in qualità di amministratore del "
                u8"condominio sito in Vareri in piazza Dante n. 7."_w1252},
      {"senza domicilio", {{"COMUNE_DOMICILIO_RICHIEDENTE", ""}},
       kInizio + u8"in qualità di amministratore del condominio sito in Vareri in piazza Dante n. "
                u8"7."_w1252},
      {"comune del domicilio senza via", {{"INDIRIZZO_DOMICILIO_RICHIEDENTE", ""},
                                          {"CIVICO_DOMICILIO_RICHIEDENTE", ""}},
       kInizio + u8"domiciliato in Pozzuoli in  n.  in qualità di amministratore del condominio "
                u8"sito in Vareri in piazza Dante n. 7."_w1252},
      {"proprietario", {{"TIPO_RICHIEDENTE", "Delegato del Proprietario/i"}},
       kInizio + u8"domiciliato in Pozzuoli in via Città n. 3 in qualità di delegato del "
                u8"proprietario/i dello stabile sito in Vareri in piazza Dante n. 7."_w1252},
      {"CR LF tolti", {{"INDIRIZZO_CONDOMINIO", "piazza\r\nDante"}, {"NOME_RICHIEDENTE", "Ma\r\n\r\nrio"}},
       u8"Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il 31/01/1960 residente a "
       u8"Vareri (VA) domiciliato in Pozzuoli in via Città n. 3 in qualità di amministratore del "
       u8"condominio sito in Vareri in piazzaDante n. 7."_w1252},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    Dati d = richiedente("Amministratore");
    for (const auto& [k, v] : c.modifiche) d.imposta(k, v);
    EXPECT_EQ(sevrina::documenti::paragrafo_dichiarante(d), c.atteso);
  }
  EXPECT_EQ(sevrina::documenti::paragrafo_dichiarante(Dati()),
            u8"Il/La sottoscritto/a   nato/a a  () Il  residente a  () in qualità di  del "
            u8"condominio sito in Vareri in  n. ."_w1252);
}

// ---------------------------------------------------------------- opening, closing, messages

class Cornice : public doctest::DocumentTest {};

// A write that fails half-way (the file size limit reached) is no success:
// the critical message names the writer's failure, the unfinished file goes,
// and nothing is opened.
TEST_F(Cornice, ScritturaFallitaNonLasciaUnDocumentoMonco) {
  ui.set_failure_handler([](const std::string&) {});
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  rlimit prima{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &prima), 0);
  auto segnale = std::signal(SIGXFSZ, SIG_IGN);
  rlimit poco = prima;
  poco.rlim_cur = 6000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &poco), 0);
  const bool scritto = sevrina::crea_sevrina_condomini(out(), true);
  setrlimit(RLIMIT_FSIZE, &prima);
  std::signal(SIGXFSZ, segnale);
  EXPECT_FALSE(scritto);
  EXPECT_FALSE(std::filesystem::exists(out()));
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.icon, forms::MsgIcon::Critical);
  EXPECT_EQ(ui.boxes()[0].request.text,
            u8"Impossibile generare il file \""_w1252 + out() + u8"\": errore di scrittura sul disco."_w1252);
}

// Each failure of the output file in Italian, naming the file or its folder:
// a full disk, a folder that takes no new file, a read-only file; any other
// failure to open keeps the message of a file held open.
TEST_F(Cornice, OgniErroreDelFileDettoInItaliano) {
  ui.set_failure_handler([](const std::string&) {});
  write_data({{"TIPO_RICHIEDENTE", "Amministratore"}});
  const std::filesystem::path chiusa = dir.path() / "chiusa";
  std::filesystem::create_directory(chiusa);
  const std::string sola_lettura = (dir.path() / "sola lettura.pdf").string();
  pdftest::WriteFile(sola_lettura, "vecchio");
  ::chmod(sola_lettura.c_str(), 0444);
  struct Caso {
    std::string percorso;
    std::string messaggio;
    bool anche_root;  // root writes where the permissions say no
  };
  const std::vector<Caso> casi = {
      {"/dev/full",
       u8"Impossibile generare il file \"/dev/full\": il disco è pieno. Liberare spazio nella cartella \"/dev\" e "
       u8"riprovare."_w1252,
       true},
      {(dir.path() / "manca" / "x.pdf").string(), std::string(sevrina::documenti::kFileAperto), true},
      {(chiusa / "x.pdf").string(),
       u8"Impossibile generare il file \""_w1252 + (chiusa / "x.pdf").string() +
           u8"\": non è permesso scrivere nella cartella \""_w1252 + chiusa.string() + "\".",
       false},
      {sola_lettura, u8"Impossibile generare il file \""_w1252 + sola_lettura + u8"\": il file è di sola lettura."_w1252,
       false},
  };
  ::chmod(chiusa.c_str(), 0555);
  for (const Caso& c : casi) {
    if (!c.anche_root && ::geteuid() == 0) continue;
    if (c.percorso == "/dev/full" && !std::filesystem::exists("/dev/full")) continue;
    SCOPED_TRACE(c.percorso);
    const std::size_t prima = ui.boxes().size();
    EXPECT_FALSE(sevrina::crea_atto_notorio(c.percorso, false));
    ASSERT_EQ(ui.boxes().size(), prima + 1);
    EXPECT_EQ(ui.boxes().back().request.text, c.messaggio);
  }
  ::chmod(chiusa.c_str(), 0755);
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));  // removing an unfinished file spares a device
}

TEST_F(Cornice, FileDatiIlleggibileMostraIlSuoMessaggio) {
  std::filesystem::create_directory(dir.path() / "DATI.DAT");
  ui.set_failure_handler([](const std::string&) {});  // the store words the message
  EXPECT_FALSE(sevrina::crea_sevrina_proprietari(out(), false));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.icon, forms::MsgIcon::Critical);
  EXPECT_NE(ui.boxes()[0].request.text.find("DATI.DAT"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out()));
}

}  // namespace
