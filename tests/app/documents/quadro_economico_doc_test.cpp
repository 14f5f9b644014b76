// The cost-table document as the readers see it: seven pages, the footer
// with its page number on each, every amount printed on its page and on its
// row's line as the data file stores it, the summary's total, no cross
// outside the premium pages, and row i) as stored.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using doctest::collapse;
using doctest::count_of;
using doctest::kCross;
using doctest::Record;
using doctest::Word;

constexpr double kTolerance = 3;  // pt, for glyph ascent and descent

// Every amount key of the document with a value of its own, so that each
// figure can be found where it is printed: key, stored value, printed text,
// page, and the word that starts its line ("" when the figure has a line of
// its own), in the order the document prints them.
struct Amount {
  const char* key;
  const char* stored;
  const char* printed;
  int page;
  const char* line;
};

const std::vector<Amount>& amounts() {
  static const std::vector<Amount> table = {
      {"IMPORTO_LAVORI_NETTO_IVA", "100001", "100.001,00", 3, "a1)"},
      {"IVA_SU_IMPORTO_LAVORI", "10002", "10.002,00", 3, "a1)"},
      {"IMPORTO_LAVORI_CON_IVA", "110003", "110.003,00", 3, "a1)"},
      {"ONERI_SICUREZZA_NETTO_IVA", "4004", "4.004,00", 3, "a2)"},
      {"IVA_SU_ONERI_SICUREZZA", "405", "405,00", 3, "a2)"},
      {"ONERI_SICUREZZA_CON_IVA", "4406", "4.406,00", 3, "a2)"},
      {"ONERI_DISCARICA_NETTO_IVA", "2007", "2.007,00", 3, "a3)"},
      {"IVA_SU_ONERI_DISCARICA", "208", "208,00", 3, "a3)"},
      {"ONERI_DISCARICA_CON_IVA", "2209", "2.209,00", 3, "a3)"},
      {"TOTALE_LAVORI_NETTO_IVA", "106010", "106.010,00", 3, "a4)"},
      {"IVA_SU_TOTALE_LAVORI", "10611", "10.611,00", 3, "a4)"},
      {"TOTALE_LAVORI_CON_IVA", "116612", "116.612,00", 3, "a4)"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "0,125", "0,12", 3, "Ponteggi"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI%", "10,125", "10,12", 3, "Ponteggi"},
      {"MOVIMENTI_E_OPERE_TERRA", "0,375", "0,38", 3, "Movimenti"},
      {"MOVIMENTI_E_OPERE_TERRA%", "20,375", "20,38", 3, "Movimenti"},
      {"OPERE_DI_FINITURA_E_COMPLETAMENTO", "1000", "1.000,00", 3, "finitura"},
      {"OPERE_DI_FINITURA_E_COMPLETAMENTO%", "69,5", "69,50", 3, "finitura"},
      {"IMPIANTI", "2000", "2.000,00", 3, "Impianti"},
      {"ONERI_SICUREZZA_NON_INCLUSI", "3,5", "3,50", 3, "sicurezza"},
      {"COSAP_STIMATO", "1013", "1.013,00", 3, "b)"}, {"COSAP_MASSIMO", "4014", "4.014,00", 3, "b)"},
      {"SPESE_GENERALI_STIMATE", "12015", "12.015,00", 3, "c)"},
      {"SPESE_GENERALI_MASSIME", "12716", "12.716,00", 3, "c)"},
      {"INDAGINI_GEOLOGICHE_STIMATE", "1017", "1.017,00", 3, "d)"},
      {"INDAGINI_GEOLOGICHE_MASSIME", "4018", "4.018,00", 3, "d)"},
      {"IMPREVISTI_STIMATI", "3019", "3.019,00", 3, "e)"}, {"IMPREVISTI_MASSIMO", "9020", "9.020,00", 3, "e)"},
      {"TOTALE_INTERVENTO", "138021,456", "138.021,46", 3, "f)"},
      {"CONTRIBUTO_BASE", "41022", "41.022,00", 4, "il"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", "7023", "7.023,00", 4, ""},
      {"IMPORTO_CONTRIBUTO_BASE", "41024", "41.024,00", 5, ""}, {"CONTRIBUTO_PREMIALE", "7025", "7.025,00", 5, ""},
      {"IMPORTO_CONTRIBUTO_ACCESSORIO", "3026", "3.026,00", 5, ""},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "51027", "51.027,00", 5, ""},
      {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "30,456", "30,46", 5, "%"},
  };
  return table;
}

std::vector<Record> full_data() {
  std::vector<Record> r = doctest::richiedente("Amministratore");
  r.push_back({"MANUTENZIONE_STRAORDINARIA_SI_NO", "S"});
  r.push_back({"MANUTENZIONE_ORDINARIA_SI_NO", "N"});
  for (const Amount& a : amounts()) r.push_back({a.key, a.stored});
  const std::vector<Record> resto = {
      // Empty category values add nothing to the totals.
      {"OPERE_STRUTTURALI", ""}, {"OPERE_STRUTTURALI%", ""}, {"ASCENSORI", ""},
      // Premium criteria A, C and F; B is no tick ("s"), nor is E ("SI").
      {"PREMIALITA_CONSOLIDAMENTO_SI_NO", "S"}, {"PREMIALITA_BARRIERE_SI_NO", "s"},
      {"PREMIALITA_RIQUALIFICAZIONE_ENERGETICA_SI_NO", "S"}, {"PREMIALITA_EDIFICI_VINCOLATI_SI_NO", "N"},
      {"PREMIALITA_FASCIA_BASAMENTALE_SI_NO", "SI"}, {"PREMIALITA_INFISSI_SI_NO", "S"},
      {"PERCENTUALE_CONTRIBUTO_PREMIALE", "5,00"}, {"VOLUME_FUORI_TERRA_INFERIORE", "S"},
      {"VOLUME_FUORI_TERRA_OLTRE", "S"}, {"ADOZIONE_LIBRETTO_MANUTENZIONE", "S"},
      {"DATA_QUADRO_ECONOMICO", "20080320"},
  };
  r.insert(r.end(), resto.begin(), resto.end());
  return r;
}

// The words of `pdf` on page `page` whose text equals `text`.
std::vector<Word> find(const std::vector<Word>& words, int page, const std::string& text) {
  std::vector<Word> out;
  for (const Word& w : words) {
    if (w.page == page && w.text == text) out.push_back(w);
  }
  return out;
}

class CostTableTest : public doctest::DocumentTest {
 protected:
  // Writes the document and reads it back.
  doctest::Reading generate(const std::vector<Record>& data) {
    write_data(data);
    EXPECT_TRUE(sevrina::crea_quadro_economico(out(), false));
    EXPECT_TRUE(opened.empty());
    doctest::Reading r = doctest::read(out());
    doctest::expect_sound_protected_a4(out(), r);
    return r;
  }
};

TEST_F(CostTableTest, FullDataEveryFigureOnItsRow) {
  const doctest::Reading r = generate(full_data());
  ASSERT_EQ(r.pages, 7);
  for (int p = 1; p <= 7; ++p) {
    const std::string page = collapse(r.text[static_cast<std::size_t>(p - 1)]);
    EXPECT_NE(page.find("PROGETTO ORTESA 3, Avviso Pubblico Comune di Vareri " + std::to_string(p) +
                        " - mod. ORTESA 3 q.e. computo metrico - centri storici e periferie"),
              std::string::npos)
        << "page " << p << ": " << page;
    if (p != 4 && p != 5) {
      EXPECT_EQ(count_of(page, kCross), 0) << "page " << p;
    }
  }
  const std::vector<Word> words = doctest::words(out());
  double last_y = 0;
  int last_page = 0;
  for (const Amount& a : amounts()) {
    SCOPED_TRACE(a.key);
    const std::vector<Word> hits = find(words, a.page, a.printed);
    // Exactly once on its page, in the document's order.
    ASSERT_EQ(hits.size(), 1u);
    const Word& w = hits.front();
    if (a.page == last_page) {
      EXPECT_GE(w.y_min, last_y - 0.5);
    }
    last_page = a.page;
    last_y = w.y_min;
    if (*a.line != '\0') {
      // On the line its row label starts (the last such word above it).
      double anchor = -1;
      for (const Word& l : find(words, a.page, a.line)) {
        if (l.y_min <= w.y_min + kTolerance) anchor = l.y_min;
      }
      EXPECT_NEAR(anchor, w.y_min, kTolerance);
    }
  }
  // The summary prints TOTALE_INTERVENTO again, and the keys that differ from
  // rows g) and j) as stored.
  const std::string summary = collapse(r.text[4]);
  EXPECT_NE(summary.find("TOTALE INTERVENTO totale compreso IVA \xE2\x82\xAC 138.021,46"),
            std::string::npos)
      << summary;
  EXPECT_EQ(count_of(collapse(r.text[3]), "41.024,00"), 0);
  EXPECT_EQ(count_of(summary, "41.022,00"), 0);
}

// Row i) prints the percentage as the data file stores it.
TEST_F(CostTableTest, RowIPrintsThePercentageAsStored) {
  for (const std::string stored : {"5,00", "5,5", "1234,567", "tre", ""}) {
    SCOPED_TRACE(stored);
    const doctest::Reading r = generate({{"PERCENTUALE_CONTRIBUTO_PREMIALE", stored}});
    const std::string page = collapse(r.text[3]);
    const std::string row = "i) incremento % totale del contributo %";
    const std::size_t at = page.find(row);
    ASSERT_NE(at, std::string::npos) << page;
    const std::string after = page.substr(at + row.size(), 40);
    EXPECT_EQ(after.rfind(stored.empty() ? " j) contributo premiale" : " " + stored + " j)", 0), 0u)
        << after;
  }
}

}  // namespace
