#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"

#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"

namespace sevrina {

sevrina_proprietari::sevrina_proprietari(forms::Runtime& rt) : ModuloDomanda(rt, domanda::Variante::Proprietari) {}

void sevrina_proprietari::mostra_aiuto() { mostra_help<Help_sevrina_proprietari>(App()); }

void register_sevrina_proprietari(forms::Runtime& rt) {
  register_form(EditingForm::SevrinaProprietari, [&rt] { rt.Load<sevrina_proprietari>()->Show(forms::ShowMode::Modeless); });
}

}  // namespace sevrina
