#pragma once
// A small form written the way the program's forms are: controls as members
// (single controls and indexed arrays, with a gap), design-time set-up in the
// constructor, handlers named after control and event and wired in the
// constructor, Form_Load, a one-shot focus timer and a modal child form. The
// Qt view's tests drive it.

#include <string>

#include "platform/forms/forms.h"

namespace example {

// A modal child with one button that closes it.
class HelpForm : public forms::Form {
 public:
  explicit HelpForm(forms::Runtime& rt) : Form(rt, "HelpForm") {
    SetCaption("Help");
    SetClientSize(3000, 2000);
    Command1.SetCaption("&Chiudi");
    Command1.Move(120, 120, 1200, 400);
    Command1.OnClick([this] { Unload(); });
  }

  forms::CommandButton Command1{this, "Command1"};
};

class ExampleForm : public forms::Form {
 public:
  explicit ExampleForm(forms::Runtime& rt) : Form(rt, "ExampleForm") {
    SetCaption("Esempio");
    SetClientSize(6000, 4000);

    // A viewport frame and a page inside it.
    Frame1.Move(600, 120, 5000, 3000);
    Frame2.SetContainer(Frame1);
    Frame2.Move(0, 0, 5000, 9000);

    // Text1(0), Text1(1) and Text1(3): index 2 is a gap.
    for (int i : {0, 1, 3}) {
      auto& t = Text1.Add(i);
      t.SetContainer(Frame2);
      t.Move(120, 120 + 400 * i, 2000, 300);
      t.SetBackColor(forms::kWhite);
      t.SetTabIndex(i);
    }
    Text1[1].SetMaxLength(2);

    Check1.Add(0).SetContainer(Frame2);
    Check1[0].SetCaption("Scelta");
    Check1[0].SetTabIndex(4);

    for (int i = 0; i < 2; ++i) {
      auto& o = Option1.Add(i);
      o.SetContainer(Frame2);
      o.SetCaption(i == 0 ? "uno" : "due");
      o.SetTabIndex(5 + i);
    }

    Combo1.SetContainer(Frame2);
    Combo1.AddItem("PRIMO");
    Combo1.AddItem("SECONDO");
    Combo1.SetTabIndex(7);

    Command1.Add(0).SetCaption("&Salva");
    Command1[0].SetTabIndex(8);
    Command1.Add(1).SetCaption("&Aiuto");
    Command1[1].SetTabIndex(9);

    VScroll1.Move(5640, 120, 255, 3000);
    VScroll1.SetTabIndex(10);
    VScroll1.SetSmallChange(100);
    VScroll1.SetLargeChange(200);

    Timer1.SetInterval(1);
    Timer1.SetEnabled(true);

    // Handlers.
    Text1.OnGotFocus([this](int Index) { Text1_GotFocus(Index); });
    Text1.OnLostFocus([this](int Index) { Text1_LostFocus(Index); });
    Text1.OnKeyPress([this](int Index, int& KeyAscii) { Text1_KeyPress(Index, KeyAscii); });
    Text1.OnChange([this](int Index) { Text1_Change(Index); });
    Check1.OnClick([this](int Index) { Check1_Click(Index); });
    Option1.OnClick([this](int Index) { Option1_Click(Index); });
    Combo1.OnClick([this] { Combo1_Click(); });
    Command1.OnClick([this](int Index) { Command1_Click(Index); });
    VScroll1.OnChange([this] { VScroll1_Change(); });
    Timer1.OnTimer([this] { Timer1_Timer(); });
  }

  // Controls.
  forms::Frame Frame1{this, "Frame1"};
  forms::Frame Frame2{this, "Frame2"};
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ControlArray<forms::CheckBox> Check1{this, "Check1"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
  forms::ComboBox Combo1{this, "Combo1"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
  forms::VScrollBar VScroll1{this, "VScroll1"};
  forms::Timer Timer1{this, "Timer1"};

  std::string log;  // what the handlers saw, for the tests

 protected:
  void Form_Load() override {
    VScroll1.SetMin(32767);
    VScroll1.SetMax(5400);
  }

 private:
  void Timer1_Timer() {
    Text1[0].SetFocus();
    Timer1.SetEnabled(false);
  }
  void Text1_GotFocus(int Index) {
    log += "G" + std::to_string(Index);
    Text1[Index].SetBackColor(forms::kLightCyan);
  }
  void Text1_LostFocus(int Index) {
    log += "L" + std::to_string(Index);
    Text1[Index].SetBackColor(forms::kWhite);
  }
  void Text1_KeyPress(int, int& KeyAscii) {
    if (KeyAscii == forms::kKeyEnter) {
      SendKeys("{TAB}");
      return;
    }
    if (KeyAscii == 'x') KeyAscii = 0;  // refused
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 32;  // upper case
  }
  void Text1_Change(int Index) { log += "C" + std::to_string(Index); }
  void Check1_Click(int Index) { log += "K" + std::to_string(Check1[Index].Value()); }
  void Option1_Click(int Index) { log += "O" + std::to_string(Index); }
  void Combo1_Click() { log += "B" + std::to_string(Combo1.ListIndex()); }
  void Command1_Click(int Index) {
    if (Index != 1) return;
    App().Load<HelpForm>()->Show(forms::ShowMode::Modal);
    log += "H";
  }
  void VScroll1_Change() { Frame2.SetTop(static_cast<float>(VScroll1.Value()) * 9000.0f / 32767.0f - 9000.0f); }
};

}  // namespace example
