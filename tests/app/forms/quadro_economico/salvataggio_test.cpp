// Saving the cost table and opening it again rebuilds every computed field.

#include "app/forms/application_common/keys.h"
#include "app/forms/quadro_economico/chiavi.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "tests/app/forms/quadro_economico/quadro_support.h"

namespace prova {
namespace {

using QuadroSalvataggio = ProvaQuadro;
using sevrina::quadro_economico;

// The typical worked case, typed.
void digita_caso_tipico(forms::TestDriver& ui, quadro_economico& f) {
  ui.type(f.Text2[0], "100000{ENTER}5000{ENTER}2000{ENTER}10000{ENTER}20000{ENTER}30000{ENTER}40000{ENTER}7000");
  ui.type(f.Text7[0], "5000{ENTER}10000{ENTER}4280");
  ui.click(f.Check1[0]);
  ui.click(f.Check1[1]);
  ui.click(f.Option2[0]);
}

std::vector<std::pair<std::string, std::string>> schermata(const quadro_economico& f) {
  auto s = campi_calcolo(FoglioDelModulo(f));
  for (auto& t : f.Text1) s.emplace_back(t.FullName(), t.Text());
  for (auto& c : f.Check1) s.emplace_back(c.FullName(), std::to_string(c.Value()));
  for (auto* a : {&f.Option1, &f.Option2}) {
    for (auto& o : *a) s.emplace_back(o.FullName(), o.Value() ? "1" : "0");
  }
  s.emplace_back("Label2(0)", f.Label2[0].Caption());
  s.emplace_back("Label2(1)", f.Label2[1].Caption());
  s.emplace_back("Combo2", f.Combo2.Text());
  return s;
}

TEST_F(QuadroSalvataggio, SaveAndReopenRebuildsEveryComputedField) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"},
               {"NOME_RICHIEDENTE", "Mario"},
               {"DATA_NASCITA_RICHIEDENTE", "19700101"},
               {"CIVICO_CONDOMINIO", "12"},
               {"INDIRIZZO_CONDOMINIO", "Via Roma"},
               {"MANUTENZIONE_STRAORDINARIA_SI_NO", "s"}});
  std::vector<std::pair<std::string, std::string>> prima;
  {
    auto f = apri();
    ASSERT_TRUE(f);
    digita_caso_tipico(ui, *f);
    ui.click(f->Option1[1]);
    ui.type(f->Text1[22], "15032009");
    ui.click(f->Command1[1]);
    prima = schermata(*f);
    attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
  }
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->modificato, 0);
  EXPECT_EQ(schermata(*f), prima);
  come_un_passaggio(*f);
  EXPECT_EQ(f->Text1[0].Text(), "Mario");
  EXPECT_EQ(f->Text1[4].Text(), "01/01/1970");
  EXPECT_EQ(f->Text1[22].Text(), "15/03/2009");
  EXPECT_EQ(f->Combo2.Text(), "Amministratore");
  EXPECT_EQ(f->Label2[0].Caption(), "LAVORI DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO ");
  EXPECT_EQ(f->Label2[1].Caption(), "SITO IN VARERI A VIA ROMA N. 12");
  EXPECT_EQ(f->Text8[12].Text(), "54.584,00");
}

}  // namespace
}  // namespace prova
