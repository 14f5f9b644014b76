#pragma once
// The editing forms' page, a tall frame (Frame2) moved inside a viewport
// (Frame1) by a reversed scroll bar: its opening, and the design pieces the
// page forms built from code (the sworn declarations and the cost table)
// share: fonts, the heading above the viewport, the four buttons on the
// left, and the static texts of the page.

#include <array>
#include <string>
#include <string_view>

#include "platform/forms/forms.h"

namespace sevrina::modifica {

// The start of every editing form's Form_Load: the window centred, the page
// at the top left of the white viewport, and the scroll bar reversed (32767
// at the top end, 5400 at the bottom end). `divisore` is the divisor of the
// form's scrolling formula (the page's top moves by its height / divisore
// for each unit of the bar): one notch of the mouse wheel moves the page by
// a fifth of the viewport.
void apri_pagina(forms::Form& form, forms::Frame& Frame1, forms::Frame& Frame2, forms::VScrollBar& VScroll1,
                 long double divisore);

inline const forms::FontSpec kArial825{"Arial", 8.25f};
inline const forms::FontSpec kArial825Grassetto{"Arial", 8.25f, true};
inline const forms::FontSpec kArial975{"Arial", 9.75f};
inline const forms::FontSpec kArial975Grassetto{"Arial", 9.75f, true};
inline const forms::FontSpec kArial12{"Arial", 12.0f};
inline const forms::FontSpec kArial12Grassetto{"Arial", 12.0f, true};
inline const forms::FontSpec kTitolo{"MS Sans Serif", 12.0f, true};

// The heading above the viewport: the project line in Label5 and the form's
// `titolo` in Label1, both sans-serif 12 bold, red on white, centred; the
// two pictures in the top corners.
void costruisci_intestazione(forms::Label& Label5, forms::Label& Label1, const std::string& titolo,
                             forms::PictureBox& Picture1, forms::PictureBox& Picture2);

// "Menu", "Salva", "Bozza" and "Aiuto" down the left side: Command1(0) to
// Command1(3), with the tab indexes `tab`.
void costruisci_pulsanti(forms::ControlArray<forms::CommandButton>& Command1, const std::array<int, 4>& tab);

// The applicant type as the application stored it, display only: a disabled
// list in the page (330 twips high, Arial 8.25 bold on white) holding the
// three types.
void costruisci_tipo_richiedente(forms::ComboBox& Combo2, forms::Frame& pagina, float left, float top, float width,
                                 int tab_index);

// Adds the static texts of a page to its label array, one element after the
// other from index 0: placed in the page (or in `contenitore`), the text
// converted from UTF-8, white, with a border when `bordo`.
class Etichette {
 public:
  Etichette(forms::ControlArray<forms::Label>& serie, forms::Frame& pagina) : serie_(serie), pagina_(pagina) {}

  forms::Label& operator()(float left, float top, float width, float height, std::string_view testo,
                           const forms::FontSpec& font = kArial975,
                           forms::Alignment allineamento = forms::Alignment::Left, bool bordo = false,
                           forms::Frame* contenitore = nullptr);

 private:
  forms::ControlArray<forms::Label>& serie_;
  forms::Frame& pagina_;
  int prossima_ = 0;
};

}  // namespace sevrina::modifica
