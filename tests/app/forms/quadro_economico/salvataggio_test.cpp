// Saving the cost table: opening it again rebuilds every computed field; a
// refused save keeps the form and the close box asks first; the Enter order.

#include "app/forms/application_common/keys.h"
#include "app/forms/quadro_economico/chiavi.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "tests/app/forms/quadro_economico/quadro_support.h"

namespace prova {
namespace {

using QuadroSalvataggio = ProvaQuadro;
using sevrina::quadro_economico;

const std::string kDataErrata = u8"La Data del quadro economico è errata!"_w1252;

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
  // The stored type is found in the list whatever its letter case and blanks.
  scrivi_file({{"TIPO_RICHIEDENTE", "amministratore "},
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
  // The window is centred by its outer size, borders and title bar included.
  EXPECT_EQ(f->Left(), (rt.ScreenWidth() - f->ScaleWidth() - 2 * rt.FrameBorder()) / 2);
  EXPECT_EQ(f->Top(), (rt.ScreenHeight() - f->ScaleHeight() - rt.TitleBarHeight() - 2 * rt.FrameBorder()) / 2);
  come_un_passaggio(*f);
  EXPECT_EQ(f->Text1[0].Text(), "Mario");
  EXPECT_EQ(f->Text1[4].Text(), "01/01/1970");
  EXPECT_EQ(f->Text1[22].Text(), "15/03/2009");
  EXPECT_EQ(f->Combo2.Text(), "Amministratore");
  EXPECT_EQ(f->Label2[0].Caption(), "LAVORI DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO ");
  EXPECT_EQ(f->Label2[1].Caption(), "SITO IN VARERI A VIA ROMA N. 12");
  EXPECT_EQ(f->Text8[12].Text(), "54.584,00");
}

// A refused save after Yes to the "Menu" question keeps the form and its
// edits; the close box asks the same.
TEST_F(QuadroSalvataggio, RefusedSaveKeepsTheFormOpenAndTheCloseBoxAsks) {
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text2[0], "1000");
  ui.type(f->Text1[22], "31022009");
  // Yes, and the save is refused: the form stays with the edits.
  attendi_domanda_menu(forms::MsgResult::Yes);
  attendi_messaggio(kDataErrata);
  ui.click(f->Command1[0]);
  EXPECT_EQ(rt.Find<quadro_economico>(), f);
  EXPECT_EQ(menu_mostrato, 0);
  EXPECT_EQ(f->Text2[0].Text(), "1000");
  // The close box asks the same; a refused save keeps the window.
  attendi_domanda_menu(forms::MsgResult::Yes);
  attendi_messaggio(kDataErrata);
  ui.close(*f);
  EXPECT_EQ(rt.Find<quadro_economico>(), f);
  // Corrected: Yes saves and returns to the menu.
  ui.type(f->Text1[22], "{BS}{BS}{BS}{BS}{BS}{BS}{BS}{BS}{BS}{BS}28022009");
  EXPECT_EQ(f->Text1[22].Text(), "28/02/2009");
  attendi_domanda_menu(forms::MsgResult::Yes);
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 1);
  EXPECT_EQ(rt.Find<quadro_economico>(), nullptr);
  EXPECT_EQ(valore("IMPORTO_LAVORI_NETTO_IVA"), "1000");
  EXPECT_EQ(valore("DATA_QUADRO_ECONOMICO"), "20090228");
}

// A paste is typed character by character through the box's filter: what
// the filter refuses is left out, and the length limit holds. Every total
// follows what is left.
TEST_F(QuadroSalvataggio, APasteGoesThroughTheFilterOfItsBox) {
  auto f = apri();
  ASSERT_TRUE(f);
  struct Caso {
    forms::TextBox* casella;
    const char* prima;
    const char* incollato;
    const char* dopo;
  };
  const Caso casi[] = {
      {&f->Text2[0], "100000", "Via Toledo", "100000"},    // an amount takes no letters
      {&f->Text2[1], "", "5000,507", "5000,50"},           // two decimals
      {&f->Text2[2], "", "2000\r\n9999", "2000"},          // the first line only
      {&f->Text1[22], "", "31012008 e altro", "31/01/2008"},  // a date: its slashes, ten characters
  };
  for (const Caso& c : casi) {
    ui.type(*c.casella, c.prima);
    EXPECT_TRUE(ui.paste(*c.casella, c.incollato));
    EXPECT_EQ(c.casella->Text(), c.dopo) << c.casella->FullName();
  }
  come_un_passaggio(*f);
  EXPECT_EQ(f->Text2[3].Text(), "107.000,50");
  // A locked box takes no paste.
  const std::string cognome = f->Text1[3].Text();
  EXPECT_FALSE(ui.paste(f->Text1[3], "ROSSI"));
  EXPECT_EQ(f->Text1[3].Text(), cognome);
}

// A "Menu" question closed without an answer (Escape, its close button)
// answers nothing: the form stays open with its edits, for "Menu" and for
// the window's close box alike.
TEST_F(QuadroSalvataggio, ADismissedMenuQuestionKeepsTheFormAndItsEdits) {
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text2[0], "1000");
  attendi_domanda_menu(forms::MsgResult::Cancel);
  ui.click(f->Command1[0]);
  attendi_domanda_menu(forms::MsgResult::Cancel);
  ui.close(*f);
  EXPECT_EQ(rt.Find<quadro_economico>(), f);
  EXPECT_FALSE(rt.ProgramOver());
  EXPECT_EQ(menu_mostrato, 0);
  EXPECT_EQ(f->Text2[0].Text(), "1000");
  EXPECT_EQ(f->modificato, 1);
  EXPECT_FALSE(fs::exists(file_dati()) && valore("IMPORTO_LAVORI_NETTO_IVA") == "1000");
  // No still leaves without saving.
  attendi_domanda_menu(forms::MsgResult::No);
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 1);
}

TEST_F(QuadroSalvataggio, EnterOrder) {
  auto f = apri();
  ASSERT_TRUE(f);
  struct Caso {
    forms::TextBox* da;
    std::string a;
  };
  const std::vector<Caso> casi = {
      {&f->Text2[0], "Text2(1)"},  {&f->Text2[2], "Text5(0)"},  {&f->Text2[3], "Text5(0)"},
      {&f->Text3[0], "Text2(1)"},  {&f->Text3[1], "Text2(2)"},  {&f->Text3[3], "Text5(0)"},
      {&f->Text4[0], "Text2(1)"},  {&f->Text4[2], "Text5(0)"},  {&f->Text5[5], "Text5(6)"},
      {&f->Text5[6], "Text7(0)"},  {&f->Text5[7], "Text7(0)"},  {&f->Text6[0], "Text6(1)"},
      {&f->Text6[6], "Text7(0)"},  {&f->Text7[2], "Text7(3)"},  {&f->Text7[3], "Check1(0)"},
      {&f->Text8[0], "Text8(1)"},  {&f->Text8[3], "Check1(0)"}, {&f->Text8[5], "Check1(0)"},
      {&f->Text8[6], "Text8(7)"},  {&f->Text8[7], "Option1(0)"}, {&f->Text8[8], "Text8(9)"},
      {&f->Text8[13], "Command1(0)"}, {&f->Text1[0], "Text1(1)"}, {&f->Text1[17], "Text4(1)"},
      {&f->Text1[21], "Text2(0)"},
  };
  for (const Caso& c : casi) {
    ui.type(*c.da, "{ENTER}");
    EXPECT_EQ(fuoco(), c.a) << c.da->FullName();
  }
  // Enter selects the target's whole text.
  f->Text2[1].SetText("5000");
  ui.type(f->Text2[0], "{ENTER}");
  EXPECT_EQ(f->Text2[1].SelLength(), 4);
}

// One notch of the wheel turns the sheet by a fifth of the viewport, through
// the scroll bar, and back; the focus stays where it was.
TEST_F(QuadroSalvataggio, AWheelNotchTurnsAFifthOfTheViewport) {
  auto f = apri();
  ASSERT_TRUE(f);
  verifica_rotella(rt, *f);
}

}  // namespace
}  // namespace prova
