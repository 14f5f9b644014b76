#pragma once
// Leaving an editing form: the "Menu" question of a form with unsaved edits
// and the return to the start-up menu. Each form keeps its own handlers
// (Command1_Click, Form_QueryUnload, chiedi_e_salva) and calls these.

#include <functional>
#include <string>

#include "platform/forms/forms.h"

namespace sevrina::modifica {

// Asks `domanda` under the title "Menu" with Yes and No, no icon; Yes runs
// `salva`. True when the form may close: No, or Yes and the save went
// through. A question closed without an answer (Escape, its close button)
// keeps the form open.
bool chiedi_e_salva(forms::Form& form, const std::string& domanda, const std::function<bool()>& salva);

// "Menu": a form with unsaved edits (`modificato` 1) asks first, and a save
// that a check refused keeps the form open with its edits; otherwise the
// start-up menu is shown and the form unloads.
void torna_al_menu(forms::Form& form, int modificato, const std::function<bool()>& chiedi_e_salva);

}  // namespace sevrina::modifica
