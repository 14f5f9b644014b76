#include "app/shell/form_helpers.h"

#include "app/shell/filters.h"
#include "app/shell/store.h"

namespace sevrina {

void centra_form(forms::Form& frm) {
  forms::Runtime& app = frm.App();
  float left = app.ScreenWidth() / 2.0f - frm.Width() / 2.0f;
  float top = app.ScreenHeight() / 2.0f - frm.Height() / 2.0f;
  frm.Move(left, top);
}

namespace {

bool blank(const std::optional<std::string>& valore) {
  return !valore || togli_spazi(*valore).empty();
}

}  // namespace

void imposta_testo(forms::TextBox& casella, const std::optional<std::string>& valore) {
  casella.SetText(blank(valore) ? std::string() : *valore);
}

void imposta_testo(forms::ComboBox& casella, const std::optional<std::string>& valore) {
  casella.SetText(blank(valore) ? std::string() : *valore);
}

void seleziona_campo(forms::Control& casella) {
  if (casella.Enabled() && casella.Visible()) casella.SetFocus();
  if (casella.Name().find("Text") == std::string::npos) return;
  if (casella.Kind() != forms::ControlKind::TextBox) return;
  auto& box = static_cast<forms::TextBox&>(casella);
  box.SetSelStart(0);
  box.SetSelLength(static_cast<int>(box.Text().size()));
}

void seleziona_combo(forms::ComboBox& combo, const std::optional<std::string>& valore) {
  combo.SetListIndex(-1);
  if (!valore) return;
  std::string cercato = maiuscole(togli_spazi(*valore));
  for (int i = 0; i < combo.ListCount(); ++i) {
    if (maiuscole(togli_spazi(combo.List(i))) == cercato) {
      combo.SetListIndex(i);
      return;
    }
  }
}

int filtra_tasto_casella(forms::TextBox& casella, int codice) {
  CasellaTesto stato;
  stato.text = casella.Text();
  stato.sel_start = casella.SelStart();
  stato.sel_length = casella.SelLength();
  stato.max_length = casella.MaxLength();
  int tasto = filtra_tasto(casella.Tag(), stato, codice);
  if (stato.text != casella.Text()) casella.SetText(stato.text);
  casella.SetSelStart(stato.sel_start);
  casella.SetSelLength(stato.sel_length);
  casella.SetMaxLength(stato.max_length);
  return tasto;
}

}  // namespace sevrina
