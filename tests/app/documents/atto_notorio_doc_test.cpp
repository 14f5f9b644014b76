// The sworn declarations as the readers see them: a cross in the mark cell
// of each declaration ticked with "S" and of no other, a row that would start
// lower than 3 cm above the bottom rule moved to the next page, "Data " with
// the declaration's date, and the protection every document has.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using doctest::Record;
using doctest::Word;

constexpr double kBottomRule = 785.3;              // pt from the top of the page
constexpr double kThreshold = kBottomRule - 3 * 28.3465;  // rows start no lower
constexpr double kInset = 2.8;                     // from a row's top to its letter's top

// The table's rows as the words show them: each letter, its page, the top of
// its row and the number of lines of its declaration.
struct Row {
  char letter;
  int page;
  double top;
  int lines;
};

std::vector<Row> rows_of(const std::vector<Word>& words) {
  std::vector<Row> rows;
  for (const Word& w : words) {
    if (w.x_min < 70 && w.text.size() == 2 && w.text[1] == ')' && w.text[0] >= 'a' && w.text[0] <= 'o')
      rows.push_back({w.text[0], w.page, w.y_min - kInset, 0});
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool last_on_page = i + 1 == rows.size() || rows[i + 1].page != rows[i].page;
    const double end = last_on_page ? kBottomRule : rows[i + 1].top;
    std::set<int> lines;  // the declaration column, 1.6 cm to 11.4 cm
    for (const Word& w : words) {
      if (w.page == rows[i].page && w.x_min > 100 && w.x_max < 382 && w.y_min > rows[i].top && w.y_min < end)
        lines.insert(static_cast<int>(w.y_min * 10));
    }
    rows[i].lines = static_cast<int>(lines.size());
  }
  return rows;
}

// The letters of the rows whose mark cell holds a cross.
std::string crossed(const std::vector<Word>& words, const std::vector<Row>& rows) {
  std::string out;
  for (const Word& w : words) {
    if (w.text != doctest::kCross) continue;
    EXPECT_NEAR((w.x_min + w.x_max) / 2, 396.9, 3.0);  // the mark column's centre
    const double y = (w.y_min + w.y_max) / 2;
    const Row* in = nullptr;
    for (const Row& r : rows) {
      if (r.page == w.page && r.top < y) in = &r;
    }
    if (in != nullptr) out += in->letter;
  }
  std::sort(out.begin(), out.end());
  return out;
}

class AttoNotorio : public doctest::DocumentTest {};

TEST_F(AttoNotorio, CrossesPageBreakAndDate) {
  const std::string all = "abcdefghijklmno";
  struct Case {
    const char* name;
    std::vector<Record> data;
    std::string crossed;
    std::string date_line;  // from "Data" to the signature label
    char first_on_page_2;
  };
  std::vector<Record> every;
  for (char c : all) every.push_back({std::string("ATTO_NOTORIO_") + static_cast<char>(c - 32), "S"});
  every.push_back({"DATA_ATTO_NOTORIO", "0"});
  const std::vector<Case> cases = {
      {"a, c and o ticked; other spellings of yes are none",
       {{"DATA_ATTO_NOTORIO", "20080302"}, {"ATTO_NOTORIO_A", "S"}, {"ATTO_NOTORIO_B", "s"},
        {"ATTO_NOTORIO_C", "S"}, {"ATTO_NOTORIO_D", "N"}, {"ATTO_NOTORIO_E", "SI"}, {"ATTO_NOTORIO_O", "N"},
        {"atto_notorio_o ", " S "}},  // a later record of the key wins
       "aco", "Data 02/03/2008 firma del dichiarante", 'j'},
      // Row i) starts 1.8 pt above the threshold and stays; j) would start
      // 22 pt below it and moves.
      {"every one ticked, date 0", every, all, "Data firma del dichiarante", 'j'},
      // Four lines more of paragraph: h) ends below the threshold.
      {"none ticked, no date, a long name",
       {{"NOME_RICHIEDENTE", "Mario" + std::string(12, ' ') + std::string(60, 'M')}}, "",
       "Data firma del dichiarante", 'i'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Record> data = doctest::richiedente("Amministratore");
    data.insert(data.end(), c.data.begin(), c.data.end());
    write_data(data);
    ASSERT_TRUE(sevrina::crea_atto_notorio(out(), false));
    const doctest::Reading r = doctest::read(out());
    doctest::expect_sound_protected_a4(out(), r);
    EXPECT_EQ(r.pages, 2);
    const std::vector<Word> words = doctest::words(out());
    const std::vector<Row> rows = rows_of(words);
    ASSERT_EQ(rows.size(), all.size());

    EXPECT_EQ(crossed(words, rows), c.crossed);
    EXPECT_EQ(doctest::count_of(r.all, doctest::kCross), static_cast<int>(c.crossed.size()));
    EXPECT_NE(r.all.find(c.date_line + " Allegati: - copia di un valido documento di"), std::string::npos) << r.all;

    // Each row starts on the page of the row before it unless that row
    // ended lower than the threshold; no row starts lower than it.
    const double pitch = 12.2;  // one line of Arial 10
    for (std::size_t i = 1; i < rows.size(); ++i) {
      SCOPED_TRACE(std::string(1, rows[i].letter));
      const Row& before = rows[i - 1];
      const double would_start = before.top + before.lines * pitch;
      EXPECT_EQ(rows[i].page, before.page + (would_start > kThreshold ? 1 : 0)) << would_start;
      if (rows[i].page == before.page) {
        EXPECT_LE(rows[i].top, kThreshold + 0.5);
      } else {
        EXPECT_NEAR(rows[i].top, 56.7, 0.5);  // under the top rule
      }
    }
    const auto first = std::find_if(rows.begin(), rows.end(), [](const Row& x) { return x.page == 2; });
    ASSERT_NE(first, rows.end());
    EXPECT_EQ(first->letter, c.first_on_page_2);
    EXPECT_EQ(doctest::count_of(r.all, "lettera Dichiarazione X firma"), 1);  // no second header row
  }
}

}  // namespace
