// A user fills in the condominium application by keyboard and mouse in a
// fresh folder, saves it, reopens it and switches to the owner variant.

#include "app/shell/intro.h"
#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaScenario = ProvaDomanda;

// Everything a user sees of the form's state.
std::vector<std::string> schermata(ModuloDomanda& f) {
  std::vector<std::string> s;
  for (auto& t : f.Text1) {
    s.push_back("Text1(" + std::to_string(t.Index()) + ")=" + t.Text() + (t.Enabled() ? "" : " off"));
  }
  for (auto* a : {&f.Check1, &f.Check2, &f.Check3}) {
    for (auto& c : *a) s.push_back(c.FullName() + "=" + std::to_string(c.Value()));
  }
  for (auto* a : {&f.Option1, &f.Option2, &f.Option3}) {
    for (auto& o : *a) s.push_back(o.FullName() + "=" + (o.Value() ? "1" : "0"));
  }
  for (auto& c : f.Combo1) {
    s.push_back(c.FullName() + "=" + std::to_string(c.ListCount()) + ":" + c.Text() + (c.Enabled() ? "" : " off"));
  }
  if (f.Combo2()) s.push_back("Combo2=" + f.Combo2()->Text());
  return s;
}

TEST_F(DomandaScenario, ACondominiumFilledInByKeyboardIsSavedReopenedAndKeptByTheOwnerVariant) {
  // The real menu: the forms return to it and are opened from it.
  sevrina::register_intro(rt);
  sevrina::mostra_intro(rt);
  auto menu = rt.Find<sevrina::Intro>();
  ASSERT_TRUE(menu);
  ui.click(menu->Option1[0]);
  ui.click(menu->Command1[2]);  // "Prosegui": no data yet, no question
  auto f = rt.Find<sevrina::sevrina_condomini>();
  ui.run_timers();
  ASSERT_TRUE(f);
  EXPECT_EQ(byte_dati(), record("TIPO_RICHIEDENTE", "Amministratore")) << "opening stored the type at once";
  EXPECT_EQ(fuoco(), "Text1(0)");

  // The applicant, as typed: after each run of keys, a box's text and the focus.
  struct Passo {
    const char* tasti;
    int box;
    const char* testo;
    const char* fuoco;
  };
  const Passo passi[] = {
      {"Mario{ENTER}Rossi{ENTER}Vareri{ENTER}na", 3, "NA", "Text1(3)"},
      {"x", 4, "", "Text1(4)"},  // the box is full: the key moves on and is not entered
      {"31012008", 4, "31/01/2008", "Text1(4)"},
      {"{ENTER}Vareri{ENTER}na{ENTER}via Roma{ENTER}12{ENTER}rssmra70a01f839x", 9, "RSSMRA70A01F839X", "Text1(9)"},
      {"{ENTER}Vareri{ENTER}na{ENTER}via Toledo{ENTER}3{ENTER}80100{ENTER}081 555/12{ENTER}{ENTER}"
       "m.rossi@example.it{ENTER}",
       15, "081 555/12", "Text1(18)"},
      {"via Chiaia{ENTER}7{ENTER}80121{ENTER}", 20, "80121", "Text1(22)"},  // over the locked municipality box
      {"15012008{ENTER}20012008{ENTER}", 23, "20/01/2008", "Check3(0)"},
  };
  for (const Passo& p : passi) {
    ui.type(p.tasti);
    EXPECT_EQ(f->Text1[p.box].Text(), p.testo) << p.tasti;
    EXPECT_EQ(fuoco(), p.fuoco) << p.tasti;
  }

  // Works, type of works, area and district, attachments, date.
  ui.click(f->Check3[0]);
  ui.click(f->Check3[11]);
  ui.type(f->Text1[24], "Rifacimento cornicioni");
  ui.click(f->Option1[1]);
  // Areas 1 and 2 share the outer list: each of its districts, in the
  // list's order, puts its municipality in the area's box and Text1(21).
  const std::pair<const char*, const char*> esterni[] = {
      {"Bagnoli", "10"},      {"Barra", "6"},
      {"Chiaiano", "8"},      {"Fuorigrotta", "10"},
      {"Miano", "7"},         {"Pianura", "9"},
      {"Piscinola-Marianella", "8"}, {"Poggioreale", "4"},
      {"Ponticelli", "6"},    {"San Giovanni a Teduccio", "6"},
      {"San Pietro a Patierno", "7"}, {"Scampia", "8"},
      {"Secondigliano", "7"}, {"Soccavo", "9"},
      {"Zona Industriale", "4"}};
  for (int area : {1, 2}) {
    ui.click(f->Option2[area]);
    ASSERT_EQ(f->Combo1[area].ListCount(), 15);
    for (int i = 0; i < 15; ++i) {
      const auto& [quartiere, numero] = esterni[i];
      ASSERT_EQ(f->Combo1[area].List(i), quartiere);
      ui.choose(f->Combo1[area], i);
      EXPECT_EQ(f->Text1[26].Text() + "|" + f->Text1[27].Text() + "|" + f->Text1[28].Text() + "|" +
                    f->Text1[21].Text(),
                std::string(area == 1 ? "|" : "||") + numero + (area == 1 ? "||" : "|") + numero)
          << "area " << area << ": " << quartiere;
    }
  }
  ui.click(f->Option2[0]);
  EXPECT_EQ(fuoco(), "Combo1(0)");
  // The district and both municipality boxes follow the area, then the district.
  auto distretto = [&] { return f->Combo1[0].Text() + " " + f->Text1[26].Text() + " " + f->Text1[21].Text(); };
  EXPECT_EQ(distretto(), "Arenella 5 5");
  ui.choose(f->Combo1[0], "Chiaia");
  EXPECT_EQ(distretto(), "Chiaia 1 1");
  ui.click(f->Check2[0]);
  ui.click(f->Check2[11]);
  ui.type(f->Text1[35], "01022008");

  ui.click(f->Command1[1]);  // "Salva": silent
  const std::string primo = byte_dati();
  ASSERT_EQ(primo.size(), 80u * 510u);
  for (const auto& [chiave, atteso] : std::vector<std::pair<std::string, std::string>>{
           {"NOME_RICHIEDENTE", "Mario"}, {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
           {"DATA_NASCITA_RICHIEDENTE", "20080131"}, {"DATA", "20080201"}, {"MUNICIPALITA_CONDOMINIO", "1"},
           {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080115"}, {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
           {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", "Rifacimento cornicioni"}, {"MANUTENZIONE_ORDINARIA_SI_NO", "N"},
           {"QUARTIERE_CENTRO_STORICO_URBANO", "Chiaia"}, {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", "S"}}) {
    EXPECT_EQ(valore(chiave), atteso) << chiave;
  }
  // A second save rewrites the same records in place.
  ui.click(f->Command1[1]);
  EXPECT_EQ(byte_dati(), primo);

  // "Menu" asks, since the form was edited (saving keeps the flag).
  const auto prima = schermata(*f);
  attendi_domanda_menu(forms::MsgResult::No);
  ui.click(f->Command1[0]);
  EXPECT_EQ(rt.Find<sevrina::sevrina_condomini>(), nullptr);
  menu = rt.Find<sevrina::Intro>();
  ASSERT_TRUE(menu);

  // Reopened: the same screen, and "Menu" without a question. The
  // contribution boxes, which only the cost table fills, show a stored
  // empty amount as 0,00.
  ui.click(menu->Option1[0]);
  ui.click(menu->Command1[2]);  // the stored type is the condominium's: no question
  auto g = rt.Find<sevrina::sevrina_condomini>();
  ASSERT_TRUE(g);
  ui.run_timers();
  auto attesa = prima;
  for (int i = 29; i <= 34; ++i) attesa[i] = "Text1(" + std::to_string(i) + ")=0,00 off";
  EXPECT_EQ(schermata(*g), attesa);
  EXPECT_EQ(g->modificato, 0);
  EXPECT_EQ(byte_dati(), primo);
  ui.click(g->Command1[0]);
  menu = rt.Find<sevrina::Intro>();
  ASSERT_TRUE(menu);

  // The owner variant, after the menu's question, keeps every stored value
  // and records its own type.
  ui.click(menu->Option1[1]);
  ui.expect_box(cp1252::from_utf8("La sevrina già è stata creata per un condominio, sei sicuro di volerla "
                                  "modificare con una per un proprietario (o Delegato del Proprietario/i) ?"),
                forms::MsgResult::Yes);
  ui.click(menu->Command1[2]);
  auto p = rt.Find<sevrina::sevrina_proprietari>();
  ASSERT_TRUE(p);
  ui.run_timers();
  // The deliberation date is loaded into its hidden box.
  EXPECT_EQ(p->Combo2()->Text() + "|" + p->Text1[0].Text() + "|" + p->Text1[4].Text() + "|" + p->Combo1[0].Text() +
                "|" + p->Text1[22].Text(),
            "Unico Proprietario|Mario|31/01/2008|Chiaia|15/01/2008");
  EXPECT_FALSE(p->Text1[22].Visible());
  std::string atteso = primo;
  atteso.replace(0, 510, record("TIPO_RICHIEDENTE", "Unico Proprietario"));
  EXPECT_EQ(byte_dati(), atteso);

  // Saved as an owner: the deliberation dates become "no date".
  ui.click(p->Command1[1]);
  EXPECT_EQ(valore("DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE"), "0");
  EXPECT_EQ(valore("DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI"), "0");
}

}  // namespace
}  // namespace prova
