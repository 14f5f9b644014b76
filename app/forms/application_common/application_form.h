#pragma once
// The application form, one layout in two variants: "sevrina_condomini"
// (a condominium, through its administrator) and "sevrina_proprietari" (the
// building's owner, or the owners' delegate). The variant layers in
// app/forms/sevrina_condomini and app/forms/sevrina_proprietari only name
// the variant; everything else lives here.
//
// The form shows the application on one tall page (Frame2) inside a
// viewport (Frame1) moved by a reversed scroll bar, loads its 80 keys from
// the data file when it opens (carica_sevrina), checks and stores them on
// request (salva), fills the district lists and municipality numbers, and
// asks its variant's generator for a draft.

#include <memory>
#include <string>
#include <string_view>

#include "app/forms/application_common/layout.h"
#include "platform/forms/forms.h"

namespace sevrina::domanda {

// Texts of the form's messages (Windows-1252).
std::string domanda_menu();  // the "Menu" question

class ModuloDomanda : public forms::Form {
 public:
  ModuloDomanda(forms::Runtime& rt, Variante variante);
  ~ModuloDomanda() override;

  Variante variante() const { return variante_; }

  // Loads the application's keys from the data file into the controls (the
  // controls' events run nested, as for a user's change), stores the
  // applicant type at once and clears `modificato`.
  void carica_sevrina();

  // Checks the fields in their fixed order; the first failure shows its
  // message and nothing is stored. Otherwise writes the 80 pairs in one
  // batch. True when the pairs were stored.
  bool salva();

  // The modified flag: 1 after any change by the user, 0 after loading.
  // Saving leaves it as it is.
  int modificato = 0;

  // Controls outside the page.
  forms::Label Label1{this, "Label1"};
  forms::Label Label4{this, "Label4"};
  forms::PictureBox Picture1{this, "Picture1"};
  forms::PictureBox Picture2{this, "Picture2"};
  forms::ControlArray<forms::CommandButton> Command1{this, "Command1"};
  forms::Frame Frame1{this, "Frame1"};
  forms::VScrollBar VScroll1{this, "VScroll1"};
  forms::Timer Timer1{this, "Timer1"};

  // The page and its groups.
  forms::Frame Frame2{this, "Frame2"};
  forms::Frame Frame3{this, "Frame3"};
  forms::Frame Frame4{this, "Frame4"};
  forms::Shape Shape1{this, "Shape1"};
  forms::ControlArray<forms::Label> Label2{this, "Label2"};
  forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
  forms::ControlArray<forms::CheckBox> Check1{this, "Check1"};
  forms::ControlArray<forms::CheckBox> Check2{this, "Check2"};
  forms::ControlArray<forms::CheckBox> Check3{this, "Check3"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1"};
  forms::ControlArray<forms::OptionButton> Option2{this, "Option2"};
  forms::ControlArray<forms::OptionButton> Option3{this, "Option3"};
  forms::ControlArray<forms::ComboBox> Combo1{this, "Combo1"};

  // The applicant-type list: the owner variant only (null in the other).
  forms::ComboBox* Combo2() const { return combo2_.get(); }

 protected:
  void Form_Load() override;
  void Form_QueryUnload(int& Cancel, forms::UnloadMode mode) override;
  // "Aiuto": the variant shows its help form modally.
  virtual void mostra_aiuto() {}

 private:
  void costruisci();
  forms::Control* controllo(std::string_view nome, int indice);
  forms::Frame* contenitore(std::string_view nome);

  // Handlers.
  void Timer1_Timer();
  void VScroll1_Change();
  void Text1_GotFocus(int Index);
  void Text1_LostFocus(int Index);
  void Text1_KeyPress(int Index, int& KeyAscii);
  void Text1_Change(int Index);
  void Check2_Click(int Index);
  void Check3_Click(int Index);
  void Option1_Click(int Index);
  void Option2_Click(int Index);
  void Option3_Click(int Index);
  void Combo1_Click(int Index);
  void Combo2_Click();
  void Command1_Click(int Index);
  void invio_passa_oltre(int& KeyAscii);
  // The "Menu" question: true when the form may close (No, or Yes and the
  // save went through).
  bool chiedi_e_salva();

  // Loading and saving.
  void applica_record(std::string_view chiave, std::string_view valore);
  void memorizza_tipo_richiedente();

  Variante variante_;
  std::unique_ptr<forms::ComboBox> combo2_;
};

}  // namespace sevrina::domanda
