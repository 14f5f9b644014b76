// The output step through the runtime's test driver, in temporary folders:
// the folder it starts on, the variant chosen for each applicant type, the
// four files under their exact names, the data file moved and the draft
// deleted, an earlier output folder replaced; and every failure (a
// generator, a read-only target or program folder, a file in the folder's
// place, a vanished folder) shown in Italian with everything left as it was
// and the form still open.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "app/documents/crea_sevrine.h"
#include "app/documents/frame.h"
#include "app/shell/document_services.h"
#include "platform/system/system.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;
using doctest::Record;

const std::string kFolder = "Files Sevrina Ortesa";

std::vector<Record> data(const std::string& tipo) {
  std::vector<Record> r = {
      {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", "Rossi"},
      {"INDIRIZZO_CONDOMINIO", "via Toledo"},
      {"CIVICO_CONDOMINIO", "5"},
      {"ATTO_NOTORIO_A", "S"},
      {"TOTALE_INTERVENTO", "150000"},
  };
  if (!tipo.empty()) r.insert(r.begin(), {"TIPO_RICHIEDENTE", tipo});
  return r;
}

// The names in a folder (hidden ones included), sorted.
std::set<std::string> names(const fs::path& folder) {
  std::set<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) out.insert(e.path().filename().string());
  return out;
}

// Environment variable set for the test's length.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A folder made read-only for this process, even for root: a read-only bind
// mount of it in a mount namespace of our own (root), else its permissions.
class ReadOnly {
 public:
  explicit ReadOnly(const fs::path& folder) : folder_(folder) {
    if (::geteuid() != 0) {
      fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
      ok_ = true;
      return;
    }
    static bool private_namespace = ::unshare(CLONE_NEWNS) == 0 &&
                                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    mounted_ = private_namespace &&
               ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
    ok_ = mounted_ && ::mount(nullptr, folder.c_str(), nullptr,
                              MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  ~ReadOnly() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    if (::geteuid() != 0) fs::permissions(folder_, fs::perms::owner_all);
  }
  bool ok() const { return ok_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
  bool ok_ = false;
};

class OutputStepTest : public doctest::DocumentTest {
 protected:
  OutputStepTest() {
    sevrina::install_document_services();
    fs::create_directories(home);
  }
  ~OutputStepTest() override { sevrina::install_document_services(); }

  // Shows the output step; `script` drives it and must close it (or end the
  // program).
  void run(std::function<void(sevrina::CreaSevrine&)> script) {
    ui.on_modal("crea_sevrine", [&](forms::Form& f) {
      script(dynamic_cast<sevrina::CreaSevrine&>(f));
    });
    sevrina::crea_sevrine();
    ASSERT_FALSE(ui.modal_shown().empty());
    EXPECT_EQ(ui.modal_shown().back(), "crea_sevrine");
  }

  // "Genera" on `parent`, expected to succeed and end the program.
  void genera_ok(const fs::path& parent) {
    run([&](sevrina::CreaSevrine& f) {
      ASSERT_TRUE(ui.choose_folder(f.Dir1, parent));
      ui.expect_box("FILE GENERATI CON SUCCESSO!");
      ui.click(f.Command1);
    });
    EXPECT_TRUE(rt.Ended());
  }

  // "Genera" on `parent`, expected to fail with a critical box whose text
  // starts with `start`; the form stays open and is closed afterwards.
  std::string genera_fails(const fs::path& parent, const std::string& start,
                           std::vector<std::string> generator_boxes = {}) {
    std::string shown;
    run([&](sevrina::CreaSevrine& f) {
      if (sys::folder_exists(parent)) {
        ASSERT_TRUE(ui.choose_folder(f.Dir1, parent));
      }
      for (const std::string& b : generator_boxes) ui.expect_box(b);
      const std::size_t before = ui.boxes().size() + generator_boxes.size();
      ui.set_failure_handler([&](const std::string& m) {
        if (m.find("unexpected message box") == std::string::npos) ADD_FAILURE() << m;
      });
      ui.click(f.Command1);
      forms::fail_test_on_driver_failure(ui);
      ASSERT_EQ(ui.boxes().size(), before + 1) << "one box of the step's own";
      const forms::MessageBoxRequest& box = ui.boxes().back().request;
      shown = cp1252::to_utf8(box.text);
      EXPECT_EQ(shown.rfind(start, 0), 0u) << shown;
      EXPECT_EQ(box.icon, forms::MsgIcon::Critical);
      EXPECT_FALSE(rt.Ended());
      EXPECT_TRUE(f.Loaded());  // still on the form
      ui.close(f);
    });
    return shown;
  }

  fs::path program() const { return dir.path(); }

  pdftest::TempDir target_dir;
  fs::path target = target_dir.path();
  fs::path home = target_dir.path() / "casa";
  ScopedEnv home_env{"HOME", home.string()};
  ScopedEnv xdg_env{"XDG_CONFIG_HOME", std::nullopt};
};

TEST_F(OutputStepTest, StartsOnTheDesktopElseTheHomeFolderNeverTheRoot) {
  // No desktop folder: the home folder.
  EXPECT_EQ(sevrina::cartella_speciale(0), home.string());
  run([&](sevrina::CreaSevrine& f) {
    EXPECT_EQ(f.Caption(), "Crea Sevrina");
    EXPECT_EQ(f.Command1.Caption(), "Genera");
    EXPECT_EQ(f.Dir1.Path(), home);
    EXPECT_EQ(f.Drive1.Drive(), sys::mount_point_of(home, sys::mounted_file_systems()));
    ui.close(f);
  });
  // ~/Desktop.
  fs::create_directories(home / "Desktop");
  EXPECT_EQ(sevrina::cartella_speciale(0), (home / "Desktop").string());
  EXPECT_EQ(sevrina::cartella_speciale(5), "");
  // Without HOME there is no desktop; the form falls back to the account's
  // home folder, and never starts on the file-system root.
  {
    ScopedEnv no_home("HOME", std::nullopt);
    EXPECT_EQ(sevrina::cartella_speciale(0), "");
    run([&](sevrina::CreaSevrine& f) {
      EXPECT_EQ(f.Dir1.Path(), sevrina::cartella_casa());
      EXPECT_NE(f.Dir1.Path(), fs::path("/"));
      ui.close(f);
    });
  }
  // Closing the form writes nothing.
  EXPECT_FALSE(rt.Ended());
  EXPECT_FALSE(fs::exists(home / kFolder));
  EXPECT_FALSE(fs::exists(home / "Desktop" / kFolder));
}

TEST_F(OutputStepTest, ChoosingADriveShowsItsRoot) {
  run([&](sevrina::CreaSevrine& f) {
    // Two drives of our own: the one holding the start folder and another.
    pdftest::TempDir other;
    const fs::path start = f.Dir1.Path();
    f.Drive1.SetEntriesForTest({{"/", "/"}, {"altra", other.path()}});
    ASSERT_TRUE(f.Drive1.SetDrive(start));
    EXPECT_EQ(f.Drive1.Drive(), fs::path("/"));
    ASSERT_TRUE(ui.choose(f.Drive1, 1));
    EXPECT_EQ(f.Dir1.Path(), other.path());
    ASSERT_TRUE(ui.choose(f.Drive1, 0));
    EXPECT_EQ(f.Dir1.Path(), fs::path("/"));
    ui.close(f);
  });
}

TEST_F(OutputStepTest, EachApplicantTypeItsVariantAndTheFourFiles) {
  struct Case {
    std::string tipo;
    const char* file;
    const char* footer;
  };
  const std::vector<Case> cases = {
      {"Amministratore", "Modello 1.a  sevrina condomini.pdf", "mod. ORTESA 1.a) sevrina condomini"},
      {"Unico proprietario", "Modello 1.b  sevrina proprietari.pdf",
       "mod. ORTESA 1.b) sevrina proprietari"},
      {"delegato dei comPROPRIETARIo", "Modello 1.b  sevrina proprietari.pdf",
       "mod. ORTESA 1.b) sevrina proprietari"},
      {"", "Modello 1.b  sevrina proprietari.pdf", "mod. ORTESA 1.b) sevrina proprietari"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type \"" + c.tipo + "\"");
    forms::Runtime runtime;
    forms::TestDriver driver(runtime);
    forms::fail_test_on_driver_failure(driver);
    sevrina::documenti::imposta_runtime(&runtime);
    pdftest::TempDir parent;
    write_data(data(c.tipo));
    const std::string bytes = pdftest::ReadFile((program() / "DATI.DAT").string());
    pdftest::WriteFile((program() / "bozza.pdf").string(), "%PDF-1.3 draft");

    driver.on_modal("crea_sevrine", [&](forms::Form& f) {
      auto& step = dynamic_cast<sevrina::CreaSevrine&>(f);
      ASSERT_TRUE(driver.choose_folder(step.Dir1, parent.path()));
      driver.expect_box("FILE GENERATI CON SUCCESSO!");
      driver.click(step.Command1);
    });
    sevrina::crea_sevrine();
    EXPECT_TRUE(runtime.Ended());
    sevrina::documenti::imposta_runtime(&rt);

    const fs::path out = parent.path() / kFolder;
    EXPECT_EQ(names(parent.path()), std::set<std::string>{kFolder});  // nothing else left
    EXPECT_EQ(names(out), (std::set<std::string>{c.file, "Modello dichiarazione sostitutiva.pdf",
                                                 "Modello quadro economico computo metrico.pdf",
                                                 "dati.dat"}));
    // The data file moved whole; the draft deleted; nothing else in the
    // program's folder.
    EXPECT_EQ(pdftest::ReadFile((out / "dati.dat").string()), bytes);
    EXPECT_TRUE(names(program()).empty()) << *names(program()).begin();

    const doctest::Reading application = doctest::read((out / c.file).string());
    EXPECT_NE(application.all.find(c.footer), std::string::npos);
    doctest::expect_sound_protected_a4((out / c.file).string(), application);
    const doctest::Reading costs =
        doctest::read((out / "Modello quadro economico computo metrico.pdf").string());
    EXPECT_EQ(costs.pages, 7);
    EXPECT_NE(costs.all.find("150.000,00"), std::string::npos);
    const doctest::Reading declarations =
        doctest::read((out / "Modello dichiarazione sostitutiva.pdf").string());
    EXPECT_NE(declarations.all.find("dichiarazioni sostitutive"), std::string::npos);
  }
}

TEST_F(OutputStepTest, AnEarlierOutputFolderIsReplacedWhole) {
  write_data(data("Amministratore"));
  // The data file in lower case is the data file too.
  fs::rename(program() / "DATI.DAT", program() / "dati.dat");
  const std::string bytes = pdftest::ReadFile((program() / "dati.dat").string());
  fs::create_directories(target / kFolder / "sotto");
  pdftest::WriteFile((target / kFolder / "vecchio.txt").string(), "old");
  pdftest::WriteFile((target / kFolder / "dati.dat").string(), "old data");
  fs::permissions(target / kFolder / "vecchio.txt", fs::perms::owner_read);

  genera_ok(target);
  EXPECT_EQ(names(target), (std::set<std::string>{kFolder, "casa"}));
  EXPECT_EQ(names(target / kFolder),
            (std::set<std::string>{"Modello 1.a  sevrina condomini.pdf",
                                   "Modello dichiarazione sostitutiva.pdf",
                                   "Modello quadro economico computo metrico.pdf", "dati.dat"}));
  EXPECT_EQ(pdftest::ReadFile((target / kFolder / "dati.dat").string()), bytes);
  EXPECT_FALSE(fs::exists(program() / "dati.dat"));
}

TEST_F(OutputStepTest, DataFileMovedAcrossFileSystems) {
  // The program on a memory file system, the target on the disk.
  ASSERT_TRUE(fs::is_directory("/dev/shm"));
  struct stat a{}, b{};
  ASSERT_EQ(::stat("/dev/shm", &a), 0);
  ASSERT_EQ(::stat(target.c_str(), &b), 0);
  ASSERT_NE(a.st_dev, b.st_dev) << "/dev/shm and the temporary folder on one file system";
  const fs::path shm = fs::path("/dev/shm") / ("sevrina-" + std::to_string(::getpid()));
  fs::create_directories(shm);
  sys::set_program_folder(shm);
  pdftest::WriteFile((shm / "DATI.DAT").string(), doctest::data_file(data("Amministratore")));
  const std::string bytes = pdftest::ReadFile((shm / "DATI.DAT").string());

  genera_ok(target);
  EXPECT_EQ(pdftest::ReadFile((target / kFolder / "dati.dat").string()), bytes);
  EXPECT_FALSE(fs::exists(shm / "DATI.DAT"));
  EXPECT_EQ(names(target), (std::set<std::string>{kFolder, "casa"}));
  fs::remove_all(shm);
}

// What must be exactly as it was after a failed "Genera".
struct Snapshot {
  std::set<std::string> program;
  std::string data;
  std::set<std::string> parent;
  std::set<std::string> earlier;
};

class OutputStepFailureTest : public OutputStepTest {
 protected:
  void SetUp() override {
    write_data(data("Amministratore"));
    pdftest::WriteFile((program() / "bozza.pdf").string(), "%PDF-1.3 draft");
    fs::create_directories(target / kFolder);
    pdftest::WriteFile((target / kFolder / "vecchio.pdf").string(), "old");
    before = take();
  }
  Snapshot take() const {
    return {names(program()), pdftest::ReadFile((program() / "DATI.DAT").string()), names(target),
            names(target / kFolder)};
  }
  void expect_unchanged() const {
    const Snapshot now = take();
    EXPECT_EQ(now.program, before.program);
    EXPECT_EQ(now.data, before.data);
    EXPECT_EQ(now.parent, before.parent);
    EXPECT_EQ(now.earlier, before.earlier);
    EXPECT_EQ(pdftest::ReadFile((target / kFolder / "vecchio.pdf").string()), "old");
  }
  Snapshot before;
};

// The real generators, except one that fails as a generator does: its own
// message, no file.
class FailingCostTable final : public sevrina::DocumentServices {
 public:
  bool crea_sevrina_condomini(const std::string& p, bool a) override {
    return sevrina::crea_sevrina_condomini(p, a);
  }
  bool crea_sevrina_proprietari(const std::string& p, bool a) override {
    return sevrina::crea_sevrina_proprietari(p, a);
  }
  bool crea_atto_notorio(const std::string& p, bool a) override {
    return sevrina::crea_atto_notorio(p, a);
  }
  bool crea_quadro_economico(const std::string&, bool) override {
    sevrina::documenti::mostra_messaggio("PdfWriter - spazio su disco esaurito", true);
    return false;
  }
  void crea_sevrine() override { sevrina::crea_sevrine(); }
};

TEST_F(OutputStepFailureTest, AGeneratorFailsNothingChanges) {
  FailingCostTable failing;
  sevrina::set_document_services(&failing);
  genera_fails(
      target, "I file non sono stati generati: la cartella \"" + (target / kFolder).string() +
                  "\", il file dei dati e la bozza sono rimasti come erano.",
      {"PdfWriter - spazio su disco esaurito"});
  expect_unchanged();
}

TEST_F(OutputStepFailureTest, ReadOnlyTargetNothingChanges) {
  ReadOnly ro(target);
  ASSERT_TRUE(ro.ok()) << "cannot make the target read-only";
  const std::string shown = genera_fails(
      target, "I file non sono stati generati: impossibile creare una cartella di lavoro in " +
                  target.string() + ": ");
  EXPECT_TRUE(shown.find("sola lettura") != std::string::npos ||
              shown.find("permesso negato") != std::string::npos)
      << shown;
  expect_unchanged();
}

TEST_F(OutputStepFailureTest, ReadOnlyProgramFolderNothingWritten) {
  ReadOnly ro(program());
  ASSERT_TRUE(ro.ok()) << "cannot make the program folder read-only";
  genera_fails(target, "I file non sono stati generati: impossibile spostare il file dei dati "
                       "dalla cartella \"" + program().string() + "\": ");
  expect_unchanged();
}

TEST_F(OutputStepFailureTest, AFileInTheFoldersPlaceStaysAsItWas) {
  pdftest::TempDir other;
  pdftest::WriteFile((other.path() / kFolder).string(), "a file, not a folder");
  genera_fails(other.path(), "I file non sono stati generati: impossibile sostituire la cartella " +
                                 (other.path() / kFolder).string() + ": ");
  EXPECT_EQ(names(other.path()), std::set<std::string>{kFolder});
  EXPECT_EQ(pdftest::ReadFile((other.path() / kFolder).string()), "a file, not a folder");
  expect_unchanged();
}

TEST_F(OutputStepFailureTest, GeneraOnlyForAnExistingFolder) {
  const fs::path gone = target / "sparita";
  fs::create_directories(gone);
  run([&](sevrina::CreaSevrine& f) {
    ASSERT_TRUE(ui.choose_folder(f.Dir1, gone));
    fs::remove(gone);
    ui.expect_box({"La cartella \"" + gone.string() +
                       "\" non esiste: selezionare una cartella esistente.",
                   forms::MsgResult::OK, std::nullopt, forms::MsgButtons::OK,
                   forms::MsgIcon::Critical});
    ui.click(f.Command1);
    EXPECT_FALSE(rt.Ended());
    ui.close(f);
  });
  expect_unchanged();
}

}  // namespace
