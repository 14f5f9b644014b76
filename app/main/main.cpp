// The program's entry: the Qt application, the forms runtime with its Qt
// view, the editing forms and the document generators plugged in, and the
// start-up menu. Everything after that happens in the forms' handlers; the
// program ends when no form is left or the output step ends it.

#include <QApplication>

#include "app/shell/intro.h"
#include "platform/forms/forms.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"

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
#endif

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sevrina");
  qtview::prepare_application();

  forms::Runtime rt;
  qtview::View view(rt);

  sevrina::register_intro(rt);
#ifdef SEVRINA_HAS_SEVRINA_CONDOMINI
  sevrina::register_sevrina_condomini(rt);
#endif
#ifdef SEVRINA_HAS_SEVRINA_PROPRIETARI
  sevrina::register_sevrina_proprietari(rt);
#endif
#ifdef SEVRINA_HAS_ATTO_NOTORIO
  sevrina::register_atto_notorio(rt);
#endif
#ifdef SEVRINA_HAS_QUADRO_ECONOMICO
  sevrina::register_quadro_economico(rt);
#endif
#ifdef SEVRINA_HAS_DOCUMENTS
  sevrina::install_document_services();
#endif

  sevrina::mostra_intro(rt);
  rt.Run();
  return 0;
}
