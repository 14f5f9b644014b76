// The start-up menu, driven headless: the questions and refusals of
// "Prosegui" for each choice and data file, and "Stampa Dati" opening the
// output step when the data file passes the final check.

#include "app/shell/intro.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/shell/document_services.h"
#include "app/shell/final_check.h"
#include "app/shell/form_registry.h"
#include "app/shell/store.h"
#include "platform/forms/gtest_support.h"
#include "platform/text/cp1252.h"
#include "tests/app/shell/shell_test_support.h"

namespace sevrina {
namespace {

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

const std::pair<EditingForm, const char*> kForms[] = {
    {EditingForm::SevrinaCondomini, "sevrina_condomini"},
    {EditingForm::SevrinaProprietari, "sevrina_proprietari"},
    {EditingForm::AttoNotorio, "atto_notorio"},
    {EditingForm::QuadroEconomico, "quadro_economico"},
};

class IntroTest : public CartellaProgramma {
 protected:
  void SetUp() override {
    CartellaProgramma::SetUp();
    forms::fail_test_on_driver_failure(ui_);
    set_document_services(&documents_);
    for (const auto& [form, name] : kForms) {
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
    for (const auto& [form, name] : kForms) register_form(form, nullptr);
    CartellaProgramma::TearDown();
  }

  Intro& menu() {
    mostra_intro(rt_);
    auto m = rt_.Find<Intro>();
    EXPECT_NE(m, nullptr);
    return *m;
  }

  forms::Runtime rt_;
  forms::TestDriver ui_{rt_};
  FakeDocuments documents_;
  std::vector<std::string> opened_;
};

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
  const std::string before = leggi_byte();

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
  if (c.tipo || reads_type) {
    EXPECT_EQ(leggi_byte(), before);  // empty when it was created
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

TEST_F(IntroTest, StampaDatiOpensTheOutputStepWhenEverythingPasses) {
  scrivi_byte(in_byte(completo()));
  ASSERT_EQ(stampa_dati(), std::nullopt) << "the data file above passes every check";

  Intro& m = menu();
  ASSERT_TRUE(ui_.click(m.Command1[0]));
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_EQ(documents_.output_steps, 1);
  EXPECT_TRUE(m.Visible());
}

}  // namespace
}  // namespace sevrina
