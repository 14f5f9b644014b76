// The final data check, its 21 checks in order with their messages verbatim,
// the required keys of phase 1 and duplicate keys, from data files built here.

#include "app/shell/final_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/text/cp1252.h"
#include "tests/app/shell/shell_test_support.h"

namespace sevrina {
namespace {

// A change to the complete file: a value, or nullopt to leave the key out.
using Modifiche = std::vector<std::pair<std::string, std::optional<std::string>>>;

// The messages, verbatim (UTF-8 here).
const char* const kMessaggi[22] = {
    nullptr,
    "La data della delibera condominiale che autorizza l'amministratore a partecipare al progetto è errata !",
    "La data della delibera condominiale che definisce gli interventi da effettuare è errata !",
    "Bisogna selezionare almeno un intervento nella sevrina!",
    "Bisogna selezionare almeno una delle tipologie di lavori!",
    "Bisogna selezionare almeno un ambito di lavori!",
    "Nell'area degli allegati della sevrina, è obbligatorio selezionare dal punto 1 all'8 ed il 12 !",
    "La Data della sevrina è errata !",
    "Selezionare le dichiarazioni obbligatorie!",
    "La data dell'atto notorio è errata !",
    "La data dell' atto notorio non può essere posteriore a quella della sevrina !",
    "Devo conoscere l'importo lavori (A1 in quadro economico)!",
    "Devo conoscere l'importo degli oneri per la sicurezza (A2 in quadro economico)!",
    "Devi specificare le categorie di lavorazione nel quadro economico!",
    "Devo conoscere l'importo delle spese generali e tecnico amministrative stimate (C in quadro economico)!",
    "La data del quadro economico è errata !",
    "La data del quadro economico non può essere posteriore a quella della sevrina !",
    "Bisogna selezionare una fascia dimensionale dell'immobile nel quadro economico!",
    "Se richiesto il contributo premiale è obbligatorio consegnare la relazione del progettista relativa agli "
    "interventi premiali (selezionare il punto 9 della sevrina) !",
    "Verificare il contributo premiale nel quadro economico !",
    "Se la fascia dimensionale dell'edificio è superiore a 30.000 mc è obbligatorio consegnare lo schema sintetico "
    "del fabbricato con allegato il calcolo dei volumi (selezionare il punto 10 della sevrina) !",
    "Verificare la fascia dimensionale dell'edificio nel quadro economico !",
};

std::optional<std::string> messaggio(int controllo) { return cp1252::from_utf8(kMessaggi[controllo]); }
std::optional<std::string> w(const std::string& utf8) { return cp1252::from_utf8(utf8); }

Coppie modifica(Coppie c, const Modifiche& m) {
  for (const auto& [chiave, valore] : m) {
    auto it = std::find_if(c.begin(), c.end(), [&](const auto& p) { return p.first == chiave; });
    if (!valore) {
      if (it != c.end()) c.erase(it);
    } else if (it != c.end()) {
      it->second = *valore;
    } else {
      c.emplace_back(chiave, *valore);
    }
  }
  return c;
}

class FinalCheckTest : public CartellaProgramma {
 protected:
  // Writes the data file and runs the check from the disk; the in-memory
  // form must agree.
  std::optional<std::string> controlla(const Coppie& c) {
    const std::string byte = in_byte(c);
    scrivi_byte(byte);
    auto da_disco = stampa_dati();
    EXPECT_EQ(da_disco, stampa_dati(byte));
    EXPECT_EQ(leggi_byte(), byte);  // nothing is written
    return da_disco;
  }
};

// ---------------------------------------------------------------- the 21 checks

struct Caso {
  const char* nome;
  Modifiche modifiche;
  int controllo;  // 0: passes
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.nome; }

class ControlliTest : public FinalCheckTest, public ::testing::WithParamInterface<Caso> {};

TEST_P(ControlliTest, FirstFailureAndItsMessage) {
  const Caso& c = GetParam();
  const auto esito = controlla(modifica(completo(), c.modifiche));
  if (c.controllo == 0) {
    EXPECT_EQ(esito, std::nullopt) << c.nome << ": " << cp1252::to_utf8(esito.value_or(""));
  } else {
    EXPECT_EQ(esito, messaggio(c.controllo)) << c.nome << ": " << cp1252::to_utf8(esito.value_or("(none)"));
  }
}

const std::string kProprietario = "Delegato del Proprietario/i";

INSTANTIATE_TEST_SUITE_P(
    Parte, ControlliTest,
    ::testing::Values(
        // 1 and 2: the deliberation dates, for a condominium only.
        Caso{"authorisation blank", {{"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", ""}}, 1},
        Caso{"authorisation absent", {{"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", std::nullopt}}, 1},
        Caso{"authorisation 0", {{"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "0"}}, 1},
        Caso{"authorisation not a number", {{"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "aaaammgg"}}, 1},
        Caso{"works deliberation 0", {{"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "0"}}, 2},
        Caso{"works deliberation blank", {{"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", " "}}, 2},
        Caso{"both deliberations: the first check",
             {{"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "0"}, {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "0"}},
             1},
        Caso{"owner never meets 1 and 2",
             {{"TIPO_RICHIEDENTE", "Unico Proprietario"},
              {"ATTO_NOTORIO_F", "S"},
              {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "0"},
              {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "xyz"}},
             0},
        Caso{"no applicant type skips 1 and 2", {{"TIPO_RICHIEDENTE", std::nullopt},
                                                 {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "0"}},
             0},
        Caso{"any other type is a condominium", {{"TIPO_RICHIEDENTE", "condominio"},
                                                 {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", ""}},
             1},
        // 3 to 6: counts.
        Caso{"no work", {{"LAVORI_DELIBERATI_FACCIATE_SI_NO", "N"}}, 3},
        Caso{"a flag in lower case is not ticked", {{"LAVORI_DELIBERATI_FACCIATE_SI_NO", "s"}}, 3},
        Caso{"another work", {{"LAVORI_DELIBERATI_FACCIATE_SI_NO", "N"}, {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "S"}},
             0},
        Caso{"no work type", {{"MANUTENZIONE_STRAORDINARIA_SI_NO", "N"}}, 4},
        Caso{"no area", {{"CENTRO_STORICO_URBANO_SI_NO", "N"}}, 5},
        Caso{"attachment 1 missing", {{"DELIBERA_ASSEMBLEARE_SI_NO", "N"}}, 6},
        Caso{"attachment 8 absent", {{"COMPUTO_METRICO_SI_NO", std::nullopt}}, 6},
        Caso{"attachment 12 missing", {{"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", "N"}}, 6},
        // 7: the application date.
        Caso{"application date blank", {{"DATA", ""}}, 7},
        Caso{"application date 0", {{"DATA", "0"}}, 7},
        Caso{"application date emptied", {{"DATA", "000000"}}, 7},
        Caso{"application date not a number", {{"DATA", "aaaammgg"}}, 7},
        // 8: the declarations, 13 or (owner) 14, exactly.
        Caso{"condominium with 14", {{"ATTO_NOTORIO_F", "S"}}, 8},
        Caso{"condominium with 12", {{"ATTO_NOTORIO_O", "N"}}, 8},
        Caso{"owner with 13", {{"TIPO_RICHIEDENTE", "Unico Proprietario"}}, 8},
        Caso{"declaration E is not counted", {{"ATTO_NOTORIO_E", "S"}}, 0},
        Caso{"E does not make up for F", {{"TIPO_RICHIEDENTE", kProprietario}, {"ATTO_NOTORIO_E", "S"}}, 8},
        Caso{"no type asks for 13", {{"TIPO_RICHIEDENTE", ""}}, 0},
        // 9: the declaration date, an emptied date counts as missing.
        Caso{"declaration date blank", {{"DATA_ATTO_NOTORIO", ""}}, 9},
        Caso{"declaration date 0", {{"DATA_ATTO_NOTORIO", "0"}}, 9},
        Caso{"declaration date not a number", {{"DATA_ATTO_NOTORIO", "gg/mm/aaaa"}}, 9},
        Caso{"declaration date emptied", {{"DATA_ATTO_NOTORIO", "000000"}}, 9},
        Caso{"declaration date 00000000", {{"DATA_ATTO_NOTORIO", "00000000"}}, 9},
        // 10: declaration not after the application.
        Caso{"declaration one day later", {{"DATA_ATTO_NOTORIO", "20090516"}}, 10},
        Caso{"declaration earlier", {{"DATA_ATTO_NOTORIO", "20090514"}}, 0},
        // 11 to 14: the cost table's amounts.
        Caso{"A1 blank", {{"IMPORTO_LAVORI_NETTO_IVA", ""}}, 11},
        Caso{"A1 absent", {{"IMPORTO_LAVORI_NETTO_IVA", std::nullopt}}, 11},
        Caso{"A1 0", {{"IMPORTO_LAVORI_NETTO_IVA", "0"}}, 11},
        Caso{"A1 0,00 passes", {{"IMPORTO_LAVORI_NETTO_IVA", "0,00"}}, 0},
        Caso{"A2 0", {{"ONERI_SICUREZZA_NETTO_IVA", "0"}}, 12},
        Caso{"no category", {{"OPERE_STRUTTURALI", "0,00"}, {"OPERE_DI_FINITURA_E_COMPLETAMENTO", "0"}}, 13},
        Caso{"a category of 0,01", {{"OPERE_STRUTTURALI", "0,00"}, {"OPERE_DI_FINITURA_E_COMPLETAMENTO", "0,01"}}, 0},
        Caso{"C blank", {{"SPESE_GENERALI_STIMATE", ""}}, 14},
        Caso{"C 0", {{"SPESE_GENERALI_STIMATE", "0"}}, 14},
        // 15: the cost-table date, an emptied date counts as missing.
        Caso{"cost-table date 0", {{"DATA_QUADRO_ECONOMICO", "0"}}, 15},
        Caso{"cost-table date blank", {{"DATA_QUADRO_ECONOMICO", ""}}, 15},
        Caso{"cost-table date emptied", {{"DATA_QUADRO_ECONOMICO", "000000"}}, 15},
        // 16: cost table not after the application.
        Caso{"cost table one day later", {{"DATA_QUADRO_ECONOMICO", "20090516"}}, 16},
        Caso{"cost table the same day", {{"DATA_QUADRO_ECONOMICO", "20090515"}}, 0},
        // 17: exactly one size band.
        Caso{"both bands", {{"VOLUME_FUORI_TERRA_OLTRE", "S"}, {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "S"}}, 17},
        Caso{"no band", {{"VOLUME_FUORI_TERRA_INFERIORE", "N"}}, 17},
        // 18 and 19: premium and point 9.
        Caso{"premium without point 9", {{"CONTRIBUTO_PREMIALE", "1500,00"}}, 18},
        Caso{"point 9 without premium", {{"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", "S"}}, 19},
        Caso{"point 9 with a premium of 0", {{"CONTRIBUTO_PREMIALE", "0"}, {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", "S"}},
             19},
        Caso{"premium and point 9", {{"CONTRIBUTO_PREMIALE", "1500,00"}, {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", "S"}},
             0},
        // 20 and 21: band above 30,000 m³ and point 10.
        Caso{"band above without point 10", {{"VOLUME_FUORI_TERRA_INFERIORE", "N"}, {"VOLUME_FUORI_TERRA_OLTRE", "S"}},
             20},
        Caso{"point 10 without the band above", {{"FASCIA_DIMENSIONALE_SUPERIORE_30000", "S"}}, 21},
        Caso{"band above and point 10",
             {{"VOLUME_FUORI_TERRA_INFERIORE", "N"},
              {"VOLUME_FUORI_TERRA_OLTRE", "S"},
              {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "S"}},
             0}),
    [](const auto& info) {
      std::string n;
      for (char c : std::string(info.param.nome)) n.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
      return n;
    });

// ---------------------------------------------------------------- phase 1: the required keys

class RichiestiTest : public FinalCheckTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(RichiestiTest, ABlankRequiredKeyFailsWithItsMessage) {
  const auto& [chiave, testo] = kRichiesti[GetParam()];
  EXPECT_EQ(controlla(modifica(completo(), {{chiave, "   "}})), w(testo)) << chiave;
  EXPECT_EQ(controlla(modifica(completo(), {{chiave, ""}})), w(testo)) << chiave;
  // Absent, it raises nothing.
  EXPECT_EQ(controlla(modifica(completo(), {{chiave, std::nullopt}})), std::nullopt) << chiave;
  // Phase 2 does not run after it.
  EXPECT_EQ(controlla(modifica(completo(), {{chiave, ""}, {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "N"}})), w(testo));
}

INSTANTIATE_TEST_SUITE_P(Parte, RichiestiTest, ::testing::Range<std::size_t>(0, 19));

// ---------------------------------------------------------------- duplicate keys

TEST_F(FinalCheckTest, DuplicateKeysCountTwiceAndTheLaterValueWins) {
  Coppie c = completo();
  c.emplace_back("VOLUME_FUORI_TERRA_INFERIORE", "S");
  EXPECT_EQ(controlla(c), messaggio(17));

  c = completo();
  c.emplace_back("ATTO_NOTORIO_A", "S");  // 14 for a condominium
  EXPECT_EQ(controlla(c), messaggio(8));

  c = completo();
  c.emplace_back("DATA", "0");
  EXPECT_EQ(controlla(c), messaggio(7));

  c = modifica(completo(), {{"DATA", "0"}});
  c.emplace_back("DATA", "20090515");
  EXPECT_EQ(controlla(c), std::nullopt);

  c = completo();
  c.emplace_back("NOME_RICHIEDENTE", "");
  EXPECT_EQ(controlla(c), w("Devo conoscere il nome del richiedente!"));
}

}  // namespace
}  // namespace sevrina
