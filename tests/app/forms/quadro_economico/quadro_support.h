#pragma once
// What the cost-table tests share, besides the editing forms' fixture
// (tests/app/forms/forms_test_support.h): the form's computed fields side by side with one plain pass of the
// computation over the same inputs.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/quadro_economico/calcolo.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/text/cp1252.h"
#include "tests/app/forms/forms_test_support.h"

namespace prova {

using namespace cp1252::literals;
using sevrina::quadro::Serie;

// Every computation field's name and text, in a fixed order.
inline std::vector<std::pair<std::string, std::string>> campi_calcolo(const sevrina::quadro::Foglio& f) {
  std::vector<std::pair<std::string, std::string>> out;
  const std::pair<Serie, const char*> serie[] = {{Serie::Text2, "Text2"}, {Serie::Text3, "Text3"},
                                                 {Serie::Text4, "Text4"}, {Serie::Text5, "Text5"},
                                                 {Serie::Text6, "Text6"}, {Serie::Text7, "Text7"},
                                                 {Serie::Text8, "Text8"}};
  for (const auto& [s, nome] : serie) {
    for (int i = 0; i < sevrina::quadro::elementi(s); ++i) {
      out.emplace_back(std::string(nome) + "(" + std::to_string(i) + ")", f.testo(s, i));
    }
  }
  return out;
}

// The form's fields as a computation sheet (reading only).
class FoglioDelModulo : public sevrina::quadro::Foglio {
 public:
  explicit FoglioDelModulo(const sevrina::quadro_economico& f) : f_(f) {}
  std::string testo(Serie s, int i) const override { return f_.campo(s, i).Text(); }
  void scrivi(Serie, int, const std::string&) override { ADD_FAILURE() << "read-only"; }
  bool criterio(int i) const override { return f_.Check1[i].Value() == 1; }
  bool fascia(int i) const override { return f_.Option1[i].Value(); }
  bool libretto(int i) const override { return f_.Option2[i].Value(); }

 private:
  const sevrina::quadro_economico& f_;
};

// One plain pass of the computation over the form's inputs and choices.
inline sevrina::quadro::FoglioSemplice un_passaggio(const sevrina::quadro_economico& f) {
  sevrina::quadro::FoglioSemplice s;
  for (int i = 0; i < 3; ++i) s.scrivi(Serie::Text2, i, f.Text2[i].Text());
  for (int i = 0; i < 7; ++i) s.scrivi(Serie::Text5, i, f.Text5[i].Text());
  for (int i = 0; i < 4; ++i) s.scrivi(Serie::Text7, i, f.Text7[i].Text());
  // Text6(7) is written only when every share is "0"; start from the form's.
  s.scrivi(Serie::Text6, 7, f.Text6[7].Text());
  for (int i = 0; i < 6; ++i) s.criteri[static_cast<std::size_t>(i)] = f.Check1[i].Value() == 1;
  for (int i = 0; i < 2; ++i) {
    s.fasce[static_cast<std::size_t>(i)] = f.Option1[i].Value();
    s.libretti[static_cast<std::size_t>(i)] = f.Option2[i].Value();
  }
  sevrina::quadro::ricalcola(s);
  return s;
}

class ProvaQuadro : public ProvaModulo {
 protected:
  ProvaQuadro() : ProvaModulo("sevrina-quadro", sevrina::domanda_menu_quadro_economico()) {}

  void registra_moduli() override { sevrina::register_quadro_economico(rt); }

  // Opens the form as the menu does and lets its timer focus Text1(0).
  std::shared_ptr<sevrina::quadro_economico> apri() {
    return apri_modulo<sevrina::quadro_economico>(sevrina::EditingForm::QuadroEconomico);
  }

  // Every computed field equals one plain pass of the steps over the inputs.
  void come_un_passaggio(const sevrina::quadro_economico& f) {
    const auto atteso = campi_calcolo(un_passaggio(f));
    const auto visto = campi_calcolo(FoglioDelModulo(f));
    EXPECT_EQ(visto, atteso);
  }
};

}  // namespace prova
