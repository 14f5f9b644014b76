#pragma once
// The application form for the building's owner, or the owners' delegate (model "1.b").
// Its layout, handlers, loading and saving are the application form's
// (app/forms/application_common); this layer names the variant, shows the
// variant's help form and registers the form with the menu.

#include "app/forms/application_common/application_form.h"

namespace sevrina {

class sevrina_proprietari : public domanda::ModuloDomanda {
 public:
  explicit sevrina_proprietari(forms::Runtime& rt);

 protected:
  void mostra_aiuto() override;
};

// Registers the opener the menu uses ("Prosegui" on its choice): loads the
// form afresh and shows it modelessly. Called by main and by tests.
void register_sevrina_proprietari(forms::Runtime& rt);

}  // namespace sevrina
