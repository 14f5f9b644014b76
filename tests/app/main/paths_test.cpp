// The whole program's menu paths as a user clicks them, offscreen through
// the Qt view with the real editing forms: the refusals without a data
// file, each editing form opened from the menu and its "Menu" button back,
// the questions of "Sovrascrivere" answered No and Yes, the help, the final
// check's first message, and the close box that ends the program.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main/program.h"
#include "app/shell/intro.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"
#include "tests/app/main/program_view_support.h"
#include "tests/platform/qt/qt_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;

using qtprogram::Answerer;

class ProgramPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-paths-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    folder_ = modello;
    sys::set_program_folder(folder_);
    sevrina::registra_programma(rt_);
    sevrina::mostra_intro(rt_);
  }
  void TearDown() override {
    rt_.End();
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  forms::Form* form(const char* name) const { return rt_.FindForm(name); }
  QWidget* w(const char* form_name, const char* control, int index) const {
    forms::Form* f = form(form_name);
    if (!f) return nullptr;
    forms::Control* c = f->FindControl(control, index);
    return c ? view_.widget(*c) : nullptr;
  }
  void click(const char* form_name, const char* control, int index) {
    QWidget* widget = w(form_name, control, index);
    ASSERT_NE(widget, nullptr) << form_name << "." << control << "(" << index << ")";
    qttest::click(widget);
  }
  // Picks a choice of the menu and presses "Prosegui".
  void prosegui(int choice) {
    click("Intro", "Option1", choice);
    click("Intro", "Command1", 2);
  }
  // Whether the form's window is on screen and the menu is gone.
  bool opened(const char* name) const {
    forms::Form* f = form(name);
    return f && view_.window(*f) && view_.window(*f)->isVisible() && !form("Intro");
  }
  // The editing form's "Menu" button, once its focus timer has run.
  void back_to_menu(const char* name) {
    forms::Form* f = form(name);
    ASSERT_NE(f, nullptr);
    qttest::wait_for([&] { return rt_.ArmedTimers().empty(); });
    click(name, "Command1", 0);
    ASSERT_TRUE(qttest::wait_for([&] { return form("Intro") && !form(name); })) << name;
    auto* menu = static_cast<sevrina::Intro*>(form("Intro"));
    for (auto& o : menu->Option1) EXPECT_FALSE(o.Value()) << "the menu comes back fresh";
  }

  forms::Runtime rt_;
  qtview::View view_{rt_};
  Answerer boxes_;
  fs::path folder_;
};

TEST_F(ProgramPaths, EveryMenuPathAsTheUserClicksIt) {
  // No data file: the declarations and the cost table are refused.
  prosegui(2);
  prosegui(3);
  ASSERT_EQ(boxes_.texts.size(), 2u);
  EXPECT_EQ(boxes_.texts[0], "Per riempire l'atto notorio bisogna riempire prima la sevrina!");
  EXPECT_EQ(boxes_.texts[1], "Per riempire il quadro economico bisogna riempire prima la sevrina!");
  EXPECT_FALSE(sevrina::esiste_file(folder_ / "DATI.DAT"));

  // The condominium application: no question, and back.
  prosegui(0);
  ASSERT_TRUE(opened("sevrina_condomini"));
  back_to_menu("sevrina_condomini");

  // The owner application over a condominium's data: No stays, Yes opens.
  ASSERT_EQ(sevrina::leggi_dato("TIPO_RICHIEDENTE").empty(), false) << "the form stored its applicant type";
  boxes_.answer("No");
  prosegui(1);
  EXPECT_TRUE(form("Intro"));
  EXPECT_FALSE(form("sevrina_proprietari"));
  boxes_.answer(QString::fromUtf8("Sì"));
  click("Intro", "Command1", 2);
  ASSERT_TRUE(opened("sevrina_proprietari"));
  back_to_menu("sevrina_proprietari");

  // The declarations and the cost table, now that a data file exists.
  prosegui(2);
  ASSERT_TRUE(opened("atto_notorio"));
  back_to_menu("atto_notorio");
  prosegui(3);
  ASSERT_TRUE(opened("quadro_economico"));
  back_to_menu("quadro_economico");

  // No choice.
  std::size_t before = boxes_.texts.size();
  click("Intro", "Command1", 2);
  ASSERT_EQ(boxes_.texts.size(), before + 1);
  EXPECT_EQ(boxes_.texts.back(), "Deve selezionare una scelta!");

  // "Aiuto": the help until its close box.
  bool help_shown = false;
  qttest::soon([&] {
    forms::Form* help = form("Help_intro");
    help_shown = help && view_.window(*help) && view_.window(*help)->isVisible();
    if (help) view_.window(*help)->close();
  });
  click("Intro", "Command1", 1);
  EXPECT_TRUE(help_shown);
  EXPECT_FALSE(form("Help_intro"));

  // "Stampa Dati" on the data as it stands: a message, and the menu stays.
  before = boxes_.texts.size();
  click("Intro", "Command1", 0);
  EXPECT_EQ(boxes_.texts.size(), before + 1);
  EXPECT_TRUE(form("Intro"));

  EXPECT_EQ(boxes_.unscripted, 0);
  std::vector<std::string> questions;
  for (const auto& t : boxes_.texts) {
    if (t.find("sei sicuro") != std::string::npos) questions.push_back(t);
  }
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0],
            u8"La sevrina già è stata creata per un condominio, sei sicuro di volerla modificare con una per un "
            u8"proprietario (o Delegato del Proprietario/i) ?"_w1252);

  // The menu's close box ends the program.
  view_.window(*form("Intro"))->close();
  EXPECT_FALSE(rt_.AnyFormLoaded());
}

TEST_F(ProgramPaths, StampaDatiOnCompleteDataOpensTheOutputStep) {
  std::vector<sevrina::Dato> d = {
      {"TIPO_RICHIEDENTE", "Amministratore"},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080110"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080111"},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "S"},
      {"CENTRO_STORICO_URBANO_SI_NO", "S"},
      {"DATA", "20080301"},
      {"DATA_ATTO_NOTORIO", "20080301"},
      {"IMPORTO_LAVORI_NETTO_IVA", "1000,00"},
      {"ONERI_SICUREZZA_NETTO_IVA", "100,00"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "500,00"},
      {"SPESE_GENERALI_STIMATE", "50,00"},
      {"DATA_QUADRO_ECONOMICO", "20080201"},
      {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
  };
  for (const char* k : {"DELIBERA_ASSEMBLEARE_SI_NO", "DICHIARAZIONI_SOSTITUTIVE_SI_NO", "PROVVEDIMENTO_EDILIZIO_SI_NO",
                        "RELAZIONE_LAVORI_SI_NO", "DOCUMENTAZIONE_FOTOGRAFICA_SI_NO",
                        "PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", "STRALCIO_DEL_PRG_SI_NO", "COMPUTO_METRICO_SI_NO",
                        "COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO"}) {
    d.push_back({k, "S"});
  }
  for (char l : std::string("ABCDFGHIJKLMN")) d.push_back({std::string("ATTO_NOTORIO_") + l, "S"});
  sevrina::scrivi_dati(d);

  // The output step is a modal form of its own; closing it without
  // generating returns to the menu with nothing written.
  std::string shown;
  qttest::soon([&] {
    for (forms::Form* f : rt_.Forms()) {
      if (f->Name() == "Intro" || !f->IsModal()) continue;
      shown = f->Name();
      ASSERT_NE(view_.window(*f), nullptr);
      EXPECT_TRUE(view_.window(*f)->isVisible());
      view_.window(*f)->grab().save(
          QString::fromStdString((fs::path(SEVRINA_BINARY_DIR) / "tests" / "app" / "main" / "output-step.png").string()),
          "PNG");
      view_.window(*f)->close();
    }
  });
  click("Intro", "Command1", 0);
  EXPECT_FALSE(shown.empty()) << "no output step was shown";
  EXPECT_TRUE(boxes_.texts.empty());
  EXPECT_TRUE(form("Intro"));
  EXPECT_EQ(rt_.Forms().size(), 1u);
}

}  // namespace
