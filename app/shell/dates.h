#pragma once
// Dates and amounts, and the one locale-independent reading of
// numbers that every part of the program uses.
//
// Stored date: eight digits, year (4) month (2) day (2), for example
// "20080131"; "0", "000000" and blank are no date. Shown date: "31/01/2008".
// Numbers in text follow the Italian convention: "," decimal separator,
// "." thousands separator. Texts are Windows-1252 std::string.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sevrina {

// ---------------------------------------------------------------- numbers in text

// Whether `testo` reads as a number, and its value: surrounding blanks
// (0x20), an optional "+" or "-", an integer part of digits with optional
// single "." between groups of digits ("1.234.567", also "12.34"), an
// optional "," followed by zero or more decimals, at least one digit in all
// ("12," and ",5" read as numbers). No exponents, no other signs or
// separators; "" and blank are not numbers. The value is the double nearest
// to the exact decimal (ties to even), computed by our own code: the
// machine's locale plays no part.
std::optional<double> leggi_numero(std::string_view testo);
bool e_numero(std::string_view testo);

// The value of a text that reads as a number, else 0 (the empty value of an
// absent key reads as 0).
double numero_o_zero(std::string_view testo);

// A number in its text form as the original stores a number passed as a
// value: up to 15 significant digits, "," before the decimals, no thousands
// separators, no trailing zeros ("1234,5", "-0,25", "3"). Reads back through
// leggi_numero.
std::string testo_numero(double valore);

// ---------------------------------------------------------------- dates

// The stored form of a date typed as day/month/year: 31/01/2008 gives
// "20080131", 1/2/08 gives "00080201", "gg/mm/aaaa" gives "aaaammgg",
// "" (no "/") gives "000000".
std::string data_in_aaaammgg(std::string_view data);

// 0 when the stored-form date is valid, 1 when invalid, 2 when its month is
// outside 1 to 12 (checked in this order; the first result wins).
int controlla_data(std::string_view data);

// The shown form of a stored date: "20080131" gives "31/01/2008",
// "200801311530" gives "31/01/2008 15:30"; "", "0", "000000" (blanks
// removed) give "".
std::string data_da_aaaammgg(std::string_view data);

// ---------------------------------------------------------------- amounts

// `valore` as the original passes it: a text or a number, by reference.
using ValoreNumero = std::variant<std::string, double>;

// Rounds and formats an amount:
// - `decimali` decimals (default 2), an exact binary half going to the even
//   neighbour (0,125 -> 0,12; 0,375 -> 0,38; 2,5 -> 2);
// - "," before the decimals, none when `decimali` is 0;
// - `migliaia` == "S": integer digits grouped by three with ".";
// - `punto` == "S": "." instead of "," (and then never grouped);
// - a value that does not read as a number gives "0," and `decimali` zeros
//   ("0" with no decimals) and is left unchanged;
// - never "-0,00": a value that rounds to zero has no sign.
// When `valore` reads as a number, it receives the rounded number (a text
// becomes a double).
std::string formatta_numero(ValoreNumero& valore, int decimali = 2,
                             std::optional<std::string_view> migliaia = std::nullopt,
                             std::optional<std::string_view> punto = std::nullopt);

// The same for a number variable: `valore` receives the rounded number.
std::string formatta_numero(double& valore, int decimali = 2,
                            std::optional<std::string_view> migliaia = std::nullopt,
                            std::optional<std::string_view> punto = std::nullopt);

// The same for a number passed as a value (a literal, an expression).
std::string formatta_numero(double&& valore, int decimali = 2,
                            std::optional<std::string_view> migliaia = std::nullopt,
                            std::optional<std::string_view> punto = std::nullopt);

// The same for a text passed as a value (nothing is written back): the usual
// call with a stored value, formatta_numero(leggi_dato("X"), 2, "S").
std::string formatta_numero(std::string_view valore, int decimali = 2,
                            std::optional<std::string_view> migliaia = std::nullopt,
                            std::optional<std::string_view> punto = std::nullopt);

// `valore` rounded to `decimali` decimals, an exact half going to the even
// neighbour (the rounding formatta_numero applies), as the nearest double.
double arrotonda(double valore, int decimali);

}  // namespace sevrina
