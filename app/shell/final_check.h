#pragma once
// The final data check, `stampa_dati`: every value that reads as 0 is a missing date.
//
// One pass over the data file by the reading rule (phase 1: the required
// personal and building fields, in file order) and then 21 checks in a fixed
// order (phase 2). The result is the message of the first failure, as
// Windows-1252 text for an OK message box without a title of its own, or
// nothing when everything passes (the menu then shows the output step,
// crea_sevrine). Nothing is written and nothing is kept between runs.
//
// Issue 3's mend: a birth, declaration or cost-table date whose value reads
// as the number 0 ("0", "000000", ...) is a missing date, as the application
// and deliberation dates already were.

#include <optional>
#include <string>
#include <string_view>

namespace sevrina {

// Reads DATI.DAT in the program's folder (creating it, empty, when missing)
// and checks it. Throws ErroreFileDati (store.h) when the file cannot be
// created, opened or read; the caller shows its messaggio().
std::optional<std::string> stampa_dati();

// The same check over a data file's bytes already in memory.
std::optional<std::string> stampa_dati(std::string_view contenuto);

}  // namespace sevrina
