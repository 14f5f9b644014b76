#pragma once
// How the menu opens an editing form and how an editing form returns to the
// menu, without the shell depending on the form libraries: each form library
// registers an opener, and the program's main (or a test) calls the
// registration functions explicitly at start-up.

#include <functional>

namespace sevrina {

enum class EditingForm { SevrinaCondomini, SevrinaProprietari, AttoNotorio, QuadroEconomico };

using FormOpener = std::function<void()>;

// Loads the form afresh and shows it modelessly.
void register_form(EditingForm form, FormOpener opener);
// False when no opener is registered for `form`.
bool show_form(EditingForm form);

// The start-up menu ("Intro"): loaded afresh and shown modelessly.
void register_menu(FormOpener opener);
bool show_menu();

}  // namespace sevrina
