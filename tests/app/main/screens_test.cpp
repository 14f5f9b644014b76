// The four editing forms as a user sees them, offscreen through the Qt
// view: each opened from the menu, its window at the form's size, the first
// field with the focus colour once the focus timer has run, typed text in
// the widgets, and a screenshot of each under the build folder
// (tests/app/main/*.png) for a person to look at; and the close box of an
// edited form, which asks before anything is lost.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <map>

#include "app/forms/application_common/application_form.h"
#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/forms/quadro_economico/quadro_economico.h"
#include "app/shell/store.h"
#include "tests/app/main/program_view_support.h"

namespace {

using namespace cp1252::literals;
using qtprogram::ProgramTest;

const QColor kLightCyan(0xC0, 0xFF, 0xFF);  // &HFFFFC0
const QColor kYellow(0xFF, 0xFF, 0x00);     // &H00FFFF
const QColor kWhite(0xFF, 0xFF, 0xFF);

// The colour the user sees inside a line edit: the commonest colour within
// its frame, whatever the text and the caret cover.
QColor inside(const QImage& shot, QWidget* window, QWidget* edit) {
  const QPoint origin = edit->mapTo(window, QPoint(0, 0));
  std::map<QRgb, int> tally;
  for (int y = 3; y < edit->height() - 3; ++y) {
    for (int x = 3; x < edit->width() - 3; ++x) ++tally[shot.pixel(origin + QPoint(x, y))];
  }
  auto most = std::max_element(tally.begin(), tally.end(),
                               [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == tally.end() ? QColor() : QColor(most->first);
}

QColor base_of(QWidget* w) { return w->palette().color(QPalette::Base); }

class EditingFormScreens : public ProgramTest {
 protected:
  // The window is the form's client area at 15 twips to the pixel.
  void expect_size(const char* name, const QImage& shot, QSize twips) {
    forms::Form* f = form(name);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(QSize(static_cast<int>(f->ScaleWidth()), static_cast<int>(f->ScaleHeight())), twips) << name;
    const QSize want(twips.width() / 15, twips.height() / 15);
    EXPECT_EQ(window(name)->size(), want) << name;
    EXPECT_EQ(shot.size(), want) << name;
  }

  // The data an application saved: the applicant and the building, so that
  // the declarations and the cost table have something to show.
  void dati_della_domanda() {
    sevrina::scrivi_dati({
        {"TIPO_RICHIEDENTE", "Amministratore"},
        {"NOME_RICHIEDENTE", "Mario"},
        {"COGNOME_RICHIEDENTE", "Rossi"},
        {"COMUNE_NASCITA_RICHIEDENTE", "Vareri"},
        {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
        {"DATA_NASCITA_RICHIEDENTE", "19600131"},
        {"COMUNE_RICHIEDENTE", "Vareri"},
        {"PROVINCIA_RICHIEDENTE", "NA"},
        {"INDIRIZZO_RICHIEDENTE", "via Roma"},
        {"CIVICO_RESIDENZA_RICHIEDENTE", "12"},
        {"CODICE_FISCALE_RICHIEDENTE", "RSSMRA70A01F839X"},
        {"INDIRIZZO_CONDOMINIO", "via Chiaia"},
        {"CIVICO_CONDOMINIO", "7"},
        {"CAP_CONDOMINIO", "80121"},
    });
  }
};

TEST_F(EditingFormScreens, CondominiumApplication) {
  apri(0, "sevrina_condomini");
  auto* f = static_cast<sevrina::domanda::ModuloDomanda*>(form("sevrina_condomini"));
  QWidget* win = window("sevrina_condomini");
  EXPECT_EQ(win->windowTitle().isEmpty(), false);

  // The first field has the focus, in light cyan; the next one is white.
  ASSERT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(QApplication::focusWidget(), w(f->Text1[0]));
  EXPECT_EQ(base_of(w(f->Text1[0])), kLightCyan);
  EXPECT_EQ(base_of(w(f->Text1[1])), kWhite);

  // Typed keys show in the widget; Enter moves on.
  type("Mario");
  enter();
  type("Rossi");
  EXPECT_EQ(shown(w(f->Text1[0])), "Mario");
  EXPECT_EQ(shown(w(f->Text1[1])), "Rossi");
  EXPECT_TRUE(f->Text1[1].HasFocus());
  EXPECT_EQ(base_of(w(f->Text1[0])), kWhite);

  QImage shot = screenshot("sevrina_condomini", "sevrina_condomini.png");
  expect_size("sevrina_condomini", shot, QSize(11880, 8190));
  EXPECT_EQ(inside(shot, win, w(f->Text1[1])), kLightCyan);
  EXPECT_EQ(inside(shot, win, w(f->Text1[0])), kWhite);
  // The condominium variant has no applicant-type list.
  EXPECT_EQ(f->Combo2(), nullptr);

  // Leaving with the edits unsaved asks; No leaves without saving.
  boxes_.answer("No");
  click("sevrina_condomini", "Command1", 0);
  EXPECT_TRUE(qttest::wait_for([&] { return form("Intro") && !form("sevrina_condomini"); }));
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], sevrina::domanda::domanda_menu());
}

TEST_F(EditingFormScreens, OwnerApplication) {
  apri(1, "sevrina_proprietari");
  auto* f = static_cast<sevrina::domanda::ModuloDomanda*>(form("sevrina_proprietari"));
  QWidget* win = window("sevrina_proprietari");
  ASSERT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(base_of(w(f->Text1[0])), kLightCyan);

  type("Anna");
  EXPECT_EQ(shown(w(f->Text1[0])), "Anna");

  // The applicant-type list of the owner variant is on the page.
  ASSERT_NE(f->Combo2(), nullptr);
  auto* combo = qobject_cast<QComboBox*>(w(*f->Combo2()));
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(combo->isVisibleTo(win));
  EXPECT_EQ(combo->count(), f->Combo2()->ListCount());

  QImage shot = screenshot("sevrina_proprietari", "sevrina_proprietari.png");
  expect_size("sevrina_proprietari", shot, QSize(11880, 8190));
  EXPECT_EQ(inside(shot, win, w(f->Text1[0])), kLightCyan);
  EXPECT_EQ(boxes_.texts.size(), 0u);
}

TEST_F(EditingFormScreens, Declarations) {
  dati_della_domanda();
  apri(2, "atto_notorio");
  auto* f = static_cast<sevrina::atto_notorio*>(form("atto_notorio"));
  QWidget* win = window("atto_notorio");
  ASSERT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(base_of(w(f->Text1[0])), kLightCyan);
  // The applicant as the application stored him, the date of birth shown
  // as a date.
  EXPECT_EQ(shown(w(f->Text1[0])), "Mario");
  EXPECT_EQ(shown(w(f->Text1[1])), "Rossi");
  EXPECT_EQ(shown(w(f->Text1[4])), "31/01/1960");
  // The fixed declarations are ticked on screen as in the form.
  for (int i : {0, 1, 2, 3}) {
    auto* box = qobject_cast<QCheckBox*>(w(f->Check2[i]));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->checkState(), Qt::Checked) << "Check2(" << i << ")";
    EXPECT_EQ(f->Check2[i].Value(), 1);
  }

  QImage shot = screenshot("atto_notorio", "atto_notorio.png");
  expect_size("atto_notorio", shot, QSize(11850, 8190));
  EXPECT_EQ(inside(shot, win, w(f->Text1[0])), kLightCyan);
  EXPECT_EQ(boxes_.texts.size(), 0u);
}

TEST_F(EditingFormScreens, CostTable) {
  dati_della_domanda();
  apri(3, "quadro_economico");
  auto* f = static_cast<sevrina::quadro_economico*>(form("quadro_economico"));
  QWidget* win = window("quadro_economico");
  ASSERT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(base_of(w(f->Text1[0])), kLightCyan);
  // The applicant's block as stored; the amount inputs rest in yellow.
  EXPECT_EQ(shown(w(f->Text1[0])), "Mario");
  EXPECT_EQ(base_of(w(f->Text2[0])), kYellow);

  QImage shot = screenshot("quadro_economico", "quadro_economico.png");
  expect_size("quadro_economico", shot, QSize(11850, 8190));
  EXPECT_EQ(inside(shot, win, w(f->Text1[0])), kLightCyan);
  EXPECT_EQ(inside(shot, win, w(f->Text1[1])), kWhite);

  // An amount typed: the input takes the focus colour, then rests in
  // yellow again, and the computed fields show the result. (Dragging the
  // scroll bar takes the focus, so the page is moved first.)
  in_vista(*f, f->Text2[1]);
  scrivi(*f, f->Text2[0], "100000");
  EXPECT_EQ(base_of(w(f->Text2[0])), kLightCyan);
  keys("{ENTER}");
  EXPECT_TRUE(f->Text2[1].HasFocus());
  EXPECT_EQ(base_of(w(f->Text2[0])), kYellow);
  EXPECT_EQ(shown(w(f->Text2[0])), "100000");
  EXPECT_EQ(shown(w(f->Text2[3])), "100.000,00");
  EXPECT_EQ(base_of(w(f->Text2[1])), kLightCyan);
  shot = screenshot("quadro_economico", "quadro_economico-importi.png");
  EXPECT_EQ(inside(shot, win, w(f->Text2[0])), kYellow);
  EXPECT_EQ(inside(shot, win, w(f->Text2[1])), kLightCyan);
  EXPECT_EQ(boxes_.texts.size(), 0u);
}

}  // namespace

namespace {

// The close box of an edited form asks the "Menu" question first, through
// the real message box: Yes with a save the checks refuse keeps the form
// and the edits; No closes the form without saving.
class EditedFormCloseBox : public ProgramTest {};

TEST_F(EditedFormCloseBox, YesWithARefusedSaveKeepsTheEdits) {
  apri(0, "sevrina_condomini");
  auto* f = static_cast<sevrina::domanda::ModuloDomanda*>(form("sevrina_condomini"));
  // A date of birth that does not exist.
  keys("Mario{ENTER}Rossi{ENTER}Vareri{ENTER}na{ENTER}30021960");
  EXPECT_EQ(shown(w(f->Text1[4])), "30/02/1960");
  boxes_.answer(qtprogram::si());
  window("sevrina_condomini")->close();
  ASSERT_EQ(boxes_.texts.size(), 2u) << "the question, then why the save was refused";
  EXPECT_EQ(boxes_.texts[0], sevrina::domanda::domanda_menu());
  EXPECT_EQ(boxes_.texts[1], u8"La Data di nascita del richiedente è errata!"_w1252);
  ASSERT_EQ(form("sevrina_condomini"), f);
  EXPECT_TRUE(window("sevrina_condomini")->isVisible());
  EXPECT_EQ(shown(w(f->Text1[0])), "Mario");
  EXPECT_EQ(shown(w(f->Text1[4])), "30/02/1960");
  EXPECT_EQ(sevrina::leggi_dato("NOME_RICHIEDENTE"), "");
  EXPECT_EQ(boxes_.unscripted, 0);
}

TEST_F(EditedFormCloseBox, NoClosesWithoutSaving) {
  apri(0, "sevrina_condomini");
  type("Mario");
  boxes_.answer("No");
  window("sevrina_condomini")->close();
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], sevrina::domanda::domanda_menu());
  EXPECT_FALSE(form("sevrina_condomini"));
  EXPECT_FALSE(rt_.AnyFormLoaded()) << "the last window closed ends the program";
  EXPECT_EQ(sevrina::leggi_dato("NOME_RICHIEDENTE"), "");
}

TEST_F(EditedFormCloseBox, TheCostTableAsksToo) {
  sevrina::scrivi_dati({{"TIPO_RICHIEDENTE", "Amministratore"}});
  apri(3, "quadro_economico");
  auto* f = static_cast<sevrina::quadro_economico*>(form("quadro_economico"));
  in_vista(*f, f->Text2[0]);
  scrivi(*f, f->Text2[0], "5000");
  boxes_.answer("No");
  window("quadro_economico")->close();
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], sevrina::domanda_menu_quadro_economico());
  EXPECT_FALSE(form("quadro_economico"));
  EXPECT_EQ(sevrina::leggi_dato("IMPORTO_LAVORI_NETTO_IVA"), "");
}

}  // namespace
