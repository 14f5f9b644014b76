// Real readers: poppler places every word where our measuring says, for the
// text families and styles, with spacing and scaling, and in justified text
// boxes; the files pass qpdf, mutool, Ghostscript and pdfinfo.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/pdf/pdf_tools.h"
#include "tests/pdf/text/text_probe.h"

namespace {

using text_test::Probe;
using text_test::TempPdf;

using pdftest::Word;

struct Expected {
  double x_min, x_max;
  std::string text;
};

// Where each word of a line drawn left-aligned at x should stand, by our own
// measuring in the font selected now. A reader ends a word at its last
// glyph, before the character spacing that follows it.
void AddExpectedWords(Probe& w, float x, const std::string& line, std::vector<Expected>& out,
                      float trailing_spacing = 0) {
  std::istringstream words(line);
  std::size_t at = 0;
  for (std::string word; words >> word; at += word.size()) {
    at = line.find(word, at);
    const float start = x + w.TextLength(line.substr(0, at));
    out.push_back({start, start + w.TextLength(word) - trailing_spacing, word});
  }
}

constexpr double kTolerance = 0.01;

TEST(Readers, PopplerPlacesEveryWordWhereWeMeasuredIt) {
  const std::string path = TempPdf("fonts");
  Probe w;
  w.BeginDoc(path);
  ASSERT_EQ(w.ErrNumber(), 0);
  w.BeginPage();
  // TrueType fonts measure by the widths read from their files.
  ASSERT_EQ(w.AddFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu"), "DejaVu");
  struct Row { const char* family; std::int32_t style; float size; const char* text; } rows[] = {
      {"Arial", 0, 12, "Il condominio chiede un contributo per le opere sulle parti comuni"},
      {"Arial", 1, 14, "Hello World: Domanda di contributo 2024 (variante B) 15,50%"},
      {"Arial", 2, 10, "dichiarazione sostitutiva di atto di notoriet\xE0 e certificazione"},
      {"Arial", 3, 11, "Amministratore del condominio - tabella dei costi [euro] {totale}"},
      {"Helvetica", 0, 9, "quantity jumps WAVY fox: Quartz glyph vex BJORK; #@&* 0123456789"},
      {"Times", 0, 12, "Il richiedente dichiara che l'edificio e la citt\xE0 sono quelli indicati"},
      {"Times", 1, 13, "Relazione tecnica: lavori di manutenzione straordinaria \x80 12.000"},
      {"Times", 2, 10, "perch\xE9 le spese sono state sostenute nell'anno precedente"},
      {"Times New Roman", 3, 16, "Totale generale AVWY Ta To Yo 7/8 \xAB bozza \xBB"},
      {"Courier", 0, 10, "Codice 0042 - Riga 7 - Importo 1.234,56 EUR"},
      {"DejaVu", 0, 11, "Quota \x80 1.500 \x96 \x93rata\x94 unica, totale 12%"},
  };
  std::vector<Expected> expected;
  float y = 40;
  for (const auto& row : rows) {
    w.SetFont(row.family, row.size, row.style);
    w.DrawText(36, y, row.text);
    AddExpectedWords(w, 36, row.text, expected);
    y += 30;
  }
  // Character spacing, word spacing and horizontal scaling in the measure.
  w.SetFont("Arial", 12);
  w.SetCharSpacing(0.4f);
  w.SetWordSpacing(2.5f);
  w.SetTextHorizontalScaling(85);
  const std::string spaced = "Spese ammesse a contributo per interventi edilizi";
  w.DrawText(50, y, spaced);
  AddExpectedWords(w, 50, spaced, expected, 0.4f * 85 / 100);
  w.EndDoc();
  ASSERT_EQ(w.ErrNumber(), 0);

  pdftest::ExpectReadersAccept(path);
  const std::vector<Word> words = pdftest::words(path);
  ASSERT_EQ(words.size(), expected.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    SCOPED_TRACE("word " + std::to_string(i) + " " + words[i].text);
    const std::string& t = expected[i].text;  // poppler's text only where it is plain ASCII
    if (std::all_of(t.begin(), t.end(), [](unsigned char c) { return c < 128 && !std::strchr("&<>'\"", c); })) {
      EXPECT_EQ(words[i].text, t);
    }
    EXPECT_NEAR(words[i].x_min, expected[i].x_min, kTolerance);
    EXPECT_NEAR(words[i].x_max, expected[i].x_max, kTolerance);
  }
}

// Poppler's words grouped into lines by their top: a justified line that is
// not the last of its paragraph starts at the box's left edge (plus the
// indentation on a paragraph's first line) and ends at its right edge.
TEST(Readers, JustifiedBoxLinesSpanTheBoxWidth) {
  const std::string path = TempPdf("box");
  Probe w;
  w.BeginDoc(path);
  w.SetScale(3);
  w.SetMargins(2, 2, 2, 2, false);
  w.BeginPage();
  w.SetFont("Times", 11);
  EXPECT_EQ(w.DrawTextBox(0, 1, 12, 0,
                          "Il sottoscritto, in qualit\xE0 di amministratore del condominio, chiede la concessione "
                          "del contributo comunale per i lavori sulle parti comuni dell'edificio, descritti nella "
                          "relazione tecnica allegata e nella tabella dei costi.\r\n"
                          "Dichiara inoltre che i lavori non sono iniziati prima della presentazione della domanda "
                          "e che le spese indicate sono al netto di ogni altro contributo pubblico.", 0.8f, 64), "");
  w.EndDoc();
  pdftest::ExpectReadersAccept(path);
  const double cm = 28.346457, left = 2 * cm, right = 14 * cm;
  std::map<long, std::vector<Word>> lines;
  for (const Word& word : pdftest::words(path)) lines[std::lround(word.y_min * 10)].push_back(word);
  ASSERT_GE(lines.size(), 6u);
  bool paragraph_start = true;
  int index = 0, spanning = 0;
  for (const auto& [top, line] : lines) {
    SCOPED_TRACE("line " + std::to_string(++index));
    const bool paragraph_end = line.back().text.back() == '.';
    EXPECT_NEAR(line.front().x_min, left + (paragraph_start ? 0.8 * cm : 0), kTolerance);
    if (paragraph_end) {
      EXPECT_LT(line.back().x_max, right);
    } else {
      EXPECT_NEAR(line.back().x_max, right, kTolerance);
      ++spanning;
    }
    paragraph_start = paragraph_end;
  }
  EXPECT_GE(spanning, 4);
}

}  // namespace
