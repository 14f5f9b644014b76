#pragma once
// The fixture the shell's tests share: a fresh program folder per test, with
// the data file's path and its bytes read and written whole.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/shell/store.h"
#include "platform/system/system.h"

namespace sevrina {

using Coppie = std::vector<std::pair<std::string, std::string>>;

// The required keys of phase 1 with their messages.
inline const std::vector<std::pair<std::string, std::string>> kRichiesti = {
    {"NOME_RICHIEDENTE", "Devo conoscere il nome del richiedente!"},
    {"COGNOME_RICHIEDENTE", "Devo conoscere il cognome del richiedente!"},
    {"COMUNE_NASCITA_RICHIEDENTE", "Devo conoscere il comune di nascita del richiedente!"},
    {"PROVINCIA_NASCITA_RICHIEDENTE", "Devo conoscere la provincia di nascita del richiedente!"},
    {"DATA_NASCITA_RICHIEDENTE", "Devo conoscere la data di nascita del richiedente!"},
    {"COMUNE_RICHIEDENTE", "Devo conoscere il comune del richiedente!"},
    {"PROVINCIA_RICHIEDENTE", "Devo conoscere la provincia del richiedente!"},
    {"INDIRIZZO_RICHIEDENTE", "Devo conoscere l'indirizzo del richiedente!"},
    {"CIVICO_RESIDENZA_RICHIEDENTE", "Devo conoscere il civico dell'indirizzo del richiedente!"},
    {"CODICE_FISCALE_RICHIEDENTE", "Devo conoscere il codice fiscale del richiedente!"},
    {"COMUNE_DOMICILIO_RICHIEDENTE", "Devo conoscere il comune dove è domiciliato il richiedente!"},
    {"PROVINCIA_DOMICILIO_RICHIEDENTE", "Devo conoscere la provincia dove è domiciliato il richiedente!"},
    {"INDIRIZZO_DOMICILIO_RICHIEDENTE", "Devo conoscere l'indirizzo dove è domiciliato il richiedente!"},
    {"CIVICO_DOMICILIO_RICHIEDENTE", "Devo conoscere il civico dove è domiciliato il richiedente!"},
    {"CAP_DOMICILIO_RICHIEDENTE", "Devo conoscere il cap dove è domiciliato il richiedente!"},
    {"TELEFONO_DOMICILIO_RICHIEDENTE", "Devo conoscere il telefono del richiedente!"},
    {"INDIRIZZO_CONDOMINIO", "Devo conoscere l'indirizzo del condominio!"},
    {"CIVICO_CONDOMINIO", "Devo conoscere il civico del condominio!"},
    {"CAP_CONDOMINIO", "Devo conoscere il cap del condominio!"},
};

// A condominium's dossier that passes every check.
inline Coppie completo() {
  Coppie c = {{"TIPO_RICHIEDENTE", "Amministratore"}};
  for (const auto& [chiave, m] : kRichiesti) {
    c.emplace_back(chiave, chiave == "DATA_NASCITA_RICHIEDENTE" ? "19600101" : "valore");
  }
  const Coppie resto = {
      {"DATA", "20090515"}, {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20090101"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20090102"}, {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"LAVORI_DELIBERATI_CORTILE_SI_NO", "N"}, {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "N"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "N"}, {"MANUTENZIONE_STRAORDINARIA_SI_NO", "S"},
      {"RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO", "N"}, {"CENTRO_STORICO_URBANO_SI_NO", "S"},
      {"CENTRO_STORICO_DELLE_PERIFERIE_SI_NO", "N"}, {"QUARTIERE_PERIFERICO_SI_NO", "N"},
      {"DELIBERA_ASSEMBLEARE_SI_NO", "S"}, {"DICHIARAZIONI_SOSTITUTIVE_SI_NO", "S"},
      {"PROVVEDIMENTO_EDILIZIO_SI_NO", "S"}, {"RELAZIONE_LAVORI_SI_NO", "S"},
      {"DOCUMENTAZIONE_FOTOGRAFICA_SI_NO", "S"}, {"PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", "S"},
      {"STRALCIO_DEL_PRG_SI_NO", "S"}, {"COMPUTO_METRICO_SI_NO", "S"},
      {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", "N"}, {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "N"},
      {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", "S"}, {"DATA_ATTO_NOTORIO", "20090515"},
      {"IMPORTO_LAVORI_NETTO_IVA", "100000,00"}, {"ONERI_SICUREZZA_NETTO_IVA", "5000,00"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "0,00"}, {"MOVIMENTI_E_OPERE_TERRA", ""},
      {"OPERE_STRUTTURALI", "60000,00"}, {"OPERE_DI_FINITURA_E_COMPLETAMENTO", "40000"}, {"IMPIANTI", "0"},
      {"ASCENSORI", "0,00"}, {"ONERI_SICUREZZA_NON_INCLUSI", "0,00"}, {"SPESE_GENERALI_STIMATE", "10000,00"},
      {"CONTRIBUTO_PREMIALE", "0,00"}, {"VOLUME_FUORI_TERRA_INFERIORE", "S"}, {"VOLUME_FUORI_TERRA_OLTRE", "N"},
      {"DATA_QUADRO_ECONOMICO", "20090510"},
  };
  c.insert(c.end(), resto.begin(), resto.end());
  // The thirteen declarations a condominium gives: all but E and F.
  for (char d = 'A'; d <= 'O'; ++d) c.emplace_back(std::string("ATTO_NOTORIO_") + d, d == 'E' || d == 'F' ? "N" : "S");
  return c;
}

class CartellaProgramma : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (std::filesystem::temp_directory_path() / "sevrina-shell-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
  }
  void TearDown() override {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(cartella_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(cartella_, ec);
  }

  std::filesystem::path dati() const { return cartella_ / "DATI.DAT"; }
  std::string leggi_byte() const {
    std::ifstream in(dati(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void scrivi_byte(std::string_view byte) const {
    std::ofstream out(dati(), std::ios::binary | std::ios::trunc);
    out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
  }
  // One record of the data file: key and value, each padded to 255 bytes.
  static std::string record(std::string_view chiave, std::string_view valore) {
    return campo_record(chiave) + campo_record(valore);
  }
  static std::string in_byte(const Coppie& c) {
    std::string byte;
    for (const auto& [chiave, valore] : c) byte += record(chiave, valore);
    return byte;
  }

  std::filesystem::path cartella_;
};

}  // namespace sevrina
