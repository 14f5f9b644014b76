// Checks and saving: every check in its order with its message, what is
// stored, and the mends around saving (a refused save keeps the form open,
// the close box asks before dropping edits, unconvertible dates refused).

#include <functional>

#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaSalvataggio = ProvaDomanda;

const std::string kAltroIntervento = "Specificare Altro intervento nella sezione B della sevrina!";
const std::string kAltriImpianti = "Specificare Altri impianti nella sezione B della sevrina!";
const std::string kNascita = u8"La Data di nascita del richiedente è errata!"_w1252;
const std::string kAutorizzazione = u8"La Data della delibera condominiale per l'autorizzazione è errata !"_w1252;
const std::string kEsecuzione = u8"La Data della delibera condominiale per l'esecuzione è errata !"_w1252;
const std::string kDocumento = u8"La Data del documento è errata!"_w1252;
const std::string kAutorizzazioneSuccessiva =
    u8"La Data della delibera condominiale per l'autorizzazione dei lavori non può essere successiva a "
    u8"quella della sevrina !"_w1252;
const std::string kEsecuzioneSuccessiva =
    u8"La Data della delibera condominiale per l'esecuzione dei lavori non può essere successiva a quella "
    u8"della sevrina !"_w1252;

using Impostazione = std::function<void(ModuloDomanda&)>;

Impostazione testo(int i, std::string t) {
  return [i, t](ModuloDomanda& f) { f.Text1[i].SetText(t); };
}
Impostazione spunta(int i) {
  return [i](ModuloDomanda& f) { f.Check3[i].SetValue(1); };
}

struct Caso {
  const char* nome;
  bool proprietario;
  std::vector<Impostazione> impostazioni;
  std::string messaggio;  // "" = the save passes
  std::string fuoco;      // where a failure puts the focus ("" = not moved)
};

TEST_F(DomandaSalvataggio, EachCheckInItsOrderWithItsMessage) {
  const std::vector<Caso> casi = {
      {"altro intervento blank", false, {spunta(11), testo(24, "   ")}, kAltroIntervento, "Text1(24)"},
      {"both free texts missing", false, {spunta(11), spunta(16)}, kAltroIntervento, "Text1(24)"},
      {"altri impianti missing", false, {spunta(16)}, kAltriImpianti, "Text1(25)"},
      {"altri impianti not ticked", false, {}, "", ""},
      {"birth 31/02/2008", false, {testo(4, "31/02/2008")}, kNascita, ""},
      {"birth month 13", false, {testo(4, "01/13/2008")}, kNascita, ""},
      {"birth 29/02/2008 is valid", false, {testo(4, "29/02/2008")}, "", ""},
      {"authorisation invalid", false, {testo(22, "30/02/2008")}, kAutorizzazione, ""},
      {"works invalid", false, {testo(23, "32/01/2008")}, kEsecuzione, ""},
      {"document invalid", false, {testo(35, "29/02/2007")}, kDocumento, ""},
      {"authorisation after document", false, {testo(22, "02/02/2008"), testo(35, "01/02/2008")},
       kAutorizzazioneSuccessiva, ""},
      {"works after document", false, {testo(23, "02/02/2008"), testo(35, "01/02/2008")},
       kEsecuzioneSuccessiva, ""},
      {"deliberations equal to the document", false,
       {testo(22, "01/02/2008"), testo(23, "01/02/2008"), testo(35, "01/02/2008")}, "", ""},
      {"no document date: no comparison", false, {testo(22, "02/02/2008"), testo(23, "03/02/2008")}, "", ""},
      {"emptied document date: no comparison", false, {testo(22, "02/02/2008"), testo(35, "")}, "", ""},
      {"invalid authorisation and document", false, {testo(22, "30/02/2008"), testo(35, "30/02/2008")},
       kAutorizzazione, ""},
      {"birth after document, works before authorisation", false,
       {testo(4, "01/03/2008"), testo(22, "20/01/2008"), testo(23, "10/01/2008"), testo(35, "01/02/2008")}, "",
       ""},
      // Texts that are no date at all are refused like invalid dates.
      {"birth 1a/02/2008", false, {testo(4, "1a/02/2008")}, kNascita, ""},
      {"authorisation letters", false, {testo(22, "ab/cd/efgh")}, kAutorizzazione, ""},
      {"works 3x/01/2008", false, {testo(23, "3x/01/2008")}, kEsecuzione, ""},
      {"document 01/02/20o8", false, {testo(35, "01/02/20o8")}, kDocumento, ""},
      {"placeholder with blanks passes", false, {testo(4, " GG/MM/AAAA ")}, "", ""},
      // The owner variant checks only steps 1, 2, 3 and 6.
      {"owner: hidden dates never checked", true,
       {testo(22, "99/99/9999"), testo(23, "xx"), testo(35, "01/02/2008")}, "", ""},
      {"owner: altro intervento", true, {spunta(11)}, kAltroIntervento, "Text1(24)"},
      {"owner: altri impianti", true, {spunta(16), testo(4, "31/02/2008")}, kAltriImpianti, "Text1(25)"},
      {"owner: birth", true, {testo(4, "31/02/2008")}, kNascita, ""},
      {"owner: document", true, {testo(35, "1/13/2008")}, kDocumento, ""},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::shared_ptr<ModuloDomanda> f = apri_variante(c.proprietario);
    ASSERT_TRUE(f);
    for (const auto& imposta : c.impostazioni) imposta(*f);
    const std::string prima = byte_dati();
    std::vector<std::string> testi;
    for (auto& t : f->Text1) testi.push_back(t.Text());
    if (!c.messaggio.empty()) attendi_messaggio(c.messaggio);
    ui.click(f->Command1[1]);
    ui.verify();
    if (c.messaggio.empty()) {
      EXPECT_EQ(record_dati().size(), 80u);
    } else {
      EXPECT_EQ(byte_dati(), prima) << "nothing is written";
      // Clicking "Salva" gave the button the focus; only steps 1 and 2 move it.
      EXPECT_EQ(fuoco(), c.fuoco.empty() ? "Command1(1)" : c.fuoco);
      if (!c.fuoco.empty()) {
        auto& box = static_cast<forms::TextBox&>(*rt.FocusedControl());
        EXPECT_EQ(box.SelStart(), 0);
        EXPECT_EQ(box.SelLength(), static_cast<int>(box.Text().size()));
      }
    }
    std::vector<std::string> dopo;
    for (auto& t : f->Text1) dopo.push_back(t.Text());
    EXPECT_EQ(dopo, testi) << "salva changes no control";
    f->Unload();
    std::filesystem::remove(file_dati());
  }
}

TEST_F(DomandaSalvataggio, AfterTheFirstFreeTextIsFilledTheSecondIsAsked) {
  auto f = apri_condomini();
  f->Check3[11].SetValue(1);
  f->Check3[16].SetValue(1);
  attendi_messaggio(kAltroIntervento);
  ui.click(f->Command1[1]);
  ui.type("Cornicioni");
  EXPECT_EQ(f->Text1[24].Text(), "Cornicioni");
  attendi_messaggio(kAltriImpianti);
  ui.click(f->Command1[1]);
  EXPECT_EQ(fuoco(), "Text1(25)");
  ui.type("Antenna");
  ui.click(f->Command1[1]);
  EXPECT_EQ(*valore("LAVORI_DELIBERATI_ALTRO_INTERVENTO"), "Cornicioni");
  EXPECT_EQ(*valore("LAVORI_DELIBERATI_ALTRI_IMPIANTI"), "Antenna");
}

TEST_F(DomandaSalvataggio, StoredValuesFollowTheirKind) {
  auto f = apri_condomini();
  f->Text1[0].SetText("  Anna  ");  // text untrimmed
  f->Text1[4].SetText(" gg/mm/aaaa");  // the placeholder: no date
  f->Text1[22].SetText("");            // emptied: the zero-valued conversion
  f->Text1[23].SetText("1/2/2008");
  f->Text1[29].SetText("1.234,56");
  f->Text1[30].SetText("12,5");
  f->Text1[33].SetText("1.234.567,00");
  f->Option1[2].SetValue(true);
  f->Option2[2].SetValue(true);
  f->Check2[9].SetValue(1);
  f->Check2[3].SetValue(2);  // grey is not ticked
  ui.click(f->Command1[1]);
  const std::vector<std::pair<std::string, std::string>> attesi = {
      {"TIPO_RICHIEDENTE", "Amministratore"},
      {"NOME_RICHIEDENTE", "  Anna"},  // trailing blanks are the field's padding
      {"DATA_NASCITA_RICHIEDENTE", "0"},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "000000"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080201"},
      {"DATA", "0"},
      {"IMPORTO_CONTRIBUTO_BASE", "1234,56"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", "12,5"},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "1234567,00"},
      {"RESTAURO_E_RISANAMENTO_CONSERVATIVO_SI_NO", "S"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "N"},
      {"QUARTIERE_PERIFERICO_SI_NO", "S"},
      {"CENTRO_STORICO_URBANO_SI_NO", "N"},
      {"QUARTIERE_QUARTIERE_PERIFERICO", "Bagnoli"},
      {"MUNICIPALITA_PERIFERICO", "10"},
      {"MUNICIPALITA_CONDOMINIO", "10"},
      {"QUARTIERE_CENTRO_STORICO_URBANO", ""},
      {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "S"},
      {"RELAZIONE_LAVORI_SI_NO", "N"},
      {"VOLUME_FUORI_TERRA_INFERIORE", "N"},
      {"CONTRIBUTO_BASE_SI_NO", "N"},
  };
  for (const auto& [k, v] : attesi) {
    EXPECT_EQ(valore(k), v) << k;
  }
  const std::string b = byte_dati();
  EXPECT_EQ(b.substr(510, 510), record("NOME_RICHIEDENTE", "  Anna  "));
}

TEST_F(DomandaSalvataggio, TheOwnerStoresItsChosenTypeAndNoDeliberationDates) {
  auto f = apri_proprietari();
  ui.choose(*f->Combo2(), "Delegato del Proprietario/i");
  f->Text1[22].SetText("01/01/2008");
  f->Text1[23].SetText("01/01/2008");
  ui.click(f->Command1[1]);
  EXPECT_EQ(record_dati()[0].chiave, "TIPO_RICHIEDENTE");
  EXPECT_EQ(record_dati()[0].valore, "Delegato del Proprietario/i");
  EXPECT_EQ(*valore("DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE"), "0");
  EXPECT_EQ(*valore("DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI"), "0");
  // The placeholders of the visible dates are "no date" too.
  EXPECT_EQ(*valore("DATA_NASCITA_RICHIEDENTE"), "0");
  EXPECT_EQ(*valore("DATA"), "0");
}

TEST_F(DomandaSalvataggio, SavingKeepsOtherFormsRecordsAndRewritesInPlace) {
  scrivi_file({{"ATTO_NOTORIO_A", "S"}, {"  nome_richiedente ", "Vecchio"}, {"TOTALE_INTERVENTO", "100,00"}});
  auto f = apri_condomini();
  EXPECT_EQ(f->Text1[0].Text(), "Vecchio");
  f->Text1[0].SetText("Nuovo");
  ui.click(f->Command1[1]);
  const auto r = record_dati();
  ASSERT_EQ(r.size(), 3u + 79u);  // 80 keys, one of them already there
  EXPECT_EQ(r[0].chiave, "ATTO_NOTORIO_A");
  EXPECT_EQ(r[1].chiave, "NOME_RICHIEDENTE");  // rewritten with the key as written
  EXPECT_EQ(r[1].valore, "Nuovo");
  EXPECT_EQ(r[2].chiave, "TOTALE_INTERVENTO");
  EXPECT_EQ(r[3].chiave, "TIPO_RICHIEDENTE");
  EXPECT_EQ(r[4].chiave, "COGNOME_RICHIEDENTE");
  EXPECT_EQ(r.back().chiave, "DATA");
}

// A refused save after Yes to the "Menu" question keeps the form and its edits.
TEST_F(DomandaSalvataggio, ARefusedSaveFromMenuStaysOnTheForm) {
  auto f = apri_condomini();
  ui.type("Luigi");
  f->Text1[4].SetText("31/02/2008");
  attendi_domanda_menu(forms::MsgResult::Yes);
  attendi_messaggio(kNascita);
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 0);
  ASSERT_NE(rt.Find<sevrina::sevrina_condomini>(), nullptr);
  EXPECT_EQ(f->Text1[0].Text(), "Luigi");
  EXPECT_EQ(record_dati().size(), 1u);

  f->Text1[4].SetText("28/02/2008");
  attendi_domanda_menu(forms::MsgResult::Yes);
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 1);
  EXPECT_EQ(rt.Find<sevrina::sevrina_condomini>(), nullptr);
  EXPECT_EQ(*valore("NOME_RICHIEDENTE"), "Luigi");
  EXPECT_EQ(*valore("DATA_NASCITA_RICHIEDENTE"), "20080228");
}

TEST_F(DomandaSalvataggio, MenuNoLeavesWithoutSaving) {
  auto f = apri_proprietari();
  ui.type("Luigi");
  attendi_domanda_menu(forms::MsgResult::No);
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 1);
  EXPECT_EQ(record_dati().size(), 1u);
}

// The close box asks before dropping edits.
TEST_F(DomandaSalvataggio, TheCloseBoxAsksWhenSomethingChanged) {
  {
    SCOPED_TRACE("nothing changed: closes at once");
    auto f = apri_condomini();
    EXPECT_TRUE(ui.close(*f));
    EXPECT_FALSE(f->Loaded());
  }
  {
    SCOPED_TRACE("No: closes without saving");
    auto f = apri_condomini();
    ui.type("Luigi");
    attendi_domanda_menu(forms::MsgResult::No);
    EXPECT_TRUE(ui.close(*f));
    EXPECT_FALSE(f->Loaded());
    EXPECT_EQ(record_dati().size(), 1u);
  }
  {
    SCOPED_TRACE("Yes with a refused save: stays open");
    auto f = apri_condomini();
    ui.type("Luigi");
    f->Text1[35].SetText("31/04/2008");
    attendi_domanda_menu(forms::MsgResult::Yes);
    attendi_messaggio(kDocumento);
    EXPECT_FALSE(ui.close(*f));
    EXPECT_TRUE(f->Loaded());
    EXPECT_EQ(f->Text1[0].Text(), "Luigi");
    EXPECT_EQ(record_dati().size(), 1u);

    SCOPED_TRACE("Yes with a good save: saves and closes");
    f->Text1[35].SetText("30/04/2008");
    attendi_domanda_menu(forms::MsgResult::Yes);
    EXPECT_TRUE(ui.close(*f));
    EXPECT_FALSE(f->Loaded());
    EXPECT_EQ(*valore("NOME_RICHIEDENTE"), "Luigi");
    EXPECT_EQ(*valore("DATA"), "20080430");
  }
  EXPECT_EQ(menu_mostrato, 0);  // the close box never shows the menu
}

TEST_F(DomandaSalvataggio, BozzaAsksTheVariantsGeneratorWithoutSaving) {
  auto f = apri_condomini();
  ui.type("Luigi");
  ui.click(f->Command1[2]);
  f->Unload();
  auto p = apri_proprietari();
  ui.access_key('b');
  ASSERT_EQ(documenti.chiamate.size(), 2u);
  const std::string bozza = (cartella_ / "bozza.pdf").string();
  EXPECT_EQ(documenti.chiamate[0].generatore, "crea_sevrina_condomini");
  EXPECT_EQ(documenti.chiamate[0].percorso, bozza);
  EXPECT_TRUE(documenti.chiamate[0].apri);
  EXPECT_EQ(documenti.chiamate[1].generatore, "crea_sevrina_proprietari");
  EXPECT_EQ(documenti.chiamate[1].percorso, bozza);
  EXPECT_TRUE(documenti.chiamate[1].apri);
  EXPECT_EQ(record_dati().size(), 1u);  // nothing saved first
  EXPECT_TRUE(p->Loaded());
}

TEST_F(DomandaSalvataggio, AiutoShowsTheVariantsHelpModally) {
  auto f = apri_condomini();
  bool visto = false;
  ui.on_modal("Help_sevrina_condomini", [&](forms::Form& help) {
    visto = true;
    EXPECT_FALSE(rt.AcceptsInput(*f));  // the form waits
    ui.close(help);
  });
  ui.click(f->Command1[3]);
  EXPECT_TRUE(visto);
  EXPECT_TRUE(f->Loaded());
  EXPECT_EQ(f->modificato, 0);
  f->Unload();

  auto p = apri_proprietari();
  ui.on_modal("Help_sevrina_proprietari", [&](forms::Form& help) { ui.close(help); });
  ui.access_key('a');
  EXPECT_EQ(ui.modal_shown(), (std::vector<std::string>{"Help_sevrina_condomini", "Help_sevrina_proprietari"}));
}

}  // namespace
}  // namespace prova
