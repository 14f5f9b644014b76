#pragma once
// Exact decimal arithmetic behind leggi_numero and formatta_numero: the
// conversion of a decimal digit string to the nearest double and of a double
// to its exact decimal expansion, with no help from the C library's locale-
// dependent functions. Internal to app/shell (and its tests).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sevrina::numeri {

// A non-negative decimal: value = cifre x 10^-decimali. `cifre` holds only
// the characters 0-9 and at least one of them.
struct Decimale {
  std::string cifre;
  int decimali = 0;
};

// The double nearest to cifre x 10^-decimali (ties to even), negated when
// `negativo`; nothing when it is beyond the double range. `cifre` may hold
// any number of digits, leading zeros included.
std::optional<double> in_double(std::string_view cifre, std::int64_t decimali, bool negativo);

// The exact decimal value of |x| (x finite), without trailing decimal zeros.
Decimale esatto(double x);

enum class Arrotondamento { PariPiuVicino, LontanoDaZero };

// `d` rounded to `decimali` decimals (>= 0): the result has exactly
// `decimali` decimals and at least decimali + 1 digits.
Decimale arrotonda(const Decimale& d, int decimali, Arrotondamento modo);

// `d` rounded to `cifre` significant digits, ties to even.
Decimale arrotonda_significative(const Decimale& d, int cifre);

}  // namespace sevrina::numeri
