// Form and field helpers: centring, filling a field, focusing and selecting
// a field, selecting a combo entry by its text, the filter bridge.

#include "app/shell/form_helpers.h"

#include <gtest/gtest.h>

#include "platform/forms/gtest_support.h"
#include "platform/text/cp1252.h"

namespace {

using namespace cp1252::literals;
using sevrina::centra_form;
using sevrina::imposta_testo;
using sevrina::seleziona_campo;
using sevrina::seleziona_combo;

class Campi : public forms::Form {
 public:
  explicit Campi(forms::Runtime& rt) : Form(rt, "Campi") {
    SetClientSize(6000, 3000);
    for (int i = 0; i < 3; ++i) Text1.Add(i).SetTabIndex(i);
    Check1.Add(0).SetTabIndex(3);
    Altro.SetTabIndex(4);
    Combo1.SetTabIndex(5);
    Combo1.AddItem("CENTRO");
    Combo1.AddItem("  San Lorenzo ");
    Combo1.AddItem("centro");
    Text1.OnChange([this](int i) { log += "C" + std::to_string(i); });
    Combo1.OnClick([this] { log += "K" + std::to_string(Combo1.ListIndex()); });
  }
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ControlArray<forms::CheckBox> Check1{this, "Check1"};
  forms::TextBox Altro{this, "Campo"};  // a text box whose name lacks "Text"
  forms::ComboBox Combo1{this, "Combo1"};
  std::string log;
};

class FormHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override { forms::fail_test_on_driver_failure(ui); }
  forms::Runtime rt;
  forms::TestDriver ui{rt};
};

TEST_F(FormHelpersTest, CentraFormUsesTheOuterSizeWithoutClamping) {
  struct Case {
    float screen_w, screen_h, client_w, client_h;
  };
  for (Case c : {Case{15360, 11520, 11880, 8190}, Case{9000, 6000, 11880, 8190}, Case{15360, 11520, 11070, 3915}}) {
    rt.SetScreenSize(c.screen_w, c.screen_h);
    auto f = std::make_shared<Campi>(rt);
    f->SetClientSize(c.client_w, c.client_h);
    centra_form(*f);
    float w = c.client_w + 2 * rt.FrameBorder();
    float h = c.client_h + 2 * rt.FrameBorder() + rt.TitleBarHeight();
    EXPECT_FLOAT_EQ(f->Left(), c.screen_w / 2 - w / 2);
    EXPECT_FLOAT_EQ(f->Top(), c.screen_h / 2 - h / 2);
  }
  // Larger than the screen: a negative position.
  rt.SetScreenSize(9000, 6000);
  auto f = std::make_shared<Campi>(rt);
  f->SetClientSize(11880, 8190);
  centra_form(*f);
  EXPECT_LT(f->Left(), 0);
  EXPECT_LT(f->Top(), 0);
}

TEST_F(FormHelpersTest, ImpostaTesto) {
  auto f = rt.Load<Campi>();
  struct Case {
    std::optional<std::string> value;
    std::string shown;
  };
  const Case cases[] = {
      {"ROSSI", "ROSSI"},
      {"  due blank", "  due blank"},  // blanks kept
      {"   ", ""},                     // only blanks: emptied
      {"", ""},
      {std::nullopt, ""},
      {u8"perché "_w1252, u8"perché "_w1252},
  };
  for (const auto& c : cases) {
    f->Text1[0].SetText("prima");
    imposta_testo(f->Text1[0], c.value);
    EXPECT_EQ(f->Text1[0].Text(), c.shown);
  }
  // Change only when the text differs.
  f->Text1[1].SetText("X");
  f->log.clear();
  imposta_testo(f->Text1[1], std::string("X"));
  EXPECT_EQ(f->log, "");
  imposta_testo(f->Text1[1], std::string(" "));
  EXPECT_EQ(f->log, "C1");
  imposta_testo(f->Text1[1], std::nullopt);
  EXPECT_EQ(f->log, "C1");
}

TEST_F(FormHelpersTest, ImpostaTestoOnACombo) {
  auto f = rt.Load<Campi>();
  imposta_testo(f->Combo1, std::string("centro"));
  EXPECT_EQ(f->Combo1.ListIndex(), 0);  // the first entry equal ignoring case
  imposta_testo(f->Combo1, std::string(" "));
  EXPECT_EQ(f->Combo1.ListIndex(), -1);
}

TEST_F(FormHelpersTest, SelezionaCampo) {
  auto f = rt.Load<Campi>();
  f->Text1[0].SetText("abc");
  f->Text1[1].SetText("disabled");
  f->Text1[1].SetEnabled(false);
  f->Altro.SetText("xyz");

  // Not shown yet: the text is selected, the focus does not move.
  seleziona_campo(f->Text1[0]);
  EXPECT_EQ(f->ActiveControl(), nullptr);
  EXPECT_EQ(f->Text1[0].SelStart(), 0);
  EXPECT_EQ(f->Text1[0].SelLength(), 3);

  f->Show();
  ui.focus(f->Text1[2]);
  // A disabled text box: text selected, focus stays.
  seleziona_campo(f->Text1[1]);
  EXPECT_TRUE(f->Text1[2].HasFocus());
  EXPECT_EQ(f->Text1[1].SelLength(), 8);
  // An enabled one: focus and selection.
  seleziona_campo(f->Text1[0]);
  EXPECT_TRUE(f->Text1[0].HasFocus());
  EXPECT_EQ(f->Text1[0].SelLength(), 3);
  // A check box: focus, nothing selected.
  seleziona_campo(f->Check1[0]);
  EXPECT_TRUE(f->Check1[0].HasFocus());
  // A text box whose name lacks "Text": focus, no selection.
  seleziona_campo(f->Altro);
  EXPECT_TRUE(f->Altro.HasFocus());
  EXPECT_EQ(f->Altro.SelLength(), 0);
  // A hidden box does not take the focus.
  f->Text1[2].SetVisible(false);
  seleziona_campo(f->Text1[2]);
  EXPECT_TRUE(f->Altro.HasFocus());
}

TEST_F(FormHelpersTest, SelezionaCombo) {
  auto f = rt.Load<Campi>();
  struct Case {
    std::optional<std::string> value;
    int index;
    std::string clicks;
  };
  const Case cases[] = {
      {"centro ", 0, "K-1K0"},         // lower case, trailing blank: the capitals entry, the first match
      {"SAN LORENZO", 1, "K-1K1"},     // the entry's own blanks do not count
      {"Posillipo", -1, "K-1"},        // no match: the selection stays cleared
      {std::nullopt, -1, "K-1"},       // null: cleared only
  };
  for (const auto& c : cases) {
    f->Combo1.SetListIndex(2);
    f->log.clear();
    seleziona_combo(f->Combo1, c.value);
    EXPECT_EQ(f->Combo1.ListIndex(), c.index);
    EXPECT_EQ(f->log, c.clicks);
  }
  // Already without a selection: clearing raises nothing.
  f->Combo1.SetListIndex(-1);
  f->log.clear();
  seleziona_combo(f->Combo1, std::string("nessuno"));
  EXPECT_EQ(f->log, "");
}

TEST_F(FormHelpersTest, FilterBridgeCopiesTheBoxBackAndForth) {
  auto f = rt.Load<Campi>();
  auto& t = f->Text1[0];
  t.SetTag("MA");
  t.SetText("ab");
  t.SetSelStart(2);
  EXPECT_EQ(sevrina::filtra_tasto_casella(t, 'c'), 'C');
  EXPECT_EQ(sevrina::filtra_tasto_casella(t, '1'), 0);
  EXPECT_EQ(t.Text(), "ab");
  EXPECT_EQ(t.SelStart(), 2);
  t.SetTag("");
  EXPECT_EQ(sevrina::filtra_tasto_casella(t, '1'), '1');
}

}  // namespace
