#include "app/shell/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/system/system.h"
#include "platform/text/cp1252.h"

namespace sevrina {
namespace {

using Operazione = ErroreFileDati::Operazione;

// ---------------------------------------------------------------- messages

std::string motivo(std::error_code codice) {
  switch (codice.value()) {
    case EACCES:
    case EPERM:
      return "accesso negato";
    case EROFS:
      return "il disco è protetto in scrittura";
    case ENOSPC:
    case EDQUOT:
      return "il disco è pieno";
    case ENOENT:
    case ENOTDIR:
      return "la cartella non esiste";
    case EISDIR:
      return "al suo posto c'è una cartella";
    case EIO:
      return "errore di lettura o scrittura del disco";
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return "il file è in uso da un altro programma";
    case ENAMETOOLONG:
      return "il percorso è troppo lungo";
    case EMFILE:
    case ENFILE:
      return "troppi file aperti";
    case EFBIG:
      return "il file è troppo grande";
    default:
      return "errore di sistema " + std::to_string(codice.value());
  }
}

std::string messaggio_utf8(Operazione operazione, const std::filesystem::path& percorso,
                           std::error_code codice) {
  const char* verbo = "";
  switch (operazione) {
    case Operazione::Creazione: verbo = "creare"; break;
    case Operazione::Apertura: verbo = "aprire"; break;
    case Operazione::Lettura: verbo = "leggere"; break;
    case Operazione::Scrittura: verbo = "scrivere"; break;
  }
  return std::string("Impossibile ") + verbo + " il file dei dati " + percorso.string() + ": " +
         motivo(codice) + ".";
}

[[noreturn]] void fallisci(Operazione operazione, const std::filesystem::path& percorso,
                           int errore) {
  throw ErroreFileDati(operazione, percorso, std::error_code(errore, std::generic_category()));
}

// ---------------------------------------------------------------- file access

// A file descriptor closed on every way out.
class Descrittore {
 public:
  explicit Descrittore(int fd = -1) : fd_(fd) {}
  Descrittore(const Descrittore&) = delete;
  Descrittore& operator=(const Descrittore&) = delete;
  ~Descrittore() { chiudi(); }
  int get() const { return fd_; }
  // Closes now; returns the close's errno (0 when it went well).
  int chiudi() {
    if (fd_ < 0) return 0;
    int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

struct Contenuto {
  std::string byte;
  mode_t modo = 0644;
};

// Opens the data file (creating it, empty, when missing), reads all of it
// and closes it. Opening never truncates.
Contenuto apri_e_leggi(const std::filesystem::path& percorso) {
  struct stat prima {};
  const bool esisteva = ::stat(percorso.c_str(), &prima) == 0;
  // O_NONBLOCK: a FIFO in the file's place must not hang the program.
  Descrittore fd(::open(percorso.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
  if (fd.get() < 0) fallisci(esisteva ? Operazione::Apertura : Operazione::Creazione, percorso, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) fallisci(Operazione::Apertura, percorso, errno);
  if (S_ISDIR(st.st_mode)) fallisci(Operazione::Apertura, percorso, EISDIR);
  if (!S_ISREG(st.st_mode)) fallisci(Operazione::Apertura, percorso, EINVAL);
  Contenuto c;
  c.modo = st.st_mode & 07777;
  c.byte.resize(static_cast<std::size_t>(st.st_size));
  std::size_t letti = 0;
  while (letti < c.byte.size()) {
    ssize_t r = ::read(fd.get(), c.byte.data() + letti, c.byte.size() - letti);
    if (r < 0) {
      if (errno == EINTR) continue;
      fallisci(Operazione::Lettura, percorso, errno);
    }
    if (r == 0) break;  // the file shrank meanwhile: what was read is the file
    letti += static_cast<std::size_t>(r);
  }
  c.byte.resize(letti);
  return c;
}

// Replaces the data file with `byte` as a whole: a temporary file in the same
// folder is written, flushed to the disk and renamed over the data file, so
// a failure at any point leaves the old file untouched.
void sostituisci(const std::filesystem::path& percorso, std::string_view byte, mode_t modo) {
  // Write through a symbolic link to the file it names.
  std::filesystem::path destinazione = percorso;
  std::error_code ec;
  if (std::filesystem::is_symlink(percorso, ec)) {
    auto vero = std::filesystem::canonical(percorso, ec);
    if (!ec) destinazione = vero;
  }
  std::filesystem::path cartella = destinazione.parent_path();
  if (cartella.empty()) cartella = ".";
  std::string modello = (cartella / ("." + destinazione.filename().string() + ".XXXXXX")).string();
  std::vector<char> nome(modello.begin(), modello.end());
  nome.push_back('\0');
  Descrittore fd(::mkostemp(nome.data(), O_CLOEXEC));
  if (fd.get() < 0) fallisci(Operazione::Scrittura, percorso, errno);
  const std::string temporaneo(nome.data());
  auto annulla = [&](int errore) {
    fd.chiudi();
    ::unlink(temporaneo.c_str());
    fallisci(Operazione::Scrittura, percorso, errore);
  };
  std::size_t scritti = 0;
  while (scritti < byte.size()) {
    ssize_t w = ::write(fd.get(), byte.data() + scritti, byte.size() - scritti);
    if (w < 0) {
      if (errno == EINTR) continue;
      annulla(errno);
    }
    scritti += static_cast<std::size_t>(w);
  }
  if (::fchmod(fd.get(), modo) != 0) annulla(errno);
  if (::fsync(fd.get()) != 0) annulla(errno);
  if (int e = fd.chiudi(); e != 0) annulla(e);
  if (::rename(temporaneo.c_str(), destinazione.c_str()) != 0) annulla(errno);
  // Make the rename itself durable; a failure here changes nothing on disk.
  Descrittore dir(::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// The whole folder locked (flock on the folder itself, whose inode a
// rename never replaces) while one program re-reads and rewrites the data
// file, so that two programs on one folder never lose each other's saves.
// Advisory: a folder that cannot be locked (a file system without locks)
// is written unlocked, as before.
class BloccoCartella {
 public:
  explicit BloccoCartella(const std::filesystem::path& cartella)
      : fd_(::open(cartella.empty() ? "." : cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_.get() >= 0) {
      while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }

 private:
  Descrittore fd_;
};

// A data file the user may not write is not replaced either, even in a
// folder that would let the rename through.
void verifica_scrivibile(const std::filesystem::path& percorso) {
  Descrittore fd(::open(percorso.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0 && errno != ENOENT && errno != ENXIO) fallisci(Operazione::Scrittura, percorso, errno);
}

// ---------------------------------------------------------------- records

std::size_t numero_record(std::string_view byte) { return byte.size() / kLunghezzaRecord; }

std::string_view campo_chiave(std::string_view byte, std::size_t indice) {
  return byte.substr(indice * kLunghezzaRecord, kLunghezzaCampo);
}

std::string_view campo_valore(std::string_view byte, std::size_t indice) {
  return byte.substr(indice * kLunghezzaRecord + kLunghezzaCampo, kLunghezzaCampo);
}

// Steps 2 and 3 of the write, on the file's bytes in memory. `chiavi` holds
// the normalized key of every record and is kept up to date.
void scrivi_in_memoria(std::string& byte, std::vector<std::string>& chiavi, std::string_view chiave,
                       std::string_view valore) {
  std::string record = campo_record(chiave);
  record += campo_record(valore);
  const std::string cercata = chiave_cercata(chiave);
  bool trovata = false;
  for (std::size_t r = 0; r < chiavi.size(); ++r) {
    if (chiavi[r] == cercata) {
      byte.replace(r * kLunghezzaRecord, kLunghezzaRecord, record);
      trovata = true;
    }
  }
  if (!trovata) {
    // Record n + 1 starts at byte n x 510, over any short tail.
    byte.resize(chiavi.size() * kLunghezzaRecord);
    byte += record;
    chiavi.push_back(cercata);
  }
}

void maiuscole_in(std::string_view testo, std::string& out) {
  out.resize(testo.size());
  for (std::size_t i = 0; i < testo.size(); ++i) {
    auto c = static_cast<unsigned char>(testo[i]);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
      c = static_cast<unsigned char>(c - 0x20);
    } else if (c == 0x9A || c == 0x9C || c == 0x9E) {
      c = static_cast<unsigned char>(c - 0x10);
    } else if (c == 0xFF) {
      c = 0x9F;
    }
    out[i] = static_cast<char>(c);
  }
}

}  // namespace

// ---------------------------------------------------------------- errors

ErroreFileDati::ErroreFileDati(Operazione operazione, std::filesystem::path percorso,
                               std::error_code codice)
    : std::runtime_error(messaggio_utf8(operazione, percorso, codice)),
      operazione_(operazione),
      percorso_(std::move(percorso)),
      codice_(codice),
      messaggio_(cp1252::from_utf8(what())) {}

// ---------------------------------------------------------------- the file

std::filesystem::path percorso_file_dati(const std::filesystem::path& cartella) {
  const std::filesystem::path esatto = cartella / std::string(kNomeFileDati);
  std::error_code ec;
  if (std::filesystem::is_regular_file(esatto, ec)) return esatto;
  std::optional<std::string> scelto;
  std::filesystem::directory_iterator it(cartella, ec);
  if (ec) return esatto;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string nome = it->path().filename().string();
    if (nome.size() != kNomeFileDati.size() || maiuscole(nome) != kNomeFileDati) continue;
    std::error_code ec2;
    if (!std::filesystem::is_regular_file(it->path(), ec2)) continue;
    if (!scelto || nome < *scelto) scelto = nome;
  }
  return scelto ? cartella / *scelto : esatto;
}

std::filesystem::path percorso_file_dati() { return percorso_file_dati(sys::program_folder()); }

bool esiste_file(const std::filesystem::path& percorso) {
  struct stat st {};
  return ::stat(percorso.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// ---------------------------------------------------------------- key lookup and write

std::string leggi_dato(std::string_view chiave) {
  const Contenuto c = apri_e_leggi(percorso_file_dati());
  const std::string cercata = chiave_cercata(chiave);
  std::string chiave_record;
  const std::string_view byte = c.byte;
  for (std::size_t r = 0; r < numero_record(byte); ++r) {
    maiuscole_in(togli_spazi(campo_chiave(byte, r)), chiave_record);
    if (chiave_record == cercata) return std::string(togli_spazi(campo_valore(byte, r)));
  }
  return {};
}

void scrivi_dato(std::string_view chiave, std::string_view valore) {
  const Dato dato{std::string(chiave), std::string(valore)};
  scrivi_dati(std::span<const Dato>(&dato, 1));
}

void scrivi_dati(std::span<const Dato> dati) {
  BloccoCartella blocco(sys::program_folder());
  const std::filesystem::path percorso = percorso_file_dati();
  Contenuto c = apri_e_leggi(percorso);
  const std::string originale = c.byte;
  std::vector<std::string> chiavi;
  chiavi.reserve(numero_record(c.byte) + dati.size());
  for (std::size_t r = 0; r < numero_record(c.byte); ++r) {
    chiavi.push_back(chiave_normalizzata(campo_chiave(c.byte, r)));
  }
  for (const Dato& d : dati) scrivi_in_memoria(c.byte, chiavi, d.chiave, d.valore);
  if (c.byte == originale) return;
  verifica_scrivibile(percorso);
  sostituisci(percorso, c.byte, c.modo);
}

void pulisci_residui() {
  const std::filesystem::path cartella = sys::program_folder();
  BloccoCartella blocco(cartella);
  std::error_code ec;
  std::filesystem::directory_iterator it(cartella, ec);
  if (ec) return;
  // ".DATI.DAT.XXXXXX" (any case of the name): what sostituisci leaves when
  // it is interrupted between creating and renaming its temporary file.
  const std::string prefisso = "." + std::string(kNomeFileDati) + ".";
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string nome = it->path().filename().string();
    if (nome.size() != prefisso.size() + 6 || maiuscole(nome.substr(0, prefisso.size())) != prefisso) continue;
    std::error_code ec2;
    if (it->is_regular_file(ec2)) std::filesystem::remove(it->path(), ec2);
  }
}

void scrivi_dati(std::initializer_list<Dato> dati) {
  scrivi_dati(std::span<const Dato>(dati.begin(), dati.size()));
}

// ---------------------------------------------------------------- the reading rule

bool visita_record(std::string_view contenuto, const VisitaDati& visita) {
  std::string chiave;
  for (std::size_t r = 0; r < numero_record(contenuto); ++r) {
    maiuscole_in(togli_spazi(campo_chiave(contenuto, r)), chiave);
    const VoceDati voce{chiave, togli_spazi(campo_valore(contenuto, r)), r + 1};
    if (!visita(voce)) return false;
  }
  return true;
}

bool leggi_file_dati(const VisitaDati& visita) {
  // The file is read whole and closed before the first record is visited, so
  // a visitor that stops early (or calls another store operation) never
  // meets an open file.
  const Contenuto c = apri_e_leggi(percorso_file_dati());
  return visita_record(c.byte, visita);
}

// ---------------------------------------------------------------- text and values

std::string_view togli_spazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return {};
  const auto fine = testo.find_last_not_of(' ');
  return testo.substr(inizio, fine - inizio + 1);
}

std::string maiuscole(std::string_view testo) {
  std::string out;
  maiuscole_in(testo, out);
  return out;
}

std::string chiave_normalizzata(std::string_view chiave) { return maiuscole(togli_spazi(chiave)); }

std::string chiave_cercata(std::string_view chiave) { return chiave_normalizzata(chiave.substr(0, kLunghezzaCampo)); }

bool flag_si(std::string_view valore) { return togli_spazi(valore) == "S"; }

TipoRichiedente tipo_richiedente(std::string_view valore) {
  const std::string v = maiuscole(togli_spazi(valore));
  if (v.empty()) return TipoRichiedente::Nessuno;
  if (v.find("PROPRIETARIO") != std::string::npos) return TipoRichiedente::Proprietario;
  return TipoRichiedente::Condominio;
}

std::string campo_record(std::string_view testo) {
  std::string campo(testo.substr(0, kLunghezzaCampo));
  campo.resize(kLunghezzaCampo, ' ');
  return campo;
}

}  // namespace sevrina
