#pragma once
// How the program is put together: the menu, every editing form and the
// document generators whose libraries are part of this build, registered
// with one runtime. The program's main calls it; so do the tests that run
// the whole program's paths.

#include "platform/forms/forms.h"

namespace sevrina {

// Registers the menu, the editing forms and the document services with `rt`.
void registra_programma(forms::Runtime& rt);

}  // namespace sevrina
