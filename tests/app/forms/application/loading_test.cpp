// Loading: each load kind, the applicant type stored at opening, records
// whose order matters, and files the form did not write.

#include "tests/app/forms/application/application_support.h"

namespace prova {
namespace {

using DomandaCaricamento = ProvaDomanda;
using Records = std::vector<std::pair<std::string, std::string>>;

TEST_F(DomandaCaricamento, AnEmptyFileLoadsNothingAndReceivesTheApplicantType) {
  for (bool proprietario : {false, true}) {
    SCOPED_TRACE(proprietario ? "owner" : "condominium");
    std::filesystem::remove(file_dati());
    std::shared_ptr<ModuloDomanda> f = apri_variante(proprietario);
    EXPECT_EQ(f->Text1[0].Text(), "");
    EXPECT_EQ(f->Text1[4].Text(), "gg/mm/aaaa");
    EXPECT_EQ(f->Text1[35].Text(), "gg/mm/aaaa");
    EXPECT_EQ(f->Text1[29].Text(), "");
    EXPECT_EQ(f->Combo1[0].ListCount(), 15);
    EXPECT_EQ(f->Combo1[1].ListCount(), 0);
    EXPECT_EQ(f->Combo1[2].ListCount(), 15);
    EXPECT_EQ(f->Combo1[0].ListIndex(), -1);
    EXPECT_EQ(f->modificato, 0);
    const std::string tipo = proprietario ? "Unico Proprietario" : "Amministratore";
    EXPECT_EQ(byte_dati(), record("TIPO_RICHIEDENTE", tipo));
    if (proprietario) {
      EXPECT_EQ(f->Combo2()->Text(), tipo);
    }
    f->Unload();
  }
}

TEST_F(DomandaCaricamento, TheStoredApplicantType) {
  struct Caso {
    bool proprietario;
    std::string memorizzato;
    std::string mostrato;  // Combo2's text (owner)
    std::string riscritto;
  };
  const std::vector<Caso> casi = {
      {false, "Delegato del Proprietario/i", "", "Amministratore"},
      {true, "Amministratore", "Unico Proprietario", "Unico Proprietario"},
      {true, "  delegato del proprietario/i ", "Delegato del Proprietario/i", "Delegato del Proprietario/i"},
      {true, "Delegato del Proprietario/i", "Delegato del Proprietario/i", "Delegato del Proprietario/i"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.memorizzato);
    scrivi_file({{"NOME_RICHIEDENTE", "Anna"}, {"TIPO_RICHIEDENTE", c.memorizzato}});
    std::shared_ptr<ModuloDomanda> f;
    if (c.proprietario) {
      f = apri_proprietari();
      EXPECT_EQ(f->Combo2()->Text(), c.mostrato);
    } else {
      f = apri_condomini();
    }
    EXPECT_EQ(byte_dati(), record("NOME_RICHIEDENTE", "Anna") + record("TIPO_RICHIEDENTE", c.riscritto));
    EXPECT_EQ(f->modificato, 0);
    f->Unload();
  }
}

TEST_F(DomandaCaricamento, EachLoadKindShowsItsValue) {
  scrivi_file({
      {" nome_richiedente ", "  Anna  "},
      {"COGNOME_RICHIEDENTE", "   "},
      {"DATA_NASCITA_RICHIEDENTE", "0"},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20090515"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "000000"},
      {"DATA", ""},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO", "s"},
      {"LAVORI_DELIBERATI_CORTILE_SI_NO", "SI"},
      {"DELIBERA_ASSEMBLEARE_SI_NO", " S "},  // blanks are the reader's, not the value's
      {"CONTRIBUTO_BASE_SI_NO", "S"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "S"},
      {"MANUTENZIONE_STRAORDINARIA_SI_NO", "N"},
      {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
      {"VOLUME_FUORI_TERRA_OLTRE", "S"},
      {"IMPORTO_CONTRIBUTO_BASE", "1234,5"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", ""},
      {"PERCENTUALE_CONTRIBUTO_PREMIALE", "abc"},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "120000"},
      {"ATTO_NOTORIO_A", "S"},  // another form's keys change nothing
      {"TOTALE_INTERVENTO", "1000"},
      {"", "S"},
  });
  auto f = apri_condomini();
  EXPECT_EQ(f->Text1[0].Text(), "Anna");
  EXPECT_EQ(f->Text1[1].Text(), "");
  EXPECT_EQ(f->Text1[4].Text(), "gg/mm/aaaa");
  EXPECT_EQ(f->Text1[22].Text(), "15/05/2009");
  EXPECT_EQ(f->Text1[23].Text(), "");
  EXPECT_EQ(f->Text1[35].Text(), "");
  EXPECT_EQ(f->Check3[0].Value(), 1);
  EXPECT_EQ(f->Check3[1].Value(), 0);
  EXPECT_EQ(f->Check3[3].Value(), 0);
  EXPECT_EQ(f->Check2[0].Value(), 1);
  EXPECT_EQ(f->Check1[0].Value(), 1);
  EXPECT_TRUE(f->Option1[0].Value());  // a later "N" of its group clears nothing
  EXPECT_FALSE(f->Option1[1].Value());
  EXPECT_FALSE(f->Option3[0].Value());  // two "S" of one group: the later wins
  EXPECT_TRUE(f->Option3[1].Value());
  EXPECT_EQ(f->Text1[29].Text(), "1.234,50");
  EXPECT_EQ(f->Text1[30].Text(), "0,00");
  EXPECT_EQ(f->Text1[31].Text(), "0,00");
  EXPECT_EQ(f->Text1[33].Text(), "120.000,00");
  EXPECT_EQ(f->modificato, 0);
  // Loading raised many events, and still "Menu" asks nothing.
  ui.click(f->Command1[0]);
  EXPECT_EQ(menu_mostrato, 1);
}

TEST_F(DomandaCaricamento, TheSameKeyTwice) {
  scrivi_file({
      {"NOME_RICHIEDENTE", "Primo"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "S"},
      {"NOME_RICHIEDENTE", "Secondo"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "N"},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "N"},
  });
  auto f = apri_condomini();
  EXPECT_EQ(f->Text1[0].Text(), "Secondo");
  EXPECT_TRUE(f->Option1[0].Value());
  EXPECT_EQ(f->Check3[0].Value(), 0);
}

// Area, district and municipality in the order a save writes them, and in
// other orders.
TEST_F(DomandaCaricamento, AreaDistrictAndMunicipalityDependOnRecordOrder) {
  struct Caso {
    const char* nome;
    Records records;
    std::vector<std::string> quartieri;  // Combo1(0..2) texts
    std::vector<int> elementi;           // Combo1(0..2) list counts
    std::vector<std::string> numeri;     // Text1(26), Text1(27), Text1(28), Text1(21)
  };
  const std::vector<Caso> casi = {
      {"as saved",
       {{"MUNICIPALITA_CONDOMINIO", "7"},
        {"CENTRO_STORICO_URBANO_SI_NO", "N"},
        {"QUARTIERE_CENTRO_STORICO_URBANO", ""},
        {"MUNICIPALITA_CENTRO_STORICO_URBANO", ""},
        {"CENTRO_STORICO_DELLE_PERIFERIE_SI_NO", "S"},
        {"QUARTIERE_CENTRO_STORICO_DELLE_PERIFERIE", "secondigliano "},
        {"MUNICIPALITA_CENTRO_STORICO_DELLE_PERIFERIE", "7"},
        {"QUARTIERE_PERIFERICO_SI_NO", "N"},
        {"QUARTIERE_QUARTIERE_PERIFERICO", ""},
        {"MUNICIPALITA_PERIFERICO", ""}},
       {"", "Secondigliano", ""},
       {0, 15, 0},
       {"", "7", "", "7"}},
      {"district before its area",
       {{"QUARTIERE_CENTRO_STORICO_URBANO", "Vomero"}, {"CENTRO_STORICO_URBANO_SI_NO", "S"}},
       {"Arenella", "", ""},
       {15, 0, 0},
       {"5", "", "", "5"}},
      {"municipality before its area is lost",
       {{"MUNICIPALITA_PERIFERICO", "9"}, {"QUARTIERE_PERIFERICO_SI_NO", "S"}},
       {"", "", "Bagnoli"},
       {0, 0, 15},
       {"", "", "10", "10"}},
      {"two areas: the later wins",
       {{"CENTRO_STORICO_URBANO_SI_NO", "S"},
        {"QUARTIERE_CENTRO_STORICO_URBANO", "Stella"},
        {"QUARTIERE_PERIFERICO_SI_NO", "S"},
        {"QUARTIERE_QUARTIERE_PERIFERICO", "Zona Industriale"}},
       {"", "", "Zona Industriale"},
       {0, 0, 15},
       {"", "", "4", "4"}},
      {"a district not in its list",
       {{"CENTRO_STORICO_URBANO_SI_NO", "S"}, {"QUARTIERE_CENTRO_STORICO_URBANO", "Bagnoli"}},
       {"", "", ""},
       {15, 0, 0},
       {"", "", "", ""}},
      {"a building municipality before the area is overwritten",
       {{"MUNICIPALITA_CONDOMINIO", "3"},
        {"QUARTIERE_PERIFERICO_SI_NO", "S"},
        {"QUARTIERE_QUARTIERE_PERIFERICO", "San Giovanni a Teduccio"}},
       {"", "", "San Giovanni a Teduccio"},
       {0, 0, 15},
       {"", "", "6", "6"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scrivi_file(c.records);
    auto f = apri_condomini();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(f->Combo1[i].Text(), c.quartieri[i]) << i;
      EXPECT_EQ(f->Combo1[i].ListCount(), c.elementi[i]) << i;
    }
    EXPECT_EQ(f->Text1[26].Text(), c.numeri[0]);
    EXPECT_EQ(f->Text1[27].Text(), c.numeri[1]);
    EXPECT_EQ(f->Text1[28].Text(), c.numeri[2]);
    EXPECT_EQ(f->Text1[21].Text(), c.numeri[3]);
    EXPECT_EQ(f->modificato, 0);
    f->Unload();
  }
}

TEST_F(DomandaCaricamento, FreeTextWorksItemsFollowTheirFlags) {
  scrivi_file({
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", "S"},
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", "Cornicioni"},
      {"LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO", "N"},
      {"LAVORI_DELIBERATI_ALTRI_IMPIANTI", "Antenna"},
  });
  auto f = apri_condomini();
  EXPECT_TRUE(f->Text1[24].Enabled());
  EXPECT_EQ(f->Text1[24].Text(), "Cornicioni");
  EXPECT_FALSE(f->Text1[25].Enabled());  // the text still fills the disabled box
  EXPECT_EQ(f->Text1[25].Text(), "Antenna");
  f->Unload();

  scrivi_file({
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", "S"},
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", "Cornicioni"},
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", "N"},
  });
  f = apri_condomini();
  EXPECT_FALSE(f->Text1[24].Enabled());
  EXPECT_EQ(f->Text1[24].Text(), "");
}

TEST_F(DomandaCaricamento, AnUnreadableDataFileIsReported) {
  std::filesystem::create_directory(file_dati());  // a folder where the file should be
  // The message is the store's own wording: read it from the boxes shown.
  ui.set_failure_handler([](const std::string&) {});
  auto f = apri_condomini();
  ASSERT_TRUE(f);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.boxes()[0].request.icon, forms::MsgIcon::Critical);
  EXPECT_NE(ui.boxes()[0].request.text.find("DATI.DAT"), std::string::npos);
  EXPECT_EQ(f->modificato, 0);
}

}  // namespace
}  // namespace prova
