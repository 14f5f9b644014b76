#include "app/forms/application_common/helpers.h"

#include "app/shell/store.h"

namespace sevrina::domanda {

bool mostra_segnaposto(std::string_view testo) {
  return maiuscole(togli_spazi(testo)) == "GG/MM/AAAA";
}

}  // namespace sevrina::domanda
