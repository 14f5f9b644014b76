// The output step through the runtime's test driver, in temporary folders:
// the variant chosen for each applicant type, the four files under their
// exact names, the data file moved and the draft deleted; and a failing
// generator shown in Italian with everything left as it was and the form
// still open.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <tuple>
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

// Environment variable set (or, with null, unset) for the test's length.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }

 private:
  void set(const char* value) { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }
  const char* name_;
  std::optional<std::string> old_;
};

class OutputStepTest : public doctest::DocumentTest {
 protected:
  OutputStepTest() {
    sevrina::install_document_services();
    fs::create_directories(home);
  }
  ~OutputStepTest() override { sevrina::install_document_services(); }

  fs::path program() const { return dir.path(); }

  pdftest::TempDir target_dir;
  fs::path target = target_dir.path();
  fs::path home = target_dir.path() / "casa";
  ScopedEnv home_env{"HOME", home.c_str()};
  ScopedEnv xdg_env{"XDG_CONFIG_HOME", nullptr};
};

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
    if (&c != &cases.front()) continue;
    // After the declarations' table the type is 12 point again, as in the
    // paragraphs before it.
    double before = 0, after = 0;
    for (const doctest::Word& w : doctest::words((out / "Modello dichiarazione sostitutiva.pdf").string())) {
      if (w.text == "consapevole" && before == 0) before = w.y_max - w.y_min;  // the first, above the table
      if (w.text == "pertanto,") after = w.y_max - w.y_min;
    }
    EXPECT_GT(before, 0);
    EXPECT_NEAR(after, before, 0.05);
  }
}

// A home folder named with letters Windows-1252 cannot hold: the form opens
// on that home's desktop, the question about the earlier output folder
// there shows each such letter as "?", and the dossier, the data file from a
// program folder under that home and the draft's removal all happen there.
TEST_F(OutputStepTest, AHomeNamedOutsideTheCodePage) {
  const fs::path casa = target / fs::path(u8"\u0141ukasz \u017B\u00F3\u0142\u0107");  // Łukasz Żółć
  const fs::path desktop = casa / "Desktop", finale = desktop / kFolder;
  const fs::path programma = casa / ".local" / "share" / "sevrina";
  fs::create_directories(finale);
  fs::create_directories(programma);
  ScopedEnv home_here{"HOME", casa.c_str()};
  sys::set_program_folder(programma);
  pdftest::WriteFile((programma / "DATI.DAT").string(), doctest::data_file(data("Amministratore")));
  pdftest::WriteFile((programma / "bozza.pdf").string(), "%PDF-1.3 draft");
  const std::string shown = target.string() + "/?ukasz ?\xF3?" "?/Desktop/" + kFolder;
  EXPECT_EQ(sevrina::domanda_sostituzione(finale).rfind("La cartella \"" + shown + "\" esiste gi\xE0 e sar\xE0", 0), 0u)
      << sevrina::domanda_sostituzione(finale);
  ui.on_modal("crea_sevrine", [&](forms::Form& form) {
    auto& f = dynamic_cast<sevrina::CreaSevrine&>(form);
    ASSERT_EQ(f.Dir1.Path(), desktop);  // never "Genera" anywhere else
    ui.expect_box(sevrina::domanda_sostituzione(finale), forms::MsgResult::Yes);
    ui.expect_box("FILE GENERATI CON SUCCESSO!");
    ui.click(f.Command1);
  });
  sevrina::crea_sevrine();
  EXPECT_TRUE(rt.Ended());
  EXPECT_EQ(names(finale), (std::set<std::string>{"Modello 1.a  sevrina condomini.pdf",
                                                  "Modello dichiarazione sostitutiva.pdf",
                                                  "Modello quadro economico computo metrico.pdf", "dati.dat"}));
  EXPECT_TRUE(names(programma).empty());
}

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

// A failing generator: its own message, then one critical box of the step's
// own; the form stays open, and the program's folder, the data file and any
// earlier output folder are exactly as they were.
TEST_F(OutputStepTest, AGeneratorFailsNothingChanges) {
  write_data(data("Amministratore"));
  pdftest::WriteFile((program() / "bozza.pdf").string(), "%PDF-1.3 draft");
  fs::create_directories(target / kFolder);
  pdftest::WriteFile((target / kFolder / "vecchio.pdf").string(), "old");
  const auto take = [&] {
    return std::make_tuple(names(program()), pdftest::ReadFile((program() / "DATI.DAT").string()), names(target),
                           names(target / kFolder), pdftest::ReadFile((target / kFolder / "vecchio.pdf").string()));
  };
  const auto before = take();
  FailingCostTable failing;
  sevrina::set_document_services(&failing);
  ui.on_modal("crea_sevrine", [&](forms::Form& form) {
    auto& f = dynamic_cast<sevrina::CreaSevrine&>(form);
    ASSERT_TRUE(ui.choose_folder(f.Dir1, target));
    ui.expect_box(sevrina::domanda_sostituzione(target / kFolder), forms::MsgResult::Yes);
    ui.expect_box("PdfWriter - spazio su disco esaurito");
    ui.expect_box({"I file non sono stati generati: la cartella \"" + (target / kFolder).string() +
                       "\", il file dei dati e la bozza sono rimasti come erano.",
                   forms::MsgResult::OK, std::nullopt, std::nullopt, forms::MsgIcon::Critical});
    ui.click(f.Command1);
    ui.verify();
    EXPECT_FALSE(rt.Ended());
    EXPECT_TRUE(f.Loaded());  // still on the form
    ui.close(f);
  });
  sevrina::crea_sevrine();
  EXPECT_EQ(ui.modal_shown(), std::vector<std::string>{"crea_sevrine"});
  EXPECT_EQ(take(), before);
}

// An earlier output folder is replaced only after Yes: No, or the question
// closed unanswered, leaves it and every file in it as they were, with the
// data file and the draft, and the form stays open.
TEST_F(OutputStepTest, AnEarlierOutputFolderGoesOnlyAfterYes) {
  write_data(data("Amministratore"));
  pdftest::WriteFile((program() / "bozza.pdf").string(), "%PDF-1.3 draft");
  fs::create_directories(target / kFolder / "mie foto");
  pdftest::WriteFile((target / kFolder / "dati.dat").string(), "un altro dossier");
  pdftest::WriteFile((target / kFolder / "mie foto" / "facciata.jpg").string(), "foto");
  const auto take = [&] {
    return std::make_tuple(names(program()), pdftest::ReadFile((program() / "DATI.DAT").string()), names(target),
                           names(target / kFolder), pdftest::ReadFile((target / kFolder / "dati.dat").string()),
                           names(target / kFolder / "mie foto"));
  };
  const auto before = take();
  for (forms::MsgResult answer : {forms::MsgResult::No, forms::MsgResult::Cancel}) {
    ui.on_modal("crea_sevrine", [&](forms::Form& form) {
      auto& f = dynamic_cast<sevrina::CreaSevrine&>(form);
      ASSERT_TRUE(ui.choose_folder(f.Dir1, target));
      ui.expect_box({sevrina::domanda_sostituzione(target / kFolder), answer, std::string("Sovrascrivere"),
                     forms::MsgButtons::YesNo, forms::MsgIcon::None});
      ui.click(f.Command1);
      ui.verify();
      EXPECT_TRUE(f.Loaded());  // back on the form
      ui.close(f);
    });
    sevrina::crea_sevrine();
    EXPECT_FALSE(rt.Ended());
    EXPECT_EQ(take(), before);
  }
  // Yes: the new folder takes its place.
  ui.on_modal("crea_sevrine", [&](forms::Form& form) {
    auto& f = dynamic_cast<sevrina::CreaSevrine&>(form);
    ASSERT_TRUE(ui.choose_folder(f.Dir1, target));
    ui.expect_box(sevrina::domanda_sostituzione(target / kFolder), forms::MsgResult::Yes);
    ui.expect_box("FILE GENERATI CON SUCCESSO!");
    ui.click(f.Command1);
  });
  sevrina::crea_sevrine();
  EXPECT_TRUE(rt.Ended());
  EXPECT_FALSE(fs::exists(target / kFolder / "mie foto"));
  EXPECT_EQ(names(target / kFolder).count("Modello 1.a  sevrina condomini.pdf"), 1u);
}

}  // namespace
