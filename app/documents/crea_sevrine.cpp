#include "app/documents/crea_sevrine.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "app/shell/document_services.h"
#include "app/shell/form_helpers.h"
#include "app/shell/store.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina {

namespace fs = std::filesystem;
using namespace cp1252::literals;

namespace {

forms::FontSpec sans(float size, bool bold) {
  forms::FontSpec f;
  f.Name = "MS Sans Serif";
  f.Size = size;
  f.Bold = bold;
  return f;
}

std::string testo(const fs::path& p) { return "\"" + sys::path_to_text(p) + "\""; }

void errore(forms::Runtime& rt, const std::string& messaggio) {
  rt.MsgBox(messaggio, forms::MsgButtons::OK, forms::MsgIcon::Critical);
}

// A written document: there, and not empty.
bool scritto(const fs::path& p) {
  std::error_code ec;
  return sys::file_exists(p) && fs::file_size(p, ec) > 0 && !ec;
}

// The prefix of the step's hidden working folders beside the target.
std::string prefisso_lavoro() { return std::string(".") + kCartellaUscita + "."; }

}  // namespace

// ---------------------------------------------------------------- folders

std::string domanda_sostituzione(const fs::path& cartella) {
  return "La cartella " + testo(cartella) +
         u8" esiste già e sarà cancellata con tutti i file che contiene, sei sicuro di volerla sostituire ?"_w1252;
}

fs::path cartella_casa() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    if (sys::folder_exists(home)) return fs::path(home);
  }
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    if (sys::folder_exists(pw->pw_dir)) return fs::path(pw->pw_dir);
  }
  return {};
}

fs::path cartella_speciale(int csidl) {
  if (csidl != 0) return {};
  // Without a home folder the system's desktop lookup would answer the
  // file-system root: that is no desktop.
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  const fs::path desktop = sys::desktop_folder();
  if (!sys::folder_exists(desktop)) return {};
  return desktop;
}

// ---------------------------------------------------------------- the form

CreaSevrine::CreaSevrine(forms::Runtime& rt) : Form(rt, "crea_sevrine") {
  SetCaption("Crea Sevrina");
  SetClientSize(7695, 6300);

  Label1.SetCaption("PROGETTO ORTESA 3");
  Label1.SetFont(sans(18, true));
  Label1.Move(2040, 120, 4020, 435);

  Label2.Add(0).SetCaption(
      "Selezionare il percorso dove generare la cartella con i files da copiare su CD per la "
      "sevrina");
  Label2[0].SetFont(sans(13.5f, false));
  Label2[0].Move(720, 720, 6255, 735);
  Label2.Add(1).SetCaption(
      u8"1) Tutta la cartella generata dal software, compreso il file dati.dat, dovrà essere "
      u8"copiata sul cd"_w1252);
  Label2[1].SetFont(sans(13.5f, false));
  Label2[1].Move(840, 1560, 6735, 735);
  Label2.Add(2).SetCaption(
      u8"2) una volta generato i files pdf, il software si svuoterà di tutti i dati e non sarà "
      u8"più possibile modificare i documenti"_w1252);
  Label2[2].SetFont(sans(13.5f, false));
  Label2[2].Move(840, 2400, 6735, 1095);

  Label3.SetCaption("N.B.:");
  Label3.SetFont(sans(13.5f, false));
  Label3.Move(120, 1560, 615, 360);

  Drive1.Move(120, 3720, 4335, 315);
  Drive1.SetTabIndex(0);
  Dir1.Move(120, 4080, 4335, 2115);
  Dir1.SetTabIndex(1);
  Command1.SetCaption("Genera");
  Command1.SetFont(sans(12, true));
  Command1.Move(5520, 5400, 2055, 735);
  Command1.SetTabIndex(2);

  Drive1.OnChange([this] { Drive1_Change(); });
  Command1.OnClick([this] { Command1_Click(); });
}

void CreaSevrine::Form_Load() {
  centra_form(*this);
  fs::path p = cartella_speciale(0);
  if (p.empty()) p = cartella_casa();
  if (p.empty()) return;  // no folder to start on: "Genera" says so
  Drive1.SetDrive(p);
  Dir1.SetPath(p);
}

void CreaSevrine::Drive1_Change() {
  const fs::path radice = Drive1.Drive();
  if (radice.empty() || Dir1.SetPath(radice)) return;
  errore(App(), "Impossibile aprire " + testo(radice) + ": l'unit\xE0 non \xE8 disponibile.");
  // Back to the drive of the folder still shown.
  if (!Dir1.Path().empty()) Drive1.SetDrive(Dir1.Path());
}

void CreaSevrine::Command1_Click() {
  if (!genera(App(), Dir1.Path())) return;  // the reason is shown; the form stays
  App().MsgBox(kMessaggioSuccesso);
  App().End();
}

// ---------------------------------------------------------------- "Genera"

bool CreaSevrine::genera(forms::Runtime& rt, const fs::path& cartella) {
  if (cartella.empty() || !sys::folder_exists(cartella)) {
    errore(rt, cartella.empty()
                   ? std::string("Selezionare una cartella esistente in cui generare i file.")
                   : "La cartella " + testo(cartella) +
                         " non esiste: selezionare una cartella esistente.");
    return false;
  }

  // The applicant type (read as every reader does; a missing data file is
  // created empty).
  TipoRichiedente tipo;
  try {
    tipo = tipo_richiedente(leggi_dato("TIPO_RICHIEDENTE"));
  } catch (const ErroreFileDati& e) {
    errore(rt, e.messaggio());
    return false;
  }

  const fs::path programma = sys::program_folder();
  const fs::path dati = percorso_file_dati(programma);
  // The data file leaves the program's folder at the end: when that folder
  // does not allow it, say so now, before anything is written.
  if (::access(programma.c_str(), W_OK | X_OK) != 0) {
    errore(rt, "I file non sono stati generati: impossibile spostare il file dei dati dalla "
               "cartella " +
                   testo(programma) + ": " +
                   sys::error_text(std::error_code(errno, std::generic_category())) + ".");
    return false;
  }

  // The output folder replaces whatever has its name, with everything in
  // it: it must not be, or hold, the folder of the data file itself.
  const fs::path finale = cartella / kCartellaUscita;
  {
    std::error_code e1, e2;
    const fs::path uscita = fs::weakly_canonical(finale, e1), propria = fs::weakly_canonical(programma, e2);
    auto [u, p] = std::mismatch(uscita.begin(), uscita.end(), propria.begin(), propria.end());
    if (!e1 && !e2 && u == uscita.end()) {
      errore(rt, "I file non sono stati generati: la cartella " + testo(finale) +
                     " contiene il file dei dati e la bozza (cartella " + testo(programma) +
                     "). Scegliere un'altra cartella.");
      return false;
    }
  }

  // An earlier output folder may hold files the user put there: it is
  // replaced only when the user says so.
  if (std::error_code e; fs::exists(fs::symlink_status(finale, e)) &&
                         rt.MsgBox(domanda_sostituzione(finale), forms::MsgButtons::YesNo,
                                   forms::MsgIcon::None, "Sovrascrivere") != forms::MsgResult::Yes) {
    return false;
  }

  // The working folders an interrupted earlier run left beside the target
  // go first; only those: a folder of the user's is never touched, whatever
  // its name.
  sys::remove_temporary_folders(cartella, prefisso_lavoro());

  // The documents go into a new folder beside the target first.
  fs::path nuova;
  if (sys::OpResult r = sys::create_temporary_folder(cartella, prefisso_lavoro(), nuova); !r) {
    errore(rt, "I file non sono stati generati: " + r.message + ".");
    return false;
  }
  // A working folder is private (0700); the output folder is read by
  // others (a burning program under another account): the usual 0777
  // under the user's umask.
  const mode_t maschera = ::umask(0);
  ::umask(maschera);
  ::chmod(nuova.c_str(), 0777 & ~maschera);

  const fs::path domanda =
      nuova / (tipo == TipoRichiedente::Condominio ? kFileCondomini : kFileProprietari);
  const fs::path dichiarazioni = nuova / kFileDichiarazioni;
  const fs::path quadro = nuova / kFileQuadro;
  DocumentServices& servizi = document_services();
  // Each generator shows its own failure; the first one ends the step. The
  // working folder is renamed or deleted before the user could look for it:
  // the messages name the output folder instead.
  const documenti::CartellaMostrata mostrata(nuova, finale);
  bool scritti = tipo == TipoRichiedente::Condominio
                     ? servizi.crea_sevrina_condomini(domanda.string(), false)
                     : servizi.crea_sevrina_proprietari(domanda.string(), false);
  scritti = scritti && servizi.crea_atto_notorio(dichiarazioni.string(), false);
  scritti = scritti && servizi.crea_quadro_economico(quadro.string(), false);
  scritti = scritti && scritto(domanda) && scritto(dichiarazioni) && scritto(quadro);
  if (!scritti) {
    std::string m = "I file non sono stati generati: la cartella " + testo(finale) +
                    ", il file dei dati e la bozza sono rimasti come erano.";
    if (sys::OpResult d = sys::delete_folder(nuova, true); !d) m += " (" + d.message + ")";
    errore(rt, m);
    return false;
  }

  // Everything is written: the new folder takes the place of the old one.
  sys::OpResult sostituita = sys::replace_folder(nuova, finale);
  if (!sostituita) {
    std::string m = "I file non sono stati generati: " + sostituita.message +
                    ". Il file dei dati e la bozza sono rimasti come erano.";
    if (sys::OpResult d = sys::delete_folder(nuova, true); !d) m += " (" + d.message + ")";
    errore(rt, m);
    return false;
  }
  if (!sostituita.message.empty()) {
    // The new folder is in place; only the old one's remains could not go.
    rt.MsgBox("Attenzione: " + sostituita.message + ".");
  }

  const std::string scritti_in = "I documenti sono stati scritti in " + testo(finale) + ", ma ";
  if (std::optional<fs::path> bozza = sys::find_ignoring_case(programma, "bozza.pdf");
      bozza && sys::file_exists(*bozza)) {
    if (sys::OpResult d = sys::delete_file(*bozza, true); !d) {
      errore(rt, scritti_in + d.message + ". Il file dei dati \xE8 rimasto nella cartella " +
                     testo(programma) + ".");
      return false;
    }
  }

  // The data file last: moved (across file systems copied, checked, and
  // only then removed), never lost.
  if (sys::OpResult m = sys::move_file(dati, finale / kFileDatiUscita); !m) {
    errore(rt, scritti_in + m.message + ". Il file dei dati \xE8 rimasto nella cartella " +
                   testo(programma) + ".");
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- entry

void crea_sevrine() {
  forms::Runtime* rt = documenti::runtime();
  if (rt == nullptr) {
    documenti::mostra_messaggio("Impossibile mostrare la finestra Crea Sevrina.", true);
    return;
  }
  rt->Load<CreaSevrine>()->Show(forms::ShowMode::Modal);
}

}  // namespace sevrina
