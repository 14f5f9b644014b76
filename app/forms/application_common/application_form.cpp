#include "app/forms/application_common/application_form.h"

#include <vector>

#include "app/forms/application_common/districts.h"
#include "app/forms/application_common/keys.h"
#include "app/forms/editing_common/campi.h"
#include "app/forms/editing_common/chiusura.h"
#include "app/forms/editing_common/pagina.h"
#include "app/forms/editing_common/pictures.h"
#include "app/shell/dates.h"
#include "app/shell/document_services.h"
#include "app/shell/form_helpers.h"
#include "app/shell/form_registry.h"
#include "app/shell/store.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina::domanda {

using namespace cp1252::literals;

namespace {

// The divisor of the page's scrolling formula (VScroll1_Change).
constexpr long double kDivisoreScorrimento = 30000.0L;

forms::FontSpec carattere(Stile s) {
  switch (s) {
    case Stile::Normale:
      return {"Arial", 12.0f, false};
    case Stile::Grassetto:
      return {"Arial", 12.0f, true};
    case Stile::Destinatario:
      return {"Arial", 14.25f, false};
    case Stile::Campo:
      return {"Arial", 8.25f, true};
    case Stile::Intestazione:
      return {"MS Sans Serif", 12.0f, true};
    case Stile::Pulsante:
      break;
  }
  return {};
}

forms::Alignment allineamento(Allineamento a) {
  switch (a) {
    case Allineamento::Destra:
      return forms::Alignment::Right;
    case Allineamento::Centro:
      return forms::Alignment::Center;
    case Allineamento::Sinistra:
      break;
  }
  return forms::Alignment::Left;
}

// A date box's text as a save uses it (a text that is no date is refused
// with the field's message, as an invalid date is), and an amount as stored.
using modifica::converti_data;
using modifica::DataSalvata;
using modifica::senza_punti;

}  // namespace

std::string domanda_menu() {
  return "Prima di tornare al menu, vuoi salvare le modifiche effettuate alla sevrina ?";
}

// ---------------------------------------------------------------- design time

ModuloDomanda::ModuloDomanda(forms::Runtime& rt, Variante variante)
    : Form(rt, std::string(nome_form(variante))), variante_(variante) {
  costruisci();

  Timer1.OnTimer([this] { Timer1_Timer(); });
  VScroll1.OnChange([this] { VScroll1_Change(); });
  Text1.OnGotFocus([this](int Index) { Text1_GotFocus(Index); });
  Text1.OnLostFocus([this](int Index) { Text1_LostFocus(Index); });
  Text1.OnKeyPress([this](int Index, int& KeyAscii) { Text1_KeyPress(Index, KeyAscii); });
  Text1.OnChange([this](int Index) { Text1_Change(Index); });
  Check2.OnClick([this](int Index) { Check2_Click(Index); });
  Check3.OnClick([this](int Index) { Check3_Click(Index); });
  Option1.OnClick([this](int Index) { Option1_Click(Index); });
  Option2.OnClick([this](int Index) { Option2_Click(Index); });
  Option3.OnClick([this](int Index) { Option3_Click(Index); });
  Combo1.OnClick([this](int Index) { Combo1_Click(Index); });
  Command1.OnClick([this](int Index) { Command1_Click(Index); });
  if (combo2_) combo2_->OnClick([this] { Combo2_Click(); });

  // Focus colours of the boxes, lists and option buttons.
  modifica::colori_di_fuoco(Combo1);
  modifica::colori_di_fuoco(Option1);
  modifica::colori_di_fuoco(Option2);
  modifica::colori_di_fuoco(Option3);

  // Enter on the check boxes, option buttons and district lists moves on.
  auto invio = [this](int, int& KeyAscii) { invio_passa_oltre(KeyAscii); };
  Check1.OnKeyPress(invio);
  Check2.OnKeyPress(invio);
  Check3.OnKeyPress(invio);
  Combo1.OnKeyPress(invio);
  Option1.OnKeyPress(invio);
  Option2.OnKeyPress(invio);
  Option3.OnKeyPress(invio);
}

ModuloDomanda::~ModuloDomanda() = default;

forms::Frame* ModuloDomanda::contenitore(std::string_view nome) {
  if (nome == "Frame1") return &Frame1;
  if (nome == "Frame2") return &Frame2;
  if (nome == "Frame3") return &Frame3;
  if (nome == "Frame4") return &Frame4;
  return nullptr;
}

forms::Control* ModuloDomanda::controllo(std::string_view nome, int indice) {
  if (nome == "Label2") return &Label2.Add(indice);
  if (nome == "Text1") return &Text1.Add(indice);
  if (nome == "Check1") return &Check1.Add(indice);
  if (nome == "Check2") return &Check2.Add(indice);
  if (nome == "Check3") return &Check3.Add(indice);
  if (nome == "Option1") return &Option1.Add(indice);
  if (nome == "Option2") return &Option2.Add(indice);
  if (nome == "Option3") return &Option3.Add(indice);
  if (nome == "Combo1") return &Combo1.Add(indice);
  if (nome == "Command1") return &Command1.Add(indice);
  if (nome == "Combo2") {
    if (!combo2_) combo2_ = std::make_unique<forms::ComboBox>(this, "Combo2");
    return combo2_.get();
  }
  if (nome == "Label1") return &Label1;
  if (nome == "Label4") return &Label4;
  if (nome == "Picture1") return &Picture1;
  if (nome == "Picture2") return &Picture2;
  if (nome == "Shape1") return &Shape1;
  if (nome == "VScroll1") return &VScroll1;
  if (nome == "Timer1") return &Timer1;
  return contenitore(nome);
}

void ModuloDomanda::costruisci() {
  SetCaption(titolo_finestra(variante_));
  SetClientSize(kLarghezzaFinestra, kAltezzaFinestra);
  SetBackColor(kBianco);

  for (const Controllo& r : tutti_i_controlli()) {
    if (!appartiene(r, variante_)) continue;
    forms::Control* c = controllo(r.nome, r.indice);
    if (!c) continue;
    if (!r.contenitore.empty()) c->SetContainer(*contenitore(r.contenitore));
    c->Move(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.width),
            static_cast<float>(r.height));
    if (r.stile != Stile::Pulsante) c->SetFont(carattere(r.stile));
    c->SetAlignment(allineamento(r.allineamento));
    c->SetTabIndex(r.tab_index >= 0 ? r.tab_index : 1000);
    if (r.tab_index < 0) c->SetTabStop(false);
    if (r.stato & kDisabilitato) c->SetEnabled(false);
    if (r.stato & kNascosto) c->SetVisible(false);
    const std::string testo = testo_w1252(r);

    switch (r.tipo) {
      case Tipo::TextBox: {
        auto& box = static_cast<forms::TextBox&>(*c);
        box.SetText(testo);
        box.SetTag(std::string(r.tag));
        box.SetMaxLength(r.max_length);
        box.SetLocked((r.stato & kBloccato) != 0);
        box.SetBackColor(kBianco);
        box.SetBorderStyle(1);
        break;
      }
      case Tipo::Label: {
        auto& label = static_cast<forms::Label&>(*c);
        label.SetCaption(testo);
        label.SetWordWrap((r.stato & kACapo) != 0);
        label.SetBackColor(kBianco);
        if (r.stile == Stile::Intestazione) label.SetForeColor(kRosso);
        break;
      }
      case Tipo::CheckBox:
        static_cast<forms::CheckBox&>(*c).SetCaption(testo);
        break;
      case Tipo::OptionButton:
        static_cast<forms::OptionButton&>(*c).SetCaption(testo);
        break;
      case Tipo::CommandButton:
        static_cast<forms::CommandButton&>(*c).SetCaption(testo);
        break;
      case Tipo::Frame:
        c->SetBackColor(kBianco);
        c->SetBorderStyle((r.stato & kBordo) ? 1 : 0);
        break;
      case Tipo::ComboBox:
        c->SetBackColor(kBianco);
        break;
      case Tipo::Shape: {
        // The frame of the title lines: a border on the white page, drawn
        // transparent so that the title texts always show inside it.
        auto& shape = static_cast<forms::Shape&>(*c);
        shape.SetBackStyle(0);
        shape.SetBackColor(kBianco);
        shape.SetBorderColor(kNero);
        break;
      }
      case Tipo::VScrollBar:
        VScroll1.SetSmallChange(kScrollSmall);
        VScroll1.SetLargeChange(kScrollLarge);
        break;
      case Tipo::Timer:
        Timer1.SetInterval(1);
        Timer1.SetEnabled(true);
        break;
      case Tipo::Picture:
        static_cast<forms::PictureBox&>(*c).SetPicture(
            std::string(r.nome == "Picture1" ? modifica::immagine_sinistra() : modifica::immagine_destra()));
        break;
    }
  }

  // Design-time lists: the central districts in Combo1(0), the outer ones in
  // Combo1(2), Combo1(1) empty, none chosen. The loader relies on them.
  for (auto q : kQuartieriCentrali) Combo1[0].AddItem(std::string(q));
  for (auto q : kQuartieriEsterni) Combo1[2].AddItem(std::string(q));
  if (combo2_) {
    combo2_->AddItem(std::string(kUnicoProprietario));
    combo2_->AddItem(std::string(kDelegatoProprietario));
  }
}

// ---------------------------------------------------------------- opening

void ModuloDomanda::Form_Load() {
  modifica::apri_pagina(*this, Frame1, Frame2, VScroll1, kDivisoreScorrimento);
  modificato = 0;
  carica_sevrina();
  for (auto& c : Label2) c.SetBackColor(kBianco);
  for (auto& c : Check1) c.SetBackColor(kBianco);
  for (auto& c : Check2) c.SetBackColor(kBianco);
  for (auto& c : Option1) c.SetBackColor(kBianco);
  for (auto& c : Option2) c.SetBackColor(kBianco);
  for (auto& c : Option3) c.SetBackColor(kBianco);
  for (auto& c : Check3) c.SetBackColor(kBianco);
}

void ModuloDomanda::Timer1_Timer() {
  seleziona_campo(Text1[0]);
  Timer1.SetEnabled(false);
}

void ModuloDomanda::VScroll1_Change() {
  // value x H / 30000 - H - 5500, in extended precision, kept in single
  // precision: about -242.7 at the top end, -52240 at the bottom end.
  const float valore = static_cast<float>(VScroll1.Value());
  const float h = Frame2.Height();
  const long double top =
      static_cast<long double>(valore) * h / kDivisoreScorrimento - static_cast<long double>(h) - 5500.0L;
  Frame2.SetTop(static_cast<float>(top));
}

// ---------------------------------------------------------------- fields

void ModuloDomanda::Text1_GotFocus(int Index) { modifica::evidenzia_casella(Text1[Index]); }

void ModuloDomanda::Text1_LostFocus(int Index) { Text1[Index].SetBackColor(kBianco); }

void ModuloDomanda::Text1_KeyPress(int Index, int& KeyAscii) {
  if (KeyAscii == forms::kKeyEnter) {
    // From the building's postal code the second Tab passes over the locked
    // municipality box.
    SendKeys(Index == 20 ? "{TAB}{TAB}" : "{TAB}");
    return;
  }
  modifica::filtra_e_avanza(*this, Text1[Index], KeyAscii);
}

void ModuloDomanda::invio_passa_oltre(int& KeyAscii) {
  if (KeyAscii == forms::kKeyEnter) SendKeys("{TAB}");
}

void ModuloDomanda::Text1_Change(int) { modificato = 1; }
void ModuloDomanda::Check2_Click(int) { modificato = 1; }
void ModuloDomanda::Option1_Click(int) { modificato = 1; }
void ModuloDomanda::Option3_Click(int) { modificato = 1; }

// Choosing an applicant type is an edit like any other.
void ModuloDomanda::Combo2_Click() { modificato = 1; }

void ModuloDomanda::Check3_Click(int Index) {
  // Ticking a works item is an edit like any other.
  modificato = 1;
  if (Index != 11 && Index != 16) return;
  auto& box = Text1[Index == 11 ? 24 : 25];
  if (Check3[Index].Value() == 1) {
    box.SetEnabled(true);
  } else {
    box.SetEnabled(false);
    box.SetText("");
  }
}

// ---------------------------------------------------------------- area and district

void ModuloDomanda::Option2_Click(int Index) {
  modificato = 1;
  Text1[26].SetText("");
  Text1[27].SetText("");
  Text1[28].SetText("");
  for (int i = 0; i < 3; ++i) {
    auto& lista = Combo1[i];
    if (i == Index) {
      lista.SetEnabled(true);
      lista.Clear();
      for (auto q : quartieri_area(i)) lista.AddItem(std::string(q));
      lista.SetListIndex(0);  // raises Combo1_Click
    } else {
      lista.Clear();
      lista.SetEnabled(false);
    }
  }
  seleziona_campo(Combo1[Index]);
}

void ModuloDomanda::Combo1_Click(int Index) {
  modificato = 1;
  const std::string numero = testo_municipalita(Combo1[Index].Text());
  Text1[26 + Index].SetText(numero);
  Text1[21].SetText(numero);
}

// ---------------------------------------------------------------- buttons

void ModuloDomanda::Command1_Click(int Index) {
  switch (Index) {
    case 0:
      // A save that a check refused keeps the form open: its message has
      // told the user what to correct, and the edits are still here.
      modifica::torna_al_menu(*this, modificato, [this] { return chiedi_e_salva(); });
      break;
    case 1:
      salva();
      break;
    case 2: {
      const std::string bozza = (sys::program_folder() / "bozza.pdf").string();
      if (variante_ == Variante::Condomini) {
        document_services().crea_sevrina_condomini(bozza, true);
      } else {
        document_services().crea_sevrina_proprietari(bozza, true);
      }
      break;
    }
    case 3:
      mostra_aiuto();
      break;
    default:
      break;
  }
}

bool ModuloDomanda::chiedi_e_salva() {
  return modifica::chiedi_e_salva(*this, domanda_menu(), [this] { return salva(); });
}

void ModuloDomanda::Form_QueryUnload(int& Cancel, forms::UnloadMode mode) {
  // The close box would drop unsaved edits: ask as "Menu" does. Yes saves,
  // and a refused save keeps the form open; No closes.
  if (mode == forms::UnloadMode::CloseBox && modificato == 1 && !chiedi_e_salva()) Cancel = 1;
}

// ---------------------------------------------------------------- loading

void ModuloDomanda::applica_record(std::string_view chiave, std::string_view valore) {
  const Chiave* riga = trova_chiave(chiave);
  if (!riga) return;
  const int i = riga->indice;
  switch (riga->caricamento) {
    case Caricamento::Testo:
      imposta_testo(Text1[i], std::string(valore));
      break;
    case Caricamento::Data:
      modifica::mostra_data(Text1[i], valore);
      break;
    case Caricamento::Spunta: {
      auto& array = riga->campo == Campo::Check1 ? Check1 : riga->campo == Campo::Check2 ? Check2 : Check3;
      array[i].SetValue(valore == "S" ? 1 : 0);
      break;
    }
    case Caricamento::Opzione: {
      if (valore != "S") break;
      auto& array = riga->campo == Campo::Option1 ? Option1 : riga->campo == Campo::Option2 ? Option2 : Option3;
      array[i].SetValue(true);
      break;
    }
    case Caricamento::Quartiere:
      seleziona_combo(Combo1[i], std::string(valore));
      break;
    case Caricamento::Importo:
      imposta_testo(Text1[i], formatta_numero(valore, 2, "S"));
      break;
    case Caricamento::Tipo:
      if (combo2_) seleziona_combo(*combo2_, std::string(valore));  // the condominium variant skips it
      break;
  }
}

void ModuloDomanda::memorizza_tipo_richiedente() {
  if (variante_ == Variante::Condomini) {
    scrivi_dato(kChiaveTipoRichiedente, kAmministratore);
  } else {
    if (combo2_->ListIndex() == -1) combo2_->SetListIndex(0);
    scrivi_dato(kChiaveTipoRichiedente, combo2_->Text());
  }
}

void ModuloDomanda::carica_sevrina() {
  try {
    leggi_file_dati([this](const VoceDati& voce) {
      applica_record(voce.chiave, voce.valore);
      return true;
    });
    memorizza_tipo_richiedente();
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
  }
  modificato = 0;
}

// ---------------------------------------------------------------- saving

bool ModuloDomanda::salva() {
  // Steps 1 and 2: the free-text works items.
  if (Check3[11].Value() == 1 && togli_spazi(Text1[24].Text()).empty()) {
    MsgBox("Specificare Altro intervento nella sezione B della sevrina!");
    seleziona_campo(Text1[24]);
    return false;
  }
  if (Check3[16].Value() == 1 && togli_spazi(Text1[25].Text()).empty()) {
    MsgBox("Specificare Altri impianti nella sezione B della sevrina!");
    seleziona_campo(Text1[25]);
    return false;
  }

  const bool condominio = variante_ == Variante::Condomini;
  const DataSalvata nascita = converti_data(Text1[4].Text());
  if (nascita.errata) {
    MsgBox(u8"La Data di nascita del richiedente è errata!"_w1252);
    return false;
  }
  DataSalvata autorizzazione{"0"};
  DataSalvata esecuzione{"0"};
  if (condominio) {
    autorizzazione = converti_data(Text1[22].Text());
    if (autorizzazione.errata) {
      MsgBox(u8"La Data della delibera condominiale per l'autorizzazione è errata !"_w1252);
      return false;
    }
    esecuzione = converti_data(Text1[23].Text());
    if (esecuzione.errata) {
      MsgBox(u8"La Data della delibera condominiale per l'esecuzione è errata !"_w1252);
      return false;
    }
  }
  const DataSalvata documento = converti_data(Text1[35].Text());
  if (documento.errata) {
    MsgBox(u8"La Data del documento è errata!"_w1252);
    return false;
  }
  if (condominio && documento.data) {
    const double giorno_documento = numero_o_zero(documento.valore);
    if (autorizzazione.data && numero_o_zero(autorizzazione.valore) > giorno_documento) {
      MsgBox(u8"La Data della delibera condominiale per l'autorizzazione dei lavori non può essere "
             u8"successiva a quella della sevrina !"_w1252);
      return false;
    }
    if (esecuzione.data && numero_o_zero(esecuzione.valore) > giorno_documento) {
      MsgBox(u8"La Data della delibera condominiale per l'esecuzione dei lavori non può essere "
             u8"successiva a quella della sevrina !"_w1252);
      return false;
    }
  }

  // The 80 pairs in the key table's order.
  std::vector<Dato> dati;
  dati.reserve(kNumeroChiavi);
  for (const Chiave& riga : kChiavi) {
    const int i = riga.indice;
    std::string valore;
    switch (riga.memorizzato) {
      case Memorizzato::Tipo:
        valore = condominio ? std::string(kAmministratore) : combo2_->Text();
        break;
      case Memorizzato::Testo:
      case Memorizzato::Numero:
        valore = Text1[i].Text();
        break;
      case Memorizzato::Data:
        valore = i == 4    ? nascita.valore
                 : i == 22 ? autorizzazione.valore
                 : i == 23 ? esecuzione.valore
                           : documento.valore;
        break;
      case Memorizzato::Flag:
        switch (riga.campo) {
          case Campo::Check1:
            valore = Check1[i].Value() == 1 ? "S" : "N";
            break;
          case Campo::Check2:
            valore = Check2[i].Value() == 1 ? "S" : "N";
            break;
          case Campo::Check3:
            valore = Check3[i].Value() == 1 ? "S" : "N";
            break;
          case Campo::Option1:
            valore = Option1[i].Value() ? "S" : "N";
            break;
          case Campo::Option2:
            valore = Option2[i].Value() ? "S" : "N";
            break;
          default:
            valore = Option3[i].Value() ? "S" : "N";
            break;
        }
        break;
      case Memorizzato::Quartiere:
        valore = Combo1[i].Text();
        break;
      case Memorizzato::Importo:
        valore = senza_punti(Text1[i].Text());
        break;
    }
    dati.push_back({std::string(riga.chiave), std::move(valore)});
  }
  try {
    scrivi_dati(dati);
  } catch (const ErroreFileDati& e) {
    MsgBox(e.messaggio(), forms::MsgButtons::OK, forms::MsgIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace sevrina::domanda
