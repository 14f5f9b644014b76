// Saves that must not be lost: two programs writing one data folder at
// once, a key longer than a record holds, a read-only data file, and the
// leftovers of an interrupted save.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/shell/store.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;
using sevrina::Dato;

class StoreLock : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string model = (fs::temp_directory_path() / "sevrina-lock-XXXXXX").string();
    ASSERT_NE(::mkdtemp(model.data()), nullptr);
    folder_ = model;
    sys::set_program_folder(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::size_t records() const { return fs::file_size(folder_ / "DATI.DAT") / sevrina::kLunghezzaRecord; }
  fs::path folder_;
};

TEST_F(StoreLock, TwoProgramsOnOneFolderKeepEverySave) {
  sevrina::scrivi_dato("INIZIO", "S");
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = ::fork();
    if (children[p] == 0) {
      for (int i = 0; i < 150; ++i) sevrina::scrivi_dato("CHIAVE_" + std::to_string(p) + "_" + std::to_string(i), "v");
      ::_exit(0);
    }
  }
  for (pid_t c : children) ::waitpid(c, nullptr, 0);
  EXPECT_EQ(records(), 301u);
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 150; i += 7) EXPECT_EQ(sevrina::leggi_dato("CHIAVE_" + std::to_string(p) + "_" + std::to_string(i)), "v");
  }
}

TEST_F(StoreLock, AKeyTooLongIsCutAlikeForWritingAndLookup) {
  const std::string lunga = std::string(250, 'K') + "_OLTRE_IL_LIMITE";
  sevrina::scrivi_dati({Dato{lunga, "1"}, Dato{lunga, "2"}});
  std::ifstream in(folder_ / "DATI.DAT", std::ios::binary);
  const std::string batch((std::istreambuf_iterator<char>(in)), {});
  fs::remove(folder_ / "DATI.DAT");
  sevrina::scrivi_dato(lunga, "1");
  sevrina::scrivi_dato(lunga, "2");
  std::ifstream again(folder_ / "DATI.DAT", std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), batch);
  EXPECT_EQ(records(), 1u);
  EXPECT_EQ(sevrina::leggi_dato(lunga), "2");
}

TEST_F(StoreLock, AReadOnlyDataFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files; ./test runs this as an unprivileged user";
  sevrina::scrivi_dato("NOME", "Mario");
  ::chmod((folder_ / "DATI.DAT").c_str(), 0444);
  EXPECT_THROW(sevrina::scrivi_dato("NOME", "Luigi"), sevrina::ErroreFileDati);
  EXPECT_EQ(sevrina::leggi_dato("NOME"), "Mario");
}

TEST_F(StoreLock, TheLeftoversOfAnInterruptedSaveGoAtStart) {
  sevrina::scrivi_dato("NOME", "Mario");
  for (const char* name : {".DATI.DAT.a1B2c3", ".dati.dat.zzzzzz", ".DATI.DAT.lungo1234", "altro.txt"}) {
    std::ofstream(folder_ / name) << "x";
  }
  sevrina::pulisci_residui();
  EXPECT_FALSE(fs::exists(folder_ / ".DATI.DAT.a1B2c3"));
  EXPECT_FALSE(fs::exists(folder_ / ".dati.dat.zzzzzz"));
  EXPECT_TRUE(fs::exists(folder_ / ".DATI.DAT.lungo1234"));
  EXPECT_TRUE(fs::exists(folder_ / "altro.txt"));
  EXPECT_EQ(sevrina::leggi_dato("NOME"), "Mario");
}

}  // namespace
