// The sworn-declaration form driven as a user would: the fixed declarations
// re-imposed at every opening, the applicant's data shown, the checks of a
// save in their order, the sixteen keys on disk, the Enter order, and the
// mends (every edit sets the modified flag, a refused save keeps the form
// open, the close box asks first, a date box holding no date is refused).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/forms/atto_notorio/atto_notorio.h"
#include "app/shell/document_services.h"
#include "app/shell/form_registry.h"
#include "platform/forms/forms.h"
#include "platform/text/cp1252.h"
#include "tests/app/forms/forms_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using prova::campo_file;
using sevrina::atto_notorio;

const std::string kNessunaSpunta = "Ho bisogno di almeno una spunta tra le dichiarazioni!";
const std::string kDataErrata = "La Data dell'atto notorio!";
const std::string kDataPosteriore =
    u8"La Data dell' atto notorio non può essere posteriore a quella della sevrina !"_w1252;

class DocumentiFinti : public sevrina::DocumentServices {
 public:
  bool crea_sevrina_condomini(const std::string&, bool) override { return false; }
  bool crea_sevrina_proprietari(const std::string&, bool) override { return false; }
  bool crea_atto_notorio(const std::string& p, bool a) override {
    bozze.emplace_back(p, a);
    return true;
  }
  bool crea_quadro_economico(const std::string&, bool) override { return false; }
  void crea_sevrine() override {}
  std::vector<std::pair<std::string, bool>> bozze;
};

class AttoNotorio : public prova::ProvaModulo<DocumentiFinti> {
 protected:
  AttoNotorio() : ProvaModulo("sevrina-atto", sevrina::domanda_menu_atto_notorio()) {}

  void registra_moduli() override { sevrina::register_atto_notorio(rt); }

  std::shared_ptr<atto_notorio> apri() { return apri_modulo<atto_notorio>(sevrina::EditingForm::AttoNotorio); }

  void chiudi(atto_notorio& f) {
    f.modificato = 0;
    ui.click(f.Command1[0]);
  }

  std::string spunte(const atto_notorio& f) const {
    std::string s;
    for (auto& c : f.Check2) s += c.Value() == 1 ? 'S' : 'N';
    return s;
  }
};

TEST_F(AttoNotorio, OpeningImposesTheFixedDeclarations) {
  struct Caso {
    const char* nome;
    std::vector<std::pair<std::string, std::string>> file;
    std::string spunte;  // a) to o) after opening
    std::string f;       // ATTO_NOTORIO_F stored
  };
  const std::vector<Caso> casi = {
      {"condominium, no declarations yet", {{"TIPO_RICHIEDENTE", "Amministratore"}}, "SSSSNNSSSSSSSSS", "N"},
      {"owner", {{"TIPO_RICHIEDENTE", "Unico Proprietario"}, {"ATTO_NOTORIO_F", "N"}}, "SSSSNSSSSSSSSSS", "S"},
      {"delegate", {{"TIPO_RICHIEDENTE", "Delegato del Proprietario/i"}}, "SSSSNSSSSSSSSSS", "S"},
      {"no applicant type", {}, "SSSSNNSSSSSSSSS", "N"},
      {"a) saved as N, e) kept, lower-case e) unticked",
       {{"TIPO_RICHIEDENTE", "Amministratore"}, {"ATTO_NOTORIO_A", "N"}, {"ATTO_NOTORIO_E", "S"}},
       "SSSSSNSSSSSSSSS", "N"},
      {"e) stored as s", {{"ATTO_NOTORIO_E", "s"}}, "SSSSNNSSSSSSSSS", "N"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scrivi_file(c.file);
    auto f = apri();
    ASSERT_TRUE(f);
    EXPECT_EQ(spunte(*f), c.spunte);
    EXPECT_EQ(valore("ATTO_NOTORIO_A"), "S");
    EXPECT_EQ(valore("ATTO_NOTORIO_F"), c.f);
    EXPECT_EQ(f->modificato, 0);
    EXPECT_EQ(f->Text1[13].Text(), "gg/mm/aaaa");
    for (auto& box : f->Check2) EXPECT_EQ(box.Enabled(), box.Index() == 4);
    chiudi(*f);
  }
  // A fresh file gains the fourteen pairs in their order, e) absent.
  std::error_code ec;
  fs::remove(file_dati(), ec);
  auto f = apri();
  std::vector<std::string> chiavi;
  for (const auto& [k, v] : record_dati()) chiavi.push_back(k);
  const std::vector<std::string> attese = {
      "TIPO_RICHIEDENTE", "ATTO_NOTORIO_A", "ATTO_NOTORIO_B", "ATTO_NOTORIO_C", "ATTO_NOTORIO_D",
      "ATTO_NOTORIO_G",   "ATTO_NOTORIO_H", "ATTO_NOTORIO_I", "ATTO_NOTORIO_J", "ATTO_NOTORIO_K",
      "ATTO_NOTORIO_L",   "ATTO_NOTORIO_M", "ATTO_NOTORIO_N", "ATTO_NOTORIO_O", "ATTO_NOTORIO_F"};
  // The lookup of the applicant type creates the file, then the batch appends.
  EXPECT_EQ(chiavi, std::vector<std::string>(attese.begin() + 1, attese.end()));
}

TEST_F(AttoNotorio, ShowsTheApplicantAsStored) {
  scrivi_file({{"TIPO_RICHIEDENTE", "delegato del proprietario/i "},
               {"NOME_RICHIEDENTE", "Mario"},
               {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
               {"DATA_NASCITA_RICHIEDENTE", "19700131"},
               {"CIVICO_DOMICILIO_RICHIEDENTE", "  7"},
               {"COGNOME_RICHIEDENTE", "   "},
               {"DATA_ATTO_NOTORIO", "20080205"}});
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Combo2.Text(), "Delegato del Proprietario/i");
  EXPECT_EQ(f->Text1[0].Text(), "Mario");
  EXPECT_EQ(f->Text1[1].Text(), "");
  EXPECT_EQ(f->Text1[3].Text(), "NA");
  EXPECT_EQ(f->Text1[4].Text(), "31/01/1970");
  EXPECT_EQ(f->Text1[12].Text(), "7");
  EXPECT_EQ(f->Text1[13].Text(), "05/02/2008");
  EXPECT_EQ(fuoco(), "Text1(0)");
  EXPECT_EQ(f->Text1[0].BackColor(), forms::kLightCyan);
  EXPECT_EQ(f->Text1[0].SelLength(), 5);
  EXPECT_EQ(f->modificato, 0);
  chiudi(*f);
}

TEST_F(AttoNotorio, ChecksInTheirOrder) {
  struct Caso {
    const char* nome;
    std::string domanda;  // DATA; "-" absent
    bool togli_spunte;
    std::string data;     // typed into the date box; "-" = placeholder left
    std::string messaggio;
    std::string salvato;  // DATA_ATTO_NOTORIO ("" = nothing written)
  };
  const std::vector<Caso> casi = {
      {"no tick comes before a bad date", "-", true, "31022008", kNessunaSpunta, ""},
      {"bad date comes before a late date", "20080101", false, "31022008", kDataErrata, ""},
      {"month 13", "-", false, "01132008", kDataErrata, ""},
      {"later than the application", "20080204", false, "05022008", kDataPosteriore, ""},
      {"equal to the application", "20080205", false, "05022008", "", "20080205"},
      {"no application date", "-", false, "05022008", "", "20080205"},
      {"application date 0", "0", false, "05022008", "", "20080205"},
      {"placeholder left", "20080101", false, "-", "", "0"},
      {"box emptied", "20080101", false, "", "", "000000"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::vector<std::pair<std::string, std::string>> file = {{"TIPO_RICHIEDENTE", "Amministratore"}};
    if (c.domanda != "-") file.push_back({"DATA", c.domanda});
    scrivi_file(file);
    auto f = apri();
    ASSERT_TRUE(f);
    const auto prima = byte_dati();
    if (c.togli_spunte) {
      for (auto& box : f->Check2) box.SetValue(0);
    }
    if (c.data != "-") ui.type(f->Text1[13], c.data);
    if (!c.messaggio.empty()) attendi_messaggio(c.messaggio);
    ui.click(f->Command1[1]);
    if (c.salvato.empty()) {
      EXPECT_EQ(byte_dati(), prima);
    } else {
      EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), c.salvato);
    }
    chiudi(*f);
  }
}

TEST_F(AttoNotorio, SixteenKeysSavedAndReopened) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"}});
  {
    auto f = apri();
    ASSERT_TRUE(f);
    ui.click(f->Check2[4]);
    ui.type(f->Text1[13], "05022008");
    ui.click(f->Command1[1]);
    EXPECT_EQ(f->modificato, 1);
    chiudi(*f);
  }
  const std::string attese = "SSSSSNSSSSSSSSS";
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(valore(sevrina::chiave_dichiarazione(i)), std::string(1, attese[static_cast<std::size_t>(i)]));
  }
  EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "20080205");
  EXPECT_EQ(record_dati().size(), 17u);
  const std::string b = byte_dati();
  EXPECT_EQ(b.substr(b.size() - 510), campo_file("DATA_ATTO_NOTORIO") + campo_file("20080205"));

  auto f = apri();
  EXPECT_EQ(spunte(*f), attese);
  EXPECT_EQ(f->Text1[13].Text(), "05/02/2008");
  // Unticking e) and saving stores N; the file does not grow.
  ui.click(f->Check2[4]);
  ui.click(f->Command1[1]);
  EXPECT_EQ(valore("ATTO_NOTORIO_E"), "N");
  EXPECT_EQ(record_dati().size(), 17u);
  chiudi(*f);

  // The placeholder is stored as 0 and shown again; an emptied box as 000000.
  {
    auto g = apri();
    g->Text1[13].SetText("gg/mm/aaaa");
    ui.click(g->Command1[1]);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "0");
    chiudi(*g);
  }
  {
    auto g = apri();
    EXPECT_EQ(g->Text1[13].Text(), "gg/mm/aaaa");
    ui.focus(g->Text1[13]);
    EXPECT_EQ(g->Text1[13].Text(), "");
    ui.click(g->Command1[1]);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "000000");
    chiudi(*g);
  }
  auto g = apri();
  EXPECT_EQ(g->Text1[13].Text(), "");
  chiudi(*g);
}

TEST_F(AttoNotorio, EveryEditSetsTheModifiedFlag) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"}});
  // Typing only the date: the question is asked; No leaves the date unsaved.
  {
    auto f = apri();
    ASSERT_TRUE(f);
    ui.type(f->Text1[13], "05022008");
    EXPECT_EQ(f->modificato, 1);
    attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
    EXPECT_EQ(menu_mostrato, 1);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), std::nullopt);
  }
  // Yes saves it and returns to the menu.
  {
    auto f = apri();
    ui.type(f->Text1[13], "05022008");
    attendi_domanda_menu(forms::MsgResult::Yes);
    ui.click(f->Command1[0]);
    EXPECT_EQ(menu_mostrato, 2);
    EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "20080205");
  }
  // Ticking and unticking e) asks too.
  {
    auto f = apri();
    ui.click(f->Check2[4]);
    ui.click(f->Check2[4]);
    attendi_domanda_menu(forms::MsgResult::No);
    ui.click(f->Command1[0]);
    EXPECT_EQ(menu_mostrato, 3);
  }
  // Untouched: no question.
  auto f = apri();
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 4);
}

TEST_F(AttoNotorio, RefusedSaveKeepsTheFormAndTheCloseBoxAsks) {
  scrivi_file({{"TIPO_RICHIEDENTE", "Amministratore"}, {"DATA", "20080101"}});
  auto f = apri();
  ASSERT_TRUE(f);
  ui.type(f->Text1[13], "05022008");
  attendi_domanda_menu(forms::MsgResult::Yes);
  attendi_messaggio(kDataPosteriore);
  ui.click(f->Command1[0]);
  EXPECT_EQ(rt.Find<atto_notorio>(), f);
  EXPECT_EQ(menu_mostrato, 0);
  EXPECT_EQ(f->Text1[13].Text(), "05/02/2008");
  attendi_domanda_menu(forms::MsgResult::Yes);
  attendi_messaggio(kDataPosteriore);
  ui.close(*f);
  EXPECT_EQ(rt.Find<atto_notorio>(), f);
  attendi_domanda_menu(forms::MsgResult::No);
  ui.close(*f);
  EXPECT_EQ(rt.Find<atto_notorio>(), nullptr);
  EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), std::nullopt);
}

TEST_F(AttoNotorio, DateBoxHoldingNoDateIsRefused) {
  scrivi_file({{"DATA_ATTO_NOTORIO", "2008020x"}});
  auto f = apri();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Text1[13].Text(), "0x/02/2008");
  attendi_messaggio(kDataErrata);
  ui.click(f->Command1[1]);
  EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), "2008020x");
  chiudi(*f);
}

TEST_F(AttoNotorio, EnterOrderAutoAdvanceScrollAndDraft) {
  auto f = apri();
  ASSERT_TRUE(f);
  for (int i = 0; i < 13; ++i) {
    ui.type(f->Text1[i], "{ENTER}");
    EXPECT_EQ(fuoco(), "Text1(" + std::to_string(i + 1) + ")");
  }
  // From the date Enter goes to the applicant type, which is disabled.
  ui.type("{ENTER}");
  EXPECT_EQ(fuoco(), "Text1(13)");
  EXPECT_EQ(f->Text1[13].Text(), "");  // the placeholder went on entering
  EXPECT_EQ(f->Text1[13].BackColor(), forms::kLightCyan);
  ui.type("050220081");
  EXPECT_EQ(f->Text1[13].Text(), "05/02/2008");
  EXPECT_NE(fuoco(), "Text1(13)");  // the full box moved on
  EXPECT_EQ(f->Text1[13].BackColor(), forms::kWhite);

  ui.scroll_to(f->VScroll1, 5400);
  EXPECT_NEAR(f->Frame2.Top(), 5400.0f * 25400.0f / 32767.0f - 25400.0f, 0.5f);
  ui.scroll_to(f->VScroll1, 32767);
  EXPECT_NEAR(f->Frame2.Top(), 0.0f, 0.5f);

  ui.click(f->Command1[2]);
  ASSERT_EQ(documenti.bozze.size(), 1u);
  EXPECT_EQ(documenti.bozze[0].first, (cartella_ / "bozza.pdf").string());
  EXPECT_TRUE(documenti.bozze[0].second);
  EXPECT_EQ(valore("DATA_ATTO_NOTORIO"), std::nullopt);  // nothing saved first

  // "Aiuto" shows the form's help page modally.
  ui.on_modal("Help_atto_notorio", [this](forms::Form& h) { ui.close(h); });
  ui.click(f->Command1[3]);
  EXPECT_EQ(ui.modal_shown(), std::vector<std::string>{"Help_atto_notorio"});
  EXPECT_EQ(rt.Find<atto_notorio>(), f);
  chiudi(*f);
}

}  // namespace
