#include "app/forms/sevrina_condomini/sevrina_condomini.h"

#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"

namespace sevrina {

sevrina_condomini::sevrina_condomini(forms::Runtime& rt) : ModuloDomanda(rt, domanda::Variante::Condomini) {}

void sevrina_condomini::mostra_aiuto() { mostra_help<Help_sevrina_condomini>(App()); }

void register_sevrina_condomini(forms::Runtime& rt) {
  register_form(EditingForm::SevrinaCondomini, [&rt] { rt.Load<sevrina_condomini>()->Show(forms::ShowMode::Modeless); });
}

}  // namespace sevrina
