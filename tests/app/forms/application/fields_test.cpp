// Every change a user makes to the application form marks it modified, so
// that "Menu" asks before leaving.

#include "app/forms/application_common/districts.h"
#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaCampi = ProvaDomanda;

// Every change a user makes marks the form modified, so "Menu" asks.
TEST_F(DomandaCampi, EveryEditMakesMenuAsk) {
  struct Caso {
    const char* nome;
    bool proprietario;
    std::function<void(ModuloDomanda&)> azione;
    bool chiede;
  };
  const std::vector<Caso> casi = {
      {"nothing", false, [](ModuloDomanda&) {}, false},
      {"scrolling and focus", false,
       [this](ModuloDomanda& f) {
         ui.scroll_to(f.VScroll1, 10000);
         ui.focus(f.Text1[9]);
         ui.focus(f.Check2[0]);
       },
       false},
      {"typing", false, [this](ModuloDomanda& f) { ui.type(f.Text1[1], "a"); }, true},
      {"a works item", false, [this](ModuloDomanda& f) { ui.click(f.Check3[3]); }, true},
      {"a works item by Space", false, [this](ModuloDomanda& f) { ui.type(f.Check3[3], " "); }, true},
      {"an attachment", false, [this](ModuloDomanda& f) { ui.click(f.Check2[3]); }, true},
      {"a type of works", false, [this](ModuloDomanda& f) { ui.click(f.Option1[2]); }, true},
      {"an area", false, [this](ModuloDomanda& f) { ui.click(f.Option2[2]); }, true},
      {"an applicant type", true,
       [this](ModuloDomanda& f) { ui.choose(*f.Combo2(), "Delegato del Proprietario/i"); }, true},
      {"a saved edit", false,
       [this](ModuloDomanda& f) {
         ui.type(f.Text1[1], "a");
         ui.click(f.Command1[1]);
       },
       true},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::shared_ptr<ModuloDomanda> f = apri_variante(c.proprietario);
    c.azione(*f);
    if (c.chiede) attendi_domanda_menu(forms::MsgResult::No);
    const int prima = menu_mostrato;
    ui.click(f->Command1[0]);
    ui.verify();
    EXPECT_EQ(menu_mostrato, prima + 1);
    EXPECT_FALSE(f->Loaded());
  }
}

}  // namespace
}  // namespace prova
