// The sworn-declaration form driven as a user would: the sixteen keys on
// disk after a save, read back on reopening.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "tests/app/forms/forms_test_support.h"

namespace {

using prova::campo_file;
using sevrina::atto_notorio;

class AttoNotorio : public prova::ProvaModulo {
 protected:
  AttoNotorio() : ProvaModulo("sevrina-atto", sevrina::domanda_menu_atto_notorio()) {}

  void registra_moduli() override { sevrina::register_atto_notorio(rt); }

  std::shared_ptr<atto_notorio> apri() { return apri_modulo<atto_notorio>(sevrina::EditingForm::AttoNotorio); }

  void chiudi(atto_notorio& f) {
    f.modificato = 0;
    ui.click(f.Command1[0]);
  }

  std::string spunte(const atto_notorio& f) const {
    std::string s;
    for (auto& c : f.Check2) s += c.Value() == 1 ? 'S' : 'N';
    return s;
  }
};

TEST_F(AttoNotorio, SixteenKeysSavedAndReopened) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"}});
  {
    auto f = apri();
    ASSERT_TRUE(f);
    ui.click(f->Check2[4]);
    ui.type(f->Text1[13], "05022008");
    // Enter in the last box: the next stops are disabled, the focus stays.
    EXPECT_TRUE(ui.enter());
    EXPECT_TRUE(f->Text1[13].HasFocus());
    ui.click(f->Command1[1]);
    EXPECT_EQ(f->modificato, 1);
    chiudi(*f);
  }
  const std::string attese = "SSSSSNSSSSSSSSS";
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(valore(sevrina::chiave_dichiarazione(i)), std::string(1, attese[static_cast<std::size_t>(i)]));
  }
  EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "20080205");
  EXPECT_EQ(record_dati().size(), 17u);
  const std::string b = byte_dati();
  EXPECT_EQ(b.substr(b.size() - 510), campo_file("DATA_ATTO_NOTORIO") + campo_file("20080205"));

  auto f = apri();
  EXPECT_EQ(spunte(*f), attese);
  EXPECT_EQ(f->Text1[13].Text(), "05/02/2008");
  // Unticking e) and saving stores N; the file does not grow.
  ui.click(f->Check2[4]);
  ui.click(f->Command1[1]);
  EXPECT_EQ(valore("ATTO_NOTORIO_E"), "N");
  EXPECT_EQ(record_dati().size(), 17u);
  chiudi(*f);

  // The placeholder is stored as 0 and shown again; an emptied box as 000000.
  {
    auto g = apri();
    g->Text1[13].SetText("gg/mm/aaaa");
    ui.click(g->Command1[1]);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "0");
    chiudi(*g);
  }
  {
    auto g = apri();
    EXPECT_EQ(g->Text1[13].Text(), "gg/mm/aaaa");
    ui.focus(g->Text1[13]);
    EXPECT_EQ(g->Text1[13].Text(), "");
    ui.click(g->Command1[1]);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "000000");
    chiudi(*g);
  }
  auto g = apri();
  EXPECT_EQ(g->Text1[13].Text(), "");
  chiudi(*g);
}

// One notch of the wheel turns the panel by a fifth of the viewport, through
// the scroll bar, and back; the focus stays where it was.
TEST_F(AttoNotorio, AWheelNotchTurnsAFifthOfTheViewport) {
  auto f = apri();
  ASSERT_TRUE(f);
  prova::verifica_rotella(rt, *f);
}

}  // namespace
