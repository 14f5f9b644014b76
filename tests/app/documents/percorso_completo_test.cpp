// The whole road as a user goes it, headless: from an empty program folder
// the menu opens the condominium application, the sworn declarations and
// the cost table, each filled in by keystrokes and clicks and saved; "Stampa
// Dati" passes the final check and shows the output step; "Genera" writes
// the output folder and ends the program. The readers then check the three
// documents and the moved data file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/documents/crea_file.h"
#include "app/documents/crea_sevrine.h"
#include "app/documents/frame.h"
#include "app/forms/application_common/application_form.h"
#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#include "app/shell/intro.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"
#include "tests/app/documents/road_checks.h"

namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;

class Road : public doctest::DocumentTest {
 protected:
  Road() {
    sevrina::register_intro(rt);
    sevrina::register_sevrina_condomini(rt);
    sevrina::register_sevrina_proprietari(rt);
    sevrina::register_atto_notorio(rt);
    sevrina::register_quadro_economico(rt);
    sevrina::install_document_services();
  }

  // The menu's choice `i` and "Prosegui".
  void scegli(int i) {
    auto menu = rt.Find<sevrina::Intro>();
    ASSERT_TRUE(menu);
    ui.click(menu->Option1[i]);
    ui.click(menu->Command1[2]);
    ui.run_timers();
  }

  // "Salva", then "Menu" (edited: the question, answered No, the data
  // being saved already).
  void salva_e_torna(forms::Form& f, forms::CommandButton& salva, forms::CommandButton& menu,
                     const std::string& domanda) {
    ui.click(salva);
    ui.expect_box({domanda, forms::MsgResult::No, std::string("Menu"), forms::MsgButtons::YesNo,
                   forms::MsgIcon::None});
    ui.click(menu);
    EXPECT_FALSE(f.Loaded());
  }

  pdftest::TempDir desktop;
};

TEST_F(Road, FromAnEmptyFolderToTheOutputFolder) {
  ASSERT_TRUE(fs::is_empty(dir.path()));
  sevrina::mostra_intro(rt);

  // The condominium application.
  scegli(0);
  {
    auto f = rt.Find<sevrina::sevrina_condomini>();
    ASSERT_TRUE(f);
    ui.type("Mario{ENTER}Rossi{ENTER}Vareri{ENTER}na{ENTER}31011960");
    ui.type("{ENTER}Vareri{ENTER}na{ENTER}via Roma{ENTER}12{ENTER}rssmra70a01f839x{ENTER}");
    ui.type("Vareri{ENTER}na{ENTER}via Toledo{ENTER}3{ENTER}80100{ENTER}081 555/12{ENTER}{ENTER}"
            "m.rossi@example.it{ENTER}");
    ui.type(u8"via Chiaia{ENTER}7{ENTER}80121{ENTER}15012008{ENTER}20012008{ENTER}"_w1252);
    ui.click(f->Check3[0]);    // works on the façades
    ui.click(f->Option1[1]);   // extraordinary maintenance
    ui.click(f->Option2[0]);   // the historic centre
    ui.choose(f->Combo1[0], "Chiaia");
    for (int i = 0; i < 8; ++i) ui.click(f->Check2[i]);  // attachments 1 to 8
    ui.click(f->Check2[11]);                             // and 12
    ui.type(f->Text1[35], "01022008");
    salva_e_torna(*f, f->Command1[1], f->Command1[0], sevrina::domanda::domanda_menu());
  }

  // The sworn declarations: the fixed ones and the date.
  scegli(2);
  {
    auto f = rt.Find<sevrina::atto_notorio>();
    ASSERT_TRUE(f);
    ui.type(f->Text1[13], "30012008");
    salva_e_torna(*f, f->Command1[1], f->Command1[0], sevrina::domanda_menu_atto_notorio());
  }

  // The cost table: works, categories, capped items, the date.
  scegli(3);
  {
    auto f = rt.Find<sevrina::quadro_economico>();
    ASSERT_TRUE(f);
    ui.type(f->Text2[0], "100000{ENTER}5000{ENTER}2000{ENTER}");
    ui.type(f->Text5[0], "10000{ENTER}20000{ENTER}30000{ENTER}40000{ENTER}7000{ENTER}");
    ui.type(f->Text7[0], "5000{ENTER}10000{ENTER}4280{ENTER}");
    ui.type(f->Text1[22], "31012008");
    salva_e_torna(*f, f->Command1[1], f->Command1[0], sevrina::domanda_menu_quadro_economico());
  }
  ASSERT_TRUE(fs::exists(dir.path() / "DATI.DAT"));
  const std::string data = pdftest::ReadFile((dir.path() / "DATI.DAT").string());
  pdftest::WriteFile((dir.path() / "bozza.pdf").string(), "%PDF-1.3 an old draft");

  // "Stampa Dati": the check passes; the output step on our desktop.
  ui.on_modal("crea_sevrine", [&](forms::Form& form) {
    auto& step = dynamic_cast<sevrina::CreaSevrine&>(form);
    ASSERT_TRUE(ui.choose_folder(step.Dir1, desktop.path()));
    ui.expect_box("FILE GENERATI CON SUCCESSO!");
    ui.click(step.Command1);
  });
  auto menu = rt.Find<sevrina::Intro>();
  ASSERT_TRUE(menu);
  ui.click(menu->Command1[0]);
  EXPECT_TRUE(rt.Ended());

  // The output folder and nothing else; the program's folder empty.
  const fs::path out = desktop.path() / "Files Sevrina Ortesa";
  doctest::expect_road_output(out, data);
  EXPECT_TRUE(fs::is_empty(dir.path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(desktop.path()), fs::directory_iterator()), 1);
}

}  // namespace
