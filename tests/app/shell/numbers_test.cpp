// Reading numbers in the Italian convention and formatta_numero.
// Oracle: std::to_chars with a precision (exact decimal rounding, ties to
// even), locale-independent; and the worked table.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <variant>

#include "app/shell/dates.h"  // reading numbers
#include "app/shell/numbers_internal.h"

namespace sevrina {
namespace {

// ---------------------------------------------------------------- what reads as a number

struct CasoLettura {
  const char* testo;
  bool numero;
  double valore;
};

TEST(Lettura, ItalianConvention) {
  const CasoLettura casi[] = {
      {"0", true, 0}, {"000000", true, 0}, {"20080131", true, 20080131}, {"1234,5", true, 1234.5},
      {"1.234,50", true, 1234.5}, {"1.234.567,25", true, 1234567.25}, {"12.34", true, 1234},
      {"-0,125", true, -0.125}, {"+7", true, 7}, {"  42  ", true, 42}, {"12,", true, 12}, {",5", true, 0.5},
      {"-,5", true, -0.5}, {"0,00", true, 0}, {"007", true, 7},
      // Not numbers.
      {"", false, 0}, {"   ", false, 0}, {",", false, 0}, {"+", false, 0}, {"-", false, 0}, {"abc", false, 0},
      {"1.", false, 0}, {".5", false, 0}, {"1..2", false, 0}, {"1,2,3", false, 0}, {"1,2.3", false, 0},
      {"1 2", false, 0}, {"- 1", false, 0}, {"1e5", false, 0}, {"1E5", false, 0}, {"0x10", false, 0},
      {"aaaammgg", false, 0}, {"\t1", false, 0}, {"1\t", false, 0}, {"--1", false, 0}, {"1-", false, 0},
      {"2008/0201", false, 0}, {"inf", false, 0}, {"nan", false, 0}, {"1.234.", false, 0}, {"€ 5", false, 0}
  };
  for (const CasoLettura& c : casi) {
    const auto n = leggi_numero(c.testo);
    EXPECT_EQ(n.has_value(), c.numero) << '"' << c.testo << '"';
    if (c.numero && n) {
      EXPECT_EQ(*n, c.valore) << c.testo;
    }
    EXPECT_EQ(e_numero(c.testo), c.numero) << c.testo;
    EXPECT_EQ(numero_o_zero(c.testo), c.numero ? c.valore : 0.0) << c.testo;
  }
}

double oracolo(const std::string& c) {
  double v = 0;
  const char* inizio = c.data();
  if (*inizio == '+') ++inizio;
  auto [p, ec] = std::from_chars(inizio, c.data() + c.size(), v);
  EXPECT_EQ(ec, std::errc()) << c;
  EXPECT_EQ(p, c.data() + c.size());
  return v;
}

// Long texts go through exact big-number arithmetic.
TEST(Lettura, HalfwayCasesGoToTheEvenNeighbour) {
  // 2^53 + 1 lies halfway between 2^53 and 2^53 + 2.
  EXPECT_EQ(*leggi_numero("9007199254740993"), 9007199254740992.0);
  EXPECT_EQ(*leggi_numero("9007199254740995"), 9007199254740996.0);
  // 1 + 2^-53 exactly: halfway between 1 and the next double, goes to 1.
  const std::string meta = "1,00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(*leggi_numero(meta), 1.0);
  // A hair above halfway, even 900 digits further, goes up.
  EXPECT_EQ(*leggi_numero(meta + std::string(900, '0') + "1"), std::nextafter(1.0, 2.0));
  EXPECT_EQ(*leggi_numero(meta + std::string(900, '0')), 1.0);
  // A hair below goes down.
  EXPECT_EQ(*leggi_numero("1,00000000000000011102230246251565404236316680908203124999"), 1.0);
}

// ---------------------------------------------------------------- formatta_numero: the worked table

struct Riga {
  std::variant<std::string, double> valore;
  int decimali;
  std::optional<std::string_view> migliaia;
  std::optional<std::string_view> punto;
  const char* risultato;
  std::variant<std::string, double> dopo;
};

using std::nullopt;
using Testo = std::string;

TEST(FormattaNumero, WorkedExamples) {
  const Riga righe[] = {
      {Testo("1234,5"), 2, "S", nullopt, "1.234,50", 1234.5}, {Testo("1234,5"), 2, nullopt, nullopt, "1234,50", 1234.5},
      {Testo("1234,5"), 2, "S", "S", "1234.50", 1234.5},
      {Testo("0,125"), 2, "S", nullopt, "0,12", 0.12}, {Testo("0,375"), 2, "S", nullopt, "0,38", 0.38},
      {Testo("10,125"), 2, nullopt, nullopt, "10,12", 10.12}, {2.5, 0, nullopt, nullopt, "2", 2.0},
      {3.5, 0, nullopt, nullopt, "4", 4.0}, {Testo("1234567,25"), 2, "S", nullopt, "1.234.567,25", 1234567.25},
      {Testo("-0,125"), 2, "S", nullopt, "-0,12", -0.12}, {Testo(""), 2, "S", nullopt, "0,00", Testo("")},
      {Testo("abc"), 0, nullopt, nullopt, "0", Testo("abc")},
      // Edge cases.
      {Testo("abc"), 0, "S", nullopt, "0", Testo("abc")}, {1234.5, 0, "S", nullopt, "1.234", 1234.0},
      {Testo("1.234,50"), 2, "S", nullopt, "1.234,50", 1234.5},
      {Testo("2,675"), 2, nullopt, nullopt, "2,67", 2.67},  // 2.67499999...
      {Testo("-0,001"), 2, nullopt, nullopt, "0,00", 0.0},  // never "-0,00"
      {-0.4, 0, nullopt, nullopt, "0", 0.0},
      {Testo("999,995"), 2, "S", nullopt, "1.000,00", 1000.0},  // 999.99500...0045
      {Testo("1,005"), 2, "S", nullopt, "1,00", 1.0},  // 1.00499999...
      {Testo("999,996"), 2, "S", nullopt, "1.000,00", 1000.0},
      {Testo("1234,5"), 2, nullopt, "S", "1234.50", 1234.5}, {Testo("1234,5"), 2, "N", "S", "1234.50", 1234.5},
      {Testo("1234,5"), 2, "s", nullopt, "1234,50", 1234.5}, {Testo("abc"), 2, nullopt, "S", "0.00", Testo("abc")},
      {Testo("123456789012"), 0, "S", nullopt, "123.456.789.012", 123456789012.0},
      {Testo("0,5"), 0, nullopt, nullopt, "0", 0.0}, {Testo("1,5"), 0, nullopt, nullopt, "2", 2.0},
      {Testo("-2,5"), 0, nullopt, nullopt, "-2", -2.0}, {Testo("12"), 3, "S", nullopt, "12,000", 12.0},
      {Testo("-1234567"), 2, "S", nullopt, "-1.234.567,00", -1234567.0}, {0.0, 2, nullopt, nullopt, "0,00", 0.0}
  };
  for (std::size_t i = 0; i < std::size(righe); ++i) {
    const Riga& r = righe[i];
    SCOPED_TRACE("row " + std::to_string(i) + ", " + r.risultato);
    ValoreNumero v = r.valore;
    EXPECT_EQ(formatta_numero(v, r.decimali, r.migliaia, r.punto), r.risultato);
    EXPECT_EQ(v, r.dopo);
    // The by-value forms give the same text.
    if (const auto* s = std::get_if<std::string>(&r.valore)) {
      EXPECT_EQ(formatta_numero(std::string_view(*s), r.decimali, r.migliaia, r.punto), r.risultato);
    } else {
      double d = std::get<double>(r.valore);
      EXPECT_EQ(formatta_numero(d, r.decimali, r.migliaia, r.punto), r.risultato);
      EXPECT_EQ(ValoreNumero(d), r.dopo);
    }
  }
}

// The rounding agrees with to_chars's exact rounding of the binary value.
TEST(FormattaNumero, AgreesWithExactDecimalRounding) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> grande(-1e7, 1e7);
  for (int i = 0; i < 100000; ++i) {
    double x;
    switch (i % 4) {
      case 0: x = grande(rng); break;
      case 1: x = static_cast<double>(static_cast<std::int64_t>(rng() % 20000000) - 10000000) / 1000.0; break;
      case 2: x = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000) - 1000000) / 8.0; break;
      default: x = std::ldexp(static_cast<double>(rng() % 1000000), -static_cast<int>(rng() % 30)); break;
    }
    const int d = static_cast<int>(rng() % 5);
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, d);
    ASSERT_EQ(r.ec, std::errc());
    std::string atteso(buf, r.ptr);
    if (atteso.find_first_not_of("-0.") == std::string::npos && atteso[0] == '-') atteso.erase(0, 1);
    const double rounded_oracolo = oracolo(atteso);
    for (char& ch : atteso) {
      if (ch == '.') ch = ',';
    }
    double v = x;
    ASSERT_EQ(formatta_numero(v, d), atteso) << x << " " << d;
    ASSERT_EQ(v, rounded_oracolo) << x;
  }
}

}  // namespace
}  // namespace sevrina
