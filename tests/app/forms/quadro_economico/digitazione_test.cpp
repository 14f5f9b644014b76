// The cost table typed by a user, key by key through the headless driver:
// the worked cases with every computed field's text after each entry, the
// cascade of change events ending where one plain pass ends, the Enter
// order, focus colours, the modified flag and the "Menu" question.

#include <random>

#include "tests/app/forms/quadro_economico/quadro_support.h"

namespace prova {
namespace {

using QuadroDigitazione = ProvaQuadro;
using sevrina::quadro_economico;

std::vector<std::pair<std::string, std::string>> calcolati(const quadro_economico& f) {
  return campi_calcolo(FoglioDelModulo(f));
}

std::string testo_di(const quadro_economico& f, const std::string& nome) {
  for (const auto& [n, t] : calcolati(f)) {
    if (n == nome) return t;
  }
  ADD_FAILURE() << "no field " << nome;
  return {};
}

void controlla(const quadro_economico& f, const std::vector<std::pair<std::string, std::string>>& attesi) {
  for (const auto& [nome, testo] : attesi) EXPECT_EQ(testo_di(f, nome), testo) << nome;
}

TEST_F(QuadroDigitazione, TypicalCaseTypedKeyByKey) {
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(fuoco(), "Text1(0)");
  EXPECT_EQ(f->Text1[0].BackColor(), forms::kLightCyan);
  EXPECT_EQ(f->modificato, 0);
  // With no stored inputs only the default band and booklet raised events:
  // the contribution is computed, the rows above it are still blank.
  controlla(*f, {{"Text2(3)", ""}, {"Text5(7)", ""}, {"Text8(4)", ""}, {"Text8(6)", "0,00"},
                 {"Text8(12)", "0,00"}, {"Text8(13)", "0,00"}});
  EXPECT_TRUE(f->Option1[0].Value());
  EXPECT_TRUE(f->Option2[1].Value());

  // The first digit already recomputes everything.
  ui.type(f->Text2[0], "1");
  EXPECT_EQ(f->modificato, 1);
  controlla(*f, {{"Text2(3)", "1,00"}, {"Text4(0)", "1,10"}, {"Text3(0)", "0,10"}, {"Text8(4)", "1,10"},
                 {"Text5(7)", "Verificare gli importi"}});
  come_un_passaggio(*f);

  ui.type("00000{ENTER}");
  EXPECT_EQ(fuoco(), "Text2(1)");
  ui.type("5000{ENTER}2000{ENTER}");
  EXPECT_EQ(fuoco(), "Text5(0)");
  controlla(*f, {{"Text2(3)", "107.000,00"},
                 {"Text4(0)", "110.000,00"},
                 {"Text4(1)", "5.500,00"},
                 {"Text4(2)", "2.400,00"},
                 {"Text4(3)", "117.900,00"},
                 {"Text3(0)", "10.000,00"},
                 {"Text3(1)", "500,00"},
                 {"Text3(2)", "400,00"},
                 {"Text3(3)", "10.900,00"}});
  come_un_passaggio(*f);

  ui.type("10000{ENTER}20000{ENTER}30000{ENTER}40000{ENTER}");
  EXPECT_EQ(testo_di(*f, "Text5(7)"), "Verificare gli importi");
  come_un_passaggio(*f);
  ui.type("7000{ENTER}{ENTER}{ENTER}");
  EXPECT_EQ(fuoco(), "Text7(0)");
  controlla(*f, {{"Text5(7)", "107.000,00"},
                 {"Text6(0)", "9,35"},
                 {"Text6(1)", "18,69"},
                 {"Text6(2)", "28,04"},
                 {"Text6(3)", "37,38"},
                 {"Text6(4)", "6,54"},
                 {"Text6(5)", "0,00"},
                 {"Text6(6)", "0,00"}});

  ui.type("5000{ENTER}10000{ENTER}4280{ENTER}{ENTER}");
  EXPECT_EQ(fuoco(), "Check1(0)");
  controlla(*f, {{"Text8(0)", "4.280,00"},
                 {"Text8(1)", "10.000,00"},
                 {"Text8(2)", "4.280,00"},
                 {"Text8(3)", "0,00"},
                 {"Text8(4)", "136.460,00"},
                 {"Text8(8)", "136.460,00"},
                 {"Text8(5)", "40.938,00"},
                 {"Text8(9)", "40.938,00"},
                 {"Text8(6)", "0,00"},
                 {"Text8(12)", "40.938,00"},
                 {"Text8(13)", "30,00"}});
  come_un_passaggio(*f);

  // Criteria A and B by the space bar, then the booklet by mouse.
  ui.type(" {TAB} ");
  EXPECT_EQ(f->Check1[0].Value(), 1);
  EXPECT_EQ(f->Check1[1].Value(), 1);
  controlla(*f, {{"Text8(6)", "7,00"}, {"Text8(7)", "9.552,20"}, {"Text8(10)", "9.552,20"}});
  ui.click(f->Option2[0]);
  controlla(*f, {{"Text8(0)", "4.280,00"},  {"Text8(1)", "10.000,00"}, {"Text8(2)", "4.280,00"},
                 {"Text8(3)", "0,00"},      {"Text8(4)", "136.460,00"}, {"Text8(5)", "40.938,00"},
                 {"Text8(6)", "7,00"},      {"Text8(7)", "9.552,20"},  {"Text8(8)", "136.460,00"},
                 {"Text8(9)", "40.938,00"}, {"Text8(10)", "9.552,20"}, {"Text8(11)", "4.093,80"},
                 {"Text8(12)", "54.584,00"}, {"Text8(13)", "40,00"}});
  come_un_passaggio(*f);

  // Backspace down to 0 on a category brings the check back.
  ui.type(f->Text5[4], "{END}{BS}");
  EXPECT_EQ(testo_di(*f, "Text5(7)"), "Verificare gli importi");
  EXPECT_EQ(testo_di(*f, "Text6(0)"), "0");
  come_un_passaggio(*f);
}

TEST_F(QuadroDigitazione, LimitsCaseTypedInBothBands) {
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text2[0], "400000{ENTER}20000{ENTER}10000{ENTER}430000");
  ui.type(f->Text7[0], "20000{ENTER}60000{ENTER}{ENTER}50000");
  ui.click(f->Check1[0]);
  ui.click(f->Option1[1]);
  ui.click(f->Option2[0]);
  controlla(*f, {{"Text5(7)", "430.000,00"}, {"Text6(0)", "100,00"},    {"Text8(0)", "17.200,00"},
                 {"Text8(1)", "51.600,00"},  {"Text8(2)", "0,00"},      {"Text8(3)", "37.920,00"},
                 {"Text8(4)", "580.720,00"}, {"Text8(5)", "150.000,00"}, {"Text8(9)", "150.000,00"},
                 {"Text8(6)", "5,00"},       {"Text8(7)", "29.036,00"}, {"Text8(11)", "10.000,00"},
                 {"Text8(12)", "160.000,00"}, {"Text8(13)", "27,55"}});
  come_un_passaggio(*f);
  ui.click(f->Option1[0]);
  controlla(*f, {{"Text8(5)", "120.000,00"}, {"Text8(9)", "120.000,00"}, {"Text8(12)", "130.000,00"},
                 {"Text8(13)", "22,39"}});
  come_un_passaggio(*f);
  // Without the booklet the accessory is 0,00 and nothing is added.
  ui.click(f->Option2[1]);
  controlla(*f, {{"Text8(11)", "0,00"}, {"Text8(12)", "120.000,00"}});
}

TEST_F(QuadroDigitazione, ExactHalvesTypedRoundToEven) {
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text2[0], "800{ENTER}{ENTER}{ENTER}1{ENTER}3{ENTER}796");
  controlla(*f, {{"Text5(7)", "800,00"}, {"Text6(0)", "0,12"}, {"Text6(1)", "0,38"}, {"Text6(2)", "99,50"}});
  // A premium of 5 % on intervention totals of 2,50 and 7,50.
  ui.type(f->Text2[0], "{END}{BS}{BS}{BS}2,27");
  ui.click(f->Check1[0]);
  controlla(*f, {{"Text8(4)", "2,50"}, {"Text8(7)", "0,12"}, {"Text8(10)", "0,12"}});
  ui.type(f->Text2[0], "{END}{BS}{BS}{BS}{BS}6,82");
  controlla(*f, {{"Text8(4)", "7,50"}, {"Text8(7)", "0,38"}, {"Text8(10)", "0,38"}});
  come_un_passaggio(*f);
}

TEST_F(QuadroDigitazione, CascadeEndsWhereOnePassEnds) {
  auto f = apri();
  ASSERT_TRUE(f);
  std::mt19937 caso(20080201);
  auto importo = [&] {
    std::uniform_int_distribution<int> tipo(0, 5);
    std::uniform_int_distribution<int> euro(0, 900000);
    std::uniform_int_distribution<int> centesimi(0, 99);
    switch (tipo(caso)) {
      case 0:
        return std::string();
      case 1:
        return std::to_string(euro(caso) % 1000);
      case 2:
        return std::to_string(euro(caso)) + "," + std::to_string(centesimi(caso));
      default:
        return std::to_string(euro(caso));
    }
  };
  std::uniform_int_distribution<int> azione(0, 5);
  for (int passo = 0; passo < 300; ++passo) {
    switch (azione(caso)) {
      case 0:
        f->Text2[std::uniform_int_distribution<int>(0, 2)(caso)].SetText(importo());
        break;
      case 1:
        f->Text5[std::uniform_int_distribution<int>(0, 6)(caso)].SetText(importo());
        break;
      case 2:
        f->Text7[std::uniform_int_distribution<int>(0, 3)(caso)].SetText(importo());
        break;
      case 3: {
        auto& c = f->Check1[std::uniform_int_distribution<int>(0, 5)(caso)];
        c.SetValue(c.Value() == 1 ? 0 : 1);
        break;
      }
      case 4:
        f->Option1[std::uniform_int_distribution<int>(0, 1)(caso)].SetValue(true);
        break;
      default:
        f->Option2[std::uniform_int_distribution<int>(0, 1)(caso)].SetValue(true);
        break;
    }
    come_un_passaggio(*f);
    if (HasFailure()) {
      ADD_FAILURE() << "at step " << passo;
      return;
    }
  }
}

TEST_F(QuadroDigitazione, EnterOrder) {
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

TEST_F(QuadroDigitazione, FocusColoursAndAutoAdvance) {
  auto f = apri();
  ASSERT_TRUE(f);
  for (forms::TextBox* t : {&f->Text2[0], &f->Text5[3], &f->Text7[3]}) {
    EXPECT_EQ(t->BackColor(), forms::kYellow);
    ui.focus(*t);
    EXPECT_EQ(t->BackColor(), forms::kLightCyan);
    ui.focus(f->Text1[0]);
    EXPECT_EQ(t->BackColor(), forms::kYellow);
  }
  for (forms::TextBox* t : {&f->Text2[3], &f->Text5[7], &f->Text8[4]}) {
    ui.focus(*t);
    EXPECT_EQ(t->BackColor(), forms::kWhite) << t->FullName();
  }
  ui.focus(f->Check1[2]);
  EXPECT_EQ(f->Check1[2].BackColor(), forms::kLightCyan);
  ui.focus(f->Text1[0]);
  EXPECT_EQ(f->Check1[2].BackColor(), forms::kWhite);

  // A computed field takes no typed key; an amount field never moves on.
  ui.type(f->Text8[6], "9");
  EXPECT_EQ(f->Text8[6].Text(), "0,00");
  ui.type(f->Text2[0], "123456789012");
  EXPECT_EQ(fuoco(), "Text2(0)");
  EXPECT_EQ(f->Text2[0].Text(), "123456789012");
  // "." becomes the decimal comma; a third decimal is refused.
  f->Text2[0].SetText("");
  ui.type(f->Text2[0], "12.345");
  EXPECT_EQ(f->Text2[0].Text(), "12,34");

  // Typing into the category sum runs the check, which writes over it.
  f->Text2[0].SetText("");
  ui.type(f->Text5[7], "9");
  EXPECT_EQ(f->Text5[7].Text(), "0,00");
  f->Text5[0].SetText("5");
  ui.type(f->Text5[7], "9");
  EXPECT_EQ(f->Text5[7].Text(), "Verificare gli importi");

  // A full locked field moves on at the next key.
  f->Text1[3].SetText("NA");
  ui.type(f->Text1[3], "{END}x");
  EXPECT_EQ(fuoco(), "Text1(4)");
  EXPECT_EQ(f->Text1[3].Text(), "NA");
}

TEST_F(QuadroDigitazione, ModifiedFlagAndMenuQuestion) {
  {
    auto f = apri();
    ASSERT_TRUE(f);
    // Untouched: no question.
    ui.click(f->Command1[0]);
    EXPECT_EQ(menu_mostrato, 1);
    EXPECT_EQ(rt.Find<quadro_economico>(), nullptr);
  }
  {
    auto f = apri();
    // Entering the date field clears its placeholder: an edit.
    ui.focus(f->Text1[22]);
    EXPECT_EQ(f->Text1[22].Text(), "");
    EXPECT_EQ(f->modificato, 1);
    attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
    EXPECT_EQ(menu_mostrato, 2);
    EXPECT_FALSE(fs::exists(file_dati()) && valore("DATA_QUADRO_ECONOMICO").has_value());
  }
  {
    // The computed totals changing never count as an edit of their own;
    // a premium box does.
    auto f = apri();
    ui.click(f->Check1[3]);
    EXPECT_EQ(f->modificato, 1);
    f->modificato = 0;
    f->Text8[4].SetText("1,00");
    EXPECT_EQ(f->modificato, 0);
  }
}

TEST_F(QuadroDigitazione, ScrollBarMovesTheSheet) {
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->VScroll1.Min(), 32767);
  EXPECT_EQ(f->VScroll1.Max(), 5400);
  ui.scroll_to(f->VScroll1, 5400);
  EXPECT_NEAR(f->Frame2.Top(), -51740.0f, 0.5f);
  ui.scroll_to(f->VScroll1, 32767);
  EXPECT_NEAR(f->Frame2.Top(), 257.3f, 0.5f);
}

}  // namespace
}  // namespace prova
