#include "app/forms/atto_notorio/atto_notorio.h"

#include <array>
#include <string_view>
#include <vector>

#include "app/forms/editing_common/campi.h"
#include "app/forms/editing_common/chiusura.h"
#include "app/forms/editing_common/pagina.h"
#include "app/shell/dates.h"
#include "app/shell/document_services.h"
#include "app/shell/form_helpers.h"
#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"
#include "app/shell/store.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina {

using namespace cp1252::literals;

namespace {

using modifica::kSegnaposto;

constexpr float kAltezzaPannello = 25400.0f;
// The divisor of the panel's scrolling formula (VScroll1_Change).
constexpr long double kDivisoreScorrimento = 32767.0L;
constexpr int kDichiarazioni = 15;
constexpr int kVoceE = 4;  // the only declaration the user chooses
constexpr int kVoceF = 5;  // "S" only for an owner

using modifica::kArial12Grassetto;
using modifica::kArial975;
using modifica::kArial975Grassetto;
const forms::FontSpec& kCampo = modifica::kArial825Grassetto;

// The applicant keys shown in Text1(0) to Text1(12); Text1(4) is a date.
constexpr std::array<std::string_view, 13> kChiaviAnagrafica{
    "NOME_RICHIEDENTE",
    "COGNOME_RICHIEDENTE",
    "COMUNE_NASCITA_RICHIEDENTE",
    "PROVINCIA_NASCITA_RICHIEDENTE",
    "DATA_NASCITA_RICHIEDENTE",
    "COMUNE_RICHIEDENTE",
    "PROVINCIA_RICHIEDENTE",
    "INDIRIZZO_RICHIEDENTE",
    "CIVICO_RESIDENZA_RICHIEDENTE",
    "COMUNE_DOMICILIO_RICHIEDENTE",
    "PROVINCIA_DOMICILIO_RICHIEDENTE",
    "INDIRIZZO_DOMICILIO_RICHIEDENTE",
    "CIVICO_DOMICILIO_RICHIEDENTE",
};

struct Voce {
  std::string_view lettera;
  std::string_view testo;
  int altezza;  // twips
};

constexpr std::array<Voce, kDichiarazioni> kVoci{{
    {"a)",
     "che l'immobile oggetto dell'intervento non è di proprietà, per una quota superiore al 50% del suo valore, "
     "dei soggetti esclusi dall'art. 3 comma 2 dell'Avviso Pubblico;",
     720},
    {"b)", "che l'immobile non è adibito interamente agli usi di cui all'art. 3 comma 3 dell'Avviso Pubblico;", 480},
    {"c)",
     "che l'immobile è destinato esclusivamente ad uso residenziale, ovvero ad uso residenziale per una quota "
     "superiore ad un terzo del suo valore (art. 3 comma 4 dell'Avviso Pubblico);",
     720},
    {"d)",
     "che per l'immobile non è stato concesso alcun contributo, né è in corso alcuna richiesta di contributo, ai "
     "sensi dei precedenti Avvisi Pubblici del 23 maggio 2002 e del 31 ottobre 2003 (art. 3 comma 6 dell'Avviso "
     "Pubblico);",
     720},
    {"e)",
     "(per i soggetti di cui all'art. 3 comma 7 dell'Avviso Pubblico) che è pendente un ricorso giurisdizionale "
     "sul diritto al contributo di cui all'Avviso Pubblico del 2002 o del 2003;",
     720},
    {"f)",
     "(in caso di proprietà singola o di comproprietà) che l'intero immobile è di esclusiva proprietà del "
     "dichiarante o dei dichiaranti;",
     480},
    {"g)",
     "che i lavori non riguardano opere abusive per le quali sia stata presentata domanda di condono non ancora "
     "definita;",
     480},
    {"h)",
     "che i lavori rientrano tra gli interventi di manutenzione ordinaria, di manutenzione straordinaria, di "
     "restauro o di risanamento conservativo;",
     480},
    {"i)", "che alla data di presentazione della domanda i lavori non sono iniziati;", 480},
    {"j)",
     "di essere a conoscenza che l'importo dell'intervento ed il contributo saranno rideterminati a seguito delle "
     "verifiche sui lavori eseguiti, entro le percentuali di cui all'art. 4 dell'Avviso Pubblico;",
     720},
    {"k)",
     "di essere informato, ai sensi del D.Lgs. 196 del 30/06/2003, sul trattamento dei dati personali e di "
     "acconsentire al trattamento stesso;",
     480},
    {"l)",
     "di essere a conoscenza che la pubblicazione delle graduatorie (art. 9 dell'Avviso Pubblico) vale come "
     "comunicazione dell'esito della richiesta di contributo;",
     480},
    {"m)",
     "di impegnarsi ad affidare i lavori ad un'impresa iscritta nell'elenco aperto tenuto dalla società "
     "\"O.R.TE.SA.\";",
     480},
    {"n)",
     "di impegnarsi a sottoscrivere con l'impresa appaltatrice il contratto tipo predisposto dalla stessa società;",
     480},
    {"o)",
     "di accettare le modalità di erogazione del contributo, e di impegnarsi ad iniziare i lavori entro 150 giorni "
     "dalla pubblicazione della graduatoria definitiva (ovvero dalla comunicazione del finanziamento) e ad "
     "ultimarli entro 3 anni dalla concessione del contributo.",
     960},
}};

}  // namespace

std::string chiave_dichiarazione(int indice) {
  if (indice >= kDichiarazioni) return "DATA_ATTO_NOTORIO";
  return std::string("ATTO_NOTORIO_") + static_cast<char>('A' + indice);
}

std::string domanda_menu_atto_notorio() {
  return "Prima di tornare al menu, vuoi salvare le modifiche effettuate al' atto notorio ?";
}

// ---------------------------------------------------------------- design time

atto_notorio::atto_notorio(forms::Runtime& rt) : Form(rt, "atto_notorio") {
  costruisci();
  Timer1.OnTimer([this] { Timer1_Timer(); });
  VScroll1.OnChange([this] { VScroll1_Change(); });
  Text1.OnGotFocus([this](int Index) { Text1_GotFocus(Index); });
  Text1.OnLostFocus([this](int Index) { Text1_LostFocus(Index); });
  Text1.OnKeyPress([this](int Index, int& KeyAscii) { Text1_KeyPress(Index, KeyAscii); });
  // Every change the user makes is an edit: the date typed, a box ticked;
  // a declaration box that gets the focus counts as one too.
  Text1.OnChange([this](int) { modificato = 1; });
  Check2.OnClick([this](int) { modificato = 1; });
  Check2.OnGotFocus([this](int) { modificato = 1; });
  Combo2.OnKeyPress([this](int& KeyAscii) { Combo2_KeyPress(KeyAscii); });
  Command1.OnClick([this](int Index) { Command1_Click(Index); });
}

atto_notorio::~atto_notorio() = default;

void atto_notorio::costruisci() {
  SetCaption("Atto Notorio");
  SetClientSize(11850, 8190);
  SetBackColor(forms::kWhite);

  modifica::costruisci_intestazione(Label5, Label1, "Compilazione Atto Notorio", Picture1, Picture2);
  modifica::costruisci_pulsanti(Command1, {30, 31, 32, 33});
  Frame1.Move(960, 960, 10095, 7095);
  VScroll1.Move(11040, 960, 255, 7095);
  VScroll1.SetSmallChange(100);
  VScroll1.SetLargeChange(1000);
  VScroll1.SetTabIndex(34);
  Timer1.SetInterval(1);
  Timer1.SetEnabled(true);
  Frame2.SetContainer(Frame1);
  Frame2.Move(0, 0, 10095, kAltezzaPannello);
  Frame2.SetBackColor(forms::kWhite);

  modifica::Etichette etichetta(Label2, Frame2);
  auto campo = [&](int i, float left, float top, float width, std::string_view tag, int max_length) {
    auto& t = Text1.Add(i);
    t.SetContainer(Frame2);
    t.Move(left, top, width, 285);
    t.SetTag(std::string(tag));
    t.SetMaxLength(max_length);
    t.SetTabIndex(i < 13 ? i : 29);
    t.SetLocked(i < 13);
    t.SetFont(kCampo);
    t.SetBackColor(forms::kWhite);
    t.SetBorderStyle(1);
  };

  etichetta(240, 240, 9615, 300, "DICHIARAZIONE SOSTITUTIVA DELL'ATTO DI NOTORIETA'", kArial12Grassetto,
            forms::Alignment::Center);
  etichetta(240, 560, 9615, 255, "(ART. 47 DPR 28 dicembre 2000 N.445)", kArial975Grassetto,
            forms::Alignment::Center);
  etichetta(240, 960, 9615, 960,
            "In riferimento all'Avviso Pubblico del Comune di Vareri per la concessione di contributi a fondo "
            "perduto per il recupero delle parti comuni degli edifici privati (PROGETTO ORTESA 3), approvato con "
            "delibera di giunta comunale n° 4349 del 28 dicembre 2007,");

  // Identification lines.
  etichetta(240, 2040, 2400, 285, "Il Sottoscritto (nome)");
  campo(0, 2640, 2040, 2895, "", 50);
  etichetta(5640, 2040, 1080, 285, "(cognome)");
  campo(1, 6720, 2040, 3135, "", 50);
  etichetta(240, 2400, 1800, 285, "nato/a a (comune)");
  campo(2, 2040, 2400, 2895, "", 50);
  etichetta(5040, 2400, 1080, 285, "(provincia)");
  campo(3, 6120, 2400, 375, "MA", 2);
  etichetta(6600, 2400, 240, 285, "il");
  campo(4, 6840, 2400, 1455, "DATA", 10);
  etichetta(240, 2760, 2040, 285, "residente a (comune)");
  campo(5, 2280, 2760, 2895, "", 50);
  etichetta(5280, 2760, 1080, 285, "(provincia)");
  campo(6, 6360, 2760, 375, "MA", 2);
  etichetta(240, 3120, 1200, 285, "all' indirizzo");
  campo(7, 1440, 3120, 5295, "", 50);
  etichetta(6840, 3120, 300, 285, "n.");
  campo(8, 7200, 3120, 1095, "", 50);
  etichetta(240, 3480, 3360, 285, "domiciliato per la carica in (comune)");
  campo(9, 3600, 3480, 2895, "", 50);
  etichetta(6600, 3480, 1080, 285, "(provincia)");
  campo(10, 7680, 3480, 375, "MA", 2);
  etichetta(240, 3840, 1200, 285, "all' indirizzo");
  campo(11, 1440, 3840, 4095, "", 50);
  etichetta(5640, 3840, 300, 285, "n.");
  campo(12, 6000, 3840, 1095, "", 50);
  etichetta(7200, 3840, 1080, 285, "in qualità di");
  modifica::costruisci_tipo_richiedente(Combo2, Frame2, 7200, 4140, 2655, 13);

  etichetta(240, 4680, 9615, 480,
            "consapevole delle sanzioni penali, nel caso di dichiarazioni non veritiere, di formazione o di uso di "
            "atti falsi, richiamate dall'art. 76 del DPR 445 del 28 dicembre 2000");
  etichetta(240, 5280, 9615, 300, "DICHIARA", kArial12Grassetto, forms::Alignment::Center);

  // The fifteen items: box, bold letter, text.
  float top = 5760;
  std::array<float, kDichiarazioni> alto{};
  for (int i = 0; i < kDichiarazioni; ++i) {
    alto[static_cast<std::size_t>(i)] = top;
    auto& box = Check2.Add(i);
    box.SetContainer(Frame2);
    box.Move(240, top, 255, 255);
    box.SetTabIndex(14 + i);
    box.SetEnabled(i == kVoceE);
    top += static_cast<float>(kVoci[static_cast<std::size_t>(i)].altezza) + 120;
  }
  for (int i = 0; i < kDichiarazioni; ++i) {
    etichetta(600, alto[static_cast<std::size_t>(i)], 360, 255, kVoci[static_cast<std::size_t>(i)].lettera,
              kArial975Grassetto);
  }
  for (int i = 0; i < kDichiarazioni; ++i) {
    const Voce& v = kVoci[static_cast<std::size_t>(i)];
    etichetta(960, alto[static_cast<std::size_t>(i)], 8895, static_cast<float>(v.altezza), v.testo);
  }

  top += 240;
  etichetta(240, top, 9615, 480,
            "Le dichiarazioni sono rese ai sensi del D.P.R. 445 del 28/12/2000 e devono essere corredate dalla "
            "copia di un valido documento di identità del dichiarante (art. 38).");
  top += 720;
  etichetta(240, top, 600, 285, "Data");
  campo(13, 840, top, 1455, "DATA", 10);
  Text1[13].SetText(std::string(kSegnaposto));
  etichetta(6360, top, 3000, 285, "Firma", kArial975, forms::Alignment::Center);
  top += 720;
  etichetta(240, top, 9615, 285, "Allegati:", kArial975Grassetto);
  etichetta(240, top + 285, 9615, 285, "- copia di un valido documento di identità del dichiarante");
}

// ---------------------------------------------------------------- opening

void atto_notorio::Form_Load() {
  modifica::apri_pagina(*this, Frame1, Frame2, VScroll1, kDivisoreScorrimento);
  modificato = 0;
  Combo2.SetListIndex(0);
  salva_light();
  carica_sevrina();
  for (auto& l : Label2) l.SetBackColor(forms::kWhite);
  for (auto& c : Check2) c.SetBackColor(forms::kWhite);
}

void atto_notorio::Timer1_Timer() {
  seleziona_campo(Text1[0]);
  Timer1.SetEnabled(false);
}

void atto_notorio::VScroll1_Change() {
  // value x H / 32767 - H: 0 at the top end, the panel moving up below it.
  const long double h = Frame2.Height();
  const long double top = static_cast<long double>(VScroll1.Value()) * h / kDivisoreScorrimento - h;
  Frame2.SetTop(static_cast<float>(top));
}

// ---------------------------------------------------------------- fields

void atto_notorio::Text1_GotFocus(int Index) { modifica::evidenzia_casella(Text1[Index]); }

void atto_notorio::Text1_LostFocus(int Index) { Text1[Index].SetBackColor(forms::kWhite); }

void atto_notorio::Text1_KeyPress(int Index, int& KeyAscii) {
  if (KeyAscii == forms::kKeyEnter) {
    // The next field by index; from the date to the applicant type, which is
    // disabled, so the focus stays.
    if (Index < 13) {
      seleziona_campo(Text1[Index + 1]);
    } else {
      seleziona_campo(Combo2);
    }
    return;
  }
  modifica::filtra_e_avanza(*this, Text1[Index], KeyAscii);
}

void atto_notorio::Combo2_KeyPress(int& KeyAscii) {
  if (KeyAscii == forms::kKeyEnter) seleziona_campo(Check2[0]);
}

// ---------------------------------------------------------------- buttons

bool atto_notorio::chiedi_e_salva() {
  return modifica::chiedi_e_salva(*this, domanda_menu_atto_notorio(), [this] { return salva(); });
}

void atto_notorio::Command1_Click(int Index) {
  switch (Index) {
    case 0:
      modifica::torna_al_menu(*this, modificato, [this] { return chiedi_e_salva(); });
      break;
    case 1:
      salva();
      break;
    case 2:
      document_services().crea_atto_notorio((sys::program_folder() / "bozza.pdf").string(), true);
      break;
    case 3:
      mostra_help<Help_atto_notorio>(App());
      break;
    default:
      break;
  }
}

void atto_notorio::Form_QueryUnload(int& Cancel, forms::UnloadMode mode) {
  // The close box would drop unsaved edits: ask as "Menu" does.
  if (mode == forms::UnloadMode::CloseBox && modificato == 1 && !chiedi_e_salva()) Cancel = 1;
}

// ---------------------------------------------------------------- data file

void atto_notorio::salva_light() {
  try {
    const bool proprietario = tipo_richiedente(leggi_dato("TIPO_RICHIEDENTE")) == TipoRichiedente::Proprietario;
    std::vector<Dato> dati;
    for (int i = 0; i < kDichiarazioni; ++i) {
      if (i == kVoceE || i == kVoceF) continue;
      dati.push_back({chiave_dichiarazione(i), "S"});
    }
    dati.push_back({chiave_dichiarazione(kVoceF), proprietario ? "S" : "N"});
    scrivi_dati(dati);
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
  }
}

void atto_notorio::carica_sevrina() {
  try {
    leggi_file_dati([this](const VoceDati& voce) {
      const std::string_view k = voce.chiave;
      const std::string valore(voce.valore);
      if (k == "TIPO_RICHIEDENTE") {
        seleziona_combo(Combo2, valore);
        return true;
      }
      for (int i = 0; i < 13; ++i) {
        if (k == kChiaviAnagrafica[static_cast<std::size_t>(i)]) {
          imposta_testo(Text1[i], i == 4 ? data_da_aaaammgg(valore) : valore);
          return true;
        }
      }
      if (k == "DATA_ATTO_NOTORIO") {
        modifica::mostra_data(Text1[13], valore);
        return true;
      }
      for (int i = 0; i < kDichiarazioni; ++i) {
        if (k == chiave_dichiarazione(i)) {
          Check2[i].SetValue(valore == "S" ? 1 : 0);
          break;
        }
      }
      return true;
    });
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
  }
  modificato = 0;
}

bool atto_notorio::salva() {
  bool spunta = false;
  for (auto& c : Check2) spunta = spunta || c.Value() == 1;
  if (!spunta) {
    MsgBox("Ho bisogno di almeno una spunta tra le dichiarazioni!");
    return false;
  }
  const modifica::DataSalvata data = modifica::converti_data(Text1[13].Text());
  if (data.errata) {
    MsgBox("La Data dell'atto notorio!");
    return false;
  }
  try {
    if (modifica::posteriore_alla_domanda(data.valore)) {
      MsgBox(u8"La Data dell' atto notorio non può essere posteriore a quella della sevrina !"_w1252);
      return false;
    }
    std::vector<Dato> dati;
    for (int i = 0; i < kDichiarazioni; ++i) {
      dati.push_back({chiave_dichiarazione(i), Check2[i].Value() == 1 ? "S" : "N"});
    }
    dati.push_back({chiave_dichiarazione(kDichiarazioni), data.valore});
    scrivi_dati(dati);
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- registration

void register_atto_notorio(forms::Runtime& rt) {
  register_form(EditingForm::AttoNotorio, [&rt] { rt.Load<atto_notorio>()->Show(forms::ShowMode::Modeless); });
}

}  // namespace sevrina
