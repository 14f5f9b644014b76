#include "app/main/program.h"

#include "app/shell/intro.h"

#ifdef SEVRINA_HAS_SEVRINA_CONDOMINI
#include "app/forms/sevrina_condomini/sevrina_condomini.h"
#endif
#ifdef SEVRINA_HAS_SEVRINA_PROPRIETARI
#include "app/forms/sevrina_proprietari/sevrina_proprietari.h"
#endif
#ifdef SEVRINA_HAS_ATTO_NOTORIO
#include "app/forms/atto_notorio/atto_notorio.h"
#endif
#ifdef SEVRINA_HAS_QUADRO_ECONOMICO
#include "app/forms/quadro_economico/quadro_economico.h"
#endif
#ifdef SEVRINA_HAS_DOCUMENTS
#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#endif

namespace sevrina {

void registra_programma(forms::Runtime& rt) {
  register_intro(rt);
#ifdef SEVRINA_HAS_SEVRINA_CONDOMINI
  register_sevrina_condomini(rt);
#endif
#ifdef SEVRINA_HAS_SEVRINA_PROPRIETARI
  register_sevrina_proprietari(rt);
#endif
#ifdef SEVRINA_HAS_ATTO_NOTORIO
  register_atto_notorio(rt);
#endif
#ifdef SEVRINA_HAS_QUADRO_ECONOMICO
  register_quadro_economico(rt);
#endif
#ifdef SEVRINA_HAS_DOCUMENTS
  // The generators and the output step show their messages and their form
  // through this runtime.
  documenti::imposta_runtime(&rt);
  install_document_services();
#endif
}

}  // namespace sevrina
