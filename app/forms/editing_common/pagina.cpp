#include "app/forms/editing_common/pagina.h"

#include <cmath>

#include "app/forms/editing_common/pictures.h"
#include "app/shell/form_helpers.h"
#include "platform/text/cp1252.h"

namespace sevrina::modifica {

void apri_pagina(forms::Form& form, forms::Frame& Frame1, forms::Frame& Frame2, forms::VScrollBar& VScroll1,
                 long double divisore) {
  centra_form(form);
  Frame2.SetLeft(0);
  Frame2.SetTop(0);
  Frame1.SetBackColor(forms::kWhite);
  VScroll1.SetMin(32767);
  VScroll1.SetMax(5400);
  // The arrows' step moves the page a few pixels, far too little for a
  // wheel: a notch turns a fifth of the viewport, some 100 pixels.
  if (Frame2.Height() > 0) {
    VScroll1.SetWheelChange(static_cast<int>(std::lround(Frame1.Height() / 5.0L * divisore / Frame2.Height())));
  }
}

void costruisci_intestazione(forms::Label& Label5, forms::Label& Label1, const std::string& titolo,
                             forms::PictureBox& Picture1, forms::PictureBox& Picture2) {
  Label5.Move(2520, 120, 6795, 300);
  Label5.SetCaption(cp1252::from_utf8("Progetto Ortesa 3 - Avviso Pubblico del 1° Febbraio 2008"));
  Label1.Move(3960, 480, 3975, 300);
  Label1.SetCaption(titolo);
  for (forms::Label* l : {&Label5, &Label1}) {
    l->SetFont(kTitolo);
    l->SetForeColor(forms::kRed);
    l->SetBackColor(forms::kWhite);
    l->SetAlignment(forms::Alignment::Center);
  }
  Picture1.Move(120, 120, 840, 825);
  Picture1.SetPicture(std::string(immagine_sinistra()));
  Picture2.Move(10560, 120, 1185, 615);
  Picture2.SetPicture(std::string(immagine_destra()));
}

void costruisci_pulsanti(forms::ControlArray<forms::CommandButton>& Command1, const std::array<int, 4>& tab) {
  const char* didascalie[] = {"&Menu", "&Salva", "&Bozza", "&Aiuto"};
  const int alti[] = {2040, 2640, 3240, 7560};
  for (int i = 0; i < 4; ++i) {
    auto& b = Command1.Add(i);
    b.Move(120, static_cast<float>(alti[i]), 615, 495);
    b.SetCaption(didascalie[i]);
    b.SetTabIndex(tab[static_cast<std::size_t>(i)]);
  }
}

void costruisci_tipo_richiedente(forms::ComboBox& Combo2, forms::Frame& pagina, float left, float top, float width,
                                 int tab_index) {
  Combo2.SetContainer(pagina);
  Combo2.Move(left, top, width, 330);
  Combo2.SetFont(kArial825Grassetto);
  Combo2.SetBackColor(forms::kWhite);
  Combo2.SetTabIndex(tab_index);
  Combo2.SetEnabled(false);
  Combo2.AddItem("Unico Proprietario");
  Combo2.AddItem("Delegato del Proprietario/i");
  Combo2.AddItem("Amministratore");
}

forms::Label& Etichette::operator()(float left, float top, float width, float height, std::string_view testo,
                                    const forms::FontSpec& font, forms::Alignment allineamento, bool bordo,
                                    forms::Frame* contenitore) {
  auto& l = serie_.Add(prossima_++);
  l.SetContainer(contenitore ? *contenitore : pagina_);
  l.Move(left, top, width, height);
  l.SetCaption(cp1252::from_utf8(testo));
  l.SetFont(font);
  l.SetAlignment(allineamento);
  l.SetBackColor(forms::kWhite);
  l.SetBorderStyle(bordo ? 1 : 0);
  return l;
}

}  // namespace sevrina::modifica
