#include "app/forms/application_common/layout.h"

#include "platform/text/cp1252.h"

namespace sevrina::domanda {

namespace {

constexpr Controllo kControlli[] = {
#include "app/forms/application_common/layout_table.inc"
};

}  // namespace

std::span<const Controllo> tutti_i_controlli() { return kControlli; }

bool appartiene(const Controllo& c, Variante v) {
  switch (c.per) {
    case Per::Entrambe:
      return true;
    case Per::Condomini:
      return v == Variante::Condomini;
    case Per::Proprietari:
      return v == Variante::Proprietari;
  }
  return false;
}

std::string testo_w1252(const Controllo& c) { return cp1252::from_utf8(c.testo); }

std::string titolo_finestra(Variante v) {
  return v == Variante::Condomini ? "Sevrina condomini" : "Sevrina proprietari";
}

std::string_view nome_form(Variante v) {
  return v == Variante::Condomini ? "sevrina_condomini" : "sevrina_proprietari";
}

}  // namespace sevrina::domanda
