// The cost-table document as the readers see it: seven pages whatever the
// data, the fixed places of the contents heading, the captions, the page
// numbers and the notes, every amount under its row, the two computed totals
// of the category table, row i) as stored, and the crosses of the premium
// table and of rows k) and l); from a full data file and from an empty one.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using doctest::collapse;
using doctest::count_of;
using doctest::kCross;
using doctest::Record;
using doctest::Word;

constexpr double kPt = 28.3465;  // points per centimetre
constexpr double kMargin = 2;    // cm, every side
constexpr double kTolerance = 3;  // pt, for glyph ascent and descent

// The columns an amount can stand in, from the margin box's left edge in
// centimetres (W is the margin box's width).
constexpr double W = 17.025;
enum class Column { Net, Vat, Gross, Estimate, Maximum, Amount, Share };
struct Span {
  double left, right;
};
Span span(Column c) {
  switch (c) {
    case Column::Net: return {W - 6.5, W - 4.5};
    case Column::Vat: return {W - 4.5, W - 2.5};
    case Column::Gross: return {W - 2.5, W};
    case Column::Estimate: return {W - 7, W - 3.5};
    case Column::Maximum: return {W - 3.5, W};
    case Column::Amount: return {9, 12};
    case Column::Share: return {12, 15};
  }
  return {0, W};
}

// Every amount key of the document with a value of its own, so that each
// figure can be found where it is printed: key, stored value, printed text,
// page, column, and the word that starts its line ("" when the figure has
// a line of its own), in the order the document prints them.
struct Amount {
  const char* key;
  const char* stored;
  const char* printed;
  int page;
  Column column;
  const char* line;
};

const std::vector<Amount>& amounts() {
  static const std::vector<Amount> table = {
      {"IMPORTO_LAVORI_NETTO_IVA", "100001", "100.001,00", 3, Column::Net, "a1)"},
      {"IVA_SU_IMPORTO_LAVORI", "10002", "10.002,00", 3, Column::Vat, "a1)"},
      {"IMPORTO_LAVORI_CON_IVA", "110003", "110.003,00", 3, Column::Gross, "a1)"},
      {"ONERI_SICUREZZA_NETTO_IVA", "4004", "4.004,00", 3, Column::Net, "a2)"},
      {"IVA_SU_ONERI_SICUREZZA", "405", "405,00", 3, Column::Vat, "a2)"},
      {"ONERI_SICUREZZA_CON_IVA", "4406", "4.406,00", 3, Column::Gross, "a2)"},
      {"ONERI_DISCARICA_NETTO_IVA", "2007", "2.007,00", 3, Column::Net, "a3)"},
      {"IVA_SU_ONERI_DISCARICA", "208", "208,00", 3, Column::Vat, "a3)"},
      {"ONERI_DISCARICA_CON_IVA", "2209", "2.209,00", 3, Column::Gross, "a3)"},
      {"TOTALE_LAVORI_NETTO_IVA", "106010", "106.010,00", 3, Column::Net, "a4)"},
      {"IVA_SU_TOTALE_LAVORI", "10611", "10.611,00", 3, Column::Vat, "a4)"},
      {"TOTALE_LAVORI_CON_IVA", "116612", "116.612,00", 3, Column::Gross, "a4)"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI", "0,125", "0,12", 3, Column::Amount, "Ponteggi"},
      {"PONTEGGI_E_OPERE_PROVVISIONALI%", "10,125", "10,12", 3, Column::Share, "Ponteggi"},
      {"MOVIMENTI_E_OPERE_TERRA", "0,375", "0,38", 3, Column::Amount, "Movimenti"},
      {"MOVIMENTI_E_OPERE_TERRA%", "20,375", "20,38", 3, Column::Share, "Movimenti"},
      {"OPERE_DI_FINITURA_E_COMPLETAMENTO", "1000", "1.000,00", 3, Column::Amount, "finitura"},
      {"OPERE_DI_FINITURA_E_COMPLETAMENTO%", "69,5", "69,50", 3, Column::Share, "finitura"},
      {"IMPIANTI", "2000", "2.000,00", 3, Column::Amount, "Impianti"},
      {"ONERI_SICUREZZA_NON_INCLUSI", "3,5", "3,50", 3, Column::Amount, "sicurezza"},
      {"COSAP_STIMATO", "1013", "1.013,00", 3, Column::Estimate, "b)"},
      {"COSAP_MASSIMO", "4014", "4.014,00", 3, Column::Maximum, "b)"},
      {"SPESE_GENERALI_STIMATE", "12015", "12.015,00", 3, Column::Estimate, "c)"},
      {"SPESE_GENERALI_MASSIME", "12716", "12.716,00", 3, Column::Maximum, "c)"},
      {"INDAGINI_GEOLOGICHE_STIMATE", "1017", "1.017,00", 3, Column::Estimate, "d)"},
      {"INDAGINI_GEOLOGICHE_MASSIME", "4018", "4.018,00", 3, Column::Maximum, "d)"},
      {"IMPREVISTI_STIMATI", "3019", "3.019,00", 3, Column::Estimate, "e)"},
      {"IMPREVISTI_MASSIMO", "9020", "9.020,00", 3, Column::Maximum, "e)"},
      {"TOTALE_INTERVENTO", "138021,456", "138.021,46", 3, Column::Maximum, "f)"},
      {"CONTRIBUTO_BASE", "41022", "41.022,00", 4, Column::Maximum, "il"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", "7023", "7.023,00", 4, Column::Maximum, ""},
      {"IMPORTO_CONTRIBUTO_BASE", "41024", "41.024,00", 5, Column::Maximum, ""},
      {"CONTRIBUTO_PREMIALE", "7025", "7.025,00", 5, Column::Maximum, ""},
      {"IMPORTO_CONTRIBUTO_ACCESSORIO", "3026", "3.026,00", 5, Column::Maximum, ""},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "51027", "51.027,00", 5, Column::Maximum,
       ""},
      {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "30,456", "30,46", 5,
       Column::Maximum, "%"},
  };
  return table;
}

std::vector<Record> applicant() {
  return {
      {"TIPO_RICHIEDENTE", "Amministratore"},
      {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", u8"Niccolò"_w1252},
      {"COMUNE_NASCITA_RICHIEDENTE", "Napoli"},
      {"PROVINCIA_NASCITA_RICHIEDENTE", "NA"},
      {"DATA_NASCITA_RICHIEDENTE", "19600131"},
      {"COMUNE_RICHIEDENTE", "Vareri"},
      {"PROVINCIA_RICHIEDENTE", "VA"},
      {"INDIRIZZO_RICHIEDENTE", "via Roma"},
      {"CIVICO_RESIDENZA_RICHIEDENTE", "12"},
      {"CODICE_FISCALE_RICHIEDENTE", "NCCMRA60A31F839X"},
      {"COMUNE_DOMICILIO_RICHIEDENTE", "Pozzuoli"},
      {"INDIRIZZO_DOMICILIO_RICHIEDENTE", u8"via Città"_w1252},
      {"CIVICO_DOMICILIO_RICHIEDENTE", "3"},
      {"CAP_DOMICILIO_RICHIEDENTE", "80078"},
      {"TELEFONO_DOMICILIO_RICHIEDENTE", "0811234"},
      {"FAX_DOMICILIO_RICHIEDENTE", "0815678"},
      {"MAIL_DOMICILIO_RICHIEDENTE", "m@x.it"},
      {"INDIRIZZO_CONDOMINIO", u8"piazza del Gesù"_w1252},
      {"CIVICO_CONDOMINIO", "7b"},
      {"CAP_CONDOMINIO", "80135"},
      {"MUNICIPALITA_CONDOMINIO", "II"},
  };
}

std::vector<Record> full_data() {
  std::vector<Record> r = applicant();
  r.push_back({"MANUTENZIONE_STRAORDINARIA_SI_NO", "S"});
  r.push_back({"MANUTENZIONE_ORDINARIA_SI_NO", "N"});
  for (const Amount& a : amounts()) r.push_back({a.key, a.stored});
  // Empty category values add nothing to the totals.
  r.push_back({"OPERE_STRUTTURALI", ""});
  r.push_back({"OPERE_STRUTTURALI%", ""});
  r.push_back({"ASCENSORI", ""});
  // Premium criteria A, C and F; B is no tick ("s"), nor is E ("SI").
  r.push_back({"PREMIALITA_CONSOLIDAMENTO_SI_NO", "S"});
  r.push_back({"PREMIALITA_BARRIERE_SI_NO", "s"});
  r.push_back({"PREMIALITA_RIQUALIFICAZIONE_ENERGETICA_SI_NO", "S"});
  r.push_back({"PREMIALITA_EDIFICI_VINCOLATI_SI_NO", "N"});
  r.push_back({"PREMIALITA_FASCIA_BASAMENTALE_SI_NO", "SI"});
  r.push_back({"PREMIALITA_INFISSI_SI_NO", "S"});
  r.push_back({"PERCENTUALE_CONTRIBUTO_PREMIALE", "5,00"});
  r.push_back({"VOLUME_FUORI_TERRA_INFERIORE", "S"});
  r.push_back({"VOLUME_FUORI_TERRA_OLTRE", "S"});
  r.push_back({"ADOZIONE_LIBRETTO_MANUTENZIONE", "S"});
  r.push_back({"DATA_QUADRO_ECONOMICO", "20080320"});
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

// The first word `text` on `page`; a failure when there is none.
Word first(const std::vector<Word>& words, int page, const std::string& text) {
  std::vector<Word> f = find(words, page, text);
  EXPECT_FALSE(f.empty()) << "\"" << text << "\" not on page " << page;
  return f.empty() ? Word{} : f.front();
}

// Points from the page's top for a y in centimetres from the margin box's top.
double top_pt(double y_cm) { return (kMargin + y_cm) * kPt; }
double left_pt(double x_cm) { return (kMargin + x_cm) * kPt; }

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

// The footer, the title above the top rule and the page number at the
// right end of the first footer line, on each of the seven pages.
void expect_frame_on_every_page(const doctest::Reading& r, const std::vector<Word>& words) {
  ASSERT_EQ(r.pages, 7);
  for (int p = 1; p <= 7; ++p) {
    SCOPED_TRACE("page " + std::to_string(p));
    const std::string page = collapse(r.text[static_cast<std::size_t>(p - 1)]);
    EXPECT_NE(page.find(doctest::utf8(
                  u8"di cui all’Avviso Pubblico approvato con delibera di Giunta Comunale n° 4349 "
                  u8"del 28 dicembre 2007"_w1252)),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("PROGETTO ORTESA 3, Avviso Pubblico Comune di Vareri " + std::to_string(p) +
                        " - mod. ORTESA 3 q.e. computo metrico - centri storici e periferie"),
              std::string::npos)
        << page;
    // The number: right-aligned on 539.3 pt, on the first footer line
    // (just under the bottom rule, 2 + 25.70 cm from the top).
    bool found = false;
    for (const Word& w : find(words, p, std::to_string(p))) {
      if (std::abs(w.x_max - 539.3) <= kTolerance && std::abs(w.y_min - top_pt(25.70)) <= kTolerance)
        found = true;
    }
    EXPECT_TRUE(found);
  }
}

TEST_F(CostTableTest, FullDataEveryFigureUnderItsRowAndColumn) {
  const doctest::Reading r = generate(full_data());
  const std::vector<Word> words = doctest::words(out());
  expect_frame_on_every_page(r, words);

  double last_y = 0;
  int last_page = 0;
  for (const Amount& a : amounts()) {
    SCOPED_TRACE(a.key);
    const std::vector<Word> hits = find(words, a.page, a.printed);
    // Exactly once on its page (TOTALE_INTERVENTO also in the summary).
    ASSERT_EQ(hits.size(), 1u);
    const Word& w = hits.front();
    const Span col = span(a.column);
    EXPECT_GE(w.x_min, left_pt(col.left));
    EXPECT_LE(w.x_max, left_pt(col.right) + 0.5);
    EXPECT_GE(w.x_max, left_pt(col.right) - 6);  // right-aligned
    // In the document's order, page by page.
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

TEST_F(CostTableTest, CategoryTotalsAddEachValueRoundedHalfToEven) {
  struct Case {
    std::vector<Record> categories;
    const char* amount_total;
    const char* share_total;
  };
  const std::vector<Case> cases = {
      // 0,125 -> 0,12 and 0,375 -> 0,38: 0,50, not 0,50 rounded from 0,5.
      {{{"PONTEGGI_E_OPERE_PROVVISIONALI", "0,125"}, {"IMPIANTI", "0,375"}}, "0,50", "0,00"},
      // Rounded before adding: 0,125 + 0,125 gives 0,24, not 0,25.
      {{{"OPERE_STRUTTURALI%", "0,125"}, {"IMPIANTI%", "0,125"}, {"ASCENSORI%", "99,75"}},
       "0,00", "99,99"},
      // Thousands grouped; empty values skipped.
      {{{"OPERE_STRUTTURALI", "1234567,891"}, {"ASCENSORI", ""}, {"IMPIANTI", "0,109"}},
       "1.234.568,00", "0,00"},
      // Nothing at all.
      {{}, "0,00", "0,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.amount_total) + " / " + c.share_total);
    generate(c.categories);
    const doctest::Reading r = doctest::read(out());
    ASSERT_EQ(r.pages, 7);
    const std::string page = collapse(r.text[2]);
    EXPECT_NE(page.find(std::string("Totale ") + c.amount_total + " " + c.share_total +
                        " deve corrispondere ad a4 netto IVA"),
              std::string::npos)
        << page;
  }
}

TEST_F(CostTableTest, RowIPrintsThePercentageAsStored) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"5,00", "5,00"}, {"5,5", "5,5"}, {"1234,567", "1234,567"}, {"tre", "tre"}, {"", ""}};
  for (const auto& [stored, printed] : cases) {
    SCOPED_TRACE(stored);
    generate({{"PERCENTUALE_CONTRIBUTO_PREMIALE", stored}});
    const doctest::Reading r = doctest::read(out());
    const std::string page = collapse(r.text[3]);
    const std::string row = "i) incremento % totale del contributo %";
    const std::size_t at = page.find(row);
    ASSERT_NE(at, std::string::npos) << page;
    const std::string after = page.substr(at + row.size(), 40);
    EXPECT_EQ(after.rfind(printed.empty() ? " j) contributo premiale" : " " + printed + " j)", 0), 0u)
        << after;
  }
}

TEST_F(CostTableTest, CrossesOfThePremiumTableAndOfRowsKAndL) {
  const doctest::Reading r = generate(full_data());
  const std::vector<Word> words = doctest::words(out());
  // Page 4: criteria A, C and F ("s" and "SI" are no tick); centred on
  // x 15.5 cm and on their row's middle: each cross on the line of its
  // criterion's code letter or between its first and last line.
  const std::vector<Word> crosses = find(words, 4, kCross);
  ASSERT_EQ(crosses.size(), 3u);
  const char* ticked[] = {"A", "C", "F"};
  for (std::size_t i = 0; i < crosses.size(); ++i) {
    SCOPED_TRACE(ticked[i]);
    const Word& x = crosses[i];
    EXPECT_NEAR((x.x_min + x.x_max) / 2, left_pt(15.5), kTolerance);
    const Word code = first(words, 4, ticked[i]);
    EXPECT_NEAR((x.y_min + x.y_max) / 2, (code.y_min + code.y_max) / 2, kTolerance);
  }
  EXPECT_EQ(count_of(r.text[3], kCross), 3);
  // Page 5: both size bands (each flag by itself) and the booklet's "SI".
  const std::vector<Word> page5 = find(words, 5, kCross);
  ASSERT_EQ(page5.size(), 3u);
  const Word si = first(words, 5, "SI");
  EXPECT_NEAR(page5[2].y_min, si.y_min, kTolerance);
  for (const Word& x : page5) EXPECT_NEAR((x.x_min + x.x_max) / 2, left_pt(2.75), kTolerance);
  for (int p : {1, 2, 3, 6, 7}) EXPECT_EQ(count_of(r.text[static_cast<std::size_t>(p - 1)], kCross), 0);
}

TEST_F(CostTableTest, FixedPlacesWhateverTheData) {
  for (const bool full : {true, false}) {
    SCOPED_TRACE(full ? "full data" : "empty data file");
    generate(full ? full_data() : std::vector<Record>{});
    const std::vector<Word> words = doctest::words(out());
    // The contents heading at Y 10, the signature captions 4 cm above the
    // bottom rule (pages 1, 5 and 6), the date line 1.5 cm above them on
    // page 5, the first note at Y 5 on page 7.
    EXPECT_NEAR(first(words, 1, "SOMMARIO:").y_min, 340.2, kTolerance);
    for (int p : {1, 5}) {
      EXPECT_NEAR(first(words, p, "Richiedente").y_min, 671.9, kTolerance) << p;
      EXPECT_NEAR(first(words, p, "Tecnico").y_min, 671.9, kTolerance) << p;
    }
    EXPECT_NEAR(first(words, 6, "data").y_min, 671.9, kTolerance);
    EXPECT_NEAR(first(words, 6, "Tecnico").y_min, 671.9, kTolerance);
    EXPECT_NEAR(first(words, 5, "data").y_min, 671.9 - 1.5 * kPt, kTolerance);
    EXPECT_NEAR(first(words, 7, "NOTA").y_min, 198.4, kTolerance);
    // Section titles at Y 2 (Arial 12: a taller ascent).
    EXPECT_NEAR(first(words, 3, "QUADRO").y_min, top_pt(2), 2 * kTolerance);
    EXPECT_NEAR(first(words, 6, "COMPUTO").y_min, top_pt(2), 2 * kTolerance);
  }
}

TEST_F(CostTableTest, CoverAndPersonalData) {
  const doctest::Reading r = generate(full_data());
  const std::string cover = collapse(r.text[0]);
  EXPECT_NE(cover.find(doctest::utf8(
                u8"LAVORI DI MANUTENZIONE STRAORDINARIA ALLE PARTI COMUNI DELL'EDIFICIO SITO IN "
                u8"VARERI A PIAZZA DEL GESÙ N. 7B QUADRO ECONOMICO E COMPUTO METRICO SOMMARIO:"_w1252)),
            std::string::npos)
      << cover;
  EXPECT_EQ(cover.find("MANUTENZIONE ORDINARIA"), std::string::npos);
  EXPECT_NE(cover.find(doctest::utf8(
                u8"- 2) computo metrico estimativo dei lavori per i quali è richiesto il contributo"_w1252)),
            std::string::npos);
  // The applicant's paragraph ends with the municipality: no ending.
  const std::string data = collapse(r.text[1]);
  EXPECT_NE(data.find(doctest::utf8(
                u8"DATI ANAGRAFICI Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il "
                u8"31/01/1960 residente a Vareri (VA) via Roma n. 12 c.f.: NCCMRA60A31F839X "
                u8"domiciliato per la carica in Pozzuoli in via Città n. 3 80078 tel. 0811234 fax. "
                u8"0815678 e-mail m@x.it in qualità di amministratore del condominio sito in Vareri "
                u8"in piazza del Gesù n. 7b 80135 municipalità II PROGETTO"_w1252)),
            std::string::npos)
      << data;
  EXPECT_NE(collapse(r.text[4]).find("data 20/03/2008"), std::string::npos);
}

TEST_F(CostTableTest, EmptyDataFileStillSevenCompletePages) {
  const doctest::Reading r = generate({});
  const std::vector<Word> words = doctest::words(out());
  expect_frame_on_every_page(r, words);
  // No work-type title: the building line starts at the top of the margin box.
  EXPECT_NEAR(first(words, 1, "SITO").y_min, top_pt(0), 2 * kTolerance);  // Arial 16
  EXPECT_NE(collapse(r.text[0]).find("SITO IN VARERI A N. QUADRO ECONOMICO"), std::string::npos);
  // Every amount cell 0,00: 12 in a), 7 + 7 + 2 in the category table, 9 in
  // b) to f); 2 on page 4; 6 on page 5.
  EXPECT_EQ(find(words, 3, "0,00").size(), 12u + 16u + 9u);
  EXPECT_EQ(find(words, 4, "0,00").size(), 2u);
  EXPECT_EQ(find(words, 5, "0,00").size(), 6u);
  // No cross in the premium table nor in k); l) marks "NO".
  EXPECT_EQ(count_of(r.text[3], kCross), 0);
  const std::vector<Word> marks = find(words, 5, kCross);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(marks[0].y_min, first(words, 5, "NO").y_min, kTolerance);
  // The date line reads "data " alone.
  EXPECT_NE(collapse(r.text[4]).find("dell'intervento data Il Richiedente"), std::string::npos)
      << r.text[4];
  // The paragraph keeps its fixed pieces.
  EXPECT_NE(collapse(r.text[1]).find("in qualit\xC3\xA0 di del condominio sito in Vareri in n. "
                                     "municipalit\xC3\xA0"),
            std::string::npos)
      << r.text[1];
}

TEST_F(CostTableTest, DraftOpensInTheViewer) {
  write_data(full_data());
  const std::string bozza = (dir.path() / "bozza.pdf").string();
  ASSERT_TRUE(sevrina::crea_quadro_economico(bozza, true));
  EXPECT_EQ(opened, std::vector<std::string>{bozza});
  EXPECT_EQ(doctest::read(bozza).pages, 7);
}

TEST_F(CostTableTest, OutputFileHeldOrMissingFolderShowsTheMessage) {
  write_data(full_data());
  ui.expect_box(sevrina::documenti::kFileAperto.data());
  EXPECT_FALSE(sevrina::crea_quadro_economico((dir.path() / "nessuna" / "q.pdf").string(), true));
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nessuna"));
}

}  // namespace
