// The two application documents as the readers see them: protection, page
// size and count, the paragraph with its ending, the page numbers and the
// footer on every page, amounts and marks.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/documents/crea_file.h"
#include "platform/text/cp1252.h"
#include "tests/app/documents/doc_test_support.h"

namespace {

using namespace cp1252::literals;
using doctest::collapse;
using doctest::Record;

using Generatore = bool (*)(const std::string&, bool);

struct Modello {
  const char* nome;
  Generatore genera;
  const char* piede;  // the second footer line
};

void PrintTo(const Modello& m, std::ostream* os) { *os << m.nome; }

const Modello k1a{"1.a", sevrina::crea_sevrina_condomini, "- mod. ORTESA 1.a) sevrina condomini"};
const Modello k1b{"1.b", sevrina::crea_sevrina_proprietari,
                  "- mod. ORTESA 1.b) sevrina proprietari"};

std::vector<Record> domanda(const std::string& tipo) {
  std::vector<Record> r = doctest::richiedente(tipo);
  const std::vector<Record> resto = {
      {"DATA_DELIBERA_CONDOMINIALE_AUTORIZZAZIONE", "20080115"},
      {"DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI", "20080220"}, {"DATA", "20080301"},
      // ticked: 2 works, 1 area, 1 size band, 2 contributions, 3 attachments
      {"LAVORI_DELIBERATI_FACCIATE_SI_NO", "S"}, {"LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO", "S"},
      {"LAVORI_DELIBERATI_ALTRO_INTERVENTO", u8"Tinteggiatura più rapida"_w1252},
      {"LAVORI_DELIBERATI_ANDRONE_SI_NO", "s"}, {"MANUTENZIONE_ORDINARIA_SI_NO", "N"},
      {"CENTRO_STORICO_URBANO_SI_NO", "S"}, {"QUARTIERE_CENTRO_STORICO_URBANO", "San Ferdinando"},
      {"MUNICIPALITA_CENTRO_STORICO_URBANO", "1"}, {"VOLUME_FUORI_TERRA_OLTRE", "S"},
      {"CONTRIBUTO_BASE_SI_NO", "S"}, {"CONTRIBUTO_PREMIALE_SI_NO", "S"}, {"IMPORTO_CONTRIBUTO_BASE", "150000"},
      {"IMPORTO_CONTRIBUTO_PREMIALE", "1234,5"}, {"PERCENTUALE_CONTRIBUTO_PREMIALE", "3"},
      {"IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "151234,5"},
      {"PERCENTUALE_SU_IMPORTO_TOTALE_DEL_CONTRIBUTO_A_FONDO_PERDUTO", "30,75"},
      {"DELIBERA_ASSEMBLEARE_SI_NO", "S"}, {"COMPUTO_METRICO_SI_NO", "S"},
      {"FASCIA_DIMENSIONALE_SUPERIORE_30000", "S"}, {"FASCIA_DIMENSIONALE_SUPERIORE_30000_SI_NO", "N"},
  };
  r.insert(r.end(), resto.begin(), resto.end());
  return r;
}
constexpr int kSpuntate = 9;

// Every page: both footer lines, the page number at the right end of the
// first, and the rules' anchors seen through the footer's place.
void expect_frame_and_numbers(const std::string& pdf, const doctest::Reading& r,
                              const Modello& m) {
  for (std::size_t p = 0; p < r.text.size(); ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const auto [riga1, riga2] = doctest::footer_of(r.text[p]);
    EXPECT_EQ(riga1, "PROGETTO ORTESA 3, Avviso Pubblico Comune di Vareri " + std::to_string(p + 1));
    EXPECT_EQ(riga2, m.piede);
  }
  int numbers = 0, footers = 0;
  for (const doctest::Word& w : doctest::words(pdf)) {
    if (w.text == "PROGETTO") {
      ++footers;
      EXPECT_NEAR(w.y_min, 799.5, 3.0);
      EXPECT_NEAR(w.x_min, 85.0, 1.0);
    }
    if (w.text == std::to_string(w.page) && w.y_min > 795) {
      ++numbers;
      EXPECT_NEAR(w.x_max, 511.0, 1.5);
      EXPECT_NEAR(w.y_min, 799.5, 3.0);
    }
  }
  EXPECT_EQ(footers, r.pages);
  EXPECT_EQ(numbers, r.pages);
}

// The check boxes' crosses, all in the box column.
int crosses_in_box_column(const std::string& pdf) {
  int n = 0;
  for (const doctest::Word& w : doctest::words(pdf)) {
    if (w.text != doctest::kCross) continue;
    ++n;
    EXPECT_NEAR((w.x_min + w.x_max) / 2, 103.2 + 12.21 / 2, 2.0);
  }
  return n;
}

class Domanda : public doctest::DocumentTest,
                public ::testing::WithParamInterface<Modello> {};

TEST_P(Domanda, DatiCompleti) {
  const Modello& m = GetParam();
  write_data(domanda(m.genera == k1a.genera ? "Amministratore" : "Unico Proprietario"));
  ASSERT_TRUE(m.genera(out(), false));
  const doctest::Reading r = doctest::read(out());
  doctest::expect_sound_protected_a4(out(), r);
  EXPECT_EQ(r.pages, 4);
  expect_frame_and_numbers(out(), r, m);

  const std::string paragrafo =
      "A- Il/La sottoscritto/a Mario Niccolò nato/a a Napoli (NA) Il 31/01/1960 residente a "
      "Vareri (VA) via Roma n. 12 c.f.: NCCMRA60A31F839X domiciliato per la carica in Pozzuoli "
      "in via Città n. 3 80078 tel. 0811234 fax. 0815678 e-mail mario@posta.it in qualità di ";
  const std::string fine =
      m.genera == k1a.genera
          ? "amministratore del condominio sito in Vareri in piazza Dante n. 7 80135 municipalità "
            "II autorizzato alla presente istanza giusta delibera condominiale del 15/01/2008. "
            "PREMESSO B- che ha preso visione"
          : "unico proprietario dello stabile sito in Vareri in piazza Dante n. 7 80135 "
            "municipalità II. PREMESSO B- che ha preso visione";
  EXPECT_NE(r.all.find(paragrafo + fine), std::string::npos) << r.all;

  EXPECT_EQ(doctest::count_of(r.all, doctest::kCross), kSpuntate);
  EXPECT_EQ(crosses_in_box_column(out()), kSpuntate);

  const bool a = m.genera == k1a.genera;
  for (const std::string& atteso : std::vector<std::string>{
           "comunale n° 4349 del 28 dicembre 2007.",
           a ? "che con verbale del 20/02/2008 il condominio ha deliberato l'approvazione"
             : "che il/la sottoscritto/a (ovvero i comproprietari), ha (ovvero hanno) deciso",
           std::string(a ? "Altro intervento : " : "Altro intervento ") + "Tinteggiatura più rapida",
           "centro storico urbano quartiere San Ferdinando municipalità 1",
           "quartiere periferico quartiere municipalità",
           "(corrispondente ad € 150.000,00) pari al 30%",
           a ? "(corrispondente ad € 1.234,50 ) pari al 3,00% dell'importo"
             : "(corrispondente ad € 1.234,50) pari al 3,00% dell'importo",
           "(corrispondente ad € 0,00) pari al 3%",
           "richiesto è pari ad € 151.234,50, equivalente al 30,75% dell'importo",
           "massimo di € 150.000,00 dovrà",
           "In fede (data e firma) 01/03/2008",
           "NOTA 2: In caso di opere non contemplate nella stessa, è consentita l'adozione",
       }) {
    EXPECT_NE(r.all.find(atteso), std::string::npos) << atteso;
  }
}

INSTANTIATE_TEST_SUITE_P(Modelli, Domanda, ::testing::Values(k1a, k1b),
                         [](const auto& info) { return info.param.genera == k1a.genera ? "1a" : "1b"; });

}  // namespace
