// The data file store, checked on the bytes on disk.

#include "app/shell/store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

namespace fs = std::filesystem;
using namespace cp1252::literals;

// Each test gets a fresh program folder.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string modello = (fs::temp_directory_path() / "sevrina-store-XXXXXX").string();
    ASSERT_NE(::mkdtemp(modello.data()), nullptr);
    cartella_ = modello;
    sys::set_program_folder(cartella_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(cartella_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(cartella_, ec);
  }

  fs::path dati() const { return cartella_ / "DATI.DAT"; }

  static std::string leggi_byte(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void scrivi_byte(const fs::path& p, std::string_view byte) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(byte.data(), static_cast<std::streamsize>(byte.size()));
  }
  static std::string record(std::string_view chiave, std::string_view valore) {
    return campo_record(chiave) + campo_record(valore);
  }

  std::vector<std::string> file_nella_cartella() const {
    std::vector<std::string> nomi;
    for (const auto& e : fs::directory_iterator(cartella_)) nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

  fs::path cartella_;
};

// ---------------------------------------------------------------- creation and esiste_file

TEST_F(StoreTest, LookupInAMissingFileCreatesItEmpty) {
  ASSERT_FALSE(fs::exists(dati()));
  EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE"), "");
  ASSERT_TRUE(fs::is_regular_file(dati()));
  EXPECT_EQ(fs::file_size(dati()), 0u);
}

TEST_F(StoreTest, EveryOpeningCreatesTheMissingFile) {
  EXPECT_TRUE(leggi_file_dati([](const VoceDati&) { return true; }));
  EXPECT_TRUE(fs::exists(dati()));
  fs::remove(dati());
  scrivi_dati({});
  EXPECT_TRUE(fs::exists(dati()));
  EXPECT_EQ(fs::file_size(dati()), 0u);
}

TEST_F(StoreTest, EsisteFileNeitherOpensNorCreates) {
  EXPECT_FALSE(esiste_file(dati()));
  EXPECT_FALSE(fs::exists(dati()));
  EXPECT_FALSE(esiste_file(percorso_file_dati()));
  EXPECT_FALSE(fs::exists(dati()));
  leggi_dato("X");
  EXPECT_TRUE(esiste_file(dati()));
  EXPECT_TRUE(esiste_file(dati().string()));
}

TEST_F(StoreTest, EsisteFileIsFalseOnAFolder) {
  fs::create_directory(cartella_ / "una cartella");
  EXPECT_FALSE(esiste_file(cartella_ / "una cartella"));
  EXPECT_FALSE(esiste_file(cartella_));
  EXPECT_FALSE(esiste_file(cartella_ / "manca" / "DATI.DAT"));
}

// ---------------------------------------------------------------- the bytes on disk

TEST_F(StoreTest, FirstWriteAppendsRecordOnePaddedWithBlanks) {
  scrivi_dato("TIPO_RICHIEDENTE", "Amministratore");
  const std::string byte = leggi_byte(dati());
  ASSERT_EQ(byte.size(), 510u);
  EXPECT_EQ(byte.substr(0, 16), "TIPO_RICHIEDENTE");
  EXPECT_EQ(byte.substr(16, 255 - 16), std::string(239, ' '));
  EXPECT_EQ(byte.substr(255, 14), "Amministratore");
  EXPECT_EQ(byte.substr(255 + 14), std::string(255 - 14, ' '));
  EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE"), "Amministratore");
}

TEST_F(StoreTest, RecordsKeepTheOrderOfFirstWriting) {
  scrivi_dato("A", "1");
  scrivi_dato("B", "2");
  scrivi_dato("A", "3");
  scrivi_dato("C", "4");
  EXPECT_EQ(leggi_byte(dati()), record("A", "3") + record("B", "2") + record("C", "4"));
}

TEST_F(StoreTest, ATrailingPartIsIgnoredAndOverwrittenByTheNextAppend) {
  // 1030 bytes: two records and a 10-byte tail.
  scrivi_byte(dati(), record("PRIMA", "uno") + record("SECONDA", "due") + "CODA_CORTA");
  ASSERT_EQ(fs::file_size(dati()), 1030u);
  std::vector<std::string> visti;
  leggi_file_dati([&](const VoceDati& v) {
    visti.push_back(std::string(v.chiave) + "=" + std::string(v.valore));
    return true;
  });
  EXPECT_EQ(visti, (std::vector<std::string>{"PRIMA=uno", "SECONDA=due"}));
  EXPECT_EQ(leggi_dato("CODA_CORTA"), "");

  scrivi_dato("TERZA", "tre");
  const std::string byte = leggi_byte(dati());
  ASSERT_EQ(byte.size(), 1530u);
  EXPECT_EQ(byte.substr(1020), record("TERZA", "tre"));
  EXPECT_EQ(leggi_dato("TERZA"), "tre");
}

TEST_F(StoreTest, AShortTailAloneHoldsNoRecords) {
  scrivi_byte(dati(), "0123456789");
  EXPECT_EQ(leggi_dato("0123456789"), "");
  scrivi_dato("K", "v");
  EXPECT_EQ(leggi_byte(dati()), record("K", "v"));
}

// ---------------------------------------------------------------- matching

struct CasoChiave {
  const char* scritta;
  const char* cercata;
  bool trovata;
};

class MatchingTest : public StoreTest, public ::testing::WithParamInterface<CasoChiave> {};

TEST_P(MatchingTest, KeysMatchWithoutCaseAndSurroundingBlanks) {
  const CasoChiave c = GetParam();
  scrivi_dato(c.scritta, "valore");
  EXPECT_EQ(leggi_dato(c.cercata), c.trovata ? "valore" : "") << c.scritta << " / " << c.cercata;
}

INSTANTIATE_TEST_SUITE_P(
    Chiavi, MatchingTest,
    ::testing::Values(CasoChiave{"TIPO_RICHIEDENTE", "TIPO_RICHIEDENTE", true},
                      CasoChiave{"TIPO_RICHIEDENTE", "tipo_richiedente ", true},
                      CasoChiave{"TIPO_RICHIEDENTE", "  Tipo_Richiedente  ", true},
                      CasoChiave{" tipo_richiedente", "TIPO_RICHIEDENTE", true},
                      CasoChiave{"QUOTA_A1%", "quota_a1%", true},
                      CasoChiave{"TIPO_RICHIEDENTE", "TIPO_RICHIEDENT", false},
                      CasoChiave{"TIPO_RICHIEDENTE", "TIPO RICHIEDENTE", false},
                      CasoChiave{"TIPO_RICHIEDENTE", "TIPO_RICHIEDENTE_", false},
                      // Only the blank (0x20) is trimmed.
                      CasoChiave{"TIPO_RICHIEDENTE", "TIPO_RICHIEDENTE\t", false},
                      // Windows-1252 letters are compared in upper case too.
                      CasoChiave{"CITT\xC0", "citt\xE0", true}));

TEST_F(StoreTest, ARewriteStoresTheKeyAsPassedAndLeavesOneRecord) {
  scrivi_dato("IMPORTO_CONTRIBUTO_BASE", "100");
  const std::string prima = leggi_byte(dati());
  scrivi_dato("IMPORTO_CONTRIBUTO_BASE ", "100");
  EXPECT_EQ(leggi_byte(dati()), prima);  // identical on disk

  scrivi_dato("importo_contributo_base", "200");
  const std::string byte = leggi_byte(dati());
  ASSERT_EQ(byte.size(), 510u);
  EXPECT_EQ(byte, record("importo_contributo_base", "200"));
  EXPECT_EQ(leggi_dato("IMPORTO_CONTRIBUTO_BASE"), "200");
}

TEST_F(StoreTest, ALeadingBlankOfTheKeyIsStoredAsPassed) {
  scrivi_dato("  CHIAVE", "x");
  EXPECT_EQ(leggi_byte(dati()).substr(0, 8), "  CHIAVE");
  EXPECT_EQ(leggi_dato("CHIAVE"), "x");
}

// ---------------------------------------------------------------- values

struct CasoValore {
  std::string scritto;
  std::string su_disco;  // the 255-byte field, without the padding
  std::string letto;
};

class ValoriTest : public StoreTest, public ::testing::WithParamInterface<CasoValore> {};

TEST_P(ValoriTest, ValuesAreStoredPaddedOrCutAndReadTrimmed) {
  const CasoValore& c = GetParam();
  scrivi_dato("K", c.scritto);
  const std::string byte = leggi_byte(dati());
  ASSERT_EQ(byte.size(), 510u);
  EXPECT_EQ(byte.substr(255), campo_record(c.su_disco));
  EXPECT_EQ(leggi_dato("K"), c.letto);
}

const std::string k300(300, 'x');
const std::string k255(255, 'x');
// 300 characters of Windows-1252 text: "è" is one byte here (two in UTF-8).
const std::string kAccentate300 = [] {
  std::string s;
  for (int i = 0; i < 100; ++i) s += u8"èé€"_w1252;
  return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Valori, ValoriTest,
    ::testing::Values(CasoValore{"Amministratore", "Amministratore", "Amministratore"},
                      CasoValore{"   tre blank", "   tre blank", "tre blank"},
                      CasoValore{"dopo   ", "dopo", "dopo"},
                      CasoValore{"     ", "", ""},
                      CasoValore{"", "", ""},
                      CasoValore{k300, k255, k255},
                      CasoValore{kAccentate300, kAccentate300.substr(0, 255), kAccentate300.substr(0, 255)},
                      CasoValore{std::string(254, 'y') + "  z", std::string(254, 'y') + " ",
                                 std::string(254, 'y')}));

TEST_F(StoreTest, TheCutCountsWindows1252Bytes) {
  const std::string valore = kAccentate300;
  ASSERT_EQ(valore.size(), 300u);
  scrivi_dato("K", valore);
  const std::string letto = leggi_dato("K");
  ASSERT_EQ(letto.size(), 255u);
  // 85 whole groups of "èé€", each character one byte.
  std::string atteso;
  for (int i = 0; i < 85; ++i) atteso += u8"èé€"_w1252;
  EXPECT_EQ(letto, atteso);
  EXPECT_EQ(cp1252::to_utf8(letto.substr(0, 4)), "èé€è");
}

TEST_F(StoreTest, KeysAreCutTo255Too) {
  const std::string lunga = std::string(255, 'K') + "OLTRE";
  scrivi_dato(lunga, "v");
  EXPECT_EQ(leggi_byte(dati()), record(std::string(255, 'K'), "v"));
  EXPECT_EQ(leggi_dato(std::string(255, 'K')), "v");
  // The key asked for is cut alike, so it finds the record it wrote.
  EXPECT_EQ(leggi_dato(lunga), "v");
}

// ---------------------------------------------------------------- duplicate keys

TEST_F(StoreTest, DuplicateKeysLookupTakesTheFirstReaderTheLastWriteRewritesBoth) {
  scrivi_byte(dati(), record("DOPPIA", "prima") + record("ALTRA", "x") + record(" doppia ", "seconda"));
  EXPECT_EQ(leggi_dato("DOPPIA"), "prima");

  std::string per_lettore;
  leggi_file_dati([&](const VoceDati& v) {
    if (v.chiave == "DOPPIA") per_lettore = v.valore;
    return true;
  });
  EXPECT_EQ(per_lettore, "seconda");

  scrivi_dato("Doppia", "nuova");
  EXPECT_EQ(leggi_byte(dati()), record("Doppia", "nuova") + record("ALTRA", "x") + record("Doppia", "nuova"));
}

// ---------------------------------------------------------------- batch write

TEST_F(StoreTest, ABatchFindsTheKeysItAppendedItself) {
  scrivi_dato("ESISTENTE", "0");
  scrivi_dati({{"NUOVA", "1"}, {"ESISTENTE", "2"}, {"nuova", "3"}, {"ALTRA", "4"}, {"NUOVA ", "5"}});
  EXPECT_EQ(leggi_byte(dati()), record("ESISTENTE", "2") + record("NUOVA ", "5") + record("ALTRA", "4"));
}

TEST_F(StoreTest, ABatchEqualsTheSameWritesOneByOne) {
  std::vector<Dato> dati_batch;
  for (int i = 0; i < 40; ++i) {
    dati_batch.push_back({"CHIAVE_" + std::to_string(i % 25), "valore " + std::to_string(i)});
  }
  scrivi_byte(dati(), record("CHIAVE_3", "vecchio") + "coda");
  scrivi_dati(dati_batch);
  const std::string batch = leggi_byte(dati());

  scrivi_byte(dati(), record("CHIAVE_3", "vecchio") + "coda");
  for (const Dato& d : dati_batch) scrivi_dato(d.chiave, d.valore);
  EXPECT_EQ(leggi_byte(dati()), batch);
  EXPECT_EQ(batch.size(), 25u * 510u);
}

// ---------------------------------------------------------------- the reading rule

TEST_F(StoreTest, TheReaderVisitsRecordsInFileOrderAndMayStop) {
  scrivi_dati({{"uno ", " 1 "}, {"DUE", "2"}, {"TRE", ""}});
  std::vector<std::string> visti;
  std::vector<std::size_t> numeri;
  EXPECT_TRUE(leggi_file_dati([&](const VoceDati& v) {
    visti.push_back(std::string(v.chiave) + "=" + std::string(v.valore));
    numeri.push_back(v.record);
    return true;
  }));
  EXPECT_EQ(visti, (std::vector<std::string>{"UNO=1", "DUE=2", "TRE="}));
  EXPECT_EQ(numeri, (std::vector<std::size_t>{1, 2, 3}));

  int quanti = 0;
  EXPECT_FALSE(leggi_file_dati([&](const VoceDati& v) { return ++quanti < 2; }));
  EXPECT_EQ(quanti, 2);
}

TEST_F(StoreTest, AVisitorMayUseTheStoreItself) {
  scrivi_dati({{"A", "1"}, {"B", "2"}});
  std::vector<std::string> letti;
  leggi_file_dati([&](const VoceDati& v) {
    letti.push_back(leggi_dato(v.chiave));
    return true;
  });
  EXPECT_EQ(letti, (std::vector<std::string>{"1", "2"}));
}

// ---------------------------------------------------------------- the file's name

TEST_F(StoreTest, DatiDatInSmallLettersIsTheDataFile) {
  scrivi_byte(cartella_ / "dati.dat", record("TIPO_RICHIEDENTE", "Unico Proprietario"));
  EXPECT_EQ(percorso_file_dati(), cartella_ / "dati.dat");
  EXPECT_EQ(leggi_dato("TIPO_RICHIEDENTE"), "Unico Proprietario");
  scrivi_dato("ALTRO", "x");
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{"dati.dat"}));
  EXPECT_EQ(fs::file_size(cartella_ / "dati.dat"), 1020u);
  EXPECT_TRUE(esiste_file(percorso_file_dati()));
}

TEST_F(StoreTest, AnExactDatiDatWinsOverOtherSpellings) {
  scrivi_byte(cartella_ / "Dati.Dat", record("K", "misto"));
  scrivi_byte(cartella_ / "dati.dat", record("K", "minuscolo"));
  EXPECT_EQ(percorso_file_dati(), cartella_ / "Dati.Dat");  // first in byte order
  scrivi_byte(dati(), record("K", "maiuscolo"));
  EXPECT_EQ(percorso_file_dati(), dati());
  EXPECT_EQ(leggi_dato("K"), "maiuscolo");
}

TEST_F(StoreTest, AMissingFileIsCreatedInCapitals) {
  EXPECT_EQ(percorso_file_dati(), dati());
  scrivi_dato("K", "v");
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{"DATI.DAT"}));
  fs::create_directory(cartella_ / "altrove");
  EXPECT_EQ(percorso_file_dati(cartella_ / "altrove"), cartella_ / "altrove" / "DATI.DAT");
}

TEST_F(StoreTest, AFolderNamedDatiDatIsNotTheDataFile) {
  fs::create_directory(cartella_ / "dati.dat");
  EXPECT_EQ(percorso_file_dati(), dati());
}

// ---------------------------------------------------------------- values and flags

TEST(ValoriDati, Flags) {
  EXPECT_TRUE(flag_si("S"));
  EXPECT_TRUE(flag_si("  S "));
  EXPECT_FALSE(flag_si("s"));
  EXPECT_FALSE(flag_si("N"));
  EXPECT_FALSE(flag_si(""));
  EXPECT_FALSE(flag_si("SI"));
}

TEST(ValoriDati, ApplicantType) {
  EXPECT_EQ(tipo_richiedente("Amministratore"), TipoRichiedente::Condominio);
  EXPECT_EQ(tipo_richiedente("Unico Proprietario"), TipoRichiedente::Proprietario);
  EXPECT_EQ(tipo_richiedente("Delegato del Proprietario/i"), TipoRichiedente::Proprietario);
  EXPECT_EQ(tipo_richiedente(" delegato del proprietario "), TipoRichiedente::Proprietario);
  EXPECT_EQ(tipo_richiedente("qualcosa"), TipoRichiedente::Condominio);
  EXPECT_EQ(tipo_richiedente("   "), TipoRichiedente::Nessuno);
  EXPECT_EQ(tipo_richiedente(""), TipoRichiedente::Nessuno);
}

TEST(ValoriDati, UpperCaseInWindows1252) {
  EXPECT_EQ(maiuscole("abc xyz 09_%"), "ABC XYZ 09_%");
  EXPECT_EQ(maiuscole("\xE0\xE8\xF6\xF7\xFE\xFF\x9A\x9C\x9E\xDF\xB5"), "\xC0\xC8\xD6\xF7\xDE\x9F\x8A\x8C\x8E\xDF\xB5");
  EXPECT_EQ(togli_spazi("  a b  "), "a b");
  EXPECT_EQ(togli_spazi("\ta "), "\ta");
  EXPECT_EQ(togli_spazi("    "), "");
}

// ---------------------------------------------------------------- failures

TEST_F(StoreTest, AMissingFolderIsACreationError) {
  sys::set_program_folder(cartella_ / "non esiste");
  try {
    leggi_dato("K");
    FAIL() << "no error";
  } catch (const ErroreFileDati& e) {
    EXPECT_EQ(e.operazione(), ErroreFileDati::Operazione::Creazione);
    EXPECT_EQ(e.codice(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(e.messaggio(), cp1252::from_utf8("Impossibile creare il file dei dati " +
                                               (cartella_ / "non esiste" / "DATI.DAT").string() +
                                               ": la cartella non esiste."));
  }
  EXPECT_THROW(scrivi_dato("K", "v"), ErroreFileDati);
  sys::set_program_folder(cartella_);
}

TEST_F(StoreTest, AFolderInTheFilesPlaceIsAnOpeningError) {
  fs::create_directory(dati());
  try {
    scrivi_dato("K", "v");
    FAIL() << "no error";
  } catch (const ErroreFileDati& e) {
    EXPECT_EQ(e.operazione(), ErroreFileDati::Operazione::Apertura);
    EXPECT_EQ(e.codice(), std::errc::is_a_directory);
    EXPECT_NE(std::string(e.what()).find("al suo posto c'è una cartella"), std::string::npos);
  }
  EXPECT_TRUE(fs::is_directory(dati()));
}

TEST_F(StoreTest, AFifoInTheFilesPlaceDoesNotHang) {
  ASSERT_EQ(::mkfifo(dati().c_str(), 0600), 0);
  EXPECT_THROW(leggi_dato("K"), ErroreFileDati);
}

TEST_F(StoreTest, AReadOnlyFolderRefusesTheCreationAndLeavesNoTrace) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores permissions";
  fs::permissions(cartella_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(leggi_dato("K"), ErroreFileDati);
  fs::permissions(cartella_, fs::perms::owner_all);
  EXPECT_TRUE(file_nella_cartella().empty());
}

TEST_F(StoreTest, AReadOnlyFileIsReadButNotWritten) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores permissions";
  scrivi_dato("K", "v");
  fs::permissions(cartella_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(leggi_dato("K"), "v");
  try {
    scrivi_dato("K", "nuovo");
    FAIL() << "no error";
  } catch (const ErroreFileDati& e) {
    EXPECT_EQ(e.operazione(), ErroreFileDati::Operazione::Scrittura);
  }
  fs::permissions(cartella_, fs::perms::owner_all);
  EXPECT_EQ(leggi_dato("K"), "v");
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{"DATI.DAT"}));
}

// A full disk, imitated with the file-size limit (works for root as well):
// the write fails part-way and the file stays exactly as it was.
TEST_F(StoreTest, AWriteThatFailsPartWayLeavesTheFileAsItWas) {
  std::string prima;
  for (int i = 0; i < 4; ++i) prima += record("K" + std::to_string(i), "v");
  prima += "coda";
  scrivi_byte(dati(), prima);
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
  EXPECT_EQ(leggi_byte(dati()), prima);
  EXPECT_EQ(file_nella_cartella(), (std::vector<std::string>{"DATI.DAT"}));
}

TEST_F(StoreTest, AWriteKeepsTheFilesPermissions) {
  scrivi_dato("K", "v");
  fs::permissions(dati(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  scrivi_dato("K", "w");
  EXPECT_EQ(fs::status(dati()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(StoreTest, AWriteThroughASymbolicLinkReachesTheFile) {
  fs::create_directory(cartella_ / "vero");
  scrivi_byte(cartella_ / "vero" / "dati.bin", record("K", "v"));
  fs::create_symlink(cartella_ / "vero" / "dati.bin", dati());
  scrivi_dato("K", "w");
  EXPECT_TRUE(fs::is_symlink(dati()));
  EXPECT_EQ(leggi_byte(cartella_ / "vero" / "dati.bin"), record("K", "w"));
}

TEST_F(StoreTest, AWriteThatChangesNothingLeavesTheFileAlone) {
  scrivi_dato("K", "v");
  const auto prima = fs::last_write_time(dati());
  const auto inode = [&] {
    struct stat st {};
    ::stat(dati().c_str(), &st);
    return st.st_ino;
  };
  const auto inode_prima = inode();
  scrivi_dato("K ", "v");  // the same bytes
  EXPECT_EQ(inode(), inode_prima);
  EXPECT_EQ(fs::last_write_time(dati()), prima);
}

}  // namespace
}  // namespace sevrina
