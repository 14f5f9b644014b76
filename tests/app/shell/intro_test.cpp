// The start-up menu, driven headless: its window, the four choices and the
// three buttons, the questions and refusals of "Prosegui", the help form of
// "Aiuto" and the two outcomes of "Stampa Dati".

#include "app/shell/intro.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/document_services.h"
#include "app/shell/final_check.h"
#include "app/shell/form_registry.h"
#include "app/shell/help_forms.h"
#include "app/shell/intro_images.h"
#include "app/shell/store.h"
#include "platform/forms/gtest_support.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using forms::MsgButtons;
using forms::MsgIcon;
using forms::MsgResult;

// Stands in for an editing form: the menu only loads and shows it.
class StubForm final : public forms::Form {
 public:
  StubForm(forms::Runtime& rt, std::string name) : Form(rt, std::move(name)) {}
};

// Records the output step instead of showing it.
class FakeDocuments final : public DocumentServices {
 public:
  bool crea_sevrina_condomini(const std::string&, bool) override { return true; }
  bool crea_sevrina_proprietari(const std::string&, bool) override { return true; }
  bool crea_atto_notorio(const std::string&, bool) override { return true; }
  bool crea_quadro_economico(const std::string&, bool) override { return true; }
  void crea_sevrine() override { ++output_steps; }
  int output_steps = 0;
};

const std::string kDomandaCondominio =
    u8"La sevrina già è stata creata per un proprietario (o Delegato del Proprietario/i), sei sicuro di volerla "
    u8"modificare con una per condominii ?"_w1252;
const std::string kDomandaProprietario =
    u8"La sevrina già è stata creata per un condominio, sei sicuro di volerla modificare con una per un "
    u8"proprietario (o Delegato del Proprietario/i) ?"_w1252;

class IntroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-intro-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
    forms::fail_test_on_driver_failure(ui_);
    set_document_services(&documents_);
    const std::pair<EditingForm, const char*> forms_[] = {
        {EditingForm::SevrinaCondomini, "sevrina_condomini"},
        {EditingForm::SevrinaProprietari, "sevrina_proprietari"},
        {EditingForm::AttoNotorio, "atto_notorio"},
        {EditingForm::QuadroEconomico, "quadro_economico"},
    };
    for (const auto& [form, name] : forms_) {
      std::string n = name;
      register_form(form, [this, n] {
        opened_.push_back(n);
        auto f = std::make_shared<StubForm>(rt_, n);
        rt_.load(f);
        f->Show();
      });
    }
    register_intro(rt_);
  }

  void TearDown() override {
    set_document_services(nullptr);
    register_menu(nullptr);
    for (auto f : {EditingForm::SevrinaCondomini, EditingForm::SevrinaProprietari, EditingForm::AttoNotorio,
                   EditingForm::QuadroEconomico}) {
      register_form(f, nullptr);
    }
    std::error_code ec;
    fs::permissions(cartella_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(cartella_, ec);
  }

  Intro& menu() {
    mostra_intro(rt_);
    auto m = rt_.Find<Intro>();
    EXPECT_NE(m, nullptr);
    return *m;
  }

  fs::path dati() const { return cartella_ / "DATI.DAT"; }

  forms::Runtime rt_;
  forms::TestDriver ui_{rt_};
  FakeDocuments documents_;
  fs::path cartella_;
  std::vector<std::string> opened_;
};

TEST_F(IntroTest, TheWindowAsLaidOut) {
  Intro& m = menu();
  EXPECT_EQ(m.Name(), "Intro");
  EXPECT_EQ(m.Caption(), "Intro");
  EXPECT_EQ(m.ScaleWidth(), 11880);
  EXPECT_EQ(m.ScaleHeight(), 8190);
  // Centred by its outer size.
  EXPECT_FLOAT_EQ(m.Left(), rt_.ScreenWidth() / 2 - m.Width() / 2);
  EXPECT_FLOAT_EQ(m.Top(), rt_.ScreenHeight() / 2 - m.Height() / 2);

  struct Expected {
    forms::Control* control;
    std::string caption;  // "" for the pictures
    float left, top, width, height, size;
  };
  const Expected table[] = {
      {&m.Picture1, "", 960, 360, 1185, 1170, 8.25f},
      {&m.Picture2, "", 9240, 720, 1350, 705, 8.25f},
      {&m.Label1, "PROGETTO ORTESA 3", 4080, 1680, 4020, 435, 18},
      {&m.Label2, u8"AVVISO PUBBLICO DEL COMUNE DI VARERI DEL 1° FEBBRAIO 2008"_w1252, 1200, 2760, 9825, 360, 13.5f},
      {&m.Frame1, "", 2640, 3720, 6855, 2535, 8.25f},
      {&m.Option1[0], "Sevrina tipo - per i condominii", 360, 480, 4215, 300, 12},
      {&m.Option1[1], "Sevrina tipo - per proprietari o comproprietari", 360, 960, 6015, 300, 12},
      {&m.Option1[2], "Dichiarazioni sostitutive atto Notorio", 360, 1440, 4695, 300, 12},
      {&m.Option1[3], "Quadro Economico", 360, 1920, 4695, 300, 12},
      {&m.Command1[0], "Stampa Dati", 360, 7200, 2055, 735, 12},
      {&m.Command1[1], "Aiuto", 4920, 7200, 2055, 735, 12},
      {&m.Command1[2], "Prosegui", 9480, 7200, 2055, 735, 12},
  };
  for (const auto& e : table) {
    SCOPED_TRACE(e.control->FullName());
    if (auto* cap = dynamic_cast<forms::CaptionedControl*>(e.control)) {
      EXPECT_EQ(cap->Caption(), e.caption);
    }
    EXPECT_EQ(e.control->Left(), e.left);
    EXPECT_EQ(e.control->Top(), e.top);
    EXPECT_EQ(e.control->Width(), e.width);
    EXPECT_EQ(e.control->Height(), e.height);
    if (e.control->Kind() != forms::ControlKind::PictureBox && e.control->Kind() != forms::ControlKind::Frame) {
      EXPECT_EQ(e.control->Font().Name, "MS Sans Serif");
      EXPECT_TRUE(e.control->Font().Bold);
      EXPECT_FLOAT_EQ(e.control->Font().Size, e.size);
    }
  }
  for (auto& o : m.Option1) EXPECT_EQ(o.Container(), &m.Frame1);
}

TEST_F(IntroTest, ThePicturesHaveTheirSizes) {
  // BMP: width and height at bytes 18 and 22; GIF: at bytes 6 and 8.
  auto le = [](std::string_view b, std::size_t at, int n) {
    int v = 0;
    for (int i = n - 1; i >= 0; --i) v = v * 256 + static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
  };
  std::string_view bmp = emblema_comune();
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(le(bmp, 18, 4), 79);
  EXPECT_EQ(le(bmp, 22, 4), 78);
  EXPECT_EQ(le(bmp, 2, 4), static_cast<int>(bmp.size()));
  std::string_view gif = logo_progetto();
  ASSERT_GE(gif.size(), 13u);
  EXPECT_EQ(gif.substr(0, 6), "GIF89a");
  EXPECT_EQ(le(gif, 6, 2), 90);
  EXPECT_EQ(le(gif, 8, 2), 47);
  EXPECT_EQ(gif.back(), ';');

  Intro& m = menu();
  EXPECT_EQ(m.Picture1.Picture(), bmp);
  EXPECT_EQ(m.Picture2.Picture(), gif);
}

TEST_F(IntroTest, TheChoicesAreOneGroupAndStartUnticked) {
  Intro& m = menu();
  for (auto& o : m.Option1) EXPECT_FALSE(o.Value());
  ASSERT_TRUE(ui_.click(m.Option1[1]));
  ASSERT_TRUE(ui_.click(m.Option1[3]));
  EXPECT_FALSE(m.Option1[1].Value());
  EXPECT_TRUE(m.Option1[3].Value());
  // Showing the menu again after it was closed loads it afresh.
  m.Unload();
  Intro& again = menu();
  for (auto& o : again.Option1) EXPECT_FALSE(o.Value());
}

// "Prosegui" with each choice against each state of the data file.
struct ProseguiCase {
  const char* name;
  int choice;                           // -1: nothing ticked
  std::optional<std::string> tipo;      // stored TIPO_RICHIEDENTE; nullopt: no data file
  std::string box;                      // the box shown, "" for none
  bool question;                        // Yes/No titled "Sovrascrivere"
  MsgResult answer;
  const char* opened;                   // the editing form opened, or null
};

void PrintTo(const ProseguiCase& c, std::ostream* os) { *os << c.name; }

class ProseguiTest : public IntroTest, public ::testing::WithParamInterface<ProseguiCase> {};

TEST_P(ProseguiTest, AsTheMenuDecides) {
  const ProseguiCase& c = GetParam();
  if (c.tipo) scrivi_dati({{"NOME_RICHIEDENTE", "MARIO"}, {"TIPO_RICHIEDENTE", *c.tipo}});
  std::string before;
  if (c.tipo) {
    leggi_file_dati([&](const VoceDati& v) {
      before += std::string(v.chiave) + "=" + std::string(v.valore) + ";";
      return true;
    });
  }

  Intro& m = menu();
  if (c.choice >= 0) {
    ASSERT_TRUE(ui_.click(m.Option1[c.choice]));
  }
  if (!c.box.empty()) {
    forms::TestDriver::ExpectedBox box;
    box.text = c.box;
    box.answer = c.answer;
    box.buttons = c.question ? MsgButtons::YesNo : MsgButtons::OK;
    box.icon = MsgIcon::None;
    box.title = c.question ? "Sovrascrivere" : rt_.Title();
    ui_.expect_box(box);
  }
  ASSERT_TRUE(ui_.click(m.Command1[2]));
  ui_.verify();
  if (!c.box.empty()) {
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].request.own_title, c.question);
    EXPECT_EQ(ui_.boxes()[0].request.default_button, c.question ? MsgResult::Yes : MsgResult::OK);
  } else {
    EXPECT_TRUE(ui_.boxes().empty());
  }

  if (c.opened) {
    EXPECT_EQ(opened_, std::vector<std::string>{c.opened});
    EXPECT_EQ(rt_.Find<Intro>(), nullptr) << "the menu is unloaded";
    ASSERT_NE(rt_.FindForm(c.opened), nullptr);
    EXPECT_TRUE(rt_.FindForm(c.opened)->Visible());
  } else {
    EXPECT_TRUE(opened_.empty());
    auto still = rt_.Find<Intro>();
    ASSERT_NE(still, nullptr) << "the menu stays";
    EXPECT_TRUE(still->Visible());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(still->Option1[i].Value(), i == c.choice) << i;
  }

  // The data file: created only by the application paths' lookup; never
  // changed by a question's answer.
  bool reads_type = c.choice == 0 || c.choice == 1;
  EXPECT_EQ(esiste_file(dati()), c.tipo.has_value() || reads_type);
  if (c.tipo) {
    std::string after;
    leggi_file_dati([&](const VoceDati& v) {
      after += std::string(v.chiave) + "=" + std::string(v.valore) + ";";
      return true;
    });
    EXPECT_EQ(after, before);
  } else if (reads_type) {
    EXPECT_EQ(fs::file_size(dati()), 0u);
  }
}

const std::string kSceltaMancante = "Deve selezionare una scelta!";
const std::string kRifiutoAtto = "Per riempire l'atto notorio bisogna riempire prima la sevrina!";
const std::string kRifiutoQuadro = "Per riempire il quadro economico bisogna riempire prima la sevrina!";

INSTANTIATE_TEST_SUITE_P(
    Menu, ProseguiTest,
    ::testing::Values(
        ProseguiCase{"NoChoiceNoFile", -1, std::nullopt, kSceltaMancante, false, MsgResult::OK, nullptr},
        ProseguiCase{"NoChoiceWithFile", -1, "Amministratore", kSceltaMancante, false, MsgResult::OK, nullptr},
        ProseguiCase{"CondominioNoFile", 0, std::nullopt, "", false, MsgResult::OK, "sevrina_condomini"},
        ProseguiCase{"CondominioOverOwnerNo", 0, "Unico Proprietario", kDomandaCondominio, true, MsgResult::No,
                     nullptr},
        ProseguiCase{"CondominioOverOwnerYes", 0, "Unico Proprietario", kDomandaCondominio, true, MsgResult::Yes,
                     "sevrina_condomini"},
        ProseguiCase{"CondominioOverLowerCaseOwner", 0, "  delegato del proprietario/i ", kDomandaCondominio, true,
                     MsgResult::No, nullptr},
        ProseguiCase{"CondominioOverCondominio", 0, "Amministratore", "", false, MsgResult::OK,
                     "sevrina_condomini"},
        ProseguiCase{"OwnerNoFile", 1, std::nullopt, "", false, MsgResult::OK, "sevrina_proprietari"},
        ProseguiCase{"OwnerOverCondominioNo", 1, "Amministratore", kDomandaProprietario, true, MsgResult::No,
                     nullptr},
        ProseguiCase{"OwnerOverCondominioYes", 1, "Amministratore", kDomandaProprietario, true, MsgResult::Yes,
                     "sevrina_proprietari"},
        ProseguiCase{"OwnerOverBlankType", 1, "   ", "", false, MsgResult::OK, "sevrina_proprietari"},
        ProseguiCase{"OwnerOverDelegate", 1, "Delegato del Proprietario/i", "", false, MsgResult::OK,
                     "sevrina_proprietari"},
        ProseguiCase{"DeclarationsNoFile", 2, std::nullopt, kRifiutoAtto, false, MsgResult::OK, nullptr},
        ProseguiCase{"DeclarationsWithFile", 2, "", "", false, MsgResult::OK, "atto_notorio"},
        ProseguiCase{"CostTableNoFile", 3, std::nullopt, kRifiutoQuadro, false, MsgResult::OK, nullptr},
        ProseguiCase{"CostTableWithFile", 3, "Amministratore", "", false, MsgResult::OK, "quadro_economico"}),
    [](const ::testing::TestParamInfo<ProseguiCase>& info) { return std::string(info.param.name); });

TEST_F(IntroTest, TheDataFileIsFoundWhateverTheCaseOfItsName) {
  {
    std::ofstream(cartella_ / "dati.dat").put('\0');
  }
  fs::resize_file(cartella_ / "dati.dat", 0);
  Intro& m = menu();
  ASSERT_TRUE(ui_.click(m.Option1[3]));
  ASSERT_TRUE(ui_.click(m.Command1[2]));
  EXPECT_EQ(opened_, std::vector<std::string>{"quadro_economico"});
}

TEST_F(IntroTest, AnEditingFormReturnsToAFreshMenu) {
  Intro& m = menu();
  ASSERT_TRUE(ui_.click(m.Option1[0]));
  ASSERT_TRUE(ui_.click(m.Command1[2]));
  ASSERT_EQ(rt_.Find<Intro>(), nullptr);
  // What an editing form's "Menu" button does.
  ASSERT_TRUE(show_menu());
  auto back = rt_.Find<Intro>();
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->Visible());
  for (auto& o : back->Option1) EXPECT_FALSE(o.Value());
}

TEST_F(IntroTest, AMissingEditingFormBringsTheMenuBack) {
  register_form(EditingForm::QuadroEconomico, nullptr);
  std::ofstream(dati()).close();
  Intro& m = menu();
  ASSERT_TRUE(ui_.click(m.Option1[3]));
  ui_.expect_box(u8"Questo modulo non è disponibile."_w1252);
  ASSERT_TRUE(ui_.click(m.Command1[2]));
  EXPECT_FALSE(rt_.Ended());
  auto back = rt_.Find<Intro>();
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->Visible());
}

TEST_F(IntroTest, AiutoShowsTheMenuHelpModally) {
  Intro& m = menu();
  bool menu_blocked = false;
  ui_.on_modal("Help_intro", [&](forms::Form& help) {
    EXPECT_EQ(help.Caption(), "Help");
    menu_blocked = !rt_.AcceptsInput(m);
    EXPECT_FALSE(ui_.click(m.Command1[2])) << "the menu takes no input while the help is open";
    ui_.close(help);
  });
  ASSERT_TRUE(ui_.click(m.Command1[1]));
  EXPECT_EQ(ui_.modal_shown(), std::vector<std::string>{"Help_intro"});
  EXPECT_TRUE(menu_blocked);
  EXPECT_EQ(rt_.Find<Help_intro>(), nullptr);
  EXPECT_TRUE(m.Visible());
  EXPECT_TRUE(rt_.AcceptsInput(m));
}

TEST_F(IntroTest, StampaDatiShowsTheFirstFailure) {
  // An empty data file: no required field fails, the applicant is neither
  // kind, and the works check is the first to fail.
  Intro& m = menu();
  forms::TestDriver::ExpectedBox box;
  box.text = "Bisogna selezionare almeno un intervento nella sevrina!";
  box.buttons = MsgButtons::OK;
  box.icon = MsgIcon::None;
  box.title = rt_.Title();
  ui_.expect_box(box);
  ASSERT_TRUE(ui_.click(m.Command1[0]));
  ui_.verify();
  EXPECT_FALSE(ui_.boxes().at(0).request.own_title);
  EXPECT_EQ(documents_.output_steps, 0);
  EXPECT_TRUE(m.Visible()) << "the menu stays as it was";
  EXPECT_TRUE(esiste_file(dati())) << "the check's reading creates the file";
}

TEST_F(IntroTest, StampaDatiOpensTheOutputStepWhenEverythingPasses) {
  std::vector<Dato> d = {
      {"TIPO_RICHIEDENTE", "Amministratore"},
      {"NOME_RICHIEDENTE", "MARIO"},
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080110"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080111"},
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"},
      {"MANUTENZIONE_ORDINARIA_SI_NO", "S"},
      {"CENTRO_STORICO_URBANO_SI_NO", "S"},
      {"DATA", "20080301"},
      {"DATA_ATTO_NOTORIO", "20080301"},
      {"IMPORTO_LAVORI_NETTO_IVA", "1000,00"},
      {"ONERI_SICUREZZA_NETTO_IVA", "100,00"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "500,00"},
      {"SPESE_GENERALI_STIMATE", "50,00"},
      {"DATA_QUADRO_ECONOMICO", "20080201"},
      {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
      {"VOLUME_FUORI_TERRA_OLTRE", "N"},
      {"CONTRIBUTO_PREMIALE", "0"},
      {"RELAZIONE_TECNICA_DEL_PROGETTISTA_SI_NO", "N"},
      {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "N"},
  };
  for (const char* k : {"DELIBERA_ASSEMBLEARE_SI_NO", "DICHIARAZIONI_SOSTITUTIVE_SI_NO", "PROVVEDIMENTO_EDILIZIO_SI_NO",
                        "RELAZIONE_LAVORI_SI_NO", "DOCUMENTAZIONE_FOTOGRAFICA_SI_NO",
                        "PLANIMETRIA_DI_INQUADRAMENTO_SI_NO", "STRALCIO_DEL_PRG_SI_NO", "COMPUTO_METRICO_SI_NO",
                        "COPIA_SU_SUPPORTO_ELETTRONICO_ISTANZA_SI_NO"}) {
    d.push_back({k, "S"});
  }
  // A condominium's thirteen declarations: A to D and F to N.
  for (char l : std::string("ABCDFGHIJKLMN")) d.push_back({std::string("ATTO_NOTORIO_") + l, "S"});
  scrivi_dati(d);
  ASSERT_EQ(stampa_dati(), std::nullopt) << "the data file above passes every check";

  Intro& m = menu();
  ASSERT_TRUE(ui_.click(m.Command1[0]));
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_EQ(documents_.output_steps, 1);
  EXPECT_TRUE(m.Visible());
}

TEST_F(IntroTest, AnUnreadableDataFileIsReportedNotThrown) {
  // A folder where the data file should be: the file cannot be opened.
  fs::create_directory(dati());
  std::string messaggio;
  try {
    (void)stampa_dati();
  } catch (const ErroreFileDati& e) {
    messaggio = e.messaggio();
  }
  ASSERT_FALSE(messaggio.empty());

  Intro& m = menu();
  forms::TestDriver::ExpectedBox box;
  box.text = messaggio;
  box.icon = MsgIcon::Critical;
  ui_.expect_box(box);
  ASSERT_TRUE(ui_.click(m.Command1[0]));

  box.answer = MsgResult::OK;
  ui_.expect_box(box);
  ASSERT_TRUE(ui_.click(m.Option1[0]));
  ASSERT_TRUE(ui_.click(m.Command1[2]));
  EXPECT_TRUE(opened_.empty());
  EXPECT_TRUE(m.Visible());
}

TEST_F(IntroTest, KeyboardReachesEveryButton) {
  Intro& m = menu();
  // One stop for the option group, then the three buttons, in that order.
  auto stops = m.TabStops();
  ASSERT_EQ(stops.size(), 4u);
  EXPECT_EQ(stops[0], &m.Option1[0]);
  EXPECT_EQ(stops[1], &m.Command1[0]);
  EXPECT_EQ(stops[2], &m.Command1[1]);
  EXPECT_EQ(stops[3], &m.Command1[2]);
  // Arrow keys pick a choice, Tab reaches "Prosegui", Enter presses it.
  ASSERT_TRUE(ui_.focus(m.Option1[0]));
  ASSERT_TRUE(ui_.type("{DOWN}"));
  EXPECT_TRUE(m.Option1[1].Value());
  ASSERT_TRUE(ui_.type("{TAB}{TAB}{TAB}"));
  EXPECT_TRUE(m.Command1[2].HasFocus());
  ASSERT_TRUE(ui_.enter());
  EXPECT_EQ(opened_, std::vector<std::string>{"sevrina_proprietari"});
}

}  // namespace
}  // namespace sevrina
