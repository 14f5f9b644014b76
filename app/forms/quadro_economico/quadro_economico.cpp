#include "app/forms/quadro_economico/quadro_economico.h"

#include <optional>
#include <vector>

#include "app/forms/editing_common/campi.h"
#include "app/forms/editing_common/chiusura.h"
#include "app/forms/editing_common/pagina.h"
#include "app/forms/quadro_economico/chiavi.h"
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
using quadro::Serie;

namespace {

// The divisor of the sheet's scrolling formula (VScroll1_Change).
constexpr long double kDivisoreScorrimento = 30000.0L;

using modifica::senza_punti;

// "S" when the amount reads as a number other than 0: a contribution worth
// 0,00 is not requested.
std::string flag_importo(std::string_view importo) {
  const std::optional<double> n = leggi_numero(importo);
  return n && *n != 0 ? "S" : "N";
}

const std::string& titolo_lavori(std::string_view chiave) {
  static const std::string ordinaria = "LAVORI DI MANUTENZIONE ORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO ";
  static const std::string straordinaria = "LAVORI DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO ";
  static const std::string restauro =
      "LAVORI DI RESTAURO E RISANAMENTO CONSERVATIVO ALLE PARTI COMUNI DELL'EDIFICIO ";
  if (chiave == "MANUTENZIONE_ORDINARIA_SI_NO") return ordinaria;
  if (chiave == "MANUTENZIONE_STRAORDINARIA_SI_NO") return straordinaria;
  return restauro;
}

// The application keys the form shows, in Text1(0) to Text1(21) order
// (the date of birth, Text1(4), is converted).
constexpr std::string_view kChiaviAnagrafica[] = {
    "NOME_RICHIEDENTE",
    "COGNOME_RICHIEDENTE",
    "COMUNE_NASCITA_RICHIEDENTE",
    "PROVINCIA_NASCITA_RICHIEDENTE",
    "DATA_NASCITA_RICHIEDENTE",
    "COMUNE_RICHIEDENTE",
    "PROVINCIA_RICHIEDENTE",
    "INDIRIZZO_RICHIEDENTE",
    "CIVICO_RESIDENZA_RICHIEDENTE",
    "CODICE_FISCALE_RICHIEDENTE",
    "COMUNE_DOMICILIO_RICHIEDENTE",
    "PROVINCIA_DOMICILIO_RICHIEDENTE",
    "INDIRIZZO_DOMICILIO_RICHIEDENTE",
    "CIVICO_DOMICILIO_RICHIEDENTE",
    "CAP_DOMICILIO_RICHIEDENTE",
    "TELEFONO_DOMICILIO_RICHIEDENTE",
    "FAX_DOMICILIO_RICHIEDENTE",
    "MAIL_DOMICILIO_RICHIEDENTE",
    "INDIRIZZO_CONDOMINIO",
    "CIVICO_CONDOMINIO",
    "CAP_CONDOMINIO",
    "MUNICIPALITA_CONDOMINIO",
};

}  // namespace

std::string domanda_menu_quadro_economico() {
  return "Prima di tornare al menu, vuoi salvare le modifiche effettuate al quadro economico ?";
}

// The computation's view of this form: writes go through the text boxes, so
// a changed text raises its change event and the steps chain.
class quadro_economico::FoglioModulo : public quadro::Foglio {
 public:
  explicit FoglioModulo(quadro_economico& f) : f_(f) {}
  std::string testo(Serie serie, int indice) const override { return f_.campo(serie, indice).Text(); }
  void scrivi(Serie serie, int indice, const std::string& testo) override {
    f_.campo(serie, indice).SetText(testo);
  }
  bool criterio(int indice) const override { return f_.Check1[indice].Value() == 1; }
  bool fascia(int indice) const override { return f_.Option1[indice].Value(); }
  bool libretto(int indice) const override { return f_.Option2[indice].Value(); }

 private:
  quadro_economico& f_;
};

// ---------------------------------------------------------------- design time

quadro_economico::quadro_economico(forms::Runtime& rt)
    : Form(rt, "quadro_economico"), foglio_(std::make_unique<FoglioModulo>(*this)) {
  costruisci();

  Timer1.OnTimer([this] { Timer1_Timer(); });
  VScroll1.OnChange([this] { VScroll1_Change(); });
  Command1.OnClick([this](int Index) { Command1_Click(Index); });

  // Focus colours: light cyan with the focus; at rest white, or yellow for
  // the amount inputs. The computed totals Text2(3) and Text5(7) keep white.
  Text1.OnGotFocus([this](int Index) { modifica::evidenzia_casella(Text1[Index]); });
  Text1.OnLostFocus([this](int Index) { Text1[Index].SetBackColor(forms::kWhite); });
  for (auto* serie : {&Text2, &Text5, &Text7}) {
    // The array's computed total (Text2(3), Text5(7)) is left white.
    auto totale = [this, serie](int Index) {
      return (serie == &Text2 && Index == 3) || (serie == &Text5 && Index == 7);
    };
    serie->OnGotFocus([serie, totale](int Index) {
      if (!totale(Index)) (*serie)[Index].SetBackColor(forms::kLightCyan);
    });
    serie->OnLostFocus([serie, totale](int Index) {
      if (!totale(Index)) (*serie)[Index].SetBackColor(forms::kYellow);
    });
  }
  modifica::colori_di_fuoco(Check1);
  modifica::colori_di_fuoco(Option1);
  modifica::colori_di_fuoco(Option2);

  for (auto* serie : {&Text1, &Text2, &Text3, &Text4, &Text5, &Text6, &Text7, &Text8}) {
    serie->OnKeyPress([this, serie](int Index, int& KeyAscii) { KeyPress(*serie, Index, KeyAscii); });
  }

  Text1.OnChange([this](int Index) { Text1_Change(Index); });
  Text2.OnChange([this](int Index) { Text2_Change(Index); });
  Text5.OnChange([this](int Index) { Text5_Change(Index); });
  Text7.OnChange([this](int Index) { Text7_Change(Index); });
  Text8.OnChange([this](int Index) { Text8_Change(Index); });
  Check1.OnClick([this](int Index) { criteri_Click(Index); });
  Option1.OnClick([this](int Index) { criteri_Click(Index); });
  Option2.OnClick([this](int Index) { criteri_Click(Index); });
}

quadro_economico::~quadro_economico() = default;

forms::TextBox& quadro_economico::campo(Serie serie, int indice) const {
  switch (serie) {
    case Serie::Text2:
      return Text2[indice];
    case Serie::Text3:
      return Text3[indice];
    case Serie::Text4:
      return Text4[indice];
    case Serie::Text5:
      return Text5[indice];
    case Serie::Text6:
      return Text6[indice];
    case Serie::Text7:
      return Text7[indice];
    case Serie::Text8:
      break;
  }
  return Text8[indice];
}

// ---------------------------------------------------------------- opening

void quadro_economico::Form_Load() {
  modifica::apri_pagina(*this, Frame1, Frame2, VScroll1, kDivisoreScorrimento);
  modificato = 0;
  carica_sevrina();
  for (auto& l : Label2) l.SetBackColor(forms::kWhite);
}

void quadro_economico::Timer1_Timer() {
  seleziona_campo(Text1[0]);
  Timer1.SetEnabled(false);
}

void quadro_economico::VScroll1_Change() {
  // value x H / 30000 - H - 5000, kept in single precision: about 257 at
  // the top end, -51740 at the bottom end.
  const long double h = Frame2.Height();
  const long double top = static_cast<long double>(VScroll1.Value()) * h / kDivisoreScorrimento - h - 5000.0L;
  Frame2.SetTop(static_cast<float>(top));
}

// ---------------------------------------------------------------- keys

void quadro_economico::KeyPress(forms::ControlArray<forms::TextBox>& serie, int Index, int& KeyAscii) {
  auto& box = serie[Index];
  if (KeyAscii == forms::kKeyEnter) {
    // Each array's own Enter order; the applicant fields go on by Tab.
    const std::string& nome = serie.Name();
    forms::Control* dopo = nullptr;
    if (nome == "Text1") {
      SendKeys("{TAB}");
      return;
    }
    if (nome == "Text2" || nome == "Text3" || nome == "Text4") {
      dopo = Index < 2 ? static_cast<forms::Control*>(&Text2[Index + 1]) : &Text5[0];
    } else if (nome == "Text5") {
      dopo = Index < 6 ? static_cast<forms::Control*>(&Text5[Index + 1]) : &Text7[0];
    } else if (nome == "Text6") {
      if (Index < 6) dopo = &Text6[Index + 1];
      else if (Index == 6) dopo = &Text7[0];
    } else if (nome == "Text7") {
      dopo = Index < 3 ? static_cast<forms::Control*>(&Text7[Index + 1]) : &Check1[0];
    } else if (nome == "Text8") {
      if (Index < 3 || (Index >= 8 && Index < 13)) dopo = &Text8[Index + 1];
      else if (Index <= 5) dopo = &Check1[0];
      else if (Index == 6) dopo = &Text8[7];
      else if (Index == 7) dopo = &Option1[0];
      else dopo = &Command1[0];
    }
    if (dopo) seleziona_campo(*dopo);
    return;
  }
  modifica::filtra_e_avanza(*this, box, KeyAscii);
}

// ---------------------------------------------------------------- changes

void quadro_economico::Text1_Change(int) { modificato = 1; }

void quadro_economico::Text2_Change(int) {
  modificato = 1;
  quadro::importi_netti(*foglio_);
}

void quadro_economico::Text5_Change(int) {
  modificato = 1;
  check_campo5();
}

void quadro_economico::Text7_Change(int) {
  modificato = 1;
  calcola_campi_otto();
}

// The computed totals start the contribution; they are not the user's edits.
void quadro_economico::Text8_Change(int Index) {
  if (Index == 4 || Index == 5) calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO();
}

void quadro_economico::criteri_Click(int) {
  modificato = 1;
  calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO();
}

void quadro_economico::check_campo5() { quadro::check_campo5(*foglio_); }
void quadro_economico::calcola_campi_otto() { quadro::calcola_campi_otto(*foglio_); }
void quadro_economico::calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO() {
  quadro::calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO(*foglio_);
}

// ---------------------------------------------------------------- buttons

bool quadro_economico::chiedi_e_salva() {
  return modifica::chiedi_e_salva(*this, domanda_menu_quadro_economico(), [this] { return salva(); });
}

void quadro_economico::Command1_Click(int Index) {
  switch (Index) {
    case 0:
      modifica::torna_al_menu(*this, modificato, [this] { return chiedi_e_salva(); });
      break;
    case 1:
      salva();
      break;
    case 2:
      document_services().crea_quadro_economico((sys::program_folder() / "bozza.pdf").string(), true);
      break;
    case 3:
      mostra_help<Help_quadro_economico>(App());
      break;
    default:
      break;
  }
}

void quadro_economico::Form_QueryUnload(int& Cancel, forms::UnloadMode mode) {
  // The close box would drop unsaved edits: ask as "Menu" does.
  if (mode == forms::UnloadMode::CloseBox && modificato == 1 && !chiedi_e_salva()) Cancel = 1;
}

// ---------------------------------------------------------------- loading

void quadro_economico::carica_sevrina() {
  std::string immobile;
  try {
    leggi_file_dati([&](const VoceDati& voce) {
      const std::string_view k = voce.chiave;
      const std::string valore(voce.valore);
      if (k == "MANUTENZIONE_ORDINARIA_SI_NO" || k == "MANUTENZIONE_STRAORDINARIA_SI_NO" ||
          k == "RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO") {
        if (maiuscole(valore) == "S") Label2[0].SetCaption(titolo_lavori(k));
        return true;
      }
      if (k == "TIPO_RICHIEDENTE") {
        seleziona_combo(Combo2, valore);
        return true;
      }
      for (int i = 0; i < 22; ++i) {
        if (k != kChiaviAnagrafica[i]) continue;
        imposta_testo(Text1[i], i == 4 ? data_da_aaaammgg(valore) : valore);
        if (i == 18) {
          immobile = togli_spazi(immobile).empty() ? valore : valore + immobile;
        } else if (i == 19) {
          immobile = togli_spazi(immobile).empty() ? " n. " + valore : immobile + " n. " + valore;
        }
        return true;
      }
      if (k == "DATA_QUADRO_ECONOMICO") {
        modifica::mostra_data(Text1[22], valore);
        return true;
      }
      for (const quadro::Coppia& c : quadro::kCoppie) {
        if (!c.riletta || c.chiave != k) continue;
        switch (c.origine) {
          case quadro::Origine::Text2:
            imposta_testo(Text2[c.indice], valore);
            break;
          case quadro::Origine::Text5:
            imposta_testo(Text5[c.indice], valore);
            break;
          case quadro::Origine::Text7:
            imposta_testo(Text7[c.indice], valore);
            break;
          case quadro::Origine::Check1:
            Check1[c.indice].SetValue(valore == "S" ? 1 : 0);
            break;
          case quadro::Origine::Option1:
            if (valore == "S") Option1[c.indice].SetValue(true);
            break;
          case quadro::Origine::Option2:
            Option2[valore == "S" ? 0 : 1].SetValue(true);
            break;
          default:
            break;
        }
        break;
      }
      return true;
    });
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
  }
  Label2[1].SetCaption("SITO IN VARERI A " + maiuscole(immobile));
  if (!Option1[0].Value() && !Option1[1].Value()) Option1[0].SetValue(true);
  if (!Option2[0].Value() && !Option2[1].Value()) Option2[1].SetValue(true);
  modificato = 0;
}

// ---------------------------------------------------------------- saving

bool quadro_economico::salva() {
  // The untouched placeholder is stored as "0" (no date); any other text
  // that is no date is refused as an invalid date is.
  const modifica::DataSalvata convertita = modifica::converti_data(Text1[22].Text());
  if (convertita.errata) {
    MsgBox(u8"La Data del quadro economico è errata!"_w1252);
    return false;
  }
  const std::string& data = convertita.valore;

  try {
    if (modifica::posteriore_alla_domanda(data)) {
      MsgBox(u8"La Data del quadro economico non può essere posteriore a quella della sevrina !"_w1252);
      return false;
    }

    std::vector<Dato> dati;
    dati.reserve(quadro::kNumeroCoppie);
    for (const quadro::Coppia& c : quadro::kCoppie) {
      std::string valore;
      switch (c.origine) {
        case quadro::Origine::Text2:
        case quadro::Origine::Text3:
        case quadro::Origine::Text4:
        case quadro::Origine::Text5:
        case quadro::Origine::Text6:
        case quadro::Origine::Text7:
        case quadro::Origine::Text8:
          valore = senza_punti(campo(static_cast<Serie>(static_cast<int>(c.origine)), c.indice).Text());
          break;
        case quadro::Origine::Check1:
          valore = Check1[c.indice].Value() == 1 ? "S" : "N";
          break;
        case quadro::Origine::Option1:
          valore = Option1[c.indice].Value() ? "S" : "N";
          break;
        case quadro::Origine::Option2:
          valore = Option2[c.indice].Value() ? "S" : "N";
          break;
        case quadro::Origine::Derivato:
          valore = flag_importo(dati.back().valore);
          break;
        case quadro::Origine::Data:
          valore = data;
          break;
      }
      dati.push_back({std::string(c.chiave), std::move(valore)});
    }
    scrivi_dati(dati);
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- registration

void register_quadro_economico(forms::Runtime& rt) {
  register_form(EditingForm::QuadroEconomico,
                [&rt] { rt.Load<quadro_economico>()->Show(forms::ShowMode::Modeless); });
}

}  // namespace sevrina
