#pragma once
// The forms runtime: everything a form, a view or a test needs.
//
//  - types.h          colours, fonts, key codes, message-box and property enums
//  - controls.h       the controls and their properties
//  - control_array.h  indexed control arrays, with gaps
//  - form.h           the form base class and its lifecycle
//  - runtime.h        the runtime: forms, focus, events, keys, timers,
//                     message boxes, the view's interfaces (EventLoop,
//                     MessageBoxes, Observer) and the user's input
//  - test_driver.h    the headless driver for tests

//
// Writing a form (see tests/platform/forms/example_form.h):
//   class Intro : public forms::Form {
//    public:
//     explicit Intro(forms::Runtime& rt) : Form(rt, "Intro") {
//       SetCaption("Intro");
//       SetClientSize(11880, 8190);
//       for (int i = 0; i < 4; ++i) Option1.Add(i).SetContainer(Frame1);
//       Command1.Add(0).SetCaption("Stampa Dati");
//       Command1.OnClick([this](int Index) { Command1_Click(Index); });
//     }
//     forms::Frame Frame1{this, "Frame1"};
//     forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
//     forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
//    protected:
//     void Form_Load() override { ... }
//    private:
//     void Command1_Click(int Index) { ... }
//   };
// Opening it: rt.Load<Intro>()->Show();  modally: ->Show(forms::ShowMode::Modal).
// Testing it: forms::TestDriver (test_driver.h) types, clicks, tabs, answers
// message boxes from a script and runs the timers.

#include "platform/forms/control_array.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/runtime.h"
#include "platform/forms/test_driver.h"
#include "platform/forms/types.h"
