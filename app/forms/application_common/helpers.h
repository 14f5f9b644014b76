#pragma once
// Small text tests the application form shares.

#include <string_view>

namespace sevrina::domanda {

// Whether a box shows the date placeholder: its text, upper-cased and
// stripped of surrounding blanks, is "GG/MM/AAAA".
bool mostra_segnaposto(std::string_view testo);

}  // namespace sevrina::domanda
