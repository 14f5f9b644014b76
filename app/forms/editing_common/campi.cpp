#include "app/forms/editing_common/campi.h"

#include <algorithm>

#include "app/shell/dates.h"
#include "app/shell/form_helpers.h"
#include "app/shell/store.h"

namespace sevrina::modifica {

bool mostra_segnaposto(std::string_view testo) { return maiuscole(togli_spazi(testo)) == "GG/MM/AAAA"; }

DataSalvata converti_data(const std::string& testo) {
  DataSalvata d;
  const std::string convertita = data_in_aaaammgg(testo);
  if (e_numero(convertita)) {
    d.valore = convertita;
    d.data = numero_o_zero(convertita) != 0;
    d.errata = d.data && controlla_data(convertita) != 0;
  } else {
    d.valore = "0";
    d.errata = !mostra_segnaposto(testo);
  }
  return d;
}

void mostra_data(forms::TextBox& casella, std::string_view valore) {
  if (valore == "0") {
    casella.SetText(std::string(kSegnaposto));
  } else {
    imposta_testo(casella, data_da_aaaammgg(valore));
  }
}

bool posteriore_alla_domanda(std::string_view data) {
  const std::string data_domanda = maiuscole(togli_spazi(leggi_dato("DATA")));
  const double giorno = numero_o_zero(data);
  return !data_domanda.empty() && e_numero(data_domanda) && numero_o_zero(data_domanda) != 0 && giorno != 0 &&
         giorno > numero_o_zero(data_domanda);
}

std::string senza_punti(std::string testo) {
  testo.erase(std::remove(testo.begin(), testo.end(), '.'), testo.end());
  return testo;
}

void evidenzia_casella(forms::TextBox& casella) {
  if (mostra_segnaposto(casella.Text())) casella.SetText("");
  casella.SetBackColor(forms::kLightCyan);
}

void filtra_e_avanza(forms::Form& form, forms::TextBox& casella, int& KeyAscii) {
  KeyAscii = filtra_tasto_casella(casella, KeyAscii);
  if (KeyAscii != forms::kKeyBackspace && static_cast<int>(casella.Text().size()) == casella.MaxLength() &&
      casella.SelLength() != casella.MaxLength()) {
    form.SendKeys("{TAB}");
  }
}

}  // namespace sevrina::modifica
