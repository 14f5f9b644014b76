#include "app/forms/application_common/keys.h"

namespace sevrina::domanda {

const Chiave* trova_chiave(std::string_view chiave) {
  for (const auto& k : kChiavi) {
    if (k.chiave == chiave) return &k;
  }
  return nullptr;
}

}  // namespace sevrina::domanda
