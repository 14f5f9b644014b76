// The start-up menu, driven headless: which form "Prosegui" opens for each
// choice, and the questions and refusals that can stop it.

#include "app/shell/intro.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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
    register_menu(nullptr);
    for (const auto& [form, name] : kForms) register_form(form, nullptr);
    CartellaProgramma::TearDown();
  }

  forms::Runtime rt_;
  forms::TestDriver ui_{rt_};
  std::vector<std::string> opened_;
};

// "Prosegui" with each choice against a state of the data file.
struct ProseguiCase {
  const char* name;
  int choice;                       // -1: nothing ticked
  std::optional<std::string> tipo;  // stored TIPO_RICHIEDENTE; nullopt: no data file
  std::string box;                  // the box shown, "" for none
  bool question;                    // Yes/No titled "Sovrascrivere"
  MsgResult answer;
  const char* opened;               // the editing form opened, or null
};

void PrintTo(const ProseguiCase& c, std::ostream* os) { *os << c.name; }

class ProseguiTest : public IntroTest, public ::testing::WithParamInterface<ProseguiCase> {};

TEST_P(ProseguiTest, AsTheMenuDecides) {
  const ProseguiCase& c = GetParam();
  if (c.tipo) scrivi_dati({{"NOME_RICHIEDENTE", "MARIO"}, {"TIPO_RICHIEDENTE", *c.tipo}});
  const std::string before = leggi_byte();

  mostra_intro(rt_);
  auto m = rt_.Find<Intro>();
  ASSERT_NE(m, nullptr);
  if (c.choice >= 0) {
    ASSERT_TRUE(ui_.click(m->Option1[c.choice]));
  }
  if (!c.box.empty()) {
    ui_.expect_box({c.box, c.answer, c.question ? std::string("Sovrascrivere") : rt_.Title(),
                    c.question ? MsgButtons::YesNo : MsgButtons::OK, MsgIcon::None});
  }
  ASSERT_TRUE(ui_.click(m->Command1[2]));
  ui_.verify();
  EXPECT_EQ(ui_.boxes().size(), c.box.empty() ? 0u : 1u);

  if (c.opened) {
    EXPECT_EQ(opened_, std::vector<std::string>{c.opened});
    EXPECT_EQ(rt_.Find<Intro>(), nullptr) << "the menu is unloaded";
  } else {
    EXPECT_TRUE(opened_.empty());
    ASSERT_NE(rt_.Find<Intro>(), nullptr) << "the menu stays";
  }
  // A question's answer never changes the data file.
  if (c.tipo) {
    EXPECT_EQ(leggi_byte(), before);
  }
}

const std::string kDomandaCondominio =
    u8"La sevrina già è stata creata per un proprietario (o Delegato del Proprietario/i), sei sicuro di volerla "
    u8"modificare con una per condominii ?"_w1252;
const std::string kDomandaProprietario =
    u8"La sevrina già è stata creata per un condominio, sei sicuro di volerla modificare con una per un "
    u8"proprietario (o Delegato del Proprietario/i) ?"_w1252;

INSTANTIATE_TEST_SUITE_P(
    Menu, ProseguiTest,
    ::testing::Values(
        ProseguiCase{"NoChoice", -1, std::nullopt, "Deve selezionare una scelta!", false, MsgResult::OK, nullptr},
        ProseguiCase{"CondominioNoFile", 0, std::nullopt, "", false, MsgResult::OK, "sevrina_condomini"},
        ProseguiCase{"CondominioOverLowerCaseOwnerNo", 0, "  delegato del proprietario/i ", kDomandaCondominio, true,
                     MsgResult::No, nullptr},
        ProseguiCase{"OwnerOverCondominioYes", 1, "Amministratore", kDomandaProprietario, true, MsgResult::Yes,
                     "sevrina_proprietari"},
        ProseguiCase{"OwnerOverBlankType", 1, "   ", "", false, MsgResult::OK, "sevrina_proprietari"},
        ProseguiCase{"DeclarationsNoFile", 2, std::nullopt,
                     "Per riempire l'atto notorio bisogna riempire prima la sevrina!", false, MsgResult::OK, nullptr},
        ProseguiCase{"DeclarationsWithFile", 2, "", "", false, MsgResult::OK, "atto_notorio"},
        ProseguiCase{"CostTableNoFile", 3, std::nullopt,
                     "Per riempire il quadro economico bisogna riempire prima la sevrina!", false, MsgResult::OK,
                     nullptr},
        ProseguiCase{"CostTableWithFile", 3, "Amministratore", "", false, MsgResult::OK, "quadro_economico"}),
    [](const ::testing::TestParamInfo<ProseguiCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sevrina
