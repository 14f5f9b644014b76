#pragma once
// The data file store.
//
// All data the user enters lives in one key/value file, DATI.DAT, in the
// program's folder (sys::program_folder()): a plain sequence of 510-byte
// records, each a 255-byte key and a 255-byte value, Windows-1252 text padded
// with blanks (0x20). Record count = file length / 510, rounded down; a
// shorter tail is not a record, and the next append overwrites it.
//
// Every operation opens the file, does its work and closes it; no handle is
// kept between calls. Opening creates the file, empty, when it is missing
// (lookups included); nothing ever truncates it.
//
// Texts are std::string of Windows-1252 bytes, one byte per character.
//
// Writes re-read and rewrite the file under an advisory lock on its folder,
// so programs sharing the folder never lose a save; a read-only data file is
// refused like an unwritable one.
//
// Failures: when the file cannot be created, opened, read or written, the
// operation throws ErroreFileDati and leaves the file as it was before the
// call (a write replaces the file as a whole, so there is never a
// half-written record and never a truncated file). The caller shows
// ErroreFileDati::messaggio() to the user and ends its operation.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace sevrina {

inline constexpr std::size_t kLunghezzaCampo = 255;   // key and value width
inline constexpr std::size_t kLunghezzaRecord = 510;  // one record on disk
inline constexpr std::string_view kNomeFileDati = "DATI.DAT";

// ---------------------------------------------------------------- errors

class ErroreFileDati : public std::runtime_error {
 public:
  enum class Operazione { Creazione, Apertura, Lettura, Scrittura };

  ErroreFileDati(Operazione operazione, std::filesystem::path percorso, std::error_code codice);

  Operazione operazione() const noexcept { return operazione_; }
  const std::filesystem::path& percorso() const noexcept { return percorso_; }
  std::error_code codice() const noexcept { return codice_; }

  // The Italian message for the user, in Windows-1252, for example
  // "Impossibile scrivere il file dei dati DATI.DAT: il disco è pieno."
  // (what() holds the same text in UTF-8, for logs and test output.)
  const std::string& messaggio() const noexcept { return messaggio_; }

 private:
  Operazione operazione_;
  std::filesystem::path percorso_;
  std::error_code codice_;
  std::string messaggio_;
};

// ---------------------------------------------------------------- the file

// The data file's path in the program's folder. On a file system that tells
// case apart, an existing file whose name is "DATI.DAT" in any case
// ("dati.dat", "Dati.Dat") is the data file (an exact "DATI.DAT" wins, then
// the first such name in byte order); when none exists the path ends in
// "DATI.DAT". Nothing is opened or created.
std::filesystem::path percorso_file_dati();

// The same lookup in any folder (the output step uses it too).
std::filesystem::path percorso_file_dati(const std::filesystem::path& cartella);

// Whether a file (not a folder) exists at `percorso`; a fresh query each
// time; never opens or creates anything. The path is taken as given: to ask
// about the data file whatever the case of its name, pass
// percorso_file_dati().
bool esiste_file(const std::filesystem::path& percorso);

// ---------------------------------------------------------------- key lookup and write

// The value of the first record whose key matches `chiave` (both compared
// with surrounding blanks removed and in upper case), with surrounding
// blanks removed; "" when no record matches. Creates the file when missing.
std::string leggi_dato(std::string_view chiave);

// Rewrites every record whose key matches `chiave` with `chiave` exactly as
// passed and `valore` (each padded or cut to 255 bytes); appends one record
// at byte n x 510 when none matches. Creates the file when missing.
void scrivi_dato(std::string_view chiave, std::string_view valore);

// One (key, value) pair of a batch write.
struct Dato {
  std::string chiave;
  std::string valore;
};

// The writing rule (a form's save): one open for the whole batch; each pair,
// in the order given, is written as scrivi_dato would against the file as it
// stands after the earlier pairs (a key appended earlier in the batch is
// found and rewritten in place by a later pair). All or nothing: on a
// failure the file is left as it was before the batch.
void scrivi_dati(std::span<const Dato> dati);
void scrivi_dati(std::initializer_list<Dato> dati);

// Removes what an interrupted save left in the program's folder (its hidden
// temporary files). The program calls it at start.
void pulisci_residui();

// ---------------------------------------------------------------- the reading rule

// One record as the readers see it.
struct VoceDati {
  std::string_view chiave;  // surrounding blanks removed, upper case
  std::string_view valore;  // surrounding blanks removed
  std::size_t record;       // record number, from 1
};

// Called for each record in file order; returns true to go on, false to stop
// (the file is closed before leggi_file_dati returns either way). The views
// are valid only during the call.
using VisitaDati = std::function<bool(const VoceDati&)>;

// The reading rule (loaders, final check, generators): opens the file once
// (creating it when missing), visits every record from 1 to the record count
// in file order, closes it. Returns false when the visitor stopped early.
// Readers that know a key act on each record as they meet it, so for a
// duplicated key the later record wins.
bool leggi_file_dati(const VisitaDati& visita);

// The same rule over a data file's bytes already in memory (the fuzz target
// and tests use it; leggi_file_dati reads the file and calls it).
bool visita_record(std::string_view contenuto, const VisitaDati& visita);

// ---------------------------------------------------------------- text and values

// Surrounding blanks (0x20 only) removed, as the original's Trim.
std::string_view togli_spazi(std::string_view testo);

// Upper case in Windows-1252: a-z, the accented small letters 0xE0-0xFE
// (except 0xF7), and 0x9A, 0x9C, 0x9E, 0xFF become their capitals.
std::string maiuscole(std::string_view testo);

// A key as the store compares it: blanks removed around it, upper case.
std::string chiave_normalizzata(std::string_view chiave);
// A key being written or looked up: first cut to the 255 bytes a record
// holds, then normalized, so that a key too long finds the record it wrote.
std::string chiave_cercata(std::string_view chiave);

// A flag as every reader takes it: exactly "S" after removing surrounding
// blanks is yes; anything else, blank included, is no.
bool flag_si(std::string_view valore);

// The applicant-type rule for TIPO_RICHIEDENTE: after removing surrounding
// blanks and in upper case, a value containing "PROPRIETARIO" is an owner's
// application, any other non-blank value a condominium's, blank none yet.
enum class TipoRichiedente { Nessuno, Condominio, Proprietario };
TipoRichiedente tipo_richiedente(std::string_view valore);

// One field as stored: cut to its first 255 bytes or padded with blanks.
std::string campo_record(std::string_view testo);

}  // namespace sevrina
