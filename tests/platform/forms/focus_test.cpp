// Focus: who may take the focus, the Tab order across containers with one
// stop per option group, and a typed Tab running after the key's handler.

#include "tests/platform/forms/test_forms.h"

namespace {

class FocusTest : public bench::BancoTest {
 protected:
  void SetUp() override {
    BancoTest::SetUp();
    f->Show();
  }
  // The controls Tab visits from the focused one, as full names.
  std::vector<std::string> tab_round(int count, bool backwards = false) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
      backwards ? ui.shift_tab() : ui.tab();
      auto* c = rt.FocusedControl();
      out.push_back(c ? c->FullName() : "-");
    }
    return out;
  }
};

TEST_F(FocusTest, WhoTakesTheFocus) {
  struct Case {
    const char* what;
    std::function<void()> setup;
    forms::Control* target;
    bool takes;
  };
  const Case cases[] = {
      {"enabled text box", [] {}, &f->Text1[1], true},
      {"disabled", [&] { f->Text1[1].SetEnabled(false); }, &f->Text1[1], false},
      {"hidden", [&] { f->Text1[1].SetVisible(false); }, &f->Text1[1], false},
      {"hidden container", [&] { f->Frame2.SetVisible(false); }, &f->Text1[1], false},
      {"disabled container", [&] { f->Frame2.SetEnabled(false); }, &f->Text1[1], false},
      {"locked text box", [&] { f->Text1[1].SetLocked(true); }, &f->Text1[1], true},
      {"label", [] {}, &f->Label1, false},
      {"frame", [] {}, &f->Frame1, false},
      {"scroll bar", [] {}, &f->VScroll1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    f->Text1[1].SetEnabled(true);
    f->Text1[1].SetVisible(true);
    f->Text1[1].SetLocked(false);
    f->Frame2.SetVisible(true);
    f->Frame2.SetEnabled(true);
    ui.focus(f->Text1[0]);
    c.setup();
    EXPECT_EQ(c.target->CanTakeFocus(), c.takes);
    EXPECT_EQ(ui.focus(*c.target), c.takes);
    EXPECT_EQ(c.target->HasFocus(), c.takes);
  }
  // A disabled control takes no key either.
  ui.focus(f->Text1[1]);
  f->Text1[1].SetEnabled(false);
  EXPECT_FALSE(ui.type("a"));
  EXPECT_EQ(f->Text1[1].Text(), "");
}

TEST_F(FocusTest, TabOrderAcrossContainersWithOneStopPerOptionGroup) {
  // No option selected: the first of each group is its stop.
  EXPECT_EQ(tab_round(9), (std::vector<std::string>{"Check1(0)", "Option1(0)", "Text1(1)", "Option2(0)", "Combo1",
                                                    "Text1(5)", "Command1(0)", "Command1(1)", "VScroll1"}));
  EXPECT_EQ(tab_round(1), (std::vector<std::string>{"Text1(0)"}));  // wraps
  // The selected button is the group's stop.
  f->Option1[2].SetValue(true);
  EXPECT_EQ(tab_round(3), (std::vector<std::string>{"Check1(0)", "Option1(2)", "Text1(1)"}));
  // Skipped: disabled, hidden, without tab stop, inside a hidden frame.
  f->Combo1.SetEnabled(false);
  f->Text1[5].SetTabStop(false);
  f->Command1[0].SetVisible(false);
  EXPECT_EQ(tab_round(3), (std::vector<std::string>{"Option2(0)", "Command1(1)", "VScroll1"}));
  f->Frame2.SetVisible(false);
  EXPECT_EQ(tab_round(4), (std::vector<std::string>{"Text1(0)", "Check1(0)", "Option1(2)", "Command1(1)"}));
  // Shift+Tab goes back.
  EXPECT_EQ(tab_round(3, true), (std::vector<std::string>{"Option1(2)", "Check1(0)", "Text1(0)"}));
  // A locked text box is a stop.
  f->Text1[0].SetLocked(true);
  EXPECT_EQ(tab_round(1, true), (std::vector<std::string>{"VScroll1"}));
  EXPECT_EQ(tab_round(1), (std::vector<std::string>{"Text1(0)"}));
}

TEST_F(FocusTest, SimulatedTabRunsAfterTheHandlerAndTheKey) {
  ui.focus(f->Text1[0]);
  std::string seen_in_handler;
  f->on_key = [&](int i, int& k) {
    if (i != 0) return;
    f->SendKeys("{TAB}");
    // Still here while the handler runs.
    seen_in_handler = rt.FocusedControl()->FullName();
  };
  f->log.clear();
  ui.type("q");
  EXPECT_EQ(seen_in_handler, "Text1(0)");
  // The key went into Text1(0) first, then the Tab moved on.
  EXPECT_EQ(f->Text1[0].Text(), "q");
  EXPECT_TRUE(f->Check1[0].HasFocus());
  EXPECT_EQ(f->log, "key0 change0 lost0 ");
}

}  // namespace
