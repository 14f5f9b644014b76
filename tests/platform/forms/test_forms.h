#pragma once
// A test bench form with one of every control and a log of every event, for
// the runtime's own tests, and the fixture that loads it under the driver.

#include <gtest/gtest.h>

#include <string>

#include "platform/forms/forms.h"
#include "platform/forms/gtest_support.h"

namespace bench {

class Banco : public forms::Form {
 public:
  explicit Banco(forms::Runtime& rt) : Form(rt, "Banco") {
    SetClientSize(8000, 6000);
    Frame1.Move(0, 0, 4000, 4000);
    Frame2.Move(4000, 0, 4000, 4000);
    // Tab order: Text1(0), Check1(0), Option1(0..2) in Frame1, Text1(1) in
    // Frame2, Option2(0..1) in Frame2, Combo1, Text1(5), Command1(0..1),
    // VScroll1.
    int tab = 0;
    Text1.Add(0).SetTabIndex(tab++);
    Check1.Add(0).SetTabIndex(tab++);
    for (int i = 0; i < 3; ++i) {
      Option1.Add(i).SetContainer(Frame1);
      Option1[i].SetTabIndex(tab++);
    }
    Text1.Add(1).SetContainer(Frame2);
    Text1[1].SetTabIndex(tab++);
    for (int i = 0; i < 2; ++i) {
      Option2.Add(i).SetContainer(Frame2);
      Option2[i].SetTabIndex(tab++);
    }
    Combo1.SetTabIndex(tab++);
    Text1.Add(5).SetTabIndex(tab++);
    Command1.Add(0).SetCaption("&Salva");
    Command1[0].SetTabIndex(tab++);
    Command1.Add(1).SetCaption("A&iuto");
    Command1[1].SetTabIndex(tab++);
    VScroll1.SetTabIndex(tab++);
    Label1.SetCaption("&Nome");
    Label1.SetTabIndex(0);  // ties with Text1(0): the label was created first
    Timer1.SetInterval(1);
    Timer1.SetEnabled(false);

    auto named = [](const char* what, int i) { return std::string(what) + std::to_string(i) + " "; };
    Text1.OnChange([=, this](int i) { log += named("change", i); });
    Text1.OnGotFocus([=, this](int i) {
      log += named("got", i);
      if (on_got) on_got(i);
    });
    Text1.OnLostFocus([=, this](int i) {
      log += named("lost", i);
      if (on_lost) on_lost(i);
    });
    Text1.OnKeyPress([=, this](int i, int& k) {
      log += named("key", i);
      if (on_key) on_key(i, k);
    });
    Check1.OnClick([=, this](int i) { log += named("check", i); });
    Check1.OnKeyPress([=, this](int i, int&) { log += named("checkkey", i); });
    Option1.OnClick([=, this](int i) { log += named("opt1_", i); });
    Option2.OnClick([=, this](int i) { log += named("opt2_", i); });
    Combo1.OnClick([this] { log += "combo" + std::to_string(Combo1.ListIndex()) + " "; });
    Command1.OnClick([=, this](int i) {
      log += named("cmd", i);
      if (on_command) on_command(i);
    });
    Command1.OnGotFocus([=, this](int i) { log += named("cmdgot", i); });
    VScroll1.OnChange([this] { log += "scroll" + std::to_string(VScroll1.Value()) + " "; });
    Timer1.OnTimer([this] {
      log += "timer ";
      if (on_timer) on_timer();
    });
  }

  forms::Frame Frame1{this, "Frame1"};
  forms::Frame Frame2{this, "Frame2"};
  forms::Label Label1{this, "Label1"};
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ControlArray<forms::CheckBox> Check1{this, "Check1"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
  forms::ControlArray<forms::OptionButton> Option2{this, "Option2"};
  forms::ComboBox Combo1{this, "Combo1"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
  forms::VScrollBar VScroll1{this, "VScroll1"};
  forms::Timer Timer1{this, "Timer1"};

  std::string log;
  int loads = 0;
  int query_cancel = 0;
  std::function<void(int)> on_got, on_lost, on_command;
  std::function<void(int, int&)> on_key;
  std::function<void()> on_timer, on_load;

 protected:
  void Form_Load() override {
    ++loads;
    log += "load ";
    if (on_load) on_load();
  }
  void Form_QueryUnload(int& Cancel, forms::UnloadMode mode) override {
    log += "query" + std::to_string(static_cast<int>(mode)) + " ";
    Cancel = query_cancel;
  }
  void Form_Unload(int&) override { log += "unload "; }
};

// A plain modal dialog.
class Dialogo : public forms::Form {
 public:
  explicit Dialogo(forms::Runtime& rt) : Form(rt, "Dialogo") { Text1.SetTabIndex(0); }
  forms::TextBox Text1{this, "Text1"};
};

// The bench loaded (not shown), driven by a driver whose failures fail the test.
class BancoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::fail_test_on_driver_failure(ui);
    f = rt.Load<Banco>();
  }
  forms::Runtime rt;
  forms::TestDriver ui{rt};
  std::shared_ptr<Banco> f;
};

}  // namespace bench
