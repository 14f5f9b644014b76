// The whole road once through the real windows, offscreen: from an empty
// program folder the program's menu, the condominium application, the
// sworn declarations and the cost table, each filled in with keys and
// clicks sent to the view's widgets and saved; "Stampa Dati" passes the
// final check and shows the output step as a modal window; a double click
// in its folder list picks the target and "Genera" writes the output folder
// and ends the program. Every message box is the view's QMessageBox,
// answered by clicking its buttons. The real readers then check the three
// documents and the moved data file.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QScrollBar>
#include <optional>
#include <set>

#include "app/documents/crea_sevrine.h"
#include "app/forms/application_common/application_form.h"
#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "tests/app/documents/doc_test_support.h"
#include "tests/app/documents/road_checks.h"
#include "tests/app/main/program_view_support.h"

namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using doctest::collapse;
using qtprogram::ProgramTest;

// An environment variable set for the test's length, then put back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class WindowRoad : public ProgramTest {
 protected:
  // Opens the combo box's list with a click and clicks the entry.
  void scegli(forms::Form& f, forms::ComboBox& combo, const std::string& entry) {
    clicca(f, combo);
    auto* box = qobject_cast<QComboBox*>(w(combo));
    ASSERT_NE(box, nullptr);
    const int row = box->findText(QString::fromStdString(entry));
    ASSERT_GE(row, 0) << entry;
    ASSERT_TRUE(qttest::wait_for([&] { return box->view()->isVisible(); })) << "the list did not open";
    QAbstractItemView* list = box->view();
    list->scrollTo(list->model()->index(row, 0));
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    qttest::mouse(list->viewport(), QEvent::MouseMove, at);
    qttest::mouse(list->viewport(), QEvent::MouseButtonPress, at);
    qttest::mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    ASSERT_TRUE(qttest::wait_for([&] { return !box->view()->isVisible(); })) << "the list stayed open";
  }
  // "Salva", then "Menu": the edits being saved, the question is answered No.
  void salva_e_torna(const char* name, const std::string& domanda) {
    const std::size_t before = boxes_.texts.size();
    click(name, "Command1", 1);
    EXPECT_EQ(boxes_.texts.size(), before) << "Salva said: " << boxes_.texts.back();
    boxes_.answer("No");
    click(name, "Command1", 0);
    ASSERT_TRUE(qttest::wait_for([&] { return form("Intro") && !form(name); })) << name;
    ASSERT_EQ(boxes_.texts.size(), before + 1);
    EXPECT_EQ(boxes_.texts.back(), domanda);
  }

  qtprogram::TempFolder home_{"sevrina-home"};
};

TEST_F(WindowRoad, FromAnEmptyFolderToTheOutputFolder) {
  // The user's desktop, with a folder for the dossier in it.
  ASSERT_FALSE(home_.path().empty());
  const fs::path desktop = home_.path() / "Desktop";
  const fs::path pratiche = desktop / "Pratiche";
  fs::create_directories(pratiche);
  ScopedEnv home("HOME", home_.path().string());
  ScopedEnv config("XDG_CONFIG_HOME", (home_.path() / ".config").string());
  ASSERT_TRUE(fs::is_empty(folder_.path()));

  // The condominium application.
  apri(0, "sevrina_condomini");
  {
    auto* f = static_cast<sevrina::domanda::ModuloDomanda*>(form("sevrina_condomini"));
    ASSERT_TRUE(f->Text1[0].HasFocus());
    keys("Mario{ENTER}Rossi{ENTER}Vareri{ENTER}na{ENTER}31011960");
    keys("{ENTER}Vareri{ENTER}na{ENTER}via Roma{ENTER}12{ENTER}rssmra70a01f839x{ENTER}");
    keys("Vareri{ENTER}na{ENTER}via Toledo{ENTER}3{ENTER}80100{ENTER}081 555/12{ENTER}{ENTER}"
         "m.rossi@example.it{ENTER}");
    keys("via Chiaia{ENTER}7{ENTER}80121{ENTER}15012008{ENTER}20012008{ENTER}");
    // What the keys made of the boxes, as the widgets show it.
    EXPECT_EQ(shown(w(f->Text1[3])), "NA");
    EXPECT_EQ(shown(w(f->Text1[4])), "31/01/1960");
    EXPECT_EQ(shown(w(f->Text1[9])), "RSSMRA70A01F839X");
    EXPECT_EQ(shown(w(f->Text1[23])), "20/01/2008");
    clicca(*f, f->Check3[0]);   // works on the façades
    clicca(*f, f->Option1[1]);  // extraordinary maintenance
    clicca(*f, f->Option2[0]);  // the historic centre
    scegli(*f, f->Combo1[0], "Chiaia");
    EXPECT_EQ(f->Combo1[0].Text(), "Chiaia");
    EXPECT_EQ(shown(w(f->Text1[26])), "1") << "the district's municipality";
    for (int i = 0; i < 8; ++i) clicca(*f, f->Check2[i]);  // attachments 1 to 8
    clicca(*f, f->Check2[11]);                             // and 12
    for (int i : {0, 7, 11}) EXPECT_EQ(qobject_cast<QAbstractButton*>(w(f->Check2[i]))->isChecked(), true);
    scrivi(*f, f->Text1[35], "01022008");
    screenshot("sevrina_condomini", "road-sevrina_condomini.png");
    salva_e_torna("sevrina_condomini", sevrina::domanda::domanda_menu());
  }

  // The sworn declarations: the fixed ones and the date.
  apri(2, "atto_notorio");
  {
    auto* f = static_cast<sevrina::atto_notorio*>(form("atto_notorio"));
    EXPECT_EQ(shown(w(f->Text1[0])), "Mario");
    scrivi(*f, f->Text1[13], "30012008");
    EXPECT_EQ(shown(w(f->Text1[13])), "30/01/2008");
    salva_e_torna("atto_notorio", sevrina::domanda_menu_atto_notorio());
  }

  // The cost table: works, categories, capped items, the date.
  apri(3, "quadro_economico");
  {
    auto* f = static_cast<sevrina::quadro_economico*>(form("quadro_economico"));
    scrivi(*f, f->Text2[0], "100000{ENTER}5000{ENTER}2000{ENTER}");
    scrivi(*f, f->Text5[0], "10000{ENTER}20000{ENTER}30000{ENTER}40000{ENTER}7000{ENTER}");
    scrivi(*f, f->Text7[0], "5000{ENTER}10000{ENTER}4280{ENTER}");
    scrivi(*f, f->Text1[22], "31012008");
    // The computed figures, as the widgets show them: the works' total,
    // the intervention's total, the base contribution (30 %), which is
    // also the contribution admitted, and its share of the total.
    EXPECT_EQ(shown(w(f->Text2[3])), "107.000,00");
    std::multiset<std::string> totals;
    for (auto& box : f->Text8) totals.insert(shown(w(box)));
    EXPECT_EQ(totals.count("136.460,00"), 2u);
    EXPECT_EQ(totals.count("40.938,00"), 3u);
    EXPECT_EQ(totals.count("30,00"), 1u);
    screenshot("quadro_economico", "road-quadro_economico.png");
    salva_e_torna("quadro_economico", sevrina::domanda_menu_quadro_economico());
  }
  ASSERT_TRUE(fs::exists(folder_.path() / "DATI.DAT"));
  const std::string data = pdftest::ReadFile((folder_.path() / "DATI.DAT").string());
  pdftest::WriteFile((folder_.path() / "bozza.pdf").string(), "%PDF-1.3 an old draft");

  // "Stampa Dati": the check passes and the output step opens on the
  // desktop; a double click opens "Pratiche"; "Genera".
  bool step_shown = false;
  fs::path chosen;
  QTimer step;
  step.setInterval(5);
  QObject::connect(&step, &QTimer::timeout, [&] {
    forms::Form* f = form("crea_sevrine");
    QWidget* win = f ? view_.window(*f) : nullptr;
    if (!win || !win->isVisible() || !rt_.ArmedTimers().empty()) return;
    step.stop();
    step_shown = true;
    auto& crea = static_cast<sevrina::CreaSevrine&>(*f);
    EXPECT_EQ(crea.Dir1.Path(), desktop);
    screenshot("crea_sevrine", "road-crea_sevrine.png");
    auto* list = qobject_cast<QListWidget*>(w(crea.Dir1));
    ASSERT_NE(list, nullptr);
    int row = -1;
    for (int i = 0; i < crea.Dir1.ListCount(); ++i) {
      if (crea.Dir1.Entries()[static_cast<std::size_t>(i)].label == "Pratiche") row = i;
    }
    ASSERT_GE(row, 0) << "Pratiche is not listed";
    const QPoint at = list->visualItemRect(list->item(row)).center();
    qttest::mouse(list->viewport(), QEvent::MouseButtonPress, at);
    qttest::mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    qttest::mouse(list->viewport(), QEvent::MouseButtonDblClick, at);
    qttest::mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    chosen = crea.Dir1.Path();
    qttest::click(w(crea.Command1));
  });
  step.start();
  click("Intro", "Command1", 0);
  EXPECT_TRUE(step_shown) << "no output step was shown";
  EXPECT_EQ(chosen, pratiche);
  EXPECT_TRUE(rt_.Ended());
  EXPECT_FALSE(rt_.AnyFormLoaded());
  ASSERT_FALSE(boxes_.texts.empty());
  EXPECT_EQ(boxes_.texts.back(), sevrina::kMessaggioSuccesso);
  EXPECT_EQ(boxes_.unscripted, 0);
  EXPECT_EQ(boxes_.pending(), 0u);

  // The output folder and nothing else; the program's folder empty.
  const fs::path out = pratiche / sevrina::kCartellaUscita;
  doctest::expect_road_output(out, data);
  EXPECT_TRUE(fs::is_empty(folder_.path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(pratiche), fs::directory_iterator()), 1);
}

}  // namespace
