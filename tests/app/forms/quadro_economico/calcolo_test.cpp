// The computation alone, on a plain sheet of texts: the worked cases, the
// caps, the limits, and rounding of exact halves to the even neighbour.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/forms/quadro_economico/calcolo.h"
#include "tests/app/forms/quadro_economico/quadro_support.h"

namespace {

using sevrina::quadro::FoglioSemplice;
using sevrina::quadro::Serie;

struct Ingressi {
  std::vector<std::string> netti;      // Text2(0..2)
  std::vector<std::string> categorie;  // Text5(0..6)
  std::vector<std::string> stimati;    // Text7(0..3)
  std::vector<int> criteri;            // ticked Check1 indexes
  int fascia = 0;                      // -1 none, 0 up to 30.000 m3, 1 above
  bool libretto = false;
};

FoglioSemplice calcola(const Ingressi& in) {
  FoglioSemplice f;
  for (std::size_t i = 0; i < in.netti.size(); ++i) f.scrivi(Serie::Text2, static_cast<int>(i), in.netti[i]);
  for (std::size_t i = 0; i < in.categorie.size(); ++i) {
    f.scrivi(Serie::Text5, static_cast<int>(i), in.categorie[i]);
  }
  for (std::size_t i = 0; i < in.stimati.size(); ++i) f.scrivi(Serie::Text7, static_cast<int>(i), in.stimati[i]);
  for (int c : in.criteri) f.criteri[static_cast<std::size_t>(c)] = true;
  if (in.fascia >= 0) f.fasce[static_cast<std::size_t>(in.fascia)] = true;
  f.libretti[in.libretto ? 0 : 1] = true;
  sevrina::quadro::ricalcola(f);
  return f;
}

// Each expected field ("Text8(5)") against the sheet's text.
void controlla(const FoglioSemplice& f, const std::vector<std::pair<std::string, std::string>>& attesi) {
  const auto campi = prova::campi_calcolo(f);
  const std::map<std::string, std::string> testi(campi.begin(), campi.end());
  for (const auto& [nome, testo] : attesi) EXPECT_EQ(testi.at(nome), testo) << nome;
}

TEST(CalcoloQuadro, WorkedCasesAndEdgeCases) {
  struct Caso {
    const char* nome;
    Ingressi in;
    std::vector<std::pair<std::string, std::string>> attesi;
  };
  const std::vector<Caso> casi = {
      {"the typical case, every computed field",
       {{"100000", "5000", "2000"},
        {"10000", "20000", "30000", "40000", "7000", "", ""},
        {"5000", "10000", "4280", ""},
        {0, 1},
        0,
        true},
       {
        {"Text2(3)", "107.000,00"}, {"Text4(0)", "110.000,00"}, {"Text4(1)", "5.500,00"}, {"Text4(2)", "2.400,00"},
        {"Text4(3)", "117.900,00"}, {"Text3(0)", "10.000,00"}, {"Text3(1)", "500,00"}, {"Text3(2)", "400,00"},
        {"Text3(3)", "10.900,00"}, {"Text5(7)", "107.000,00"}, {"Text6(0)", "9,35"}, {"Text6(1)", "18,69"},
        {"Text6(2)", "28,04"}, {"Text6(3)", "37,38"}, {"Text6(4)", "6,54"}, {"Text6(5)", "0,00"},
        {"Text6(6)", "0,00"}, {"Text6(7)", ""}, {"Text8(0)", "4.280,00"}, {"Text8(1)", "10.000,00"},
        {"Text8(2)", "4.280,00"}, {"Text8(3)", "0,00"}, {"Text8(4)", "136.460,00"}, {"Text8(5)", "40.938,00"},
        {"Text8(6)", "7,00"}, {"Text8(7)", "9.552,20"}, {"Text8(8)", "136.460,00"}, {"Text8(9)", "40.938,00"},
        {"Text8(10)", "9.552,20"}, {"Text8(11)", "4.093,80"}, {"Text8(12)", "54.584,00"}, {"Text8(13)", "40,00"},
       }},
      {"exact halves in the shares go to the even neighbour",
       {{"800"}, {"1", "3", "796"}, {}, {}, 0, false},
       {{"Text5(7)", "800,00"}, {"Text6(0)", "0,12"}, {"Text6(1)", "0,38"}, {"Text6(2)", "99,50"}}},
      {"premium of 5 % on 2,50 shows 0,12",
       {{"2,27"}, {}, {}, {0}, 0, false},
       {{"Text4(0)", "2,50"}, {"Text8(4)", "2,50"}, {"Text8(7)", "0,12"}, {"Text8(10)", "0,12"}}},
      {"premium of 5 % on 7,50 shows 0,38",
       {{"6,82"}, {}, {}, {0}, 0, false},
       {{"Text8(4)", "7,50"}, {"Text8(7)", "0,38"}}},
      {"net total 0,125 shows 0,12", {{"0,125"}, {"0,125"}, {}, {}, 0, false}, {{"Text2(3)", "0,12"}}},
      {"net total 0,375 shows 0,38", {{"0,375"}, {}, {}, {}, 0, false}, {{"Text2(3)", "0,38"}}},
      {"estimate below the unrounded cap is admitted as typed",
       {{"1234,56"}, {}, {"49,38"}, {}, 0, false},
       {{"Text8(0)", "49,38"}}},
      {"estimate above the unrounded cap is replaced by the cap",
       {{"1234,56"}, {}, {"49,39"}, {}, 0, false},
       {{"Text8(0)", "49,38"}}},
      {"gross rounded before the VAT", {{"0,05"}, {}, {}, {}, 0, false}, {{"Text4(0)", "0,06"}, {"Text3(0)", "0,01"}}},
      {"everything blank",
       {{}, {}, {}, {}, 0, false},
       {{"Text2(3)", "0,00"}, {"Text4(3)", "0,00"}, {"Text3(3)", "0,00"}, {"Text5(7)", "0,00"},
        {"Text6(0)", "0"},    {"Text6(6)", "0"},    {"Text6(7)", "0"},    {"Text8(4)", "0,00"},
        {"Text8(6)", "0,00"}, {"Text8(11)", "0,00"}, {"Text8(12)", "0,00"}, {"Text8(13)", "0,00"}}},
      {"categories one cent short",
       {{"100000"}, {"99999,99"}, {}, {}, 0, false},
       {{"Text5(7)", "Verificare gli importi"},
        {"Text6(0)", "0"},
        {"Text6(7)", "0"},
        {"Text8(4)", "110.000,00"},
        {"Text8(5)", "33.000,00"}}},
      {"estimates with a net total of 0 are all capped to 0",
       {{}, {}, {"100", "200", "300", "400"}, {}, 0, false},
       {{"Text8(0)", "0,00"}, {"Text8(1)", "0,00"}, {"Text8(2)", "0,00"}, {"Text8(3)", "0,00"}}},
      {"all six criteria give 7 points", {{"1000"}, {}, {}, {0, 1, 2, 3, 4, 5}, 0, false}, {{"Text8(6)", "7,00"}}},
      {"A and D give 7 points", {{"1000"}, {}, {}, {0, 3}, 0, false}, {{"Text8(6)", "7,00"}}},
      {"B alone gives 3 points", {{"1000"}, {}, {}, {1}, 0, false}, {{"Text8(6)", "3,00"}, {"Text8(7)", "33,00"}}},
      {"a base of exactly the limit is the limit",
       {{"363636,36"}, {}, {}, {}, 0, false},
       {{"Text8(4)", "400.000,00"}, {"Text8(5)", "120.000,00"}, {"Text8(12)", "120.000,00"}}},
      {"limits, band above 30.000 m3: base at 150.000, accessory at 10.000",
       {{"400000", "20000", "10000"}, {"", "", "430000"}, {"20000", "60000", "", "50000"}, {0}, 1, true},
       {{"Text8(0)", "17.200,00"}, {"Text8(1)", "51.600,00"}, {"Text8(2)", "0,00"}, {"Text8(3)", "37.920,00"},
        {"Text8(4)", "580.720,00"}, {"Text8(5)", "150.000,00"}, {"Text8(9)", "150.000,00"}, {"Text8(6)", "5,00"},
        {"Text8(7)", "29.036,00"}, {"Text8(11)", "10.000,00"}, {"Text8(12)", "160.000,00"}, {"Text8(13)", "27,55"}}},
      {"limits, band up to 30.000 m3: base at 120.000",
       {{"400000", "20000", "10000"}, {"", "", "430000"}, {"20000", "60000", "", "50000"}, {0}, 0, true},
       {{"Text8(4)", "580.720,00"}, {"Text8(5)", "120.000,00"}, {"Text8(9)", "120.000,00"},
        {"Text8(11)", "10.000,00"}, {"Text8(12)", "130.000,00"}, {"Text8(13)", "22,39"}}},
      {"landfill costs carry 20 % VAT",
       {{"", "", "1000"}, {}, {}, {}, 0, false},
       {{"Text4(2)", "1.200,00"}, {"Text3(2)", "200,00"}}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    controlla(calcola(c.in), c.attesi);
  }
}

}  // namespace
