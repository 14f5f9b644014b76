// The sworn declarations as the readers see them: protection, page size and
// count, the declarant's paragraph, the table's marks, the footer on every
// page and no page number, from full, empty and overlong data files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using doctest::collapse;
using doctest::Record;

std::vector<Record> dichiarante() {
  return {
      {"TIPO_RICHIEDENTE", "Amministratore"},
      {"NOME_RICHIEDENTE", "Mario"},
      {"COGNOME_RICHIEDENTE", u8"Niccolò"_w1252},
      {"COMUNE_NASCITA_RICHIEDENTE", u8"Cefalù"_w1252},
      {"PROVINCIA_NASCITA_RICHIEDENTE", "PA"},
      {"DATA_NASCITA_RICHIEDENTE", "19600131"},
      {"COMUNE_RICHIEDENTE", "Vareri"},
      {"PROVINCIA_RICHIEDENTE", "VA"},
      {"COMUNE_DOMICILIO_RICHIEDENTE", "Pozzuoli"},
      {"INDIRIZZO_DOMICILIO_RICHIEDENTE", u8"via Città"_w1252},
      {"CIVICO_DOMICILIO_RICHIEDENTE", "3"},
      {"INDIRIZZO_CONDOMINIO", "piazza Dante"},
      {"CIVICO_CONDOMINIO", "7"},
      {"DATA_ATTO_NOTORIO", "20080302"},
      // a, c and o ticked; other spellings of yes are not a tick
      {"ATTO_NOTORIO_A", "S"},
      {"ATTO_NOTORIO_B", "s"},
      {"ATTO_NOTORIO_C", "S"},
      {"ATTO_NOTORIO_D", "N"},
      {"ATTO_NOTORIO_E", "SI"},
      {"ATTO_NOTORIO_O", "N"},
      {"atto_notorio_o ", " S "},  // a later record of the same key wins
  };
}

// Every page carries both footer lines, just under the bottom rule, and no
// page number.
void expect_footer_without_numbers(const std::string& pdf, const doctest::Reading& r) {
  for (std::size_t p = 0; p < r.text.size(); ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const auto [riga1, riga2] = doctest::footer_of(r.text[p]);
    EXPECT_EQ(riga1, "PROGETTO ORTESA 3, Avviso Pubblico Comune di Vareri");  // no number
    EXPECT_EQ(riga2, "- mod. ORTESA 2 - dichiarazioni sostitutive");
  }
  int footers = 0;
  for (const doctest::Word& w : doctest::words(pdf)) {
    if (w.text != "PROGETTO") continue;
    ++footers;
    EXPECT_NEAR(w.y_min, 785.3, 3.0);  // under the bottom rule
    EXPECT_NEAR(w.x_min, 56.7, 1.0);
  }
  EXPECT_EQ(footers, r.pages);
}

class AttoNotorio : public doctest::DocumentTest {};

TEST_F(AttoNotorio, DatiCompleti) {
  write_data(dichiarante());
  ASSERT_TRUE(sevrina::crea_atto_notorio(out(), false));
  const doctest::Reading r = doctest::read(out());
  doctest::expect_sound_protected_a4(out(), r);
  EXPECT_EQ(r.pages, 2);
  expect_footer_without_numbers(out(), r);

  EXPECT_NE(r.all.find("Il/La sottoscritto/a Mario Niccolò nato/a a Cefalù (PA) Il 31/01/1960 "
                       "residente a Vareri (VA) domiciliato in Pozzuoli in via Città n. 3 in "
                       "qualità di amministratore del condominio sito in Vareri in piazza Dante "
                       "n. 7. consapevole delle sanzioni penali"),
            std::string::npos)
      << r.all;
  EXPECT_NE(r.all.find("DICHIARAZIONE SOSTITUTIVA DELL'ATTO DI NOTORIETA' (ART. 47 DPR 28 "
                       "dicembre 2000 N.445)"),
            std::string::npos);
  EXPECT_NE(r.all.find("(1° Bando Ortesa)"), std::string::npos);
  // the double blanks of rows c) and f) print as one
  EXPECT_NE(r.all.find("superiore ad 1/3 (art. 3 comma 4"), std::string::npos);
  EXPECT_NE(r.all.find("Data 02/03/2008 firma del dichiarante Allegati: - copia di un valido "
                       "documento di identità del dichiarante"),
            std::string::npos)
      << r.all;

  // Three crosses (a, c, o), centred in the mark column.
  EXPECT_EQ(doctest::count_of(r.all, doctest::kCross), 3);
  int crosses = 0;
  for (const doctest::Word& w : doctest::words(out())) {
    if (w.text != doctest::kCross) continue;
    ++crosses;
    EXPECT_NEAR((w.x_min + w.x_max) / 2, 396.9, 3.0);
  }
  EXPECT_EQ(crosses, 3);
}

TEST_F(AttoNotorio, FileDatiVuotoDaUnDocumentoCompleto) {
  write_data({});
  ASSERT_TRUE(sevrina::crea_atto_notorio(out(), false));
  const doctest::Reading r = doctest::read(out());
  doctest::expect_sound_protected_a4(out(), r);
  expect_footer_without_numbers(out(), r);
  EXPECT_NE(r.all.find("Il/La sottoscritto/a nato/a a () Il residente a () in qualità di del "
                       "condominio sito in Vareri in n. . consapevole"),
            std::string::npos)
      << r.all;
  for (const char* lettera : {"a)", "b)", "c)", "d)", "e)", "f)", "g)", "h)", "i)", "j)", "k)",
                              "l)", "m)", "n)", "o)"}) {
    EXPECT_NE(r.all.find(std::string(lettera) + " "), std::string::npos) << lettera;
  }
  EXPECT_EQ(doctest::count_of(r.all, doctest::kCross), 0);
  EXPECT_NE(r.all.find("Data firma del dichiarante Allegati: - copia di un valido documento di "
                       "identità del dichiarante"),
            std::string::npos)
      << r.all;
}

TEST_F(AttoNotorio, TestiLunghiEOgniCroce) {
  std::vector<Record> dati = dichiarante();
  const std::string lungo = doctest::testo_lungo();
  for (auto& [k, v] : dati) {
    if (k.find("RICHIEDENTE") != std::string::npos || k.find("CONDOMINIO") != std::string::npos)
      v = lungo;
  }
  for (char c = 'A'; c <= 'O'; ++c) dati.push_back({std::string("ATTO_NOTORIO_") + c, "S"});
  write_data(dati);
  ASSERT_TRUE(sevrina::crea_atto_notorio(out(), false));
  const doctest::Reading r = doctest::read(out());
  doctest::expect_sound_protected_a4(out(), r);
  EXPECT_EQ(r.pages, 2);
  // The paragraph keeps to its 5 cm: what does not fit is left out.
  EXPECT_EQ(r.all.find("sito in Vareri in"), std::string::npos);
  EXPECT_NE(r.all.find("consapevole delle sanzioni penali"), std::string::npos);
  expect_footer_without_numbers(out(), r);
  EXPECT_EQ(doctest::count_of(r.all, doctest::kCross), 15);
  // The table goes on over the break without a second header row.
  EXPECT_EQ(doctest::count_of(r.all, "lettera Dichiarazione X firma"), 1);
}

}  // namespace
