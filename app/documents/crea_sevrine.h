#pragma once
// The output step: the form "Crea Sevrina" that the final check shows
// modally when the data passed. The user picks a parent folder (the desktop
// by default, else the home folder) and presses "Genera": the three final
// documents are written into a new folder beside the target, that folder
// then takes the place of "Files Sevrina Ortesa" (replacing an earlier one
// only now that everything is written), the draft is deleted, the data file
// is moved in last as "dati.dat", "FILE GENERATI CON SUCCESSO!" is shown
// and the program ends. Any failure on the way is shown in Italian and
// leaves the data file, the draft and an earlier output folder as they were;
// the form stays open.

#include <filesystem>
#include <string>

#include "platform/forms/forms.h"

namespace sevrina {

// The output folder's name and the names of the files in it.
inline constexpr const char* kCartellaUscita = "Files Sevrina Ortesa";
inline constexpr const char* kFileCondomini = "Modello 1.a  sevrina condomini.pdf";
inline constexpr const char* kFileProprietari = "Modello 1.b  sevrina proprietari.pdf";
inline constexpr const char* kFileDichiarazioni = "Modello dichiarazione sostitutiva.pdf";
inline constexpr const char* kFileQuadro = "Modello quadro economico computo metrico.pdf";
inline constexpr const char* kFileDatiUscita = "dati.dat";
inline constexpr const char* kMessaggioSuccesso = "FILE GENERATI CON SUCCESSO!";

// The path of one of the user's special folders, as the file system's
// bytes; empty when it has none. Only the desktop (0) is known: the desktop
// folder of the user's settings, else ~/Desktop, else the home folder;
// empty when the user has no home folder.
std::filesystem::path cartella_speciale(int csidl);

// The question asked before an existing output folder `cartella` (with
// everything in it) is replaced.
std::string domanda_sostituzione(const std::filesystem::path& cartella);

// The home folder of the user (HOME, else the account's), or an empty path
// when neither names an existing folder.
std::filesystem::path cartella_casa();

class CreaSevrine final : public forms::Form {
 public:
  explicit CreaSevrine(forms::Runtime& rt);

  forms::Label Label1{this, "Label1"};
  forms::ControlArray<forms::Label> Label2{this, "Label2"};
  forms::Label Label3{this, "Label3"};
  forms::DriveListBox Drive1{this, "Drive1"};
  forms::DirListBox Dir1{this, "Dir1"};
  forms::CommandButton Command1{this, "Command1"};

  // "Genera" without the form: the whole step for the parent folder
  // `cartella`. An existing output folder is replaced only after the user
  // answered Yes to domanda_sostituzione. True when everything was done
  // (the caller then ends the program); otherwise the reason has been shown
  // (or the user kept the earlier folder) and nothing changed.
  // The benchmark and the form's button both come here.
  static bool genera(forms::Runtime& rt, const std::filesystem::path& cartella);

 protected:
  void Form_Load() override;

 private:
  void Drive1_Change();
  void Command1_Click();
};

}  // namespace sevrina
