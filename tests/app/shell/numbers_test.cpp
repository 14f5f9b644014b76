// Reading numbers in the Italian convention and formatta_numero.
// Oracles: std::from_chars (the nearest double to a decimal text) and
// std::to_chars with a precision (exact decimal rounding, ties to even),
// both locale-independent; the worked table.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <variant>

#include "app/shell/dates.h"
#include "app/shell/numbers_internal.h"

namespace sevrina {
namespace {

// ---------------------------------------------------------------- what reads as a number

struct CasoLettura {
  const char* testo;
  bool numero;
  double valore;
};

class LetturaTest : public ::testing::TestWithParam<CasoLettura> {};

TEST_P(LetturaTest, ItalianConvention) {
  const CasoLettura& c = GetParam();
  const auto n = leggi_numero(c.testo);
  ASSERT_EQ(n.has_value(), c.numero) << '"' << c.testo << '"';
  if (c.numero) {
    EXPECT_EQ(*n, c.valore) << c.testo;
  }
  EXPECT_EQ(e_numero(c.testo), c.numero);
  EXPECT_EQ(numero_o_zero(c.testo), c.numero ? c.valore : 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, LetturaTest,
    ::testing::Values(
        CasoLettura{"0", true, 0}, CasoLettura{"000000", true, 0}, CasoLettura{"20080131", true, 20080131},
        CasoLettura{"1234,5", true, 1234.5}, CasoLettura{"1.234,50", true, 1234.5},
        CasoLettura{"1.234.567,25", true, 1234567.25}, CasoLettura{"12.34", true, 1234},
        CasoLettura{"-0,125", true, -0.125}, CasoLettura{"+7", true, 7}, CasoLettura{"  42  ", true, 42},
        CasoLettura{"12,", true, 12}, CasoLettura{",5", true, 0.5}, CasoLettura{"-,5", true, -0.5},
        CasoLettura{"0,00", true, 0}, CasoLettura{"007", true, 7},
        // Not numbers.
        CasoLettura{"", false, 0}, CasoLettura{"   ", false, 0}, CasoLettura{",", false, 0},
        CasoLettura{"+", false, 0}, CasoLettura{"-", false, 0}, CasoLettura{"abc", false, 0},
        CasoLettura{"1.", false, 0}, CasoLettura{".5", false, 0}, CasoLettura{"1..2", false, 0},
        CasoLettura{"1,2,3", false, 0}, CasoLettura{"1,2.3", false, 0}, CasoLettura{"1 2", false, 0},
        CasoLettura{"- 1", false, 0}, CasoLettura{"1e5", false, 0}, CasoLettura{"1E5", false, 0},
        CasoLettura{"0x10", false, 0}, CasoLettura{"aaaammgg", false, 0}, CasoLettura{"\t1", false, 0},
        CasoLettura{"1\t", false, 0}, CasoLettura{"--1", false, 0}, CasoLettura{"1-", false, 0},
        CasoLettura{"2008/0201", false, 0}, CasoLettura{"inf", false, 0}, CasoLettura{"nan", false, 0},
        CasoLettura{"1.234.", false, 0}, CasoLettura{"€ 5", false, 0}));

TEST(Lettura, NegativeZeroKeepsItsSign) {
  const auto n = leggi_numero("-0");
  ASSERT_TRUE(n);
  EXPECT_TRUE(std::signbit(*n));
}

// Italian text -> the same number as C text for the oracle.
std::string come_c(std::string_view it) {
  std::string c;
  for (char ch : it) {
    if (ch == '.') continue;
    c.push_back(ch == ',' ? '.' : ch);
  }
  return c;
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

TEST(Lettura, NearestDoubleAgreesWithFromCharsOnRandomTexts) {
  std::mt19937_64 rng(20240601);
  for (int i = 0; i < 200000; ++i) {
    const int interi = static_cast<int>(rng() % 25);
    const int decimali = static_cast<int>(rng() % 30);
    std::string t = (rng() & 1) ? "-" : "";
    for (int k = 0; k < interi; ++k) t.push_back(static_cast<char>('0' + rng() % 10));
    if (interi == 0 && decimali == 0) t.push_back('0');
    if (decimali) {
      t.push_back(',');
      for (int k = 0; k < decimali; ++k) t.push_back(static_cast<char>('0' + rng() % 10));
    }
    const auto n = leggi_numero(t);
    ASSERT_TRUE(n) << t;
    ASSERT_EQ(*n, oracolo(come_c(t))) << t;
  }
}

TEST(Lettura, EveryDoubleReadsBackFromItsShortestAndExactText) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 3000; ++i) {
    double x;
    do {
      const std::uint64_t bit = rng();
      std::memcpy(&x, &bit, sizeof x);
    } while (!std::isfinite(x));
    char buf[1200];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
    ASSERT_EQ(r.ec, std::errc());
    std::string c(buf, r.ptr);
    std::string it = c;
    for (char& ch : it) {
      if (ch == '.') ch = ',';
    }
    const auto n = leggi_numero(it);
    ASSERT_TRUE(n) << it;
    ASSERT_EQ(*n, x) << it;
    // The exact decimal expansion reads back too.
    const numeri::Decimale e = numeri::esatto(x);
    ASSERT_EQ(numeri::in_double(e.cifre, e.decimali, std::signbit(x)), x);
  }
}

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

TEST(Lettura, ExtremesOfTheDoubleRange) {
  EXPECT_EQ(*leggi_numero("179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368"), std::numeric_limits<double>::max());
  EXPECT_FALSE(leggi_numero("1" + std::string(309, '0')));  // beyond the range: no number
  EXPECT_FALSE(leggi_numero("1" + std::string(400, '0')));
  // The smallest subnormal and below it.
  EXPECT_EQ(*leggi_numero("0," + std::string(323, '0') + "5"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(*leggi_numero("0," + std::string(323, '0') + "2"), 0.0);
  EXPECT_EQ(*leggi_numero("0," + std::string(5000, '0') + "1"), 0.0);
  EXPECT_EQ(*leggi_numero("0,0000000000000000000000000000000000000000000000000000000000000001"), 1e-64);
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

class TabellaTest : public ::testing::TestWithParam<Riga> {};

TEST_P(TabellaTest, WorkedExamples) {
  const Riga& r = GetParam();
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

using std::nullopt;
using Testo = std::string;

INSTANTIATE_TEST_SUITE_P(
    Parte, TabellaTest,
    ::testing::Values(Riga{Testo("1234,5"), 2, "S", nullopt, "1.234,50", 1234.5},
                      Riga{Testo("1234,5"), 2, nullopt, nullopt, "1234,50", 1234.5},
                      Riga{Testo("1234,5"), 2, "S", "S", "1234.50", 1234.5},
                      Riga{Testo("0,125"), 2, "S", nullopt, "0,12", 0.12},
                      Riga{Testo("0,375"), 2, "S", nullopt, "0,38", 0.38},
                      Riga{Testo("10,125"), 2, nullopt, nullopt, "10,12", 10.12},
                      Riga{2.5, 0, nullopt, nullopt, "2", 2.0}, Riga{3.5, 0, nullopt, nullopt, "4", 4.0},
                      Riga{Testo("1234567,25"), 2, "S", nullopt, "1.234.567,25", 1234567.25},
                      Riga{Testo("-0,125"), 2, "S", nullopt, "-0,12", -0.12},
                      Riga{Testo(""), 2, "S", nullopt, "0,00", Testo("")},
                      Riga{Testo("abc"), 0, nullopt, nullopt, "0", Testo("abc")},
                      // Edge cases.
                      Riga{Testo("abc"), 0, "S", nullopt, "0", Testo("abc")},
                      Riga{1234.5, 0, "S", nullopt, "1.234", 1234.0},
                      Riga{Testo("1.234,50"), 2, "S", nullopt, "1.234,50", 1234.5},
                      Riga{Testo("2,675"), 2, nullopt, nullopt, "2,67", 2.67},  // 2.67499999...
                      Riga{Testo("-0,001"), 2, nullopt, nullopt, "0,00", 0.0},  // never "-0,00"
                      Riga{-0.4, 0, nullopt, nullopt, "0", 0.0},
                      Riga{Testo("999,995"), 2, "S", nullopt, "1.000,00", 1000.0},  // 999.99500...0045
                      Riga{Testo("1,005"), 2, "S", nullopt, "1,00", 1.0},  // 1.00499999...
                      Riga{Testo("999,996"), 2, "S", nullopt, "1.000,00", 1000.0},
                      Riga{Testo("1234,5"), 2, nullopt, "S", "1234.50", 1234.5},
                      Riga{Testo("1234,5"), 2, "N", "S", "1234.50", 1234.5},
                      Riga{Testo("1234,5"), 2, "s", nullopt, "1234,50", 1234.5},
                      Riga{Testo("abc"), 2, nullopt, "S", "0.00", Testo("abc")},
                      Riga{Testo("123456789012"), 0, "S", nullopt, "123.456.789.012", 123456789012.0},
                      Riga{Testo("0,5"), 0, nullopt, nullopt, "0", 0.0},
                      Riga{Testo("1,5"), 0, nullopt, nullopt, "2", 2.0},
                      Riga{Testo("-2,5"), 0, nullopt, nullopt, "-2", -2.0},
                      Riga{Testo("12"), 3, "S", nullopt, "12,000", 12.0},
                      Riga{Testo("-1234567"), 2, "S", nullopt, "-1.234.567,00", -1234567.0},
                      Riga{0.0, 2, nullopt, nullopt, "0,00", 0.0}));

TEST(FormattaNumero, DefaultsAndCallForms) {
  EXPECT_EQ(formatta_numero(std::string_view("")), "0,00");  // an absent key's empty value
  EXPECT_EQ(formatta_numero("1234,5"), "1234,50");
  EXPECT_EQ(formatta_numero(2.5, 0), "2");
  EXPECT_EQ(formatta_numero(1234567.891, 2, "S"), "1.234.567,89");
  double x = 0.125;
  EXPECT_EQ(formatta_numero(x), "0,12");
  EXPECT_EQ(x, 0.12);
  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(formatta_numero(nan, 1), "0,0");
  EXPECT_TRUE(std::isnan(nan));
  EXPECT_EQ(arrotonda(0.125, 2), 0.12);
  EXPECT_EQ(arrotonda(2.5, 0), 2.0);
  EXPECT_EQ(arrotonda(-2.5, 0), -2.0);
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

TEST(FormattaNumero, ReadingItsOwnTextGivesTheRoundedNumber) {
  std::mt19937_64 rng(99);
  for (int i = 0; i < 20000; ++i) {
    double x = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000000000) - 1000000000000) / 997.0;
    ValoreNumero v = x;
    const std::string testo = formatta_numero(v, 2, "S");
    ASSERT_EQ(leggi_numero(testo), std::get<double>(v)) << testo;
  }
}

// ---------------------------------------------------------------- testo_numero

TEST(TestoNumero, FifteenSignificantDigitsWithAComma) {
  EXPECT_EQ(testo_numero(0), "0");
  EXPECT_EQ(testo_numero(-0.0), "0");
  EXPECT_EQ(testo_numero(3), "3");
  EXPECT_EQ(testo_numero(1234.5), "1234,5");
  EXPECT_EQ(testo_numero(-0.25), "-0,25");
  EXPECT_EQ(testo_numero(0.1 + 0.2), "0,3");
  EXPECT_EQ(testo_numero(1.0 / 3.0), "0,333333333333333");
  EXPECT_EQ(testo_numero(123456789012345678.0), "123456789012346000");
  EXPECT_EQ(testo_numero(1e-7), "0,0000001");
  EXPECT_EQ(testo_numero(150000), "150000");
  std::mt19937_64 rng(3);
  for (int i = 0; i < 10000; ++i) {
    const double x = static_cast<double>(static_cast<std::int64_t>(rng() % 200000000) - 100000000) / 100.0;
    ASSERT_EQ(leggi_numero(testo_numero(x)), x);
  }
}

}  // namespace
}  // namespace sevrina
