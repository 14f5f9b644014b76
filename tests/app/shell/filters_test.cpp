// The keystroke filters: the simple ones over every key, decimals and dates;
// the date filter appends its separator only at the end of a 2- or
// 5-character text.

#include "app/shell/filters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace sevrina {
namespace {

CasellaTesto casella(std::string testo, int sel_start = -1, int sel_length = 0, int max_length = 0) {
  CasellaTesto c;
  c.text = std::move(testo);
  c.sel_start = sel_start < 0 ? static_cast<int>(c.text.size()) : sel_start;
  c.sel_length = sel_length;
  c.max_length = max_length;
  return c;
}

bool operator==(const CasellaTesto& a, const CasellaTesto& b) {
  return a.text == b.text && a.sel_start == b.sel_start && a.sel_length == b.sel_length &&
         a.max_length == b.max_length;
}

// ---------------------------------------------------------------- the simple filters over every key

struct CasoSemplice {
  const char* nome;
  std::function<int(CasellaTesto&, int)> filtro;
  std::function<int(int)> atteso;  // the key it gives for each key
};

bool cifra(int c) { return c >= '0' && c <= '9'; }
bool minuscola(int c) { return c >= 'a' && c <= 'z'; }
bool maiuscola(int c) { return c >= 'A' && c <= 'Z'; }

class FiltriSempliciTest : public ::testing::TestWithParam<CasoSemplice> {};

TEST_P(FiltriSempliciTest, EveryKeyAcceptedOrRefused) {
  const CasoSemplice& f = GetParam();
  for (int codice = 0; codice <= 255; ++codice) {
    CasellaTesto c = casella("AB12", 2, 1, 4);
    const CasellaTesto prima = c;
    EXPECT_EQ(f.filtro(c, codice), f.atteso(codice)) << f.nome << " key " << codice;
    EXPECT_TRUE(c == prima) << f.nome << " changed the box on key " << codice;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Filtri, FiltriSempliciTest,
    ::testing::Values(
        CasoSemplice{"MA", solo_maiuscole,
                     [](int k) { return k == 8 || maiuscola(k) ? k : minuscola(k) ? k - 32 : 0; }},
        CasoSemplice{"MANI", solo_maiuscole_numeri,
                     [](int k) { return k == 8 || maiuscola(k) || cifra(k) ? k : minuscola(k) ? k - 32 : 0; }},
        CasoSemplice{"NI", solo_numeri_interi, [](int k) { return k == 8 || cifra(k) ? k : 0; }},
        CasoSemplice{"PI", solo_partita_iva, [](int k) { return k == 8 || cifra(k) ? k : 0; }},
        CasoSemplice{"TEL", solo_telefono,
                     [](int k) { return k == 8 || k == '+' || k == ' ' || k == '/' || cifra(k) ? k : 0; }}),
    [](const auto& info) { return std::string(info.param.nome); });

// ---------------------------------------------------------------- the dispatch by Tag

// Each Tag (any case) reaches its filter; Enter and unknown Tags pass untouched.
TEST(FiltraTasto, EachTagItsFilter) {
  struct Caso {
    const char* tag;
    const char* testo;
    int tasto;
    int risultato;
  };
  const Caso casi[] = {
      {"ma", "", 'a', 'A'},       {"MANI", "", '1', '1'},  {"MANI", "", '-', 0},      {"NI", "", 'a', 0},
      {"ND1", "5,2", '1', 0},     {"ND2", "5,2", '1', '1'}, {"nd6", "5,12345", '6', '6'}, {"DATA", "12", 'x', 0},
      {"TEL", "", '+', '+'},      {"PI", "", 'a', 0},      {"", "", 'a', 'a'},        {"XYZ", "", '-', '-'},
      {"NI", "", kTastoInvio, kTastoInvio},
  };
  for (const Caso& k : casi) {
    CasellaTesto c = casella(k.testo);
    EXPECT_EQ(filtra_tasto(k.tag, c, k.tasto), k.risultato) << '"' << k.tag << "\" key " << k.tasto;
  }
}

// ---------------------------------------------------------------- decimals

struct CasoDecimali {
  int decimali;
  const char* testo;
  int sel_start;
  int sel_length;
  int tasto;
  int risultato;
  const char* testo_dopo;
  int sel_start_dopo;
};

TEST(SoloNumeriDecimali, Keys) {
  const CasoDecimali casi[] = {
      // 12,3 with the caret at the end: 4 goes in; with 12,34 a further digit does not.
      {2, "12,3", 4, 0, '4', '4', "12,3", 4}, {2, "12,34", 5, 0, '5', 0, "12,34", 5},
      // Before the comma digits are still accepted.
      {2, "12,34", 1, 0, '5', '5', "12,34", 1}, {2, "12,34", 2, 0, '5', '5', "12,34", 2},
      // Right after the comma (caret = comma position) with the decimals full: refused.
      {2, "12,34", 3, 0, '5', 0, "12,34", 3},
      // The selection is not looked at.
      {2, "12,34", 3, 2, '5', 0, "12,34", 3},
      // An empty box: "," gives 0, with the caret after the comma.
      {2, "", 0, 0, ',', 0, "0,", 2}, {2, "", 0, 0, '.', 0, "0,", 2}, {2, "12", 0, 0, ',', 0, "0,12", 2},
      {2, "12", 0, 2, '.', 0, "0,12", 2},
      // "." becomes ",".
      {2, "12", 2, 0, '.', ',', "12", 2}, {2, "12", 1, 0, ',', ',', "12", 1},
      // A second comma is refused.
      {2, "1,2", 3, 0, ',', 0, "1,2", 3}, {2, "1,2", 0, 0, '.', 0, "1,2", 0},
      // Other keys.
      {2, "1", 1, 0, '-', 0, "1", 1}, {2, "1", 1, 0, 'a', 0, "1", 1}, {2, "1,23", 4, 0, 8, 8, "1,23", 4},
      {2, "", 0, 0, '0', '0', "", 0}, {1, "5,2", 3, 0, '1', 0, "5,2", 3},
      {6, "5,12345", 7, 0, '6', '6', "5,12345", 7}
  };
  for (const CasoDecimali& k : casi) {
    SCOPED_TRACE(std::string(k.testo) + " key " + std::to_string(k.tasto) + " at " + std::to_string(k.sel_start));
    CasellaTesto c = casella(k.testo, k.sel_start, k.sel_length);
    EXPECT_EQ(solo_numeri_decimali(c, k.decimali, k.tasto), k.risultato);
    EXPECT_EQ(c.text, k.testo_dopo);
    EXPECT_EQ(c.sel_start, k.sel_start_dopo);
  }
}

// ---------------------------------------------------------------- dates

struct CasoData {
  const char* testo;
  int sel_start;
  int tasto;
  int risultato;
  const char* testo_dopo;
  int sel_start_dopo;
};

TEST(SoloData, Keys) {
  const CasoData casi[] = {
      // 12 with the caret at the end: a letter appends "/" and inserts nothing; 0 goes in after it.
      {"12", 2, 'x', 0, "12/", 3}, {"12", 2, '0', '0', "12/", 3}, {"12/05", 5, '2', '2', "12/05/", 6},
      {"12/05", 5, ' ', 0, "12/05/", 6},
      // Backspace and "/" pass and append nothing.
      {"12", 2, 8, 8, "12", 2}, {"12", 2, '/', '/', "12", 2}, {"12/05", 5, '/', '/', "12/05", 5},
      // Other keys and positions.
      {"", 0, '1', '1', "", 0}, {"1", 1, '2', '2', "1", 1}, {"12/", 3, '0', '0', "12/", 3}, {"", 0, '-', 0, "", 0},
      // No "/" unless the caret is at the end of a 2- or 5-character text: a full box
      // never gains a stray one, whatever the key.
      {"15/05/2009", 2, '1', '1', "15/05/2009", 2}, {"15/05/2009", 5, 'x', 0, "15/05/2009", 5},
      {"15/05/2009", 2, ' ', 0, "15/05/2009", 2}, {"15/05/2009", 2, '.', 0, "15/05/2009", 2},
      {"15/05/2009", 2, 8, 8, "15/05/2009", 2}, {"12/03", 2, '4', '4', "12/03", 2}, {"123", 2, '4', '4', "123", 2},
      {"12/456", 5, '7', '7', "12/456", 5}, {"12", 0, '9', '9', "12", 0}, {"12", 1, '9', '9', "12", 1}
  };
  for (const CasoData& k : casi) {
    SCOPED_TRACE(std::string(k.testo) + " key " + std::to_string(k.tasto) + " at " + std::to_string(k.sel_start));
    CasellaTesto c = casella(k.testo, k.sel_start);
    EXPECT_EQ(solo_data(c, k.tasto), k.risultato);
    EXPECT_EQ(c.text, k.testo_dopo);
    EXPECT_EQ(c.sel_start, k.sel_start_dopo);
    EXPECT_EQ(c.max_length, 10);
  }
}

}  // namespace
}  // namespace sevrina
