// A user fills in the condominium application by keyboard and mouse in a
// fresh folder, saves it, reopens it and switches to the owner variant.

#include "app/shell/intro.h"
#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaScenario = ProvaDomanda;

using sevrina::domanda::kChiavi;

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
  EXPECT_FALSE(menu->Loaded());
  auto f = rt.Find<sevrina::sevrina_condomini>();
  ui.run_timers();
  ASSERT_TRUE(f);
  // Opening stored the applicant type at once.
  ASSERT_EQ(record_dati().size(), 1u);
  EXPECT_EQ(record_dati()[0].chiave, "TIPO_RICHIEDENTE");
  EXPECT_EQ(record_dati()[0].valore, "Amministratore");
  EXPECT_EQ(fuoco(), "Text1(0)");
  EXPECT_EQ(f->Text1[0].BackColor(), forms::kLightCyan);

  // The applicant, as typed.
  ui.type("Mario{ENTER}Rossi{ENTER}Vareri{ENTER}");
  EXPECT_EQ(fuoco(), "Text1(3)");
  ui.type("na");
  EXPECT_EQ(f->Text1[3].Text(), "NA");
  EXPECT_EQ(fuoco(), "Text1(3)");
  ui.type("x");  // the box is full: the key moves on and is not entered
  EXPECT_EQ(f->Text1[3].Text(), "NA");
  EXPECT_EQ(fuoco(), "Text1(4)");
  EXPECT_EQ(f->Text1[4].Text(), "");  // the placeholder went on entering
  ui.type("31012008");
  EXPECT_EQ(f->Text1[4].Text(), "31/01/2008");
  ui.type("{ENTER}Vareri{ENTER}na{ENTER}via Roma{ENTER}12{ENTER}rssmra70a01f839x{ENTER}");
  EXPECT_EQ(f->Text1[6].Text(), "NA");
  EXPECT_EQ(f->Text1[9].Text(), "RSSMRA70A01F839X");
  ui.type("Vareri{ENTER}na{ENTER}via Toledo{ENTER}3{ENTER}80100{ENTER}081 555/12{ENTER}{ENTER}"
          "m.rossi@example.it{ENTER}");
  EXPECT_EQ(f->Text1[15].Text(), "081 555/12");
  EXPECT_EQ(fuoco(), "Text1(18)");
  ui.type("via Chiaia{ENTER}7{ENTER}80121{ENTER}");
  // Enter from the postal code passes over the locked municipality box.
  EXPECT_EQ(fuoco(), "Text1(22)");
  ui.type("15012008{ENTER}");
  EXPECT_EQ(fuoco(), "Text1(23)");
  ui.type("20012008{ENTER}");
  EXPECT_EQ(fuoco(), "Check3(0)");

  // Works, type of works, area and district, attachments, date.
  ui.click(f->Check3[0]);
  ui.click(f->Check3[11]);
  EXPECT_TRUE(f->Text1[24].Enabled());
  ui.type(f->Text1[24], "Rifacimento cornicioni");
  ui.click(f->Option1[1]);
  ui.click(f->Option2[0]);
  EXPECT_EQ(fuoco(), "Combo1(0)");
  EXPECT_EQ(f->Combo1[0].Text(), "Arenella");
  EXPECT_EQ(f->Text1[26].Text(), "5");
  EXPECT_EQ(f->Text1[21].Text(), "5");
  ui.choose(f->Combo1[0], "Chiaia");
  EXPECT_EQ(f->Text1[26].Text(), "1");
  EXPECT_EQ(f->Text1[21].Text(), "1");
  ui.click(f->Check2[0]);
  ui.click(f->Check2[11]);
  ui.type(f->Text1[35], "01022008");
  EXPECT_EQ(f->Text1[35].Text(), "01/02/2008");

  ui.click(f->Command1[1]);  // "Salva": silent
  const std::string primo = byte_dati();
  ASSERT_EQ(primo.size(), 80u * 510u);
  const auto rec = record_dati();
  for (std::size_t i = 0; i < kChiavi.size(); ++i) {
    EXPECT_EQ(rec[i].chiave, kChiavi[i].chiave) << i;
  }
  for (const auto& [chiave, atteso] : std::vector<std::pair<std::string, std::string>>{
           {"TIPO_RICHIEDENTE", "Amministratore"}, {"NOME_RICHIEDENTE", "Mario"},
           {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"}, {"DATA_NASCITA_RICHIEDENTE", "20080131"},
           {"MUNICIPALITA_CONDOMINIO", "1"}, {"DATA", "20080201"},
           {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080115"},
           {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080120"}, {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
           {"LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", "N"},
           {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", "Rifacimento cornicioni"},
           {"MANUTENZIONE_STRAORDINARIA_SI_NO", "S"}, {"MANUTENZIONE_ORDINARIA_SI_NO", "N"},
           {"CENTRO_STORICO_URBANO_SI_NO", "S"}, {"QUARTIERE_CENTRO_STORICO_URBANO", "Chiaia"},
           {"MUNICIPALITA_CENTRO_STORICO_URBANO", "1"}, {"QUARTIERE_QUARTIERE_PERIFERICO", ""},
           {"IMPORTO_CONTRIBUTO_BASE", ""}, {"DELIBERA_ASSEMBLEARE_SI_NO", "S"},
           {"COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO", "S"}}) {
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
  EXPECT_EQ(byte_dati(), primo);
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
  ui.expect_box({cp1252::from_utf8("La sevrina già è stata creata per un condominio, sei sicuro di volerla "
                                   "modificare con una per un proprietario (o Delegato del Proprietario/i) ?"),
                 forms::MsgResult::Yes, std::string("Sovrascrivere"), forms::MsgButtons::YesNo, forms::MsgIcon::None});
  ui.click(menu->Command1[2]);
  auto p = rt.Find<sevrina::sevrina_proprietari>();
  ASSERT_TRUE(p);
  ui.run_timers();
  EXPECT_EQ(p->Combo2()->Text(), "Unico Proprietario");
  EXPECT_EQ(p->Text1[0].Text(), "Mario");
  EXPECT_EQ(p->Text1[4].Text(), "31/01/2008");
  EXPECT_EQ(p->Combo1[0].Text(), "Chiaia");
  EXPECT_EQ(p->Text1[22].Text(), "15/01/2008");  // loaded into the hidden box
  EXPECT_FALSE(p->Text1[22].Visible());
  std::string atteso = primo;
  atteso.replace(0, 510, record("TIPO_RICHIEDENTE", "Unico Proprietario"));
  EXPECT_EQ(byte_dati(), atteso);

  // Saved as an owner: the deliberation dates become "no date".
  ui.click(p->Command1[1]);
  EXPECT_EQ(record_dati().size(), 80u);
  EXPECT_EQ(*valore("DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE"), "0");
  EXPECT_EQ(*valore("DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI"), "0");
  EXPECT_EQ(*valore("NOME_RICHIEDENTE"), "Mario");
}

}  // namespace
}  // namespace prova
