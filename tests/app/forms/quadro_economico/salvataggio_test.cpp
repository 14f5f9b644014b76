// Loading and saving the cost table: the 57 pairs as they land in DATI.DAT,
// the derived contribution flags, the date checks, save and reopen
// rebuilding every computed field, the shared keys on the application form,
// and the mends around saving (a refused save keeps the form open, the close
// box asks first, a date box holding no date is refused).

#include <algorithm>
#include <functional>

#include "app/forms/application_common/keys.h"
#include "app/forms/quadro_economico/chiavi.h"
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#include "tests/app/forms/quadro_economico/quadro_support.h"

namespace prova {
namespace {

using QuadroSalvataggio = ProvaQuadro;
using sevrina::quadro_economico;

const std::string kDataErrata = u8"La Data del quadro economico è errata!"_w1252;
const std::string kDataPosteriore =
    u8"La Data del quadro economico non può essere posteriore a quella della sevrina !"_w1252;

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

// The eleven keys the application writes too.
std::vector<std::pair<std::string, std::string>> chiavi_condivise() {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& c : sevrina::quadro::kCoppie) {
    if (c.condivisa) out.emplace_back(std::string(c.chiave), "");
  }
  return out;
}

TEST_F(QuadroSalvataggio, FirstSaveAppendsTheMissingKeysInTableOrderAndTheSecondNone) {
  auto iniziali = chiavi_condivise();
  ASSERT_EQ(iniziali.size(), 11u);
  iniziali.insert(iniziali.begin(), {"TIPO_RICHIEDENTE", "Amministratore"});
  iniziali.push_back({"DATA", "20090320"});
  scrivi_file(iniziali);

  auto f = apri();
  ASSERT_TRUE(f);
  digita_caso_tipico(ui, *f);
  ui.type(f->Text1[22], "15032009");
  ui.click(f->Command1[1]);
  EXPECT_EQ(f->modificato, 1);  // saving leaves the flag

  const auto record = record_dati();
  ASSERT_EQ(record.size(), iniziali.size() + 45);
  // Appended in the key table's order, TOTALE_INTERVENTO once.
  std::vector<std::string> attese;
  for (const auto& c : sevrina::quadro::kCoppie) {
    if (c.condivisa || std::find(attese.begin(), attese.end(), c.chiave) != attese.end()) continue;
    attese.emplace_back(c.chiave);
  }
  ASSERT_EQ(attese.size(), 45u);
  for (std::size_t i = 0; i < attese.size(); ++i) {
    EXPECT_EQ(record[iniziali.size() + i].chiave, attese[i]);
  }

  const std::vector<std::pair<std::string, std::string>> valori = {
      {"IMPORTO_LAVORI_NETTO_IVA", "100000"},
      {"IVA_SU_IMPORTO_LAVORI", "10000,00"},
      {"TOTALE_LAVORI_NETTO_IVA", "107000,00"},
      {"TOTALE_LAVORI_CON_IVA", "117900,00"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "10000"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI%", "9,35"},
      {"ASCENSORI", ""},
      {"ASCENSORI%", "0,00"},
      {"COSAP_STIMATO", "5000"},
      {"COSAP_MASSIMO", "4280,00"},
      {"IMPREVISTI_STIMATI", ""},
      {"IMPREVISTI_MASSIMO", "0,00"},
      {"TOTALE_INTERVENTO", "136460,00"},
      {"CONTRIBUTO_BASE", "40938,00"},
      {"PREMIALITA_CONSOLIDAMENTO_SI_NO", "S"},
      {"PREMIALITA_BARRIERE_SI_NO", "S"},
      {"PREMIALITA_INFISSI_SI_NO", "N"},
      {"PERCENTUALE_CONTRIBUTO_PREMIALE", "7,00"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", "9552,20"},
      {"CONTRIBUTO_PREMIALE_SI_NO", "S"},
      {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
      {"VOLUME_FUORI_TERRA_OLTRE", "N"},
      {"ADOZIONE_LIBRETTO_MANUTENZIONE", "S"},
      {"IMPORTO_CONTRIBUTO_BASE", "40938,00"},
      {"CONTRIBUTO_BASE_SI_NO", "S"},
      {"CONTRIBUTO_PREMIALE", "9552,20"},
      {"IMPORTO_CONTRIBUTO_ACCESSORIO", "4093,80"},
      {"CONTRIBUTO_ACCESSORIO_SI_NO", "S"},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "54584,00"},
      {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "40,00"},
      {"DATA_QUADRO_ECONOMICO", "20090315"},
  };
  for (const auto& [k, v] : valori) EXPECT_EQ(valore(k), v) << k;
  EXPECT_EQ(std::count_if(record.begin(), record.end(), [](const Record& r) { return r.chiave == "TOTALE_INTERVENTO"; }),
            1);

  // The exact bytes of one record: key and value padded to 255 blanks.
  const std::string b = byte_dati();
  const auto pos = b.find("IMPORTO_LAVORI_NETTO_IVA");
  ASSERT_EQ(pos % 510, 0u);
  EXPECT_EQ(b.substr(pos, 510), campo_file("IMPORTO_LAVORI_NETTO_IVA") + campo_file("100000"));

  ui.click(f->Command1[1]);
  EXPECT_EQ(record_dati().size(), record.size());
  EXPECT_EQ(byte_dati(), b);
}

TEST_F(QuadroSalvataggio, DerivedFlagsAreYesOnlyForAnAmountOtherThanZero) {
  struct Caso {
    const char* nome;
    std::function<void(quadro_economico&)> imposta;
    std::string base, premiale, accessorio;
    std::string importo_premiale;  // as stored
  };
  const std::vector<Caso> casi = {
      {"nothing computed yet", [](quadro_economico&) {}, "N", "N", "N", "0,00"},
      {"works without premium or booklet",
       [this](quadro_economico& f) { ui.type(f.Text2[0], "1000"); }, "S", "N", "N", "0,00"},
      {"premium and booklet",
       [this](quadro_economico& f) {
         ui.type(f.Text2[0], "1000");
         ui.click(f.Check1[4]);
         ui.click(f.Option2[0]);
       },
       "S", "S", "S", "22,00"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::error_code ec;
    fs::remove(file_dati(), ec);
    auto f = apri();
    ASSERT_TRUE(f);
    c.imposta(*f);
    ui.click(f->Command1[1]);
    EXPECT_EQ(valore("CONTRIBUTO_BASE_SI_NO"), c.base);
    EXPECT_EQ(valore("CONTRIBUTO_PREMIALE_SI_NO"), c.premiale);
    EXPECT_EQ(valore("CONTRIBUTO_ACCESSORIO_SI_NO"), c.accessorio);
    // A premium worth 0,00 is stored as such and not requested.
    EXPECT_EQ(valore("IMPORTO_CONTRIBUTO_PREMIALE"), c.importo_premiale);
    if (f->modificato == 1) attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
    ASSERT_EQ(rt.Find<quadro_economico>(), nullptr);
  }
}

TEST_F(QuadroSalvataggio, DateChecks) {
  struct Caso {
    const char* nome;
    std::string domanda;  // DATA in the file; "-" = absent
    std::string digitato; // typed into the emptied date box; "-" = left as the placeholder
    std::string messaggio;
    std::string salvato;  // DATA_QUADRO_ECONOMICO after the save ("" = not written)
  };
  const std::vector<Caso> casi = {
      {"valid date", "-", "15032009", "", "20090315"},
      {"31 February", "-", "31022009", kDataErrata, ""},
      {"month 13", "-", "01132009", kDataErrata, ""},
      {"short year", "-", "010209", kDataErrata, ""},
      {"equal to the application date", "20090315", "15032009", "", "20090315"},
      {"one day after the application date", "20090315", "16032009", kDataPosteriore, ""},
      {"application date 0", "0", "16032009", "", "20090316"},
      {"application date blank", "", "16032009", "", "20090316"},
      {"placeholder left", "20090315", "-", "", "0"},
      {"box emptied", "20090315", "", "", "000000"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::vector<std::pair<std::string, std::string>> file = {{"TIPO_RICHIEDENTE", "Amministratore"}};
    if (c.domanda != "-") file.push_back({"DATA", c.domanda});
    scrivi_file(file);
    auto f = apri();
    ASSERT_TRUE(f);
    if (c.digitato != "-") ui.type(f->Text1[22], c.digitato);
    if (!c.messaggio.empty()) attendi_messaggio(c.messaggio);
    ui.click(f->Command1[1]);
    if (c.salvato.empty()) {
      EXPECT_EQ(record_dati().size(), file.size());  // nothing written
    } else {
      EXPECT_EQ(valore("DATA_QUADRO_ECONOMICO"), c.salvato);
    }
    f->modificato = 0;
    ui.click(f->Command1[0]);
  }
}

TEST_F(QuadroSalvataggio, DateBoxHoldingNoDateIsRefused) {
  // A damaged stored date shows as a text that converts to no number.
  scrivi_file({{"DATA_QUADRO_ECONOMICO", "2009031a"}});
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Text1[22].Text(), "1a/03/2009");
  attendi_messaggio(kDataErrata);
  ui.click(f->Command1[1]);
  EXPECT_EQ(valore("DATA_QUADRO_ECONOMICO"), "2009031a");
  EXPECT_EQ(valore("IMPORTO_LAVORI_NETTO_IVA"), std::nullopt);
}

TEST_F(QuadroSalvataggio, SaveAndReopenRebuildsEveryComputedField) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"},
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
  come_un_passaggio(*f);
  EXPECT_EQ(f->Text1[0].Text(), "Mario");
  EXPECT_EQ(f->Text1[4].Text(), "01/01/1970");
  EXPECT_EQ(f->Text1[22].Text(), "15/03/2009");
  EXPECT_EQ(f->Combo2.Text(), "Amministratore");
  EXPECT_EQ(f->Label2[0].Caption(), "LAVORI DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO ");
  EXPECT_EQ(f->Label2[1].Caption(), "SITO IN VARERI A VIA ROMA N. 12");
  EXPECT_EQ(f->Text8[12].Text(), "54.584,00");
}

TEST_F(QuadroSalvataggio, LoaderEdgeCases) {
  struct Caso {
    const char* nome;
    std::vector<std::pair<std::string, std::string>> file;
    std::function<void(quadro_economico&)> verifica;
  };
  const std::vector<Caso> casi = {
      {"no records",
       {},
       [](quadro_economico& f) {
         EXPECT_TRUE(f.Option1[0].Value());
         EXPECT_TRUE(f.Option2[1].Value());
         EXPECT_EQ(f.Text1[22].Text(), "gg/mm/aaaa");
         EXPECT_EQ(f.Label2[1].Caption(), "SITO IN VARERI A ");
         EXPECT_EQ(f.Label2[0].Caption(), "LAVORI DI  ALLE PARTI COMUNI DELL'EDIFICIO ");
       }},
      {"street number without address",
       {{"CIVICO_CONDOMINIO", "12"}},
       [](quadro_economico& f) { EXPECT_EQ(f.Label2[1].Caption(), "SITO IN VARERI A  N. 12"); }},
      {"flags",
       {{"PREMIALITA_BARRIERE_SI_NO", "s"},
        {"PREMIALITA_INFISSI_SI_NO", "S"},
        {"VOLUME_FUORI_TERRA_OLTRE", "S"},
        {"ADOZIONE_LIBRETTO_MANUTENZIONE", "N"}},
       [](quadro_economico& f) {
         EXPECT_EQ(f.Check1[1].Value(), 0);
         EXPECT_EQ(f.Check1[5].Value(), 1);
         EXPECT_TRUE(f.Option1[1].Value());
         EXPECT_FALSE(f.Option1[0].Value());
         EXPECT_TRUE(f.Option2[1].Value());
       }},
      {"both bands N", {{"VOLUME_FUORI_TERRA_INFERIORE", "N"}, {"VOLUME_FUORI_TERRA_OLTRE", "N"}},
       [](quadro_economico& f) { EXPECT_TRUE(f.Option1[0].Value()); }},
      {"date 0 shows the placeholder", {{"DATA_QUADRO_ECONOMICO", "0"}},
       [](quadro_economico& f) { EXPECT_EQ(f.Text1[22].Text(), "gg/mm/aaaa"); }},
      {"blank date shows empty", {{"DATA_QUADRO_ECONOMICO", ""}},
       [](quadro_economico& f) { EXPECT_EQ(f.Text1[22].Text(), ""); }},
      {"birth date 0 shows empty", {{"DATA_NASCITA_RICHIEDENTE", "0"}},
       [](quadro_economico& f) { EXPECT_EQ(f.Text1[4].Text(), ""); }},
      {"inputs shown as stored; computed keys ignored",
       {{"IMPORTO_LAVORI_NETTO_IVA", "1234,5"}, {"TOTALE_LAVORI_NETTO_IVA", "999"}},
       [](quadro_economico& f) {
         EXPECT_EQ(f.Text2[0].Text(), "1234,5");
         EXPECT_EQ(f.Text2[3].Text(), "1.234,50");
       }},
      {"unknown applicant type", {{"TIPO_RICHIEDENTE", "Altro"}},
       [](quadro_economico& f) { EXPECT_EQ(f.Combo2.ListIndex(), -1); }},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scrivi_file(c.file);
    auto f = apri();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->modificato, 0);
    c.verifica(*f);
    ui.click(f->Command1[0]);
  }
}

TEST_F(QuadroSalvataggio, SharedKeysShowOnTheApplicationForm) {
  sevrina::register_sevrina_condomini(rt);
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"}});
  {
    auto f = apri();
    ASSERT_TRUE(f);
    ui.type(f->Text2[0], "400000{ENTER}20000{ENTER}10000");
    ui.type(f->Text7[0], "20000{ENTER}60000{ENTER}{ENTER}50000");
    ui.click(f->Check1[0]);
    ui.click(f->Option1[1]);
    ui.click(f->Command1[1]);
    attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
  }
  ASSERT_TRUE(sevrina::show_form(sevrina::EditingForm::SevrinaCondomini));
  auto d = rt.Find<sevrina::sevrina_condomini>();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->Text1[29].Text(), "150.000,00");  // base
  EXPECT_EQ(d->Text1[30].Text(), "29.036,00");   // premium
  EXPECT_EQ(d->Text1[31].Text(), "5,00");        // premium percentage
  EXPECT_EQ(d->Text1[32].Text(), "0,00");        // accessory
  EXPECT_EQ(d->Text1[33].Text(), "150.000,00");  // total contribution
  EXPECT_EQ(d->Text1[34].Text(), "25,83");
  EXPECT_EQ(d->Check1[0].Value(), 1);
  EXPECT_EQ(d->Check1[1].Value(), 1);
  EXPECT_EQ(d->Check1[2].Value(), 0);  // no booklet: not requested
  EXPECT_FALSE(d->Option3[0].Value());
  EXPECT_TRUE(d->Option3[1].Value());
}

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

TEST_F(QuadroSalvataggio, DraftHelpAndCloseBox) {
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text2[0], "1000");
  // The draft shows what is saved: nothing is written first.
  ui.click(f->Command1[2]);
  ASSERT_EQ(documenti.chiamate.size(), 1u);
  EXPECT_EQ(documenti.chiamate[0].generatore, "quadro_economico");
  EXPECT_EQ(documenti.chiamate[0].percorso, (cartella_ / "bozza.pdf").string());
  EXPECT_TRUE(documenti.chiamate[0].apri);
  EXPECT_EQ(valore("IMPORTO_LAVORI_NETTO_IVA"), std::nullopt);
  // "Aiuto" shows the form's help page modally.
  ui.on_modal("Help_quadro_economico", [this](forms::Form& h) { ui.close(h); });
  ui.click(f->Command1[3]);
  EXPECT_EQ(ui.modal_shown(), std::vector<std::string>{"Help_quadro_economico"});
  // No: the window closes without saving.
  attendi_domanda_menu(forms::MsgResult::No);
  ui.close(*f);
  EXPECT_EQ(rt.Find<quadro_economico>(), nullptr);
  EXPECT_EQ(valore("IMPORTO_LAVORI_NETTO_IVA"), std::nullopt);
}

}  // namespace
}  // namespace prova
