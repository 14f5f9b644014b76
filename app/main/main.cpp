// The program's entry: the Qt application, the forms runtime with its Qt
// view, the program's forms and services registered, and the start-up menu.
// Everything after that happens in the forms' handlers; the program ends
// when no form is left or the output step ends it.

#include <QApplication>

#include "app/main/program.h"
#include "app/shell/intro.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/qt/view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sevrina");
  // The forms runtime decides when the program ends (no form left, or the
  // output step ends it); a window hidden or closed on the way from the
  // menu to a form must not end Qt's loops.
  QApplication::setQuitOnLastWindowClosed(false);
  qtview::prepare_application();

  forms::Runtime rt;
  qtview::View view(rt);
  sevrina::registra_programma(rt);

  // The data folder exists from the first start; an interrupted save of
  // an earlier run leaves nothing behind.
  sevrina::pulisci_residui();
  sevrina::mostra_intro(rt);
  rt.Run();
  return 0;
}
