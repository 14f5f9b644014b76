// The output step keeps the dossier safe: it refuses an output folder that
// is, or holds, the data file's own folder; it gives the output folder and
// its files the usual permissions; it removes what an interrupted run left
// and nothing else; its messages name the output folder, never its working
// folder.
// A draft that no program can show is still written, and the user is told
// where it is.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/documents/crea_file.h"
#include "app/documents/crea_sevrine.h"
#include "app/documents/frame.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

class Boxes : public forms::MessageBoxes {
 public:
  forms::MsgResult show(const forms::MessageBoxRequest& r) override {
    texts.push_back(r.text);
    return r.default_button;
  }
  std::vector<std::string> texts;
};

class OutputSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string model = (fs::temp_directory_path() / "sevrina-uscita-XXXXXX").string();
    ASSERT_NE(::mkdtemp(model.data()), nullptr);
    root_ = model;
    rt_.SetMessageBoxes(&boxes_);
    sevrina::documenti::imposta_runtime(&rt_);
    sevrina::install_document_services();
  }
  void TearDown() override {
    sevrina::documenti::imposta_runtime(nullptr);
    fs::remove_all(root_);
  }
  // A program folder with a condominium's data file.
  void program_in(const fs::path& folder) {
    fs::create_directories(folder);
    sys::set_program_folder(folder);
    sevrina::scrivi_dato("TIPO_RICHIEDENTE", "Amministratore");
  }
  fs::path root_;
  forms::Runtime rt_;
  Boxes boxes_;
};

TEST_F(OutputSafety, AnOutputFolderHoldingTheDataFolderIsRefused) {
  for (const fs::path& program : {root_ / sevrina::kCartellaUscita, root_ / sevrina::kCartellaUscita / "sevrina"}) {
    program_in(program);
    boxes_.texts.clear();
    EXPECT_FALSE(sevrina::CreaSevrine::genera(rt_, root_)) << program;
    EXPECT_TRUE(fs::exists(program / "DATI.DAT")) << program;
    ASSERT_EQ(boxes_.texts.size(), 1u);
    EXPECT_NE(boxes_.texts[0].find("Scegliere un'altra cartella."), std::string::npos) << boxes_.texts[0];
  }
}

// The working folder an interrupted run left goes; a folder of the user's
// named like one, with what it holds, stays.
TEST_F(OutputSafety, UsualPermissionsAndNoLeftovers) {
  program_in(root_ / "programma");
  const fs::path target = root_ / "destinazione";
  const std::string prefix = std::string(".") + sevrina::kCartellaUscita + ".";
  fs::create_directories(target);
  fs::path leftover;
  ASSERT_TRUE(sys::create_temporary_folder(target, prefix, leftover));
  fs::create_directories(leftover / "dentro");
  const fs::path mine = target / (prefix + "backup");
  fs::create_directories(mine);
  std::ofstream(mine / "lettera.txt") << "mia";
  const mode_t old = ::umask(022);
  const bool done = sevrina::CreaSevrine::genera(rt_, target);
  ::umask(old);
  ASSERT_TRUE(done) << (boxes_.texts.empty() ? "" : boxes_.texts.back());
  EXPECT_FALSE(fs::exists(leftover));
  std::ifstream kept(mine / "lettera.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mia");
  EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 2);
  const fs::path out = target / sevrina::kCartellaUscita;
  auto mode = [](const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 0777;
  };
  EXPECT_EQ(mode(out), 0755u);
  for (const auto& e : fs::directory_iterator(out)) EXPECT_EQ(mode(e.path()), 0644u) << e.path();
}

TEST_F(OutputSafety, ADraftNoProgramCanShowIsWrittenAndTheUserToldWhere) {
  program_in(root_ / "programma");
  fs::create_directories(root_ / "bin");
  std::ofstream(root_ / "bin/xdg-open") << "#!/bin/sh\nexit 3\n";  // no program for PDF files
  fs::permissions(root_ / "bin/xdg-open", fs::perms::owner_all);
  const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (root_ / "bin").c_str(), 1);
  const fs::path bozza = root_ / "programma" / "bozza.pdf";
  sevrina::crea_atto_notorio(bozza.string(), true);
  ::setenv("PATH", old_path.c_str(), 1);
  EXPECT_GT(fs::file_size(bozza), 1000u);
  ASSERT_EQ(boxes_.texts.size(), 1u);
  EXPECT_EQ(boxes_.texts[0], sevrina::documenti::messaggio_non_mostrato(sys::path_to_text(bozza)));
  EXPECT_NE(boxes_.texts[0].find(bozza.string()), std::string::npos) << boxes_.texts[0];
}

// A real full disk (a small file system mounted for the test, as root): the
// writer's failure is told in Italian, naming the file, then the step's own
// message; nothing is left on the disk and the data file stays.
TEST_F(OutputSafety, AFullDiskIsToldInItalianAndChangesNothing) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  program_in(root_ / "programma");
  const fs::path disk = root_ / "disco";
  fs::create_directories(disk);
  // The system call itself, not a shell: TMPDIR's path may hold blanks,
  // quotes or "$".
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=32k") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
  }
  struct Unmount {
    fs::path at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{disk};
  EXPECT_FALSE(sevrina::CreaSevrine::genera(rt_, disk));
  ASSERT_EQ(boxes_.texts.size(), 2u);
  // The folder the user chose is named, not the working folder beside it.
  const std::string uscita = (disk / sevrina::kCartellaUscita).string();
  const std::string& scrittura = boxes_.texts[0];
  EXPECT_EQ(scrittura.rfind("Impossibile generare il file \"" + uscita + "/Modello ", 0), 0u) << scrittura;
  const std::string fine = ".pdf\": il disco \xE8 pieno. Liberare spazio nella cartella \"" + uscita + "\" e riprovare.";
  EXPECT_TRUE(scrittura.ends_with(fine)) << scrittura;
  EXPECT_EQ(boxes_.texts[1].rfind("I file non sono stati generati", 0), 0u) << boxes_.texts[1];
  EXPECT_TRUE(fs::is_empty(disk));
  EXPECT_TRUE(fs::exists(root_ / "programma" / "DATI.DAT"));
}

// A document that cannot be written whole (the file size limit reached):
// the writer's failure names the document in the output folder the user
// chose, which is what the user can look for.
TEST_F(OutputSafety, AWriteFailureNamesTheOutputFolder) {
  program_in(root_ / "programma");
  const fs::path target = root_ / "destinazione";
  fs::create_directories(target);
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit little = before;
  little.rlim_cur = 6000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &little), 0);
  const bool done = sevrina::CreaSevrine::genera(rt_, target);
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, handler);
  EXPECT_FALSE(done);
  ASSERT_EQ(boxes_.texts.size(), 2u);
  EXPECT_EQ(boxes_.texts[0], "Impossibile generare il file \"" + (target / sevrina::kCartellaUscita).string() + "/" +
                                 sevrina::kFileCondomini + "\": errore di scrittura sul disco.");
  EXPECT_TRUE(fs::is_empty(target));
}

}  // namespace
