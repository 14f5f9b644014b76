#pragma once
// The start-up menu `Intro`: the program's first window. Four choices (the
// condominium application, the owner application, the sworn declarations,
// the cost table) and three buttons: "Stampa Dati" runs the final check and,
// when it passes, the output step; "Aiuto" shows the menu's help form
// modally; "Prosegui" unloads the menu and opens the chosen editing form
// through the form registry. The menu keeps no data: what it decides it
// reads from the data file.

#include "platform/forms/forms.h"

namespace sevrina {

class Intro final : public forms::Form {
 public:
  explicit Intro(forms::Runtime& rt);

  forms::PictureBox Picture1{this, "Picture1"};  // the municipality's emblem
  forms::PictureBox Picture2{this, "Picture2"};  // the programme's logo
  forms::Label Label1{this, "Label1"};
  forms::Label Label2{this, "Label2"};
  forms::Frame Frame1{this, "Frame1"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};

 protected:
  void Form_Load() override;

 private:
  void Command1_Click(int Index);
  void prosegui();
};

// Registers the menu's opener (the editing forms' "Menu" button goes back
// through it) and loads and shows the menu.
void register_intro(forms::Runtime& rt);
void mostra_intro(forms::Runtime& rt);

}  // namespace sevrina
