#pragma once
// The cost table's records in the data file: the 57 pairs a save writes, in
// their order, with the control each comes from and whether the loader sets
// the control from it. TOTALE_INTERVENTO stands twice (pairs 35 and 49): the
// second write finds the record the first one made, so the file keeps one
// record, holding the summary copy's text.

#include <array>
#include <cstddef>
#include <string_view>

namespace sevrina::quadro {

enum class Origine {
  Text2, Text3, Text4, Text5, Text6, Text7, Text8,  // amounts and percentages
  Check1,    // premium criterion: "S" when ticked
  Option1,   // volume band: "S" when selected
  Option2,   // maintenance booklet: "S" when selected
  Derivato,  // "S" when the amount of the pair before reads as a number other than 0
  Data,      // the cost table's date Text1(22)
};

struct Coppia {
  std::string_view chiave;
  Origine origine;
  int indice;
  bool riletta;      // the loader sets the control from it
  bool condivisa;    // written by the application forms too
};

inline constexpr std::size_t kNumeroCoppie = 57;

inline constexpr std::array<Coppia, kNumeroCoppie> kCoppie{{
    {"IMPORTO_LAVORI_NETTO_IVA", Origine::Text2, 0, true, false},
    {"IVA_SU_IMPORTO_LAVORI", Origine::Text3, 0, false, false},
    {"IMPORTO_LAVORI_CON_IVA", Origine::Text4, 0, false, false},
    {"ONERI_SICUREZZA_NETTO_IVA", Origine::Text2, 1, true, false},
    {"IVA_SU_ONERI_SICUREZZA", Origine::Text3, 1, false, false},
    {"ONERI_SICUREZZA_CON_IVA", Origine::Text4, 1, false, false},
    {"ONERI_DISCARICA_NETTO_IVA", Origine::Text2, 2, true, false},
    {"IVA_SU_ONERI_DISCARICA", Origine::Text3, 2, false, false},
    {"ONERI_DISCARICA_CON_IVA", Origine::Text4, 2, false, false},
    {"TOTALE_LAVORI_NETTO_IVA", Origine::Text2, 3, false, false},
    {"IVA_SU_TOTALE_LAVORI", Origine::Text3, 3, false, false},
    {"TOTALE_LAVORI_CON_IVA", Origine::Text4, 3, false, false},
    {"PONTEGGI_E_OPERE_PROVVISIONALI", Origine::Text5, 0, true, false},
    {"PONTEGGI_E_OPERE_PROVVISIONALI%", Origine::Text6, 0, false, false},
    {"MOVIMENTI_E_OPERE_TERRA", Origine::Text5, 1, true, false},
    {"MOVIMENTI_E_OPERE_TERRA%", Origine::Text6, 1, false, false},
    {"OPERE_STRUTTURALI", Origine::Text5, 2, true, false},
    {"OPERE_STRUTTURALI%", Origine::Text6, 2, false, false},
    {"OPERE_DI_FINITURA_E_COMPLETAMENTO", Origine::Text5, 3, true, false},
    {"OPERE_DI_FINITURA_E_COMPLETAMENTO%", Origine::Text6, 3, false, false},
    {"IMPIANTI", Origine::Text5, 4, true, false},
    {"IMPIANTI%", Origine::Text6, 4, false, false},
    {"ASCENSORI", Origine::Text5, 5, true, false},
    {"ASCENSORI%", Origine::Text6, 5, false, false},
    {"ONERI_SICUREZZA_NON_INCLUSI", Origine::Text5, 6, true, false},
    {"ONERI_SICUREZZA_NON_INCLUSI%", Origine::Text6, 6, false, false},
    {"COSAP_STIMATO", Origine::Text7, 0, true, false},
    {"COSAP_MASSIMO", Origine::Text8, 0, false, false},
    {"SPESE_GENERALI_STIMATE", Origine::Text7, 1, true, false},
    {"SPESE_GENERALI_MASSIME", Origine::Text8, 1, false, false},
    {"INDAGINI_GEOLOGICHE_STIMATE", Origine::Text7, 2, true, false},
    {"INDAGINI_GEOLOGICHE_MASSIME", Origine::Text8, 2, false, false},
    {"IMPREVISTI_STIMATI", Origine::Text7, 3, true, false},
    {"IMPREVISTI_MASSIMO", Origine::Text8, 3, false, false},
    {"TOTALE_INTERVENTO", Origine::Text8, 4, false, false},
    {"CONTRIBUTO_BASE", Origine::Text8, 5, false, false},
    {"PREMIALITA_CONSOLIDAMENTO_SI_NO", Origine::Check1, 0, true, false},
    {"PREMIALITA_BARRIERE_SI_NO", Origine::Check1, 1, true, false},
    {"PREMIALITA_RIQUALIFICAZIONE_ENERGETICA_SI_NO", Origine::Check1, 2, true, false},
    {"PREMIALITA_EDIFICI_VINCOLATI_SI_NO", Origine::Check1, 3, true, false},
    {"PREMIALITA_FASCIA_BASAMENTALE_SI_NO", Origine::Check1, 4, true, false},
    {"PREMIALITA_INFISSI_SI_NO", Origine::Check1, 5, true, false},
    {"PERCENTUALE_CONTRIBUTO_PREMIALE", Origine::Text8, 6, false, true},
    {"IMPORTO_CONTRIBUTO_PREMIALE", Origine::Text8, 7, false, true},
    {"CONTRIBUTO_PREMIALE_SI_NO", Origine::Derivato, -1, false, true},
    {"VOLUME_FUORI_TERRA_INFERIORE", Origine::Option1, 0, true, true},
    {"VOLUME_FUORI_TERRA_OLTRE", Origine::Option1, 1, true, true},
    {"ADOZIONE_LIBRETTO_MANUTENZIONE", Origine::Option2, 0, true, false},
    {"TOTALE_INTERVENTO", Origine::Text8, 8, false, false},
    {"IMPORTO_CONTRIBUTO_BASE", Origine::Text8, 9, false, true},
    {"CONTRIBUTO_BASE_SI_NO", Origine::Derivato, -1, false, true},
    {"CONTRIBUTO_PREMIALE", Origine::Text8, 10, false, false},
    {"IMPORTO_CONTRIBUTO_ACCESSORIO", Origine::Text8, 11, false, true},
    {"CONTRIBUTO_ACCESSORIO_SI_NO", Origine::Derivato, -1, false, true},
    {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", Origine::Text8, 12, false, true},
    {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", Origine::Text8, 13, false, true},
    {"DATA_QUADRO_ECONOMICO", Origine::Data, 22, true, false},
}};

}  // namespace sevrina::quadro
