#pragma once
// What the application form's tests share, besides the editing forms'
// fixture (tests/app/forms/forms_test_support.h): the variants' openers,
// the "Menu" question, stand-in document services and a record as stored.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
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

// Records the draft requests under the generators' own names.
class DocumentiFinti : public DocumentiRegistrati {
 public:
  DocumentiFinti()
      : DocumentiRegistrati({"crea_sevrina_condomini", "crea_sevrina_proprietari", "crea_atto_notorio",
                             "crea_quadro_economico"}) {}
};

// A record as the data file stores it.
inline std::string record(const std::string& chiave, const std::string& valore) {
  return campo_file(chiave) + campo_file(valore);
}

class ProvaDomanda : public ProvaModulo<DocumentiFinti> {
 protected:
  ProvaDomanda() : ProvaModulo("sevrina-domanda", kDomandaMenu) {}

  void registra_moduli() override {
    sevrina::register_sevrina_condomini(rt);
    sevrina::register_sevrina_proprietari(rt);
  }

  // Opens a variant as the menu does, shows it and lets its timer focus
  // Text1(0).
  template <class F>
  std::shared_ptr<F> apri() {
    return apri_modulo<F>(std::is_same_v<F, sevrina::sevrina_condomini> ? sevrina::EditingForm::SevrinaCondomini
                                                                          : sevrina::EditingForm::SevrinaProprietari);
  }

  std::shared_ptr<sevrina::sevrina_condomini> apri_condomini() { return apri<sevrina::sevrina_condomini>(); }
  std::shared_ptr<sevrina::sevrina_proprietari> apri_proprietari() {
    return apri<sevrina::sevrina_proprietari>();
  }
  // The owner variant when `proprietario`, else the condominium variant.
  std::shared_ptr<ModuloDomanda> apri_variante(bool proprietario) {
    if (proprietario) return apri_proprietari();
    return apri_condomini();
  }
};

}  // namespace prova
