#pragma once
// The cost-table form "quadro_economico": the applicant's and building's data
// as the application stored them (display only), the amount grid whose
// yellow cells the user fills in, the premium criteria, the volume band and
// the maintenance booklet, the date; every other amount is computed while
// the user types (calcolo.h). It loads its inputs from the data file when it
// opens (the computed fields are rebuilt by the computation), checks its
// date and stores its 57 pairs on request.

#include <memory>
#include <string>

#include "app/forms/quadro_economico/calcolo.h"
#include "platform/forms/forms.h"

namespace sevrina {

class quadro_economico : public forms::Form {
 public:
  explicit quadro_economico(forms::Runtime& rt);
  ~quadro_economico() override;

  // Fills the form from the data file: headings, applicant, inputs; the
  // change and click events of the inputs rebuild every computed field.
  // Ends with the default volume band and booklet choice and `modificato` 0.
  void carica_sevrina();

  // Checks the date, then writes the 57 pairs in one batch. True when they
  // were stored; a refused save has shown its message and written nothing.
  bool salva();

  // The computation's steps on this form's fields.
  void check_campo5();
  void calcola_campi_otto();
  void calcola_CONTRIBUTO_AMMESSO_AL_FINANZIAMENTO();

  // 1 after any change by the user, 0 after loading; saving leaves it.
  int modificato = 0;

  // Fixed controls.
  forms::Label Label1{this, "Label1"};
  forms::Label Label5{this, "Label5"};
  forms::PictureBox Picture1{this, "Picture1"};
  forms::PictureBox Picture2{this, "Picture2"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
  forms::Frame Frame1{this, "Frame1"};
  forms::VScrollBar VScroll1{this, "VScroll1"};
  forms::Timer Timer1{this, "Timer1"};

  // The sheet.
  forms::Frame Frame2{this, "Frame2"};
  forms::Frame Frame3{this, "Frame3"};
  forms::Frame Frame4{this, "Frame4"};
  forms::ControlArray<forms::Label> Label2{this, "Label2"};
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ComboBox Combo2{this, "Combo2"};
  forms::ControlArray<forms::TextBox> Text2{this, "Text2"};
  forms::ControlArray<forms::TextBox> Text3{this, "Text3"};
  forms::ControlArray<forms::TextBox> Text4{this, "Text4"};
  forms::ControlArray<forms::TextBox> Text5{this, "Text5"};
  forms::ControlArray<forms::TextBox> Text6{this, "Text6"};
  forms::ControlArray<forms::TextBox> Text7{this, "Text7"};
  forms::ControlArray<forms::TextBox> Text8{this, "Text8"};
  forms::ControlArray<forms::CheckBox> Check1{this, "Check1"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
  forms::ControlArray<forms::OptionButton> Option2{this, "Option2"};

  // The text box of a computation field.
  forms::TextBox& campo(quadro::Serie serie, int indice) const;

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, forms::UnloadMode mode) override;

 private:
  class FoglioModulo;

  void costruisci();
  void Timer1_Timer();
  void VScroll1_Change();
  void Command1_Click(int Index);
  void campo_GotFocus(forms::TextBox& casella);
  void campo_LostFocus(forms::TextBox& casella, forms::Color riposo);
  void KeyPress(forms::ControlArray<forms::TextBox>& serie, int Index, int& KeyAscii);
  void Text2_Change(int Index);
  void Text5_Change(int Index);
  void Text7_Change(int Index);
  void Text8_Change(int Index);
  void Text1_Change(int Index);
  void criteri_Click(int Index);
  bool chiedi_e_salva();

  std::unique_ptr<FoglioModulo> foglio_;
};

// The "Menu" question.
std::string domanda_menu_quadro_economico();

// Registers the opener the menu uses: loads the form afresh and shows it
// modelessly. Called by main and by tests.
void register_quadro_economico(forms::Runtime& rt);

}  // namespace sevrina
