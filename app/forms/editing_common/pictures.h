#pragma once
// The two decorative GIF images at the top of every editing form.

#include <string_view>

namespace sevrina::modifica {

std::string_view immagine_sinistra();  // Picture1, 56 x 55 pixels
std::string_view immagine_destra();    // Picture2, 79 x 41 pixels

}  // namespace sevrina::modifica
