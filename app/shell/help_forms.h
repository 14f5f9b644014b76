#pragma once
// The five help forms: static pages of notes, one for the menu and one for
// each editing form, shown modally by the "Aiuto" buttons and closed with
// the window's close box. Each shows the common heading, its own
// subheading and its numbered notes (numbers in a narrow column at the left
// of the texts).
//
//     App().Load<sevrina::Help_sevrina_condomini>()->Show(forms::ShowMode::Modal);

#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace sevrina {

// The heading every help form shows, as Windows-1252 text.
extern const char* const kTitoloAvvertenze;

class HelpForm : public forms::Form {
 public:
  // `nome` is the form's name; texts are UTF-8 here and shown as
  // Windows-1252; sizes are the inner area in twips.
  HelpForm(forms::Runtime& rt, std::string nome, float larghezza, float altezza, const char* sottotitolo,
           const std::vector<const char*>& note);

  forms::Label Label1{this, "Label1"};                         // the heading
  forms::Label Label2{this, "Label2"};                         // the subheading
  forms::ControlArray<forms::Label> Label3{this, "Label3"};    // note numbers, from 0
  forms::ControlArray<forms::Label> Label4{this, "Label4"};    // note texts, from 0

 protected:
  // Only centres the window.
  void Form_Load() override;
};

class Help_intro final : public HelpForm {
 public:
  explicit Help_intro(forms::Runtime& rt);
};

class Help_sevrina_condomini final : public HelpForm {
 public:
  explicit Help_sevrina_condomini(forms::Runtime& rt);
};

class Help_sevrina_proprietari final : public HelpForm {
 public:
  explicit Help_sevrina_proprietari(forms::Runtime& rt);
};

class Help_quadro_economico final : public HelpForm {
 public:
  explicit Help_quadro_economico(forms::Runtime& rt);
};

class Help_atto_notorio final : public HelpForm {
 public:
  explicit Help_atto_notorio(forms::Runtime& rt);
};

// Loads the help form F and shows it modally; returns when it is closed.
template <class F>
void mostra_help(forms::Runtime& rt) {
  rt.Load<F>()->Show(forms::ShowMode::Modal);
}

}  // namespace sevrina
