#include "app/shell/final_check.h"

#include <algorithm>
#include <array>
#include <functional>

#include "app/shell/dates.h"
#include "app/shell/store.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

using namespace cp1252::literals;

// What a record of a known key does during the pass.
enum class Effetto {
  Richiesto,       // required: blank fails with the row's message
  RichiestaData,   // required date: blank or a number 0 fails
  TipoRichiedente,
  DataSevrina,
  DataAutorizzazione,
  DataEsecuzione,
  DataAttoNotorio,
  DataQuadro,
  Lavoro,
  TipologiaLavori,
  Ambito,
  FasciaInferiore,
  FasciaOltre,
  Categoria,
  Allegato,
  Dichiarazione,
  Premiale,
  Punto10,
  Punto9,
  ImportoA1,
  ImportoA2,
  ImportoC,
};

struct Riga {
  std::string_view chiave;
  Effetto effetto;
  const char8_t* messaggio = nullptr;  // for required keys, UTF-8
};

// The pass table, sorted by key for the lookup.
constexpr auto kTabella = [] {
  std::array<Riga, 86> t = {{
      {"TIPO_RICHIEDENTE", Effetto::TipoRichiedente},
      {"NOME_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il nome del richiedente!"},
      {"COGNOME_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il cognome del richiedente!"},
      {"COMUNE_NASCITA_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il comune di nascita del richiedente!"},
      {"PROVINCIA_NASCITA_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere la provincia di nascita del richiedente!"},
      {"DATA_NASCITA_RICHIEDENTE", Effetto::RichiestaData, u8"Devo conoscere la data di nascita del richiedente!"},
      {"COMUNE_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il comune del richiedente!"},
      {"PROVINCIA_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere la provincia del richiedente!"},
      {"INDIRIZZO_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere l'indirizzo del richiedente!"},
      {"CIVICO_RESIDENZA_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere il civico dell'indirizzo del richiedente!"},
      {"CODICE_FISCALE_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il codice fiscale del richiedente!"},
      {"COMUNE_DOMICILIO_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere il comune dove è domiciliato il richiedente!"},
      {"PROVINCIA_DOMICILIO_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere la provincia dove è domiciliato il richiedente!"},
      {"INDIRIZZO_DOMICILIO_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere l'indirizzo dove è domiciliato il richiedente!"},
      {"CIVICO_DOMICILIO_RICHIEDENTE", Effetto::Richiesto,
       u8"Devo conoscere il civico dove è domiciliato il richiedente!"},
      {"CAP_DOMICILIO_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il cap dove è domiciliato il richiedente!"},
      {"TELEFONO_DOMICILIO_RICHIEDENTE", Effetto::Richiesto, u8"Devo conoscere il telefono del richiedente!"},
      {"INDIRIZZO_CONDOMINIO", Effetto::Richiesto, u8"Devo conoscere l'indirizzo del condominio!"},
      {"CIVICO_CONDOMINIO", Effetto::Richiesto, u8"Devo conoscere il civico del condominio!"},
      {"CAP_CONDOMINIO", Effetto::Richiesto, u8"Devo conoscere il cap del condominio!"},
      {"DATA", Effetto::DataSevrina},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", Effetto::DataAutorizzazione},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", Effetto::DataEsecuzione},
      {"DATA_ATTO_NOTORIO", Effetto::DataAttoNotorio},
      {"DATA_QUADRO_ECONOMICO", Effetto::DataQuadro},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_CORTILE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_ANDRONE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_COPERTURA_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_FONDAZIONI_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO", Effetto::Lavoro},
      {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", Effetto::Lavoro},
      {"MANUTENZIONE_ORDINARIA_SI_NO", Effetto::TipologiaLavori},
      {"MANUTENZIONE_STRAORDINARIA_SI_NO", Effetto::TipologiaLavori},
      {"RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO", Effetto::TipologiaLavori},
      {"CENTRO_STORICO_URBANO_SI_NO", Effetto::Ambito},
      {"CENTRO_STORICO_DELLE_PERIFERIE_SI_NO", Effetto::Ambito},
      {"QUARTIERE_PERIFERICO_SI_NO", Effetto::Ambito},
      {"VOLUME_FUORI_TERRA_INFERIORE", Effetto::FasciaInferiore},
      {"VOLUME_FUORI_TERRA_OLTRE", Effetto::FasciaOltre},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", Effetto::Categoria},
      {"MOVIMENTI_E_OPERE_TERRA", Effetto::Categoria},
      {"OPERE_STRUTTURALI", Effetto::Categoria},
      {"OPERE_DI_FINITURA_E_COMPLETAMENTO", Effetto::Categoria},
      {"IMPIANTI", Effetto::Categoria},
      {"ASCENSORI", Effetto::Categoria},
      {"ONERI_SICUREZZA_NON_INCLUSI", Effetto::Categoria},
      {"DELIBERA_ASSEMBLEARE_SI_NO", Effetto::Allegato},
      {"DICHIARAZIONI_SOSTITUTIVE_SI_NO", Effetto::Allegato},
      {"PROVVEDIMENTO_EDILIZIO_SI_NO", Effetto::Allegato},
      {"RELAZIONE_LAVORI_SI_NO", Effetto::Allegato},
      {"DOCUMENTAZIONE_FOTOGRAFICA_SI_NO", Effetto::Allegato},
      {"PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", Effetto::Allegato},
      {"STRALCIO_DEL_PRG_SI_NO", Effetto::Allegato},
      {"COMPUTO_METRICO_SI_NO", Effetto::Allegato},
      {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", Effetto::Allegato},
      {"ATTO_NOTORIO_A", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_B", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_C", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_D", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_F", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_G", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_H", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_I", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_J", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_K", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_L", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_M", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_N", Effetto::Dichiarazione},
      {"ATTO_NOTORIO_O", Effetto::Dichiarazione},
      {"CONTRIBUTO_PREMIALE", Effetto::Premiale},
      {"FASCIA_DIMENSIONALE_SUPERIORE_30000", Effetto::Punto10},
      {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", Effetto::Punto9},
      {"IMPORTO_LAVORI_NETTO_IVA", Effetto::ImportoA1},
      {"ONERI_SICUREZZA_NETTO_IVA", Effetto::ImportoA2},
      {"SPESE_GENERALI_STIMATE", Effetto::ImportoC},
  }};
  std::sort(t.begin(), t.end(), [](const Riga& a, const Riga& b) { return a.chiave < b.chiave; });
  return t;
}();

// Every row filled in, every key once.
static_assert(std::none_of(kTabella.begin(), kTabella.end(), [](const Riga& r) { return r.chiave.empty(); }));
static_assert(std::adjacent_find(kTabella.begin(), kTabella.end(),
                                 [](const Riga& a, const Riga& b) { return a.chiave == b.chiave; }) ==
              kTabella.end());

const Riga* riga(std::string_view chiave) {
  auto it = std::lower_bound(kTabella.begin(), kTabella.end(), chiave,
                             [](const Riga& r, std::string_view k) { return r.chiave < k; });
  return it != kTabella.end() && it->chiave == chiave ? &*it : nullptr;
}

std::string testo(const char8_t* utf8) {
  return operator""_w1252(utf8, std::char_traits<char8_t>::length(utf8));
}

// What the pass collects.
struct Raccolta {
  std::string tipo;
  std::string data_sevrina, data_autorizzazione, data_esecuzione, data_atto_notorio, data_quadro;
  std::string importo_a1, importo_a2, importo_c;
  int lavori = 0, tipologie = 0, ambiti = 0, fasce = 0, allegati = 0, dichiarazioni = 0, categorie = 0;
  bool premiale = false, punto9 = false, punto10 = false, fascia_oltre = false;
};

// An amount counts as filled in unless "", "0" or "0,00".
bool importo_compilato(std::string_view v) { return !(v.empty() || v == "0" || v == "0,00"); }

// A date that is blank, not a number, or the number 0 (an emptied date box
// is stored as "000000", which must count as missing for every date).
bool data_mancante(std::string_view v) {
  const auto n = leggi_numero(v);
  return !n || *n == 0;
}

double come_numero(std::string_view v) { return numero_o_zero(v); }

// Phase 1. Returns false (and sets `errore`) at the first required key that
// fails.
bool raccogli(const VoceDati& voce, Raccolta& r, std::optional<std::string>& errore) {
  const Riga* k = riga(voce.chiave);
  if (!k) return true;
  const std::string_view v = voce.valore;  // trimmed
  switch (k->effetto) {
    case Effetto::Richiesto:
      if (v.empty()) {
        errore = testo(k->messaggio);
        return false;
      }
      break;
    case Effetto::RichiestaData:
      if (v.empty() || leggi_numero(v).value_or(1) == 0) {
        errore = testo(k->messaggio);
        return false;
      }
      break;
    case Effetto::TipoRichiedente: r.tipo = v; break;
    case Effetto::DataSevrina: r.data_sevrina = v; break;
    case Effetto::DataAutorizzazione: r.data_autorizzazione = v; break;
    case Effetto::DataEsecuzione: r.data_esecuzione = v; break;
    case Effetto::DataAttoNotorio: r.data_atto_notorio = v; break;
    case Effetto::DataQuadro: r.data_quadro = v; break;
    case Effetto::Lavoro: r.lavori += v == "S"; break;
    case Effetto::TipologiaLavori: r.tipologie += v == "S"; break;
    case Effetto::Ambito: r.ambiti += v == "S"; break;
    case Effetto::FasciaInferiore: r.fasce += v == "S"; break;
    case Effetto::FasciaOltre:
      if (v == "S") {
        ++r.fasce;
        r.fascia_oltre = true;
      }
      break;
    case Effetto::Categoria: r.categorie += importo_compilato(v); break;
    case Effetto::Allegato: r.allegati += v == "S"; break;
    case Effetto::Dichiarazione: r.dichiarazioni += v == "S"; break;
    case Effetto::Premiale: r.premiale = importo_compilato(v); break;
    case Effetto::Punto10: r.punto10 = v == "S"; break;
    case Effetto::Punto9: r.punto9 = v == "S"; break;
    case Effetto::ImportoA1: r.importo_a1 = v; break;
    case Effetto::ImportoA2: r.importo_a2 = v; break;
    case Effetto::ImportoC: r.importo_c = v; break;
  }
  return true;
}

// Phase 2: the 21 checks in order.
std::optional<std::string> controlla(const Raccolta& r) {
  const TipoRichiedente tipo = tipo_richiedente(r.tipo);
  const bool condominio = tipo == TipoRichiedente::Condominio;
  const bool proprietario = tipo == TipoRichiedente::Proprietario;
  auto esito = [](const char8_t* m) { return std::optional<std::string>(testo(m)); };

  if (condominio && data_mancante(r.data_autorizzazione)) {
    return esito(u8"La data della delibera condominiale che autorizza l'amministratore a partecipare al progetto è errata !");
  }
  if (condominio && data_mancante(r.data_esecuzione)) {
    return esito(u8"La data della delibera condominiale che definisce gli interventi da effettuare è errata !");
  }
  if (r.lavori < 1) return esito(u8"Bisogna selezionare almeno un intervento nella sevrina!");
  if (r.tipologie < 1) return esito(u8"Bisogna selezionare almeno una delle tipologie di lavori!");
  if (r.ambiti < 1) return esito(u8"Bisogna selezionare almeno un ambito di lavori!");
  if (r.allegati < 9) {
    return esito(u8"Nell'area degli allegati della sevrina, è obbligatorio selezionare dal punto 1 all'8 ed il 12 !");
  }
  if (data_mancante(r.data_sevrina)) return esito(u8"La Data della sevrina è errata !");
  if (r.dichiarazioni != (proprietario ? 14 : 13)) return esito(u8"Selezionare le dichiarazioni obbligatorie!");
  // Check 9, mended: "0", "000000" and every other zero are a missing date.
  if (data_mancante(r.data_atto_notorio)) return esito(u8"La data dell'atto notorio è errata !");
  if (come_numero(r.data_sevrina) != 0 && come_numero(r.data_atto_notorio) != 0 &&
      come_numero(r.data_atto_notorio) > come_numero(r.data_sevrina)) {
    return esito(u8"La data dell' atto notorio non può essere posteriore a quella della sevrina !");
  }
  if (r.importo_a1.empty() || r.importo_a1 == "0") {
    return esito(u8"Devo conoscere l'importo lavori (A1 in quadro economico)!");
  }
  if (r.importo_a2.empty() || r.importo_a2 == "0") {
    return esito(u8"Devo conoscere l'importo degli oneri per la sicurezza (A2 in quadro economico)!");
  }
  if (r.categorie < 1) return esito(u8"Devi specificare le categorie di lavorazione nel quadro economico!");
  if (r.importo_c.empty() || r.importo_c == "0") {
    return esito(
        u8"Devo conoscere l'importo delle spese generali e tecnico amministrative stimate (C in quadro economico)!");
  }
  // Check 15, mended like check 9.
  if (data_mancante(r.data_quadro)) return esito(u8"La data del quadro economico è errata !");
  if (come_numero(r.data_sevrina) != 0 && come_numero(r.data_quadro) != 0 &&
      come_numero(r.data_quadro) > come_numero(r.data_sevrina)) {
    return esito(u8"La data del quadro economico non può essere posteriore a quella della sevrina !");
  }
  if (r.fasce != 1) {
    return esito(u8"Bisogna selezionare una fascia dimensionale dell'immobile nel quadro economico!");
  }
  if (r.premiale && !r.punto9) {
    return esito(
        u8"Se richiesto il contributo premiale è obbligatorio consegnare la relazione del progettista relativa agli "
        u8"interventi premiali (selezionare il punto 9 della sevrina) !");
  }
  if (!r.premiale && r.punto9) return esito(u8"Verificare il contributo premiale nel quadro economico !");
  if (r.fascia_oltre && !r.punto10) {
    return esito(
        u8"Se la fascia dimensionale dell'edificio è superiore a 30.000 mc è obbligatorio consegnare lo schema "
        u8"sintetico del fabbricato con allegato il calcolo dei volumi (selezionare il punto 10 della sevrina) !");
  }
  if (!r.fascia_oltre && r.punto10) {
    return esito(u8"Verificare la fascia dimensionale dell'edificio nel quadro economico !");
  }
  return std::nullopt;
}

template <typename Lettore>
std::optional<std::string> esegui(Lettore&& leggi) {
  Raccolta r;
  std::optional<std::string> errore;
  leggi([&](const VoceDati& voce) { return raccogli(voce, r, errore); });
  if (errore) return errore;
  return controlla(r);
}

}  // namespace

std::optional<std::string> stampa_dati() {
  return esegui([](const VisitaDati& visita) { return leggi_file_dati(visita); });
}

std::optional<std::string> stampa_dati(std::string_view contenuto) {
  return esegui([&](const VisitaDati& visita) { return visita_record(contenuto, visita); });
}

}  // namespace sevrina
