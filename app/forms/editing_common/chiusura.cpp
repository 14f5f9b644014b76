#include "app/forms/editing_common/chiusura.h"

#include "app/shell/form_registry.h"

namespace sevrina::modifica {

bool chiedi_e_salva(forms::Form& form, const std::string& domanda, const std::function<bool()>& salva) {
  if (form.MsgBox(domanda, forms::MsgButtons::YesNo, forms::MsgIcon::None, "Menu") == forms::MsgResult::Yes) {
    return salva();
  }
  return true;
}

void torna_al_menu(forms::Form& form, int modificato, const std::function<bool()>& chiedi_e_salva) {
  if (modificato == 1 && !chiedi_e_salva()) return;
  show_menu();
  form.Unload();
}

}  // namespace sevrina::modifica
