#pragma once
// What the application form's tests share, besides the editing forms'
// fixture (tests/app/forms/forms_test_support.h): the variants' openers,
// the "Menu" question and a record as stored.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/forms/application_common/keys.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/text/cp1252.h"
#include "tests/app/forms/forms_test_support.h"

namespace prova {

using namespace cp1252::literals;
using sevrina::domanda::ModuloDomanda;

inline const std::string kDomandaMenu =
    "Prima di tornare al menu, vuoi salvare le modifiche effettuate alla sevrina ?";

// A record as the data file stores it.
inline std::string record(const std::string& chiave, const std::string& valore) {
  return campo_file(chiave) + campo_file(valore);
}

class ProvaDomanda : public ProvaModulo {
 protected:
  ProvaDomanda() : ProvaModulo("sevrina-domanda", kDomandaMenu) {}

  void registra_moduli() override {
    sevrina::register_sevrina_condomini(rt);
    sevrina::register_sevrina_proprietari(rt);
  }

  // Opens the owner variant when `proprietario`, else the condominium
  // variant, as the menu does.
  std::shared_ptr<ModuloDomanda> apri_variante(bool proprietario) {
    if (proprietario) return apri_modulo<sevrina::sevrina_proprietari>(sevrina::EditingForm::SevrinaProprietari);
    return apri_modulo<sevrina::sevrina_condomini>(sevrina::EditingForm::SevrinaCondomini);
  }
};

}  // namespace prova
