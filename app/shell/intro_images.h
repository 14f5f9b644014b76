#pragma once
// The two pictures of the start-up menu, made for this program by
// tools/images/genera_immagini_menu.py.

#include <string_view>

namespace sevrina {

// The municipality's emblem: a Windows bitmap of 79 x 78 pixels.
std::string_view emblema_comune();
// The programme's logo: a GIF image of 90 x 47 pixels.
std::string_view logo_progetto();

}  // namespace sevrina
