// The generator frame: the data file's reading rule (later record wins, flags,
// amounts, dates) and a write that fails half-way.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "app/shell/document_services.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using sevrina::documenti::Dati;

// ---------------------------------------------------------------- the data values

TEST(DatiGeneratore, RegolaDiLettura) {
  const std::string file = doctest::data_file({
      {"  nome_richiedente ", "  Primo  "},
      {"NOME_RICHIEDENTE", "Secondo"},
      {"FLAG_A", "S"},
      {"FLAG_B", "s"},
      {"FLAG_C", " S "},
      {"FLAG_D", "SI"},
      {"IMPORTO", "150000"},
      {"IMPORTO_MEZZO", "0,125"},
      {"IMPORTO_TESTO", "abc"},
      {"PERCENTUALE", "12,5"},
      {"DATA_X", "20081231"},
      {"DATA_ZERO", "0"},
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
  EXPECT_EQ(ui.boxes()[0].request.text.rfind("PdfWriter - ", 0), 0u) << ui.boxes()[0].request.text;
}

}  // namespace
