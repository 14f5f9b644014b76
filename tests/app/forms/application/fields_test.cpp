// Field behaviour as a user meets it: Tab order and Enter, automatic
// advance, the date placeholder, focus colours, the modified flag, the
// free-text works items, areas and districts, scrolling.

#include "app/forms/application_common/districts.h"
#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaCampi = ProvaDomanda;

std::vector<std::string> ordine_tab(ModuloDomanda& f) {
  std::vector<std::string> out;
  for (forms::Control* c : f.TabStops()) out.push_back(c->FullName());
  return out;
}

TEST_F(DomandaCampi, TabOrderOfBothVariants) {
  auto atteso = [](bool proprietario) {
    std::vector<std::string> v;
    for (int i = 0; i <= 17; ++i) v.push_back("Text1(" + std::to_string(i) + ")");
    if (proprietario) v.push_back("Combo2");
    for (int i = 18; i <= (proprietario ? 21 : 23); ++i) v.push_back("Text1(" + std::to_string(i) + ")");
    for (int i = 0; i <= 16; ++i) v.push_back("Check3(" + std::to_string(i) + ")");
    // Disabled: Text1(24), Text1(25), the district lists and their boxes, the
    // size bands, the contribution boxes. Of each option group, with none
    // chosen, the first button.
    v.push_back("Option1(0)");
    v.push_back("Option2(0)");
    for (int i = 0; i <= 11; ++i) v.push_back("Check2(" + std::to_string(i) + ")");
    v.push_back("Text1(35)");
    for (std::string b : {"Command1(0)", "Command1(1)", "Command1(2)", "VScroll1", "Command1(3)"}) v.push_back(b);
    return v;
  };
  auto c = apri_condomini();
  EXPECT_EQ(ordine_tab(*c), atteso(false));
  c->Unload();
  auto p = apri_proprietari();
  EXPECT_EQ(ordine_tab(*p), atteso(true));
}

TEST_F(DomandaCampi, EnterMovesOnAndSkipsTheMunicipalityBox) {
  auto c = apri_condomini();
  ui.type(c->Text1[20], "{ENTER}");
  EXPECT_EQ(fuoco(), "Text1(22)");
  ui.type(c->Check3[4], "{ENTER}");
  EXPECT_EQ(fuoco(), "Check3(5)");
  EXPECT_EQ(c->Check3[4].Value(), 0);
  c->Unload();

  auto p = apri_proprietari();
  ui.type(p->Text1[20], "{ENTER}");
  EXPECT_EQ(fuoco(), "Check3(0)");
  ui.type(p->Text1[17], "{ENTER}");
  EXPECT_EQ(fuoco(), "Combo2");
  ui.type("{ENTER}");  // the applicant-type list has no handler of its own
  EXPECT_EQ(fuoco(), "Combo2");
  ui.click(p->Option2[1]);
  ui.type("{ENTER}");  // from the district list: its box, the other areas and the
  EXPECT_EQ(fuoco(), "Check2(0)");  // display fields are no stops
}

TEST_F(DomandaCampi, AFullBoxMovesOnWithTheNextKey) {
  auto f = apri_condomini();
  ui.type(f->Text1[3], "na");
  EXPECT_EQ(f->Text1[3].Text(), "NA");
  EXPECT_EQ(fuoco(), "Text1(3)");
  ui.type("{BS}");  // Backspace never moves on
  EXPECT_EQ(f->Text1[3].Text(), "N");
  ui.type("a");
  ui.type("1");  // refused by the filter, still moves on
  EXPECT_EQ(f->Text1[3].Text(), "NA");
  EXPECT_EQ(fuoco(), "Text1(4)");
  // With the whole text selected the key replaces it and the focus stays.
  ui.focus(f->Text1[6]);
  ui.type("mi");
  ui.select(f->Text1[6], 0, 2);
  ui.type("r");
  EXPECT_EQ(f->Text1[6].Text(), "R");
  EXPECT_EQ(fuoco(), "Text1(6)");
  // Part of it selected: the key replaces the part, and the focus moves on.
  ui.type("m");
  ui.select(f->Text1[6], 1, 1);
  ui.type("a");
  EXPECT_EQ(f->Text1[6].Text(), "RA");
  EXPECT_EQ(fuoco(), "Text1(7)");
  // A text box of 50 characters: the 51st key moves on, the rest goes on.
  ui.type(f->Text1[7], std::string(50, 'x') + "12");
  EXPECT_EQ(f->Text1[7].Text(), std::string(50, 'x'));
  EXPECT_EQ(f->Text1[8].Text(), "2");
  EXPECT_EQ(fuoco(), "Text1(8)");
}

TEST_F(DomandaCampi, TheDatePlaceholderEmptiesOnEnteringAndMarksTheFormModified) {
  struct Caso {
    std::string testo;
    std::string dopo;
    int modificato;
  };
  for (const Caso& c : {Caso{"gg/mm/aaaa", "", 1}, Caso{" GG/MM/AAAA ", "", 1}, Caso{"01/02/2008", "01/02/2008", 0},
                        Caso{"gg/mm/aaa", "gg/mm/aaa", 0}}) {
    SCOPED_TRACE(c.testo);
    scrivi_file({});
    auto f = apri_condomini();
    f->Text1[35].SetText(c.testo);
    f->modificato = 0;
    ui.focus(f->Text1[35]);
    EXPECT_EQ(f->Text1[35].Text(), c.dopo);
    EXPECT_EQ(f->modificato, c.modificato);
    EXPECT_EQ(f->Text1[35].BackColor(), forms::kLightCyan);
    f->Unload();
  }
}

TEST_F(DomandaCampi, FocusColours) {
  auto f = apri_proprietari();
  struct Caso {
    forms::Control* c;
    bool ciano;
  };
  ui.click(f->Option2[0]);  // enables Combo1(0)
  for (Caso c : {Caso{&f->Text1[5], true}, Caso{&f->Combo1[0], true}, Caso{&f->Option1[1], true},
                 Caso{&f->Option2[2], true}, Caso{&f->Check3[2], false}, Caso{&f->Check2[2], false},
                 Caso{f->Combo2(), false}, Caso{&f->Command1[1], false}}) {
    SCOPED_TRACE(c.c->FullName());
    const forms::Color prima = c.c->BackColor();
    ui.focus(*c.c);
    EXPECT_EQ(c.c->BackColor(), c.ciano ? forms::kLightCyan : prima);
    ui.focus(f->Text1[0]);
    EXPECT_EQ(c.c->BackColor(), c.ciano ? forms::kWhite : prima);
  }
}

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

TEST_F(DomandaCampi, TheFreeTextWorksItems) {
  auto f = apri_condomini();
  EXPECT_FALSE(f->Text1[24].Enabled());
  ui.click(f->Check3[11]);
  EXPECT_TRUE(f->Text1[24].Enabled());
  ui.type(f->Text1[24], "Cornicioni");
  ui.click(f->Check3[11]);
  EXPECT_FALSE(f->Text1[24].Enabled());
  EXPECT_EQ(f->Text1[24].Text(), "");
  ui.click(f->Check3[11]);
  EXPECT_TRUE(f->Text1[24].Enabled());
  EXPECT_EQ(f->Text1[24].Text(), "");
  ui.click(f->Check3[16]);
  EXPECT_TRUE(f->Text1[25].Enabled());
  f->Check3[16].SetValue(2);  // grey counts as not ticked
  EXPECT_FALSE(f->Text1[25].Enabled());
  ui.click(f->Check3[10]);
  EXPECT_FALSE(f->Text1[25].Enabled());
}

TEST_F(DomandaCampi, AreasAndDistricts) {
  auto f = apri_condomini();
  ui.click(f->Option2[0]);
  EXPECT_TRUE(f->Combo1[0].Enabled());
  EXPECT_EQ(f->Combo1[0].Items(), std::vector<std::string>(sevrina::domanda::kQuartieriCentrali.begin(),
                                                           sevrina::domanda::kQuartieriCentrali.end()));
  EXPECT_EQ(f->Combo1[0].Text(), "Arenella");
  EXPECT_EQ(f->Text1[26].Text(), "5");
  EXPECT_EQ(f->Text1[21].Text(), "5");
  EXPECT_EQ(f->Text1[27].Text(), "");
  EXPECT_EQ(f->Text1[28].Text(), "");
  EXPECT_FALSE(f->Combo1[1].Enabled());
  EXPECT_FALSE(f->Combo1[2].Enabled());
  EXPECT_EQ(f->Combo1[1].ListCount(), 0);
  EXPECT_EQ(f->Combo1[2].ListCount(), 0);
  EXPECT_EQ(fuoco(), "Combo1(0)");
  ui.choose(f->Combo1[0], "Vomero");
  EXPECT_EQ(f->Text1[21].Text(), "5");

  ui.click(f->Option2[2]);
  EXPECT_EQ(f->Text1[26].Text(), "");
  EXPECT_EQ(f->Combo1[0].ListCount(), 0);
  EXPECT_FALSE(f->Combo1[0].Enabled());
  EXPECT_EQ(f->Combo1[2].Items(), std::vector<std::string>(sevrina::domanda::kQuartieriEsterni.begin(),
                                                           sevrina::domanda::kQuartieriEsterni.end()));
  EXPECT_EQ(f->Text1[28].Text(), "10");
  EXPECT_EQ(f->Text1[21].Text(), "10");
  EXPECT_EQ(fuoco(), "Combo1(2)");

  ui.click(f->Option2[1]);
  EXPECT_EQ(f->Combo1[1].Text(), "Bagnoli");
  EXPECT_EQ(f->Text1[27].Text(), "10");
  EXPECT_EQ(f->Text1[28].Text(), "");
  const std::vector<std::pair<std::string, std::string>> scelte = {
      {"Zona Industriale", "4"}, {"San Giovanni a Teduccio", "6"}, {"Scampia", "8"}, {"Soccavo", "9"}};
  for (const auto& [q, m] : scelte) {
    ui.choose(f->Combo1[1], q);
    EXPECT_EQ(f->Text1[27].Text(), m) << q;
    EXPECT_EQ(f->Text1[21].Text(), m) << q;
  }
  // Typing the first letter moves through the list too.
  ui.type(f->Combo1[1], "p");
  EXPECT_EQ(f->Combo1[1].Text(), "Pianura");
  EXPECT_EQ(f->Text1[27].Text(), "9");
}

TEST_F(DomandaCampi, TheDistrictTableMapsAllThirtyDistricts) {
  using sevrina::domanda::municipalita;
  const std::vector<std::pair<std::string, int>> tabella = {
      {"Chiaia", 1}, {"Posillipo", 1}, {"San Ferdinando", 1}, {"Avvocata", 2}, {"Mercato", 2},
      {"Montecalvario", 2}, {"Pendino", 2}, {"Porto", 2}, {"San Giuseppe", 2}, {"San Carlo all'Arena", 3},
      {"Stella", 3}, {"Poggioreale", 4}, {"San Lorenzo", 4}, {"Vicaria", 4}, {"Zona Industriale", 4},
      {"Arenella", 5}, {"Vomero", 5}, {"Barra", 6}, {"Ponticelli", 6}, {"San Giovanni a Teduccio", 6},
      {"Miano", 7}, {"San Pietro a Patierno", 7}, {"Secondigliano", 7}, {"Chiaiano", 8},
      {"Piscinola-Marianella", 8}, {"Scampia", 8}, {"Pianura", 9}, {"Soccavo", 9}, {"Bagnoli", 10},
      {"Fuorigrotta", 10}};
  for (const auto& [q, m] : tabella) EXPECT_EQ(municipalita(q), m) << q;
  for (std::string q : {"", "chiaia", "Chiaia ", "Vareri"}) EXPECT_EQ(municipalita(q), std::nullopt) << q;
  // Every listed district has its municipality.
  for (auto q : sevrina::domanda::kQuartieriCentrali) EXPECT_TRUE(municipalita(q)) << q;
  for (auto q : sevrina::domanda::kQuartieriEsterni) EXPECT_TRUE(municipalita(q)) << q;
}

TEST_F(DomandaCampi, TheScrollBarMovesThePage) {
  auto f = apri_condomini();
  EXPECT_EQ(f->VScroll1.Min(), 32767);
  EXPECT_EQ(f->VScroll1.Max(), 5400);
  EXPECT_EQ(f->VScroll1.Value(), 32767);
  EXPECT_NEAR(f->Frame2.Top(), -242.7f, 0.01f);
  ui.scroll_to(f->VScroll1, 5400);
  EXPECT_FLOAT_EQ(f->Frame2.Top(), -52240.0f);
  ui.scroll_to(f->VScroll1, 32767);
  EXPECT_NEAR(f->Frame2.Top(), -242.7f, 0.01f);
  EXPECT_EQ(f->Frame2.Top(), static_cast<float>(32767.0L * 57000.0L / 30000.0L - 62500.0L));
  f->VScroll1.SetValue(32667);  // one small step
  EXPECT_NEAR(f->Frame2.Top(), -432.7f, 0.01f);
  // The page never follows the focus.
  ui.focus(f->Text1[35]);
  EXPECT_NEAR(f->Frame2.Top(), -432.7f, 0.01f);
}

TEST_F(DomandaCampi, TheWindowAndItsVariants) {
  auto c = apri_condomini();
  EXPECT_EQ(c->Caption(), "Sevrina condomini");
  EXPECT_EQ(c->Label4.Caption(), "Compilazione Sevrina Condomini");
  EXPECT_EQ(c->Label2[0].Caption().substr(0, 9), "cod. 1.a)");
  EXPECT_EQ(c->Combo2(), nullptr);
  EXPECT_TRUE(c->Text1[22].Visible());
  EXPECT_EQ(c->ScaleWidth(), 11880);
  EXPECT_EQ(c->ScaleHeight(), 8190);
  EXPECT_EQ(c->Label2.Count(), 94);
  EXPECT_EQ(c->Text1.Count(), 36);
  EXPECT_EQ(c->Check3[11].Caption(), "Altro intervento (specificare)");
  EXPECT_EQ(c->Command1[0].Caption(), "&Menu");
  EXPECT_EQ(c->Command1[3].Top(), 7560);
  EXPECT_EQ(c->Label1.Caption(), u8"Progetto Ortesa 3 - Avviso Pubblico del 1° Febbraio 2008"_w1252);
  EXPECT_EQ(c->Label2[26].Caption(), u8"in qualità di amministratore dell'immobile sito in "_w1252);
  EXPECT_EQ(c->Label1.ForeColor(), forms::kRed);
  c->Unload();

  auto p = apri_proprietari();
  EXPECT_EQ(p->Caption(), "Sevrina proprietari");
  EXPECT_EQ(p->Label4.Caption(), "Compilazione Sevrina Proprietari");
  EXPECT_EQ(p->Label2[0].Caption().substr(0, 9), "cod. 1.b)");
  ASSERT_NE(p->Combo2(), nullptr);
  EXPECT_EQ(p->Combo2()->Items(), (std::vector<std::string>{"Unico Proprietario", "Delegato del Proprietario/i"}));
  EXPECT_FALSE(p->Text1[22].Visible());
  EXPECT_FALSE(p->Text1[23].Visible());
  EXPECT_EQ(p->Label2.Count(), 94);
  // The design-time settings of the boxes.
  struct Box {
    int i;
    std::string tag;
    int max;
  };
  for (Box b : {Box{3, "MA", 2}, Box{4, "DATA", 10}, Box{9, "MANI", 50}, Box{14, "NI", 50}, Box{15, "TEL", 50},
                Box{21, "NI", 2}, Box{24, "", 250}, Box{29, "ND2", 50}, Box{35, "DATA", 10}, Box{0, "", 50}}) {
    EXPECT_EQ(p->Text1[b.i].Tag(), b.tag) << b.i;
    EXPECT_EQ(p->Text1[b.i].MaxLength(), b.max) << b.i;
  }
  EXPECT_TRUE(p->Text1[21].Locked());
  for (int i = 26; i <= 34; ++i) EXPECT_FALSE(p->Text1[i].Enabled()) << i;
}

// The fields lie inside their containers and never on top of each other.
TEST_F(DomandaCampi, TheFieldsFitTheirContainersWithoutOverlapping) {
  for (bool proprietario : {false, true}) {
    SCOPED_TRACE(proprietario ? "owner" : "condominium");
    std::shared_ptr<ModuloDomanda> f = apri_variante(proprietario);
    std::vector<forms::Control*> campi;
    for (forms::Control* c : f->Controls()) {
      if (!c->Container() || !c->Visible() || c == &f->Frame2) continue;  // the page scrolls
      forms::Control& box = *c->Container();
      EXPECT_GE(c->Left(), 0) << c->FullName();
      EXPECT_GE(c->Top(), 0) << c->FullName();
      EXPECT_LE(c->Left() + c->Width(), box.Width()) << c->FullName();
      EXPECT_LE(c->Top() + c->Height(), box.Height()) << c->FullName();
      const auto k = c->Kind();
      if (k != forms::ControlKind::Label && k != forms::ControlKind::Frame && k != forms::ControlKind::Shape) {
        campi.push_back(c);
      }
    }
    for (std::size_t i = 0; i < campi.size(); ++i) {
      for (std::size_t j = i + 1; j < campi.size(); ++j) {
        const auto* a = campi[i];
        const auto* b = campi[j];
        if (a->Container() != b->Container()) continue;
        const bool separati = a->Left() + a->Width() <= b->Left() || b->Left() + b->Width() <= a->Left() ||
                              a->Top() + a->Height() <= b->Top() || b->Top() + b->Height() <= a->Top();
        EXPECT_TRUE(separati) << a->FullName() << " and " << b->FullName();
      }
    }
    f->Unload();
  }
}

TEST_F(DomandaCampi, AmountBoxesTakeDecimals) {
  // The contribution boxes are display fields, but their filter is ND2 all the same.
  auto f = apri_condomini();
  f->Text1[29].SetEnabled(true);
  ui.type(f->Text1[29], "12,345");
  EXPECT_EQ(f->Text1[29].Text(), "12,34");
}

}  // namespace
}  // namespace prova
