// The program's entry: the Qt application, the forms runtime with its Qt
// view, the program's forms and services registered, and the start-up menu.
// Everything after that happens in the forms' handlers; the program ends
// when no form is left or the output step ends it.

#include <QApplication>

#include <cstdio>
#include <string>

#include "app/main/program.h"
#include "app/shell/intro.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/qt/view.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

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

  // One copy at a time on the user's data folder, taken before anything
  // touches the folder: a second copy would overwrite the first one's saves
  // and find its data file gone once the first has generated the dossier.
  if (sys::lock_folder(sys::program_folder()) == sys::FolderLock::HeldElsewhere) {
    using namespace cp1252::literals;
    const std::string gia_aperto = u8"Il programma è già aperto: si può usare una sola copia alla volta."_w1252;
    std::fprintf(stderr, "%s\n", cp1252::to_utf8(gia_aperto).c_str());
    rt.MsgBox(gia_aperto);
    return 1;
  }

  sevrina::registra_programma(rt);

  // The data folder exists from the first start; an interrupted save of
  // an earlier run leaves nothing behind.
  sevrina::pulisci_residui();
  sevrina::mostra_intro(rt);
  rt.Run();
  return 0;
}
