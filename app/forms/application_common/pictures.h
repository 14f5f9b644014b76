#pragma once
// The two decorative GIF images at the top of the application form.

#include <string_view>

namespace sevrina::domanda {

std::string_view immagine_sinistra();  // Picture1, 56 x 55 pixels
std::string_view immagine_destra();    // Picture2, 79 x 41 pixels

}  // namespace sevrina::domanda
