// The data file store, checked on the bytes on disk: padding and cutting,
// duplicate keys, a write that fails part-way, two programs writing one
// folder at once, a read-only data file and the leftovers of a save.

#include "app/shell/store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/cp1252.h"
#include "tests/app/shell/shell_test_support.h"

namespace sevrina {
namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;

class StoreTest : public CartellaProgramma {
 protected:
  std::vector<std::string> file_nella_cartella() const {
    std::vector<std::string> nomi;
    for (const auto& e : fs::directory_iterator(cartella_)) nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }
};

// ---------------------------------------------------------------- the bytes on disk

TEST_F(StoreTest, ATrailingPartIsIgnoredAndOverwrittenByTheNextAppend) {
  // 1030 bytes: two records and a 10-byte tail.
  scrivi_byte(record("PRIMA", "uno") + record("SECONDA", "due") + "CODA_CORTA");
  ASSERT_EQ(fs::file_size(dati()), 1030u);
  std::vector<std::string> visti;
  leggi_file_dati([&](const VoceDati& v) {
    visti.push_back(std::string(v.chiave) + "=" + std::string(v.valore));
    return true;
  });
  EXPECT_EQ(visti, (std::vector<std::string>{"PRIMA=uno", "SECONDA=due"}));
  EXPECT_EQ(leggi_dato("CODA_CORTA"), "");

  scrivi_dato("TERZA", "tre");
  const std::string byte = leggi_byte();
  ASSERT_EQ(byte.size(), 1530u);
  EXPECT_EQ(byte.substr(1020), record("TERZA", "tre"));
  EXPECT_EQ(leggi_dato("TERZA"), "tre");
}

// ---------------------------------------------------------------- values

// A value as written, as on disk (the 255-byte field without its padding),
// and as read back: padded, cut at 255 bytes, read without surrounding blanks.
TEST_F(StoreTest, ValuesAreStoredPaddedOrCutAndReadTrimmed) {
  std::string accentate;  // 300 bytes of Windows-1252 text ("è" is two in UTF-8)
  for (int i = 0; i < 100; ++i) accentate += u8"èé€"_w1252;
  const std::string y254(254, 'y');
  const std::string casi[][3] = {
      {"Amministratore", "Amministratore", "Amministratore"}, {"   tre blank", "   tre blank", "tre blank"},
      {"dopo   ", "dopo", "dopo"}, {"     ", "", ""}, {"", "", ""},
      {std::string(300, 'x'), std::string(255, 'x'), std::string(255, 'x')},
      {accentate, accentate.substr(0, 255), accentate.substr(0, 255)}, {y254 + "  z", y254 + " ", y254},
  };
  for (const auto& [scritto, su_disco, letto] : casi) {
    SCOPED_TRACE("\"" + scritto + "\"");
    fs::remove(dati());
    scrivi_dato("K", scritto);
    const std::string byte = leggi_byte();
    ASSERT_EQ(byte.size(), 510u);
    EXPECT_EQ(byte.substr(0, 255), "K" + std::string(254, ' '));
    EXPECT_EQ(byte.substr(255), su_disco + std::string(255 - su_disco.size(), ' '));
    EXPECT_EQ(leggi_dato("K"), letto);
  }
}

// ---------------------------------------------------------------- duplicate keys

TEST_F(StoreTest, DuplicateKeysLookupTakesTheFirstReaderTheLastWriteRewritesBoth) {
  scrivi_byte(record("DOPPIA", "prima") + record("ALTRA", "x") + record(" doppia ", "seconda"));
  EXPECT_EQ(leggi_dato("DOPPIA"), "prima");

  std::string per_lettore;
  leggi_file_dati([&](const VoceDati& v) {
    if (v.chiave == "DOPPIA") per_lettore = v.valore;
    return true;
  });
  EXPECT_EQ(per_lettore, "seconda");

  scrivi_dato("Doppia", "nuova");
  EXPECT_EQ(leggi_byte(), record("Doppia", "nuova") + record("ALTRA", "x") + record("Doppia", "nuova"));
}

// ---------------------------------------------------------------- failures

// A full disk, imitated with the file-size limit (works for root as well):
// the write fails part-way and the file stays exactly as it was.
TEST_F(StoreTest, AWriteThatFailsPartWayLeavesTheFileAsItWas) {
  std::string prima;
  for (int i = 0; i < 4; ++i) prima += record("K" + std::to_string(i), "v");
  prima += "coda";
  scrivi_byte(prima);
  struct sigaction ignora {}, vecchia {};
  ignora.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignora, &vecchia);
  rlimit vecchio_limite{};
  ::getrlimit(RLIMIT_FSIZE, &vecchio_limite);
  rlimit limite = vecchio_limite;
  limite.rlim_cur = 2000;  // the new file would need 2550 bytes
  ::setrlimit(RLIMIT_FSIZE, &limite);
  bool errore = false;
  try {
    scrivi_dati({{"K0", "nuovo"}, {"K9", "aggiunto"}});
  } catch (const ErroreFileDati& e) {
    errore = true;
    EXPECT_EQ(e.operazione(), ErroreFileDati::Operazione::Scrittura);
    EXPECT_EQ(e.codice(), std::errc::file_too_large);
  }
  ::setrlimit(RLIMIT_FSIZE, &vecchio_limite);
  ::sigaction(SIGXFSZ, &vecchia, nullptr);
  EXPECT_TRUE(errore);
  EXPECT_EQ(leggi_byte(), prima);
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{"DATI.DAT"}));
}

// A flag is set only by a capital S, blanks aside.
TEST(ValoriDati, Flags) {
  for (const char* si : {"S", "  S "}) EXPECT_TRUE(flag_si(si)) << si;
  for (const char* no : {"s", "N", "", "SI"}) EXPECT_FALSE(flag_si(no)) << no;
}

// ---------------------------------------------------------------- keys, locking, leftovers

// A key longer than a record holds is cut alike for a batch, single writes
// and lookup: one record, rewritten in place.
TEST_F(StoreTest, KeysAreCutTo255ForWritingAndLookupAlike) {
  const std::string lunga = std::string(255, 'K') + "_OLTRE_IL_LIMITE";
  const std::string atteso = record(std::string(255, 'K'), "2");
  scrivi_dati({Dato{lunga, "1"}, Dato{lunga, "2"}});
  EXPECT_EQ(leggi_byte(), atteso);
  fs::remove(dati());
  scrivi_dato(lunga, "1");
  scrivi_dato(lunga, "2");
  EXPECT_EQ(leggi_byte(), atteso);
  EXPECT_EQ(leggi_dato(lunga), "2");
}

TEST_F(StoreTest, TwoProgramsOnOneFolderKeepEverySave) {
  scrivi_dato("INIZIO", "S");
  pid_t figli[2];
  for (int p = 0; p < 2; ++p) {
    figli[p] = ::fork();
    if (figli[p] == 0) {
      for (int i = 0; i < 150; ++i) scrivi_dato("CHIAVE_" + std::to_string(p) + "_" + std::to_string(i), "v");
      ::_exit(0);
    }
  }
  for (pid_t f : figli) ::waitpid(f, nullptr, 0);
  EXPECT_EQ(fs::file_size(dati()), 301 * kLunghezzaRecord);
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 150; i += 7) EXPECT_EQ(leggi_dato("CHIAVE_" + std::to_string(p) + "_" + std::to_string(i)), "v");
  }
}

TEST_F(StoreTest, AReadOnlyDataFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files; ./test runs this as an unprivileged user";
  scrivi_dato("NOME", "Mario");
  ::chmod(dati().c_str(), 0444);
  EXPECT_THROW(scrivi_dato("NOME", "Luigi"), ErroreFileDati);
  EXPECT_EQ(leggi_dato("NOME"), "Mario");
}

TEST_F(StoreTest, TheLeftoversOfAnInterruptedSaveGoAtStart) {
  scrivi_dato("NOME", "Mario");
  for (const char* nome : {".DATI.DAT.a1B2c3", ".dati.dat.zzzzzz", ".DATI.DAT.lungo1234", "altro.txt"}) {
    std::ofstream(cartella_ / nome) << "x";
  }
  pulisci_residui();
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{".DATI.DAT.lungo1234", "DATI.DAT", "altro.txt"}));
  EXPECT_EQ(leggi_dato("NOME"), "Mario");
}

}  // namespace
}  // namespace sevrina
