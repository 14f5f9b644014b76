#pragma once
// The sworn-declaration form "atto_notorio": the applicant's data as the
// application stored them (display only), the fifteen declarations a) to o)
// and the date. Fourteen declarations are fixed by the program and written
// at every opening (salva_light); the user chooses only e) and the date.

#include <string>

#include "platform/forms/forms.h"

namespace sevrina {

class atto_notorio : public forms::Form {
 public:
  explicit atto_notorio(forms::Runtime& rt);
  ~atto_notorio() override;

  // Writes the fourteen fixed declarations: a) to d) and g) to o) "S", f)
  // "S" for an owner and "N" otherwise; never e).
  void salva_light();

  // Loads the applicant's data, the declarations and the date; `modificato`
  // ends at 0.
  void carica_sevrina();

  // Checks in order (a tick, the date, the date against the application's)
  // and writes the sixteen pairs. True when they were stored; a refused
  // save has shown its message and written nothing.
  bool salva();

  // 1 after any change by the user, 0 after loading; saving leaves it.
  int modificato = 0;

  forms::Label Label1{this, "Label1"};
  forms::Label Label5{this, "Label5"};
  forms::PictureBox Picture1{this, "Picture1"};
  forms::PictureBox Picture2{this, "Picture2"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
  forms::Frame Frame1{this, "Frame1"};
  forms::VScrollBar VScroll1{this, "VScroll1"};
  forms::Timer Timer1{this, "Timer1"};
  forms::Frame Frame2{this, "Frame2"};
  forms::ControlArray<forms::Label> Label2{this, "Label2"};
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ComboBox Combo2{this, "Combo2"};
  forms::ControlArray<forms::CheckBox> Check2{this, "Check2"};

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, forms::UnloadMode mode) override;

 private:
  void costruisci();
  void Timer1_Timer();
  void VScroll1_Change();
  void Text1_GotFocus(int Index);
  void Text1_LostFocus(int Index);
  void Text1_KeyPress(int Index, int& KeyAscii);
  void Combo2_KeyPress(int& KeyAscii);
  void Command1_Click(int Index);
  bool chiedi_e_salva();
};

// The sixteen keys a save writes, in order: ATTO_NOTORIO_A .. _O, then
// DATA_ATTO_NOTORIO.
std::string chiave_dichiarazione(int indice);

// The "Menu" question.
std::string domanda_menu_atto_notorio();

// Registers the opener the menu uses: loads the form afresh and shows it
// modelessly. Called by main and by tests.
void register_atto_notorio(forms::Runtime& rt);

}  // namespace sevrina
