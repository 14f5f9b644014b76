#include "app/forms/editing_common/chiusura.h"

#include "app/shell/form_registry.h"

namespace sevrina::modifica {

bool chiedi_e_salva(forms::Form& form, const std::string& domanda, const std::function<bool()>& salva) {
  switch (form.MsgBox(domanda, forms::MsgButtons::YesNo, forms::MsgIcon::None, "Menu")) {
    case forms::MsgResult::Yes:
      return salva();
    case forms::MsgResult::No:
      return true;
    default:
      // Closed without an answer: no answer at all, so the form stays open
      // with its edits, as if the user had not asked to leave.
      return false;
  }
}

void torna_al_menu(forms::Form& form, int modificato, const std::function<bool()>& chiedi_e_salva) {
  if (modificato == 1 && !chiedi_e_salva()) return;
  show_menu();
  form.Unload();
}

}  // namespace sevrina::modifica
