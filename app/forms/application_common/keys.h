#pragma once
// The application's records in the data file: the 80 keys in the order in
// which a save writes them, the control each key belongs to, the form in
// which its value is stored and how the loader shows it again. The store
// keeps records in the order of their first insertion, so a file that the
// form's save filled holds the application's records in this order; the
// loader relies on it (an area flag before its district and municipality).

#include <array>
#include <string_view>

namespace sevrina::domanda {

// The control arrays the keys feed.
enum class Campo { Text1, Check1, Check2, Check3, Option1, Option2, Option3, Combo1, Combo2 };

// How the value is stored.
enum class Memorizzato {
  Tipo,       // the applicant type
  Testo,      // the box's text as typed, not trimmed
  Data,       // eight digits, "0" for a date not given
  Flag,       // "S" or "N"
  Importo,    // the shown amount with every "." removed
  Quartiere,  // the district list's text
  Numero,     // a municipality number "1".."10" or empty
};

// How the loader shows it.
enum class Caricamento {
  Testo,      // imposta_testo
  Data,       // "0" shows the placeholder, else data_da_aaaammgg
  Spunta,     // "S" ticks, anything else unticks
  Opzione,    // "S" selects, anything else leaves the group as it is
  Quartiere,  // seleziona_combo on the district list
  Importo,    // formatta_numero with 2 decimals and thousands
  Tipo,       // owner variant: seleziona_combo on Combo2; condominium: skipped
};

struct Chiave {
  std::string_view chiave;  // upper case, stored exactly as written
  Campo campo;
  int indice;  // -1 for Combo2
  Memorizzato memorizzato;
  Caricamento caricamento;
};

inline constexpr std::size_t kNumeroChiavi = 80;

inline constexpr std::array<Chiave, kNumeroChiavi> kChiavi{{
    {"TIPO_RICHIEDENTE", Campo::Combo2, -1, Memorizzato::Tipo, Caricamento::Tipo},
    {"NOME_RICHIEDENTE", Campo::Text1, 0, Memorizzato::Testo, Caricamento::Testo},
    {"COGNOME_RICHIEDENTE", Campo::Text1, 1, Memorizzato::Testo, Caricamento::Testo},
    {"COMUNE_NASCITA_RICHIEDENTE", Campo::Text1, 2, Memorizzato::Testo, Caricamento::Testo},
    {"PROVINCIA_NASCITA_RICHIEDENTE", Campo::Text1, 3, Memorizzato::Testo, Caricamento::Testo},
    {"DATA_NASCITA_RICHIEDENTE", Campo::Text1, 4, Memorizzato::Data, Caricamento::Data},
    {"COMUNE_RICHIEDENTE", Campo::Text1, 5, Memorizzato::Testo, Caricamento::Testo},
    {"PROVINCIA_RICHIEDENTE", Campo::Text1, 6, Memorizzato::Testo, Caricamento::Testo},
    {"INDIRIZZO_RICHIEDENTE", Campo::Text1, 7, Memorizzato::Testo, Caricamento::Testo},
    {"CIVICO_RESIDENZA_RICHIEDENTE", Campo::Text1, 8, Memorizzato::Testo, Caricamento::Testo},
    {"CODICE_FISCALE_RICHIEDENTE", Campo::Text1, 9, Memorizzato::Testo, Caricamento::Testo},
    {"COMUNE_DOMICILIO_RICHIEDENTE", Campo::Text1, 10, Memorizzato::Testo, Caricamento::Testo},
    {"PROVINCIA_DOMICILIO_RICHIEDENTE", Campo::Text1, 11, Memorizzato::Testo, Caricamento::Testo},
    {"INDIRIZZO_DOMICILIO_RICHIEDENTE", Campo::Text1, 12, Memorizzato::Testo, Caricamento::Testo},
    {"CIVICO_DOMICILIO_RICHIEDENTE", Campo::Text1, 13, Memorizzato::Testo, Caricamento::Testo},
    {"CAP_DOMICILIO_RICHIEDENTE", Campo::Text1, 14, Memorizzato::Testo, Caricamento::Testo},
    {"TELEFONO_DOMICILIO_RICHIEDENTE", Campo::Text1, 15, Memorizzato::Testo, Caricamento::Testo},
    {"FAX_DOMICILIO_RICHIEDENTE", Campo::Text1, 16, Memorizzato::Testo, Caricamento::Testo},
    {"MAIL_DOMICILIO_RICHIEDENTE", Campo::Text1, 17, Memorizzato::Testo, Caricamento::Testo},
    {"INDIRIZZO_CONDOMINIO", Campo::Text1, 18, Memorizzato::Testo, Caricamento::Testo},
    {"CIVICO_CONDOMINIO", Campo::Text1, 19, Memorizzato::Testo, Caricamento::Testo},
    {"CAP_CONDOMINIO", Campo::Text1, 20, Memorizzato::Testo, Caricamento::Testo},
    {"MUNICIPALITA_CONDOMINIO", Campo::Text1, 21, Memorizzato::Numero, Caricamento::Testo},
    {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", Campo::Text1, 22, Memorizzato::Data, Caricamento::Data},
    {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", Campo::Text1, 23, Memorizzato::Data, Caricamento::Data},
    {"LAVORI_DELIBERATI_FACCIATE_SI_NO", Campo::Check3, 0, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", Campo::Check3, 1, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO", Campo::Check3, 2, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_CORTILE_SI_NO", Campo::Check3, 3, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_CASSA_SCALE_SI_NO", Campo::Check3, 4, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ANDRONE_SI_NO", Campo::Check3, 5, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO", Campo::Check3, 6, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_COPERTURA_SI_NO", Campo::Check3, 7, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO", Campo::Check3, 8, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_FONDAZIONI_SI_NO", Campo::Check3, 9, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO", Campo::Check3, 10, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", Campo::Check3, 11, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", Campo::Text1, 24, Memorizzato::Testo, Caricamento::Testo},
    {"LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO", Campo::Check3, 12, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO", Campo::Check3, 13, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO", Campo::Check3, 14, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO", Campo::Check3, 15, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", Campo::Check3, 16, Memorizzato::Flag, Caricamento::Spunta},
    {"LAVORI_DELIBERATI_ALTRI_IMPIANTI", Campo::Text1, 25, Memorizzato::Testo, Caricamento::Testo},
    {"MANUTENZIONE_ORDINARIA_SI_NO", Campo::Option1, 0, Memorizzato::Flag, Caricamento::Opzione},
    {"MANUTENZIONE_STRAORDINARIA_SI_NO", Campo::Option1, 1, Memorizzato::Flag, Caricamento::Opzione},
    {"RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO", Campo::Option1, 2, Memorizzato::Flag, Caricamento::Opzione},
    {"CENTRO_STORICO_URBANO_SI_NO", Campo::Option2, 0, Memorizzato::Flag, Caricamento::Opzione},
    {"QUARTIERE_CENTRO_STORICO_URBANO", Campo::Combo1, 0, Memorizzato::Quartiere, Caricamento::Quartiere},
    {"MUNICIPALITA_CENTRO_STORICO_URBANO", Campo::Text1, 26, Memorizzato::Numero, Caricamento::Testo},
    {"CENTRO_STORICO_DELLE_PERIFERIE_SI_NO", Campo::Option2, 1, Memorizzato::Flag, Caricamento::Opzione},
    {"QUARTIERE_CENTRO_STORICO_DELLE_PERIFERIE", Campo::Combo1, 1, Memorizzato::Quartiere, Caricamento::Quartiere},
    {"MUNICIPALITA_CENTRO_STORICO_DELLE_PERIFERIE", Campo::Text1, 27, Memorizzato::Numero, Caricamento::Testo},
    {"QUARTIERE_PERIFERICO_SI_NO", Campo::Option2, 2, Memorizzato::Flag, Caricamento::Opzione},
    {"QUARTIERE_QUARTIERE_PERIFERICO", Campo::Combo1, 2, Memorizzato::Quartiere, Caricamento::Quartiere},
    {"MUNICIPALITA_PERIFERICO", Campo::Text1, 28, Memorizzato::Numero, Caricamento::Testo},
    {"VOLUME_FUORI_TERRA_INFERIORE", Campo::Option3, 0, Memorizzato::Flag, Caricamento::Opzione},
    {"VOLUME_FUORI_TERRA_OLTRE", Campo::Option3, 1, Memorizzato::Flag, Caricamento::Opzione},
    {"CONTRIBUTO_BASE_SI_NO", Campo::Check1, 0, Memorizzato::Flag, Caricamento::Spunta},
    {"IMPORTO_CONTRIBUTO_BASE", Campo::Text1, 29, Memorizzato::Importo, Caricamento::Importo},
    {"CONTRIBUTO_PREMIALE_SI_NO", Campo::Check1, 1, Memorizzato::Flag, Caricamento::Spunta},
    {"IMPORTO_CONTRIBUTO_PREMIALE", Campo::Text1, 30, Memorizzato::Importo, Caricamento::Importo},
    {"PERCENTUALE_CONTRIBUTO_PREMIALE", Campo::Text1, 31, Memorizzato::Importo, Caricamento::Importo},
    {"CONTRIBUTO_ACCESSORIO_SI_NO", Campo::Check1, 2, Memorizzato::Flag, Caricamento::Spunta},
    {"IMPORTO_CONTRIBUTO_ACCESSORIO", Campo::Text1, 32, Memorizzato::Importo, Caricamento::Importo},
    {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", Campo::Text1, 33, Memorizzato::Importo, Caricamento::Importo},
    {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", Campo::Text1, 34, Memorizzato::Importo, Caricamento::Importo},
    {"DELIBERA_ASSEMBLEARE_SI_NO", Campo::Check2, 0, Memorizzato::Flag, Caricamento::Spunta},
    {"DICHIARAZIONI_SOSTITUTIVE_SI_NO", Campo::Check2, 1, Memorizzato::Flag, Caricamento::Spunta},
    {"PROVVEDIMENTO_EDILIZIO_SI_NO", Campo::Check2, 2, Memorizzato::Flag, Caricamento::Spunta},
    {"RELAZIONE_LAVORI_SI_NO", Campo::Check2, 3, Memorizzato::Flag, Caricamento::Spunta},
    {"DOCUMENTAZIONE_FOTOGRAFICA_SI_NO", Campo::Check2, 4, Memorizzato::Flag, Caricamento::Spunta},
    {"PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", Campo::Check2, 5, Memorizzato::Flag, Caricamento::Spunta},
    {"STRALCIO_DEL_PRG_SI_NO", Campo::Check2, 6, Memorizzato::Flag, Caricamento::Spunta},
    {"COMPUTO_METRICO_SI_NO", Campo::Check2, 7, Memorizzato::Flag, Caricamento::Spunta},
    {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", Campo::Check2, 8, Memorizzato::Flag, Caricamento::Spunta},
    {"FASCIA_DIMENSIONALE_SUPERIORE_30000", Campo::Check2, 9, Memorizzato::Flag, Caricamento::Spunta},
    {"DIFFIDA_INTERVENTI_ANCORA_NON_ESEGUITI_SI_NO", Campo::Check2, 10, Memorizzato::Flag, Caricamento::Spunta},
    {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", Campo::Check2, 11, Memorizzato::Flag, Caricamento::Spunta},
    {"DATA", Campo::Text1, 35, Memorizzato::Data, Caricamento::Data},
}};

// The applicant types.
inline constexpr std::string_view kAmministratore = "Amministratore";
inline constexpr std::string_view kUnicoProprietario = "Unico Proprietario";
inline constexpr std::string_view kDelegatoProprietario = "Delegato del Proprietario/i";
inline constexpr std::string_view kChiaveTipoRichiedente = "TIPO_RICHIEDENTE";

// The row of a key (compared exactly: the loader passes keys already
// upper-cased and trimmed), or nullptr.
const Chiave* trova_chiave(std::string_view chiave);

}  // namespace sevrina::domanda
